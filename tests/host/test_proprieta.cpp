// Properties over many random sites (one million unless VELTRANO_SITI says
// otherwise): the indexed search picks the four nodes the full scan picks,
// and the export computation, the C++ API and the C API give the same bytes.
#include "core/api.h"
#include "tests/supporto.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace veltrano {
namespace {

long NumeroSiti() {
    const char* v = std::getenv("VELTRANO_SITI");
    return v ? std::atol(v) : 1000000;
}

// Over and around Italy: mainland and islands, sea, far outside, on nodes.
struct Generatore {
    std::mt19937_64 rng;
    const Griglia& g;
    Generatore(uint64_t seme, const Griglia& gr) : rng(seme), g(gr) {}
    float U(float a, float b) { return std::uniform_real_distribution<float>(a, b)(rng); }
    std::pair<float, float> Sito() {
        const int tipo = static_cast<int>(rng() % 20);
        if (tipo < 12)
            return {U(6.0f, 19.0f), U(35.5f, 47.5f)}; // Italy's box: land, sea, islands
        if (tipo < 16)
            return {U(-10.0f, 35.0f), U(25.0f, 60.0f)}; // around
        if (tipo < 17)
            return {U(-180.0f, 180.0f), U(-90.0f, 90.0f)}; // anywhere
        const int n = 1 + static_cast<int>(rng() % NumNodi);
        if (tipo < 19)
            return {g.Lon(0, n), g.Lat(0, n)}; // on a node
        return {g.Lon(0, n) + U(-0.04f, 0.04f), g.Lat(0, n) + U(-0.03f, 0.03f)};
    }
};

using FunzioneCPS2 = void (*)(uint8_t, float, float, int32_t, int32_t, uint8_t, TGIS_DatiOut*);
using FunzioneApri = int (*)(const char*, VeltranoGriglia**, char*, size_t);
using FunzioneNuovo = int (*)(const VeltranoGriglia*, VeltranoCalcolatore**, char*, size_t);
using FunzioneCalcola = int (*)(VeltranoCalcolatore*, uint8_t, float, float, int32_t, int32_t, TGIS_DatiOut*,
                                char*, size_t);

struct ApiC {
    void* h = dlopen(VELTRANO_LIBRERIA, RTLD_NOW | RTLD_LOCAL);
    template <class F> F Trova(const char* nome) { return reinterpret_cast<F>(dlsym(h, nome)); }
};

TEST(Proprieta, IndexedSearchAndAllThreeApisAgreeOnEverySite) {
    ApiC c;
    ASSERT_NE(c.h, nullptr) << dlerror();
    auto apri = c.Trova<FunzioneApri>("VeltranoGrigliaApri");
    auto nuovo = c.Trova<FunzioneNuovo>("VeltranoCalcolatoreNuovo");
    auto calcola = c.Trova<FunzioneCalcola>("VeltranoCalcolaSito");
    auto libera = c.Trova<void (*)(VeltranoCalcolatore*)>("VeltranoCalcolatoreLibera");
    auto chiudi = c.Trova<void (*)(VeltranoGriglia*)>("VeltranoGrigliaChiudi");
    ASSERT_TRUE(apri && nuovo && calcola && libera && chiudi);
    const std::string file = (test::CartellaDati() / "GeoDati.dat").string();
    VeltranoGriglia* gc = nullptr;
    char msg[256];
    ASSERT_EQ(apri(file.c_str(), &gc, msg, sizeof msg), VELTRANO_OK) << msg;
    const GrigliaSismica griglia(file);
    const Griglia& g = griglia.Dati();

    const long totale = NumeroSiti();
    const unsigned nThread = std::max(2u, std::thread::hardware_concurrency());
    std::atomic<long> nodiDiversi{0}, byteDiversi{0};
    std::vector<std::string> esempi(nThread);
    auto lavora = [&](unsigned t) {
        Generatore gen(1000 + t, g);
        CalcolatoreSismico calc(griglia);
        VeltranoCalcolatore* cc = nullptr;
        char m[256];
        if (nuovo(gc, &cc, m, sizeof m) != VELTRANO_OK)
            return;
        for (long i = t; i < totale; i += nThread) {
            const auto [lon, lat] = gen.Sito();
            const PuntoPiano p = ProiezioneSito(lon, lat);
            const NodiMaglia bruta = TrovaNodiMaglia(g, p, [&g](float x, float y) { return NodoPiuVicino(g, x, y); });
            const NodiMaglia indice = TrovaNodiMaglia(g, p, [&](float x, float y) { return griglia.NodoPiuVicino(x, y); });
            if (bruta.n != indice.n) {
                if (nodiDiversi++ == 0)
                    esempi[t] = "nodes differ at " + std::to_string(lon) + " " + std::to_string(lat);
                continue;
            }
            // Life and class change every few thousand sites, as in a real
            // batch, so the calculators' memory is exercised both ways.
            const int vn = static_cast<int>((i / 4096) % 120), classe = static_cast<int>((i / 4096) % 5);
            // The exports' computation: full scan, no memory.
            TGIS_DatiOut a, b, d;
            std::memset(&a, 0x3C, sizeof a);
            std::memcpy(&b, &a, sizeof a);
            std::memcpy(&d, &a, sizeof a);
            TMagliaSito maglia{};
            RiempiMaglia(g, p, bruta, lon, lat, maglia);
            CompletaSito(maglia, Norm_DM2008, lon, lat, vn, classe, a);
            calc.Calcola(Norm_DM2008, lon, lat, vn, classe, b);
            calcola(cc, Norm_DM2008, lon, lat, vn, classe, &d, m, sizeof m);
            if (std::memcmp(&a, &b, sizeof a) != 0 || std::memcmp(&a, &d, sizeof a) != 0) {
                if (byteDiversi++ == 0)
                    esempi[t] = "bytes differ at " + std::to_string(lon) + " " + std::to_string(lat);
            }
        }
        libera(cc);
    };
    std::vector<std::thread> pool;
    for (unsigned t = 0; t < nThread; ++t)
        pool.emplace_back(lavora, t);
    for (std::thread& th : pool)
        th.join();
    chiudi(gc);
    std::string tutti;
    for (const std::string& e : esempi)
        tutti += e + " ";
    EXPECT_EQ(nodiDiversi.load(), 0) << tutti;
    EXPECT_EQ(byteDiversi.load(), 0) << tutti;
}

// The full export, file read included, on a smaller sample: the computation
// above is the export's.
TEST(Proprieta, TheExportIsTheFullScanComputation) {
    ApiC c;
    ASSERT_NE(c.h, nullptr);
    auto cps2 = c.Trova<FunzioneCPS2>("CalcolaParametriSismici2");
    ASSERT_NE(cps2, nullptr);
    const GrigliaSismica griglia(test::CartellaDati() / "GeoDati.dat");
    CalcolatoreSismico calc(griglia);
    Generatore gen(77, griglia.Dati());
    for (int i = 0; i < 2000; ++i) {
        const auto [lon, lat] = gen.Sito();
        TGIS_DatiOut a, b;
        std::memset(&a, 0x5A, sizeof a);
        std::memcpy(&b, &a, sizeof a);
        cps2(static_cast<uint8_t>(i % 7), lon, lat, 50 + i % 50, 1 + i % 4, 0, &a);
        calc.Calcola(static_cast<uint8_t>(i % 7), lon, lat, 50 + i % 50, 1 + i % 4, b);
        ASSERT_EQ(std::memcmp(&a, &b, sizeof a), 0) << lon << " " << lat;
    }
}

} // namespace
} // namespace veltrano
