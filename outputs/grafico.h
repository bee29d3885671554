// Line charts drawn through the painter interface, so that one layout serves
// the command line's files and the dialog's spectra view: a title and a
// subtitle, both axes from 0 to a round value above the data with grid lines
// at round steps and comma decimals, the axis titles, the curves, and a
// legend in the plot's top right corner. Text is measured on the device, so
// the layout fits the fonts the device really has. Pure; thread-safe.
#pragma once

#include "map/pittore.h"

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace veltrano::uscite {

/// One curve: (x, y) points joined by straight lines.
struct TSerieGrafico {
    std::string nome;      ///< legend text, UTF-8
    mappa::TColore colore; ///< 0x00BBGGRR
    std::vector<std::pair<double, double>> punti;
};

struct TGrafico {
    std::string titolo;
    std::string sottotitolo; ///< second, plain line under the title (may be empty)
    std::string etichettaX;
    std::string etichettaY;
    std::vector<TSerieGrafico> serie;
};

/// True when a chart can be written to file: its name ends in .png, .svg or
/// .pdf (any case).
bool FormatoGraficoNoto(const std::filesystem::path& file);

/// The size the command line draws charts at [px at 96 dpi].
inline constexpr double LarghezzaGrafico = 800;
inline constexpr double AltezzaGrafico = 500;

/// The fonts of the charts: a sans serif face the system resolves (with
/// accented letters), in points.
mappa::TCarattere CarattereTitolo();
mappa::TCarattere CarattereTesto();

/// Where the parts of a chart go in its area; DisegnaGrafico draws them.
struct TImpaginazione {
    mappa::TRettangoloPx piano;   ///< the plot's frame
    double passoX = 1, passoY = 1; ///< grid steps [data units]
    int intervalliX = 1, intervalliY = 1; ///< grid intervals on x and y
    mappa::TRettangoloPx legenda;  ///< empty without series
};

/// The layout of g in area, with text measured through p.
TImpaginazione Impagina(mappa::TPittore& p, const TGrafico& g, const mappa::TRettangoloPx& area);
/// Draws g to fill area.
void DisegnaGrafico(mappa::TPittore& p, const TGrafico& g, const mappa::TRettangoloPx& area);

/// A round step (1, 2 or 5 times a power of ten) that cuts 0..massimo into
/// about n intervals; 1 when massimo is not positive.
double PassoTacche(double massimo, int n);
/// v with the decimals that the step passo needs, comma as decimal separator.
std::string EtichettaTacca(double v, double passo);

} // namespace veltrano::uscite
