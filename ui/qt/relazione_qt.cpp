// The plugin's entry of the site report for the command line: the site
// from the data folder, the page of outputs/relazione.h, the PDF file.
#include "outputs/relazione_plugin.h"
#include "ui/qt/entrata_plugin.h"
#include "ui/qt/grafico_qt.h"
#include "ui/qt/stampa_qt.h"
#include "outputs/relazione.h"

#include <cmath>
#include <string>

namespace {
std::filesystem::path Percorso(const char* t) { return std::filesystem::path(std::u8string(reinterpret_cast<const char8_t*>(t))); }
} // namespace

extern "C" __attribute__((visibility("default"))) int VeltranoRelazioneQt(const TRichiestaRelazioneC* r,
                                                                          const char* file, char* messaggio,
                                                                          size_t dimensione) {
    using namespace veltrano;
    return ui::EntrataPlugin(messaggio, dimensione, [&] {
        if (!r || !file || !r->cartellaDati)
            throw ErroreArgomento("richiesta, file o cartella dei dati nulli");
        uscite::TSceltaSpettri scelta;
        scelta.sito.suolo = LeggiCategoriaSuolo(r->suolo ? r->suolo : "A");
        scelta.sito.topografia = LeggiCategoriaTopografica(r->topografia ? r->topografia : "T1");
        if (!std::isnan(r->st))
            scelta.sito.ST = r->st;
        scelta.sito.smorzamento = r->smorzamento;
        const std::filesystem::path cartella = Percorso(r->cartellaDati);
        uscite::TSitoRelazione sito =
            uscite::SitoDaCartella(cartella, r->lon, r->lat, r->wgs84 != 0, r->vn, r->classe);
        if (!std::isnan(r->altitudine))
            sito.altitudine = r->altitudine;
        ui::ApplicazioneGrafica();
        ui::SalvaDocumentoPdf(uscite::DocumentoRelazione(std::move(sito), scelta, uscite::StratiDaCartella(cartella)),
                              Percorso(file));
        return dialogo::PluginConfermato;
    });
}
