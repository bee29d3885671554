// The computation chain of a site, as every computation export runs it, over
// an explicit grid and working cell so that callers choose what is shared.
#pragma once

#include "core/pga.h"
#include "core/tempi_ritorno.h"

namespace veltrano {

/// What the chain decided about a site besides its numbers. The report, the
/// command line, the C batch and the dialog read these flags and never
/// decide again.
struct EsitoSito {
    int numNodi = 0;    ///< grid nodes the search found around the site (0..4)
    bool isola = false; ///< the values are the fixed ones of a small island
    /// The numbers describe the site: a grid cell (3 or 4 nodes) or an island.
    bool Valido() const { return numNodi > 2 || isola; }
};

/// Hazard of an ED50 site: search, island values when two nodes or fewer are
/// found, return periods, interpolation, ag to g, node sort. Writes only the
/// computed fields of out. ClasseUso outside 0..255, a coordinate out of
/// range or a result that is not a number throws ErroreIntervallo.
EsitoSito CalcolaSito(const Griglia& g, TMagliaSito& m, uint8_t Normativa, float Lon, float Lat,
                      int32_t VN, int32_t ClasseUso, TGIS_DatiOut& out);

/// The same after the search: m already holds the site's cell.
EsitoSito CompletaSito(TMagliaSito& m, uint8_t Normativa, float Lon, float Lat, int32_t VN,
                       int32_t ClasseUso, TGIS_DatiOut& out);
/// The same with the return periods already computed (CalcolaTR), through
/// the faster forms of the island test and the interpolation: the same bytes.
EsitoSito CompletaSitoRapido(TMagliaSito& m, float Lon, float Lat, const TempiRitorno& tr, TGIS_DatiOut& out);

/// Return period [years] at which the ED50 site's ag equals PGA [g]. A
/// coordinate out of range or a PGA that is not finite throws ErroreIntervallo.
int32_t CalcolaTRDaPGA(const Griglia& g, TMagliaSito& m, float Lon, float Lat, float PGA);

/// Throws ErroreIntervallo unless Lon is in [-180, 180] and Lat in [-90, 90]
/// (NaN and infinities fail): beyond them a site has no meaning, and the
/// distances of the interpolation would not be numbers.
void ControllaCoordinateSito(float Lon, float Lat);
/// Throws ErroreIntervallo when one of the four limit states' ag, Fo, Tc*
/// is not a number: a floating-point fault is never a result.
void ControllaRisultato(const TGIS_DatiOut& out, float Lon, float Lat);

} // namespace veltrano
