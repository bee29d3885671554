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
#include "dialog/uscite.h"
#include "map/evento.h"
#include "map/pittore.h"
#include "map/stile_punti.h"

#include <filesystem>
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
    /// A button's picture: the glyph of point style immagine (0..6, the
    /// point types of map/pittore.h), as "Stile punti" shows the chosen one.
    virtual void ImpostaImmagine(TControllo c, int immagine) = 0;
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
    /// The colour dialog preset with attuale; nothing when cancelled.
    virtual std::optional<mappa::TColore> ScegliColore(mappa::TColore attuale) = 0;
    /// The font dialog preset with attuale and, when colore is not null,
    /// with the colour *colore, which the user may change too (the label
    /// colour of a layer); nothing when cancelled (*colore untouched).
    virtual std::optional<mappa::TCarattere> ScegliCarattere(const mappa::TCarattere& attuale,
                                                             mappa::TColore* colore) = 0;
    /// Runs the point-style picker modally at the form's left +
    /// TFStileLayer::ScostamentoX, top + ScostamentoY: every button pressed
    /// goes to selettore.Premuto and closes it, as Esc does with "Chiudi".
    virtual void MostraStilePunti(mappa::TFStileLayer& selettore) = 0;
    /// The warnings window "Avvertenze" (TFWarn), modal: the lines in a
    /// read-only box and "Chiudi". A front end without one shows a message.
    virtual void MostraAvvertenze(const std::vector<std::string>& righe) {
        std::string t;
        for (const std::string& r : righe)
            t += r + "\n";
        Messaggio(t);
    }
    /// Opens the address in the user's web browser; false if it cannot.
    virtual bool ApriIndirizzo(const std::string&) { return false; }

    // ---- Progress of a long task
    /// Shows the progress dialog with its text, going from 0 to massimo.
    virtual void InizioProgresso(const std::string& testo, int massimo) = 0;
    /// The step reached; the front end lets pending window messages run.
    virtual void Progresso(int posizione) = 0;
    /// Closes the progress dialog, back at 0 for the next task.
    virtual void FineProgresso() = 0;

    // ---- The map control
    /// Resizes the map control [px]; the front end then reports the size
    /// it got through TFMapMain::MappaDimensioni.
    virtual void DimensioniMappa(int larghezza, int altezza) = 0;
    /// The map as the user sees it at this moment (CatturaCartina).
    virtual mappa::TImmagine CatturaCartina() = 0;

    // ---- Saving, printing, spectra and the site report
    // A front end that has none of these answers as a cancelled dialog.
    /// True when the front end has the spectra window and the site report:
    /// their buttons show only then.
    virtual bool OffreSpettri() const { return false; }
    /// The save dialog of the report's text preset with nome; nothing when
    /// cancelled.
    virtual std::optional<std::filesystem::path> ScegliFileRapporto(const std::string& /*nome*/) {
        return std::nullopt;
    }
    /// The picture-save dialog (entries JPEG and bitmap) preset with nome;
    /// at every change of entry the name goes back to nome with the entry's
    /// default extension (EstensioneFiltro). Nothing when cancelled.
    virtual std::optional<TSceltaImmagine> ScegliFileImmagine(const std::string& /*nome*/) { return std::nullopt; }
    /// Writes the picture as a JPEG file; throws veltrano::Errore naming the
    /// file when it cannot.
    virtual void SalvaJpeg(const std::filesystem::path& file, const mappa::TImmagine& /*immagine*/) {
        throw ErroreApertura(file.string() + ": JPEG non disponibile");
    }
    /// The printer set-up dialog; when confirmed, the report's lines printed
    /// black on white as one job titled titolo. False when cancelled.
    virtual bool StampaRapporto(const std::vector<std::string>& /*righe*/, const std::string& /*titolo*/) {
        return false;
    }
    /// The printer set-up dialog; when confirmed, the picture stretched over
    /// the page as one job. False when cancelled.
    virtual bool StampaCartina(const mappa::TImmagine& /*immagine*/) { return false; }
    /// The response spectra window of the site, modal.
    virtual void MostraSpettri(const TSitoDialogo& /*sito*/) {}
    /// The site report: its soil and topography, then the printer set-up
    /// dialog with a PDF file offered. False when cancelled.
    virtual bool StampaRelazione(const TSitoDialogo& /*sito*/) { return false; }

    // ---- The on-line map
    // A web page of the data folder shown in place of the map control. A
    // front end without one keeps every default: no web map, no
    // connection, nothing loaded, every element missing.
    /// True when the front end can show the on-line map ("Visualizza Mappa
    /// On-Line" is enabled only then).
    virtual bool OffreMappaWeb() const { return false; }
    /// Whether the system reports a connection to the internet.
    virtual bool ConnessoInternet() { return false; }
    /// Starts loading the page. The front end reports the start to
    /// TFMapMain::WebBrowser1BeforeNavigate2 and the end to
    /// TFMapMain::WebBrowser1DocumentComplete.
    virtual void NavigaMappaWeb(const std::filesystem::path& /*pagina*/) {}
    /// Waits, letting window messages run, while the page is loading or
    /// busy; gives up after a bounded time.
    virtual void AttendiMappaWeb() {}
    /// The web map in front of the map control (true) or behind it.
    virtual void MappaWebDavanti(bool /*davanti*/) {}
    /// From now on a click on the page's document calls evento's default
    /// member; until the next page load.
    virtual void CollegaClickWeb(mappa::TEventObject /*evento*/) {}
    /// Runs one JavaScript statement in the page's window.
    virtual void EseguiScript(const std::string& /*testo*/) {}
    /// The inner HTML of the page's element with that id; nothing when the
    /// page has no such element (or no page is loaded).
    virtual std::optional<std::string> LeggiElementoWeb(const std::string& /*id*/) { return std::nullopt; }
    /// A message box with the information icon and its own caption.
    virtual void MessaggioInformazione(const std::string& testo, const std::string& /*titolo*/) { Messaggio(testo); }

    // ---- Modal run
    /// Shows the form modally and returns once Chiudi has been called.
    virtual TEsito EseguiModale() = 0;
    /// Ends the modal run with esito.
    virtual void Chiudi(TEsito esito) = 0;
};

} // namespace veltrano::dialogo
