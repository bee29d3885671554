#include "core/griglia.h"

#include <fstream>
#include <string>

namespace veltrano {

Griglia::Griglia() : dati_(std::make_unique<std::byte[]>(DimGriglia)) {}

void ControllaIndici(int k, int n) {
    if (!(k >= 0 && k < NumBlocchi))
        throw ErroreIntervallo("blocco della griglia fuori intervallo: " + std::to_string(k));
    if (!(n >= 1 && n <= NumNodi))
        throw ErroreIntervallo("nodo della griglia fuori intervallo: " + std::to_string(n));
}

void Griglia::Carica(const std::filesystem::path& percorso) {
    std::ifstream f(percorso, std::ios::binary);
    if (!f)
        throw ErroreApertura(percorso.string() + ": impossibile aprire il file");
    f.read(reinterpret_cast<char*>(dati_.get()), static_cast<std::streamsize>(DimGriglia));
    const auto letti = static_cast<std::size_t>(f.gcount());
    if (letti != DimGriglia)
        throw ErroreLettura(percorso.string() + ": " + std::to_string(letti) +
                            " byte, la griglia ne richiede " + std::to_string(DimGriglia));
}

void Griglia::Imposta(const std::byte* dati, std::size_t n) {
    if (n < DimGriglia)
        throw ErroreLettura("griglia di " + std::to_string(n) + " byte, ne servono " +
                            std::to_string(DimGriglia));
    std::memcpy(dati_.get(), dati, DimGriglia);
}

TNodoGriglia Griglia::Nodo(int k, int n) const {
    return {ID(k, n), X(k, n), Y(k, n), Lon(k, n), Lat(k, n), ag(k, n), Fo(k, n), Tc(k, n)};
}

} // namespace veltrano
