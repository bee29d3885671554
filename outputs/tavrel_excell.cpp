#include "outputs/tavrel_excell.h"

#include "veltrano/veltrano.h"

#include <xlsxwriter.h>

#include <atomic>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace veltrano::uscite {

TTavrelExcell::~TTavrelExcell() {
    if (libro_)
        lxw_workbook_free(libro_);
}

void TTavrelExcell::Controlla(int esito, const char* cosa) const {
    if (esito != LXW_NO_ERROR)
        throw ErroreLettura(file_.string() + ": " + cosa + " (" + lxw_strerror(static_cast<lxw_error>(esito)) + ")");
}

void TTavrelExcell::Inizializza(const std::filesystem::path& file, const std::vector<std::string>& fogli) {
    if (libro_)
        lxw_workbook_free(libro_);
    libro_ = nullptr;
    fogli_.clear();
    formati_.clear();
    foglio_ = nullptr;
    file_ = file;
    // Rows are streamed to a temporary file instead of being kept: the
    // whole grid is almost a million cells.
    lxw_workbook_options opzioni{};
    opzioni.constant_memory = LXW_TRUE;
    libro_ = workbook_new_opt(file.c_str(), &opzioni);
    if (!libro_)
        throw ErroreApertura(file.string() + ": impossibile creare il foglio di calcolo");
    for (const std::string& nome : fogli) {
        lxw_worksheet* f = workbook_add_worksheet(libro_, nome.c_str());
        if (!f)
            throw ErroreApertura(file.string() + ": nome di foglio non valido \"" + nome + "\"");
        fogli_.push_back(f);
    }
    CambiaFoglio(0);
}

void TTavrelExcell::Finalizza() {
    if (!libro_)
        return;
    lxw_workbook* libro = libro_;
    libro_ = nullptr; // workbook_close frees it, whatever the outcome
    fogli_.clear();
    formati_.clear();
    foglio_ = nullptr;
    Controlla(workbook_close(libro), "scrittura non riuscita");
}

void TTavrelExcell::CambiaFoglio(int foglio) {
    if (!libro_)
        throw ErroreArgomento("foglio di calcolo non inizializzato");
    if (foglio < 0 || static_cast<std::size_t>(foglio) >= fogli_.size())
        throw ErroreIntervallo("foglio " + std::to_string(foglio) + " inesistente");
    foglio_ = fogli_[static_cast<std::size_t>(foglio)];
}

int TTavrelExcell::AssegnaFormatoCella(const TFormatoCella& f) {
    if (!libro_)
        throw ErroreArgomento("foglio di calcolo non inizializzato");
    lxw_format* x = workbook_add_format(libro_);
    if (!f.formatoNumero.empty())
        format_set_num_format(x, f.formatoNumero.c_str());
    format_set_font_name(x, f.carattere.c_str());
    format_set_font_size(x, f.dimensione);
    if (f.grassetto)
        format_set_bold(x);
    if (f.centrato)
        format_set_align(x, LXW_ALIGN_CENTER);
    if (f.sfondo != 0xFFFFFFFF) {
        // 0x00BBGGRR to the writer's 0xRRGGBB.
        const uint32_t rgb = ((f.sfondo & 0xFF) << 16) | (f.sfondo & 0xFF00) | ((f.sfondo >> 16) & 0xFF);
        format_set_pattern(x, LXW_PATTERN_SOLID);
        format_set_bg_color(x, rgb);
    }
    if (f.bordi)
        format_set_border(x, LXW_BORDER_THIN);
    formati_.push_back(x);
    return static_cast<int>(formati_.size()) - 1;
}

lxw_worksheet* TTavrelExcell::Foglio() const {
    if (!foglio_)
        throw ErroreArgomento("foglio di calcolo non inizializzato");
    return foglio_;
}

lxw_format* TTavrelExcell::Formato(int formato) const {
    if (formato < 0)
        return nullptr;
    if (static_cast<std::size_t>(formato) >= formati_.size())
        throw ErroreIntervallo("formato di cella " + std::to_string(formato) + " inesistente");
    return formati_[static_cast<std::size_t>(formato)];
}

void TTavrelExcell::ScriveCella(int riga, int colonna, const std::string& testo, int formato) {
    const auto r = static_cast<lxw_row_t>(riga);
    const auto c = static_cast<lxw_col_t>(colonna);
    if (testo.empty())
        Controlla(worksheet_write_blank(Foglio(), r, c, Formato(formato)), "cella non scritta");
    else if (testo[0] == '=')
        Controlla(worksheet_write_formula(Foglio(), r, c, testo.c_str() + 1, Formato(formato)), "cella non scritta");
    else
        Controlla(worksheet_write_string(Foglio(), r, c, testo.c_str(), Formato(formato)), "cella non scritta");
}

void TTavrelExcell::ScriveCella(int riga, int colonna, double valore, int formato) {
    Controlla(worksheet_write_number(Foglio(), static_cast<lxw_row_t>(riga), static_cast<lxw_col_t>(colonna), valore,
                                     Formato(formato)),
              "cella non scritta");
}

void TTavrelExcell::ColonnaLarghezza(int colonna, int larghezza) {
    // The file keeps the width with the cell padding included, in 1/256 of
    // a character; the writer takes the visible width and stores whole
    // pixels of a 7-pixel digit plus 5 of padding. Ask for the pixel count
    // nearest to the width wanted (3000 -> 82 px, 2000 -> 55 px), which is
    // also what a spreadsheet program shows.
    const long pixel = std::lround(larghezza * 7.0 / 256.0);
    const double visibile = pixel > 12 ? static_cast<double>(pixel - 5) / 7.0 : larghezza / 256.0;
    const auto c = static_cast<lxw_col_t>(colonna);
    Controlla(worksheet_set_column(Foglio(), c, c, visibile, nullptr), "larghezza di colonna non impostata");
}

void TTavrelExcell::FondiCelle(int riga1, int colonna1, int riga2, int colonna2, int formato) {
    Controlla(worksheet_merge_range(Foglio(), static_cast<lxw_row_t>(riga1), static_cast<lxw_col_t>(colonna1),
                                    static_cast<lxw_row_t>(riga2), static_cast<lxw_col_t>(colonna2), "",
                                    Formato(formato)),
              "celle non unite");
}

namespace {

std::string Motivo(int e) { return std::strerror(e); }

/// A new, empty file beside file that no one else has: its name.
std::filesystem::path CreaTemporaneo(const std::filesystem::path& file) {
    static std::atomic<unsigned> contatore{0};
    for (int tentativo = 0; tentativo < 100; ++tentativo) {
        std::filesystem::path t = file;
        t += ".tmp" + std::to_string(::getpid()) + "_" + std::to_string(contatore++);
        const int fd = ::open(t.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd >= 0) {
            ::close(fd);
            return t;
        }
        if (errno != EEXIST)
            throw ErroreApertura(file.parent_path().string() + ": impossibile scrivere nella cartella (" +
                                 Motivo(errno) + ")");
    }
    throw ErroreApertura(file.string() + ": impossibile creare un file temporaneo");
}

struct Temporaneo {
    std::filesystem::path p;
    bool tenere = false;
    ~Temporaneo() {
        if (!tenere) {
            std::error_code ec;
            std::filesystem::remove(p, ec);
        }
    }
};

} // namespace

bool ScriviFilePuntiSismici(const std::filesystem::path& file, const Griglia& g, const TProgressoFoglio& progresso) {
    std::error_code ec;
    if (std::filesystem::is_directory(file, ec))
        throw ErroreApertura(file.string() + ": è una cartella, non un file");
    // A file open in a spreadsheet program is not locked on this system,
    // but the program keeps a lock file beside it and would later save its
    // copy over ours: say so instead of replacing it under the user.
    const std::filesystem::path blocco = file.parent_path() / (".~lock." + file.filename().string() + "#");
    if (std::filesystem::exists(blocco, ec))
        throw ErroreApertura(file.string() + ": il file è aperto in un altro programma; chiuderlo e riprovare (se non "
                                             "è aperto, eliminare " + blocco.string() + ")");
    Temporaneo t{CreaTemporaneo(file)};
    {
        TTavrelExcell x;
        x.Inizializza(t.p, {NomeFoglioPunti});
        if (!EsportaPuntiSismici(g, x, progresso))
            return false;
        x.Finalizza();
    }
    if (std::rename(t.p.c_str(), file.c_str()) != 0)
        throw ErroreLettura(file.string() + ": impossibile sostituire il file (" + Motivo(errno) + ")");
    t.tenere = true;
    return true;
}

} // namespace veltrano::uscite
