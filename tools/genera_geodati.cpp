// Builds GeoDati.dat from the published grid table (data/ntc2008_grid.csv):
// nine blocks, one per tabulated return period, each with the node arrays ID,
// XY, Lon, Lat, ag, Fo, Tc. Node n is row n of the table; XY is the grid's
// plane projection of the node's ED50 longitude and latitude, so that the
// site search compares like with like.
#include "core/maglia.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

using namespace veltrano;

namespace {

struct Riga {
    int32_t id;
    float lon, lat;
    float valori[NumBlocchi][3]; // ag [g/10], Fo, Tc* [s]
};

float Reale(const std::string& t, int linea) {
    float v = 0;
    const auto [p, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
    if (ec != std::errc() || p != t.data() + t.size())
        throw std::runtime_error("riga " + std::to_string(linea) + ": \"" + t + "\" non è un numero");
    return v;
}

void Metti(std::vector<std::byte>& b, std::size_t off, const void* v) { std::memcpy(b.data() + off, v, 4); }

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "uso: genera_geodati GRIGLIA.csv GeoDati.dat\n";
        return 2;
    }
    try {
        std::ifstream in(argv[1]);
        if (!in)
            throw std::runtime_error(std::string(argv[1]) + ": impossibile aprire il file");
        std::string linea;
        std::getline(in, linea); // header
        std::vector<Riga> righe;
        int n = 1;
        while (std::getline(in, linea)) {
            ++n;
            if (!linea.empty() && linea.back() == '\r')
                linea.pop_back();
            if (linea.empty())
                continue;
            std::vector<std::string> campi;
            std::stringstream ss(linea);
            std::string c;
            while (std::getline(ss, c, ','))
                campi.push_back(c);
            if (campi.size() != 3 + 3 * NumBlocchi)
                throw std::runtime_error("riga " + std::to_string(n) + ": " + std::to_string(campi.size()) +
                                         " colonne, attese 30");
            Riga r{};
            r.id = static_cast<int32_t>(std::stol(campi[0]));
            r.lon = Reale(campi[1], n);
            r.lat = Reale(campi[2], n);
            for (int k = 0; k < NumBlocchi; ++k)
                for (int q = 0; q < 3; ++q)
                    r.valori[k][q] = Reale(campi[static_cast<std::size_t>(3 + 3 * k + q)], n);
            righe.push_back(r);
        }
        if (righe.size() != static_cast<std::size_t>(NumNodi))
            throw std::runtime_error(std::to_string(righe.size()) + " nodi, la griglia ne ha " +
                                     std::to_string(NumNodi));
        std::vector<std::byte> b(DimGriglia);
        for (std::size_t k = 0; k < NumBlocchi; ++k) {
            const std::size_t base = k * DimBlocco;
            for (std::size_t i = 0; i < righe.size(); ++i) {
                const Riga& r = righe[i];
                const PuntoPiano xy = ProiezioneSito(r.lon, r.lat);
                Metti(b, base + OffID + 4 * i, &r.id);
                Metti(b, base + OffXY + 8 * i, &xy.X);
                Metti(b, base + OffXY + 8 * i + 4, &xy.Y);
                Metti(b, base + OffLon + 4 * i, &r.lon);
                Metti(b, base + OffLat + 4 * i, &r.lat);
                Metti(b, base + OffAg + 4 * i, &r.valori[k][0]);
                Metti(b, base + OffFo + 4 * i, &r.valori[k][1]);
                Metti(b, base + OffTc + 4 * i, &r.valori[k][2]);
            }
        }
        const std::string tmp = std::string(argv[2]) + ".tmp";
        {
            std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
            out.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
            if (!out)
                throw std::runtime_error(tmp + ": errore di scrittura");
        }
        std::filesystem::rename(tmp, argv[2]);
    } catch (const std::exception& e) {
        std::cerr << "genera_geodati: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
