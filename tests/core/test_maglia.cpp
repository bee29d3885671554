#include "core/calcolo.h"
#include "tests/supporto.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

namespace veltrano {
namespace {

TEST(ProiezioneSito, CentralMeridianAndSymmetry) {
    EXPECT_NEAR(ProiezioneSito(12.45f, 42.0f).X, 0.0, 1e-4); // 12.45f is not exactly 12.45
    for (float dl : {0.5f, 2.0f, 5.5f}) {
        const PuntoPiano e = ProiezioneSito(12.45f + dl, 41.0f), o = ProiezioneSito(12.45f - dl, 41.0f);
        EXPECT_NEAR(e.X, -o.X, 1e-3);
        EXPECT_NEAR(e.Y, o.Y, 1e-3);
        EXPECT_GT(e.X, 0.0f);
    }
    // About 111 km per degree of latitude, as a meridian arc should be.
    const float dy = ProiezioneSito(12.45f, 43.0f).Y - ProiezioneSito(12.45f, 42.0f).Y;
    EXPECT_NEAR(dy, 111.1, 0.3);
    EXPECT_NEAR(ProiezioneSito(12.45f, 0.0f).Y, 0.0, 1e-3);
}

TEST(ProiezioneSito, GridNodesLieAboutOneStepApart) {
    // Nodes 1 and 2 of the table are neighbours along a column of the grid.
    const Griglia& g = test::GrigliaCostruita();
    const double d = DistanzaPiana(g.X(0, 1), g.Y(0, 1), g.X(0, 2), g.Y(0, 2));
    EXPECT_NEAR(d, 5.5, 0.2);
}

// Independent brute force: plain double arithmetic over all nodes.
int VicinoIndipendente(const Griglia& g, float x, float y) {
    int best = 0;
    double dmin = INFINITY;
    for (int n = 1; n <= NumNodi; ++n) {
        const double d = std::hypot(double(g.X(0, n)) - x, double(g.Y(0, n)) - y);
        if (d < dmin) {
            dmin = d;
            best = n;
        }
    }
    return best;
}

TEST(CercaPuntiMaglia, MainlandSiteHasFourDistinctSurroundingNodes) {
    const Griglia& g = test::GrigliaCostruita();
    std::mt19937 rng(7);
    std::uniform_real_distribution<float> lon(8.0f, 16.0f), lat(40.0f, 45.5f);
    int provati = 0;
    for (int i = 0; i < 200; ++i) {
        const float Lo = lon(rng), La = lat(rng);
        TMagliaSito m{};
        CercaPuntiMaglia(g, Lo, La, m);
        const PuntoPiano s = ProiezioneSito(Lo, La);
        EXPECT_EQ(g.ID(0, VicinoIndipendente(g, s.X, s.Y)), +m[0].NumPunti[0]);
        if (m[0].NumVert != 4)
            continue; // at sea or beyond the border
        ++provati;
        const std::set<int> ids{m[0].NumPunti[0], m[0].NumPunti[1], m[0].NumPunti[2], m[0].NumPunti[3]};
        EXPECT_EQ(ids.size(), 4u);
        // The site lies inside the cell's lon/lat box, give or take the rounding
        // of the published node coordinates.
        float lo1 = 1e9f, lo2 = -1e9f, la1 = 1e9f, la2 = -1e9f;
        for (int s2 = 0; s2 < 4; ++s2) {
            lo1 = std::min(lo1, +m[0].LonPunti[s2]);
            lo2 = std::max(lo2, +m[0].LonPunti[s2]);
            la1 = std::min(la1, +m[0].LatPunti[s2]);
            la2 = std::max(la2, +m[0].LatPunti[s2]);
        }
        EXPECT_GE(Lo, lo1 - 0.01f);
        EXPECT_LE(Lo, lo2 + 0.01f);
        EXPECT_GE(La, la1 - 0.01f);
        EXPECT_LE(La, la2 + 0.01f);
        for (int k = 0; k < NumBlocchi; ++k) {
            EXPECT_EQ(+m[k].NumVert, 4);
            EXPECT_EQ(+m[k].LonSitoRic, Lo);
        }
    }
    EXPECT_GT(provati, 60);
}

TEST(CercaPuntiMaglia, SiteAtSeaKeepsDuplicatesOnlyInTheFirstRecordCount) {
    const Griglia& g = test::GrigliaCostruita();
    TMagliaSito m{};
    CercaPuntiMaglia(g, 5.0f, 36.0f, m); // far south-west, open sea
    EXPECT_LE(+m[0].NumVert, 2);
    EXPECT_GT(+m[0].NumPunti[0], 0);
    // Cleared numbers in the first record only; other records keep them.
    for (int s = 1; s < 4; ++s) {
        if (m[0].NumPunti[s] == 0) {
            EXPECT_GT(+m[1].NumPunti[s], 0);
        }
    }
}

TEST(CercaPuntiMaglia, TieGoesToTheEarlierNodeAndLevelSiteStepsPlus) {
    // Nodes 10 and 20 both 1 km from the site at (0, 0): node 10 is earlier.
    // The site is level with node 10 in Y, so the Y step takes the sign +1
    // and the diagonal point is (-1 + 5.5, 0 - 5.5).
    Griglia g = test::GrigliaSintetica([](int, int n, TNodoGriglia& v) {
        if (n == 10) { v.X = -1.0f; v.Y = 0.0f; }
        if (n == 20) { v.X = 1.0f; v.Y = 0.0f; }
        if (n == 30) { v.X = 4.5f; v.Y = -5.5f; }
        if (n == 40) { v.X = -1.0f; v.Y = -5.4f; }
    });
    EXPECT_EQ(NodoPiuVicino(g, 0.0f, 0.0f), 10);
    const NodiMaglia nodi = TrovaNodiMaglia(g, {0.0f, 0.0f}, [&g](float x, float y) {
        return NodoPiuVicino(g, x, y);
    });
    EXPECT_EQ(nodi.n[0], 10);
    EXPECT_EQ(nodi.n[1], 30);
    EXPECT_EQ(nodi.n[2], 40);
    EXPECT_EQ(nodi.n[3], 20);
}

TEST(OrdinaPunti, MovesEveryFieldOfASlotTogether) {
    TMagliaSito m{};
    const int ids[4] = {40, 10, 30, 20};
    for (int k = 0; k < NumBlocchi; ++k)
        for (int i = 0; i < 4; ++i) {
            m[k].NumPunti[i] = ids[i];
            m[k].XYPunti[i][0] = float(ids[i]) + 0.1f;
            m[k].XYPunti[i][1] = float(ids[i]) + 0.2f;
            m[k].LonPunti[i] = float(ids[i]) + 0.3f;
            m[k].LatPunti[i] = float(ids[i]) + 0.4f;
            m[k].agPunti[i] = float(ids[i]) + 0.5f + float(k);
            m[k].FoPunti[i] = float(ids[i]) + 0.6f;
            m[k].Tc_sPunti[i] = float(ids[i]) + 0.7f;
        }
    OrdinaPunti(false, 4, m);
    for (int k = 0; k < NumBlocchi; ++k)
        for (int i = 0; i < 4; ++i) {
            const float id = float(10 * (i + 1));
            EXPECT_EQ(+m[k].NumPunti[i], 10 * (i + 1));
            EXPECT_EQ(+m[k].XYPunti[i][0], id + 0.1f);
            EXPECT_EQ(+m[k].XYPunti[i][1], id + 0.2f);
            EXPECT_EQ(+m[k].LonPunti[i], id + 0.3f);
            EXPECT_EQ(+m[k].LatPunti[i], id + 0.4f);
            EXPECT_EQ(+m[k].agPunti[i], id + 0.5f + float(k));
            EXPECT_EQ(+m[k].FoPunti[i], id + 0.6f);
            EXPECT_EQ(+m[k].Tc_sPunti[i], id + 0.7f);
        }
    OrdinaPunti(true, 4, m);
    EXPECT_EQ(+m[3].NumPunti[0], 40);
    EXPECT_EQ(+m[3].NumPunti[3], 10);
    // Only the first N slots take part.
    TMagliaSito p{};
    for (int i = 0; i < 4; ++i)
        p[0].NumPunti[i] = ids[i];
    OrdinaPunti(false, 2, p);
    EXPECT_EQ(+p[0].NumPunti[0], 10);
    EXPECT_EQ(+p[0].NumPunti[1], 40);
    EXPECT_EQ(+p[0].NumPunti[2], 30);
    EXPECT_THROW(OrdinaPunti(false, 5, p), ErroreIntervallo);
}

TEST(ValoriIsole, SardiniaGetsGroupOneWithItsBoxAsNodes) {
    TMagliaSito m{};
    ASSERT_TRUE(ValoriIsole(9.0f, 40.0f, m));
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(+m[0].NumPunti[i], i + 1);
        EXPECT_EQ(+m[6].agPunti[i], 0.500f);
        EXPECT_EQ(+m[6].FoPunti[i], 2.88f);
        EXPECT_EQ(+m[6].Tc_sPunti[i], 0.340f);
        EXPECT_EQ(+m[0].agPunti[i], 0.186f);
        EXPECT_EQ(+m[8].Tc_sPunti[i], 0.401f);
    }
    EXPECT_EQ(+m[0].LonPunti[0], 7.8294f);
    EXPECT_EQ(+m[0].LatPunti[2], 38.6243f);
    EXPECT_EQ(+m[0].NumVert, 0); // left as the search set it
}

TEST(ValoriIsole, TremitiUsesGroupThreeWithUsticaBox) {
    TMagliaSito m{};
    ASSERT_TRUE(ValoriIsole(15.5f, 42.15f, m));
    EXPECT_EQ(GruppoIsola(15.5f, 42.15f), 3);
    EXPECT_EQ(+m[0].LonPunti[0], 13.1269f);
    EXPECT_EQ(+m[6].agPunti[0], 1.500f);
}

TEST(ValoriIsole, EdgesAndVertexToleranceCountAsInside) {
    TMagliaSito m{};
    // Box 10's vertex 1 within 0.001 degrees on both axes, from outside.
    EXPECT_EQ(GruppoIsola(13.3815f - 0.0009f, 40.8222f + 0.0009f), 2);
    EXPECT_EQ(GruppoIsola(13.3815f - 0.003f, 40.8222f + 0.003f), 0);
    // Midpoint of box 13's first edge.
    EXPECT_EQ(GruppoIsola((14.2985f + 14.6473f) / 2, (38.6302f + 38.6307f) / 2), 4);
    EXPECT_FALSE(ValoriIsole(12.5f, 42.0f, m)); // Lazio: no island
    EXPECT_EQ(+m[0].NumPunti[0], 0);              // nothing written
}

TEST(PuntoInPoligono, WindingTest) {
    const float q[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    EXPECT_TRUE(PuntoInPoligono(q, 4, 0.5f, 0.5f, 0.001f, 0.0001f, false));
    EXPECT_FALSE(PuntoInPoligono(q, 4, 1.5f, 0.5f, 0.001f, 0.0001f, false));
    EXPECT_TRUE(PuntoInPoligono(q, 4, 0.5f, 0.0f, 0.001f, 0.0001f, false)); // on an edge
    // Reversed orientation: the absolute sum decides.
    const float r[4][2] = {{0, 1}, {1, 1}, {1, 0}, {0, 0}};
    EXPECT_TRUE(PuntoInPoligono(r, 4, 0.25f, 0.75f, 0.001f, 0.0001f, true));
}

TEST(UtilitaMaglia, IntegerSortAndClamp) {
    int32_t v[5] = {5, 3, 9, 1, 7};
    OrdinaInteri(v, 4, 0);
    EXPECT_EQ(v[0], 1);
    EXPECT_EQ(v[3], 9);
    EXPECT_EQ(v[4], 7); // beyond n: untouched
    OrdinaInteri(v, 5, 1);
    EXPECT_EQ(v[0], 9);
    EXPECT_EQ(v[4], 1);
    EXPECT_EQ(LimitaIntero(12, 0, 10), 10);
    EXPECT_EQ(LimitaIntero(-3, 0, 10), 0);
}

} // namespace
} // namespace veltrano
