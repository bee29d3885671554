// "veltrano converti": WGS84 to ED50 and back.
#include "cli/comandi.h"
#include "cli/formato.h"
#include "cli/sito.h"
#include "geo/datum.h"

#include <ostream>

namespace veltrano::cli {

namespace {

constexpr const char* UsoConverti =
    "uso: veltrano converti --lon GRADI --lat GRADI [--inverso] [--formato testo|json]\n"
    "\n"
    "Converte longitudine e latitudine da WGS84 a ED50 (Molodensky, quota 0);\n"
    "con --inverso da ED50 a WGS84.\n";

int Converti(Argomenti& a, Flussi& f) {
    const double lon0 = a.Numero("--lon"), lat0 = a.Numero("--lat");
    ControllaCoordinate(lon0, lat0);
    const bool inverso = a.Flag("--inverso");
    const bool json = FormatoJson(a);
    a.ControllaFine();
    const float lon = static_cast<float>(lon0), lat = static_cast<float>(lat0);
    const Coordinate c = inverso ? ConvCoord_ED50toWGS84(lon, lat) : ConvCoord_WGS84toED50(lon, lat);
    if (json) {
        JsonReale j;
        j["lon"] = Finito(c.Lon, "lon");
        j["lat"] = Finito(c.Lat, "lat");
        j["datum"] = inverso ? "WGS84" : "ED50";
        f.out << TestoJson(j) << "\n";
    } else {
        f.out << TestoReale(c.Lon) << " " << TestoReale(c.Lat) << "\n";
    }
    return 0;
}

} // namespace

const Comando ComandoConverti{"converti", "conversione di coordinate da WGS84 a ED50 (o inversa)", UsoConverti,
                              &Converti};

} // namespace veltrano::cli
