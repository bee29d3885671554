// The output of "veltrano lotto": one line per input row, CSV or JSON Lines,
// appended to a buffer so that a batch formats its rows without a string of
// its own per row. A computed row lists the site, its grid nodes and the four
// limit states; a row that failed gives its reason. Pure; thread-safe.
#pragma once

#include "cli/lotto_csv.h"
#include "veltrano/veltrano.h"

#include <string>
#include <string_view>

namespace veltrano::cli {

/// The CSV output's header line.
std::string IntestazioneCsvLotto();

/// A computed row: input line numero, the site on ED50 [deg], its life and
/// class (s), the engine's record d. A value that is not finite throws
/// veltrano::Errore and leaves t as it was.
void AggiungiRigaCsv(std::string& t, long numero, float lon, float lat, const RigaLotto& s, const TGIS_DatiOut& d);
void AggiungiRigaJson(std::string& t, long numero, float lon, float lat, const RigaLotto& s, const TGIS_DatiOut& d);

/// A row that failed, with the reason.
void AggiungiErroreCsv(std::string& t, long numero, std::string_view motivo);
void AggiungiErroreJson(std::string& t, long numero, std::string_view motivo);

} // namespace veltrano::cli
