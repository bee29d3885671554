#include "ui/win32/progresso_win32.h"

#include "ui/win32/finestre_win32.h"

#include <commctrl.h>

#include <algorithm>

namespace veltrano::ui {

namespace {

constexpr wchar_t ClasseProgresso[] = L"VeltranoProgresso";
constexpr int Larghezza = 360, Altezza = 78; // client area [px]

} // namespace

TProgressoWin32::TProgressoWin32(HWND form, const std::wstring& titolo, const std::wstring& testo, int massimo,
                                 HFONT font)
    : form_(form), massimo_(std::max(0, massimo)), formAttivo_(form && IsWindowEnabled(form)) {
    const HINSTANCE modulo = Modulo();
    RegistraClasse(ClasseProgresso, DefWindowProcW, GetSysColorBrush(COLOR_BTNFACE), IDC_WAIT);
    const DWORD stile = WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN, esteso = WS_EX_DLGMODALFRAME;
    RECT r{0, 0, Larghezza, Altezza};
    AdjustWindowRectEx(&r, stile, FALSE, esteso);
    const int w = r.right - r.left, h = r.bottom - r.top;
    RECT f{};
    if (!form || !GetWindowRect(form, &f))
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &f, 0);
    hwnd_ = CreateWindowExW(esteso, ClasseProgresso, titolo.c_str(), stile, f.left + (f.right - f.left - w) / 2,
                            f.top + (f.bottom - f.top - h) / 2, w, h, form, nullptr, modulo, nullptr);
    if (!hwnd_)
        return;
    NomeFinestra(hwnd_, "Progresso1");
    HWND t = CreateWindowExW(0, L"STATIC", testo.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_ENDELLIPSIS,
                             12, 12, Larghezza - 24, 20, hwnd_, nullptr, modulo, nullptr);
    SendMessageW(t, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    NomeFinestra(t, "Testo");
    barra_ = CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE | PBS_SMOOTH, 12, 40, Larghezza - 24, 22,
                             hwnd_, nullptr, modulo, nullptr);
    NomeFinestra(barra_, "Barra");
    SendMessageW(barra_, PBM_SETRANGE32, 0, std::max(1, massimo_));
    SendMessageW(barra_, PBM_SETPOS, 0, 0);
    // Modal over the form: the user's clicks wait for the end of the task.
    if (formAttivo_)
        EnableWindow(form_, FALSE);
    ShowWindow(hwnd_, SW_SHOWNA);
    UpdateWindow(hwnd_);
}

TProgressoWin32::~TProgressoWin32() {
    if (formAttivo_)
        EnableWindow(form_, TRUE);
    if (hwnd_)
        DestroyWindow(hwnd_);
}

bool TProgressoWin32::Posizione(int posizione) {
    const int percentuale = massimo_ > 0 ? static_cast<int>(100LL * std::clamp(posizione, 0, massimo_) / massimo_) : 100;
    if (!barra_ || percentuale == percentuale_)
        return false;
    percentuale_ = percentuale;
    SendMessageW(barra_, PBM_SETPOS, static_cast<WPARAM>(posizione), 0);
    return true;
}

} // namespace veltrano::ui
