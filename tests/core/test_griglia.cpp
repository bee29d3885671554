#include "core/griglia.h"
#include "tests/supporto.h"

#include <gtest/gtest.h>

#include <cstring>

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

TEST(GrigliaFile, IndicesOutOfRangeAreRangeFaults) {
    const Griglia& g = test::GrigliaCostruita();
    EXPECT_THROW(g.ID(0, 0), ErroreIntervallo);
    EXPECT_THROW(g.ag(0, NumNodi + 1), ErroreIntervallo);
    EXPECT_THROW(g.Fo(-1, 1), ErroreIntervallo);
    EXPECT_THROW(g.Tc(9, 1), ErroreIntervallo);
}

} // namespace
} // namespace veltrano
