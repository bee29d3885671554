// veltrano lotto: the hazard of many sites, from CSV to CSV or JSON Lines,
// on worker threads.
#pragma once

#include "cli/comandi.h"

#include <istream>

namespace veltrano::cli {

int ComandoLotto(const Parole& args, std::istream& in, std::ostream& out, std::ostream& err);

} // namespace veltrano::cli
