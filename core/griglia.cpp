#include "core/griglia.h"

#include <fstream>
#include <string>

namespace veltrano {

Griglia::Griglia()
    : dati_(std::make_unique<std::byte[]>(DimGriglia)), x_(std::make_unique<float[]>(NumNodi)),
      y_(std::make_unique<float[]>(NumNodi)) {}

Griglia::Griglia(const Griglia& o) : Griglia() { Imposta(o.Dati(), DimGriglia); }

Griglia& Griglia::operator=(const Griglia& o) {
    if (this != &o)
        Imposta(o.Dati(), DimGriglia);
    return *this;
}

void Griglia::Decodifica() {
    const std::byte* xy = XYPrimoBlocco();
    for (int i = 0; i < NumNodi; ++i, xy += 8) {
        x_[static_cast<std::size_t>(i)] = LeggiLE<float>(xy);
        y_[static_cast<std::size_t>(i)] = LeggiLE<float>(xy + 4);
    }
}

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
    Decodifica();
}

void Griglia::Imposta(const std::byte* dati, std::size_t n) {
    if (n < DimGriglia)
        throw ErroreLettura("griglia di " + std::to_string(n) + " byte, ne servono " +
                            std::to_string(DimGriglia));
    std::memcpy(dati_.get(), dati, DimGriglia);
    Decodifica();
}

TNodoGriglia Griglia::Nodo(int k, int n) const {
    ControllaIndici(k, n);
    const std::byte* b = dati_.get() + static_cast<std::size_t>(k) * DimBlocco;
    const std::size_t i = static_cast<std::size_t>(n - 1);
    return {LeggiLE<int32_t>(b + OffID + 4 * i), LeggiLE<float>(b + OffXY + 8 * i),
            LeggiLE<float>(b + OffXY + 8 * i + 4), LeggiLE<float>(b + OffLon + 4 * i),
            LeggiLE<float>(b + OffLat + 4 * i),    LeggiLE<float>(b + OffAg + 4 * i),
            LeggiLE<float>(b + OffFo + 4 * i),     LeggiLE<float>(b + OffTc + 4 * i)};
}

} // namespace veltrano
