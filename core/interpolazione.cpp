#include "core/interpolazione.h"

#include <cmath>
#include <algorithm>
#include <cfloat>
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

namespace {

// DistanzaNodo's steps, each as it is stored, in extended precision: the
// direct computation, and the fast one's fallback.
constexpr long double AssePolare = 6356750.0L, AsseEquatoriale = 6378135.0L; // [m]

long double Radianti(float gradi) { return static_cast<long double>(gradi) * PiGreco / 180.0L; }
float PassoDelta(float nodo, float sito) { return S((static_cast<long double>(nodo) - sito) * PiGreco / 180.0L); }
float PassoH(float latSito, float latNodo, float dphi, float dlam) {
    const long double s1 = std::sin(static_cast<long double>(dphi) / 2.0L);
    const long double s2 = std::sin(static_cast<long double>(dlam) / 2.0L);
    return S(s1 * s1 + std::cos(Radianti(latSito)) * std::cos(Radianti(latNodo)) * s2 * s2);
}
float PassoC(float h) {
    return S(2.0L * std::atan2(std::sqrt(static_cast<long double>(h)), std::sqrt(1.0L - static_cast<long double>(h))));
}
// The local radius at the site's latitude: numerator and denominator stored
// in single precision, the radius itself kept extended.
float PassoNumeratore(float latSito) {
    const long double abc = AsseEquatoriale * AssePolare * std::cos(Radianti(latSito));
    return S(abc * abc);
}
float PassoDenominatore(float latSito) {
    const long double ac = AsseEquatoriale * std::cos(Radianti(latSito));
    const long double bs = AssePolare * std::sin(Radianti(latSito));
    return S(ac * ac + bs * bs);
}
long double Raggio(float num, float den) { return std::sqrt(static_cast<long double>(num) / den); }

} // namespace

float DistanzaNodo(float latSito, float lonSito, float latNodo, float lonNodo) {
    const float dphi = PassoDelta(latNodo, latSito), dlam = PassoDelta(lonNodo, lonSito);
    const float h = PassoH(latSito, latNodo, dphi, dlam);
    const float c = PassoC(h);
    const long double R = Raggio(PassoNumeratore(latSito), PassoDenominatore(latSito));
    return S(R * c);
}

namespace {
// One term of an inverse-distance sum, accumulated in single precision.
float PassoSomma(float somma, float v, float d) { return S(static_cast<long double>(somma) + static_cast<long double>(v) / d); }
} // namespace

float MediaPesataDistanze(int N, const float* d, const float* valori) {
    if (!(N >= 0 && N <= 4))
        throw ErroreIntervallo("numero di nodi fuori intervallo: " + std::to_string(N));
    for (int i = 0; i < N; ++i)
        if (d[i] == 0.0f) // on the node: the limit of the weighted mean
            return valori[i];
    float sv = 0.0f, sp = 0.0f;
    for (int i = 0; i < N; ++i) {
        sv = PassoSomma(sv, valori[i], d[i]);
        sp = PassoSomma(sp, 1.0f, d[i]);
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
                        TGIS_DatiOut& out) {
    TMagliaSito copia = m;
    OrdinaPunti(false, copia[0].NumVert, copia);
    const int N = copia[0].NumVert;
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

// ---------------------------------------------------------------------------

float InterpolaTRRapida(int32_t TR, int32_t TR1, int32_t TR2, float p1, float p2) {
    if (TR <= 30)
        return p1;
    if (TR >= 2475)
        return p2;
    // Positive finite values and a proper bracket: no log of zero, no
    // cancellation worth the name.
    if (!(p1 > 0.0f && p2 > 0.0f && p1 <= FLT_MAX && p2 <= FLT_MAX && TR1 > 0 && TR2 > 0 && TR1 != TR2))
        return InterpolaTR(TR, TR1, TR2, p1, p2);
    const double l1 = std::log10(static_cast<double>(p1));
    const double L = std::log10(static_cast<double>(p2) / p1);
    const double f = std::log10(static_cast<double>(TR) / TR1) / std::log10(static_cast<double>(TR2) / TR1);
    const double p = std::pow(10.0, l1 + L * f);
    // An absolute error e in the exponent is a relative ln(10) e in p.
    float r;
    if (SingolaCerta(p, p * MargineRapido * (1.0 + std::fabs(l1) + std::fabs(L) * (1.0 + std::fabs(f))), r))
        return r;
    return InterpolaTR(TR, TR1, TR2, p1, p2);
}

MediaPesataRapida::MediaPesataRapida(int N, const float* d) : N_(N), d_(d) {
    if (!(N >= 0 && N <= 4))
        throw ErroreIntervallo("numero di nodi fuori intervallo: " + std::to_string(N));
    for (int i = 0; i < N; ++i)
        if (d[i] == 0.0f) {
            zero_ = i;
            return;
        }
    // Positive finite distances: the sums below add positive terms, each
    // rounding to a relative 2^-52 at worst.
    for (int i = 0; i < N; ++i)
        if (!(d[i] > 0.0f && d[i] <= FLT_MAX))
            return;
    for (int i = 0; i < N; ++i) {
        peso_[i] = 1.0 / d[i];
        const double w = static_cast<double>(sp_) + peso_[i];
        if (!SingolaCerta(w, w * MargineRapido, sp_))
            sp_ = PassoSomma(sp_, 1.0f, d[i]);
    }
    pronta_ = true;
}

float MediaPesataRapida::operator()(const float* valori) const {
    if (zero_ >= 0)
        return valori[zero_];
    if (!pronta_)
        return MediaPesataDistanze(N_, d_, valori);
    for (int i = 0; i < N_; ++i)
        if (!(valori[i] >= 0.0f && valori[i] <= FLT_MAX))
            return MediaPesataDistanze(N_, d_, valori);
    float sv = 0.0f;
    for (int i = 0; i < N_; ++i) {
        const double v = static_cast<double>(sv) + static_cast<double>(valori[i]) * peso_[i];
        if (!SingolaCerta(v, v * MargineRapido, sv))
            sv = PassoSomma(sv, valori[i], d_[i]);
    }
    float r;
    const double q = static_cast<double>(sv) / sp_;
    if (SingolaCerta(q, q * MargineRapido, r))
        return r;
    return S(static_cast<long double>(sv) / sp_);
}

float MediaPesataDistanzeRapida(int N, const float* d, const float* valori) {
    return MediaPesataRapida(N, d)(valori);
}

float DivisaRapida(float x, long double divisore) {
    const double q = static_cast<double>(x) / static_cast<double>(divisore);
    float r;
    if (SingolaCerta(q, std::fabs(q) * MargineRapido, r))
        return r;
    return S(static_cast<long double>(x) / divisore);
}

namespace {

constexpr double GradiRadianti = static_cast<double>(PiGreco / 180.0L);

// Latitudes and longitudes where the double forms below keep their relative
// accuracy (cosines far from zero, differences of floats exact in double).
bool InDominio(float lat, float lon) { return lat >= 30.0f && lat <= 55.0f && lon >= 0.0f && lon <= 30.0f; }

} // namespace

DistanzeSitoRapide::DistanzeSitoRapide(float lonSito, float latSito) : lonS_(lonSito), latS_(latSito) {
    if (!InDominio(latSito, lonSito))
        return;
    const double phi = static_cast<double>(latSito) * GradiRadianti;
    cosS_ = std::cos(phi);
    // a x b is an integer below 2^53, exact in double.
    const double abc = static_cast<double>(AsseEquatoriale * AssePolare) * cosS_;
    const double ac = static_cast<double>(AsseEquatoriale) * cosS_;
    const double bs = static_cast<double>(AssePolare) * std::sin(phi);
    float num, den;
    if (!SingolaCerta(abc * abc, abc * abc * MargineRapido, num))
        num = PassoNumeratore(latSito);
    const double dd = ac * ac + bs * bs;
    if (!SingolaCerta(dd, dd * MargineRapido, den))
        den = PassoDenominatore(latSito);
    raggioEsteso_ = Raggio(num, den);
    raggio_ = std::sqrt(static_cast<double>(num) / den);
    rapida_ = true;
}

float DistanzeSitoRapide::Distanza(float latNodo, float lonNodo) const {
    if (!rapida_ || !InDominio(latNodo, lonNodo))
        return DistanzaNodo(latS_, lonS_, latNodo, lonNodo);
    // Differences of floats between 0 and 55 are exact in double.
    const double dp = (static_cast<double>(latNodo) - latS_) * GradiRadianti;
    const double dl = (static_cast<double>(lonNodo) - lonS_) * GradiRadianti;
    float dphi, dlam, h, c, r;
    if (!SingolaCerta(dp, std::fabs(dp) * MargineRapido, dphi))
        dphi = PassoDelta(latNodo, latS_);
    if (!SingolaCerta(dl, std::fabs(dl) * MargineRapido, dlam))
        dlam = PassoDelta(lonNodo, lonS_);
    // A sum of two positive terms.
    const double s1 = std::sin(static_cast<double>(dphi) / 2.0), s2 = std::sin(static_cast<double>(dlam) / 2.0);
    const double hd = s1 * s1 + cosS_ * std::cos(static_cast<double>(latNodo) * GradiRadianti) * s2 * s2;
    if (!SingolaCerta(hd, hd * MargineRapido, h))
        h = PassoH(latS_, latNodo, dphi, dlam);
    const double cd = 2.0 * std::atan2(std::sqrt(static_cast<double>(h)), std::sqrt(1.0 - static_cast<double>(h)));
    if (!SingolaCerta(cd, cd * MargineRapido, c))
        c = PassoC(h);
    const double d = raggio_ * c;
    if (SingolaCerta(d, d * MargineRapido, r))
        return r;
    return S(raggioEsteso_ * c);
}

const float* DistanzeSitoRapide::Per(int N, const float* lon, const float* lat) {
    for (int i = 0; i < N && i < 4; ++i) {
        if (!noto_[i] || lon_[i] != lon[i] || lat_[i] != lat[i]) { // NaN never equals: measured again
            lon_[i] = lon[i];
            lat_[i] = lat[i];
            d_[i] = Distanza(lat[i], lon[i]);
            noto_[i] = true;
        }
    }
    return d_;
}

void OrdineSlot(const int32_t (&NumPunti)[4], int N, int (&ordine)[4]) {
    int32_t id[4];
    for (int i = 0; i < 4; ++i) {
        ordine[i] = i;
        id[i] = NumPunti[i];
    }
    // OrdinaPunti's bubble sort, moving slot numbers instead of slots.
    bool scambio = true;
    while (scambio) {
        scambio = false;
        for (int i = 0; i + 1 < N; ++i) {
            if (id[i] > id[i + 1]) {
                std::swap(id[i], id[i + 1]);
                std::swap(ordine[i], ordine[i + 1]);
                scambio = true;
            }
        }
    }
}

void InterpolaParametriRapida(const TMagliaSito& m, float Lon, float Lat, const TempiRitorno& tr,
                              TGIS_DatiOut& out) {
    const int N = m[0].NumVert;
    if (!(N >= 0 && N <= 4))
        throw ErroreIntervallo("numero di nodi fuori intervallo: " + std::to_string(N));
    // The sorted copy of the cell, read through each record's slot order.
    int ordine[NumBlocchi][4];
    bool ordinato[NumBlocchi] = {};
    auto ordineDi = [&](int k) -> const int(&)[4] {
        if (!ordinato[k]) {
            int32_t numeri[4];
            for (int i = 0; i < 4; ++i)
                numeri[i] = m[static_cast<std::size_t>(k)].NumPunti[i];
            OrdineSlot(numeri, N, ordine[k]);
            ordinato[k] = true;
        }
        return ordine[k];
    };
    DistanzeSitoRapide distanze(Lon, Lat);
    for (int j = 0; j < 4; ++j) {
        const int32_t TR = tr[static_cast<std::size_t>(j)];
        const BracketTR b = IntervalloTR(TR);
        const TMagliaTR& r1 = m[static_cast<std::size_t>(b.basso.indice)];
        const TMagliaTR& r2 = m[static_cast<std::size_t>(b.alto.indice)];
        const int(&o1)[4] = ordineDi(b.basso.indice);
        const int(&o2)[4] = ordineDi(b.alto.indice);
        float ag[4], Fo[4], Tc[4], lon[4], lat[4];
        for (int i = 0; i < 4; ++i) {
            const int s1 = o1[i], s2 = o2[i];
            lon[i] = r1.LonPunti[s1];
            lat[i] = r1.LatPunti[s1];
            ag[i] = InterpolaTRRapida(TR, b.basso.periodo, b.alto.periodo, r1.agPunti[s1], r2.agPunti[s2]);
            Fo[i] = InterpolaTRRapida(TR, b.basso.periodo, b.alto.periodo, r1.FoPunti[s1], r2.FoPunti[s2]);
            Tc[i] = InterpolaTRRapida(TR, b.basso.periodo, b.alto.periodo, r1.Tc_sPunti[s1], r2.Tc_sPunti[s2]);
        }
        TGIS_ParZS& p = StatoLimite(out, j);
        const MediaPesataRapida media(N, distanze.Per(N, lon, lat));
        p.ag = media(ag);
        p.Fo = media(Fo);
        p.Tc_s = media(Tc);
        p.Tr = static_cast<float>(TR);
        std::memset(p.persi, 0, sizeof p.persi);
        for (int i = 0; i < 4; ++i) {
            out.agPunti[4 * i + j] = DivisaRapida(ag[i], 9.806L);
            out.FoPunti[4 * i + j] = Fo[i];
            out.Tc_sPunti[4 * i + j] = Tc[i];
        }
    }
}

MemoriaNodi::MemoriaNodi(const Griglia& g)
    : g_(&g), voci_(static_cast<std::size_t>(NumNodi) * Vie), turno_(NumNodi, 0) {}

const MemoriaNodi::Valori& MemoriaNodi::Interpolati(int n, int32_t TR, const BracketTR& b) {
    Voce* vie = &voci_[static_cast<std::size_t>(n - 1) * Vie];
    for (int w = 0; w < Vie; ++w)
        if (vie[w].TR == TR)
            return vie[w].v;
    uint8_t& turno = turno_[static_cast<std::size_t>(n - 1)];
    Voce& v = vie[turno];
    turno = static_cast<uint8_t>((turno + 1) % Vie);
    const int k1 = b.basso.indice, k2 = b.alto.indice;
    const int32_t T1 = b.basso.periodo, T2 = b.alto.periodo;
    const float ag = InterpolaTRRapida(TR, T1, T2, g_->ag(k1, n), g_->ag(k2, n));
    v.v = {ag, InterpolaTRRapida(TR, T1, T2, g_->Fo(k1, n), g_->Fo(k2, n)),
           InterpolaTRRapida(TR, T1, T2, g_->Tc(k1, n), g_->Tc(k2, n)), DivisaRapida(ag, 9.806L)};
    v.TR = TR;
    return v.v;
}

} // namespace veltrano
