// The first click on "Nomi" of "COMUNI" in the Qt window: every
// municipality's name read from the boundaries' table and put on the map,
// with the progress dialog shown and kept up to date, then the first
// redraw of the full-extent map with the names on it. Each round opens a
// new window, since the names are loaded once per map.
#include "dialog/TFMapMain.h"
#include "ui/qt/TFMapMainQt.h"
#include "ui/qt/pittore_qt.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>

using namespace veltrano;
using C = dialogo::TControllo;

namespace {

void BM_NomiDeiComuni_PrimoClic(benchmark::State& st) {
    for (auto _ : st) {
        st.PauseTiming();
        auto w = std::make_unique<ui::TFMapMainQt>();
        auto f = std::make_unique<dialogo::TFMapMain>(VELTRANO_DATI, *w);
        w->Collega(f.get());
        TGIS_DatiOut d;
        std::memset(&d, 0, sizeof d);
        d.LonSito = 13.4f;
        d.LatSito = 42.35f;
        d.TipoRic = 1;
        f->Prepara({}, d);
        w->setGeometry(0, 0, 1920, 1080);
        w->show();
        QApplication::processEvents();
        f->MappaDimensioni(1280, 900);
        f->Map.ZoomEstensioneMassima();
        QImage im(1280, 900, QImage::Format_ARGB32_Premultiplied);
        st.ResumeTiming();

        f->Premuto(C::CB_VisNomiCom, true);
        QPainter p(&im);
        ui::TPittoreQt pittore(p);
        f->Map.Disegna(pittore);
        p.end();

        st.PauseTiming();
        st.counters["nomi"] = static_cast<double>(f->Map.Nomi(dialogo::LayerComuni).size());
        w->Collega(nullptr);
        f.reset();
        w.reset();
        st.ResumeTiming();
    }
}

} // namespace

BENCHMARK(BM_NomiDeiComuni_PrimoClic)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
