// The Win32 front end of the site dialog (inside the Windows library): the
// modal window with its menus, toolbars, inspectors, map, legend, report
// and status bar, built from the tables of dialog/controlli.h like the Qt
// one. It only shows what the form (dialogo::TFMapMain) tells it, as the
// view interface, and forwards the user's input to the form; every rule
// lives in the form. Every control's window carries its TControllo as its
// id (IdDi) and its name as its window property "Nome", so a test host finds
// it. GUI thread only; GDI+ must be started while the window exists.
//
// Adding to it: a toolbar button is a row of the tables in dialog/controlli.h
// (its label here in EtichettaBreve); a panel is a child window registered
// in voci_ and placed in Disponi(); the map's cursors are the library's own
// (cursori_win32.h), chosen by the map (CursoreSchermoDi).
#pragma once

#include "dialog/TFMapMain.h"
#include "dialog/vista.h"
#include "ui/win32/pittore_gdiplus.h"

#include <array>
#include <functional>
#include <memory>

namespace veltrano::ui {

class TInspectorWin32;
class TProgressoWin32;

/// The window id of a control's window (menu entries and toolbar buttons
/// use it as their command).
constexpr int IdDi(dialogo::TControllo c) { return 1000 + static_cast<int>(c); }

class TFMapMainWin32 : public dialogo::TVistaDialogo {
public:
    /// proprietario: the host's window the dialog belongs to (nullptr: the
    /// active window of the thread).
    explicit TFMapMainWin32(HWND proprietario = nullptr);
    ~TFMapMainWin32() override;
    TFMapMainWin32(const TFMapMainWin32&) = delete;
    TFMapMainWin32& operator=(const TFMapMainWin32&) = delete;

    HWND Finestra() const { return hwnd_; }
    /// Every message box of the dialog goes through here.
    static void (*MostraMessaggio)(HWND padre, const wchar_t* testo);

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
    void ImpostaImmagine(dialogo::TControllo c, int immagine) override;
    void MostraStilePunti(mappa::TFStileLayer& selettore) override;
    void InizioProgresso(const std::string& testo, int massimo) override;
    void Progresso(int posizione) override;
    void FineProgresso() override;
    void DimensioniMappa(int larghezza, int altezza) override;
    mappa::TImmagine CatturaCartina() override;
    dialogo::TEsito EseguiModale() override;
    void Chiudi(dialogo::TEsito esito) override;

    /// Runs an input handler of the form; a failure becomes a message. Not
    /// while the form itself is setting a control.
    void Inoltra(const std::function<void(dialogo::TFMapMain&)>& azione);
    bool Applicando() const { return applicando_; }

private:
    // What stands for a control on the screen.
    struct Voce {
        HWND hwnd = nullptr;                // its window (an inspector row's editor)
        TInspectorWin32* inspector = nullptr;
        HWND barra = nullptr;               // a toolbar button: its toolbar
        bool menu = false;                  // a menu entry
        bool interruttore = false;
        HBRUSH pennello = nullptr;          // a coloured label's background
        mappa::TColore colore = 0;
    };
    std::array<Voce, dialogo::NumControlli> voci_{};
    HWND hwnd_ = nullptr, proprietario_ = nullptr;
    HWND barra_ = nullptr, barraMappa_ = nullptr, barraSitoUtente_ = nullptr, barraRisultati_ = nullptr;
    HWND mappa_ = nullptr, stato_ = nullptr, rapporto_ = nullptr, suggerimenti_ = nullptr;
    HWND logo_ = nullptr;
    HMENU menu_ = nullptr;
    HFONT font_ = nullptr, grassetto_ = nullptr, fontRapporto_ = nullptr;
    HBRUSH sfondoRapporto_ = nullptr;
    std::unique_ptr<TInspectorWin32> ins1_, ins2_, ins3_, ins4_;
    std::unique_ptr<TProgressoWin32> progresso_;
    dialogo::TFMapMain* form_ = nullptr;
    bool applicando_ = false, mostrato_ = false, chiuso_ = false, mappaRidotta_ = false;
    dialogo::TEsito esito_ = dialogo::TEsito::Annulla;
    int attese_ = 0;
    RECT rettangoloMappa_{}; // where the map lies (the on-line map's place)
    // The map's picture, drawn again when the map's version changes.
    std::unique_ptr<Gdiplus::Bitmap> cache_;
    uint64_t versione_ = ~uint64_t{0};

    Voce& V(dialogo::TControllo c) { return voci_[static_cast<std::size_t>(c)]; }

    // The window procedure of the form's own windows (the dialog, the map):
    // messages reach Gestore once the window's handle is in Finestra.
    template <HWND TFMapMainWin32::*Finestra, LRESULT (TFMapMainWin32::*Gestore)(UINT, WPARAM, LPARAM)>
    static LRESULT CALLBACK Procedura(HWND h, UINT m, WPARAM w, LPARAM l);
    static LRESULT CALLBACK ProceduraPannello(HWND h, UINT m, WPARAM w, LPARAM l);
    LRESULT Messaggio(UINT m, WPARAM w, LPARAM l);
    LRESULT MessaggioMappa(UINT m, WPARAM w, LPARAM l);

    void Crea();
    HWND CreaToolbar(const std::vector<dialogo::TDefinizionePulsante>& pulsanti, HWND padre, bool verticale);
    HWND Figlio(const wchar_t* classe, const std::wstring& testo, DWORD stile, HWND padre, dialogo::TControllo c,
                DWORD stileEsteso = 0);
    void Suggerimento(HWND controllo, const std::string& testo);
    void Disponi();
    void PosizionaMappa();
    void Comando(int id, int notifica, HWND controllo);
    void DisegnaMappa(HDC dc);
    const Gdiplus::Bitmap* Disegnata();
    bool Tasto(const MSG& m);

    friend class TInspectorWin32;
};

} // namespace veltrano::ui
