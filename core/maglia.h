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

/// The same projection, faster: double-precision functions where they
/// provably round to the same floats, the extended computation where they
/// might not (near a rounding boundary, or far from Italy). Bit-identical to
/// ProiezioneSito for every input.
PuntoPiano ProiezioneSitoRapida(float Lon, float Lat);

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
/// The first record's node numbers as the search leaves them: a node found
/// again in a later slot is counted once, in its first slot (the later
/// number is cleared to 0).
void AzzeraDoppi(int32_t (&NumPunti)[4]);

// Utilities used by the dialog.
/// Bubble sort of the first n entries: ascending (flag 0) or descending (1).
void OrdinaInteri(int32_t* v, int n, int flag);
/// v clamped into [basso, alto].
inline int32_t LimitaIntero(int32_t v, int32_t basso, int32_t alto) {
    return v < basso ? basso : (v > alto ? alto : v);
}

// ---------------------------------------------------------------------------

/// Which way the site lies from N1 (X1, Y1) on each axis: bit 0 set when
/// the site's X is greater, bit 1 when its Y is. A site level with N1 on an
/// axis (or NaN) counts as lying on the lower side.
inline int Quadrante(float X1, float Y1, PuntoPiano sito) {
    return ((X1 - sito.X) < 0.0f ? 1 : 0) | ((Y1 - sito.Y) < 0.0f ? 2 : 0);
}

/// The diagonal point: one grid step (5.5 km) from N1 towards the site on
/// each axis, in the direction Quadrante gives. The other three nodes of
/// the cell depend on N1 and that direction only.
inline PuntoPiano PuntoDiagonale(float X1, float Y1, int quadrante) {
    const float sx = (quadrante & 1) ? -1.0f : 1.0f;
    const float sy = (quadrante & 2) ? -1.0f : 1.0f;
    return {S(static_cast<long double>(X1) - 5.5L * sx), S(static_cast<long double>(Y1) - 5.5L * sy)};
}

template <class Trova> NodiMaglia TrovaNodiMaglia(const Griglia& g, PuntoPiano sito, Trova&& trova) {
    NodiMaglia r{};
    r.n[0] = trova(sito.X, sito.Y);
    const float X1 = g.X(0, r.n[0]);
    const float Y1 = g.Y(0, r.n[0]);
    const PuntoPiano d = PuntoDiagonale(X1, Y1, Quadrante(X1, Y1, sito));
    r.n[1] = trova(d.X, d.Y);
    r.n[2] = trova(X1, d.Y);
    r.n[3] = trova(d.X, Y1);
    return r;
}

} // namespace veltrano

namespace veltrano {
/// Island group (1..5) of the box holding the site, 0 when none does.
int GruppoIsola(float Lon, float Lat);
/// The same, faster: boxes far from the site are rejected, and sites well
/// inside accepted, without the winding test. Same answer for every site.
int GruppoIsolaRapido(float Lon, float Lat);
/// ValoriIsole over GruppoIsolaRapido.
bool ValoriIsoleRapidi(float Lon, float Lat, TMagliaSito& m);
/// What ValoriIsole writes for an island group (1..5): the reference box's
/// vertices, which become the first record's node positions, and the
/// group's values at each tabulated period, the same in every slot.
struct DatiIsola {
    float lon[4], lat[4]; // [deg]
    float ag[NumBlocchi], Fo[NumBlocchi], Tc[NumBlocchi]; // [g/10], [-], [s]
};
const DatiIsola& DatiGruppoIsola(int gruppo);
} // namespace veltrano
