// TFMapMain: the identification modes and their rules, the region,
// province and municipality lists with their map highlighting, "APPLICA",
// and the site update shared by every way of choosing a site.
#include "dialog/TFMapMain.h"

#include "dialog/coordinate.h"
#include "dialog/elenchi.h"
#include "dialog/testi.h"
#include "geo/datum.h"
#include "map/amministrativi.h"
#include "map/testo1252.h"

#include <algorithm>
#include <set>

namespace veltrano::dialogo {

using C = TControllo;
using mappa::Da1252AUtf8;
using mappa::Utf8A1252;

namespace {
constexpr mappa::TColore Giallo = mappa::RGBWin(255, 255, 0);

// Label point of a shape: the centre of its bounding box.
mappa::TPunto CentroShape(const mappa::TShapefile& sf, int i) {
    const mappa::TEstensione& e = sf.Shape(i).estensione;
    return {(e.xMin + e.xMax) / 2, (e.yMin + e.yMax) / 2};
}
} // namespace

void TFMapMain::CollegaIdentificazione() {
    scelta_[C::Radiogroup1] = [this] { Radiogroup1Chiusura(); };
    scelta_[C::ComboBox2] = [this] { ComboBox2Chiusura(); };
    scelta_[C::cmb_Reg] = [this] { cmb_RegCambio(); };
    scelta_[C::cmb_Prov] = [this] { cmb_ProvCambio(); };
    scelta_[C::cmb_Com] = [this] { cmb_ComChiusura(); };
    uscita_[C::cmb_Com] = [this] { cmb_ComUscita(); };
    click_[C::SB_Applica] = [this] { SB_ApplicaClick(); };
    premuto_[C::SB_LocUtente] = [this] { SB_LocUtenteClick(); };
}

void TFMapMain::ImpostaCoordinateIniziali() {
    ImpostaIndice(C::Radiogroup1, ModoCoordinate);
    ImpostaSolaLettura(C::Edit1, false);
    ImpostaSolaLettura(C::Edit2, false);
    ImpostaSolaLettura(C::NxTextItem5, true);
    ImpostaSolaLettura(C::NxTextItem6, true);
    ImpostaTesto(C::Edit1, "16.2124");
    ImpostaTesto(C::Edit2, "38.1517");
    for (C c : {C::cmb_Reg, C::cmb_Prov, C::cmb_Com, C::cmb_ComUt, C::SB_LocUtente})
        ImpostaAbilitato(c, false);
    ImpostaTesto(C::EditEx3, "50");
}

// ---- Names of the map shapes

std::string TFMapMain::NomeRegione(int i) const {
    return sf_REG && i >= 0 ? Da1252AUtf8(sf_REG->ValoreCella(mappa::CampoNomeRegione, i)) : std::string();
}
std::string TFMapMain::NomeProvincia(int i) const {
    return sf_PROV && i >= 0 ? Da1252AUtf8(sf_PROV->ValoreCella(mappa::CampoNomeProvincia, i)) : std::string();
}
std::string TFMapMain::NomeComune(int i) const {
    return sf_COM && i >= 0 ? Da1252AUtf8(sf_COM->ValoreCella(mappa::CampoNomeComune, i)) : std::string();
}

void TFMapMain::NomiDaShape(int iReg, int iProv, int iCom) {
    // A level where the point lies in no shape gets no name: a stale name
    // would put the previous municipality in the report of a point at sea.
    sReg = NomeRegione(iReg);
    sProv = NomeProvincia(iProv);
    sCom = NomeComune(iCom);
}

void TFMapMain::SelezionaNomi() {
    StoScrivendo = true;
    bool trovata = false;
    const auto& regioni = Stato(C::cmb_Reg).elementi;
    for (std::size_t i = 1; i < regioni.size() && !trovata; ++i)
        if (UgualeMaiuscolo(regioni[i], sReg)) {
            ImpostaIndice(C::cmb_Reg, static_cast<int>(i));
            trovata = true;
        }
    if (!trovata)
        ImpostaIndice(C::cmb_Reg, 0);
    RiempiProvince();
    RiempiComuni();
    if (SelezionaTesto(C::cmb_Prov, sProv) < 0)
        ImpostaIndice(C::cmb_Prov, 0);
    if (SelezionaTesto(C::cmb_Com, sCom) < 0)
        ImpostaIndice(C::cmb_Com, 0);
    StoScrivendo = false;
}

// ---- Modes and value rules

void TFMapMain::Radiogroup1Chiusura() {
    const TModo m = ModoIndividuazione();
    ImpostaAbilitato(C::cmb_Reg, m == ModoLocalita);
    ImpostaAbilitato(C::cmb_Com, m == ModoLocalita);
    ImpostaAbilitato(C::cmb_Prov, m == ModoLocalita && Indice(C::cmb_Reg) > 0);
    ImpostaAbilitato(C::cmb_ComUt, m == ModoUtente);
    ImpostaAbilitato(C::SB_LocUtente, m == ModoUtente);
    if (m == ModoCoordinate) {
        Map.ImpostaModoCursore(mappa::ModoZoomPiu);
        ImpostaPremuto(C::TB_Punt, false);
        // The zoom button shows the map's mode.
        ImpostaPremuto(C::TB_ZoomPiu, true);
        ImpostaPremuto(C::TB_ZoomMeno, false);
        ImpostaPremuto(C::TB_Pan, false);
    }
    ImpostaPremuto(C::SB_LocUtente, m == ModoUtente);
    SB_LocUtenteClick();
    const bool coordinate = m == ModoCoordinate;
    if (!coordinate) {
        ImpostaPremuto(C::NxRadioItem1, true);
        ImpostaPremuto(C::NxRadioItem2, false);
        ImpostaSolaLettura(C::NxTextItem5, true);
        ImpostaSolaLettura(C::NxTextItem6, true);
    }
    ImpostaSolaLettura(C::Edit1, false);
    ImpostaSolaLettura(C::Edit2, false);
    ImpostaAbilitato(C::NxRadioItem1, coordinate);
    ImpostaAbilitato(C::NxRadioItem2, coordinate);
}

void TFMapMain::CambioValoreSito(TControllo c) {
    if (StoScrivendo)
        return;
    const TModo m = ModoIndividuazione();
    if ((c == C::Edit1 || c == C::Edit2) && m == ModoCoordinate) {
        indirizzo = false;
        ImpostaTesto(C::EditIndirizzo, "");
        AbilitaAltitudine();
    }
    if (m == ModoCoordinate && (c == C::NxRadioItem1 || c == C::NxRadioItem2)) {
        const bool wgs84 = Giu(C::NxRadioItem1);
        ImpostaSolaLettura(C::Edit1, !wgs84);
        ImpostaSolaLettura(C::Edit2, !wgs84);
        ImpostaSolaLettura(C::NxTextItem5, wgs84);
        ImpostaSolaLettura(C::NxTextItem6, wgs84);
    }
    if (m != ModoCoordinate)
        for (C i : {C::Edit1, C::Edit2, C::NxTextItem5, C::NxTextItem6})
            ImpostaSolaLettura(i, true);
}

void TFMapMain::AbilitaAltitudine() {
    const std::string lon = Testo(C::Edit1), lat = Testo(C::Edit2);
    ImpostaAbilitato(C::SB_Altitudine, !lon.empty() && !lat.empty() && lon != "0.000" && lat != "0.000");
}

void TFMapMain::ComboBox2Chiusura() {
    static constexpr const char* Anni[3] = {"10", "50", "100"};
    const int i = Indice(C::ComboBox2);
    if (i >= 0 && i < 3)
        ImpostaTesto(C::EditEx3, Anni[i]);
}

void TFMapMain::SB_LocUtenteClick() {
    ImpostaVisibile(C::EditorLocUtente, ModoIndividuazione() == ModoUtente && Giu(C::SB_LocUtente));
}

// ---- The site update

void TFMapMain::AggiornaCoordinate(bool ConAltitudine, double Lon, double Lat) {
    ImpostaTesto(C::StatusPanel0, "Longitudine = " + FormatoCoordinata(Lon) + "° - Latitudine = " +
                                      FormatoCoordinata(Lat) + "°");
    vista_.FineModifica();
    ImpostaTesto(C::Edit1, FormatoCoordinata(Lon));
    ImpostaTesto(C::Edit2, FormatoCoordinata(Lat));
    const auto lonW = static_cast<float>(NumeroOZero(Testo(C::Edit1)));
    const auto latW = static_cast<float>(NumeroOZero(Testo(C::Edit2)));
    const Coordinate e = ConvCoord_WGS84toED50(lonW, latW);
    ImpostaTesto(C::NxTextItem5, FormatoCoordinata(e.Lon));
    ImpostaTesto(C::NxTextItem6, FormatoCoordinata(e.Lat));
    const int k = Indice(C::cmb_Com);
    if (Giu(C::TB_Map) && ConAltitudine && k > 0 && static_cast<std::size_t>(k - 1) < VetId_Cmb_Com.size())
        ImpostaTesto(C::NxTextItem7,
                     FormatoReale("%4.2f", CoorCom[static_cast<std::size_t>(VetId_Cmb_Com[static_cast<std::size_t>(k - 1)])].Alt));
    int n = 0;
    ScriviRisultati(n, e.Lon, e.Lat);
}

void TFMapMain::AggiornaSito(bool ConAltitudine, double Lon, double Lat) {
    AggiornaCoordinate(ConAltitudine, Lon, Lat);
    ImpostaVisibile(C::Panel3, true);
    ImpostaAbilitato(C::SB_Chiudi, true);
}

void TFMapMain::SB_ApplicaClick() {
    if (Giu(C::TB_Google))
        CercaIndirizzoWeb();
    if (Giu(C::NxRadioItem2)) {
        const auto lon = LeggiNumero(Testo(C::NxTextItem5)), lat = LeggiNumero(Testo(C::NxTextItem6));
        if (!lon || !lat) {
            Messaggio(FormatoNonNumero(lon ? Testo(C::NxTextItem6) : Testo(C::NxTextItem5)));
            return;
        }
        const Coordinate w = ConvCoord_ED50toWGS84(static_cast<float>(*lon), static_cast<float>(*lat));
        ImpostaTesto(C::Edit1, FormatoCoordinata(w.Lon));
        ImpostaTesto(C::Edit2, FormatoCoordinata(w.Lat));
    }
    PosizionaSito(false);
    StatoPannello1();
}

void TFMapMain::PosizionaSito(bool DallaMappa) {
    ImpostaAbilitato(C::SB_Chiudi, true);
    const auto lon = LeggiNumero(Testo(C::Edit1)), lat = LeggiNumero(Testo(C::Edit2));
    if (!lon || !lat) {
        Messaggio(FormatoNonNumero(lon ? Testo(C::Edit2) : Testo(C::Edit1)));
        return;
    }
    double x = 0, y = 0;
    int r = -1, p = -1, c = -1;
    CercaComunePunto(false, *lon, *lat, x, y, r, p, c);
    NomiDaShape(r, p, c);
    SelezionaNomi();
    StatoPannello1();
    if (!Giu(C::TB_Map)) {
        // The on-line map is shown. A site typed and applied still gets
        // its coordinate rows and report; a site from the page's click
        // gets them from LeggiPosizioneWeb.
        if (!DallaMappa)
            AggiornaSito(false, x, y);
        if (Giu(C::TB_Google) && bClick1)
            VaiAlSitoWeb("GotoLatLng");
        return;
    }
    AggiornaSito(DallaMappa, x, y);
    Map.CancellaDisegni();
    Map.NuovoDisegno();
    DisegnaSito(x, y);
    EvidenziaComune(c);
}

// ---- Lists

void TFMapMain::RiempiProvince() {
    if (sReg == testi::SceltaRegione)
        sReg.clear();
    const std::vector<std::string> nomi =
        ElencoProvince(CoorCom, Utf8A1252(sReg), sf_PROV ? sf_PROV->NumShape() : 0);
    std::vector<std::string> e{testi::SceltaProvincia};
    for (const std::string& n : nomi)
        e.push_back(Da1252AUtf8(n));
    ImpostaElementi(C::cmb_Prov, e);
    ImpostaIndice(C::cmb_Prov, 0);
}

void TFMapMain::RiempiComuni() {
    if (sReg == testi::SceltaRegione)
        sReg.clear();
    if (sProv == testi::SceltaProvincia)
        sProv.clear();
    ElencoComuni l = ElencaComuni(CoorCom, Utf8A1252(sReg), Utf8A1252(sProv));
    std::vector<std::string> e;
    e.reserve(l.nomi.size() + 1);
    e.emplace_back(testi::SceltaComune);
    for (const std::string& n : l.nomi)
        e.push_back(Da1252AUtf8(n));
    ImpostaElementi(C::cmb_Com, e);
    ImpostaIndice(C::cmb_Com, 0);
    VetId_Cmb_Com = std::move(l.indici);
}

void TFMapMain::cmb_RegCambio() {
    if (StoScrivendo)
        return;
    ImpostaPremuto(C::TB_Admin, false);
    TB_AdminClick();
    ImpostaAbilitato(C::cmb_Prov, Indice(C::cmb_Reg) > 0);
    if (Indice(C::cmb_Reg) > 0)
        SelezionaRegione(-1);
}

void TFMapMain::cmb_ProvCambio() {
    if (StoScrivendo)
        return;
    ImpostaPremuto(C::TB_Admin, false);
    TB_AdminClick();
    ImpostaAbilitato(C::cmb_Com, Indice(C::cmb_Prov) > 0);
    if (Indice(C::cmb_Prov) > 0)
        SelezionaProvincia(-1);
}

void TFMapMain::cmb_ComChiusura() {
    if (StoScrivendo || Indice(C::cmb_Com) <= 0)
        return;
    ImpostaPremuto(C::TB_Admin, false);
    TB_AdminClick();
    SelezionaComune(-1);
}

void TFMapMain::cmb_ComUscita() {
    // Only a name typed since the last choice: leaving the item after
    // picking from the list must not choose again.
    if (!comuneDigitato_)
        return;
    comuneDigitato_ = false;
    if (SelezionaTesto(C::cmb_Com, Testo(C::cmb_Com)) > 0)
        cmb_ComChiusura();
}

void TFMapMain::SelezionaRegione(int IndiceShape) {
    if (Giu(C::TB_Admin)) {
        if (IndiceShape < 0)
            return;
        sReg = NomeRegione(IndiceShape);
        StoScrivendo = true;
        const auto& regioni = Stato(C::cmb_Reg).elementi;
        for (std::size_t i = 1; i < regioni.size(); ++i)
            if (UgualeMaiuscolo(regioni[i], sReg))
                ImpostaIndice(C::cmb_Reg, static_cast<int>(i));
        StoScrivendo = false;
    } else {
        sReg = Testo(C::cmb_Reg);
    }
    RiempiProvince();
    sProv.clear();
    RiempiComuni();
    Map.ImpostaLayerVisibile(LayerProvince, true);
    Map.ImpostaLayerVisibile(LayerRegioni, false);
    Map.ImpostaLayerVisibile(LayerComuni, false);
    Map.CancellaEtichette(LayerRegioni);
    Map.CancellaEtichette(LayerProvince);
    Map.ImpostaColoreLinea(LayerProvince, opz.ColB_Prov);
    Map.ImpostaColoreRiempimento(LayerProvince, opz.ColR_Prov);
    if (sf_REG)
        for (int i = 0; i < sf_REG->NumShape(); ++i)
            if (UgualeMaiuscolo(NomeRegione(i), sReg)) {
                Map.ZoomShape(LayerRegioni, i);
                shpHandle = i;
                layerHandle = LayerRegioni;
                break;
            }
    std::set<int> province;
    for (int i : VetId_Cmb_Com)
        province.insert(CoorCom[static_cast<std::size_t>(i)].Id_sf_PROV);
    Map.ImpostaFontLayer(LayerProvince, {NomeCarattere(opz.NameCar_Prov), static_cast<double>(opz.SizeCar_Prov)});
    for (int p : province) {
        if (!sf_PROV || p < 0 || p >= sf_PROV->NumShape())
            continue;
        Map.ImpostaColoreShape(LayerProvince, p, Giallo);
        const mappa::TPunto c = CentroShape(*sf_PROV, p);
        Map.AggiungiEtichetta(LayerProvince, NomeProvincia(p), opz.ColCar_Prov, c.x, c.y, 1);
    }
    ImpostaIndice(C::Radiogroup1, ModoLocalita);
}

void TFMapMain::SelezionaProvincia(int IndiceShape) {
    if (Giu(C::TB_Admin)) {
        if (IndiceShape < 0)
            return;
        sProv = NomeProvincia(IndiceShape);
        StoScrivendo = true;
        SelezionaTesto(C::cmb_Prov, sProv);
        StoScrivendo = false;
    } else {
        sProv = Testo(C::cmb_Prov);
    }
    RiempiComuni();
    Map.ImpostaLayerVisibile(LayerComuni, true);
    Map.ImpostaLayerVisibile(LayerRegioni, false);
    Map.ImpostaLayerVisibile(LayerProvince, false);
    for (int l : {LayerRegioni, LayerProvince, LayerComuni})
        Map.CancellaEtichette(l);
    Map.ImpostaColoreLinea(LayerComuni, opz.ColB_Com);
    Map.ImpostaColoreRiempimento(LayerComuni, opz.ColR_Com);
    int trovata = -1;
    if (sf_PROV)
        for (int i = 0; i < sf_PROV->NumShape(); ++i)
            if (NomeProvincia(i) == sProv)
                trovata = i; // the last one, if several share the name
    if (trovata >= 0) {
        Map.ZoomShape(LayerProvince, trovata);
        shpHandle = trovata;
        layerHandle = LayerProvince;
    }
    Map.ImpostaFontLayer(LayerComuni, {NomeCarattere(opz.NameCar_Com), static_cast<double>(opz.SizeCar_Com)});
    for (int i : VetId_Cmb_Com) {
        const int s = CoorCom[static_cast<std::size_t>(i)].Id_sf_COM;
        if (!sf_COM || s < 0 || s >= sf_COM->NumShape())
            continue;
        Map.ImpostaColoreShape(LayerComuni, s, Giallo);
        const mappa::TPunto c = CentroShape(*sf_COM, s);
        Map.AggiungiEtichetta(LayerComuni, NomeComune(s), opz.ColCar_Com, c.x, c.y, 1);
    }
}

void TFMapMain::SelezionaComune(int IndiceShape) {
    int k;
    if (Giu(C::TB_Admin)) {
        if (IndiceShape < 0)
            return;
        StoScrivendo = true;
        k = SelezionaTesto(C::cmb_Com, NomeComune(IndiceShape));
        StoScrivendo = false;
    } else {
        k = Indice(C::cmb_Com);
    }
    if (k <= 0 || static_cast<std::size_t>(k - 1) >= VetId_Cmb_Com.size())
        return;
    const TCoordComune& r = CoorCom[static_cast<std::size_t>(VetId_Cmb_Com[static_cast<std::size_t>(k - 1)])];
    sCom = Da1252AUtf8(TestoCampo(r.Nome));
    sReg = Da1252AUtf8(TestoCampo(r.Reg));
    sProv = Da1252AUtf8(TestoCampo(r.Prov));
    Comune = true;
    Map.ImpostaLayerVisibile(LayerRegioni, false);
    Map.ImpostaLayerVisibile(LayerProvince, false);
    Map.ImpostaLayerVisibile(LayerComuni, true);
    Map.CancellaEtichette(LayerComuni);
    Map.ImpostaColoreLinea(LayerComuni, opz.ColB_Com);
    Map.ImpostaColoreRiempimento(LayerComuni, opz.ColR_Com);
    const int s = r.Id_sf_COM;
    if (sf_COM && s >= 0 && s < sf_COM->NumShape()) {
        Map.ZoomShape(LayerComuni, s);
        shpHandle = s;
        Map.ImpostaColoreShape(LayerComuni, s, Giallo);
        Map.ImpostaFontLayer(LayerComuni, {NomeCarattere(opz.NameCar_Com), static_cast<double>(opz.SizeCar_Com)});
        const mappa::TPunto c = CentroShape(*sf_COM, s);
        Map.AggiungiEtichetta(LayerComuni, NomeComune(s), opz.ColCar_Com, c.x, c.y, 1);
    }
    ImpostaTesto(C::Edit1, FormatoCoordinata(r.Lon));
    ImpostaTesto(C::Edit2, FormatoCoordinata(r.Lat));
    if (Stato(C::SB_Chiudi).caption == testi::Ok)
        ImpostaAbilitato(C::SB_Chiudi, false);
    Map.CancellaDisegni();
    Map.NuovoDisegno();
    DisegnaSito(r.Lon, r.Lat);
    layerHandle = LayerComuni;
    StoScrivendo = true;
    SelezionaTesto(C::cmb_Reg, sReg);
    SelezionaTesto(C::cmb_Prov, sProv);
    StoScrivendo = false;
    StatoPannello1();
    AggiornaSito(true, NumeroOZero(Testo(C::Edit1)), NumeroOZero(Testo(C::Edit2)));
    Map.CancellaDisegni();
    Map.NuovoDisegno();
    DisegnaSito(NumeroOZero(Testo(C::Edit1)), NumeroOZero(Testo(C::Edit2)));
    if (ModoIndividuazione() == ModoLocalita)
        ImpostaTesto(C::EditIndirizzo, sCom);
    if (Giu(C::TB_Google))
        VaiAlSitoWeb("GotoLatLng");
    selezionato = false;
    AbilitaAltitudine();
}

} // namespace veltrano::dialogo
