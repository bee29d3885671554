#include "cli/lotto.h"

#include "cli/argomenti.h"
#include "cli/sito.h"
#include "core/api.h"
#include "geo/datum.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <charconv>
#include <chrono>
#include <cmath>
#include <fstream>
#include <iostream>
#include <optional>
#include <thread>
#include <unistd.h>

namespace veltrano::cli {

namespace {

constexpr const char* UsoLotto =
    "uso: veltrano lotto [FILE|-] [opzioni]\n"
    "\n"
    "Parametri sismici di molti siti. Ogni riga del CSV in ingresso (FILE, o lo\n"
    "standard input con - o senza FILE) dà longitudine, latitudine e, se vuole,\n"
    "vita nominale, classe d'uso e datum (ED50 o WGS84). Con una riga di\n"
    "intestazione le colonne si riconoscono dal nome (lon, lat, vn, classe,\n"
    "datum); senza, valgono in quest'ordine. Separatori: virgola, punto e\n"
    "virgola o tabulazione; righe vuote e righe che iniziano con # sono saltate.\n"
    "\n"
    "  --uscita FILE         file di uscita (predefinito: standard output)\n"
    "  --formato csv|jsonl   formato dell'uscita (predefinito csv)\n"
    "  --vn ANNI             vita nominale delle righe che non la danno (50)\n"
    "  --classe CLASSE       classe d'uso delle righe che non la danno (II)\n"
    "  --wgs84               datum delle righe che non lo danno: WGS84 (altrimenti ED50)\n"
    "  --thread N            thread di calcolo (predefinito: tutti i core)\n"
    "  --rigoroso            si ferma alla prima riga errata\n"
    "  --dati CARTELLA       cartella di GeoDati.dat\n"
    "\n"
    "Ogni riga valida dà una riga di uscita con il numero della riga d'ingresso,\n"
    "i nodi della maglia e TR [anni], ag [g], Fo, Tc* [s] di SLO, SLD, SLV, SLC;\n"
    "una riga errata dà il messaggio nella colonna errore e su standard error.\n"
    "Codice di uscita: 0 tutto calcolato, 1 qualche riga errata o un file\n"
    "mancante, 2 uso errato.\n";

constexpr const char* NomiStati[4] = {"SLO", "SLD", "SLV", "SLC"};

enum class Colonna { Lon, Lat, VN, Classe, Datum, Altro };

struct Formato {
    char separatore = ',';
    std::vector<Colonna> colonne{Colonna::Lon, Colonna::Lat, Colonna::VN, Colonna::Classe, Colonna::Datum};
};

std::string Minuscolo(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string Spazi(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front())))
        s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back())))
        s.remove_suffix(1);
    if (s.size() >= 2 && s.front() == '"' && s.back() == '"')
        s = s.substr(1, s.size() - 2);
    return std::string(s);
}

std::vector<std::string> Dividi(const std::string& riga, char sep) {
    std::vector<std::string> campi;
    std::size_t i = 0;
    while (true) {
        const std::size_t j = riga.find(sep, i);
        campi.push_back(Spazi(std::string_view(riga).substr(i, j == std::string::npos ? std::string::npos : j - i)));
        if (j == std::string::npos)
            break;
        i = j + 1;
    }
    return campi;
}

bool ENumero(const std::string& s) {
    double v;
    const char* b = s.data();
    if (!s.empty() && (*b == '+'))
        ++b;
    const auto [p, ec] = std::from_chars(b, s.data() + s.size(), v);
    return ec == std::errc() && p == s.data() + s.size();
}

int ClasseDaTesto(const std::string& t) {
    const std::string s = Minuscolo(t);
    if (s == "1" || s == "i") return 1;
    if (s == "2" || s == "ii") return 2;
    if (s == "3" || s == "iii") return 3;
    if (s == "4" || s == "iv") return 4;
    throw ErroreUso("classe d'uso \"" + t + "\" non valida (I, II, III, IV o 1..4)");
}

struct Opzioni {
    int vn = 50;
    int classe = 2;
    bool wgs84 = false;
    bool jsonl = false;
};

struct Riga {
    long numero;
    std::string testo;
};

std::string CsvTesto(const std::string& s) {
    if (s.find_first_of(",\"\n") == std::string::npos)
        return s;
    std::string r = "\"";
    for (char c : s) {
        if (c == '"')
            r += '"';
        r += c;
    }
    return r + "\"";
}

std::string JsonTesto(const std::string& s) {
    std::string r = "\"";
    for (char c : s) {
        if (c == '"' || c == '\\')
            r += '\\';
        if (static_cast<unsigned char>(c) < 0x20) {
            char b[8];
            std::snprintf(b, sizeof b, "\\u%04x", c);
            r += b;
            continue;
        }
        r += c;
    }
    return r + "\"";
}

std::string IntestazioneCsv() {
    std::string h = "riga,errore,lon_ed50,lat_ed50,vn,classe,num_vert,valido,nodo1,nodo2,nodo3,nodo4";
    for (const char* s : NomiStati)
        h += std::string(",TR_") + s + ",ag_" + s + ",Fo_" + s + ",Tc_" + s;
    return h + "\n";
}

// One input row: parsed, computed and formatted, or the error text.
struct Esito {
    std::string testo; // the output line
    std::string errore; // empty when computed
};

Esito CalcolaRiga(const Riga& r, const Formato& f, const Opzioni& o, CalcolatoreSismico& calc) {
    Esito e;
    try {
        const std::vector<std::string> campi = Dividi(r.testo, f.separatore);
        std::optional<double> lon, lat;
        int vn = o.vn, classe = o.classe;
        bool wgs84 = o.wgs84;
        for (std::size_t i = 0; i < campi.size() && i < f.colonne.size(); ++i) {
            const std::string& c = campi[i];
            switch (f.colonne[i]) {
            case Colonna::Lon: lon = ConvertiNumero(c, "longitudine"); break;
            case Colonna::Lat: lat = ConvertiNumero(c, "latitudine"); break;
            case Colonna::VN:
                if (!c.empty()) {
                    long v = -1;
                    const auto [p, ec] = std::from_chars(c.data(), c.data() + c.size(), v);
                    if (ec != std::errc() || p != c.data() + c.size() || v < 0 || v > INT32_MAX)
                        throw ErroreUso("vita nominale \"" + c + "\" non valida (intero da 0 in su)");
                    vn = static_cast<int>(v);
                }
                break;
            case Colonna::Classe:
                if (!c.empty())
                    classe = ClasseDaTesto(c);
                break;
            case Colonna::Datum:
                if (!c.empty()) {
                    const std::string d = Minuscolo(c);
                    if (d != "ed50" && d != "wgs84")
                        throw ErroreUso("datum \"" + c + "\" non valido (ED50 o WGS84)");
                    wgs84 = d == "wgs84";
                }
                break;
            case Colonna::Altro: break;
            }
        }
        if (!lon || !lat)
            throw ErroreUso("mancano longitudine o latitudine");
        if (!(*lon >= -180.0 && *lon <= 180.0))
            throw ErroreUso("longitudine fuori da -180..180");
        if (!(*lat >= -90.0 && *lat <= 90.0))
            throw ErroreUso("latitudine fuori da -90..90");
        const auto [lonE, latE] = SitoED50(*lon, *lat, wgs84);
        const TGIS_DatiOut d = calc.Calcola(Norm_DM2008, lonE, latE, vn, classe);
        const bool valido = d.NumVert > 2 || GruppoIsola(lonE, latE) != 0;
        const TGIS_ParZS stati[4] = {d.SLO, d.SLD, d.SLV, d.SLC};
        std::string& t = e.testo;
        if (o.jsonl) {
            t = "{\"riga\":" + std::to_string(r.numero) + ",\"lon_ed50\":" + TestoReale(lonE) + ",\"lat_ed50\":" +
                TestoReale(latE) + ",\"vn\":" + std::to_string(vn) + ",\"classe\":" + std::to_string(classe) +
                ",\"num_vert\":" + std::to_string(d.NumVert) + ",\"valido\":" + (valido ? "true" : "false") +
                ",\"nodi\":[";
            for (int i = 0; i < 4; ++i)
                t += (i ? "," : "") + std::to_string(d.NumPunti[i]);
            t += "]";
            for (int j = 0; j < 4; ++j)
                t += std::string(",\"") + NomiStati[j] + "\":{\"TR\":" + TestoReale(stati[j].Tr) + ",\"ag\":" +
                     TestoReale(stati[j].ag) + ",\"Fo\":" + TestoReale(stati[j].Fo) + ",\"Tc\":" + TestoReale(stati[j].Tc_s) + "}";
            t += "}\n";
        } else {
            t = std::to_string(r.numero) + ",," + TestoReale(lonE) + "," + TestoReale(latE) + "," + std::to_string(vn) + "," +
                std::to_string(classe) + "," + std::to_string(d.NumVert) + "," + (valido ? "1" : "0");
            for (int i = 0; i < 4; ++i)
                t += "," + std::to_string(d.NumPunti[i]);
            for (const TGIS_ParZS& s : stati)
                t += "," + TestoReale(s.Tr) + "," + TestoReale(s.ag) + "," + TestoReale(s.Fo) + "," + TestoReale(s.Tc_s);
            t += "\n";
        }
    } catch (const std::exception& ex) {
        e.errore = "riga " + std::to_string(r.numero) + ": " + ex.what();
        if (o.jsonl)
            e.testo = "{\"riga\":" + std::to_string(r.numero) + ",\"errore\":" + JsonTesto(ex.what()) + "}\n";
        else
            e.testo = std::to_string(r.numero) + "," + CsvTesto(ex.what()) + "\n";
    }
    return e;
}

// Reads the header, if any, from the first data line.
std::optional<Formato> FormatoDa(const std::string& prima, bool& intestazione) {
    Formato f;
    if (prima.find('\t') != std::string::npos)
        f.separatore = '\t';
    else if (prima.find(';') != std::string::npos && prima.find(',') == std::string::npos)
        f.separatore = ';';
    const std::vector<std::string> campi = Dividi(prima, f.separatore);
    intestazione = !campi.empty() && !ENumero(campi[0]);
    if (!intestazione)
        return f;
    f.colonne.clear();
    bool conLon = false, conLat = false;
    for (const std::string& c : campi) {
        const std::string n = Minuscolo(c);
        Colonna col = Colonna::Altro;
        if (n == "lon" || n == "longitudine" || n == "x")
            col = Colonna::Lon, conLon = true;
        else if (n == "lat" || n == "latitudine" || n == "y")
            col = Colonna::Lat, conLat = true;
        else if (n == "vn" || n == "vita" || n == "vita_nominale")
            col = Colonna::VN;
        else if (n == "classe" || n == "classe_uso" || n == "cu")
            col = Colonna::Classe;
        else if (n == "datum")
            col = Colonna::Datum;
        f.colonne.push_back(col);
    }
    if (!conLon || !conLat)
        return std::nullopt;
    return f;
}

class Avanzamento {
public:
    Avanzamento(std::ostream& err, bool attivo, std::uintmax_t totale) : err_(err), attivo_(attivo), totale_(totale) {}
    void Mostra(std::uintmax_t fatti, long righe) {
        if (!attivo_)
            return;
        if (totale_ > 0) {
            const int perc = static_cast<int>(100.0 * static_cast<double>(std::min(fatti, totale_)) / static_cast<double>(totale_));
            const int pieni = perc * 30 / 100;
            err_ << "\r[" << std::string(static_cast<std::size_t>(pieni), '#')
                 << std::string(static_cast<std::size_t>(30 - pieni), ' ') << "] " << perc << "% " << righe
                 << " righe" << std::flush;
        } else {
            err_ << "\r" << righe << " righe" << std::flush;
        }
    }
    void Fine() {
        if (attivo_)
            err_ << "\n";
    }

private:
    std::ostream& err_;
    bool attivo_;
    std::uintmax_t totale_;
};

} // namespace

int ComandoLotto(const Parole& args, std::istream& in, std::ostream& out, std::ostream& err) {
    if (std::find(args.begin(), args.end(), "--help") != args.end() ||
        std::find(args.begin(), args.end(), "-h") != args.end()) {
        out << UsoLotto;
        return 0;
    }
    Opzioni o;
    std::string fileIn, fileOut;
    unsigned thread = std::max(1u, std::thread::hardware_concurrency());
    bool rigoroso = false;
    std::filesystem::path dati;
    try {
        Argomenti a(args);
        o.vn = static_cast<int>(a.Intero("--vn", 50, 0, INT32_MAX));
        if (const auto c = a.Testo("--classe"))
            o.classe = ClasseDaTesto(*c);
        o.wgs84 = a.Flag("--wgs84");
        const std::string formato = a.Testo("--formato").value_or("csv");
        if (formato != "csv" && formato != "jsonl")
            throw ErroreUso("--formato: \"" + formato + "\" non è csv né jsonl");
        o.jsonl = formato == "jsonl";
        thread = static_cast<unsigned>(a.Intero("--thread", thread, 1, 256));
        rigoroso = a.Flag("--rigoroso");
        fileOut = a.Testo("--uscita").value_or("");
        dati = a.Testo("--dati").value_or(CartellaDatiPredefinita().string());
        // "-" alone means standard input; Argomenti leaves it with the words.
        const std::vector<std::string> pos = a.Posizionali();
        if (pos.size() > 1)
            throw ErroreUso("un solo file d'ingresso, non " + std::to_string(pos.size()));
        if (!pos.empty() && pos[0] != "-")
            fileIn = pos[0];
        a.ControllaFine();
    } catch (const std::exception& e) {
        err << "veltrano lotto: " << e.what() << "\n";
        return 2;
    }

    std::ifstream fin;
    std::uintmax_t totale = 0;
    if (!fileIn.empty()) {
        fin.open(fileIn, std::ios::binary);
        if (!fin) {
            err << "veltrano lotto: " << fileIn << ": impossibile aprire il file\n";
            return 1;
        }
        std::error_code ec;
        totale = std::filesystem::file_size(fileIn, ec);
    }
    std::istream& ingresso = fileIn.empty() ? in : fin;
    std::ofstream fout;
    if (!fileOut.empty()) {
        fout.open(fileOut, std::ios::binary | std::ios::trunc);
        if (!fout) {
            err << "veltrano lotto: " << fileOut << ": impossibile creare il file\n";
            return 1;
        }
    }
    std::ostream& uscita = fileOut.empty() ? out : fout;

    std::unique_ptr<GrigliaSismica> griglia;
    try {
        griglia = std::make_unique<GrigliaSismica>(dati / "GeoDati.dat");
    } catch (const std::exception& e) {
        err << "veltrano lotto: " << e.what() << "\n";
        return 1;
    }
    std::vector<std::unique_ptr<CalcolatoreSismico>> calcolatori;
    for (unsigned t = 0; t < thread; ++t)
        calcolatori.push_back(std::make_unique<CalcolatoreSismico>(*griglia));

    const bool terminale = isatty(STDERR_FILENO) && &err == &std::cerr;
    Avanzamento avanzamento(err, terminale, totale);
    std::optional<Formato> formato;
    if (!o.jsonl)
        uscita << IntestazioneCsv();

    constexpr std::size_t Blocco = 16384;
    std::vector<Riga> righe;
    std::vector<Esito> esiti;
    std::string linea;
    long numero = 0, errate = 0, calcolate = 0;
    std::uintmax_t letti = 0;
    bool fine = false, fermato = false;
    while (!fine && !fermato) {
        righe.clear();
        while (righe.size() < Blocco) {
            if (!std::getline(ingresso, linea)) {
                fine = true;
                break;
            }
            ++numero;
            letti += linea.size() + 1;
            if (!linea.empty() && linea.back() == '\r')
                linea.pop_back();
            if (Spazi(linea).empty() || linea[0] == '#')
                continue;
            if (!formato) {
                bool intestazione = false;
                formato = FormatoDa(linea, intestazione);
                if (!formato) {
                    err << "veltrano lotto: riga " << numero
                        << ": l'intestazione non ha le colonne lon e lat\n";
                    return 2;
                }
                if (intestazione)
                    continue;
            }
            righe.push_back({numero, linea});
        }
        esiti.assign(righe.size(), {});
        std::atomic<std::size_t> prossimo{0};
        auto lavora = [&](unsigned t) {
            // Small slices handed out in turn keep the threads evenly busy.
            constexpr std::size_t Fetta = 256;
            for (std::size_t i0 = prossimo.fetch_add(Fetta); i0 < righe.size(); i0 = prossimo.fetch_add(Fetta))
                for (std::size_t i = i0; i < std::min(righe.size(), i0 + Fetta); ++i)
                    esiti[i] = CalcolaRiga(righe[i], *formato, o, *calcolatori[t]);
        };
        if (thread == 1 || righe.size() < 2 * 256) {
            lavora(0);
        } else {
            std::vector<std::thread> pool;
            for (unsigned t = 1; t < thread; ++t)
                pool.emplace_back(lavora, t);
            lavora(0);
            for (std::thread& th : pool)
                th.join();
        }
        std::string blocco;
        for (const Esito& e : esiti) {
            blocco += e.testo;
            if (!e.errore.empty()) {
                ++errate;
                err << (terminale ? "\r" : "") << "veltrano lotto: " << e.errore << "\n";
                if (rigoroso) {
                    fermato = true;
                    break;
                }
            } else {
                ++calcolate;
            }
        }
        uscita << blocco;
        avanzamento.Mostra(letti, calcolate + errate);
    }
    avanzamento.Fine();
    uscita.flush();
    if (!uscita) {
        err << "veltrano lotto: errore di scrittura dell'uscita\n";
        return 1;
    }
    if (errate > 0) {
        err << "veltrano lotto: " << errate << " righe errate su " << (calcolate + errate)
            << (fermato ? " (interrotto da --rigoroso)" : "") << "\n";
        return 1;
    }
    return 0;
}

} // namespace veltrano::cli
