// What the Win32 front end's windows share: the module that holds their
// classes and resources (the library itself, not the host's program), the
// registration of a window class once per process, and the name a window
// carries for test hosts (its window property "Nome", a static string), and
// the object a window procedure serves.
#pragma once

#include <windows.h>

namespace veltrano::ui {

/// The library's own module.
HINSTANCE Modulo();
/// Registers the class in the library's module unless it is there already.
void RegistraClasse(const wchar_t* nome, WNDPROC procedura, HBRUSH sfondo, const wchar_t* cursore = IDC_ARROW);
/// Gives h its name; nome must outlive the window.
void NomeFinestra(HWND h, const char* nome);

/// For a window procedure: the object h was created with (CreateWindowEx's
/// last argument), from WM_NCCREATE to WM_NCDESTROY; nullptr before and after.
template <class T>
T* OggettoFinestra(HWND h, UINT m, LPARAM l) {
    if (m == WM_NCCREATE)
        SetWindowLongPtrW(h, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams));
    auto* o = reinterpret_cast<T*>(GetWindowLongPtrW(h, GWLP_USERDATA));
    if (m == WM_NCDESTROY)
        SetWindowLongPtrW(h, GWLP_USERDATA, 0);
    return o;
}

} // namespace veltrano::ui
