// The library's nine cursors (map/cursori.h) as Qt cursors: screen cursors
// 1 to 9 of the Qt front end, loaded once per process from the Qt resources
// that the build draws, in the set InsiemeCursori names. GUI thread only.
#pragma once

#include <QCursor>

namespace veltrano::ui {

/// Screen cursor n (1..9); the arrow for any other number, or when the
/// resources cannot be read.
const QCursor& CursoreSchermo(int n);
/// Loads the nine at the first call and returns how many were read.
int CaricaCursori();

} // namespace veltrano::ui
