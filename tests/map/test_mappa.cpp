// The map without a toolkit: pixel and map conversions on a viewport where
// one degree is ten pixels, zooms and their history, hit tests, what the
// map asks the painter to draw, label placement, and the cursor modes.
#include "map/etichette.h"
#include "map/mappa.h"
#include "tests/map/forme_prova.h"
#include "tests/map/pittore_registro.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

using namespace veltrano::mappa;
using veltrano::test::Poligoni;
using veltrano::test::Punti;
using veltrano::test::TPittoreRegistro;

namespace {

constexpr TColore Rosso = RGBWin(255, 0, 0), Verde = RGBWin(0, 255, 0), Blu = RGBWin(0, 0, 255),
                  Bianco = RGBWin(255, 255, 255), Giallo = RGBWin(255, 255, 0);

// 200 x 200 pixels over 0..20 degrees: ten pixels a degree, y downwards.
struct Vista {
    TMappa m;
    Vista() {
        m.ImpostaDimensioni(200, 200);
        m.ImpostaRapportoAspetto(1.0);
        m.ImpostaColoreSfondo(Bianco);
        m.ImpostaEstensione({0, 0, 20, 20});
    }
    TPittoreRegistro Disegno() const {
        TPittoreRegistro p;
        m.Disegna(p);
        return p;
    }
};

} // namespace

TEST(Vista, ConversioniPixelMappaEAspetto) {
    Vista v;
    EXPECT_DOUBLE_EQ(v.m.Scala(), 10.0);
    const TPunto a = v.m.PixelAMappa({0, 0}), b = v.m.PixelAMappa({200, 200});
    EXPECT_DOUBLE_EQ(a.x, 0);
    EXPECT_DOUBLE_EQ(a.y, 20);
    EXPECT_DOUBLE_EQ(b.x, 20);
    EXPECT_DOUBLE_EQ(b.y, 0);
    const TPuntoPx c = v.m.MappaAPixel({12.5, 3});
    EXPECT_DOUBLE_EQ(c.x, 125);
    EXPECT_DOUBLE_EQ(c.y, 170);
    const TPunto r = v.m.PixelAMappa(v.m.MappaAPixel({13.4, 42.35}));
    EXPECT_NEAR(r.x, 13.4, 1e-12);
    EXPECT_NEAR(r.y, 42.35, 1e-12);
    // Twenty degrees of longitude take half the pixels of twenty of latitude.
    v.m.ImpostaRapportoAspetto(0.5);
    v.m.ImpostaEstensione({0, 0, 20, 20});
    EXPECT_NEAR(v.m.MappaAPixel({20, 10}).x - v.m.MappaAPixel({0, 10}).x,
                (v.m.MappaAPixel({10, 0}).y - v.m.MappaAPixel({10, 20}).y) / 2, 1e-9);
}

TEST(Vista, ZoomStoriaEdEstensioniNonValide) {
    Vista v;
    v.m.AggiungiLayer(Poligoni(), true);
    v.m.ZoomShape(0, 1);
    EXPECT_NEAR(v.m.Estensione().xMin, 14, 1e-9);
    EXPECT_NEAR(v.m.Estensione().xMax, 16, 1e-9);
    v.m.ZoomIndietro(0.2);
    EXPECT_NEAR(v.m.Estensione().xMax - v.m.Estensione().xMin, 2.4, 1e-9);
    EXPECT_TRUE(v.m.ZoomPrecedente());
    EXPECT_NEAR(v.m.Estensione().xMax - v.m.Estensione().xMin, 2.0, 1e-9);
    EXPECT_TRUE(v.m.ZoomPrecedente());
    EXPECT_NEAR(v.m.Estensione().xMax, 20, 1e-9);
    v.m.ZoomLayer(0);
    EXPECT_NEAR(v.m.Estensione().yMin, 2, 1e-9);
    // A NaN or empty extent changes nothing and is not remembered.
    const TEstensione prima = v.m.Estensione();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    v.m.ImpostaEstensione({nan, 0, 1, 1});
    v.m.ImpostaEstensione(TEstensione::Nessuna());
    EXPECT_EQ(v.m.Estensione().xMin, prima.xMin);
    EXPECT_TRUE(v.m.ZoomPrecedente());
    EXPECT_NEAR(v.m.Estensione().xMax, 20, 1e-9) << "the view before ZoomLayer, not a refused one";
    // A single shape out of range, a missing layer: nothing moves.
    v.m.ZoomShape(0, 7);
    v.m.ZoomShape(5, 0);
    EXPECT_NEAR(v.m.Estensione().xMax, 20, 1e-9);
}

TEST(Layer, HandleInOrdineAncheVuotiEStiliSenzaFile) {
    TMappa m;
    EXPECT_EQ(m.AggiungiLayer(Poligoni(), true), 0);
    auto mancante = std::make_shared<TShapefile>();
    mancante->Apri("/non/esiste.shp");
    EXPECT_EQ(m.AggiungiLayer(mancante, true), 1);
    EXPECT_EQ(m.AggiungiLayer(nullptr, false), 2);
    EXPECT_EQ(m.AggiungiLayer(Punti({{5, 5}}), false), 3);
    EXPECT_EQ(m.NumLayer(), 4);
    EXPECT_EQ(m.Shapefile(1), nullptr);
    m.ImpostaSpessoreLinea(1, 3); // an empty layer takes styles quietly
    EXPECT_DOUBLE_EQ(m.SpessoreLinea(1), 3);
    m.ImpostaColoreShape(1, 0, Rosso);
    m.ImpostaColoreShape(0, 99, Rosso);
    m.AggiungiEtichetta(9, "niente", 0, 0, 0, 1);
    EXPECT_EQ(m.ShapeInPunto(1, 5, 5), -1);
}

TEST(Layer, ColoreDelLayerRicoloraOgniShape) {
    TMappa m;
    const int l = m.AggiungiLayer(Poligoni(), true);
    m.ImpostaColoreShape(l, 1, Giallo);
    EXPECT_EQ(m.ColoreShape(l, 1), Giallo);
    // Fill the layer, then one shape: the highlight of the dialog.
    m.ImpostaColoreRiempimento(l, Verde);
    EXPECT_EQ(m.ColoreShape(l, 1), Verde);
    m.ImpostaColoreShape(l, 0, Rosso);
    EXPECT_EQ(m.ColoreShape(l, 0), Rosso);
    EXPECT_EQ(m.ColoreShape(l, 1), Verde);
}

TEST(RicercaShape, PrimaShapeCheContieneIlPunto) {
    TMappa m;
    const int l = m.AggiungiLayer(Poligoni(), true);
    EXPECT_EQ(m.ShapeInPunto(l, 5, 5), 0);
    EXPECT_EQ(m.ShapeInPunto(l, 10, 10), -1) << "in the hole";
    EXPECT_EQ(m.ShapeInPunto(l, 15, 15), 0) << "both contain it: the first in index order";
    EXPECT_EQ(m.ShapeInPunto(l, 30, 30), -1);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(m.ShapeInPunto(l, nan, 5), -1);
    const int p = m.AggiungiLayer(Punti({{5, 5}}), true);
    EXPECT_EQ(m.ShapeInPunto(p, 5, 5), -1) << "points have no inside";
}

TEST(Disegno, PoligoniInUnLottoConRiempimentiEContorno) {
    Vista v;
    const int l = v.m.AggiungiLayer(Poligoni(), true);
    v.m.ImpostaColoreRiempimento(l, Verde);
    v.m.ImpostaColoreShape(l, 1, Rosso);
    v.m.ImpostaSpessoreLinea(l, 2);
    v.m.ImpostaColoreLinea(l, Blu);
    TPittoreRegistro p = v.Disegno();
    ASSERT_EQ(p.poligoni.size(), 1u) << "one call for the whole layer";
    const TLottoPoligoni& lotto = p.poligoni[0];
    ASSERT_EQ(lotto.NumPoligoni(), 2u);
    EXPECT_EQ(*lotto.riempimenti[0], Verde);
    EXPECT_EQ(*lotto.riempimenti[1], Rosso);
    EXPECT_EQ(lotto.anelli.size(), 3u) << "outer ring, hole, small square";
    EXPECT_EQ(lotto.contorno.colore, Blu);
    EXPECT_DOUBLE_EQ(lotto.contorno.spessore, 2);
    // The corner (2, 18) of the first ring is pixel (20, 20).
    EXPECT_DOUBLE_EQ(lotto.punti[lotto.anelli[0] + 1].x, 20);
    EXPECT_DOUBLE_EQ(lotto.punti[lotto.anelli[0] + 1].y, 20);
    // Hidden: not drawn. Out of view: not drawn.
    v.m.ImpostaLayerVisibile(l, false);
    EXPECT_TRUE(v.Disegno().poligoni.empty());
    v.m.ImpostaLayerVisibile(l, true);
    v.m.ImpostaEstensione({15.5, 0, 20, 4});
    p = v.Disegno();
    ASSERT_EQ(p.poligoni.size(), 1u);
    EXPECT_EQ(p.poligoni[0].NumPoligoni(), 1u) << "the small square lies outside the view";
}

TEST(Disegno, PuntiConIlLoroColoreEVerticiRavvicinatiScartati) {
    Vista v;
    const int l = v.m.AggiungiLayer(Punti({{5, 5}, {15, 5}, {50, 50}}), true);
    v.m.ImpostaDimensionePunto(l, 6);
    v.m.ImpostaColoreRiempimento(l, Verde);
    v.m.ImpostaColoreShape(l, 1, Blu);
    v.m.ImpostaTipoPunto(l, PuntoRombo);
    TPittoreRegistro p = v.Disegno();
    ASSERT_EQ(p.simboli.size(), 2u) << "the point at (50, 50) is outside the view";
    EXPECT_EQ(p.simboli[0].tipo, PuntoRombo);
    EXPECT_DOUBLE_EQ(p.simboli[0].dimensione, 6);
    EXPECT_DOUBLE_EQ(p.simboli[1].centro.x, 150);
    EXPECT_DOUBLE_EQ(p.simboli[1].centro.y, 150);
    EXPECT_EQ(p.simboli[1].colore, Blu);
    EXPECT_EQ(p.simboli[0].colore, Verde);
    v.m.ImpostaTipoPunto(l, 42);
    EXPECT_EQ(v.m.TipoPunto(l), PuntoTriangoloDestra) << "unknown codes are clamped";
    // A ring with many vertices within a pixel of each other keeps few of them.
    auto fitto = std::make_shared<TShapefile>();
    fitto->Crea(ShapePoligono);
    fitto->InizioModifica();
    TShape s;
    s.tipo = ShapePoligono;
    for (int i = 0; i <= 1000; ++i)
        s.punti.push_back({5 + 5 * std::cos(i * 6.283185307179586 / 1000), 5 + 5 * std::sin(i * 6.283185307179586 / 1000)});
    fitto->InserisciShape(s, 0);
    fitto->FineModifica(true);
    TMappa m;
    m.ImpostaDimensioni(100, 100);
    m.AggiungiLayer(fitto, true);
    m.ImpostaEstensione({-200, -200, 200, 200}); // the ring spans about 2.5 pixels
    TPittoreRegistro q;
    m.Disegna(q);
    ASSERT_EQ(q.poligoni.size(), 1u);
    EXPECT_LT(q.poligoni[0].punti.size(), 20u);
    EXPECT_GE(q.poligoni[0].punti.size(), 2u);
}

TEST(Disegno, DisegniInUnitaDiMappa) {
    Vista v;
    v.m.NuovoDisegno();
    v.m.DisegnaLinea(1, 1, 3, 1, 1, 0);
    v.m.DisegnaCerchio(10, 10, 0.5, 0, false);
    v.m.DisegnaCerchio(10, 10, 0.1, 0, true);
    v.m.DisegnaPunto(10, 10, 4, Rosso);
    v.m.AggiungiEtichettaDisegno("400 m", Blu, 5, 5, 1);
    TPittoreRegistro p = v.Disegno();
    ASSERT_EQ(p.linee.size(), 1u);
    EXPECT_DOUBLE_EQ(p.linee[0].punti[0].x, 10);
    EXPECT_DOUBLE_EQ(p.linee[0].punti[1].x, 30);
    EXPECT_DOUBLE_EQ(p.linee[0].punti[0].y, 190);
    ASSERT_EQ(p.ellissi.size(), 2u);
    EXPECT_DOUBLE_EQ(p.ellissi[0].rx, 5);
    EXPECT_DOUBLE_EQ(p.ellissi[0].ry, 5);
    EXPECT_FALSE(p.ellissi[0].pieno);
    EXPECT_TRUE(p.ellissi[1].pieno);
    ASSERT_EQ(p.rettangoli.size(), 2u) << "background and the point";
    EXPECT_DOUBLE_EQ(p.rettangoli[1].x, 98);
    ASSERT_EQ(p.testi.size(), 2u) << "the label and its shadow";
    EXPECT_EQ(p.testi[1].colore, Blu);
    v.m.CancellaDisegni();
    EXPECT_EQ(v.m.NumDisegni(), 0);
    EXPECT_TRUE(v.Disegno().linee.empty());
}

TEST(Etichette, QuelleCheSiSovrappongonoSonoOmesse) {
    Vista v;
    const int l = v.m.AggiungiLayer(Punti({{5, 5}}), true);
    v.m.ImpostaFontLayer(l, {"Times New Roman", 9});
    v.m.AggiungiEtichetta(l, "ID: 1\rAg:0.123", Rosso, 5, 5, 1);
    v.m.AggiungiEtichetta(l, "ID: 2\rAg:0.124", Rosso, 5.2, 5.1, 1); // on top of the first
    v.m.AggiungiEtichetta(l, "ID: 3\rAg:0.125", Rosso, 15, 15, 1);
    TPittoreRegistro p = v.Disegno();
    const auto testi = p.Colorati();
    ASSERT_EQ(testi.size(), 4u) << "two labels of two lines; the overlapping one is left out";
    EXPECT_EQ(testi[0].testo, "ID: 1");
    EXPECT_EQ(testi[1].testo, "Ag:0.123");
    EXPECT_EQ(testi[2].testo, "ID: 3");
    EXPECT_EQ(testi[0].carattere.nome, "Times New Roman");
    EXPECT_DOUBLE_EQ(testi[0].carattere.punti, 9);
    // The second line lies under the first, both centred on the point.
    EXPECT_GT(testi[1].base.y, testi[0].base.y);
    // Labels of a hidden layer, or switched off, are not drawn.
    v.m.ImpostaEtichetteVisibili(l, false);
    EXPECT_TRUE(v.Disegno().testi.empty());
    v.m.ImpostaEtichetteVisibili(l, true);
    v.m.ImpostaLayerVisibile(l, false);
    EXPECT_TRUE(v.Disegno().testi.empty());
    // The font of a label is the layer's at the time it was added.
    v.m.ImpostaLayerVisibile(l, true);
    v.m.ImpostaFontLayer(l, {"Arial", 12});
    EXPECT_EQ(v.m.CarattereEtichetta(l, v.m.Etichette(l)[0]).nome, "Times New Roman");
    v.m.CancellaEtichette(l);
    EXPECT_TRUE(v.m.Etichette(l).empty());
    EXPECT_EQ(v.m.FontLayer(l).nome, "Arial");
}

TEST(Etichette, PosizionatoreConMigliaiaDiRiquadri) {
    TPosizionatoreEtichette pos({0, 0, 1000, 1000}, 2.0);
    EXPECT_TRUE(pos.Occupa({10, 10, 50, 20}));
    EXPECT_FALSE(pos.Occupa({55, 15, 50, 20})) << "overlaps the first";
    EXPECT_FALSE(pos.Occupa({61, 10, 50, 20})) << "within the margin";
    EXPECT_TRUE(pos.Occupa({63, 10, 50, 20}));
    EXPECT_FALSE(pos.Occupa({2000, 10, 50, 20})) << "wholly outside the area";
    EXPECT_FALSE(pos.Occupa({990, 990, 50, 20})) << "partly outside: it would be cut";
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_FALSE(pos.Occupa({nan, 10, 50, 20}));
    // A dense field keeps a grid of non-overlapping boxes.
    TPosizionatoreEtichette denso({0, 0, 500, 500}, 0.0, 32.0);
    int tenuti = 0;
    for (int i = 0; i < 10000; ++i)
        tenuti += denso.Occupa({static_cast<double>((i * 37) % 500), static_cast<double>((i * 91) % 500), 40, 20});
    EXPECT_GT(tenuti, 100);
    // Kept boxes do not overlap, so their area fits in the area they can reach.
    EXPECT_LE(tenuti, (500 + 40) * (500 + 20) / (40 * 20));
}

TEST(ModiCursore, ZoomARiquadroClicPanENessuno) {
    Vista v;
    EXPECT_EQ(v.m.ModoCursore(), ModoZoomPiu);
    // A dragged box is shown whole; the box is drawn while dragging only.
    v.m.MousePremuto({50, 50}, PulsanteSinistro);
    v.m.MouseMosso({100, 150}, PulsanteSinistro);
    ASSERT_TRUE(v.m.RettangoloZoom());
    EXPECT_DOUBLE_EQ(v.m.RettangoloZoom()->larghezza, 50);
    v.m.MouseRilasciato({100, 150}, PulsanteSinistro);
    EXPECT_FALSE(v.m.RettangoloZoom());
    EXPECT_NEAR(v.m.Estensione().yMin, 5, 1e-9);
    EXPECT_NEAR(v.m.Estensione().yMax, 15, 1e-9);
    // A click halves the view around the point; zoom out doubles it.
    v.m.ImpostaEstensione({0, 0, 20, 20});
    v.m.MousePremuto({100, 100}, PulsanteSinistro);
    v.m.MouseRilasciato({101, 100}, PulsanteSinistro);
    EXPECT_NEAR(v.m.Estensione().xMax - v.m.Estensione().xMin, 10, 1e-9);
    v.m.ImpostaModoCursore(ModoZoomMeno);
    v.m.MouseRilasciato({100, 100}, PulsanteSinistro);
    EXPECT_NEAR(v.m.Estensione().xMax - v.m.Estensione().xMin, 20, 1e-9);
    // Pan: the map follows the drag; the picture is shifted meanwhile.
    v.m.ImpostaModoCursore(ModoPan);
    EXPECT_EQ(v.m.FormaCursore(), TFormaCursore::Mano);
    v.m.ImpostaEstensione({0, 0, 20, 20});
    v.m.MousePremuto({100, 100}, PulsanteSinistro);
    v.m.MouseMosso({120, 100}, PulsanteSinistro);
    EXPECT_DOUBLE_EQ(v.m.Spostamento().x, 20);
    v.m.MouseRilasciato({120, 100}, PulsanteSinistro);
    EXPECT_DOUBLE_EQ(v.m.Spostamento().x, 0);
    EXPECT_NEAR(v.m.Estensione().xMin, -2, 1e-9);
    // Selection leaves the view alone; the cross replaces the mode's pointer.
    v.m.ImpostaModoCursore(ModoSelezione);
    const TEstensione e = v.m.Estensione();
    v.m.MousePremuto({10, 10}, PulsanteSinistro);
    v.m.MouseRilasciato({190, 190}, PulsanteSinistro);
    EXPECT_EQ(v.m.Estensione().xMin, e.xMin);
    v.m.ImpostaCursoreMappa(CursoreCroce);
    EXPECT_EQ(v.m.FormaCursore(), TFormaCursore::Croce);
    v.m.ImpostaModoCursore(9);
    EXPECT_EQ(v.m.ModoCursore(), ModoSelezione) << "unknown codes are ignored";
}

TEST(ModiCursore, UnCambioDiModoAMetaGestoNonLasciaIlRiquadro) {
    Vista v;
    v.m.MousePremuto({50, 50}, PulsanteSinistro);
    v.m.MouseMosso({100, 150}, PulsanteSinistro);
    v.m.ImpostaModoCursore(ModoPan);
    EXPECT_FALSE(v.m.RettangoloZoom());
}

TEST(Versione, ContaIlDisegnoNonLaSovrapposizione) {
    Vista v;
    int avvisi = 0;
    v.m.AllaModifica = [&] { ++avvisi; };
    const uint64_t prima = v.m.Versione();
    v.m.ImpostaRettangoloZoom(TRettangoloPx{1, 1, 5, 5});
    v.m.ImpostaSpostamento({3, 0});
    v.m.ImpostaModoCursore(ModoPan);
    EXPECT_EQ(v.m.Versione(), prima) << "the cached picture stays valid";
    EXPECT_EQ(avvisi, 3) << "but the front end repaints";
    v.m.ImpostaColoreSfondo(Rosso);
    EXPECT_GT(v.m.Versione(), prima);
}
