// "veltrano spettro": response spectra of a site, or of given ag, Fo and Tc*,
// as a CSV or JSON table, optionally with a chart (PNG, SVG or PDF) that the
// Qt plugin draws from the toolkit-free layout of outputs/grafico.h.
#include "cli/comandi.h"
#include "cli/formato.h"
#include "cli/plugin_qt.h"
#include "cli/sito.h"
#include "core/spettri.h"
#include "outputs/grafico_plugin.h"
#include "outputs/spettri_sito.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <optional>
#include <ostream>
#include <sstream>

namespace veltrano::cli {

namespace {

constexpr const char* UsoSpettro =
    "uso: veltrano spettro (--lon X --lat Y [opzioni del sito] | --ag AG --fo FO --tc TC)\n"
    "                      [opzioni dello spettro]\n"
    "\n"
    "Spettri di risposta del D.M. 14/01/2008 (par. 3.2.3) per uno stato limite.\n"
    "\n"
    "Sito (pericolosità dalla griglia nazionale):\n"
    "  --lon X, --lat Y      longitudine e latitudine [gradi], ED50\n"
    "  --wgs84               coordinate WGS84 invece di ED50\n"
    "  --vn ANNI             vita nominale, 0..10000 (predefinita 50)\n"
    "  --classe C            classe d'uso 1..4 o I..IV (predefinita 2)\n"
    "  --dati CARTELLA       cartella di GeoDati.dat (predefinita: quella del programma)\n"
    "  --stato S             stato limite della tabella: SLO, SLD, SLV, SLC (predefinito SLV)\n"
    "Parametri dati direttamente (un solo stato limite):\n"
    "  --ag AG               accelerazione orizzontale massima su roccia, 0..3 [g]\n"
    "  --fo FO               fattore di amplificazione massima, oltre 0 fino a 10\n"
    "  --tc TC               Tc*, oltre 0 fino a 2 [s]\n"
    "  --stato S             nome dello stato limite (predefinito \"utente\")\n"
    "Spettro:\n"
    "  --suolo A..E          categoria di sottosuolo (predefinita A)\n"
    "  --topografia T1..T4   categoria topografica, ST in sommità (predefinita T1)\n"
    "  --st ST               coefficiente topografico dato, 1..1.4 (invece di --topografia)\n"
    "  --smorzamento XI      smorzamento viscoso, 0..100 [%] (predefinito 5)\n"
    "  --q Q                 fattore di struttura degli spettri di progetto di SLV e\n"
    "                        SLC, 1..20 (predefinito 1)\n"
    "  --componente C        orizzontale o verticale (predefinite entrambe)\n"
    "  --periodi I:F:P       periodi da I a F con passo P [s], F fino a 10 s; senza,\n"
    "                        0..4 s con passo 0.05 s, più fitti attorno ai periodi\n"
    "                        d'angolo (gli spettri in accelerazione valgono fino a 4 s)\n"
    "  --formato F           csv (predefinito) o json\n"
    "  --grafico FILE        grafico degli spettri elastici dei quattro stati limite\n"
    "                        (FILE.png, FILE.svg o FILE.pdf; serve il modulo Qt\n"
    "                        libVeltrano_dialogo_qt.so, come per veltrano dialogo)\n"
    "\n"
    "Colonne CSV (punto decimale; righe \"# \" di intestazione con i dati):\n"
    "  T_s    periodo [s]\n"
    "  Se_g   spettro elastico orizzontale [g]\n"
    "  Sve_g  spettro elastico verticale [g]\n"
    "  Sd_g   spettro di progetto orizzontale [g]: a SLV e SLC quello elastico con\n"
    "         1/q al posto di eta, non minore di 0.2 ag; a SLO e SLD quello elastico\n"
    "  Svd_g  spettro di progetto verticale [g], con la stessa regola\n"
    "  SDe_m  spettro elastico di spostamento orizzontale [m] (g = 9.80665 m/s2)\n"
    "Con --componente restano le colonne di quella componente.\n"
    "Codici di uscita: 0 riuscito, 2 uso errato o dati fuori intervallo, 1 altri errori.\n";

constexpr std::array<const char*, 4> NomiStati{"SLO", "SLD", "SLV", "SLC"};

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

std::array<double, 3> LeggiPeriodi(const std::string& t) {
    const auto a = t.find(':');
    const auto b = a == std::string::npos ? a : t.find(':', a + 1);
    if (b == std::string::npos || t.find(':', b + 1) != std::string::npos)
        throw ErroreUso("--periodi: \"" + t + "\" non è nella forma inizio:fine:passo");
    return {ConvertiNumero(t.substr(0, a), "--periodi (inizio)"),
            ConvertiNumero(t.substr(a + 1, b - a - 1), "--periodi (fine)"),
            ConvertiNumero(t.substr(b + 1), "--periodi (passo)")};
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
        if (!uscite::FormatoGraficoNoto(*g))
            throw ErroreUso("--grafico: \"" + Citazione(*g) + "\" deve finire in .png, .svg o .pdf");
        r.grafico = *g;
    }
    a.ControllaFine();

    if (diretti) {
        if (wgs84 || vn || classe || dati)
            throw ErroreUso("--wgs84, --vn, --classe e --dati valgono solo con --lon e --lat");
        if (!ag || !fo || !tc)
            throw ErroreUso("servono --ag, --fo e --tc insieme");
        const AzioneSismica azione{ConvertiNumero(*ag, "--ag"), ConvertiNumero(*fo, "--fo"),
                                   ConvertiNumero(*tc, "--tc")};
        r.stati.push_back({stato.value_or("utente"), 0, azione});
        return r;
    }

    if (!lon || !lat)
        throw ErroreUso("servono --lon e --lat insieme");
    const SitoDato sd{ConvertiNumero(*lon, "--lon"), ConvertiNumero(*lat, "--lat"), wgs84};
    ControllaCoordinate(sd.lon, sd.lat);
    r.lonLat = {sd.lon, sd.lat};
    r.wgs84 = wgs84;
    r.vn = vn ? ConvertiIntero(*vn, "--vn", 0, VitaNominaleMassima) : 50;
    try {
        r.classe = classe ? ClasseUso(*classe) : 2;
    } catch (const ErroreUso& e) {
        throw ErroreUso(std::string("--classe: ") + e.what());
    }
    const RisultatoSito rs = CalcolaRisultatoSito(dati ? std::filesystem::path(*dati) : CartellaDatiPredefinita(),
                                                  sd, static_cast<int>(r.vn), static_cast<int>(r.classe));
    for (const auto& s : StatiLimite(rs))
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
    return s.ST ? "ST dato " + TestoReale(*s.ST) : std::string(NomeCategoria(s.topografia));
}

void ScriviCsv(const Richiesta& r, const SpettriStato& s, std::ostream& out) {
    const StatoCalcolo& st = r.stati[r.scelto];
    out << "# veltrano spettro: spettri di risposta, D.M. 14/01/2008\n";
    if (r.lonLat)
        out << "# sito: lon " << TestoFisso((*r.lonLat)[0], 6) << ", lat " << TestoFisso((*r.lonLat)[1], 6)
            << (r.wgs84 ? " (WGS84)" : " (ED50)") << ", VN " << std::to_string(r.vn)
            << " anni, classe d'uso " << std::to_string(r.classe) << "\n";
    out << "# stato limite: " << st.nome;
    if (st.TR > 0)
        out << ", TR " << std::to_string(st.TR) << " anni";
    out << "\n# ag " << TestoFisso(st.azione.ag, 4) << " g, Fo " << TestoFisso(st.azione.Fo, 4) << ", Tc* "
        << TestoFisso(st.azione.Tc, 4) << " s\n";
    out << "# suolo " << NomeCategoria(r.sito.suolo) << ", topografia " << Topografia(r.sito)
        << ", smorzamento " << TestoReale(r.sito.smorzamento) << " %, q " << TestoReale(r.q) << "\n";
    if (s.esercizio)
        out << "# stato limite di esercizio: gli spettri di progetto sono quelli elastici\n";
    const auto& o = s.orizzontale;
    const auto& v = s.verticale;
    if (Mostra(r, Componente::Orizzontale))
        out << "# orizzontale: SS " << TestoFisso(o.SS, 4) << ", CC " << TestoFisso(o.CC, 4) << ", ST "
            << TestoFisso(o.ST, 2) << ", S " << TestoFisso(o.S, 4) << ", eta " << TestoFisso(o.eta, 4) << ", TB "
            << TestoFisso(o.TB, 4) << " s, TC " << TestoFisso(o.TC, 4) << " s, TD " << TestoFisso(o.TD, 4)
            << " s\n";
    if (Mostra(r, Componente::Verticale))
        out << "# verticale: SS " << TestoFisso(v.SS, 4) << ", ST " << TestoFisso(v.ST, 2) << ", S "
            << TestoFisso(v.S, 4) << ", eta " << TestoFisso(v.eta, 4) << ", Fv " << TestoFisso(v.Fv, 4) << ", TB "
            << TestoFisso(v.TB, 4) << " s, TC " << TestoFisso(v.TC, 4) << " s, TD " << TestoFisso(v.TD, 4)
            << " s\n";
    out << "T_s";
    for (const auto& c : Colonne)
        if (Mostra(r, c.componente))
            out << ',' << c.intestazione;
    out << '\n';
    for (const auto& p : s.punti) {
        out << TestoFisso(p.T, 4);
        for (const auto& c : Colonne)
            if (Mostra(r, c.componente))
                out << ',' << TestoFisso(p.*c.campo, 6);
        out << '\n';
    }
}

void ScriviJson(const Richiesta& r, const SpettriStato& s, std::ostream& out) {
    const StatoCalcolo& st = r.stati[r.scelto];
    Json j;
    if (r.lonLat)
        j["sito"] = {{"lon", (*r.lonLat)[0]},
                     {"lat", (*r.lonLat)[1]},
                     {"datum", r.wgs84 ? "WGS84" : "ED50"},
                     {"VN", r.vn},
                     {"classe_uso", r.classe}};
    j["stato_limite"] = st.nome;
    j["TR"] = st.TR > 0 ? Json(st.TR) : Json(nullptr);
    j["ag"] = Finito(st.azione.ag, "ag");
    j["Fo"] = Finito(st.azione.Fo, "Fo");
    j["Tc"] = Finito(st.azione.Tc, "Tc");
    j["suolo"] = NomeCategoria(r.sito.suolo);
    j["topografia"] = r.sito.ST ? Json(nullptr) : Json(NomeCategoria(r.sito.topografia));
    j["smorzamento"] = r.sito.smorzamento;
    j["q"] = r.q;
    j["progetto_elastico"] = s.esercizio;
    for (const auto* p : {&s.orizzontale, &s.verticale}) {
        if (!Mostra(r, p->componente))
            continue;
        const bool oriz = p->componente == Componente::Orizzontale;
        j[oriz ? "orizzontale" : "verticale"] = {{"SS", Finito(p->SS, "SS")}, {"CC", Finito(p->CC, "CC")},
                                                 {"ST", Finito(p->ST, "ST")}, {"S", Finito(p->S, "S")},
                                                 {"eta", Finito(p->eta, "eta")}, {oriz ? "Fo" : "Fv", Finito(p->F, "F")},
                                                 {"TB", Finito(p->TB, "TB")}, {"TC", Finito(p->TC, "TC")},
                                                 {"TD", Finito(p->TD, "TD")}};
    }
    Json punti = Json::array();
    for (const auto& p : s.punti) {
        Json q;
        q["T"] = Finito(p.T, "T");
        for (const auto& c : Colonne)
            if (Mostra(r, c.componente))
                q[c.chiave] = Finito(p.*c.campo, c.intestazione);
        punti.push_back(std::move(q));
    }
    j["punti"] = std::move(punti);
    out << j.dump(2, ' ', false, Json::error_handler_t::replace) << "\n";
}

uscite::TGrafico CreaGrafico(const Richiesta& r) {
    std::vector<uscite::TStatoSpettro> stati;
    for (const auto& st : r.stati)
        stati.push_back({st.nome, st.TR, st.azione});
    uscite::TSceltaSpettri scelta;
    scelta.sito = r.sito;
    scelta.q = r.q;
    scelta.componente = r.componente.value_or(Componente::Orizzontale);
    scelta.periodi = r.periodi;
    return uscite::GraficoSpettri(stati, scelta);
}

int Spettro(Argomenti& a, Flussi& f) {
    const Richiesta r = LeggiRichiesta(a);
    const StatoCalcolo& st = r.stati[r.scelto];
    // The serviceability states take the elastic spectrum as the design one.
    const bool esercizio = uscite::StatoEsercizio(st.nome);
    const SpettriStato s = CalcolaSpettri(st.azione, r.sito, r.q, Periodi(r, st.azione), esercizio);
    // The table is built whole before anything is written, and the chart
    // first: a failure then leaves nothing half written on out.
    std::ostringstream tabella;
    if (r.json)
        ScriviJson(r, s, tabella);
    else
        ScriviCsv(r, s, tabella);
    if (r.grafico) {
        const auto salva = reinterpret_cast<uscite::TEntrataGrafico>(
            EntrataPluginQt(uscite::NomeEntrataGrafico, "--grafico: grafici non disponibili"));
        const uscite::TGraficoPerPlugin g(CreaGrafico(r));
        char messaggio[2048] = {};
        LanciaErrorePlugin(salva(g.Dati(), r.grafico->string().c_str(), messaggio, sizeof messaggio), messaggio);
    }
    f.out << tabella.str();
    return 0;
}

} // namespace

const Comando ComandoSpettro{"spettro", "spettri di risposta elastici e di progetto", UsoSpettro, &Spettro};

} // namespace veltrano::cli
