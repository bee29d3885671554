// Fuzz target of the grid reader. The input patches a copy of the built grid
// (8 bytes a patch: offset, then the 4 bytes put there) or, when it is a
// whole grid's size or more, replaces it. A grid that fails its check must
// fail with ErroreLettura; one that loads must give, at every site, the same
// record through the exports' chain and the re-entrant calculator, and
// finite numbers wherever the engine calls the site valid.
#include "core/api.h"
#include "core/calcolo.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

using namespace veltrano;

namespace {

const std::vector<std::byte>& Base() {
    static const std::vector<std::byte> b = [] {
        const char* dati = std::getenv("VELTRANO_DATI");
        std::ifstream f(std::string(dati && *dati ? dati : VELTRANO_DATI) + "/GeoDati.dat", std::ios::binary);
        const std::vector<char> c{std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
        if (c.size() != DimGriglia)
            std::abort(); // the fuzz target needs the built grid
        std::vector<std::byte> r(c.size());
        std::memcpy(r.data(), c.data(), c.size());
        return r;
    }();
    return b;
}

uint32_t Parola(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t{p[3]} << 24); }

void Controlla(bool condizione) {
    if (!condizione)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* d, size_t n) {
    // A short grid in memory is refused, never read past its end.
    if (n < DimGriglia) {
        Griglia corta;
        try {
            corta.Imposta(reinterpret_cast<const std::byte*>(d), n, "corta");
            Controlla(false);
        } catch (const ErroreLettura&) {
        }
    }
    std::vector<std::byte> b = Base();
    if (n >= DimGriglia) {
        std::memcpy(b.data(), d, DimGriglia);
    } else {
        for (std::size_t i = 0; i + 8 <= n; i += 8) {
            const std::size_t off = static_cast<std::size_t>(Parola(d + i) % (DimGriglia / 4)) * 4;
            std::memcpy(b.data() + off, d + i + 4, 4);
        }
    }
    Griglia g;
    try {
        g.Imposta(b.data(), b.size(), "fuzz");
    } catch (const ErroreLettura&) {
        return 0;
    }
    const GrigliaSismica gs(g);
    CalcolatoreSismico calc(gs);
    std::vector<std::pair<float, float>> siti{{13.4f, 42.35f}, {9.0f, 40.0f}, {5.0f, 36.0f}, {12.5f, 42.0f},
                                              {0.0f, 0.0f},     {15.5f, 42.15f}, {-170.0f, -80.0f}};
    // The input's last bytes may name a site of their own.
    if (n >= 8 && n < DimGriglia) {
        float lon, lat;
        std::memcpy(&lon, d + n - 8, 4);
        std::memcpy(&lat, d + n - 4, 4);
        if (std::isfinite(lon) && std::isfinite(lat))
            siti.emplace_back(lon, lat);
    }
    // And the grid's own nodes: on a node, and between two.
    const int k = 1 + static_cast<int>((n * 7919u) % static_cast<unsigned>(NumNodi));
    siti.emplace_back(g.Lon(0, k), g.Lat(0, k));
    siti.emplace_back((g.Lon(0, k) + g.Lon(0, 1 + k % NumNodi)) / 2, (g.Lat(0, k) + g.Lat(0, 1 + k % NumNodi)) / 2);
    for (const auto& [lon, lat] : siti) {
        // The exports' chain, searched once per site: the cell is copied
        // for each life and acceleration (a full scan is the costly part).
        TMagliaSito cella{};
        try {
            CercaPuntiMaglia(g, lon, lat, cella);
        } catch (const ErroreIntervallo&) {
            Controlla(false); // finite sites are searched without a fault
        }
        for (const int32_t vn : {50, 1000}) {
            TGIS_DatiOut a, c;
            std::memset(&a, 0x3C, sizeof a);
            std::memcpy(&c, &a, sizeof a);
            TMagliaSito m = cella;
            EsitoSito ea, ec;
            bool fa = false, fc = false;
            try {
                ea = CompletaSito(m, Norm_DM2008, lon, lat, vn, 3, a);
            } catch (const ErroreIntervallo&) {
                fa = true;
            }
            try {
                ec = calc.Calcola(Norm_DM2008, lon, lat, vn, 3, c);
            } catch (const ErroreIntervallo&) {
                fc = true;
            }
            Controlla(fa == fc);
            if (fa)
                continue;
            Controlla(std::memcmp(&a, &c, sizeof a) == 0);
            Controlla(ea.numNodi == ec.numNodi && ea.isola == ec.isola);
            if (ea.Valido())
                for (const TGIS_ParZS* p : {&a.SLO, &a.SLD, &a.SLV, &a.SLC})
                    Controlla(std::isfinite(p->ag) && p->ag > 0 && std::isfinite(p->Fo) && std::isfinite(p->Tc_s));
        }
        for (const float pga : {0.05f, 0.3f, 5.0f}) {
            int32_t ta = -1, tc = -2;
            try { // CalcolaTRDaPGA after its search
                ControllaCoordinateSito(lon, lat);
                ta = TempoRitornoDaPGA(cella, S(static_cast<long double>(pga) * 10.0L), lon, lat);
            } catch (const ErroreIntervallo&) {
            }
            try {
                tc = calc.TempoRitornoDaPGA(lon, lat, pga);
            } catch (const ErroreIntervallo&) {
                tc = -1;
            }
            Controlla(ta == tc);
        }
    }
    return 0;
}
