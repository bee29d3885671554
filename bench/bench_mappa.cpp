// Redraw speed of the map through the QPainter backend: the full extent
// with every municipality of the bundled boundaries visible, the way the
// dialog shows it when the municipality layer is switched on.
#include "map/mappa.h"
#include "ui/qt/pittore_qt.h"

#include <QApplication>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

using namespace veltrano::mappa;
using veltrano::ui::TPittoreQt;

namespace {

std::shared_ptr<TShapefile> Apri(const char* relativo) {
    auto sf = std::make_shared<TShapefile>();
    sf->Apri(std::string(VELTRANO_DATI) + "/" + relativo);
    return sf;
}

struct Mappa {
    TMappa m;
    Mappa(bool comuni, double spessore) {
        m.ImpostaDimensioni(1280, 900);
        const int r = m.AggiungiLayer(Apri("Shape/regioni2010/reg2010_s.shp"), true);
        const int p = m.AggiungiLayer(Apri("Shape/province2010/prov2010_s.shp"), false);
        const int c = m.AggiungiLayer(Apri("Shape/comuni2010/com2010_s.shp"), comuni);
        for (int l : {r, p, c}) {
            m.ImpostaSpessoreLinea(l, spessore);
            m.ImpostaColoreRiempimento(l, RGBWin(241, 236, 205));
        }
        m.ZoomEstensioneMassima();
    }
};

// One redraw of the whole map, antialiased, as the map widget makes it.
void Ridisegno(benchmark::State& st, bool comuni, double spessore) {
    Mappa mappa(comuni, spessore);
    QImage im(1280, 900, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : st) {
        QPainter p(&im);
        TPittoreQt pittore(p);
        mappa.m.Disegna(pittore);
        benchmark::DoNotOptimize(im.constBits());
    }
}

// Border width 2 is the options' default; 1 the thinnest.
void BM_EstensioneTotale_Comuni(benchmark::State& st) { Ridisegno(st, true, 2); }
void BM_EstensioneTotale_Regioni(benchmark::State& st) { Ridisegno(st, false, 2); }
void BM_EstensioneTotale_Comuni_Spessore1(benchmark::State& st) { Ridisegno(st, true, 1); }

} // namespace

BENCHMARK(BM_EstensioneTotale_Comuni)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EstensioneTotale_Regioni)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EstensioneTotale_Comuni_Spessore1)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
