// The Qt plugin libVeltrano_dialogo_qt.so, which the command line loads at
// run time for the site dialog and the chart files, so that the program
// itself links no Qt and runs where Qt is not installed.
#pragma once

#include <string>

namespace veltrano::cli {

/// The plugin's entry nome: the plugin is looked for beside the program (a
/// build folder), then in the installed plugin folder relative to it, and
/// kept loaded for the process. When the plugin is missing, cannot be
/// loaded, is of another version or lacks the entry, throws
/// veltrano::ErroreApertura with uso ("grafici non disponibili") and the
/// reason.
void* EntrataPluginQt(const char* nome, const std::string& uso);

/// Turns a failed entry's result code (dialog/plugin.h) back into the
/// engine's exception with the plugin's message; nothing for success or
/// cancellation.
void LanciaErrorePlugin(int esito, const char* messaggio);

} // namespace veltrano::cli
