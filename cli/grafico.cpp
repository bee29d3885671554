#include "cli/grafico.h"

#include "cli/formato.h"

#include "veltrano/veltrano.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <system_error>

namespace veltrano::cli {

namespace {

constexpr Colore Bianco{255, 255, 255}, Nero{0, 0, 0}, GrigioGriglia{220, 220, 220},
                 GrigioCornice{90, 90, 90};

enum class Allinea { Sinistra, Centro, Destra };

// The drawing primitives the layout needs; one implementation per format.
class Tela {
public:
    virtual ~Tela() = default;
    virtual void Rettangolo(double x0, double y0, double x1, double y1, Colore riempimento) = 0;
    virtual void Spezzata(const std::vector<std::pair<double, double>>& p, Colore c,
                          double spessore) = 0;
    // (x, y) is the vertical middle of the text; a vertical text reads upwards.
    virtual void Testo(double x, double y, const std::string& s, Allinea a, bool grande,
                       bool verticale) = 0;
    virtual double LarghezzaTesto(const std::string& s, bool grande) const = 0;

    void Linea(double x0, double y0, double x1, double y1, Colore c, double spessore) {
        Spezzata({{x0, y0}, {x1, y1}}, c, spessore);
    }
};

// Comma decimals: the picture is read by people, the tables by programs.
std::string Etichetta(double v, int decimali) {
    std::string s = TestoFisso(v, std::min(decimali, 17));
    std::replace(s.begin(), s.end(), '.', ',');
    return s;
}

// A round tick step (1, 2 or 5 times a power of ten) giving about n ticks.
double PassoTacche(double massimo, int n) {
    if (!(massimo > 0))
        massimo = 1;
    const double grezzo = massimo / n;
    const double potenza = std::pow(10.0, std::floor(std::log10(grezzo)));
    const double r = grezzo / potenza;
    return (r < 1.5 ? 1 : r < 3 ? 2 : r < 7 ? 5 : 10) * potenza;
}

int Decimali(double passo) { return std::max(0, static_cast<int>(-std::floor(std::log10(passo) + 1e-9))); }

void Disegna(const Grafico& g, Tela& t) {
    const double W = LarghezzaGrafico, H = AltezzaGrafico;
    const double dx = W - 30, alto = 62, basso = H - 60;
    t.Rettangolo(0, 0, W, H, Bianco);

    double xMax = 0, yMax = 0;
    for (const auto& s : g.serie)
        for (const auto& [x, y] : s.punti) {
            xMax = std::max(xMax, x);
            yMax = std::max(yMax, y);
        }
    const double px = PassoTacche(xMax, 8), py = PassoTacche(yMax * 1.05, 6);
    const int nx = std::max(1, static_cast<int>(std::ceil(xMax / px - 1e-9)));
    const int ny = std::max(1, static_cast<int>(std::ceil(yMax * 1.05 / py - 1e-9)));
    // The plot starts right of the widest y label, which sits right of the axis title.
    double etichette = 0;
    for (int i = 0; i <= ny; ++i)
        etichette = std::max(etichette, t.LarghezzaTesto(Etichetta(i * py, Decimali(py)), false));
    const double sx = std::round(40 + etichette + 10);
    const auto X = [&](double x) { return sx + x / (nx * px) * (dx - sx); };
    const auto Y = [&](double y) { return basso - y / (ny * py) * (basso - alto); };

    // Half-pixel offsets keep one-pixel lines crisp in both formats.
    for (int i = 0; i <= nx; ++i) {
        const double x = std::round(X(i * px)) + 0.5;
        t.Linea(x, alto, x, basso, GrigioGriglia, 1);
        t.Testo(x, basso + 18, Etichetta(i * px, Decimali(px)), Allinea::Centro, false, false);
    }
    for (int i = 0; i <= ny; ++i) {
        const double y = std::round(Y(i * py)) + 0.5;
        t.Linea(sx, y, dx, y, GrigioGriglia, 1);
        t.Testo(sx - 8, y, Etichetta(i * py, Decimali(py)), Allinea::Destra, false, false);
    }
    const double x0 = std::round(sx) + 0.5, x1 = std::round(dx) + 0.5;
    const double y0 = std::round(alto) + 0.5, y1 = std::round(basso) + 0.5;
    t.Spezzata({{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}, {x0, y0}}, GrigioCornice, 1);

    for (const auto& s : g.serie) {
        std::vector<std::pair<double, double>> p;
        p.reserve(s.punti.size());
        for (const auto& [x, y] : s.punti)
            p.emplace_back(X(x), Y(y));
        if (p.size() >= 2)
            t.Spezzata(p, s.colore, 2.2);
    }

    t.Testo(W / 2, 18, g.titolo, Allinea::Centro, true, false);
    t.Testo(W / 2, 40, g.sottotitolo, Allinea::Centro, false, false);
    t.Testo((sx + dx) / 2, H - 20, g.etichettaX, Allinea::Centro, false, false);
    t.Testo(22, (alto + basso) / 2, g.etichettaY, Allinea::Centro, false, true);

    if (g.serie.empty())
        return;
    double larga = 0;
    for (const auto& s : g.serie)
        larga = std::max(larga, t.LarghezzaTesto(s.nome, false));
    const double riga = 20, campione = 28;
    const double lx1 = dx - 10, lx0 = lx1 - (campione + 24 + larga);
    const double ly0 = alto + 10, ly1 = ly0 + 8 + riga * static_cast<double>(g.serie.size());
    t.Rettangolo(lx0, ly0, lx1, ly1, Bianco);
    t.Spezzata({{lx0 + 0.5, ly0 + 0.5}, {lx1 - 0.5, ly0 + 0.5}, {lx1 - 0.5, ly1 - 0.5},
                {lx0 + 0.5, ly1 - 0.5}, {lx0 + 0.5, ly0 + 0.5}},
               GrigioCornice, 1);
    for (std::size_t i = 0; i < g.serie.size(); ++i) {
        const double y = ly0 + 4 + riga * (static_cast<double>(i) + 0.5);
        t.Linea(lx0 + 8, y, lx0 + 8 + campione, y, g.serie[i].colore, 2.2);
        t.Testo(lx0 + 16 + campione, y, g.serie[i].nome, Allinea::Sinistra, false, false);
    }
}

// ---- SVG --------------------------------------------------------------------

std::string Num(double v) { return TestoFisso(v, 2); }

std::string Esadecimale(Colore c) {
    static constexpr char cifre[] = "0123456789abcdef";
    std::string s = "#";
    for (const unsigned char v : {c.r, c.g, c.b}) {
        s += cifre[v >> 4];
        s += cifre[v & 15];
    }
    return s;
}

std::string EscapeXml(const std::string& s) {
    std::string r;
    for (const char c : s) {
        switch (c) {
        case '&': r += "&amp;"; break;
        case '<': r += "&lt;"; break;
        case '>': r += "&gt;"; break;
        case '"': r += "&quot;"; break;
        default: r += c;
        }
    }
    return r;
}

class TelaSvg : public Tela {
public:
    std::string testo;

    void Rettangolo(double x0, double y0, double x1, double y1, Colore c) override {
        testo += "<rect x=\"" + Num(x0) + "\" y=\"" + Num(y0) + "\" width=\"" + Num(x1 - x0) +
                 "\" height=\"" + Num(y1 - y0) + "\" fill=\"" + Esadecimale(c) + "\"/>\n";
    }
    void Spezzata(const std::vector<std::pair<double, double>>& p, Colore c, double spessore) override {
        testo += "<polyline fill=\"none\" stroke=\"" + Esadecimale(c) + "\" stroke-width=\"" +
                 Num(spessore) + "\" stroke-linejoin=\"round\" points=\"";
        for (std::size_t i = 0; i < p.size(); ++i)
            testo += (i ? " " : "") + Num(p[i].first) + "," + Num(p[i].second);
        testo += "\"/>\n";
    }
    void Testo(double x, double y, const std::string& s, Allinea a, bool grande, bool verticale) override {
        const char* ancora = a == Allinea::Sinistra ? "start" : a == Allinea::Centro ? "middle" : "end";
        testo += "<text x=\"" + Num(x) + "\" y=\"" + Num(y) + "\" font-size=\"" +
                 (grande ? "17\" font-weight=\"bold" : "14") + "\" text-anchor=\"" + ancora +
                 "\" dominant-baseline=\"central\"";
        if (verticale)
            testo += " transform=\"rotate(-90 " + Num(x) + " " + Num(y) + ")\"";
        testo += ">" + EscapeXml(s) + "</text>\n";
    }
    double LarghezzaTesto(const std::string& s, bool grande) const override {
        return (grande ? 17 : 14) * 0.62 * static_cast<double>(s.size());
    }
};

// ---- Raster -----------------------------------------------------------------

// 5x7 glyphs for printable ASCII from ' ' (32) to '~' (126): seven rows, the
// leftmost pixel in bit 4. Descender glyphs start two rows lower (Discesa).
constexpr std::array<std::array<std::uint8_t, 7>, 95> Caratteri{{
    {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}, // ' '
    {0x04, 0x04, 0x04, 0x04, 0x04, 0x00, 0x04}, // !
    {0x0A, 0x0A, 0x00, 0x00, 0x00, 0x00, 0x00}, // "
    {0x0A, 0x0A, 0x1F, 0x0A, 0x1F, 0x0A, 0x0A}, // #
    {0x04, 0x0F, 0x14, 0x0E, 0x05, 0x1E, 0x04}, // $
    {0x18, 0x19, 0x02, 0x04, 0x08, 0x13, 0x03}, // %
    {0x0C, 0x12, 0x14, 0x08, 0x15, 0x12, 0x0D}, // &
    {0x0C, 0x04, 0x08, 0x00, 0x00, 0x00, 0x00}, // '
    {0x02, 0x04, 0x08, 0x08, 0x08, 0x04, 0x02}, // (
    {0x08, 0x04, 0x02, 0x02, 0x02, 0x04, 0x08}, // )
    {0x00, 0x04, 0x15, 0x0E, 0x15, 0x04, 0x00}, // *
    {0x00, 0x04, 0x04, 0x1F, 0x04, 0x04, 0x00}, // +
    {0x00, 0x00, 0x00, 0x00, 0x0C, 0x04, 0x08}, // ,
    {0x00, 0x00, 0x00, 0x1F, 0x00, 0x00, 0x00}, // -
    {0x00, 0x00, 0x00, 0x00, 0x00, 0x0C, 0x0C}, // .
    {0x00, 0x01, 0x02, 0x04, 0x08, 0x10, 0x00}, // /
    {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}, // 0
    {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}, // 1
    {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}, // 2
    {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E}, // 3
    {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}, // 4
    {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E}, // 5
    {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}, // 6
    {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08}, // 7
    {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}, // 8
    {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C}, // 9
    {0x00, 0x0C, 0x0C, 0x00, 0x0C, 0x0C, 0x00}, // :
    {0x00, 0x0C, 0x0C, 0x00, 0x0C, 0x04, 0x08}, // ;
    {0x02, 0x04, 0x08, 0x10, 0x08, 0x04, 0x02}, // <
    {0x00, 0x00, 0x1F, 0x00, 0x1F, 0x00, 0x00}, // =
    {0x08, 0x04, 0x02, 0x01, 0x02, 0x04, 0x08}, // >
    {0x0E, 0x11, 0x01, 0x02, 0x04, 0x00, 0x04}, // ?
    {0x0E, 0x11, 0x01, 0x0D, 0x15, 0x15, 0x0E}, // @
    {0x0E, 0x11, 0x11, 0x11, 0x1F, 0x11, 0x11}, // A
    {0x1E, 0x11, 0x11, 0x1E, 0x11, 0x11, 0x1E}, // B
    {0x0E, 0x11, 0x10, 0x10, 0x10, 0x11, 0x0E}, // C
    {0x1C, 0x12, 0x11, 0x11, 0x11, 0x12, 0x1C}, // D
    {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F}, // E
    {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10}, // F
    {0x0E, 0x11, 0x10, 0x17, 0x11, 0x11, 0x0F}, // G
    {0x11, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}, // H
    {0x0E, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E}, // I
    {0x07, 0x02, 0x02, 0x02, 0x02, 0x12, 0x0C}, // J
    {0x11, 0x12, 0x14, 0x18, 0x14, 0x12, 0x11}, // K
    {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x1F}, // L
    {0x11, 0x1B, 0x15, 0x15, 0x11, 0x11, 0x11}, // M
    {0x11, 0x11, 0x19, 0x15, 0x13, 0x11, 0x11}, // N
    {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}, // O
    {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10}, // P
    {0x0E, 0x11, 0x11, 0x11, 0x15, 0x12, 0x0D}, // Q
    {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11}, // R
    {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E}, // S
    {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04}, // T
    {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}, // U
    {0x11, 0x11, 0x11, 0x11, 0x11, 0x0A, 0x04}, // V
    {0x11, 0x11, 0x11, 0x15, 0x15, 0x15, 0x0A}, // W
    {0x11, 0x11, 0x0A, 0x04, 0x0A, 0x11, 0x11}, // X
    {0x11, 0x11, 0x11, 0x0A, 0x04, 0x04, 0x04}, // Y
    {0x1F, 0x01, 0x02, 0x04, 0x08, 0x10, 0x1F}, // Z
    {0x0E, 0x08, 0x08, 0x08, 0x08, 0x08, 0x0E}, // [
    {0x00, 0x10, 0x08, 0x04, 0x02, 0x01, 0x00}, // backslash
    {0x0E, 0x02, 0x02, 0x02, 0x02, 0x02, 0x0E}, // ]
    {0x04, 0x0A, 0x11, 0x00, 0x00, 0x00, 0x00}, // ^
    {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x1F}, // _
    {0x08, 0x04, 0x02, 0x00, 0x00, 0x00, 0x00}, // `
    {0x00, 0x00, 0x0E, 0x01, 0x0F, 0x11, 0x0F}, // a
    {0x10, 0x10, 0x16, 0x19, 0x11, 0x11, 0x1E}, // b
    {0x00, 0x00, 0x0E, 0x10, 0x10, 0x11, 0x0E}, // c
    {0x01, 0x01, 0x0D, 0x13, 0x11, 0x11, 0x0F}, // d
    {0x00, 0x00, 0x0E, 0x11, 0x1F, 0x10, 0x0E}, // e
    {0x06, 0x09, 0x08, 0x1C, 0x08, 0x08, 0x08}, // f
    {0x0F, 0x11, 0x11, 0x11, 0x0F, 0x01, 0x0E}, // g (descender)
    {0x10, 0x10, 0x16, 0x19, 0x11, 0x11, 0x11}, // h
    {0x04, 0x00, 0x0C, 0x04, 0x04, 0x04, 0x0E}, // i
    {0x02, 0x00, 0x06, 0x02, 0x02, 0x12, 0x0C}, // j
    {0x10, 0x10, 0x12, 0x14, 0x18, 0x14, 0x12}, // k
    {0x0C, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E}, // l
    {0x00, 0x00, 0x1A, 0x15, 0x15, 0x11, 0x11}, // m
    {0x00, 0x00, 0x16, 0x19, 0x11, 0x11, 0x11}, // n
    {0x00, 0x00, 0x0E, 0x11, 0x11, 0x11, 0x0E}, // o
    {0x1E, 0x11, 0x11, 0x11, 0x1E, 0x10, 0x10}, // p (descender)
    {0x0F, 0x11, 0x11, 0x11, 0x0F, 0x01, 0x01}, // q (descender)
    {0x00, 0x00, 0x16, 0x19, 0x10, 0x10, 0x10}, // r
    {0x00, 0x00, 0x0E, 0x10, 0x0E, 0x01, 0x1E}, // s
    {0x08, 0x08, 0x1C, 0x08, 0x08, 0x09, 0x06}, // t
    {0x00, 0x00, 0x11, 0x11, 0x11, 0x13, 0x0D}, // u
    {0x00, 0x00, 0x11, 0x11, 0x11, 0x0A, 0x04}, // v
    {0x00, 0x00, 0x11, 0x11, 0x15, 0x15, 0x0A}, // w
    {0x00, 0x00, 0x11, 0x0A, 0x04, 0x0A, 0x11}, // x
    {0x11, 0x11, 0x11, 0x11, 0x0F, 0x01, 0x0E}, // y (descender)
    {0x00, 0x00, 0x1F, 0x02, 0x04, 0x08, 0x1F}, // z
    {0x02, 0x04, 0x04, 0x08, 0x04, 0x04, 0x02}, // {
    {0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04}, // |
    {0x08, 0x04, 0x04, 0x02, 0x04, 0x04, 0x08}, // }
    {0x00, 0x00, 0x08, 0x15, 0x02, 0x00, 0x00}, // ~
}};

int Discesa(unsigned char c) { return c == 'g' || c == 'p' || c == 'q' || c == 'y' ? 2 : 0; }

class TelaRaster : public Tela {
public:
    static constexpr int W = LarghezzaGrafico, H = AltezzaGrafico;
    std::vector<unsigned char> rgb = std::vector<unsigned char>(std::size_t{W} * H * 3, 255);

    void Rettangolo(double x0, double y0, double x1, double y1, Colore c) override {
        for (int y = std::max(0, static_cast<int>(std::lround(y0)));
             y < std::min(H, static_cast<int>(std::lround(y1))); ++y)
            for (int x = std::max(0, static_cast<int>(std::lround(x0)));
                 x < std::min(W, static_cast<int>(std::lround(x1))); ++x)
                Fondi(x, y, c, 1.0);
    }

    // Coverage of each pixel centre by a round-capped stroke, taken as the
    // maximum over the segments so that joints are not blended twice.
    void Spezzata(const std::vector<std::pair<double, double>>& p, Colore c, double spessore) override {
        std::vector<float> copertura(std::size_t{W} * H, 0.0f);
        const double r = spessore / 2;
        for (std::size_t i = 0; i + 1 < p.size(); ++i) {
            const auto [ax, ay] = p[i];
            const auto [bx, by] = p[i + 1];
            const int xa = std::max(0, static_cast<int>(std::floor(std::min(ax, bx) - r - 1)));
            const int xb = std::min(W - 1, static_cast<int>(std::ceil(std::max(ax, bx) + r + 1)));
            const int ya = std::max(0, static_cast<int>(std::floor(std::min(ay, by) - r - 1)));
            const int yb = std::min(H - 1, static_cast<int>(std::ceil(std::max(ay, by) + r + 1)));
            const double vx = bx - ax, vy = by - ay, l2 = vx * vx + vy * vy;
            for (int y = ya; y <= yb; ++y)
                for (int x = xa; x <= xb; ++x) {
                    const double qx = x + 0.5 - ax, qy = y + 0.5 - ay;
                    const double u = l2 > 0 ? std::clamp((qx * vx + qy * vy) / l2, 0.0, 1.0) : 0.0;
                    const double d = std::hypot(qx - u * vx, qy - u * vy);
                    const double k = std::clamp(r + 0.5 - d, 0.0, 1.0);
                    float& cp = copertura[static_cast<std::size_t>(y) * W + x];
                    cp = std::max(cp, static_cast<float>(k));
                }
        }
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
                if (const float k = copertura[static_cast<std::size_t>(y) * W + x]; k > 0)
                    Fondi(x, y, c, k);
    }

    void Testo(double x, double y, const std::string& s, Allinea a, bool grande, bool verticale) override {
        const int scala = 2;
        const double lungo = LarghezzaTesto(s, grande);
        const double u0 = a == Allinea::Sinistra ? 0 : a == Allinea::Centro ? -lungo / 2 : -lungo;
        const int alto = 7 * scala;
        for (std::size_t i = 0; i < s.size(); ++i) {
            const unsigned char c = static_cast<unsigned char>(s[i]);
            const auto& g = Caratteri[(c >= 32 && c <= 126) ? c - 32 : '?' - 32];
            for (int gy = 0; gy < 7; ++gy)
                for (int gx = 0; gx < 5; ++gx) {
                    if (!((g[static_cast<std::size_t>(gy)] >> (4 - gx)) & 1))
                        continue;
                    // (u, v): along and across the text, from its start and top.
                    const double u = u0 + static_cast<double>(i) * 6 * scala + gx * scala;
                    const double v = (gy + Discesa(c)) * scala - alto / 2.0;
                    // A large text is drawn bold: each pixel twice, one apart.
                    for (int sy = 0; sy < scala; ++sy)
                        for (int sx = 0; sx < scala + (grande ? 1 : 0); ++sx) {
                            const double px = verticale ? x + v + sy : x + u + sx;
                            const double py = verticale ? y - u - sx : y + v + sy;
                            Punto(static_cast<int>(std::floor(px)), static_cast<int>(std::floor(py)));
                        }
                }
        }
    }

    double LarghezzaTesto(const std::string& s, bool grande) const override {
        const int scala = 2;
        return s.empty() ? 0.0 : static_cast<double>(s.size()) * 6 * scala - scala + (grande ? 1 : 0);
    }

private:
    void Punto(int x, int y) {
        if (x >= 0 && x < W && y >= 0 && y < H)
            Fondi(x, y, Nero, 1.0);
    }
    void Fondi(int x, int y, Colore c, double k) {
        unsigned char* p = &rgb[(static_cast<std::size_t>(y) * W + static_cast<std::size_t>(x)) * 3];
        const unsigned char v[3] = {c.r, c.g, c.b};
        for (int i = 0; i < 3; ++i)
            p[i] = static_cast<unsigned char>(std::lround(p[i] + (v[i] - p[i]) * k));
    }
};

// ---- PNG --------------------------------------------------------------------

std::uint32_t Crc32(const unsigned char* p, std::size_t n, std::uint32_t crc = 0) {
    static const auto tabella = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (std::size_t i = 0; i < n; ++i)
        crc = tabella[(crc ^ p[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

void Be32(std::vector<unsigned char>& v, std::uint32_t x) {
    for (int s = 24; s >= 0; s -= 8)
        v.push_back(static_cast<unsigned char>(x >> s));
}

void Blocco(std::vector<unsigned char>& png, const char* tipo, const std::vector<unsigned char>& dati) {
    Be32(png, static_cast<std::uint32_t>(dati.size()));
    const std::size_t inizio = png.size();
    png.insert(png.end(), tipo, tipo + 4);
    png.insert(png.end(), dati.begin(), dati.end());
    Be32(png, Crc32(&png[inizio], png.size() - inizio));
}

std::vector<unsigned char> CodificaPng(const std::vector<unsigned char>& rgb, int w, int h) {
    // Scanlines, each after filter byte 0 (none).
    const std::size_t rigaByte = static_cast<std::size_t>(w) * 3;
    std::vector<unsigned char> grezzo;
    grezzo.reserve((rigaByte + 1) * static_cast<std::size_t>(h));
    for (int y = 0; y < h; ++y) {
        grezzo.push_back(0);
        const auto riga = rgb.begin() + static_cast<std::ptrdiff_t>(rigaByte * static_cast<std::size_t>(y));
        grezzo.insert(grezzo.end(), riga, riga + static_cast<std::ptrdiff_t>(rigaByte));
    }
    // zlib stream of stored deflate blocks (at most 65,535 bytes each).
    std::vector<unsigned char> z{0x78, 0x01};
    std::uint32_t a = 1, b = 0;
    for (std::size_t i = 0; i < grezzo.size();) {
        const std::size_t n = std::min<std::size_t>(65535, grezzo.size() - i);
        z.push_back(i + n == grezzo.size() ? 1 : 0);
        const auto len = static_cast<std::uint16_t>(n);
        const auto nlen = static_cast<std::uint16_t>(~len);
        z.insert(z.end(), {static_cast<unsigned char>(len), static_cast<unsigned char>(len >> 8),
                           static_cast<unsigned char>(nlen), static_cast<unsigned char>(nlen >> 8)});
        for (std::size_t k = i; k < i + n; ++k) {
            a = (a + grezzo[k]) % 65521;
            b = (b + a) % 65521;
        }
        z.insert(z.end(), grezzo.begin() + static_cast<std::ptrdiff_t>(i),
                 grezzo.begin() + static_cast<std::ptrdiff_t>(i + n));
        i += n;
    }
    Be32(z, (b << 16) | a);

    std::vector<unsigned char> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<unsigned char> ihdr;
    Be32(ihdr, static_cast<std::uint32_t>(w));
    Be32(ihdr, static_cast<std::uint32_t>(h));
    ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0}); // 8-bit RGB, no interlace
    Blocco(png, "IHDR", ihdr);
    Blocco(png, "IDAT", z);
    Blocco(png, "IEND", {});
    return png;
}

std::string Minuscolo(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return s;
}

} // namespace

std::string GraficoSvg(const Grafico& g) {
    TelaSvg t;
    t.testo = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
              std::to_string(LarghezzaGrafico) + "\" height=\"" + std::to_string(AltezzaGrafico) +
              "\" viewBox=\"0 0 " + std::to_string(LarghezzaGrafico) + " " +
              std::to_string(AltezzaGrafico) + "\" font-family=\"DejaVu Sans, Arial, sans-serif\">\n";
    Disegna(g, t);
    t.testo += "</svg>\n";
    return t.testo;
}

std::vector<unsigned char> GraficoPng(const Grafico& g) {
    TelaRaster t;
    Disegna(g, t);
    return CodificaPng(t.rgb, TelaRaster::W, TelaRaster::H);
}

bool FormatoGraficoNoto(const std::filesystem::path& percorso) {
    const std::string e = Minuscolo(percorso.extension().string());
    return e == ".svg" || e == ".png";
}

void SalvaGrafico(const Grafico& g, const std::filesystem::path& percorso) {
    const bool png = Minuscolo(percorso.extension().string()) == ".png";
    std::string dati;
    if (png) {
        const auto b = GraficoPng(g);
        dati.assign(b.begin(), b.end());
    } else {
        dati = GraficoSvg(g);
    }
    auto temporaneo = percorso;
    temporaneo += ".tmp";
    {
        std::ofstream f(temporaneo, std::ios::binary | std::ios::trunc);
        f.write(dati.data(), static_cast<std::streamsize>(dati.size()));
        f.close();
        if (!f) {
            std::error_code ec;
            std::filesystem::remove(temporaneo, ec);
            throw ErroreLettura(percorso.string() + ": impossibile scrivere il file");
        }
    }
    std::error_code ec;
    std::filesystem::rename(temporaneo, percorso, ec);
    if (ec) {
        std::filesystem::remove(temporaneo, ec);
        throw ErroreLettura(percorso.string() + ": impossibile scrivere il file");
    }
}

} // namespace veltrano::cli
