// What the site dialog saves and hands out besides the host's record: the
// report as a text file, the map picture's file types, and the site as the
// spectra window and the site report take it. The page layouts of the
// printed report, map and site report are in outputs/.
#pragma once

#include "core/calcolo.h"
#include "map/shapefile.h"
#include "veltrano/veltrano.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace veltrano::dialogo {

/// The report's text file: UTF-8 (no byte-order mark), every line followed
/// by CR LF, tab characters kept, the same bytes on every platform.
std::vector<uint8_t> TestoRapporto(const std::vector<std::string>& righe);
/// Writes TestoRapporto to file through a temporary file renamed over it.
/// Throws ErroreApertura or ErroreLettura, naming the file, when it cannot.
void SalvaRapporto(const std::filesystem::path& file, const std::vector<std::string>& righe);

/// The picture-save dialog's filter entries, numbered as the dialog has them.
enum TFiltroImmagine { FiltroJpeg = 1, FiltroBitmap = 2 };
/// The name the picture-save dialog offers, at its start and at every
/// change of type.
inline constexpr const char* NomeImmaginePredefinito = "Nuovo";
inline constexpr const char* NomeRapportoPredefinito = "Nuovo.txt";
/// The default extension of a filter, without the dot: "jpg" for the JPEG
/// entry, "bmp" for any other.
const char* EstensioneFiltro(int filtro);
/// The file the picture goes to: the name chosen, with the filter's
/// extension added when it has none (so "Nuovo" under the bitmap entry
/// writes "Nuovo.bmp").
std::filesystem::path FileImmagine(const std::filesystem::path& scelto, int filtro);

/// The encoder of the file: by its extension when that is a picture type
/// (".jpg", ".jpeg", ".bmp", any case), else by the filter, so that a name
/// never says one type while the bytes are another.
TFiltroImmagine FormatoImmagine(const std::filesystem::path& file, int filtro);

/// A file chosen in the picture-save dialog and the filter it was chosen under.
struct TSceltaImmagine {
    std::filesystem::path file;
    int filtro = FiltroJpeg;
};

/// The current site, as the spectra window and the site report take it.
struct TSitoDialogo {
    double lonWGS84 = 0, latWGS84 = 0, lonED50 = 0, latED50 = 0; ///< [deg]
    std::optional<double> altitudine;                             ///< [m], when the item holds one (not 0)
    std::string comune, provincia, regione;                       ///< UTF-8, "" when none
    int32_t vn = 50, classe = 2;                                  ///< [years], 1..4
    TGIS_DatiOut dati{};                                          ///< the site computed, ag in g
    EsitoSito esito;
    /// The map layers the site report's excerpt draws, as the form loaded them.
    std::shared_ptr<const mappa::TShapefile> sfComuni, sfGriglia;
};

} // namespace veltrano::dialogo
