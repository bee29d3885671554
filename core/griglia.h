// The national hazard grid file GeoDati.dat: nine blocks, one per tabulated
// return period, each storing its 10,751 nodes column by column.
#pragma once

#include "veltrano/veltrano.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

namespace veltrano {

inline constexpr int NumNodi = 10751;
inline constexpr int NumBlocchi = 9;
inline constexpr std::size_t DimBlocco = 344032;  // 10,751 x 32
inline constexpr std::size_t DimGriglia = 3096288; // 9 blocks
// Offsets of the arrays inside a block [bytes].
inline constexpr std::size_t OffID = 0, OffXY = 43004, OffLon = 129012, OffLat = 172016,
                             OffAg = 215020, OffFo = 258024, OffTc = 301028;

/// The nine tabulated return periods [years], in file order.
inline constexpr std::array<int32_t, NumBlocchi> TabellaTR{30, 50, 72, 101, 140, 201, 475, 975, 2475};
/// Their labels, as used by the spreadsheet export.
inline constexpr std::array<const char*, NumBlocchi> NomiTR{"TR_30",  "TR_50",  "TR_72",
                                                            "TR_101", "TR_140", "TR_201",
                                                            "TR_475", "TR_975", "TR_2475"};

/// One node n in one block k, as read from the seven arrays.
struct TNodoGriglia {
    int32_t ID;
    float X, Y;     // plane coordinates [km]
    float Lon, Lat; // [deg ED50]
    float ag;       // [g/10]
    float Fo;
    float Tc;       // [s]
};

/// The grid buffer: exactly the bytes of the file, used in place.
/// Accessors take block k (0..8) and node n (1..10,751) and throw
/// ErroreIntervallo outside those ranges. Immutable once loaded: reading it
/// from several threads is safe.
class Griglia {
public:
    Griglia();
    Griglia(const Griglia& o);
    Griglia& operator=(const Griglia& o);
    Griglia(Griglia&&) noexcept = default;
    Griglia& operator=(Griglia&&) noexcept = default;

    /// Reads the first DimGriglia bytes of the file at percorso and checks
    /// them (see Controlla). Throws ErroreApertura (missing, a folder,
    /// unreadable) or ErroreLettura (short, or failing the check). After a
    /// failure the grid's content is unspecified: load it again before use.
    void Carica(const std::filesystem::path& percorso);
    /// A grid from bytes already in memory (at least DimGriglia of them),
    /// checked the same way; nome names them in messages.
    void Imposta(const std::byte* dati, std::size_t n, const std::string& nome = "griglia");

    int32_t ID(int k, int n) const { return Leggi<int32_t>(k, n, OffID, 4, 0); }
    float X(int k, int n) const { return Leggi<float>(k, n, OffXY, 8, 0); }
    float Y(int k, int n) const { return Leggi<float>(k, n, OffXY, 8, 4); }
    float Lon(int k, int n) const { return Leggi<float>(k, n, OffLon, 4, 0); }
    float Lat(int k, int n) const { return Leggi<float>(k, n, OffLat, 4, 0); }
    float ag(int k, int n) const { return Leggi<float>(k, n, OffAg, 4, 0); }
    float Fo(int k, int n) const { return Leggi<float>(k, n, OffFo, 4, 0); }
    float Tc(int k, int n) const { return Leggi<float>(k, n, OffTc, 4, 0); }
    TNodoGriglia Nodo(int k, int n) const;

    /// The XY array of the first block: X, Y pairs of node 1 onwards.
    const std::byte* XYPrimoBlocco() const { return dati_.get() + OffXY; }
    const std::byte* Dati() const { return dati_.get(); }
    /// The first block's X and Y [km], decoded: entry n - 1 is node n.
    const float* Xs() const { return x_.get(); }
    const float* Ys() const { return y_.get(); }

private:
    void Controlla(const std::string& nome) const;
    void Decodifica();
    template <class T> T Leggi(int k, int n, std::size_t off, std::size_t passo, std::size_t extra) const;
    std::unique_ptr<std::byte[]> dati_;
    std::unique_ptr<float[]> x_, y_;
};

/// Ranges a grid must keep to be used at all. The national grid stays far
/// inside; the bounds keep what follows (casts to cell indices, logarithms,
/// spectra) away from infinities, NaN and overflow.
inline constexpr float CoordinataPianaMassima = 1e5f; ///< |X|, |Y| [km]
inline constexpr float AgMassimaDecimi = 30.0f;       ///< ag [g/10], 3 g
inline constexpr float FoMassimoGriglia = 10.0f;      ///< Fo [-]
inline constexpr float TcMassimoGriglia = 2.0f;       ///< Tc* [s]

/// Little-endian scalar at p (the file's byte order).
template <class T> inline T LeggiLE(const std::byte* p) {
    static_assert(sizeof(T) == 4);
    uint32_t u = static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
                 (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
    T v;
    std::memcpy(&v, &u, 4);
    return v;
}

/// Throws ErroreIntervallo unless 0 <= k < 9 and 1 <= n <= 10,751.
void ControllaIndici(int k, int n);

template <class T>
T Griglia::Leggi(int k, int n, std::size_t off, std::size_t passo, std::size_t extra) const {
    ControllaIndici(k, n);
    return LeggiLE<T>(dati_.get() + static_cast<std::size_t>(k) * DimBlocco + off +
                      static_cast<std::size_t>(n - 1) * passo + extra);
}

} // namespace veltrano
