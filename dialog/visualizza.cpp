#include "dialog/visualizza.h"

namespace veltrano::dialogo {

TEsito VisualizzaDialogo(TVistaDialogo& vista, const std::filesystem::path& percorsoDati,
                         const TParametriDialogo& parametri, TGIS_DatiOut& DatiOut) {
    TFMapMain form(percorsoDati, vista);
    // The view stops forwarding input before the form goes, whatever happens.
    struct Scollega {
        TVistaDialogo& v;
        ~Scollega() { v.Collega(nullptr); }
    } scollega{vista};
    vista.Collega(&form);
    form.Prepara(parametri, DatiOut);
    const TEsito esito = vista.EseguiModale();
    if (esito == TEsito::Ok)
        form.ScriviDatiOut(DatiOut);
    else
        TFMapMain::AnnullaDatiOut(DatiOut);
    return esito;
}

} // namespace veltrano::dialogo
