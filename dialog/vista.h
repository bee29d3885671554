// The view interface of the site dialog: everything the form's behaviour
// (TFMapMain, toolkit-free) asks of the screen. A front end (Qt on Linux,
// Win32 in the Windows library) implements it over its own widgets, one
// widget per TControllo (dialog/controlli.h), and forwards the user's input
// back to the form (TFMapMain's input section). The form never reads a
// widget: it keeps each control's state itself and pushes every change
// here, so a front end only shows what it is told.
//
// Calls come from the GUI thread. Setting a value must not be reported back
// as user input. Texts are UTF-8.
#pragma once

#include "dialog/controlli.h"
#include "map/pittore.h"

#include <optional>
#include <string>
#include <vector>

namespace veltrano::dialogo {

enum class TEsito { Ok, Annulla };

class TFMapMain;

class TVistaDialogo {
public:
    virtual ~TVistaDialogo() = default;

    /// The form whose input the view forwards from now on (nullptr: none,
    /// before the form goes).
    virtual void Collega(TFMapMain* form) = 0;

    // ---- Controls
    /// A text item's text, a list's typed text, a label's or a status
    /// panel's text, a spin's number.
    virtual void ImpostaTesto(TControllo c, const std::string& testo) = 0;
    /// The caption beside an inspector item, or a button's text.
    virtual void ImpostaCaption(TControllo c, const std::string& caption) = 0;
    /// A list's items; the selection is set apart (ImpostaIndice).
    virtual void ImpostaElementi(TControllo c, const std::vector<std::string>& elementi) = 0;
    /// A list's selected item (-1: none).
    virtual void ImpostaIndice(TControllo c, int indice) = 0;
    virtual void ImpostaAbilitato(TControllo c, bool abilitato) = 0;
    virtual void ImpostaVisibile(TControllo c, bool visibile) = 0;
    virtual void ImpostaSolaLettura(TControllo c, bool solaLettura) = 0;
    /// A toggle button down, a radio item selected, a check box checked.
    virtual void ImpostaPremuto(TControllo c, bool premuto) = 0;
    /// A colour swatch, or a legend cell's background.
    virtual void ImpostaColore(TControllo c, mappa::TColore colore) = 0;
    /// Ends any editing in progress in the inspectors (the typed text stays).
    virtual void FineModifica() = 0;
    /// Makes the item the inspector's current row and scrolls to it.
    virtual void SelezionaItem(TControllo c) = 0;

    // ---- The form
    /// The report panel's lines (tab characters align the table).
    virtual void MostraRapporto(const std::vector<std::string>& righe) = 0;
    virtual void ImpostaTitolo(const std::string& titolo) = 0;
    virtual void Massimizza() = 0;
    /// The hourglass over the whole form while true.
    virtual void CursoreAttesa(bool attesa) = 0;
    /// Lets pending window messages (layout, painting) run.
    virtual void ProcessaEventi() = 0;
    virtual void Messaggio(const std::string& testo) = 0;
    virtual std::optional<mappa::TColore> ScegliColore(mappa::TColore attuale) = 0;
    virtual std::optional<mappa::TCarattere> ScegliCarattere(const mappa::TCarattere& attuale) = 0;

    // ---- The map control
    /// Resizes the map control [px]; the front end then reports the size
    /// it got through TFMapMain::MappaDimensioni.
    virtual void DimensioniMappa(int larghezza, int altezza) = 0;
    /// The map as the user sees it at this moment (CatturaCartina).
    virtual mappa::TImmagine CatturaCartina() = 0;

    // ---- Modal run
    /// Shows the form modally and returns once Chiudi has been called.
    virtual TEsito EseguiModale() = 0;
    /// Ends the modal run with esito.
    virtual void Chiudi(TEsito esito) = 0;
};

} // namespace veltrano::dialogo
