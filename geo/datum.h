// Datum conversion between WGS84 and ED50: the standard Molodensky
// transformation with a three-parameter geocentric shift, at height 0.
// Extended precision throughout; results rounded to single precision.
// Pure and thread-safe. Accuracy: a few metres over Italy, the method's own.
#pragma once

namespace veltrano {

struct Coordinate {
    float Lon, Lat; // [deg]
};

/// WGS84 to ED50 (international 1924 ellipsoid, shift -87, -98, -121 m).
Coordinate ConvCoord_WGS84toED50(float Lon, float Lat);
/// ED50 to WGS84.
Coordinate ConvCoord_ED50toWGS84(float Lon, float Lat);

} // namespace veltrano
