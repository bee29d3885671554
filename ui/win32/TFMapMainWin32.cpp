// TFMapMainWin32: the window, its layout, the view interface and the
// forwarding of input.
#include "ui/win32/TFMapMainWin32.h"

#include "dialog/testi.h"
#include "map/strumenti.h"
#include "ui/win32/cursori_win32.h"
#include "ui/win32/finestre_win32.h"
#include "ui/win32/inspector_win32.h"
#include "ui/win32/progresso_win32.h"
#include "ui/win32/stile_punti_win32.h"

#include <commctrl.h>
#include <commdlg.h>
#include <windowsx.h>

#include <cstring>

namespace veltrano::ui {

using dialogo::TControllo;
using C = TControllo;
namespace G = Gdiplus;

namespace {

constexpr wchar_t ClasseFinestra[] = L"VeltranoFMapMain", ClasseMappa[] = L"VeltranoMappa",
                  ClassePannello[] = L"VeltranoPannello";
constexpr int IdNessuno = 999; // menu entries without an action
constexpr int LarghezzaPannelloOpzioni = 250, AltezzaRisultati = 168, AltezzaLegenda = 22;

TControllo ControlloDi(int id) {
    const int i = id - IdDi(C::CatSito);
    return i >= 0 && i < dialogo::NumControlli ? static_cast<TControllo>(i) : C::Nessuno;
}

// A short label for the text toolbars; the whole text is the button's tip.
const wchar_t* EtichettaBreve(TControllo c) {
    switch (c) {
    case C::TB_Hint: return L"Istantaneo";
    case C::TB_Punt: return L"Sito";
    case C::TB_Admin: return L"Amministrazione";
    case C::TB_ZoomPiu: return L"Zoom +";
    case C::TB_ZoomMeno: return L"Zoom \x2212";
    case C::TB_Pan: return L"Pan";
    case C::TB_ZoomTutto: return L"Tutta";
    case C::TB_ZoomPrec: return L"Precedente";
    case C::TB_Opzioni: return L"Amministrativi";
    case C::TB_Griglia: return L"Geografici";
    case C::ToolButton18: return L"Salva opzioni";
    case C::TB_SalvaImm: return L"Salva";
    case C::TB_StampaImm: return L"Stampa";
    case C::TB_Map: return L"Mappe";
    case C::TB_Google: return L"On-line";
    case C::TB_Spettri: return L"Spettri";
    case C::ToolButton13: return L"Aggiungi";
    case C::ToolButton16: return L"Modifica";
    case C::ToolButton17: return L"Elimina";
    case C::ToolButton6: return L"Nascondi";
    case C::ToolButton10: return L"Salva";
    case C::ToolButton11: return L"Stampa";
    default: return nullptr;
    }
}

void MessaggioPredefinito(HWND padre, const wchar_t* testo) {
    MessageBoxW(padre, testo, Wide(dialogo::testi::Titolo).c_str(), MB_OK | MB_ICONWARNING);
}

// Setting a control by code: the form must not hear it back as input.
struct Silenzio {
    bool& flag;
    bool prima;
    explicit Silenzio(bool& f) : flag(f), prima(f) { flag = true; }
    ~Silenzio() { flag = prima; }
};

BOOL CALLBACK ImpostaFont(HWND h, LPARAM font) {
    if (!SendMessageW(h, WM_GETFONT, 0, 0))
        SendMessageW(h, WM_SETFONT, static_cast<WPARAM>(font), FALSE);
    return TRUE;
}

} // namespace

void (*TFMapMainWin32::MostraMessaggio)(HWND, const wchar_t*) = MessaggioPredefinito;

TFMapMainWin32::TFMapMainWin32(HWND proprietario) : proprietario_(proprietario ? proprietario : GetActiveWindow()) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES | ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    RegistraClasse(ClasseFinestra, Procedura<&TFMapMainWin32::hwnd_, &TFMapMainWin32::Messaggio>,
                   GetSysColorBrush(COLOR_BTNFACE));
    RegistraClasse(ClasseMappa, Procedura<&TFMapMainWin32::mappa_, &TFMapMainWin32::MessaggioMappa>, nullptr);
    RegistraClasse(ClassePannello, ProceduraPannello, GetSysColorBrush(COLOR_BTNFACE));
    CaricaCursori(); // once per process: the first dialog loads them
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof ncm;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
    font_ = CreateFontIndirectW(&ncm.lfMessageFont);
    LOGFONTW lf = ncm.lfMessageFont;
    lf.lfWeight = FW_BOLD;
    grassetto_ = CreateFontIndirectW(&lf);
    // Courier New bold, 11 pixels, white on blue.
    fontRapporto_ = CreateFontW(-11, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, L"Courier New");
    sfondoRapporto_ = CreateSolidBrush(RGB(49, 106, 197));
    Crea();
}

TFMapMainWin32::~TFMapMainWin32() {
    Collega(nullptr);
    progresso_.reset();
    ins1_.reset();
    ins2_.reset();
    ins3_.reset();
    ins4_.reset();
    if (IsWindow(hwnd_))
        DestroyWindow(hwnd_);
    if (menu_ && !IsMenu(menu_))
        menu_ = nullptr;
    for (Voce& v : voci_)
        if (v.pennello)
            DeleteObject(v.pennello);
    for (HGDIOBJ o : {static_cast<HGDIOBJ>(font_), static_cast<HGDIOBJ>(grassetto_),
                      static_cast<HGDIOBJ>(fontRapporto_), static_cast<HGDIOBJ>(sfondoRapporto_)})
        if (o)
            DeleteObject(o);
}

HWND TFMapMainWin32::Figlio(const wchar_t* classe, const std::wstring& testo, DWORD stile, HWND padre, TControllo c,
                            DWORD stileEsteso) {
    HWND h = CreateWindowExW(stileEsteso, classe, testo.c_str(), WS_CHILD | WS_VISIBLE | stile, 0, 0, 10, 10, padre,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(c == C::Nessuno ? 0 : IdDi(c))), Modulo(),
                             nullptr);
    SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    if (c != C::Nessuno) {
        NomeFinestra(h, dialogo::NomeControllo(c));
        V(c).hwnd = h;
    }
    return h;
}

void TFMapMainWin32::Suggerimento(HWND controllo, const std::string& testo) {
    if (!suggerimenti_ || testo.empty())
        return;
    const std::wstring w = Wide(testo);
    TOOLINFOW ti{};
    ti.cbSize = TTTOOLINFOW_V2_SIZE;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = GetParent(controllo);
    ti.uId = reinterpret_cast<UINT_PTR>(controllo);
    ti.lpszText = const_cast<wchar_t*>(w.c_str());
    SendMessageW(suggerimenti_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

HWND TFMapMainWin32::CreaToolbar(const std::vector<dialogo::TDefinizionePulsante>& pulsanti, HWND padre,
                                 bool verticale) {
    HWND t = CreateWindowExW(0, TOOLBARCLASSNAMEW, L"",
                             WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_LIST | TBSTYLE_TOOLTIPS | CCS_NODIVIDER |
                                 CCS_NORESIZE | CCS_NOPARENTALIGN | (verticale ? CCS_VERT | TBSTYLE_WRAPABLE : 0),
                             0, 0, 10, 10, padre, nullptr, Modulo(), nullptr);
    SendMessageW(t, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageW(t, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_MIXEDBUTTONS);
    SendMessageW(t, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    SendMessageW(t, TB_SETBITMAPSIZE, 0, MAKELPARAM(0, 0));
    SendMessageW(t, TB_SETMAXTEXTROWS, 1, 0);
    std::vector<TBBUTTON> b;
    std::vector<std::wstring> testi;
    testi.reserve(pulsanti.size());
    for (const dialogo::TDefinizionePulsante& d : pulsanti) {
        TBBUTTON x{};
        x.iBitmap = I_IMAGENONE;
        if (d.id == C::Nessuno) {
            x.fsStyle = BTNS_SEP;
        } else {
            const wchar_t* breve = EtichettaBreve(d.id);
            testi.push_back(breve ? std::wstring(breve) : Wide(d.testo));
            x.idCommand = IdDi(d.id);
            x.fsState = TBSTATE_ENABLED | (verticale ? TBSTATE_WRAP : 0);
            x.fsStyle = static_cast<BYTE>(BTNS_AUTOSIZE | BTNS_SHOWTEXT | (d.interruttore ? BTNS_CHECK : 0));
            x.iString = reinterpret_cast<INT_PTR>(testi.back().c_str());
            Voce& v = V(d.id);
            v.barra = t;
            v.interruttore = d.interruttore;
        }
        b.push_back(x);
    }
    SendMessageW(t, TB_ADDBUTTONSW, b.size(), reinterpret_cast<LPARAM>(b.data()));
    SendMessageW(t, TB_AUTOSIZE, 0, 0);
    return t;
}

void TFMapMainWin32::Crea() {
    hwnd_ = CreateWindowExW(WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, ClasseFinestra,
                            Wide(dialogo::testi::Titolo).c_str(),
                            WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX | WS_CLIPCHILDREN, CW_USEDEFAULT,
                            CW_USEDEFAULT, 1008, 820, proprietario_, nullptr, Modulo(), this);
    NomeFinestra(hwnd_, "FMapMain");
    suggerimenti_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, 0,
                                    0, 0, 0, hwnd_, nullptr, Modulo(), nullptr);
    SendMessageW(suggerimenti_, TTM_SETMAXTIPWIDTH, 0, 400);

    // Menus: an entry presses the button it names.
    menu_ = CreateMenu();
    for (const dialogo::TMenu& m : dialogo::Menu()) {
        HMENU sotto = CreatePopupMenu();
        bool separatore = false; // the last entry appended is a separator
        for (const dialogo::TVoceMenu& v : m.voci) {
            if (!v.testo) {
                if (!separatore)
                    AppendMenuW(sotto, MF_SEPARATOR, 0, nullptr);
                separatore = true;
                continue;
            }
            // The site report needs the spectra and page layouts that this
            // front end does not show yet: no entry that would do nothing.
            if (v.azione == C::TB_Relazione && !OffreSpettri())
                continue;
            separatore = false;
            std::wstring t = Wide(v.testo);
            if (v.scorciatoia)
                t += L"\t" + Wide(v.scorciatoia);
            AppendMenuW(sotto, MF_STRING, v.azione == C::Nessuno ? IdNessuno : static_cast<UINT_PTR>(IdDi(v.azione)),
                        t.c_str());
            // "Esci" and the entries of the tool toggles, which show whether
            // their tool is on, are set through the menu too.
            if (v.azione == C::Action9 || dialogo::InterruttoreToolbar(v.azione))
                V(v.azione).menu = true;
        }
        AppendMenuW(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(sotto), Wide(m.testo).c_str());
    }
    SetMenu(hwnd_, menu_);

    barra_ = CreaToolbar(dialogo::PulsantiToolbar(), hwnd_, false);
    NomeFinestra(barra_, "ToolBarPrincipale");

    // The map area: toolbar, option panels, the map, the status bar.
    barraMappa_ = CreaToolbar(dialogo::PulsantiToolbarMappa(), hwnd_, false);
    NomeFinestra(barraMappa_, "ToolBarMappa");
    logo_ = Figlio(L"STATIC", L"Veltrano", SS_RIGHT | SS_CENTERIMAGE | SS_NOTIFY, hwnd_, C::Nessuno);
    SendMessageW(logo_, WM_SETFONT, reinterpret_cast<WPARAM>(grassetto_), FALSE);
    Suggerimento(logo_, "Visita il nostro sito");
    auto pannello = [this](TControllo id, const char* titolo, TControllo chiudi,
                           const std::vector<dialogo::TDefinizioneItem>& items, const char* nome,
                           std::unique_ptr<TInspectorWin32>& ins) {
        HWND p = Figlio(ClassePannello, L"", WS_CLIPCHILDREN, hwnd_, id, WS_EX_CONTROLPARENT);
        ShowWindow(p, SW_HIDE);
        HWND t = Figlio(L"STATIC", Wide(titolo), SS_LEFTNOWORDWRAP | SS_CENTERIMAGE, p, C::Nessuno);
        SendMessageW(t, WM_SETFONT, reinterpret_cast<WPARAM>(grassetto_), FALSE);
        SetPropW(t, L"Titolo", reinterpret_cast<HANDLE>(1));
        Figlio(L"BUTTON", L"x", BS_PUSHBUTTON | WS_TABSTOP, p, chiudi);
        ins = std::make_unique<TInspectorWin32>(*this, p, nome, items, font_, grassetto_);
        for (const auto& d : items)
            V(d.id).inspector = ins.get(), V(d.id).hwnd = ins->Editor(d.id);
    };
    pannello(C::Panel10, dialogo::testi::OpzioniAmministrative, C::SpeedButton21, dialogo::ItemsOpzioniAmministrative(),
             "NextInspector4", ins4_);
    pannello(C::Panel7, dialogo::testi::OpzioniGeografiche, C::SpeedButton20, dialogo::ItemsOpzioniGeografiche(),
             "NextInspector3", ins3_);
    mappa_ = CreateWindowExW(WS_EX_CLIENTEDGE, ClasseMappa, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 100,
                             100, hwnd_, nullptr, Modulo(), this);
    NomeFinestra(mappa_, "Map");
    stato_ = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | CCS_NOPARENTALIGN | CCS_NORESIZE, 0, 0,
                             10, 10, hwnd_, nullptr, Modulo(), nullptr);
    NomeFinestra(stato_, "StatusBar1");
    SendMessageW(stato_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    V(C::StatusPanel0).hwnd = stato_;
    V(C::StatusPanel1).hwnd = stato_;

    // The right panel.
    HWND avviso = Figlio(L"STATIC", L"", SS_CENTER, hwnd_, C::LbAvviso);
    SendMessageW(avviso, WM_SETFONT, reinterpret_cast<WPARAM>(grassetto_), FALSE);
    ins1_ = std::make_unique<TInspectorWin32>(*this, hwnd_, "NextInspector1", dialogo::ItemsSito(), font_, grassetto_);
    for (const auto& d : dialogo::ItemsSito())
        V(d.id).inspector = ins1_.get(), V(d.id).hwnd = ins1_->Editor(d.id);
    HWND indirizzo = Figlio(L"EDIT", L"", ES_AUTOHSCROLL | WS_TABSTOP | WS_BORDER, hwnd_, C::EditIndirizzo);
    Suggerimento(indirizzo, "es. (Via Nomentana 16, Roma)");
    for (const dialogo::TDefinizionePulsante& d : dialogo::PulsantiPannello()) {
        const DWORD stile = d.interruttore ? BS_AUTOCHECKBOX | BS_PUSHLIKE
                                           : (d.id == C::SB_Chiudi ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
        Figlio(L"BUTTON", Wide(d.testo), stile | WS_TABSTOP, hwnd_, d.id);
        V(d.id).interruttore = d.interruttore;
    }
    HWND editor = Figlio(ClassePannello, L"", WS_CLIPCHILDREN, hwnd_, C::EditorLocUtente, WS_EX_CONTROLPARENT);
    Figlio(L"BUTTON", Wide(dialogo::testi::SitoUtente), BS_GROUPBOX, editor, C::Nessuno);
    barraSitoUtente_ = CreaToolbar(dialogo::PulsantiSitoUtente(), editor, false);
    NomeFinestra(barraSitoUtente_, "ToolBarSitoUtente");
    ins2_ = std::make_unique<TInspectorWin32>(*this, editor, "NextInspector2", dialogo::ItemsSitoUtente(), font_,
                                              grassetto_);
    for (const auto& d : dialogo::ItemsSitoUtente())
        V(d.id).inspector = ins2_.get(), V(d.id).hwnd = ins2_->Editor(d.id);

    // Legend and results under everything.
    HWND legenda = Figlio(ClassePannello, L"", 0, hwnd_, C::Panel9);
    for (TControllo c : {C::Lb1, C::Lb2, C::Lb3, C::Lb4, C::Lb5, C::Lb6, C::Lb7, C::Lb8, C::Lb9, C::Lb10, C::Lb11})
        Figlio(L"STATIC", L"", SS_CENTER | SS_CENTERIMAGE | WS_BORDER, legenda, c);
    HWND risultati = Figlio(ClassePannello, L"", WS_CLIPCHILDREN, hwnd_, C::Panel3, WS_EX_CONTROLPARENT);
    rapporto_ = Figlio(L"EDIT", L"", ES_MULTILINE | ES_READONLY | ES_AUTOHSCROLL | ES_AUTOVSCROLL | WS_VSCROLL |
                                          WS_HSCROLL | WS_TABSTOP,
                       risultati, C::LR_Dati, WS_EX_CLIENTEDGE);
    SendMessageW(rapporto_, WM_SETFONT, reinterpret_cast<WPARAM>(fontRapporto_), FALSE);
    {
        // The table aligns on tab stops every 48 pixels, counted in the
        // edit's dialog units (a quarter of the font's mean width).
        HDC dc = GetDC(rapporto_);
        HGDIOBJ vecchio = SelectObject(dc, fontRapporto_);
        TEXTMETRICW tm{};
        GetTextMetricsW(dc, &tm);
        SelectObject(dc, vecchio);
        ReleaseDC(rapporto_, dc);
        int tab = tm.tmAveCharWidth > 0 ? 48 * 4 / tm.tmAveCharWidth : 32;
        SendMessageW(rapporto_, EM_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&tab));
    }
    barraRisultati_ = CreaToolbar(dialogo::PulsantiRisultati(), risultati, true);
    NomeFinestra(barraRisultati_, "ToolBarRisultati");

    EnumChildWindows(hwnd_, ImpostaFont, reinterpret_cast<LPARAM>(font_));
    // Centred on the host's window, or on the screen.
    RECT r, su;
    GetWindowRect(hwnd_, &r);
    if (!proprietario_ || !GetWindowRect(proprietario_, &su) || IsIconic(proprietario_))
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &su, 0);
    const int w = r.right - r.left, h = r.bottom - r.top;
    SetWindowPos(hwnd_, nullptr, std::max(0L, su.left + (su.right - su.left - w) / 2),
                 std::max(0L, su.top + (su.bottom - su.top - h) / 2), 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Disponi();
}

// ---- Layout

void TFMapMainWin32::Disponi() {
    RECT rc;
    GetClientRect(hwnd_, &rc);
    const int W = rc.right, H = rc.bottom;
    auto altezza = [](HWND h) {
        RECT r;
        GetWindowRect(h, &r);
        return static_cast<int>(r.bottom - r.top);
    };
    auto misura = [](HWND barra) {
        SIZE s{};
        SendMessageW(barra, TB_GETMAXSIZE, 0, reinterpret_cast<LPARAM>(&s));
        return s;
    };
    const int hb = misura(barra_).cy + 4;
    MoveWindow(barra_, 0, 0, W, hb, TRUE);
    int basso = H;
    if (IsWindowVisible(V(C::Panel3).hwnd)) {
        basso -= AltezzaRisultati;
        MoveWindow(V(C::Panel3).hwnd, 0, basso, W, AltezzaRisultati, TRUE);
        const int lb = std::max(40, static_cast<int>(misura(barraRisultati_).cx) + 4);
        MoveWindow(rapporto_, 0, 0, W - lb, AltezzaRisultati, TRUE);
        MoveWindow(barraRisultati_, W - lb + 2, 2, lb - 2, AltezzaRisultati - 4, TRUE);
    }
    if (IsWindowVisible(V(C::Panel9).hwnd)) {
        basso -= AltezzaLegenda;
        MoveWindow(V(C::Panel9).hwnd, 0, basso, W, AltezzaLegenda, TRUE);
        const TControllo lb[] = {C::Lb1, C::Lb2, C::Lb3, C::Lb4, C::Lb5, C::Lb6, C::Lb7, C::Lb8, C::Lb9, C::Lb10, C::Lb11};
        for (int i = 0; i < 11; ++i)
            MoveWindow(V(lb[i]).hwnd, W * i / 11, 0, W * (i + 1) / 11 - W * i / 11, AltezzaLegenda, TRUE);
    }
    // At least the form's design width on the right; wider on a large
    // window, so that the lists show their texts whole.
    const int destro = std::clamp(W * 31 / 100, 313, 520);
    const int sinistro = W - destro;
    const int hm = misura(barraMappa_).cy + 4;
    MoveWindow(barraMappa_, 0, hb, sinistro - 120, hm, TRUE);
    MoveWindow(logo_, sinistro - 120, hb, 112, hm, TRUE);
    const int hs = 22;
    MoveWindow(stato_, 0, basso - hs, sinistro, hs, TRUE);
    int parti[] = {270, -1};
    SendMessageW(stato_, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parti));
    int x = 0;
    const int y0 = hb + hm, y1 = basso - hs;
    for (TControllo p : {C::Panel10, C::Panel7}) {
        HWND h = V(p).hwnd;
        if (!IsWindowVisible(h))
            continue;
        MoveWindow(h, x, y0, LarghezzaPannelloOpzioni, y1 - y0, TRUE);
        RECT pr;
        GetClientRect(h, &pr);
        HWND titolo = GetWindow(h, GW_CHILD);
        for (HWND c = titolo; c; c = GetWindow(c, GW_HWNDNEXT)) {
            if (GetPropW(c, L"Titolo"))
                MoveWindow(c, 4, 2, pr.right - 30, 20, TRUE);
            else if (GetDlgCtrlID(c) == IdDi(p == C::Panel10 ? C::SpeedButton21 : C::SpeedButton20))
                MoveWindow(c, pr.right - 24, 2, 20, 20, TRUE);
        }
        TInspectorWin32* ins = p == C::Panel10 ? ins4_.get() : ins3_.get();
        MoveWindow(ins->Finestra(), 2, 24, pr.right - 4, pr.bottom - 26, TRUE);
        x += LarghezzaPannelloOpzioni;
    }
    rettangoloMappa_ = RECT{x, y0, sinistro, std::max(y0 + 1, y1)};
    PosizionaMappa();

    // The right panel, top to bottom, the inspector taking what is left.
    const int xd = sinistro + 4, wd = destro - 8;
    int y = hb + 4;
    MoveWindow(V(C::LbAvviso).hwnd, xd, y, wd, 44, TRUE); // three lines
    y += 46;
    int fondo = basso - 4 - 28;
    const auto& p = dialogo::PulsantiPannello();
    for (int i = 0; i < 3; ++i)
        MoveWindow(V(p[static_cast<std::size_t>(3 + i)].id).hwnd, xd + i * (wd / 3), fondo, wd / 3 - 4, 26, TRUE);
    HWND editor = V(C::EditorLocUtente).hwnd;
    if (IsWindowVisible(editor)) {
        const int he = 22 + misura(barraSitoUtente_).cy + 84;
        fondo -= he + 4;
        MoveWindow(editor, xd, fondo, wd, he, TRUE);
        MoveWindow(GetWindow(editor, GW_CHILD), 0, 0, wd, he, TRUE); // the group box
        MoveWindow(barraSitoUtente_, 6, 18, wd - 12, misura(barraSitoUtente_).cy + 2, TRUE);
        MoveWindow(ins2_->Finestra(), 6, 20 + misura(barraSitoUtente_).cy, wd - 12, 80, TRUE);
    }
    fondo -= 30;
    MoveWindow(V(p[2].id).hwnd, xd, fondo, wd - 4, 26, TRUE);
    fondo -= 30;
    MoveWindow(V(p[0].id).hwnd, xd, fondo, wd / 2 - 4, 26, TRUE);
    MoveWindow(V(p[1].id).hwnd, xd + wd / 2, fondo, wd / 2 - 4, 26, TRUE);
    fondo -= 28;
    MoveWindow(V(C::EditIndirizzo).hwnd, xd, fondo, wd - 4, 22, TRUE);
    MoveWindow(ins1_->Finestra(), xd, y, wd - 4, std::max(40, fondo - 4 - y), TRUE);
    (void)altezza;
}

void TFMapMainWin32::PosizionaMappa() {
    if (!mappaRidotta_)
        MoveWindow(mappa_, rettangoloMappa_.left, rettangoloMappa_.top, rettangoloMappa_.right - rettangoloMappa_.left,
                   rettangoloMappa_.bottom - rettangoloMappa_.top, TRUE);
}

// ---- Input

void TFMapMainWin32::Inoltra(const std::function<void(dialogo::TFMapMain&)>& azione) {
    if (!form_ || applicando_)
        return;
    try {
        azione(*form_);
    } catch (const std::exception& e) {
        MostraMessaggio(hwnd_, Wide(e.what()).c_str());
    }
}

void TFMapMainWin32::Comando(int id, int notifica, HWND controllo) {
    const TControllo c = ControlloDi(id);
    if (c == C::Nessuno)
        return;
    Voce& v = V(c);
    if (v.inspector && controllo && controllo != v.barra) {
        v.inspector->Comando(c, notifica);
        return;
    }
    if (applicando_)
        return;
    if (!controllo) { // a menu entry
        Inoltra([c](dialogo::TFMapMain& f) { f.Click(c); });
        return;
    }
    if (controllo == v.barra) {
        if (v.interruttore) {
            const bool giu = SendMessageW(v.barra, TB_ISBUTTONCHECKED, static_cast<WPARAM>(id), 0) != 0;
            Inoltra([c, giu](dialogo::TFMapMain& f) { f.Premuto(c, giu); });
        } else {
            Inoltra([c](dialogo::TFMapMain& f) { f.Click(c); });
        }
        return;
    }
    if (notifica == BN_CLICKED) {
        if (v.interruttore) {
            const bool giu = SendMessageW(controllo, BM_GETCHECK, 0, 0) == BST_CHECKED;
            Inoltra([c, giu](dialogo::TFMapMain& f) { f.Premuto(c, giu); });
        } else {
            Inoltra([c](dialogo::TFMapMain& f) { f.Click(c); });
        }
    } else if (c == C::EditIndirizzo && notifica == EN_CHANGE) {
        const int n = GetWindowTextLengthW(controllo);
        std::wstring t(static_cast<std::size_t>(n) + 1, L'\0');
        t.resize(static_cast<std::size_t>(GetWindowTextW(controllo, t.data(), n + 1)));
        const std::string s = Utf8(t);
        Inoltra([s](dialogo::TFMapMain& f) { f.Cambiato(C::EditIndirizzo, s); });
    }
}

bool TFMapMainWin32::Tasto(const MSG& m) {
    if (m.message != WM_KEYDOWN || (!IsChild(hwnd_, m.hwnd) && m.hwnd != hwnd_))
        return false;
    // A drop-down list open takes Return and Escape itself.
    HWND fuoco = GetFocus();
    for (HWND h = fuoco; h && h != hwnd_; h = GetParent(h))
        if (SendMessageW(h, CB_GETDROPPEDSTATE, 0, 0) && (m.wParam == VK_RETURN || m.wParam == VK_ESCAPE)) {
            wchar_t classe[16] = {};
            GetClassNameW(h, classe, 16);
            if (lstrcmpiW(classe, L"ComboBox") == 0)
                return false;
        }
    switch (m.wParam) {
    case VK_RETURN:
        // Return confirms, as the default button of any dialog.
        if (IsWindowEnabled(V(C::SB_Chiudi).hwnd))
            Inoltra([](dialogo::TFMapMain& f) { f.Click(C::SB_Chiudi); });
        return true;
    case VK_ESCAPE: Inoltra([](dialogo::TFMapMain& f) { f.ChiusuraRichiesta(); }); return true;
    case VK_F1:
        for (const dialogo::TMenu& menu : dialogo::Menu())
            for (const dialogo::TVoceMenu& v : menu.voci)
                if (v.scorciatoia && std::strcmp(v.scorciatoia, "F1") == 0 && v.azione != C::Nessuno) {
                    const TControllo a = v.azione;
                    Inoltra([a](dialogo::TFMapMain& f) { f.Click(a); });
                    return true;
                }
        return false;
    default: return false;
    }
}

template <HWND TFMapMainWin32::*Finestra, LRESULT (TFMapMainWin32::*Gestore)(UINT, WPARAM, LPARAM)>
LRESULT CALLBACK TFMapMainWin32::Procedura(HWND h, UINT m, WPARAM w, LPARAM l) {
    auto* f = OggettoFinestra<TFMapMainWin32>(h, m, l);
    // While CreateWindowEx has not returned, the handlers have no window yet.
    if (!f || !(f->*Finestra))
        return DefWindowProcW(h, m, w, l);
    return (f->*Gestore)(m, w, l);
}

LRESULT CALLBACK TFMapMainWin32::ProceduraPannello(HWND h, UINT m, WPARAM w, LPARAM l) {
    // Containers pass their children's notifications to the dialog window.
    switch (m) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_DRAWITEM:
        if (HWND radice = GetAncestor(h, GA_ROOT); radice && radice != h)
            return SendMessageW(radice, m, w, l);
        break;
    default: break;
    }
    return DefWindowProcW(h, m, w, l);
}

LRESULT TFMapMainWin32::Messaggio(UINT m, WPARAM w, LPARAM l) {
    switch (m) {
    case WM_COMMAND:
        if (LOWORD(w) == IdNessuno)
            return 0;
        Comando(LOWORD(w), HIWORD(w), reinterpret_cast<HWND>(l));
        return 0;
    case WM_NOTIFY: {
        auto* n = reinterpret_cast<NMHDR*>(l);
        if (n->code == TTN_GETDISPINFOW) {
            // A toolbar button's tip: the button's whole text.
            auto* d = reinterpret_cast<NMTTDISPINFOW*>(l);
            const TControllo c = ControlloDi(static_cast<int>(n->idFrom));
            static std::wstring suggerimento;
            for (const auto* tabella : {&dialogo::PulsantiToolbar(), &dialogo::PulsantiToolbarMappa(),
                                        &dialogo::PulsantiSitoUtente(), &dialogo::PulsantiRisultati()})
                for (const auto& p : *tabella)
                    if (p.id == c && c != C::Nessuno)
                        suggerimento = Wide(p.testo);
            d->lpszText = suggerimento.data();
        }
        return 0;
    }
    case WM_CTLCOLORSTATIC: {
        HDC dc = reinterpret_cast<HDC>(w);
        HWND c = reinterpret_cast<HWND>(l);
        const TControllo id = ControlloDi(GetDlgCtrlID(c));
        if (c == rapporto_) {
            SetTextColor(dc, RGB(255, 255, 255));
            SetBkColor(dc, RGB(49, 106, 197));
            return reinterpret_cast<LRESULT>(sfondoRapporto_);
        }
        if (id != C::Nessuno && V(id).pennello) {
            SetTextColor(dc, RGB(0, 0, 0));
            SetBkColor(dc, V(id).colore);
            return reinterpret_cast<LRESULT>(V(id).pennello);
        }
        if (id == C::LbAvviso || c == logo_ || GetPropW(c, L"Titolo"))
            SetTextColor(dc, RGB(0, 0, 128));
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_SIZE:
        if (w != SIZE_MINIMIZED) {
            Disponi();
            // Every control again where it now lies: no trace of where it was.
            RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
            if (mostrato_)
                Inoltra([](dialogo::TFMapMain& f) { f.Ridimensionato(); });
        }
        return 0;
    case WM_GETMINMAXINFO: {
        auto* mm = reinterpret_cast<MINMAXINFO*>(l);
        mm->ptMinTrackSize = {760, 560};
        return 0;
    }
    case WM_SETCURSOR:
        if (attese_ > 0) {
            SetCursor(LoadCursorW(nullptr, IDC_WAIT));
            return TRUE;
        }
        break;
    case WM_CLOSE:
        // The window's close button ends the dialog as cancelled.
        if (form_)
            Inoltra([](dialogo::TFMapMain& f) { f.ChiusuraRichiesta(); });
        else
            Chiudi(dialogo::TEsito::Annulla);
        return 0;
    default: break;
    }
    return DefWindowProcW(hwnd_, m, w, l);
}

// ---- The map

void TFMapMainWin32::Collega(dialogo::TFMapMain* form) {
    if (form_)
        form_->Map.AllaModifica = nullptr;
    form_ = form;
    versione_ = ~uint64_t{0};
    if (form_) {
        form_->Map.AllaModifica = [this] {
            if (mappa_)
                InvalidateRect(mappa_, nullptr, FALSE);
        };
        RECT r;
        GetClientRect(mappa_, &r);
        form_->Map.ImpostaDimensioni(r.right, r.bottom);
    }
    InvalidateRect(mappa_, nullptr, FALSE);
}

const G::Bitmap* TFMapMainWin32::Disegnata() {
    if (!form_)
        return nullptr;
    const int w = std::max(1, form_->Map.Larghezza()), h = std::max(1, form_->Map.Altezza());
    if (!cache_ || versione_ != form_->Map.Versione() || static_cast<int>(cache_->GetWidth()) != w ||
        static_cast<int>(cache_->GetHeight()) != h) {
        cache_ = std::make_unique<G::Bitmap>(w, h, PixelFormat32bppARGB);
        G::Graphics g(cache_.get());
        g.Clear(ColoreGdi(form_->Map.ColoreSfondo()));
        TPittoreGdiPlus pittore(g);
        form_->Map.Disegna(pittore);
        versione_ = form_->Map.Versione();
    }
    return cache_.get();
}

void TFMapMainWin32::DisegnaMappa(HDC dc) {
    RECT r;
    GetClientRect(mappa_, &r);
    // Drawn off screen, then copied, so that the map never flickers.
    HDC memoria = CreateCompatibleDC(dc);
    HBITMAP bmp = CreateCompatibleBitmap(dc, std::max(1L, r.right), std::max(1L, r.bottom));
    HGDIOBJ vecchio = SelectObject(memoria, bmp);
    {
        G::Graphics g(memoria);
        g.Clear(form_ ? ColoreGdi(form_->Map.ColoreSfondo()) : G::Color(255, 255, 255, 255));
        if (const G::Bitmap* im = Disegnata()) {
            const mappa::TPuntoPx s = form_->Map.Spostamento();
            g.DrawImage(const_cast<G::Bitmap*>(im), static_cast<INT>(s.x), static_cast<INT>(s.y));
            if (const auto z = form_->Map.RettangoloZoom()) {
                G::Pen p(G::Color(255, 0, 0, 0), 1);
                p.SetDashStyle(G::DashStyleDash);
                g.DrawRectangle(&p, static_cast<G::REAL>(z->x), static_cast<G::REAL>(z->y),
                                static_cast<G::REAL>(z->larghezza), static_cast<G::REAL>(z->altezza));
            }
        }
    }
    BitBlt(dc, 0, 0, r.right, r.bottom, memoria, 0, 0, SRCCOPY);
    SelectObject(memoria, vecchio);
    DeleteObject(bmp);
    DeleteDC(memoria);
}

LRESULT TFMapMainWin32::MessaggioMappa(UINT m, WPARAM w, LPARAM l) {
    const mappa::TPuntoPx p{static_cast<double>(GET_X_LPARAM(l)), static_cast<double>(GET_Y_LPARAM(l))};
    auto pulsanti = [](WPARAM k) {
        return (k & MK_LBUTTON ? mappa::PulsanteSinistro : 0) | (k & MK_RBUTTON ? mappa::PulsanteDestro : 0) |
               (k & MK_MBUTTON ? mappa::PulsanteCentrale : 0);
    };
    switch (m) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(mappa_, &ps);
        DisegnaMappa(dc);
        EndPaint(mappa_, &ps);
        return 0;
    }
    case WM_ERASEBKGND: return 1;
    case WM_SIZE:
        // The size reaches the form even while it is setting controls.
        if (form_)
            form_->MappaDimensioni(LOWORD(l), HIWORD(l));
        InvalidateRect(mappa_, nullptr, FALSE);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
        SetCapture(mappa_);
        const int b = m == WM_LBUTTONDOWN ? mappa::PulsanteSinistro
                                          : (m == WM_RBUTTONDOWN ? mappa::PulsanteDestro : mappa::PulsanteCentrale);
        Inoltra([p, b](dialogo::TFMapMain& f) { f.MappaPremuto(p, b); });
        return 0;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
        if (GetCapture() == mappa_ && !(w & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)))
            ReleaseCapture();
        const int b = m == WM_LBUTTONUP ? mappa::PulsanteSinistro
                                        : (m == WM_RBUTTONUP ? mappa::PulsanteDestro : mappa::PulsanteCentrale);
        Inoltra([p, b](dialogo::TFMapMain& f) { f.MappaRilasciato(p, b); });
        return 0;
    }
    case WM_MOUSEMOVE: {
        const int b = pulsanti(w);
        Inoltra([p, b](dialogo::TFMapMain& f) { f.MappaMosso(p, b); });
        return 0;
    }
    case WM_MOUSEWHEEL: {
        POINT q{GET_X_LPARAM(l), GET_Y_LPARAM(l)};
        ScreenToClient(mappa_, &q);
        const mappa::TPuntoPx pq{static_cast<double>(q.x), static_cast<double>(q.y)};
        const int d = GET_WHEEL_DELTA_WPARAM(w);
        Inoltra([pq, d](dialogo::TFMapMain& f) { f.MappaRotella(pq, d); });
        return 0;
    }
    case WM_SETCURSOR:
        if (LOWORD(l) == HTCLIENT) {
            // The library's own cursors; the arrow where none is drawn.
            if (attese_ > 0)
                SetCursor(LoadCursorW(nullptr, IDC_WAIT));
            else
                SetCursor(CursoreSchermo(form_ ? mappa::CursoreSchermoDi(form_->Map.FormaCursore()) : 0));
            return TRUE;
        }
        break;
    default: break;
    }
    return DefWindowProcW(mappa_, m, w, l);
}

// ---- Controls

void TFMapMainWin32::ImpostaTesto(TControllo c, const std::string& testo) {
    const Silenzio a(applicando_);
    Voce& v = V(c);
    if (v.inspector)
        v.inspector->ImpostaTesto(c, Wide(testo));
    else if (c == C::StatusPanel0 || c == C::StatusPanel1)
        SendMessageW(stato_, SB_SETTEXTW, c == C::StatusPanel0 ? 0 : 1,
                     reinterpret_cast<LPARAM>(Wide(testo).c_str()));
    else if (v.hwnd)
        SetWindowTextW(v.hwnd, Wide(testo).c_str());
}

void TFMapMainWin32::ImpostaCaption(TControllo c, const std::string& caption) {
    const Silenzio a(applicando_);
    Voce& v = V(c);
    if (v.inspector) {
        v.inspector->ImpostaCaption(c, Wide(caption));
    } else if (v.barra) {
        std::wstring t = Wide(caption);
        TBBUTTONINFOW bi{};
        bi.cbSize = sizeof bi;
        bi.dwMask = TBIF_TEXT;
        bi.pszText = t.data();
        SendMessageW(v.barra, TB_SETBUTTONINFOW, static_cast<WPARAM>(IdDi(c)), reinterpret_cast<LPARAM>(&bi));
    } else if (v.menu) {
        ModifyMenuW(menu_, static_cast<UINT>(IdDi(c)), MF_BYCOMMAND | MF_STRING, static_cast<UINT_PTR>(IdDi(c)),
                    Wide(caption).c_str());
        DrawMenuBar(hwnd_);
    } else if (v.hwnd) {
        SetWindowTextW(v.hwnd, Wide(caption).c_str());
    }
}

void TFMapMainWin32::ImpostaElementi(TControllo c, const std::vector<std::string>& elementi) {
    const Silenzio a(applicando_);
    if (V(c).inspector) {
        std::vector<std::wstring> w;
        w.reserve(elementi.size());
        for (const std::string& e : elementi)
            w.push_back(Wide(e));
        V(c).inspector->ImpostaElementi(c, w);
    }
}

void TFMapMainWin32::ImpostaIndice(TControllo c, int indice) {
    const Silenzio a(applicando_);
    if (V(c).inspector)
        V(c).inspector->ImpostaIndice(c, indice);
}

void TFMapMainWin32::ImpostaAbilitato(TControllo c, bool abilitato) {
    const Silenzio a(applicando_);
    Voce& v = V(c);
    if (v.inspector)
        v.inspector->ImpostaAbilitato(c, abilitato);
    if (v.barra)
        SendMessageW(v.barra, TB_ENABLEBUTTON, static_cast<WPARAM>(IdDi(c)), abilitato);
    if (v.menu || c == C::Action9)
        EnableMenuItem(menu_, static_cast<UINT>(IdDi(c)), MF_BYCOMMAND | (abilitato ? MF_ENABLED : MF_GRAYED));
    if (!v.inspector && !v.barra && v.hwnd && v.hwnd != stato_)
        EnableWindow(v.hwnd, abilitato);
}

void TFMapMainWin32::ImpostaVisibile(TControllo c, bool visibile) {
    const Silenzio a(applicando_);
    Voce& v = V(c);
    if (v.inspector) {
        v.inspector->ImpostaVisibile(c, visibile);
    } else if (v.barra) {
        SendMessageW(v.barra, TB_HIDEBUTTON, static_cast<WPARAM>(IdDi(c)), !visibile);
    } else if (v.hwnd && v.hwnd != stato_) {
        if (!IsWindowVisible(v.hwnd) == !visibile)
            return;
        ShowWindow(v.hwnd, visibile ? SW_SHOW : SW_HIDE);
        Disponi();
    }
}

void TFMapMainWin32::ImpostaSolaLettura(TControllo c, bool solaLettura) {
    const Silenzio a(applicando_);
    if (V(c).inspector)
        V(c).inspector->ImpostaSolaLettura(c, solaLettura);
    else if (V(c).hwnd)
        SendMessageW(V(c).hwnd, EM_SETREADONLY, solaLettura, 0);
}

void TFMapMainWin32::ImpostaPremuto(TControllo c, bool premuto) {
    const Silenzio a(applicando_);
    Voce& v = V(c);
    if (v.inspector)
        v.inspector->ImpostaPremuto(c, premuto);
    else if (v.barra)
        SendMessageW(v.barra, TB_CHECKBUTTON, static_cast<WPARAM>(IdDi(c)), premuto);
    else if (v.hwnd)
        SendMessageW(v.hwnd, BM_SETCHECK, premuto ? BST_CHECKED : BST_UNCHECKED, 0);
    // A tool's menu entry is checked with its button.
    if (v.menu)
        CheckMenuItem(menu_, static_cast<UINT>(IdDi(c)), MF_BYCOMMAND | (premuto ? MF_CHECKED : MF_UNCHECKED));
}

void TFMapMainWin32::ImpostaColore(TControllo c, mappa::TColore colore) {
    Voce& v = V(c);
    if (v.inspector) {
        v.inspector->ImpostaColore(c, colore);
    } else if (v.hwnd) {
        if (v.pennello)
            DeleteObject(v.pennello);
        v.pennello = CreateSolidBrush(colore);
        v.colore = colore;
        InvalidateRect(v.hwnd, nullptr, TRUE);
    }
}

void TFMapMainWin32::ImpostaImmagine(TControllo c, int immagine) {
    if (V(c).inspector)
        V(c).inspector->ImpostaImmagine(c, immagine);
}

void TFMapMainWin32::FineModifica() {
    const Silenzio a(applicando_);
    for (TInspectorWin32* i : {ins1_.get(), ins2_.get(), ins3_.get(), ins4_.get()})
        i->FineModifica();
}

void TFMapMainWin32::SelezionaItem(TControllo c) {
    if (V(c).inspector)
        V(c).inspector->Seleziona(c);
}

// ---- The form

void TFMapMainWin32::MostraRapporto(const std::vector<std::string>& righe) {
    std::string t;
    for (std::size_t i = 0; i < righe.size(); ++i) {
        if (i)
            t += "\r\n";
        t += righe[i];
    }
    SetWindowTextW(rapporto_, Wide(t).c_str());
}

void TFMapMainWin32::ImpostaTitolo(const std::string& titolo) { SetWindowTextW(hwnd_, Wide(titolo).c_str()); }

void TFMapMainWin32::Massimizza() {
    // The work area is given as well: without a window manager (a bare X
    // screen under Wine) the maximised state alone leaves the window's size.
    RECT wa;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &wa, 0);
    SetWindowPos(hwnd_, nullptr, wa.left, wa.top, wa.right - wa.left, wa.bottom - wa.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void TFMapMainWin32::CursoreAttesa(bool attesa) {
    if (attesa)
        ++attese_;
    else if (attese_ > 0)
        --attese_;
    POINT p;
    GetCursorPos(&p);
    if (attese_ > 0)
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    else
        SetCursorPos(p.x, p.y); // the window under the pointer sets its own cursor again
}

void TFMapMainWin32::ProcessaEventi() {
    // Painting, layout and posted messages; not the user's input.
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE | PM_QS_PAINT | PM_QS_POSTMESSAGE | PM_QS_SENDMESSAGE)) {
        if (m.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(m.wParam));
            break;
        }
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
}

void TFMapMainWin32::Messaggio(const std::string& testo) { MostraMessaggio(hwnd_, Wide(testo).c_str()); }

std::optional<mappa::TColore> TFMapMainWin32::ScegliColore(mappa::TColore attuale) {
    static COLORREF personalizzati[16] = {};
    CHOOSECOLORW cc{};
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = hwnd_;
    cc.rgbResult = attuale;
    cc.lpCustColors = personalizzati;
    cc.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (!ChooseColorW(&cc))
        return std::nullopt;
    return static_cast<mappa::TColore>(cc.rgbResult & 0xFFFFFF);
}

std::optional<mappa::TCarattere> TFMapMainWin32::ScegliCarattere(const mappa::TCarattere& attuale,
                                                                 mappa::TColore* colore) {
    LOGFONTW lf{};
    HDC dc = GetDC(hwnd_);
    lf.lfHeight = -MulDiv(static_cast<int>(attuale.punti > 0 ? attuale.punti : 8), GetDeviceCaps(dc, LOGPIXELSY), 72);
    ReleaseDC(hwnd_, dc);
    lf.lfWeight = attuale.grassetto ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = attuale.corsivo;
    const std::wstring nome = Wide(attuale.nome);
    wcsncpy(lf.lfFaceName, nome.c_str(), LF_FACESIZE - 1);
    CHOOSEFONTW cf{};
    cf.lStructSize = sizeof cf;
    cf.hwndOwner = hwnd_;
    cf.lpLogFont = &lf;
    cf.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT;
    // The labels' colour is chosen in the same dialog (COLORREF is 0x00BBGGRR too).
    if (colore) {
        cf.Flags |= CF_EFFECTS;
        cf.rgbColors = *colore;
    }
    if (!ChooseFontW(&cf))
        return std::nullopt;
    if (colore)
        *colore = cf.rgbColors;
    mappa::TCarattere r = attuale;
    r.nome = Utf8(lf.lfFaceName);
    if (cf.iPointSize > 0)
        r.punti = cf.iPointSize / 10.0;
    return r;
}

void TFMapMainWin32::MostraStilePunti(mappa::TFStileLayer& selettore) {
    MostraStilePuntiWin32(selettore, hwnd_, font_);
}

// ---- Progress

void TFMapMainWin32::InizioProgresso(const std::string& testo, int massimo) {
    progresso_.reset();
    const int n = GetWindowTextLengthW(hwnd_);
    std::wstring titolo(static_cast<std::size_t>(n) + 1, L'\0');
    titolo.resize(static_cast<std::size_t>(GetWindowTextW(hwnd_, titolo.data(), n + 1)));
    progresso_ = std::make_unique<TProgressoWin32>(hwnd_, titolo, Wide(testo), massimo, font_);
    ProcessaEventi();
}

void TFMapMainWin32::Progresso(int posizione) {
    if (progresso_)
        progresso_->Posizione(posizione);
    ProcessaEventi();
}

void TFMapMainWin32::FineProgresso() { progresso_.reset(); }

// ---- Map and modal run

void TFMapMainWin32::DimensioniMappa(int larghezza, int altezza) {
    // Reduced for the closing picture, the map keeps its size while the
    // form lays itself out; back at the rectangle's size it follows it again.
    mappaRidotta_ = larghezza != rettangoloMappa_.right - rettangoloMappa_.left ||
                    altezza != rettangoloMappa_.bottom - rettangoloMappa_.top;
    SetWindowPos(mappa_, nullptr, 0, 0, larghezza, altezza, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

mappa::TImmagine TFMapMainWin32::CatturaCartina() {
    if (!form_)
        return {};
    // The client area's size, as the user sees it (the border aside).
    RECT r;
    GetClientRect(mappa_, &r);
    if (r.right != form_->Map.Larghezza() || r.bottom != form_->Map.Altezza())
        form_->MappaDimensioni(r.right, r.bottom);
    const G::Bitmap* b = Disegnata();
    if (!b)
        return {};
    mappa::TImmagine im = DaBitmap(*const_cast<G::Bitmap*>(b));
    for (uint32_t& p : im.pixel)
        p |= 0xFF000000u;
    return im;
}

dialogo::TEsito TFMapMainWin32::EseguiModale() {
    chiuso_ = false;
    esito_ = dialogo::TEsito::Annulla;
    const bool proprietarioAttivo = proprietario_ && IsWindowEnabled(proprietario_);
    if (proprietarioAttivo)
        EnableWindow(proprietario_, FALSE);
    if (!IsWindowVisible(hwnd_))
        ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
    UpdateWindow(hwnd_);
    if (!mostrato_) {
        mostrato_ = true;
        PosizionaMappa();
        Inoltra([](dialogo::TFMapMain& f) { f.Mostrato(); });
        Disponi();
        Inoltra([](dialogo::TFMapMain& f) { f.Ridimensionato(); });
    }
    bool uscita = false;
    int codiceUscita = 0;
    MSG m;
    while (!chiuso_) {
        const BOOL r = GetMessageW(&m, nullptr, 0, 0);
        if (r <= 0) {
            uscita = r == 0;
            codiceUscita = static_cast<int>(m.wParam);
            break;
        }
        if (Tasto(m))
            continue;
        if (IsDialogMessageW(hwnd_, &m))
            continue;
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
    // The host's window takes the focus back before the dialog hides.
    if (proprietarioAttivo)
        EnableWindow(proprietario_, TRUE);
    if (proprietario_)
        SetActiveWindow(proprietario_);
    ShowWindow(hwnd_, SW_HIDE);
    if (uscita) // the host is ending: its quit message stays for its own loop
        PostQuitMessage(codiceUscita);
    return chiuso_ ? esito_ : dialogo::TEsito::Annulla;
}

void TFMapMainWin32::Chiudi(dialogo::TEsito esito) {
    esito_ = esito;
    chiuso_ = true;
    PostMessageW(hwnd_, WM_NULL, 0, 0);
}

} // namespace veltrano::ui
