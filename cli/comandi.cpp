#include "cli/comandi.h"

#include "cli/argomenti.h"
#include "cli/lotto.h"
#include "cli/sito.h"
#include "cli/spettro.h"
#ifdef VELTRANO_CON_DIALOGO
#include "cli/dialogo.h"
#endif
#include "core/calcolo.h"
#include "core/rapporto.h"
#include "geo/datum.h"
#include "veltrano/versione.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <climits>
#include <cmath>
#include <functional>
#include <iostream>
#include <map>

namespace veltrano::cli {

namespace {

constexpr const char* Uso =
    "uso: veltrano COMANDO [OPZIONI]\n"
    "\n"
    "Pericolosità sismica dei siti italiani secondo il D.M. 14/01/2008.\n"
    "\n"
    "Comandi:\n"
    "  sito       parametri ag, Fo, Tc* di un sito per i quattro stati limite\n"
    "  tempi      tempi di ritorno degli stati limite da vita nominale e classe d'uso\n"
    "  pga        tempo di ritorno di un'accelerazione di picco (PGA) in un sito\n"
    "  converti   conversione di coordinate da WGS84 a ED50 (o inversa)\n"
    "  spettro    spettri di risposta elastici e di progetto\n"
#ifdef VELTRANO_CON_DIALOGO
    "  dialogo    finestra di scelta del sito sulla cartina\n"
#endif
    "  lotto      parametri di molti siti da un CSV (CSV o JSON Lines in uscita)\n"
    "  versione   versione della libreria\n"
    "\n"
    "'veltrano COMANDO --help' descrive le opzioni di ciascun comando.\n";

constexpr const char* UsoSito =
    "uso: veltrano sito --lon GRADI --lat GRADI [opzioni]\n"
    "\n"
    "Parametri ag [g], Fo, Tc* [s] del sito per SLO, SLD, SLV, SLC.\n"
    "\n"
    "  --lon, --lat GRADI   coordinate del sito (ED50, salvo --wgs84)\n"
    "  --wgs84              le coordinate sono WGS84 e vengono convertite in ED50\n"
    "  --vn ANNI            vita nominale (predefinita 50)\n"
    "  --classe CLASSE      classe d'uso I..IV o 1..4 (predefinita II)\n"
    "  --formato testo|json formato dell'uscita (predefinito testo)\n"
    "  --comune NOME        nome del comune nel rapporto\n"
    "  --altitudine METRI   altitudine del sito nel rapporto\n"
    "  --dati CARTELLA      cartella di GeoDati.dat (predefinita: quella del programma)\n";

constexpr const char* UsoTempi =
    "uso: veltrano tempi [--vn ANNI] [--classe CLASSE] [--normativa EDIZIONE] [--formato testo|json]\n"
    "\n"
    "Tempi di ritorno [anni] di SLO, SLD, SLV, SLC. EDIZIONE: DM2008 (predefinita),\n"
    "DM2018, OPCM3274, DM1996, DM2005, EC, NESSUNA; solo DM2008 porta VR ad almeno 35 anni.\n";

constexpr const char* UsoPga =
    "uso: veltrano pga --lon GRADI --lat GRADI --pga G [--wgs84] [--dati CARTELLA]\n"
    "\n"
    "Tempo di ritorno [anni] al quale l'ag del sito vale PGA [g]: 0 per PGA <= 0,\n"
    "30 fino al valore a 30 anni, 2475 oltre il valore a 2475 anni.\n";

constexpr const char* UsoConverti =
    "uso: veltrano converti --lon GRADI --lat GRADI [--inverso] [--formato testo|json]\n"
    "\n"
    "Converte longitudine e latitudine da WGS84 a ED50 (Molodensky, quota 0);\n"
    "con --inverso da ED50 a WGS84.\n";

int Classe(Argomenti& a) {
    const auto t = a.Testo("--classe");
    if (!t)
        return 2;
    std::string s = *t;
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::toupper(c); });
    static const std::map<std::string, int> classi{{"1", 1}, {"2", 2}, {"3", 3}, {"4", 4},
                                                   {"I", 1}, {"II", 2}, {"III", 3}, {"IV", 4}};
    const auto it = classi.find(s);
    if (it == classi.end())
        throw ErroreUso("--classe: \"" + *t + "\" non è una classe d'uso (I, II, III, IV o 1..4)");
    return it->second;
}

int VitaNominale(Argomenti& a) {
    return static_cast<int>(a.Intero("--vn", 50, 0, INT32_MAX));
}

struct Sito {
    double lon, lat;
};

Sito LeggiSito(Argomenti& a) {
    const double lon = a.Numero("--lon");
    const double lat = a.Numero("--lat");
    if (!(lon >= -180.0 && lon <= 180.0))
        throw ErroreUso("--lon: la longitudine deve stare tra -180 e 180 gradi");
    if (!(lat >= -90.0 && lat <= 90.0))
        throw ErroreUso("--lat: la latitudine deve stare tra -90 e 90 gradi");
    return {lon, lat};
}

bool Json(Argomenti& a) {
    const std::string f = a.Testo("--formato").value_or("testo");
    if (f != "testo" && f != "json")
        throw ErroreUso("--formato: \"" + f + "\" non è testo né json");
    return f == "json";
}

std::filesystem::path Dati(Argomenti& a) {
    const auto d = a.Testo("--dati");
    return d ? std::filesystem::path(*d) : CartellaDatiPredefinita();
}

// Runs a subcommand body: usage errors exit 2, engine failures exit 1.
int Esegui(const char* nome, const char* uso, const Parole& args, std::ostream& out, std::ostream& err,
           const std::function<void(Argomenti&)>& corpo) {
    if (std::find(args.begin(), args.end(), "--help") != args.end() ||
        std::find(args.begin(), args.end(), "-h") != args.end()) {
        out << uso;
        return 0;
    }
    try {
        Argomenti a(args);
        corpo(a);
        return 0;
    } catch (const ErroreUso& e) {
        err << "veltrano " << nome << ": " << e.what() << "\n";
        return 2;
    } catch (const std::exception& e) {
        err << "veltrano " << nome << ": " << e.what() << "\n";
        return 1;
    }
}

} // namespace

int ComandoSito(const Parole& args, std::ostream& out, std::ostream& err) {
    return Esegui("sito", UsoSito, args, out, err, [&](Argomenti& a) {
        const Sito s = LeggiSito(a);
        const bool wgs84 = a.Flag("--wgs84");
        const int vn = VitaNominale(a);
        const int classe = Classe(a);
        const bool json = Json(a);
        const std::string comune = a.Testo("--comune").value_or("");
        const double alt = a.Numero("--altitudine", 0.0);
        const auto cartella = Dati(a);
        a.ControllaFine();
        const RisultatoSito r = CalcolaRisultatoSito(cartella, s.lon, s.lat, wgs84, vn, classe);
        const TGIS_DatiOut& d = r.dati;
        const TGIS_ParZS stati[4] = {d.SLO, d.SLD, d.SLV, d.SLC};
        static constexpr const char* nomi[4] = {"SLO", "SLD", "SLV", "SLC"};
        std::vector<int32_t> nodi;
        for (int i = 0; i < 4; ++i)
            if (d.NumPunti[i] != 0)
                nodi.push_back(int32_t{d.NumPunti[i]}); // a copy: the record is packed
        std::sort(nodi.begin(), nodi.end());
        if (json) {
            out << "{\"lon_ed50\":" << TestoReale(r.lonED50) << ",\"lat_ed50\":" << TestoReale(r.latED50)
                << ",\"vn\":" << vn << ",\"classe_uso\":" << classe << ",\"num_vert\":" << d.NumVert
                << ",\"isola\":" << (r.isola ? "true" : "false") << ",\"valido\":"
                << ((r.numNodi > 2 || r.isola) ? "true" : "false") << ",\"nodi\":[";
            for (int i = 0; i < 4; ++i)
                out << (i ? "," : "") << d.NumPunti[i];
            out << "],\"stati_limite\":[";
            for (int j = 0; j < 4; ++j)
                out << (j ? "," : "") << "{\"nome\":\"" << nomi[j] << "\",\"TR\":" << TestoReale(stati[j].Tr)
                    << ",\"ag\":" << TestoReale(stati[j].ag) << ",\"Fo\":" << TestoReale(stati[j].Fo)
                    << ",\"Tc\":" << TestoReale(stati[j].Tc_s) << "}";
            out << "]}\n";
            return;
        }
        DatiRapporto rap;
        rap.numNodi = r.numNodi;
        rap.isola = r.isola;
        rap.comune = comune;
        rap.lonED50 = r.lonED50;
        rap.latED50 = r.latED50;
        rap.altitudine = alt;
        rap.nodi = nodi;
        for (std::size_t j = 0; j < 4; ++j)
            rap.stati[j] = {stati[j].Tr, stati[j].ag, stati[j].Fo, stati[j].Tc_s};
        for (const std::string& riga : RigheRisultati(rap))
            out << riga << "\n";
    });
}

int ComandoTempi(const Parole& args, std::ostream& out, std::ostream& err) {
    return Esegui("tempi", UsoTempi, args, out, err, [&](Argomenti& a) {
        const int vn = VitaNominale(a);
        const int classe = Classe(a);
        const bool json = Json(a);
        std::string ed = a.Testo("--normativa").value_or("DM2008");
        std::transform(ed.begin(), ed.end(), ed.begin(), [](unsigned char c) { return std::toupper(c); });
        static const std::map<std::string, uint8_t> edizioni{
            {"OPCM3274", Norm_OPCM3274}, {"DM1996", Norm_DM1996}, {"DM2005", Norm_DM2005},
            {"EC", Norm_EC},             {"NESSUNA", Norm_None},  {"DM2008", Norm_DM2008},
            {"DM2018", Norm_DM2018}};
        const auto it = edizioni.find(ed);
        if (it == edizioni.end())
            throw ErroreUso("--normativa: \"" + ed + "\" non è un'edizione nota");
        a.ControllaFine();
        const TempiRitorno tr = CalcolaTR(it->second, vn, static_cast<uint8_t>(classe));
        // tr is SLV, SLC, SLD, SLO; printed by increasing period.
        const int ordine[4] = {3, 2, 0, 1};
        static constexpr const char* nomi[4] = {"SLV", "SLC", "SLD", "SLO"};
        if (json) {
            out << "{";
            for (int i = 0; i < 4; ++i)
                out << (i ? "," : "") << "\"" << nomi[ordine[i]] << "\":" << tr[static_cast<std::size_t>(ordine[i])];
            out << "}\n";
        } else {
            for (int i : ordine)
                out << nomi[i] << "\t" << tr[static_cast<std::size_t>(i)] << "\n";
        }
    });
}

int ComandoPga(const Parole& args, std::ostream& out, std::ostream& err) {
    return Esegui("pga", UsoPga, args, out, err, [&](Argomenti& a) {
        const Sito s = LeggiSito(a);
        const bool wgs84 = a.Flag("--wgs84");
        const double pga = a.Numero("--pga");
        const auto cartella = Dati(a);
        a.ControllaFine();
        const auto [lon, lat] = SitoED50(s.lon, s.lat, wgs84);
        Griglia g;
        g.Carica(cartella / "GeoDati.dat");
        TMagliaSito m{};
        out << CalcolaTRDaPGA(g, m, lon, lat, static_cast<float>(pga)) << "\n";
    });
}

int ComandoConverti(const Parole& args, std::ostream& out, std::ostream& err) {
    return Esegui("converti", UsoConverti, args, out, err, [&](Argomenti& a) {
        const Sito s = LeggiSito(a);
        const bool inverso = a.Flag("--inverso");
        const bool json = Json(a);
        a.ControllaFine();
        const float lon = static_cast<float>(s.lon), lat = static_cast<float>(s.lat);
        const Coordinate c = inverso ? ConvCoord_ED50toWGS84(lon, lat) : ConvCoord_WGS84toED50(lon, lat);
        if (json)
            out << "{\"lon\":" << TestoReale(c.Lon) << ",\"lat\":" << TestoReale(c.Lat) << ",\"datum\":\""
                << (inverso ? "WGS84" : "ED50") << "\"}\n";
        else
            out << TestoReale(c.Lon) << " " << TestoReale(c.Lat) << "\n";
    });
}

int Principale(const Parole& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        err << Uso;
        return 2;
    }
    const std::string& c = args[0];
    const Parole resto(args.begin() + 1, args.end());
    if (c == "--help" || c == "-h" || c == "aiuto") {
        out << Uso;
        return 0;
    }
    if (c == "--version" || c == "versione") {
        out << VELTRANO_VERSIONE "\n";
        return 0;
    }
    if (c == "sito")
        return ComandoSito(resto, out, err);
    if (c == "tempi")
        return ComandoTempi(resto, out, err);
    if (c == "pga")
        return ComandoPga(resto, out, err);
    if (c == "converti")
        return ComandoConverti(resto, out, err);
    if (c == "spettro")
        return ComandoSpettro(resto, out, err);
#ifdef VELTRANO_CON_DIALOGO
    if (c == "dialogo")
        return ComandoDialogo(resto, out, err);
#endif
    if (c == "lotto")
        return ComandoLotto(resto, std::cin, out, err);
    err << "veltrano: comando sconosciuto \"" << c << "\"; 'veltrano --help' elenca i comandi\n";
    return 2;
}

} // namespace veltrano::cli
