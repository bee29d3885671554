// The process-wide state that the exports share: the grid buffer, the site's
// cell MagliaSito and the data folder PercorsoDati. Unguarded by contract:
// hosts call the computation exports from one thread at a time.
#pragma once

#include "core/maglia.h"

#include <filesystem>

namespace veltrano::abi {

Griglia& BufferGriglia();
TMagliaSito& MagliaSito();
/// The data folder: the folder of the library file itself, found when the
/// library is loaded, or, when that holds no GeoDati.dat, the shared data
/// folder of an installed tree (Linux).
std::filesystem::path PercorsoDati();
/// Reads PercorsoDati / "GeoDati.dat" into the grid buffer.
void CaricaGriglia();
/// The folder of the library file, asked of the system (percorso_posix.cpp,
/// percorso_windows.cpp); empty if it cannot say.
std::filesystem::path CartellaModulo();

} // namespace veltrano::abi
