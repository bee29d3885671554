// The distance tool's rule and texts. The distance between two map points
// (decimal degrees) is taken on a flat earth: 69.172 statute miles to the
// degree of latitude, a degree of longitude shortened by the cosine of the
// end point's latitude, 1.609344 km to the mile. Over the few tens of
// kilometres a user measures on the map it stays within a few parts per
// thousand of the geodesic; the dialog has always measured this way, so a
// distance read today matches one noted years ago. Pure; thread-safe.
#pragma once

#include "map/shapefile.h"

#include <string>

namespace veltrano::mappa {

inline constexpr double MigliaPerGrado = 69.172;
inline constexpr double KmPerMiglio = 1.609344;
/// Up to and including this distance [km] the tool speaks in metres.
inline constexpr double SogliaMetri = 1.0;

/// Distance from inizio to fine [km]; the cosine takes fine's latitude.
double DistanzaKm(TPunto inizio, TPunto fine);

/// The label on the measured line: whole metres up to and including 1 km
/// ("400 m", halves to even), above it kilometres with two decimals and at
/// most four significant digits ("12.35 Km", "123.50 Km").
std::string EtichettaDistanza(double km);

} // namespace veltrano::mappa
