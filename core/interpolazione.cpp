#include "core/interpolazione.h"

#include <cmath>
#include <algorithm>
#include <cstring>
#include <string>

namespace veltrano {

PosizioneTR IndiceTR(int32_t T) {
    if (T < 31)
        return {0, 30};
    if (T >= 2475)
        return {8, 2475};
    for (int k = 0; k < NumBlocchi; ++k)
        if (TabellaTR[static_cast<std::size_t>(k)] == T)
            return {k, T};
    return {0, T};
}

BracketTR IntervalloTR(int32_t TR) {
    if (TR <= 30 || TR >= 2475) {
        const PosizioneTR p = IndiceTR(TR);
        return {p, p};
    }
    BracketTR b{{0, 30}, {0, 30}};
    for (int k = 0; k <= 7; ++k) {
        const auto ku = static_cast<std::size_t>(k);
        if (TR >= TabellaTR[ku]) { // the last k that holds wins
            b.basso = {k, TabellaTR[ku]};
            b.alto = {k + 1, TabellaTR[ku + 1]};
        }
    }
    return b;
}

float InterpolaTR(int32_t TR, int32_t TR1, int32_t TR2, float p1, float p2) {
    if (TR <= 30)
        return p1;
    if (TR >= 2475)
        return p2;
    const long double lp1 = std::log10(static_cast<long double>(p1));
    const long double lp = lp1 + std::log10(static_cast<long double>(p2) / p1) *
                                     std::log10(static_cast<long double>(TR) / TR1) *
                                     (1.0L / std::log10(static_cast<long double>(TR2) / TR1));
    return S(std::pow(10.0L, lp));
}

float DistanzaNodo(float latSito, float lonSito, float latNodo, float lonNodo) {
    constexpr long double a = 6378135.0L, b = 6356750.0L; // [m]
    const float dphi = S((static_cast<long double>(latNodo) - latSito) * PiGreco / 180.0L);
    const float dlam = S((static_cast<long double>(lonNodo) - lonSito) * PiGreco / 180.0L);
    const long double phiS = static_cast<long double>(latSito) * PiGreco / 180.0L;
    const long double phiN = static_cast<long double>(latNodo) * PiGreco / 180.0L;
    const long double s1 = std::sin(static_cast<long double>(dphi) / 2.0L);
    const long double s2 = std::sin(static_cast<long double>(dlam) / 2.0L);
    const float h = S(s1 * s1 + std::cos(phiS) * std::cos(phiN) * s2 * s2);
    const float c = S(2.0L * std::atan2(std::sqrt(static_cast<long double>(h)),
                                        std::sqrt(1.0L - static_cast<long double>(h))));
    const long double abc = a * b * std::cos(phiS);
    const long double ac = a * std::cos(phiS), bs = b * std::sin(phiS);
    const float num = S(abc * abc);
    const float den = S(ac * ac + bs * bs);
    const long double R = std::sqrt(static_cast<long double>(num) / den);
    return S(R * c);
}

float MediaPesataDistanze(int N, const float* d, const float* valori) {
    if (!(N >= 0 && N <= 4))
        throw ErroreIntervallo("numero di nodi fuori intervallo: " + std::to_string(N));
    for (int i = 0; i < N; ++i)
        if (d[i] == 0.0f) // on the node: the limit of the weighted mean
            return valori[i];
    float sv = 0.0f, sp = 0.0f;
    for (int i = 0; i < N; ++i) {
        sv = S(static_cast<long double>(sv) + static_cast<long double>(valori[i]) / d[i]);
        sp = S(static_cast<long double>(sp) + 1.0L / d[i]);
    }
    return S(static_cast<long double>(sv) / sp);
}

float MediaPesata(int N, const float* lon, const float* lat, const float* valori, float lonSito,
                  float latSito) {
    if (!(N >= 0 && N <= 4))
        throw ErroreIntervallo("numero di nodi fuori intervallo: " + std::to_string(N));
    float d[4];
    for (int i = 0; i < N; ++i)
        d[i] = DistanzaNodo(latSito, lonSito, lat[i], lon[i]);
    return MediaPesataDistanze(N, d, valori);
}

const float* DistanzeSito::Per(int N, const float* lon, const float* lat) {
    for (int i = 0; i < N && i < 4; ++i) {
        if (!noto_[i] || lon_[i] != lon[i] || lat_[i] != lat[i]) { // NaN never equals: measured again
            lon_[i] = lon[i];
            lat_[i] = lat[i];
            d_[i] = DistanzaNodo(latS_, lonS_, lat[i], lon[i]);
            noto_[i] = true;
        }
    }
    return d_;
}

MemoriaNodi::MemoriaNodi(const Griglia& g)
    : g_(&g), voci_(static_cast<std::size_t>(NumNodi) * Vie), turno_(NumNodi, 0) {
    int32_t lo = g.ID(0, 1), hi = lo;
    for (int n = 2; n <= NumNodi; ++n) {
        lo = std::min(lo, g.ID(0, n));
        hi = std::max(hi, g.ID(0, n));
    }
    idMin_ = lo;
    // A grid file with absurd identifiers simply gets no memory.
    if (static_cast<int64_t>(hi) - lo < 10'000'000) {
        posizione_.assign(static_cast<std::size_t>(hi - lo + 1), 0);
        for (int n = 1; n <= NumNodi; ++n)
            posizione_[static_cast<std::size_t>(g.ID(0, n) - lo)] = n;
    }
}

const MemoriaNodi::Valori* MemoriaNodi::Interpolati(int32_t id, int32_t TR) {
    if (TR <= 0) // 0 marks an empty entry; such periods are computed directly
        return nullptr;
    const int64_t k = static_cast<int64_t>(id) - idMin_;
    if (k < 0 || k >= static_cast<int64_t>(posizione_.size()))
        return nullptr;
    const int n = posizione_[static_cast<std::size_t>(k)];
    if (n == 0)
        return nullptr;
    Voce* vie = &voci_[static_cast<std::size_t>(n - 1) * Vie];
    for (int w = 0; w < Vie; ++w)
        if (vie[w].TR == TR)
            return &vie[w].v;
    uint8_t& turno = turno_[static_cast<std::size_t>(n - 1)];
    Voce& v = vie[turno];
    turno = static_cast<uint8_t>((turno + 1) % Vie);
    const BracketTR b = IntervalloTR(TR);
    const int k1 = b.basso.indice, k2 = b.alto.indice;
    const int32_t T1 = b.basso.periodo, T2 = b.alto.periodo;
    v.v = {InterpolaTR(TR, T1, T2, g_->ag(k1, n), g_->ag(k2, n)),
           InterpolaTR(TR, T1, T2, g_->Fo(k1, n), g_->Fo(k2, n)),
           InterpolaTR(TR, T1, T2, g_->Tc(k1, n), g_->Tc(k2, n))};
    v.TR = TR;
    return &v.v;
}

TGIS_ParZS& StatoLimite(TGIS_DatiOut& out, int j) {
    switch (j) {
    case 0: return out.SLV;
    case 1: return out.SLC;
    case 2: return out.SLD;
    case 3: return out.SLO;
    default: throw ErroreIntervallo("stato limite fuori intervallo: " + std::to_string(j));
    }
}

void InterpolaParametri(const TMagliaSito& m, float Lon, float Lat, const TempiRitorno& tr,
                        TGIS_DatiOut& out, MemoriaNodi* memoria) {
    TMagliaSito copia = m;
    OrdinaPunti(false, copia[0].NumVert, copia);
    const int N = copia[0].NumVert;
    if (!(N >= 0 && N <= 4))
        throw ErroreIntervallo("numero di nodi fuori intervallo: " + std::to_string(N));
    DistanzeSito distanze(Lon, Lat);
    for (int j = 0; j < 4; ++j) {
        const int32_t TR = tr[static_cast<std::size_t>(j)];
        const BracketTR b = IntervalloTR(TR);
        const TMagliaTR& r1 = copia[static_cast<std::size_t>(b.basso.indice)];
        const TMagliaTR& r2 = copia[static_cast<std::size_t>(b.alto.indice)];
        float ag[4], Fo[4], Tc[4], lon[4], lat[4];
        for (int i = 0; i < 4; ++i) {
            lon[i] = r1.LonPunti[i];
            lat[i] = r1.LatPunti[i];
            // The memory holds the grid's own values: usable when both ends
            // of the bracket hold the same grid node in this slot.
            const int32_t id = r1.NumPunti[i];
            if (memoria && id > 0 && id == r2.NumPunti[i]) {
                if (const MemoriaNodi::Valori* v = memoria->Interpolati(id, TR)) {
                    ag[i] = v->ag;
                    Fo[i] = v->Fo;
                    Tc[i] = v->Tc;
                    continue;
                }
            }
            ag[i] = InterpolaTR(TR, b.basso.periodo, b.alto.periodo, r1.agPunti[i], r2.agPunti[i]);
            Fo[i] = InterpolaTR(TR, b.basso.periodo, b.alto.periodo, r1.FoPunti[i], r2.FoPunti[i]);
            Tc[i] = InterpolaTR(TR, b.basso.periodo, b.alto.periodo, r1.Tc_sPunti[i], r2.Tc_sPunti[i]);
        }
        TGIS_ParZS& p = StatoLimite(out, j);
        const float* d = distanze.Per(N, lon, lat);
        p.ag = MediaPesataDistanze(N, d, ag);
        p.Fo = MediaPesataDistanze(N, d, Fo);
        p.Tc_s = MediaPesataDistanze(N, d, Tc);
        p.Tr = static_cast<float>(TR);
        std::memset(p.persi, 0, sizeof p.persi);
        for (int i = 0; i < 4; ++i) {
            out.agPunti[4 * i + j] = S(static_cast<long double>(ag[i]) / 9.806L);
            out.FoPunti[4 * i + j] = Fo[i];
            out.Tc_sPunti[4 * i + j] = Tc[i];
        }
    }
}

} // namespace veltrano
