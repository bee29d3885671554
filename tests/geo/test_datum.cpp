#include "geo/datum.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace veltrano {
namespace {

TEST(Datum, WorkedValueInCentralItaly) {
    const Coordinate c = ConvCoord_WGS84toED50(12.5f, 42.0f);
    EXPECT_NEAR(c.Lon, 12.50093, 0.000005);
    EXPECT_NEAR(c.Lat, 42.00099, 0.000005);
    // About 77 m east and 110 m north.
    const double est = (c.Lon - 12.5) * M_PI / 180 * 6378137 * std::cos(42.0 * M_PI / 180);
    const double nord = (c.Lat - 42.0) * M_PI / 180 * 6367000;
    EXPECT_NEAR(est, 77, 3);
    EXPECT_NEAR(nord, 110, 3);
}

TEST(Datum, ForwardThenInverseReturnsTheStartPoint) {
    std::mt19937 rng(3);
    std::uniform_real_distribution<float> lon(6.0f, 19.0f), lat(35.0f, 48.0f);
    for (int i = 0; i < 1000; ++i) {
        const float Lo = lon(rng), La = lat(rng);
        const Coordinate e = ConvCoord_WGS84toED50(Lo, La);
        const Coordinate w = ConvCoord_ED50toWGS84(e.Lon, e.Lat);
        // Molodensky is not exactly invertible; its round trip is well under
        // a centimetre here, below single precision at these longitudes.
        EXPECT_NEAR(w.Lon, Lo, 4e-6);
        EXPECT_NEAR(w.Lat, La, 4e-6);
    }
}

TEST(Datum, PolesGiveFiniteLatitudeAndKeepLongitude) {
    // Regression: the longitude term divides by cos(90 deg) = 0.
    const Coordinate c = ConvCoord_WGS84toED50(12.0f, 90.0f);
    EXPECT_TRUE(std::isfinite(c.Lat));
    EXPECT_EQ(c.Lon, 12.0f);
    EXPECT_TRUE(std::isfinite(ConvCoord_ED50toWGS84(12.0f, -90.0f).Lat));
}

} // namespace
} // namespace veltrano
