// Redraw speed of the map control: the full extent with every municipality
// of the bundled boundaries visible, the way the dialog shows it when the
// municipality layer is switched on.
#include "map/mappa.h"

#include <QApplication>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

using namespace veltrano::mappa;

namespace {

std::shared_ptr<TShapefile> Apri(const char* relativo) {
    auto sf = std::make_shared<TShapefile>();
    sf->Apri(std::string(VELTRANO_DATI) + "/" + relativo);
    return sf;
}

struct Mappa {
    TMappa m;
    explicit Mappa(bool comuni) {
        m.resize(1280, 900);
        const int r = m.AggiungiLayer(Apri("Shape/regioni2010/reg2010_s.shp"), true);
        const int p = m.AggiungiLayer(Apri("Shape/province2010/prov2010_s.shp"), false);
        const int c = m.AggiungiLayer(Apri("Shape/comuni2010/com2010_s.shp"), comuni);
        for (int l : {r, p, c}) {
            m.ImpostaSpessoreLinea(l, 2); // the default border width of the options
            m.ImpostaColoreRiempimento(l, RGBWin(241, 236, 205));
        }
        m.ZoomEstensioneMassima();
    }
};

void Ridisegno(benchmark::State& st, bool comuni, bool primaVolta) {
    Mappa mappa(comuni);
    QImage im(mappa.m.size(), QImage::Format_RGB32);
    if (!primaVolta) {
        QPainter p(&im);
        mappa.m.Disegna(p, im.size()); // builds the outlines of this zoom level once
    }
    for (auto _ : st) {
        if (primaVolta) {
            st.PauseTiming();
            Mappa nuova(comuni);
            st.ResumeTiming();
            QPainter p(&im);
            nuova.m.Disegna(p, im.size());
        } else {
            QPainter p(&im);
            mappa.m.Disegna(p, im.size());
        }
        benchmark::DoNotOptimize(im.constBits());
    }
}

void BM_EstensioneTotale_Comuni(benchmark::State& st) { Ridisegno(st, true, false); }
void BM_EstensioneTotale_Regioni(benchmark::State& st) { Ridisegno(st, false, false); }
void BM_EstensioneTotale_Comuni_PrimoDisegno(benchmark::State& st) { Ridisegno(st, true, true); }

} // namespace

BENCHMARK(BM_EstensioneTotale_Comuni)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EstensioneTotale_Regioni)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EstensioneTotale_Comuni_PrimoDisegno)->Unit(benchmark::kMillisecond)->Iterations(5);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
