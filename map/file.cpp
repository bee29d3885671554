#include "map/file.h"

#include "veltrano/veltrano.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>

namespace fs = std::filesystem;

namespace veltrano::mappa {

std::string NomeFile(const fs::path& p) {
    const auto u8 = p.u8string();
    return std::string(u8.begin(), u8.end());
}

bool Esiste(const fs::path& p) {
    std::error_code ec;
    return fs::exists(p, ec);
}

bool Rimuovi(const fs::path& p) {
    std::error_code ec;
    fs::remove(p, ec);
    return !Esiste(p);
}

bool Sostituisci(const fs::path& da, const fs::path& a) {
    // The standard library replaces an existing file on Windows as well
    // (MoveFileExW with MOVEFILE_REPLACE_EXISTING in libstdc++).
    std::error_code ec;
    fs::rename(da, a, ec);
    return !ec;
}

bool Scrivibile(const fs::path& cartella) {
    const fs::path prova = cartella / ".veltrano_scrittura";
    {
        std::ofstream f(prova, std::ios::binary | std::ios::trunc);
        if (!f)
            return false;
    }
    Rimuovi(prova);
    return true;
}

fs::path CartellaUtente() {
    fs::path base;
#ifdef _WIN32
    if (const char* a = std::getenv("APPDATA"); a && *a)
        base = fs::path(a) / "Veltrano";
#else
    if (const char* x = std::getenv("XDG_DATA_HOME"); x && *x)
        base = fs::path(x) / "veltrano";
    else if (const char* h = std::getenv("HOME"); h && *h)
        base = fs::path(h) / ".local" / "share" / "veltrano";
#endif
    if (base.empty())
        return {};
    std::error_code ec;
    fs::create_directories(base, ec);
    return fs::is_directory(base, ec) ? base : fs::path();
}

std::optional<std::vector<uint8_t>> LeggiFile(const fs::path& p) {
    std::error_code ec;
    if (!fs::exists(p, ec))
        return std::nullopt;
    // A folder or a device in the file's place opens on some systems and
    // reports no sensible size.
    if (!fs::is_regular_file(p, ec))
        throw ErroreApertura(NomeFile(p) + ": non è un file");
    std::ifstream f(p, std::ios::binary | std::ios::ate);
    if (!f)
        throw ErroreApertura(NomeFile(p) + ": impossibile aprire il file");
    const std::streamoff n = f.tellg();
    if (n < 0)
        throw ErroreApertura(NomeFile(p) + ": errore di lettura");
    std::vector<uint8_t> dati(n > 0 ? static_cast<std::size_t>(n) : 0);
    f.seekg(0);
    if (!dati.empty())
        f.read(reinterpret_cast<char*>(dati.data()), static_cast<std::streamsize>(dati.size()));
    if (f.bad() || static_cast<std::size_t>(f.gcount()) != dati.size())
        throw ErroreApertura(NomeFile(p) + ": errore di lettura");
    return dati;
}

void ScriviFileSicuro(const fs::path& p, std::span<const uint8_t> dati) {
    fs::path tmp = p;
    tmp += ".tmp";
    {
        std::ofstream f(tmp, std::ios::binary | std::ios::trunc);
        if (!f)
            throw ErroreApertura(NomeFile(p) + ": impossibile creare il file (" + std::strerror(errno) + ")");
        f.write(reinterpret_cast<const char*>(dati.data()), static_cast<std::streamsize>(dati.size()));
        f.flush();
        // A short write (disk full, size limit) must not reach the rename.
        if (!f) {
            f.close();
            Rimuovi(tmp);
            throw ErroreLettura(NomeFile(p) + ": errore di scrittura");
        }
    }
    std::error_code ec;
    if (fs::file_size(tmp, ec) != dati.size() || ec) {
        Rimuovi(tmp);
        throw ErroreLettura(NomeFile(p) + ": errore di scrittura");
    }
    if (!Sostituisci(tmp, p)) {
        Rimuovi(tmp);
        throw ErroreApertura(NomeFile(p) + ": impossibile sostituire il file");
    }
}

} // namespace veltrano::mappa
