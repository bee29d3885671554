// The map control: pixel and map conversions on a viewport where one degree
// is ten pixels, zooms and their history, layer handles, and the colours of
// a rendered map at known pixels.
#include "map/mappa.h"

#include <gtest/gtest.h>

#include <memory>

using namespace veltrano::mappa;

namespace {

constexpr TColore Rosso = RGBWin(255, 0, 0), Verde = RGBWin(0, 255, 0), Blu = RGBWin(0, 0, 255),
                  Bianco = RGBWin(255, 255, 255), Nero = 0;

std::shared_ptr<TShapefile> Poligoni() {
    auto sf = std::make_shared<TShapefile>();
    sf->Crea(ShapePoligono);
    sf->InizioModifica();
    TShape s;
    s.tipo = ShapePoligono;
    s.parti = {0, 5};
    // 2..18 degrees square with a hole from 8 to 12.
    s.punti = {{2, 2}, {2, 18}, {18, 18}, {18, 2}, {2, 2}, {8, 8}, {12, 8}, {12, 12}, {8, 12}, {8, 8}};
    sf->InserisciShape(s, 0);
    TShape piccolo;
    piccolo.tipo = ShapePoligono;
    piccolo.punti = {{14, 14}, {14, 16}, {16, 16}, {16, 14}, {14, 14}};
    sf->InserisciShape(piccolo, 1);
    sf->FineModifica(true);
    return sf;
}

std::shared_ptr<TShapefile> Punti() {
    auto sf = std::make_shared<TShapefile>();
    sf->Crea(ShapePunto);
    sf->InizioModifica();
    for (TPunto p : {TPunto{5, 5}, TPunto{15, 5}}) {
        TShape s;
        s.tipo = ShapePunto;
        s.punti = {p};
        sf->InserisciShape(s, -1);
    }
    sf->FineModifica(true);
    return sf;
}

// 200 x 200 pixels over 0..20 degrees: ten pixels a degree, y upwards.
struct Vista {
    TMappa m;
    Vista() {
        m.resize(200, 200);
        m.ImpostaRapportoAspetto(1.0);
        m.ImpostaColoreSfondo(Bianco);
        m.ImpostaEstensione({0, 0, 20, 20});
    }
    TColore Pixel(int x, int y) { return ColoreWin(QColor(m.Immagine().pixel(x, y))); }
};

} // namespace

TEST(Mappa, ConversioniPixelMappa) {
    Vista v;
    EXPECT_DOUBLE_EQ(v.m.Scala(), 10.0);
    EXPECT_EQ(v.m.PixelAMappa({0, 0}), QPointF(0, 20));
    EXPECT_EQ(v.m.PixelAMappa({200, 200}), QPointF(20, 0));
    EXPECT_EQ(v.m.MappaAPixel({10, 10}), QPointF(100, 100));
    EXPECT_EQ(v.m.MappaAPixel({12.5, 3}), QPointF(125, 170));
    const QPointF p = v.m.PixelAMappa(v.m.MappaAPixel({13.4, 42.35}));
    EXPECT_NEAR(p.x(), 13.4, 1e-12);
    EXPECT_NEAR(p.y(), 42.35, 1e-12);
}

TEST(Mappa, RapportoAspettoAllargaLaLongitudine) {
    Vista v;
    v.m.ImpostaRapportoAspetto(0.5);
    v.m.ImpostaEstensione({0, 0, 20, 20});
    // Twenty degrees of longitude take half the pixels of twenty of latitude.
    EXPECT_NEAR(v.m.MappaAPixel({20, 10}).x() - v.m.MappaAPixel({0, 10}).x(),
                (v.m.MappaAPixel({10, 0}).y() - v.m.MappaAPixel({10, 20}).y()) / 2, 1e-9);
}

TEST(Mappa, LayerConHandleInOrdineAncheVuoti) {
    TMappa m;
    EXPECT_EQ(m.AggiungiLayer(Poligoni(), true), 0);
    auto mancante = std::make_shared<TShapefile>();
    mancante->Apri("/non/esiste.shp");
    EXPECT_EQ(m.AggiungiLayer(mancante, true), 1);
    EXPECT_EQ(m.AggiungiLayer(nullptr, false), 2);
    EXPECT_EQ(m.AggiungiLayer(Punti(), false), 3);
    EXPECT_EQ(m.NumLayer(), 4);
    EXPECT_EQ(m.Shapefile(1), nullptr);
    EXPECT_FALSE(m.LayerVisibile(2));
    m.ImpostaSpessoreLinea(1, 3); // an empty layer takes styles quietly
    EXPECT_FLOAT_EQ(m.SpessoreLinea(1), 3);
    EXPECT_EQ(m.Shapefile(3)->NumShape(), 2);
}

TEST(Mappa, ZoomEStoria) {
    Vista v;
    v.m.AggiungiLayer(Poligoni(), true);
    v.m.ZoomShape(0, 1);
    TEstensione e = v.m.Estensione();
    EXPECT_NEAR(e.xMin, 14, 1e-9);
    EXPECT_NEAR(e.xMax, 16, 1e-9);
    v.m.ZoomIndietro(0.2);
    e = v.m.Estensione();
    EXPECT_NEAR(e.xMax - e.xMin, 2.4, 1e-9);
    EXPECT_TRUE(v.m.ZoomPrecedente());
    EXPECT_NEAR(v.m.Estensione().xMax - v.m.Estensione().xMin, 2.0, 1e-9);
    EXPECT_TRUE(v.m.ZoomPrecedente());
    EXPECT_NEAR(v.m.Estensione().xMax, 20, 1e-9);
    v.m.ZoomLayer(0);
    EXPECT_NEAR(v.m.Estensione().yMin, 2, 1e-9);
    v.m.ZoomEstensioneMassima();
    EXPECT_NEAR(v.m.Estensione().yMax, 18, 1e-9);
}

TEST(Mappa, ColoriDeiPixel) {
    Vista v;
    const int l = v.m.AggiungiLayer(Poligoni(), true);
    v.m.ImpostaColoreRiempimento(l, Verde);
    v.m.ImpostaColoreLinea(l, Nero);
    v.m.ImpostaSpessoreLinea(l, 2);
    EXPECT_EQ(v.Pixel(50, 150), Verde) << "inside the square (5, 5)";
    EXPECT_EQ(v.Pixel(100, 100), Bianco) << "in the hole (10, 10)";
    EXPECT_EQ(v.Pixel(5, 5), Bianco) << "outside";
    EXPECT_EQ(v.Pixel(20, 100), Nero) << "on the border x = 2";
    EXPECT_EQ(v.Pixel(150, 50), Verde) << "the small square";
    v.m.ImpostaColoreRiempimentoShape(l, 1, Rosso);
    EXPECT_EQ(v.Pixel(150, 50), Rosso);
    EXPECT_EQ(v.Pixel(50, 150), Verde);
    v.m.ImpostaLayerVisibile(l, false);
    EXPECT_EQ(v.Pixel(50, 150), Bianco);
}

TEST(Mappa, PuntiEDisegni) {
    Vista v;
    const int l = v.m.AggiungiLayer(Punti(), true);
    v.m.ImpostaDimensionePunto(l, 6);
    v.m.ImpostaColorePuntoShape(l, 1, Blu);
    v.m.ImpostaColoreRiempimento(l, Verde);
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
    v.m.CancellaDisegni();
    EXPECT_EQ(v.m.NumDisegni(), 0);
    EXPECT_EQ(v.Pixel(100, 100), Bianco);
}

TEST(Mappa, EtichetteEModiCursore) {
    TMappa m;
    const int l = m.AggiungiLayer(Punti(), true);
    m.ImpostaFontLayer(l, "Times New Roman", 9);
    m.AggiungiEtichetta(l, "ID: 1\rAg:0.123", Rosso, 5, 5, 1);
    ASSERT_EQ(m.Etichette(l).size(), 1u);
    EXPECT_EQ(m.FontLayer(l).pointSize(), 9);
    m.ImpostaEtichetteVisibili(l, false);
    EXPECT_FALSE(m.EtichetteVisibili(l));
    m.CancellaEtichette(l);
    EXPECT_TRUE(m.Etichette(l).empty());
    for (int modo : {ModoZoomMeno, ModoPan, ModoSelezione, ModoNessuno, ModoZoomPiu}) {
        m.ImpostaModoCursore(modo);
        EXPECT_EQ(m.ModoCursore(), modo);
    }
    m.ImpostaModoCursore(9);
    EXPECT_EQ(m.ModoCursore(), ModoZoomPiu) << "unknown codes are ignored";
}
