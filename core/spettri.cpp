#include "core/spettri.h"

#include <algorithm>
#include <charconv>
#include <cctype>
#include <cmath>
#include <numbers>
#include <string>
#include <utility>

namespace veltrano {

namespace {

std::string Testo(double v) {
    // std::to_string prints 6 decimals and hides small bad values.
    char b[32];
    const auto r = std::to_chars(b, b + sizeof b, v);
    return std::string(b, r.ptr);
}

bool UgualeSenzaMaiuscole(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) ==
                      std::toupper(static_cast<unsigned char>(y));
           });
}

void ControllaAzione(const AzioneSismica& a) {
    if (!(a.ag >= 0 && a.ag <= AgMassima))
        throw ErroreIntervallo("ag deve stare tra 0 e " + Testo(AgMassima) + " g: " + Testo(a.ag));
    if (!(a.Fo > 0 && a.Fo <= FoMassimo))
        throw ErroreIntervallo("Fo deve essere positivo e non oltre " + Testo(FoMassimo) + ": " + Testo(a.Fo));
    if (!(a.Tc > 0 && a.Tc <= TcMassimo))
        throw ErroreIntervallo("Tc* deve essere positivo e non oltre " + Testo(TcMassimo) + " s: " + Testo(a.Tc));
}

double FattoreTopografico(const CondizioniSito& s) {
    if (s.ST) {
        if (!(*s.ST >= 1.0 && *s.ST <= 1.4))
            throw ErroreIntervallo("ST fuori dall'intervallo 1..1,4: " + Testo(*s.ST));
        return *s.ST;
    }
    switch (s.topografia) {
    case CategoriaTopografica::T1: return 1.0;
    case CategoriaTopografica::T2: return 1.2;
    case CategoriaTopografica::T3: return 1.2;
    case CategoriaTopografica::T4: return 1.4;
    }
    throw ErroreIntervallo("categoria topografica sconosciuta");
}

// The four branches shared by every acceleration spectrum; eta is η for the
// elastic spectra and 1/q for the design ones. The first branch keeps Fo even
// for the vertical component, as the decree writes it: Sve(0) = ag·S·Fv/Fo.
void ControllaPeriodo(double T) {
    if (!(T >= 0 && std::isfinite(T)))
        throw ErroreIntervallo("periodo non valido: " + Testo(T));
}

double Rami(const ParametriSpettro& p, double eta, double T) {
    ControllaPeriodo(T);
    const double plateau = p.azione.ag * p.S * eta * p.F;
    if (T < p.TB)
        return plateau * (T / p.TB + 1.0 / (eta * p.azione.Fo) * (1.0 - T / p.TB));
    if (T < p.TC)
        return plateau;
    if (T < p.TD)
        return plateau * p.TC / T;
    return plateau * p.TC * p.TD / (T * T);
}

} // namespace

CategoriaSuolo LeggiCategoriaSuolo(std::string_view testo) {
    static constexpr std::pair<const char*, CategoriaSuolo> nomi[] = {
        {"A", CategoriaSuolo::A}, {"B", CategoriaSuolo::B}, {"C", CategoriaSuolo::C},
        {"D", CategoriaSuolo::D}, {"E", CategoriaSuolo::E}};
    for (const auto& [n, c] : nomi)
        if (UgualeSenzaMaiuscole(testo, n))
            return c;
    throw ErroreIntervallo("categoria di sottosuolo sconosciuta (A..E): " + std::string(testo));
}

CategoriaTopografica LeggiCategoriaTopografica(std::string_view testo) {
    static constexpr std::pair<const char*, CategoriaTopografica> nomi[] = {
        {"T1", CategoriaTopografica::T1}, {"T2", CategoriaTopografica::T2},
        {"T3", CategoriaTopografica::T3}, {"T4", CategoriaTopografica::T4}};
    for (const auto& [n, c] : nomi)
        if (UgualeSenzaMaiuscole(testo, n))
            return c;
    throw ErroreIntervallo("categoria topografica sconosciuta (T1..T4): " + std::string(testo));
}

const char* NomeCategoria(CategoriaSuolo c) {
    switch (c) {
    case CategoriaSuolo::A: return "A";
    case CategoriaSuolo::B: return "B";
    case CategoriaSuolo::C: return "C";
    case CategoriaSuolo::D: return "D";
    case CategoriaSuolo::E: return "E";
    }
    return "?";
}

const char* NomeCategoria(CategoriaTopografica c) {
    switch (c) {
    case CategoriaTopografica::T1: return "T1";
    case CategoriaTopografica::T2: return "T2";
    case CategoriaTopografica::T3: return "T3";
    case CategoriaTopografica::T4: return "T4";
    }
    return "?";
}

double FattoreSmorzamento(double smorzamentoPercento) {
    if (!(smorzamentoPercento >= 0 && smorzamentoPercento <= SmorzamentoMassimo))
        throw ErroreIntervallo("smorzamento fuori da 0.." + Testo(SmorzamentoMassimo) + " %: " +
                               Testo(smorzamentoPercento));
    return std::max(0.55, std::sqrt(10.0 / (5.0 + smorzamentoPercento)));
}

ParametriSpettro ParametriOrizzontali(const AzioneSismica& a, const CondizioniSito& s) {
    ControllaAzione(a);
    ParametriSpettro p;
    p.componente = Componente::Orizzontale;
    p.azione = a;
    const double Foag = a.Fo * a.ag;
    // SS is clamped between the subsoil's bounds; CC grows as Tc* shrinks.
    switch (s.suolo) {
    case CategoriaSuolo::A:
        p.SS = 1.0;
        p.CC = 1.0;
        p.TE = 4.5;
        break;
    case CategoriaSuolo::B:
        p.SS = std::clamp(1.40 - 0.40 * Foag, 1.00, 1.20);
        p.CC = 1.10 * std::pow(a.Tc, -0.20);
        p.TE = 5.0;
        break;
    case CategoriaSuolo::C:
        p.SS = std::clamp(1.70 - 0.60 * Foag, 1.00, 1.50);
        p.CC = 1.05 * std::pow(a.Tc, -0.33);
        p.TE = 6.0;
        break;
    case CategoriaSuolo::D:
        p.SS = std::clamp(2.40 - 1.50 * Foag, 0.90, 1.80);
        p.CC = 1.25 * std::pow(a.Tc, -0.50);
        p.TE = 6.0;
        break;
    case CategoriaSuolo::E:
        p.SS = std::clamp(2.00 - 1.10 * Foag, 1.00, 1.60);
        p.CC = 1.15 * std::pow(a.Tc, -0.40);
        p.TE = 6.0;
        break;
    default: throw ErroreIntervallo("categoria di sottosuolo sconosciuta");
    }
    p.TF = 10.0;
    p.ST = FattoreTopografico(s);
    p.S = p.SS * p.ST;
    p.eta = FattoreSmorzamento(s.smorzamento);
    p.Fv = 1.35 * a.Fo * std::sqrt(a.ag);
    p.F = a.Fo;
    p.TC = p.CC * a.Tc;
    p.TB = p.TC / 3.0;
    p.TD = 4.0 * a.ag + 1.6;
    // Only an unrealistic Tc* does this; the branches would then jump at TC.
    if (!(p.TC <= p.TD))
        throw ErroreIntervallo("TC = " + Testo(p.TC) + " s supera TD = " + Testo(p.TD) +
                               " s: Tc* fuori dall'intervallo utile");
    return p;
}

ParametriSpettro ParametriVerticali(const AzioneSismica& a, const CondizioniSito& s) {
    // The horizontal set checks every input, the subsoil included.
    ParametriSpettro p = ParametriOrizzontali(a, s);
    p.componente = Componente::Verticale;
    p.SS = 1.0;
    p.CC = 1.0;
    p.S = p.ST;
    p.F = p.Fv;
    p.TB = 0.05;
    p.TC = 0.15;
    p.TD = 1.0;
    p.TE = 0.0;
    p.TF = 0.0;
    return p;
}

ParametriSpettro Parametri(Componente c, const AzioneSismica& a, const CondizioniSito& s) {
    return c == Componente::Verticale ? ParametriVerticali(a, s) : ParametriOrizzontali(a, s);
}

double SpettroElastico(const ParametriSpettro& p, double T) { return Rami(p, p.eta, T); }

double SpettroProgetto(const ParametriSpettro& p, double q, double T) {
    if (!(q >= 1 && q <= QMassimo))
        throw ErroreIntervallo("fattore di struttura q fuori da 1.." + Testo(QMassimo) + ": " + Testo(q));
    const double Sd = Rami(p, 1.0 / q, T);
    if (p.componente == Componente::Orizzontale)
        return std::max(Sd, 0.2 * p.azione.ag);
    return Sd;
}

double SpettroProgetto(const ParametriSpettro& p, double q, double T, bool esercizio) {
    if (!esercizio)
        return SpettroProgetto(p, q, T);
    if (!(q >= 1 && q <= QMassimo)) // refused alike, though not used
        throw ErroreIntervallo("fattore di struttura q fuori da 1.." + Testo(QMassimo) + ": " + Testo(q));
    return SpettroElastico(p, T);
}

double SpettroSpostamento(const ParametriSpettro& p, double T) {
    if (p.componente != Componente::Orizzontale)
        throw ErroreIntervallo("lo spettro di spostamento è definito solo per la componente orizzontale");
    const double g = AccelerazioneGravita;
    if (T <= p.TE) {
        const double r = T / (2.0 * std::numbers::pi);
        return SpettroElastico(p, T) * g * r * r;
    }
    // 0.025 is the decree's rounding of 1/(2π)²: the law joins Se·(T/2π)² at
    // TE within 1.3 %, and reaches dg at TF.
    const double dg = 0.025 * p.azione.ag * g * p.S * p.TC * p.TD;
    ControllaPeriodo(T);
    if (T <= p.TF) {
        const double Foeta = p.azione.Fo * p.eta;
        return dg * (Foeta + (1.0 - Foeta) * (T - p.TE) / (p.TF - p.TE));
    }
    return dg;
}

std::vector<double> GrigliaPeriodi(double inizio, double fine, double passo,
                                   std::span<const double> angoli) {
    if (!(inizio >= 0 && inizio <= PeriodoMassimo))
        throw ErroreIntervallo("periodo iniziale fuori da 0.." + Testo(PeriodoMassimo) + " s: " + Testo(inizio));
    if (!(fine >= inizio && fine <= PeriodoMassimo))
        throw ErroreIntervallo("periodo finale fuori da " + Testo(inizio) + ".." + Testo(PeriodoMassimo) +
                               " s: " + Testo(fine));
    if (!(passo > 0 && std::isfinite(passo)))
        throw ErroreIntervallo("passo dei periodi non valido: " + Testo(passo));
    // A small slack keeps "0:4:0.05" from losing 4 to rounding.
    const double n = std::floor((fine - inizio) / passo + 1e-9);
    if (!(n <= 1e6))
        throw ErroreIntervallo("troppi periodi (più di un milione)");

    // (period, rank): within a cluster of near-equal periods the lowest rank
    // wins, so corners and the ends stay exact.
    std::vector<std::pair<double, int>> c;
    c.reserve(static_cast<std::size_t>(n) + 2 + 5 * angoli.size());
    c.emplace_back(inizio, 0);
    c.emplace_back(fine, 0);
    for (const double a : angoli) {
        if (!std::isfinite(a))
            continue;
        for (int d = -2; d <= 2; ++d) {
            const double t = a + d * passo / 5.0;
            if (t >= inizio && t <= fine)
                c.emplace_back(t, d == 0 ? 0 : 2);
        }
    }
    for (long k = 1; k <= static_cast<long>(n); ++k)
        c.emplace_back(inizio + static_cast<double>(k) * passo, 1);
    std::sort(c.begin(), c.end());

    const double tolleranza = passo * 1e-6;
    std::vector<double> t;
    t.reserve(c.size());
    for (std::size_t i = 0; i < c.size();) {
        std::size_t j = i, migliore = i;
        for (; j < c.size() && c[j].first - c[i].first <= tolleranza; ++j)
            if (c[j].second < c[migliore].second)
                migliore = j;
        t.push_back(c[migliore].first);
        i = j;
    }
    return t;
}

std::vector<double> GrigliaPeriodi(const ParametriSpettro& p) {
    const double angoli[] = {p.TB, p.TC, p.TD};
    return GrigliaPeriodi(0.0, 4.0, 0.05, angoli);
}

SpettriStato CalcolaSpettri(const AzioneSismica& a, const CondizioniSito& s, double q,
                            std::span<const double> periodi, bool esercizio) {
    SpettriStato r;
    r.orizzontale = ParametriOrizzontali(a, s);
    r.verticale = ParametriVerticali(a, s);
    r.q = q;
    r.esercizio = esercizio;
    r.punti.reserve(periodi.size());
    for (const double T : periodi) {
        r.punti.push_back({T, SpettroElastico(r.orizzontale, T), SpettroElastico(r.verticale, T),
                           SpettroProgetto(r.orizzontale, q, T, esercizio),
                           SpettroProgetto(r.verticale, q, T, esercizio), SpettroSpostamento(r.orizzontale, T)});
    }
    if (periodi.empty())
        SpettroProgetto(r.orizzontale, q, 0.0, esercizio); // still reject a bad q
    return r;
}

} // namespace veltrano
