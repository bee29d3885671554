#include "core/rapporto.h"

#include <gtest/gtest.h>

namespace veltrano {
namespace {

DatiRapporto Esempio() {
    DatiRapporto d;
    d.numNodi = 4;
    d.comune = "L'Aquila";
    d.lonED50 = 13.4;
    d.latED50 = 42.35;
    d.nodi = {26305, 26306, 26527, 26528};
    d.stati = {{{30, 0.0788, 2.4, 0.27}, {50, 0.1039, 2.33, 0.28}, {475, 0.2607, 2.36, 0.35},
                {975, 0.3341, 2.4, 0.36}}};
    return d;
}

TEST(RigheRisultati, SiteInsideTheGridHasTenLines) {
    const auto r = RigheRisultati(Esempio());
    ASSERT_EQ(r.size(), 10u);
    EXPECT_EQ(r[0], "Comune di L'Aquila - Coordinate sito (Datum - ED50) : Longitudine = 13.4000\u00b0 ; "
                    "Latitudine = 42.3500\u00b0; Altitudine =  0.00 metri s.l.m.");
    EXPECT_EQ(r[1], "");
    EXPECT_EQ(r[2], "Punti della maglia:\t26305 \t26306 \t26527 \t26528 \t");
    EXPECT_EQ(r[5], "STATO LIMITE        TR [anni]\t\tag [g]\t\t  Fo\t\tTc* [s]");
    EXPECT_EQ(r[6], "    SLO\t\t   30\t\t\t0.079\t\t2.400\t\t0.270");
    EXPECT_EQ(r[8], "    SLV\t\t  475\t\t\t0.261\t\t2.360\t\t0.350");
}

TEST(RigheRisultati, IslandAndInvalidSites) {
    DatiRapporto d = Esempio();
    d.numNodi = 1;
    d.isola = true;
    const auto r = RigheRisultati(d);
    ASSERT_EQ(r.size(), 8u);
    EXPECT_EQ(r[0].rfind("Valori dei parametri", 0), 0u);
    EXPECT_EQ(r[7], "Valori calcolati con riferimento al D.M. 14/01/2008 - Allegato B - Tabella 2");
    d.isola = false;
    EXPECT_EQ(RigheRisultati(d), std::vector<std::string>{AvvisoSitoNonValido});
}

} // namespace
} // namespace veltrano
