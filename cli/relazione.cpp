// "veltrano relazione": the site report as a one-page PDF for a calculation
// report (site and municipality, map excerpt with the grid cell, the four
// limit states, the spectra chart), the same page the dialog prints. The Qt
// plugin draws it, as it draws the charts of "spettro --grafico".
#include "cli/comandi.h"
#include "cli/plugin_qt.h"
#include "cli/sito.h"
#include "core/spettri.h"
#include "outputs/relazione_plugin.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>

namespace veltrano::cli {

namespace {

constexpr const char* UsoRelazione =
    "uso: veltrano relazione --lon X --lat Y --pdf FILE [opzioni]\n"
    "\n"
    "Relazione sulla pericolosità sismica del sito in una pagina PDF (A4): il sito\n"
    "con comune, provincia e regione, un estratto della cartina con il sito e la\n"
    "maglia della griglia, la tabella dei quattro stati limite e il grafico degli\n"
    "spettri di risposta elastici per il sottosuolo e la topografia indicati.\n"
    "\n"
    "  --lon X, --lat Y      longitudine e latitudine [gradi], ED50\n"
    "  --wgs84               coordinate WGS84 invece di ED50\n"
    "  --pdf FILE            il file da scrivere (.pdf)\n"
    "  --vn ANNI             vita nominale, 0..10000 (predefinita 50)\n"
    "  --classe C            classe d'uso 1..4 o I..IV (predefinita II)\n"
    "  --suolo A..E          categoria di sottosuolo (predefinita A)\n"
    "  --topografia T1..T4   categoria topografica (predefinita T1)\n"
    "  --st ST               coefficiente topografico dato, 1..1.4 (invece di --topografia)\n"
    "  --smorzamento XI      smorzamento viscoso, 0..100 [%] (predefinito 5)\n"
    "  --altitudine METRI    altitudine del sito nella relazione, -500..5000\n"
    "  --dati CARTELLA       cartella dei dati (predefinita: quella del programma)\n"
    "\n"
    "Serve il modulo Qt libVeltrano_dialogo_qt.so, come per veltrano dialogo; non\n"
    "serve uno schermo. Un sito fuori dalla griglia e dalle isole è un errore (uscita 2).\n";

int Relazione(Argomenti& a, Flussi&) {
    const SitoDato s = LeggiSito(a);
    const int vn = VitaNominale(a);
    const int classe = ClasseUso(a);
    const auto pdf = a.Testo("--pdf");
    const std::string suolo = a.Testo("--suolo").value_or("A");
    const auto topografia = a.Testo("--topografia");
    const auto st = a.Testo("--st");
    const double smorzamento = a.Numero("--smorzamento", 5.0);
    const auto altitudine = a.Testo("--altitudine");
    const auto cartella = CartellaDati(a);
    a.ControllaFine();
    if (!pdf)
        throw ErroreUso("serve --pdf FILE (--help per l'uso)");
    std::string estensione = std::filesystem::path(*pdf).extension().string();
    std::transform(estensione.begin(), estensione.end(), estensione.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (estensione != ".pdf")
        throw ErroreUso("--pdf: \"" + *pdf + "\" deve finire in .pdf");
    if (topografia && st)
        throw ErroreUso("--topografia e --st non vanno insieme");
    CondizioniSito c;
    c.suolo = LeggiCategoriaSuolo(suolo);
    if (topografia)
        c.topografia = LeggiCategoriaTopografica(*topografia);
    if (st)
        c.ST = ConvertiNumero(*st, "--st");
    c.smorzamento = smorzamento;
    // The spectrum's inputs by the engine's own checks, on any valid action.
    ParametriOrizzontali({0.1, 2.5, 0.3}, c);
    double alt = std::numeric_limits<double>::quiet_NaN();
    if (altitudine) {
        alt = ConvertiNumero(*altitudine, "--altitudine");
        if (!(alt >= -500.0 && alt <= 5000.0))
            throw ErroreUso("--altitudine: l'altitudine deve stare tra -500 e 5000 metri");
    }
    // The site by the rule every command applies, before the plugin loads.
    CalcolaRisultatoSito(cartella, s, vn, classe);

    const auto scrivi = reinterpret_cast<uscite::TEntrataRelazione>(
        EntrataPluginQt(uscite::NomeEntrataRelazione, "PDF non disponibile"));
    const std::string testoCartella = cartella.string(), testoSuolo = NomeCategoria(c.suolo),
                      testoTopografia = NomeCategoria(c.topografia);
    const TRichiestaRelazioneC r{testoCartella.c_str(),
                                 s.lon,
                                 s.lat,
                                 s.wgs84 ? 1 : 0,
                                 vn,
                                 classe,
                                 testoSuolo.c_str(),
                                 testoTopografia.c_str(),
                                 c.ST ? *c.ST : std::numeric_limits<double>::quiet_NaN(),
                                 c.smorzamento,
                                 alt};
    char messaggio[2048] = {};
    LanciaErrorePlugin(scrivi(&r, pdf->c_str(), messaggio, sizeof messaggio), messaggio);
    return 0;
}

} // namespace

const Comando ComandoRelazione{"relazione", "relazione del sito in PDF (cartina, stati limite, spettri)",
                               UsoRelazione, &Relazione};

} // namespace veltrano::cli
