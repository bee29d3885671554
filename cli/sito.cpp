#include "cli/sito.h"

#include "cli/comandi.h"
#include "cli/formato.h"
#include "core/rapporto.h"
#include "geo/comuni.h"
#include "geo/datum.h"
#include "map/ricerca_comune.h"
#include "map/testo1252.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <ostream>

#include <sys/auxv.h>

namespace veltrano::cli {

std::filesystem::path CartellaProgramma() {
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) {
        // No /proc (a bare chroot): the file name the program was started by.
        const auto* avvio = reinterpret_cast<const char*>(getauxval(AT_EXECFN));
        if (!avvio || !*avvio)
            return std::filesystem::current_path();
        exe = std::filesystem::weakly_canonical(std::filesystem::absolute(avvio, ec), ec);
    }
    return exe.parent_path();
}

std::filesystem::path CartellaDatiPredefinita() {
    if (const char* d = std::getenv("VELTRANO_DATI"); d && *d)
        return d;
    std::error_code ec;
    const std::filesystem::path propria = CartellaProgramma();
#ifdef VELTRANO_DATI_DA_PROGRAMMA
    // A build folder holds the data beside the program; an installed program
    // finds them in the shared data folder, wherever the tree was put.
    const auto installata = (propria / VELTRANO_DATI_DA_PROGRAMMA).lexically_normal();
    if (!std::filesystem::is_regular_file(propria / "GeoDati.dat", ec) &&
        std::filesystem::is_regular_file(installata / "GeoDati.dat", ec))
        return installata;
#endif
    return propria;
}

std::pair<float, float> SitoED50(const SitoDato& s) {
    ControllaCoordinate(s.lon, s.lat);
    const float lo = static_cast<float>(s.lon), la = static_cast<float>(s.lat);
    if (!s.wgs84)
        return {lo, la};
    const Coordinate c = ConvCoord_WGS84toED50(lo, la);
    if (!(std::isfinite(c.Lon) && std::isfinite(c.Lat)))
        throw ErroreIntervallo("la conversione da WGS84 a ED50 non dà un risultato finito");
    return {c.Lon, c.Lat};
}

std::optional<std::string> MotivoSitoNonValido(const EsitoSito& e, float lonED50, float latED50,
                                               bool isolaAmmessa) {
    if (e.numNodi > 2 || (isolaAmmessa && e.isola))
        return std::nullopt;
    // Italy lies between 6 and 19 E, 35 and 48 N: a site that would fall there
    // with its coordinates swapped most likely has them swapped.
    const bool scambiati = latED50 >= 6 && latED50 <= 19 && lonED50 >= 35 && lonED50 <= 48;
    std::string m;
    m.reserve(160); // one allocation: the batch may meet many such sites
    m += "il sito (lon ";
    AggiungiReale(m, lonED50);
    m += ", lat ";
    AggiungiReale(m, latED50);
    m += ", ED50) è fuori dalla griglia di pericolosità";
    if (isolaAmmessa)
        m += " e dalle isole della Tabella 2";
    if (scambiati)
        m += " (longitudine e latitudine scambiate?)";
    return m;
}

void ControllaSitoValido(const EsitoSito& e, float lonED50, float latED50, bool isolaAmmessa) {
    if (auto motivo = MotivoSitoNonValido(e, lonED50, latED50, isolaAmmessa))
        throw ErroreIntervallo(*motivo);
}

RisultatoSito CalcolaRisultatoSito(const std::filesystem::path& cartellaDati, const SitoDato& s, int vn,
                                   int classe) {
    RisultatoSito r{};
    const auto [lonE, latE] = SitoED50(s);
    Griglia g;
    g.Carica(cartellaDati / "GeoDati.dat");
    TMagliaSito m{};
    r.esito = CalcolaSito(g, m, Norm_DM2008, lonE, latE, vn, classe, r.dati);
    r.lonED50 = lonE;
    r.latED50 = latE;
    ControllaSitoValido(r.esito, lonE, latE);
    return r;
}

std::array<StatoLimiteSito, 4> StatiLimite(const RisultatoSito& r) {
    const TGIS_DatiOut& d = r.dati;
    auto stato = [](const char* nome, const TGIS_ParZS& p) {
        return StatoLimiteSito{nome, static_cast<int>(p.Tr), p.ag, p.Fo, p.Tc_s};
    };
    return {stato("SLO", d.SLO), stato("SLD", d.SLD), stato("SLV", d.SLV), stato("SLC", d.SLC)};
}

std::filesystem::path CartellaDati(Argomenti& a) {
    const auto d = a.Testo("--dati");
    return d ? std::filesystem::path(*d) : CartellaDatiPredefinita();
}

bool FormatoJson(Argomenti& a) {
    const std::string f = a.Testo("--formato").value_or("testo");
    if (f != "testo" && f != "json")
        throw ErroreUso("--formato: \"" + Citazione(f) + "\" non è testo né json");
    return f == "json";
}

std::string ComuneDelSito(const std::filesystem::path& cartellaDati, double lon, double lat, bool wgs84) {
    const auto shp = cartellaDati / "Shape" / "comuni2010" / "com2010_s.shp";
    std::error_code ec;
    if (!std::filesystem::exists(shp, ec))
        return {};
    // The map is WGS84: an ED50 site is converted back first.
    if (!wgs84) {
        const Coordinate w = ConvCoord_ED50toWGS84(static_cast<float>(lon), static_cast<float>(lat));
        lon = w.Lon;
        lat = w.Lat;
    }
    try {
        const std::vector<TCoordComune> comuni = LeggiComuni((cartellaDati / "").u16string());
        // The boundaries only: the name is the database record's, which the
        // map data generator writes from the same source as the shape's.
        mappa::TShapefile sf;
        if (!sf.Apri(shp, false))
            return {};
        const mappa::TComuneTrovato t = mappa::CercaComune(sf, comuni, lon, lat);
        for (const TCoordComune& c : comuni)
            if (t.iCom >= 0 && c.Id_sf_COM == t.iCom)
                return mappa::Da1252AUtf8(mappa::DaStringaCorta(c.Nome));
        return {};
    } catch (const Errore&) {
        return {}; // the name is a courtesy: the hazard does not depend on it
    }
}

namespace {

constexpr const char* UsoSito =
    "uso: veltrano sito --lon GRADI --lat GRADI [opzioni]\n"
    "\n"
    "Parametri ag [g], Fo, Tc* [s] del sito per SLO, SLD, SLV, SLC.\n"
    "\n"
    "  --lon, --lat GRADI   coordinate del sito (ED50, salvo --wgs84)\n"
    "  --wgs84              le coordinate sono WGS84 e vengono convertite in ED50\n"
    "  --vn ANNI            vita nominale, 0..10000 (predefinita 50)\n"
    "  --classe CLASSE      classe d'uso I..IV o 1..4 (predefinita II)\n"
    "  --formato testo|json formato dell'uscita (predefinito testo)\n"
    "  --comune NOME        nome del comune nel rapporto\n"
    "  --altitudine METRI   altitudine del sito nel rapporto, -500..5000\n"
    "  --dati CARTELLA      cartella di GeoDati.dat (predefinita: quella del programma)\n"
    "\n"
    "Un sito fuori dalla griglia e dalle isole della Tabella 2 è un errore (uscita 2).\n";

int Sito(Argomenti& a, Flussi& f) {
    const SitoDato s = LeggiSito(a);
    const int vn = VitaNominale(a);
    const int classe = ClasseUso(a);
    const bool json = FormatoJson(a);
    const std::optional<std::string> comune = a.Testo("--comune");
    const double alt = a.Numero("--altitudine", 0.0);
    if (!(alt >= -500.0 && alt <= 5000.0))
        throw ErroreUso("--altitudine: l'altitudine deve stare tra -500 e 5000 metri");
    const auto cartella = CartellaDati(a);
    a.ControllaFine();
    const RisultatoSito r = CalcolaRisultatoSito(cartella, s, vn, classe);
    const TGIS_DatiOut& d = r.dati;
    const auto stati = StatiLimite(r);
    if (json) {
        JsonReale j;
        j["lon_ed50"] = Finito(r.lonED50, "lon_ed50");
        j["lat_ed50"] = Finito(r.latED50, "lat_ed50");
        j["vn"] = vn;
        j["classe_uso"] = classe;
        j["num_vert"] = int32_t{d.NumVert};
        j["isola"] = r.esito.isola;
        j["valido"] = r.esito.Valido();
        JsonReale nodi = JsonReale::array();
        for (int i = 0; i < 4; ++i)
            nodi.push_back(int32_t{d.NumPunti[i]}); // a copy: the record is packed
        j["nodi"] = std::move(nodi);
        JsonReale sl = JsonReale::array();
        for (const StatoLimiteSito& st : stati)
            sl.push_back({{"nome", st.nome},
                          {"TR", st.TR},
                          {"ag", Finito(static_cast<float>(st.ag), "ag")},
                          {"Fo", Finito(static_cast<float>(st.Fo), "Fo")},
                          {"Tc", Finito(static_cast<float>(st.Tc), "Tc")}});
        j["stati_limite"] = std::move(sl);
        f.out << TestoJson(j) << "\n";
        return 0;
    }
    for (const StatoLimiteSito& st : stati)
        (void)(Finito(st.ag, "ag") + Finito(st.Fo, "Fo") + Finito(st.Tc, "Tc"));
    // The report's data as the dialog builds them; without --comune, the
    // municipality under the site, as the dialog finds it.
    DatiRapporto rap = DatiRapportoSito(d, r.esito);
    rap.comune = comune ? *comune : ComuneDelSito(cartella, s.lon, s.lat, s.wgs84);
    rap.lonED50 = r.lonED50;
    rap.latED50 = r.latED50;
    rap.altitudine = alt;
    for (const std::string& riga : RigheRisultati(rap))
        f.out << riga << "\n";
    return 0;
}

} // namespace

const Comando ComandoSito{"sito", "parametri ag, Fo, Tc* di un sito per i quattro stati limite", UsoSito, &Sito};

} // namespace veltrano::cli
