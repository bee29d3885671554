// Line charts for the command line, written as SVG text or as PNG drawn here:
// antialiased lines, a built-in 5x7 bitmap font (printable ASCII) and an
// uncompressed zlib stream, so the program needs no graphics library.
#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace veltrano::cli {

struct Colore {
    unsigned char r, g, b;
};

/// One curve: (x, y) points joined by straight lines, x increasing.
struct Serie {
    std::string nome; ///< legend text
    Colore colore;
    std::vector<std::pair<double, double>> punti;
};

/// A chart with both axes starting at 0, grid lines at round values and a
/// legend in the top right corner. Texts are ASCII (the PNG font has no more).
struct Grafico {
    std::string titolo;
    std::string sottotitolo; ///< second, plain line under the title (may be empty)
    std::string etichettaX;
    std::string etichettaY;
    std::vector<Serie> serie;
};

/// Chart size [px]; the SVG uses the same user units.
inline constexpr int LarghezzaGrafico = 800;
inline constexpr int AltezzaGrafico = 500;

/// The chart as an SVG document.
std::string GraficoSvg(const Grafico& g);
/// The chart as a PNG file (8-bit RGB, about 1.2 MB: the stream is stored, not compressed).
std::vector<unsigned char> GraficoPng(const Grafico& g);

/// True when the file name ends in ".svg" or ".png" (any case).
bool FormatoGraficoNoto(const std::filesystem::path& percorso);
/// Writes g as SVG or PNG by the extension of percorso, through a temporary
/// file renamed over the target. Throws veltrano::ErroreLettura on failure.
void SalvaGrafico(const Grafico& g, const std::filesystem::path& percorso);

} // namespace veltrano::cli
