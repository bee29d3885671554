// The site dialog's runs that the Windows test host drives through the
// window and genera_attesi_dialogo plays natively on the same form: the
// host's record and the building data each run starts from. The records
// that come back must be the same to the byte.
#pragma once

#include "veltrano/veltrano.h"

#include <cstring>

namespace scenari {

struct Scenario {
    const char* nome;
    int32_t categoria;
    uint8_t classe;
    int32_t vn;
    float lon, lat;
    uint8_t tipoRic;
};

// 0: preset building data, a municipality chosen through the lists, confirmed
//    ("Sulmona", from the previous site's province);
// 1: cancelled with Escape (only the missing ED50 coordinates are written);
// 2: free building data, confirmed at once;
// 3: preset building data, the municipalities' names loaded, the grid's
//    point style chosen, a distance measured on the map, then cancelled
//    (the measure must leave the host's record as a cancel leaves it).
inline constexpr Scenario Tutti[] = {
    {"conferma", 3, 4, 100, 13.4f, 42.35f, 1},
    {"annulla", 2, 2, 50, 12.4964f, 41.9028f, 2},
    {"libero", 0, 0, 0, 13.4f, 42.35f, 1},
    {"misura", 2, 2, 50, 13.4f, 42.35f, 1},
};
inline constexpr int ScenarioMisura = 3;
inline constexpr const char* ComuneScelto = "Sulmona";
inline constexpr int ModoLocalita = 1; // the second item of "Modalità"

/// A host record full of a pattern, so that bytes the dialog must not
/// write show if it does.
inline TGIS_DatiOut Record(const Scenario& s) {
    TGIS_DatiOut d;
    std::memset(&d, 0xA5, sizeof d);
    d.LonSito = s.lon;
    d.LatSito = s.lat;
    d.TipoRic = s.tipoRic;
    d.ED50 = 0;
    d.alt = 123.5f;
    d.distCosta = 2.5f;
    d.NomeLoc[0] = 0;
    d.nomeLoc_new[0] = 0;
    d.LonSitoED50 = 0;
    d.LatSitoED50 = 0;
    return d;
}

} // namespace scenari
