// Windows bitmap files (.bmp) of a picture in memory: 24 bits a pixel,
// rows bottom-up padded to four bytes, 96 dots per inch, no compression,
// the form every Windows program reads.
#pragma once

#include "map/pittore.h"

#include <cstdint>
#include <filesystem>
#include <vector>

namespace veltrano::mappa {

/// The bytes of the file. An empty picture gives a 1 x 1 white one.
std::vector<uint8_t> CodificaBitmap(const TImmagine& immagine);

/// Writes the file through ScriviFileSicuro (map/file.h); throws as it does.
void SalvaBitmap(const std::filesystem::path& percorso, const TImmagine& immagine);

} // namespace veltrano::mappa
