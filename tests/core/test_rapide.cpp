// The fast forms of the engine's steps against the direct extended-precision
// computation, bit for bit, on many inputs: random ones, and those where a
// shortcut could go wrong (rounding boundaries, box edges and corners, sites
// on nodes, the ends of the fast domain). The whole chain is compared on a
// million sites by the host property test.
#include "core/api.h"
#include "tests/supporto.h"

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <thread>

namespace veltrano {
namespace {

uint32_t Bit(float f) { return std::bit_cast<uint32_t>(f); }

int Quanti(int n) { return test::Campione(n); }

TEST(SingolaCerta, OnlyAnIntervalInsideOneRoundingIsCertain) {
    float f = 0.0f;
    EXPECT_TRUE(SingolaCerta(1.25, 1e-12, f));
    EXPECT_EQ(f, 1.25f);
    // Halfway between 1 and the next float: either could be the rounding.
    const double meta = 1.0 + 0x1p-24;
    EXPECT_FALSE(SingolaCerta(meta, 1e-15, f));
    EXPECT_TRUE(SingolaCerta(meta - 1e-12, 1e-15, f));
    EXPECT_EQ(f, 1.0f);
    // An interval around zero holds both signed zeros.
    EXPECT_FALSE(SingolaCerta(0.0, 1e-300, f));
    EXPECT_TRUE(SingolaCerta(0.0, 0.0, f));
    EXPECT_EQ(Bit(f), 0u);
    EXPECT_FALSE(SingolaCerta(std::nan(""), 0.0, f));
    EXPECT_FALSE(SingolaCerta(1e300, 1e280, f)); // rounds to infinity
    EXPECT_FALSE(SingolaCerta(double(FLT_MAX) + 0x1p103, 0x1p80, f)); // FLT_MAX or infinity
    EXPECT_TRUE(SingolaCerta(double(FLT_MAX) + 0x1p102, 0x1p80, f));
    EXPECT_EQ(f, FLT_MAX);
}

// Sites over Italy and around it, with extra weight on the places where a
// fast path changes its course: the ends of its domain, the central
// meridian of the projection, the grid nodes.
struct Siti {
    std::mt19937_64 rng;
    const Griglia& g;
    explicit Siti(uint64_t seme) : rng(seme), g(test::GrigliaCostruita()) {}
    float U(float a, float b) { return std::uniform_real_distribution<float>(a, b)(rng); }
    std::pair<float, float> operator()() {
        switch (rng() % 8) {
        case 0: return {U(-180.0f, 180.0f), U(-90.0f, 90.0f)};
        case 1: return {U(-0.01f, 0.01f) + float(rng() % 2) * 30.0f, U(29.0f, 56.0f)}; // domain's sides
        case 2: return {U(-1.0f, 31.0f), U(-0.01f, 0.01f) + 30.0f + float(rng() % 2) * 25.0f};
        case 3: return {12.45f + U(-1e-3f, 1e-3f), U(35.0f, 48.0f)}; // lambda near zero
        case 4: {
            const int n = 1 + static_cast<int>(rng() % NumNodi);
            return {g.Lon(0, n), g.Lat(0, n)};
        }
        default: return {U(6.0f, 19.0f), U(35.5f, 47.5f)};
        }
    }
};

TEST(ProiezioneSitoRapida, EqualsTheDirectProjectionBitForBit) {
    Siti siti(1);
    for (int i = 0; i < Quanti(300000); ++i) {
        const auto [lon, lat] = siti();
        const PuntoPiano a = ProiezioneSito(lon, lat), b = ProiezioneSitoRapida(lon, lat);
        ASSERT_TRUE(Bit(a.X) == Bit(b.X) && Bit(a.Y) == Bit(b.Y))
            << "at " << lon << " " << lat << ": " << a.X << " " << a.Y << " vs " << b.X << " " << b.Y;
    }
    // The grid file's own coordinates were made by the direct projection.
    const Griglia& g = test::GrigliaCostruita();
    for (int n = 1; n <= NumNodi; ++n) {
        const PuntoPiano p = ProiezioneSitoRapida(g.Lon(0, n), g.Lat(0, n));
        ASSERT_EQ(Bit(p.X), Bit(g.X(0, n))) << "node " << n;
        ASSERT_EQ(Bit(p.Y), Bit(g.Y(0, n))) << "node " << n;
    }
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_TRUE(std::isnan(ProiezioneSitoRapida(nan, 42.0f).X));
}

TEST(GruppoIsolaRapido, EqualsTheWindingTestAroundEveryBox) {
    // Each box's corners and edges (offsets across the vertex and edge
    // tolerances), its inside and the band just outside, then Italy.
    const float scatole[14][4][2] = {
        {{7.8294f, 41.5120f}, {10.1216f, 41.5303f}, {10.1036f, 38.6243f}, {7.8428f, 38.5976f}},
        {{9.8805f, 43.4469f}, {9.9218f, 43.4459f}, {9.9169f, 43.4130f}, {9.8787f, 43.4098f}},
        {{9.7730f, 43.0928f}, {9.8817f, 43.1009f}, {9.8771f, 42.9874f}, {9.7628f, 42.9900f}},
        {{9.9814f, 42.8917f}, {10.4928f, 42.9000f}, {10.4742f, 42.2600f}, {9.9651f, 42.2600f}},
        {{10.7981f, 42.4297f}, {11.0044f, 42.4272f}, {11.0045f, 42.2749f}, {10.7967f, 42.2787f}},
        {{11.9915f, 38.0572f}, {12.4081f, 38.0629f}, {12.4046f, 37.8734f}, {11.9825f, 37.8781f}},
        {{11.8751f, 36.9142f}, {12.1289f, 36.9145f}, {12.1318f, 36.6924f}, {11.8638f, 36.6969f}},
        {{12.4551f, 35.9400f}, {12.9231f, 35.9479f}, {12.8997f, 35.4019f}, {12.2385f, 35.4117f}},
        {{12.7931f, 41.0146f}, {13.1471f, 41.0168f}, {13.1309f, 40.8367f}, {12.7866f, 40.8430f}},
        {{13.3815f, 40.8222f}, {13.4783f, 40.8256f}, {13.4789f, 40.7677f}, {13.3734f, 40.7722f}},
        {{13.1269f, 38.7319f}, {13.2256f, 38.7323f}, {13.2224f, 38.6772f}, {13.1218f, 38.6793f}},
        {{15.1713f, 42.2773f}, {15.8276f, 42.2799f}, {15.8297f, 42.0375f}, {15.1691f, 42.0503f}},
        {{14.2985f, 38.6302f}, {14.6473f, 38.6307f}, {14.6300f, 38.4847f}, {14.2929f, 38.4910f}},
        {{14.7273f, 38.9074f}, {15.3799f, 38.9054f}, {15.3516f, 38.3204f}, {14.6961f, 38.3207f}},
    };
    std::mt19937 rng(3);
    auto U = [&](float a, float b) { return std::uniform_real_distribution<float>(a, b)(rng); };
    const float scarti[] = {0.0f, 1e-5f, 5e-5f, 1e-4f, 2e-4f, 9.9e-4f, 1e-3f, 1.01e-3f, 2e-3f, 5e-3f, 6e-3f, 0.02f};
    long provati = 0, dentro = 0;
    auto prova = [&](float lon, float lat) {
        const int a = GruppoIsola(lon, lat);
        ASSERT_EQ(GruppoIsolaRapido(lon, lat), a) << lon << " " << lat;
        ++provati;
        dentro += a != 0;
    };
    for (const auto& s : scatole) {
        for (int j = 0; j < 4; ++j) {
            const float* v = s[j];
            const float* w = s[(j + 1) % 4];
            for (float dx : scarti)
                for (float dy : scarti)
                    for (int segni = 0; segni < 4; ++segni)
                        prova(v[0] + (segni & 1 ? -dx : dx), v[1] + (segni & 2 ? -dy : dy));
            // Along the edge and across it: the edge tolerance is an angle.
            const float nx = -(w[1] - v[1]), ny = w[0] - v[0], l = std::hypot(nx, ny);
            for (int k = 0; k < 400; ++k) {
                const float t = U(-0.05f, 1.05f), o = scarti[k % 12] * (k % 2 ? 1.0f : -1.0f);
                prova(v[0] + t * (w[0] - v[0]) + o * nx / l, v[1] + t * (w[1] - v[1]) + o * ny / l);
            }
        }
        float x0 = 1e9f, x1 = -1e9f, y0 = 1e9f, y1 = -1e9f;
        for (const auto& v : s) {
            x0 = std::min(x0, v[0]), x1 = std::max(x1, v[0]);
            y0 = std::min(y0, v[1]), y1 = std::max(y1, v[1]);
        }
        for (int k = 0; k < Quanti(3000); ++k)
            prova(U(x0 - 0.02f, x1 + 0.02f), U(y0 - 0.02f, y1 + 0.02f));
    }
    for (int k = 0; k < Quanti(100000); ++k)
        prova(U(6.0f, 19.0f), U(35.0f, 47.5f));
    const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
    prova(nan, 40.0f);
    prova(9.0f, nan);
    prova(inf, -inf);
    prova(-1e30f, 1e30f);
    EXPECT_GT(dentro, provati / 5); // the sample is not all outside
}

TEST(DistanzeSitoRapide, EqualTheDirectDistanceBitForBit) {
    const Griglia& g = test::GrigliaCostruita();
    Siti siti(2);
    std::mt19937 rng(4);
    std::uniform_int_distribution<int> nodo(1, NumNodi);
    std::uniform_real_distribution<float> vicino(-0.08f, 0.08f);
    for (int i = 0; i < Quanti(100000); ++i) {
        float lon, lat;
        const int n = nodo(rng);
        if (i % 3 == 0) {
            std::tie(lon, lat) = siti();
        } else { // around the node, or on it
            lon = g.Lon(0, n) + (i % 7 ? vicino(rng) : 0.0f);
            lat = g.Lat(0, n) + (i % 5 ? vicino(rng) : 0.0f);
        }
        DistanzeSitoRapide d(lon, lat);
        const float latN[3] = {g.Lat(0, n), lat, lat + 1e-6f}, lonN[3] = {g.Lon(0, n), lon, lon};
        for (int k = 0; k < 3; ++k) {
            const float a = DistanzaNodo(lat, lon, latN[k], lonN[k]), b = d.Distanza(latN[k], lonN[k]);
            ASSERT_EQ(Bit(a), Bit(b)) << lat << " " << lon << " " << latN[k] << " " << lonN[k] << ": " << a << " " << b;
        }
    }
}

TEST(InterpolaTRRapida, EqualsTheDirectInterpolationOnEveryNode) {
    const Griglia& g = test::GrigliaCostruita();
    std::mt19937 rng(5);
    std::uniform_int_distribution<int32_t> periodo(1, 3000);
    for (int n = 1; n <= NumNodi; ++n) {
        for (int volta = 0; volta < 6; ++volta) {
            const int32_t TR = volta == 0 ? 475 : periodo(rng);
            const BracketTR b = IntervalloTR(TR);
            const int k1 = b.basso.indice, k2 = b.alto.indice;
            const float coppie[3][2] = {{g.ag(k1, n), g.ag(k2, n)}, {g.Fo(k1, n), g.Fo(k2, n)}, {g.Tc(k1, n), g.Tc(k2, n)}};
            for (const auto& c : coppie)
                ASSERT_EQ(Bit(InterpolaTR(TR, b.basso.periodo, b.alto.periodo, c[0], c[1])),
                          Bit(InterpolaTRRapida(TR, b.basso.periodo, b.alto.periodo, c[0], c[1])))
                    << "node " << n << " TR " << TR << " values " << c[0] << " " << c[1];
        }
    }
    // Values no grid holds: zero, negative, equal ends, huge, NaN.
    const float strani[] = {0.0f, -1.0f, 1.0f, 1e-30f, 3e38f, std::numeric_limits<float>::quiet_NaN()};
    for (float p1 : strani)
        for (float p2 : strani)
            for (int32_t TR : {31, 100, 712, 2474}) {
                const BracketTR b = IntervalloTR(TR);
                const float a = InterpolaTR(TR, b.basso.periodo, b.alto.periodo, p1, p2);
                const float r = InterpolaTRRapida(TR, b.basso.periodo, b.alto.periodo, p1, p2);
                EXPECT_TRUE(Bit(a) == Bit(r) || (std::isnan(a) && std::isnan(r))) << p1 << " " << p2 << " " << TR;
            }
}

TEST(MediaPesataDistanzeRapida, EqualsTheDirectMeanAndItsFailures) {
    std::mt19937 rng(6);
    std::uniform_real_distribution<float> valore(0.05f, 6.3f), distanza(1.0f, 9000.0f);
    for (int i = 0; i < Quanti(200000); ++i) {
        const int N = i % 5;
        float d[4], v[4];
        for (int k = 0; k < 4; ++k) {
            d[k] = i % 11 == 0 && k == 2 ? 0.0f : distanza(rng); // a site on a node
            v[k] = i % 13 == 0 ? 0.0f : valore(rng);
        }
        if (i % 17 == 0)
            v[1] = -v[1]; // not a grid value: the direct way
        ASSERT_EQ(Bit(MediaPesataDistanze(N, d, v)), Bit(MediaPesataDistanzeRapida(N, d, v))) << i;
        ASSERT_EQ(Bit(S(static_cast<long double>(v[0]) / 9.806L)), Bit(DivisaRapida(v[0], 9.806L))) << v[0];
        ASSERT_EQ(Bit(S(static_cast<long double>(v[0]) / 10.0L)), Bit(DivisaRapida(v[0], 10.0L))) << v[0];
    }
    const float d[4] = {1, 2, 3, 4}, v[4] = {1, 2, 3, 4};
    EXPECT_THROW(MediaPesataDistanzeRapida(5, d, v), ErroreIntervallo);
    EXPECT_THROW(MediaPesataDistanzeRapida(-1, d, v), ErroreIntervallo);
}

// The three other nodes of a cell are remembered per nearest node and
// quadrant, filled by whichever thread gets there first.
TEST(GrigliaSismica, RememberedCellNodesAreTheFullScansFromAnyThread) {
    const GrigliaSismica griglia(test::CartellaDati() / "GeoDati.dat");
    const Griglia& g = griglia.Dati();
    auto controlla = [&](uint64_t seme, long& diversi) {
        Siti siti(seme);
        for (int i = 0; i < Quanti(5000); ++i) {
            const auto [lon, lat] = siti();
            const PuntoPiano p = ProiezioneSito(lon, lat);
            const NodiMaglia a = TrovaNodiMaglia(g, p, [&](float x, float y) { return NodoPiuVicino(g, x, y); });
            diversi += a.n != griglia.TrovaNodi(p).n;
        }
    };
    long d1 = 0, d2 = 0;
    std::thread t([&] { controlla(9, d1); });
    controlla(9, d2); // the same sites at the same time
    t.join();
    EXPECT_EQ(d1, 0);
    EXPECT_EQ(d2, 0);
}

// The calculator against the exports' computation on grids this program
// would not write: blocks that disagree on a node's position (no decoded
// table), and node numbers that repeat (the per-node memory must follow the
// node, not its number).
TEST(CalcolatoreSismico, EqualsTheDirectChainOnUnusualGrids) {
    const Griglia& vera = test::GrigliaCostruita();
    auto modificata = [&](auto&& cambia) {
        std::vector<std::byte> b(vera.Dati(), vera.Dati() + DimGriglia);
        cambia(b);
        Griglia g;
        g.Imposta(b.data(), b.size());
        return g;
    };
    auto metti = [](std::vector<std::byte>& b, std::size_t off, float v) { std::memcpy(b.data() + off, &v, 4); };
    const Griglia spostata = modificata([&](std::vector<std::byte>& b) {
        for (int n = 1; n <= NumNodi; n += 7) // block 4 moves some nodes' longitude
            metti(b, 4 * DimBlocco + OffLon + 4 * static_cast<std::size_t>(n - 1), vera.Lon(4, n) + 0.01f);
    });
    const Griglia doppia = modificata([&](std::vector<std::byte>& b) {
        for (int k = 0; k < NumBlocchi; ++k)
            for (int n = 2; n <= NumNodi; n += 2) // every even node takes its predecessor's number
                std::memcpy(b.data() + static_cast<std::size_t>(k) * DimBlocco + OffID + 4 * static_cast<std::size_t>(n - 1),
                            b.data() + static_cast<std::size_t>(k) * DimBlocco + OffID + 4 * static_cast<std::size_t>(n - 2), 4);
    });
    for (const Griglia* g : {&spostata, &doppia}) {
        const GrigliaSismica griglia(*g);
        EXPECT_EQ(griglia.Nodi().empty(), g == &spostata);
        CalcolatoreSismico calc(griglia);
        Siti siti(8);
        for (int i = 0; i < Quanti(6000); ++i) {
            const auto [lon, lat] = siti();
            const int vn = 10 + (i / 500) * 7 % 150, classe = 1 + (i / 3000) % 4;
            TGIS_DatiOut a, b;
            std::memset(&a, 0x3C, sizeof a);
            std::memcpy(&b, &a, sizeof a);
            TMagliaSito m{};
            const EsitoSito ea = CalcolaSito(*g, m, Norm_DM2008, lon, lat, vn, classe, a);
            const EsitoSito eb = calc.Calcola(Norm_DM2008, lon, lat, vn, classe, b);
            ASSERT_EQ(std::memcmp(&a, &b, sizeof a), 0) << lon << " " << lat << (g == &doppia ? " (repeated numbers)" : "");
            ASSERT_EQ(eb.isola, a.NumVert <= 2 && GruppoIsola(lon, lat) != 0) << lon << " " << lat;
            ASSERT_EQ(eb.isola, ea.isola) << lon << " " << lat;
            ASSERT_EQ(eb.numNodi, ea.numNodi) << lon << " " << lat;
        }
    }
}

} // namespace
} // namespace veltrano
