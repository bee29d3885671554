// The administrative lookup of a map point (CercaComunePunto without the
// pixel conversion): the municipality whose polygon holds the point, else
// the database point nearest within 0.5 degrees refined to the municipality
// of its province with the nearest boundary vertex within 0.1 degrees.
// Distances are plane distances in degrees. Pure; thread-safe.
#pragma once

#include "map/shapefile.h"
#include "veltrano/veltrano.h"

#include <span>

namespace veltrano::mappa {

struct TComuneTrovato {
    int iReg = -1, iProv = -1, iCom = -1; // shape indices, -1 = none
};

TComuneTrovato CercaComune(const mappa::TShapefile& sfComuni, std::span<const TCoordComune> comuni, double lon,
                           double lat);

} // namespace veltrano::mappa
