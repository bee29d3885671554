#include "map/cursori.h"

#include "veltrano/veltrano.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <variant>

namespace veltrano::mappa {

std::string InsiemeCursori() { return "32b"; }

std::string PrefissoCursori(const std::string& insieme) {
    if (insieme == "32c")
        return "32c_";
    if (insieme == "32b")
        return "32b_";
    return "16b_";
}

std::string NomeRisorsaCursore(const std::string& prefisso, int numero) {
    if (numero < 1 || numero > NumCursori)
        throw ErroreIntervallo("cursore " + std::to_string(numero) + " fuori da 1..9");
    return prefisso + NomiCursori[static_cast<std::size_t>(numero - 1)];
}

// ---- Drawing
//
// Each cursor is a few figures on a 32-unit square: unions of thick
// segments, rings, discs and polygons, each with a fill and a one-pixel
// border just outside it, painted in order. A pixel takes a figure's fill
// when its centre lies inside the figure, its border colour when within one
// pixel outside. Black figures get a white border and white ones a black
// border, so every cursor shows on any map.

namespace {

struct Punto2 {
    double x, y;
};
struct Segmento {
    Punto2 a, b;
    double semilarghezza;
};
struct Anello {
    Punto2 c;
    double raggio, semilarghezza;
};
struct Disco {
    Punto2 c;
    double raggio;
};
struct Poligono {
    std::vector<Punto2> v;
};
using Primitiva = std::variant<Segmento, Anello, Disco, Poligono>;

constexpr uint32_t Trasparente = 0x00000000u;
constexpr uint32_t Nero = 0xFF000000u, Bianco = 0xFFFFFFFFu;

struct Figura {
    std::vector<Primitiva> parti;
    uint32_t riempimento = Nero, bordo = Bianco; // colour set; the others use black and white
    bool conBordo = true;
};

double DistanzaSegmento(Punto2 p, Punto2 a, Punto2 b) {
    const double dx = b.x - a.x, dy = b.y - a.y, l2 = dx * dx + dy * dy;
    double t = l2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / l2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

// Signed distance [units]: negative inside.
double Distanza(const Primitiva& q, Punto2 p) {
    if (const auto* s = std::get_if<Segmento>(&q))
        return DistanzaSegmento(p, s->a, s->b) - s->semilarghezza;
    if (const auto* a = std::get_if<Anello>(&q))
        return std::abs(std::hypot(p.x - a->c.x, p.y - a->c.y) - a->raggio) - a->semilarghezza;
    if (const auto* d = std::get_if<Disco>(&q))
        return std::hypot(p.x - d->c.x, p.y - d->c.y) - d->raggio;
    const auto& v = std::get<Poligono>(q).v;
    bool dentro = false;
    double minima = std::numeric_limits<double>::max();
    for (std::size_t i = 0, j = v.size() - 1; i < v.size(); j = i++) {
        if ((v[i].y > p.y) != (v[j].y > p.y) &&
            p.x < (v[j].x - v[i].x) * (p.y - v[i].y) / (v[j].y - v[i].y) + v[i].x)
            dentro = !dentro;
        minima = std::min(minima, DistanzaSegmento(p, v[i], v[j]));
    }
    return dentro ? -minima : minima;
}

// The four arms of a cross with a free centre, and a dot in it.
std::vector<Primitiva> Croce() {
    const double c = 15.5, w = 1.0;
    return {Segmento{{c, 1}, {c, 12}, w}, Segmento{{c, 19}, {c, 30}, w}, Segmento{{1, c}, {12, c}, w},
            Segmento{{19, c}, {30, c}, w}, Disco{{c, c}, 1.1}};
}

// The mark of the "Mark" cursors: a small square at the lower right.
Figura Segno() {
    return {{Poligono{{{22, 22}, {29, 22}, {29, 29}, {22, 29}}}}, 0xFFD00000u, Bianco};
}

std::vector<Figura> Lente(bool piuMeno) {
    const Punto2 c{12.5, 12.5};
    std::vector<Figura> f{
        {{Disco{c, 7.5}}, 0xFFD8F0FFu, Bianco, false}, // the glass
        {{Anello{c, 8, 1.4}, Segmento{{18.5, 18.5}, {28.5, 28.5}, 2.4}}, Nero, Bianco},
    };
    if (piuMeno) {
        f.push_back({{Segmento{{8, 10}, {13, 10}, 0.9}, Segmento{{10.5, 7.5}, {10.5, 12.5}, 0.9},
                      Segmento{{12, 15.5}, {17, 15.5}, 0.9}},
                     0xFF000080u, Bianco, false});
    } else {
        f.push_back({{Segmento{{9, c.y}, {16, c.y}, 0.9}, Segmento{{c.x, 9}, {c.x, 16}, 0.9}},
                     0xFF000080u, Bianco, false});
    }
    return f;
}

std::vector<Figura> Mano() {
    return {{{Poligono{{{8, 14}, {24, 14}, {24, 22}, {20, 29}, {12, 29}, {8, 23}}},
              Segmento{{11, 15}, {11, 6.5}, 1.7}, Segmento{{14.5, 14}, {14.5, 4}, 1.7},
              Segmento{{18, 14}, {18, 4.5}, 1.7}, Segmento{{21.5, 15}, {21.5, 7.5}, 1.7},
              Segmento{{9, 21}, {4.5, 15.5}, 1.7}},
             0xFFFFFFFFu, Nero}};
}

std::vector<Figura> Sposta() {
    const double c = 15.5;
    auto punta = [](Punto2 a, Punto2 b, Punto2 d) { return Poligono{{a, b, d}}; };
    return {{{Segmento{{c, 4}, {c, 27}, 1.0}, Segmento{{4, c}, {27, c}, 1.0},
              punta({c, 0.5}, {c - 4.5, 6}, {c + 4.5, 6}), punta({c, 30.5}, {c - 4.5, 25}, {c + 4.5, 25}),
              punta({0.5, c}, {6, c - 4.5}, {6, c + 4.5}), punta({30.5, c}, {25, c - 4.5}, {25, c + 4.5})},
             Nero, Bianco}};
}

std::vector<Figura> Pennello() {
    return {
        {{Segmento{{28, 4}, {15.5, 16.5}, 2.0}}, 0xFF8B4513u, Nero},                      // the handle
        {{Segmento{{15.5, 16.5}, {12, 20}, 2.6}}, 0xFFA0A0A0u, Nero},                       // the ferrule
        {{Poligono{{{9.5, 18.5}, {13.5, 22.5}, {8, 28}, {2, 30}, {4, 24}}}}, Nero, Bianco}, // the bristles
    };
}

struct Progetto {
    std::vector<Figura> figure;
    Punto2 caldo; // [units]
};

Progetto ProgettoCursore(int numero) {
    const Punto2 centro{15.5, 15.5};
    auto conSegno = [](std::vector<Figura> f) {
        f.push_back(Segno());
        return f;
    };
    switch (numero) {
    case CursoreLenteIng: return {Lente(false), {12.5, 12.5}};
    case CursoreManoAperta: return {Mano(), centro};
    case CursoreCroceNorm: return {{{Croce(), Nero, Bianco}}, centro};
    case CursoreCroceMark: return {conSegno({{Croce(), Nero, Bianco}}), centro};
    case CursoreSpostaNorm: return {Sposta(), centro};
    case CursoreSpostaMark: return {conSegno(Sposta()), centro};
    case CursoreZoomPiuMeno: return {Lente(true), {12.5, 12.5}};
    case CursorePennello: return {Pennello(), {2.5, 29.5}};
    case CursorePennelloMark: return {conSegno(Pennello()), {2.5, 29.5}};
    default: throw ErroreIntervallo("cursore " + std::to_string(numero) + " fuori da 1..9");
    }
}

// Black and white sets: a colour becomes black or white by its brightness.
uint32_t BiancoNero(uint32_t c) {
    if ((c >> 24) == 0)
        return Trasparente;
    const int r = (c >> 16) & 0xFF, g = (c >> 8) & 0xFF, b = c & 0xFF;
    return 299 * r + 587 * g + 114 * b >= 128000 ? Bianco : Nero;
}

} // namespace

TCursore DisegnaCursore(int numero, const std::string& prefisso) {
    int lato = 0;
    bool colori = false;
    if (prefisso == "16b_")
        lato = 16;
    else if (prefisso == "32b_")
        lato = 32;
    else if (prefisso == "32c_")
        lato = 32, colori = true;
    else
        throw ErroreIntervallo("insieme di cursori \"" + prefisso + "\" sconosciuto");
    const Progetto pr = ProgettoCursore(numero);
    const double s = lato / 32.0; // pixels per unit
    TCursore c;
    c.immagine.larghezza = c.immagine.altezza = lato;
    c.immagine.pixel.assign(static_cast<std::size_t>(lato) * static_cast<std::size_t>(lato), Trasparente);
    for (int y = 0; y < lato; ++y)
        for (int x = 0; x < lato; ++x) {
            const Punto2 p{(x + 0.5) / s, (y + 0.5) / s};
            uint32_t& px = c.immagine.pixel[static_cast<std::size_t>(y) * static_cast<std::size_t>(lato) +
                                            static_cast<std::size_t>(x)];
            for (const Figura& f : pr.figure) {
                double d = std::numeric_limits<double>::max();
                for (const Primitiva& q : f.parti)
                    d = std::min(d, Distanza(q, p));
                // Distances in pixels; the smaller set keeps lines at least a pixel wide.
                const double dp = d * s - (lato < 32 ? 0.25 : 0.0);
                if (dp <= 0)
                    px = f.riempimento;
                else if (f.conBordo && dp <= 1.0)
                    px = f.bordo;
            }
            if (!colori)
                px = BiancoNero(px);
        }
    c.xCaldo = std::clamp(static_cast<int>(std::floor(pr.caldo.x * s)), 0, lato - 1);
    c.yCaldo = std::clamp(static_cast<int>(std::floor(pr.caldo.y * s)), 0, lato - 1);
    return c;
}

// ---- Cursor files
//
// A cursor file is an icon directory of type 2 whose entry carries the hot
// spot, then a bitmap without its file header: BITMAPINFOHEADER with twice
// the height, the colour image bottom-up (after a two-colour palette at 1
// bit a pixel) and the AND mask bottom-up, rows padded to 32 bits. A clear
// pixel has its mask bit set and colour 0.

namespace {

void Scrivi16(std::vector<uint8_t>& b, uint32_t v) {
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
}
void Scrivi32(std::vector<uint8_t>& b, uint32_t v) {
    Scrivi16(b, v & 0xFFFF);
    Scrivi16(b, v >> 16);
}
uint32_t Leggi16(std::span<const uint8_t> d, std::size_t o) { return d[o] | (uint32_t{d[o + 1]} << 8); }
uint32_t Leggi32(std::span<const uint8_t> d, std::size_t o) { return Leggi16(d, o) | (Leggi16(d, o + 2) << 16); }

std::size_t Riga(int larghezza, int bit) { return ((static_cast<std::size_t>(larghezza) * bit + 31) / 32) * 4; }

bool SoloBiancoNero(const TImmagine& im) {
    return std::all_of(im.pixel.begin(), im.pixel.end(),
                       [](uint32_t p) { return p == Trasparente || p == Nero || p == Bianco; });
}

} // namespace

std::vector<uint8_t> CodificaCur(const TCursore& c) {
    const TImmagine& im = c.immagine;
    if (im.larghezza < 1 || im.larghezza > 256 || im.altezza < 1 || im.altezza > 256 ||
        im.pixel.size() != static_cast<std::size_t>(im.larghezza) * static_cast<std::size_t>(im.altezza))
        throw ErroreIntervallo("cursore di " + std::to_string(im.larghezza) + " x " + std::to_string(im.altezza) +
                               " pixel: i lati vanno da 1 a 256");
    const int bit = SoloBiancoNero(im) ? 1 : 32;
    const std::size_t rigaColore = Riga(im.larghezza, bit), rigaMaschera = Riga(im.larghezza, 1);
    const std::size_t palette = bit == 1 ? 8 : 0;
    const std::size_t immagine = rigaColore * static_cast<std::size_t>(im.altezza);
    const std::size_t maschera = rigaMaschera * static_cast<std::size_t>(im.altezza);
    const std::size_t risorsa = 40 + palette + immagine + maschera;
    std::vector<uint8_t> b;
    b.reserve(22 + risorsa);
    Scrivi16(b, 0);
    Scrivi16(b, 2); // a cursor
    Scrivi16(b, 1);
    b.push_back(static_cast<uint8_t>(im.larghezza & 0xFF)); // 256 is written 0
    b.push_back(static_cast<uint8_t>(im.altezza & 0xFF));
    b.push_back(bit == 1 ? 2 : 0);
    b.push_back(0);
    Scrivi16(b, static_cast<uint32_t>(c.xCaldo));
    Scrivi16(b, static_cast<uint32_t>(c.yCaldo));
    Scrivi32(b, static_cast<uint32_t>(risorsa));
    Scrivi32(b, 22);
    Scrivi32(b, 40);
    Scrivi32(b, static_cast<uint32_t>(im.larghezza));
    Scrivi32(b, static_cast<uint32_t>(2 * im.altezza));
    Scrivi16(b, 1);
    Scrivi16(b, static_cast<uint32_t>(bit));
    Scrivi32(b, 0);
    Scrivi32(b, static_cast<uint32_t>(immagine + maschera));
    for (int i = 0; i < 4; ++i)
        Scrivi32(b, 0);
    if (bit == 1) {
        Scrivi32(b, 0x00000000); // black
        Scrivi32(b, 0x00FFFFFF); // white
    }
    const std::size_t inizioColore = b.size();
    b.resize(b.size() + immagine + maschera, 0);
    const std::size_t inizioMaschera = inizioColore + immagine;
    for (int y = 0; y < im.altezza; ++y) {
        const std::size_t riga = static_cast<std::size_t>(im.altezza - 1 - y); // bottom-up
        for (int x = 0; x < im.larghezza; ++x) {
            const uint32_t p = im.pixel[static_cast<std::size_t>(y) * static_cast<std::size_t>(im.larghezza) +
                                        static_cast<std::size_t>(x)];
            const auto ux = static_cast<std::size_t>(x);
            const auto bitMsb = static_cast<uint8_t>(0x80u >> (ux % 8));
            if ((p >> 24) == 0)
                b[inizioMaschera + riga * rigaMaschera + ux / 8] |= bitMsb;
            if (bit == 1) {
                if (p == Bianco)
                    b[inizioColore + riga * rigaColore + ux / 8] |= bitMsb;
            } else if ((p >> 24) != 0) {
                const std::size_t o = inizioColore + riga * rigaColore + ux * 4;
                b[o] = static_cast<uint8_t>(p);
                b[o + 1] = static_cast<uint8_t>(p >> 8);
                b[o + 2] = static_cast<uint8_t>(p >> 16);
                b[o + 3] = static_cast<uint8_t>(p >> 24);
            }
        }
    }
    return b;
}

TCursore DecodificaCur(std::span<const uint8_t> d, const std::string& nome) {
    auto errore = [&nome](const std::string& perche) { return ErroreLettura(nome + ": " + perche); };
    if (d.size() < 22 || Leggi16(d, 0) != 0 || Leggi16(d, 2) != 2 || Leggi16(d, 4) < 1)
        throw errore("non è un file di cursore");
    const uint32_t lunghezza = Leggi32(d, 14), inizio = Leggi32(d, 18);
    if (inizio < 22 || inizio > d.size() || lunghezza > d.size() - inizio || lunghezza < 40)
        throw errore("l'immagine esce dal file");
    const auto im = d.subspan(inizio, lunghezza);
    if (Leggi32(im, 0) != 40)
        throw errore("formato dell'immagine non supportato");
    const auto larghezza = static_cast<int32_t>(Leggi32(im, 4)), altezza2 = static_cast<int32_t>(Leggi32(im, 8));
    const uint32_t bit = Leggi16(im, 14), compressione = Leggi32(im, 16);
    if (larghezza < 1 || larghezza > 256 || altezza2 < 2 || altezza2 > 512 || altezza2 % 2 != 0)
        throw errore("dimensioni dell'immagine non valide");
    if ((bit != 1 && bit != 32) || compressione != 0 || Leggi16(im, 12) != 1)
        throw errore("immagine a " + std::to_string(bit) + " bit non supportata");
    const int altezza = altezza2 / 2;
    const std::size_t palette = bit == 1 ? 4 * std::size_t{Leggi32(im, 32) ? Leggi32(im, 32) : 2} : 0;
    if (bit == 1 && palette != 8)
        throw errore("tavolozza non valida");
    const std::size_t rigaColore = Riga(larghezza, static_cast<int>(bit)), rigaMaschera = Riga(larghezza, 1);
    const std::size_t inizioColore = 40 + palette;
    const std::size_t inizioMaschera = inizioColore + rigaColore * static_cast<std::size_t>(altezza);
    if (inizioMaschera + rigaMaschera * static_cast<std::size_t>(altezza) > im.size())
        throw errore("immagine troncata");
    uint32_t tavolozza[2] = {0, 0};
    if (bit == 1)
        for (int i = 0; i < 2; ++i)
            tavolozza[i] = 0xFF000000u | (Leggi32(im, 40 + 4 * static_cast<std::size_t>(i)) & 0x00FFFFFFu);
    TCursore c;
    c.immagine.larghezza = larghezza;
    c.immagine.altezza = altezza;
    c.immagine.pixel.resize(static_cast<std::size_t>(larghezza) * static_cast<std::size_t>(altezza));
    c.xCaldo = static_cast<int>(Leggi16(d, 10));
    c.yCaldo = static_cast<int>(Leggi16(d, 12));
    for (int y = 0; y < altezza; ++y) {
        const std::size_t riga = static_cast<std::size_t>(altezza - 1 - y);
        for (int x = 0; x < larghezza; ++x) {
            const auto ux = static_cast<std::size_t>(x);
            const bool chiaro = im[inizioMaschera + riga * rigaMaschera + ux / 8] & (0x80u >> (ux % 8));
            uint32_t p;
            if (bit == 1) {
                const bool uno = im[inizioColore + riga * rigaColore + ux / 8] & (0x80u >> (ux % 8));
                // Mask set and colour 0: clear; mask set and colour 1 would invert
                // the screen, which a picture cannot hold: shown clear too.
                p = chiaro ? Trasparente : tavolozza[uno ? 1 : 0];
            } else {
                const std::size_t o = inizioColore + riga * rigaColore + ux * 4;
                p = Leggi32(im, o);
                // Pictures without alpha rely on the mask alone.
                if (chiaro)
                    p = Trasparente;
                else if ((p >> 24) == 0)
                    p |= 0xFF000000u;
            }
            c.immagine.pixel[static_cast<std::size_t>(y) * static_cast<std::size_t>(larghezza) + ux] = p;
        }
    }
    return c;
}

} // namespace veltrano::mappa
