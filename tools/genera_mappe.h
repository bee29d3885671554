// Shared pieces of the map data generator.
#pragma once

#include "map/shapefile.h"
#include "veltrano/veltrano.h"

#include <filesystem>
#include <string>
#include <vector>

namespace veltrano::genera {

/// The boundary sources as read, with their UTF-8 tables.
struct Sorgenti {
    mappa::TShapefile regioni, province, comuni, laghi, fiumi;
};

/// Index of the source's field named nome; throws when absent.
int IndiceCampo(const mappa::TShapefile& sf, const std::string& nome);

/// A point inside polygon s: the centroid of its largest ring when that
/// lies inside, else the middle of the longest inside stretch of the
/// parallel through it.
mappa::TPunto PuntoInterno(const mappa::TShape& s);

/// One database record per municipality shape, in shape order, from the
/// ISTAT list in cartellaSorgenti/comuni.csv. Prints what the rule for
/// merged municipalities did.
std::vector<TCoordComune> CostruisciComuni(const Sorgenti& s, const std::filesystem::path& cartellaSorgenti);

} // namespace veltrano::genera
