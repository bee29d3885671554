// The plain-text results report of a site: municipality and coordinates, the
// grid nodes used and the table of TR, ag, Fo, Tc* per limit state. Lines are
// separated by "\n"; tab characters align the table.
#pragma once

#include "core/calcolo.h"
#include "veltrano/veltrano.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace veltrano {

struct RigaRapporto {
    double TR; // [years]
    double ag; // [g]
    double Fo;
    double Tc; // [s]
};

struct DatiRapporto {
    int numNodi = 0;             // non-zero node numbers found by the search
    bool isola = false;          // island values were used: EsitoSito::isola, never decided here
    std::string comune;          // municipality name (may be empty)
    double lonED50 = 0, latED50 = 0, altitudine = 0; // [deg], [deg], [m]
    std::vector<int32_t> nodi;   // node numbers, sorted ascending
    std::array<RigaRapporto, 4> stati{}; // SLO, SLD, SLV, SLC
};

/// The warning printed when a site can be evaluated neither on the grid nor
/// as an island.
inline constexpr const char* AvvisoSitoNonValido =
    "ATTENZIONE COORDINATE DEL SITO NON INSERITE OPPURE NON VALIDE!!!";

/// The report's lines, in order.
std::vector<std::string> RigheRisultati(const DatiRapporto& d);

/// The report's data of a computed site (ag in g, as the exports return
/// it) and what the engine decided about it: the node numbers used, sorted,
/// and the four limit states. The caller adds the municipality, the
/// coordinates shown and the altitude.
DatiRapporto DatiRapportoSito(const TGIS_DatiOut& d, const EsitoSito& esito);

} // namespace veltrano
