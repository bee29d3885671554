// TFMapMain: creation, showing, destruction and resize.
#include "dialog/TFMapMain.h"

#include "dialog/coordinate.h"
#include "dialog/testi.h"
#include "geo/comuni.h"

#include <QApplication>
#include <QLocale>
#include <QMessageBox>
#include <QResizeEvent>
#include <QScreen>
#include <QStatusBar>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>

#include <clocale>

namespace veltrano::dialogo {

std::function<void(QWidget*, const QString&)> TFMapMain::MostraMessaggio = [](QWidget* padre, const QString& t) {
    QMessageBox::warning(padre, QString::fromUtf8(testi::Titolo), t);
};

TFMapMain::TFMapMain(const std::filesystem::path& percorsoDati, QWidget* padre)
    : QDialog(padre), percorsoDati_(percorsoDati) {
    // The control word is the dialog's from here on (member fpu).
    setObjectName("FMapMain");
    setWindowTitle(QString::fromUtf8(testi::Titolo));
    resize(1008, 820);
    Normativa = Norm_DM2008;

    CreaAzioni();
    CreaMenu();
    CreaToolbar();
    CreaAreaMappa();
    CreaPannelloDestro();
    CreaLegenda();
    CreaRisultati();
    CollegaPannelli();
    CollegaMappa();
    CollegaIdentificazione();
    CollegaOpzioni();

    ImpostaSeparatori();
    ImpostaCoordinateIniziali();
    griglia_.Carica(percorsoDati_ / "GeoDati.dat");
    CoorCom = LeggiComuni((percorsoDati_ / "").u16string());
    RiempiComuni();
    // The first colouring takes the return period the item shows before the
    // options are read (its design value, 475 years).
    const int indiceTR = NextInspector3->ItemDi<widgets::TItemCombo>("NxComboBoxItem1")->Indice();
    CaricaOpzioniForm();
    CaricaLayer();
    ColoraGriglia(indiceTR);
    Panel9->setVisible(NextInspector3->ItemDi<widgets::TCategoria>("CB_VisGriglia")->Spuntata());
    shpHandle = -1;
    layerHandle = -1;
}

TFMapMain::~TFMapMain() {
    // The map goes before the control word is restored (member fpu, last).
    delete Map;
    Map = nullptr;
}

void TFMapMain::ImpostaSeparatori() {
    // Coordinate texts are formatted and parsed with "." by our own
    // routines; this keeps the C runtime and Qt's default locale in step for
    // any other number the dialog shows.
    std::setlocale(LC_NUMERIC, "C");
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::DefaultNumberOptions);
    QLocale::setDefault(c);
}

void TFMapMain::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (mostrato_)
        return;
    mostrato_ = true;
    setWindowTitle(QString::fromUtf8(testi::Titolo));
    Map->ImpostaColoreSfondo(mappa::RGBWin(153, 217, 234));
    const auto* lon = NextInspector1->Item("Edit1");
    const auto* lat = NextInspector1->Item("Edit2");
    AggiornaCoordinate(NumeroOZero(lon->Valore().toStdString()), NumeroOZero(lat->Valore().toStdString()));
    TB_ZoomPiu->setChecked(true);
    Map->ImpostaModoCursore(mappa::ModoZoomPiu);
    EditorLocUtente->hide();
    NextInspector1->Item("CatIndirizzo")->ImpostaVisibile(false);
    PosizionaMappa();
    ZoomSelezione();
    NextInspector1->SelezionaItem(NextInspector1->Item("Radiogroup1"));
    setWindowState(windowState() | Qt::WindowMaximized);
    SB_CalcolaAltitudine->hide();
    SB_CalcolaAltitudine->setEnabled(NumeroOZero(lon->Valore().toStdString()) != 0 &&
                                     NumeroOZero(lat->Valore().toStdString()) != 0);
    // Maximising lays the form out again; the map follows once it has.
    QTimer::singleShot(0, this, [this] {
        PosizionaMappa();
        ZoomSelezione();
    });
}

void TFMapMain::resizeEvent(QResizeEvent* e) {
    QDialog::resizeEvent(e);
    PosizionaMappa();
    ZoomSelezione();
}

bool TFMapMain::eventFilter(QObject* o, QEvent* e) {
    if (o == WebBrowser1 && (e->type() == QEvent::Resize || e->type() == QEvent::Move)) {
        PosizionaMappa();
        ZoomSelezione();
    }
    return QDialog::eventFilter(o, e);
}

void TFMapMain::PosizionaMappa() {
    if (Map && WebBrowser1)
        Map->setGeometry(WebBrowser1->geometry());
}

void TFMapMain::ZoomSelezione() {
    if (!Map)
        return;
    if (layerHandle > -1 && shpHandle > -1)
        Map->ZoomShape(layerHandle, shpHandle);
    else
        Map->ZoomEstensioneMassima();
}

} // namespace veltrano::dialogo
