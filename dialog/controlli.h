// The controls of the site dialog, by the names the form has always given
// them, and what each front end builds: the items of the three inspectors
// and of the user-site editor with their captions, hints and lists, the
// toolbar buttons with their hints, the menus. The texts are the dialog's
// own (UTF-8); a front end shows them as they stand and finds its widgets
// by NomeControllo.
#pragma once

#include <string>
#include <vector>

namespace veltrano::dialogo {

// clang-format off
#define VELTRANO_CONTROLLI(X)                                                                        \
    /* site inspector */                                                                             \
    X(CatSito) X(Radiogroup1) X(NxRadioItem1) X(NxRadioItem2) X(cmb_Reg) X(cmb_Prov) X(cmb_Com)    \
    X(cmb_ComUt) X(Edit1) X(Edit2) X(NxTextItem5) X(NxTextItem6) X(NxTextItem7) X(NxTextItem8)     \
    X(CatOpera) X(ComboBox1) X(ComboBox2) X(EditEx3) X(CatIndirizzo)                                 \
    /* right panel */                                                                                \
    X(LbAvviso) X(EditIndirizzo) X(SB_CalcDist) X(SB_Altitudine) X(SB_LocUtente) X(EditorLocUtente) \
    X(edComUt) X(EdLongUt) X(EdLatUt) X(ToolButton13) X(ToolButton16) X(ToolButton17)              \
    X(SB_Applica) X(SB_Chiudi) X(SB_Annulla)                                                         \
    /* main toolbar */                                                                               \
    X(TB_Hint) X(TB_Punt) X(TB_Admin) X(TB_ZoomPiu) X(TB_ZoomMeno) X(TB_Pan) X(TB_ZoomTutto)        \
    X(TB_ZoomPrec) X(TB_Opzioni) X(TB_Griglia) X(ToolButton18) X(TB_SalvaImm) X(TB_StampaImm)      \
    X(TB_Avvertenze) X(TB_Help) X(Action9)                                                           \
    /* map toolbar, panels, status bar, legend, results */                                          \
    X(TB_Map) X(TB_Google) X(TB_Spettri) X(Panel10) X(SpeedButton21) X(Panel7) X(SpeedButton20)    \
    X(StatusPanel0) X(StatusPanel1) X(Panel9) X(Lb1) X(Lb2) X(Lb3) X(Lb4) X(Lb5) X(Lb6) X(Lb7)     \
    X(Lb8) X(Lb9) X(Lb10) X(Lb11) X(Panel3) X(LR_Dati) X(ToolButton6) X(ToolButton10)               \
    X(ToolButton11)                                                                                  \
    /* the site report (PDF or printer) */                                                           \
    X(TB_Relazione)                                                                                  \
    /* administrative options panel */                                                               \
    X(CB_VisReg) X(SE_SpessBReg) X(NxToolbarItem1) X(NxToolbarItem2) X(CB_VisNomiReg)               \
    X(NxToolbarItem7) X(CB_VisProv) X(SE_SpessBProv) X(NxToolbarItem4) X(NxToolbarItem5)            \
    X(CB_VisNomiProv) X(NxToolbarItem8) X(CB_VisCom) X(SE_SpessBCom) X(NxToolbarItem6)              \
    X(NxToolbarItem9) X(CB_VisNomiCom) X(NxToolbarItem10)                                            \
    /* geographic options panel */                                                                   \
    X(CB_VisGriglia) X(SE_DimPntGriglia) X(CB_VisEticPnt) X(NxComboBoxItem1) X(SB_StilePnt)         \
    X(NxToolbarItem3) X(CheckBox3) X(SpinEdit3) X(SpeedButton9) X(SpeedButton10) X(CheckBox5)       \
    X(SpinEdit5) X(SpeedButton12)
// clang-format on

enum class TControllo {
#define VELTRANO_ENUM(n) n,
    VELTRANO_CONTROLLI(VELTRANO_ENUM)
#undef VELTRANO_ENUM
        Nessuno
};
inline constexpr int NumControlli = static_cast<int>(TControllo::Nessuno);

/// The control's name ("Radiogroup1"): the object name in every front end.
const char* NomeControllo(TControllo c);
/// The control of a name; Nessuno when there is none.
TControllo ControlloDaNome(const std::string& nome);

/// What a front end builds for an inspector item.
enum class TTipoItem {
    Categoria,        // a heading
    CategoriaCasella, // a heading with a check box (the layer groups)
    Testo,            // a text field
    Lista,            // a drop-down list
    ListaScrivibile,  // a drop-down list that takes typed text
    Radio,            // one of the radio items under the same parent
    Casella,          // a check box
    Spin,             // a whole number with arrows
    Pulsante,         // a button: a colour swatch, "..." or a glyph
};

struct TDefinizioneItem {
    TControllo id;
    TControllo padre; // Nessuno: top level
    TTipoItem tipo;
    const char* caption;
    const char* hint;
    std::vector<std::string> elementi; // lists; a button's text
    int minimo = 0, massimo = 0, passo = 1, valore = 0; // spins
};

/// The inspectors, top to bottom.
const std::vector<TDefinizioneItem>& ItemsSito();              // "INDIVIDUAZIONE SITO" ...
const std::vector<TDefinizioneItem>& ItemsSitoUtente();        // the user-site editor
const std::vector<TDefinizioneItem>& ItemsOpzioniAmministrative();
const std::vector<TDefinizioneItem>& ItemsOpzioniGeografiche();

/// A button of a toolbar or of the right panel.
struct TDefinizionePulsante {
    TControllo id;
    const char* testo; // caption (buttons with text) or hint (picture buttons)
    bool interruttore; // a toggle that stays down
    int gruppo;        // toggles of one group > 0 exclude each other
};

/// Groups of toggles: "Seleziona sito" and "Seleziona tipologia
/// amministrazione" (may all be up); the zoom and pan buttons and the two
/// map buttons, where a click on the button that is down keeps it down.
enum TGruppoPulsanti { GruppoSelezione = 1, GruppoZoom = 2, GruppoMappe = 3 };
inline constexpr bool SempreUnoGiu(int gruppo) { return gruppo == GruppoZoom || gruppo == GruppoMappe; }

const std::vector<TDefinizionePulsante>& PulsantiToolbar();      // main toolbar; Nessuno = separator
const std::vector<TDefinizionePulsante>& PulsantiToolbarMappa(); // above the map
const std::vector<TDefinizionePulsante>& PulsantiSitoUtente();   // the editor's three picture buttons
const std::vector<TDefinizionePulsante>& PulsantiRisultati();    // beside the report
const std::vector<TDefinizionePulsante>& PulsantiPannello();     // under the inspector
/// True for a toggle of the main toolbar: its menu entry, if any, is a
/// checked entry that follows the button.
bool InterruttoreToolbar(TControllo c);

/// A menu entry: it presses the button it names (Nessuno: no action).
struct TVoceMenu {
    const char* testo; // with "&" before the access key; nullptr = separator
    TControllo azione;
    const char* scorciatoia; // "F1" or nullptr
};
struct TMenu {
    const char* testo;
    std::vector<TVoceMenu> voci;
};
const std::vector<TMenu>& Menu();
} // namespace veltrano::dialogo
