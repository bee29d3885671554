// Return periods of the four limit states from nominal life and use class.
#pragma once

#include "core/interpolazione.h"

#include <cstdint>

namespace veltrano {

/// Use coefficient CU: 0.7, 1.0, 1.5, 2.0 for classes 1..4; any other class 2.0.
long double CoefficienteUso(uint8_t ClasseUso);

/// TR for SLV, SLC, SLD, SLO [years], each within [30, 2475]. VR = VN x CU,
/// at least 35 years under D.M. 2008 only. Throws ErroreIntervallo when a
/// rounded period does not fit in 32 bits.
TempiRitorno CalcolaTR(uint8_t Normativa, int32_t VN, uint8_t ClasseUso);

/// Byte argument from a host's integer: outside 0..255 is a range fault.
uint8_t ClasseUsoByte(int32_t ClasseUso);

} // namespace veltrano
