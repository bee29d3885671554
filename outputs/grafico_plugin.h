// A chart in plain C form, as the command line hands it to the Qt plugin's
// entry VeltranoGraficoQt (ui/qt/grafico_qt.cpp): texts are UTF-8, each
// curve two arrays of equal length. The program and the plugin share no C++
// object, only these records, so that the program itself needs no Qt.
#pragma once

#include "outputs/grafico.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" {

struct TSerieGraficoC {
    const char* nome;
    uint32_t colore; ///< 0x00BBGGRR
    const double* x;
    const double* y;
    size_t punti;
};

struct TGraficoC {
    const char* titolo;
    const char* sottotitolo;
    const char* etichettaX;
    const char* etichettaY;
    const TSerieGraficoC* serie;
    size_t numSerie;
};
}

namespace veltrano::uscite {

/// The plugin's chart entry: VeltranoGraficoQt(grafico, file, messaggio,
/// dimensione) writes the chart to file (UTF-8) by its extension and returns
/// a dialogo::TEsitoPlugin, with the message of a failure in messaggio.
inline constexpr const char* NomeEntrataGrafico = "VeltranoGraficoQt";
using TEntrataGrafico = int (*)(const TGraficoC*, const char*, char*, std::size_t);

/// The C form of a chart; it points into its own copy of the chart, so it
/// stays valid as long as this object.
class TGraficoPerPlugin {
public:
    explicit TGraficoPerPlugin(TGrafico g);
    TGraficoPerPlugin(const TGraficoPerPlugin&) = delete;
    TGraficoPerPlugin& operator=(const TGraficoPerPlugin&) = delete;
    const TGraficoC* Dati() const { return &c_; }

private:
    TGrafico g_;
    std::vector<std::vector<double>> x_, y_;
    std::vector<TSerieGraficoC> serie_;
    TGraficoC c_{};
};

/// The chart back from its C form: null texts are empty. Throws
/// veltrano::ErroreArgomento for a null array that should hold something.
TGrafico DaGraficoC(const TGraficoC& c);

} // namespace veltrano::uscite
