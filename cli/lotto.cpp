// "veltrano lotto": the hazard of many sites, from CSV to CSV or JSON Lines,
// on worker threads. Output row N answers input row N, in order.
#include "cli/comandi.h"
#include "cli/formato.h"
#include "cli/lotto_csv.h"
#include "cli/lotto_uscita.h"
#include "cli/sito.h"
#include "core/api.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>
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

struct Opzioni {
    PredefinitiLotto predefiniti;
    bool jsonl = false;
};

// A block of input records, computed together and written in order. The
// records' text lies end to end in one buffer; each slice of records gets
// its own output and message buffers, so threads never share one.
struct Blocco {
    struct Record {
        long numero;           // input line where it starts
        std::size_t inizio, n; // in testo
    };
    std::string testo;
    std::vector<Record> record;
    // A cache line each: threads that fill neighbouring slices do not share one.
    struct alignas(64) Fetta {
        std::string uscita, errori;     // output lines; "veltrano lotto: riga N: ..." lines
        std::vector<std::size_t> fine;  // per record: end of its line in uscita
        std::vector<std::size_t> fineErrore; // per record: end of its message in errori
        long errate = 0;
    };
    std::vector<Fetta> fette;
    static constexpr std::size_t Righe = 16384, RighePerFetta = 128;

    void Svuota() {
        testo.clear();
        record.clear();
    }
    std::string_view Testo(const Record& r) const { return std::string_view(testo).substr(r.inizio, r.n); }
};

// One record into its slice: parsed, computed and formatted, or its reason.
void CalcolaRecord(const Blocco& b, std::size_t i, Blocco::Fetta& f, const FormatoLotto& formato, const Opzioni& o,
                   CalcolatoreSismico& calc) {
    const Blocco::Record& r = b.record[i];
    std::string motivo;
    bool errata = true;
    try {
        const RigaLotto s = LeggiRigaLotto(b.Testo(r), formato, o.predefiniti);
        const auto [lon, lat] = SitoED50({s.lon, s.lat, s.wgs84});
        TGIS_DatiOut d; // every field written below comes from the engine
        const EsitoSito esito = calc.Calcola(Norm_DM2008, lon, lat, s.vn, s.classe, d);
        if (auto m = MotivoSitoNonValido(esito, lon, lat)) {
            motivo = std::move(*m); // a site at sea is common: no exception for it
        } else {
            if (o.jsonl)
                AggiungiRigaJson(f.uscita, r.numero, lon, lat, s, d);
            else
                AggiungiRigaCsv(f.uscita, r.numero, lon, lat, s, d);
            errata = false;
        }
    } catch (const std::exception& ex) {
        motivo = ex.what();
    }
    if (errata) {
        if (o.jsonl)
            AggiungiErroreJson(f.uscita, r.numero, motivo);
        else
            AggiungiErroreCsv(f.uscita, r.numero, motivo);
        f.errori += "veltrano lotto: riga ";
        AggiungiIntero(f.errori, r.numero);
        f.errori += ": ";
        f.errori += motivo;
        f.errori += '\n';
        ++f.errate;
    }
    f.fine.push_back(f.uscita.size());
    f.fineErrore.push_back(f.errori.size());
}

// Computes a block on one thread per calculator, or on the caller's own
// when there is one calculator. Slices are handed out in turn, which keeps
// the threads evenly busy.
class Calcolo {
public:
    Calcolo(Blocco& b, const FormatoLotto& f, const Opzioni& o, std::vector<std::unique_ptr<CalcolatoreSismico>>& c)
        : b_(b), f_(f), o_(o), c_(c) {
        const std::size_t nf = (b.record.size() + Blocco::RighePerFetta - 1) / Blocco::RighePerFetta;
        b.fette.resize(std::max(b.fette.size(), nf));
        for (std::size_t k = 0; k < nf; ++k) {
            Blocco::Fetta& x = b.fette[k];
            x.uscita.clear();
            x.errori.clear();
            x.fine.clear();
            x.fineErrore.clear();
            x.errate = 0;
        }
        nFette_ = nf;
        if (c.size() == 1) {
            Lavora(0);
            return;
        }
        for (std::size_t t = 0; t < c.size(); ++t)
            pool_.emplace_back([this, t] { Lavora(t); });
    }
    /// Waits for the block; a failure inside a thread comes out here.
    void Attendi() {
        for (std::jthread& t : pool_)
            t.join();
        pool_.clear();
        if (errore_)
            std::rethrow_exception(errore_);
    }
    std::size_t Fette() const { return nFette_; }

private:
    void Lavora(std::size_t t) {
        try {
            for (std::size_t k = prossima_.fetch_add(1); k < nFette_; k = prossima_.fetch_add(1)) {
                const std::size_t i0 = k * Blocco::RighePerFetta;
                for (std::size_t i = i0; i < std::min(b_.record.size(), i0 + Blocco::RighePerFetta); ++i)
                    CalcolaRecord(b_, i, b_.fette[k], f_, o_, *c_[t]);
            }
        } catch (...) {
            std::lock_guard<std::mutex> l(m_);
            if (!errore_)
                errore_ = std::current_exception();
        }
    }

    Blocco& b_;
    const FormatoLotto& f_;
    const Opzioni& o_;
    std::vector<std::unique_ptr<CalcolatoreSismico>>& c_;
    std::size_t nFette_ = 0;
    std::atomic<std::size_t> prossima_{0};
    std::mutex m_;
    std::exception_ptr errore_;
    std::vector<std::jthread> pool_;
};

// The input's lines, read in large pieces: each view lasts until the next
// call. The same lines std::getline gives.
class Lettore {
public:
    explicit Lettore(std::istream& in) : in_(in), buf_(1 << 20, '\0') {}
    bool Riga(std::string_view& r) {
        while (true) {
            const char* p = static_cast<const char*>(std::memchr(buf_.data() + pos_, '\n', fine_ - pos_));
            if (p) {
                const std::size_t a = pos_;
                pos_ = static_cast<std::size_t>(p - buf_.data()) + 1;
                r = std::string_view(buf_.data() + a, pos_ - 1 - a);
                return true;
            }
            if (finito_) {
                if (pos_ == fine_)
                    return false;
                r = std::string_view(buf_.data() + pos_, fine_ - pos_);
                pos_ = fine_;
                return true;
            }
            // Keep the line begun, make room and read on.
            std::memmove(buf_.data(), buf_.data() + pos_, fine_ - pos_);
            fine_ -= pos_;
            pos_ = 0;
            if (fine_ == buf_.size())
                buf_.resize(buf_.size() * 2);
            in_.read(buf_.data() + fine_, static_cast<std::streamsize>(buf_.size() - fine_));
            const auto letti = static_cast<std::size_t>(in_.gcount());
            fine_ += letti;
            finito_ = letti == 0;
        }
    }

private:
    std::istream& in_;
    std::string buf_;
    std::size_t pos_ = 0, fine_ = 0;
    bool finito_ = false;
};

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
        uscita << IntestazioneCsvLotto();

    Lettore lettore(ingresso);
    std::string linea, seguito;
    long numero = 0, errate = 0, calcolate = 0;
    std::uintmax_t letti = 0;
    bool fine = false, fermato = false;
    // Fills b with the next records; false when there are none.
    auto leggi = [&](Blocco& b) {
        b.Svuota();
        std::string_view v;
        while (!fine && b.record.size() < Blocco::Righe) {
            if (!lettore.Riga(v)) {
                fine = true;
                break;
            }
            ++numero;
            const long inizio = numero;
            letti += v.size() + 1;
            linea.assign(v);
            if (inizio == 1 && linea.rfind(MarcaUtf8, 0) == 0)
                linea.erase(0, MarcaUtf8.size());
            // A quoted field may hold line breaks: the record goes on.
            const char sep = formato ? formato->separatore : RilevaSeparatore(linea);
            while (linea.find('"') != std::string::npos && VirgoletteAperte(linea, sep) && lettore.Riga(v)) {
                ++numero;
                letti += v.size() + 1;
                linea += '\n';
                linea.append(v);
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
            b.record.push_back({inizio, b.testo.size(), linea.size()});
            b.testo += linea;
        }
        return !b.record.empty();
    };
    // Writes a computed block in order, up to the first bad row under --rigoroso.
    auto scrivi = [&](const Blocco& b, std::size_t nFette) {
        for (std::size_t k = 0; k < nFette && !fermato; ++k) {
            const Blocco::Fetta& x = b.fette[k];
            std::size_t righe = x.fine.size(), errateQui = static_cast<std::size_t>(x.errate);
            if (rigoroso && x.errate > 0) {
                righe = 0;
                while (x.fineErrore[righe] == (righe ? x.fineErrore[righe - 1] : 0))
                    ++righe;
                ++righe; // the bad row is written, then the run stops
                errateQui = 1;
                fermato = true;
            }
            const std::size_t fineUscita = x.fine[righe - 1], fineErrori = x.fineErrore[righe - 1];
            uscita.write(x.uscita.data(), static_cast<std::streamsize>(fineUscita));
            if (fineErrori > 0) {
                avanzamento.Pulisci();
                fl.err.write(x.errori.data(), static_cast<std::streamsize>(fineErrori));
            }
            errate += static_cast<long>(errateQui);
            calcolate += static_cast<long>(righe - errateQui);
        }
        avanzamento.Mostra(letti, calcolate + errate);
    };

    // One block is read while the one before is computed, and written while
    // the next one is computed; on one thread, each step in turn.
    Blocco blocchi[2];
    Blocco *qui = &blocchi[0], *poi = &blocchi[1];
    std::optional<Calcolo> calcoli[2];
    int ca = 0;
    if (leggi(*qui)) {
        calcoli[ca].emplace(*qui, *formato, o, calcolatori);
        while (true) {
            const bool altro = leggi(*poi);
            calcoli[ca]->Attendi();
            const std::size_t fette = calcoli[ca]->Fette();
            if (altro)
                calcoli[1 - ca].emplace(*poi, *formato, o, calcolatori);
            scrivi(*qui, fette);
            calcoli[ca].reset();
            ca = 1 - ca;
            if (!altro || fermato)
                break; // a block still being computed is waited for by its destructor
            std::swap(qui, poi);
        }
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
