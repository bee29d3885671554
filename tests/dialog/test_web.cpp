// The on-line map through the form, without a window: the view plays the
// browser (it loads when asked, holds the page's elements, records the
// statements run). The first valid click after the switch only marks the
// current site, the next one moves it; a short position text falls back to
// 0.0000; no connection keeps the dialog's map; nothing reaches the page
// before it has loaded; the address search and the ruler's statements.
#include "dialog/TFMapMain.h"
#include "dialog/coordinate.h"
#include "dialog/testi.h"
#include "geo/datum.h"
#include "tests/dialog/vista_prova.h"
#include "tests/supporto_dati.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace veltrano;
using namespace veltrano::dialogo;
using C = TControllo;

namespace {

// The browser as the form sees it: a load ends while the form waits.
struct VistaWeb : test::TVistaProva {
    bool offre = true, connesso = true, carica = true;
    std::map<std::string, std::string> elementi;
    std::vector<std::string> script, letture;
    std::vector<std::filesystem::path> pagine;
    std::vector<std::pair<std::string, std::string>> informazioni;
    std::optional<mappa::TEventObject> evento;
    int davanti = -1; // last MappaWebDavanti (-1: never told)
    bool inCarico = false;

    bool OffreMappaWeb() const override { return offre; }
    bool ConnessoInternet() override { return connesso; }
    void NavigaMappaWeb(const std::filesystem::path& p) override {
        pagine.push_back(p);
        evento.reset();
        inCarico = true;
        if (form)
            form->WebBrowser1BeforeNavigate2();
    }
    void AttendiMappaWeb() override {
        if (inCarico && carica && form) {
            inCarico = false;
            form->WebBrowser1DocumentComplete(true);
        }
    }
    void MappaWebDavanti(bool d) override { davanti = d ? 1 : 0; }
    void CollegaClickWeb(mappa::TEventObject e) override { evento = std::move(e); }
    void EseguiScript(const std::string& t) override { script.push_back(t); }
    std::optional<std::string> LeggiElementoWeb(const std::string& id) override {
        letture.push_back(id);
        const auto it = elementi.find(id);
        return it == elementi.end() ? std::nullopt : std::optional<std::string>(it->second);
    }
    void MessaggioInformazione(const std::string& t, const std::string& didascalia) override {
        informazioni.emplace_back(t, didascalia);
    }
    // The user clicks the page's map at a point the page writes as testo.
    void ClickSullaMappa(const std::string& testo, const std::string& alt = "123.00") {
        elementi["click-valido"] = "1";
        elementi["latlng-control"] = testo;
        elementi["alt-control"] = alt;
        ASSERT_TRUE(evento) << "no click handler on the page";
        EXPECT_EQ(evento->Invoke(mappa::TEventObject::IdPredefinito), mappa::TEventObject::RisultatoOk);
    }
};

struct Form {
    test::CartellaTemporanea dati;
    VistaWeb vista;
    std::unique_ptr<TFMapMain> f;
    explicit Form(const std::string& nome, bool offre = true) : dati(nome) {
        vista.offre = offre;
        f = std::make_unique<TFMapMain>(dati.p, vista);
        vista.Collega(f.get());
        f->MappaDimensioni(900, 700);
        f->Mostrato();
    }
};

} // namespace

TEST(MappaWeb, IlPulsanteSoloDoveLaVistaHaLaMappaWeb) {
    EXPECT_FALSE(Form("web_senza", false).f->Abilitato(C::TB_Google));
    Form t("web_con");
    EXPECT_TRUE(t.f->Abilitato(C::TB_Google));
    EXPECT_TRUE(t.f->Giu(C::TB_Map));
}

TEST(MappaWeb, SenzaConnessioneIlMessaggioELaCartinaResta) {
    Form t("web_offline");
    TFMapMain& f = *t.f;
    t.vista.connesso = false;
    f.Premuto(C::TB_Google, true);
    ASSERT_EQ(t.vista.informazioni.size(), 1u);
    EXPECT_EQ(t.vista.informazioni[0].first,
              "Per usufruire di questa funzione\rconnettersi ad internet e riavviare l'applicazione!");
    EXPECT_EQ(t.vista.informazioni[0].second, "INFO");
    EXPECT_FALSE(f.Giu(C::TB_Google));
    EXPECT_TRUE(f.Giu(C::TB_Map));
    EXPECT_TRUE(t.vista.pagine.empty());
    EXPECT_NE(t.vista.davanti, 1);
    // The web branches stay off: the distance tool measures on the map.
    f.Premuto(C::SB_CalcDist, true);
    EXPECT_TRUE(t.vista.script.empty());
    EXPECT_EQ(f.Map.CursoreMappa(), mappa::CursoreCroce);
}

TEST(MappaWeb, PrimoClickSegnaIlSitoIlSecondoLoSposta) {
    Form t("web_click");
    TFMapMain& f = *t.f;
    const std::string lon0 = f.Testo(C::Edit1), lat0 = f.Testo(C::Edit2);
    f.Premuto(C::TB_Google, true);
    ASSERT_EQ(t.vista.pagine.size(), 1u);
    EXPECT_EQ(t.vista.pagine[0], t.dati.p / "Tavrel.htm");
    EXPECT_EQ(t.vista.davanti, 1);
    EXPECT_TRUE(f.WebBrowserDocumentComplete);
    EXPECT_TRUE(f.Visibile(C::EditIndirizzo));
    EXPECT_TRUE(f.Visibile(C::SB_Altitudine));
    EXPECT_TRUE(t.vista.script.empty());

    // A click beside the map (click-valido not "1") does nothing.
    t.vista.elementi["click-valido"] = "0";
    t.vista.evento->Invoke(0);
    EXPECT_TRUE(t.vista.script.empty());
    EXPECT_FALSE(f.bClick1);
    // Another member of the event object does not call the form.
    EXPECT_EQ(t.vista.evento->Invoke(7), mappa::TEventObject::NonImplementato);

    // First valid click: the page's marker goes on the current site.
    f.Premuto(C::SB_CalcDist, true);
    t.vista.script.clear();
    t.vista.ClickSullaMappa("Latitudine: 45.1234 - Longitudine: 9.56780", "250.00");
    EXPECT_FALSE(f.Giu(C::SB_CalcDist));
    EXPECT_EQ(f.Testo(C::Edit1), lon0);
    EXPECT_EQ(f.Testo(C::Edit2), lat0);
    ASSERT_GE(t.vista.script.size(), 2u);
    EXPECT_EQ(t.vista.script[0], "setLatLng(" + lat0 + "," + lon0 + ")");
    EXPECT_EQ(t.vista.script[1], "GotoLatLng(" + lat0 + "," + lon0 + ")");
    EXPECT_NE(f.Testo(C::NxTextItem7), "250.00") << "the site keeps its own altitude";
    EXPECT_TRUE(f.selezionato);

    // The next click moves the site to the page's position.
    t.vista.script.clear();
    t.vista.ClickSullaMappa("Latitudine: 45.1234 - Longitudine: 9.56780", "250.00");
    EXPECT_EQ(f.Testo(C::Edit1), "9.56780");
    EXPECT_EQ(f.Testo(C::Edit2), "45.1234");
    const Coordinate e = ConvCoord_WGS84toED50(9.5678f, 45.1234f);
    EXPECT_EQ(f.Testo(C::NxTextItem5), FormatoCoordinata(e.Lon));
    EXPECT_EQ(f.Testo(C::NxTextItem6), FormatoCoordinata(e.Lat));
    EXPECT_EQ(t.vista.script, std::vector<std::string>{"GotoLatLng(45.1234,9.56780)"});
    EXPECT_EQ(f.Testo(C::NxTextItem7), "250.00");
    EXPECT_EQ(f.sAlt, "250.00");
    EXPECT_EQ(f.sCom, "Senna Lodigiana") << "the names follow the site";
    const std::string rapporto = [&] {
        std::string r;
        for (const std::string& l : f.Rapporto())
            r += l + "\n";
        return r;
    }();
    EXPECT_NE(rapporto.find("Longitudine = " + f.Testo(C::NxTextItem5)), std::string::npos) << rapporto;

    // Switched to the map and back: the marker first again.
    f.Premuto(C::TB_Map, true);
    EXPECT_EQ(t.vista.davanti, 0);
    EXPECT_FALSE(f.Visibile(C::EditIndirizzo));
    f.Premuto(C::TB_Google, true);
    EXPECT_EQ(t.vista.pagine.size(), 2u) << "the page loads again each time";
    t.vista.script.clear();
    t.vista.ClickSullaMappa("Latitudine: 41.9000 - Longitudine: 12.5000");
    EXPECT_EQ(t.vista.script.front(), "setLatLng(45.1234,9.56780)");
}

TEST(MappaWeb, TestoCortoDaLeDueRigheAZero) {
    Form t("web_corto");
    TFMapMain& f = *t.f;
    // With no site the first click already moves it; the next one too.
    f.Premuto(C::TB_Google, true);
    f.Cambiato(C::Edit1, "0");
    t.vista.ClickSullaMappa("Latitudine: 45.1234 - Longitudi");
    EXPECT_EQ(f.Testo(C::Edit1), "0.0000");
    EXPECT_EQ(f.Testo(C::Edit2), "0.0000");
    t.vista.ClickSullaMappa("Latitudine: 44.0000 - Longitudine: 11.0000");
    EXPECT_EQ(f.Testo(C::Edit1), "11.0000");
    t.vista.script.clear();
    t.vista.ClickSullaMappa("Latitudine: 44.5000 - Longitudine: 11.5000");
    EXPECT_EQ(f.Testo(C::Edit1), "11.5000") << "no marking click left over";
    EXPECT_TRUE(t.vista.script.empty() || t.vista.script.front().rfind("setLatLng", 0) != 0);
    // A page without the element reads as an empty text.
    t.vista.elementi.erase("latlng-control");
    t.vista.elementi["click-valido"] = "1";
    t.vista.evento->Invoke(0);
    EXPECT_EQ(f.Testo(C::Edit1), "0.0000");
    EXPECT_EQ(f.Testo(C::Edit2), "0.0000");
    // A site at 0, 0 has no hazard values: the dialog does not confirm it.
    f.Click(C::SB_Chiudi);
    EXPECT_NE(t.vista.Esito(), TEsito::Ok);
}

TEST(MappaWeb, NienteArrivaAllaPaginaPrimaCheSiaCaricata) {
    Form t("web_carico");
    TFMapMain& f = *t.f;
    t.vista.carica = false;
    f.Premuto(C::TB_Google, true);
    EXPECT_FALSE(f.WebBrowserDocumentComplete);
    EXPECT_FALSE(t.vista.evento) << "no click handler before the document";
    t.vista.elementi["click-valido"] = "1";
    f.ClickPaginaWeb();
    f.Premuto(C::SB_CalcDist, true);
    f.Cambiato(C::EditIndirizzo, "Roma");
    f.Click(C::SB_Applica);
    f.LeggiAltitudineWeb();
    EXPECT_TRUE(t.vista.script.empty());
    EXPECT_TRUE(t.vista.letture.empty());
    // The page that never loaded leaves the dialog's map, and says so.
    EXPECT_FALSE(f.Giu(C::TB_Google));
    EXPECT_TRUE(f.Giu(C::TB_Map));
    EXPECT_EQ(t.vista.davanti, 0);
    ASSERT_FALSE(t.vista.messaggi.empty());
    EXPECT_NE(t.vista.messaggi.back().find("Tavrel.htm"), std::string::npos);

    // Between the start of a load and its end nothing is run either.
    t.vista.carica = true;
    f.Premuto(C::TB_Google, true);
    f.WebBrowser1BeforeNavigate2();
    f.Premuto(C::SB_CalcDist, true);
    EXPECT_TRUE(t.vista.script.empty());
    f.WebBrowser1DocumentComplete(true);
    f.Premuto(C::SB_CalcDist, false);
    EXPECT_EQ(t.vista.script, std::vector<std::string>{"clearDistance()"});
}

TEST(MappaWeb, RicercaIndirizzoERighello) {
    Form t("web_indirizzo");
    TFMapMain& f = *t.f;
    f.Premuto(C::TB_Google, true);
    f.Cambiato(C::Edit1, "13.4000");
    f.Cambiato(C::Edit2, "42.3500");
    // Without an address: the page only goes to the site.
    f.Click(C::SB_Applica);
    ASSERT_FALSE(t.vista.script.empty());
    EXPECT_EQ(t.vista.script.front(), "GotoLatLng_ex(42.3500,13.4000)");
    // With one typed: the site, then the geocoding of the quoted address;
    // the municipality list takes the name when it holds it.
    t.vista.script.clear();
    f.Cambiato(C::EditIndirizzo, "Via Roma 1, L'Aquila");
    EXPECT_TRUE(f.indirizzo);
    EXPECT_FALSE(f.selezionato);
    f.CercaIndirizzoWeb();
    EXPECT_EQ(t.vista.script, (std::vector<std::string>{"GotoLatLng_ex(42.3500,13.4000)",
                                                        "codeAddress(\"Via Roma 1, L'Aquila, italy\")"}));
    t.vista.script.clear();
    f.Cambiato(C::EditIndirizzo, "Sulmona");
    f.CercaIndirizzoWeb();
    EXPECT_EQ(f.Testo(C::cmb_Com), "Sulmona");
    // A quote or a backslash typed stays inside the string.
    t.vista.script.clear();
    f.Cambiato(C::EditIndirizzo, "a\"); alert(1); (\"\\");
    f.CercaIndirizzoWeb();
    EXPECT_EQ(t.vista.script.back(), "codeAddress(\"a\\\"); alert(1); (\\\"\\\\, italy\")");
    // Rows that are not numbers are not put into a statement.
    t.vista.script.clear();
    f.Cambiato(C::Edit1, "1);x(");
    f.Cambiato(C::EditIndirizzo, "Sulmona");
    f.CercaIndirizzoWeb();
    EXPECT_EQ(t.vista.script.size(), 1u);
    EXPECT_EQ(t.vista.script[0].rfind("codeAddress(", 0), 0u);

    // The ruler: pressed, released.
    t.vista.script.clear();
    f.Premuto(C::SB_CalcDist, true);
    f.Premuto(C::SB_CalcDist, false);
    EXPECT_EQ(t.vista.script, (std::vector<std::string>{"addruler()", "clearDistance()"}));
    EXPECT_NE(f.Map.CursoreMappa(), mappa::CursoreCroce) << "the dialog's map is not measuring";
    // A measure does not survive a change of map, either way.
    f.Premuto(C::SB_CalcDist, true);
    f.Premuto(C::TB_Map, true);
    EXPECT_FALSE(f.Giu(C::SB_CalcDist));
    f.Premuto(C::SB_CalcDist, true);
    EXPECT_EQ(f.Map.CursoreMappa(), mappa::CursoreCroce);
    t.vista.script.clear();
    f.Premuto(C::TB_Google, true);
    EXPECT_FALSE(f.Giu(C::SB_CalcDist));
    EXPECT_NE(f.Map.CursoreMappa(), mappa::CursoreCroce);
    EXPECT_TRUE(t.vista.script.empty());
}

TEST(MappaWeb, SitoSceltoAltroveConLaMappaWebMostrata) {
    Form t("web_altrove");
    TFMapMain& f = *t.f;
    f.Premuto(C::TB_Google, true);
    // A municipality from the lists: the page goes to it.
    f.Scelto(C::Radiogroup1, ModoLocalita);
    const auto& c = f.Stato(C::cmb_Com).elementi;
    const auto it = std::find(c.begin(), c.end(), "Sulmona");
    ASSERT_NE(it, c.end());
    f.Scelto(C::cmb_Com, static_cast<int>(it - c.begin()));
    ASSERT_FALSE(t.vista.script.empty());
    EXPECT_EQ(t.vista.script.back(), "GotoLatLng(" + f.Testo(C::Edit2) + "," + f.Testo(C::Edit1) + ")");
    EXPECT_EQ(f.Testo(C::EditIndirizzo), "Sulmona");
    // Coordinates typed and applied: the rows and the report follow even
    // with the page in front; the page is told only after a valid click.
    f.Scelto(C::Radiogroup1, ModoCoordinate);
    f.Cambiato(C::Edit1, "11.2500");
    f.Cambiato(C::Edit2, "43.7700");
    t.vista.script.clear();
    f.Click(C::SB_Applica);
    EXPECT_EQ(t.vista.script, std::vector<std::string>{"GotoLatLng_ex(43.7700,11.2500)"});
    const Coordinate e = ConvCoord_WGS84toED50(11.25f, 43.77f);
    ASSERT_FALSE(f.Rapporto().empty());
    EXPECT_NE(f.Rapporto()[0].find("Longitudine = " + FormatoCoordinata(e.Lon)), std::string::npos) << f.Rapporto()[0];
    EXPECT_EQ(f.sCom, "Firenze");
    t.vista.ClickSullaMappa("Latitudine: 43.7700 - Longitudine: 11.2500");
    t.vista.script.clear();
    f.Click(C::SB_Applica);
    EXPECT_EQ(t.vista.script.back(), "GotoLatLng(43.7700,11.2500)");
}
