// Batch throughput: the lotto command on 100,000 sites held in memory, on 1
// and 2 threads (CSV in, CSV out, parsing and formatting included).
#include "cli/comandi.h"
#include "core/griglia.h"

#include <benchmark/benchmark.h>

#include <random>
#include <sstream>

namespace {

const std::string& Ingresso() {
    static const std::string s = [] {
        veltrano::Griglia g;
        g.Carica(std::string(VELTRANO_DATI) + "/GeoDati.dat");
        std::mt19937 rng(42);
        std::uniform_int_distribution<int> nodo(1, veltrano::NumNodi);
        std::uniform_real_distribution<float> d(-0.03f, 0.03f);
        std::string r = "lon,lat\n";
        char buf[64];
        for (int i = 0; i < 100000; ++i) {
            const int k = nodo(rng);
            std::snprintf(buf, sizeof buf, "%.5f,%.5f\n", double(g.Lon(0, k) + d(rng)), double(g.Lat(0, k) + d(rng)));
            r += buf;
        }
        return r;
    }();
    return s;
}

void BM_Lotto(benchmark::State& s) {
    const std::string& in = Ingresso();
    for (auto _ : s) {
        std::istringstream ingresso(in);
        std::ostringstream uscita, errori;
        veltrano::cli::Flussi f{ingresso, uscita, errori};
        // Sites off the coast count as bad rows (exit 1): part of the work.
        const int c = veltrano::cli::Principale(
            {"lotto", "-", "--thread", std::to_string(s.range(0)), "--dati", VELTRANO_DATI}, f);
        if (c > 1)
            s.SkipWithError(errori.str().c_str());
        benchmark::DoNotOptimize(uscita);
    }
    s.SetItemsProcessed(s.iterations() * 100000);
}
BENCHMARK(BM_Lotto)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
