// The records the site dialog returns in the Windows test host's runs,
// played natively on the same form through a view that shows nothing.
// Usage: genera_attesi_dialogo DATA_FOLDER OUTPUT (one TGIS_DatiOut per run).
#include "dialog/vista_nulla.h"
#include "dialog/visualizza.h"
#include "tests/windows/scenari_dialogo.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <unistd.h>

using namespace veltrano;
using namespace veltrano::dialogo;
using C = TControllo;
namespace fs = std::filesystem;

namespace {

class TVistaCopione : public TVistaNulla {
public:
    std::function<void(TFMapMain&)> utente;
    TFMapMain* form = nullptr;
    void Collega(TFMapMain* f) override { form = f; }
    TEsito EseguiModale() override {
        esito_ = TEsito::Annulla;
        if (form) {
            form->MappaDimensioni(700, 600);
            form->Mostrato();
            if (utente)
                utente(*form);
        }
        return esito_;
    }
};

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "uso: %s CARTELLA_DATI USCITA\n", argv[0]);
        return 2;
    }
    try {
        // A copy of the data folder: the dialog writes its files there.
        const fs::path dati = fs::temp_directory_path() / ("veltrano_attesi_dialogo_" + std::to_string(::getpid()));
        fs::remove_all(dati);
        fs::create_directories(dati / "Shape");
        for (const char* f : {"GeoDati.dat", "CoorCom.dat", "CoorCom2.dat"})
            fs::copy_file(fs::path(argv[1]) / f, dati / f);
        for (const char* s : {"regioni2010", "province2010", "comuni2010", "Griglia", "Dettagli"})
            fs::copy(fs::path(argv[1]) / "Shape" / s, dati / "Shape" / s, fs::copy_options::recursive);
        std::ofstream out(argv[2], std::ios::binary);
        int n = 0;
        for (const scenari::Scenario& s : scenari::Tutti) {
            TParametriDialogo p;
            p.CategoriaVN = s.categoria;
            p.ClasseUso = s.classe;
            p.VN = s.vn;
            TGIS_DatiOut d = scenari::Record(s);
            TVistaCopione v;
            v.utente = [&, n](TFMapMain& f) {
                if (n == 0) {
                    f.Scelto(C::Radiogroup1, scenari::ModoLocalita);
                    const auto& c = f.Stato(C::cmb_Com).elementi;
                    const auto it = std::find(c.begin(), c.end(), scenari::ComuneScelto);
                    if (it == c.end())
                        throw std::runtime_error("comune non trovato nella lista");
                    f.Scelto(C::cmb_Com, static_cast<int>(it - c.begin()));
                    f.Click(C::SB_Chiudi);
                } else if (n == 1 || n == scenari::ScenarioMisura) {
                    f.ChiusuraRichiesta();
                } else {
                    f.Click(C::SB_Chiudi);
                }
            };
            VisualizzaDialogo(v, dati, p, d);
            out.write(reinterpret_cast<const char*>(&d), sizeof d);
            ++n;
        }
        fs::remove_all(dati);
        return out ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
