// "veltrano spettro" called in process with ag, Fo and Tc* given directly, so
// no data file is needed.
#include "cli/comandi.h"
#include "tests/supporto.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <locale>
#include <sstream>
#include <string>
#include <vector>

namespace veltrano::cli {
namespace {

struct Esito {
    int codice;
    std::string out, err;
};

Esito Esegui(const std::vector<std::string>& args, const std::locale& loc = std::locale::classic()) {
    std::ostringstream out, err;
    out.imbue(loc);
    err.imbue(loc);
    Parole a{"spettro"};
    a.insert(a.end(), args.begin(), args.end());
    const int codice = Principale(a, out, err);
    return {codice, out.str(), err.str()};
}

std::vector<std::string> Righe(const std::string& testo) {
    std::vector<std::string> r;
    std::istringstream s(testo);
    for (std::string riga; std::getline(s, riga);)
        r.push_back(riga);
    return r;
}

// The data rows of a CSV table: the lines after the header row.
std::vector<std::string> RigheDati(const std::string& csv) {
    auto r = Righe(csv);
    const auto inizio = std::find_if(r.begin(), r.end(), [](const std::string& x) { return x.rfind("T_s", 0) == 0; });
    return inizio == r.end() ? std::vector<std::string>{} : std::vector<std::string>(inizio + 1, r.end());
}

const std::vector<std::string> Diretti{"--ag", "0.25", "--fo", "2.4", "--tc", "0.3"};

std::vector<std::string> Con(std::vector<std::string> altri) {
    std::vector<std::string> a = Diretti;
    a.insert(a.end(), altri.begin(), altri.end());
    return a;
}

class FileTemporaneo {
public:
    explicit FileTemporaneo(const std::string& nome)
        : percorso_(std::filesystem::temp_directory_path() /
                    (std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
                     ::testing::UnitTest::GetInstance()->current_test_info()->name() + "_" + nome)) {
        std::filesystem::remove(percorso_);
    }
    ~FileTemporaneo() { std::filesystem::remove(percorso_); }
    const std::filesystem::path& percorso() const { return percorso_; }
    std::string Contenuto() const {
        std::ifstream f(percorso_, std::ios::binary);
        return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
    }

private:
    std::filesystem::path percorso_;
};

TEST(ComandoSpettro, Aiuto) {
    const auto e = Esegui({"--help"});
    EXPECT_EQ(e.codice, 0);
    EXPECT_EQ(e.out.rfind("uso: veltrano spettro", 0), 0u);
    EXPECT_NE(e.out.find("SDe_m"), std::string::npos);
    EXPECT_TRUE(e.err.empty());
}

TEST(ComandoSpettro, TabellaCsv) {
    const auto e = Esegui(Diretti);
    ASSERT_EQ(e.codice, 0) << e.err;
    EXPECT_TRUE(e.err.empty());
    const auto righe = Righe(e.out);
    ASSERT_GT(righe.size(), 10u);
    std::size_t commenti = 0;
    while (commenti < righe.size() && righe[commenti].rfind("# ", 0) == 0)
        ++commenti;
    EXPECT_GE(commenti, 4u);
    ASSERT_LT(commenti, righe.size());
    EXPECT_EQ(righe[commenti], "T_s,Se_g,Sve_g,Sd_g,Svd_g,SDe_m");
    EXPECT_NE(e.out.find("# stato limite: utente"), std::string::npos);
    EXPECT_NE(e.out.find("TB 0.1000 s, TC 0.3000 s, TD 2.6000 s"), std::string::npos);
    // Subsoil A at T = 0: Se = Sd = ag; Sve = Svd = ag·Fv/Fo = 0.25·1.35·√0.25.
    EXPECT_EQ(righe[commenti + 1], "0.0000,0.250000,0.168750,0.250000,0.168750,0.000000");
    // Default grid: 0 to 4 s.
    EXPECT_EQ(righe.back().substr(0, 7), "4.0000,");
    for (std::size_t i = commenti + 1; i < righe.size(); ++i)
        EXPECT_EQ(std::count(righe[i].begin(), righe[i].end(), ','), 5) << righe[i];
}

TEST(ComandoSpettro, ComponenteEPeriodi) {
    auto e = Esegui(Con({"--componente", "verticale", "--periodi", "0:1:0.5", "--stato", "SLD"}));
    ASSERT_EQ(e.codice, 0) << e.err;
    EXPECT_NE(e.out.find("# stato limite: SLD"), std::string::npos);
    EXPECT_EQ(e.out.find("# orizzontale"), std::string::npos);
    // Past TC = 0.15 s: Sve(0.5) = ag·Fv·TC/T = 0.25·1.62·0.3 = 0.1215 g; q = 1 keeps Svd = Sve.
    EXPECT_EQ(RigheDati(e.out),
              (std::vector<std::string>{"0.0000,0.168750,0.168750", "0.5000,0.121500,0.121500",
                                        "1.0000,0.060750,0.060750"}));
    EXPECT_NE(e.out.find("\nT_s,Sve_g,Svd_g\n"), std::string::npos);

    e = Esegui(Con({"--componente", "orizzontale", "--periodi", "0.2:0.2:1", "--suolo", "b", "--q", "3"}));
    ASSERT_EQ(e.codice, 0) << e.err;
    EXPECT_NE(e.out.find("\nT_s,Se_g,Sd_g,SDe_m\n"), std::string::npos);
    // Subsoil B plateau: Se = 0.25·1.16·2.4 = 0.696 g, Sd = Se/3.
    // SDe = 0.696·9.80665·(0.2/2π)² m.
    EXPECT_EQ(RigheDati(e.out), std::vector<std::string>{"0.2000,0.696000,0.232000,0.006916"});
}

TEST(ComandoSpettro, Json) {
    const auto e = Esegui(Con({"--formato", "json", "--periodi", "0:0.1:0.1", "--topografia", "T2"}));
    ASSERT_EQ(e.codice, 0) << e.err;
    const auto j = nlohmann::json::parse(e.out);
    EXPECT_EQ(j["stato_limite"], "utente");
    EXPECT_TRUE(j["TR"].is_null());
    EXPECT_EQ(j["topografia"], "T2");
    EXPECT_EQ(j["progetto_elastico"], false);
    ASSERT_EQ(j["punti"].size(), 2u);
    EXPECT_DOUBLE_EQ(j["punti"][1]["T"], 0.1);
    EXPECT_NEAR(j["punti"][1]["Se"].get<double>(), 0.72, 1e-12); // 0.25·1.2·2.4
    EXPECT_EQ(e.out.substr(e.out.size() - 2), "}\n");
}

// Regression: at SLO and SLD the design spectra applied 1/q and the 0.2·ag
// floor; the decree takes the elastic spectra there (issue 13).
TEST(ComandoSpettro, DesignSpectraOfTheServiceabilityStatesAreElastic) {
    for (const char* stato : {"SLO", "SLD", "SLV"}) {
        const auto e = Esegui(Con({"--stato", stato, "--q", "4", "--periodi", "0:4:2"}));
        ASSERT_EQ(e.codice, 0) << e.err;
        const auto righe = RigheDati(e.out);
        ASSERT_EQ(righe.size(), 3u);
        for (const std::string& r : righe) {
            std::vector<double> v;
            std::stringstream ss(r);
            for (std::string c; std::getline(ss, c, ',');)
                v.push_back(std::stod(c));
            if (std::string(stato) != "SLV") {
                EXPECT_EQ(v[3], v[1]) << stato << ": " << r; // Sd = Se
                EXPECT_EQ(v[4], v[2]) << stato << ": " << r; // Svd = Sve
            } else if (v[0] == 4.0) {
                EXPECT_EQ(v[3], 0.2 * 0.25) << r; // the floor of the ultimate states
            }
        }
    }
    // The site of the issue: Sd(4 s) at SLD is Se, 0.008542 g.
    const auto sito = Esegui({"--lon", "13.4", "--lat", "42.35", "--stato", "SLD", "--periodi", "4:4:1", "--dati",
                              test::CartellaDati().string()});
    ASSERT_EQ(sito.codice, 0) << sito.err;
    EXPECT_EQ(RigheDati(sito.out).at(0).substr(0, 32), "4.0000,0.008542,0.000988,0.00854");
}

// Regression: "--ag 1e60" printed stack memory with exit 0, "--periodi
// 1e60:1e60:1" too, and "--ag 1e40 --grafico" wrote an invalid SVG (issue 13).
TEST(ComandoSpettro, InputsOutsidePhysicalRangesAreRefused) {
    const std::vector<std::vector<std::string>> casi{
        {"--ag", "1e60", "--fo", "2.5", "--tc", "0.3"},
        {"--ag", "1e40", "--fo", "2.5", "--tc", "0.3", "--grafico", "g.svg"},
        {"--ag", "3.01", "--fo", "2.5", "--tc", "0.3"},
        {"--ag", "0.2", "--fo", "11", "--tc", "0.3"},
        {"--ag", "0.2", "--fo", "2.5", "--tc", "2.5"},
        Con({"--periodi", "1e60:1e60:1"}),
        Con({"--periodi", "0:10.5:0.5"}),
        Con({"--periodi", "0:1:1e-300"}),
        Con({"--smorzamento", "1e300"}),
        Con({"--q", "1e300"})};
    for (const auto& c : casi) {
        const auto e = Esegui(c);
        EXPECT_EQ(e.codice, 2) << c[1] << " " << e.out.substr(0, 200);
        EXPECT_TRUE(e.out.empty());
        EXPECT_EQ(std::count(e.err.begin(), e.err.end(), '\n'), 1) << e.err;
    }
    EXPECT_FALSE(std::filesystem::exists("g.svg"));
    // The edges themselves are accepted.
    EXPECT_EQ(Esegui({"--ag", "3", "--fo", "10", "--tc", "0.2", "--periodi", "0:10:5"}).codice, 0);
}

// A locale with decimal comma and digit grouping must not leak into the output.
struct VirgolaDecimale : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};

TEST(ComandoSpettro, PuntoDecimaleInOgniLocale) {
    const std::locale italiano(std::locale::classic(), new VirgolaDecimale);
    const auto e = Esegui(Con({"--periodi", "0:2:1", "--smorzamento", "7.5"}), italiano);
    ASSERT_EQ(e.codice, 0) << e.err;
    EXPECT_EQ(RigheDati(e.out).at(1).substr(0, 7), "1.0000,");
    EXPECT_NE(e.out.find("smorzamento 7.5 %"), std::string::npos);
}

#if VELTRANO_GRAFICI_QT
// The chart through the Qt plugin beside the test program, as the installed
// program loads it: each format by its extension, the table still written.
TEST(ComandoSpettro, GraficoNeiTreFormatiDalModuloQt) {
    for (const std::string formato : {"png", "svg", "PDF"}) {
        const FileTemporaneo f("spettro." + formato);
        const auto e = Esegui(Con({"--grafico", f.percorso().string()}));
        ASSERT_EQ(e.codice, 0) << e.err;
        EXPECT_GT(RigheDati(e.out).size(), 80u) << formato;
        const std::string file = f.Contenuto();
        if (formato == "png") {
            EXPECT_EQ(file.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
            EXPECT_LT(file.size(), 150000u); // compressed, not a stored megabyte
        } else if (formato == "svg") {
            EXPECT_NE(file.find("<svg"), std::string::npos);
            for (const char* t : {"Periodo T [s]", "Se [g]", ">utente<", "Suolo A, topografia T1, smorzamento 5%"})
                EXPECT_NE(file.find(t), std::string::npos) << t;
        } else {
            EXPECT_EQ(file.rfind("%PDF-", 0), 0u);
        }
    }
}

TEST(ComandoSpettro, GraficoNonScrivibile) {
    const auto e = Esegui(Con({"--grafico", "/cartella/che/non/esiste/spettro.svg"}));
    EXPECT_EQ(e.codice, 1);
    EXPECT_EQ(e.err.rfind("veltrano spettro: /cartella/che/non/esiste/spettro.svg: ", 0), 0u) << e.err;
    EXPECT_TRUE(e.out.empty());
}
#else
TEST(ComandoSpettro, SenzaQtIlGraficoNonEDisponibile) {
    const FileTemporaneo f("spettro.png");
    const auto e = Esegui(Con({"--grafico", f.percorso().string()}));
    EXPECT_EQ(e.codice, 1);
    EXPECT_EQ(e.err.rfind("veltrano spettro: --grafico: grafici non disponibili: manca il modulo Qt (", 0), 0u)
        << e.err;
    EXPECT_TRUE(e.out.empty());
    EXPECT_FALSE(std::filesystem::exists(f.percorso()));
}
#endif

TEST(ComandoSpettro, DatiMancanti) {
    // A data folder without the grid file is a failure, not bad use.
    const auto e = Esegui({"--lon", "13.4", "--lat", "42.35", "--dati", "/cartella/che/non/esiste"});
    EXPECT_EQ(e.codice, 1) << e.err;
    EXPECT_EQ(e.err.rfind("veltrano spettro: ", 0), 0u);
}

class SpettroUsoErrato : public ::testing::TestWithParam<std::vector<std::string>> {};

INSTANTIATE_TEST_SUITE_P(
    Casi, SpettroUsoErrato,
    ::testing::Values(std::vector<std::string>{}, std::vector<std::string>{"--ag", "0.25"},
                      std::vector<std::string>{"--ag", "-0.25", "--fo", "2.4", "--tc", "0.3"},
                      std::vector<std::string>{"--ag", "x", "--fo", "2.4", "--tc", "0.3"},
                      std::vector<std::string>{"--ag", "nan", "--fo", "2.4", "--tc", "0.3"},
                      std::vector<std::string>{"--ag", "0.25", "--fo", "0", "--tc", "0.3"},
                      std::vector<std::string>{"--ag", "0.25", "--fo", "2.4", "--tc", "-1"},
                      std::vector<std::string>{"--ag", "0.25", "--fo", "2.4", "--tc", "0.3", "--lon", "13"},
                      Con({"--suolo", "F"}), Con({"--topografia", "T5"}),
                      Con({"--topografia", "T2", "--st", "1.2"}), Con({"--st", "1.5"}),
                      Con({"--st", "0.9"}), Con({"--smorzamento", "-1"}), Con({"--q", "0.5"}),
                      Con({"--componente", "obliqua"}), Con({"--formato", "xml"}),
                      Con({"--periodi", "0:4"}), Con({"--periodi", "0:4:0"}),
                      Con({"--periodi", "2:1:0.1"}), Con({"--periodi", "a:b:c"}),
                      Con({"--grafico", "spettro.jpg"}), Con({"--stato", "SLU"}),
                      Con({"--vn", "50"}), Con({"--wgs84"}), Con({"--pippo"}), Con({"extra"}),
                      Con({"--q"}), std::vector<std::string>{"--lon", "13.4"},
                      std::vector<std::string>{"--lon", "13.4", "--lat", "42", "--classe", "V"},
                      std::vector<std::string>{"--lon", "13.4", "--lat", "42", "--vn", "10001"},
                      std::vector<std::string>{"--lon", "200", "--lat", "42"},
                      std::vector<std::string>{"--lon", "13.4", "--lat", "42", "--stato", "utente"}));

TEST_P(SpettroUsoErrato, CodiceDueEUnaRiga) {
    const auto e = Esegui(GetParam());
    EXPECT_EQ(e.codice, 2) << e.err;
    EXPECT_EQ(e.err.rfind("veltrano spettro: ", 0), 0u) << e.err;
    EXPECT_EQ(std::count(e.err.begin(), e.err.end(), '\n'), 1) << e.err;
    EXPECT_TRUE(e.out.empty());
}

} // namespace
} // namespace veltrano::cli
