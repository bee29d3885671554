// TFMapMain: display options (Opzioni.dat) and the two option panels.
#include "dialog/TFMapMain.h"

#include "dialog/testi.h"
#include "map/testo1252.h"

#include <QColorDialog>
#include <QFontDialog>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace veltrano::dialogo {

using widgets::TCategoria;
using widgets::TItemCheck;
using widgets::TItemCombo;
using widgets::TItemInspector;
using widgets::TItemPulsanti;
using widgets::TItemSpin;

namespace {

QString U(const char* s) { return QString::fromUtf8(s); }

QWidget* Pannello(QWidget* padre, const char* nome, const char* titolo, const char* chiudi, widgets::TInspector*& ins,
                  const char* nomeIns) {
    auto* p = new QWidget(padre);
    p->setObjectName(nome);
    p->setFixedWidth(190);
    auto* v = new QVBoxLayout(p);
    v->setContentsMargins(2, 2, 2, 2);
    auto* testa = new QHBoxLayout;
    auto* t = new QLabel(U(titolo));
    t->setStyleSheet("font-weight: bold; color: #000080;");
    testa->addWidget(t, 1);
    auto* x = new QToolButton;
    x->setObjectName(chiudi);
    x->setText(QStringLiteral("x"));
    x->setAutoRaise(true);
    testa->addWidget(x);
    v->addLayout(testa);
    ins = new widgets::TInspector;
    ins->setObjectName(nomeIns);
    v->addWidget(ins, 1);
    p->hide();
    return p;
}

// One group of the administrative panel: REGIONI, PROVINCE or COMUNI.
void GruppoAmministrativo(widgets::TInspector* ins, const char* casella, const char* titolo, const char* spin,
                          const char* bordo, const char* riempimento, const char* nomi, const char* carattere) {
    auto* g = ins->AggiungiCategoria(casella, U(titolo), true);
    ins->AggiungiSpin(spin, U("Spessore bordo"), 1, 10, 1, 2, {}, g);
    ins->AggiungiPulsanti(bordo, U("Colore bordo"), {QString()}, {}, g);
    ins->AggiungiPulsanti(riempimento, U("Colore riempimento"), {QString()}, {}, g);
    ins->AggiungiCheck(nomi, U("Nomi"), {}, g);
    ins->AggiungiPulsanti(carattere, U("Carattere"), {U("...")}, {}, g);
}

} // namespace

void TFMapMain::CreaPannelliOpzioni() {
    Panel10 = Pannello(Panel4, "Panel10", "Opzioni elem. amministrativi", "SpeedButton21", NextInspector4, "NextInspector4");
    GruppoAmministrativo(NextInspector4, "CB_VisReg", "REGIONI", "SE_SpessBReg", "NxToolbarItem1", "NxToolbarItem2",
                         "CB_VisNomiReg", "NxToolbarItem7");
    GruppoAmministrativo(NextInspector4, "CB_VisProv", "PROVINCE", "SE_SpessBProv", "NxToolbarItem4", "NxToolbarItem5",
                         "CB_VisNomiProv", "NxToolbarItem8");
    GruppoAmministrativo(NextInspector4, "CB_VisCom", "COMUNI", "SE_SpessBCom", "NxToolbarItem6", "NxToolbarItem9",
                         "CB_VisNomiCom", "NxToolbarItem10");
    NextInspector4->ItemDi<TCategoria>("CB_VisReg")->ImpostaSpuntata(true);

    Panel7 = Pannello(Panel4, "Panel7", "Opzioni elem. geografici", "SpeedButton20", NextInspector3, "NextInspector3");
    auto* ins = NextInspector3;
    auto* g = ins->AggiungiCategoria("CB_VisGriglia", U("GRIGLIA"), true);
    ins->AggiungiSpin("SE_DimPntGriglia", U("Dimensione punti"), 1, 10, 1, 5, {}, g);
    ins->AggiungiCheck("CB_VisEticPnt", U("Valori"), {}, g);
    QStringList tr;
    for (const char* t : testi::TempiRitorno)
        tr << U(t);
    ins->AggiungiCombo("NxComboBoxItem1", U("Tempo di ritorno"), tr, {}, g)->ImpostaIndice(6);
    ins->AggiungiPulsanti("SB_StilePnt", U("Stile punti"), {QString()}, {}, g);
    ins->AggiungiPulsanti("NxToolbarItem3", U("Carattere"), {U("...")}, {}, g);
    auto* lf = ins->AggiungiCategoria("CheckBox3", U("LAGHI E FIUMI"), true);
    ins->AggiungiSpin("SpinEdit3", U("Spessore bordo"), 1, 10, 1, 1, {}, lf);
    ins->AggiungiPulsanti("SpeedButton9", U("Colore bordo"), {QString()}, {}, lf);
    ins->AggiungiPulsanti("SpeedButton10", U("Colore riempimento"), {QString()}, {}, lf);
    auto* st = ins->AggiungiCategoria("CheckBox5", U("STRADE"), true);
    ins->AggiungiSpin("SpinEdit5", U("Spessore"), 1, 10, 1, 1, {}, st);
    ins->AggiungiPulsanti("SpeedButton12", U("Colore"), {QString()}, {}, st);
}

void TFMapMain::CollegaOpzioni() {
    connect(ToolButton18, &QAction::triggered, this, &TFMapMain::ToolButton18Click);
    connect(NextInspector4, &widgets::TInspector::Cambiato, this, &TFMapMain::OpzioniCambiato);
    connect(NextInspector3, &widgets::TInspector::Cambiato, this, &TFMapMain::OpzioniCambiato);
    connect(NextInspector4, &widgets::TInspector::PulsanteCliccato, this, &TFMapMain::OpzioniPulsante);
    connect(NextInspector3, &widgets::TInspector::PulsanteCliccato, this, &TFMapMain::OpzioniPulsante);
    connect(NextInspector3, &widgets::TInspector::ChiusuraLista, this, [this](TItemInspector* item) {
        if (item->Nome() == "NxComboBoxItem1")
            ColoraGriglia(static_cast<TItemCombo*>(item)->Indice());
    });
    connect(Panel10->findChild<QToolButton*>("SpeedButton21"), &QToolButton::clicked, this,
            [this] { MostraPannelloOpzioni(nullptr); });
    connect(Panel7->findChild<QToolButton*>("SpeedButton20"), &QToolButton::clicked, this,
            [this] { MostraPannelloOpzioni(nullptr); });
}

void TFMapMain::CaricaOpzioniForm() {
    const auto file = percorsoDati_ / "Opzioni.dat";
    std::error_code ec;
    if (std::filesystem::exists(file, ec)) {
        opz = CaricaOpzioni(file);
        ApplicaOpzioni();
    } else {
        OpzioniPredefiniteForm();
    }
}

void TFMapMain::OpzioniPredefiniteForm() {
    opz = OpzioniPredefinite();
    ApplicaOpzioni();
}

void TFMapMain::ApplicaOpzioni() {
    auto spin = [](widgets::TInspector* ins, const char* n, int v) { ins->ItemDi<TItemSpin>(n)->ImpostaNumero(v); };
    spin(NextInspector4, "SE_SpessBReg", opz.SpessB_Reg);
    spin(NextInspector4, "SE_SpessBProv", opz.SpessB_Prov);
    spin(NextInspector4, "SE_SpessBCom", opz.SpessB_Com);
    spin(NextInspector3, "SE_DimPntGriglia", opz.DimPunti);
    spin(NextInspector3, "SpinEdit3", opz.SpessB_LF);
    spin(NextInspector3, "SpinEdit5", opz.Spess_Stra);
    if (Map)
        Map->ImpostaTipoPunto(LayerGriglia, opz.StilePunti);
    indImm = opz.indImmPunti;
    const int indice = opz.indTempoR; // a copy: the record is packed
    NextInspector3->ItemDi<TItemCombo>("NxComboBoxItem1")->ImpostaIndice(std::clamp(indice, 0, 8));
    auto colore = [](widgets::TInspector* ins, const char* n, uint32_t c) {
        ins->ItemDi<TItemPulsanti>(n)->ImpostaColore(0, mappa::ColoreQt(c));
    };
    colore(NextInspector4, "NxToolbarItem1", opz.ColB_Reg);
    colore(NextInspector4, "NxToolbarItem2", opz.ColR_Reg);
    colore(NextInspector4, "NxToolbarItem4", opz.ColB_Prov);
    colore(NextInspector4, "NxToolbarItem5", opz.ColR_Prov);
    colore(NextInspector4, "NxToolbarItem6", opz.ColB_Com);
    colore(NextInspector4, "NxToolbarItem9", opz.ColR_Com);
    colore(NextInspector3, "SpeedButton9", opz.ColB_LF);
    colore(NextInspector3, "SpeedButton10", opz.ColR_LF);
    colore(NextInspector3, "SpeedButton12", opz.Col_Stra);
}

void TFMapMain::LeggiOpzioni() {
    auto spin = [](widgets::TInspector* ins, const char* n) { return ins->ItemDi<TItemSpin>(n)->Numero(); };
    opz.SpessB_Reg = spin(NextInspector4, "SE_SpessBReg");
    opz.SpessB_Prov = spin(NextInspector4, "SE_SpessBProv");
    opz.SpessB_Com = spin(NextInspector4, "SE_SpessBCom");
    opz.DimPunti = spin(NextInspector3, "SE_DimPntGriglia");
    opz.StilePunti = Map->TipoPunto(LayerGriglia);
    opz.indImmPunti = indImm;
    opz.indTempoR = NextInspector3->ItemDi<TItemCombo>("NxComboBoxItem1")->Indice();
    opz.SpessB_LF = spin(NextInspector3, "SpinEdit3");
    opz.Spess_Stra = spin(NextInspector3, "SpinEdit5");
}

void TFMapMain::ToolButton18Click() {
    LeggiOpzioni();
    try {
        SalvaOpzioni(percorsoDati_ / "Opzioni.dat", opz);
    } catch (const std::exception& e) {
        MostraMessaggio(this, QString::fromStdString(e.what()));
    }
}

void TFMapMain::OpzioniCambiato(TItemInspector* item) {
    if (!Map)
        return;
    const QString n = item->Nome();
    auto* spin = dynamic_cast<TItemSpin*>(item);
    if (!spin)
        return;
    const float v = static_cast<float>(spin->Numero());
    if (n == "SE_SpessBReg")
        Map->ImpostaSpessoreLinea(LayerRegioni, v);
    else if (n == "SE_SpessBProv")
        Map->ImpostaSpessoreLinea(LayerProvince, v);
    else if (n == "SE_SpessBCom")
        Map->ImpostaSpessoreLinea(LayerComuni, v);
    else if (n == "SE_DimPntGriglia")
        Map->ImpostaDimensionePunto(LayerGriglia, v);
    else if (n == "SpinEdit3") {
        Map->ImpostaSpessoreLinea(LayerLaghi, v);
        Map->ImpostaSpessoreLinea(LayerFiumi, v);
    } else if (n == "SpinEdit5")
        Map->ImpostaSpessoreLinea(LayerStrade, v);
}

void TFMapMain::OpzioniPulsante(TItemInspector* item, int) {
    const QString n = item->Nome();
    auto* casella = dynamic_cast<TCategoria*>(item);
    if (n == "CB_VisReg" && Map)
        Map->ImpostaLayerVisibile(LayerRegioni, casella->Spuntata());
    else if (n == "CB_VisProv")
        Map->ImpostaLayerVisibile(LayerProvince, casella->Spuntata());
    else if (n == "CB_VisCom")
        Map->ImpostaLayerVisibile(LayerComuni, casella->Spuntata());
    else if (n == "CheckBox5")
        Map->ImpostaLayerVisibile(LayerStrade, casella->Spuntata());
    else if (n == "CheckBox3") {
        Map->ImpostaLayerVisibile(LayerLaghi, casella->Spuntata());
        Map->ImpostaLayerVisibile(LayerFiumi, casella->Spuntata());
    } else if (n == "CB_VisGriglia")
        CB_VisGrigliaClick();
    else if (n == "CB_VisEticPnt")
        Map->ImpostaEtichetteVisibili(LayerGriglia, static_cast<TItemCheck*>(item)->Spuntato());
    auto* p = dynamic_cast<TItemPulsanti*>(item);
    if (!p)
        return;
    if (n == "NxToolbarItem1") {
        if (const auto v = ScegliColore(opz.ColB_Reg, {LayerRegioni}, {}, p))
            opz.ColB_Reg = *v;
    } else if (n == "NxToolbarItem2") {
        if (const auto v = ScegliColore(opz.ColR_Reg, {}, {LayerRegioni}, p))
            opz.ColR_Reg = *v;
    } else if (n == "NxToolbarItem4") {
        if (const auto v = ScegliColore(opz.ColB_Prov, {LayerProvince}, {}, p))
            opz.ColB_Prov = *v;
    } else if (n == "NxToolbarItem5") {
        if (const auto v = ScegliColore(opz.ColR_Prov, {}, {LayerProvince}, p))
            opz.ColR_Prov = *v;
    } else if (n == "NxToolbarItem6") {
        if (const auto v = ScegliColore(opz.ColB_Com, {LayerComuni}, {}, p))
            opz.ColB_Com = *v;
    } else if (n == "NxToolbarItem9") {
        if (const auto v = ScegliColore(opz.ColR_Com, {}, {LayerComuni}, p))
            opz.ColR_Com = *v;
    } else if (n == "SpeedButton9") {
        if (const auto v = ScegliColore(opz.ColB_LF, {LayerLaghi, LayerFiumi}, {}, p))
            opz.ColB_LF = *v;
    } else if (n == "SpeedButton10") { // rivers are drawn in the lakes' fill colour
        if (const auto v = ScegliColore(opz.ColR_LF, {LayerFiumi}, {LayerLaghi}, p))
            opz.ColR_LF = *v;
    } else if (n == "SpeedButton12") {
        if (const auto v = ScegliColore(opz.Col_Stra, {LayerStrade}, {}, p))
            opz.Col_Stra = *v;
    } else if (n == "NxToolbarItem7") {
        if (const auto v = ScegliCarattere(opz.NameCar_Reg, opz.SizeCar_Reg, opz.ColCar_Reg, LayerRegioni))
            opz.SizeCar_Reg = *v;
    } else if (n == "NxToolbarItem8") {
        if (const auto v = ScegliCarattere(opz.NameCar_Prov, opz.SizeCar_Prov, opz.ColCar_Prov, LayerProvince))
            opz.SizeCar_Prov = *v;
    } else if (n == "NxToolbarItem10") {
        if (const auto v = ScegliCarattere(opz.NameCar_Com, opz.SizeCar_Com, opz.ColCar_Com, LayerComuni))
            opz.SizeCar_Com = *v;
    } else if (n == "NxToolbarItem3") {
        if (const auto v = ScegliCarattere(opz.NameCar, opz.SizeCar, std::nullopt, LayerGriglia))
            opz.SizeCar = *v;
    }
}

std::optional<uint32_t> TFMapMain::ScegliColore(uint32_t attuale, const std::vector<int>& layerLinea,
                                                const std::vector<int>& layerRiempimento, TItemPulsanti* pulsante) {
    const QColor c = QColorDialog::getColor(mappa::ColoreQt(attuale), this);
    if (!c.isValid())
        return std::nullopt;
    const uint32_t nuovo = mappa::ColoreWin(c);
    for (int l : layerLinea)
        Map->ImpostaColoreLinea(l, nuovo);
    for (int l : layerRiempimento)
        Map->ImpostaColoreRiempimento(l, nuovo);
    pulsante->ImpostaColore(0, c);
    return nuovo;
}

std::optional<int32_t> TFMapMain::ScegliCarattere(uint8_t (&nome)[51], int32_t dimensione,
                                                 std::optional<uint32_t> colore, int layer) {
    bool ok = false;
    const QFont f = QFontDialog::getFont(&ok, QFont(QString::fromStdString(NomeCarattere(nome)), dimensione), this);
    if (!ok)
        return std::nullopt;
    ImpostaNomeCarattere(nome, f.family().toStdString());
    const int32_t nuova = f.pointSize() > 0 ? f.pointSize() : dimensione;
    Map->ImpostaFontLayer(layer, f.family(), nuova);
    if (colore)
        Map->ImpostaColoreEtichette(layer, *colore);
    return nuova;
}

} // namespace veltrano::dialogo
