#include "core/calcolo.h"
#include "core/interpolazione.h"
#include "tests/supporto.h"

#include <gtest/gtest.h>

#include <cmath>

namespace veltrano {
namespace {

TEST(ConfrontaValori, ToleranceByDecimals) {
    EXPECT_EQ(ConfrontaValori(4, 1.00004L, 1.0L), 0);
    EXPECT_EQ(ConfrontaValori(4, 1.00006L, 1.0L), 1);
    EXPECT_EQ(ConfrontaValori(4, 0.99994L, 1.0L), -1);
    EXPECT_EQ(ConfrontaValori(0, 1.4L, 1.0L), 0);
    EXPECT_EQ(ConfrontaValori(13, 1.0L + 1e-14L, 1.0L), 0);
    EXPECT_EQ(ConfrontaValori(13, 1.0L + 1e-13L, 1.0L), 1);
}

struct Sito {
    TMagliaSito m{};
    float lon = 13.4f, lat = 42.35f;
    Sito() { CercaPuntiMaglia(test::GrigliaCostruita(), lon, lat, m); }
    float a(int k) const {
        float lo[4], la[4], ag[4];
        for (int i = 0; i < 4; ++i) {
            lo[i] = m[k].LonPunti[i];
            la[i] = m[k].LatPunti[i];
            ag[i] = m[k].agPunti[i];
        }
        return MediaPesata(m[0].NumVert, lo, la, ag, lon, lat);
    }
};

TEST(TempoRitornoDaPGA, EndsAndTabulatedPeriods) {
    const Sito s;
    EXPECT_EQ(TempoRitornoDaPGA(s.m, 0.0f, s.lon, s.lat), 0);
    EXPECT_EQ(TempoRitornoDaPGA(s.m, -1.0f, s.lon, s.lat), 0);
    EXPECT_EQ(TempoRitornoDaPGA(s.m, s.a(0), s.lon, s.lat), 30);
    EXPECT_EQ(TempoRitornoDaPGA(s.m, s.a(0) * 0.5f, s.lon, s.lat), 30);
    EXPECT_EQ(TempoRitornoDaPGA(s.m, s.a(8) * 1.01f, s.lon, s.lat), 2475);
    EXPECT_EQ(TempoRitornoDaPGA(s.m, s.a(6), s.lon, s.lat), 475);
    EXPECT_EQ(TempoRitornoDaPGA(s.m, s.a(7), s.lon, s.lat), 975);
}

TEST(TempoRitornoDaPGA, InvertsTheLogLogLineOfTheSite) {
    // The site's ag at a period between two tabulated ones, on the code's
    // log-log line, leads back to that period.
    const Sito s;
    for (int32_t T : {40, 88, 150, 300, 712, 1500}) {
        const BracketTR b = IntervalloTR(T);
        const double a1 = s.a(b.basso.indice), a2 = s.a(b.alto.indice);
        const double aT = a1 * std::pow(a2 / a1, std::log(double(T) / b.basso.periodo) /
                                                     std::log(double(b.alto.periodo) / b.basso.periodo));
        EXPECT_NEAR(TempoRitornoDaPGA(s.m, static_cast<float>(aT), s.lon, s.lat), T, 1) << T;
    }
}

TEST(TempoRitornoDaPGA, ExportArgumentIsInG) {
    const Griglia& g = test::GrigliaCostruita();
    TMagliaSito m{};
    const int32_t daG = CalcolaTRDaPGA(g, m, 13.4f, 42.35f, 0.15f);
    const Sito s;
    EXPECT_EQ(daG, TempoRitornoDaPGA(s.m, 1.5f, s.lon, s.lat));
    EXPECT_GT(daG, 30);
    EXPECT_LT(daG, 475);
}

TEST(TempoRitornoInverso, UndefinedInversionsReturnTheUpperEnd) {
    // Regression: equal or non-positive accelerations made a division by zero.
    EXPECT_EQ(TempoRitornoInverso(475, 201, 1.0f, 1.0f, 1.0f), 475);
    EXPECT_EQ(TempoRitornoInverso(475, 201, 1.0f, 1.2f, 0.0f), 475);
    EXPECT_EQ(TempoRitornoInverso(475, 201, 1.0f, -1.0f, 0.5f), 475);
    EXPECT_EQ(TempoRitornoInverso(475, 201, 2.0f, 2.0f, 1.0f), 475);
    EXPECT_EQ(TempoRitornoInverso(475, 201, 1.0f, 2.0f, 1.0f), 201);
}

} // namespace
} // namespace veltrano
