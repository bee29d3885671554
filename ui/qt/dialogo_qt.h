// The site dialog with the Qt front end, as the Linux library and the
// command line open it. The entry VeltranoDialogoQt is what the plugin
// libVeltrano_dialogo_qt.so exports: libVeltrano_dll.so loads the plugin
// from its own folder at the first VisualizzaDialog and calls it, so that
// the engine library itself never needs Qt.
#pragma once

#include "dialog/plugin.h"
#include "dialog/visualizza.h"

#include <cstddef>
#include <cstdint>

namespace veltrano::ui {

/// Runs the dialog over the data folder: checks the data files before any
/// window exists, creates the Qt application object when the process has
/// none (kept for later calls), and returns as VisualizzaDialogo does.
/// Throws veltrano::ErroreApertura for a missing data file or no screen.
dialogo::TEsito EseguiDialogoQt(const std::filesystem::path& percorsoDati, const dialogo::TParametriDialogo& p,
                               TGIS_DatiOut& DatiOut);

} // namespace veltrano::ui

extern "C" {

/// The entry's version (dialog/plugin.h, AbiPlugin).
__attribute__((visibility("default"))) int VeltranoDialogoQtAbi(void);

/// VisualizzaDialog's work: texts are UTF-8 (fileImmagine may be null or
/// empty: no picture). Returns a TEsitoPlugin (dialog/plugin.h); on a
/// failure the message is written, cut and terminated, into messaggio. No
/// exception leaves it.
__attribute__((visibility("default"))) int VeltranoDialogoQt(const char* percorsoDati, void* MainApp,
                                                              int32_t CategoriaVN, uint8_t ClasseUso, int32_t VN,
                                                              const char* fileImmagine, TGIS_DatiOut* DatiOut,
                                                              char* messaggio, size_t dimensione);
}
