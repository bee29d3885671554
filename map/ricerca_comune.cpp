#include "map/ricerca_comune.h"

#include <cmath>
#include <cstring>

namespace veltrano::mappa {

TComuneTrovato CercaComune(const mappa::TShapefile& sf, std::span<const TCoordComune> comuni, double lon,
                           double lat) {
    TComuneTrovato r;
    for (const TCoordComune& c : comuni)
        if (sf.PuntoInShape(c.Id_sf_COM, lon, lat)) {
            r.iCom = c.Id_sf_COM;
            r.iProv = c.Id_sf_PROV;
            r.iReg = c.Id_sf_REG;
            return r;
        }
    double best = 0.5;
    std::ptrdiff_t j = -1;
    for (std::size_t i = 0; i < comuni.size(); ++i) {
        const double d = std::sqrt((comuni[i].Lon - lon) * (comuni[i].Lon - lon) +
                                   (comuni[i].Lat - lat) * (comuni[i].Lat - lat));
        if (d < best) {
            best = d;
            j = static_cast<std::ptrdiff_t>(i);
        }
    }
    if (j < 0)
        return r;
    // The nearest boundary within the province of the nearest point; the
    // first vertex of each shape is not examined.
    const TCoordComune& cj = comuni[static_cast<std::size_t>(j)];
    uint8_t prov[256];
    std::memcpy(prov, cj.Prov, sizeof prov);
    best = 0.1;
    for (std::size_t i = 0; i < comuni.size(); ++i) {
        const TCoordComune& c = comuni[i];
        if (c.Prov[0] != prov[0] || std::memcmp(c.Prov + 1, prov + 1, prov[0]) != 0)
            continue;
        if (c.Id_sf_COM < 0 || c.Id_sf_COM >= sf.NumShape())
            continue;
        const auto& punti = sf.Shape(c.Id_sf_COM).punti;
        for (std::size_t k = 1; k < punti.size(); ++k) {
            const double d = std::sqrt((punti[k].x - lon) * (punti[k].x - lon) + (punti[k].y - lat) * (punti[k].y - lat));
            if (d < best) {
                best = d;
                j = static_cast<std::ptrdiff_t>(i);
            }
        }
    }
    const TCoordComune& trovato = comuni[static_cast<std::size_t>(j)];
    r.iReg = trovato.Id_sf_REG;
    r.iProv = trovato.Id_sf_PROV;
    r.iCom = trovato.Id_sf_COM;
    return r;
}

} // namespace veltrano::mappa
