// Labels show whole and in sight: none is cut by the map's edge (it moves
// inside, beside its point, or is left out) and none lies under the site's
// mark (the highlighted municipality's name moves beside the mark). Boxes
// are rebuilt from what the recording painter was asked to draw, halos
// included.
#include "map/etichette.h"
#include "map/mappa.h"
#include "map/segno_sito.h"
#include "tests/map/pittore_registro.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <vector>

using namespace veltrano::mappa;
using veltrano::test::TPittoreRegistro;

namespace {

constexpr TColore Blu = RGBWin(0, 0, 128), Rosso = RGBWin(255, 0, 0);
constexpr int W = 600, H = 400;

// The box of one drawn line of text, by the recording painter's metrics.
TRettangoloPx Riquadro(const TPittoreRegistro::Scritta& s) {
    const double em = TPittoreRegistro::Em(s.carattere);
    return {s.base.x, s.base.y - em, 0.6 * em * static_cast<double>(s.testo.size()), 1.25 * em};
}

bool DentroMappa(const TRettangoloPx& r) { return r.x >= 0 && r.y >= 0 && r.Destra() <= W && r.Basso() <= H; }

// Map over the country round L'Aquila, W x H pixels, with the names of
// layer 0 shown in the municipalities' font.
struct Mappa {
    TMappa m;
    int nomi, griglia;
    explicit Mappa(const TEstensione& e) {
        m.ImpostaDimensioni(W, H);
        m.ImpostaEstensione(e);
        nomi = m.AggiungiLayer(nullptr, true);
        griglia = m.AggiungiLayer(nullptr, true);
        m.ImpostaFontLayer(nomi, {"Times New Roman", 8});
        m.ImpostaColoreEtichette(nomi, Blu);
        m.ImpostaNomiVisibili(nomi, true);
    }
    void Nome(const std::string& t, TPuntoPx px) {
        const TPunto q = m.PixelAMappa(px);
        m.AggiungiNome(nomi, t, q.x, q.y);
    }
    TPittoreRegistro Disegno() const {
        TPittoreRegistro p;
        m.Disegna(p);
        return p;
    }
};

} // namespace

TEST(Etichette, UnRiquadroCheTraversaIlBordoSiSpostaDentroONonSiTiene) {
    TPosizionatoreEtichette pos({0, 0, 1000, 500}, 2.0);
    EXPECT_FALSE(pos.Occupa({-20, 100, 50, 20})) << "would be cut by the left edge";
    EXPECT_FALSE(pos.Occupa({980, 480, 50, 20})) << "would be cut by the corner";
    EXPECT_TRUE(pos.Occupa({0, 0, 50, 20})) << "touching the edge from inside";
    // Slid inside while it still covers its point.
    const auto a = pos.Colloca({5, 200}, {-20, 190, 50, 20});
    ASSERT_TRUE(a);
    EXPECT_EQ(a->x, 0);
    EXPECT_EQ(a->y, 190);
    // Its point outside the area: beside the point, or nothing.
    const auto b = pos.Colloca({-2, 300}, {-27, 290, 50, 20});
    ASSERT_TRUE(b);
    EXPECT_TRUE(pos.Dentro(*b));
    EXPECT_FALSE(pos.Colloca({-40, 400}, {-65, 390, 50, 20}));
    // Inside but on a label kept before: left out, as labels thin out.
    EXPECT_FALSE(pos.Colloca({25, 200}, {0, 190, 50, 20}));
    // On a mark: moved off it, never onto it.
    const TRettangoloPx segno{480, 230, 40, 40};
    pos.RiservaSegno(segno);
    const auto c = pos.Colloca({500, 250}, {475, 240, 50, 20});
    ASSERT_TRUE(c);
    EXPECT_FALSE(c->Interseca(segno));
    EXPECT_LT(std::abs(c->x + c->larghezza / 2 - 500) + std::abs(c->y + c->altezza / 2 - 250), 60) << "near its point";
    EXPECT_FALSE(pos.Occupa({470, 260, 20, 10}));
}

// Regression: a name at the left edge was drawn cut ("gnano Amiterno").
// Names and two-line grid values along all four edges, their points a few
// pixels outside, on, or inside the edge: every text drawn, halo included,
// lies wholly in the map, and each one whose point is inside still shows.
TEST(Etichette, VicinoAOgniBordoNessunaEtichettaEsceDallaMappa) {
    Mappa t({13.0, 42.0, 14.0, 42.7});
    struct Atteso {
        std::string testo;
        bool dentro;
    };
    std::vector<Atteso> attesi;
    const double distanze[] = {-8, -3, 0, 2, 6, 12, 20, 30};
    for (int k = 0; k < 8; ++k) {
        const double d = distanze[k];
        const std::string n = std::to_string(k);
        const double lungo = 80 + 60 * k, alto = 40 + 40 * k;
        // Left and right: points 40 pixels apart down the edge.
        t.Nome("San Pio delle Camere " + n, {d, alto});
        t.Nome("Scoppito " + n, {W - d, alto});
        // Top and bottom, 60 pixels apart: short names.
        t.Nome("Ocre " + n, {lungo, d});
        t.Nome("Fagnano " + n, {lungo - 30, H - d});
        for (const char* s : {"San Pio delle Camere ", "Scoppito ", "Ocre ", "Fagnano "})
            attesi.push_back({s + n, d >= 0});
    }
    // Grid values (a layer's labels, drawn before every name).
    for (const TPuntoPx px : {TPuntoPx{W - 1, 20}, TPuntoPx{560, H - 1}}) {
        const TPunto q = t.m.PixelAMappa(px);
        t.m.AggiungiEtichetta(t.griglia, "ID: 12345\rAg:0.262", Rosso, q.x, q.y, 1);
    }
    const TPittoreRegistro p = t.Disegno();
    ASSERT_FALSE(p.testi.empty());
    std::set<std::string> tagliati;
    for (const auto& s : p.testi)
        if (!DentroMappa(Riquadro(s)))
            tagliati.insert(s.testo);
    EXPECT_EQ(tagliati, std::set<std::string>{}) << "cut by the edge";
    const auto colorati = p.Colorati();
    for (const Atteso& a : attesi) {
        if (!a.dentro)
            continue;
        EXPECT_TRUE(std::any_of(colorati.begin(), colorati.end(), [&](const auto& s) { return s.testo == a.testo; }))
            << a.testo << " has its point in the map and room to show";
    }
    for (const char* r : {"ID: 12345", "Ag:0.262"})
        EXPECT_EQ(std::count_if(colorati.begin(), colorati.end(), [&](const auto& s) { return s.testo == r; }), 2)
            << r;
}

// Regression: the site's mark covered the first letters of the name under
// it. The mark's box meets no label; the highlighted municipality's name,
// placed at the mark, moves beside it and still shows, and so do grid
// values and names that fall on the mark.
TEST(Etichette, NessunaEtichettaSottoIlSegnoDelSito) {
    const double lon = 13.4, lat = 42.35;
    Mappa t({lon - 0.2, lat - 0.1, lon + 0.2, lat + 0.1});
    t.m.ImpostaFontLayer(t.griglia, {"Times New Roman", 8});
    t.m.AggiungiEtichetta(t.griglia, "ID: 27014\rAg:0.261", Rosso, lon + 0.004, lat - 0.004, 1);
    t.m.AggiungiEtichetta(t.nomi, "L'Aquila", Blu, lon, lat, 1);
    const TPuntoPx sito = t.m.MappaAPixel({lon, lat});
    t.Nome("L'Aquila", sito);
    t.Nome("Scoppito", {sito.x - 25, sito.y + 8});
    t.Nome("Pizzoli", {sito.x + 70, sito.y - 35});
    t.m.NuovoDisegno();
    DisegnaSegnoSito(t.m, lon, lat);
    EXPECT_EQ(t.m.NumDisegni(), 1) << "the empty drawing just opened takes the mark";
    const TPittoreRegistro p = t.Disegno();

    // The mark as drawn: its rings and its cross.
    ASSERT_EQ(p.ellissi.size(), 3u);
    double x0 = HUGE_VAL, y0 = HUGE_VAL, x1 = -HUGE_VAL, y1 = -HUGE_VAL;
    for (const auto& e : p.ellissi) {
        x0 = std::min(x0, e.centro.x - e.rx);
        x1 = std::max(x1, e.centro.x + e.rx);
        y0 = std::min(y0, e.centro.y - e.ry);
        y1 = std::max(y1, e.centro.y + e.ry);
    }
    for (const auto& l : p.linee)
        for (const TPuntoPx& q : l.punti) {
            x0 = std::min(x0, q.x);
            x1 = std::max(x1, q.x);
            y0 = std::min(y0, q.y);
            y1 = std::max(y1, q.y);
        }
    const TRettangoloPx segno{x0, y0, x1 - x0, y1 - y0};
    EXPECT_GT(segno.larghezza, 20);
    EXPECT_GT(segno.altezza, 20);
    std::set<std::string> coperti;
    for (const auto& s : p.testi)
        if (Riquadro(s).Interseca(segno))
            coperti.insert(s.testo);
    EXPECT_EQ(coperti, std::set<std::string>{}) << "under the mark";

    const auto colorati = p.Colorati();
    auto mostrato = [&](const std::string& testo, TColore c) {
        return std::count_if(colorati.begin(), colorati.end(),
                             [&](const auto& s) { return s.testo == testo && s.colore == c; });
    };
    EXPECT_EQ(mostrato("L'Aquila", Blu), 1) << "the highlighted name shows once, beside the mark";
    EXPECT_EQ(mostrato("Ag:0.261", Rosso), 1) << "the grid value too";
    EXPECT_EQ(mostrato("Pizzoli", Blu), 1);
    // Still next to the site: within a few label heights of it.
    for (const auto& s : colorati) {
        const TRettangoloPx r = Riquadro(s);
        EXPECT_LT(std::hypot(r.x + r.larghezza / 2 - sito.x, r.y + r.altezza / 2 - sito.y), 80) << s.testo;
    }
}
