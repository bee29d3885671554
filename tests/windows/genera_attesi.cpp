// Writes what the engine, built for the build machine, computes for a fixed
// list of sites (attesi.h): the Windows library must give the same bytes.
#include "abi/confine.h"
#include "core/calcolo.h"
#include "geo/datum.h"
#include "tests/windows/attesi.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <vector>

using namespace veltrano;

namespace {

template <class F> uint32_t Prova(F&& f) {
    try {
        f();
        return 0;
    } catch (const std::exception& e) {
        return abi::CodiceDi(e); // the code the library gives the same failure
    }
}

TSitoAtteso Calcola(const Griglia& g, uint8_t nm, float lon, float lat, int32_t vn, int32_t classe, float pga,
                    uint8_t riemp) {
    TSitoAtteso a;
    std::memset(&a, 0, sizeof a);
    a.Normativa = nm;
    a.Lon = lon;
    a.Lat = lat;
    a.VN = vn;
    a.ClasseUso = classe;
    a.PGA = pga;
    a.Riempimento = riemp;
    std::memset(&a.DatiOut, riemp, sizeof a.DatiOut);
    // The exports keep their own cell between calls: start each from empty,
    // as the host does with a fresh call sequence per site.
    TMagliaSito m{};
    a.Codice = Prova([&] { CalcolaSito(g, m, nm, lon, lat, vn, classe, a.DatiOut); });
    TMagliaSito m2{};
    a.CodicePGA = Prova([&] { a.TRDaPGA = CalcolaTRDaPGA(g, m2, lon, lat, pga); });
    const Coordinate c = ConvCoord_WGS84toED50(lon, lat);
    a.LonED50 = c.Lon;
    a.LatED50 = c.Lat;
    a.CodiceTR = Prova([&] {
        const TempiRitorno tr = CalcolaTR(nm, vn, static_cast<uint8_t>(classe));
        for (std::size_t j = 0; j < 4; ++j)
            a.TR[j] = tr[j];
    });
    return a;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "uso: genera_attesi GeoDati.dat N attesi.bin\n";
        return 2;
    }
    try {
        Griglia g;
        g.Carica(argv[1]);
        const int n = std::stoi(argv[2]);
        std::vector<TSitoAtteso> siti;
        // Worked example, islands, a node itself, the edges of the grid,
        // and the range faults.
        siti.push_back(Calcola(g, Norm_DM2008, 13.4f, 42.35f, 50, 2, 0.15f, 0xAB));
        siti.push_back(Calcola(g, Norm_DM2008, 12.6f, 35.5f, 50, 2, 0.05f, 0x00));  // Lampedusa
        siti.push_back(Calcola(g, Norm_DM2008, 11.95f, 36.8f, 100, 3, 0.1f, 0xFF)); // Pantelleria
        siti.push_back(Calcola(g, Norm_DM2008, g.Lon(0, 1), g.Lat(0, 1), 50, 2, 0.1f, 0x11));
        siti.push_back(Calcola(g, Norm_DM2008, 4.0f, 50.0f, 50, 2, 0.1f, 0x22));
        siti.push_back(Calcola(g, Norm_DM2008, 13.4f, 42.35f, 50, 300, 0.1f, 0x33));
        siti.push_back(Calcola(g, Norm_DM2008, 13.4f, 42.35f, 50, -1, 0.1f, 0x44));
        siti.push_back(Calcola(g, Norm_DM2008, 13.4f, 42.35f, 2147483647, 4, 0.1f, 0x55));
        siti.push_back(Calcola(g, Norm_DM2018, 15.65f, 38.1f, 100, 4, 0.3f, 0x66));
        std::mt19937 rng(2026);
        std::uniform_real_distribution<float> lon(5.0f, 20.0f), lat(35.0f, 48.5f), pga(0.0f, 0.5f);
        std::uniform_int_distribution<int> vn(0, 200), classe(0, 5), norm(0, 6), byte(0, 255);
        while (static_cast<int>(siti.size()) < n) {
            const float Lo = lon(rng), La = lat(rng);
            const int v = vn(rng), c = classe(rng);
            const auto nm = static_cast<uint8_t>(norm(rng));
            const float p = pga(rng);
            siti.push_back(Calcola(g, nm, Lo, La, v, c, p, static_cast<uint8_t>(byte(rng))));
        }
        const std::filesystem::path uscita = argv[3];
        std::ofstream f(uscita, std::ios::binary | std::ios::trunc);
        const int32_t conta = static_cast<int32_t>(siti.size());
        f.write(ATTESI_FIRMA, 8);
        f.write(reinterpret_cast<const char*>(&conta), 4);
        f.write(reinterpret_cast<const char*>(siti.data()),
                static_cast<std::streamsize>(siti.size() * sizeof(TSitoAtteso)));
        if (!f)
            throw std::runtime_error(uscita.string() + ": errore di scrittura");
    } catch (const std::exception& e) {
        std::cerr << "genera_attesi: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
