#include "ui/win32/cursori_win32.h"

#include "map/cursori.h"
#include "ui/win32/finestre_win32.h"

#include <array>
#include <string>

namespace veltrano::ui {

namespace {

struct Tabella {
    std::array<HCURSOR, mappa::NumCursori + 1> cursori{}; // [0]: the arrow
    int caricati = 0;
    Tabella() {
        cursori[0] = LoadCursorW(nullptr, IDC_ARROW);
        const std::string prefisso = mappa::PrefissoCursori(mappa::InsiemeCursori());
        for (int n = 1; n <= mappa::NumCursori; ++n) {
            // Resource names are ASCII, looked up without regard to case.
            const std::string nome = mappa::NomeRisorsaCursore(prefisso, n);
            const std::wstring w(nome.begin(), nome.end());
            HCURSOR c = LoadCursorW(Modulo(), w.c_str());
            cursori[static_cast<std::size_t>(n)] = c ? c : cursori[0];
            caricati += c ? 1 : 0;
        }
    }
};

const Tabella& Cursori() {
    static const Tabella t;
    return t;
}

} // namespace

HCURSOR CursoreSchermo(int n) {
    const auto& c = Cursori().cursori;
    return n >= 1 && n <= mappa::NumCursori ? c[static_cast<std::size_t>(n)] : c[0];
}

int CaricaCursori() { return Cursori().caricati; }

} // namespace veltrano::ui
