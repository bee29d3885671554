#include "outputs/grafico.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>

namespace veltrano::uscite {

using mappa::TCarattere;
using mappa::TColore;
using mappa::TPenna;
using mappa::TPittore;
using mappa::TPuntoPx;
using mappa::TRettangoloPx;

namespace {

constexpr TColore Bianco = mappa::RGBWin(255, 255, 255), Nero = mappa::RGBWin(0, 0, 0),
                  GrigioGriglia = mappa::RGBWin(220, 220, 220), GrigioCornice = mappa::RGBWin(90, 90, 90),
                  GrigioTesto = mappa::RGBWin(60, 60, 60);
constexpr double Margine = 14, Spazio = 6, SpessoreCurva = 2.2, Campione = 28;

int Decimali(double passo) { return std::max(0, static_cast<int>(-std::floor(std::log10(passo) + 1e-9))); }

double Larghezza(TPittore& p, const std::string& t, const TCarattere& c) { return p.MisuraTesto(t, c).larghezza; }

// A text that fits in larghezza: its font a little smaller if need be, then
// cut at a character with "…" (a title longer than a narrow view).
std::pair<std::string, TCarattere> Adatta(TPittore& p, const std::string& t, TCarattere c, double larghezza) {
    const double minimo = std::min(c.punti, 8.0);
    while (c.punti > minimo && p.MisuraTesto(t, c).larghezza > larghezza)
        c.punti = std::max(minimo, c.punti - 0.5);
    if (p.MisuraTesto(t, c).larghezza <= larghezza)
        return {t, c};
    std::string r = t;
    while (!r.empty() && p.MisuraTesto(r + "…", c).larghezza > larghezza) {
        r.pop_back();
        while (!r.empty() && (static_cast<unsigned char>(r.back()) & 0xC0) == 0x80)
            r.pop_back(); // whole UTF-8 characters only
        if (!r.empty() && (static_cast<unsigned char>(r.back()) & 0x80))
            r.pop_back();
    }
    return {r + "…", c};
}

// Text whose box is centred horizontally on x, with its top at alto, made
// to fit in larghezza.
void TestoCentrato(TPittore& p, double x, double alto, const std::string& testo, const TCarattere& carattere,
                   TColore colore, double larghezza) {
    const auto [t, c] = Adatta(p, testo, carattere, larghezza);
    const mappa::TMetricaTesto m = p.MisuraTesto(t, c);
    p.Testo({x - m.larghezza / 2, alto + m.ascesa}, t, c, colore);
}

// The legend takes at most half the plot's width.
double LargaNomi(const TRettangoloPx& piano) { return std::max(20.0, piano.larghezza / 2 - 3 * Spazio - Campione); }

struct Estremi {
    double xMax = 0, yMax = 0;
};

Estremi Dati(const TGrafico& g) {
    Estremi e;
    for (const auto& s : g.serie)
        for (const auto& [x, y] : s.punti) {
            if (std::isfinite(x))
                e.xMax = std::max(e.xMax, x);
            if (std::isfinite(y))
                e.yMax = std::max(e.yMax, y);
        }
    return e;
}

} // namespace

bool FormatoGraficoNoto(const std::filesystem::path& file) {
    std::string e = file.extension().string();
    std::transform(e.begin(), e.end(), e.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return e == ".png" || e == ".svg" || e == ".pdf";
}

TCarattere CarattereTitolo() { return {"Sans Serif", 13, true, false}; }
TCarattere CarattereTesto() { return {"Sans Serif", 10, false, false}; }

double PassoTacche(double massimo, int n) {
    if (!(massimo > 0) || !std::isfinite(massimo) || n < 1)
        return 1;
    const double grezzo = massimo / n;
    const double potenza = std::pow(10.0, std::floor(std::log10(grezzo)));
    const double r = grezzo / potenza;
    return (r < 1.5 ? 1 : r < 3 ? 2 : r < 7 ? 5 : 10) * potenza;
}

std::string EtichettaTacca(double v, double passo) {
    char b[64];
    const auto r = std::to_chars(b, b + sizeof b, v, std::chars_format::fixed, Decimali(passo));
    std::string s(b, r.ptr);
    // The picture is read by people: comma decimals, as the tables of the code.
    std::replace(s.begin(), s.end(), '.', ',');
    return s;
}

TImpaginazione Impagina(TPittore& p, const TGrafico& g, const TRettangoloPx& area) {
    const TCarattere titolo = CarattereTitolo(), testo = CarattereTesto();
    const double hTitolo = p.MisuraTesto("Ag", titolo).altezza, hTesto = p.MisuraTesto("Ag", testo).altezza;
    const Estremi e = Dati(g);
    TImpaginazione im;

    // Top: title, subtitle, then the y axis title above the plot's left edge.
    double alto = area.y + Margine + hTitolo + Spazio;
    if (!g.sottotitolo.empty())
        alto += hTesto + Spazio;
    // The top y label rises half a line above the frame: the title clears it.
    alto += hTesto + Spazio + hTesto / 2;
    // Bottom: the x tick labels, then the x axis title.
    const double basso = area.Basso() - Margine - hTesto - Spazio - hTesto - Spazio;

    im.passoY = PassoTacche(e.yMax * 1.05, 6);
    im.intervalliY = std::max(1, static_cast<int>(std::ceil(e.yMax * 1.05 / im.passoY - 1e-9)));
    double etichetteY = 0;
    for (int i = 0; i <= im.intervalliY; ++i)
        etichetteY = std::max(etichetteY, Larghezza(p, EtichettaTacca(i * im.passoY, im.passoY), testo));
    const double sinistra = area.x + Margine + etichetteY + Spazio + 2;

    // The last x label is centred on the right edge: room for half of it.
    double passoX = PassoTacche(e.xMax, 8);
    int nx = std::max(1, static_cast<int>(std::ceil(e.xMax / passoX - 1e-9)));
    double destra = area.Destra() - Margine - Larghezza(p, EtichettaTacca(nx * passoX, passoX), testo) / 2;
    // Fewer, wider steps until neighbouring x labels leave a gap between them.
    for (int n = 8; n > 1; --n) {
        passoX = PassoTacche(e.xMax, n);
        nx = std::max(1, static_cast<int>(std::ceil(e.xMax / passoX - 1e-9)));
        destra = area.Destra() - Margine - Larghezza(p, EtichettaTacca(nx * passoX, passoX), testo) / 2;
        double larga = 0;
        for (int i = 0; i <= nx; ++i)
            larga = std::max(larga, Larghezza(p, EtichettaTacca(i * passoX, passoX), testo));
        if (larga + 2 * Spazio <= (destra - sinistra) / nx)
            break;
    }
    im.passoX = passoX;
    im.intervalliX = nx;
    im.piano = {sinistra, alto, std::max(1.0, destra - sinistra), std::max(1.0, basso - alto)};

    if (!g.serie.empty()) {
        double larga = 0;
        for (const auto& s : g.serie)
            larga = std::max(larga, Larghezza(p, Adatta(p, s.nome, testo, LargaNomi(im.piano)).first, testo));
        const double riga = hTesto + 4;
        const double w = Spazio + Campione + Spazio + larga + 2 * Spazio;
        const double h = 2 * Spazio + riga * static_cast<double>(g.serie.size());
        im.legenda = {im.piano.Destra() - Spazio - w, im.piano.y + Spazio, w, h};
    }
    return im;
}

void DisegnaGrafico(TPittore& p, const TGrafico& g, const TRettangoloPx& area) {
    const TCarattere titolo = CarattereTitolo(), testo = CarattereTesto();
    const TImpaginazione im = Impagina(p, g, area);
    const TRettangoloPx& r = im.piano;
    const double hTitolo = p.MisuraTesto("Ag", titolo).altezza, hTesto = p.MisuraTesto("Ag", testo).altezza;
    p.Antialias(true);
    p.Rettangolo(area, TPenna{Bianco, 0}, Bianco);

    const double cx = area.x + area.larghezza / 2;
    double y = area.y + Margine;
    const double utile = area.larghezza - 2 * Margine;
    TestoCentrato(p, cx, y, g.titolo, titolo, Nero, utile);
    y += hTitolo + Spazio;
    if (!g.sottotitolo.empty())
        TestoCentrato(p, cx, y, g.sottotitolo, testo, GrigioTesto, utile);
    const double xY = std::max(area.x + Margine, r.x - p.MisuraTesto(g.etichettaY, testo).larghezza / 2);
    const auto [tY, cY] = Adatta(p, g.etichettaY, testo, area.Destra() - Margine - xY);
    const mappa::TMetricaTesto mY = p.MisuraTesto(tY, cY);
    p.Testo({xY, r.y - hTesto / 2 - Spazio - (mY.altezza - mY.ascesa)}, tY, cY, Nero);
    TestoCentrato(p, r.x + r.larghezza / 2, area.Basso() - Margine - hTesto, g.etichettaX, testo, Nero,
                  r.larghezza);

    const double xMax = im.passoX * im.intervalliX, yMax = im.passoY * im.intervalliY;
    const auto X = [&](double x) { return r.x + x / xMax * r.larghezza; };
    const auto Y = [&](double v) { return r.Basso() - v / yMax * r.altezza; };
    mappa::TLottoLinee griglia;
    griglia.penna = {GrigioGriglia, 1};
    for (int i = 0; i <= im.intervalliX; ++i) {
        const double x = X(i * im.passoX);
        griglia.NuovaLinea();
        griglia.Aggiungi({x, r.y});
        griglia.Aggiungi({x, r.Basso()});
        const std::string t = EtichettaTacca(i * im.passoX, im.passoX);
        if (i == 0) // starts at the corner, clear of the y axis' own 0
            p.Testo({x, r.Basso() + Spazio + p.MisuraTesto(t, testo).ascesa}, t, testo, Nero);
        else
            TestoCentrato(p, x, r.Basso() + Spazio, t, testo, Nero, 1e9);
    }
    for (int i = 0; i <= im.intervalliY; ++i) {
        const double yy = Y(i * im.passoY);
        griglia.NuovaLinea();
        griglia.Aggiungi({r.x, yy});
        griglia.Aggiungi({r.Destra(), yy});
        const std::string t = EtichettaTacca(i * im.passoY, im.passoY);
        const mappa::TMetricaTesto m = p.MisuraTesto(t, testo);
        p.Testo({r.x - Spazio - 2 - m.larghezza, yy - m.altezza / 2 + m.ascesa}, t, testo, Nero);
    }
    p.Linee(griglia);

    p.Ritaglia(r);
    for (const auto& s : g.serie) {
        mappa::TLottoLinee curva;
        curva.penna = {s.colore, SpessoreCurva};
        curva.NuovaLinea();
        for (const auto& [x, v] : s.punti)
            if (std::isfinite(x) && std::isfinite(v))
                curva.Aggiungi({X(x), Y(v)});
        if (curva.punti.size() >= 2)
            p.Linee(curva);
    }
    p.Ritaglia(std::nullopt);
    p.Rettangolo(r, TPenna{GrigioCornice, 1}, std::nullopt);

    if (g.serie.empty())
        return;
    const TRettangoloPx& l = im.legenda;
    p.Rettangolo(l, TPenna{GrigioCornice, 1}, Bianco);
    const double riga = hTesto + 4;
    for (std::size_t i = 0; i < g.serie.size(); ++i) {
        const double centro = l.y + Spazio + riga * (static_cast<double>(i) + 0.5);
        mappa::DisegnaLinea(p, {l.x + Spazio, centro}, {l.x + Spazio + Campione, centro},
                            TPenna{g.serie[i].colore, SpessoreCurva});
        const std::string nome = Adatta(p, g.serie[i].nome, testo, LargaNomi(r)).first;
        const mappa::TMetricaTesto m = p.MisuraTesto(nome, testo);
        p.Testo({l.x + 2 * Spazio + Campione, centro - m.altezza / 2 + m.ascesa}, nome, testo, Nero);
    }
}

} // namespace veltrano::uscite
