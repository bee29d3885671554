#include "map/segno_sito.h"

namespace veltrano::mappa {

void DisegnaSegnoSito(TMappa& m, double lon, double lat) {
    m.DisegnaLinea(lon - 0.01, lat, lon + 0.01, lat, 1, 0);
    m.DisegnaLinea(lon, lat - 0.01, lon, lat + 0.01, 1, 0);
    m.DisegnaCerchio(lon, lat, 0.006, 0, false);
    m.DisegnaCerchio(lon, lat, 0.003, 0, false);
    m.DisegnaCerchio(lon, lat, 0.0007, 0, true);
}

} // namespace veltrano::mappa
