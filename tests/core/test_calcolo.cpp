// The whole chain of a site: what the engine decides besides the numbers.
#include "core/api.h"
#include "tests/supporto.h"

#include <gtest/gtest.h>

#include <limits>

namespace veltrano {
namespace {

EsitoSito Esito(float lon, float lat, TGIS_DatiOut& d) {
    TMagliaSito m{};
    return CalcolaSito(test::GrigliaCostruita(), m, Norm_DM2008, lon, lat, 50, 2, d);
}

// Regression: the island flag was the box test alone, so a corner of the
// Elba box with four grid nodes was reported as an island (issue 13).
TEST(EsitoSito, IslandValuesAreUsedOnlyOffTheGrid) {
    TGIS_DatiOut d{};
    EsitoSito e = Esito(10.4900618f, 42.8987236f, d); // inside Elba's box, on the grid
    ASSERT_NE(GruppoIsola(10.4900618f, 42.8987236f), 0);
    EXPECT_EQ(e.numNodi, 4);
    EXPECT_FALSE(e.isola);
    EXPECT_TRUE(e.Valido());
    EXPECT_NE(d.SLV.ag, 0.0500f); // the grid's values, not group 1's

    e = Esito(9.0f, 40.0f, d); // Sardinia
    EXPECT_LE(e.numNodi, 2);
    EXPECT_TRUE(e.isola);
    EXPECT_TRUE(e.Valido());
    EXPECT_FLOAT_EQ(d.SLV.ag, 0.05f);

    e = Esito(5.0f, 36.0f, d); // open sea
    EXPECT_FALSE(e.isola);
    EXPECT_FALSE(e.Valido());

    // The re-entrant calculator decides the same.
    const GrigliaSismica g(test::CartellaDati() / "GeoDati.dat");
    CalcolatoreSismico calc(g);
    TGIS_DatiOut c{};
    EXPECT_FALSE(calc.Calcola(Norm_DM2008, 10.4900618f, 42.8987236f, 50, 2, c).isola);
    EXPECT_TRUE(calc.Calcola(Norm_DM2008, 9.0f, 40.0f, 50, 2, c).isola);
}

// Regression: NaN coordinates and PGA were computed as if they were numbers (issue 13).
TEST(EsitoSito, CoordinatesOutOfRangeAndPgaThatAreNotNumbersAreRangeFaults) {
    constexpr float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
    const GrigliaSismica g(test::CartellaDati() / "GeoDati.dat");
    CalcolatoreSismico calc(g);
    TMagliaSito m{};
    TGIS_DatiOut d{};
    for (const auto& [lon, lat] : {std::pair{nan, 42.0f}, {13.0f, nan}, {-inf, 42.0f}, {13.0f, inf}}) {
        EXPECT_THROW(Esito(lon, lat, d), ErroreIntervallo);
        EXPECT_THROW(calc.Calcola(Norm_DM2008, lon, lat, 50, 2, d), ErroreIntervallo);
        EXPECT_THROW(CalcolaTRDaPGA(test::GrigliaCostruita(), m, lon, lat, 0.1f), ErroreIntervallo);
        EXPECT_THROW(calc.TempoRitornoDaPGA(lon, lat, 0.1f), ErroreIntervallo);
    }
    // Found by fuzzing: a finite site far outside any coordinate range
    // (lon 1.3e36, lat 7.2e16) had four distinct nodes and ag = NaN as a result.
    for (const auto& [lon, lat] : {std::pair{1.30324623e36f, 7.19492664e16f}, {200.0f, 42.0f}, {13.0f, -90.5f}}) {
        EXPECT_THROW(Esito(lon, lat, d), ErroreIntervallo);
        EXPECT_THROW(calc.Calcola(Norm_DM2008, lon, lat, 50, 2, d), ErroreIntervallo);
        EXPECT_THROW(calc.TempoRitornoDaPGA(lon, lat, 0.1f), ErroreIntervallo);
    }
    EXPECT_NO_THROW(Esito(180.0f, -90.0f, d)); // the edges are coordinates
    EXPECT_THROW(CalcolaTRDaPGA(test::GrigliaCostruita(), m, 13.4f, 42.35f, nan), ErroreIntervallo);
    EXPECT_THROW(calc.TempoRitornoDaPGA(13.4f, 42.35f, inf), ErroreIntervallo);
    EXPECT_EQ(calc.TempoRitornoDaPGA(13.4f, 42.35f, 0.15f), 114);
}

} // namespace
} // namespace veltrano
