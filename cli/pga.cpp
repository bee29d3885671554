// "veltrano pga": the return period at which a site's ag reaches a given PGA.
#include "cli/comandi.h"
#include "cli/formato.h"
#include "cli/sito.h"

#include <ostream>

namespace veltrano::cli {

namespace {

constexpr const char* UsoPga =
    "uso: veltrano pga --lon GRADI --lat GRADI --pga G [--wgs84] [--dati CARTELLA]\n"
    "\n"
    "Tempo di ritorno [anni] al quale l'ag del sito vale PGA [g]: 0 per PGA <= 0,\n"
    "30 fino al valore a 30 anni, 2475 oltre il valore a 2475 anni. PGA tra -10\n"
    "e 10 g; il sito deve stare nella griglia (le isole della Tabella 2 hanno\n"
    "valori fissi, non una curva da invertire).\n";

int Pga(Argomenti& a, Flussi& f) {
    const SitoDato s = LeggiSito(a);
    const double pga = a.Numero("--pga");
    if (!(pga >= -10.0 && pga <= 10.0))
        throw ErroreUso("--pga: l'accelerazione deve stare tra -10 e 10 g, non " + TestoReale(pga));
    const auto cartella = CartellaDati(a);
    a.ControllaFine();
    const auto [lon, lat] = SitoED50(s);
    Griglia g;
    g.Carica(cartella / "GeoDati.dat");
    TMagliaSito m{};
    const int32_t tr = CalcolaTRDaPGA(g, m, lon, lat, static_cast<float>(pga));
    EsitoSito e;
    e.numNodi = ContaNodi(m);
    ControllaSitoValido(e, lon, lat, false);
    f.out << tr << "\n";
    return 0;
}

} // namespace

const Comando ComandoPga{"pga", "tempo di ritorno di un'accelerazione di picco (PGA) in un sito", UsoPga, &Pga};

} // namespace veltrano::cli
