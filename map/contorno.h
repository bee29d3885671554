// The outline of the site's grid cell: the "Contorni" shapefile (one
// polygon through the cell's four nodes), its four sides drawn on the map,
// and the black node identifiers shown when the grid itself is hidden.
// Node coordinates are ED50 degrees, in the order of the site's cell
// (ascending node numbers).
#pragma once

#include "core/griglia.h"
#include "map/mappa.h"
#include "map/shapefile.h"

#include <array>
#include <filesystem>

namespace veltrano::mappa {

using TNodiCella = std::array<TPunto, 4>;

/// The outline shapefile in memory. Fields and vertices are inserted one
/// by one at position 0, as the outline has always been built: the table
/// reads "Lat", "Lon" (both floating point) with the longitude and latitude
/// of the cell's third node in shape 0, and the ring runs through the nodes
/// 2, 4, 1, 3 (closed back at 2, so that any reader takes it).
TShapefile ShapefileContorno(const TNodiCella& nodi);

/// Writes the outline as Shape/Contorni.* and Contorni.* in the data folder.
/// False when a file could not be written (nothing reads them back).
bool SalvaContorno(const TShapefile& sf, const std::filesystem::path& percorsoDati);

/// A new drawing layer with the cell's sides in black, one pixel wide:
/// node 1 to 2, 2 to 4, 4 to 3, 3 to 1.
void DisegnaContornoMaglia(TMappa& m, const TNodiCella& nodi);

/// Every grid point black at size 10, labelled in black "ID: <id>" (block
/// k) 0.001 degrees below it with the font nome at size 10; the layer and
/// its labels shown.
void EtichetteNodiNere(TMappa& m, int layer, const Griglia& g, int k, const std::string& nomeCarattere);

} // namespace veltrano::mappa
