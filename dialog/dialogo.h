// Opening the site dialog on its own, outside a host program: for the
// command line's "dialogo" and for trying the form.
#pragma once

#include <filesystem>

namespace veltrano::dialogo {

/// Shows TFMapMain over the data folder dati modally and returns once it is
/// closed: 0 closed with "CHIUDI", 1 cancelled. Creates the Qt application
/// object when there is none. Throws veltrano::Errore when the data folder
/// lacks the grid or the municipality database.
int EseguiDialogo(const std::filesystem::path& dati);

} // namespace veltrano::dialogo
