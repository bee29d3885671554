#include "cli/dialogo.h"

#include "cli/argomenti.h"
#include "cli/sito.h"
#include "dialog/dialogo.h"

#include <algorithm>
#include <cstdlib>

namespace veltrano::cli {

namespace {
constexpr const char* UsoDialogo =
    "uso: veltrano dialogo [--dati CARTELLA]\n"
    "\n"
    "Apre la finestra di scelta del sito con la cartina, la griglia e le opzioni.\n"
    "\n"
    "  --dati CARTELLA   cartella dei dati (predefinita: quella del programma)\n";
} // namespace

int ComandoDialogo(const Parole& args, std::ostream& out, std::ostream& err) {
    if (std::find(args.begin(), args.end(), "--help") != args.end() ||
        std::find(args.begin(), args.end(), "-h") != args.end()) {
        out << UsoDialogo;
        return 0;
    }
    try {
        Argomenti a(args);
        const auto d = a.Testo("--dati");
        a.ControllaFine();
        // Qt aborts the process when it finds no screen: say so instead.
        if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") && !std::getenv("QT_QPA_PLATFORM")) {
            err << "veltrano dialogo: nessuno schermo disponibile (DISPLAY non impostato)\n";
            return 1;
        }
        dialogo::EseguiDialogo(d ? std::filesystem::path(*d) : CartellaDatiPredefinita());
        return 0;
    } catch (const ErroreUso& e) {
        err << "veltrano dialogo: " << e.what() << "\n";
        return 2;
    } catch (const std::exception& e) {
        err << "veltrano dialogo: " << e.what() << "\n";
        return 1;
    }
}

} // namespace veltrano::cli
