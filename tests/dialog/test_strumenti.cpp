// The map tools and the option panels through the form, without a window:
// which button releases which and the cursor mode after each, the distance
// measure as one gesture, "Calcola Altitudine", the panels' colours, fonts
// and widths reaching the map and the options, the names with their
// progress, and the point-style picker.
#include "dialog/TFMapMain.h"
#include "dialog/coordinate.h"
#include "dialog/elenchi.h"
#include "dialog/opzioni.h"
#include "dialog/testi.h"
#include "map/distanza.h"
#include "map/testo1252.h"
#include "tests/dialog/vista_prova.h"
#include "tests/supporto_dati.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

using namespace veltrano;
using namespace veltrano::dialogo;
using C = TControllo;

namespace {

constexpr mappa::TColore Blu = mappa::RGBWin(0, 0, 255);

// The test view, also answering the font dialog and the point-style picker
// and recording the progress dialog.
struct Vista : test::TVistaProva {
    std::optional<mappa::TCarattere> carattere;
    std::optional<mappa::TColore> coloreCarattere;
    int voceStile = 0; // the picker's button pressed
    std::vector<std::string> progressi;
    int passi = 0, massimo = -1, aperti = 0;
    std::map<C, int> immagini;

    std::optional<mappa::TCarattere> ScegliCarattere(const mappa::TCarattere&, mappa::TColore* c) override {
        if (carattere && c && coloreCarattere)
            *c = *coloreCarattere;
        return carattere;
    }
    void MostraStilePunti(mappa::TFStileLayer& s) override { s.Premuto(voceStile); }
    void InizioProgresso(const std::string& t, int m) override {
        progressi.push_back(t);
        massimo = m;
        passi = 0;
        ++aperti;
    }
    void Progresso(int p) override {
        EXPECT_EQ(p, passi + 1);
        passi = p;
    }
    void FineProgresso() override { --aperti; }
    void ImpostaImmagine(C c, int i) override { immagini[c] = i; }
};

struct Form {
    test::CartellaTemporanea dati;
    Vista vista;
    std::unique_ptr<TFMapMain> f;
    explicit Form(const std::string& nome) : dati(nome) {
        f = std::make_unique<TFMapMain>(dati.p, vista);
        vista.Collega(f.get());
        f->MappaDimensioni(900, 700);
        f->Mostrato();
    }
};

// One degree of latitude on the measuring rule [km].
constexpr double KmGrado = mappa::MigliaPerGrado * mappa::KmPerMiglio;

const mappa::TDisegno* UltimoConEtichetta(const mappa::TMappa& m) {
    for (auto it = m.Disegni().rbegin(); it != m.Disegni().rend(); ++it)
        if (!it->etichette.empty())
            return &*it;
    return nullptr;
}

} // namespace

TEST(Strumenti, QualePulsanteRilasciaQualeEIlModoDopoOgnuno) {
    Form t("gruppi");
    TFMapMain& f = *t.f;
    EXPECT_TRUE(f.Giu(C::TB_ZoomPiu));
    EXPECT_EQ(f.Map.ModoCursore(), mappa::ModoZoomPiu);
    // The site pick releases the zoom group.
    f.Premuto(C::TB_Punt, true);
    EXPECT_FALSE(f.Giu(C::TB_ZoomPiu));
    EXPECT_FALSE(f.Mapping);
    EXPECT_EQ(f.Map.ModoCursore(), mappa::ModoSelezione);
    // Any zoom button releases the site pick and the distance tool.
    f.Premuto(C::SB_CalcDist, true);
    EXPECT_EQ(f.Map.ModoCursore(), mappa::ModoNessuno);
    EXPECT_EQ(f.Map.CursoreMappa(), mappa::CursoreCroce);
    EXPECT_TRUE(f.Map.inviaMouseGiu) << "a measure is press, drag, release";
    f.Premuto(C::TB_Pan, true);
    EXPECT_FALSE(f.Giu(C::TB_Punt));
    EXPECT_FALSE(f.Giu(C::SB_CalcDist));
    EXPECT_EQ(f.Map.ModoCursore(), mappa::ModoPan);
    EXPECT_EQ(f.Map.CursoreMappa(), mappa::CursorePredefinito);
    // The distance tool releases "Zoom Più" (not pan: it only releases that
    // one), and gives "Zoom Più" back when released.
    f.Premuto(C::TB_ZoomPiu, true);
    EXPECT_FALSE(f.Giu(C::TB_Pan));
    f.Premuto(C::SB_CalcDist, true);
    EXPECT_FALSE(f.Giu(C::TB_ZoomPiu));
    f.Premuto(C::SB_CalcDist, false);
    EXPECT_TRUE(f.Giu(C::TB_ZoomPiu));
    EXPECT_EQ(f.Map.ModoCursore(), mappa::ModoZoomPiu);
    EXPECT_TRUE(f.Map.inviaMouseGiu) << "nothing sets the presses off again";
    // A click on the zoom button that is down keeps it down; the menu entry
    // of a zoom button presses it and releases the others.
    f.Premuto(C::TB_ZoomPiu, false);
    EXPECT_TRUE(f.Giu(C::TB_ZoomPiu));
    f.Click(C::TB_ZoomMeno);
    EXPECT_TRUE(f.Giu(C::TB_ZoomMeno));
    EXPECT_FALSE(f.Giu(C::TB_ZoomPiu));
    EXPECT_EQ(f.Map.ModoCursore(), mappa::ModoZoomMeno);
    // The whole map and back: "Zoom tutto" leaves the tool as it was.
    const mappa::TEstensione e{12, 41, 13, 42};
    f.Map.ImpostaEstensione(e);
    f.Click(C::TB_ZoomTutto);
    EXPECT_GT(f.Map.Estensione().xMax - f.Map.Estensione().xMin, 5.0);
    EXPECT_TRUE(f.Giu(C::TB_ZoomMeno));
    f.Click(C::TB_ZoomPrec);
    EXPECT_NEAR(f.Map.Estensione().xMin + f.Map.Estensione().xMax, e.xMin + e.xMax, 1e-6);
    // The site pick released by hand: zooming again (the map is "mapping").
    f.Premuto(C::TB_Punt, true);
    f.Premuto(C::TB_Punt, false);
    EXPECT_TRUE(f.Mapping);
}

TEST(Strumenti, UnaMisuraEUnGestoInMetriEChilometri) {
    Form t("misura");
    TFMapMain& f = *t.f;
    // Per Località with no municipality: the measure starts at the press.
    f.Scelto(C::Radiogroup1, ModoLocalita);
    f.Map.ImpostaEstensione({12.40, 41.85, 12.60, 41.95});
    f.Premuto(C::SB_CalcDist, true);
    const mappa::TPuntoPx a{300, 300};
    const mappa::TPunto ma = f.Map.PixelAMappa(a);
    f.MappaPremuto(a, mappa::PulsanteSinistro);
    ASSERT_TRUE(f.MeasureStart);
    EXPECT_DOUBLE_EQ(f.MeasureStart->x, ma.x);
    // Dragging draws the rubber band and writes the distance row.
    const mappa::TPuntoPx b{300, 290};
    const mappa::TPunto mb = f.Map.PixelAMappa(b);
    f.MappaMosso(b, mappa::PulsanteSinistro);
    const double km = mappa::DistanzaKm(ma, mb);
    ASSERT_LT(km, 1.0);
    EXPECT_EQ(f.Testo(C::NxTextItem8), FormatoReale("%f", km * 1000));
    EXPECT_EQ(f.Stato(C::NxTextItem8).caption, testi::DistanzaM);
    const mappa::TDisegno* d = UltimoConEtichetta(f.Map);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->etichette[0].testo, mappa::EtichettaDistanza(km));
    EXPECT_EQ(d->etichette[0].colore, Blu);
    // The blue line from the start to the pointer, over the site marker.
    const auto linea = std::find_if(d->linee.begin(), d->linee.end(), [](const auto& l) { return l.c == Blu; });
    ASSERT_NE(linea, d->linee.end());
    EXPECT_DOUBLE_EQ(linea->x1, ma.x);
    EXPECT_DOUBLE_EQ(linea->y2, mb.y);
    // Farther: kilometres.
    const mappa::TPuntoPx c{600, 100};
    f.MappaMosso(c, mappa::PulsanteSinistro);
    const double kmC = mappa::DistanzaKm(ma, f.Map.PixelAMappa(c));
    ASSERT_GT(kmC, 1.0);
    EXPECT_EQ(f.Testo(C::NxTextItem8), FormatoReale("%f", kmC));
    EXPECT_EQ(f.Stato(C::NxTextItem8).caption, testi::DistanzaKm);
    // The release ends the measure and the tool; the line stays.
    f.MappaRilasciato(c, mappa::PulsanteSinistro);
    EXPECT_FALSE(f.Giu(C::SB_CalcDist));
    EXPECT_FALSE(f.MeasureStart);
    EXPECT_EQ(f.contaClick, 0);
    ASSERT_NE(UltimoConEtichetta(f.Map), nullptr);
    // Moving on changes nothing any more.
    const std::string riga = f.Testo(C::NxTextItem8);
    f.MappaMosso({10, 10}, 0);
    EXPECT_EQ(f.Testo(C::NxTextItem8), riga);
}

TEST(Strumenti, InCoordinateLaMisuraParteDalSitoEQuattrocentoMetri) {
    Form t("misura_sito");
    TFMapMain& f = *t.f;
    f.Map.ImpostaEstensione({12.40, 41.85, 12.60, 41.95});
    // The pointer's point, and a site exactly 0.4 km south of it.
    const mappa::TPuntoPx p{450, 350};
    const mappa::TPunto m = f.Map.PixelAMappa(p);
    char lon[64], lat[64];
    std::snprintf(lon, sizeof lon, "%.17g", m.x);
    std::snprintf(lat, sizeof lat, "%.17g", m.y - 0.4 / KmGrado);
    f.Cambiato(C::Edit1, lon);
    f.Cambiato(C::Edit2, lat);
    f.Premuto(C::SB_CalcDist, true);
    // Pressed anywhere, the measure starts at the site.
    f.MappaPremuto({20, 20}, mappa::PulsanteSinistro);
    ASSERT_TRUE(f.MeasureStart);
    EXPECT_DOUBLE_EQ(f.MeasureStart->x, m.x);
    f.MappaMosso(p, mappa::PulsanteSinistro);
    EXPECT_EQ(f.Testo(C::NxTextItem8), "400.000000");
    EXPECT_EQ(f.Stato(C::NxTextItem8).caption, "Distanza dalla costa [m]");
    EXPECT_EQ(UltimoConEtichetta(f.Map)->etichette[0].testo, "400 m");
    f.MappaRilasciato(p, mappa::PulsanteSinistro);
    EXPECT_FALSE(f.Giu(C::SB_CalcDist));
    // Once used, presses keep reaching the form, but a site pick waits for
    // the release: it zooms, and the release would fall elsewhere.
    f.Premuto(C::TB_Punt, true);
    f.MappaPremuto(p, mappa::PulsanteSinistro);
    EXPECT_EQ(f.Testo(C::Edit1), lon);
    f.MappaRilasciato(p, mappa::PulsanteSinistro);
    EXPECT_EQ(f.Testo(C::Edit1), FormatoCoordinata(m.x));
    EXPECT_EQ(f.sCom, "Roma");
}

TEST(Strumenti, AltitudineDalComuneDelSito) {
    Form t("altitudine");
    TFMapMain& f = *t.f;
    EXPECT_TRUE(f.Visibile(C::SB_Altitudine));
    EXPECT_TRUE(f.Abilitato(C::SB_Altitudine)) << "the starting site has coordinates";
    f.Cambiato(C::Edit1, "12.4964");
    f.Cambiato(C::Edit2, "41.9028");
    f.Click(C::SB_Altitudine);
    const std::string alt = f.Testo(C::NxTextItem7);
    ASSERT_FALSE(alt.empty());
    double roma = -1;
    for (const TCoordComune& k : f.CoorCom)
        if (mappa::Da1252AUtf8(TestoCampo(k.Nome)) == "Roma")
            roma = k.Alt;
    EXPECT_EQ(alt, FormatoReale("%4.2f", roma));
    EXPECT_FALSE(f.Rapporto().empty());
}

TEST(Opzioni, ColoriECaratteriSubitoSpessoriEStileSoloAlSalvataggio) {
    Form t("opzioni_pannelli");
    TFMapMain& f = *t.f;
    const TOpzVis prima = f.opz;
    // Cancelled: nothing changes.
    t.vista.colore.reset();
    f.Click(C::SpeedButton10);
    EXPECT_EQ(std::memcmp(&prima, &f.opz, sizeof prima), 0);
    // The lakes' fill recolours the rivers' lines; the border both.
    t.vista.colore = mappa::RGBWin(1, 2, 3);
    f.Click(C::SpeedButton10);
    EXPECT_EQ(f.Map.ColoreRiempimento(LayerLaghi), mappa::RGBWin(1, 2, 3));
    EXPECT_EQ(f.Map.ColoreLinea(LayerFiumi), mappa::RGBWin(1, 2, 3));
    EXPECT_EQ(uint32_t{f.opz.ColR_LF}, mappa::RGBWin(1, 2, 3));
    EXPECT_EQ(f.Stato(C::SpeedButton10).colore, mappa::RGBWin(1, 2, 3)) << "the swatch";
    t.vista.colore = mappa::RGBWin(4, 5, 6);
    f.Click(C::SpeedButton9);
    EXPECT_EQ(f.Map.ColoreLinea(LayerLaghi), mappa::RGBWin(4, 5, 6));
    EXPECT_EQ(f.Map.ColoreLinea(LayerFiumi), mappa::RGBWin(4, 5, 6));
    // A font with its colour: the labels on the map at once, and the options.
    f.Scelto(C::Radiogroup1, ModoLocalita);
    f.Premuto(C::TB_Punt, true);
    f.MappaRilasciato(f.Map.MappaAPixel({12.4964, 41.9028}), mappa::PulsanteSinistro);
    ASSERT_EQ(f.Map.Etichette(LayerComuni).size(), 1u);
    const std::string lungo(60, 'F');
    t.vista.carattere = mappa::TCarattere{lungo, 13.6};
    t.vista.coloreCarattere = mappa::RGBWin(200, 0, 100);
    f.Click(C::NxToolbarItem10);
    EXPECT_EQ(NomeCarattere(f.opz.NameCar_Com), std::string(50, 'F')) << "cut to 50 characters";
    EXPECT_EQ(int32_t{f.opz.SizeCar_Com}, 14);
    EXPECT_EQ(uint32_t{f.opz.ColCar_Com}, mappa::RGBWin(200, 0, 100));
    const mappa::TEtichetta& e = f.Map.Etichette(LayerComuni)[0];
    EXPECT_EQ(e.colore, mappa::RGBWin(200, 0, 100));
    EXPECT_EQ(f.Map.CarattereEtichetta(LayerComuni, e).nome, std::string(50, 'F'));
    // The grid's font has no colour: only name and size.
    t.vista.carattere = mappa::TCarattere{"Courier", 7};
    f.Click(C::NxToolbarItem3);
    EXPECT_EQ(NomeCarattere(f.opz.NameCar), "Courier");
    EXPECT_EQ(f.Map.FontLayer(LayerGriglia).nome, "Courier");
    // Widths and the point style: on the map now, in the options on saving.
    f.Cambiato(C::SE_SpessBReg, "7");
    f.Cambiato(C::SpinEdit3, "4");
    EXPECT_DOUBLE_EQ(f.Map.SpessoreLinea(LayerRegioni), 7);
    EXPECT_DOUBLE_EQ(f.Map.SpessoreLinea(LayerFiumi), 4);
    t.vista.voceStile = 3; // "Rombo"
    f.Click(C::SB_StilePnt);
    EXPECT_EQ(f.Map.TipoPunto(LayerGriglia), 2);
    EXPECT_EQ(t.vista.immagini[C::SB_StilePnt], 2) << "the button shows the glyph";
    EXPECT_EQ(int32_t{f.opz.SpessB_Reg}, int32_t{prima.SpessB_Reg});
    EXPECT_EQ(int32_t{f.opz.StilePunti}, int32_t{prima.StilePunti});
    f.Click(C::ToolButton18);
    EXPECT_EQ(int32_t{f.opz.SpessB_Reg}, 7);
    EXPECT_EQ(int32_t{f.opz.SpessB_LF}, 4);
    EXPECT_EQ(int32_t{f.opz.StilePunti}, 2);
    EXPECT_EQ(int32_t{f.opz.indImmPunti}, 2);
    // The file holds it all, and a new dialog starts from it.
    Vista altra;
    TFMapMain g(t.dati.p, altra);
    EXPECT_EQ(int32_t{g.opz.SpessB_Reg}, 7);
    EXPECT_EQ(uint32_t{g.opz.ColCar_Com}, mappa::RGBWin(200, 0, 100));
    EXPECT_EQ(g.Map.TipoPunto(LayerGriglia), 2);
    EXPECT_EQ(altra.immagini[C::SB_StilePnt], 2);
    // Leaving the picker with "Chiudi" keeps the style it shows.
    altra.voceStile = 0;
    g.Click(C::SB_StilePnt);
    EXPECT_EQ(g.Map.TipoPunto(LayerGriglia), 2);
    EXPECT_EQ(altra.immagini[C::SB_StilePnt], 2);
}

TEST(Opzioni, NomiCaricatiUnaVoltaConProgressoPoiSoloMostrati) {
    Form t("nomi");
    TFMapMain& f = *t.f;
    const int n = f.sf_COM->NumShape();
    EXPECT_EQ(n, 7899);
    f.Premuto(C::CB_VisNomiCom, true);
    ASSERT_EQ(t.vista.progressi.size(), 1u);
    EXPECT_EQ(t.vista.progressi[0], "Carico i nomi dei Comuni...");
    EXPECT_EQ(t.vista.massimo, n);
    EXPECT_EQ(t.vista.passi, n);
    EXPECT_EQ(t.vista.aperti, 0) << "the progress dialog is closed";
    ASSERT_EQ(f.Map.Nomi(LayerComuni).size(), static_cast<std::size_t>(n));
    EXPECT_TRUE(f.Map.NomiVisibili(LayerComuni));
    // Each name at the centre of its shape's box, in the group's font.
    const auto& box = f.sf_COM->Shape(0).estensione;
    EXPECT_DOUBLE_EQ(f.Map.Nomi(LayerComuni)[0].x, box.xMin + (box.xMax - box.xMin) / 2);
    EXPECT_EQ(f.Map.ColoreEtichette(LayerComuni), uint32_t{f.opz.ColCar_Com});
    EXPECT_EQ(f.Map.FontLayer(LayerComuni).nome, NomeCarattere(f.opz.NameCar_Com));
    bool roma = false;
    for (const auto& e : f.Map.Nomi(LayerComuni))
        roma = roma || e.testo == "Roma";
    EXPECT_TRUE(roma);
    // Later clicks only toggle.
    f.Premuto(C::CB_VisNomiCom, false);
    EXPECT_FALSE(f.Map.NomiVisibili(LayerComuni));
    f.Premuto(C::CB_VisNomiCom, true);
    EXPECT_EQ(t.vista.progressi.size(), 1u);
    EXPECT_EQ(f.Map.Nomi(LayerComuni).size(), static_cast<std::size_t>(n));
    // Each layer has its own, with its own text.
    f.Premuto(C::CB_VisNomiReg, true);
    ASSERT_EQ(t.vista.progressi.size(), 2u);
    EXPECT_EQ(t.vista.progressi[1], "Carico i nomi delle Regioni...");
    EXPECT_EQ(f.Map.Nomi(LayerRegioni).size(), static_cast<std::size_t>(f.sf_REG->NumShape()));
    // A second dialog in the same process has a map of its own: its first
    // click loads the names again.
    Vista altra;
    TFMapMain g(t.dati.p, altra);
    g.Premuto(C::CB_VisNomiProv, true);
    g.Premuto(C::CB_VisNomiCom, true);
    ASSERT_EQ(altra.progressi.size(), 2u);
    EXPECT_EQ(altra.progressi[0], "Carico i nomi delle Province...");
    EXPECT_EQ(g.Map.Nomi(LayerComuni).size(), static_cast<std::size_t>(n));
}
