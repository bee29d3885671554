// The municipality coordinate database: CoorCom2.dat (marker, count and the
// three shape identifiers of each record) and CoorCom.dat (the descriptive
// fields, stored column by column). Both lie in one folder; the folder text
// is used as a prefix, exactly as given, so it must end with a separator.
#pragma once

#include "veltrano/veltrano.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace veltrano {

/// Number of records stored in prefisso + "CoorCom2.dat" (only that file is
/// read), believed only when the file's size is 8 + 12 N. Throws
/// ErroreApertura or ErroreLettura naming the file.
int32_t LeggiNumeroComuni(const std::u16string& prefisso);

/// The first `quanti` records of the database (all of them when absent).
/// The two files must agree exactly: CoorCom2.dat of 8 + 12 N bytes,
/// CoorCom.dat of 780 N bytes. Asking for more records than are stored, a
/// negative or lying count, files that disagree, or a coordinate or altitude
/// that is not a number (longitude outside -180..180, latitude outside
/// -90..90) throw ErroreLettura naming the file; a missing file, a folder in
/// its place, a device or a file the system will not open throw
/// ErroreApertura. Nothing is returned in part.
std::vector<TCoordComune> LeggiComuni(const std::u16string& prefisso,
                                      std::optional<std::size_t> quanti = std::nullopt);

/// Writes both files as one: both go to temporary files first, the old pair
/// is kept aside until both new files are in place, and any failure puts the
/// old pair back, so a failed save leaves the previous database whole. The
/// message names the file that failed. A record that could not be read back
/// (see LeggiComuni) throws ErroreIntervallo before anything is written.
void SalvaComuni(const std::u16string& prefisso, std::span<const TCoordComune> comuni);

} // namespace veltrano
