#include "cli/lotto.h"
#include "core/api.h"
#include "tests/supporto.h"

#include <gtest/gtest.h>

#include <charconv>
#include <sstream>

namespace veltrano::cli {
namespace {

struct Esito {
    int codice;
    std::string out, err;
};

Esito Lotto(const std::string& ingresso, Parole args) {
    args.push_back("--dati");
    args.push_back(test::CartellaDati().string());
    std::istringstream in(ingresso);
    std::ostringstream out, err;
    const int c = ComandoLotto(args, in, out, err);
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
    ASSERT_EQ(e.codice, 0) << e.err;
    const auto r = Righe(e.out);
    ASSERT_EQ(r.size(), 301u);
    for (std::size_t i = 0; i < siti.size(); ++i) {
        const TGIS_DatiOut d = calc.Calcola(Norm_DM2008, siti[i].first, siti[i].second, 75, 3);
        std::vector<std::string> c;
        std::stringstream ss(r[i + 1]);
        std::string x;
        while (std::getline(ss, x, ','))
            c.push_back(x);
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
}

TEST(Lotto, ThreadsKeepTheOrderAndJsonLines) {
    std::string in;
    for (int i = 0; i < 3000; ++i)
        in += std::to_string(8.0 + (i % 97) * 0.09) + ";" + std::to_string(38.0 + (i % 89) * 0.1) + "\n";
    const Esito uno = Lotto(in, {"--thread", "1"});
    const Esito due = Lotto(in, {"--thread", "2"});
    EXPECT_EQ(uno.codice, 0);
    EXPECT_EQ(uno.out, due.out);
    const Esito j = Lotto("13.4,42.35\nx,1\n", {"--formato", "jsonl"});
    const auto r = Righe(j.out);
    ASSERT_EQ(r.size(), 2u);
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
    const Esito h = Lotto("nome,quota\nRoma,20\n", {});
    EXPECT_EQ(h.codice, 2);
    EXPECT_NE(h.err.find("lon e lat"), std::string::npos);
    EXPECT_EQ(Lotto("", {"/non/esiste.csv"}).codice, 1);
    std::istringstream in("13,42\n");
    std::ostringstream out, err;
    EXPECT_EQ(ComandoLotto({"--dati", "/non/esiste"}, in, out, err), 1);
    EXPECT_NE(err.str().find("GeoDati.dat"), std::string::npos);
    EXPECT_EQ(Lotto("", {}).codice, 0); // no rows: just the header
}

} // namespace
} // namespace veltrano::cli
