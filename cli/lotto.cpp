// "veltrano lotto": the hazard of many sites, from CSV to CSV or JSON Lines,
// on worker threads. Output row N answers input row N, in order.
#include "cli/comandi.h"
#include "cli/formato.h"
#include "cli/lotto_csv.h"
#include "cli/sito.h"
#include "core/api.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <memory>
#include <thread>
#include <sys/stat.h>
#include <unistd.h>

namespace veltrano::cli {

namespace {

constexpr const char* UsoLotto =
    "uso: veltrano lotto [FILE|-] [opzioni]\n"
    "\n"
    "Parametri sismici di molti siti. Ogni riga del CSV in ingresso (FILE, o lo\n"
    "standard input con - o senza FILE) dà longitudine, latitudine e, se vuole,\n"
    "vita nominale, classe d'uso e datum (ED50 o WGS84). Con una riga di\n"
    "intestazione le colonne si riconoscono dal nome (lon o longitudine, lng, x;\n"
    "lat o latitudine, y; lon_ed50, lat_ed50 come nell'uscita di questo comando;\n"
    "vn, classe, datum); senza, valgono in quest'ordine. Separatori: virgola,\n"
    "punto e virgola o tabulazione; col punto e virgola (il CSV di Excel in\n"
    "italiano) la virgola decimale va bene. Campi tra virgolette come da RFC 4180;\n"
    "righe vuote e righe che iniziano con # sono saltate.\n"
    "\n"
    "  --uscita FILE         file di uscita (predefinito: standard output); scritto\n"
    "                        a parte e sostituito alla fine, mai uguale all'ingresso\n"
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
    "una riga errata (anche un sito fuori dalla griglia e dalle isole della\n"
    "Tabella 2) dà il messaggio nella colonna errore e su standard error.\n"
    "Codice di uscita: 0 tutto calcolato, 1 qualche riga errata o un file\n"
    "mancante o illeggibile, 2 uso errato.\n";

constexpr const char* NomiStati[4] = {"SLO", "SLD", "SLV", "SLC"};

struct Opzioni {
    PredefinitiLotto predefiniti;
    bool jsonl = false;
};

struct Riga {
    long numero;
    std::string testo;
};

std::string CsvTesto(const std::string& s) {
    if (s.find_first_of(",\"\n\r") == std::string::npos)
        return s;
    std::string r = "\"";
    for (char c : s) {
        if (c == '"')
            r += '"';
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
    std::string testo;  // the output line
    std::string errore; // empty when computed
};

std::string RigaCsv(long numero, float lon, float lat, const RigaLotto& s, const TGIS_DatiOut& d) {
    const TGIS_ParZS stati[4] = {d.SLO, d.SLD, d.SLV, d.SLC};
    std::string t = std::to_string(numero) + ",," + TestoReale(lon) + "," + TestoReale(lat) + "," +
                    std::to_string(s.vn) + "," + std::to_string(s.classe) + "," + std::to_string(d.NumVert) + ",1";
    for (int i = 0; i < 4; ++i)
        t += "," + std::to_string(d.NumPunti[i]);
    for (const TGIS_ParZS& p : stati)
        t += "," + TestoReale(p.Tr) + "," + TestoReale(p.ag) + "," + TestoReale(p.Fo) + "," + TestoReale(p.Tc_s);
    return t + "\n";
}

std::string RigaJson(long numero, float lon, float lat, const RigaLotto& s, const TGIS_DatiOut& d) {
    const TGIS_ParZS stati[4] = {d.SLO, d.SLD, d.SLV, d.SLC};
    JsonReale j;
    j["riga"] = numero;
    j["lon_ed50"] = Finito(lon, "lon_ed50");
    j["lat_ed50"] = Finito(lat, "lat_ed50");
    j["vn"] = s.vn;
    j["classe"] = s.classe;
    j["num_vert"] = int32_t{d.NumVert};
    j["valido"] = true;
    JsonReale nodi = JsonReale::array();
    for (int i = 0; i < 4; ++i)
        nodi.push_back(int32_t{d.NumPunti[i]});
    j["nodi"] = std::move(nodi);
    for (int k = 0; k < 4; ++k)
        j[NomiStati[k]] = {{"TR", static_cast<int64_t>(stati[k].Tr)},
                           {"ag", Finito(stati[k].ag, "ag")},
                           {"Fo", Finito(stati[k].Fo, "Fo")},
                           {"Tc", Finito(stati[k].Tc_s, "Tc")}};
    return TestoJson(j) + "\n";
}

Esito CalcolaRiga(const Riga& r, const FormatoLotto& f, const Opzioni& o, CalcolatoreSismico& calc) {
    Esito e;
    try {
        const RigaLotto s = LeggiRigaLotto(r.testo, f, o.predefiniti);
        const auto [lon, lat] = SitoED50({s.lon, s.lat, s.wgs84});
        TGIS_DatiOut d{};
        const EsitoSito esito = calc.Calcola(Norm_DM2008, lon, lat, s.vn, s.classe, d);
        ControllaSitoValido(esito, lon, lat);
        e.testo = o.jsonl ? RigaJson(r.numero, lon, lat, s, d) : RigaCsv(r.numero, lon, lat, s, d);
    } catch (const std::exception& ex) {
        e.errore = "riga " + std::to_string(r.numero) + ": " + ex.what();
        if (o.jsonl)
            e.testo = TestoJson(Json{{"riga", r.numero}, {"errore", ex.what()}}) + "\n";
        else
            e.testo = std::to_string(r.numero) + "," + CsvTesto(ex.what()) + "\n";
    }
    return e;
}

std::string Motivo(int errore) { return std::strerror(errore); }

// The progress line on a terminal, cut to its width.
class Avanzamento {
public:
    Avanzamento(std::ostream& err, bool attivo, std::uintmax_t totale, int colonne)
        : err_(err), attivo_(attivo), totale_(totale), colonne_(std::max(colonne, 1)) {}
    void Mostra(std::uintmax_t fatti, long righe) {
        if (!attivo_)
            return;
        std::string testo = std::to_string(righe) + " righe";
        if (totale_ > 0) {
            const int perc =
                static_cast<int>(100.0 * static_cast<double>(std::min(fatti, totale_)) / static_cast<double>(totale_));
            testo = std::to_string(perc) + "% " + testo;
            // The bar takes what is left of the line, up to 30 characters.
            const int barra = std::min(30, colonne_ - 1 - 3 - static_cast<int>(testo.size()));
            if (barra >= 5) {
                const int pieni = perc * barra / 100;
                testo = "[" + std::string(static_cast<std::size_t>(pieni), '#') +
                        std::string(static_cast<std::size_t>(barra - pieni), ' ') + "] " + testo;
            }
        }
        if (static_cast<int>(testo.size()) >= colonne_)
            testo.resize(static_cast<std::size_t>(colonne_ - 1));
        err_ << "\r\033[K" << testo << std::flush;
        mostrato_ = true;
    }
    /// Clears the line, so that a message can take it.
    void Pulisci() {
        if (attivo_ && mostrato_)
            err_ << "\r\033[K";
        mostrato_ = false;
    }

private:
    std::ostream& err_;
    bool attivo_;
    std::uintmax_t totale_;
    int colonne_;
    bool mostrato_ = false;
};

// The output file: written beside the target and renamed over it at the
// end, so that a run that fails leaves the old file whole. A target that is
// not a regular file (a terminal, a pipe) is written directly.
class FileUscita {
public:
    explicit FileUscita(const std::filesystem::path& p) : finale_(p) {
        std::error_code ec;
        const auto stato = std::filesystem::status(p, ec);
        diretto_ = std::filesystem::exists(stato) && !std::filesystem::is_regular_file(stato);
        scritto_ = diretto_ ? p : std::filesystem::path(p.string() + ".tmp" + std::to_string(::getpid()));
        f_.open(scritto_, std::ios::binary | std::ios::trunc);
        if (!f_)
            throw ErroreApertura(p.string() + ": impossibile creare il file (" + Motivo(errno) + ")");
    }
    ~FileUscita() {
        if (!chiuso_ && !diretto_) {
            f_.close();
            std::error_code ec;
            std::filesystem::remove(scritto_, ec);
        }
    }
    FileUscita(const FileUscita&) = delete;
    FileUscita& operator=(const FileUscita&) = delete;

    std::ostream& Flusso() { return f_; }
    void Chiudi() {
        f_.close();
        if (!f_)
            throw ErroreLettura(finale_.string() + ": errore di scrittura (" + Motivo(errno) + ")");
        chiuso_ = true;
        if (diretto_)
            return;
        std::error_code ec;
        std::filesystem::rename(scritto_, finale_, ec);
        if (ec) {
            std::filesystem::remove(scritto_, ec);
            throw ErroreApertura(finale_.string() + ": impossibile sostituire il file (" + ec.message() + ")");
        }
    }

private:
    std::filesystem::path finale_, scritto_;
    std::ofstream f_;
    bool diretto_ = false, chiuso_ = false;
};

bool StessoFile(const struct stat& a, const std::filesystem::path& b) {
    struct stat sb {};
    return ::stat(b.c_str(), &sb) == 0 && a.st_dev == sb.st_dev && a.st_ino == sb.st_ino;
}

int Lotto(Argomenti& a, Flussi& fl) {
    Opzioni o;
    o.predefiniti.vn = VitaNominale(a);
    o.predefiniti.classe = ClasseUso(a);
    o.predefiniti.wgs84 = a.Flag("--wgs84");
    const std::string uscitaFormato = a.Testo("--formato").value_or("csv");
    if (uscitaFormato != "csv" && uscitaFormato != "jsonl")
        throw ErroreUso("--formato: \"" + Citazione(uscitaFormato) + "\" non è csv né jsonl");
    o.jsonl = uscitaFormato == "jsonl";
    const unsigned thread = static_cast<unsigned>(
        a.Intero("--thread", static_cast<long>(std::max(1u, std::thread::hardware_concurrency())), 1, 256));
    const bool rigoroso = a.Flag("--rigoroso");
    const std::string fileOut = a.Testo("--uscita").value_or("");
    const std::filesystem::path dati = CartellaDati(a);
    // "-" alone means standard input; Argomenti leaves it with the words.
    const std::vector<std::string> pos = a.Posizionali();
    if (pos.size() > 1)
        throw ErroreUso("un solo file d'ingresso, non " + std::to_string(pos.size()));
    const std::string fileIn = !pos.empty() && pos[0] != "-" ? pos[0] : "";
    a.ControllaFine();

    // The input: its failures are the system's, with its reason.
    std::ifstream fin;
    std::uintmax_t totale = 0;
    struct stat statoIn {};
    bool statoNoto = false;
    if (!fileIn.empty()) {
        if (::stat(fileIn.c_str(), &statoIn) != 0)
            throw ErroreApertura(fileIn + ": impossibile aprire il file (" + Motivo(errno) + ")");
        statoNoto = true;
        if (S_ISDIR(statoIn.st_mode))
            throw ErroreApertura(fileIn + ": è una cartella, non un file");
        fin.open(fileIn, std::ios::binary);
        if (!fin)
            throw ErroreApertura(fileIn + ": impossibile aprire il file (" + Motivo(errno) + ")");
        if (S_ISREG(statoIn.st_mode))
            totale = static_cast<std::uintmax_t>(statoIn.st_size);
    } else if (&fl.in == &std::cin) {
        statoNoto = ::fstat(STDIN_FILENO, &statoIn) == 0;
    }
    // Writing the output over the input would lose the input: refused,
    // whatever names lead to the one file.
    if (!fileOut.empty() && statoNoto && StessoFile(statoIn, fileOut))
        throw ErroreUso("il file di uscita " + Citazione(fileOut, 200) + " è il file d'ingresso");
    std::istream& ingresso = fileIn.empty() ? fl.in : fin;

    const GrigliaSismica griglia(dati / "GeoDati.dat");
    std::vector<std::unique_ptr<CalcolatoreSismico>> calcolatori;
    for (unsigned t = 0; t < thread; ++t)
        calcolatori.push_back(std::make_unique<CalcolatoreSismico>(griglia));

    std::unique_ptr<FileUscita> file;
    if (!fileOut.empty())
        file = std::make_unique<FileUscita>(fileOut);
    std::ostream& uscita = file ? file->Flusso() : fl.out;

    // No progress drawn where it would land among the data.
    const bool progresso = fl.errTerminale && !(file == nullptr && fl.outTerminale);
    Avanzamento avanzamento(fl.err, progresso, totale, fl.colonne);
    std::optional<FormatoLotto> formato;
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
            const long inizio = numero;
            letti += linea.size() + 1;
            if (inizio == 1 && linea.rfind(MarcaUtf8, 0) == 0)
                linea.erase(0, MarcaUtf8.size());
            // A quoted field may hold line breaks: the record goes on.
            const char sep = formato ? formato->separatore : RilevaSeparatore(linea);
            std::string seguito;
            while (VirgoletteAperte(linea, sep) && std::getline(ingresso, seguito)) {
                ++numero;
                letti += seguito.size() + 1;
                linea += '\n';
                linea += seguito;
            }
            if (!linea.empty() && linea.back() == '\r')
                linea.pop_back();
            if (linea.find_first_not_of(" \t\r") == std::string::npos || linea[0] == '#')
                continue;
            if (!formato) {
                bool intestazione = false;
                try {
                    formato = LeggiFormatoLotto(linea, &intestazione);
                } catch (const ErroreUso& e) {
                    throw ErroreUso("riga " + std::to_string(inizio) + ": " + e.what());
                }
                if (intestazione)
                    continue;
            }
            righe.push_back({inizio, std::move(linea)});
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
                avanzamento.Pulisci();
                fl.err << "veltrano lotto: " << e.errore << "\n";
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
    avanzamento.Pulisci();
    if (ingresso.bad())
        throw ErroreLettura((fileIn.empty() ? std::string("standard input") : fileIn) + ": errore di lettura (" +
                            Motivo(errno) + ")");
    if (file)
        file->Chiudi();
    else if (!uscita.flush())
        throw ErroreLettura("errore di scrittura dell'uscita");
    if (errate > 0) {
        fl.err << "veltrano lotto: " << errate << " righe errate su " << (calcolate + errate)
               << (fermato ? " (interrotto da --rigoroso)" : "") << "\n";
        return 1;
    }
    return 0;
}

} // namespace

const Comando ComandoLotto{"lotto", "parametri di molti siti da un CSV (CSV o JSON Lines in uscita)", UsoLotto,
                           &Lotto};

} // namespace veltrano::cli
