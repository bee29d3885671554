// The instant computation of the site dialog ("Attiva calcolo istantaneo"):
// what one pointer move over the map costs the form, with no window, so
// that the report can follow the mouse. The pointer sweeps a line across
// Italy on a full-extent map of 1280 x 900 pixels.
#include "dialog/TFMapMain.h"
#include "dialog/vista_nulla.h"

#include <benchmark/benchmark.h>

using namespace veltrano::dialogo;

namespace {

struct Form {
    TVistaNulla vista;
    TFMapMain f{VELTRANO_DATI, vista};
    Form() {
        f.MappaDimensioni(1280, 900);
        f.Mostrato();
        f.ZoomSelezione();
        f.Premuto(TControllo::TB_Hint, true);
    }
};

void BM_CalcoloIstantaneo_MovimentoMouse(benchmark::State& st) {
    Form form;
    int x = 300;
    for (auto _ : st) {
        form.f.MappaMosso({static_cast<double>(x), 450.0}, 0);
        x = x >= 900 ? 300 : x + 7;
        benchmark::DoNotOptimize(form.f.Rapporto().data());
    }
}

void BM_RicercaComune_PuntoInterno(benchmark::State& st) {
    Form form;
    double lon = 0, lat = 0;
    int r = 0, p = 0, c = 0;
    for (auto _ : st) {
        form.f.CercaComunePunto(false, 13.4, 42.35, lon, lat, r, p, c);
        benchmark::DoNotOptimize(c);
    }
}

void BM_ScriviRisultati(benchmark::State& st) {
    Form form;
    int n = 0;
    for (auto _ : st) {
        form.f.ScriviRisultati(n, 13.4, 42.35);
        benchmark::DoNotOptimize(n);
    }
}

} // namespace

BENCHMARK(BM_CalcoloIstantaneo_MovimentoMouse)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RicercaComune_PuntoInterno)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ScriviRisultati)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
