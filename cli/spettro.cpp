#include "cli/spettro.h"

#include "cli/argomenti.h"
#include "cli/grafico.h"
#include "cli/sito.h"
#include "core/spettri.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <optional>

namespace veltrano::cli {

namespace {

constexpr const char* Uso =
    "uso: veltrano spettro (--lon X --lat Y [opzioni del sito] | --ag AG --fo FO --tc TC)\n"
    "                      [opzioni dello spettro]\n"
    "\n"
    "Spettri di risposta del D.M. 14/01/2008 (par. 3.2.3) per uno stato limite.\n"
    "\n"
    "Sito (pericolosità dalla griglia nazionale):\n"
    "  --lon X, --lat Y      longitudine e latitudine [gradi], ED50\n"
    "  --wgs84               coordinate WGS84 invece di ED50\n"
    "  --vn ANNI             vita nominale (predefinita 50)\n"
    "  --classe C            classe d'uso 1..4 o I..IV (predefinita 2)\n"
    "  --dati CARTELLA       cartella di GeoDati.dat (predefinita: quella del programma)\n"
    "  --stato S             stato limite della tabella: SLO, SLD, SLV, SLC (predefinito SLV)\n"
    "Parametri dati direttamente (un solo stato limite):\n"
    "  --ag AG               accelerazione orizzontale massima su roccia [g]\n"
    "  --fo FO               fattore di amplificazione massima\n"
    "  --tc TC               Tc* [s]\n"
    "  --stato S             nome dello stato limite (predefinito \"utente\")\n"
    "Spettro:\n"
    "  --suolo A..E          categoria di sottosuolo (predefinita A)\n"
    "  --topografia T1..T4   categoria topografica, ST in sommità (predefinita T1)\n"
    "  --st ST               coefficiente topografico dato, 1..1.4 (invece di --topografia)\n"
    "  --smorzamento XI      smorzamento viscoso [%] (predefinito 5)\n"
    "  --q Q                 fattore di struttura degli spettri di progetto (predefinito 1)\n"
    "  --componente C        orizzontale o verticale (predefinite entrambe)\n"
    "  --periodi I:F:P       periodi da I a F con passo P [s]; senza, 0..4 s con passo\n"
    "                        0.05 s, più fitti attorno ai periodi d'angolo\n"
    "  --formato F           csv (predefinito) o json\n"
    "  --grafico FILE        grafico degli spettri elastici dei quattro stati limite\n"
    "                        (FILE.svg o FILE.png)\n"
    "\n"
    "Colonne CSV (punto decimale; righe \"# \" di intestazione con i dati):\n"
    "  T_s    periodo [s]\n"
    "  Se_g   spettro elastico orizzontale [g]\n"
    "  Sve_g  spettro elastico verticale [g]\n"
    "  Sd_g   spettro di progetto orizzontale, non minore di 0.2 ag [g]\n"
    "  Svd_g  spettro di progetto verticale [g]\n"
    "  SDe_m  spettro elastico di spostamento orizzontale [m] (g = 9.80665 m/s2)\n"
    "Con --componente restano le colonne di quella componente.\n"
    "Codici di uscita: 0 riuscito, 2 uso errato o dati fuori intervallo, 1 altri errori.\n";

constexpr std::array<const char*, 4> NomiStati{"SLO", "SLD", "SLV", "SLC"};
// One colour per limit state, from the mildest to the most severe.
constexpr std::array<Colore, 4> ColoriStati{
    Colore{44, 160, 44}, Colore{31, 119, 180}, Colore{255, 127, 14}, Colore{214, 39, 40}};

struct StatoCalcolo {
    std::string nome;
    int TR = 0; // 0: given directly
    AzioneSismica azione;
};

struct Richiesta {
    std::vector<StatoCalcolo> stati;
    std::size_t scelto = 0; // the limit state of the table
    CondizioniSito sito;
    double q = 1;
    std::optional<Componente> componente; // none: both
    bool json = false;
    std::optional<std::array<double, 3>> periodi;
    std::optional<std::filesystem::path> grafico;
    // Site mode only.
    std::optional<std::array<double, 2>> lonLat;
    bool wgs84 = false;
    long vn = 0, classe = 0;
};

std::string Fisso(double v, int decimali) {
    char b[64];
    const auto r = std::to_chars(b, b + sizeof b, v, std::chars_format::fixed, decimali);
    std::string s(b, r.ptr);
    if (s[0] == '-' && s.find_first_not_of("-0.") == std::string::npos)
        s.erase(0, 1); // no "-0.000"
    return s;
}

std::string Breve(double v) {
    char b[64];
    const auto r = std::to_chars(b, b + sizeof b, v);
    return std::string(b, r.ptr);
}

long LeggiClasse(const std::string& t) {
    static constexpr std::array<std::pair<const char*, long>, 8> nomi{
        {{"1", 1}, {"2", 2}, {"3", 3}, {"4", 4}, {"I", 1}, {"II", 2}, {"III", 3}, {"IV", 4}}};
    std::string m = t;
    for (char& c : m)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    for (const auto& [n, v] : nomi)
        if (m == n)
            return v;
    throw ErroreUso("--classe: \"" + t + "\" non è una classe d'uso (1..4 o I..IV)");
}

std::array<double, 3> LeggiPeriodi(const std::string& t) {
    const auto a = t.find(':');
    const auto b = a == std::string::npos ? a : t.find(':', a + 1);
    if (b == std::string::npos || t.find(':', b + 1) != std::string::npos)
        throw ErroreUso("--periodi: \"" + t + "\" non è nella forma inizio:fine:passo");
    return {ConvertiNumero(t.substr(0, a), "--periodi (inizio)"),
            ConvertiNumero(t.substr(a + 1, b - a - 1), "--periodi (fine)"),
            ConvertiNumero(t.substr(b + 1), "--periodi (passo)")};
}

long Intero(const std::string& t, const std::string& nome, long min, long max) {
    long v = 0;
    const auto [p, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
    if (ec != std::errc() || p != t.data() + t.size() || t.empty() || v < min || v > max)
        throw ErroreUso(nome + ": \"" + t + "\" non è un intero tra " + std::to_string(min) +
                        " e " + std::to_string(max));
    return v;
}

std::size_t IndiceStato(const std::string& t) {
    for (std::size_t i = 0; i < NomiStati.size(); ++i)
        if (t == NomiStati[i])
            return i;
    throw ErroreUso("--stato: \"" + t + "\" non è uno stato limite (SLO, SLD, SLV, SLC)");
}

Richiesta LeggiRichiesta(Argomenti& a) {
    Richiesta r;
    const auto lon = a.Testo("--lon"), lat = a.Testo("--lat");
    const bool wgs84 = a.Flag("--wgs84");
    const auto vn = a.Testo("--vn"), classe = a.Testo("--classe"), dati = a.Testo("--dati");
    const auto ag = a.Testo("--ag"), fo = a.Testo("--fo"), tc = a.Testo("--tc");
    const auto stato = a.Testo("--stato");
    const bool sito = lon || lat, diretti = ag || fo || tc;

    if (sito && diretti)
        throw ErroreUso("indicare il sito (--lon, --lat) oppure --ag, --fo e --tc, non entrambi");
    if (!sito && !diretti)
        throw ErroreUso("indicare il sito (--lon e --lat) oppure --ag, --fo e --tc (--help per l'uso)");

    // The table shows SLV unless told otherwise; a direct input names its one state.
    if (stato)
        IndiceStato(*stato);

    r.sito.suolo = LeggiCategoriaSuolo(a.Testo("--suolo").value_or("A"));
    const auto topografia = a.Testo("--topografia");
    const auto st = a.Testo("--st");
    if (topografia && st)
        throw ErroreUso("--topografia e --st non vanno insieme");
    if (topografia)
        r.sito.topografia = LeggiCategoriaTopografica(*topografia);
    if (st)
        r.sito.ST = ConvertiNumero(*st, "--st");
    r.sito.smorzamento = a.Numero("--smorzamento", 5.0);
    r.q = a.Numero("--q", 1.0);
    if (const auto c = a.Testo("--componente")) {
        if (*c == "orizzontale")
            r.componente = Componente::Orizzontale;
        else if (*c == "verticale")
            r.componente = Componente::Verticale;
        else
            throw ErroreUso("--componente: \"" + *c + "\" non è orizzontale o verticale");
    }
    if (const auto f = a.Testo("--formato")) {
        if (*f != "csv" && *f != "json")
            throw ErroreUso("--formato: \"" + *f + "\" non è csv o json");
        r.json = *f == "json";
    }
    if (const auto p = a.Testo("--periodi"))
        r.periodi = LeggiPeriodi(*p);
    if (const auto g = a.Testo("--grafico")) {
        if (!FormatoGraficoNoto(*g))
            throw ErroreUso("--grafico: \"" + *g + "\" deve finire in .svg o .png");
        r.grafico = *g;
    }
    a.ControllaFine();

    if (diretti) {
        if (wgs84 || vn || classe || dati)
            throw ErroreUso("--wgs84, --vn, --classe e --dati valgono solo con --lon e --lat");
        if (!ag || !fo || !tc)
            throw ErroreUso("servono --ag, --fo e --tc insieme");
        r.stati.push_back({stato.value_or("utente"), 0,
                           {ConvertiNumero(*ag, "--ag"), ConvertiNumero(*fo, "--fo"),
                            ConvertiNumero(*tc, "--tc")}});
        return r;
    }

    if (!lon || !lat)
        throw ErroreUso("servono --lon e --lat insieme");
    r.lonLat = {ConvertiNumero(*lon, "--lon"), ConvertiNumero(*lat, "--lat")};
    r.wgs84 = wgs84;
    r.vn = vn ? Intero(*vn, "--vn", 1, 100000) : 50;
    r.classe = classe ? LeggiClasse(*classe) : 2;
    const auto sitoDati = ParametriSito(dati ? std::filesystem::path(*dati) : CartellaDatiPredefinita(),
                                        r.lonLat->at(0), r.lonLat->at(1), r.wgs84,
                                        static_cast<int>(r.vn), static_cast<int>(r.classe));
    for (const auto& s : sitoDati)
        r.stati.push_back({s.nome, s.TR, {s.ag, s.Fo, s.Tc}});
    const std::string voluto = stato.value_or("SLV");
    const auto trovato = std::find_if(r.stati.begin(), r.stati.end(),
                                      [&](const StatoCalcolo& s) { return s.nome == voluto; });
    if (trovato == r.stati.end())
        throw Errore("stato limite " + voluto + " assente nei dati del sito");
    r.scelto = static_cast<std::size_t>(trovato - r.stati.begin());
    return r;
}

// A given grid is used as it is; the default one gets the corners of the
// components shown.
std::vector<double> Periodi(const Richiesta& r, const AzioneSismica& a) {
    if (r.periodi)
        return GrigliaPeriodi((*r.periodi)[0], (*r.periodi)[1], (*r.periodi)[2]);
    std::vector<double> angoli;
    for (const Componente c : {Componente::Orizzontale, Componente::Verticale})
        if (!r.componente || *r.componente == c) {
            const ParametriSpettro p = Parametri(c, a, r.sito);
            angoli.insert(angoli.end(), {p.TB, p.TC, p.TD});
        }
    return GrigliaPeriodi(0.0, 4.0, 0.05, angoli);
}

// The table's columns: name, unit-suffixed header, getter.
struct Colonna {
    const char* chiave;
    const char* intestazione;
    double PuntoSpettro::*campo;
    Componente componente;
};
constexpr std::array<Colonna, 5> Colonne{{
    {"Se", "Se_g", &PuntoSpettro::Se, Componente::Orizzontale},
    {"Sve", "Sve_g", &PuntoSpettro::Sve, Componente::Verticale},
    {"Sd", "Sd_g", &PuntoSpettro::Sd, Componente::Orizzontale},
    {"Svd", "Svd_g", &PuntoSpettro::Svd, Componente::Verticale},
    {"SDe", "SDe_m", &PuntoSpettro::SDe, Componente::Orizzontale},
}};

bool Mostra(const Richiesta& r, Componente c) { return !r.componente || *r.componente == c; }

std::string Topografia(const CondizioniSito& s) {
    return s.ST ? "ST dato " + Breve(*s.ST) : std::string(NomeCategoria(s.topografia));
}

void ScriviCsv(const Richiesta& r, const SpettriStato& s, std::ostream& out) {
    const StatoCalcolo& st = r.stati[r.scelto];
    out << "# veltrano spettro: spettri di risposta, D.M. 14/01/2008\n";
    if (r.lonLat)
        out << "# sito: lon " << Fisso((*r.lonLat)[0], 6) << ", lat " << Fisso((*r.lonLat)[1], 6)
            << (r.wgs84 ? " (WGS84)" : " (ED50)") << ", VN " << std::to_string(r.vn)
            << " anni, classe d'uso " << std::to_string(r.classe) << "\n";
    out << "# stato limite: " << st.nome;
    if (st.TR > 0)
        out << ", TR " << std::to_string(st.TR) << " anni";
    out << "\n# ag " << Fisso(st.azione.ag, 4) << " g, Fo " << Fisso(st.azione.Fo, 4) << ", Tc* "
        << Fisso(st.azione.Tc, 4) << " s\n";
    out << "# suolo " << NomeCategoria(r.sito.suolo) << ", topografia " << Topografia(r.sito)
        << ", smorzamento " << Breve(r.sito.smorzamento) << " %, q " << Breve(r.q) << "\n";
    const auto& o = s.orizzontale;
    const auto& v = s.verticale;
    if (Mostra(r, Componente::Orizzontale))
        out << "# orizzontale: SS " << Fisso(o.SS, 4) << ", CC " << Fisso(o.CC, 4) << ", ST "
            << Fisso(o.ST, 2) << ", S " << Fisso(o.S, 4) << ", eta " << Fisso(o.eta, 4) << ", TB "
            << Fisso(o.TB, 4) << " s, TC " << Fisso(o.TC, 4) << " s, TD " << Fisso(o.TD, 4)
            << " s\n";
    if (Mostra(r, Componente::Verticale))
        out << "# verticale: SS " << Fisso(v.SS, 4) << ", ST " << Fisso(v.ST, 2) << ", S "
            << Fisso(v.S, 4) << ", eta " << Fisso(v.eta, 4) << ", Fv " << Fisso(v.Fv, 4) << ", TB "
            << Fisso(v.TB, 4) << " s, TC " << Fisso(v.TC, 4) << " s, TD " << Fisso(v.TD, 4)
            << " s\n";
    out << "T_s";
    for (const auto& c : Colonne)
        if (Mostra(r, c.componente))
            out << ',' << c.intestazione;
    out << '\n';
    for (const auto& p : s.punti) {
        out << Fisso(p.T, 4);
        for (const auto& c : Colonne)
            if (Mostra(r, c.componente))
                out << ',' << Fisso(p.*c.campo, 6);
        out << '\n';
    }
}

std::string Stringa(const std::string& s) {
    std::string r = "\"";
    for (const char c : s) {
        if (c == '"' || c == '\\')
            r += '\\';
        if (static_cast<unsigned char>(c) < 0x20) {
            char b[8];
            std::snprintf(b, sizeof b, "\\u%04x", static_cast<unsigned>(c));
            r += b;
            continue;
        }
        r += c;
    }
    return r + "\"";
}

void ScriviJson(const Richiesta& r, const SpettriStato& s, std::ostream& out) {
    const StatoCalcolo& st = r.stati[r.scelto];
    out << "{\n";
    if (r.lonLat)
        out << "  \"sito\": {\"lon\": " << Breve((*r.lonLat)[0]) << ", \"lat\": "
            << Breve((*r.lonLat)[1]) << ", \"datum\": " << (r.wgs84 ? "\"WGS84\"" : "\"ED50\"")
            << ", \"VN\": " << std::to_string(r.vn) << ", \"classe_uso\": " << std::to_string(r.classe)
            << "},\n";
    out << "  \"stato_limite\": " << Stringa(st.nome) << ",\n";
    out << "  \"TR\": " << (st.TR > 0 ? std::to_string(st.TR) : "null") << ",\n";
    out << "  \"ag\": " << Breve(st.azione.ag) << ", \"Fo\": " << Breve(st.azione.Fo)
        << ", \"Tc\": " << Breve(st.azione.Tc) << ",\n";
    out << "  \"suolo\": \"" << NomeCategoria(r.sito.suolo) << "\", \"topografia\": "
        << (r.sito.ST ? "null" : Stringa(NomeCategoria(r.sito.topografia)))
        << ", \"smorzamento\": " << Breve(r.sito.smorzamento) << ", \"q\": " << Breve(r.q) << ",\n";
    for (const auto* p : {&s.orizzontale, &s.verticale}) {
        if (!Mostra(r, p->componente))
            continue;
        out << "  \"" << (p->componente == Componente::Orizzontale ? "orizzontale" : "verticale")
            << "\": {\"SS\": " << Breve(p->SS) << ", \"CC\": " << Breve(p->CC)
            << ", \"ST\": " << Breve(p->ST) << ", \"S\": " << Breve(p->S)
            << ", \"eta\": " << Breve(p->eta)
            << (p->componente == Componente::Orizzontale ? ", \"Fo\": " : ", \"Fv\": ") << Breve(p->F)
            << ", \"TB\": " << Breve(p->TB) << ", \"TC\": " << Breve(p->TC)
            << ", \"TD\": " << Breve(p->TD) << "},\n";
    }
    out << "  \"punti\": [";
    for (std::size_t i = 0; i < s.punti.size(); ++i) {
        const auto& p = s.punti[i];
        out << (i ? ",\n    " : "\n    ") << "{\"T\": " << Breve(p.T);
        for (const auto& c : Colonne)
            if (Mostra(r, c.componente))
                out << ", \"" << c.chiave << "\": " << Breve(p.*c.campo);
        out << '}';
    }
    out << "\n  ]\n}\n";
}

Grafico CreaGrafico(const Richiesta& r) {
    const Componente c = r.componente.value_or(Componente::Orizzontale);
    const bool orizzontale = c == Componente::Orizzontale;
    Grafico g;
    // Comma decimals, as on the chart's axes.
    const auto virgola = [](std::string t) {
        std::replace(t.begin(), t.end(), '.', ',');
        return t;
    };
    g.titolo = std::string("Spettri di risposta elastici - componente ") +
               (orizzontale ? "orizzontale" : "verticale");
    g.sottotitolo = std::string("Suolo ") + NomeCategoria(r.sito.suolo) + ", " +
                    (r.sito.ST ? "ST " + virgola(Breve(*r.sito.ST))
                               : std::string("topografia ") + NomeCategoria(r.sito.topografia)) +
                    ", smorzamento " + virgola(Breve(r.sito.smorzamento)) + "%";
    g.etichettaX = "Periodo T [s]";
    g.etichettaY = orizzontale ? "Se [g]" : "Sve [g]";
    for (std::size_t i = 0; i < r.stati.size(); ++i) {
        const auto& st = r.stati[i];
        const ParametriSpettro p = Parametri(c, st.azione, r.sito);
        const auto periodi = r.periodi ? GrigliaPeriodi((*r.periodi)[0], (*r.periodi)[1], (*r.periodi)[2])
                                       : GrigliaPeriodi(0.0, 4.0, 0.05, std::array{p.TB, p.TC, p.TD});
        Serie s;
        s.nome = st.TR > 0 ? st.nome + " (TR " + std::to_string(st.TR) + ")" : st.nome;
        s.colore = r.stati.size() == NomiStati.size() ? ColoriStati[i] : ColoriStati[1];
        for (const double T : periodi)
            s.punti.emplace_back(T, SpettroElastico(p, T));
        g.serie.push_back(std::move(s));
    }
    return g;
}

} // namespace

int ComandoSpettro(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    try {
        Argomenti a(args);
        if (a.Flag("--help")) {
            out << Uso;
            return 0;
        }
        const Richiesta r = LeggiRichiesta(a);
        const StatoCalcolo& st = r.stati[r.scelto];
        const SpettriStato s = CalcolaSpettri(st.azione, r.sito, r.q, Periodi(r, st.azione));
        // The chart first: a failure then leaves no table on out.
        if (r.grafico)
            SalvaGrafico(CreaGrafico(r), *r.grafico);
        if (r.json)
            ScriviJson(r, s, out);
        else
            ScriviCsv(r, s, out);
        out.flush();
        return 0;
    } catch (const ErroreUso& e) {
        err << "veltrano spettro: " << e.what() << '\n';
        return 2;
    } catch (const ErroreIntervallo& e) {
        err << "veltrano spettro: " << e.what() << '\n';
        return 2;
    } catch (const std::exception& e) {
        err << "veltrano spettro: " << e.what() << '\n';
        return 1;
    }
}

} // namespace veltrano::cli
