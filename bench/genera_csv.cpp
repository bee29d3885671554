// Writes N random sites as CSV (lon,lat,vn,classe) near the grid's nodes, for
// timing the batch command: genera_csv N GeoDati.dat > siti.csv
#include "core/griglia.h"

#include <cstdio>
#include <cstdlib>
#include <random>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "uso: genera_csv N GeoDati.dat\n");
        return 2;
    }
    const long n = std::atol(argv[1]);
    veltrano::Griglia g;
    g.Carica(argv[2]);
    std::mt19937 rng(42);
    std::uniform_int_distribution<int> nodo(1, veltrano::NumNodi);
    std::uniform_real_distribution<float> d(-0.03f, 0.03f);
    std::printf("lon,lat,vn,classe\n");
    for (long i = 0; i < n; ++i) {
        const int k = nodo(rng);
        std::printf("%.5f,%.5f,50,2\n", double(g.Lon(0, k) + d(rng)), double(g.Lat(0, k) + d(rng)));
    }
    return 0;
}
