// The QPainter backend of the painter interface: a map drawn into an image
// on a viewport where one degree is ten pixels, checked pixel by pixel at
// known points (inside, in a hole, on the border), with smooth edges, and
// the picture conversions both ways.
#include "map/cursori.h"
#include "map/mappa.h"
#include "tests/map/forme_prova.h"
#include "ui/qt/cursori_qt.h"
#include "ui/qt/pittore_qt.h"
#include "ui/qt/widget_mappa.h"

#include <QPainter>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using namespace veltrano::mappa;
using veltrano::test::Poligoni;
using veltrano::test::Punti;
using veltrano::ui::ColoreQt;
using veltrano::ui::ColoreWin;
using veltrano::ui::TPittoreQt;

namespace {

constexpr TColore Rosso = RGBWin(255, 0, 0), Verde = RGBWin(0, 255, 0), Blu = RGBWin(0, 0, 255),
                  Bianco = RGBWin(255, 255, 255);

struct Vista {
    TMappa m;
    Vista() {
        m.ImpostaDimensioni(200, 200);
        m.ImpostaRapportoAspetto(1.0);
        m.ImpostaColoreSfondo(Bianco);
        m.ImpostaEstensione({0, 0, 20, 20});
    }
    QImage Immagine() const {
        QImage im(200, 200, QImage::Format_ARGB32_Premultiplied);
        QPainter p(&im);
        TPittoreQt pittore(p);
        m.Disegna(pittore);
        return im;
    }
    TColore Pixel(int x, int y) const { return ColoreWin(QColor(Immagine().pixel(x, y))); }
};

bool Scuro(QRgb c) { return qRed(c) < 80 && qGreen(c) < 80 && qBlue(c) < 80; }

} // namespace

TEST(PittoreQt, ColoriDeiPixelBordiEBuchi) {
    Vista v;
    const int l = v.m.AggiungiLayer(Poligoni(), true);
    v.m.ImpostaColoreRiempimento(l, Verde);
    v.m.ImpostaColoreLinea(l, 0);
    v.m.ImpostaSpessoreLinea(l, 2);
    EXPECT_EQ(v.Pixel(50, 150), Verde) << "inside the square (5, 5)";
    EXPECT_EQ(v.Pixel(100, 100), Bianco) << "in the hole (10, 10)";
    EXPECT_EQ(v.Pixel(5, 50), Bianco) << "outside";
    EXPECT_TRUE(Scuro(v.Immagine().pixel(20, 100))) << "on the border x = 2";
    EXPECT_EQ(v.Pixel(150, 50), Verde) << "the small square";
    v.m.ImpostaColoreShape(l, 1, Rosso);
    EXPECT_EQ(v.Pixel(150, 50), Rosso);
    EXPECT_EQ(v.Pixel(50, 150), Verde);
    v.m.ImpostaLayerVisibile(l, false);
    EXPECT_EQ(v.Pixel(50, 150), Bianco);
}

// Regression: the map outlines were drawn aliased, in hard steps (issue 9).
TEST(PittoreQt, ContorniSmussati) {
    Vista v;
    const int l = v.m.AggiungiLayer(Poligoni(true), true);
    v.m.ImpostaColoreRiempimento(l, Bianco);
    v.m.ImpostaColoreLinea(l, 0);
    v.m.ImpostaSpessoreLinea(l, 1);
    const QImage im = v.Immagine();
    // Along the shallow diagonal some pixels are partly covered: grey.
    int grigi = 0;
    for (int x = 20; x < 180; ++x)
        for (int y = 180; y < 200; ++y) {
            const int g = qGray(im.pixel(x, y));
            grigi += g > 40 && g < 215;
        }
    EXPECT_GT(grigi, 50);
}

TEST(PittoreQt, PuntiSimboliTestoEImmagini) {
    Vista v;
    const int l = v.m.AggiungiLayer(Punti({{5, 5}, {15, 5}}), true);
    v.m.ImpostaDimensionePunto(l, 6);
    v.m.ImpostaColoreRiempimento(l, Verde);
    v.m.ImpostaColoreShape(l, 1, Blu);
    EXPECT_EQ(v.Pixel(150, 150), Blu);
    EXPECT_EQ(v.Pixel(50, 150), Verde);
    EXPECT_EQ(v.Pixel(50, 160), Bianco);
    for (int tipo = PuntoCerchio; tipo <= PuntoTriangoloDestra; ++tipo) {
        v.m.ImpostaTipoPunto(l, tipo);
        EXPECT_EQ(v.Pixel(150, 150), Blu) << "point type " << tipo;
    }
    v.m.NuovoDisegno();
    v.m.DisegnaPunto(10, 10, 4, Rosso);
    EXPECT_EQ(v.Pixel(100, 100), Rosso);
    // Text is drawn and measured with the device's fonts.
    QImage im(100, 40, QImage::Format_ARGB32_Premultiplied);
    im.fill(Qt::white);
    {
        QPainter p(&im);
        TPittoreQt pittore(p);
        const TCarattere c{"DejaVu Sans", 12};
        const TMetricaTesto m = pittore.MisuraTesto("Roma", c);
        EXPECT_GT(m.larghezza, 20);
        EXPECT_GT(m.altezza, m.ascesa);
        EXPECT_GT(pittore.MisuraTesto("Roma Capitale", c).larghezza, m.larghezza);
        pittore.Testo({5, 25}, "Roma", c, 0);
    }
    int neri = 0;
    for (int x = 0; x < 100; ++x)
        for (int y = 0; y < 40; ++y)
            neri += Scuro(im.pixel(x, y));
    EXPECT_GT(neri, 10);
    // Pictures cross the interface unchanged.
    const TImmagine t = veltrano::ui::DaImmagineQt(im);
    EXPECT_EQ(t.larghezza, 100);
    EXPECT_EQ(veltrano::ui::ImmagineQt(t).pixel(3, 3), im.pixel(3, 3));
    EXPECT_EQ(t.Colore(0, 0), Bianco);
}

TEST(WidgetMappa, RidisegnaSoloQuandoLaMappaCambia) {
    TMappa m;
    const int l = m.AggiungiLayer(Poligoni(), true);
    m.ImpostaColoreRiempimento(l, Verde);
    m.ImpostaRapportoAspetto(1.0);
    veltrano::ui::TWidgetMappa w;
    w.resize(200, 200);
    w.ImpostaMappa(&m);
    EXPECT_EQ(m.Larghezza(), 200) << "the widget gives the map its size";
    m.ImpostaEstensione({0, 0, 20, 20});
    EXPECT_EQ(ColoreWin(QColor(w.Immagine().pixel(50, 150))), Verde);
    // A drag of the pan tool shifts the picture, then moves the view.
    m.ImpostaModoCursore(ModoPan);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    QTest::mousePress(&w, Qt::LeftButton, {}, QPoint(100, 100));
    QTest::mouseMove(&w, QPoint(120, 100));
    QTest::mouseRelease(&w, Qt::LeftButton, {}, QPoint(120, 100));
    EXPECT_NEAR(m.Estensione().xMin, -2, 1e-9);
    // Panning shows the library's open hand, not Qt's.
    EXPECT_EQ(w.cursor().pixmap().cacheKey(), veltrano::ui::CursoreSchermo(CursoreManoAperta).pixmap().cacheKey());
    w.ImpostaMappa(nullptr);
    EXPECT_FALSE(m.AllaModifica) << "the widget lets go of the map";
}
