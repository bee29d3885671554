// Charts of outputs/grafico.h as files, through the QPainter backend of the
// painter interface: compressed PNG (QImage), SVG (QSvgGenerator) and PDF
// (QPdfWriter), all three drawn at 96 dpi on the same 800 x 500 layout, so
// the fonts keep their point sizes in every format.
#pragma once

#include "outputs/grafico.h"

#include <QImage>

#include <filesystem>

namespace veltrano::ui {

/// True when the file name ends in .png, .svg or .pdf (any case).
bool FormatoGraficoNoto(const std::filesystem::path& file);
/// The chart drawn on an image of the given size [px].
QImage ImmagineGrafico(const uscite::TGrafico& g, int larghezza, int altezza);
/// Writes g by the extension of file, through a temporary file renamed over
/// it, so that a failure leaves any old file whole. Throws
/// veltrano::ErroreArgomento for another extension and veltrano::ErroreLettura
/// when the file cannot be written. Needs a QGuiApplication (see
/// ApplicazioneGrafica).
void SalvaGraficoQt(const uscite::TGrafico& g, const std::filesystem::path& file);
/// Makes the QGuiApplication that fonts need, offscreen, unless the process
/// already has an application object. Call from the main thread.
void ApplicazioneGrafica();

} // namespace veltrano::ui
