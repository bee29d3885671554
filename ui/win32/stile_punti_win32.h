// TFStileLayer (map/stile_punti.h) on the Windows screen: the borderless
// modal column of buttons with the pictures of the point styles, and the
// glyph of a style as the "Stile punti" button and the picker draw it.
// GDI+ must be started; GUI thread only.
#pragma once

#include "map/stile_punti.h"

#include <windows.h>

namespace veltrano::ui {

/// The glyph of point style tipo (0..6: the point types of map/pittore.h)
/// centred in r, as the map draws its points; grey when not abilitato.
void DisegnaStilePunto(HDC dc, const RECT& r, int tipo, bool abilitato = true);

/// Runs the picker modally over form, at its left + ScostamentoX, top +
/// ScostamentoY; every button goes to selettore.Premuto and closes it, as
/// Esc and the window's closing do with "Chiudi". The window is the class
/// "VeltranoStileLayer" and its buttons carry their names ("Voce0" to
/// "Voce7") as their window property "Nome", so that a test host finds them.
void MostraStilePuntiWin32(mappa::TFStileLayer& selettore, HWND form, HFONT font);

} // namespace veltrano::ui
