// Writes the library's cursors (map/cursori.h) as Windows cursor files into
// a folder, with the Qt resource list (cursori.qrc) and the Windows
// resource script (cursori.rc) that carry them into the two front ends.
// Usage: genera_cursori FOLDER
#include "map/cursori.h"

#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>

namespace {

void Scrivi(const std::filesystem::path& p, const std::string& testo) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out << testo;
    if (!out.flush())
        throw std::runtime_error(p.string() + ": scrittura non riuscita");
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "uso: genera_cursori CARTELLA\n";
        return 2;
    }
    try {
        using namespace veltrano::mappa;
        const std::filesystem::path cartella = argv[1];
        std::filesystem::create_directories(cartella);
        std::string qrc = "<RCC>\n  <qresource prefix=\"/cursori\">\n", rc;
        for (const char* prefisso : PrefissiCursori)
            for (int n = 1; n <= NumCursori; ++n) {
                const std::string nome = NomeRisorsaCursore(prefisso, n);
                const auto b = CodificaCur(DisegnaCursore(n, prefisso));
                Scrivi(cartella / nome, std::string(b.begin(), b.end()));
                qrc += "    <file>" + nome + "</file>\n";
                std::string maiuscolo = nome;
                for (char& c : maiuscolo)
                    if (c >= 'a' && c <= 'z')
                        c = static_cast<char>(c - 'a' + 'A');
                // Resource names are looked up without regard to case. Each
                // statement opens with its (neutral) language, so that no
                // file name stands next to the following quoted name: windres
                // would join the two strings into one.
                rc += "LANGUAGE 0, 0\n\"" + maiuscolo + "\" CURSOR \"" + nome + "\"\n";
            }
        qrc += "  </qresource>\n</RCC>\n";
        Scrivi(cartella / "cursori.qrc", qrc);
        Scrivi(cartella / "cursori.rc", rc);
    } catch (const std::exception& e) {
        std::cerr << "genera_cursori: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
