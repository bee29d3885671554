// TFMapMain: the seven map layers, the administrative lookup of a point, the
// hazard grid colouring and its legend, and the map tools of the toolbar.
#include "dialog/TFMapMain.h"

#include "dialog/legenda.h"
#include "dialog/ricerca_comune.h"

#include <QAction>
#include <QApplication>
#include <QLabel>

#include <algorithm>

namespace veltrano::dialogo {

using widgets::TCategoria;
using widgets::TItemCheck;
using widgets::TItemCombo;

namespace {

// The hourglass while a slow step runs, restored whatever happens.
struct CursoreAttesa {
    CursoreAttesa() {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    ~CursoreAttesa() { QApplication::restoreOverrideCursor(); }
};

} // namespace

void TFMapMain::CollegaMappa() {
    connect(TB_ZoomPiu, &QAction::triggered, this, [this] { Map->ImpostaModoCursore(mappa::ModoZoomPiu); });
    connect(TB_ZoomMeno, &QAction::triggered, this, [this] { Map->ImpostaModoCursore(mappa::ModoZoomMeno); });
    connect(TB_Pan, &QAction::triggered, this, [this] { Map->ImpostaModoCursore(mappa::ModoPan); });
    connect(TB_ZoomTutto, &QAction::triggered, this, [this] { Map->ZoomEstensioneMassima(); });
    connect(TB_ZoomPrec, &QAction::triggered, this, [this] { Map->ZoomPrecedente(); });
    // The site tools take the clicks: selection mode while one is down.
    for (QAction* a : {TB_Punt, TB_Admin, TB_Hint})
        connect(a, &QAction::toggled, this, [this](bool giu) {
            if (giu) {
                for (QAction* z : {TB_ZoomPiu, TB_ZoomMeno, TB_Pan})
                    z->setChecked(false);
                Map->ImpostaModoCursore(mappa::ModoSelezione);
            } else if (!TB_Punt->isChecked() && !TB_Admin->isChecked() && !TB_Hint->isChecked()) {
                Map->ImpostaModoCursore(mappa::ModoZoomPiu);
            }
        });
    connect(Map, &mappa::TMappa::MousePremuto, this, &TFMapMain::Map1MouseDown);
    connect(Map, &mappa::TMappa::MouseRilasciato, this, &TFMapMain::Map1MouseDown);
    connect(Map, &mappa::TMappa::MouseMosso, this, &TFMapMain::Map1MouseMove);
}

void TFMapMain::CaricaLayer() {
    struct Riga {
        std::shared_ptr<mappa::TShapefile>* campo;
        std::filesystem::path file;
        bool visibile;
    };
    auto spuntata = [this](const char* n) { return NextInspector3->ItemDi<TCategoria>(n)->Spuntata(); };
    const auto& d = percorsoDati_;
    std::error_code ec;
    const auto strade = std::filesystem::exists(d / "Shape/Dettagli/roads.shp", ec) ? d / "Shape/Dettagli/roads.shp"
                                                                                      : d / "Shape/Dettagli/ITA_roads.shp";
    const Riga righe[7] = {
        {&sf_REG, d / "Shape/regioni2010/reg2010_s.shp", true},
        {&sf_PROV, d / "Shape/province2010/prov2010_s.shp", false},
        {&sf_COM, d / "Shape/comuni2010/com2010_s.shp", false},
        {&sf_Grid, d / "Shape/Griglia/Griglia.shp", spuntata("CB_VisGriglia")},
        {&sf_Road, strade, spuntata("CheckBox5")},
        {&sf_Laghi, d / "Shape/Dettagli/ITA_water_areas_dcw.shp", spuntata("CheckBox3")},
        {&sf_Fiumi, d / "Shape/Dettagli/ITA_water_lines_dcw.shp", spuntata("CheckBox3")},
    };
    // A file that fails to open gives an empty layer: the handles stay 0..6.
    for (const Riga& r : righe) {
        *r.campo = std::make_shared<mappa::TShapefile>();
        (*r.campo)->Apri(r.file.string());
        Map->AggiungiLayer(*r.campo, r.visibile);
    }
    auto amministrativo = [this](int l, int32_t spess, uint32_t bordo, uint32_t riemp, const uint8_t (&font)[51],
                                 int32_t dim, uint32_t colore) {
        Map->ImpostaSpessoreLinea(l, static_cast<float>(spess));
        Map->ImpostaColoreLinea(l, bordo);
        Map->ImpostaColoreRiempimento(l, riemp);
        Map->ImpostaFontLayer(l, QString::fromStdString(NomeCarattere(font)), dim);
        Map->ImpostaColoreEtichette(l, colore);
    };
    amministrativo(LayerRegioni, opz.SpessB_Reg, opz.ColB_Reg, opz.ColR_Reg, opz.NameCar_Reg, opz.SizeCar_Reg, opz.ColCar_Reg);
    amministrativo(LayerProvince, opz.SpessB_Prov, opz.ColB_Prov, opz.ColR_Prov, opz.NameCar_Prov, opz.SizeCar_Prov,
                   opz.ColCar_Prov);
    amministrativo(LayerComuni, opz.SpessB_Com, opz.ColB_Com, opz.ColR_Com, opz.NameCar_Com, opz.SizeCar_Com, opz.ColCar_Com);
    Map->ImpostaDimensionePunto(LayerGriglia, static_cast<float>(opz.DimPunti));
    Map->ImpostaSpessoreLinea(LayerStrade, static_cast<float>(opz.Spess_Stra));
    Map->ImpostaColoreLinea(LayerStrade, opz.Col_Stra);
    Map->ImpostaSpessoreLinea(LayerLaghi, static_cast<float>(opz.SpessB_LF));
    Map->ImpostaColoreLinea(LayerLaghi, opz.ColB_LF);
    Map->ImpostaColoreRiempimento(LayerLaghi, opz.ColR_LF);
    Map->ImpostaSpessoreLinea(LayerFiumi, static_cast<float>(opz.SpessB_LF));
    Map->ImpostaColoreLinea(LayerFiumi, opz.ColR_LF); // the lakes' fill colour, not their border's
    idLayer += 6;
}

void TFMapMain::CercaComunePunto(bool daPixel, double X, double Y, double& Lon, double& Lat, int& iReg, int& iProv,
                                 int& iCom) {
    const CursoreAttesa attesa;
    if (daPixel) {
        const QPointF m = Map->PixelAMappa({X, Y});
        Lon = m.x();
        Lat = m.y();
    } else {
        Lon = X;
        Lat = Y;
    }
    iReg = iProv = iCom = -1;
    if (!sf_COM)
        return;
    const TComuneTrovato t = CercaComune(*sf_COM, CoorCom, Lon, Lat);
    iReg = t.iReg;
    iProv = t.iProv;
    iCom = t.iCom;
}

void TFMapMain::ColoraGriglia(int k) {
    k = std::clamp(k, 0, NumBlocchi - 1);
    float min = 0, max = 0;
    EstremiAg(griglia_, k, min, max);
    RangeColori = CalcolaRangeColori(min, max);
    Map->CancellaEtichette(LayerGriglia);
    Map->ImpostaFontLayer(LayerGriglia, QString::fromStdString(NomeCarattere(opz.NameCar)), opz.SizeCar);
    const mappa::TShapefile* sf = sf_Grid.get();
    std::vector<int> classe(NumNodi + 1);
    for (int n = 1; n <= NumNodi; ++n)
        classe[static_cast<std::size_t>(n)] = ClasseAg(RangeColori, griglia_.ag(k, n));
    // Class by class, as the labels were always added.
    for (int c = 1; c <= 10; ++c)
        for (int n = 1; n <= NumNodi; ++n) {
            if (classe[static_cast<std::size_t>(n)] != c)
                continue;
            const uint32_t colore = ColoriClassi[static_cast<std::size_t>(c)];
            Map->ImpostaColorePuntoShape(LayerGriglia, n - 1, colore);
            if (sf && n - 1 < sf->NumShape()) {
                const mappa::TEstensione& e = sf->Shape(n - 1).estensione;
                Map->AggiungiEtichetta(LayerGriglia,
                                       QString::fromStdString(EtichettaNodo(griglia_.ID(k, n), griglia_.ag(k, n))),
                                       colore, e.xMin, e.yMin, 1);
            }
        }
    Map->ImpostaTipoPunto(LayerGriglia, opz.StilePunti);
    Map->ImpostaEtichetteVisibili(LayerGriglia, NextInspector3->ItemDi<TItemCheck>("CB_VisEticPnt")->Spuntato());
    AggiornaLegenda();
}

void TFMapMain::AggiornaLegenda() {
    const std::array<std::string, 11> testi = EtichetteLegenda(RangeColori);
    for (std::size_t j = 0; j < Lb.size(); ++j) {
        QPalette pal = Lb[j]->palette();
        pal.setColor(QPalette::Window, mappa::ColoreQt(ColoriClassi[j]));
        pal.setColor(QPalette::WindowText, Qt::black);
        Lb[j]->setPalette(pal);
        Lb[j]->setText(QString::fromStdString(testi[j]));
    }
}

void TFMapMain::CB_VisGrigliaClick() {
    if (!TB_Map->isChecked())
        return;
    const bool si = NextInspector3->ItemDi<TCategoria>("CB_VisGriglia")->Spuntata();
    if (si) {
        Map->ImpostaLayerVisibile(LayerGriglia, true);
        Map->ImpostaDimensionePunto(LayerGriglia, static_cast<float>(opz.DimPunti));
        Map->ImpostaFontLayer(LayerGriglia, QString::fromStdString(NomeCarattere(opz.NameCar)), opz.SizeCar);
        ColoraGriglia(NextInspector3->ItemDi<TItemCombo>("NxComboBoxItem1")->Indice());
    } else {
        Map->ImpostaLayerVisibile(LayerGriglia, false);
    }
    Panel9->setVisible(si);
    ZoomSelezione();
}

// The mouse tools that place the site come with the site identification;
// until then the map's own cursor modes (zoom, pan) are all a click does.
void TFMapMain::Map1MouseDown(int, int, int, int) {}
void TFMapMain::Map1MouseMove(int, int, int, int) {}

} // namespace veltrano::dialogo
