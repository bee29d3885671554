#include "cli/comandi.h"
#include "cli/formato.h"
#include "tests/supporto.h"
#include "veltrano/versione.h"

#include <gtest/gtest.h>

#include <sstream>

namespace veltrano::cli {
namespace {

struct Esito {
    int codice;
    std::string out, err;
};

Esito Esegui(Parole args, bool conDati = true) {
    if (conDati && args.size() > 0 && (args[0] == "sito" || args[0] == "pga" || args[0] == "spettro")) {
        args.push_back("--dati");
        args.push_back(test::CartellaDati().string());
    }
    std::ostringstream out, err;
    const int c = Principale(args, out, err);
    return {c, out.str(), err.str()};
}

TEST(ComandoSito, TextReportForLAquila) {
    const Esito e = Esegui({"sito", "--lon", "13.4", "--lat", "42.35", "--vn", "50", "--classe", "II"});
    ASSERT_EQ(e.codice, 0) << e.err;
    EXPECT_NE(e.out.find("Punti della maglia:\t26305 \t26306 \t26527 \t26528 \t"), std::string::npos) << e.out;
    EXPECT_NE(e.out.find("    SLV\t\t  475\t\t\t0.261\t\t2.360\t\t0.350"), std::string::npos) << e.out;
    EXPECT_TRUE(e.err.empty());
}

TEST(ComandoSito, JsonAndWgs84) {
    const Esito e = Esegui({"sito", "--lon=13.4", "--lat=42.35", "--formato", "json"});
    ASSERT_EQ(e.codice, 0) << e.err;
    EXPECT_NE(e.out.find("\"nodi\":[26305,26306,26527,26528]"), std::string::npos) << e.out;
    EXPECT_NE(e.out.find("{\"nome\":\"SLV\",\"TR\":475,\"ag\":0.2607468"), std::string::npos) << e.out;
    const Esito w = Esegui({"sito", "--lon", "12.5", "--lat", "42", "--wgs84", "--formato", "json"});
    ASSERT_EQ(w.codice, 0) << w.err;
    EXPECT_NE(w.out.find("\"lon_ed50\":12.500928"), std::string::npos) << w.out;
}

TEST(ComandoSito, IslandAndOpenSea) {
    const Esito isola = Esegui({"sito", "--lon", "9.0", "--lat", "40.0"});
    ASSERT_EQ(isola.codice, 0);
    EXPECT_NE(isola.out.find("Allegato B - Tabella 2"), std::string::npos);
    EXPECT_NE(isola.out.find("    SLV\t\t  475\t\t\t0.050\t\t2.880\t\t0.340"), std::string::npos) << isola.out;
    // A site the engine cannot evaluate is an error of every command.
    for (const char* comando : {"sito", "pga", "spettro"}) {
        Parole p{comando, "--lon", "5", "--lat", "36"};
        if (p[0] == "pga")
            p.insert(p.end(), {"--pga", "0.1"});
        const Esito mare = Esegui(p);
        EXPECT_EQ(mare.codice, 2) << comando;
        EXPECT_TRUE(mare.out.empty()) << comando;
        EXPECT_NE(mare.err.find("è fuori dalla griglia di pericolosità"), std::string::npos) << mare.err;
    }
}

// Regression: at a corner of the Elba box the site has four grid nodes, yet
// the island flag and the table 2 footnote were printed (issue 13).
TEST(ComandoSito, IslandFlagIsTheEnginesOwn) {
    const Esito t = Esegui({"sito", "--lon", "10.4900618", "--lat", "42.8987236"});
    ASSERT_EQ(t.codice, 0) << t.err;
    EXPECT_NE(t.out.find("Punti della maglia:\t23599 \t23600 \t23821 \t23822 \t"), std::string::npos) << t.out;
    EXPECT_EQ(t.out.find("Tabella 2"), std::string::npos) << t.out;
    const Esito j = Esegui({"sito", "--lon", "10.4900618", "--lat", "42.8987236", "--formato", "json"});
    EXPECT_NE(j.out.find("\"num_vert\":4,\"isola\":false,\"valido\":true"), std::string::npos) << j.out;
}

TEST(ComandoSito, BadInputIsOneLineAndExitTwo) {
    const Parole cattivi[] = {
        {"sito", "--lon", "abc", "--lat", "42"},      {"sito", "--lon", "nan", "--lat", "42"},
        {"sito", "--lon", "13", "--lat", "91"},       {"sito", "--lon", "13", "--lat", "-90.5"},
        {"sito", "--lon", "13", "--lat", "42", "--vn", "-1"},
        {"sito", "--lon", "13", "--lat", "42", "--classe", "5"},
        {"sito", "--lon", "13", "--lat", "42", "--classe", "V"},
        {"sito", "--lon", "13", "--lat", "42", "--vn", "50.5"},
        {"sito", "--lon", "13"},                      {"sito", "--lon", "13", "--lat", "42", "--boh"},
        {"sito", "--lon", "13", "--lat", "inf"},      {"sito", "--lon", "13", "--lat", "42", "--formato", "xml"},
        {"sito", "--lon", "13", "--lat", "1e999"},    {"sito", "--lon", "13", "--lat", "42", "--vn", "10001"},
        {"tempi", "--classe", "0"},                   {"pga", "--lon", "13", "--lat", "42"},
        {"pga", "--lon", "13.4", "--lat", "42.35", "--pga", "nan"},
        {"pga", "--lon", "13.4", "--lat", "42.35", "--pga", "1e30"},
        {"converti", "--lon", "200", "--lat", "42"},  {"frullatore"},
        {}};
    for (const Parole& p : cattivi) {
        const Esito e = Esegui(p);
        std::string comando;
        for (const auto& s : p)
            comando += s + " ";
        EXPECT_EQ(e.codice, 2) << comando;
        EXPECT_TRUE(e.out.empty()) << comando;
        if (!p.empty()) {
            EXPECT_EQ(std::count(e.err.begin(), e.err.end(), '\n'), 1) << comando << ": " << e.err;
            EXPECT_EQ(e.err.rfind("veltrano", 0), 0u) << e.err;
        }
    }
}

TEST(ComandoSito, MissingGridFileIsAFailureNotBadUse) {
    const auto dir = test::CartellaTemporanea("cli_vuota");
    std::ostringstream out, err;
    const int c = Principale({"sito", "--lon", "13", "--lat", "42", "--dati", dir.string()}, out, err);
    EXPECT_EQ(c, 1);
    EXPECT_NE(err.str().find("GeoDati.dat"), std::string::npos) << err.str();
    std::filesystem::remove_all(dir);
}

// Regression: each subcommand had its own exit codes and help; "spettro -h"
// was not help; "tempi --vn 2147483647" exited 1 and VN 1e8 gave 2475 while
// 1e9 failed (issue 13).
TEST(Dispatcher, EveryCommandHasHelpAndTheSameExitCodes) {
    for (const char* c : {"sito", "tempi", "pga", "converti", "spettro", "lotto"}) {
        for (const char* aiuto : {"-h", "--help"}) {
            const Esito e = Esegui({c, "--lon", "13", aiuto});
            EXPECT_EQ(e.codice, 0) << c;
            EXPECT_EQ(e.out.rfind(std::string("uso: veltrano ") + c, 0), 0u) << c << ": " << e.out;
            EXPECT_TRUE(e.err.empty());
        }
        // An option nobody knows is bad use everywhere.
        const Esito ignoto = Esegui({c, "--frullatore"});
        EXPECT_EQ(ignoto.codice, 2) << c;
        EXPECT_EQ(ignoto.err.rfind(std::string("veltrano ") + c + ": ", 0), 0u) << ignoto.err;
    }
    for (const char* vn : {"2147483647", "100000000", "1000000000", "-1"}) {
        EXPECT_EQ(Esegui({"tempi", "--vn", vn}).codice, 2) << vn;
        EXPECT_EQ(Esegui({"sito", "--lon", "13.4", "--lat", "42.35", "--vn", vn}).codice, 2) << vn;
        EXPECT_EQ(Esegui({"spettro", "--lon", "13.4", "--lat", "42.35", "--vn", vn}).codice, 2) << vn;
    }
    EXPECT_EQ(Esegui({"tempi", "--vn", "10000", "--classe", "I"}).out, "SLO\t2475\nSLD\t2475\nSLV\t2475\nSLC\t2475\n");
    // Regression: "spettro --lon 200" computed where "sito" refused (issue 13).
    for (const char* c : {"sito", "spettro", "pga"}) {
        Parole p{c, "--lon", "200", "--lat", "42"};
        if (p[0] == "pga")
            p.insert(p.end(), {"--pga", "0.1"});
        const Esito e = Esegui(p);
        EXPECT_EQ(e.codice, 2) << c;
        EXPECT_NE(e.err.find("la longitudine deve stare tra -180 e 180 gradi, non 200"), std::string::npos) << e.err;
    }
    const Esito errato = Esegui({"sitto"});
    EXPECT_EQ(errato.codice, 2);
    EXPECT_NE(errato.err.find("forse \"sito\"?"), std::string::npos) << errato.err;
}

TEST(Formato, EveryConversionIsChecked) {
    EXPECT_EQ(TestoReale(0.2607468f), "0.2607468");
    EXPECT_EQ(TestoReale(-0.0), "-0");
    EXPECT_EQ(TestoFisso(-0.00001, 3), "0.000");
    EXPECT_EQ(TestoFisso(1e60, 1).size(), 62u); // written out, never cut
    EXPECT_EQ(TestoFisso(-1.7976931348623157e308, 17).size(), 1 + 309 + 1 + 17u);
    EXPECT_THROW(TestoReale(std::nanf("")), Errore);
    EXPECT_THROW(TestoFisso(-INFINITY, 2), Errore);
    EXPECT_THROW(Finito(NAN, "ag"), Errore);
    EXPECT_EQ(Citazione("tredici"), "tredici");
    EXPECT_EQ(Citazione(std::string("a\0b\n", 4)), "a\\x00b\\x0A");
    EXPECT_EQ(Citazione("\xC3\xA8 \xE8 \xED\xA0\x80 \xF0\x9F\x98\x80"), "\xC3\xA8 \\xE8 \\xED\\xA0\\x80 \xF0\x9F\x98\x80");
    EXPECT_EQ(Citazione(std::string(100, 'x'), 10), std::string(10, 'x') + "…");
    EXPECT_EQ(Citazione("\xC3\xA8\xC3\xA8", 1), "\xC3\xA8…"); // never half a character
    EXPECT_EQ(Citazione("\xC3\xA8\xC3\xA8", 3), "\xC3\xA8\xC3\xA8");
}

TEST(AltriComandi, TempiPgaConvertiVersione) {
    Esito e = Esegui({"tempi", "--vn", "100", "--classe", "III"});
    EXPECT_EQ(e.codice, 0);
    EXPECT_EQ(e.out, "SLO\t90\nSLD\t151\nSLV\t1424\nSLC\t2475\n");
    e = Esegui({"tempi", "--vn", "0", "--normativa", "opcm3274", "--formato", "json"});
    EXPECT_EQ(e.out, "{\"SLO\":30,\"SLD\":30,\"SLV\":30,\"SLC\":30}\n");
    e = Esegui({"pga", "--lon", "13.4", "--lat", "42.35", "--pga", "0.15"});
    EXPECT_EQ(e.codice, 0) << e.err;
    EXPECT_EQ(e.out, "114\n");
    e = Esegui({"pga", "--lon", "13.4", "--lat", "42.35", "--pga", "0"});
    EXPECT_EQ(e.out, "0\n");
    e = Esegui({"converti", "--lon", "12.5", "--lat", "42"});
    EXPECT_EQ(e.out, "12.500928 42.000988\n");
    e = Esegui({"versione"});
    EXPECT_EQ(e.out, VELTRANO_VERSIONE "\n");
    e = Esegui({"sito", "--help"});
    EXPECT_EQ(e.codice, 0);
    EXPECT_NE(e.out.find("--classe"), std::string::npos);
}

} // namespace
} // namespace veltrano::cli
