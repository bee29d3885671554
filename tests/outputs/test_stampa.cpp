// The printed report and map as pages, through a painter that records what
// it is asked to draw: the report black on white with its table on the tab
// stops, long lines broken at blanks and nothing lost or cut, as many pages
// as the lines need; the map as large as the page allows, undistorted.
#include "outputs/stampa.h"
#include "tests/map/pittore_registro.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace veltrano::uscite {
namespace {

using mappa::TRettangoloPx;
using test::TPittoreRegistro;

const std::vector<std::string> Rapporto{
    "Comune di L'Aquila - Coordinate sito (Datum - ED50) : Longitudine = 13.4000° ; Latitudine = 42.3500°; "
    "Altitudine =   0.00 metri s.l.m.",
    "",
    "Punti della maglia:\t26305 \t26306 \t26527 \t26528 \t",
    "",
    "Valori dei parametri ag, Fo, Tc* per i periodi di ritorno TR associati a ciascun Stato Limite",
    "STATO LIMITE        TR [anni]\t\tag [g]\t\t  Fo\t\tTc* [s]",
    "    SLO\t\t   30\t\t\t0.079\t\t2.497\t\t0.277",
    "    SLD\t\t   50\t\t\t0.101\t\t2.481\t\t0.287",
    "    SLV\t\t  475\t\t\t0.261\t\t2.362\t\t0.346",
    "    SLC\t\t  975\t\t\t0.334\t\t2.379\t\t0.355",
};

// A4 with margins of 15 mm, in page units.
const TRettangoloPx A4{0, 0, Mm(180), Mm(267)};

std::vector<TPittoreRegistro> StampaTutto(const TDocumento& d, const TRettangoloPx& area) {
    std::vector<TPittoreRegistro> pagine;
    for (int i = 0; i < 100; ++i) {
        pagine.emplace_back();
        if (!d.disegna(pagine.back(), area, i))
            return pagine;
    }
    ADD_FAILURE() << "the document never ends";
    return pagine;
}

TEST(StampaRapporto, TabsReachTheNextStopPastTheTextLikeThePanel) {
    TPittoreRegistro p;
    const auto c = CarattereRapporto();
    const auto pezzi = PezziRiga(p, "    SLV\t\t  475\t\t\t0.261", c);
    ASSERT_EQ(pezzi.size(), 6u);
    EXPECT_EQ(pezzi[0].x, 0);
    // "    SLV" is 7 characters (under one stop): the first tab goes to the
    // first stop, the second to the next one.
    EXPECT_DOUBLE_EQ(pezzi[1].x, PassoTabulazione);
    EXPECT_DOUBLE_EQ(pezzi[2].x, 2 * PassoTabulazione);
    EXPECT_EQ(pezzi[2].testo, "  475");
    EXPECT_EQ(pezzi[5].testo, "0.261");
    for (std::size_t i = 1; i < pezzi.size(); ++i) {
        EXPECT_GT(pezzi[i].x, pezzi[i - 1].x + p.MisuraTesto(pezzi[i - 1].testo, c).larghezza - 1e-9);
        EXPECT_DOUBLE_EQ(std::fmod(pezzi[i].x, PassoTabulazione), 0.0);
    }
    // A piece exactly one stop long still moves on to the following stop.
    const std::string otto(static_cast<std::size_t>(PassoTabulazione / p.MisuraTesto("x", c).larghezza + 0.5), 'x');
    EXPECT_DOUBLE_EQ(PezziRiga(p, otto + "\ty", c)[1].x, 2 * PassoTabulazione);
}

TEST(StampaRapporto, LongLinesBreakAtBlanksAndNothingIsLost) {
    TPittoreRegistro p;
    const auto c = CarattereRapporto();
    const double larghezza = 600;
    const auto righe = RigheStampa(p, Rapporto, c, larghezza);
    EXPECT_GT(righe.size(), Rapporto.size()) << "the first line does not fit in 600 units";
    std::string prima;
    std::size_t i = 0;
    for (; i < righe.size() && !righe[i].empty(); ++i) {
        EXPECT_LE(p.MisuraTesto(righe[i], c).larghezza, larghezza) << righe[i];
        EXPECT_NE(righe[i].front(), ' ') << "a continuation starts with a blank";
        prima += (prima.empty() ? "" : " ") + righe[i];
    }
    EXPECT_EQ(prima, Rapporto[0]);
    // The rest is unchanged, tabs and empty lines included.
    EXPECT_EQ(std::vector<std::string>(righe.begin() + static_cast<std::ptrdiff_t>(i), righe.end()),
              std::vector<std::string>(Rapporto.begin() + 1, Rapporto.end()));
    // A word longer than the page is cut at whole characters.
    const auto lunga = RigheStampa(p, {"èèèèèèèèèèèèèèèèèèèè"}, c, 30);
    std::string tutto;
    for (const auto& r : lunga) {
        EXPECT_FALSE(r.empty());
        tutto += r;
    }
    EXPECT_EQ(tutto, "èèèèèèèèèèèèèèèèèèèè");
}

TEST(StampaRapporto, BlackOnWhiteInsideThePageOnAsManyPagesAsNeeded) {
    const TDocumento d = DocumentoRapporto(Rapporto, "pippo");
    EXPECT_EQ(d.titolo, "pippo");
    EXPECT_FALSE(d.orizzontale);
    auto una = StampaTutto(d, A4);
    ASSERT_EQ(una.size(), 1u);
    std::vector<std::string> scritti;
    for (const auto& t : una[0].testi) {
        EXPECT_EQ(t.colore, mappa::RGBWin(0, 0, 0)) << t.testo;
        EXPECT_TRUE(t.carattere.grassetto);
        EXPECT_GE(t.base.x, A4.x);
        EXPECT_LE(t.base.x + una[0].MisuraTesto(t.testo, t.carattere).larghezza, A4.Destra() + 1e-9) << t.testo;
        EXPECT_LE(t.base.y, A4.Basso());
        scritti.push_back(t.testo);
    }
    EXPECT_NE(std::find(scritti.begin(), scritti.end(), "  475"), scritti.end());
    EXPECT_NE(std::find(scritti.begin(), scritti.end(), "Punti della maglia:"), scritti.end());
    EXPECT_TRUE(una[0].poligoni.empty() && una[0].rettangoli.empty()) << "no background: white paper";

    // A page four lines high: the same pieces, in order, over several pages,
    // and a second run of the document starts again from the first line.
    const TRettangoloPx bassa{0, 0, Mm(180), 4 * 1.25 * TPittoreRegistro::Em(CarattereRapporto())};
    for (int giro = 0; giro < 2; ++giro) {
        const auto pagine = StampaTutto(d, bassa);
        EXPECT_EQ(pagine.size(), 3u);
        std::vector<std::string> tutti;
        for (const auto& p : pagine) {
            EXPECT_LE(p.testi.size(), 4u * 6u);
            for (const auto& t : p.testi) {
                EXPECT_LE(t.base.y, bassa.Basso());
                tutti.push_back(t.testo);
            }
        }
        EXPECT_EQ(tutti, scritti);
    }
}

TEST(StampaCartina, AsLargeAsThePageAllowsWithItsProportions) {
    mappa::TImmagine im;
    im.larghezza = 900;
    im.altezza = 600;
    im.pixel.assign(900u * 600u, 0xFF336699u);
    const TDocumento d = DocumentoCartina(im, "Cartina");
    EXPECT_TRUE(d.orizzontale) << "a wide map prefers landscape";
    const TRettangoloPx area{10, 20, 1000, 1000};
    const auto pagine = StampaTutto(d, area);
    ASSERT_EQ(pagine.size(), 1u);
    ASSERT_EQ(pagine[0].rettangoli.size(), 1u);
    const TRettangoloPx r = pagine[0].rettangoli[0];
    EXPECT_DOUBLE_EQ(r.larghezza, 1000);
    EXPECT_DOUBLE_EQ(r.altezza, 1000.0 * 600 / 900);
    EXPECT_DOUBLE_EQ(r.x, 10);
    EXPECT_DOUBLE_EQ(r.y, 20);
    // A tall page: the width bounds it, centred; a tall picture: the height.
    const TRettangoloPx alta = RettangoloCartina(300, 600, {0, 0, 1000, 1000});
    EXPECT_DOUBLE_EQ(alta.altezza, 1000);
    EXPECT_DOUBLE_EQ(alta.larghezza, 500);
    EXPECT_DOUBLE_EQ(alta.x, 250);
    EXPECT_FALSE(DocumentoCartina(mappa::TImmagine{}, "x").orizzontale);
    EXPECT_TRUE(StampaTutto(DocumentoCartina(mappa::TImmagine{}, "x"), area)[0].rettangoli.empty())
        << "an empty picture prints an empty page";
}

} // namespace
} // namespace veltrano::uscite
