// The small islands outside the mainland grid, for which the code gives fixed
// values ("D.M. 14/01/2008 - Allegato B - Tabella 2").
#include "core/maglia.h"

#include <array>
#include <cmath>
#include <string>

namespace veltrano {

namespace {

struct Scatola {
    float v[4][2]; // (lon, lat) [deg]
    int gruppo;    // 1..5
};

// Test order matters: the first box that holds the site decides the group.
constexpr Scatola Scatole[14] = {
    {{{7.8294f, 41.5120f}, {10.1216f, 41.5303f}, {10.1036f, 38.6243f}, {7.8428f, 38.5976f}}, 1},
    {{{9.8805f, 43.4469f}, {9.9218f, 43.4459f}, {9.9169f, 43.4130f}, {9.8787f, 43.4098f}}, 1},
    {{{9.7730f, 43.0928f}, {9.8817f, 43.1009f}, {9.8771f, 42.9874f}, {9.7628f, 42.9900f}}, 1},
    {{{9.9814f, 42.8917f}, {10.4928f, 42.9000f}, {10.4742f, 42.2600f}, {9.9651f, 42.2600f}}, 1},
    {{{10.7981f, 42.4297f}, {11.0044f, 42.4272f}, {11.0045f, 42.2749f}, {10.7967f, 42.2787f}}, 1},
    {{{11.9915f, 38.0572f}, {12.4081f, 38.0629f}, {12.4046f, 37.8734f}, {11.9825f, 37.8781f}}, 1},
    {{{11.8751f, 36.9142f}, {12.1289f, 36.9145f}, {12.1318f, 36.6924f}, {11.8638f, 36.6969f}}, 1},
    {{{12.4551f, 35.9400f}, {12.9231f, 35.9479f}, {12.8997f, 35.4019f}, {12.2385f, 35.4117f}}, 1},
    {{{12.7931f, 41.0146f}, {13.1471f, 41.0168f}, {13.1309f, 40.8367f}, {12.7866f, 40.8430f}}, 1},
    {{{13.3815f, 40.8222f}, {13.4783f, 40.8256f}, {13.4789f, 40.7677f}, {13.3734f, 40.7722f}}, 2},
    {{{13.1269f, 38.7319f}, {13.2256f, 38.7323f}, {13.2224f, 38.6772f}, {13.1218f, 38.6793f}}, 3},
    {{{15.1713f, 42.2773f}, {15.8276f, 42.2799f}, {15.8297f, 42.0375f}, {15.1691f, 42.0503f}}, 3},
    {{{14.2985f, 38.6302f}, {14.6473f, 38.6307f}, {14.6300f, 38.4847f}, {14.2929f, 38.4910f}}, 4},
    {{{14.7273f, 38.9074f}, {15.3799f, 38.9054f}, {15.3516f, 38.3204f}, {14.6961f, 38.3207f}}, 5},
};

// Box whose vertices become the reported node positions, per group.
constexpr int ScatolaRiferimento[5] = {0, 9, 10, 12, 13};

struct Valori {
    float ag, Fo, Tc; // [g/10], [-], [s]
};

// [group][tabulated return period]
constexpr Valori ValoriGruppo[5][NumBlocchi] = {
    {{0.186f, 2.61f, 0.273f}, {0.235f, 2.67f, 0.296f}, {0.274f, 2.70f, 0.303f},
     {0.314f, 2.73f, 0.307f}, {0.351f, 2.78f, 0.313f}, {0.393f, 2.82f, 0.322f},
     {0.500f, 2.88f, 0.340f}, {0.603f, 2.98f, 0.372f}, {0.747f, 3.09f, 0.401f}},
    {{0.239f, 2.61f, 0.245f}, {0.303f, 2.61f, 0.272f}, {0.347f, 2.61f, 0.298f},
     {0.389f, 2.66f, 0.326f}, {0.430f, 2.69f, 0.366f}, {0.481f, 2.71f, 0.401f},
     {0.600f, 2.92f, 0.476f}, {0.707f, 3.07f, 0.517f}, {0.852f, 3.27f, 0.564f}},
    {{0.429f, 2.50f, 0.400f}, {0.554f, 2.50f, 0.400f}, {0.661f, 2.50f, 0.400f},
     {0.776f, 2.50f, 0.400f}, {0.901f, 2.50f, 0.400f}, {1.056f, 2.50f, 0.400f},
     {1.500f, 2.50f, 0.400f}, {1.967f, 2.50f, 0.400f}, {2.725f, 2.50f, 0.400f}},
    {{0.350f, 2.70f, 0.400f}, {0.558f, 2.70f, 0.400f}, {0.807f, 2.70f, 0.400f},
     {1.020f, 2.70f, 0.400f}, {1.214f, 2.70f, 0.400f}, {1.460f, 2.70f, 0.400f},
     {2.471f, 2.70f, 0.400f}, {3.212f, 2.70f, 0.400f}, {4.077f, 2.70f, 0.400f}},
    {{0.618f, 2.45f, 0.287f}, {0.817f, 2.48f, 0.290f}, {0.983f, 2.51f, 0.294f},
     {1.166f, 2.52f, 0.290f}, {1.354f, 2.56f, 0.290f}, {1.580f, 2.56f, 0.292f},
     {2.200f, 2.58f, 0.306f}, {2.823f, 2.65f, 0.316f}, {3.746f, 2.76f, 0.324f}},
};

// Where a site stands against a box, when that is certain without the
// winding test: the box's bounding rectangle and edge lines, in double.
enum class Posizione { Dentro, Fuori, Incerta };

// The boxes are convex quadrilaterals. A point farther than this from every
// edge line on the inner side is inside, and the winding test says so (its
// sum is 2 pi, far above 6.28, whatever the rounding). A point farther than
// Lontano outside one edge line is farther than that from the whole box,
// beyond the vertex (0.001) and edge tolerances: the test says no.
constexpr double Vicino = 1e-6, Lontano = 0.005; // [deg]

struct Rettangolo {
    double x0, y0, x1, y1;
    double area2; // twice the signed area: its sign is the orientation
};

constexpr Rettangolo Limiti(const Scatola& s) {
    Rettangolo r{s.v[0][0], s.v[0][1], s.v[0][0], s.v[0][1], 0.0};
    for (int j = 0; j < 4; ++j) {
        const int k = (j + 1) % 4;
        r.x0 = s.v[j][0] < r.x0 ? s.v[j][0] : r.x0;
        r.y0 = s.v[j][1] < r.y0 ? s.v[j][1] : r.y0;
        r.x1 = s.v[j][0] > r.x1 ? s.v[j][0] : r.x1;
        r.y1 = s.v[j][1] > r.y1 ? s.v[j][1] : r.y1;
        r.area2 += static_cast<double>(s.v[j][0]) * s.v[k][1] - static_cast<double>(s.v[k][0]) * s.v[j][1];
    }
    return r;
}

// The rejection above holds only for convex boxes: each turn along the
// border goes the way of the orientation.
constexpr bool Convessa(const Scatola& s) {
    const double verso = Limiti(s).area2;
    for (int j = 0; j < 4; ++j) {
        const int k = (j + 1) % 4, l = (j + 2) % 4;
        const double svolta = (static_cast<double>(s.v[k][0]) - s.v[j][0]) * (static_cast<double>(s.v[l][1]) - s.v[k][1]) -
                              (static_cast<double>(s.v[k][1]) - s.v[j][1]) * (static_cast<double>(s.v[l][0]) - s.v[k][0]);
        if (!(svolta * verso > 0))
            return false;
    }
    return true;
}
static_assert([] {
    for (const Scatola& s : Scatole)
        if (!Convessa(s))
            return false;
    return true;
}());

Posizione Classifica(const Scatola& s, const Rettangolo& r, double x, double y) {
    if (!(x >= r.x0 - Lontano && x <= r.x1 + Lontano && y >= r.y0 - Lontano && y <= r.y1 + Lontano))
        return Posizione::Fuori; // NaN too: the winding test rejects it
    bool dentro = true;
    for (int j = 0; j < 4; ++j) {
        const int k = (j + 1) % 4;
        const double ex = static_cast<double>(s.v[k][0]) - s.v[j][0], ey = static_cast<double>(s.v[k][1]) - s.v[j][1];
        const double lato = std::sqrt(ex * ex + ey * ey);
        // Distance from the edge line, positive on the inner side.
        double d = (ex * (y - s.v[j][1]) - ey * (x - s.v[j][0])) / lato;
        if (r.area2 < 0)
            d = -d;
        if (d < -Lontano)
            return Posizione::Fuori;
        if (!(d > Vicino))
            dentro = false;
    }
    return dentro ? Posizione::Dentro : Posizione::Incerta;
}

} // namespace

int GruppoIsolaRapido(float Lon, float Lat) {
    static constexpr auto Rettangoli = [] {
        std::array<Rettangolo, 14> r{};
        for (std::size_t i = 0; i < r.size(); ++i)
            r[i] = Limiti(Scatole[i]);
        return r;
    }();
    for (std::size_t i = 0; i < 14; ++i) {
        const Scatola& s = Scatole[i];
        switch (Classifica(s, Rettangoli[i], Lon, Lat)) {
        case Posizione::Dentro: return s.gruppo;
        case Posizione::Fuori: break;
        case Posizione::Incerta:
            if (PuntoInPoligono(s.v, 4, Lon, Lat, 0.001f, 0.0001f, false))
                return s.gruppo;
            break;
        }
    }
    return 0;
}

int GruppoIsola(float Lon, float Lat) {
    for (const Scatola& s : Scatole)
        if (PuntoInPoligono(s.v, 4, Lon, Lat, 0.001f, 0.0001f, false))
            return s.gruppo;
    return 0;
}

namespace {

void ScriviGruppo(int gruppo, TMagliaSito& m) {
    const Scatola& rif = Scatole[ScatolaRiferimento[gruppo - 1]];
    for (int i = 0; i < 4; ++i) {
        m[0].NumPunti[i] = i + 1;
        m[0].LonPunti[i] = rif.v[i][0];
        m[0].LatPunti[i] = rif.v[i][1];
    }
    for (std::size_t k = 0; k < NumBlocchi; ++k) {
        const Valori& v = ValoriGruppo[gruppo - 1][k];
        for (int i = 0; i < 4; ++i) {
            m[k].agPunti[i] = v.ag;
            m[k].FoPunti[i] = v.Fo;
            m[k].Tc_sPunti[i] = v.Tc;
        }
    }
}

} // namespace

const DatiIsola& DatiGruppoIsola(int gruppo) {
    static const std::array<DatiIsola, 5> dati = [] {
        std::array<DatiIsola, 5> d{};
        for (int g = 0; g < 5; ++g) {
            const Scatola& rif = Scatole[ScatolaRiferimento[g]];
            for (int i = 0; i < 4; ++i) {
                d[static_cast<std::size_t>(g)].lon[i] = rif.v[i][0];
                d[static_cast<std::size_t>(g)].lat[i] = rif.v[i][1];
            }
            for (int k = 0; k < NumBlocchi; ++k) {
                d[static_cast<std::size_t>(g)].ag[k] = ValoriGruppo[g][k].ag;
                d[static_cast<std::size_t>(g)].Fo[k] = ValoriGruppo[g][k].Fo;
                d[static_cast<std::size_t>(g)].Tc[k] = ValoriGruppo[g][k].Tc;
            }
        }
        return d;
    }();
    if (!(gruppo >= 1 && gruppo <= 5))
        throw ErroreIntervallo("gruppo di isole fuori intervallo: " + std::to_string(gruppo));
    return dati[static_cast<std::size_t>(gruppo - 1)];
}

bool ValoriIsole(float Lon, float Lat, TMagliaSito& m) {
    const int gruppo = GruppoIsola(Lon, Lat);
    if (gruppo != 0)
        ScriviGruppo(gruppo, m);
    return gruppo != 0;
}

bool ValoriIsoleRapidi(float Lon, float Lat, TMagliaSito& m) {
    const int gruppo = GruppoIsolaRapido(Lon, Lat);
    if (gruppo != 0)
        ScriviGruppo(gruppo, m);
    return gruppo != 0;
}

} // namespace veltrano
