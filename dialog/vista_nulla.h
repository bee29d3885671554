// A view that shows nothing: the form runs headless on it (benchmarks,
// checks of the rules without any window). Questions get "no", the modal
// run ends at once as cancelled unless Chiudi chose otherwise, the map
// capture is a blank picture of the requested size.
#pragma once

#include "dialog/vista.h"

namespace veltrano::dialogo {

class TVistaNulla : public TVistaDialogo {
public:
    void Collega(TFMapMain*) override {}
    void ImpostaTesto(TControllo, const std::string&) override {}
    void ImpostaCaption(TControllo, const std::string&) override {}
    void ImpostaElementi(TControllo, const std::vector<std::string>&) override {}
    void ImpostaIndice(TControllo, int) override {}
    void ImpostaAbilitato(TControllo, bool) override {}
    void ImpostaVisibile(TControllo, bool) override {}
    void ImpostaSolaLettura(TControllo, bool) override {}
    void ImpostaPremuto(TControllo, bool) override {}
    void ImpostaColore(TControllo, mappa::TColore) override {}
    void ImpostaImmagine(TControllo, int) override {}
    void FineModifica() override {}
    void SelezionaItem(TControllo) override {}
    void MostraRapporto(const std::vector<std::string>&) override {}
    void ImpostaTitolo(const std::string&) override {}
    void Massimizza() override {}
    void CursoreAttesa(bool) override {}
    void ProcessaEventi() override {}
    void Messaggio(const std::string&) override {}
    std::optional<mappa::TColore> ScegliColore(mappa::TColore) override { return std::nullopt; }
    std::optional<mappa::TCarattere> ScegliCarattere(const mappa::TCarattere&, mappa::TColore*) override {
        return std::nullopt;
    }
    void MostraStilePunti(mappa::TFStileLayer& s) override { s.Premuto(0); }
    void InizioProgresso(const std::string&, int) override {}
    void Progresso(int) override {}
    void FineProgresso() override {}
    void DimensioniMappa(int larghezza, int altezza) override {
        larghezza_ = larghezza;
        altezza_ = altezza;
    }
    mappa::TImmagine CatturaCartina() override {
        mappa::TImmagine im;
        im.larghezza = larghezza_;
        im.altezza = altezza_;
        im.pixel.assign(static_cast<std::size_t>(larghezza_ > 0 ? larghezza_ : 0) *
                            static_cast<std::size_t>(altezza_ > 0 ? altezza_ : 0),
                        0xFFFFFFFFu);
        return im;
    }
    TEsito EseguiModale() override { return esito_; }
    void Chiudi(TEsito esito) override { esito_ = esito; }

protected:
    int larghezza_ = 0, altezza_ = 0;
    TEsito esito_ = TEsito::Annulla;
};

} // namespace veltrano::dialogo
