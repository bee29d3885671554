#include "core/griglia.h"

#include "core/file_dati.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <climits>
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
    std::ifstream f = ApriFileDati(percorso);
    f.read(reinterpret_cast<char*>(dati_.get()), static_cast<std::streamsize>(DimGriglia));
    const auto letti = static_cast<std::size_t>(f.gcount());
    if (f.bad())
        throw ErroreLettura(percorso.string() + ": errore di lettura dopo " + std::to_string(letti) + " byte");
    if (letti != DimGriglia)
        throw ErroreLettura(percorso.string() + ": " + std::to_string(letti) +
                            " byte, la griglia ne richiede " + std::to_string(DimGriglia));
    Controlla(percorso.string());
    Decodifica();
}

void Griglia::Imposta(const std::byte* dati, std::size_t n, const std::string& nome) {
    if (n < DimGriglia)
        throw ErroreLettura(nome + ": " + std::to_string(n) + " byte, la griglia ne richiede " +
                            std::to_string(DimGriglia));
    std::memcpy(dati_.get(), dati, DimGriglia);
    Controlla(nome);
    Decodifica();
}

namespace {

std::string Testo(float v) {
    char b[32];
    const auto r = std::to_chars(b, b + sizeof b, v);
    return r.ec == std::errc() ? std::string(b, r.ptr) : std::string("?");
}

} // namespace

namespace {

float Reale(const std::byte* p) {
    if constexpr (std::endian::native == std::endian::little) {
        float v;
        std::memcpy(&v, p, 4);
        return v;
    } else {
        return LeggiLE<float>(p);
    }
}

// True when each of the n consecutive floats at p lies in [basso, alto], or
// (basso, alto] with apertoBasso; NaN fails. No early exit and an integer
// accumulator, so that the compiler vectorises it: the grid is checked on
// every load.
bool TuttiIn(const std::byte* p, std::size_t n, float basso, float alto, bool apertoBasso) {
    unsigned fuori = 0;
    if (apertoBasso)
        for (std::size_t i = 0; i < n; ++i) {
            const float v = Reale(p + 4 * i);
            fuori |= !((v > basso) & (v <= alto));
        }
    else
        for (std::size_t i = 0; i < n; ++i) {
            const float v = Reale(p + 4 * i);
            fuori |= !((v >= basso) & (v <= alto));
        }
    return fuori == 0;
}

} // namespace

void Griglia::Controlla(const std::string& nome) const {
    struct Campo {
        const char* nome;
        std::size_t off, valori; // values per node
        float basso, alto;
        bool apertoBasso;
    };
    // X and Y share their bounds: the XY array is checked as one.
    static constexpr Campo Campi[] = {
        {"X, Y", OffXY, 2, -CoordinataPianaMassima, CoordinataPianaMassima, false},
        {"longitudine", OffLon, 1, -180.0f, 180.0f, false},
        {"latitudine", OffLat, 1, -90.0f, 90.0f, false},
        {"ag [g/10]", OffAg, 1, 0.0f, AgMassimaDecimi, true},
        {"Fo", OffFo, 1, 0.0f, FoMassimoGriglia, true},
        {"Tc*", OffTc, 1, 0.0f, TcMassimoGriglia, true},
    };
    const auto guasto = [&](int k, std::size_t i, const std::string& campo, const std::string& perche) {
        throw ErroreLettura(nome + ": nodo " + std::to_string(i + 1) + ", blocco " +
                            NomiTR[static_cast<std::size_t>(k)] + ": " + campo + " " + perche);
    };
    constexpr auto N = static_cast<std::size_t>(NumNodi);
    // Every block is checked whole: the engine reads a node's description
    // from whichever block it works on.
    for (int k = 0; k < NumBlocchi; ++k) {
        const std::byte* b = dati_.get() + static_cast<std::size_t>(k) * DimBlocco;
        int32_t idMin = INT32_MAX;
        for (std::size_t i = 0; i < N; ++i)
            idMin = std::min(idMin, LeggiLE<int32_t>(b + OffID + 4 * i));
        if (idMin <= 0)
            for (std::size_t i = 0; i < N; ++i)
                if (const int32_t id = LeggiLE<int32_t>(b + OffID + 4 * i); id <= 0)
                    guasto(k, i, "ID", "= " + std::to_string(id) + " non positivo");
        for (const Campo& c : Campi) {
            if (TuttiIn(b + c.off, N * c.valori, c.basso, c.alto, c.apertoBasso))
                continue;
            // Only a damaged grid gets here: find the value to name its node.
            for (std::size_t j = 0; j < N * c.valori; ++j)
                if (!TuttiIn(b + c.off + 4 * j, 1, c.basso, c.alto, c.apertoBasso))
                    guasto(k, j / c.valori, c.valori == 2 ? (j % 2 ? "Y" : "X") : c.nome,
                           "= " + Testo(Reale(b + c.off + 4 * j)) + " fuori da " + (c.apertoBasso ? "(" : "[") +
                               Testo(c.basso) + ", " + Testo(c.alto) + "]");
        }
    }
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
