// The computation chain of a site, as every computation export runs it, over
// an explicit grid and working cell so that callers choose what is shared.
#pragma once

#include "core/pga.h"
#include "core/tempi_ritorno.h"

namespace veltrano {

/// Hazard of an ED50 site: search, island values when two nodes or fewer are
/// found, return periods, interpolation, ag to g, node sort. Writes only the
/// computed fields of out. ClasseUso outside 0..255 throws ErroreIntervallo.
void CalcolaSito(const Griglia& g, TMagliaSito& m, uint8_t Normativa, float Lon, float Lat,
                 int32_t VN, int32_t ClasseUso, TGIS_DatiOut& out);

/// The same after the search: m already holds the site's cell.
void CompletaSito(TMagliaSito& m, uint8_t Normativa, float Lon, float Lat, int32_t VN,
                  int32_t ClasseUso, TGIS_DatiOut& out);
/// The same with the return periods already computed (CalcolaTR), through
/// the faster forms of the island test and the interpolation: the same bytes.
/// True when the site took island values.
bool CompletaSitoRapido(TMagliaSito& m, float Lon, float Lat, const TempiRitorno& tr, TGIS_DatiOut& out);

/// Return period [years] at which the ED50 site's ag equals PGA [g].
int32_t CalcolaTRDaPGA(const Griglia& g, TMagliaSito& m, float Lon, float Lat, float PGA);

} // namespace veltrano
