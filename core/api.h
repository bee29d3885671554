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

#include <filesystem>

namespace veltrano {

/// The hazard grid with its search index. Immutable after construction:
/// share one between any number of threads.
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

private:
    Griglia griglia_;
    IndiceNodi indice_;
};

/// Per-thread calculator over a shared grid. It keeps the work that repeats
/// from site to site (the return periods of the last life and class, each
/// node's values at each return period); results do not depend on it.
class CalcolatoreSismico {
public:
    explicit CalcolatoreSismico(const GrigliaSismica& g);

    /// Writes the fields CalcolaParametriSismici2 writes; the rest of out is
    /// left as the caller filled it.
    void Calcola(uint8_t Normativa, float Lon, float Lat, int32_t VN, int32_t ClasseUso, TGIS_DatiOut& out);
    /// The same on a zeroed record.
    TGIS_DatiOut Calcola(uint8_t Normativa, float Lon, float Lat, int32_t VN, int32_t ClasseUso);
    /// Return period [years] at which the site's ag equals PGA [g].
    int32_t TempoRitornoDaPGA(float Lon, float Lat, float PGA);
    /// The cell of the last site computed.
    const TMagliaSito& Maglia() const { return m_; }

private:
    const TempiRitorno& Tempi(uint8_t Normativa, int32_t VN, int32_t ClasseUso);

    const GrigliaSismica* g_;
    MemoriaNodi memoria_;
    TMagliaSito m_{};
    bool trNoti_ = false;
    uint8_t trNormativa_ = 0, trClasse_ = 0;
    int32_t trVN_ = 0;
    TempiRitorno tr_{};
};

} // namespace veltrano
