// The Qt window as a user drives it: the widgets carry the controls' names
// and texts, a choice in a widget reaches the form and the form's answer
// reaches the widgets, the keyboard confirms and cancels, the option panels
// toggle at the first click, the lists show their texts whole, and the
// closing picture opens in Qt. Screenshots go to build/schermate.
#include "dialog/coordinate.h"
#include "dialog/testi.h"
#include "map/amministrativi.h"
#include "ui/qt/TFMapMainQt.h"
#include "ui/qt/dialogo_qt.h"
#include "tests/ui/supporto_qt.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <cstring>

using namespace veltrano;
using namespace veltrano::dialogo;
using veltrano::ui::TFMapMainQt;
using C = TControllo;

namespace {

// The window and its form, shown non-modally at full-screen size.
struct Finestra : test::FinestraProva {
    explicit Finestra(const std::string& nome, const TParametriDialogo& p = {}) : FinestraProva(nome) {
        Apri(13.4f, 42.35f, 1920, 1080, p);
    }
    template <class T> T* Cerca(C c) const { return w.findChild<T*>(NomeControllo(c)); }
    // The user picks the item with that text in a drop-down.
    void Scegli(C c, const QString& testo) {
        auto* combo = Cerca<QComboBox>(c);
        ASSERT_NE(combo, nullptr) << NomeControllo(c);
        const int i = combo->findText(testo);
        ASSERT_GE(i, 0) << testo.toStdString();
        combo->setCurrentIndex(i);
        emit combo->activated(i);
        QApplication::processEvents();
    }
};

class Finestre : public ::testing::Test {
protected:
    void TearDown() override { test::NessunaFinestraRimasta(); }
};

// A closure of the active modal window by a timer, as a user would do it.
void Poi(int ms, std::function<void(QWidget*)> azione) {
    QTimer::singleShot(ms, [azione] {
        QWidget* w = QApplication::activeModalWidget();
        ASSERT_NE(w, nullptr);
        azione(w);
    });
}

} // namespace

TEST_F(Finestre, ComeLaVedeUnNuovoUtente) {
    Finestra t("qt_nuovo");
    EXPECT_EQ(t.w.windowTitle(), "Veltrano " VELTRANO_VERSIONE);
    for (int i = 0; i < NumControlli; ++i) {
        const C c = static_cast<C>(i);
        EXPECT_TRUE(t.w.Widget(c) || t.w.Azione(c) || t.w.Item(c)) << NomeControllo(c) << " has no widget";
    }
    EXPECT_EQ(t.Cerca<QComboBox>(C::Radiogroup1)->currentText(), "per Coordinate");
    EXPECT_FALSE(t.Cerca<QComboBox>(C::cmb_Reg)->isEnabled());
    EXPECT_EQ(t.w.Azione(C::TB_Punt)->toolTip(), "Seleziona sito");
    EXPECT_EQ(t.w.Azione(C::ToolButton18)->toolTip(), "Salva Opzioni");
    EXPECT_TRUE(t.w.Azione(C::TB_ZoomPiu)->isChecked());
    EXPECT_EQ(t.Cerca<QPushButton>(C::SB_Chiudi)->text(), "CHIUDI");
    EXPECT_TRUE(t.Cerca<QPushButton>(C::SB_Chiudi)->isDefault()) << "Return confirms";
    EXPECT_FALSE(t.Cerca<QPushButton>(C::SB_Annulla)->isVisible()) << "free mode";
    EXPECT_EQ(t.w.Map->geometry(), t.w.WebBrowser1->geometry());
    EXPECT_EQ(t.w.Map->width(), t.f->Map.Larghezza()) << "the form knows the map's size";
    EXPECT_TRUE(t.Cerca<QLabel>(C::StatusPanel0)->text().startsWith(QString::fromUtf8("Longitudine = 13.4000°")));
    // The report panel: the form's lines, Courier New bold, white on blue.
    const QStringList righe = t.w.LR_Dati->toPlainText().split('\n');
    ASSERT_EQ(righe.size(), static_cast<qsizetype>(t.f->Rapporto().size()));
    EXPECT_EQ(righe[2].toStdString(), t.f->Rapporto()[2]);
    EXPECT_TRUE(t.w.LR_Dati->font().bold());
    EXPECT_EQ(t.w.LR_Dati->palette().color(QPalette::Base), QColor(49, 106, 197));
    EXPECT_EQ(t.w.LR_Dati->palette().color(QPalette::Text), QColor(Qt::white));
    t.Schermata("dialogo_italia.png");
}

TEST_F(Finestre, SardegnaProvinciaEComuneDaiWidget) {
    Finestra t("qt_sardegna");
    t.Scegli(C::Radiogroup1, QString::fromUtf8("per Località"));
    EXPECT_TRUE(t.Cerca<QComboBox>(C::cmb_Reg)->isEnabled());
    t.Scegli(C::cmb_Reg, "Sardegna");
    auto* prov = t.Cerca<QComboBox>(C::cmb_Prov);
    EXPECT_TRUE(prov->isEnabled());
    ASSERT_EQ(static_cast<std::size_t>(prov->count()), t.f->Stato(C::cmb_Prov).elementi.size());
    EXPECT_EQ(prov->itemText(0), "- Scegliere la provincia -");
    t.Schermata("dialogo_sardegna.png");
    t.Scegli(C::cmb_Prov, "Nuoro");
    t.Schermata("dialogo_provincia.png");
    t.Scegli(C::cmb_Com, "Nuoro");
    EXPECT_EQ(t.f->sCom, "Nuoro");
    auto* lon = t.Cerca<QLineEdit>(C::Edit1);
    ASSERT_NE(lon, nullptr);
    EXPECT_EQ(lon->text().toStdString(), t.f->Testo(C::Edit1));
    EXPECT_TRUE(t.w.LR_Dati->toPlainText().contains("Allegato B - Tabella 2")) << "Sardinia: the code's fixed values";
    EXPECT_TRUE(t.Cerca<QLabel>(C::StatusPanel1)->text().endsWith(" - Nuoro"));
    t.Schermata("dialogo_sardegna_comune.png");
    // Regression: the inspector's drop-downs were cut at full screen
    // ("- Scegliere la reg", issue 9). Each list shows its text whole.
    for (C c : {C::Radiogroup1, C::cmb_Reg, C::cmb_Prov, C::cmb_Com, C::ComboBox2}) {
        auto* combo = t.Cerca<QComboBox>(c);
        QStyleOptionComboBox o;
        o.initFrom(combo);
        const QRect testo = combo->style()->subControlRect(QStyle::CC_ComboBox, &o, QStyle::SC_ComboBoxEditField, combo);
        EXPECT_GE(testo.width(), combo->fontMetrics().horizontalAdvance(combo->currentText()))
            << NomeControllo(c) << ": " << combo->currentText().toStdString();
    }
    t.Scegli(C::cmb_Reg, QString::fromUtf8("Valle d'Aosta/Vallée d'Aoste"));
    auto* reg = t.Cerca<QComboBox>(C::cmb_Reg);
    EXPECT_GE(reg->view()->minimumWidth(), reg->fontMetrics().horizontalAdvance(reg->currentText()))
        << "the open list shows the longest name whole";
}

// Regression: the option panels scrolled sideways at the first click
// instead of toggling (issue 9).
TEST_F(Finestre, PannelloOpzioniCommutaAlPrimoClic) {
    Finestra t("qt_opzioni");
    t.w.Azione(C::TB_Griglia)->trigger();
    QApplication::processEvents();
    ASSERT_TRUE(t.Cerca<QWidget>(C::Panel7)->isVisible());
    auto* casella = t.w.NextInspector3->findChild<QCheckBox*>("CB_VisGriglia");
    ASSERT_NE(casella, nullptr);
    // The click lands in the middle of the cell, away from the small square.
    QTest::mouseClick(casella, Qt::LeftButton, {}, casella->rect().center() + QPoint(casella->width() / 4, 0));
    EXPECT_TRUE(casella->isChecked());
    EXPECT_TRUE(t.f->Giu(C::CB_VisGriglia));
    EXPECT_TRUE(t.f->Map.LayerVisibile(LayerGriglia));
    EXPECT_EQ(t.w.NextInspector3->horizontalScrollBar()->value(), 0);
    EXPECT_TRUE(t.Cerca<QWidget>(C::Panel9)->isVisible()) << "the legend shows";
    EXPECT_EQ(t.Cerca<QLabel>(C::Lb11)->text(), "0.250-0.278");
    t.Schermata("dialogo_griglia.png");
    QTest::mouseClick(casella, Qt::LeftButton, {}, casella->rect().center());
    EXPECT_FALSE(t.f->Map.LayerVisibile(LayerGriglia));
    EXPECT_EQ(t.w.NextInspector3->horizontalScrollBar()->value(), 0);
}

TEST_F(Finestre, RidimensionareTieneLaMappaSulRettangoloESulComune) {
    Finestra t("qt_ridimensiona");
    t.Scegli(C::Radiogroup1, QString::fromUtf8("per Località"));
    t.Scegli(C::cmb_Com, "Bologna");
    t.w.setGeometry(0, 0, 1200, 900);
    QTest::qWait(50);
    EXPECT_EQ(t.w.Map->geometry(), t.w.WebBrowser1->geometry());
    const mappa::TEstensione e = t.f->Map.Estensione();
    const mappa::TEstensione c = t.f->sf_COM->Shape(t.f->shpHandle).estensione;
    EXPECT_TRUE(e.xMin <= c.xMin && e.xMax >= c.xMax && e.yMin <= c.yMin && e.yMax >= c.yMax);
}

TEST_F(Finestre, MessaggiDaUnaSolaFunzione) {
    Finestra t("qt_messaggi");
    QStringList visti;
    const auto prima = TFMapMainQt::MostraMessaggio;
    TFMapMainQt::MostraMessaggio = [&](QWidget*, const QString& m) { visti << m; };
    auto* lon = t.Cerca<QLineEdit>(C::Edit1);
    lon->setFocus();
    lon->selectAll();
    QTest::keyClicks(lon, "tredici");
    EXPECT_EQ(t.f->Testo(C::Edit1), "tredici") << "typing reaches the form";
    t.Cerca<QPushButton>(C::SB_Applica)->click();
    TFMapMainQt::MostraMessaggio = prima;
    ASSERT_EQ(visti.size(), 1);
    EXPECT_EQ(visti[0], QString::fromUtf8("\"tredici\" non è un valore numerico valido"));
}

TEST_F(Finestre, InvioConfermaEscAnnulla) {
    test::CartellaTemporanea dati("qt_tastiera");
    TGIS_DatiOut d;
    std::memset(&d, 0, sizeof d);
    d.LonSito = 12.4964f;
    d.LatSito = 41.9028f;
    d.TipoRic = 1;
    TParametriDialogo p;
    p.ClasseUso = 2;
    p.CategoriaVN = 2;
    p.VN = 50;
    Poi(300, [](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
    EXPECT_EQ(ui::EseguiDialogoQt(dati.p, p, d), TEsito::Annulla);
    EXPECT_EQ(d.NumVert, 0) << "cancelled: no hazard written";
    EXPECT_NE(float{d.LonSitoED50}, 0.0f);
    Poi(300, [](QWidget* w) { QTest::keyClick(w, Qt::Key_Return); });
    EXPECT_EQ(ui::EseguiDialogoQt(dati.p, p, d), TEsito::Ok);
    EXPECT_EQ(d.NumVert, 4);
    EXPECT_EQ(d.TipoRic, 1);
    EXPECT_GT(float{d.SLV.ag}, 0.1f);
    // Closing the window is a cancel too.
    TGIS_DatiOut e = d;
    e.NumVert = 99;
    Poi(300, [](QWidget* w) { w->close(); });
    EXPECT_EQ(ui::EseguiDialogoQt(dati.p, p, e), TEsito::Annulla);
    EXPECT_EQ(e.NumVert, 99);
}

// Return in the user-site editor ends the field and moves to the next one:
// the site being typed is not the dialog's, so it must not confirm.
// Elsewhere Return still confirms.
TEST_F(Finestre, InvioNellEditorDeiSitiPassaAlCampoSeguente) {
    Finestra t("qt_editor_siti");
    t.Scegli(C::Radiogroup1, "Utente"); // opens the editor
    auto* nome = t.Cerca<QLineEdit>(C::edComUt);
    auto* lon = t.Cerca<QLineEdit>(C::EdLongUt);
    auto* lat = t.Cerca<QLineEdit>(C::EdLatUt);
    ASSERT_TRUE(nome && lon && lat);
    ASSERT_TRUE(nome->isVisible());
    nome->setFocus();
    QTest::keyClicks(nome, "Cantiere Nord");
    QTest::keyClick(nome, Qt::Key_Return);
    EXPECT_TRUE(t.w.isVisible()) << "Return in the editor confirmed the dialog";
    EXPECT_TRUE(lon->hasFocus());
    EXPECT_EQ(t.f->Testo(C::edComUt), "Cantiere Nord");
    QTest::keyClicks(lon, "13.4");
    QTest::keyClick(lon, Qt::Key_Return);
    QTest::keyClicks(lat, "42.35");
    QTest::keyClick(lat, Qt::Key_Return);
    EXPECT_TRUE(t.w.isVisible());
    EXPECT_FALSE(lat->hasFocus());
    EXPECT_EQ(t.f->Testo(C::EdLatUt), "42.35");
    QTest::keyClick(t.Cerca<QLineEdit>(C::Edit1), Qt::Key_Return);
    EXPECT_EQ(t.w.result(), QDialog::Accepted) << "Return in the site's own fields confirms";
}

TEST_F(Finestre, ImmagineDellaMagliaApertaConQt) {
    test::CartellaTemporanea dati("qt_immagine");
    TGIS_DatiOut d;
    std::memset(&d, 0, sizeof d);
    d.LonSito = 13.4f;
    d.LatSito = 42.35f;
    d.TipoRic = 1;
    TParametriDialogo p;
    p.ClasseUso = 2;
    p.CategoriaVN = 2;
    p.VN = 50;
    p.FileImmagine = dati.p / "maglia.bmp";
    QSize mappa;
    Poi(300, [&](QWidget* w) {
        auto* m = w->findChild<QWidget*>("Map");
        ASSERT_NE(m, nullptr);
        mappa = m->size();
        w->findChild<QPushButton*>("SB_Chiudi")->click();
    });
    ASSERT_EQ(ui::EseguiDialogoQt(dati.p, p, d), TEsito::Ok);
    QImage im(QString::fromStdString(p.FileImmagine.string()));
    ASSERT_FALSE(im.isNull()) << "a Windows bitmap Qt reads";
    EXPECT_EQ(im.width(), qRound(mappa.width() * 2.0 / 3.0));
    EXPECT_EQ(im.height(), qRound(mappa.height() * 2.0 / 3.0));
    // The hidden grid shows every node in black, the site's municipality is
    // yellow, the sides of the cell are black.
    int neri = 0, gialli = 0;
    for (int y = 0; y < im.height(); ++y)
        for (int x = 0; x < im.width(); ++x) {
            const QColor c = im.pixelColor(x, y);
            neri += c == QColor(Qt::black);
            gialli += c == QColor(255, 255, 0);
        }
    EXPECT_GE(neri, 200) << "four node squares at least";
    EXPECT_GT(gialli, im.width() * im.height() / 50);
    im.save(QString::fromStdString((test::CartellaSchermate() / "maglia.png").string()));
}

// Regression: names at the map's edge were cut ("gnano Amiterno"), and the
// site's mark hid the first letters of the name under it. L'Aquila chosen
// from the list, the municipalities' names on, the map zoomed out round it
// and then moved so that the left edge falls just left of the point of
// Cagnano Amiterno: in the picture the window shows, no navy text touches
// the map's edge or lies under the mark, and the highlighted name shows.
TEST_F(Finestre, NomiDeiComuniInteriESgombriDalSegnoDelSito) {
    Finestra t("qt_nomi");
    t.Scegli(C::Radiogroup1, QString::fromUtf8("per Località"));
    t.Scegli(C::cmb_Com, "L'Aquila");
    ASSERT_EQ(t.f->sCom, "L'Aquila");
    ASSERT_EQ(t.f->Map.Etichette(LayerComuni).size(), 1u) << "the highlighted name";
    const mappa::TEtichetta evidenziato = t.f->Map.Etichette(LayerComuni)[0];
    t.f->Premuto(C::CB_VisNomiCom, true);
    const double sx = std::stod(t.f->Testo(C::Edit1)), sy = std::stod(t.f->Testo(C::Edit2));
    // Navy text over cream, yellow or white, and its antialiased edges: blue
    // clearly above red and green (black borders and aqua water are not).
    auto controlla = [&](const char* schermata) {
        QTest::qWait(30);
        const QImage im = t.w.Map->grab().toImage();
        im.save(QString::fromStdString((test::CartellaSchermate() / schermata).string()));
        ASSERT_EQ(im.width(), t.f->Map.Larghezza());
        auto testo = [&](int x, int y) {
            if (x < 0 || y < 0 || x >= im.width() || y >= im.height())
                return false;
            const QColor c = im.pixelColor(x, y);
            return c.blue() > c.red() + 40 && c.blue() > c.green() + 40;
        };
        int sulBordo = 0, totale = 0;
        for (int x = 0; x < im.width(); ++x)
            for (int y = 0; y < im.height(); ++y) {
                totale += testo(x, y);
                sulBordo += testo(x, y) && (x == 0 || y == 0 || x == im.width() - 1 || y == im.height() - 1);
            }
        EXPECT_GT(totale, 2000) << schermata << ": many names show";
        EXPECT_EQ(sulBordo, 0) << schermata << ": a name is cut by the map's edge";
        // The mark of the site: a cross 0.02 degrees wide and tall.
        const mappa::TPuntoPx a = t.f->Map.MappaAPixel({sx - 0.01, sy + 0.01});
        const mappa::TPuntoPx b = t.f->Map.MappaAPixel({sx + 0.01, sy - 0.01});
        int sottoIlSegno = 0;
        for (int x = static_cast<int>(a.x); x <= static_cast<int>(b.x) + 1; ++x)
            for (int y = static_cast<int>(a.y); y <= static_cast<int>(b.y) + 1; ++y)
                sottoIlSegno += testo(x, y);
        EXPECT_EQ(sottoIlSegno, 0) << schermata << ": a name lies under the site's mark";
        // The highlighted name is drawn: navy pixels round the site.
        int vicini = 0;
        const mappa::TPuntoPx c = t.f->Map.MappaAPixel({sx, sy});
        for (int x = static_cast<int>(c.x) - 80; x <= static_cast<int>(c.x) + 80; ++x)
            for (int y = static_cast<int>(c.y) - 60; y <= static_cast<int>(c.y) + 60; ++y)
                vicini += testo(x, y);
        EXPECT_GT(vicini, 30) << schermata;
    };
    // 0.7 degrees wide round the centre of L'Aquila, the edges cutting
    // through the neighbouring municipalities.
    const double lon = evidenziato.x, lat = evidenziato.y;
    t.f->Map.ImpostaEstensione({lon - 0.35, lat - 0.2, lon + 0.35, lat + 0.2});
    t.Schermata("nomi_comuni_aquila.png");
    controlla("nomi_comuni_aquila_mappa.png");
    // The left edge 15 pixels left of the point of Cagnano Amiterno's name.
    const mappa::TShapefile& comuni = *t.f->sf_COM;
    int cagnano = -1;
    for (int i = 0; i < comuni.NumShape() && cagnano < 0; ++i)
        if (comuni.ValoreCella(mappa::CampoNomeComune, i) == "Cagnano Amiterno")
            cagnano = i;
    ASSERT_GE(cagnano, 0);
    const mappa::TEstensione& e = comuni.Shape(cagnano).estensione;
    const double dx = t.f->Map.PixelAMappa({15, 0}).x - t.f->Map.PixelAMappa({0, 0}).x;
    const double x0 = (e.xMin + e.xMax) / 2 - dx;
    const mappa::TEstensione v = t.f->Map.Estensione();
    t.f->Map.ImpostaEstensione({x0, v.yMin, x0 + (v.xMax - v.xMin), v.yMax});
    ASSERT_NEAR(t.f->Map.Estensione().xMin, x0, dx / 15);
    controlla("nomi_comuni_bordo_sinistro_mappa.png");
    // With the grid and its values as well, for the eye (the values' own
    // colours rule out the test above).
    t.f->Premuto(C::CB_VisGriglia, true);
    t.f->Premuto(C::CB_VisEticPnt, true);
    t.f->Map.ImpostaEstensione({lon - 0.35, lat - 0.2, lon + 0.35, lat + 0.2});
    QTest::qWait(30);
    t.w.Map->grab().save(QString::fromStdString((test::CartellaSchermate() / "nomi_griglia_aquila_mappa.png").string()));
}
