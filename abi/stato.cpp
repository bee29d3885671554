#include "abi/stato.h"

#include <dlfcn.h>

namespace veltrano::abi {

namespace {

std::filesystem::path CartellaModulo() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&CartellaModulo), &info) == 0 || !info.dli_fname)
        return {};
    std::error_code ec;
    std::filesystem::path p = std::filesystem::weakly_canonical(info.dli_fname, ec);
    if (ec)
        p = std::filesystem::absolute(info.dli_fname, ec);
    return p.parent_path();
}

// Set once when the library is loaded: a relative load path is resolved
// against the working folder of that moment.
const std::filesystem::path CartellaDati = CartellaModulo();

} // namespace

Griglia& BufferGriglia() {
    static Griglia g;
    return g;
}

TMagliaSito& MagliaSito() {
    static TMagliaSito m{};
    return m;
}

const std::filesystem::path& PercorsoDati() { return CartellaDati; }

void CaricaGriglia() { BufferGriglia().Carica(PercorsoDati() / "GeoDati.dat"); }

} // namespace veltrano::abi
