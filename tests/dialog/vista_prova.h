// A view for the form's tests: it shows nothing, remembers the messages and
// what it was told last for each control, and runs the test's own actions
// as the user when the form is shown modally.
#pragma once

#include "dialog/TFMapMain.h"
#include "dialog/vista_nulla.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace veltrano::test {

struct TVistaProva : dialogo::TVistaNulla {
    std::vector<std::string> messaggi;
    std::vector<std::string> rapporto;
    std::map<dialogo::TControllo, std::string> testi;
    std::string titolo;
    int attese = 0, mostrato = 0;
    dialogo::TFMapMain* form = nullptr;
    /// What the user does while the form is shown; Chiudi ends it.
    std::function<void(dialogo::TFMapMain&)> utente;
    std::optional<mappa::TColore> colore;

    void Collega(dialogo::TFMapMain* f) override { form = f; }
    void ImpostaTesto(dialogo::TControllo c, const std::string& t) override { testi[c] = t; }
    void MostraRapporto(const std::vector<std::string>& r) override { rapporto = r; }
    void ImpostaTitolo(const std::string& t) override { titolo = t; }
    void CursoreAttesa(bool a) override { attese += a ? 1 : -1; }
    void Messaggio(const std::string& t) override { messaggi.push_back(t); }
    std::optional<mappa::TColore> ScegliColore(mappa::TColore) override { return colore; }
    // As a front end does: the map control takes the size and reports it.
    void DimensioniMappa(int w, int h) override {
        TVistaNulla::DimensioniMappa(w, h);
        if (form)
            form->MappaDimensioni(w, h);
    }
    dialogo::TEsito EseguiModale() override {
        esito_ = dialogo::TEsito::Annulla;
        if (form) {
            form->MappaDimensioni(900, 700);
            form->Mostrato();
            ++mostrato;
            if (utente)
                utente(*form);
        }
        return esito_;
    }
    dialogo::TEsito Esito() const { return esito_; }
};

} // namespace veltrano::test
