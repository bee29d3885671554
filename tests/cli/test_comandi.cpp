#include "cli/comandi.h"
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
    if (conDati && args.size() > 0 && (args[0] == "sito" || args[0] == "pga")) {
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
    const Esito mare = Esegui({"sito", "--lon", "5", "--lat", "36"});
    EXPECT_EQ(mare.codice, 0);
    EXPECT_EQ(mare.out, "ATTENZIONE COORDINATE DEL SITO NON INSERITE OPPURE NON VALIDE!!!\n");
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
        {"tempi", "--classe", "0"},                   {"pga", "--lon", "13", "--lat", "42"},
        {"frullatore"},                               {}};
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
