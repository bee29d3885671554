// "veltrano dialogo": the site dialog as a host opens it in free mode, through
// the same plugin entry as the library's VisualizzaDialog, printing the
// record a host would receive. The program loads the plugin at run time and
// needs no Qt itself.
#include "cli/comandi.h"
#include "cli/formato.h"
#include "cli/plugin_qt.h"
#include "cli/sito.h"
#include "dialog/plugin.h"
#include "map/testo1252.h"

#include <algorithm>
#include <cstring>
#include <ostream>

namespace veltrano::cli {

namespace {

constexpr const char* UsoDialogo =
    "uso: veltrano dialogo [--dati CARTELLA] [--immagine FILE.bmp] [--formato testo|json]\n"
    "\n"
    "Apre la finestra di scelta del sito come la apre un programma ospite senza dati\n"
    "dell'opera (classe d'uso, vita nominale e anni modificabili) e, alla conferma,\n"
    "stampa il record che l'ospite riceve. Uscita 0: confermato; 3: annullato.\n"
    "La finestra è il modulo libVeltrano_dialogo_qt.so, caricato all'avvio del comando.\n"
    "\n"
    "  --dati CARTELLA      cartella dei dati (predefinita: quella del programma)\n"
    "  --immagine FILE      immagine della maglia del sito (bitmap) scritta alla conferma\n"
    "  --formato testo|json formato dell'uscita (predefinito testo)\n";

constexpr int CodiceAnnullato = 3;

// The program is a host that has help: the dialog's "Help" opens the
// program's pages (the data folder's guida/) through the plugin.
void VELTRANO_STDCALL AiutoProgramma(void* contesto, int32_t) {
    try {
        using TGuida = int (*)(const char*);
        const auto guida = reinterpret_cast<TGuida>(EntrataPluginQt("VeltranoGuidaQt", "guida non disponibile"));
        guida(static_cast<const std::string*>(contesto)->c_str());
    } catch (...) {
        // Nothing may cross back into the dialog: without the entry there
        // is simply no help.
    }
}

std::string StringaCorta(const uint8_t* campo, std::size_t capacita) {
    const std::size_t n = std::min<std::size_t>(campo[0], capacita);
    return mappa::Da1252AUtf8(std::string_view(reinterpret_cast<const char*>(campo + 1), n));
}

void Stampa(const TGIS_DatiOut& d, bool json, std::ostream& out) {
    const TGIS_ParZS stati[4] = {d.SLO, d.SLD, d.SLV, d.SLC};
    static constexpr const char* nomi[4] = {"SLO", "SLD", "SLV", "SLC"};
    const std::string nome = StringaCorta(d.nomeLoc_new, 100);
    // Copies: the record is packed.
    const float lon = d.LonSito, lat = d.LatSito, lonE = d.LonSitoED50, latE = d.LatSitoED50, alt = d.alt,
                dist = d.distCosta;
    if (json) {
        JsonReale j;
        j["TipoRic"] = int{d.TipoRic};
        j["nomeLoc_new"] = nome;
        j["LonSito"] = Finito(lon, "LonSito");
        j["LatSito"] = Finito(lat, "LatSito");
        j["LonSitoED50"] = Finito(lonE, "LonSitoED50");
        j["LatSitoED50"] = Finito(latE, "LatSitoED50");
        j["ED50"] = d.ED50 != 0;
        j["alt"] = Finito(alt, "alt");
        j["distCosta"] = Finito(dist, "distCosta");
        j["NumVert"] = int32_t{d.NumVert};
        JsonReale numeri = JsonReale::array(), lons = JsonReale::array(), lats = JsonReale::array();
        for (int i = 0; i < 4; ++i) {
            numeri.push_back(int32_t{d.NumPunti[i]});
            lons.push_back(Finito(float{d.LonPunti[i]}, "LonPunti"));
            lats.push_back(Finito(float{d.LatPunti[i]}, "LatPunti"));
        }
        j["NumPunti"] = std::move(numeri);
        j["LonPunti"] = std::move(lons);
        j["LatPunti"] = std::move(lats);
        JsonReale sl = JsonReale::array();
        for (int k = 0; k < 4; ++k)
            sl.push_back({{"nome", nomi[k]},
                          {"TR", Finito(float{stati[k].Tr}, "TR")},
                          {"ag", Finito(float{stati[k].ag}, "ag")},
                          {"Fo", Finito(float{stati[k].Fo}, "Fo")},
                          {"Tc", Finito(float{stati[k].Tc_s}, "Tc")}});
        j["stati_limite"] = std::move(sl);
        out << TestoJson(j) << "\n";
        return;
    }
    out << "TipoRic\t" << int{d.TipoRic} << "\n"
        << "nomeLoc_new\t" << nome << "\n"
        << "LonSito\t" << TestoReale(lon) << "\n"
        << "LatSito\t" << TestoReale(lat) << "\n"
        << "LonSitoED50\t" << TestoReale(lonE) << "\n"
        << "LatSitoED50\t" << TestoReale(latE) << "\n"
        << "ED50\t" << (d.ED50 ? "si" : "no") << "\n"
        << "alt\t" << TestoReale(alt) << "\n"
        << "distCosta\t" << TestoReale(dist) << "\n"
        << "NumVert\t" << int32_t{d.NumVert} << "\n";
    for (int i = 0; i < 4; ++i)
        out << "Punto" << i + 1 << "\t" << int32_t{d.NumPunti[i]} << "\t" << TestoReale(float{d.LonPunti[i]}) << "\t"
            << TestoReale(float{d.LatPunti[i]}) << "\n";
    for (int k = 0; k < 4; ++k)
        out << nomi[k] << "\tTR " << TestoReale(float{stati[k].Tr}) << "\tag " << TestoReale(float{stati[k].ag})
            << "\tFo " << TestoReale(float{stati[k].Fo}) << "\tTc* " << TestoReale(float{stati[k].Tc_s}) << "\n";
}

int Dialogo(Argomenti& a, Flussi& f) {
    const auto cartella = CartellaDati(a);
    const std::string immagine = a.Testo("--immagine").value_or("");
    const bool json = FormatoJson(a);
    a.ControllaFine();
    const auto entrata = reinterpret_cast<dialogo::TEntrataPlugin>(
        EntrataPluginQt("VeltranoDialogoQt", "finestra di dialogo non disponibile"));
    // As a host in free mode: no building data, an empty record.
    TGIS_DatiOut d;
    std::memset(&d, 0, sizeof d);
    char messaggio[2048] = {};
    std::string dati = cartella.string();
    TVeltranoOspite ospite{VELTRANO_FIRMA_OSPITE, &dati, &AiutoProgramma};
    const int r = entrata(dati.c_str(), &ospite, 0, 0, 0, immagine.c_str(), &d, messaggio, sizeof messaggio);
    LanciaErrorePlugin(r, messaggio);
    if (r == dialogo::PluginAnnullato) {
        f.err << "veltrano dialogo: annullato\n";
        return CodiceAnnullato;
    }
    Stampa(d, json, f.out);
    return 0;
}

} // namespace

const Comando ComandoDialogo{"dialogo", "finestra di scelta del sito sulla cartina", UsoDialogo, &Dialogo};

} // namespace veltrano::cli
