// The grid legend and the grid colouring: worked bounds and labels, the
// classes of the real grid, and the grid labels at full extent, which must
// thin out instead of piling up.
#include "core/griglia.h"
#include "map/etichette.h"
#include "map/legenda.h"
#include "map/mappa.h"
#include "tests/map/pittore_registro.h"
#include "tests/supporto_dati.h"

#include <gtest/gtest.h>

#include <memory>

using namespace veltrano;
using namespace veltrano::mappa;

namespace {

const Griglia& G() {
    static const Griglia g = [] {
        Griglia r;
        r.Carica(test::DatiCostruiti() / "GeoDati.dat");
        return r;
    }();
    return g;
}

std::shared_ptr<TShapefile> PuntiGriglia() {
    static const std::shared_ptr<TShapefile> sf = [] {
        auto s = std::make_shared<TShapefile>();
        s->Apri((test::DatiCostruiti() / "Shape/Griglia/Griglia.shp").string());
        return s;
    }();
    return sf;
}

} // namespace

TEST(Legenda, MassimoDueVirgolaSei) {
    const auto R = CalcolaRangeColori(0, 2.6f);
    EXPECT_FLOAT_EQ(R[0], 0);
    EXPECT_NEAR(R[1], 0.26f, 1e-6);
    EXPECT_NEAR(R[9], 2.34f, 1e-5);
    EXPECT_FLOAT_EQ(R[10], 2.6f);
    const auto e = EtichetteLegenda(R);
    EXPECT_EQ(e[0], "0.000");
    EXPECT_EQ(e[1], "0.000-0.026");
    EXPECT_EQ(e[5], "0.104-0.130");
    EXPECT_EQ(e[10], "0.234-0.260");
    EXPECT_EQ(ClasseAg(R, 2.6f), 10);
    EXPECT_EQ(ClasseAg(R, 0.0f), 0) << "ag 0 stays uncoloured";
    EXPECT_EQ(ClasseAg(R, 0.26f), 1) << "upper bound belongs to the class";
    EXPECT_EQ(CalcolaRangeColori(1.5f, 1.5f)[0], 0) << "min equal to max: the scale starts at 0";
    ASSERT_EQ(ColoriClassi.size(), 11u);
    EXPECT_EQ(ColoriClassi[0], RGBWin(255, 255, 255));
    EXPECT_EQ(ColoriClassi[6], RGBWin(45, 45, 255));
    EXPECT_EQ(ColoriClassi[10], RGBWin(255, 15, 15));
}

TEST(Legenda, GrigliaVeraColorataPerClassi) {
    TMappa m;
    const int l = m.AggiungiLayer(PuntiGriglia(), false);
    ASSERT_EQ(m.Shapefile(l)->NumShape(), NumNodi) << "one point per node";
    const TColore prima = RGBWin(1, 2, 3);
    m.ImpostaColoreRiempimento(l, prima);
    const auto R = ColoraGriglia(m, l, G(), 6, {"Times New Roman", 8});
    EXPECT_FLOAT_EQ(R[0], 0);
    EXPECT_NEAR(R[10], 2.78f, 1e-4) << "the largest 475-year ag";
    int massimo = 1;
    for (int n = 1; n <= NumNodi; ++n)
        if (G().ag(6, n) > G().ag(6, massimo))
            massimo = n;
    EXPECT_EQ(m.ColoreShape(l, massimo - 1), ColoriClassi[10]) << "the largest ag is red";
    EXPECT_EQ(m.Etichette(l).size(), static_cast<std::size_t>(NumNodi)) << "every node has ag above 0";
    EXPECT_EQ(EtichettaNodo(26528, 2.61f), "ID: 26528\rAg:0.261");
    // 2475 years rescales the legend; the colours stay.
    const auto R8 = ColoraGriglia(m, l, G(), 8, {"Times New Roman", 8});
    EXPECT_GT(R8[10], R[10]);
    EXPECT_EQ(m.Etichette(l).size(), static_cast<std::size_t>(NumNodi)) << "labels replaced, not added";
    // Out-of-range blocks are taken as the nearest one.
    EXPECT_EQ(ColoraGriglia(m, l, G(), 99, {"Times New Roman", 8})[10], R8[10]);
}

// Regression: the grid value labels piled into a smear at full extent
// (issue 9). Only labels that do not overlap are drawn.
TEST(Legenda, EtichetteDellaGrigliaATuttaEstensioneNonSiSovrappongono) {
    TMappa m;
    m.ImpostaDimensioni(1280, 900);
    const int l = m.AggiungiLayer(PuntiGriglia(), true);
    ColoraGriglia(m, l, G(), 6, {"Times New Roman", 8});
    m.ZoomEstensioneMassima();
    test::TPittoreRegistro pittore;
    m.Disegna(pittore);
    const auto testi = pittore.Colorati();
    const std::size_t etichette = testi.size() / 2; // two lines each
    EXPECT_GT(etichette, 50u);
    EXPECT_LT(etichette, static_cast<std::size_t>(NumNodi) / 10);
    // Drawn boxes, rebuilt from their first lines, meet no other.
    TPosizionatoreEtichette verifica({-1000, -1000, 4000, 4000}, 0.0);
    for (std::size_t i = 0; i < testi.size(); i += 2) {
        const double em = test::TPittoreRegistro::Em(testi[i].carattere);
        const double w = 0.6 * em * static_cast<double>(std::max(testi[i].testo.size(), testi[i + 1].testo.size()));
        EXPECT_TRUE(verifica.Occupa({testi[i].base.x - 0.01, testi[i].base.y - em + 0.01, w - 0.5, 2.5 * em - 0.5}))
            << testi[i].testo;
    }
    // Each label reads over points of its own colour: a halo of clearly
    // different lightness is drawn around it.
    EXPECT_EQ(pittore.testi.size(), 9 * testi.size());
    auto luce = [](TColore c) { return (299 * RossoDi(c) + 587 * VerdeDi(c) + 114 * BluDi(c)) / 1000; };
    for (TColore c : ColoriClassi)
        EXPECT_GE(std::abs(luce(c) - luce(ColoreAlone(c))), 100) << std::hex << c;
    // Zoomed in close, every label of the view shows.
    m.ImpostaEstensione({13.3, 42.3, 13.5, 42.4});
    test::TPittoreRegistro vicino;
    m.Disegna(vicino);
    int nellaVista = 0;
    for (int i = 0; i < NumNodi; ++i) {
        const TPunto q = m.Shapefile(l)->Shape(i).punti[0];
        nellaVista += q.x > 13.31 && q.x < 13.49 && q.y > 42.31 && q.y < 42.39;
    }
    EXPECT_GE(vicino.Colorati().size() / 2, static_cast<std::size_t>(nellaVista));
}
