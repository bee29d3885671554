// The subcommands of veltrano and the one dispatcher that runs them. Every
// subcommand gets the same treatment: "-h"/"--help" anywhere prints its help
// (exit 0); bad use and input out of range give one line on err and exit 2;
// a failure (a missing or damaged data file, a computation that cannot be
// done, a file that cannot be written) gives one line on err and exit 1.
#pragma once

#include "cli/argomenti.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace veltrano::cli {

using Parole = std::vector<std::string>;

/// The streams of one run, and what the dispatcher knows about them.
struct Flussi {
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
    bool outTerminale = false; ///< out is shown on a terminal
    bool errTerminale = false; ///< err is a terminal (progress may be drawn there)
    int colonne = 80;          ///< width of that terminal [characters]
};

/// One subcommand: the body reads its options from a, writes to f and
/// returns 0, or 1 when some of its work failed (lotto's bad rows); it
/// throws for everything else (see the dispatcher's exit codes above).
struct Comando {
    const char* nome;
    const char* sintesi; ///< one line for the general help
    const char* uso;     ///< the help page
    int (*corpo)(Argomenti& a, Flussi& f);
};

extern const Comando ComandoSito, ComandoTempi, ComandoPga, ComandoConverti, ComandoSpettro,
    ComandoLotto, ComandoDialogo, ComandoRelazione;

/// Runs the whole command line (argv[0] excluded).
int Principale(const Parole& args, Flussi& f);
/// The same reading std::cin, with no terminal.
int Principale(const Parole& args, std::ostream& out, std::ostream& err);

} // namespace veltrano::cli
