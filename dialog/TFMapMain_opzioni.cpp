// TFMapMain: the display options (Opzioni.dat) and the two option panels.
// Colours and fonts chosen in the panels go into opz at once; widths, point
// size and style and the return period only when the options are saved.
// Every choice restyles the map at once. Also the names of the
// administrative layers and the point-style picker.
#include "dialog/TFMapMain.h"

#include "dialog/coordinate.h"
#include "dialog/testi.h"
#include "map/amministrativi.h"
#include "map/file.h"
#include "map/stile_punti.h"
#include "map/testo1252.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>

namespace veltrano::dialogo {

using C = TControllo;

namespace {

// Fields of the packed record by offset: a pointer to a packed member
// would assume an alignment the record does not have.
template <class T> T Campo(const TOpzVis& o, std::size_t off) {
    T v;
    std::memcpy(&v, reinterpret_cast<const unsigned char*>(&o) + off, sizeof v);
    return v;
}
template <class T> void ImpostaCampo(TOpzVis& o, std::size_t off, T v) {
    std::memcpy(reinterpret_cast<unsigned char*>(&o) + off, &v, sizeof v);
}
uint8_t (&Nome(TOpzVis& o, std::size_t off))[51] {
    return *reinterpret_cast<uint8_t(*)[51]>(reinterpret_cast<unsigned char*>(&o) + off);
}

// The colour buttons: the option field, the layers whose outline and whose
// fill take the colour.
struct PulsanteColore {
    TControllo id;
    std::size_t campo; // offset of a colour
    std::vector<int> linea, riempimento;
};

const std::vector<PulsanteColore>& PulsantiColore() {
    static const std::vector<PulsanteColore> v{
        {C::NxToolbarItem1, offsetof(TOpzVis, ColB_Reg), {LayerRegioni}, {}},
        {C::NxToolbarItem2, offsetof(TOpzVis, ColR_Reg), {}, {LayerRegioni}},
        {C::NxToolbarItem4, offsetof(TOpzVis, ColB_Prov), {LayerProvince}, {}},
        {C::NxToolbarItem5, offsetof(TOpzVis, ColR_Prov), {}, {LayerProvince}},
        {C::NxToolbarItem6, offsetof(TOpzVis, ColB_Com), {LayerComuni}, {}},
        {C::NxToolbarItem9, offsetof(TOpzVis, ColR_Com), {}, {LayerComuni}},
        {C::SpeedButton9, offsetof(TOpzVis, ColB_LF), {LayerLaghi, LayerFiumi}, {}},
        // Rivers are drawn in the lakes' fill colour.
        {C::SpeedButton10, offsetof(TOpzVis, ColR_LF), {LayerFiumi}, {LayerLaghi}},
        {C::SpeedButton12, offsetof(TOpzVis, Col_Stra), {LayerStrade}, {}},
    };
    return v;
}

// The font buttons: name and size fields, the label colour (none for the
// grid, whose labels take their class colour) and the layer.
struct PulsanteCarattere {
    TControllo id;
    std::size_t nome, dimensione; // offsets
    std::optional<std::size_t> colore;
    int layer;
};

const std::vector<PulsanteCarattere>& PulsantiCarattere() {
    static const std::vector<PulsanteCarattere> v{
        {C::NxToolbarItem7, offsetof(TOpzVis, NameCar_Reg), offsetof(TOpzVis, SizeCar_Reg), offsetof(TOpzVis, ColCar_Reg), LayerRegioni},
        {C::NxToolbarItem8, offsetof(TOpzVis, NameCar_Prov), offsetof(TOpzVis, SizeCar_Prov), offsetof(TOpzVis, ColCar_Prov), LayerProvince},
        {C::NxToolbarItem10, offsetof(TOpzVis, NameCar_Com), offsetof(TOpzVis, SizeCar_Com), offsetof(TOpzVis, ColCar_Com), LayerComuni},
        {C::NxToolbarItem3, offsetof(TOpzVis, NameCar), offsetof(TOpzVis, SizeCar), std::nullopt, LayerGriglia},
    };
    return v;
}

// Check-box headings and the layers they show.
const std::map<TControllo, std::vector<int>>& CaselleLayer() {
    static const std::map<TControllo, std::vector<int>> m{
        {C::CB_VisReg, {LayerRegioni}},   {C::CB_VisProv, {LayerProvince}},
        {C::CB_VisCom, {LayerComuni}},    {C::CheckBox5, {LayerStrade}},
        {C::CheckBox3, {LayerLaghi, LayerFiumi}},
    };
    return m;
}

// Spins and the layers whose line width (or point size) they set.
const std::map<TControllo, std::vector<int>>& SpinLayer() {
    static const std::map<TControllo, std::vector<int>> m{
        {C::SE_SpessBReg, {LayerRegioni}}, {C::SE_SpessBProv, {LayerProvince}}, {C::SE_SpessBCom, {LayerComuni}},
        {C::SpinEdit3, {LayerLaghi, LayerFiumi}}, {C::SpinEdit5, {LayerStrade}},
    };
    return m;
}

int Numero(const TFMapMain& f, TControllo c) { return LeggiIntero(f.Testo(c)).value_or(0); }

// The "Nomi" boxes: the layer, the text of the progress dialog, the label
// font and colour of the group.
struct GruppoNomi {
    TControllo casella;
    int layer;
    const char* descrizione;
    std::size_t nome, dimensione, colore; // offsets
};

const std::array<GruppoNomi, 3>& GruppiNomi() {
    static const std::array<GruppoNomi, 3> v{{
        {C::CB_VisNomiReg, LayerRegioni, testi::DelleRegioni, offsetof(TOpzVis, NameCar_Reg),
         offsetof(TOpzVis, SizeCar_Reg), offsetof(TOpzVis, ColCar_Reg)},
        {C::CB_VisNomiProv, LayerProvince, testi::DelleProvince, offsetof(TOpzVis, NameCar_Prov),
         offsetof(TOpzVis, SizeCar_Prov), offsetof(TOpzVis, ColCar_Prov)},
        {C::CB_VisNomiCom, LayerComuni, testi::DeiComuni, offsetof(TOpzVis, NameCar_Com),
         offsetof(TOpzVis, SizeCar_Com), offsetof(TOpzVis, ColCar_Com)},
    }};
    return v;
}

} // namespace

void TFMapMain::CollegaOpzioni() {
    click_[C::ToolButton18] = [this] { ToolButton18Click(); };
    for (const auto& [c, layer] : CaselleLayer())
        premuto_[c] = [this, c = c] { OpzioniCasella(c); };
    premuto_[C::CB_VisGriglia] = [this] { CB_VisGrigliaClick(); };
    premuto_[C::CB_VisEticPnt] = [this] { Map.ImpostaEtichetteVisibili(LayerGriglia, Giu(C::CB_VisEticPnt)); };
    scelta_[C::NxComboBoxItem1] = [this] { ColoraGriglia(Indice(C::NxComboBoxItem1)); };
    for (const PulsanteColore& p : PulsantiColore())
        click_[p.id] = [this, id = p.id] { OpzioniColore(id); };
    for (const PulsanteCarattere& p : PulsantiCarattere())
        click_[p.id] = [this, id = p.id] { OpzioniCarattere(id); };
    for (const GruppoNomi& g : GruppiNomi())
        premuto_[g.casella] = [this, c = g.casella] { VisNomiClick(c); };
    click_[C::SB_StilePnt] = [this] { SB_StilePntClick(); };
}

void TFMapMain::CaricaOpzioniForm() {
    const auto file = FileDaLeggere("Opzioni.dat");
    if (mappa::Esiste(file)) {
        opz = CaricaOpzioni(file);
        ApplicaOpzioni();
    } else {
        OpzioniPredefiniteForm();
    }
}

void TFMapMain::OpzioniPredefiniteForm() {
    opz = OpzioniPredefinite();
    ApplicaOpzioni();
}

void TFMapMain::ApplicaOpzioni() {
    auto spin = [this](TControllo c, int32_t v) { ImpostaTesto(c, std::to_string(std::clamp<int32_t>(v, 1, 10))); };
    spin(C::SE_SpessBReg, opz.SpessB_Reg);
    spin(C::SE_SpessBProv, opz.SpessB_Prov);
    spin(C::SE_SpessBCom, opz.SpessB_Com);
    spin(C::SE_DimPntGriglia, opz.DimPunti);
    spin(C::SpinEdit3, opz.SpessB_LF);
    spin(C::SpinEdit5, opz.Spess_Stra);
    Map.ImpostaTipoPunto(LayerGriglia, opz.StilePunti);
    indImm = opz.indImmPunti;
    ImpostaImmagine(C::SB_StilePnt, indImm);
    // The picker starts on the saved style, so that leaving it with
    // "Chiudi" keeps that style.
    indTipoPunto = opz.StilePunti + 1;
    const int32_t tempo = opz.indTempoR; // a copy: the record is packed
    ImpostaIndice(C::NxComboBoxItem1, std::clamp<int32_t>(tempo, 0, 8));
    for (const PulsanteColore& p : PulsantiColore())
        ImpostaColore(p.id, Campo<uint32_t>(opz, p.campo));
}

void TFMapMain::LeggiOpzioni() {
    opz.SpessB_Reg = Numero(*this, C::SE_SpessBReg);
    opz.SpessB_Prov = Numero(*this, C::SE_SpessBProv);
    opz.SpessB_Com = Numero(*this, C::SE_SpessBCom);
    opz.DimPunti = Numero(*this, C::SE_DimPntGriglia);
    opz.StilePunti = Map.TipoPunto(LayerGriglia);
    opz.indImmPunti = indImm;
    opz.indTempoR = Indice(C::NxComboBoxItem1);
    opz.SpessB_LF = Numero(*this, C::SpinEdit3);
    opz.Spess_Stra = Numero(*this, C::SpinEdit5);
}

void TFMapMain::ToolButton18Click() {
    LeggiOpzioni();
    try {
        SalvaOpzioni(FileDaScrivere("Opzioni.dat"), opz);
    } catch (const Errore& e) {
        Messaggio(e.what());
    }
}

void TFMapMain::OpzioniSpin(TControllo c) {
    if (c == C::SE_DimPntGriglia) {
        Map.ImpostaDimensionePunto(LayerGriglia, Numero(*this, c));
        return;
    }
    if (const auto it = SpinLayer().find(c); it != SpinLayer().end())
        for (int l : it->second)
            Map.ImpostaSpessoreLinea(l, Numero(*this, c));
}

void TFMapMain::OpzioniCasella(TControllo c) {
    for (int l : CaselleLayer().at(c))
        Map.ImpostaLayerVisibile(l, Giu(c));
}

void TFMapMain::OpzioniColore(TControllo c) {
    const auto it = std::find_if(PulsantiColore().begin(), PulsantiColore().end(),
                                 [c](const PulsanteColore& p) { return p.id == c; });
    const auto scelto = vista_.ScegliColore(Campo<uint32_t>(opz, it->campo));
    if (!scelto)
        return;
    ImpostaCampo<uint32_t>(opz, it->campo, *scelto);
    for (int l : it->linea)
        Map.ImpostaColoreLinea(l, *scelto);
    for (int l : it->riempimento)
        Map.ImpostaColoreRiempimento(l, *scelto);
    ImpostaColore(c, *scelto);
}

void TFMapMain::OpzioniCarattere(TControllo c) {
    const auto it = std::find_if(PulsantiCarattere().begin(), PulsantiCarattere().end(),
                                 [c](const PulsanteCarattere& p) { return p.id == c; });
    const mappa::TCarattere attuale{NomeCarattere(Nome(opz, it->nome)),
                                    static_cast<double>(Campo<int32_t>(opz, it->dimensione))};
    mappa::TColore colore = it->colore ? Campo<uint32_t>(opz, *it->colore) : 0;
    const auto scelto = vista_.ScegliCarattere(attuale, it->colore ? &colore : nullptr);
    if (!scelto)
        return;
    ImpostaNomeCarattere(Nome(opz, it->nome), scelto->nome);
    const auto punti = static_cast<int32_t>(std::lround(scelto->punti));
    if (punti > 0)
        ImpostaCampo<int32_t>(opz, it->dimensione, punti);
    if (it->colore)
        ImpostaCampo<uint32_t>(opz, *it->colore, colore);
    // The labels on the map, names included, take the font and colour now.
    Map.ImpostaStileEtichette(it->layer,
                              {NomeCarattere(Nome(opz, it->nome)),
                               static_cast<double>(Campo<int32_t>(opz, it->dimensione))},
                              it->colore ? std::optional<mappa::TColore>(colore) : std::nullopt);
}

// ---- Names

void TFMapMain::VisNomiClick(TControllo casella) {
    const auto& gruppi = GruppiNomi();
    const auto it = std::find_if(gruppi.begin(), gruppi.end(), [casella](const GruppoNomi& g) { return g.casella == casella; });
    const auto i = static_cast<std::size_t>(it - gruppi.begin());
    const mappa::TShapefile* sf = it->layer == LayerRegioni ? sf_REG.get() : it->layer == LayerProvince ? sf_PROV.get()
                                                                                                      : sf_COM.get();
    static constexpr int Campi[3] = {mappa::CampoNomeRegione, mappa::CampoNomeProvincia, mappa::CampoNomeComune};
    CaricaNomi(NomiCaricati[i], it->descrizione, NomeCarattere(Nome(opz, it->nome)), Campo<int32_t>(opz, it->dimensione),
               Campo<uint32_t>(opz, it->colore), sf, it->layer, Campi[i]);
    Map.ImpostaNomiVisibili(it->layer, Giu(casella));
}

void TFMapMain::CaricaNomi(bool& caricare, const char* descrizione, const std::string& NomeCar, int32_t SizeCar,
                           mappa::TColore ColCar, const mappa::TShapefile* sf, int layer, int campo) {
    if (!caricare)
        return;
    caricare = false;
    const int n = sf ? sf->NumShape() : 0;
    vista_.InizioProgresso(std::string(testi::CaricoNomi) + descrizione + "...", n);
    Map.ImpostaFontLayer(layer, {NomeCar, static_cast<double>(SizeCar)});
    Map.ImpostaColoreEtichette(layer, ColCar);
    for (int i = 0; i < n; ++i) {
        vista_.Progresso(i + 1);
        const mappa::TEstensione& e = sf->Shape(i).estensione;
        Map.AggiungiNome(layer, mappa::Da1252AUtf8(sf->ValoreCella(campo, i)), e.xMin + (e.xMax - e.xMin) / 2,
                         e.yMin + (e.yMax - e.yMin) / 2);
    }
    vista_.FineProgresso();
}

// ---- Point style

void TFMapMain::SB_StilePntClick() {
    mappa::TFStileLayer selettore(indTipoPunto);
    vista_.MostraStilePunti(selettore);
    indTipoPunto = selettore.indTipoPunto;
    Map.ImpostaTipoPunto(LayerGriglia, mappa::TFStileLayer::getTipoStilePunto(indTipoPunto, indImm));
    ImpostaImmagine(C::SB_StilePnt, indImm);
}

} // namespace veltrano::dialogo
