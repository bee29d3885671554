// TFMapMain: the exchange with the host. The entry steps fill the form from
// the host's record; "OK"/"CHIUDI" frames the site's grid cell, writes the
// picture and closes; the write-back then recomputes the site and fills the
// host's record, which is the host's whole answer.
#include "dialog/TFMapMain.h"

#include "core/calcolo.h"
#include "dialog/coordinate.h"
#include "dialog/testi.h"
#include "geo/datum.h"
#include "map/bitmap.h"
#include "map/contorno.h"
#include "map/testo1252.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace veltrano::dialogo {

using C = TControllo;
using mappa::Da1252AUtf8;

namespace {
constexpr mappa::TColore Giallo = mappa::RGBWin(255, 255, 0);

std::string StringaCorta(const uint8_t* campo, std::size_t capacita) {
    const std::size_t n = std::min<std::size_t>(campo[0], capacita);
    return Da1252AUtf8(std::string_view(reinterpret_cast<const char*>(campo + 1), n));
}
} // namespace

void TFMapMain::CollegaChiusura() {
    click_[C::SB_Chiudi] = [this] { ConfermaDialog(); };
    click_[C::SB_Annulla] = [this] { vista_.Chiudi(TEsito::Annulla); };
    click_[C::Action9] = [this] { vista_.Chiudi(TEsito::Annulla); };
}

void TFMapMain::Prepara(const TParametriDialogo& p, const TGIS_DatiOut& DatiOut) {
    MainApp = p.MainApp;
    ImpostaPremuto(C::TB_Map, true);
    const bool libero = p.ClasseUso == 0 && p.CategoriaVN == 0 && p.VN == 0;
    const float LonSito = DatiOut.LonSito, LatSito = DatiOut.LatSito;
    const int tipo = DatiOut.TipoRic;
    if (libero) {
        ImpostaIndice(C::ComboBox1, 1);
        ImpostaIndice(C::ComboBox2, 1);
        ImpostaTesto(C::EditEx3, "50");
        for (C c : {C::ComboBox1, C::ComboBox2, C::EditEx3})
            ImpostaAbilitato(c, true);
        ImpostaCaption(C::SB_Chiudi, testi::Chiudi);
        ImpostaVisibile(C::SB_Annulla, false);
        for (int l = LayerRegioni; l <= LayerFiumi; ++l)
            Map.ImpostaLayerVisibile(l, l == LayerRegioni);
        Map.ZoomLayer(LayerRegioni);
    } else {
        for (C c : {C::ComboBox1, C::ComboBox2, C::EditEx3})
            ImpostaAbilitato(c, false);
        // Values outside the lists show their nearest item.
        ImpostaIndice(C::ComboBox1, std::clamp<int>(p.ClasseUso, 1, 4) - 1);
        ImpostaIndice(C::ComboBox2, std::clamp<int32_t>(p.CategoriaVN, 1, 3) - 1);
        ImpostaTesto(C::EditEx3, std::to_string(p.VN));
        ImpostaCaption(C::SB_Chiudi, testi::Ok);
        ImpostaVisibile(C::SB_Annulla, true);
        // Where the previous site lies.
        double x = 0, y = 0;
        int r = -1, pr = -1, c = -1;
        CercaComunePunto(false, LonSito, LatSito, x, y, r, pr, c);
        NomiDaShape(r, pr, c);
        SelezionaNomi();
        std::string nuovo = StringaCorta(DatiOut.nomeLoc_new, 100);
        if (tipo == 2) {
            for (int l = LayerRegioni; l <= LayerFiumi; ++l)
                Map.ImpostaLayerVisibile(l, l == LayerComuni);
            AggiornaSito(true, LonSito, LatSito);
            Map.CancellaEtichette(LayerComuni);
            if (nuovo.empty())
                nuovo = StringaCorta(DatiOut.NomeLoc, 25);
            Map.ImpostaColoreRiempimento(LayerComuni, mappa::RGBWin(241, 236, 205));
            if (c >= 0 && NomeComune(c) == nuovo) {
                Map.ImpostaColoreShape(LayerComuni, c, Giallo);
                Map.ImpostaFontLayer(LayerComuni, {"Times New Roman", 8});
                const mappa::TEstensione& e = sf_COM->Shape(c).estensione;
                Map.AggiungiEtichetta(LayerComuni, NomeComune(c), opz.ColCar_Com, (e.xMin + e.xMax) / 2,
                                      (e.yMin + e.yMax) / 2, 1);
                layerHandle = LayerComuni;
                shpHandle = c;
            }
        } else {
            for (int l = LayerRegioni; l <= LayerFiumi; ++l)
                Map.ImpostaLayerVisibile(l, l == LayerRegioni);
            Map.ZoomLayer(LayerRegioni);
            if (c >= 0) {
                Map.ImpostaLayerVisibile(LayerComuni, true);
                layerHandle = LayerComuni;
                shpHandle = c;
                Map.ImpostaColoreShape(LayerComuni, c, Giallo);
                Map.ImpostaFontLayer(LayerComuni, {"Times New Roman", 8});
                const mappa::TEstensione& e = sf_COM->Shape(c).estensione;
                Map.AggiungiEtichetta(LayerComuni, NomeComune(c), opz.ColCar_Com, (e.xMin + e.xMax) / 2,
                                      (e.yMin + e.yMax) / 2, 1);
            }
        }
    }
    // Mode and lists from the way the previous site was identified.
    ImpostaAbilitato(C::SB_Chiudi, true);
    const TModo modo = tipo == 2 ? ModoLocalita : (tipo == 3 ? ModoUtente : ModoCoordinate);
    ImpostaIndice(C::Radiogroup1, modo);
    for (C l : {C::cmb_Reg, C::cmb_Prov, C::cmb_Com})
        ImpostaAbilitato(l, modo == ModoLocalita);
    ImpostaAbilitato(C::cmb_ComUt, modo == ModoUtente);
    ImpostaAbilitato(C::SB_LocUtente, modo == ModoUtente);
    if (tipo == 1 || tipo == 2)
        ImpostaIndice(C::cmb_ComUt, 0);
    if (tipo == 3 && SelezionaTesto(C::cmb_ComUt, StringaCorta(DatiOut.nomeLoc_new, 100)) < 0)
        ImpostaIndice(C::cmb_ComUt, 0);
    if (tipo == 1) {
        ImpostaPremuto(C::NxRadioItem1, !DatiOut.ED50);
        ImpostaPremuto(C::NxRadioItem2, DatiOut.ED50 != 0);
    }
    ImpostaTesto(C::Edit1, FormatoCoordinata(LonSito));
    ImpostaTesto(C::Edit2, FormatoCoordinata(LatSito));
    ImpostaTesto(C::NxTextItem7, FormatoReale("%4.2f", DatiOut.alt));
    ImpostaTesto(C::NxTextItem8, FormatoReale("%f", DatiOut.distCosta));
    Map.CancellaDisegni();
    Map.NuovoDisegno();
    DisegnaSito(LonSito, LatSito);
    nomeFileImmPuntiSito = p.FileImmagine;
    const bool coordinate = modo == ModoCoordinate;
    ImpostaAbilitato(C::NxRadioItem1, coordinate);
    ImpostaAbilitato(C::NxRadioItem2, coordinate);
    const bool wgs84 = Giu(C::NxRadioItem1);
    ImpostaSolaLettura(C::Edit1, coordinate && !wgs84);
    ImpostaSolaLettura(C::Edit2, coordinate && !wgs84);
    ImpostaSolaLettura(C::NxTextItem5, !coordinate || wgs84);
    ImpostaSolaLettura(C::NxTextItem6, !coordinate || wgs84);
}

EsitoSito TFMapMain::CalcolaSitoVoci(TGIS_DatiOut& d) const {
    // At the ED50 conversion of the WGS84 items, as the write-back computes.
    const Coordinate e = ConvCoord_WGS84toED50(static_cast<float>(NumeroOZero(Testo(C::Edit1))),
                                               static_cast<float>(NumeroOZero(Testo(C::Edit2))));
    if (!std::isfinite(e.Lon) || !std::isfinite(e.Lat))
        return {};
    int32_t classe = 0, vn = 0;
    LeggiDatiOpera(classe, vn);
    TMagliaSito m{};
    griglia_->CercaPuntiMaglia(e.Lon, e.Lat, m);
    return CompletaSito(m, Normativa, e.Lon, e.Lat, vn, classe, d);
}

void TFMapMain::ConfermaDialog() {
    // A site off the grid and on no island has no hazard values: handing the
    // host numbers for it would pass a failure off as a result. The user
    // picks another site or cancels.
    TGIS_DatiOut d{};
    if (!CalcolaSitoVoci(d).Valido()) {
        Messaggio(testi::SitoSenzaValori);
        return;
    }
    const int w0 = Map.Larghezza(), h0 = Map.Altezza();
    vista_.DimensioniMappa(static_cast<int>(std::lround(w0 * 2.0 / 3.0)), static_cast<int>(std::lround(h0 * 2.0 / 3.0)));
    vista_.ProcessaEventi();
    CreaContornoMaglia();
    vista_.ProcessaEventi();
    const mappa::TImmagine immagine = vista_.CatturaCartina();
    if (!nomeFileImmPuntiSito.empty()) {
        try {
            mappa::SalvaBitmap(nomeFileImmPuntiSito, immagine);
        } catch (const Errore& e) {
            // The host asked for a picture: say why there is none and stay open.
            vista_.DimensioniMappa(w0, h0);
            Messaggio(ConTesto(testi::ImmagineNonScritta, e.what()));
            return;
        }
    }
    vista_.Chiudi(TEsito::Ok);
}

void TFMapMain::CreaContornoMaglia() {
    sf_BoundPoint.reset();
    const int k = Indice(C::NxComboBoxItem1);
    if (!Map.LayerVisibile(LayerGriglia) && !Map.EtichetteVisibili(LayerGriglia))
        mappa::EtichetteNodiNere(Map, LayerGriglia, GrigliaDati(), std::max(0, k), NomeCarattere(opz.NameCar));
    // The cell of the site's ED50 coordinates: the nodes the write-back
    // returns to the host, so the picture shows those very nodes.
    TGIS_DatiOut d{};
    const EsitoSito esito = CalcolaSitoVoci(d);
    DatiZS_SL = d;
    if (!esito.Valido()) {
        // No cell to frame (coordinates off the grid): the site itself.
        const double lon = NumeroOZero(Testo(C::Edit1)), lat = NumeroOZero(Testo(C::Edit2));
        Map.ImpostaEstensione({lon - 0.05, lat - 0.05, lon + 0.05, lat + 0.05});
        return;
    }
    mappa::TNodiCella nodi;
    for (std::size_t i = 0; i < 4; ++i)
        nodi[i] = {DatiZS_SL.LonPunti[i], DatiZS_SL.LatPunti[i]};
    sf_BoundPoint = std::make_shared<mappa::TShapefile>(mappa::ShapefileContorno(nodi));
    mappa::SalvaContorno(*sf_BoundPoint, cartellaScrittura_);
    mappa::DisegnaContornoMaglia(Map, nodi);
    idLayer = Map.AggiungiLayer(sf_BoundPoint, false);
    Map.ZoomLayer(idLayer);
    Map.ZoomIndietro(0.2);
}

void TFMapMain::ScriviDatiOut(TGIS_DatiOut& DatiOut) {
    // Everything is computed first and written at the end: a failure leaves
    // the host's record as it was.
    TGIS_DatiOut d;
    std::memcpy(&d, &DatiOut, sizeof d);
    d.TipoRic = static_cast<uint8_t>(ModoIndividuazione() + 1);
    const TStatoControllo& com = Stato(C::cmb_Com);
    const std::string nome = com.indice >= 0 ? com.elementi[static_cast<std::size_t>(com.indice)]
                                             : std::string(testi::SceltaComune);
    mappa::AStringaCorta(mappa::Utf8A1252(nome), d.nomeLoc_new, 100);
    const float LonE = DatiZS_SL.LonSitoED50, LatE = DatiZS_SL.LatSitoED50;
    int32_t classe = 0, vn = 0;
    LeggiDatiOpera(classe, vn);
    TMagliaSito m{};
    griglia_->CercaPuntiMaglia(LonE, LatE, m);
    TGIS_DatiOut r{};
    const int nodi = CompletaSito(m, Normativa, LonE, LatE, vn, classe, r).numNodi;
    auto copia = [](TGIS_ParZS& a, const TGIS_ParZS& b) {
        a.ag = b.ag;
        a.Fo = b.Fo;
        a.Tc_s = b.Tc_s;
        a.Tr = b.Tr;
    };
    copia(d.SLC, r.SLC);
    copia(d.SLD, r.SLD);
    copia(d.SLO, r.SLO);
    copia(d.SLV, r.SLV);
    d.NumVert = nodi;
    std::memcpy(d.NumPunti, r.NumPunti, sizeof d.NumPunti);
    std::memcpy(d.LonPunti, r.LonPunti, sizeof d.LonPunti);
    std::memcpy(d.LatPunti, r.LatPunti, sizeof d.LatPunti);
    d.LonSito = static_cast<float>(NumeroOZero(Testo(C::Edit1)));
    d.LatSito = static_cast<float>(NumeroOZero(Testo(C::Edit2)));
    d.LonSitoED50 = static_cast<float>(NumeroOZero(Testo(C::NxTextItem5)));
    d.LatSitoED50 = static_cast<float>(NumeroOZero(Testo(C::NxTextItem6)));
    d.alt = static_cast<float>(NumeroOZero(Testo(C::NxTextItem7)));
    d.distCosta = static_cast<float>(NumeroOZero(Testo(C::NxTextItem8)));
    d.ED50 = Giu(C::NxRadioItem2) ? 1 : 0;
    std::memcpy(&DatiOut, &d, sizeof d);
}

void TFMapMain::AnnullaDatiOut(TGIS_DatiOut& DatiOut) {
    if (DatiOut.LonSitoED50 == 0 || DatiOut.LatSitoED50 == 0) {
        const Coordinate e = ConvCoord_WGS84toED50(DatiOut.LonSito, DatiOut.LatSito);
        DatiOut.LonSitoED50 = e.Lon;
        DatiOut.LatSitoED50 = e.Lat;
    }
}

} // namespace veltrano::dialogo
