// The site's mark on the map: a cross of 0.02 degrees with two rings and a
// dot at its centre, in black, as the dialog and the site report draw it, on a
// drawing layer of its own that the map keeps free of labels (the last one
// when it is still empty, else a new one). Map units are degrees.
#pragma once

#include "map/mappa.h"

namespace veltrano::mappa {

void DisegnaSegnoSito(TMappa& m, double lon, double lat);

} // namespace veltrano::mappa
