// The administrative lists of the site inspector, built from the
// municipality database (TCoordComune records, Windows-1252 names).
// Region names compare with their letters a..z upper-cased (other bytes,
// accented letters included, as they are). Pure; thread-safe.
#pragma once

#include "veltrano/veltrano.h"

#include <span>
#include <string>
#include <vector>

namespace veltrano::dialogo {

/// The province names of region sReg (all when sReg is empty), one per
/// province shape in first-met database order, then sorted ignoring case.
/// numShapeProvince: shapes in the province layer.
std::vector<std::string> ElencoProvince(std::span<const TCoordComune> comuni, const std::string& sReg,
                                        int numShapeProvince);

/// Municipalities of region sReg and province sProv (either empty: any), in
/// database order, with the database index of each name.
struct ElencoComuni {
    std::vector<std::string> nomi;
    std::vector<int> indici; // VetId_Cmb_Com
};
ElencoComuni ElencaComuni(std::span<const TCoordComune> comuni, const std::string& sReg, const std::string& sProv);

/// The text of a short-string field.
std::string TestoCampo(const uint8_t (&campo)[256]);

} // namespace veltrano::dialogo
