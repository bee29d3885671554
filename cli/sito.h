// Hazard of one site for the command line: the same chain the exports run,
// and the one check of a site that every subcommand applies.
#pragma once

#include "cli/argomenti.h"
#include "core/calcolo.h"

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>

namespace veltrano::cli {

/// The folder of the running program.
std::filesystem::path CartellaProgramma();

/// Default data folder: $VELTRANO_DATI, else the folder of the running
/// executable, else (when that holds no GeoDati.dat) the shared data folder
/// of the installed tree.
std::filesystem::path CartellaDatiPredefinita();

/// The site on ED50 [deg]: lon, lat as given, or converted from WGS84.
/// Throws ErroreUso for coordinates out of range, ErroreIntervallo when the
/// conversion gives no finite result.
std::pair<float, float> SitoED50(const SitoDato& s);

/// Throws ErroreIntervallo, naming the site, unless the engine could give it
/// values: a grid cell, or an island of the code's table (with isolaAmmessa).
void ControllaSitoValido(const EsitoSito& e, float lonED50, float latED50, bool isolaAmmessa = true);
/// The same check without the throw, for the batch: the reason, or nothing.
std::optional<std::string> MotivoSitoNonValido(const EsitoSito& e, float lonED50, float latED50,
                                               bool isolaAmmessa = true);

/// Everything the single-site commands print.
struct RisultatoSito {
    float lonED50, latED50; // site as computed [deg]
    TGIS_DatiOut dati;      // as the export fills it (ag in g)
    EsitoSito esito;        // nodes found, island values used
};

/// The site's hazard for nominal life vn [years] and use class classe
/// (1..4), checked with ControllaSitoValido. Throws veltrano::Errore.
RisultatoSito CalcolaRisultatoSito(const std::filesystem::path& cartellaDati, const SitoDato& s, int vn,
                                   int classe);

/// One limit state at the site.
struct StatoLimiteSito {
    const char* nome; // "SLO", "SLD", "SLV", "SLC"
    int TR;           // return period [years]
    double ag;        // [g]
    double Fo;        // [-]
    double Tc;        // Tc* [s]
};

/// --dati, else CartellaDatiPredefinita().
std::filesystem::path CartellaDati(Argomenti& a);
/// --formato testo|json: true for json.
bool FormatoJson(Argomenti& a);

/// The four limit states of r in the order SLO, SLD, SLV, SLC (increasing
/// return period).
std::array<StatoLimiteSito, 4> StatiLimite(const RisultatoSito& r);

/// The municipality under the site (UTF-8), found as the site dialog finds
/// it (the municipality boundaries, then the nearest database point) in the
/// data folder's Shape/comuni2010 and CoorCom*.dat; "" when none is found or
/// those files are missing. lon/lat are ED50 unless wgs84.
std::string ComuneDelSito(const std::filesystem::path& cartellaDati, double lon, double lat, bool wgs84);

} // namespace veltrano::cli
