#include "core/calcolo.h"
#include "tests/supporto.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>

namespace veltrano {
namespace {

TEST(IntervalloTR, BracketsAndClamps) {
    struct Caso { int32_t tr; int i1, t1, i2, t2; };
    const Caso casi[] = {{10, 0, 30, 0, 30},     {30, 0, 30, 0, 30},       {31, 0, 30, 1, 50},
                         {50, 1, 50, 2, 72},     {474, 5, 201, 6, 475},    {475, 6, 475, 7, 975},
                         {712, 6, 475, 7, 975},  {2474, 7, 975, 8, 2475},  {2475, 8, 2475, 8, 2475},
                         {9000, 8, 2475, 8, 2475}};
    for (const Caso& c : casi) {
        const BracketTR b = IntervalloTR(c.tr);
        EXPECT_EQ(b.basso.indice, c.i1) << c.tr;
        EXPECT_EQ(b.basso.periodo, c.t1) << c.tr;
        EXPECT_EQ(b.alto.indice, c.i2) << c.tr;
        EXPECT_EQ(b.alto.periodo, c.t2) << c.tr;
    }
    EXPECT_EQ(IndiceTR(975).indice, 7);
    EXPECT_EQ(IndiceTR(100).indice, 0); // not tabulated
    EXPECT_EQ(IndiceTR(100).periodo, 100);
}

TEST(InterpolaTR, LogLogLineThroughTheBracket) {
    const double atteso = std::pow(10.0, std::log10(2.0) * std::log10(712.0 / 475) / std::log10(975.0 / 475));
    EXPECT_NEAR(InterpolaTR(712, 475, 975, 1.0f, 2.0f), atteso, 2e-7);
    EXPECT_EQ(InterpolaTR(475, 475, 975, 1.234f, 2.0f), 1.234f);
    EXPECT_EQ(InterpolaTR(30, 30, 30, 0.7f, 0.9f), 0.7f);
    EXPECT_EQ(InterpolaTR(2475, 2475, 2475, 0.7f, 0.9f), 0.9f);
}

TEST(DistanzaNodo, AgreesWithAPlainHaversine) {
    // Independent formulation in double precision with the same local radius.
    auto haversine = [](double la1, double lo1, double la2, double lo2) {
        const double r = M_PI / 180, a = 6378135, b = 6356750;
        const double h = std::pow(std::sin((la2 - la1) * r / 2), 2) +
                         std::cos(la1 * r) * std::cos(la2 * r) * std::pow(std::sin((lo2 - lo1) * r / 2), 2);
        const double R = std::sqrt(std::pow(a * b * std::cos(la1 * r), 2) /
                                   (std::pow(a * std::cos(la1 * r), 2) + std::pow(b * std::sin(la1 * r), 2)));
        return R * 2 * std::asin(std::sqrt(h));
    };
    const float casi[][4] = {{42.35f, 13.4f, 42.385f, 13.355f}, {37.5f, 15.0f, 37.45f, 15.06f},
                             {45.0f, 7.0f, 45.0f, 7.07f}};
    for (const auto& c : casi)
        EXPECT_NEAR(DistanzaNodo(c[0], c[1], c[2], c[3]), haversine(c[0], c[1], c[2], c[3]),
                    1e-5 * haversine(c[0], c[1], c[2], c[3]));
    EXPECT_EQ(DistanzaNodo(42.0f, 12.0f, 42.0f, 12.0f), 0.0f);
}

TEST(MediaPesata, IdenticalValuesOnNodeAndRangeFault) {
    const float lon[4] = {13.0f, 13.07f, 13.0f, 13.07f}, lat[4] = {42.0f, 42.0f, 42.05f, 42.05f};
    const float uguali[4] = {2.5f, 2.5f, 2.5f, 2.5f};
    EXPECT_NEAR(MediaPesata(4, lon, lat, uguali, 13.02f, 42.01f), 2.5f, 1e-6);
    const float diversi[4] = {1.0f, 2.0f, 3.0f, 4.0f};
    // Regression: a site exactly on a node gets the node's value, not NaN.
    EXPECT_EQ(MediaPesata(4, lon, lat, diversi, 13.07f, 42.05f), 4.0f);
    // Nearer nodes weigh more: the mean leans towards node 1.
    EXPECT_LT(MediaPesata(4, lon, lat, diversi, 13.001f, 42.001f), 1.2f);
    EXPECT_THROW(MediaPesata(5, lon, lat, diversi, 13.0f, 42.0f), ErroreIntervallo);
}

// The whole interpolation done again in double precision, without the
// single-precision stores: the two must agree to float resolution.
TEST(InterpolaParametri, AgreesWithAnIndependentDoubleComputation) {
    const Griglia& g = test::GrigliaCostruita();
    std::mt19937 rng(11);
    std::uniform_real_distribution<float> lon(7.0f, 18.0f), lat(37.0f, 46.5f);
    int provati = 0;
    for (int caso = 0; caso < 300; ++caso) {
        const float Lo = lon(rng), La = lat(rng);
        TMagliaSito m{};
        CercaPuntiMaglia(g, Lo, La, m);
        if (m[0].NumVert != 4)
            continue;
        ++provati;
        TMagliaSito copia = m;
        TGIS_DatiOut out{};
        const int vn = 50 + caso, classe = 1 + caso % 4;
        CompletaSito(copia, Norm_DM2008, Lo, La, vn, classe, out);
        const TempiRitorno tr = CalcolaTR(Norm_DM2008, vn, static_cast<uint8_t>(classe));
        for (int j = 0; j < 4; ++j) {
            const int32_t T = tr[static_cast<std::size_t>(j)];
            const BracketTR b = IntervalloTR(T);
            double sv[3] = {0, 0, 0}, sp = 0;
            for (int i = 0; i < 4; ++i) {
                const TMagliaTR& r1 = m[static_cast<std::size_t>(b.basso.indice)];
                const TMagliaTR& r2 = m[static_cast<std::size_t>(b.alto.indice)];
                const double x = (b.basso.periodo == b.alto.periodo)
                                     ? 0.0
                                     : std::log(double(T) / b.basso.periodo) /
                                           std::log(double(b.alto.periodo) / b.basso.periodo);
                const double v1[3] = {r1.agPunti[i], r1.FoPunti[i], r1.Tc_sPunti[i]};
                const double v2[3] = {r2.agPunti[i], r2.FoPunti[i], r2.Tc_sPunti[i]};
                const double dlat = (double(r1.LatPunti[i]) - La) * M_PI / 180;
                const double dlon = (double(r1.LonPunti[i]) - Lo) * M_PI / 180;
                const double h = std::pow(std::sin(dlat / 2), 2) + std::cos(La * M_PI / 180) *
                                                                       std::cos(r1.LatPunti[i] * M_PI / 180) *
                                                                       std::pow(std::sin(dlon / 2), 2);
                const double w = 1.0 / std::asin(std::sqrt(h));
                for (int q = 0; q < 3; ++q)
                    sv[q] += w * std::exp(std::log(v1[q]) + x * std::log(v2[q] / v1[q]));
                sp += w;
            }
            const TGIS_ParZS& p = StatoLimite(out, j);
            EXPECT_NEAR(+p.ag, sv[0] / sp / 10, 1e-6 * +p.ag) << Lo << " " << La;
            EXPECT_NEAR(+p.Fo, sv[1] / sp, 1e-6 * +p.Fo) << Lo << " " << La;
            EXPECT_NEAR(+p.Tc_s, sv[2] / sp, 1e-6 * +p.Tc_s) << Lo << " " << La;
            EXPECT_EQ(+p.Tr, float(T));
        }
    }
    EXPECT_GT(provati, 80);
}

// Published nodes: a site on a node returns that node's values at the
// tabulated periods, equal to the full-precision copy within the table's
// rounding (ag 0.0005 g/10, Fo and Tc* 0.005).
TEST(InterpolaParametri, ReferenceNodesReturnTheirPublishedValues) {
    const Griglia& g = test::GrigliaCostruita();
    std::map<int, int> nodoDaID;
    for (int n = 1; n <= NumNodi; ++n)
        nodoDaID[g.ID(0, n)] = n;
    const auto righe = test::LeggiCsv(test::Sorgenti() / "data" / "reference_sites.csv");
    ASSERT_GT(righe.size(), 40u);
    for (std::size_t r = 1; r < righe.size(); ++r) {
        const auto& c = righe[r];
        const int id = std::stoi(c[0].substr(c[0].rfind(' ') + 1));
        ASSERT_TRUE(nodoDaID.count(id)) << c[0];
        const int n = nodoDaID[id];
        TMagliaSito m{};
        TGIS_DatiOut out{};
        CalcolaSito(g, m, Norm_DM2008, g.Lon(0, n), g.Lat(0, n), 50, 2, out);
        const std::string& ls = c[9];
        const TGIS_ParZS& p = ls == "SLO" ? out.SLO : ls == "SLD" ? out.SLD : ls == "SLV" ? out.SLV : out.SLC;
        const int k = IndiceTR(std::stoi(c[4])).indice;
        SCOPED_TRACE(c[0] + " " + ls + " source: " + c[8]);
        EXPECT_EQ(+p.Tr, std::stof(c[4]));
        EXPECT_EQ(+p.ag, static_cast<float>(static_cast<long double>(g.ag(k, n)) / 10));
        EXPECT_EQ(+p.Fo, g.Fo(k, n));
        EXPECT_EQ(+p.Tc_s, g.Tc(k, n));
        EXPECT_NEAR(+p.ag, std::stod(c[5]), 0.00005 + 1e-7);
        EXPECT_NEAR(+p.Fo, std::stod(c[6]), 0.005 + 1e-6);
        EXPECT_NEAR(+p.Tc_s, std::stod(c[7]), 0.005 + 1e-6);
    }
}

TEST(InterpolaParametri, NodeValuesAreScaledBy9806AndLimitStatesByTen) {
    const Griglia& g = test::GrigliaCostruita();
    TMagliaSito m{};
    TGIS_DatiOut out{};
    CalcolaSito(g, m, Norm_DM2008, 13.4f, 42.35f, 50, 2, out);
    // At TR 475 (SLV, j = 0) every node's value is the tabulated one.
    for (int i = 0; i < 4; ++i) {
        const int32_t id = out.NumPunti[i];
        int n = 1;
        while (g.ID(0, n) != id)
            ++n;
        EXPECT_EQ(+out.agPunti[4 * i + 0], static_cast<float>(static_cast<long double>(g.ag(6, n)) / 9.806L));
        EXPECT_EQ(+out.FoPunti[4 * i + 0], g.Fo(6, n));
        EXPECT_EQ(+out.Tc_sPunti[4 * i + 3], g.Tc(0, n)); // SLO at 30 years
    }
    EXPECT_NEAR(+out.SLV.ag, 0.2607, 0.0001); // L'Aquila
    for (int i = 0; i + 1 < out.NumVert; ++i)
        EXPECT_LT(+out.NumPunti[i], +out.NumPunti[i + 1]);
}

} // namespace
} // namespace veltrano
