// The entry of the dialog's plugin, as the library and the command line
// call it: libVeltrano_dialogo_qt.so exports VeltranoDialogoQtAbi and
// VeltranoDialogoQt (ui/qt/dialogo_qt.cpp). Kept apart so that neither
// caller needs the plugin's headers, nor Qt.
#pragma once

#include "veltrano/veltrano.h"

#include <cstddef>
#include <cstdint>

namespace veltrano::dialogo {

/// The plugin's file name, beside the library or the program, or in the
/// installed plugin folder.
inline constexpr const char* NomePlugin = "libVeltrano_dialogo_qt.so";
/// The version of the entry below: a plugin with another is refused.
inline constexpr int AbiPlugin = 1;

/// Results of the entry: confirmed, cancelled, or a failure, one code per
/// exception type of the engine (the message is in the caller's buffer).
enum TEsitoPlugin {
    PluginConfermato = 0,
    PluginAnnullato = 1,
    PluginErroreApertura = -1,
    PluginErroreLettura = -2,
    PluginErroreIntervallo = -3,
    PluginErroreArgomento = -4,
    PluginErroreAltro = -5
};

/// VeltranoDialogoQt(percorsoDati, MainApp, CategoriaVN, ClasseUso, VN,
/// fileImmagine, DatiOut, messaggio, dimensione): texts UTF-8.
using TEntrataPlugin = int (*)(const char*, void*, int32_t, uint8_t, int32_t, const char*, TGIS_DatiOut*, char*,
                               std::size_t);
using TAbiPlugin = int (*)();

} // namespace veltrano::dialogo
