// Opening a data file for reading, with a failure that says which file and
// why: a missing file, a folder in its place and a file the system will not
// open are told apart. Header-only: the grid reader and the municipality
// database both use it.
#pragma once

#include "veltrano/veltrano.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

namespace veltrano {

/// The file at p, open for binary reading. Throws ErroreApertura naming p:
/// "file mancante", "è una cartella, non un file", or the system's reason.
inline std::ifstream ApriFileDati(const std::filesystem::path& p) {
    std::error_code ec;
    const auto stato = std::filesystem::status(p, ec);
    if (stato.type() == std::filesystem::file_type::not_found)
        throw ErroreApertura(p.string() + ": file mancante");
    if (stato.type() == std::filesystem::file_type::directory)
        throw ErroreApertura(p.string() + ": è una cartella, non un file");
    // A device or a pipe has no size to check and may never end.
    if (!ec && stato.type() != std::filesystem::file_type::regular)
        throw ErroreApertura(p.string() + ": non è un file regolare");
    errno = 0;
    std::ifstream f(p, std::ios::binary);
    if (!f)
        throw ErroreApertura(p.string() + ": impossibile aprire il file" +
                             (errno ? " (" + std::string(std::strerror(errno)) + ")" : std::string()));
    return f;
}

/// Up to `massimo` bytes of f; fewer only at the end of the file. Throws
/// ErroreLettura naming p when the system fails to read.
inline std::string LeggiFileDati(std::ifstream& f, const std::filesystem::path& p, std::size_t massimo) {
    std::string dati;
    char blocco[65536];
    while (dati.size() < massimo) {
        f.read(blocco, static_cast<std::streamsize>(std::min(sizeof blocco, massimo - dati.size())));
        dati.append(blocco, static_cast<std::size_t>(f.gcount()));
        if (!f)
            break;
    }
    if (f.bad())
        throw ErroreLettura(p.string() + ": errore di lettura");
    return dati;
}

} // namespace veltrano
