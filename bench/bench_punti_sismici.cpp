// The spreadsheet of every hazard point: the layout alone (cells handed to a
// sheet that keeps nothing) and the whole file through libxlsxwriter, to a
// temporary folder, as the dialog's export writes it.
#include "outputs/punti_sismici.h"
#include "outputs/tavrel_excell.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <unistd.h>

using namespace veltrano;
using namespace veltrano::uscite;

namespace {

const Griglia& GrigliaBench() {
    static const Griglia g = [] {
        Griglia x;
        x.Carica(std::filesystem::path(VELTRANO_DATI) / "GeoDati.dat");
        return x;
    }();
    return g;
}

struct FoglioVuoto : TFoglioCalcolo {
    double somma = 0;
    void CambiaFoglio(int) override {}
    int AssegnaFormatoCella(const TFormatoCella&) override { return 0; }
    void ScriveCella(int, int, const std::string& t, int) override { somma += static_cast<double>(t.size()); }
    void ScriveCella(int, int, double v, int) override { somma += v; }
    void ColonnaLarghezza(int, int) override {}
    void FondiCelle(int, int, int, int, int) override {}
};

void BM_PuntiSismici_Impaginazione(benchmark::State& st) {
    for (auto _ : st) {
        FoglioVuoto f;
        EsportaPuntiSismici(GrigliaBench(), f);
        benchmark::DoNotOptimize(f.somma);
    }
}
BENCHMARK(BM_PuntiSismici_Impaginazione)->Unit(benchmark::kMillisecond);

void BM_PuntiSismici_File(benchmark::State& st) {
    const auto cartella = std::filesystem::temp_directory_path() / ("veltrano_bench_foglio_" + std::to_string(::getpid()));
    std::filesystem::create_directories(cartella);
    for (auto _ : st)
        ScriviFilePuntiSismici(cartella / NomeFilePuntiSismici, GrigliaBench());
    st.counters["byte"] = static_cast<double>(std::filesystem::file_size(cartella / NomeFilePuntiSismici));
    std::filesystem::remove_all(cartella);
}
BENCHMARK(BM_PuntiSismici_File)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
