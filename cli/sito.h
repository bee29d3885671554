// Hazard of one site for the command line: the same chain the exports run.
#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <utility>

namespace veltrano::cli {

/// One limit state at the site.
struct StatoLimiteSito {
    const char* nome; // "SLO", "SLD", "SLV", "SLC"
    int TR;           // return period [years]
    double ag;        // [g]
    double Fo;        // [-]
    double Tc;        // Tc* [s]
};

/// Site hazard for nominal life vn [years] and use class classe (1..4), in
/// the order SLO, SLD, SLV, SLC (increasing return period). lon/lat are ED50
/// unless wgs84, then they are converted first. Throws veltrano::Errore.
std::array<StatoLimiteSito, 4> ParametriSito(const std::filesystem::path& cartellaDati, double lon,
                                             double lat, bool wgs84, int vn, int classe);

/// The site on ED50 [deg]: lon, lat as given, or converted from WGS84.
std::pair<float, float> SitoED50(double lon, double lat, bool wgs84);

/// Default data folder: $VELTRANO_DATI, else the folder of the running
/// executable, else (when that holds no GeoDati.dat) the shared data folder
/// of the installed tree.
std::filesystem::path CartellaDatiPredefinita();

} // namespace veltrano::cli

#include "veltrano/veltrano.h"

namespace veltrano::cli {

/// Everything the single-site command prints.
struct RisultatoSito {
    float lonED50, latED50; // site as computed [deg]
    TGIS_DatiOut dati;      // as the export fills it (ag in g)
    int numNodi;            // non-zero node numbers found by the search
    bool isola;             // on an island with the code's fixed values
};

RisultatoSito CalcolaRisultatoSito(const std::filesystem::path& cartellaDati, double lon, double lat,
                                   bool wgs84, int vn, int classe);

} // namespace veltrano::cli
