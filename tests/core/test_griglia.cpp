#include "core/griglia.h"
#include "tests/supporto.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>

namespace veltrano {
namespace {

std::vector<char> BytesFile(const std::filesystem::path& p) {
    std::ifstream f(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

void ScriviBytes(const std::filesystem::path& p, const std::vector<char>& b) {
    std::ofstream f(p, std::ios::binary);
    f.write(b.data(), static_cast<std::streamsize>(b.size()));
}

TEST(GrigliaFile, HasTheExactLayoutSize) {
    EXPECT_EQ(std::filesystem::file_size(test::CartellaDati() / "GeoDati.dat"), 3096288u);
    EXPECT_EQ(DimBlocco * NumBlocchi, DimGriglia);
    EXPECT_EQ(OffTc + 4 * NumNodi, DimBlocco);
}

TEST(GrigliaFile, LoadsExactLongerButNotShorterFiles) {
    const auto dir = test::CartellaTemporanea("griglia");
    std::vector<char> b = BytesFile(test::CartellaDati() / "GeoDati.dat");
    ASSERT_EQ(b.size(), DimGriglia);

    b.push_back('x');
    ScriviBytes(dir / "lunga.dat", b);
    Griglia g;
    EXPECT_NO_THROW(g.Carica(dir / "lunga.dat"));
    EXPECT_EQ(std::memcmp(g.Dati(), b.data(), DimGriglia), 0);

    b.resize(DimGriglia - 1);
    ScriviBytes(dir / "corta.dat", b);
    try {
        g.Carica(dir / "corta.dat");
        FAIL() << "a short file must not load";
    } catch (const ErroreLettura& e) {
        EXPECT_NE(std::string(e.what()).find("3096287"), std::string::npos) << e.what();
    }
    EXPECT_THROW(g.Carica(dir / "mancante.dat"), ErroreApertura);
    std::filesystem::remove_all(dir);
}

TEST(GrigliaFile, NodeDescriptionIsTheSameInEveryBlock) {
    const Griglia& g = test::GrigliaCostruita();
    for (int n : {1, 2, 5000, 10750, 10751}) {
        for (int k = 1; k < NumBlocchi; ++k) {
            EXPECT_EQ(g.ID(0, n), g.ID(k, n));
            EXPECT_EQ(g.Lon(0, n), g.Lon(k, n));
            EXPECT_EQ(g.Lat(0, n), g.Lat(k, n));
            EXPECT_EQ(g.X(0, n), g.X(k, n));
            EXPECT_EQ(g.Y(0, n), g.Y(k, n));
        }
    }
}

TEST(GrigliaFile, LastTcOfLastBlockIsTheLastFourBytes) {
    const Griglia& g = test::GrigliaCostruita();
    float ultimo;
    std::memcpy(&ultimo, g.Dati() + DimGriglia - 4, 4);
    EXPECT_EQ(g.Tc(8, NumNodi), ultimo);
}

TEST(GrigliaFile, NodeNIsRowNOfThePublishedTable) {
    const auto righe = test::LeggiCsv(test::Sorgenti() / "data" / "ntc2008_grid.csv");
    ASSERT_EQ(righe.size(), 10752u);
    const Griglia& g = test::GrigliaCostruita();
    for (int n : {1, 777, 5376, 10751}) {
        const auto& r = righe[static_cast<std::size_t>(n)];
        SCOPED_TRACE("row " + std::to_string(n));
        EXPECT_EQ(g.ID(0, n), std::stoi(r[0]));
        EXPECT_EQ(g.Lon(3, n), std::stof(r[1]));
        EXPECT_EQ(g.Lat(3, n), std::stof(r[2]));
        for (int k = 0; k < NumBlocchi; ++k) {
            EXPECT_EQ(g.ag(k, n), std::stof(r[static_cast<std::size_t>(3 + 3 * k)]));
            EXPECT_EQ(g.Fo(k, n), std::stof(r[static_cast<std::size_t>(4 + 3 * k)]));
            EXPECT_EQ(g.Tc(k, n), std::stof(r[static_cast<std::size_t>(5 + 3 * k)]));
        }
    }
}

// Regression: a NaN, an infinity or 2e10 in the XY array made the node
// index write out of bounds; NaN, zero or negative ag came out as "ag":nan
// with success (issue 13). A grid is checked whole when it is loaded.
TEST(GrigliaFile, ValuesThatCannotBeAreReadFailuresNamingFileAndNode) {
    const auto dir = test::CartellaTemporanea("griglia_guasta");
    const std::vector<char> buona = BytesFile(test::CartellaDati() / "GeoDati.dat");
    const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
    const std::size_t blocco6 = 6 * DimBlocco;
    const struct {
        std::size_t offset;
        float valore;
        const char* atteso;
    } casi[] = {
        {43004, nan, "nodo 1, blocco TR_30: X"},       {43004, inf, "nodo 1, blocco TR_30: X"},
        {43004, 2e10f, "nodo 1, blocco TR_30: X"},      {OffXY + 8 * 9 + 4, -inf, "nodo 10, blocco TR_30: Y"},
        {OffLon + 4 * 99, 200.0f, "nodo 100, blocco TR_30: longitudine"},
        {DimBlocco + OffLat, nan, "nodo 1, blocco TR_50: latitudine"},
        {blocco6 + OffAg + 4 * 4, nan, "nodo 5, blocco TR_475: ag"},
        {blocco6 + OffAg + 4 * 4, 0.0f, "nodo 5, blocco TR_475: ag"},
        {blocco6 + OffAg + 4 * 4, -1.0f, "nodo 5, blocco TR_475: ag"},
        {blocco6 + OffAg + 4 * 4, 31.0f, "nodo 5, blocco TR_475: ag"},
        {8 * DimBlocco + OffFo + 4 * 10750, 0.0f, "nodo 10751, blocco TR_2475: Fo"},
        {OffTc, inf, "nodo 1, blocco TR_30: Tc*"},
    };
    for (const auto& c : casi) {
        std::vector<char> b = buona;
        std::memcpy(b.data() + c.offset, &c.valore, 4);
        ScriviBytes(dir / "GeoDati.dat", b);
        Griglia g;
        try {
            g.Carica(dir / "GeoDati.dat");
            ADD_FAILURE() << c.atteso << " loaded";
        } catch (const ErroreLettura& e) {
            EXPECT_NE(std::string(e.what()).find((dir / "GeoDati.dat").string() + ": " + c.atteso), std::string::npos)
                << e.what();
        }
        EXPECT_THROW(g.Imposta(reinterpret_cast<const std::byte*>(b.data()), b.size()), ErroreLettura) << c.atteso;
    }
    for (const int32_t id : {0, -5}) {
        std::vector<char> b = buona;
        std::memcpy(b.data() + 3 * DimBlocco + OffID + 4 * 7, &id, 4);
        ScriviBytes(dir / "GeoDati.dat", b);
        Griglia g;
        EXPECT_THROW(g.Carica(dir / "GeoDati.dat"), ErroreLettura) << id;
    }
    // A folder in the file's place is named as such.
    std::filesystem::remove(dir / "GeoDati.dat");
    std::filesystem::create_directory(dir / "GeoDati.dat");
    try {
        Griglia().Carica(dir / "GeoDati.dat");
        ADD_FAILURE() << "a folder loaded";
    } catch (const ErroreApertura& e) {
        EXPECT_NE(std::string(e.what()).find("GeoDati.dat: è una cartella"), std::string::npos) << e.what();
    }
    std::filesystem::remove_all(dir);
}

TEST(GrigliaFile, IndicesOutOfRangeAreRangeFaults) {
    const Griglia& g = test::GrigliaCostruita();
    EXPECT_THROW(g.ID(0, 0), ErroreIntervallo);
    EXPECT_THROW(g.ag(0, NumNodi + 1), ErroreIntervallo);
    EXPECT_THROW(g.Fo(-1, 1), ErroreIntervallo);
    EXPECT_THROW(g.Tc(9, 1), ErroreIntervallo);
}

} // namespace
} // namespace veltrano
