#include "map/segno_sito.h"

namespace veltrano::mappa {

namespace {

bool Vuoto(const TDisegno& d) {
    return d.linee.empty() && d.cerchi.empty() && d.punti.empty() && d.etichette.empty();
}

} // namespace

void DisegnaSegnoSito(TMappa& m, double lon, double lat) {
    // A drawing layer of its own, kept free of labels: no name lies under
    // the mark (the layer the caller has just opened serves when empty).
    if (m.NumDisegni() == 0 || !Vuoto(m.Disegni().back()))
        m.NuovoDisegno();
    m.ImpostaDisegnoLibero(true);
    m.DisegnaLinea(lon - 0.01, lat, lon + 0.01, lat, 1, 0);
    m.DisegnaLinea(lon, lat - 0.01, lon, lat + 0.01, 1, 0);
    m.DisegnaCerchio(lon, lat, 0.006, 0, false);
    m.DisegnaCerchio(lon, lat, 0.003, 0, false);
    m.DisegnaCerchio(lon, lat, 0.0007, 0, true);
}

} // namespace veltrano::mappa
