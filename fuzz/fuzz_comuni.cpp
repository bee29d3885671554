// Fuzz target of the municipality database. The input holds both files:
// its first 4 bytes give the length of CoorCom2.dat, which follows, and the
// rest is CoorCom.dat. Every read either fails with veltrano::Errore or
// gives records that save and read back unchanged; a count read alone agrees
// with the records read.
#include "geo/comuni.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

using namespace veltrano;
namespace fs = std::filesystem;

namespace {

// The process's own folder, removed at exit so that replays leave nothing.
struct CartellaTemporanea {
    fs::path p = fs::temp_directory_path() / ("veltrano_fuzz_comuni_" + std::to_string(::getpid()));
    CartellaTemporanea() {
        fs::create_directories(p / "a");
        fs::create_directories(p / "b");
    }
    ~CartellaTemporanea() {
        std::error_code e;
        fs::remove_all(p, e);
    }
};

const fs::path& Cartella() {
    static const CartellaTemporanea d;
    return d.p;
}

void Scrivi(const fs::path& p, const uint8_t* d, std::size_t n) {
    std::ofstream(p, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(d),
                                                                static_cast<std::streamsize>(n));
}

void Controlla(bool condizione) {
    if (!condizione)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* d, size_t n) {
    if (n < 4)
        return 0;
    const std::size_t n2 = std::min<std::size_t>(d[0] | (d[1] << 8) | (d[2] << 16), n - 4);
    const fs::path a = Cartella() / "a", b = Cartella() / "b";
    Scrivi(a / "CoorCom2.dat", d + 4, n2);
    Scrivi(a / "CoorCom.dat", d + 4 + n2, n - 4 - n2);
    const std::u16string pa = (a / "").u16string(), pb = (b / "").u16string();

    int32_t conta = -1;
    try {
        conta = LeggiNumeroComuni(pa);
        Controlla(conta >= 0);
    } catch (const Errore&) {
    }
    std::vector<TCoordComune> tutti;
    try {
        tutti = LeggiComuni(pa);
    } catch (const Errore&) {
        return 0;
    }
    Controlla(static_cast<int32_t>(tutti.size()) == conta);
    // Fewer records are the first ones, whole.
    const std::vector<TCoordComune> meta = LeggiComuni(pa, tutti.size() / 2);
    Controlla(meta.size() == tutti.size() / 2);
    Controlla(meta.empty() || std::memcmp(meta.data(), tutti.data(), meta.size() * sizeof(TCoordComune)) == 0);
    // What was read saves and reads back byte for byte.
    SalvaComuni(pb, tutti);
    const std::vector<TCoordComune> riletti = LeggiComuni(pb);
    Controlla(riletti.size() == tutti.size());
    Controlla(tutti.empty() || std::memcmp(riletti.data(), tutti.data(), tutti.size() * sizeof(TCoordComune)) == 0);
    Controlla(fs::file_size(b / "CoorCom.dat") == n - 4 - n2);
    return 0;
}
