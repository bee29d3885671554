// The subcommands of veltrano. Each takes the words after its name and
// returns the exit code: 0 done, 1 failed (a data file, a computation), 2 bad
// use (a one-line message on err).
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace veltrano::cli {

using Parole = std::vector<std::string>;

int ComandoSito(const Parole& args, std::ostream& out, std::ostream& err);
int ComandoTempi(const Parole& args, std::ostream& out, std::ostream& err);
int ComandoPga(const Parole& args, std::ostream& out, std::ostream& err);
int ComandoConverti(const Parole& args, std::ostream& out, std::ostream& err);
/// Runs the whole command line (argv[0] excluded).
int Principale(const Parole& args, std::ostream& out, std::ostream& err);

} // namespace veltrano::cli
