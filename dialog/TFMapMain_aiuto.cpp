// TFMapMain: the warnings window, help and the maker's site.
#include "dialog/TFMapMain.h"
#include "dialog/testi_aiuto.h"

namespace veltrano::dialogo {

using C = TControllo;

void TFMapMain::CollegaAiuto() {
    click_[C::TB_Avvertenze] = [this] { TB_WarnClick(); };
    click_[C::TB_Help] = [this] { GestioneHelp(); };
}

void TFMapMain::TB_WarnClick() {
    vista_.MostraAvvertenze(std::vector<std::string>(testi::RigheAvvertenze.begin(), testi::RigheAvvertenze.end()));
}

bool TFMapMain::GestioneHelp() {
    // MainApp is the host's to give; only a record that carries our
    // signature is called.
    if (const auto* ospite = static_cast<const TVeltranoOspite*>(MainApp);
        ospite && ospite->Firma == VELTRANO_FIRMA_OSPITE && ospite->Aiuto) {
        ospite->Aiuto(ospite->Contesto, 0);
        return false;
    }
    // The message box runs its own event loop: a second request that
    // arrives meanwhile must not stack a second box.
    if (!MsgHlpVis) {
        MsgHlpVis = true;
        try {
            Messaggio(testi::GuidaNonDisponibile);
        } catch (...) {
            MsgHlpVis = false;
            throw;
        }
        MsgHlpVis = false;
    }
    return false;
}

std::string TFMapMain::IndirizzoSito() { return VELTRANO_SITO_PRODUTTORE; }

void TFMapMain::Image1Click() {
    if (const std::string sito = IndirizzoSito(); !sito.empty())
        vista_.ApriIndirizzo(sito);
}

} // namespace veltrano::dialogo
