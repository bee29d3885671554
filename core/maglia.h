// The site's grid cell (MagliaSito): the nodes around a site at each of the
// nine tabulated return periods, found by nearest-node scans in the grid's
// plane projection. Pure functions over explicit buffers; thread-safe as long
// as each thread has its own TMagliaSito.
#pragma once

#include "core/griglia.h"
#include "core/numerico.h"

#include <array>
#include <cstdint>

namespace veltrano {

/// Nine TMagliaTR records, one per entry of TabellaTR (10,377 bytes).
using TMagliaSito = std::array<TMagliaTR, NumBlocchi>;
static_assert(sizeof(TMagliaSito) == 10377);

struct PuntoPiano {
    float X, Y; // [km]
};

/// Plane projection of the grid [km] of an ED50 site [deg]. Intermediates are
/// stored in single precision, as the node coordinates of GeoDati.dat were.
PuntoPiano ProiezioneSito(float Lon, float Lat);

/// Plane distance of two points, extended arithmetic stored as double.
double DistanzaPiana(double x1, double y1, double x2, double y2);

/// Lowest-numbered node (1..10,751) at the least plane distance from (x, y),
/// scanning every node of the first block. The distance of a node is
/// DistanzaPiana, compared exactly; NaN or infinite sites give node 1.
int NodoPiuVicino(const Griglia& g, float x, float y);
/// The same scan done literally, one exact distance per node: the reference
/// the faster searches are tested against.
int NodoPiuVicinoLetterale(const Griglia& g, float x, float y);

/// Exact choice among candidate nodes: visita(prova) calls prova(n) for each
/// candidate n, in any order; the result is the lowest n at the least exact
/// distance (0 when there is no candidate).
template <class Visita> int NodoEsatto(const Griglia& g, float x, float y, Visita&& visita) {
    double dmin = 0.0;
    int migliore = 0;
    visita([&](int n) {
        const double d = DistanzaPiana(g.Xs()[n - 1], g.Ys()[n - 1], x, y);
        if (migliore == 0 || d < dmin || (d == dmin && n < migliore)) {
            dmin = d;
            migliore = n;
        }
    });
    return migliore;
}

/// Nodes found for one search: N1, N2 (diagonal), N3, N4 (sides).
struct NodiMaglia {
    std::array<int, 4> n;
};

/// The four nearest-node steps of the search, with a node finder of the
/// caller's choice (brute force or indexed): both must give the same nodes.
template <class Trova> NodiMaglia TrovaNodiMaglia(const Griglia& g, PuntoPiano sito, Trova&& trova);

/// Fills m for the ED50 site: slots 1 to 4, NumVert, XYSito, LonSitoRic,
/// LatSitoRic. Other bytes of m keep their content.
void CercaPuntiMaglia(const Griglia& g, float Lon, float Lat, TMagliaSito& m);
/// Same, with the nodes already found (see TrovaNodiMaglia).
void RiempiMaglia(const Griglia& g, PuntoPiano sito, const NodiMaglia& nodi, float Lon, float Lat,
                  TMagliaSito& m);

/// Bubble sort of slots 1..N of every record by node number, moving every
/// field of a slot together. N outside 0..4 throws ErroreIntervallo.
void OrdinaPunti(bool Discendente, int N, TMagliaSito& m);

/// Winding-angle point-in-polygon test on N vertices (x, y pairs).
bool PuntoInPoligono(const float (*Vertici)[2], int N, float X, float Y, float TolVertice,
                     float TolLato, bool Tolleranza);

/// Small islands with the code's fixed values: when the site lies in one of
/// the island boxes, fills m with that group's values and returns true.
bool ValoriIsole(float Lon, float Lat, TMagliaSito& m);

/// Number of slots of the first record with a positive node number.
int ContaNodi(const TMagliaSito& m);

// Utilities used by the dialog.
/// Bubble sort of the first n entries: ascending (flag 0) or descending (1).
void OrdinaInteri(int32_t* v, int n, int flag);
/// v clamped into [basso, alto].
inline int32_t LimitaIntero(int32_t v, int32_t basso, int32_t alto) {
    return v < basso ? basso : (v > alto ? alto : v);
}

// ---------------------------------------------------------------------------

template <class Trova> NodiMaglia TrovaNodiMaglia(const Griglia& g, PuntoPiano sito, Trova&& trova) {
    NodiMaglia r{};
    r.n[0] = trova(sito.X, sito.Y);
    const float X1 = g.X(0, r.n[0]);
    const float Y1 = g.Y(0, r.n[0]);
    // One grid step (5.5 km) from N1 towards the site on each axis. A site
    // level with N1 on an axis steps in the + direction.
    const float sx = (X1 - sito.X) < 0.0f ? -1.0f : 1.0f;
    const float sy = (Y1 - sito.Y) < 0.0f ? -1.0f : 1.0f;
    const float Xd = S(static_cast<long double>(X1) - 5.5L * sx);
    const float Yd = S(static_cast<long double>(Y1) - 5.5L * sy);
    r.n[1] = trova(Xd, Yd);
    r.n[2] = trova(X1, Yd);
    r.n[3] = trova(Xd, Y1);
    return r;
}

} // namespace veltrano

namespace veltrano {
/// Island group (1..5) of the box holding the site, 0 when none does.
int GruppoIsola(float Lon, float Lat);
} // namespace veltrano
