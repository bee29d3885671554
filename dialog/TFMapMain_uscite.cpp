// TFMapMain: the report saved as text and printed, the map saved as a
// picture and printed, the response spectra window and the site report of
// the current site. The front end runs the dialogs and the printer; the
// pages are laid out in outputs/.
#include "dialog/TFMapMain.h"

#include "dialog/coordinate.h"
#include "dialog/testi_uscite.h"
#include "map/bitmap.h"

namespace veltrano::dialogo {

using C = TControllo;

void TFMapMain::CollegaUscite() {
    click_[C::ToolButton10] = [this] { ToolButton10Click(); };
    click_[C::ToolButton11] = [this] { ToolButton11Click(); };
    click_[C::TB_SalvaImm] = [this] { TB_SalvaImmClick(); };
    click_[C::TB_StampaImm] = [this] { TB_StampaImmClick(); };
    click_[C::TB_Spettri] = [this] { TB_SpettriClick(); };
    click_[C::TB_Relazione] = [this] { TB_RelazioneClick(); };
    ImpostaVisibile(C::TB_Spettri, vista_.OffreSpettri());
    ImpostaVisibile(C::TB_Relazione, vista_.OffreSpettri());
}

void TFMapMain::ToolButton10Click() {
    if (const auto file = vista_.ScegliFileRapporto(NomeRapportoPredefinito))
        SalvaRapporto(*file, rapporto_);
}

void TFMapMain::ToolButton11Click() { vista_.StampaRapporto(rapporto_, testi::TitoloStampaRapporto); }

void TFMapMain::TB_SalvaImmClick() {
    // The map as it is now, before a dialog covers any of it.
    const mappa::TImmagine immagine = vista_.CatturaCartina();
    const auto scelta = vista_.ScegliFileImmagine(NomeImmaginePredefinito);
    if (!scelta)
        return;
    const std::filesystem::path file = FileImmagine(scelta->file, scelta->filtro);
    if (FormatoImmagine(file, scelta->filtro) == FiltroJpeg)
        vista_.SalvaJpeg(file, immagine);
    else
        mappa::SalvaBitmap(file, immagine);
}

void TFMapMain::TB_StampaImmClick() { vista_.StampaCartina(vista_.CatturaCartina()); }

void TFMapMain::TB_SpettriClick() {
    const TSitoDialogo s = SitoCorrente();
    if (!s.esito.Valido()) {
        Messaggio(testi::SitoSenzaSpettri);
        return;
    }
    vista_.MostraSpettri(s);
}

void TFMapMain::TB_RelazioneClick() {
    const TSitoDialogo s = SitoCorrente();
    if (!s.esito.Valido()) {
        Messaggio(testi::SitoSenzaSpettri);
        return;
    }
    vista_.StampaRelazione(s);
}

TSitoDialogo TFMapMain::SitoCorrente() const {
    TSitoDialogo s;
    s.esito = CalcolaSitoVoci(s.dati);
    s.lonWGS84 = NumeroOZero(Testo(C::Edit1));
    s.latWGS84 = NumeroOZero(Testo(C::Edit2));
    s.lonED50 = s.dati.LonSitoED50;
    s.latED50 = s.dati.LatSitoED50;
    // The item holds 0 until an altitude is computed or typed: a report
    // would state a sea-level site in the mountains.
    if (const auto alt = LeggiNumero(Testo(C::NxTextItem7)); alt && *alt != 0)
        s.altitudine = *alt;
    s.comune = sCom;
    s.provincia = sProv;
    s.regione = sReg;
    LeggiDatiOpera(s.classe, s.vn);
    s.sfComuni = sf_COM;
    s.sfGriglia = sf_Grid;
    return s;
}

} // namespace veltrano::dialogo
