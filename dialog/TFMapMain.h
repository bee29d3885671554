// TFMapMain, the site dialog's main form: the map with its seven layers and
// hazard grid, the site inspector, the two option panels, the legend strip,
// the results panel, menus, toolbars and status bar.
//
// One class split over files by concern; this header lists the handlers in
// the same groups and order as the files:
//   TFMapMain.cpp                  creation, showing, destruction, resize
//   TFMapMain_pannelli.cpp         actions, menus, toolbars, panels (layout)
//   TFMapMain_identificazione.cpp  the site inspector
//   TFMapMain_opzioni.cpp          display options and the option panels
//   TFMapMain_mappa.cpp            layers, lookup, grid colouring, legend
// GUI thread only. While the form exists the floating-point control word is
// the dialog's (see fpu.h).
#pragma once

#include "core/griglia.h"
#include "dialog/fpu.h"
#include "dialog/opzioni.h"
#include "map/mappa.h"
#include "veltrano/veltrano.h"
#include "widgets/inspector.h"

#include <QDialog>

#include <array>
#include <filesystem>
#include <functional>
#include <string>
#include <memory>
#include <optional>
#include <vector>

class QAction;
class QActionGroup;
class QLabel;
class QLineEdit;
class QStatusBar;
class QTextEdit;
class QToolBar;
class QToolButton;

namespace veltrano::dialogo {

/// Layer handles, fixed by the order CaricaLayer adds them.
enum HandleLayer { LayerRegioni = 0, LayerProvince, LayerComuni, LayerGriglia, LayerStrade, LayerLaghi, LayerFiumi };

class TFMapMain : public QDialog {
    Q_OBJECT
public:
    /// Creates the form over the data folder percorsoDati (GeoDati.dat,
    /// CoorCom*.dat, Shape/, Opzioni.dat). Throws veltrano::Errore when the
    /// grid or the municipality database cannot be read.
    explicit TFMapMain(const std::filesystem::path& percorsoDati, QWidget* padre = nullptr);
    ~TFMapMain() override;

    /// Every message box of the form goes through here; tests replace it.
    static std::function<void(QWidget*, const QString&)> MostraMessaggio;

    // ---- State shared with the other concerns (and the tests)
    TControlloFPU fpu;
    uint8_t Normativa = Norm_DM2008;
    TOpzVis opz{};
    std::vector<TCoordComune> CoorCom;
    std::array<float, 11> RangeColori{};
    int layerHandle = -1, shpHandle = -1, idLayer = 0;
    int indImm = 0;                 // picture of the grid point style
    std::string sReg, sProv, sCom;  // current region, province, municipality (UTF-8)
    std::vector<int> VetId_Cmb_Com; // database index of each municipality list item
    mappa::TMappa* Map = nullptr;
    std::shared_ptr<mappa::TShapefile> sf_REG, sf_PROV, sf_COM, sf_Grid, sf_Road, sf_Laghi, sf_Fiumi;
    const std::filesystem::path& PercorsoDati() const { return percorsoDati_; }
    const Griglia& GrigliaDati() const { return griglia_; }
    widgets::TInspector* InspectorSito() const { return NextInspector1; }
    widgets::TInspector* InspectorAmministrativi() const { return NextInspector4; }
    widgets::TInspector* InspectorGeografici() const { return NextInspector3; }

    // ---- TFMapMain.cpp: lifecycle
    void ZoomSelezione();
    static void ImpostaSeparatori();

    // ---- TFMapMain_opzioni.cpp
    void OpzioniPredefiniteForm();
    void ApplicaOpzioni();
    void LeggiOpzioni();
    void ToolButton18Click(); // "Salva Opzioni"

    // ---- TFMapMain_mappa.cpp
    void CaricaLayer();
    /// Map coordinates and region, province, municipality shapes (-1 none)
    /// of a point given in pixels (daPixel) or map coordinates.
    void CercaComunePunto(bool daPixel, double X, double Y, double& Lon, double& Lat, int& iReg, int& iProv,
                          int& iCom);
    void ColoraGriglia(int k);

protected:
    void showEvent(QShowEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    std::filesystem::path percorsoDati_;
    Griglia griglia_;
    bool mostrato_ = false;

    // ---- TFMapMain_pannelli.cpp: layout
    void CreaAzioni();
    void CreaMenu();
    void CreaToolbar();
    void CreaPannelloDestro();
    void CreaAreaMappa();
    void CreaLegenda();
    void CreaRisultati();
    void CollegaPannelli();
    void PosizionaMappa();
    void MostraPannelloOpzioni(QWidget* pannello);

    // ---- TFMapMain_identificazione.cpp
    void CreaInspectorSito();
    void CollegaIdentificazione();
    void ImpostaCoordinateIniziali();
    void RiempiComuni();
    void AggiornaCoordinate(double Lon, double Lat);
    void NextInspector1ChiusuraLista(widgets::TItemInspector* item);

    // ---- TFMapMain_opzioni.cpp
    void CreaPannelliOpzioni();
    void CollegaOpzioni();
    void CaricaOpzioniForm();
    void OpzioniCambiato(widgets::TItemInspector* item);
    void OpzioniPulsante(widgets::TItemInspector* item, int indice);
    std::optional<uint32_t> ScegliColore(uint32_t attuale, const std::vector<int>& layerLinea,
                                         const std::vector<int>& layerRiempimento, widgets::TItemPulsanti* pulsante);
    std::optional<int32_t> ScegliCarattere(uint8_t (&nome)[51], int32_t dimensione, std::optional<uint32_t> colore,
                                           int layer);

    // ---- TFMapMain_mappa.cpp
    void CollegaMappa();
    void AggiornaLegenda();
    void CB_VisGrigliaClick();
    void Map1MouseDown(int pulsante, int modificatori, int x, int y);
    void Map1MouseMove(int pulsante, int modificatori, int x, int y);

public:
    // ---- Components, named as the tests find them
    QAction *MenuSalvaRisultati = nullptr, *MenuStampaRisultati = nullptr, *MenuSalvaCartina = nullptr,
            *MenuStampaCartina = nullptr, *MenuEsci = nullptr, *MenuZoomPiu = nullptr, *MenuZoomMeno = nullptr,
            *MenuPan = nullptr, *MenuZoomTutto = nullptr, *MenuZoomTuttoGriglia = nullptr,
            *MenuZoomPrecedente = nullptr, *MenuGriglia = nullptr, *MenuNumeriGriglia = nullptr,
            *MenuAvvertenze = nullptr, *MenuHelp = nullptr;
    QAction *TB_Hint = nullptr, *TB_Punt = nullptr, *TB_Admin = nullptr, *TB_ZoomPiu = nullptr,
            *TB_ZoomMeno = nullptr, *TB_Pan = nullptr, *TB_ZoomTutto = nullptr, *TB_ZoomPrec = nullptr,
            *TB_Opzioni = nullptr, *TB_Griglia = nullptr, *ToolButton18 = nullptr, *TB_SalvaCartina = nullptr,
            *TB_StampaCartina = nullptr, *TB_Avvertenze = nullptr, *TB_Help = nullptr;
    QAction *TB_Map = nullptr, *TB_Google = nullptr, *TB_Spettri = nullptr;
    QToolBar *ToolBarPrincipale = nullptr, *ToolBarMappa = nullptr, *ToolBarRisultati = nullptr;
    QWidget *PannelloDestro = nullptr, *Panel4 = nullptr, *WebBrowser1 = nullptr, *Panel7 = nullptr,
            *Panel10 = nullptr, *Panel9 = nullptr, *PannelloRisultati = nullptr;
    QLabel* LbAvviso = nullptr;
    widgets::TInspector *NextInspector1 = nullptr, *NextInspector3 = nullptr, *NextInspector4 = nullptr;
    QLineEdit* EditIndirizzo = nullptr;
    QToolButton *SB_CalcolaDistanza = nullptr, *SB_CalcolaAltitudine = nullptr, *SB_LocUtente = nullptr,
                *SB_Applica = nullptr, *SB_Chiudi = nullptr, *SB_Annulla = nullptr;
    QWidget* EditorLocUtente = nullptr;
    std::array<QLabel*, 11> Lb{};
    QTextEdit* LR_Dati = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    std::array<QLabel*, 2> PannelliStato{};
};

} // namespace veltrano::dialogo
