// The map tools in the Qt window as a user drives them: the library's
// cursors over the map, the menu entries checked with their buttons, a
// distance measured with the mouse, the names with their progress dialog,
// a font with its colour and the point-style picker. Screenshots go to
// build/schermate.
#include "dialog/coordinate.h"
#include "dialog/opzioni.h"
#include "map/cursori.h"
#include "ui/qt/TFMapMainQt.h"
#include "ui/qt/cursori_qt.h"
#include "ui/qt/dialogo_carattere_qt.h"
#include "ui/qt/widget_mappa.h"
#include "tests/ui/supporto_qt.h"
#include "widgets/inspector.h"

#include <QAction>
#include <QCheckBox>
#include <QFontDialog>
#include <QMouseEvent>
#include <QProgressDialog>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <cstring>

using namespace veltrano;
using namespace veltrano::dialogo;
using veltrano::ui::TFMapMainQt;
using C = TControllo;

namespace {

// The window and its form at full-screen size, the site near L'Aquila.
struct Finestra : test::FinestraProva {
    explicit Finestra(const std::string& nome) : FinestraProva(nome) {
        Apri(13.4f, 42.35f, 1920, 1080);
    }
    template <class T> T* Cerca(const QString& nome) const { return w.findChild<T*>(nome); }
    // A mouse event on the map widget, with the buttons held.
    void Mouse(QEvent::Type tipo, QPoint p, Qt::MouseButtons tenuti) {
        QMouseEvent e(tipo, QPointF(p), w.Map->mapToGlobal(QPointF(p)),
                      tipo == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, tenuti, Qt::NoModifier);
        QApplication::sendEvent(w.Map, &e);
        QApplication::processEvents();
    }
};

class StrumentiQt : public ::testing::Test {
protected:
    void TearDown() override { test::NessunaFinestraRimasta(); }
};

void Poi(int ms, std::function<void(QWidget*)> azione) {
    QTimer::singleShot(ms, [azione] {
        QWidget* w = QApplication::activeModalWidget();
        ASSERT_NE(w, nullptr);
        azione(w);
    });
}

} // namespace

TEST_F(StrumentiQt, CursoriDellaLibreriaEVociDiMenuSpuntate) {
    EXPECT_EQ(ui::CaricaCursori(), mappa::NumCursori);
    const qint64 lente = ui::CursoreSchermo(mappa::CursoreLenteIng).pixmap().cacheKey();
    EXPECT_EQ(ui::CursoreSchermo(mappa::CursoreLenteIng).shape(), Qt::BitmapCursor);
    EXPECT_EQ(ui::CursoreSchermo(mappa::CursoreLenteIng).pixmap().width(), 32) << "the 32b set";
    EXPECT_EQ(ui::CursoreSchermo(0).shape(), Qt::ArrowCursor);
    Finestra t("qt_cursori");
    // Zoom in: the magnifying glass, the same picture loaded once.
    EXPECT_EQ(t.w.Map->cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(t.w.Map->cursor().pixmap().cacheKey(), lente);
    // The menu entries of the zoom tools are checked with their buttons.
    QAction* pan = t.Cerca<QAction>("Menu_TB_Pan");
    QAction* piu = t.Cerca<QAction>("Menu_TB_ZoomPiu");
    ASSERT_NE(pan, nullptr);
    ASSERT_NE(piu, nullptr);
    EXPECT_TRUE(piu->isChecked());
    pan->trigger();
    EXPECT_TRUE(t.f->Giu(C::TB_Pan));
    EXPECT_TRUE(t.w.Azione(C::TB_Pan)->isChecked());
    EXPECT_TRUE(pan->isChecked());
    EXPECT_FALSE(piu->isChecked());
    EXPECT_FALSE(t.w.Azione(C::TB_ZoomPiu)->isChecked());
    EXPECT_EQ(t.w.Map->cursor().pixmap().cacheKey(),
              ui::CursoreSchermo(mappa::CursoreManoAperta).pixmap().cacheKey());
    // The entry of the tool that is on stays checked when chosen again.
    pan->trigger();
    EXPECT_TRUE(pan->isChecked());
    EXPECT_TRUE(t.f->Giu(C::TB_Pan));
}

TEST_F(StrumentiQt, MisuraConIlMouseSulloSchermo) {
    Finestra t("qt_misura");
    t.f->Map.ImpostaEstensione({13.20, 42.25, 13.60, 42.45});
    auto* calcola = qobject_cast<QAbstractButton*>(t.w.Widget(C::SB_CalcDist));
    ASSERT_NE(calcola, nullptr);
    QTest::mouseClick(calcola, Qt::LeftButton);
    EXPECT_TRUE(t.f->Giu(C::SB_CalcDist));
    EXPECT_EQ(t.w.Map->cursor().pixmap().cacheKey(),
              ui::CursoreSchermo(mappa::CursoreCroceNorm).pixmap().cacheKey());
    // Press anywhere (the measure starts at the site), drag, release.
    const QPoint inizio(200, 200), fine = t.w.Map->rect().center() + QPoint(260, -120);
    t.Mouse(QEvent::MouseButtonPress, inizio, Qt::LeftButton);
    t.Mouse(QEvent::MouseMove, (inizio + fine) / 2, Qt::LeftButton);
    t.Mouse(QEvent::MouseMove, fine, Qt::LeftButton);
    const std::string riga = t.f->Testo(C::NxTextItem8);
    t.Mouse(QEvent::MouseButtonRelease, fine, Qt::NoButton);
    EXPECT_FALSE(t.f->Giu(C::SB_CalcDist)) << "one measure and the tool is off";
    EXPECT_FALSE(calcola->isChecked());
    const double km = NumeroOZero(riga);
    EXPECT_GT(km, 1.0);
    EXPECT_LT(km, 50.0);
    EXPECT_EQ(t.f->Stato(C::NxTextItem8).caption, "Distanza dalla costa [km]");
    EXPECT_EQ(t.w.Item(C::NxTextItem8)->Caption().toStdString(), "Distanza dalla costa [km]");
    EXPECT_EQ(t.w.Item(C::NxTextItem8)->Valore().toStdString(), riga);
    t.Schermata("dialogo_misura.png");
}

TEST_F(StrumentiQt, NomiConProgressoCarattereColoratoEStilePunti) {
    Finestra t("qt_nomi");
    t.w.Azione(C::TB_Opzioni)->trigger();
    QApplication::processEvents();
    auto* nomi = t.w.NextInspector4->findChild<QCheckBox*>("CB_VisNomiCom");
    ASSERT_NE(nomi, nullptr);
    // The progress dialog is up while the names load.
    QString testo;
    int massimo = 0;
    QTimer::singleShot(0, [&] {
        if (t.w.Progresso1 && t.w.Progresso1->isVisible()) {
            testo = t.w.Progresso1->labelText();
            massimo = t.w.Progresso1->maximum();
        }
    });
    QTest::mouseClick(nomi, Qt::LeftButton, {}, nomi->rect().center() + QPoint(nomi->width() / 4, 0));
    EXPECT_EQ(testo, "Carico i nomi dei Comuni...");
    EXPECT_EQ(massimo, 7899);
    EXPECT_EQ(t.w.Progresso1, nullptr) << "closed at the end";
    ASSERT_TRUE(t.f->Map.NomiVisibili(LayerComuni));
    t.f->Map.ImpostaLayerVisibile(LayerComuni, true);
    t.f->Map.ImpostaEstensione({12.2, 41.7, 12.9, 42.1});
    // A font and its colour, chosen in one dialog.
    Poi(50, [](QWidget* w) {
        auto* d = qobject_cast<ui::TDialogoCarattere*>(w);
        ASSERT_NE(d, nullptr);
        ASSERT_NE(d->PulsanteColore, nullptr) << "the municipalities' labels have a colour";
        QFont f = d->Scelta->currentFont();
        f.setPointSize(11);
        f.setBold(true);
        d->Scelta->setCurrentFont(f);
        d->ImpostaColore(QColor(160, 0, 80));
        d->accept();
    });
    auto* carattere = dynamic_cast<widgets::TItemPulsanti*>(t.w.Item(C::NxToolbarItem10));
    ASSERT_NE(carattere, nullptr);
    carattere->Pulsante(0)->click();
    EXPECT_EQ(uint32_t{t.f->opz.ColCar_Com}, mappa::RGBWin(160, 0, 80));
    EXPECT_EQ(int32_t{t.f->opz.SizeCar_Com}, 11);
    EXPECT_EQ(t.f->Map.ColoreEtichette(LayerComuni), mappa::RGBWin(160, 0, 80));
    t.Schermata("dialogo_nomi.png");

    // The point-style picker: "Rombo", and the button shows the glyph.
    t.w.Azione(C::TB_Griglia)->trigger();
    QApplication::processEvents();
    auto* griglia = t.w.NextInspector3->findChild<QCheckBox*>("CB_VisGriglia");
    ASSERT_NE(griglia, nullptr);
    QTest::mouseClick(griglia, Qt::LeftButton, {}, griglia->rect().center() + QPoint(griglia->width() / 4, 0));
    auto* stile = dynamic_cast<widgets::TItemPulsanti*>(t.w.Item(C::SB_StilePnt));
    ASSERT_NE(stile, nullptr);
    const qint64 prima = stile->Pulsante(0)->icon().cacheKey();
    Poi(50, [](QWidget* w) {
        EXPECT_EQ(w->objectName(), "FStileLayer");
        EXPECT_EQ(w->height(), 196);
        EXPECT_GE(w->width(), 122);
        for (auto* b : w->findChildren<QToolButton*>())
            EXPECT_GE(b->width(), b->sizeHint().width()) << "caption cut: " << b->text().toStdString();
        w->grab().save(QString::fromStdString((test::CartellaSchermate() / "stile_punti.png").string()));
        auto* rombo = w->findChild<QToolButton*>("Voce3");
        ASSERT_NE(rombo, nullptr);
        EXPECT_EQ(rombo->text(), "Rombo");
        rombo->click();
    });
    stile->Pulsante(0)->click();
    EXPECT_EQ(t.f->Map.TipoPunto(LayerGriglia), 2);
    EXPECT_EQ(t.f->indImm, 2);
    EXPECT_NE(stile->Pulsante(0)->icon().cacheKey(), prima);
    t.Schermata("dialogo_stile_punti.png");
    // Esc closes it, keeping the style.
    Poi(50, [](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
    stile->Pulsante(0)->click();
    EXPECT_EQ(t.f->Map.TipoPunto(LayerGriglia), 2);
}
