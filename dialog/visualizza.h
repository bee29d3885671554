// The site dialog's whole exchange with a host, over any front end: create
// the form, pre-fill it from the host's record, run it modally, then write
// the chosen site and its hazard back (or, when cancelled, only the ED50
// coordinates the record lacks). The Linux library's VisualizzaDialog and
// "veltrano dialogo" both come here.
#pragma once

#include "dialog/TFMapMain.h"

namespace veltrano::dialogo {

/// Runs the dialog on vista over the data folder percorsoDati. DatiOut is
/// written only after the form has closed, and wholly or not at all.
/// Throws veltrano::Errore when the data folder lacks the grid or the
/// municipality database (DatiOut untouched).
TEsito VisualizzaDialogo(TVistaDialogo& vista, const std::filesystem::path& percorsoDati,
                         const TParametriDialogo& parametri, TGIS_DatiOut& DatiOut);

} // namespace veltrano::dialogo
