// The main form as a user meets it: what it shows when opened, the display
// options it reads and writes, the grid and its legend, the floating-point
// control word, and that closing it leaves nothing behind.
#include "dialog/TFMapMain.h"
#include "dialog/dialogo.h"
#include "dialog/legenda.h"
#include "dialog/testi.h"
#include "tests/dialog/supporto_qt.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <cstring>

#include <fstream>

using namespace veltrano::dialogo;
using veltrano::test::CartellaDatiProva;

namespace {

std::filesystem::path CartellaSchermate() {
    const auto p = std::filesystem::path(VELTRANO_SCHERMATE);
    std::filesystem::create_directories(p);
    return p;
}

class FormPrincipale : public ::testing::Test {
protected:
    void TearDown() override { veltrano::test::NessunaFinestraRimasta(); }
};

} // namespace

TEST_F(FormPrincipale, SchermateATuttaEstensioneESuUnaProvincia) {
    const auto dati = CartellaDatiProva("schermate");
    auto f = std::make_unique<TFMapMain>(dati);
    f->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(f.get()));
    QTest::qWait(20);
    // Larger than the offscreen screen's maximised size, to be read.
    f->setWindowState(Qt::WindowNoState);
    f->resize(1400, 950);
    QTest::qWait(50);
    f->grab().save(QString::fromStdString((CartellaSchermate() / "dialogo_italia.png").string()));
    // The grid switched on, then a province filled with its municipalities.
    auto* griglia = f->NextInspector3->ItemDi<veltrano::widgets::TCategoria>("CB_VisGriglia");
    griglia->Casella()->click();
    QTest::qWait(20);
    f->grab().save(QString::fromStdString((CartellaSchermate() / "dialogo_griglia.png").string()));
    griglia->Casella()->click();
    f->Map->ImpostaLayerVisibile(LayerComuni, true);
    int perugia = -1;
    for (int i = 0; i < f->sf_PROV->NumShape(); ++i)
        if (f->sf_PROV->ValoreCella(2, i) == "Perugia")
            perugia = i;
    ASSERT_GE(perugia, 0);
    f->layerHandle = LayerProvince;
    f->shpHandle = perugia;
    f->ZoomSelezione();
    QTest::qWait(20);
    f->grab().save(QString::fromStdString((CartellaSchermate() / "dialogo_provincia.png").string()));
    f.reset();
    std::filesystem::remove_all(dati);
}

namespace {

struct Form {
    std::filesystem::path dati;
    std::unique_ptr<TFMapMain> f;
    explicit Form(const std::string& nome, std::function<void(const std::filesystem::path&)> prepara = {}) {
        dati = CartellaDatiProva(nome);
        if (prepara)
            prepara(dati);
        f = std::make_unique<TFMapMain>(dati);
        f->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(f.get()));
        QTest::qWait(10);
    }
    ~Form() {
        f.reset();
        std::filesystem::remove_all(dati);
    }
    veltrano::widgets::TItemInspector* Sito(const char* n) const { return f->NextInspector1->Item(n); }
    veltrano::widgets::TCategoria* Casella(const char* n) const {
        auto* c = f->NextInspector3->ItemDi<veltrano::widgets::TCategoria>(n);
        return c ? c : f->NextInspector4->ItemDi<veltrano::widgets::TCategoria>(n);
    }
};

} // namespace

TEST_F(FormPrincipale, ComeLaVedeUnNuovoUtente) {
    Form t("nuovo");
    TFMapMain& f = *t.f;
    EXPECT_EQ(f.windowTitle(), "Veltrano " VELTRANO_VERSIONE);
    EXPECT_TRUE(f.LbAvviso->text().contains("2023"));
    EXPECT_FALSE(f.LbAvviso->text().contains("2010"));
    ASSERT_EQ(f.Map->NumLayer(), 7);
    EXPECT_EQ(f.idLayer, 6);
    for (int l = 0; l < 7; ++l)
        EXPECT_EQ(f.Map->LayerVisibile(l), l == LayerRegioni) << "layer " << l;
    EXPECT_EQ(f.Map->Shapefile(LayerStrade), nullptr) << "no roads file: an empty layer";
    EXPECT_EQ(f.Map->ColoreSfondo(), veltrano::mappa::RGBWin(153, 217, 234));
    EXPECT_FALSE(f.Panel9->isVisible()) << "legend hidden until GRIGLIA is checked";
    EXPECT_FALSE(f.Panel7->isVisible());
    EXPECT_FALSE(f.Panel10->isVisible());
    EXPECT_EQ(f.layerHandle, -1);
    EXPECT_EQ(f.shpHandle, -1);
    EXPECT_EQ(f.Map->ModoCursore(), veltrano::mappa::ModoZoomPiu);
    EXPECT_TRUE(f.TB_ZoomPiu->isChecked());
    EXPECT_EQ(t.Sito("Radiogroup1")->Valore(), "per Coordinate");
    EXPECT_EQ(t.Sito("Edit1")->Valore(), "16.2124");
    EXPECT_EQ(t.Sito("Edit2")->Valore(), "38.1517");
    EXPECT_TRUE(t.Sito("NxTextItem5")->SolaLettura());
    EXPECT_FALSE(t.Sito("Edit1")->SolaLettura());
    EXPECT_FALSE(t.Sito("cmb_Reg")->Abilitato());
    EXPECT_EQ(t.Sito("ComboBox1")->Valore(), "II");
    EXPECT_EQ(t.Sito("EditEx3")->Valore(), "50");
    EXPECT_EQ(f.NextInspector3->Item("NxComboBoxItem1")->Valore(), "475 anni");
    EXPECT_EQ(f.NextInspector1->currentItem(), t.Sito("Radiogroup1")->Riga());
    EXPECT_TRUE(f.PannelliStato[0]->text().startsWith(QString::fromUtf8("Longitudine = 16.2124° - Latitudine = 38.1517°")));
    auto* com = f.NextInspector1->ItemDi<veltrano::widgets::TItemCombo>("cmb_Com");
    EXPECT_EQ(com->Elementi().size(), 7900) << "every municipality after the placeholder";
    EXPECT_EQ(f.TB_Punt->toolTip(), "Seleziona sito");
    EXPECT_EQ(f.ToolButton18->toolTip(), "Salva Opzioni");
    EXPECT_EQ(f.Map->geometry(), f.WebBrowser1->geometry());
}

TEST_F(FormPrincipale, ParolaDiControlloDelDialogoERipristino) {
    const uint16_t prima = LeggiParolaControllo();
    ImpostaParolaControllo(0x037F);
    {
        Form t("fpu");
        // Bit 6 of the x87 word is reserved and always reads as set.
        EXPECT_EQ(LeggiParolaControllo() & ~0x40, ParolaControlloDialogo);
        EXPECT_EQ(t.f->fpu.Salvata(), 0x037F);
    }
    EXPECT_EQ(LeggiParolaControllo(), 0x037F);
    ImpostaParolaControllo(prima);
}

TEST_F(FormPrincipale, OpzioniLetteESalvate) {
    Form t("opzioni", [](const std::filesystem::path& d) {
        TOpzVis o = OpzioniPredefinite();
        o.indTempoR = 8;
        o.SpessB_Prov = 4;
        SalvaOpzioni(d / "Opzioni.dat", o);
    });
    TFMapMain& f = *t.f;
    EXPECT_EQ(f.NextInspector3->Item("NxComboBoxItem1")->Valore(), "2475 anni");
    EXPECT_FLOAT_EQ(f.Map->SpessoreLinea(LayerProvince), 4);
    f.NextInspector4->ItemDi<veltrano::widgets::TItemSpin>("SE_SpessBCom")->ImpostaNumero(6);
    EXPECT_FLOAT_EQ(f.Map->SpessoreLinea(LayerComuni), 6);
    f.ToolButton18->trigger();
    const TOpzVis l = CaricaOpzioni(t.dati / "Opzioni.dat");
    EXPECT_EQ(int32_t{l.indTempoR}, 8);
    EXPECT_EQ(int32_t{l.SpessB_Com}, 6);
    EXPECT_EQ(std::filesystem::file_size(t.dati / "Opzioni.dat"), 304u);
}

TEST_F(FormPrincipale, SenzaFileDiOpzioniSalvaLePredefinite) {
    Form t("predefinite");
    EXPECT_FALSE(std::filesystem::exists(t.dati / "Opzioni.dat")) << "creation writes nothing";
    t.f->ToolButton18->trigger();
    const TOpzVis l = CaricaOpzioni(t.dati / "Opzioni.dat");
    const TOpzVis p = OpzioniPredefinite();
    EXPECT_EQ(std::memcmp(&l, &p, sizeof l), 0);
}

TEST_F(FormPrincipale, GrigliaLegendaEPannelli) {
    Form t("griglia");
    TFMapMain& f = *t.f;
    t.Casella("CB_VisGriglia")->Casella()->click();
    EXPECT_TRUE(f.Map->LayerVisibile(LayerGriglia));
    EXPECT_TRUE(f.Panel9->isVisible());
    EXPECT_EQ(f.Lb[0]->text(), "0.000");
    EXPECT_EQ(f.Lb[10]->text(), "0.250-0.278");
    EXPECT_EQ(f.Lb[10]->palette().color(QPalette::Window), QColor(255, 15, 15));
    // The node with the largest ag is red; its label names it.
    int massimo = 1;
    for (int n = 1; n <= veltrano::NumNodi; ++n)
        if (f.GrigliaDati().ag(6, n) > f.GrigliaDati().ag(6, massimo))
            massimo = n;
    EXPECT_EQ(f.Map->ColorePuntoShape(LayerGriglia, massimo - 1), ColoriClassi[10]);
    EXPECT_EQ(f.Map->Etichette(LayerGriglia).size(), static_cast<std::size_t>(veltrano::NumNodi));
    EXPECT_FALSE(f.Map->EtichetteVisibili(LayerGriglia));
    f.NextInspector3->ItemDi<veltrano::widgets::TItemCheck>("CB_VisEticPnt")->ImpostaSpuntato(true);
    emit f.NextInspector3->PulsanteCliccato(f.NextInspector3->Item("CB_VisEticPnt"), 0);
    EXPECT_TRUE(f.Map->EtichetteVisibili(LayerGriglia));
    // "2475 anni" rescales the legend.
    auto* tr = f.NextInspector3->ItemDi<veltrano::widgets::TItemCombo>("NxComboBoxItem1");
    tr->ImpostaIndice(8);
    emit tr->Lista()->activated(8);
    EXPECT_NE(f.Lb[10]->text(), "0.250-0.278");
    t.Casella("CB_VisGriglia")->Casella()->click();
    EXPECT_FALSE(f.Map->LayerVisibile(LayerGriglia));
    EXPECT_FALSE(f.Panel9->isVisible());
    // "LAGHI E FIUMI" shows and hides both layers.
    t.Casella("CheckBox3")->Casella()->click();
    EXPECT_TRUE(f.Map->LayerVisibile(LayerLaghi));
    EXPECT_TRUE(f.Map->LayerVisibile(LayerFiumi));
    EXPECT_EQ(f.Map->ColoreLinea(LayerFiumi), uint32_t{f.opz.ColR_LF}) << "rivers in the lakes' fill colour";
    t.Casella("CheckBox3")->Casella()->click();
    EXPECT_FALSE(f.Map->LayerVisibile(LayerFiumi));
    // The geographic options panel hides the grid even when checked.
    t.Casella("CB_VisGriglia")->Casella()->click();
    f.TB_Griglia->trigger();
    EXPECT_TRUE(f.Panel7->isVisible());
    EXPECT_FALSE(f.Map->LayerVisibile(LayerGriglia));
    f.TB_Opzioni->trigger();
    EXPECT_TRUE(f.Panel10->isVisible());
    EXPECT_FALSE(f.Panel7->isVisible());
    QTest::qWait(10);
    EXPECT_EQ(f.Map->geometry(), f.WebBrowser1->geometry()) << "the map follows the free rectangle";
}

TEST_F(FormPrincipale, StradeDaUnRoadsShpAggiunto) {
    Form t("strade", [](const std::filesystem::path& d) {
        veltrano::mappa::TShapefile sf;
        sf.Crea(veltrano::mappa::ShapeLinea);
        sf.InizioModifica();
        veltrano::mappa::TShape s;
        s.tipo = veltrano::mappa::ShapeLinea;
        s.punti = {{12.4, 41.9}, {14.2, 40.8}};
        sf.InserisciShape(s, 0);
        sf.FineModifica(true);
        ASSERT_TRUE(sf.SalvaCome((d / "Shape/Dettagli/roads.shp").string()));
    });
    ASSERT_NE(t.f->Map->Shapefile(LayerStrade), nullptr);
    EXPECT_EQ(t.f->Map->Shapefile(LayerStrade)->NumShape(), 1);
    EXPECT_EQ(t.f->Map->ColoreLinea(LayerStrade), veltrano::mappa::RGBWin(128, 0, 0));
}

TEST_F(FormPrincipale, RicercaDelComuneDalPixel) {
    Form t("ricerca");
    TFMapMain& f = *t.f;
    const QPointF p = f.Map->MappaAPixel({12.4837, 41.8928});
    double lon = 0, lat = 0;
    int r = -2, pr = -2, c = -2;
    f.CercaComunePunto(true, p.x(), p.y(), lon, lat, r, pr, c);
    EXPECT_NEAR(lon, 12.4837, 0.05);
    ASSERT_GE(c, 0);
    EXPECT_EQ(f.sf_COM->ValoreCella(6, c), "Roma");
    f.CercaComunePunto(false, 5.0, 35.0, lon, lat, r, pr, c);
    EXPECT_EQ(c, -1);
    EXPECT_EQ(lon, 5.0);
}

TEST_F(FormPrincipale, DialogoModaleChiusoDaAnnulla) {
    const auto dati = CartellaDatiProva("modale");
    // Never block: close the modal form from a timer, as a user would.
    QTimer::singleShot(200, [] {
        if (auto* f = qobject_cast<TFMapMain*>(QApplication::activeModalWidget()))
            f->SB_Annulla->click();
    });
    EXPECT_EQ(EseguiDialogo(dati), 1);
    std::filesystem::remove_all(dati);
}

TEST_F(FormPrincipale, DatiMancantiSonoUnErrore) {
    const auto vuota = std::filesystem::temp_directory_path() / "veltrano_qt_vuota";
    std::filesystem::create_directories(vuota);
    EXPECT_THROW(TFMapMain f(vuota), veltrano::ErroreApertura);
    std::filesystem::remove_all(vuota);
}
