#include "ui/win32/finestre_win32.h"

namespace veltrano::ui {

HINSTANCE Modulo() {
    HMODULE m = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&Modulo), &m);
    return m;
}

void RegistraClasse(const wchar_t* nome, WNDPROC procedura, HBRUSH sfondo, const wchar_t* cursore) {
    const HINSTANCE modulo = Modulo();
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExW(modulo, nome, &wc))
        return;
    wc.lpfnWndProc = procedura;
    wc.hInstance = modulo;
    wc.hCursor = LoadCursorW(nullptr, cursore);
    wc.hbrBackground = sfondo;
    wc.lpszClassName = nome;
    RegisterClassExW(&wc);
}

void NomeFinestra(HWND h, const char* nome) { SetPropW(h, L"Nome", reinterpret_cast<HANDLE>(const_cast<char*>(nome))); }

} // namespace veltrano::ui
