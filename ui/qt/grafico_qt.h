// Charts of outputs/grafico.h as files, through the QPainter backend of the
// painter interface: compressed PNG (QImage), SVG (QSvgGenerator) and PDF
// (QPdfWriter), all three drawn at 96 dpi on the same 800 x 500 layout, so
// the fonts keep their point sizes in every format. The plugin exports this
// as VeltranoGraficoQt for the command line, which has no Qt of its own.
#pragma once

#include "outputs/grafico_plugin.h"

#include <QImage>

#include <cstddef>
#include <filesystem>

namespace veltrano::ui {

/// The chart drawn on an image of the given size [px].
QImage ImmagineGrafico(const uscite::TGrafico& g, int larghezza, int altezza);
/// Writes g by the extension of file, through a temporary file renamed over
/// it, so that a failure leaves any old file whole. Throws
/// veltrano::ErroreArgomento for another extension and veltrano::ErroreLettura
/// when the file cannot be written. Needs a QGuiApplication (see
/// ApplicazioneGrafica).
void SalvaGraficoQt(const uscite::TGrafico& g, const std::filesystem::path& file);
/// Makes the QGuiApplication that fonts need, offscreen, unless the process
/// already has one (then it is used). Throws veltrano::ErroreApertura when
/// the process has a Qt application without graphics. Call from the main
/// thread.
void ApplicazioneGrafica();

} // namespace veltrano::ui

extern "C" {

/// SalvaGraficoQt for a caller without Qt (outputs/grafico_plugin.h): makes
/// the offscreen application when the process has none. Returns a
/// TEsitoPlugin (dialog/plugin.h) with the failure's message in messaggio.
__attribute__((visibility("default"))) int VeltranoGraficoQt(const TGraficoC* grafico, const char* file,
                                                              char* messaggio, size_t dimensione);
}
