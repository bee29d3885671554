#include "ui/win32/inspector_win32.h"

#include "ui/win32/TFMapMainWin32.h"
#include "ui/win32/finestre_win32.h"
#include "ui/win32/stile_punti_win32.h"

#include <commctrl.h>
#include <windowsx.h>

namespace veltrano::ui {

using dialogo::TControllo;
using dialogo::TTipoItem;

namespace {

constexpr int AltezzaRiga = 22, Rientro = 12;
constexpr wchar_t ClasseInspector[] = L"VeltranoInspector";

std::wstring TestoFinestra(HWND h) {
    std::wstring t(static_cast<std::size_t>(GetWindowTextLengthW(h)) + 1, L'\0');
    t.resize(static_cast<std::size_t>(GetWindowTextW(h, t.data(), static_cast<int>(t.size()))));
    return t;
}

} // namespace

TInspectorWin32::TInspectorWin32(TFMapMainWin32& finestra, HWND padre, const char* nome,
                                 const std::vector<dialogo::TDefinizioneItem>& items, HFONT font, HFONT grassetto)
    : finestra_(finestra), font_(font), grassetto_(grassetto) {
    const HINSTANCE modulo = Modulo();
    RegistraClasse(ClasseInspector, Procedura, GetSysColorBrush(COLOR_WINDOW));
    hwnd_ = CreateWindowExW(WS_EX_CLIENTEDGE | WS_EX_CONTROLPARENT, ClasseInspector, L"",
                            WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_CLIPCHILDREN | WS_TABSTOP, 0, 0, 100, 100, padre,
                            nullptr, modulo, this);
    NomeFinestra(hwnd_, nome);
    righe_.reserve(items.size());
    bool primoRadio = true;
    for (const dialogo::TDefinizioneItem& d : items) {
        Riga r;
        r.def = d;
        if (d.padre != TControllo::Nessuno)
            if (const Riga* p = R(d.padre))
                r.livello = p->livello + 1;
        const int id = IdDi(d.id);
        const std::wstring caption = Wide(d.caption ? d.caption : "");
        auto crea = [&](const wchar_t* classe, const std::wstring& testo, DWORD stile, DWORD esteso = 0) {
            HWND h = CreateWindowExW(esteso, classe, testo.c_str(), WS_CHILD | WS_VISIBLE | stile, 0, 0, 10, 10, hwnd_,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), modulo, nullptr);
            NomeFinestra(h, dialogo::NomeControllo(d.id));
            SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
            return h;
        };
        auto etichetta = [&] {
            r.caption = CreateWindowExW(0, L"STATIC", caption.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP |
                                        SS_ENDELLIPSIS | SS_NOTIFY | SS_CENTERIMAGE, 0, 0, 10, 10, hwnd_, nullptr,
                                        modulo, nullptr);
            SendMessageW(r.caption, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
        };
        const bool radio = d.tipo == TTipoItem::Radio;
        switch (d.tipo) {
        case TTipoItem::Categoria:
            r.caption = crea(L"STATIC", caption, SS_LEFTNOWORDWRAP | SS_CENTERIMAGE | SS_NOTIFY);
            SendMessageW(r.caption, WM_SETFONT, reinterpret_cast<WPARAM>(grassetto_), FALSE);
            break;
        case TTipoItem::CategoriaCasella:
            r.editor = crea(L"BUTTON", caption, BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP);
            SendMessageW(r.editor, WM_SETFONT, reinterpret_cast<WPARAM>(grassetto_), FALSE);
            break;
        case TTipoItem::Testo:
            etichetta();
            r.editor = crea(L"EDIT", L"", ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP | WS_BORDER);
            break;
        case TTipoItem::Lista:
        case TTipoItem::ListaScrivibile: {
            etichetta();
            const DWORD tipo = d.tipo == TTipoItem::Lista ? CBS_DROPDOWNLIST : CBS_DROPDOWN | CBS_AUTOHSCROLL;
            r.editor = crea(L"COMBOBOX", L"", tipo | WS_VSCROLL | WS_TABSTOP | WS_GROUP);
            for (const std::string& e : d.elementi)
                SendMessageW(r.editor, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(e).c_str()));
            break;
        }
        case TTipoItem::Radio:
            etichetta();
            r.editor = crea(L"BUTTON", L"", BS_RADIOBUTTON | WS_TABSTOP | (primoRadio ? WS_GROUP : 0));
            break;
        case TTipoItem::Casella:
            etichetta();
            r.editor = crea(L"BUTTON", L"", BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP);
            break;
        case TTipoItem::Spin:
            etichetta();
            r.editor = crea(L"EDIT", std::to_wstring(d.valore), ES_AUTOHSCROLL | ES_NUMBER | WS_TABSTOP | WS_GROUP |
                                                                    WS_BORDER);
            r.frecce = CreateWindowExW(0, UPDOWN_CLASSW, L"", WS_CHILD | WS_VISIBLE | UDS_ALIGNRIGHT |
                                       UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_NOTHOUSANDS, 0, 0, 10, 10, hwnd_, nullptr,
                                       modulo, nullptr);
            SendMessageW(r.frecce, UDM_SETBUDDY, reinterpret_cast<WPARAM>(r.editor), 0);
            SendMessageW(r.frecce, UDM_SETRANGE32, static_cast<WPARAM>(d.minimo), d.massimo);
            SendMessageW(r.frecce, UDM_SETPOS32, 0, d.valore);
            if (d.passo > 1) {
                UDACCEL a{0, static_cast<UINT>(d.passo)};
                SendMessageW(r.frecce, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&a));
            }
            break;
        case TTipoItem::Pulsante: {
            etichetta();
            const std::string testo = d.elementi.empty() ? std::string() : d.elementi.front();
            r.editor = crea(L"BUTTON", Wide(testo), BS_OWNERDRAW | WS_TABSTOP | WS_GROUP);
            break;
        }
        }
        primoRadio = !radio;
        if (d.hint && *d.hint) {
            if (r.editor)
                finestra_.Suggerimento(r.editor, d.hint);
            if (r.caption)
                finestra_.Suggerimento(r.caption, d.hint);
        }
        indice_[d.id] = righe_.size();
        righe_.push_back(std::move(r));
    }
    Disponi();
}

TInspectorWin32::~TInspectorWin32() {
    if (IsWindow(hwnd_))
        DestroyWindow(hwnd_);
}

TInspectorWin32::Riga* TInspectorWin32::R(TControllo c) {
    const auto i = indice_.find(c);
    return i == indice_.end() ? nullptr : &righe_[i->second];
}

HWND TInspectorWin32::Editor(TControllo c) const {
    const auto i = indice_.find(c);
    return i == indice_.end() ? nullptr : righe_[i->second].editor;
}

bool TInspectorWin32::Visibile(const Riga& r) const {
    if (!r.visibile)
        return false;
    if (r.def.padre == TControllo::Nessuno)
        return true;
    const auto i = indice_.find(r.def.padre);
    return i == indice_.end() || Visibile(righe_[i->second]);
}

int TInspectorWin32::AltezzaPiena() const {
    int n = 0;
    for (const Riga& r : righe_)
        n += Visibile(r) ? 1 : 0;
    return n * AltezzaRiga + 4 + 2 * GetSystemMetrics(SM_CYEDGE);
}

void TInspectorWin32::Disponi() {
    RECT rc;
    GetClientRect(hwnd_, &rc);
    const int larghezza = rc.right;
    int n = 0;
    for (const Riga& r : righe_)
        n += Visibile(r) ? 1 : 0;
    const int totale = n * AltezzaRiga + 2;
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, totale - 1, static_cast<UINT>(rc.bottom), 0, 0};
    scorrimento_ = std::max(0, std::min(scorrimento_, totale - static_cast<int>(rc.bottom)));
    si.nPos = scorrimento_;
    SetScrollInfo(hwnd_, SB_VERT, &si, TRUE);
    GetClientRect(hwnd_, &rc);
    const int colonna = std::max(80, static_cast<int>(rc.right) * 11 / 20);
    HDWP dwp = BeginDeferWindowPos(static_cast<int>(righe_.size()) * 3);
    int y = 1 - scorrimento_;
    auto metti = [&](HWND h, int x, int yy, int w, int hh, bool vis) {
        if (!h)
            return;
        dwp = DeferWindowPos(dwp, h, nullptr, x, yy, std::max(1, w), hh,
                             SWP_NOZORDER | SWP_NOACTIVATE | (vis ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    };
    for (Riga& r : righe_) {
        const bool vis = Visibile(r);
        const int x = 2 + Rientro * r.livello;
        const bool categoria = r.def.tipo == TTipoItem::Categoria || r.def.tipo == TTipoItem::CategoriaCasella;
        if (categoria) {
            metti(r.caption, x, y, larghezza - x - 2, AltezzaRiga - 1, vis);
            metti(r.editor, x, y + 1, larghezza - x - 2, AltezzaRiga - 2, vis);
        } else {
            metti(r.caption, x, y, colonna - x - 4, AltezzaRiga - 1, vis);
            const int w = rc.right - colonna - 2;
            if (r.def.tipo == TTipoItem::Lista || r.def.tipo == TTipoItem::ListaScrivibile)
                metti(r.editor, colonna, y, w, 240, vis); // the drop-down's height included
            else if (r.def.tipo == TTipoItem::Spin) {
                metti(r.editor, colonna, y + 1, w - 18, AltezzaRiga - 2, vis);
                metti(r.frecce, colonna + w - 18, y + 1, 18, AltezzaRiga - 2, vis);
            } else
                metti(r.editor, colonna, y + 1, w, AltezzaRiga - 2, vis);
        }
        if (vis)
            y += AltezzaRiga;
    }
    EndDeferWindowPos(dwp);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void TInspectorWin32::Scorri(int nuovo) {
    RECT rc;
    GetClientRect(hwnd_, &rc);
    SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(hwnd_, SB_VERT, &si);
    nuovo = std::max(0, std::min(nuovo, si.nMax - static_cast<int>(si.nPage) + 1));
    if (nuovo == scorrimento_)
        return;
    scorrimento_ = nuovo;
    Disponi();
}

void TInspectorWin32::ImpostaTesto(TControllo c, const std::wstring& testo) {
    Riga* r = R(c);
    if (!r || !r->editor)
        return;
    if (r->def.tipo == TTipoItem::Lista) {
        const LRESULT i = SendMessageW(r->editor, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>(testo.c_str()));
        SendMessageW(r->editor, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
    } else if (r->def.tipo == TTipoItem::Spin) {
        SetWindowTextW(r->editor, testo.c_str());
    } else if (r->def.tipo != TTipoItem::Pulsante && r->def.tipo != TTipoItem::Casella &&
               r->def.tipo != TTipoItem::Radio) {
        SetWindowTextW(r->editor, testo.c_str());
    }
}

void TInspectorWin32::ImpostaCaption(TControllo c, const std::wstring& caption) {
    if (Riga* r = R(c))
        SetWindowTextW(r->caption ? r->caption : r->editor, caption.c_str());
}

void TInspectorWin32::ImpostaElementi(TControllo c, const std::vector<std::wstring>& elementi) {
    Riga* r = R(c);
    if (!r || !r->editor || (r->def.tipo != TTipoItem::Lista && r->def.tipo != TTipoItem::ListaScrivibile))
        return;
    SendMessageW(r->editor, WM_SETREDRAW, FALSE, 0);
    SendMessageW(r->editor, CB_RESETCONTENT, 0, 0);
    for (const std::wstring& e : elementi)
        SendMessageW(r->editor, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(e.c_str()));
    SendMessageW(r->editor, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    SendMessageW(r->editor, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(r->editor, nullptr, TRUE);
}

void TInspectorWin32::ImpostaIndice(TControllo c, int indice) {
    if (Riga* r = R(c); r && r->editor)
        SendMessageW(r->editor, CB_SETCURSEL, static_cast<WPARAM>(indice), 0);
}

void TInspectorWin32::ImpostaAbilitato(TControllo c, bool abilitato) {
    if (Riga* r = R(c)) {
        for (HWND h : {r->caption, r->editor, r->frecce})
            if (h)
                EnableWindow(h, abilitato);
    }
}

void TInspectorWin32::ImpostaVisibile(TControllo c, bool visibile) {
    Riga* r = R(c);
    if (!r || r->visibile == visibile)
        return;
    r->visibile = visibile;
    Disponi();
}

void TInspectorWin32::ImpostaSolaLettura(TControllo c, bool solaLettura) {
    Riga* r = R(c);
    if (!r || !r->editor)
        return;
    if (r->def.tipo == TTipoItem::Testo || r->def.tipo == TTipoItem::Spin)
        SendMessageW(r->editor, EM_SETREADONLY, solaLettura, 0);
    else if (r->def.tipo == TTipoItem::ListaScrivibile) {
        if (HWND e = FindWindowExW(r->editor, nullptr, L"EDIT", nullptr))
            SendMessageW(e, EM_SETREADONLY, solaLettura, 0);
    }
}

void TInspectorWin32::ImpostaPremuto(TControllo c, bool premuto) {
    Riga* r = R(c);
    if (!r || !r->editor)
        return;
    if (r->def.tipo == TTipoItem::Radio) {
        if (!premuto)
            return;
        // The radio items under one parent exclude each other.
        for (Riga& altra : righe_)
            if (altra.def.tipo == TTipoItem::Radio && altra.def.padre == r->def.padre)
                SendMessageW(altra.editor, BM_SETCHECK, &altra == r ? BST_CHECKED : BST_UNCHECKED, 0);
        return;
    }
    SendMessageW(r->editor, BM_SETCHECK, premuto ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TInspectorWin32::ImpostaColore(TControllo c, mappa::TColore colore) {
    if (Riga* r = R(c); r && r->editor) {
        r->haColore = true;
        r->colore = colore;
        InvalidateRect(r->editor, nullptr, TRUE);
    }
}

void TInspectorWin32::ImpostaImmagine(TControllo c, int immagine) {
    if (Riga* r = R(c); r && r->editor && r->immagine != immagine) {
        r->immagine = immagine;
        InvalidateRect(r->editor, nullptr, TRUE);
    }
}

void TInspectorWin32::FineModifica() {
    for (Riga& r : righe_)
        if (r.def.tipo == TTipoItem::Lista || r.def.tipo == TTipoItem::ListaScrivibile)
            if (SendMessageW(r.editor, CB_GETDROPPEDSTATE, 0, 0))
                SendMessageW(r.editor, CB_SHOWDROPDOWN, FALSE, 0);
}

void TInspectorWin32::Seleziona(TControllo c) {
    Riga* r = R(c);
    if (!r)
        return;
    int y = 0;
    for (const Riga& q : righe_) {
        if (&q == r)
            break;
        y += Visibile(q) ? AltezzaRiga : 0;
    }
    RECT rc;
    GetClientRect(hwnd_, &rc);
    if (y < scorrimento_ || y + AltezzaRiga > scorrimento_ + rc.bottom)
        Scorri(y - rc.bottom / 3);
    if (r->editor && IsWindowEnabled(r->editor))
        SetFocus(r->editor);
}

void TInspectorWin32::Comando(TControllo c, int notifica) {
    Riga* r = R(c);
    if (!r || finestra_.Applicando())
        return;
    HWND e = r->editor;
    switch (r->def.tipo) {
    case TTipoItem::Testo:
    case TTipoItem::Spin:
        if (notifica == EN_CHANGE) {
            const std::string t = Utf8(TestoFinestra(e));
            finestra_.Inoltra([c, t](dialogo::TFMapMain& f) { f.Cambiato(c, t); });
        } else if (notifica == EN_KILLFOCUS) {
            finestra_.Inoltra([c](dialogo::TFMapMain& f) { f.Uscita(c); });
        }
        break;
    case TTipoItem::Lista:
    case TTipoItem::ListaScrivibile:
        if (notifica == CBN_SELENDOK) {
            const int i = static_cast<int>(SendMessageW(e, CB_GETCURSEL, 0, 0));
            finestra_.Inoltra([c, i](dialogo::TFMapMain& f) { f.Scelto(c, i); });
        } else if (notifica == CBN_EDITCHANGE) {
            const std::string t = Utf8(TestoFinestra(e));
            finestra_.Inoltra([c, t](dialogo::TFMapMain& f) { f.Cambiato(c, t); });
        } else if (notifica == CBN_KILLFOCUS && r->def.tipo == TTipoItem::ListaScrivibile) {
            finestra_.Inoltra([c](dialogo::TFMapMain& f) { f.Uscita(c); });
        }
        break;
    case TTipoItem::Radio:
        if (notifica == BN_CLICKED) {
            ImpostaPremuto(c, true);
            finestra_.Inoltra([c](dialogo::TFMapMain& f) { f.Premuto(c, true); });
        }
        break;
    case TTipoItem::Casella:
    case TTipoItem::CategoriaCasella:
        if (notifica == BN_CLICKED) {
            const bool giu = SendMessageW(e, BM_GETCHECK, 0, 0) == BST_CHECKED;
            finestra_.Inoltra([c, giu](dialogo::TFMapMain& f) { f.Premuto(c, giu); });
        }
        break;
    case TTipoItem::Pulsante:
        if (notifica == BN_CLICKED)
            finestra_.Inoltra([c](dialogo::TFMapMain& f) { f.Click(c); });
        break;
    case TTipoItem::Categoria: break;
    }
}

void TInspectorWin32::DisegnaPulsante(const DRAWITEMSTRUCT& d) {
    const Riga* r = R(static_cast<TControllo>(static_cast<int>(d.CtlID) - IdDi(TControllo::CatSito)));
    RECT rc = d.rcItem;
    const bool giu = (d.itemState & ODS_SELECTED) != 0;
    DrawFrameControl(d.hDC, &rc, DFC_BUTTON, DFCS_BUTTONPUSH | (giu ? DFCS_PUSHED : 0));
    InflateRect(&rc, -4, -4);
    if (r && r->haColore) {
        HBRUSH b = CreateSolidBrush(r->colore);
        FillRect(d.hDC, &rc, b);
        DeleteObject(b);
        FrameRect(d.hDC, &rc, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    } else {
        const bool abilitato = (d.itemState & ODS_DISABLED) == 0;
        const std::wstring t = TestoFinestra(d.hwndItem);
        RECT testo = rc;
        if (r && r->immagine >= 0) {
            // The glyph alone in the middle, or before the text.
            const int lato = 16, y = (rc.top + rc.bottom - lato) / 2;
            const int x = t.empty() ? (rc.left + rc.right - lato) / 2 : rc.left;
            DisegnaStilePunto(d.hDC, RECT{x, y, x + lato, y + lato}, r->immagine, abilitato);
            testo.left = x + lato + 4;
        }
        SetBkMode(d.hDC, TRANSPARENT);
        SetTextColor(d.hDC, GetSysColor(abilitato ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
        DrawTextW(d.hDC, t.c_str(), static_cast<int>(t.size()), &testo, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    if (d.itemState & ODS_FOCUS)
        DrawFocusRect(d.hDC, &rc);
}

LRESULT CALLBACK TInspectorWin32::Procedura(HWND h, UINT m, WPARAM w, LPARAM l) {
    auto* ins = OggettoFinestra<TInspectorWin32>(h, m, l);
    if (!ins)
        return DefWindowProcW(h, m, w, l);
    switch (m) {
    case WM_SIZE: ins->Disponi(); return 0;
    case WM_VSCROLL: {
        SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
        GetScrollInfo(h, SB_VERT, &si);
        int p = ins->scorrimento_;
        switch (LOWORD(w)) {
        case SB_LINEUP: p -= AltezzaRiga; break;
        case SB_LINEDOWN: p += AltezzaRiga; break;
        case SB_PAGEUP: p -= static_cast<int>(si.nPage); break;
        case SB_PAGEDOWN: p += static_cast<int>(si.nPage); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: p = si.nTrackPos; break;
        default: break;
        }
        ins->Scorri(p);
        return 0;
    }
    case WM_MOUSEWHEEL: ins->Scorri(ins->scorrimento_ - GET_WHEEL_DELTA_WPARAM(w) / WHEEL_DELTA * 3 * AltezzaRiga); return 0;
    case WM_CTLCOLORSTATIC: {
        // Headings on the face colour, the rest on the list's white.
        HDC dc = reinterpret_cast<HDC>(w);
        HWND c = reinterpret_cast<HWND>(l);
        for (const Riga& r : ins->righe_)
            if ((r.caption == c || r.editor == c) &&
                (r.def.tipo == TTipoItem::Categoria || r.def.tipo == TTipoItem::CategoriaCasella)) {
                SetTextColor(dc, RGB(0, 0, 128));
                SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
                return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
            }
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
    }
    case WM_CTLCOLORBTN: return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
    case WM_DRAWITEM: ins->DisegnaPulsante(*reinterpret_cast<const DRAWITEMSTRUCT*>(l)); return TRUE;
    case WM_COMMAND:
        if (l != 0) {
            ins->Comando(static_cast<TControllo>(static_cast<int>(LOWORD(w)) - IdDi(TControllo::CatSito)), HIWORD(w));
            return 0;
        }
        break;
    default: break;
    }
    return DefWindowProcW(h, m, w, l);
}

} // namespace veltrano::ui
