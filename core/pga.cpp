#include "core/pga.h"

#include "core/interpolazione.h"

#include <cmath>

namespace veltrano {

int ConfrontaValori(int n, long double x, long double y) {
    static constexpr long double Tolleranze[12] = {5e-1L, 5e-2L, 5e-3L, 5e-4L,  5e-5L,  5e-6L,
                                                   5e-7L, 5e-8L, 5e-9L, 5e-10L, 5e-11L, 5e-12L};
    const long double eps = (n >= 0 && n <= 11) ? Tolleranze[n] : 5.0L / std::pow(10.0L, n + 1);
    if (std::fabs(x - y) <= eps)
        return 0;
    return x < y ? -1 : 1;
}

int32_t TempoRitornoInverso(int32_t T2, int32_t T1, float A, float a2, float a1) {
    if (!(A > 0.0f && a1 > 0.0f && a2 > 0.0f && a1 != a2))
        return T2;
    const float L = S(std::log10(static_cast<long double>(A)));
    const float E = S((static_cast<long double>(L) - std::log10(static_cast<long double>(a2))) *
                      std::log10(static_cast<long double>(T1) / T2) /
                      std::log10(static_cast<long double>(a1) / a2));
    const float potenza = S(std::pow(10.0L, static_cast<long double>(E)));
    return ArrotondaIntero(static_cast<long double>(T2) * potenza, "tempo di ritorno");
}

int32_t TempoRitornoDaPGA(const TMagliaSito& m, float A, float Lon, float Lat) {
    const int N = m[0].NumVert;
    DistanzeSito distanze(Lon, Lat);
    auto aSito = [&](int k) {
        const TMagliaTR& r = m[static_cast<std::size_t>(k)];
        float lon[4], lat[4], ag[4];
        for (int i = 0; i < 4; ++i) {
            lon[i] = r.LonPunti[i];
            lat[i] = r.LatPunti[i];
            ag[i] = r.agPunti[i];
        }
        const float a = MediaPesataDistanze(N, distanze.Per(N, lon, lat), ag);
        // A NaN would compare as "above" every bracket and answer 2475.
        if (!std::isfinite(a))
            throw ErroreIntervallo("l'ag del sito non è un numero: il tempo di ritorno non si può calcolare");
        return a;
    };
    if (ConfrontaValori(4, A, 0.0L) <= 0)
        return 0;
    float precedente = aSito(0);
    if (ConfrontaValori(4, A, precedente) <= 0)
        return 30;
    for (int k = 1; k < NumBlocchi; ++k) {
        const float a = aSito(k);
        if (ConfrontaValori(4, A, a) > 0) {
            precedente = a;
            continue;
        }
        return TempoRitornoInverso(TabellaTR[static_cast<std::size_t>(k)],
                                   TabellaTR[static_cast<std::size_t>(k - 1)], A, a, precedente);
    }
    return 2475;
}

} // namespace veltrano
