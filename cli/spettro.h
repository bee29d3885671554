// "veltrano spettro": response spectra of a site, or of given ag, Fo and Tc*,
// as a CSV or JSON table, optionally with a chart (SVG or PNG).
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace veltrano::cli {

/// Runs the subcommand; args are the words after "spettro". Results go to
/// out, a one-line message starting "veltrano spettro: " to err. Returns 0 on
/// success (and for --help), 2 on bad use or input out of range, 1 on any
/// other failure (a missing data file, a chart that cannot be written).
int ComandoSpettro(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace veltrano::cli
