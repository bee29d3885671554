// Return period at which a site's ag reaches a given acceleration: the
// building code's log-log interpolation solved for the period.
#pragma once

#include "core/maglia.h"

#include <cstdint>

namespace veltrano {

/// -1, 0 or 1: x against y with tolerance 5 x 10^-(n+1).
int ConfrontaValori(int n, long double x, long double y);

/// Period between T1 and T2 at which the site's ag is A [g/10]. Where the
/// inversion has no value (a1 == a2, or a non-positive a1, a2 or A) the
/// upper end T2 is returned. Throws ErroreIntervallo beyond 32 bits.
int32_t TempoRitornoInverso(int32_t T2, int32_t T1, float A, float a2, float a1);

/// Return period [years] of acceleration A [g/10] at the site whose cell m
/// holds: 0 for A <= 0, 30 up to the 30-year value, 2475 beyond the last.
int32_t TempoRitornoDaPGA(const TMagliaSito& m, float A, float Lon, float Lat);

} // namespace veltrano
