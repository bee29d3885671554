// TFMapMain, the site dialog's main form as behaviour without a toolkit: its
// state (the site's record DatiZS_SL, the names under the site, the mode,
// the user sites, the display options), the rules of every control, the
// lists, the site update and the report, the map with its layers, and the
// closing sequence with the write-back to the host's record. It shows
// itself through a TVistaDialogo (dialog/vista.h) and takes the user's
// input through the methods of the "Input" section below.
//
// One class split over files by concern; this header lists the handlers in
// the same groups and order as the files:
//   TFMapMain.cpp                  creation, showing, resize, control state, input dispatch
//   TFMapMain_identificazione.cpp  modes, lists, APPLICA, the site update
//   TFMapMain_report.cpp           building data and the results report
//   TFMapMain_siti.cpp             the user's sites
//   TFMapMain_mappa.cpp            layers, lookup, grid colouring, legend, site marker and highlight
//   TFMapMain_strumenti.cpp        map tools: zoom, pan, site and administrative picks, distance,
//                                  altitude; what a click or a move over the map does
//   TFMapMain_opzioni.cpp          display options, the option panels, names, point style
//   TFMapMain_chiusura.cpp         entry from the host, confirmation, picture, write-back
//   TFMapMain_uscite.cpp           save and print the report and the map, the spectra, the site report
//   TFMapMain_aiuto.cpp            warnings, help, the maker's site
//   TFMapMain_web.cpp              the on-line map: switching maps, the page's click, position,
//                                  altitude, address search and ruler
// GUI thread only. While the form exists the floating-point control word is
// the dialog's (fpu.h).
#pragma once

#include "core/api.h"
#include "dialog/controlli.h"
#include "dialog/fpu.h"
#include "dialog/opzioni.h"
#include "dialog/siti_utente.h"
#include "dialog/vista.h"
#include "map/mappa.h"
#include "veltrano/veltrano.h"

#include <array>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace veltrano::dialogo {

/// Layer handles, fixed by the order CaricaLayer adds them.
enum HandleLayer { LayerRegioni = 0, LayerProvince, LayerComuni, LayerGriglia, LayerStrade, LayerLaghi, LayerFiumi };

/// Identification modes: the items of "Modalità".
enum TModo { ModoCoordinate = 0, ModoLocalita = 1, ModoUtente = 2 };

/// What the host passes to VisualizzaDialog besides its record.
struct TParametriDialogo {
    void* MainApp = nullptr;
    int32_t CategoriaVN = 0; // 1..3
    uint8_t ClasseUso = 0;   // 1..4
    int32_t VN = 0;          // [years]
    std::filesystem::path FileImmagine; // empty: no picture
};

/// The state of one control as the form last set it (or the user changed it).
struct TStatoControllo {
    std::string testo, caption;
    std::vector<std::string> elementi;
    int indice = -1;
    bool abilitato = true, visibile = true, solaLettura = false, premuto = false;
    mappa::TColore colore = 0;
    int immagine = -1; // a button's picture (-1: none)
};

class TFMapMain {
public:
    /// Creates the form over the data folder percorsoDati (GeoDati.dat,
    /// CoorCom*.dat, Shape/, Opzioni.dat, CoorLocUtente.dat) and shows its
    /// initial state on vista. Throws veltrano::Errore when the grid or the
    /// municipality database cannot be read.
    TFMapMain(const std::filesystem::path& percorsoDati, TVistaDialogo& vista);
    ~TFMapMain();
    TFMapMain(const TFMapMain&) = delete;
    TFMapMain& operator=(const TFMapMain&) = delete;

    // ---- Input from the front end (user actions only, never echoes)
    /// The form is shown for the first time (the showing steps).
    void Mostrato();
    /// The form's size changed: the map keeps the highlighted shape in view.
    void Ridimensionato();
    /// Text typed in an item (text, typed list, spin).
    void Cambiato(TControllo c, const std::string& testo);
    /// A list item chosen by the user (the list closed on it).
    void Scelto(TControllo c, int indice);
    /// A toggle, radio item, check box or checked heading set by the user.
    void Premuto(TControllo c, bool premuto);
    /// A push button, toolbar button or menu entry.
    void Click(TControllo c);
    /// The user left an item after typing.
    void Uscita(TControllo c);
    /// Window closed or Escape: the dialog ends as cancelled.
    void ChiusuraRichiesta();
    /// Pointer events over the map control, in its pixels.
    void MappaPremuto(mappa::TPuntoPx p, int pulsante);
    void MappaRilasciato(mappa::TPuntoPx p, int pulsante);
    void MappaMosso(mappa::TPuntoPx p, int pulsanti);
    void MappaRotella(mappa::TPuntoPx p, int delta);
    /// The map control's size [px].
    void MappaDimensioni(int larghezza, int altezza);
    /// The on-line map's page starts loading, and has loaded (documento:
    /// the browser has a document).
    void WebBrowser1BeforeNavigate2();
    void WebBrowser1DocumentComplete(bool documento);

    // ---- Control state (what the view was told)
    const TStatoControllo& Stato(TControllo c) const { return controlli_[Indice_(c)]; }
    /// A text item's text; a list's selected item (or typed text).
    std::string Testo(TControllo c) const;
    int Indice(TControllo c) const { return Stato(c).indice; }
    bool Giu(TControllo c) const { return Stato(c).premuto; }
    bool Abilitato(TControllo c) const { return Stato(c).abilitato; }
    bool Visibile(TControllo c) const { return Stato(c).visibile; }
    const std::vector<std::string>& Rapporto() const { return rapporto_; }

    // ---- State shared with the concerns (and the tests)
    TControlloFPU fpu;
    uint8_t Normativa = Norm_DM2008;
    TGIS_DatiOut DatiZS_SL{};
    TOpzVis opz{};
    std::vector<TCoordComune> CoorCom;
    TCoordLocUt CoorLocUt;
    std::array<float, 11> RangeColori{};
    int layerHandle = -1, shpHandle = -1, idLayer = 0;
    int indImm = 0;       // picture of the grid point style
    int indTipoPunto = 0; // the point-style picker's last choice (0: none)
    std::string sReg, sProv, sCom; // region, province, municipality under the site (UTF-8)
    bool StoScrivendo = false;     // the lists are being set by code
    bool Mapping = true, Comune = false, indirizzo = false, selezionato = false;
    // The distance tool: switched on once, the start of the measure under
    // way, a rubber band drawn since, events of this measure (0, 1, 2).
    bool Measuring = false, MeasureExists = false;
    std::optional<mappa::TPunto> MeasureStart;
    int contaClick = 0;
    /// Names still to load, per administrative layer (regions, provinces,
    /// municipalities). Each dialog has its own: the names live on its map.
    std::array<bool, 3> NomiCaricati{true, true, true};
    std::vector<int> VetId_Cmb_Com; // database index of each municipality list item
    mappa::TMappa Map;
    std::shared_ptr<mappa::TShapefile> sf_REG, sf_PROV, sf_COM, sf_Grid, sf_Road, sf_Laghi, sf_Fiumi;
    std::shared_ptr<mappa::TShapefile> sf_BoundPoint;
    void* MainApp = nullptr;
    bool MsgHlpVis = false; // the help message is on screen
    std::filesystem::path nomeFileImmPuntiSito;
    // The on-line map: the page has a document (htmlDoc) and has finished
    // loading; the next valid click first marks the current site (bClick);
    // a valid click has happened (bClick1); the page's last altitude text.
    bool htmlDoc = false, WebBrowserDocumentComplete = false, bClick = false, bClick1 = false;
    std::string sAlt;
    /// Help context of the site inspector: 5 with the dialog's map, 6 with
    /// the on-line map.
    int ContestoAiutoSito = 0;
    const std::filesystem::path& PercorsoDati() const { return percorsoDati_; }
    /// The file the dialog reads among its own (options, user sites): in
    /// the folder it writes to when one is there, else in the data folder.
    std::filesystem::path FileDaLeggere(const char* nome) const;
    /// The file the dialog writes: in the data folder, or, when that is
    /// read-only (an installed system), in the user's own folder.
    std::filesystem::path FileDaScrivere(const char* nome) const { return cartellaScrittura_ / nome; }
    const Griglia& GrigliaDati() const { return griglia_->Dati(); }
    TModo ModoIndividuazione() const { return static_cast<TModo>(Indice(TControllo::Radiogroup1)); }

    // ---- TFMapMain.cpp
    void ZoomSelezione();
    static void ImpostaSeparatori();

    // ---- TFMapMain_identificazione.cpp
    void AggiornaCoordinate(bool ConAltitudine, double Lon, double Lat);
    void AggiornaSito(bool ConAltitudine, double Lon, double Lat);
    void RiempiProvince();
    void RiempiComuni();
    void SelezionaRegione(int IndiceShape);
    void SelezionaProvincia(int IndiceShape);
    void SelezionaComune(int IndiceShape);
    void PosizionaSito(bool DallaMappa);
    void SB_ApplicaClick();

    // ---- TFMapMain_report.cpp
    /// Use class (1..4) and nominal life from the building items.
    void LeggiDatiOpera(int32_t& ClasseUso, int32_t& VN) const;
    void ScriviRisultati(int& NumNodi, double Lon, double Lat);

    // ---- TFMapMain_siti.cpp
    void CaricaLocUtente();
    void AggiornaLocUtente(int Posizione, const std::string& NomeSito, const std::string& LonTesto,
                           const std::string& LatTesto);
    void SceltaLocUtente(int i);

    // ---- TFMapMain_mappa.cpp
    void CaricaLayer();
    /// Map coordinates and region, province, municipality shapes (-1 none)
    /// of a point given in pixels (daPixel) or map coordinates.
    void CercaComunePunto(bool daPixel, double X, double Y, double& Lon, double& Lat, int& iReg, int& iProv,
                          int& iCom);
    void ColoraGriglia(int k);
    void DisegnaSito(double Lon, double Lat);
    /// Layer 2 back to its fill with no labels; then the municipality shape
    /// iCom (if any) shown, labelled, filled yellow and zoomed to.
    void EvidenziaComune(int iCom);

    // ---- TFMapMain_strumenti.cpp
    void SB_CalcDistClick();
    void SB_AltitudineClick();
    /// A press (premuto) or a release over the map. The picks act on the
    /// release only: a pick zooms the map, so the release of the same click
    /// would fall on another place.
    void Map1MouseDown(int x, int y, bool premuto = false);
    void Map1MouseMove(int x, int y);

    // ---- TFMapMain_opzioni.cpp
    void OpzioniPredefiniteForm();
    void ApplicaOpzioni();
    void LeggiOpzioni();
    void ToolButton18Click();
    /// Loads the name labels of one layer once: while caricare is set, every
    /// shape's name (field campo of sf) goes on the layer at the centre of
    /// its bounding box, with a progress dialog; caricare is then cleared.
    void CaricaNomi(bool& caricare, const char* descrizione, const std::string& NomeCar, int32_t SizeCar,
                    mappa::TColore ColCar, const mappa::TShapefile* sf, int layer, int campo);
    void SB_StilePntClick();

    // ---- TFMapMain_chiusura.cpp
    /// The entry steps of VisualizzaDialog: building data, mode, lists,
    /// map and coordinates from the host's record.
    void Prepara(const TParametriDialogo& p, const TGIS_DatiOut& DatiOut);
    void ConfermaDialog();
    /// Computes the site of the WGS84 items into d; the verdict says whether
    /// it has hazard values (a grid cell or an island).
    EsitoSito CalcolaSitoVoci(TGIS_DatiOut& d) const;
    void CreaContornoMaglia();
    /// The write-back after "OK"/"CHIUDI": every field the host receives.
    void ScriviDatiOut(TGIS_DatiOut& DatiOut);
    /// The cancel path: only the ED50 fields, and only when they are 0.
    static void AnnullaDatiOut(TGIS_DatiOut& DatiOut);

    // ---- TFMapMain_uscite.cpp
    void ToolButton10Click(); // save results
    void ToolButton11Click(); // print results
    void TB_SalvaImmClick();
    void TB_StampaImmClick();
    void TB_SpettriClick();
    void TB_RelazioneClick();
    /// The site of the coordinate items with its names, building data and
    /// hazard, as the spectra and the site report take it.
    TSitoDialogo SitoCorrente() const;

    // ---- TFMapMain_aiuto.cpp
    void TB_WarnClick();
    /// Help context 0: through the host's handler when MainApp is a
    /// TVeltranoOspite with one, else the message that help is not
    /// available here, shown once however often help is asked meanwhile.
    /// False, as nobody else handles the request.
    bool GestioneHelp();
    /// The maker's site (VELTRANO_SITO_PRODUTTORE at build time); empty
    /// when the build set none, and the link is then not shown.
    static std::string IndirizzoSito();
    /// Image1: opens IndirizzoSito in the browser.
    void Image1Click();

    // ---- TFMapMain_web.cpp
    /// The page of the on-line map: Tavrel.htm in the data folder.
    std::filesystem::path PaginaWeb() const { return percorsoDati_ / "Tavrel.htm"; }
    void MostraMappaWeb();
    void TB_MapClick();
    void TB_GoogleClick();
    /// The page's document was clicked (through the event object).
    void ClickPaginaWeb();
    /// The clicked position becomes the site; false when the click only
    /// marked the current site on the page (or no page is loaded).
    bool LeggiPosizioneWeb(const std::string& sLon, const std::string& sLat);
    void LeggiAltitudineWeb();
    void CercaIndirizzoWeb();
    void Edit3Change();
    /// One statement run in the page; nothing while no page is loaded.
    void EseguiScript(const std::string& testo);
    /// The on-line map is shown (its button down and its page loaded).
    bool MappaWebAttiva() const;

    // ---- Names of the map shapes
    std::string NomeRegione(int i) const;
    std::string NomeProvincia(int i) const;
    std::string NomeComune(int i) const;

private:
    static std::size_t Indice_(TControllo c) { return static_cast<std::size_t>(c); }

    TVistaDialogo& vista_;
    std::filesystem::path percorsoDati_, cartellaScrittura_;
    std::unique_ptr<GrigliaSismica> griglia_;
    std::vector<TStatoControllo> controlli_;
    std::vector<std::string> rapporto_;
    bool mostrato_ = false;
    std::string motivoLocUtente_; // why the user-site file was refused ("" when it was read)
    bool comuneDigitato_ = false; // a municipality name typed since the last choice
    bool attesa_ = false;
    std::map<TControllo, std::function<void()>> click_;
    std::map<TControllo, std::function<void()>> scelta_;   // a list closed on a choice
    std::map<TControllo, std::function<void()>> premuto_;  // toggles, radios, check boxes
    std::map<TControllo, std::function<void()>> uscita_;

    // ---- Setting controls: the state is kept and the view told
    void ImpostaTesto(TControllo c, const std::string& t);
    void ImpostaCaption(TControllo c, const std::string& t);
    void ImpostaElementi(TControllo c, const std::vector<std::string>& e);
    void ImpostaIndice(TControllo c, int i);
    /// Selects the list item equal to testo (letters a..z compared upper-cased).
    int SelezionaTesto(TControllo c, const std::string& testo);
    void ImpostaAbilitato(TControllo c, bool a);
    void ImpostaVisibile(TControllo c, bool v);
    void ImpostaSolaLettura(TControllo c, bool s);
    /// A toggle down releases the others of its group, as grouped buttons do.
    void ImpostaPremuto(TControllo c, bool p);
    void RilasciaGruppo(TControllo c);
    void ImpostaColore(TControllo c, mappa::TColore col);
    void ImpostaImmagine(TControllo c, int immagine);
    void MostraRapporto(std::vector<std::string> righe);
    void Messaggio(const std::string& t) { vista_.Messaggio(t); }
    // The hourglass for the scope (nested scopes show it once).
    struct Attesa {
        TFMapMain& f;
        bool prima;
        explicit Attesa(TFMapMain& form) : f(form), prima(form.attesa_) {
            if (!prima)
                f.vista_.CursoreAttesa(true);
            f.attesa_ = true;
        }
        ~Attesa() {
            f.attesa_ = prima;
            if (!prima)
                f.vista_.CursoreAttesa(false);
        }
        Attesa(const Attesa&) = delete;
        Attesa& operator=(const Attesa&) = delete;
    };

    // ---- TFMapMain.cpp
    void InizializzaControlli();
    void StatoPannello1();

    // ---- TFMapMain_identificazione.cpp
    void CollegaIdentificazione();
    void ImpostaCoordinateIniziali();
    void Radiogroup1Chiusura();
    void CambioValoreSito(TControllo c);
    void cmb_RegCambio();
    void cmb_ProvCambio();
    void cmb_ComChiusura();
    void cmb_ComUscita();
    void ComboBox2Chiusura();
    void SB_LocUtenteClick();
    void AbilitaAltitudine();
    void SelezionaNomi(); // region, province, municipality lists from sReg, sProv, sCom
    void NomiDaShape(int iReg, int iProv, int iCom);

    // ---- TFMapMain_siti.cpp
    void CollegaSiti();
    void RiempiListaLocUtente(const char* segnaposto);
    void SalvaLocUtente(int Posizione, const std::string& NomeSito, float Lon, float Lat);
    void ToolButton13Click();
    void ToolButton16Click();
    void ToolButton17Click();

    // ---- TFMapMain_mappa.cpp
    void CollegaMappa();
    void AggiornaLegenda();
    void CB_VisGrigliaClick();
    void MostraPannelloOpzioni(TControllo pannello);

    // ---- TFMapMain_strumenti.cpp
    void CollegaStrumenti();
    void TB_PuntClick();
    void TB_AdminClick();
    void TB_HintClick();
    void TB_ZoomPiuClick(TControllo da);
    void PickSito(int x, int y);
    void PickAmministrativo(int x, int y);
    void EventoDistanza(int x, int y);
    void ElasticoDistanza(double Lon, double Lat);

    // ---- TFMapMain_opzioni.cpp
    void CollegaOpzioni();
    void CaricaOpzioniForm();
    void OpzioniSpin(TControllo c);
    void OpzioniCasella(TControllo c);
    void OpzioniColore(TControllo c);
    void OpzioniCarattere(TControllo c);
    void VisNomiClick(TControllo casella);

    // ---- TFMapMain_chiusura.cpp
    void CollegaChiusura();

    // ---- TFMapMain_uscite.cpp
    void CollegaUscite();

    // ---- TFMapMain_aiuto.cpp
    void CollegaAiuto();

    // ---- TFMapMain_web.cpp
    void CollegaWeb();
    void FineMisuraAlCambioMappa();
    bool PaginaPronta() const { return WebBrowserDocumentComplete && htmlDoc; }
    /// The page is centred on the site of the WGS84 rows (call), when both
    /// are numbers.
    void VaiAlSitoWeb(const char* funzione);
};

} // namespace veltrano::dialogo
