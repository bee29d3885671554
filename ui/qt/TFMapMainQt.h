// The Qt front end of the site dialog: the window with its menus, toolbars,
// inspectors, map, legend and report, built from the tables of
// dialog/controlli.h. It only shows what the form (dialogo::TFMapMain)
// tells it, as the view interface, and forwards the user's input to the
// form; every rule lives in the form. Widgets carry the controls' names as
// object names. GUI thread only.
//
//   TFMapMainQt.cpp        construction and layout
//   TFMapMainQt_vista.cpp  the view interface and the forwarding of input
//   TFMapMainQt_uscite.cpp saving and printing, the spectra window, the site report
//   TFMapMainQt_aiuto.cpp  warnings, the maker's site, the export of the hazard points
//   TFMapMainQt_web.cpp    the on-line map (when built with Qt WebEngine)
#pragma once

#include "dialog/TFMapMain.h"
#include "dialog/vista.h"
#include "ui/qt/widget_mappa.h"
#include "widgets/inspector.h"

#include <QDialog>
#include <QVariantMap>

#include <array>
#include <functional>

class QAction;
class QLabel;
class QProgressDialog;
class QPlainTextEdit;
class QStatusBar;
class QToolBar;
class QVBoxLayout;

namespace veltrano::ui {

class TMappaWebQt;

class TFMapMainQt : public QDialog, public dialogo::TVistaDialogo {
    Q_OBJECT
public:
    explicit TFMapMainQt(QWidget* padre = nullptr);
    ~TFMapMainQt() override;

    /// Every message box of the dialog goes through here; tests replace it.
    static std::function<void(QWidget*, const QString&)> MostraMessaggio;
    /// The information boxes (caption, text); tests replace it.
    static std::function<void(QWidget*, const QString&, const QString&)> MostraInformazione;

    dialogo::TFMapMain* Form() const { return form_; }
    /// The widget, action or inspector item of a control (null if none).
    QWidget* Widget(dialogo::TControllo c) const;
    QAction* Azione(dialogo::TControllo c) const;
    widgets::TItemInspector* Item(dialogo::TControllo c) const;
    widgets::TInspector* Inspector(dialogo::TControllo c) const;

    // ---- TVistaDialogo
    void Collega(dialogo::TFMapMain* form) override;
    void ImpostaTesto(dialogo::TControllo c, const std::string& testo) override;
    void ImpostaCaption(dialogo::TControllo c, const std::string& caption) override;
    void ImpostaElementi(dialogo::TControllo c, const std::vector<std::string>& elementi) override;
    void ImpostaIndice(dialogo::TControllo c, int indice) override;
    void ImpostaAbilitato(dialogo::TControllo c, bool abilitato) override;
    void ImpostaVisibile(dialogo::TControllo c, bool visibile) override;
    void ImpostaSolaLettura(dialogo::TControllo c, bool solaLettura) override;
    void ImpostaPremuto(dialogo::TControllo c, bool premuto) override;
    void ImpostaColore(dialogo::TControllo c, mappa::TColore colore) override;
    void ImpostaImmagine(dialogo::TControllo c, int immagine) override;
    void FineModifica() override;
    void SelezionaItem(dialogo::TControllo c) override;
    void MostraRapporto(const std::vector<std::string>& righe) override;
    void ImpostaTitolo(const std::string& titolo) override;
    void Massimizza() override;
    void CursoreAttesa(bool attesa) override;
    void ProcessaEventi() override;
    void Messaggio(const std::string& testo) override;
    std::optional<mappa::TColore> ScegliColore(mappa::TColore attuale) override;
    std::optional<mappa::TCarattere> ScegliCarattere(const mappa::TCarattere& attuale,
                                                     mappa::TColore* colore) override;
    void MostraStilePunti(mappa::TFStileLayer& selettore) override;
    void MostraAvvertenze(const std::vector<std::string>& righe) override;
    bool ApriIndirizzo(const std::string& indirizzo) override;
    void InizioProgresso(const std::string& testo, int massimo) override;
    void Progresso(int posizione) override;
    void FineProgresso() override;
    void DimensioniMappa(int larghezza, int altezza) override;
    mappa::TImmagine CatturaCartina() override;
    // TFMapMainQt_uscite.cpp
    bool OffreSpettri() const override { return true; }
    std::optional<std::filesystem::path> ScegliFileRapporto(const std::string& nome) override;
    std::optional<dialogo::TSceltaImmagine> ScegliFileImmagine(const std::string& nome) override;
    void SalvaJpeg(const std::filesystem::path& file, const mappa::TImmagine& immagine) override;
    bool StampaRapporto(const std::vector<std::string>& righe, const std::string& titolo) override;
    bool StampaCartina(const mappa::TImmagine& immagine) override;
    void MostraSpettri(const dialogo::TSitoDialogo& sito) override;
    bool StampaRelazione(const dialogo::TSitoDialogo& sito) override;
    dialogo::TEsito EseguiModale() override;
    void Chiudi(dialogo::TEsito esito) override;
    // TFMapMainQt_web.cpp
    bool OffreMappaWeb() const override;
    bool ConnessoInternet() override;
    void NavigaMappaWeb(const std::filesystem::path& pagina) override;
    void AttendiMappaWeb() override;
    void MappaWebDavanti(bool davanti) override;
    void CollegaClickWeb(mappa::TEventObject evento) override;
    void EseguiScript(const std::string& testo) override;
    std::optional<std::string> LeggiElementoWeb(const std::string& id) override;
    void MessaggioInformazione(const std::string& testo, const std::string& titolo) override;
    /// The on-line map (null until it is first shown, and without WebEngine).
    TMappaWebQt* MappaWeb() const { return web_; }

    // ---- Parts of the window, for the tests
    TWidgetMappa* Map = nullptr;
    QWidget* WebBrowser1 = nullptr;
    QPlainTextEdit* LR_Dati = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    widgets::TInspector *NextInspector1 = nullptr, *NextInspector2 = nullptr, *NextInspector3 = nullptr,
                        *NextInspector4 = nullptr;
    /// The progress dialog while a long task runs (null otherwise).
    QProgressDialog* Progresso1 = nullptr;

    /// ToolButton19: every hazard point into the spreadsheet of the data
    /// folder, on a worker thread behind a progress dialog that can stop it.
    void ToolButton19Click();

public slots:
    void reject() override;

protected:
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    struct Voce {
        widgets::TItemInspector* item = nullptr;
        widgets::TInspector* inspector = nullptr;
        dialogo::TTipoItem tipo = dialogo::TTipoItem::Categoria;
        QWidget* widget = nullptr;
        QAction* azione = nullptr;
        QAction* menu = nullptr; // the menu entry of a toggle, checked with it
    };
    std::array<Voce, dialogo::NumControlli> voci_{};
    // The fields of the user-site editor, in the order Return walks them.
    static constexpr std::array<dialogo::TControllo, 3> CampiSitoUtente{
        dialogo::TControllo::edComUt, dialogo::TControllo::EdLongUt, dialogo::TControllo::EdLatUt};
    dialogo::TFMapMain* form_ = nullptr;
    bool applicando_ = false; // the form is setting a control: no input to forward
    bool mappaRidotta_ = false; // the map is reduced for the closing picture
    int attese_ = 0;
    int percentuale_ = -1; // of the progress dialog, last shown
    QVBoxLayout* radice_ = nullptr;
    TMappaWebQt* web_ = nullptr;
    bool clickWeb_ = false;      // the page's click is being handled
    QVariantMap elementiClick_; // the page's elements at that click

    Voce& V(dialogo::TControllo c) { return voci_[static_cast<std::size_t>(c)]; }
    const Voce& V(dialogo::TControllo c) const { return voci_[static_cast<std::size_t>(c)]; }
    /// Runs an input handler of the form; a failure becomes a message.
    void Inoltra(const std::function<void(dialogo::TFMapMain&)>& azione);

    // ---- TFMapMainQt.cpp
    void CreaMenu();
    QToolBar* CreaToolbar(const std::vector<dialogo::TDefinizionePulsante>& pulsanti, QWidget* padre);
    widgets::TInspector* CreaInspector(const char* nome, const std::vector<dialogo::TDefinizioneItem>& items);
    void CreaAreaMappa(QLayout* riga);
    void CreaPannelloDestro(QLayout* riga);
    QWidget* CreaPannelloOpzioni(dialogo::TControllo id, const char* titolo, dialogo::TControllo chiudi,
                                 widgets::TInspector* ins);
    void CreaLegenda();
    void CreaRisultati();
    void PosizionaMappa();

    // ---- TFMapMainQt_vista.cpp
    void CollegaInspector(widgets::TInspector* ins);
    void CollegaMappa();

    // ---- TFMapMainQt_aiuto.cpp
    void CreaComandiAggiunti(QToolBar* principale);
};

} // namespace veltrano::ui
