#include "geo/comuni.h"
#include "tests/supporto.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fcntl.h>
#include <limits>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

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

void Scrivi(const std::filesystem::path& p, const std::vector<char>& b) {
    std::ofstream(p, std::ios::binary).write(b.data(), static_cast<std::streamsize>(b.size()));
}

std::vector<char> Leggi(const std::filesystem::path& p) {
    std::ifstream f(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

template <class F> void MessaggioContiene(F&& f, const std::string& testo) {
    try {
        f();
        ADD_FAILURE() << "no failure; expected: " << testo;
    } catch (const Errore& e) {
        EXPECT_NE(std::string(e.what()).find(testo), std::string::npos) << e.what();
    }
}

// Regression: CoorCom2.dat announcing one record less than stored read
// "successfully" with longitudes of 1e27; the size reader returned -1,
// INT_MIN or 2^31-1 from a lying header, and a folder in the file's place
// escaped as a bare stream failure without a file name (issue 13).
TEST(DatabaseComuni, BothFilesMustAgreeExactlyWithTheCount) {
    const auto dir = test::CartellaTemporanea("comuni_discordi");
    std::vector<TCoordComune> v;
    for (int i = 0; i < 3; ++i)
        v.push_back(Comune(i));
    SalvaComuni(Prefisso(dir), v);
    const std::vector<char> d2 = Leggi(dir / "CoorCom2.dat"), d1 = Leggi(dir / "CoorCom.dat");
    for (const int32_t n : {2, 4, -1, INT32_MIN, INT32_MAX}) {
        std::vector<char> b = d2;
        std::memcpy(b.data() + 4, &n, 4);
        Scrivi(dir / "CoorCom2.dat", b);
        MessaggioContiene([&] { LeggiNumeroComuni(Prefisso(dir)); }, "CoorCom2.dat: ");
        MessaggioContiene([&] { LeggiComuni(Prefisso(dir)); }, "CoorCom2.dat: ");
        EXPECT_THROW(LeggiComuni(Prefisso(dir)), ErroreLettura);
    }
    // A count that agrees with its own file but not with the other one.
    std::vector<char> b = d2;
    const int32_t due = 2;
    std::memcpy(b.data() + 4, &due, 4);
    b.resize(8 + 12 * 2);
    Scrivi(dir / "CoorCom2.dat", b);
    EXPECT_EQ(LeggiNumeroComuni(Prefisso(dir)), 2);
    MessaggioContiene([&] { LeggiComuni(Prefisso(dir)); }, "CoorCom.dat: 2340 byte, ma ");
    Scrivi(dir / "CoorCom2.dat", d2);
    std::vector<char> lungo = d1;
    lungo.push_back(0);
    Scrivi(dir / "CoorCom.dat", lungo);
    EXPECT_THROW(LeggiComuni(Prefisso(dir)), ErroreLettura);
    // A coordinate that is not a number.
    std::vector<char> nan = d1;
    const float x = std::numeric_limits<float>::quiet_NaN();
    std::memcpy(nan.data() + 256 * 3 + 4, &x, 4); // Lon of the second record
    Scrivi(dir / "CoorCom.dat", nan);
    MessaggioContiene([&] { LeggiComuni(Prefisso(dir)); }, "comune 2 (Comune 1): longitudine non valida");
    std::vector<TCoordComune> w = v;
    w[2].Lat = std::numeric_limits<float>::infinity();
    EXPECT_THROW(SalvaComuni(Prefisso(dir), w), ErroreIntervallo);
    EXPECT_EQ(Leggi(dir / "CoorCom.dat"), nan); // nothing written
    // Folders in the files' places.
    std::filesystem::remove(dir / "CoorCom2.dat");
    std::filesystem::create_directory(dir / "CoorCom2.dat");
    MessaggioContiene([&] { LeggiNumeroComuni(Prefisso(dir)); }, "CoorCom2.dat: è una cartella");
    EXPECT_THROW(LeggiComuni(Prefisso(dir)), ErroreApertura);
    std::filesystem::remove_all(dir);
}

// Regression: when CoorCom2.dat could not be replaced, CoorCom.dat already
// was, the message named the wrong file and the next read returned garbage
// (issue 13). An immutable file is what cannot be replaced.
TEST(DatabaseComuni, APairThatCannotBeReplacedKeepsBothOldFiles) {
    const auto dir = test::CartellaTemporanea("comuni_immutabili");
    const std::vector<TCoordComune> v{Comune(1), Comune(2)};
    SalvaComuni(Prefisso(dir), v);
    const std::vector<char> d1 = Leggi(dir / "CoorCom.dat"), d2 = Leggi(dir / "CoorCom2.dat");
    for (const char* bloccato : {"CoorCom2.dat", "CoorCom.dat"}) {
        const int fd = ::open((dir / bloccato).c_str(), O_RDONLY);
        ASSERT_GE(fd, 0);
        int attributi = 0;
        const bool fatto = ::ioctl(fd, FS_IOC_GETFLAGS, &attributi) == 0 &&
                           (attributi |= FS_IMMUTABLE_FL, ::ioctl(fd, FS_IOC_SETFLAGS, &attributi) == 0);
        const auto sblocca = [&] {
            attributi &= ~FS_IMMUTABLE_FL;
            ::ioctl(fd, FS_IOC_SETFLAGS, &attributi);
            ::close(fd);
        };
        if (!fatto) {
            sblocca();
            std::filesystem::remove_all(dir);
            GTEST_SKIP() << "this file system or user cannot make a file immutable";
        }
        const std::vector<TCoordComune> w{Comune(7), Comune(8), Comune(9)};
        MessaggioContiene([&] { SalvaComuni(Prefisso(dir), w); },
                          (dir / bloccato).string() + ": impossibile sostituire il file");
        sblocca();
        EXPECT_EQ(Leggi(dir / "CoorCom.dat"), d1) << bloccato;
        EXPECT_EQ(Leggi(dir / "CoorCom2.dat"), d2) << bloccato;
        EXPECT_EQ(LeggiComuni(Prefisso(dir)).size(), 2u);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 2) << "temporary files left";
    }
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
