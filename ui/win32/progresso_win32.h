// The progress dialog of a long task of the Win32 dialog (the names of a
// layer): a small captioned window with the task's text and a bar, modal
// over the form while it lasts. Its window is the class
// "VeltranoProgresso", named "Progresso1" (window property "Nome"), its text
// "Testo" and its bar "Barra", so that a test host finds them. GUI thread only.
#pragma once

#include <windows.h>

#include <string>

namespace veltrano::ui {

class TProgressoWin32 {
public:
    /// Shown at once, centred over form, at 0 of massimo.
    TProgressoWin32(HWND form, const std::wstring& titolo, const std::wstring& testo, int massimo, HFONT font);
    /// Gives the form its input back, then closes.
    ~TProgressoWin32();
    TProgressoWin32(const TProgressoWin32&) = delete;
    TProgressoWin32& operator=(const TProgressoWin32&) = delete;

    /// The step reached; the bar moves at each whole per cent, so that
    /// thousands of steps cost no more than a hundred repaints. True when
    /// it moved.
    bool Posizione(int posizione);

private:
    HWND form_, hwnd_ = nullptr, barra_ = nullptr;
    int massimo_, percentuale_ = 0;
    bool formAttivo_;
};

} // namespace veltrano::ui
