#include "core/api.h"
#include "tests/supporto.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace veltrano {
namespace {

TEST(NodoPiuVicino, FastScanEqualsTheLiteralScan) {
    const Griglia& g = test::GrigliaCostruita();
    std::mt19937 rng(5);
    std::uniform_real_distribution<float> x(-900.0f, 900.0f), y(3500.0f, 5800.0f);
    std::uniform_int_distribution<int> nodo(1, NumNodi);
    for (int i = 0; i < 3000; ++i) {
        float xs = x(rng), ys = y(rng);
        if (i % 3 == 0) { // exactly on a node, or halfway between two
            const int a = nodo(rng), b = nodo(rng);
            xs = i % 2 ? g.Xs()[a - 1] : (g.Xs()[a - 1] + g.Xs()[b - 1]) / 2;
            ys = i % 2 ? g.Ys()[a - 1] : (g.Ys()[a - 1] + g.Ys()[b - 1]) / 2;
        }
        ASSERT_EQ(NodoPiuVicino(g, xs, ys), NodoPiuVicinoLetterale(g, xs, ys)) << xs << " " << ys;
    }
}

TEST(IndiceNodi, TiesFarSitesAndNonFiniteSites) {
    // Node 7 and node 3 at the same distance from the origin: 3 wins, in
    // every search, whichever cell each falls in.
    Griglia g = test::GrigliaSintetica([](int, int n, TNodoGriglia& v) {
        v.X = static_cast<float>(n % 100) * 5.5f;
        v.Y = static_cast<float>(n / 100) * 5.5f + 100.0f;
        if (n == 7) { v.X = -3.0f; v.Y = 4.0f; }
        if (n == 3) { v.X = 4.0f; v.Y = -3.0f; }
    });
    const IndiceNodi indice(g);
    const float casi[][2] = {{0.0f, 0.0f},     {1e6f, -1e6f},   {-4e4f, 2e4f},    {1e30f, 1e30f},
                             {2.75f, 102.75f}, {550.0f, 700.0f}, {-1e-30f, 1e-30f}};
    for (const auto& c : casi)
        EXPECT_EQ(indice.PiuVicino(c[0], c[1]), NodoPiuVicinoLetterale(g, c[0], c[1])) << c[0] << " " << c[1];
    EXPECT_EQ(indice.PiuVicino(0.0f, 0.0f), 3);
    const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
    EXPECT_EQ(indice.PiuVicino(nan, 0.0f), 1);
    EXPECT_EQ(indice.PiuVicino(0.0f, inf), 1);
    EXPECT_EQ(NodoPiuVicino(g, nan, nan), 1);
}

} // namespace
} // namespace veltrano
