// Interpolation of ag, Fo and Tc* at a site: log-log in the return period
// between the two bracketing tabulated periods, then an inverse-distance mean
// of the cell's nodes. Pure; thread-safe.
#pragma once

#include "core/maglia.h"

#include <array>
#include <cstdint>

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

/// The four limit states' return periods, in the order SLV, SLC, SLD, SLO.
using TempiRitorno = std::array<int32_t, 4>;

/// Fills SLV, SLC, SLD, SLO (ag still in g/10, Tr, zeroed persi) and agPunti
/// (divided by 9.806), FoPunti, Tc_sPunti of out. m is not changed.
void InterpolaParametri(const TMagliaSito& m, float Lon, float Lat, const TempiRitorno& tr,
                        TGIS_DatiOut& out);

/// The limit states of out in the order SLV, SLC, SLD, SLO.
TGIS_ParZS& StatoLimite(TGIS_DatiOut& out, int j);

} // namespace veltrano
