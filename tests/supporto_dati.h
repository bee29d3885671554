// A scratch data folder for the map and dialog tests: links to the built
// grid, database and shapefiles, so that a test may write Opzioni.dat,
// CoorLocUtente.dat or the outline files (or drop files) without touching
// the build's data folder.
#pragma once

#include <filesystem>
#include <string>
#include <unistd.h>

namespace veltrano::test {

inline std::filesystem::path DatiCostruiti() { return VELTRANO_DATI; }

inline std::filesystem::path CartellaDatiProva(const std::string& nome) {
    namespace fs = std::filesystem;
    const fs::path p = fs::temp_directory_path() / ("veltrano_prova_" + nome + "_" + std::to_string(::getpid()));
    fs::remove_all(p);
    fs::create_directories(p / "Shape");
    for (const char* f : {"GeoDati.dat", "CoorCom.dat", "CoorCom2.dat"})
        fs::create_symlink(DatiCostruiti() / f, p / f);
    for (const auto& d : fs::directory_iterator(DatiCostruiti() / "Shape"))
        if (d.is_directory() && d.path().filename() != "Dettagli")
            fs::create_directory_symlink(d.path(), p / "Shape" / d.path().filename());
    fs::create_directories(p / "Shape/Dettagli");
    for (const auto& f : fs::directory_iterator(DatiCostruiti() / "Shape/Dettagli"))
        fs::create_symlink(f.path(), p / "Shape/Dettagli" / f.path().filename());
    return p;
}

/// Removes the folder when the test ends.
struct CartellaTemporanea {
    std::filesystem::path p;
    explicit CartellaTemporanea(const std::string& nome) : p(CartellaDatiProva(nome)) {}
    ~CartellaTemporanea() {
        std::error_code ec;
        std::filesystem::remove_all(p, ec);
    }
};

} // namespace veltrano::test
