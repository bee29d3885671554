#include "core/maglia.h"

#include <cmath>
#include <algorithm>
#include <cstddef>
#include <cstring>
#include <limits>
#include <string>
#include <utility>

namespace veltrano {

namespace {

// The projection's steps, each as it is stored (single precision), computed
// in extended precision: the direct computation, and the fast one's fallback.
// Second eccentricity squared of the international 1924 ellipsoid.
constexpr long double E2 = 0.006768170197L;
constexpr long double SemiasseA = 6378.388L, SemiasseB = 6356.911946L; // [km]

float Lambda(float Lon) { return S((static_cast<long double>(Lon) - 12.45L) * PiGreco / 180.0L); }
float Phi(float Lat) { return S(static_cast<long double>(Lat) * PiGreco / 180.0L); }
// cos(phi) for V1 and cos(lambda) for V2, not their squares: the node
// coordinates of the grid file were computed this way and the search
// compares with them.
float PassoV(float angolo) { return S(std::pow(1.0L + E2 * std::cos(static_cast<long double>(angolo)), 0.5L)); }
float PassoPhi1(float phi, float V1, float lam) {
    return S(std::atan(std::tan(static_cast<long double>(phi)) / std::cos(static_cast<long double>(V1) * lam)));
}
float PassoY(float phi1) {
    const long double p1 = phi1;
    return S(6376.5450006L * p1 - 16.10703468L * std::sin(2.0L * p1) + 0.01697621L * std::sin(4.0L * p1) -
             0.00002227L * std::sin(6.0L * p1));
}
float PassoC() { return S(SemiasseA * SemiasseA / SemiasseB); }
float PassoX(float c, float phi, float lam, float V2) {
    return S(static_cast<long double>(c) *
             std::asinh(std::cos(static_cast<long double>(phi)) * std::tan(static_cast<long double>(lam) / V2)));
}

} // namespace

PuntoPiano ProiezioneSito(float Lon, float Lat) {
    const float lam = Lambda(Lon), phi = Phi(Lat);
    const float V1 = PassoV(phi);
    const float phi1 = PassoPhi1(phi, V1, lam);
    const float Y = PassoY(phi1);
    const float V2 = PassoV(lam);
    const float X = PassoX(PassoC(), phi, lam, V2);
    return {X, Y};
}

PuntoPiano ProiezioneSitoRapida(float Lon, float Lat) {
    // Around the grid the steps below are well conditioned (no angle near a
    // pole of tan, no cancellation); elsewhere, and for NaN, the direct way.
    if (!(Lon >= 0.0f && Lon <= 30.0f && Lat >= 30.0f && Lat <= 55.0f))
        return ProiezioneSito(Lon, Lat);
    // Sums and products are cheap in extended precision and stay as they
    // are; each transcendental step moves to double and keeps its float only
    // where that provably equals the extended step's (SingolaCerta).
    const float lam = Lambda(Lon), phi = Phi(Lat);
    constexpr double e2 = static_cast<double>(E2);
    const double cphi = std::cos(static_cast<double>(phi));
    float V1, phi1, Y, V2, X;

    const double v1 = std::sqrt(1.0 + e2 * cphi);
    if (!SingolaCerta(v1, v1 * MargineRapido, V1))
        V1 = PassoV(phi);

    // V1 x lam is exact in double: two 24-bit mantissas.
    const double p1 = std::atan(std::tan(static_cast<double>(phi)) /
                                std::cos(static_cast<double>(V1) * static_cast<double>(lam)));
    if (!SingolaCerta(p1, std::fabs(p1) * MargineRapido, phi1))
        phi1 = PassoPhi1(phi, V1, lam);

    // 2, 4 and 6 times a float are exact in double.
    const double P = phi1;
    const double t0 = 6376.5450006 * P, t1 = 16.10703468 * std::sin(2.0 * P), t2 = 0.01697621 * std::sin(4.0 * P),
                 t3 = 0.00002227 * std::sin(6.0 * P);
    const double y = t0 - t1 + t2 - t3;
    if (!SingolaCerta(y, (std::fabs(t0) + std::fabs(t1) + std::fabs(t2) + std::fabs(t3)) * MargineRapido, Y))
        Y = PassoY(phi1);

    const double v2 = std::sqrt(1.0 + e2 * std::cos(static_cast<double>(lam)));
    if (!SingolaCerta(v2, v2 * MargineRapido, V2))
        V2 = PassoV(lam);

    const float c = PassoC();
    const double x = static_cast<double>(c) *
                     std::asinh(cphi * std::tan(static_cast<double>(lam) / static_cast<double>(V2)));
    if (!SingolaCerta(x, std::fabs(x) * MargineRapido, X))
        X = PassoX(c, phi, lam, V2);
    return {X, Y};
}

double DistanzaPiana(double x1, double y1, double x2, double y2) {
    const long double dx = static_cast<long double>(x1) - x2;
    const long double dy = static_cast<long double>(y1) - y2;
    return static_cast<double>(std::sqrt(dx * dx + dy * dy));
}

namespace {

// Exact choice among the nodes whose plane square q = dx^2 + dy^2, computed
// in type T, is within a relative margin of the least: the rounding of q in T
// is far below that margin, so no node at the exact least distance is left
// out. 0 when T is too narrow for this site (q overflows or underflows).
template <class T> int Scansione(const Griglia& g, float x, float y, double margine) {
    const float* X = g.Xs();
    const float* Y = g.Ys();
    const T xs = static_cast<T>(x), ys = static_cast<T>(y);
    T q[NumNodi];
    for (int i = 0; i < NumNodi; ++i) {
        const T dx = static_cast<T>(X[i]) - xs, dy = static_cast<T>(Y[i]) - ys;
        q[i] = dx * dx + dy * dy;
    }
    // Four running minima let the loop overlap its comparisons.
    constexpr T inf = std::numeric_limits<T>::infinity();
    T m[4] = {inf, inf, inf, inf};
    int i = 0;
    for (; i + 4 <= NumNodi; i += 4)
        for (int j = 0; j < 4; ++j)
            m[j] = q[i + j] < m[j] ? q[i + j] : m[j];
    for (; i < NumNodi; ++i)
        m[0] = q[i] < m[0] ? q[i] : m[0];
    const T qmin = std::min(std::min(m[0], m[1]), std::min(m[2], m[3]));
    // Subnormal squares lose relative precision: leave them to double.
    if (!(qmin < inf) || (qmin < static_cast<T>(1e-30) && sizeof(T) < sizeof(double)))
        return 0;
    const T limite = static_cast<T>(static_cast<double>(qmin) * (1.0 + margine));
    return NodoEsatto(g, x, y, [&](auto&& prova) {
        for (int k = 0; k < NumNodi; ++k)
            if (q[k] <= limite)
                prova(k + 1);
    });
}

} // namespace

int NodoPiuVicino(const Griglia& g, float x, float y) {
    // Single precision filters the 10,751 nodes fastest; far from the grid
    // its squares may overflow, and double precision takes over.
    if (const int n = Scansione<float>(g, x, y, 1e-5))
        return n;
    if (const int n = Scansione<double>(g, x, y, 1e-12))
        return n;
    return 1; // a NaN or infinite site is equally far from every node
}

int NodoPiuVicinoLetterale(const Griglia& g, float x, float y) {
    double dmin = std::numeric_limits<double>::infinity();
    int migliore = 1;
    for (int n = 1; n <= NumNodi; ++n) {
        const double d = DistanzaPiana(g.Xs()[n - 1], g.Ys()[n - 1], x, y);
        if (d < dmin) { // strict: the earlier node wins a tie
            dmin = d;
            migliore = n;
        }
    }
    return migliore;
}

namespace {

void CopiaNodo(const Griglia& g, int n, int slot, TMagliaSito& m) {
    for (int k = 0; k < NumBlocchi; ++k) {
        const TNodoGriglia v = g.Nodo(k, n);
        TMagliaTR& r = m[static_cast<std::size_t>(k)];
        r.NumPunti[slot] = v.ID;
        r.XYPunti[slot][0] = v.X;
        r.XYPunti[slot][1] = v.Y;
        r.LonPunti[slot] = v.Lon;
        r.LatPunti[slot] = v.Lat;
        r.agPunti[slot] = v.ag;
        r.FoPunti[slot] = v.Fo;
        r.Tc_sPunti[slot] = v.Tc;
    }
}

} // namespace

int ContaNodi(const TMagliaSito& m) {
    int n = 0;
    for (int i = 0; i < 4; ++i)
        if (m[0].NumPunti[i] > 0)
            ++n;
    return n;
}

void AzzeraDoppi(int32_t (&n)[4]) {
    // A node found twice keeps its values in the later slot, but only the
    // first slot counts it. Each test sees the numbers already cleared.
    if (n[1] == n[0])
        n[1] = 0;
    if (n[2] == n[1])
        n[2] = 0;
    else if (n[2] == n[0])
        n[2] = 0;
    if (n[3] == n[2])
        n[3] = 0;
    else if (n[3] == n[1])
        n[3] = 0;
    else if (n[3] == n[0])
        n[3] = 0;
}

void RiempiMaglia(const Griglia& g, PuntoPiano sito, const NodiMaglia& nodi, float Lon, float Lat,
                  TMagliaSito& m) {
    TMagliaTR& r0 = m[0];
    r0.NumVert = 0;
    for (int i = 0; i < 4; ++i)
        r0.NumPunti[i] = 0;
    r0.XYSito[0] = sito.X;
    r0.XYSito[1] = sito.Y;
    for (int s = 0; s < 4; ++s)
        CopiaNodo(g, nodi.n[static_cast<std::size_t>(s)], s, m);
    int32_t numeri[4];
    for (int i = 0; i < 4; ++i)
        numeri[i] = r0.NumPunti[i];
    AzzeraDoppi(numeri);
    for (int i = 0; i < 4; ++i)
        r0.NumPunti[i] = numeri[i];
    const int nv = ContaNodi(m);
    for (TMagliaTR& r : m) {
        r.NumVert = nv;
        r.LonSitoRic = Lon;
        r.LatSitoRic = Lat;
    }
}

void CercaPuntiMaglia(const Griglia& g, float Lon, float Lat, TMagliaSito& m) {
    const PuntoPiano sito = ProiezioneSito(Lon, Lat);
    const NodiMaglia nodi =
        TrovaNodiMaglia(g, sito, [&g](float x, float y) { return NodoPiuVicino(g, x, y); });
    RiempiMaglia(g, sito, nodi, Lon, Lat, m);
}

namespace {

// Swaps slot i and slot j of the array of Dim-byte entries at offset off.
template <std::size_t Dim> void ScambiaCampo(unsigned char* b, std::size_t off, int i, int j) {
    unsigned char t[Dim];
    unsigned char* pi = b + off + static_cast<std::size_t>(i) * Dim;
    unsigned char* pj = b + off + static_cast<std::size_t>(j) * Dim;
    std::memcpy(t, pi, Dim);
    std::memcpy(pi, pj, Dim);
    std::memcpy(pj, t, Dim);
}

// Every per-slot field of a record moves with the slot.
void ScambiaSlot(TMagliaTR& r, int i, int j) {
    auto* b = reinterpret_cast<unsigned char*>(&r);
    ScambiaCampo<8>(b, offsetof(TMagliaTR, XYPunti), i, j);
    for (std::size_t off : {offsetof(TMagliaTR, NumPunti), offsetof(TMagliaTR, LonPunti),
                            offsetof(TMagliaTR, LatPunti), offsetof(TMagliaTR, agPunti),
                            offsetof(TMagliaTR, FoPunti), offsetof(TMagliaTR, Tc_sPunti)})
        ScambiaCampo<4>(b, off, i, j);
}

} // namespace

void OrdinaPunti(bool Discendente, int N, TMagliaSito& m) {
    if (!(N >= 0 && N <= 4))
        throw ErroreIntervallo("numero di nodi fuori intervallo: " + std::to_string(N));
    for (TMagliaTR& r : m) {
        bool scambio = true;
        while (scambio) {
            scambio = false;
            for (int i = 0; i + 1 < N; ++i) {
                const bool fuori = Discendente ? r.NumPunti[i] < r.NumPunti[i + 1]
                                               : r.NumPunti[i] > r.NumPunti[i + 1];
                if (fuori) {
                    ScambiaSlot(r, i, i + 1);
                    scambio = true;
                }
            }
        }
    }
}

void OrdinaInteri(int32_t* v, int n, int flag) {
    bool scambio = true;
    while (scambio) {
        scambio = false;
        for (int i = 0; i + 1 < n; ++i) {
            if (flag == 0 ? v[i] > v[i + 1] : v[i] < v[i + 1]) {
                std::swap(v[i], v[i + 1]);
                scambio = true;
            }
        }
    }
}

bool PuntoInPoligono(const float (*Vertici)[2], int N, float X, float Y, float TolVertice,
                     float TolLato, bool Tolleranza) {
    for (int j = 0; j < N; ++j)
        if (std::fabs(static_cast<long double>(Vertici[j][0]) - X) <= TolVertice &&
            std::fabs(static_cast<long double>(Vertici[j][1]) - Y) <= TolVertice)
            return true;
    long double somma = 0.0L;
    for (int j = 0; j < N; ++j) {
        const int k = (j + 1) % N;
        const long double ax = static_cast<long double>(Vertici[j][0]) - X;
        const long double ay = static_cast<long double>(Vertici[j][1]) - Y;
        const long double bx = static_cast<long double>(Vertici[k][0]) - X;
        const long double by = static_cast<long double>(Vertici[k][1]) - Y;
        const long double lung = std::sqrt(ax * ax + ay * ay) * std::sqrt(bx * bx + by * by);
        if (lung == 0.0L) // on a vertex (only reachable with a zero vertex tolerance)
            return true;
        long double cosa = (ax * bx + ay * by) / lung;
        cosa = cosa < -1.0L ? -1.0L : (cosa > 1.0L ? 1.0L : cosa);
        long double ang = std::acos(cosa);
        if (std::fabs(std::fabs(ang) - PiGreco) <= TolLato) // on the edge
            return true;
        if (ax * by - ay * bx < 0.0L)
            ang = -ang;
        somma += ang;
    }
    if (Tolleranza)
        return std::fabs(somma) >= 6.28L - TolLato;
    return std::fabs(somma) >= 6.28L;
}

} // namespace veltrano
