// The site's mark on the map: a cross of 0.02 degrees with two rings and a
// dot at its centre, in black, on the map's last drawing layer, as the dialog and the
// site report draw it. Map units are degrees.
#pragma once

#include "map/mappa.h"

namespace veltrano::mappa {

void DisegnaSegnoSito(TMappa& m, double lon, double lat);

} // namespace veltrano::mappa
