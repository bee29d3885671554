// Writes the municipalities of the dialog's database (CoorCom.dat and
// CoorCom2.dat of a data folder) as a script for the on-line map's page:
//   var ComuniVeltrano = [["Name","Province",lat,lon,altitude],...];
// so that the page finds a place by its name and gives the altitude of the
// nearest municipality without any network service: the same points and
// altitudes as the dialog's own map.
//   genera_comuni_web <data folder> <output .js>
#include "geo/comuni.h"
#include "map/testo1252.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

// A JSON string, as every JSON the project writes: through nlohmann-json.
std::string Json(const std::string& t) { return nlohmann::json(t).dump(); }

std::string Numero(const char* f, double x) {
    char b[32];
    std::snprintf(b, sizeof b, f, x);
    return b;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "uso: genera_comuni_web <cartella dati> <file .js>\n");
        return 2;
    }
    try {
        using namespace veltrano;
        const std::filesystem::path dati = std::filesystem::path(argv[1]) / "";
        const auto comuni = LeggiComuni(dati.u16string());
        std::string s = "// Generated from CoorCom.dat by genera_comuni_web: name, province, latitude,\n"
                        "// longitude (WGS84), altitude [m].\nvar ComuniVeltrano = [\n";
        for (const TCoordComune& c : comuni) {
            s += "[" + Json(mappa::Da1252AUtf8(mappa::DaStringaCorta(c.Nome))) + "," +
                 Json(mappa::Da1252AUtf8(mappa::DaStringaCorta(c.Prov))) + "," + Numero("%.6f", c.Lat) + "," +
                 Numero("%.6f", c.Lon) + "," + Numero("%.2f", c.Alt) + "],\n";
        }
        s += "];\n";
        const std::filesystem::path uscita(argv[2]);
        std::filesystem::create_directories(uscita.parent_path());
        std::ofstream f(uscita, std::ios::binary);
        f << s;
        if (!f.flush())
            throw std::runtime_error(uscita.string() + ": impossibile scrivere");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "genera_comuni_web: %s\n", e.what());
        return 1;
    }
    return 0;
}
