// "veltrano dialogo": the site dialog on its own (built with the dialog only).
#include "cli/comandi.h"
#include "cli/sito.h"
#include "dialog/dialogo.h"

#include <cstdlib>
#include <ostream>

namespace veltrano::cli {

namespace {

constexpr const char* UsoDialogo =
    "uso: veltrano dialogo [--dati CARTELLA]\n"
    "\n"
    "Apre la finestra di scelta del sito con la cartina, la griglia e le opzioni.\n"
    "\n"
    "  --dati CARTELLA   cartella dei dati (predefinita: quella del programma)\n";

int Dialogo(Argomenti& a, Flussi&) {
    const auto cartella = CartellaDati(a);
    a.ControllaFine();
    // Qt aborts the process when it finds no screen: say so instead.
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") && !std::getenv("QT_QPA_PLATFORM"))
        throw Errore("nessuno schermo disponibile (DISPLAY non impostato)");
    dialogo::EseguiDialogo(cartella);
    return 0;
}

} // namespace

const Comando ComandoDialogo{"dialogo", "finestra di scelta del sito sulla cartina", UsoDialogo, &Dialogo};

} // namespace veltrano::cli
