#include "ui/qt/widget_mappa.h"

#include "map/strumenti.h"
#include "ui/qt/cursori_qt.h"
#include "ui/qt/pittore_qt.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

namespace veltrano::ui {

namespace {

int Pulsante(Qt::MouseButtons b) {
    return (b & Qt::LeftButton ? mappa::PulsanteSinistro : 0) | (b & Qt::RightButton ? mappa::PulsanteDestro : 0) |
           (b & Qt::MiddleButton ? mappa::PulsanteCentrale : 0);
}

mappa::TPuntoPx Punto(const QPointF& p) { return {p.x(), p.y()}; }

} // namespace

TWidgetMappa::TWidgetMappa(QWidget* padre) : QWidget(padre) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(50, 50);
}

TWidgetMappa::~TWidgetMappa() {
    if (mappa_)
        mappa_->AllaModifica = nullptr;
}

void TWidgetMappa::ImpostaMappa(mappa::TMappa* m) {
    if (mappa_)
        mappa_->AllaModifica = nullptr;
    mappa_ = m;
    versione_ = ~uint64_t{0};
    if (mappa_) {
        mappa_->AllaModifica = [this] {
            AggiornaCursore();
            update();
        };
        mappa_->ImpostaDimensioni(width(), height());
        AggiornaCursore();
    }
    update();
}

void TWidgetMappa::AggiornaCursore() {
    // The library's own cursors; the arrow where none is drawn.
    if (mappa_)
        setCursor(CursoreSchermo(mappa::CursoreSchermoDi(mappa_->FormaCursore())));
}

const QImage& TWidgetMappa::Disegnata() {
    if (!mappa_) {
        cache_ = QImage(size(), QImage::Format_ARGB32_Premultiplied);
        cache_.fill(Qt::white);
        return cache_;
    }
    const QSize area(mappa_->Larghezza(), mappa_->Altezza());
    if (versione_ != mappa_->Versione() || cache_.size() != area) {
        cache_ = QImage(area, QImage::Format_ARGB32_Premultiplied);
        QPainter p(&cache_);
        TPittoreQt pittore(p);
        mappa_->Disegna(pittore);
        versione_ = mappa_->Versione();
    }
    return cache_;
}

QImage TWidgetMappa::Immagine() { return Disegnata().convertToFormat(QImage::Format_RGB32); }

void TWidgetMappa::paintEvent(QPaintEvent*) {
    const QImage& im = Disegnata();
    QPainter p(this);
    QPoint spostamento;
    if (mappa_)
        spostamento = QPoint(static_cast<int>(mappa_->Spostamento().x), static_cast<int>(mappa_->Spostamento().y));
    if (!spostamento.isNull() || im.size() != size())
        p.fillRect(rect(), mappa_ ? ColoreQt(mappa_->ColoreSfondo()) : QColor(Qt::white));
    p.drawImage(spostamento, im);
    if (mappa_)
        if (const auto r = mappa_->RettangoloZoom()) {
            p.setPen(QPen(Qt::black, 1, Qt::DashLine));
            p.setBrush(Qt::NoBrush);
            p.drawRect(QRectF(r->x, r->y, r->larghezza, r->altezza));
        }
}

void TWidgetMappa::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    if (AlRidimensionamento)
        AlRidimensionamento(width(), height());
    else if (mappa_)
        mappa_->ImpostaDimensioni(width(), height());
}

void TWidgetMappa::mousePressEvent(QMouseEvent* e) {
    if (AlPremuto)
        AlPremuto(Punto(e->position()), Pulsante(e->button()));
    else if (mappa_)
        mappa_->MousePremuto(Punto(e->position()), Pulsante(e->button()));
}

void TWidgetMappa::mouseMoveEvent(QMouseEvent* e) {
    if (AlMovimento)
        AlMovimento(Punto(e->position()), Pulsante(e->buttons()));
    else if (mappa_)
        mappa_->MouseMosso(Punto(e->position()), Pulsante(e->buttons()));
}

void TWidgetMappa::mouseReleaseEvent(QMouseEvent* e) {
    if (AlRilascio)
        AlRilascio(Punto(e->position()), Pulsante(e->button()));
    else if (mappa_)
        mappa_->MouseRilasciato(Punto(e->position()), Pulsante(e->button()));
}

void TWidgetMappa::wheelEvent(QWheelEvent* e) {
    const int delta = e->angleDelta().y();
    if (AllaRotella)
        AllaRotella(Punto(e->position()), delta);
    else if (mappa_)
        mappa_->Rotella(Punto(e->position()), delta);
}

} // namespace veltrano::ui
