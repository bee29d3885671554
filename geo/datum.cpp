#include "geo/datum.h"

#include "core/numerico.h"

#include <cmath>

namespace veltrano {

namespace {

// Transformation parameters of one datum relative to WGS84: the geocentric
// shift to WGS84 [m]; the rotations and scale of the general formula are 0
// for both datums used and are left out.
struct Datum {
    long double a, f;      // semi-major axis [m], flattening
    long double dX, dY, dZ;
};

constexpr Datum WGS84{6378137.0L, 1.0L / 298.257223563L, 0.0L, 0.0L, 0.0L};
constexpr Datum ED50{6378388.0L, 1.0L / 297.0L, -87.0L, -98.0L, -121.0L};

Coordinate TrasformaDatum(const Datum& sorgente, const Datum& destinazione, float Lon, float Lat) {
    const long double h = 0.0L;
    const long double phi = static_cast<long double>(Lat) * PiGreco / 180.0L;
    const long double lam = static_cast<long double>(Lon) * PiGreco / 180.0L;
    const long double a = sorgente.a, f = sorgente.f;
    const long double b = a - f * a;
    const long double e2 = (a * a - b * b) / (a * a);
    const long double sphi = std::sin(phi), cphi = std::cos(phi);
    const long double slam = std::sin(lam), clam = std::cos(lam);
    const long double w = 1.0L - e2 * sphi * sphi;
    const long double rho = a * (1.0L - e2) / std::pow(w, 1.5L);
    const long double nu = a / std::sqrt(w);
    const long double dX = destinazione.dX - sorgente.dX;
    const long double dY = destinazione.dY - sorgente.dY;
    const long double dZ = destinazione.dZ - sorgente.dZ;
    const long double da = destinazione.a - sorgente.a;
    const long double df = destinazione.f - sorgente.f;
    const long double dphi = (dX * sphi * clam + dY * sphi * slam - dZ * cphi +
                              da * nu * e2 * sphi * cphi / a +
                              df * (rho / (1.0L - f) + nu * (1.0L - f)) * sphi * cphi) /
                             (rho + h);
    // At a pole the longitude term divides by cos(phi) = 0 and longitude has
    // no meaning: the longitude is kept as it is.
    const bool polo = !(std::fabs(static_cast<long double>(Lat)) < 90.0L);
    const long double dlam = polo ? 0.0L : (dX * slam - dY * clam) / ((nu + h) * cphi);
    return {S((lam + dlam) * 180.0L / PiGreco), S((phi + dphi) * 180.0L / PiGreco)};
}

} // namespace

Coordinate ConvCoord_WGS84toED50(float Lon, float Lat) { return TrasformaDatum(WGS84, ED50, Lon, Lat); }

Coordinate ConvCoord_ED50toWGS84(float Lon, float Lat) { return TrasformaDatum(ED50, WGS84, Lon, Lat); }

} // namespace veltrano
