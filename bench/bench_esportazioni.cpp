// Speed of the export path: one call end to end (grid file read included),
// and the engine's brute-force site search alone. Not part of the tests.
#include "core/calcolo.h"

#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include <random>

namespace {

using FunzioneCPS = void (*)(float, float, int32_t, int32_t, uint8_t, TGIS_DatiOut*);

FunzioneCPS Esportazione() {
    static void* h = dlopen(VELTRANO_LIBRERIA, RTLD_NOW);
    return h ? reinterpret_cast<FunzioneCPS>(dlsym(h, "CalcolaParametriSismici")) : nullptr;
}

void BM_EsportazioneCompleta(benchmark::State& s) {
    const FunzioneCPS f = Esportazione();
    if (!f) {
        s.SkipWithError("library not found");
        return;
    }
    std::mt19937 rng(1);
    std::uniform_real_distribution<float> lon(8.0f, 16.0f), lat(38.0f, 46.0f);
    TGIS_DatiOut out{};
    for (auto _ : s) {
        f(lon(rng), lat(rng), 50, 2, 0, &out);
        benchmark::DoNotOptimize(out);
    }
}
BENCHMARK(BM_EsportazioneCompleta)->Unit(benchmark::kMicrosecond);

void BM_CaricaGriglia(benchmark::State& s) {
    veltrano::Griglia g;
    for (auto _ : s)
        g.Carica(std::string(VELTRANO_DATI) + "/GeoDati.dat");
}
BENCHMARK(BM_CaricaGriglia)->Unit(benchmark::kMicrosecond);

void BM_SitoForzaBruta(benchmark::State& s) {
    veltrano::Griglia g;
    g.Carica(std::string(VELTRANO_DATI) + "/GeoDati.dat");
    std::mt19937 rng(1);
    std::uniform_real_distribution<float> lon(8.0f, 16.0f), lat(38.0f, 46.0f);
    veltrano::TMagliaSito m{};
    TGIS_DatiOut out{};
    for (auto _ : s) {
        veltrano::CalcolaSito(g, m, Norm_DM2008, lon(rng), lat(rng), 50, 2, out);
        benchmark::DoNotOptimize(out);
    }
    s.SetItemsProcessed(s.iterations());
}
BENCHMARK(BM_SitoForzaBruta)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
