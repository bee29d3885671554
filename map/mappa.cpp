#include "map/mappa_interno.h"

#include <QResizeEvent>
#include <QWheelEvent>

#include <cmath>

namespace veltrano::mappa {

QColor ColoreQt(TColore c) { return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)); }
TColore ColoreWin(const QColor& c) { return RGBWin(c.red(), c.green(), c.blue()); }

TColore TMappa::Layer::ColoreShape(int i) const {
    if (i >= 0 && static_cast<std::size_t>(i) < coloreShape.size() && coloreShape[static_cast<std::size_t>(i)] >= 0)
        return static_cast<TColore>(coloreShape[static_cast<std::size_t>(i)]);
    return riempimento;
}

TMappa::TMappa(QWidget* padre)
    : QWidget(padre), aspetto_(std::cos(42.0 * 3.14159265358979323846 / 180.0)),
      strumenti_(CreaStrumentiCursore()) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(50, 50);
    AggiornaCursore();
}

TMappa::~TMappa() = default;

TMappa::Layer* TMappa::L(int layer) {
    return layer >= 0 && layer < NumLayer() ? layer_[static_cast<std::size_t>(layer)].get() : nullptr;
}
const TMappa::Layer* TMappa::L(int layer) const {
    return layer >= 0 && layer < NumLayer() ? layer_[static_cast<std::size_t>(layer)].get() : nullptr;
}

void TMappa::Ridisegna() {
    cacheValida_ = false;
    update();
}

int TMappa::AggiungiLayer(std::shared_ptr<const TShapefile> sf, bool visibile) {
    auto l = std::make_unique<Layer>();
    if (sf && sf->Aperto())
        l->sf = std::move(sf);
    l->visibile = visibile;
    l->font = QFont(QStringLiteral("Times New Roman"), 8);
    if (l->sf)
        l->coloreShape.assign(static_cast<std::size_t>(l->sf->NumShape()), -1);
    layer_.push_back(std::move(l));
    Ridisegna();
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
        Ridisegna();
    }
}

#define VELTRANO_PROPRIETA(Nome, campo, Tipo, predefinito)                                          \
    void TMappa::Imposta##Nome(int layer, Tipo v) {                                                  \
        if (Layer* l = L(layer)) {                                                                   \
            l->campo = v;                                                                            \
            Ridisegna();                                                                             \
        }                                                                                            \
    }                                                                                                \
    Tipo TMappa::Nome(int layer) const { return L(layer) ? L(layer)->campo : predefinito; }

VELTRANO_PROPRIETA(SpessoreLinea, spessore, float, 0.0f)
VELTRANO_PROPRIETA(DimensionePunto, dimPunto, float, 0.0f)
VELTRANO_PROPRIETA(ColoreLinea, linea, TColore, 0u)
VELTRANO_PROPRIETA(ColoreRiempimento, riempimento, TColore, 0u)
VELTRANO_PROPRIETA(TipoPunto, tipoPunto, int, 0)
#undef VELTRANO_PROPRIETA

void TMappa::ImpostaColorePuntoShape(int layer, int shape, TColore c) {
    Layer* l = L(layer);
    if (!l || shape < 0 || shape >= l->NumShape())
        return;
    l->coloreShape[static_cast<std::size_t>(shape)] = c;
    Ridisegna();
}
TColore TMappa::ColorePuntoShape(int layer, int shape) const { return L(layer) ? L(layer)->ColoreShape(shape) : 0; }
void TMappa::ImpostaColoreRiempimentoShape(int layer, int shape, TColore c) { ImpostaColorePuntoShape(layer, shape, c); }
TColore TMappa::ColoreRiempimentoShape(int layer, int shape) const { return ColorePuntoShape(layer, shape); }

void TMappa::ImpostaFontLayer(int layer, const QString& nome, int dimensione) {
    if (Layer* l = L(layer))
        l->font = QFont(nome, dimensione > 0 ? dimensione : 8);
}
QFont TMappa::FontLayer(int layer) const { return L(layer) ? L(layer)->font : QFont(); }
void TMappa::ImpostaColoreEtichette(int layer, TColore c) {
    if (Layer* l = L(layer))
        l->coloreEtichette = c;
}
void TMappa::AggiungiEtichetta(int layer, const QString& testo, TColore colore, double x, double y, int giust) {
    if (Layer* l = L(layer)) {
        l->etichette.push_back({testo, x, y, colore, giust});
        Ridisegna();
    }
}
void TMappa::CancellaEtichette(int layer) {
    if (Layer* l = L(layer); l && !l->etichette.empty()) {
        l->etichette.clear();
        Ridisegna();
    }
}
void TMappa::ImpostaEtichetteVisibili(int layer, bool v) {
    if (Layer* l = L(layer)) {
        l->etichetteVisibili = v;
        Ridisegna();
    }
}
bool TMappa::EtichetteVisibili(int layer) const { return L(layer) && L(layer)->etichetteVisibili; }
const std::vector<TEtichetta>& TMappa::Etichette(int layer) const {
    static const std::vector<TEtichetta> nessuna;
    return L(layer) ? L(layer)->etichette : nessuna;
}

// ---- View

TEstensione TMappa::Estensione() const {
    const double mx = width() / (2 * scala_ * aspetto_), my = height() / (2 * scala_);
    return {cx_ - mx, cy_ - my, cx_ + mx, cy_ + my};
}

void TMappa::ImpostaEstensione(const TEstensione& e, bool ricorda) {
    if (e.Vuota())
        return;
    if (ricorda)
        precedenti_.push_back(Estensione());
    cx_ = (e.xMin + e.xMax) / 2;
    cy_ = (e.yMin + e.yMax) / 2;
    const double w = std::max(1, width()), h = std::max(1, height());
    const double dx = (e.xMax - e.xMin) * aspetto_, dy = e.yMax - e.yMin;
    // A point keeps the scale and only moves the centre.
    if (dx > 0 || dy > 0)
        scala_ = std::min(dx > 0 ? w / dx : 1e12, dy > 0 ? h / dy : 1e12);
    Ridisegna();
    emit EstensioneCambiata();
}

void TMappa::ZoomEstensioneMassima() {
    TEstensione e = TEstensione::Nessuna();
    for (const auto& l : layer_)
        if (l->sf)
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

bool TMappa::ZoomPrecedente() {
    if (precedenti_.empty())
        return false;
    const TEstensione e = precedenti_.back();
    precedenti_.pop_back();
    ImpostaEstensione(e, false);
    return true;
}

void TMappa::ImpostaRapportoAspetto(double k) {
    if (k > 0) {
        aspetto_ = k;
        Ridisegna();
    }
}

QPointF TMappa::PixelAMappa(QPointF p) const {
    return {cx_ + (p.x() - width() / 2.0) / (scala_ * aspetto_), cy_ - (p.y() - height() / 2.0) / scala_};
}

QPointF TMappa::MappaAPixel(QPointF m) const {
    return {width() / 2.0 + (m.x() - cx_) * scala_ * aspetto_, height() / 2.0 - (m.y() - cy_) * scala_};
}

// ---- Cursor and mouse

void TMappa::ImpostaModoCursore(int modo) {
    if (modo < 0 || modo >= static_cast<int>(strumenti_.size()))
        return;
    modo_ = modo;
    AggiornaCursore();
}

void TMappa::ImpostaCursoreMappa(int c) {
    cursore_ = c;
    AggiornaCursore();
}

void TMappa::AggiornaCursore() {
    if (cursore_ == CursoreCroce)
        setCursor(Qt::CrossCursor);
    else
        setCursor(strumenti_[static_cast<std::size_t>(modo_)]->Cursore());
}

namespace {
int Modificatori(const QMouseEvent* e) {
    // Shift 1, Ctrl 2, Alt 4, as the dialog's handlers test them.
    const auto m = e->modifiers();
    return (m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) | (m & Qt::AltModifier ? 4 : 0);
}
int Pulsante(Qt::MouseButtons b) {
    return (b & Qt::LeftButton ? 1 : 0) | (b & Qt::RightButton ? 2 : 0) | (b & Qt::MiddleButton ? 4 : 0);
}
} // namespace

void TMappa::mousePressEvent(QMouseEvent* e) {
    strumenti_[static_cast<std::size_t>(modo_)]->Premuto(*this, e);
    if (inviaMouseGiu)
        emit MousePremuto(Pulsante(e->button()), Modificatori(e), int(e->position().x()), int(e->position().y()));
}

void TMappa::mouseMoveEvent(QMouseEvent* e) {
    strumenti_[static_cast<std::size_t>(modo_)]->Mosso(*this, e);
    if (inviaMouseMovimento)
        emit MouseMosso(Pulsante(e->buttons()), Modificatori(e), int(e->position().x()), int(e->position().y()));
}

void TMappa::mouseReleaseEvent(QMouseEvent* e) {
    strumenti_[static_cast<std::size_t>(modo_)]->Rilasciato(*this, e);
    if (inviaMouseSu)
        emit MouseRilasciato(Pulsante(e->button()), Modificatori(e), int(e->position().x()), int(e->position().y()));
}

void TMappa::wheelEvent(QWheelEvent* e) {
    const QPointF c = PixelAMappa(e->position());
    const double f = e->angleDelta().y() > 0 ? 0.5 : 2.0;
    const TEstensione v = Estensione();
    ImpostaEstensione({c.x() - (c.x() - v.xMin) * f, c.y() - (c.y() - v.yMin) * f, c.x() + (v.xMax - c.x()) * f,
                       c.y() + (v.yMax - c.y()) * f});
}

void TMappa::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    Ridisegna();
}

// ---- Drawings

int TMappa::NuovoDisegno(int) {
    disegni_.emplace_back();
    return NumDisegni() - 1;
}

void TMappa::DisegnaLinea(double x1, double y1, double x2, double y2, float spessore, TColore c) {
    if (disegni_.empty())
        NuovoDisegno();
    disegni_.back().linee.push_back({x1, y1, x2, y2, spessore, c});
    Ridisegna();
}

void TMappa::DisegnaCerchio(double x, double y, double raggio, TColore c, bool riempito) {
    if (disegni_.empty())
        NuovoDisegno();
    disegni_.back().cerchi.push_back({x, y, raggio, c, riempito});
    Ridisegna();
}

void TMappa::DisegnaPunto(double x, double y, float dimensione, TColore c) {
    if (disegni_.empty())
        NuovoDisegno();
    disegni_.back().punti.push_back({x, y, dimensione, c});
    Ridisegna();
}

void TMappa::AggiungiEtichettaDisegno(const QString& testo, TColore c, double x, double y, int giust) {
    if (disegni_.empty())
        NuovoDisegno();
    disegni_.back().etichette.push_back({testo, x, y, c, giust});
    Ridisegna();
}

void TMappa::ImpostaOmbraEtichetteDisegno(bool ombra) {
    ombraEtichetteDisegno_ = ombra;
    Ridisegna();
}

void TMappa::CancellaDisegni() {
    disegni_.clear();
    Ridisegna();
}

void TMappa::ImpostaColoreSfondo(TColore c) {
    sfondo_ = c;
    Ridisegna();
}

} // namespace veltrano::mappa
