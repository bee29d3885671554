// Speed of the export path: one call end to end (grid file read included),
// and the engine's brute-force site search alone. Not part of the tests.
#include "core/api.h"

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

// The same from bytes in memory: the copy, the check of every value and the
// decoding, without the file system.
void BM_ImpostaGriglia(benchmark::State& s) {
    veltrano::Griglia sorgente;
    sorgente.Carica(std::string(VELTRANO_DATI) + "/GeoDati.dat");
    veltrano::Griglia g;
    for (auto _ : s)
        g.Imposta(sorgente.Dati(), veltrano::DimGriglia);
}
BENCHMARK(BM_ImpostaGriglia)->Unit(benchmark::kMicrosecond);

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

void BM_NodoForzaBruta(benchmark::State& s) {
    veltrano::Griglia g;
    g.Carica(std::string(VELTRANO_DATI) + "/GeoDati.dat");
    std::mt19937 rng(1);
    std::uniform_real_distribution<float> x(-300.0f, 300.0f), y(4000.0f, 5200.0f);
    for (auto _ : s)
        benchmark::DoNotOptimize(veltrano::NodoPiuVicino(g, x(rng), y(rng)));
}
BENCHMARK(BM_NodoForzaBruta)->Unit(benchmark::kMicrosecond);

void BM_SitoIndicizzato(benchmark::State& s) {
    const veltrano::GrigliaSismica g(std::string(VELTRANO_DATI) + "/GeoDati.dat");
    veltrano::CalcolatoreSismico calc(g);
    std::mt19937 rng(1);
    std::uniform_real_distribution<float> lon(8.0f, 16.0f), lat(38.0f, 46.0f);
    TGIS_DatiOut out{};
    for (auto _ : s) {
        calc.Calcola(Norm_DM2008, lon(rng), lat(rng), 50, 2, out);
        benchmark::DoNotOptimize(out);
    }
    s.SetItemsProcessed(s.iterations());
}
BENCHMARK(BM_SitoIndicizzato)->Unit(benchmark::kMicrosecond);

// Sites on land: within 0.03 degrees of a random node.
void BM_SitoIndicizzatoTerra(benchmark::State& s) {
    const veltrano::GrigliaSismica g(std::string(VELTRANO_DATI) + "/GeoDati.dat");
    veltrano::CalcolatoreSismico calc(g);
    std::mt19937 rng(1);
    std::uniform_int_distribution<int> nodo(1, veltrano::NumNodi);
    std::uniform_real_distribution<float> d(-0.03f, 0.03f);
    std::vector<std::pair<float, float>> siti(4096);
    for (auto& p : siti) {
        const int n = nodo(rng);
        p = {g.Dati().Lon(0, n) + d(rng), g.Dati().Lat(0, n) + d(rng)};
    }
    TGIS_DatiOut out{};
    std::size_t i = 0;
    for (auto _ : s) {
        const auto& p = siti[i++ % siti.size()];
        calc.Calcola(Norm_DM2008, p.first, p.second, 50, 2, out);
        benchmark::DoNotOptimize(out);
    }
    s.SetItemsProcessed(s.iterations());
}
BENCHMARK(BM_SitoIndicizzatoTerra)->Unit(benchmark::kMicrosecond);

void BM_ProiezioneSito(benchmark::State& s) {
    float lon = 12.0f;
    for (auto _ : s) {
        benchmark::DoNotOptimize(veltrano::ProiezioneSito(lon, 42.0f));
        lon += 1e-5f;
    }
}
BENCHMARK(BM_ProiezioneSito)->Unit(benchmark::kNanosecond);

void BM_InterpolaTR(benchmark::State& s) {
    float p = 1.0f;
    for (auto _ : s) {
        benchmark::DoNotOptimize(veltrano::InterpolaTR(712, 475, 975, p, 2.0f));
        p += 1e-6f;
    }
}
BENCHMARK(BM_InterpolaTR)->Unit(benchmark::kNanosecond);

void BM_DistanzaNodo(benchmark::State& s) {
    float lat = 42.0f;
    for (auto _ : s) {
        benchmark::DoNotOptimize(veltrano::DistanzaNodo(lat, 13.0f, 42.05f, 13.07f));
        lat += 1e-6f;
    }
}
BENCHMARK(BM_DistanzaNodo)->Unit(benchmark::kNanosecond);

void BM_NodoIndicizzato(benchmark::State& s) {
    const veltrano::GrigliaSismica g(std::string(VELTRANO_DATI) + "/GeoDati.dat");
    std::mt19937 rng(1);
    std::uniform_real_distribution<float> x(-300.0f, 300.0f), y(4000.0f, 5200.0f);
    for (auto _ : s)
        benchmark::DoNotOptimize(g.NodoPiuVicino(x(rng), y(rng)));
}
BENCHMARK(BM_NodoIndicizzato)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
