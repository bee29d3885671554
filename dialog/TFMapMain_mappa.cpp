// TFMapMain: the seven map layers, the administrative lookup of a point, the
// hazard grid colouring and its legend, the site marker and highlight, the
// option panels' showing.
#include "dialog/TFMapMain.h"

#include "dialog/coordinate.h"
#include "map/file.h"
#include "map/legenda.h"
#include "map/ricerca_comune.h"
#include "map/segno_sito.h"

#include <algorithm>

namespace veltrano::dialogo {

using C = TControllo;

namespace {
constexpr mappa::TColore Giallo = mappa::RGBWin(255, 255, 0);
constexpr std::array<TControllo, 11> CelleLegenda{C::Lb1, C::Lb2, C::Lb3, C::Lb4,  C::Lb5, C::Lb6,
                                                  C::Lb7, C::Lb8, C::Lb9, C::Lb10, C::Lb11};
} // namespace

void TFMapMain::CollegaMappa() {
    click_[C::TB_Opzioni] = [this] { MostraPannelloOpzioni(C::Panel10); };
    click_[C::TB_Griglia] = [this] {
        MostraPannelloOpzioni(C::Panel7);
        Map.ImpostaLayerVisibile(LayerGriglia, false);
    };
    click_[C::SpeedButton21] = [this] { MostraPannelloOpzioni(C::Nessuno); };
    click_[C::SpeedButton20] = [this] { MostraPannelloOpzioni(C::Nessuno); };
    click_[C::ToolButton6] = [this] {
        ImpostaVisibile(C::Panel3, false);
        vista_.ProcessaEventi();
        ZoomSelezione();
    };
}

void TFMapMain::MostraPannelloOpzioni(TControllo pannello) {
    ImpostaVisibile(C::Panel10, pannello == C::Panel10);
    ImpostaVisibile(C::Panel7, pannello == C::Panel7);
    vista_.ProcessaEventi();
    ZoomSelezione();
}

// ---- Layers

void TFMapMain::CaricaLayer() {
    struct Riga {
        std::shared_ptr<mappa::TShapefile>* campo;
        std::filesystem::path file;
        bool visibile;
    };
    const auto& d = percorsoDati_;
    const auto strade = mappa::Esiste(d / "Shape/Dettagli/roads.shp") ? d / "Shape/Dettagli/roads.shp"
                                                                       : d / "Shape/Dettagli/ITA_roads.shp";
    const Riga righe[7] = {
        {&sf_REG, d / "Shape/regioni2010/reg2010_s.shp", true},
        {&sf_PROV, d / "Shape/province2010/prov2010_s.shp", false},
        {&sf_COM, d / "Shape/comuni2010/com2010_s.shp", false},
        {&sf_Grid, d / "Shape/Griglia/Griglia.shp", Giu(C::CB_VisGriglia)},
        {&sf_Road, strade, Giu(C::CheckBox5)},
        {&sf_Laghi, d / "Shape/Dettagli/ITA_water_areas_dcw.shp", Giu(C::CheckBox3)},
        {&sf_Fiumi, d / "Shape/Dettagli/ITA_water_lines_dcw.shp", Giu(C::CheckBox3)},
    };
    // A file that fails to open gives an empty layer: the handles stay 0..6.
    for (const Riga& r : righe) {
        *r.campo = std::make_shared<mappa::TShapefile>();
        if (mappa::Esiste(r.file))
            (*r.campo)->Apri(r.file);
        Map.AggiungiLayer(*r.campo, r.visibile);
    }
    auto amministrativo = [this](int l, int32_t spess, uint32_t bordo, uint32_t riemp, const uint8_t (&font)[51],
                                 int32_t dim, uint32_t colore) {
        Map.ImpostaSpessoreLinea(l, spess);
        Map.ImpostaColoreLinea(l, bordo);
        Map.ImpostaColoreRiempimento(l, riemp);
        Map.ImpostaFontLayer(l, {NomeCarattere(font), static_cast<double>(dim)});
        Map.ImpostaColoreEtichette(l, colore);
    };
    amministrativo(LayerRegioni, opz.SpessB_Reg, opz.ColB_Reg, opz.ColR_Reg, opz.NameCar_Reg, opz.SizeCar_Reg,
                   opz.ColCar_Reg);
    amministrativo(LayerProvince, opz.SpessB_Prov, opz.ColB_Prov, opz.ColR_Prov, opz.NameCar_Prov, opz.SizeCar_Prov,
                   opz.ColCar_Prov);
    amministrativo(LayerComuni, opz.SpessB_Com, opz.ColB_Com, opz.ColR_Com, opz.NameCar_Com, opz.SizeCar_Com,
                   opz.ColCar_Com);
    Map.ImpostaDimensionePunto(LayerGriglia, opz.DimPunti);
    Map.ImpostaSpessoreLinea(LayerStrade, opz.Spess_Stra);
    Map.ImpostaColoreLinea(LayerStrade, opz.Col_Stra);
    Map.ImpostaSpessoreLinea(LayerLaghi, opz.SpessB_LF);
    Map.ImpostaColoreLinea(LayerLaghi, opz.ColB_LF);
    Map.ImpostaColoreRiempimento(LayerLaghi, opz.ColR_LF);
    Map.ImpostaSpessoreLinea(LayerFiumi, opz.SpessB_LF);
    Map.ImpostaColoreLinea(LayerFiumi, opz.ColR_LF); // the lakes' fill colour, not their border's
    idLayer += 6;
}

void TFMapMain::CercaComunePunto(bool daPixel, double X, double Y, double& Lon, double& Lat, int& iReg, int& iProv,
                                 int& iCom) {
    const Attesa attesa(*this);
    if (daPixel) {
        const mappa::TPunto m = Map.PixelAMappa({X, Y});
        Lon = m.x;
        Lat = m.y;
    } else {
        Lon = X;
        Lat = Y;
    }
    iReg = iProv = iCom = -1;
    if (!sf_COM)
        return;
    const mappa::TComuneTrovato t = mappa::CercaComune(*sf_COM, CoorCom, Lon, Lat);
    iReg = t.iReg;
    iProv = t.iProv;
    iCom = t.iCom;
}

// ---- Grid and legend

void TFMapMain::ColoraGriglia(int k) {
    RangeColori = mappa::ColoraGriglia(Map, LayerGriglia, GrigliaDati(), k,
                                       {NomeCarattere(opz.NameCar), static_cast<double>(opz.SizeCar)});
    Map.ImpostaTipoPunto(LayerGriglia, opz.StilePunti);
    Map.ImpostaEtichetteVisibili(LayerGriglia, Giu(C::CB_VisEticPnt));
    AggiornaLegenda();
}

void TFMapMain::AggiornaLegenda() {
    const std::array<std::string, 11> testi = mappa::EtichetteLegenda(RangeColori);
    for (std::size_t j = 0; j < CelleLegenda.size(); ++j) {
        ImpostaColore(CelleLegenda[j], mappa::ColoriClassi[j]);
        ImpostaTesto(CelleLegenda[j], testi[j]);
    }
}

void TFMapMain::CB_VisGrigliaClick() {
    if (!Giu(C::TB_Map))
        return;
    const bool si = Giu(C::CB_VisGriglia);
    if (si) {
        Map.ImpostaLayerVisibile(LayerGriglia, true);
        Map.ImpostaDimensionePunto(LayerGriglia, opz.DimPunti);
        Map.ImpostaFontLayer(LayerGriglia, {NomeCarattere(opz.NameCar), static_cast<double>(opz.SizeCar)});
        ColoraGriglia(Indice(C::NxComboBoxItem1));
    } else {
        Map.ImpostaLayerVisibile(LayerGriglia, false);
    }
    ImpostaVisibile(C::Panel9, si);
    vista_.ProcessaEventi();
    ZoomSelezione();
}

// ---- Site marker and highlight

void TFMapMain::DisegnaSito(double Lon, double Lat) { mappa::DisegnaSegnoSito(Map, Lon, Lat); }

void TFMapMain::EvidenziaComune(int iCom) {
    Map.ImpostaColoreRiempimento(LayerComuni, opz.ColR_Com);
    Map.CancellaEtichette(LayerComuni);
    if (!sf_COM || iCom < 0 || iCom >= sf_COM->NumShape())
        return;
    Map.ImpostaLayerVisibile(LayerComuni, true);
    const mappa::TEstensione& e = sf_COM->Shape(iCom).estensione;
    Map.AggiungiEtichetta(LayerComuni, NomeComune(iCom), opz.ColCar_Com, (e.xMin + e.xMax) / 2,
                          (e.yMin + e.yMax) / 2, 1);
    Map.ImpostaColoreShape(LayerComuni, iCom, Giallo);
    Map.ZoomShape(LayerComuni, iCom);
    layerHandle = LayerComuni;
    shpHandle = iCom;
}

} // namespace veltrano::dialogo
