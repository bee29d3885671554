// The pictures of the dialog's buttons, drawn in code so that the front end
// needs no image files.
#pragma once

#include "dialog/controlli.h"

#include <QIcon>

namespace veltrano::ui {

/// The picture of a toolbar button; a null icon for buttons with text.
QIcon IconaDi(dialogo::TControllo c);
/// The glyph of point style tipo (0..6), drawn as the map draws its points.
QIcon IconaStilePunto(int tipo);

} // namespace veltrano::ui
