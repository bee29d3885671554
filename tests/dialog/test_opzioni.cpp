// Opzioni.dat: the defaults' bytes, a short file, a round trip, and a save
// that fails half-way leaving the user's previous file whole.
#include "dialog/opzioni.h"
#include "veltrano/veltrano.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sys/resource.h>
#include <unistd.h>

using namespace veltrano::dialogo;
namespace fs = std::filesystem;

namespace {

fs::path Cartella(const char* nome) {
    const fs::path p = fs::temp_directory_path() / (std::string("veltrano_opz_") + nome + std::to_string(::getpid()));
    fs::remove_all(p);
    fs::create_directories(p);
    return p;
}

std::string Byte(const fs::path& f) {
    std::ifstream in(f, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

int32_t Intero(const std::string& b, std::size_t off) {
    int32_t v;
    std::memcpy(&v, b.data() + off, 4);
    return v;
}

} // namespace

TEST(Opzioni, PredefiniteNelFile) {
    const auto dir = Cartella("pred");
    SalvaOpzioni(dir / "Opzioni.dat", OpzioniPredefinite());
    const std::string b = Byte(dir / "Opzioni.dat");
    ASSERT_EQ(b.size(), 304u);
    EXPECT_EQ(Intero(b, 0), 2);
    EXPECT_EQ(Intero(b, 8), 241 + 256 * 236 + 65536 * 205) << "cream";
    EXPECT_EQ(b.substr(12, 16), std::string("\x0FTimes New Roman"));
    EXPECT_EQ(Intero(b, 63), 8);
    EXPECT_EQ(Intero(b, 67), 128 * 65536) << "navy";
    EXPECT_EQ(Intero(b, 213), 5);
    EXPECT_EQ(Intero(b, 225), 6) << "475 anni";
    EXPECT_EQ(Intero(b, 288), 255 * 256 + 255 * 65536) << "cyan";
    EXPECT_EQ(Intero(b, 300), 128) << "maroon";
    // Saving twice without changes gives the same bytes.
    SalvaOpzioni(dir / "Opzioni.dat", OpzioniPredefinite());
    EXPECT_EQ(Byte(dir / "Opzioni.dat"), b);
    fs::remove_all(dir);
}

TEST(Opzioni, AndataERitorno) {
    const auto dir = Cartella("giro");
    TOpzVis o = OpzioniPredefinite();
    o.indTempoR = 8;
    o.SpessB_Com = 7;
    o.ColR_Prov = 0x00112233;
    ImpostaNomeCarattere(o.NameCar_Com, "DejaVu Sans");
    SalvaOpzioni(dir / "Opzioni.dat", o);
    const TOpzVis l = CaricaOpzioni(dir / "Opzioni.dat");
    EXPECT_EQ(std::memcmp(&l, &o, sizeof o), 0);
    EXPECT_EQ(NomeCarattere(l.NameCar_Com), "DejaVu Sans");
    fs::remove_all(dir);
}

TEST(Opzioni, FileCortoOMancanteDannoLePredefinite) {
    const auto dir = Cartella("corto");
    const TOpzVis pred = OpzioniPredefinite();
    TOpzVis l = CaricaOpzioni(dir / "Opzioni.dat");
    EXPECT_EQ(std::memcmp(&l, &pred, sizeof l), 0);
    TOpzVis o = pred;
    o.indTempoR = 8;
    std::string b(reinterpret_cast<const char*>(&o), 303);
    std::ofstream(dir / "Opzioni.dat", std::ios::binary) << b;
    l = CaricaOpzioni(dir / "Opzioni.dat");
    EXPECT_EQ(int32_t{l.indTempoR}, 6) << "a file one byte short is not read in part";
    std::ofstream(dir / "Opzioni.dat", std::ios::binary) << std::string(reinterpret_cast<const char*>(&o), 304) << "coda";
    EXPECT_EQ(int32_t{CaricaOpzioni(dir / "Opzioni.dat").indTempoR}, 8);
    fs::remove_all(dir);
}

// Regression: a damaged Opzioni.dat reached the map with impossible widths,
// styles, sizes and colours (issue 13). Each bad field takes its default;
// the user's other choices stay.
TEST(Opzioni, CampiImpossibiliPrendonoLaPredefinita) {
    const auto dir = Cartella("guasto");
    const TOpzVis pred = OpzioniPredefinite();
    TOpzVis o = pred;
    o.SpessB_Com = 7;           // a choice of the user's
    o.ColR_Prov = 0x00112233;   // another
    o.DimPunti = 0;
    o.StilePunti = 99;
    o.indImmPunti = -1;
    o.indTempoR = 9;
    o.SizeCar_Reg = 100000;
    o.SpessB_LF = -2147483647 - 1;
    o.ColB_Reg = 0xFF000000u;
    o.NameCar[0] = 200;
    std::ofstream(dir / "Opzioni.dat", std::ios::binary) << std::string(reinterpret_cast<const char*>(&o), 304);
    const TOpzVis l = CaricaOpzioni(dir / "Opzioni.dat");
    EXPECT_EQ(int32_t{l.SpessB_Com}, 7);
    EXPECT_EQ(uint32_t{l.ColR_Prov}, 0x00112233u);
    EXPECT_EQ(int32_t{l.DimPunti}, 5);
    EXPECT_EQ(int32_t{l.StilePunti}, 0);
    EXPECT_EQ(int32_t{l.indImmPunti}, 0);
    EXPECT_EQ(int32_t{l.indTempoR}, 6);
    EXPECT_EQ(int32_t{l.SizeCar_Reg}, 8);
    EXPECT_EQ(int32_t{l.SpessB_LF}, 1);
    EXPECT_EQ(uint32_t{l.ColB_Reg}, 0u);
    EXPECT_EQ(NomeCarattere(l.NameCar), "Times New Roman");
    // A folder in the file's place gives the defaults too.
    fs::remove(dir / "Opzioni.dat");
    fs::create_directory(dir / "Opzioni.dat");
    const TOpzVis c = CaricaOpzioni(dir / "Opzioni.dat");
    EXPECT_EQ(std::memcmp(&c, &pred, sizeof c), 0);
    fs::remove_all(dir);
}

TEST(Opzioni, NomeCarattereTagliatoA50) {
    TOpzVis o = OpzioniPredefinite();
    ImpostaNomeCarattere(o.NameCar, std::string(70, 'A'));
    EXPECT_EQ(o.NameCar[0], 50);
    EXPECT_EQ(NomeCarattere(o.NameCar), std::string(50, 'A'));
}

TEST(Opzioni, SalvataggioFallitoLasciaIlFileDiPrima) {
    const auto dir = Cartella("fallito");
    TOpzVis vecchie = OpzioniPredefinite();
    vecchie.DimPunti = 9;
    SalvaOpzioni(dir / "Opzioni.dat", vecchie);
    const std::string prima = Byte(dir / "Opzioni.dat");
    // A file-size limit below 304 bytes makes the write fail (as root too).
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit vecchio{};
    getrlimit(RLIMIT_FSIZE, &vecchio);
    rlimit basso = vecchio;
    basso.rlim_cur = 100;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &basso), 0);
    TOpzVis nuove = OpzioniPredefinite();
    nuove.DimPunti = 1;
    EXPECT_THROW(SalvaOpzioni(dir / "Opzioni.dat", nuove), veltrano::ErroreLettura) << "a write that failed";
    setrlimit(RLIMIT_FSIZE, &vecchio);
    std::signal(SIGXFSZ, SIG_DFL);
    EXPECT_EQ(Byte(dir / "Opzioni.dat"), prima);
    std::size_t file = 0;
    for ([[maybe_unused]] const auto& f : fs::directory_iterator(dir))
        ++file;
    EXPECT_EQ(file, 1u) << "no temporary file left behind";
    EXPECT_THROW(SalvaOpzioni(dir / "manca" / "Opzioni.dat", nuove), veltrano::ErroreApertura);
    fs::remove_all(dir);
}
