// The plain-text results report of a site: municipality and coordinates, the
// grid nodes used and the table of TR, ag, Fo, Tc* per limit state. Lines are
// separated by "\n"; tab characters align the table.
#pragma once

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

} // namespace veltrano
