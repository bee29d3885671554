// TFMapMain: the on-line map. A page of the data folder (Tavrel.htm) takes
// the map control's place while "Visualizza Mappa On-Line" is down; the form
// talks to it by running statements in it and by reading the inner HTML of
// three of its elements:
//   click-valido    "1" when the last click on the page hit the map
//   latlng-control  the clicked point: latitude at characters 13..19,
//                   longitude at 36..42 (counted from 1)
//   alt-control     the altitude of the clicked point
// Between the start of a load and its end nothing reads or runs anything in
// the page.
#include "dialog/TFMapMain.h"

#include "dialog/coordinate.h"
#include "dialog/testi.h"
#include "geo/datum.h"

#include <cstdio>

namespace veltrano::dialogo {

using C = TControllo;

namespace {

// Where the clicked position's pieces lie in latlng-control (from 0).
constexpr std::size_t InizioLatitudine = 12, InizioLongitudine = 35, LunghezzaPezzo = 7;

std::string Pezzo(const std::string& testo, std::size_t inizio) {
    return inizio < testo.size() ? testo.substr(inizio, LunghezzaPezzo) : std::string();
}

// A JavaScript string's content for a typed text: the text cannot end the
// literal nor the statement, whatever it holds.
std::string StringaJs(const std::string& t) {
    std::string r;
    for (const char ch : t) {
        const auto u = static_cast<unsigned char>(ch);
        if (ch == '"' || ch == '\\') {
            r += '\\';
            r += ch;
        } else if (u < 0x20) {
            char b[8];
            std::snprintf(b, sizeof b, "\\x%02x", u);
            r += b;
        } else {
            r += ch;
        }
    }
    return r;
}

std::string Chiamata(const char* funzione, const std::string& a, const std::string& b) {
    return std::string(funzione) + "(" + a + "," + b + ")";
}

} // namespace

void TFMapMain::CollegaWeb() {
    premuto_[C::TB_Map] = [this] { TB_MapClick(); };
    premuto_[C::TB_Google] = [this] { TB_GoogleClick(); };
}

bool TFMapMain::MappaWebAttiva() const { return Giu(C::TB_Google) && PaginaPronta(); }

void TFMapMain::EseguiScript(const std::string& testo) {
    if (PaginaPronta())
        vista_.EseguiScript(testo);
}

// ---- Switching between the two maps

void TFMapMain::MostraMappaWeb() {
    if (!Giu(C::TB_Google)) {
        // Back to the dialog's own map: no connection is needed for that.
        vista_.MappaWebDavanti(false);
        return;
    }
    if (!vista_.ConnessoInternet()) {
        vista_.MessaggioInformazione(testi::NessunaConnessione, testi::TitoloInformazione);
        ImpostaPremuto(C::TB_Google, false);
        ImpostaPremuto(C::TB_Map, true);
        return;
    }
    WebBrowserDocumentComplete = false;
    htmlDoc = false;
    vista_.NavigaMappaWeb(PaginaWeb());
    vista_.AttendiMappaWeb();
    if (!PaginaPronta()) {
        // A page that did not load leaves the dialog's map in front and
        // says so, rather than a button down over a map that is not there.
        vista_.MappaWebDavanti(false);
        Messaggio(ConTesto(testi::PaginaWebNonCaricata, PaginaWeb().string()));
        ImpostaPremuto(C::TB_Google, false);
        ImpostaPremuto(C::TB_Map, true);
    }
}

void TFMapMain::FineMisuraAlCambioMappa() {
    // A measure belongs to the map it was started on: switching maps ends it.
    if (!Giu(C::SB_CalcDist))
        return;
    ImpostaPremuto(C::SB_CalcDist, false);
    MeasureStart.reset();
    contaClick = 0;
    Map.ImpostaCursoreMappa(mappa::CursorePredefinito);
}

void TFMapMain::TB_MapClick() {
    FineMisuraAlCambioMappa();
    MostraMappaWeb();
    ZoomSelezione();
    const bool web = Giu(C::TB_Google);
    ImpostaVisibile(C::CatIndirizzo, web);
    ImpostaVisibile(C::EditIndirizzo, web);
    ContestoAiutoSito = 5;
    // "Calcola Altitudine" stays: on this map it reads the municipality
    // database (SB_AltitudineClick).
}

void TFMapMain::TB_GoogleClick() {
    FineMisuraAlCambioMappa();
    bClick = true;
    MostraMappaWeb();
    const bool web = Giu(C::TB_Google);
    ImpostaVisibile(C::CatIndirizzo, web);
    ImpostaVisibile(C::EditIndirizzo, web);
    ContestoAiutoSito = web ? 6 : 5;
    ImpostaVisibile(C::SB_Altitudine, true);
}

// ---- The browser's events

void TFMapMain::WebBrowser1BeforeNavigate2() {
    htmlDoc = false;
    WebBrowserDocumentComplete = false;
}

void TFMapMain::WebBrowser1DocumentComplete(bool documento) {
    if (!documento)
        return;
    htmlDoc = true;
    vista_.CollegaClickWeb(mappa::TEventObject([this] { ClickPaginaWeb(); }));
    vista_.MappaWebDavanti(true);
    WebBrowserDocumentComplete = true;
}

// ---- The page's click

void TFMapMain::ClickPaginaWeb() {
    if (!PaginaPronta())
        return;
    if (vista_.LeggiElementoWeb("click-valido").value_or("") != "1")
        return;
    ImpostaPremuto(C::SB_CalcDist, false);
    bClick1 = true;
    // The altitude is the clicked point's: a click that only marked the
    // site elsewhere leaves the site's own.
    if (LeggiPosizioneWeb(Testo(C::Edit1), Testo(C::Edit2)))
        SB_AltitudineClick();
    StatoPannello1();
    selezionato = true;
}

bool TFMapMain::LeggiPosizioneWeb(const std::string& sLon, const std::string& sLat) {
    if (!PaginaPronta())
        return false;
    const std::string testo = vista_.LeggiElementoWeb("latlng-control").value_or("");
    vista_.AttendiMappaWeb();
    const auto lon = LeggiNumero(sLon), lat = LeggiNumero(sLat);
    // Only the first valid click after the switch may mark: with no site to
    // mark it moves the site, and so do the clicks after it.
    const bool segna = bClick && lon && lat && *lon != 0 && *lat != 0;
    bClick = false;
    if (segna) {
        // The first click after the switch shows where the current site is;
        // the site stays.
        EseguiScript(Chiamata("setLatLng", sLat, sLon));
    } else {
        const std::string pLat = Pezzo(testo, InizioLatitudine), pLon = Pezzo(testo, InizioLongitudine);
        const bool interi = !pLat.empty() && !pLon.empty();
        ImpostaTesto(C::Edit1, interi ? pLon : "0.0000");
        ImpostaTesto(C::Edit2, interi ? pLat : "0.0000");
    }
    const double lonW = NumeroOZero(Testo(C::Edit1)), latW = NumeroOZero(Testo(C::Edit2));
    // The pointer's panel of the dialog's map would show where its pointer
    // last was: it shows the site instead.
    ImpostaTesto(C::StatusPanel0, "Longitudine = " + FormatoCoordinata(lonW) + "° - Latitudine = " +
                                      FormatoCoordinata(latW) + "°");
    const Coordinate e = ConvCoord_WGS84toED50(static_cast<float>(lonW), static_cast<float>(latW));
    ImpostaTesto(C::NxTextItem5, FormatoCoordinata(e.Lon));
    ImpostaTesto(C::NxTextItem6, FormatoCoordinata(e.Lat));
    PosizionaSito(true);
    int n = 0;
    ScriviRisultati(n, NumeroOZero(Testo(C::NxTextItem5)), NumeroOZero(Testo(C::NxTextItem6)));
    return !segna;
}

void TFMapMain::LeggiAltitudineWeb() {
    if (!PaginaPronta())
        return;
    sAlt = vista_.LeggiElementoWeb("alt-control").value_or("");
    ImpostaTesto(C::NxTextItem7, sAlt);
}

// ---- Address search

void TFMapMain::VaiAlSitoWeb(const char* funzione) {
    // Only numbers go into the statement: the rows are typed by the user.
    const std::string lon = Testo(C::Edit1), lat = Testo(C::Edit2);
    if (LeggiNumero(lon) && LeggiNumero(lat))
        EseguiScript(Chiamata(funzione, lat, lon));
}

void TFMapMain::CercaIndirizzoWeb() {
    if (!PaginaPronta())
        return;
    if (indirizzo) {
        const std::string testo = Testo(C::EditIndirizzo);
        // Built by appending: GCC 12 at -O3 warns of an overlap (a false
        // positive of -Wrestrict) in the chain of operator+ on a temporary.
        std::string quotato = "\"";
        quotato += StringaJs(testo);
        quotato += ", italy\"";
        SelezionaTesto(C::cmb_Com, testo);
        VaiAlSitoWeb("GotoLatLng_ex");
        EseguiScript("codeAddress(" + quotato + ")");
    } else {
        VaiAlSitoWeb("GotoLatLng_ex");
    }
    vista_.AttendiMappaWeb();
}

void TFMapMain::Edit3Change() {
    selezionato = false;
    indirizzo = true;
}

} // namespace veltrano::dialogo
