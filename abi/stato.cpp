#include "abi/stato.h"

#include <system_error>

namespace veltrano::abi {

namespace {

// Set once when the library is loaded: a relative load path is resolved
// against the working folder of that moment.
const std::filesystem::path CartellaLibreria = CartellaModulo();

#ifdef VELTRANO_DATI_DA_LIBRERIA
// Where an installed tree keeps the data, relative to the library's folder.
const std::filesystem::path CartellaInstallata =
    CartellaLibreria.empty() ? std::filesystem::path{}
                             : (CartellaLibreria / VELTRANO_DATI_DA_LIBRERIA).lexically_normal();
#else
const std::filesystem::path CartellaInstallata;
#endif

bool HaGriglia(const std::filesystem::path& cartella) {
    std::error_code ec;
    return std::filesystem::is_regular_file(cartella / "GeoDati.dat", ec);
}

} // namespace

Griglia& BufferGriglia() {
    static Griglia g;
    return g;
}

TMagliaSito& MagliaSito() {
    static TMagliaSito m{};
    return m;
}

std::filesystem::path PercorsoDati() {
    // Hosts put the data beside the library, and that copy always wins; a
    // library installed in the system's library folder has them in the
    // shared data folder instead. Asked on every call, like the grid file
    // itself, so that a file put in place later takes effect at once.
    if (!CartellaInstallata.empty() && !HaGriglia(CartellaLibreria) && HaGriglia(CartellaInstallata))
        return CartellaInstallata;
    return CartellaLibreria;
}

void CaricaGriglia() { BufferGriglia().Carica(PercorsoDati() / "GeoDati.dat"); }

} // namespace veltrano::abi
