#include "cli/comandi.h"
#include "cli/lotto_csv.h"
#include "core/api.h"
#include "tests/supporto.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <charconv>
#include <cstring>
#include <fstream>
#include <limits>
#include <sstream>

namespace veltrano::cli {
namespace {

struct Esito {
    int codice;
    std::string out, err;
};

Esito Lotto(const std::string& ingresso, Parole args, bool errTerminale = false, int colonne = 80) {
    args.insert(args.begin(), "lotto");
    args.push_back("--dati");
    args.push_back(test::CartellaDati().string());
    std::istringstream in(ingresso);
    std::ostringstream out, err;
    Flussi f{in, out, err};
    f.errTerminale = errTerminale;
    f.colonne = colonne;
    const int c = Principale(args, f);
    return {c, out.str(), err.str()};
}

std::vector<std::string> Righe(const std::string& s) {
    std::vector<std::string> r;
    std::istringstream in(s);
    std::string l;
    while (std::getline(in, l))
        r.push_back(l);
    return r;
}

std::string Leggi(const std::filesystem::path& p) {
    std::ifstream f(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

void Scrivi(const std::filesystem::path& p, const std::string& testo) {
    std::ofstream(p, std::ios::binary) << testo;
}

TEST(Lotto, HeaderColumnsDefaultsAndBadRows) {
    const std::string in = "classe;lat;lon;datum\n"
                           "IV;42.35;13.4;\n"
                           "\n"
                           "# a comment\n"
                           ";42.0;12.5;wgs84\n"
                           "2;quarantadue;12.5;\n"
                           "2;41.9;12.5;GPS\n";
    const Esito e = Lotto(in, {"--vn", "100"});
    EXPECT_EQ(e.codice, 1);
    const auto r = Righe(e.out);
    ASSERT_EQ(r.size(), 5u) << e.out;
    EXPECT_EQ(r[0].rfind("riga,errore,lon_ed50,lat_ed50,vn,classe,num_vert,valido,nodo1", 0), 0u);
    EXPECT_EQ(r[1].rfind("2,,13.4,42.35,100,4,4,1,26305,26306,26527,26528,", 0), 0u) << r[1];
    EXPECT_EQ(r[2].rfind("5,,12.500928,42.000988,100,2,", 0), 0u) << r[2];
    EXPECT_EQ(r[3], "6,\"latitudine: \"\"quarantadue\"\" non è un numero\"");
    EXPECT_EQ(r[4], "7,\"datum \"\"GPS\"\" non valido (ED50 o WGS84)\"");
    EXPECT_NE(e.err.find("riga 6: latitudine"), std::string::npos) << e.err;
    EXPECT_NE(e.err.find("riga 7: datum \"GPS\""), std::string::npos) << e.err;
    EXPECT_NE(e.err.find("2 righe errate su 4"), std::string::npos) << e.err;
}

TEST(Lotto, ValuesAreThoseOfTheEngineToTheLastBit) {
    const GrigliaSismica g(test::CartellaDati() / "GeoDati.dat");
    CalcolatoreSismico calc(g);
    std::mt19937 rng(9);
    std::uniform_real_distribution<float> lon(7.0f, 18.0f), lat(37.0f, 47.0f);
    std::string in;
    std::vector<std::pair<float, float>> siti;
    for (int i = 0; i < 300; ++i) {
        siti.emplace_back(lon(rng), lat(rng));
        char b[64];
        const auto p1 = std::to_chars(b, b + 30, siti.back().first);
        *p1.ptr = ',';
        const auto p2 = std::to_chars(p1.ptr + 1, b + 60, siti.back().second);
        in += std::string(b, p2.ptr) + ",75,3\n";
    }
    const Esito e = Lotto(in, {"--formato", "csv"});
    const auto r = Righe(e.out);
    ASSERT_EQ(r.size(), 301u);
    int fuori = 0;
    for (std::size_t i = 0; i < siti.size(); ++i) {
        TGIS_DatiOut d{};
        const EsitoSito esito = calc.Calcola(Norm_DM2008, siti[i].first, siti[i].second, 75, 3, d);
        std::vector<std::string> c;
        std::stringstream ss(r[i + 1]);
        std::string x;
        while (std::getline(ss, x, ','))
            c.push_back(x);
        if (!esito.Valido()) { // at sea, abroad: a row with its reason, never numbers
            ++fuori;
            EXPECT_NE(r[i + 1].find("fuori dalla griglia"), std::string::npos) << r[i + 1];
            continue;
        }
        ASSERT_EQ(c.size(), 28u) << r[i + 1];
        auto f = [](const std::string& t) {
            float v = 0;
            std::from_chars(t.data(), t.data() + t.size(), v);
            return v;
        };
        EXPECT_EQ(std::stoi(c[6]), +d.NumVert);
        EXPECT_EQ(std::stoi(c[8]), +d.NumPunti[0]);
        const TGIS_ParZS stati[4] = {d.SLO, d.SLD, d.SLV, d.SLC};
        for (std::size_t j = 0; j < 4; ++j) {
            EXPECT_EQ(f(c[12 + 4 * j]), +stati[j].Tr);
            EXPECT_EQ(f(c[13 + 4 * j]), +stati[j].ag) << r[i + 1];
            EXPECT_EQ(f(c[14 + 4 * j]), +stati[j].Fo);
            EXPECT_EQ(f(c[15 + 4 * j]), +stati[j].Tc_s);
        }
    }
    EXPECT_GT(fuori, 0); // the box holds sea and foreign land too
    EXPECT_EQ(e.codice, 1);
}

TEST(Lotto, ThreadsKeepTheOrderAndJsonLines) {
    std::string in;
    for (int i = 0; i < 3000; ++i)
        in += std::to_string(8.0 + (i % 97) * 0.09) + ";" + std::to_string(38.0 + (i % 89) * 0.1) + "\n";
    const Esito uno = Lotto(in, {"--thread", "1"});
    const Esito due = Lotto(in, {"--thread", "2"});
    EXPECT_EQ(uno.codice, due.codice);
    EXPECT_EQ(uno.out, due.out);
    const Esito j = Lotto("13.4,42.35\nx,1\n", {"--formato", "jsonl"});
    const auto r = Righe(j.out);
    ASSERT_EQ(r.size(), 2u);
    const auto riga = nlohmann::json::parse(r[0]);
    EXPECT_EQ(riga["riga"], 1);
    EXPECT_EQ(r[0].rfind("{\"riga\":1,\"lon_ed50\":13.4,\"lat_ed50\":42.35,", 0), 0u) << r[0];
    EXPECT_NE(r[0].find("\"SLV\":{\"TR\":475,\"ag\":0.2607468,"), std::string::npos) << r[0];
    EXPECT_EQ(r[1], "{\"riga\":2,\"errore\":\"longitudine: \\\"x\\\" non è un numero\"}");
}

TEST(Lotto, StrictStopsAtTheFirstBadRow) {
    const Esito e = Lotto("13.4,42.35\n13.4,420\n13.5,42.4\n", {"--rigoroso"});
    EXPECT_EQ(e.codice, 1);
    EXPECT_EQ(Righe(e.out).size(), 3u); // header, the good row, the bad row
    EXPECT_NE(e.err.find("interrotto da --rigoroso"), std::string::npos);
}

TEST(Lotto, BadUseAndMissingFiles) {
    EXPECT_EQ(Lotto("", {"--formato", "xml"}).codice, 2);
    EXPECT_EQ(Lotto("", {"--thread", "0"}).codice, 2);
    EXPECT_EQ(Lotto("", {"a.csv", "b.csv"}).codice, 2);
    EXPECT_EQ(Lotto("", {"--vn", "20000"}).codice, 2);
    const Esito h = Lotto("nome,quota\nRoma,20\n", {});
    EXPECT_EQ(h.codice, 2);
    EXPECT_NE(h.err.find("lon e lat"), std::string::npos);
    EXPECT_EQ(Lotto("", {}).codice, 0); // no rows: just the header
}

// Regression: Excel's Italian CSV, a byte-order mark, quoted fields and the
// command's own output were misread (issue 13).
TEST(Lotto, SpreadsheetCsvAndItsOwnOutputReadBack) {
    const Esito excel = Lotto("\xEF\xBB\xBFlongitudine;latitudine;classe\r\n13,4;42,35;IV\r\n", {});
    ASSERT_EQ(excel.codice, 0) << excel.err;
    EXPECT_EQ(Righe(excel.out).at(1).rfind("2,,13.4,42.35,50,4,4,1,26305,", 0), 0u) << excel.out;

    // RFC 4180: "13,4" is one field; "" is a quote; a quoted name spans lines.
    const Esito virgolette = Lotto("nome,lng,y\n\"Casa \"\"Rossi\"\",\nL'Aquila\",\"13,4\",\"42,35\"\n", {});
    ASSERT_EQ(virgolette.codice, 0) << virgolette.err;
    EXPECT_EQ(Righe(virgolette.out).at(1).rfind("2,,13.4,42.35,", 0), 0u) << virgolette.out;

    const Esito prima = Lotto("x\ty\tvn\n12.5\t42\t100\n13.4\t42.35\t\n", {"--wgs84", "--classe", "III"});
    ASSERT_EQ(prima.codice, 0) << prima.err;
    // lon_ed50 and lat_ed50 are ED50 whatever --wgs84 says: read back, the
    // output gives itself again.
    const Esito seconda = Lotto(prima.out, {"--wgs84", "--classe", "III"});
    ASSERT_EQ(seconda.codice, 0) << seconda.err;
    EXPECT_EQ(seconda.out, prima.out);
}

// Regression: a site at 0,0 or with longitude and latitude swapped got
// numbers, valido=0 and exit 0 (issue 13).
TEST(Lotto, SitesOffTheGridAreNeverSilent) {
    const Esito e = Lotto("lon,lat\n0,0\n42.35,13.4\n9.0,40.0\n", {});
    EXPECT_EQ(e.codice, 1);
    const auto r = Righe(e.out);
    ASSERT_EQ(r.size(), 4u);
    EXPECT_EQ(r[1], "2,\"il sito (lon 0, lat 0, ED50) è fuori dalla griglia di pericolosità e dalle isole della "
                    "Tabella 2\"");
    EXPECT_NE(r[2].find("scambiate?"), std::string::npos) << r[2];
    EXPECT_EQ(r[3].rfind("4,,9,40,50,2,1,1,", 0), 0u) << r[3]; // Sardinia: the island values
    EXPECT_NE(e.err.find("2 righe errate su 3"), std::string::npos);
}

// Regression: a 10 MB field was echoed whole; NUL and invalid UTF-8 reached
// messages and JSON Lines raw (issue 13).
TEST(Lotto, MessagesAreShortAndValidUtf8) {
    std::string in = "13.4,42.35\n" + std::string(10'000'000, '7') + "x,42\n";
    in += std::string("1\0" "3,42\n", 7);
    in += "\xFF\xC3(,42\n";
    const Esito e = Lotto(in, {"--formato", "jsonl"});
    EXPECT_EQ(e.codice, 1);
    EXPECT_LT(e.err.size(), 1000u);
    EXPECT_LT(e.out.size(), 2000u);
    const auto r = Righe(e.out);
    ASSERT_EQ(r.size(), 4u);
    for (const std::string& riga : r)
        EXPECT_TRUE(nlohmann::json::accept(riga)) << riga; // false on invalid UTF-8
    EXPECT_NE(r[1].find("…"), std::string::npos);
    EXPECT_NE(r[2].find("1\\\\x003"), std::string::npos) << r[2];
    EXPECT_NE(r[3].find("\\\\xFF\\\\xC3("), std::string::npos) << r[3];
    EXPECT_EQ(e.err.find('\0'), std::string::npos);
}

// Regression: output over input wiped it; a folder or an unreadable input
// read as empty with exit 0; messages without the reason (issue 13).
TEST(Lotto, FilesAreRefusedWithTheSystemsReason) {
    const auto dir = test::CartellaTemporanea("lotto_file");
    const auto siti = dir / "siti.csv";
    const std::string testo = "lon,lat\n13.4,42.35\n";
    Scrivi(siti, testo);
    std::filesystem::create_hard_link(siti, dir / "altro_nome.csv");
    for (const auto& uscita : {siti, dir / "." / "siti.csv", dir / "altro_nome.csv"}) {
        const Esito e = Lotto("", {siti.string(), "--uscita", uscita.string()});
        EXPECT_EQ(e.codice, 2) << uscita;
        EXPECT_NE(e.err.find("è il file d'ingresso"), std::string::npos) << e.err;
        EXPECT_EQ(Leggi(siti), testo);
    }
    Esito e = Lotto("", {dir.string()});
    EXPECT_EQ(e.codice, 1);
    EXPECT_NE(e.err.find("è una cartella"), std::string::npos) << e.err;
    e = Lotto("", {(dir / "manca.csv").string()});
    EXPECT_EQ(e.codice, 1);
    EXPECT_NE(e.err.find("(No such file or directory)"), std::string::npos) << e.err;
    e = Lotto("", {siti.string(), "--uscita", (dir / "manca" / "r.csv").string()});
    EXPECT_EQ(e.codice, 1);
    EXPECT_NE(e.err.find("impossibile creare il file (No such file or directory)"), std::string::npos) << e.err;

    // A run that fails leaves the old output whole; one that ends replaces it.
    const auto risultati = dir / "risultati.csv";
    Scrivi(risultati, "vecchio\n");
    std::istringstream in("13.4,42.35\n");
    std::ostringstream out, err;
    Flussi f{in, out, err};
    EXPECT_EQ(Principale({"lotto", "--uscita", risultati.string(), "--dati", dir.string()}, f), 1);
    EXPECT_EQ(Leggi(risultati), "vecchio\n");
    e = Lotto(testo, {"--uscita", risultati.string()});
    EXPECT_EQ(e.codice, 0) << e.err;
    EXPECT_EQ(Righe(Leggi(risultati)).size(), 2u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 3); // no temporary left
    std::filesystem::remove_all(dir);
}

// Regression: a grid copy with NaN at byte 43004 made "lotto --dati COPY"
// write out of bounds (issue 13).
TEST(Lotto, DamagedGridIsAFailureNamingTheNode) {
    const auto dir = test::CartellaTemporanea("lotto_griglia");
    std::string b = Leggi(test::CartellaDati() / "GeoDati.dat");
    const float nan = std::numeric_limits<float>::quiet_NaN();
    std::memcpy(b.data() + 43004, &nan, 4);
    Scrivi(dir / "GeoDati.dat", b);
    std::istringstream in("13.4,42.35\n");
    std::ostringstream out, err;
    Flussi f{in, out, err};
    EXPECT_EQ(Principale({"lotto", "--dati", dir.string()}, f), 1);
    EXPECT_NE(err.str().find("GeoDati.dat: nodo 1, blocco TR_30: X = nan"), std::string::npos) << err.str();
    EXPECT_EQ(out.str(), "");
    std::filesystem::remove_all(dir);
}

// Regression: the progress bar wrote into the data on a terminal and did not
// fit narrow ones (issue 13).
TEST(Lotto, ProgressStaysOffTheDataAndInsideTheTerminal) {
    std::string in;
    for (int i = 0; i < 40000; ++i)
        in += "13.4,42.35\n";
    std::istringstream ingresso(in);
    std::ostringstream out, err;
    Flussi f{ingresso, out, err};
    f.errTerminale = f.outTerminale = true;
    ASSERT_EQ(Principale({"lotto", "--dati", test::CartellaDati().string()}, f), 0);
    EXPECT_EQ(err.str(), ""); // data on the terminal: no bar among them

    const auto dir = test::CartellaTemporanea("lotto_barra");
    const auto csv = dir / "siti.csv";
    Scrivi(csv, in);
    const Esito e = Lotto("", {csv.string(), "--uscita", (dir / "r.csv").string()}, true, 24);
    ASSERT_EQ(e.codice, 0);
    ASSERT_NE(e.err.find("100%"), std::string::npos) << e.err;
    std::size_t pezzi = 0;
    for (std::size_t i = e.err.find("\r\033[K"); i != std::string::npos; i = e.err.find("\r\033[K", i + 1)) {
        const std::size_t fine = std::min(e.err.find('\r', i + 1), e.err.size());
        EXPECT_LT(fine - i - 4, 24u) << e.err.substr(i, fine - i);
        ++pezzi;
    }
    EXPECT_GE(pezzi, 2u);
    std::filesystem::remove_all(dir);
}

TEST(LottoCsv, FieldsFollowRfc4180) {
    const struct {
        const char* riga;
        char sep;
        std::vector<std::string> campi;
    } casi[] = {
        {"13.4,42.35", ',', {"13.4", "42.35"}},
        {" 13.4 , 42.35 ", ',', {"13.4", "42.35"}},
        {"\"13,4\",\"42,35\"", ',', {"13,4", "42,35"}},
        {"\"a \"\"b\"\" c\",1", ',', {"a \"b\" c", "1"}},
        {"\"\",,", ',', {"", "", ""}},
        {"a;\"b;c\";d", ';', {"a", "b;c", "d"}},
        {"1\t\t2", '\t', {"1", "", "2"}},
        {"\"x\"y,z", ',', {"xy", "z"}},
        {"\"riga\nseguente\",1", ',', {"riga\nseguente", "1"}},
    };
    for (const auto& c : casi)
        EXPECT_EQ(DividiCampi(c.riga, c.sep), c.campi) << c.riga;
    EXPECT_TRUE(VirgoletteAperte("\"aperta,1", ','));
    EXPECT_FALSE(VirgoletteAperte("chiusa,\"1\"", ','));
    EXPECT_FALSE(VirgoletteAperte("a\"b,c", ',')); // a quote inside a bare field is text
    EXPECT_THROW(DividiCampi("\"aperta,1", ','), ErroreUso);
    EXPECT_EQ(RilevaSeparatore("13,4;42,35"), ';');
    EXPECT_EQ(RilevaSeparatore("\"a;b\",1"), ',');
    EXPECT_EQ(RilevaSeparatore("1;2\t3"), '\t');
    EXPECT_DOUBLE_EQ(NumeroCampo("13,4", "x"), 13.4);
    EXPECT_DOUBLE_EQ(NumeroCampo("-0,5", "x"), -0.5);
    EXPECT_THROW(NumeroCampo("1,2,3", "x"), ErroreUso);
    EXPECT_THROW(NumeroCampo("1.2,3", "x"), ErroreUso);
}

TEST(LottoCsv, HeaderNamesAndTheirDatum) {
    bool testata = false;
    FormatoLotto f = LeggiFormatoLotto("riga,errore,lon_ed50,lat_ed50,vn,classe,num_vert", &testata);
    EXPECT_TRUE(testata);
    EXPECT_EQ(f.colonne[2], ColonnaLotto::Lon);
    EXPECT_EQ(f.colonne[3], ColonnaLotto::Lat);
    EXPECT_EQ(f.wgs84Colonne, std::optional<bool>(false));
    f = LeggiFormatoLotto("LAT_WGS84;Longitude;Lon", &testata);
    EXPECT_EQ(f.colonne, (std::vector<ColonnaLotto>{ColonnaLotto::Lat, ColonnaLotto::Lon, ColonnaLotto::Altro}));
    EXPECT_EQ(f.wgs84Colonne, std::optional<bool>(true));
    f = LeggiFormatoLotto("13,4;42,35", &testata);
    EXPECT_FALSE(testata);
    EXPECT_EQ(f.separatore, ';');
    EXPECT_THROW(LeggiFormatoLotto("lon_ed50,lat_wgs84", &testata), ErroreUso);
    EXPECT_THROW(LeggiFormatoLotto("nome,quota", &testata), ErroreUso);
}

} // namespace
} // namespace veltrano::cli
