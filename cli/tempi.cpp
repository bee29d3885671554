// "veltrano tempi": the return periods of the limit states.
#include "cli/comandi.h"
#include "cli/formato.h"
#include "cli/sito.h"

#include <array>
#include <ostream>
#include <string_view>

namespace veltrano::cli {

namespace {

constexpr const char* UsoTempi =
    "uso: veltrano tempi [--vn ANNI] [--classe CLASSE] [--normativa EDIZIONE] [--formato testo|json]\n"
    "\n"
    "Tempi di ritorno [anni] di SLO, SLD, SLV, SLC. ANNI: 0..10000 (predefinita 50).\n"
    "EDIZIONE: DM2008 (predefinita), DM2018, OPCM3274, DM1996, DM2005, EC, NESSUNA;\n"
    "solo DM2008 porta VR ad almeno 35 anni.\n";

uint8_t Edizione(Argomenti& a) {
    static constexpr std::array<std::pair<std::string_view, uint8_t>, 7> edizioni{
        {{"OPCM3274", Norm_OPCM3274}, {"DM1996", Norm_DM1996}, {"DM2005", Norm_DM2005}, {"EC", Norm_EC},
         {"NESSUNA", Norm_None}, {"DM2008", Norm_DM2008}, {"DM2018", Norm_DM2018}}};
    const std::string t = a.Testo("--normativa").value_or("DM2008");
    std::string m = t;
    for (char& c : m)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    for (const auto& [nome, valore] : edizioni)
        if (m == nome)
            return valore;
    throw ErroreUso("--normativa: \"" + Citazione(t) + "\" non è un'edizione nota");
}

int Tempi(Argomenti& a, Flussi& f) {
    const int vn = VitaNominale(a);
    const int classe = ClasseUso(a);
    const bool json = FormatoJson(a);
    const uint8_t edizione = Edizione(a);
    a.ControllaFine();
    const TempiRitorno tr = CalcolaTR(edizione, vn, static_cast<uint8_t>(classe));
    // tr is SLV, SLC, SLD, SLO; printed by increasing period.
    static constexpr std::size_t ordine[4] = {3, 2, 0, 1};
    static constexpr const char* nomi[4] = {"SLV", "SLC", "SLD", "SLO"};
    if (json) {
        Json j;
        for (const std::size_t i : ordine)
            j[nomi[i]] = tr[i];
        f.out << TestoJson(j) << "\n";
    } else {
        for (const std::size_t i : ordine)
            f.out << nomi[i] << "\t" << tr[i] << "\n";
    }
    return 0;
}

} // namespace

const Comando ComandoTempi{"tempi", "tempi di ritorno degli stati limite da vita nominale e classe d'uso",
                           UsoTempi, &Tempi};

} // namespace veltrano::cli
