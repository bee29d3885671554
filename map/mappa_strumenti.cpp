// The cursor modes of TMappa, one class each: zoom in (click or box), zoom
// out, pan, selection and none. Selection and none leave the clicks to the
// map's owner, which gets them through the mouse signals.
#include "map/mappa_interno.h"

namespace veltrano::mappa {

namespace {

class ZoomPiu : public TStrumentoCursore {
public:
    void Premuto(TMappa&, QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton)
            inizio_ = e->position().toPoint(), attivo_ = true;
    }
    void Mosso(TMappa& m, QMouseEvent* e) override {
        if (attivo_) {
            Rettangolo(m) = QRect(inizio_, e->position().toPoint());
            Aggiorna(m);
        }
    }
    void Rilasciato(TMappa& m, QMouseEvent* e) override {
        if (!attivo_)
            return;
        attivo_ = false;
        const QRect r = QRect(inizio_, e->position().toPoint()).normalized();
        Rettangolo(m) = QRect();
        if (r.width() > 4 && r.height() > 4) {
            const QPointF a = m.PixelAMappa(r.bottomLeft()), b = m.PixelAMappa(r.topRight());
            m.ImpostaEstensione({a.x(), a.y(), b.x(), b.y()});
        } else {
            ZoomAttorno(m, e->position(), 0.5);
        }
    }
    Qt::CursorShape Cursore() const override { return Qt::CrossCursor; }

    static void ZoomAttorno(TMappa& m, QPointF pixel, double f) {
        const QPointF c = m.PixelAMappa(pixel);
        const TEstensione v = m.Estensione();
        const double mx = (v.xMax - v.xMin) * f / 2, my = (v.yMax - v.yMin) * f / 2;
        m.ImpostaEstensione({c.x() - mx, c.y() - my, c.x() + mx, c.y() + my});
    }

private:
    QPoint inizio_;
    bool attivo_ = false;
};

class ZoomMeno : public TStrumentoCursore {
public:
    void Rilasciato(TMappa& m, QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton)
            ZoomPiu::ZoomAttorno(m, e->position(), 2.0);
    }
    Qt::CursorShape Cursore() const override { return Qt::CrossCursor; }
};

class Pan : public TStrumentoCursore {
public:
    void Premuto(TMappa&, QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton)
            inizio_ = e->position().toPoint(), attivo_ = true;
    }
    void Mosso(TMappa& m, QMouseEvent* e) override {
        if (attivo_) {
            Spostamento(m) = e->position().toPoint() - inizio_;
            Aggiorna(m);
        }
    }
    void Rilasciato(TMappa& m, QMouseEvent* e) override {
        if (!attivo_)
            return;
        attivo_ = false;
        const QPoint d = e->position().toPoint() - inizio_;
        Spostamento(m) = QPoint();
        const QPointF a = m.PixelAMappa(QPointF(-d.x(), m.height() - d.y()));
        const QPointF b = m.PixelAMappa(QPointF(m.width() - d.x(), -d.y()));
        m.ImpostaEstensione({a.x(), a.y(), b.x(), b.y()});
    }
    Qt::CursorShape Cursore() const override { return attivo_ ? Qt::ClosedHandCursor : Qt::OpenHandCursor; }

private:
    QPoint inizio_;
    bool attivo_ = false;
};

class Selezione : public TStrumentoCursore {
    Qt::CursorShape Cursore() const override { return Qt::PointingHandCursor; }
};

class Nessuno : public TStrumentoCursore {};

} // namespace

std::vector<std::unique_ptr<TStrumentoCursore>> CreaStrumentiCursore() {
    std::vector<std::unique_ptr<TStrumentoCursore>> v;
    v.push_back(std::make_unique<ZoomPiu>());
    v.push_back(std::make_unique<ZoomMeno>());
    v.push_back(std::make_unique<Pan>());
    v.push_back(std::make_unique<Selezione>());
    v.push_back(std::make_unique<Nessuno>());
    return v;
}

} // namespace veltrano::mappa
