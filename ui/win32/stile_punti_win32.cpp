#include "ui/win32/stile_punti_win32.h"

#include "ui/win32/finestre_win32.h"
#include "ui/win32/pittore_gdiplus.h"

#include <algorithm>
#include <array>

namespace veltrano::ui {

namespace G = Gdiplus;
using mappa::TFStileLayer;

namespace {

constexpr wchar_t ClasseStile[] = L"VeltranoStileLayer";
constexpr int IdPrimaVoce = 100; // clear of IDOK and IDCANCEL, which the dialog manager sends by itself
constexpr int LatoGlifo = 16, Margine = 4;
constexpr std::array<const char*, TFStileLayer::NumVoci> NomiVoci{"Voce0", "Voce1", "Voce2", "Voce3",
                                                                   "Voce4", "Voce5", "Voce6", "Voce7"};

struct Selettore {
    TFStileLayer& selettore;
    bool chiuso = false;
    void Premuto(int n) {
        if (chiuso)
            return;
        selettore.Premuto(n);
        chiuso = true;
    }
};

// "Chiudi": a dark red cross where the styles have their glyph.
void DisegnaChiudi(HDC dc, const RECT& r) {
    G::Graphics g(dc);
    g.SetSmoothingMode(G::SmoothingModeAntiAlias);
    G::Pen p(G::Color(255, 160, 0, 0), 2);
    const auto x = static_cast<G::REAL>(r.left + r.right) / 2, y = static_cast<G::REAL>(r.top + r.bottom) / 2;
    g.DrawLine(&p, x - 4, y - 4, x + 4, y + 4);
    g.DrawLine(&p, x - 4, y + 4, x + 4, y - 4);
}

void DisegnaVoce(const DRAWITEMSTRUCT& d, int attuale) {
    const int n = static_cast<int>(d.CtlID) - IdPrimaVoce;
    RECT rc = d.rcItem;
    const bool giu = (d.itemState & ODS_SELECTED) != 0;
    FillRect(d.hDC, &rc, GetSysColorBrush(COLOR_BTNFACE));
    // The style in use looks pressed, like the one under the pointer.
    if (giu || n == attuale)
        DrawEdge(d.hDC, &rc, BDR_SUNKENOUTER, BF_RECT);
    const RECT glifo{rc.left + Margine, rc.top + (rc.bottom - rc.top - LatoGlifo) / 2, rc.left + Margine + LatoGlifo,
                     rc.top + (rc.bottom - rc.top - LatoGlifo) / 2 + LatoGlifo};
    if (n == 0)
        DisegnaChiudi(d.hDC, glifo);
    else
        DisegnaStilePunto(d.hDC, glifo, n - 1);
    RECT testo = rc;
    testo.left = glifo.right + Margine;
    const std::wstring t = Wide(TFStileLayer::Voci[static_cast<std::size_t>(n)]);
    SetBkMode(d.hDC, TRANSPARENT);
    SetTextColor(d.hDC, GetSysColor(COLOR_BTNTEXT));
    DrawTextW(d.hDC, t.c_str(), static_cast<int>(t.size()), &testo, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    if (d.itemState & ODS_FOCUS) {
        InflateRect(&rc, -2, -2);
        DrawFocusRect(d.hDC, &rc);
    }
}

LRESULT CALLBACK Procedura(HWND h, UINT m, WPARAM w, LPARAM l) {
    auto* s = OggettoFinestra<Selettore>(h, m, l);
    if (!s)
        return DefWindowProcW(h, m, w, l);
    switch (m) {
    case WM_COMMAND: {
        const int n = static_cast<int>(LOWORD(w)) - IdPrimaVoce;
        if (HIWORD(w) == BN_CLICKED && n >= 0 && n < TFStileLayer::NumVoci)
            s->Premuto(n);
        return 0;
    }
    case WM_DRAWITEM: DisegnaVoce(*reinterpret_cast<const DRAWITEMSTRUCT*>(l), s->selettore.indTipoPunto); return TRUE;
    case WM_CLOSE: s->Premuto(0); return 0;
    default: break;
    }
    return DefWindowProcW(h, m, w, l);
}

} // namespace

void DisegnaStilePunto(HDC dc, const RECT& r, int tipo, bool abilitato) {
    G::Graphics g(dc);
    TPittoreGdiPlus pittore(g);
    pittore.Antialias(true);
    const mappa::TPuntoPx centro{(r.left + r.right) / 2.0, (r.top + r.bottom) / 2.0};
    const mappa::TColore colore = abilitato ? 0 : mappa::RGBWin(128, 128, 128);
    pittore.Simboli(static_cast<mappa::TTipoPunto>(std::clamp(tipo, 0, 6)), 11, {&centro, 1}, {&colore, 1});
}

void MostraStilePuntiWin32(TFStileLayer& selettore, HWND form, HFONT font) {
    const HINSTANCE modulo = Modulo();
    RegistraClasse(ClasseStile, Procedura, GetSysColorBrush(COLOR_BTNFACE));
    // As wide as the longest caption needs, never narrower than the picker.
    int larghezza = TFStileLayer::Larghezza;
    {
        HDC dc = GetDC(form);
        HGDIOBJ vecchio = SelectObject(dc, font);
        for (const char* v : TFStileLayer::Voci) {
            const std::wstring t = Wide(v);
            SIZE s{};
            GetTextExtentPoint32W(dc, t.c_str(), static_cast<int>(t.size()), &s);
            larghezza = std::max(larghezza, static_cast<int>(s.cx) + LatoGlifo + 3 * Margine + 4);
        }
        SelectObject(dc, vecchio);
        ReleaseDC(form, dc);
    }
    RECT f{};
    GetWindowRect(form, &f);
    Selettore stato{selettore};
    HWND h = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT, ClasseStile, L"",
                             WS_POPUP | WS_BORDER | WS_CLIPCHILDREN, f.left + TFStileLayer::ScostamentoX,
                             f.top + TFStileLayer::ScostamentoY, larghezza, TFStileLayer::Altezza, form, nullptr,
                             modulo, &stato);
    if (!h) {
        selettore.Premuto(0);
        return;
    }
    NomeFinestra(h, "FStileLayer");
    RECT c;
    GetClientRect(h, &c);
    HWND primo = nullptr;
    for (int n = 0; n < TFStileLayer::NumVoci; ++n) {
        const int y0 = c.bottom * n / TFStileLayer::NumVoci, y1 = c.bottom * (n + 1) / TFStileLayer::NumVoci;
        HWND b = CreateWindowExW(0, L"BUTTON", Wide(TFStileLayer::Voci[static_cast<std::size_t>(n)]).c_str(),
                                 WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, 0, y0, c.right, y1 - y0, h,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(IdPrimaVoce + n)), modulo, nullptr);
        SendMessageW(b, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        NomeFinestra(b, NomiVoci[static_cast<std::size_t>(n)]);
        if (n == std::clamp(selettore.indTipoPunto, 0, TFStileLayer::NumVoci - 1))
            primo = b;
    }

    // Modal over the form, as long as no button has been pressed.
    EnableWindow(form, FALSE);
    ShowWindow(h, SW_SHOW);
    SetFocus(primo);
    MSG m;
    bool uscita = false;
    int codiceUscita = 0;
    while (!stato.chiuso) {
        const BOOL r = GetMessageW(&m, nullptr, 0, 0);
        if (r <= 0) {
            uscita = r == 0;
            codiceUscita = static_cast<int>(m.wParam);
            stato.Premuto(0);
            break;
        }
        if (m.message == WM_KEYDOWN && m.wParam == VK_ESCAPE && (m.hwnd == h || IsChild(h, m.hwnd))) {
            stato.Premuto(0);
            continue;
        }
        if (IsDialogMessageW(h, &m))
            continue;
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
    // The form takes the focus back before the picker goes.
    EnableWindow(form, TRUE);
    SetActiveWindow(form);
    DestroyWindow(h);
    if (uscita) // the host is ending: its quit message stays for its own loop
        PostQuitMessage(codiceUscita);
}

} // namespace veltrano::ui
