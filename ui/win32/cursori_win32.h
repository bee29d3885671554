// The library's nine cursors (map/cursori.h) as Windows cursors: screen
// cursors 1 to 9 of the Win32 front end, loaded once per process from the
// cursor resources that the build draws into the library, in the set that
// InsiemeCursori names. Cursors loaded from resources are shared by the
// system and never destroyed. GUI thread only.
#pragma once

#include <windows.h>

namespace veltrano::ui {

/// Screen cursor n (1..9); the system's arrow for any other number, or when
/// its resource cannot be loaded.
HCURSOR CursoreSchermo(int n);
/// Loads the nine at the first call and returns how many were found.
int CaricaCursori();

} // namespace veltrano::ui
