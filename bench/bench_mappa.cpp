// Redraw speed of the map through the QPainter backend: the full extent
// with every municipality of the bundled boundaries visible, the way the
// dialog shows it when the municipality layer is switched on.
#include "map/amministrativi.h"
#include "map/mappa.h"
#include "map/segno_sito.h"
#include "map/testo1252.h"
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
    int layer[3];
    Mappa(bool comuni, double spessore) {
        m.ImpostaDimensioni(1280, 900);
        const int r = m.AggiungiLayer(Apri("Shape/regioni2010/reg2010_s.shp"), true);
        const int p = m.AggiungiLayer(Apri("Shape/province2010/prov2010_s.shp"), false);
        const int c = m.AggiungiLayer(Apri("Shape/comuni2010/com2010_s.shp"), comuni);
        layer[0] = r;
        layer[1] = p;
        layer[2] = c;
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

// The full extent with every municipality's name on, as after "Nomi" of
// "COMUNI" (and of the regions), a municipality highlighted and labelled
// and the site's mark over it: the names are placed around the mark and
// inside the edges.
void BM_EstensioneTotale_ComuniConNomi(benchmark::State& st) {
    Mappa mappa(true, 2);
    TMappa& m = mappa.m;
    const int campi[3] = {CampoNomeRegione, CampoNomeProvincia, CampoNomeComune};
    for (int k : {0, 2}) {
        const int l = mappa.layer[k];
        const TShapefile* sf = m.Shapefile(l);
        for (int i = 0; i < sf->NumShape(); ++i) {
            const TEstensione& e = sf->Shape(i).estensione;
            m.AggiungiNome(l, Da1252AUtf8(sf->ValoreCella(campi[k], i)), (e.xMin + e.xMax) / 2, (e.yMin + e.yMax) / 2);
        }
        m.ImpostaNomiVisibili(l, true);
    }
    m.AggiungiEtichetta(mappa.layer[2], "L'Aquila", RGBWin(0, 0, 128), 13.4, 42.35, 1);
    m.NuovoDisegno();
    DisegnaSegnoSito(m, 13.4, 42.35);
    QImage im(1280, 900, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : st) {
        QPainter p(&im);
        TPittoreQt pittore(p);
        m.Disegna(pittore);
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
BENCHMARK(BM_EstensioneTotale_ComuniConNomi)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
