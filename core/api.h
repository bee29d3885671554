// The engine as a re-entrant C++ API: a grid loaded once and shared, and a
// per-thread calculator that returns, for a site, everything the export
// CalcolaParametriSismici2 returns, bit for bit, with no process-wide state.
//
//   veltrano::GrigliaSismica griglia("GeoDati.dat");          // once, any thread
//   veltrano::CalcolatoreSismico calc(griglia);                 // one per thread
//   TGIS_DatiOut d = calc.Calcola(Norm_DM2008, 13.4f, 42.35f, 50, 2);
//
// Failures are the exceptions of veltrano.h (ErroreApertura, ErroreLettura,
// ErroreIntervallo).
#pragma once

#include "core/calcolo.h"
#include "core/indice.h"

#include <array>
#include <atomic>
#include <filesystem>
#include <memory>
#include <vector>

namespace veltrano {

/// The hazard grid with its search index. Logically immutable after
/// construction: share one between any number of threads.
class GrigliaSismica {
public:
    /// Reads the grid file (GeoDati.dat layout).
    explicit GrigliaSismica(const std::filesystem::path& fileGriglia);
    /// A grid already in memory.
    explicit GrigliaSismica(const Griglia& g);
    GrigliaSismica(const GrigliaSismica&) = delete;
    GrigliaSismica& operator=(const GrigliaSismica&) = delete;

    const Griglia& Dati() const { return griglia_; }
    /// The node the full scan would find nearest to the plane point (x, y).
    int NodoPiuVicino(float x, float y) const { return indice_.PiuVicino(x, y); }
    /// The site's cell, as CercaPuntiMaglia fills it.
    void CercaPuntiMaglia(float Lon, float Lat, TMagliaSito& m) const;
    /// The four nodes TrovaNodiMaglia finds for the plane point sito. The
    /// other three depend only on the nearest node and the quadrant of the
    /// site around it: they are searched once and remembered (thread-safe).
    NodiMaglia TrovaNodi(PuntoPiano sito) const;

    /// A node with its values at the nine tabulated periods, decoded.
    struct Nodo {
        int32_t ID;
        float X, Y, Lon, Lat;
        float ag[NumBlocchi], Fo[NumBlocchi], Tc[NumBlocchi];
    };
    /// Node n is entry n - 1. Empty when the nine blocks of the file do not
    /// agree on each node's number and position (a file this program did not
    /// write): then every site goes through the cell record.
    const std::vector<Nodo>& Nodi() const { return nodi_; }

private:
    void Prepara();

    Griglia griglia_;
    IndiceNodi indice_;
    std::vector<Nodo> nodi_;
    // Per nearest node and quadrant: N2 | N3 << 16 in the first word, then
    // N4 | Noto in the second, written last (release) and read first.
    static constexpr uint32_t Noto = 0x80000000u;
    std::unique_ptr<std::atomic<uint32_t>[]> altri_;
};

/// Per-thread calculator over a shared grid. It keeps the work that repeats
/// from site to site (the return periods of the last life and class, each
/// node's values at each return period); results do not depend on it.
class CalcolatoreSismico {
public:
    explicit CalcolatoreSismico(const GrigliaSismica& g);

    /// Writes the fields CalcolaParametriSismici2 writes; the rest of out is
    /// left as the caller filled it. Returns the nodes found and whether
    /// island values were used. Lon or Lat out of range (see
    /// ControllaCoordinateSito) or a result that is not a number throws
    /// ErroreIntervallo.
    EsitoSito Calcola(uint8_t Normativa, float Lon, float Lat, int32_t VN, int32_t ClasseUso, TGIS_DatiOut& out);
    /// The same on a zeroed record.
    TGIS_DatiOut Calcola(uint8_t Normativa, float Lon, float Lat, int32_t VN, int32_t ClasseUso);
    /// Return period [years] at which the site's ag equals PGA [g]. Lon or
    /// Lat out of range, or a PGA that is not finite, throws ErroreIntervallo.
    int32_t TempoRitornoDaPGA(float Lon, float Lat, float PGA);

    /// The chain after the search: island values, interpolation and the
    /// fields of out, for the site at plane point sito whose nodes are nodi
    /// (GrigliaSismica::TrovaNodi). Calcola is ProiezioneSitoRapida, then
    /// TrovaNodi, then this.
    EsitoSito CalcolaCella(const NodiMaglia& nodi, PuntoPiano sito, float Lon, float Lat, const TempiRitorno& tr,
                           TGIS_DatiOut& out);

private:
    const TempiRitorno& Tempi(uint8_t Normativa, int32_t VN, int32_t ClasseUso);
    void CalcolaNodi(const NodiMaglia& nodi, const int32_t (&numeri)[4], const int32_t (&primo)[4], int N,
                     int gruppo, float Lon, float Lat, const TempiRitorno& tr, TGIS_DatiOut& out);
    const MemoriaNodi::Valori& IsolaInterpolata(int gruppo, int j, int32_t TR, const BracketTR& b);

    const GrigliaSismica* g_;
    MemoriaNodi memoria_;
    TMagliaSito m_{};
    struct Voce {
        int32_t TR = 0; // 0: empty
        MemoriaNodi::Valori v{};
    };
    std::array<std::array<Voce, 4>, 5> isole_{}; // per island group and limit state
    bool trNoti_ = false;
    uint8_t trNormativa_ = 0, trClasse_ = 0;
    int32_t trVN_ = 0;
    TempiRitorno tr_{};
};

} // namespace veltrano
