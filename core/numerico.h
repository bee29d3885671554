// Numeric helpers shared by the engine: extended-precision constants and the
// rounding rules the published results were computed with.
#pragma once

#include "veltrano/veltrano.h"

#include <cmath>
#include <cstdint>
#include <string>

namespace veltrano {

/// Extended-precision pi: every angle conversion is done at 64-bit mantissa.
inline constexpr long double PiGreco = 3.141592653589793238462643383279502884L;

/// Rounds an extended value to the nearest 32-bit integer, halves to even.
/// Throws ErroreIntervallo when the rounded value does not fit (or is NaN).
inline int32_t ArrotondaIntero(long double v, const char* cosa) {
    const long double r = std::nearbyint(v); // default mode: to nearest, ties to even
    if (!(r >= -2147483648.0L && r <= 2147483647.0L))
        throw ErroreIntervallo(std::string(cosa) + " fuori dall'intervallo a 32 bit");
    return static_cast<int32_t>(r);
}

/// Stores an extended intermediate as single precision.
inline float S(long double v) { return static_cast<float>(v); }

} // namespace veltrano
