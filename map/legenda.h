// The hazard grid legend: eleven classes of ag for one tabulated return
// period, equal slices from 0 to the block's largest ag, with fixed colours.
// ag is in the grid file's unit, tenths of g [g/10]; labels show g.
// Pure and thread-safe, except ColoraGriglia, which writes a map.
#pragma once

#include "core/griglia.h"
#include "map/pittore.h"

#include <array>
#include <cstdint>
#include <string>

namespace veltrano::mappa {

/// Class colours, 0x00BBGGRR: white, yellow, orange, light green, green,
/// cyan, blue, magenta, purple, pink, red.
extern const std::array<uint32_t, 11> ColoriClassi;

/// min and max widened to every node's ag of block k [g/10]. The caller
/// passes min = max = 0, so the scale starts at 0.
void EstremiAg(const Griglia& g, int k, float& min, float& max);

/// Class bounds R0..R10 [g/10]: R0 = min (0 when min equals max), then ten
/// steps of (max - min) / 10 accumulated in single precision, R10 = max.
std::array<float, 11> CalcolaRangeColori(float min, float max);

/// Class 1..10 of ag (R(c-1) < ag <= R(c)); 0 for ag at or below R0 (or NaN).
int ClasseAg(const std::array<float, 11>& R, float ag);

/// Legend labels: "%1.3f" of R0 / 10 for cell 0, "%1.3f-%1.3f" of
/// R(j-1) / 10 and R(j) / 10 for cell j. Always "." as decimal separator.
std::array<std::string, 11> EtichetteLegenda(const std::array<float, 11>& R);

/// Label of a grid point: "ID: <id>" + carriage return + "Ag:<ag/10 %1.3f>".
std::string EtichettaNodo(int32_t id, float agDecimiG);

/// x with d decimals and "." whatever the locale ("%1.<d>f").
std::string Decimali(double x, int d);

class TMappa;

/// Colours the point layer of the grid (shape i = node i + 1) for block k:
/// each node's class colour and a label "ID: ...\rAg:..." in that colour at
/// its point, class by class; nodes at or below the scale's start keep their
/// colour and get no label. The layer's labels are replaced; new labels take
/// the font carattere. Returns the class bounds R0..R10 [g/10].
std::array<float, 11> ColoraGriglia(TMappa& m, int layer, const Griglia& g, int k, const TCarattere& carattere);

} // namespace veltrano::mappa
