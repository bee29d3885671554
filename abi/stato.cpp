#include "abi/stato.h"

namespace veltrano::abi {

namespace {

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
