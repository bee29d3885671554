// Interpolation of ag, Fo and Tc* at a site: log-log in the return period
// between the two bracketing tabulated periods, then an inverse-distance mean
// of the cell's nodes. Pure; thread-safe.
#pragma once

#include "core/maglia.h"

#include <array>
#include <cstdint>
#include <vector>

namespace veltrano {

struct PosizioneTR {
    int indice;     // into TabellaTR
    int32_t periodo; // [years]
};

/// Index in TabellaTR of a tabulated period (T < 31 gives 0 and 30, T >= 2475
/// gives 8 and 2475; an untabulated period gives index 0 and itself).
PosizioneTR IndiceTR(int32_t T);

/// The lower and upper entries of TabellaTR that bracket TR.
struct BracketTR {
    PosizioneTR basso, alto;
};
BracketTR IntervalloTR(int32_t TR);

/// p at TR on the log-log line through (TR1, p1) and (TR2, p2).
float InterpolaTR(int32_t TR, int32_t TR1, int32_t TR2, float p1, float p2);

/// Great-circle distance of a node from the site on the local ellipsoid
/// radius [m]; only its ratios matter to the weighting.
float DistanzaNodo(float latSito, float lonSito, float latNodo, float lonNodo);

/// Inverse-distance mean of N node values, accumulated in single precision in
/// slot order. A site exactly on a node gets that node's value.
/// N outside 0..4 throws ErroreIntervallo.
float MediaPesata(int N, const float* lon, const float* lat, const float* valori, float lonSito,
                  float latSito);
/// The same with the N distances already measured (DistanzaNodo).
float MediaPesataDistanze(int N, const float* d, const float* valori);

/// DistanzaNodo of one site from the nodes of its cell, measured once per
/// node position: the weighting of every parameter and limit state reuses it.
class DistanzeSito {
public:
    DistanzeSito(float lonSito, float latSito) : lonS_(lonSito), latS_(latSito) {}
    /// Distances of the first N of the nodes at lon[i], lat[i].
    const float* Per(int N, const float* lon, const float* lat);

private:
    float lonS_, latS_;
    float lon_[4]{}, lat_[4]{}, d_[4]{};
    bool noto_[4]{};
};

/// The four limit states' return periods, in the order SLV, SLC, SLD, SLO.
using TempiRitorno = std::array<int32_t, 4>;

/// Fills SLV, SLC, SLD, SLO (ag still in g/10, Tr, zeroed persi) and agPunti
/// (divided by 9.806), FoPunti, Tc_sPunti of out. m is not changed.
void InterpolaParametri(const TMagliaSito& m, float Lon, float Lat, const TempiRitorno& tr,
                        TGIS_DatiOut& out);

/// The limit states of out in the order SLV, SLC, SLD, SLO.
TGIS_ParZS& StatoLimite(TGIS_DatiOut& out, int j);

// ---------------------------------------------------------------------------
// Faster forms of the functions above, bit-identical for every input: each
// value the extended computation stores in single precision is computed in
// double and kept only when it provably rounds to the same float
// (SingolaCerta); otherwise that step is done the extended way.

/// InterpolaTR, faster.
float InterpolaTRRapida(int32_t TR, int32_t TR1, int32_t TR2, float p1, float p2);

/// MediaPesataDistanze, faster.
float MediaPesataDistanzeRapida(int N, const float* d, const float* valori);

/// MediaPesataDistanzeRapida of several sets of values over the same N
/// distances: the sum of the weights, the same for each, is made once.
class MediaPesataRapida {
public:
    /// d must outlive this. N outside 0..4 throws ErroreIntervallo.
    MediaPesataRapida(int N, const float* d);
    float operator()(const float* valori) const;

private:
    int N_;
    const float* d_;
    int zero_ = -1;       // the first node at distance 0, if any
    bool pronta_ = false; // positive finite distances: the double form applies
    double peso_[4]{};
    float sp_ = 0.0f;
};

/// S(x / divisore) in extended precision, faster.
float DivisaRapida(float x, long double divisore);

/// DistanzeSito with DistanzaNodo done faster: the site's own terms (its
/// cosine and local radius) once, then a few double functions per node.
class DistanzeSitoRapide {
public:
    DistanzeSitoRapide(float lonSito, float latSito);
    /// Distances of the first N of the nodes at lon[i], lat[i].
    const float* Per(int N, const float* lon, const float* lat);
    /// DistanzaNodo of the site from one node.
    float Distanza(float latNodo, float lonNodo) const;

private:
    float lonS_, latS_;
    bool rapida_ = false; // the site is where the double forms are well conditioned
    double cosS_ = 0, raggio_ = 0;
    long double raggioEsteso_ = 0;
    float lon_[4]{}, lat_[4]{}, d_[4]{};
    bool noto_[4]{};
};

/// InterpolaParametri, faster.
void InterpolaParametriRapida(const TMagliaSito& m, float Lon, float Lat, const TempiRitorno& tr,
                              TGIS_DatiOut& out);

/// The slot order OrdinaPunti gives the first N slots of r (ascending):
/// slot i of the sorted record is slot ordine[i] of r. N must be 0..4.
void OrdineSlot(const int32_t (&NumPunti)[4], int N, int (&ordine)[4]);

/// Node values interpolated at a return period, computed once per node and
/// period and reused by every site of the same cell or limit state: four
/// periods per node (the four limit states of one life and class), replaced
/// in turn, so no mix of periods makes it grow. Not thread-safe: one per
/// thread. Results are those InterpolaTR gives.
class MemoriaNodi {
public:
    explicit MemoriaNodi(const Griglia& g);
    struct Valori {
        float ag, Fo, Tc;
        float agPunti; // ag / 9.806, as the output record holds it
    };
    /// Values of node n (1..10,751) at period TR (positive), from blocks k1
    /// and k2 at periods T1 and T2 (IntervalloTR of TR).
    const Valori& Interpolati(int n, int32_t TR, const BracketTR& b);

private:
    struct Voce {
        int32_t TR = 0; // 0: empty
        Valori v{};
    };
    static constexpr int Vie = 4;
    const Griglia* g_;
    std::vector<Voce> voci_;     // Vie entries per node
    std::vector<uint8_t> turno_; // next way to replace, per node
};

} // namespace veltrano
