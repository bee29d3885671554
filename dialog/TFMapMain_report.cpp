// TFMapMain: the building data and the results report. The report's text
// comes from the same routine as the command line's, so the two never
// differ.
#include "dialog/TFMapMain.h"

#include "core/calcolo.h"
#include "core/rapporto.h"
#include "dialog/coordinate.h"

namespace veltrano::dialogo {

using C = TControllo;

void TFMapMain::LeggiDatiOpera(int32_t& ClasseUso, int32_t& VN) const {
    ClasseUso = Indice(C::ComboBox1) + 1;
    // A text that is not a whole number gives a nominal life of 0.
    VN = LeggiIntero(Testo(C::EditEx3)).value_or(0);
}

void TFMapMain::ScriviRisultati(int& NumNodi, double Lon, double Lat) {
    const auto lon = static_cast<float>(Lon), lat = static_cast<float>(Lat);
    int32_t classe = 0, vn = 0;
    LeggiDatiOpera(classe, vn);
    TMagliaSito m{};
    griglia_->CercaPuntiMaglia(lon, lat, m);
    TGIS_DatiOut d{};
    // The engine decides whether island values were used; the report reads it.
    const EsitoSito esito = CompletaSito(m, Normativa, lon, lat, vn, classe, d);
    NumNodi = esito.numNodi;
    DatiZS_SL = d;
    DatiRapporto r = DatiRapportoSito(d, esito);
    r.comune = sCom;
    r.lonED50 = NumeroOZero(Testo(C::NxTextItem5));
    r.latED50 = NumeroOZero(Testo(C::NxTextItem6));
    r.altitudine = NumeroOZero(Testo(C::NxTextItem7));
    MostraRapporto(RigheRisultati(r));
}

} // namespace veltrano::dialogo
