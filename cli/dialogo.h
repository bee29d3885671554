// "veltrano dialogo": the site dialog on its own (built with the dialog only).
#pragma once

#include "cli/comandi.h"

namespace veltrano::cli {

int ComandoDialogo(const Parole& args, std::ostream& out, std::ostream& err);

} // namespace veltrano::cli
