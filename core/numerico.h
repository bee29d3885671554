// Numeric helpers shared by the engine: extended-precision constants and the
// rounding rules the published results were computed with.
#pragma once

#include "veltrano/veltrano.h"

#include <bit>
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

/// Relative bound on how far the double-precision fast paths may fall from
/// the extended computation they replace: their own error is a few units in
/// the last place of a double (2^-52), so this leaves a wide margin.
inline constexpr double MargineRapido = 0x1p-40;

/// The single-precision rounding of a value that a double computation has
/// placed within +-errore of x. When the whole interval rounds to one float,
/// that float is also what the extended computation stores (rounding is
/// monotonic), and it goes to f. False when the interval straddles a rounding
/// boundary, a zero or infinity, or is NaN: the caller then computes in
/// extended precision. Rare: about once in 2^15 roundings with MargineRapido.
inline bool SingolaCerta(double x, double errore, float& f) {
    const float a = static_cast<float>(x - errore), b = static_cast<float>(x + errore);
    if (std::bit_cast<uint32_t>(a) != std::bit_cast<uint32_t>(b) || !std::isfinite(a))
        return false;
    f = a;
    return true;
}

} // namespace veltrano
