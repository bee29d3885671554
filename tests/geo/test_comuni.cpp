#include "geo/comuni.h"
#include "tests/supporto.h"

#include <gtest/gtest.h>

#include <cstring>

namespace veltrano {
namespace {

TCoordComune Comune(int i) {
    TCoordComune c;
    std::memset(&c, 0x5A, sizeof c); // bytes after each text must survive too
    const std::string nome = "Comune " + std::to_string(i);
    c.Nome[0] = static_cast<uint8_t>(nome.size());
    std::memcpy(c.Nome + 1, nome.data(), nome.size());
    c.Reg[0] = 5;
    std::memcpy(c.Reg + 1, "Lazio", 5);
    c.Prov[0] = 4;
    std::memcpy(c.Prov + 1, "Roma", 4);
    c.Lon = 12.0f + float(i) / 100;
    c.Lat = 41.0f + float(i) / 100;
    c.Alt = float(i * 10);
    c.Id_sf_COM = i;
    c.Id_sf_PROV = 100 + i;
    c.Id_sf_REG = 1000 + i;
    return c;
}

std::u16string Prefisso(const std::filesystem::path& d) { return (d / "").u16string(); }

TEST(DatabaseComuni, SaveAndReadBackEveryByte) {
    const auto dir = test::CartellaTemporanea("comuni");
    std::vector<TCoordComune> v;
    for (int i = 0; i < 5; ++i)
        v.push_back(Comune(i));
    SalvaComuni(Prefisso(dir), v);
    EXPECT_EQ(std::filesystem::file_size(dir / "CoorCom2.dat"), 8u + 12 * 5);
    EXPECT_EQ(std::filesystem::file_size(dir / "CoorCom.dat"), 780u * 5);
    EXPECT_FALSE(std::filesystem::exists(dir / "CoorCom.dat.tmp"));
    EXPECT_EQ(LeggiNumeroComuni(Prefisso(dir)), 5);
    const auto letti = LeggiComuni(Prefisso(dir));
    ASSERT_EQ(letti.size(), 5u);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(std::memcmp(&letti[i], &v[i], sizeof(TCoordComune)), 0) << i;
    std::filesystem::remove_all(dir);
}

TEST(DatabaseComuni, ShorterArrayReadsTheFirstRecordsWhole) {
    // Regression: every column must be read from its own start, not from
    // where the previous, shorter column stopped.
    const auto dir = test::CartellaTemporanea("comuni_corti");
    std::vector<TCoordComune> v;
    for (int i = 0; i < 6; ++i)
        v.push_back(Comune(i));
    SalvaComuni(Prefisso(dir), v);
    const auto letti = LeggiComuni(Prefisso(dir), 2);
    ASSERT_EQ(letti.size(), 2u);
    EXPECT_EQ(std::memcmp(&letti[1], &v[1], sizeof(TCoordComune)), 0);
    EXPECT_THROW(LeggiComuni(Prefisso(dir), 7), ErroreLettura);
    std::filesystem::remove_all(dir);
}

TEST(DatabaseComuni, EmptyDatabaseAndSizeWithoutTheMainFile) {
    const auto dir = test::CartellaTemporanea("comuni_vuoti");
    SalvaComuni(Prefisso(dir), {});
    EXPECT_EQ(std::filesystem::file_size(dir / "CoorCom2.dat"), 8u);
    EXPECT_EQ(std::filesystem::file_size(dir / "CoorCom.dat"), 0u);
    EXPECT_TRUE(LeggiComuni(Prefisso(dir)).empty());
    std::filesystem::remove(dir / "CoorCom.dat");
    EXPECT_EQ(LeggiNumeroComuni(Prefisso(dir)), 0);
    EXPECT_THROW(LeggiComuni(Prefisso(dir)), ErroreApertura);
    std::filesystem::remove_all(dir);
}

TEST(DatabaseComuni, LyingCountsAndShortFilesFail) {
    const auto dir = test::CartellaTemporanea("comuni_rotti");
    {
        std::ofstream f(dir / "CoorCom2.dat", std::ios::binary);
        const int32_t h[2] = {1, 2000000000}; // far more records than the file holds
        f.write(reinterpret_cast<const char*>(h), 8);
    }
    EXPECT_THROW(LeggiComuni(Prefisso(dir)), ErroreLettura);
    {
        std::ofstream f(dir / "CoorCom2.dat", std::ios::binary);
        const int32_t h[5] = {1, 1, 7, 8, 9};
        f.write(reinterpret_cast<const char*>(h), 20);
        std::ofstream g(dir / "CoorCom.dat", std::ios::binary);
        g << "corto";
    }
    EXPECT_THROW(LeggiComuni(Prefisso(dir)), ErroreLettura);
    {
        std::ofstream f(dir / "CoorCom2.dat", std::ios::binary);
        const int32_t h[2] = {1, -3};
        f.write(reinterpret_cast<const char*>(h), 8);
    }
    EXPECT_THROW(LeggiComuni(Prefisso(dir)), ErroreLettura);
    // A prefix without the separator names other files.
    EXPECT_THROW(LeggiNumeroComuni(dir.u16string()), ErroreApertura);
    std::filesystem::remove_all(dir);
}

TEST(DatabaseComuni, FailedSaveKeepsTheOldFiles) {
    const auto dir = test::CartellaTemporanea("comuni_salva");
    std::vector<TCoordComune> v{Comune(1), Comune(2)};
    SalvaComuni(Prefisso(dir), v);
    // CoorCom.dat.tmp taken by a folder: the new main file cannot be written.
    std::filesystem::create_directory(dir / "CoorCom.dat.tmp");
    std::vector<TCoordComune> w{Comune(9)};
    EXPECT_ANY_THROW(SalvaComuni(Prefisso(dir), w));
    const auto letti = LeggiComuni(Prefisso(dir));
    ASSERT_EQ(letti.size(), 2u);
    EXPECT_EQ(+letti[1].Id_sf_COM, 2);
    EXPECT_FALSE(std::filesystem::exists(dir / "CoorCom2.dat.tmp"));
    std::filesystem::remove_all(dir);
}

} // namespace
} // namespace veltrano
