// The site report for an engineer's calculation report, as one page laid
// out through the painter interface (outputs/documento.h): the site with its
// municipality, province and region, coordinates and building data; a map
// excerpt drawn by the map core with the site's mark and its grid cell; the
// table of the four limit states with the spectrum's S, TB, TC, TD for the
// soil and topography given; the chart of the four elastic spectra. The
// dialog and "veltrano relazione" print this same page.
#pragma once

#include "core/calcolo.h"
#include "map/mappa.h"
#include "outputs/documento.h"
#include "outputs/spettri_sito.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace veltrano::uscite {

/// The site as the report describes it.
struct TSitoRelazione {
    double lonWGS84 = 0, latWGS84 = 0, lonED50 = 0, latED50 = 0; ///< [deg]
    std::optional<double> altitudine;                             ///< [m]
    std::string comune, provincia, regione;                       ///< UTF-8, "" when none
    int vn = 50, classe = 2;                                      ///< [years], use class 1..4
    TGIS_DatiOut dati{};                                          ///< the site computed (ag in g)
    EsitoSito esito;
};

/// The map layers of the excerpt (null: not drawn).
struct TStratiRelazione {
    std::shared_ptr<const mappa::TShapefile> regioni, province, comuni, griglia;
};

/// The layers of the data folder's Shape/ (a missing file leaves its layer null).
TStratiRelazione StratiDaCartella(const std::filesystem::path& cartellaDati);

/// The site at lon, lat (ED50 unless wgs84) from the data folder: its
/// hazard for nominal life vn and use class classe, the names of the
/// municipality, province and region under it, no altitude. Throws
/// ErroreIntervallo for a site with no hazard values, and as the engine
/// does for a missing or damaged file.
TSitoRelazione SitoDaCartella(const std::filesystem::path& cartellaDati, double lon, double lat, bool wgs84,
                              int vn, int classe);

/// The four limit states of the site, SLO to SLC.
std::vector<TStatoSpettro> StatiSito(const TSitoRelazione& s);

/// Fills m (empty, sized to the excerpt) with the municipalities and the grid's nodes, the site's mark
/// and its grid cell with the nodes' numbers, framed on the cell and the site.
void PreparaMappaRelazione(mappa::TMappa& m, const TSitoRelazione& s, const TStratiRelazione& strati);

/// The page in area [page units].
void DisegnaRelazione(mappa::TPittore& p, const TSitoRelazione& s, const TSceltaSpettri& spettri,
                      const TStratiRelazione& strati, const mappa::TRettangoloPx& area);

/// The report as a one-page document, A4 portrait.
TDocumento DocumentoRelazione(TSitoRelazione s, TSceltaSpettri spettri, TStratiRelazione strati);

/// The title of the report's page and document.
inline constexpr const char* TitoloRelazione = "Pericolosità sismica del sito";

} // namespace veltrano::uscite
