// The grid legend and the coordinate texts: worked bounds and labels, the
// classes of the real grid, and "." whatever the locale.
#include "core/griglia.h"
#include "dialog/coordinate.h"
#include "dialog/legenda.h"
#include "map/mappa.h"
#include "tests/dialog/supporto_qt.h"

#include <QLocale>

#include <clocale>

using namespace veltrano;
using namespace veltrano::dialogo;

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
}

TEST(Legenda, ColoriFissi) {
    ASSERT_EQ(ColoriClassi.size(), 11u);
    EXPECT_EQ(ColoriClassi[0], mappa::RGBWin(255, 255, 255));
    EXPECT_EQ(ColoriClassi[6], mappa::RGBWin(45, 45, 255));
    EXPECT_EQ(ColoriClassi[10], mappa::RGBWin(255, 15, 15));
}

TEST(Legenda, GrigliaVeraIlMassimoNellUltimaClasse) {
    Griglia g;
    g.Carica(test::DatiCostruiti() / "GeoDati.dat");
    float min = 0, max = 0;
    EstremiAg(g, 6, min, max);
    EXPECT_FLOAT_EQ(min, 0);
    EXPECT_NEAR(max, 2.78f, 1e-4) << "the largest 475-year ag";
    const auto R = CalcolaRangeColori(min, max);
    int nellUltima = 0, senza = 0;
    for (int n = 1; n <= NumNodi; ++n) {
        const int c = ClasseAg(R, g.ag(6, n));
        nellUltima += c == 10;
        senza += c == 0;
    }
    EXPECT_GT(nellUltima, 0);
    EXPECT_EQ(senza, 0);
    float min8 = 0, max8 = 0;
    EstremiAg(g, 8, min8, max8);
    EXPECT_GT(max8, max) << "2475 years rescales the legend";
    EXPECT_EQ(EtichettaNodo(26528, 2.61f), "ID: 26528\rAg:0.261");
}

TEST(Coordinate, SempreIlPuntoComeSeparatore) {
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    std::setlocale(LC_NUMERIC, "it_IT.UTF-8"); // where installed
    EXPECT_EQ(FormatoCoordinata(16.2124), "16.2124");
    EXPECT_EQ(FormatoCoordinata(8.5), "8.5000");
    EXPECT_EQ(FormatoCoordinata(-0.00001), "-0.0000");
    EXPECT_EQ(LeggiNumero(" 38.1517 "), 38.1517);
    EXPECT_FALSE(LeggiNumero("38,1517"));
    EXPECT_FALSE(LeggiNumero(""));
    EXPECT_FALSE(LeggiNumero("12abc"));
    EXPECT_EQ(NumeroOZero("dodici"), 0.0);
    std::setlocale(LC_NUMERIC, "C");
    QLocale::setDefault(QLocale::c());
}
