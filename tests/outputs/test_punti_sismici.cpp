// The sheet of every hazard point: its layout through a recording sheet, and
// the real file read back by openpyxl, an independent reader, against the
// grid decoded on its own (controlla_punti_sismici.py).
#include "outputs/punti_sismici.h"
#include "outputs/tavrel_excell.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <grp.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace veltrano;
using namespace veltrano::uscite;

namespace {

const Griglia& GrigliaProva() {
    static const Griglia g = [] {
        Griglia x;
        x.Carica(fs::path(VELTRANO_DATI) / "GeoDati.dat");
        return x;
    }();
    return g;
}

struct FoglioRegistro : TFoglioCalcolo {
    std::map<std::pair<int, int>, std::string> testi;
    std::map<std::pair<int, int>, double> numeri;
    std::map<std::pair<int, int>, int> formati;
    std::map<int, int> larghezze;
    std::vector<TFormatoCella> stili;
    int ultimaRiga = 0;
    bool ordinato = true;
    void Riga(int r) {
        ordinato = ordinato && r >= ultimaRiga;
        ultimaRiga = r;
    }
    void CambiaFoglio(int) override {}
    int AssegnaFormatoCella(const TFormatoCella& f) override {
        stili.push_back(f);
        return static_cast<int>(stili.size()) - 1;
    }
    void ScriveCella(int r, int c, const std::string& t, int f) override {
        Riga(r);
        testi[{r, c}] = t;
        formati[{r, c}] = f;
    }
    void ScriveCella(int r, int c, double v, int f) override {
        Riga(r);
        numeri[{r, c}] = v;
        formati[{r, c}] = f;
    }
    void ColonnaLarghezza(int c, int l) override { larghezze[c] = l; }
    void FondiCelle(int, int, int, int, int) override {}
};

struct Cartella {
    fs::path p = fs::temp_directory_path() / ("veltrano_foglio_" + std::to_string(::getpid()));
    Cartella() {
        fs::remove_all(p);
        fs::create_directories(p);
    }
    ~Cartella() {
        std::error_code ec;
        fs::permissions(p, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(p, ec);
    }
    std::size_t File() const {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(p), fs::directory_iterator()));
    }
};

std::string Contenuto(const fs::path& f) {
    std::ifstream i(f, std::ios::binary);
    return {std::istreambuf_iterator<char>(i), {}};
}

} // namespace

TEST(PuntiSismici, DueGruppiDiColonneInOrdineDiRiga) {
    FoglioRegistro f;
    ASSERT_TRUE(EsportaPuntiSismici(GrigliaProva(), f));
    EXPECT_TRUE(f.ordinato); // a streaming writer gets every row once
    int righe[2] = {0, 0};
    for (const auto& [rc, t] : f.testi)
        if (rc.first > 0)
            ++righe[rc.second == 0 ? 0 : 1];
    EXPECT_EQ(righe[0], 50004);
    EXPECT_EQ(righe[1], 46755);
    for (int base : {0, 10})
        for (int j = 0; j < 9; ++j) {
            EXPECT_EQ(f.testi[std::pair(0, base + j)], IntestazioniPunti[static_cast<std::size_t>(j)]);
            EXPECT_EQ(f.larghezze[base + j], j == 0 ? 3000 : 2000);
        }
    EXPECT_FALSE(f.larghezze.count(9));
    for (const auto& [rc, t] : f.testi)
        EXPECT_NE(rc.second, 9);

    // Node 5556 closes the first group on row 50004; 5557 opens the second
    // on row 1; the last node ends on row 46755.
    const Griglia& g = GrigliaProva();
    for (auto [n, riga, colonna] : {std::tuple{1, 1, 0}, {5556, 49996, 0}, {5557, 1, 10}, {10751, 46747, 10}}) {
        EXPECT_EQ(PosizionePunto(n, 0).riga, riga) << n;
        EXPECT_EQ(PosizionePunto(n, 0).colonna, colonna) << n;
        for (int k = 0; k < 9; ++k) {
            const auto [r, c] = PosizionePunto(n, k);
            EXPECT_EQ(r, riga + k);
            EXPECT_EQ(f.testi[std::pair(r, c)], NomiTR[static_cast<std::size_t>(k)]);
            EXPECT_EQ(f.numeri[std::pair(r, c + 1)], g.ID(k, n));
            EXPECT_EQ(f.numeri[std::pair(r, c + 6)], static_cast<double>(g.ag(k, n)));
            EXPECT_EQ(f.numeri[std::pair(r, c + 8)], static_cast<double>(g.Tc(k, n)));
            EXPECT_EQ(f.stili[static_cast<std::size_t>(f.formati[std::pair(r, c + 2)])].formatoNumero, "0.0000");
        }
    }
    EXPECT_THROW(PosizionePunto(0, 0), ErroreIntervallo);
    EXPECT_THROW(PosizionePunto(10752, 0), ErroreIntervallo);
}

TEST(PuntiSismici, IlFileRiLettoDaOpenpyxlCorrispondeAllaGriglia) {
    Cartella c;
    const fs::path file = c.p / NomeFilePuntiSismici;
    int chiamate = 0, ultima = 0;
    ASSERT_TRUE(ScriviFilePuntiSismici(file, GrigliaProva(), [&](int fatte, int totale) {
        ++chiamate;
        EXPECT_GE(fatte, ultima);
        EXPECT_EQ(totale, 96759);
        ultima = fatte;
        return true;
    }));
    EXPECT_GT(chiamate, 10);
    EXPECT_EQ(ultima, 96759);
    EXPECT_EQ(c.File(), 1u); // no temporary left behind
    const std::string comando = std::string(VELTRANO_PYTHON3) + " " + VELTRANO_CONTROLLO + " '" + file.string() +
                                "' '" + (fs::path(VELTRANO_DATI) / "GeoDati.dat").string() + "'";
    EXPECT_EQ(std::system(comando.c_str()), 0) << comando;

    // Running it again replaces the file.
    { std::ofstream(file, std::ios::trunc) << "vecchio"; }
    ASSERT_TRUE(ScriviFilePuntiSismici(file, GrigliaProva()));
    EXPECT_EQ(Contenuto(file).substr(0, 2), "PK");
}

TEST(PuntiSismici, UnFallimentoLasciaIlVecchioFile) {
    Cartella c;
    const fs::path file = c.p / NomeFilePuntiSismici;
    { std::ofstream(file) << "vecchio"; }

    // Stopped half-way: the old file stays, the temporary goes.
    EXPECT_FALSE(ScriviFilePuntiSismici(file, GrigliaProva(), [](int fatte, int) { return fatte < 30000; }));
    EXPECT_EQ(Contenuto(file), "vecchio");
    EXPECT_EQ(c.File(), 1u);

    // A folder where the file should be.
    const fs::path occupato = c.p / "occupato.xlsx";
    fs::create_directory(occupato);
    fs::create_directory(occupato / "dentro");
    try {
        ScriviFilePuntiSismici(occupato, GrigliaProva());
        ADD_FAILURE() << "no error";
    } catch (const ErroreApertura& e) {
        EXPECT_NE(std::string(e.what()).find("occupato.xlsx"), std::string::npos) << e.what();
    }
    EXPECT_TRUE(fs::is_directory(occupato / "dentro"));

    // Open in a spreadsheet program: its lock file is beside it.
    const fs::path blocco = c.p / ".~lock.PuntiSismici.xlsx#";
    { std::ofstream(blocco) << ",utente,macchina,07.12.2026 14:00,utente;"; }
    try {
        ScriviFilePuntiSismici(file, GrigliaProva());
        ADD_FAILURE() << "no error";
    } catch (const ErroreApertura& e) {
        EXPECT_NE(std::string(e.what()).find("aperto in un altro programma"), std::string::npos) << e.what();
    }
    EXPECT_EQ(Contenuto(file), "vecchio");
    fs::remove(blocco);

    // A writer used before it has a workbook says so instead of crashing.
    TTavrelExcell vuoto;
    EXPECT_THROW(vuoto.ScriveCella(0, 0, 1.0), ErroreArgomento);
    EXPECT_THROW(vuoto.AssegnaFormatoCella({}), ErroreArgomento);

    // A missing folder names it.
    EXPECT_THROW(ScriviFilePuntiSismici(c.p / "manca" / NomeFilePuntiSismici, GrigliaProva()), ErroreApertura);
}

namespace {

// The message of a failed export of the sheet to file ("" when it worked).
std::string MessaggioEsportazione(const fs::path& file) {
    try {
        ScriviFilePuntiSismici(file, GrigliaProva());
        return "";
    } catch (const ErroreApertura& e) {
        return e.what();
    } catch (const std::exception& e) {
        return std::string("altro errore: ") + e.what();
    }
}

} // namespace

TEST(PuntiSismici, CartellaInSolaLetturaAncheDaSuperutente) {
    Cartella c;
    const fs::path file = c.p / NomeFilePuntiSismici;
    { std::ofstream(file) << "vecchio"; }
    // Where the folder should be there is a file: nobody, root included,
    // can write under it, and it is left as it was.
    const fs::path nonCartella = c.p / "non_cartella";
    { std::ofstream(nonCartella) << "vecchio"; }
    const std::string e = MessaggioEsportazione(nonCartella / NomeFilePuntiSismici);
    EXPECT_NE(e.find("impossibile scrivere nella cartella"), std::string::npos) << e;
    EXPECT_NE(e.find(nonCartella.string()), std::string::npos) << e;
    EXPECT_EQ(Contenuto(nonCartella), "vecchio");

    // A read-only folder holding the old file. The superuser writes
    // anywhere, so as root the export runs in a child process that has
    // first given up root for the unprivileged "nobody" (uid and gid 65534).
    fs::permissions(c.p, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                             fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
    const std::size_t prima = c.File();
    if (::geteuid() != 0) {
        const std::string m = MessaggioEsportazione(file);
        EXPECT_NE(m.find("impossibile scrivere nella cartella"), std::string::npos) << m;
        EXPECT_NE(m.find(c.p.string()), std::string::npos) << m;
    } else {
        EXPECT_EXIT(
            {
                if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0 || ::geteuid() == 0) {
                    std::fprintf(stderr, "impossibile rinunciare a root: %s\n", std::strerror(errno));
                    std::_Exit(2);
                }
                const std::string m = MessaggioEsportazione(file);
                std::fprintf(stderr, "%s\n", m.c_str());
                std::_Exit(m.find(c.p.string()) != std::string::npos ? 0 : 3);
            },
            ::testing::ExitedWithCode(0), "impossibile scrivere nella cartella");
    }
    EXPECT_EQ(c.File(), prima) << "no temporary left behind";
    fs::permissions(c.p, fs::perms::owner_all);
    EXPECT_TRUE(Contenuto(file) == "vecchio") << "the old file was replaced";
}
