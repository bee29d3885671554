// The managed wide string and dynamic array shared with host programs: one
// allocator for both sides, the header layouts of veltrano.h.
#pragma once

#include "veltrano/veltrano.h"

#include <string>

namespace veltrano::abi {

/// Text of a managed string.
std::u16string TestoStringa(VelStringa s);
/// Assigns the constant version text to *dest, releasing its old value.
void AssegnaVersione(VelStringa* dest);

// The bodies of the runtime's exports; they throw (the exports catch).
VelStringa StringaNuova(const VelCar* testo, int32_t lunghezza);
VelStringa StringaDaUtf8(const char* testo);
void ComuniDimensiona(TCoordComuni* a, int32_t n);

} // namespace veltrano::abi
