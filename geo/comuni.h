// The municipality coordinate database: CoorCom2.dat (marker, count and the
// three shape identifiers of each record) and CoorCom.dat (the descriptive
// fields, stored column by column). Both lie in one folder; the folder text
// is used as a prefix, exactly as given, so it must end with a separator.
#pragma once

#include "veltrano/veltrano.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace veltrano {

/// Number of records stored in prefisso + "CoorCom2.dat" (only that file is
/// read). Throws ErroreApertura or ErroreLettura.
int32_t LeggiNumeroComuni(const std::u16string& prefisso);

/// The first `quanti` records of the database (all of them when absent).
/// Asking for more records than are stored, a negative or lying count, or a
/// short file throw ErroreLettura; nothing is returned in part.
std::vector<TCoordComune> LeggiComuni(const std::u16string& prefisso,
                                      std::optional<std::size_t> quanti = std::nullopt);

/// Writes both files. Each goes to a temporary file that is then renamed over
/// the old one, so a failed save leaves the previous database whole.
void SalvaComuni(const std::u16string& prefisso, std::span<const TCoordComune> comuni);

} // namespace veltrano
