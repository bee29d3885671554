#include "map/distanza.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

namespace veltrano::mappa {

double DistanzaKm(TPunto inizio, TPunto fine) {
    const double dy = std::abs(fine.y - inizio.y) * MigliaPerGrado;
    const double dx = std::abs(fine.x - inizio.x) * MigliaPerGrado * std::cos(std::numbers::pi * fine.y / 180);
    return std::sqrt(dx * dx + dy * dy) * KmPerMiglio;
}

std::string EtichettaDistanza(double km) {
    char b[64];
    if (!(km > SogliaMetri)) {
        // nearbyint rounds halves to even in the default rounding mode.
        std::snprintf(b, sizeof b, "%.0f m", std::nearbyint(km * 1000));
        return b;
    }
    // Four significant digits, never more than two decimals, and always two
    // shown: 1.23456 gives "1.23", 123.456 gives "123.50".
    const int intere = km < 10 ? 1 : km < 100 ? 2 : km < 1000 ? 3 : 4;
    const int decimali = std::min(2, 4 - intere);
    std::snprintf(b, sizeof b, "%.*f", decimali, km);
    std::string t = b;
    if (decimali == 0)
        t += ".00";
    else if (decimali == 1)
        t += "0";
    return t + " Km";
}

} // namespace veltrano::mappa
