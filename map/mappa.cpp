#include "map/mappa_layer.h"
#include "map/strumenti.h"

#include <algorithm>
#include <cmath>

namespace veltrano::mappa {

TMappa::TMappa() : strumenti_(CreaStrumentiCursore()) {}

TMappa::~TMappa() = default;

TMappa::Layer* TMappa::L(int layer) {
    return layer >= 0 && layer < NumLayer() ? layer_[static_cast<std::size_t>(layer)].get() : nullptr;
}
const TMappa::Layer* TMappa::L(int layer) const {
    return layer >= 0 && layer < NumLayer() ? layer_[static_cast<std::size_t>(layer)].get() : nullptr;
}

void TMappa::Modificata() {
    ++versione_;
    if (AllaModifica)
        AllaModifica();
}

void TMappa::Sovrapposizione() {
    if (AllaModifica)
        AllaModifica();
}

// ---- Layers

int TMappa::AggiungiLayer(std::shared_ptr<const TShapefile> sf, bool visibile) {
    auto l = std::make_unique<Layer>();
    if (sf && sf->Aperto())
        l->sf = std::move(sf);
    l->visibile = visibile;
    if (l->sf)
        l->coloreShape.assign(static_cast<std::size_t>(l->sf->NumShape()), -1);
    layer_.push_back(std::move(l));
    Modificata();
    return NumLayer() - 1;
}

const TShapefile* TMappa::Shapefile(int layer) const {
    const Layer* l = L(layer);
    return l ? l->sf.get() : nullptr;
}

bool TMappa::LayerVisibile(int layer) const { return L(layer) && L(layer)->visibile; }

void TMappa::ImpostaLayerVisibile(int layer, bool v) {
    if (Layer* l = L(layer); l && l->visibile != v) {
        l->visibile = v;
        Modificata();
    }
}

void TMappa::ImpostaSpessoreLinea(int layer, double px) {
    if (Layer* l = L(layer)) {
        l->spessore = px;
        Modificata();
    }
}
double TMappa::SpessoreLinea(int layer) const { return L(layer) ? L(layer)->spessore : 0.0; }

void TMappa::ImpostaDimensionePunto(int layer, double px) {
    if (Layer* l = L(layer)) {
        l->dimPunto = px;
        Modificata();
    }
}
double TMappa::DimensionePunto(int layer) const { return L(layer) ? L(layer)->dimPunto : 0.0; }

void TMappa::ImpostaColoreLinea(int layer, TColore c) {
    if (Layer* l = L(layer)) {
        l->linea = c;
        Modificata();
    }
}
TColore TMappa::ColoreLinea(int layer) const { return L(layer) ? L(layer)->linea : 0; }

void TMappa::ImpostaColoreRiempimento(int layer, TColore c) {
    if (Layer* l = L(layer)) {
        l->riempimento = c;
        std::fill(l->coloreShape.begin(), l->coloreShape.end(), -1);
        Modificata();
    }
}
TColore TMappa::ColoreRiempimento(int layer) const { return L(layer) ? L(layer)->riempimento : 0; }

void TMappa::ImpostaTipoPunto(int layer, int tipo) {
    if (Layer* l = L(layer)) {
        l->tipoPunto = std::clamp(tipo, static_cast<int>(PuntoQuadrato), static_cast<int>(PuntoTriangoloDestra));
        Modificata();
    }
}
int TMappa::TipoPunto(int layer) const { return L(layer) ? L(layer)->tipoPunto : 0; }

void TMappa::ImpostaColoreShape(int layer, int shape, TColore c) {
    Layer* l = L(layer);
    if (!l || shape < 0 || shape >= l->NumShape())
        return;
    l->coloreShape[static_cast<std::size_t>(shape)] = c;
    Modificata();
}
TColore TMappa::ColoreShape(int layer, int shape) const { return L(layer) ? L(layer)->ColoreShape(shape) : 0; }

// ---- Labels

void TMappa::ImpostaFontLayer(int layer, const TCarattere& c) {
    Layer* l = L(layer);
    if (!l)
        return;
    TCarattere f = c;
    if (!(f.punti > 0))
        f.punti = 8;
    if (!(l->caratteri.back() == f)) {
        l->caratteri.push_back(f);
        // Names take the current font.
        if (l->nomiVisibili && !l->nomi.empty())
            Modificata();
    }
}
TCarattere TMappa::FontLayer(int layer) const { return L(layer) ? L(layer)->caratteri.back() : TCarattere{}; }

void TMappa::ImpostaColoreEtichette(int layer, TColore c) {
    if (Layer* l = L(layer); l && l->coloreEtichette != c) {
        l->coloreEtichette = c;
        if (l->nomiVisibili && !l->nomi.empty())
            Modificata();
    }
}
TColore TMappa::ColoreEtichette(int layer) const { return L(layer) ? L(layer)->coloreEtichette : 0; }

void TMappa::AggiungiEtichetta(int layer, const std::string& testo, TColore colore, double x, double y, int giust) {
    if (Layer* l = L(layer)) {
        l->etichette.push_back({testo, x, y, colore, giust, static_cast<int>(l->caratteri.size()) - 1});
        Modificata();
    }
}

void TMappa::CancellaEtichette(int layer) {
    Layer* l = L(layer);
    if (!l)
        return;
    // Fonts of cleared labels are dropped too, keeping the current one.
    l->caratteri.erase(l->caratteri.begin(), l->caratteri.end() - 1);
    if (!l->etichette.empty()) {
        l->etichette.clear();
        Modificata();
    }
}

void TMappa::ImpostaEtichetteVisibili(int layer, bool v) {
    if (Layer* l = L(layer); l && l->etichetteVisibili != v) {
        l->etichetteVisibili = v;
        Modificata();
    }
}
bool TMappa::EtichetteVisibili(int layer) const { return L(layer) && L(layer)->etichetteVisibili; }

const std::vector<TEtichetta>& TMappa::Etichette(int layer) const {
    static const std::vector<TEtichetta> nessuna;
    return L(layer) ? L(layer)->etichette : nessuna;
}

const TCarattere& TMappa::CarattereEtichetta(int layer, const TEtichetta& e) const {
    static const TCarattere predefinito;
    const Layer* l = L(layer);
    if (!l || e.carattere < 0 || static_cast<std::size_t>(e.carattere) >= l->caratteri.size())
        return predefinito;
    return l->caratteri[static_cast<std::size_t>(e.carattere)];
}

void TMappa::ImpostaStileEtichette(int layer, const TCarattere& c, std::optional<TColore> colore) {
    Layer* l = L(layer);
    if (!l)
        return;
    ImpostaFontLayer(layer, c);
    // One font for all: the others are no label's any more.
    l->caratteri.erase(l->caratteri.begin(), l->caratteri.end() - 1);
    if (colore)
        l->coloreEtichette = *colore;
    for (TEtichetta& e : l->etichette) {
        e.carattere = 0;
        if (colore)
            e.colore = *colore;
    }
    Modificata();
}

// ---- Names

void TMappa::AggiungiNome(int layer, const std::string& testo, double x, double y) {
    if (Layer* l = L(layer)) {
        l->nomi.push_back({testo, x, y, 0, 1, 0});
        if (l->nomiVisibili)
            Modificata();
    }
}

const std::vector<TEtichetta>& TMappa::Nomi(int layer) const {
    static const std::vector<TEtichetta> nessuno;
    return L(layer) ? L(layer)->nomi : nessuno;
}

void TMappa::ImpostaNomiVisibili(int layer, bool v) {
    if (Layer* l = L(layer); l && l->nomiVisibili != v) {
        l->nomiVisibili = v;
        Modificata();
    }
}
bool TMappa::NomiVisibili(int layer) const { return L(layer) && L(layer)->nomiVisibili; }

// ---- View

void TMappa::ImpostaDimensioni(int larghezza, int altezza) {
    if (larghezza == vista_.Larghezza() && altezza == vista_.Altezza())
        return;
    vista_.ImpostaDimensioni(larghezza, altezza);
    Modificata();
}

void TMappa::ImpostaEstensione(const TEstensione& e, bool ricorda) {
    const TEstensione prima = vista_.Estensione();
    if (!vista_.ImpostaEstensione(e))
        return;
    if (ricorda)
        precedenti_.push_back(prima);
    Modificata();
}

void TMappa::ZoomEstensioneMassima() {
    TEstensione e = TEstensione::Nessuna();
    for (const auto& l : layer_)
        if (l->sf && l->sf->NumShape() > 0)
            e.Includi(l->sf->Estensione());
    ImpostaEstensione(e);
}

void TMappa::ZoomLayer(int layer) {
    if (const TShapefile* sf = Shapefile(layer))
        ImpostaEstensione(sf->Estensione());
}

void TMappa::ZoomShape(int layer, int shape) {
    const TShapefile* sf = Shapefile(layer);
    if (sf && shape >= 0 && shape < sf->NumShape())
        ImpostaEstensione(sf->Shape(shape).estensione);
}

void TMappa::ZoomIndietro(double f) {
    const TEstensione e = Estensione();
    const double mx = (e.xMax - e.xMin) * f / 2, my = (e.yMax - e.yMin) * f / 2;
    ImpostaEstensione({e.xMin - mx, e.yMin - my, e.xMax + mx, e.yMax + my});
}

void TMappa::ZoomAttorno(TPuntoPx pixel, double f) {
    const TPunto c = PixelAMappa(pixel);
    const TEstensione v = Estensione();
    const double mx = (v.xMax - v.xMin) * f / 2, my = (v.yMax - v.yMin) * f / 2;
    ImpostaEstensione({c.x - mx, c.y - my, c.x + mx, c.y + my});
}

bool TMappa::ZoomPrecedente() {
    if (precedenti_.empty())
        return false;
    const TEstensione e = precedenti_.back();
    precedenti_.pop_back();
    ImpostaEstensione(e, false);
    return true;
}

void TMappa::ImpostaRapportoAspetto(double k) {
    vista_.ImpostaRapporto(k);
    Modificata();
}

// ---- Hit tests

int TMappa::ShapeInPunto(int layer, double x, double y) const {
    const TShapefile* sf = Shapefile(layer);
    if (!sf || sf->Tipo() != ShapePoligono)
        return -1;
    for (int i = 0; i < sf->NumShape(); ++i)
        if (sf->PuntoInShape(i, x, y))
            return i;
    return -1;
}

// ---- Cursor and mouse

void TMappa::ImpostaModoCursore(int modo) {
    if (modo < 0 || modo >= static_cast<int>(strumenti_.size()) || modo == modo_)
        return;
    // A gesture of the old mode must not leave its box or shift behind.
    rettangolo_.reset();
    spostamento_ = {};
    modo_ = modo;
    Sovrapposizione();
}

void TMappa::ImpostaCursoreMappa(int c) {
    cursore_ = c;
    Sovrapposizione();
}

TFormaCursore TMappa::FormaCursore() const {
    if (cursore_ == CursoreCroce)
        return TFormaCursore::Croce;
    return strumenti_[static_cast<std::size_t>(modo_)]->Forma();
}

void TMappa::MousePremuto(TPuntoPx p, int pulsante) {
    strumenti_[static_cast<std::size_t>(modo_)]->Premuto(*this, p, pulsante);
}

void TMappa::MouseMosso(TPuntoPx p, int pulsanti) {
    strumenti_[static_cast<std::size_t>(modo_)]->Mosso(*this, p, pulsanti);
}

void TMappa::MouseRilasciato(TPuntoPx p, int pulsante) {
    strumenti_[static_cast<std::size_t>(modo_)]->Rilasciato(*this, p, pulsante);
}

void TMappa::Rotella(TPuntoPx p, int delta) {
    if (delta != 0)
        ZoomAttorno(p, delta > 0 ? 0.5 : 2.0);
}

void TMappa::ImpostaRettangoloZoom(std::optional<TRettangoloPx> r) {
    rettangolo_ = r;
    Sovrapposizione();
}

void TMappa::ImpostaSpostamento(TPuntoPx d) {
    spostamento_ = d;
    Sovrapposizione();
}

// ---- Drawings

int TMappa::NuovoDisegno() {
    disegni_.emplace_back();
    return NumDisegni() - 1;
}

void TMappa::DisegnaLinea(double x1, double y1, double x2, double y2, double spessore, TColore c) {
    if (disegni_.empty())
        NuovoDisegno();
    disegni_.back().linee.push_back({x1, y1, x2, y2, spessore, c});
    Modificata();
}

void TMappa::DisegnaCerchio(double x, double y, double raggio, TColore c, bool riempito) {
    if (disegni_.empty())
        NuovoDisegno();
    disegni_.back().cerchi.push_back({x, y, raggio, c, riempito});
    Modificata();
}

void TMappa::DisegnaPunto(double x, double y, double dimensione, TColore c) {
    if (disegni_.empty())
        NuovoDisegno();
    disegni_.back().punti.push_back({x, y, dimensione, c});
    Modificata();
}

void TMappa::AggiungiEtichettaDisegno(const std::string& testo, TColore c, double x, double y, int giust) {
    if (disegni_.empty())
        NuovoDisegno();
    disegni_.back().etichette.push_back({testo, x, y, c, giust, 0});
    Modificata();
}

void TMappa::ImpostaOmbraEtichetteDisegno(bool ombra) {
    ombraEtichetteDisegno_ = ombra;
    Modificata();
}

void TMappa::ImpostaDisegnoLibero(bool libero) {
    if (disegni_.empty())
        NuovoDisegno();
    disegni_.back().libero = libero;
    Modificata();
}

void TMappa::CancellaDisegni() {
    if (disegni_.empty())
        return;
    disegni_.clear();
    Modificata();
}

void TMappa::ImpostaColoreSfondo(TColore c) {
    sfondo_ = c;
    Modificata();
}

} // namespace veltrano::mappa
