// Many sites in one call of the C API: the sites shared among worker threads,
// each with its own calculator over the one grid.
#pragma once

#include "core/api.h"
#include "veltrano/veltrano.h"

#include <cstddef>
#include <exception>
#include <string>
#include <utility>

namespace veltrano::abi {

/// The C API's code and text for an exception (VELTRANO_ERRORE_*).
std::pair<int, std::string> CodiceC(std::exception_ptr e);

/// The input arrays of VeltranoCalcolaSiti, n values each.
struct SitiC {
    uint8_t Normativa;
    std::size_t n;
    const float* Lon;
    const float* Lat;
    const int32_t* VN;
    const int32_t* ClasseUso;
};

/// The first site that failed (lowest index), or codice VELTRANO_OK.
struct FallimentoSito {
    int codice = VELTRANO_OK;
    std::size_t indice = 0;
    std::string testo;
};

/// Computes every site into the arrays of u on up to thread threads (0: one
/// per core). A failing site is recorded and the others go on; a failure of
/// the work itself (out of memory) is thrown.
FallimentoSito CalcolaSitiC(const GrigliaSismica& g, const SitiC& siti, const VeltranoUscitaSiti& u, int thread);

} // namespace veltrano::abi
