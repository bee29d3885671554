#include "outputs/spettri_sito.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace veltrano::uscite {

const std::array<mappa::TColore, 4> ColoriStati{mappa::RGBWin(44, 160, 44), mappa::RGBWin(31, 119, 180),
                                               mappa::RGBWin(255, 127, 14), mappa::RGBWin(214, 39, 40)};

namespace {

// The shortest text that reads back as v, "." decimals.
std::string Breve(double v) {
    char b[64];
    const auto r = std::to_chars(b, b + sizeof b, v);
    return std::string(b, r.ptr);
}

std::string Fisso(double v, int decimali) {
    char b[64];
    const auto r = std::to_chars(b, b + sizeof b, v, std::chars_format::fixed, decimali);
    std::string s(b, r.ptr);
    if (s.find_first_not_of("-0.") == std::string::npos && !s.empty() && s[0] == '-')
        s.erase(0, 1); // no "-0.000"
    return s;
}

std::vector<double> Periodi(const TSceltaSpettri& s, const std::vector<double>& angoli) {
    if (s.periodi)
        return GrigliaPeriodi((*s.periodi)[0], (*s.periodi)[1], (*s.periodi)[2]);
    return GrigliaPeriodi(0.0, 4.0, 0.05, angoli);
}

std::string Topografia(const CondizioniSito& c, bool virgola) {
    if (c.ST)
        return "ST " + (virgola ? NumeroVirgola(*c.ST) : Breve(*c.ST));
    return std::string("topografia ") + NomeCategoria(c.topografia);
}

double Valore(const ParametriSpettro& p, const TSceltaSpettri& s, bool esercizio, double T) {
    return s.tipo == TTipoSpettro::Elastico ? SpettroElastico(p, T) : SpettroProgetto(p, s.q, T, esercizio);
}

} // namespace

bool StatoEsercizio(const std::string& nome) { return nome == "SLO" || nome == "SLD"; }

std::string NumeroVirgola(double n) {
    std::string t = Breve(n);
    std::replace(t.begin(), t.end(), '.', ',');
    return t;
}

TGrafico GraficoSpettri(const std::vector<TStatoSpettro>& stati, const TSceltaSpettri& s) {
    const bool orizzontale = s.componente == Componente::Orizzontale;
    const bool elastico = s.tipo == TTipoSpettro::Elastico;
    TGrafico g;
    g.titolo = std::string("Spettri di risposta ") + (elastico ? "elastici" : "di progetto") + " - componente " +
               (orizzontale ? "orizzontale" : "verticale");
    g.sottotitolo = std::string("Suolo ") + NomeCategoria(s.sito.suolo) + ", " + Topografia(s.sito, true) +
                    ", smorzamento " + NumeroVirgola(s.sito.smorzamento) + "%";
    if (!elastico)
        g.sottotitolo += ", q " + NumeroVirgola(s.q) + " (SLO e SLD elastici)";
    g.etichettaX = "Periodo T [s]";
    g.etichettaY = elastico ? (orizzontale ? "Se [g]" : "Sve [g]") : (orizzontale ? "Sd [g]" : "Svd [g]");
    for (std::size_t i = 0; i < stati.size(); ++i) {
        const TStatoSpettro& st = stati[i];
        const ParametriSpettro p = Parametri(s.componente, st.azione, s.sito);
        TSerieGrafico serie;
        serie.nome = st.TR > 0 ? st.nome + " (TR " + std::to_string(st.TR) + ")" : st.nome;
        serie.colore = stati.size() == ColoriStati.size() ? ColoriStati[i] : ColoriStati[1];
        const bool esercizio = StatoEsercizio(st.nome);
        for (const double T : Periodi(s, {p.TB, p.TC, p.TD}))
            serie.punti.emplace_back(T, Valore(p, s, esercizio, T));
        g.serie.push_back(std::move(serie));
    }
    return g;
}

std::string CsvSpettri(const std::vector<TStatoSpettro>& stati, const TSceltaSpettri& s,
                       const std::string& descrizione) {
    const std::string fine = "\r\n";
    std::string t = "# Spettri di risposta, D.M. 14/01/2008" + fine;
    if (!descrizione.empty())
        t += "# " + descrizione + fine;
    t += std::string("# suolo ") + NomeCategoria(s.sito.suolo) + ", " + Topografia(s.sito, false) +
         ", smorzamento " + Breve(s.sito.smorzamento) + " %, q " + Breve(s.q) + fine;
    std::vector<ParametriSpettro> oriz, vert;
    std::vector<double> angoli;
    for (const TStatoSpettro& st : stati) {
        oriz.push_back(ParametriOrizzontali(st.azione, s.sito));
        vert.push_back(ParametriVerticali(st.azione, s.sito));
        angoli.insert(angoli.end(), {oriz.back().TB, oriz.back().TC, oriz.back().TD, vert.back().TB,
                                     vert.back().TC, vert.back().TD});
        t += "# " + st.nome + (st.TR > 0 ? ": TR " + std::to_string(st.TR) + " anni," : ":") + " ag " +
             Fisso(st.azione.ag, 4) + " g, Fo " + Fisso(st.azione.Fo, 4) + ", Tc* " + Fisso(st.azione.Tc, 4) +
             " s" + (StatoEsercizio(st.nome) ? " (spettri di progetto elastici)" : "") + fine;
    }
    t += "T_s";
    for (const TStatoSpettro& st : stati)
        for (const char* c : {"Se_g", "Sve_g", "Sd_g", "Svd_g"})
            t += "," + st.nome + "_" + c;
    t += fine;
    for (const double T : Periodi(s, angoli)) {
        t += Fisso(T, 4);
        for (std::size_t i = 0; i < stati.size(); ++i) {
            const bool esercizio = StatoEsercizio(stati[i].nome);
            t += "," + Fisso(SpettroElastico(oriz[i], T), 6) + "," + Fisso(SpettroElastico(vert[i], T), 6) + "," +
                 Fisso(SpettroProgetto(oriz[i], s.q, T, esercizio), 6) + "," +
                 Fisso(SpettroProgetto(vert[i], s.q, T, esercizio), 6);
        }
        t += fine;
    }
    return t;
}

} // namespace veltrano::uscite
