// Drawing of TMappa: layers in handle order, then the labels of every layer,
// then the drawings. Outlines are drawn as paths in map units through one
// transform with cosmetic pens, so their width stays in pixels.
#include "map/mappa_interno.h"

#include <QPaintEvent>

#include <algorithm>
#include <cmath>

namespace veltrano::mappa {

namespace {

constexpr double MicroGrado = 1e-6;

bool Interseca(const TEstensione& a, const TEstensione& b) {
    return !(a.xMax < b.xMin || a.xMin > b.xMax || a.yMax < b.yMin || a.yMin > b.yMax);
}

QTransform Trasformazione(double cx, double cy, double sx, double sy, QSize area) {
    QTransform t;
    t.translate(area.width() / 2.0, area.height() / 2.0);
    t.scale(sx, -sy);
    t.translate(-cx, -cy);
    return t;
}

QPolygonF Simbolo(int tipo, QPointF c, double d) {
    const double r = d / 2;
    switch (tipo) {
    case PuntoRombo: return QPolygonF({{c.x(), c.y() - r}, {c.x() + r, c.y()}, {c.x(), c.y() + r}, {c.x() - r, c.y()}});
    case PuntoTriangoloSu: return QPolygonF({{c.x(), c.y() - r}, {c.x() + r, c.y() + r}, {c.x() - r, c.y() + r}});
    case PuntoTriangoloGiu: return QPolygonF({{c.x() - r, c.y() - r}, {c.x() + r, c.y() - r}, {c.x(), c.y() + r}});
    case PuntoTriangoloSinistra: return QPolygonF({{c.x() - r, c.y()}, {c.x() + r, c.y() - r}, {c.x() + r, c.y() + r}});
    case PuntoTriangoloDestra: return QPolygonF({{c.x() - r, c.y() - r}, {c.x() + r, c.y()}, {c.x() - r, c.y() + r}});
    default: return {};
    }
}

void DisegnaTesto(QPainter& p, QPointF pos, const QString& testo, int giust, const QColor& colore, bool ombra) {
    QString t = testo;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const QFontMetricsF fm(p.font());
    const QStringList righe = t.split(QLatin1Char('\n'));
    const double h = fm.lineSpacing() * righe.size();
    double y = giust == 1 ? pos.y() - h / 2 : pos.y() - h;
    for (const QString& r : righe) {
        const double w = fm.horizontalAdvance(r);
        const QPointF a(giust == 1 ? pos.x() - w / 2 : pos.x(), y + fm.ascent());
        if (ombra) {
            p.setPen(Qt::white);
            p.drawText(a + QPointF(1, 1), r);
        }
        p.setPen(colore);
        p.drawText(a, r);
        y += fm.lineSpacing();
    }
}

} // namespace

int Livello(double pixelPerGrado) {
    // Half a pixel is below what the eye sees on the outline.
    const double tolleranza = 0.5 / pixelPerGrado;
    if (!(tolleranza > MicroGrado))
        return -1;
    return static_cast<int>(std::floor(std::log2(tolleranza / MicroGrado)));
}

QPainterPath PercorsoSemplificato(const TShape& s, double tol) {
    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);
    const std::size_t np = s.parti.size();
    const double tol2 = tol * tol;
    QPolygonF anello;
    for (std::size_t k = 0; k < np; ++k) {
        const std::size_t a = static_cast<std::size_t>(s.parti[k]);
        const std::size_t b = k + 1 < np ? static_cast<std::size_t>(s.parti[k + 1]) : s.punti.size();
        if (b <= a)
            continue;
        anello.clear();
        anello.append({s.punti[a].x, s.punti[a].y});
        for (std::size_t i = a + 1; i < b; ++i) {
            const QPointF& u = anello.back();
            const double dx = s.punti[i].x - u.x(), dy = s.punti[i].y - u.y();
            if (dx * dx + dy * dy >= tol2 || i + 1 == b)
                anello.append({s.punti[i].x, s.punti[i].y});
        }
        // A ring smaller than the tolerance still shows as a dot-sized triangle.
        if (anello.size() < 4 && b - a >= 4)
            anello = QPolygonF({{s.punti[a].x, s.punti[a].y},
                                {s.punti[a + (b - a) / 3].x, s.punti[a + (b - a) / 3].y},
                                {s.punti[a + 2 * (b - a) / 3].x, s.punti[a + 2 * (b - a) / 3].y}});
        if (s.tipo == ShapePoligono)
            path.addPolygon(anello), path.closeSubpath();
        else {
            path.moveTo(anello.front());
            for (qsizetype i = 1; i < anello.size(); ++i)
                path.lineTo(anello[i]);
        }
    }
    return path;
}

const std::vector<QPainterPath>& TMappa::Layer::Percorsi(int livello) const {
    auto it = percorsi.find(livello);
    if (it != percorsi.end())
        return it->second;
    std::vector<QPainterPath>& v = percorsi[livello];
    const double tol = livello < 0 ? 0.0 : std::ldexp(MicroGrado, livello);
    v.reserve(static_cast<std::size_t>(NumShape()));
    for (int i = 0; i < NumShape(); ++i)
        v.push_back(PercorsoSemplificato(sf->Shape(i), tol));
    return v;
}

void TMappa::DisegnaLayer(QPainter& p, const Layer& l, const TEstensione& vista) const {
    if (!l.sf || !l.visibile)
        return;
    if (l.sf->Tipo() == ShapePunto) {
        DisegnaPunti(p, l, vista);
        return;
    }
    // Vertices go to whole pixels, dropping those within a pixel of the
    // last one kept: at full extent a municipality keeps a few dozen points
    // of its thousands, and the raster engine's integer paths do the rest.
    const QTransform t = p.transform();
    const double m11 = t.m11(), m22 = t.m22(), dx = t.dx(), dy = t.dy();
    auto& anelli = anelli_;
    auto& shapeAnelli = shapeAnelli_;
    anelli.clear();
    shapeAnelli.clear();
    std::size_t usati = 0;
    for (int i = 0; i < l.NumShape(); ++i) {
        const TShape& s = l.sf->Shape(i);
        if (s.punti.empty() || !Interseca(s.estensione, vista))
            continue;
        shapeAnelli.push_back({i, usati});
        const std::size_t np = s.parti.size();
        for (std::size_t k = 0; k < np; ++k) {
            const std::size_t a = static_cast<std::size_t>(s.parti[k]);
            const std::size_t b = k + 1 < np ? static_cast<std::size_t>(s.parti[k + 1]) : s.punti.size();
            if (usati == anelli.size())
                anelli.emplace_back();
            QPolygon& anello = anelli[usati++];
            anello.clear();
            for (std::size_t v = a; v < b; ++v) {
                const QPoint q(static_cast<int>(std::lround(s.punti[v].x * m11 + dx)),
                               static_cast<int>(std::lround(s.punti[v].y * m22 + dy)));
                if (anello.isEmpty() || v + 1 == b ||
                    std::max(std::abs(q.x() - anello.back().x()), std::abs(q.y() - anello.back().y())) >= 2)
                    anello.append(q);
            }
        }
    }
    shapeAnelli.push_back({-1, usati});
    p.save();
    p.resetTransform();
    if (l.sf->Tipo() == ShapePoligono) {
        p.setPen(Qt::NoPen);
        TColore ultimo = ~0u;
        QPainterPath percorso;
        for (std::size_t k = 0; k + 1 < shapeAnelli.size(); ++k) {
            const TColore c = l.ColoreShape(shapeAnelli[k].first);
            if (c != ultimo) {
                p.setBrush(ColoreQt(c));
                ultimo = c;
            }
            const std::size_t a = shapeAnelli[k].second, b = shapeAnelli[k + 1].second;
            if (b - a == 1) {
                p.drawPolygon(anelli[a]);
                continue;
            }
            percorso.clear();
            percorso.setFillRule(Qt::OddEvenFill);
            for (std::size_t r = a; r < b; ++r)
                percorso.addPolygon(QPolygonF(anelli[r])), percorso.closeSubpath();
            p.drawPath(percorso);
        }
    }
    DisegnaContorni(p, l, usati);
    p.restore();
}

namespace {

// Grows the set pixels of an 8-bit mask into w x w squares (w >= 2): the
// outline of a w-pixel pen, made from the one-pixel outline in two passes.
void Dilata(QImage& m, int w) {
    const int W = m.width(), H = m.height();
    std::vector<uchar> riga(static_cast<std::size_t>(W));
    for (int y = 0; y < H; ++y) {
        uchar* r = m.scanLine(y);
        std::copy(r, r + W, riga.begin());
        for (int x = 0; x < W; ++x) {
            uchar v = 0;
            for (int k = 0; k < w && x - k >= 0; ++k)
                v = std::max(v, riga[static_cast<std::size_t>(x - k)]);
            r[x] = v;
        }
    }
    for (int y = H - 1; y >= 0; --y) {
        uchar* r = m.scanLine(y);
        for (int k = 1; k < w && y - k >= 0; ++k) {
            const uchar* s = m.scanLine(y - k);
            for (int x = 0; x < W; ++x)
                r[x] = std::max(r[x], s[x]);
        }
    }
}

} // namespace

void TMappa::DisegnaContorni(QPainter& p, const Layer& l, std::size_t n) const {
    if (!(l.spessore > 0))
        return;
    const bool chiusi = l.sf->Tipo() == ShapePoligono;
    const int w = std::max(1, static_cast<int>(std::lround(l.spessore)));
    const QColor colore = ColoreQt(l.linea);
    auto disegna = [&](QPainter& q) {
        q.setBrush(Qt::NoBrush);
        for (std::size_t r = 0; r < n; ++r)
            chiusi ? q.drawPolygon(anelli_[r]) : q.drawPolyline(anelli_[r]);
    };
    if (w == 1) {
        p.setPen(QPen(colore, 0));
        disegna(p);
        return;
    }
    // Wider outlines: the one-pixel outline on a mask, grown to the width.
    // Stroking a wide pen over thousands of small rings is several times
    // slower, and the outline is the same to a pixel.
    const QRect area = p.viewport();
    QImage maschera(area.size(), QImage::Format_Alpha8);
    maschera.fill(0);
    {
        QPainter q(&maschera);
        q.setPen(QPen(QColor(0, 0, 0, 255), 0));
        q.translate(-(w - 1) / 2, -(w - 1) / 2);
        disegna(q);
    }
    Dilata(maschera, w);
    QImage linea(area.size(), QImage::Format_ARGB32_Premultiplied);
    linea.fill(colore);
    linea.setAlphaChannel(maschera);
    p.drawImage(area.topLeft(), linea);
}

void TMappa::DisegnaPunti(QPainter& p, const Layer& l, const TEstensione& vista) const {
    const QTransform t = p.transform();
    p.save();
    p.resetTransform();
    p.setPen(Qt::NoPen);
    const double d = l.dimPunto;
    for (int i = 0; i < l.NumShape(); ++i) {
        const TShape& s = l.sf->Shape(i);
        if (s.punti.empty() || !Interseca(s.estensione, vista))
            continue;
        const QPointF c = t.map(QPointF(s.punti[0].x, s.punti[0].y));
        const QColor col = ColoreQt(l.ColoreShape(i));
        if (l.tipoPunto == PuntoQuadrato) {
            p.fillRect(QRectF(c.x() - d / 2, c.y() - d / 2, d, d), col);
            continue;
        }
        p.setBrush(col);
        if (l.tipoPunto == PuntoCerchio)
            p.drawEllipse(c, d / 2, d / 2);
        else
            p.drawPolygon(Simbolo(l.tipoPunto, c, d));
    }
    p.restore();
}

void TMappa::DisegnaEtichette(QPainter& p, const Layer& l) const {
    if (!l.etichetteVisibili || l.etichette.empty() || (l.sf && !l.visibile))
        return;
    p.setFont(l.font);
    const QRectF area(-200, -50, width() + 400, height() + 100);
    for (const TEtichetta& e : l.etichette) {
        const QPointF c = MappaAPixel({e.x, e.y});
        if (area.contains(c))
            DisegnaTesto(p, c, e.testo, e.giustificazione, ColoreQt(e.colore), false);
    }
}

void TMappa::DisegnaDisegni(QPainter& p) const {
    for (const TDisegno& d : disegni_) {
        for (const auto& l : d.linee) {
            QPen penna(ColoreQt(l.c));
            penna.setWidthF(l.spessore);
            p.setPen(penna);
            p.drawLine(MappaAPixel({l.x1, l.y1}), MappaAPixel({l.x2, l.y2}));
        }
        for (const auto& c : d.cerchi) {
            const QPointF o = MappaAPixel({c.x, c.y});
            const double r = c.r * scala_;
            p.setPen(ColoreQt(c.c));
            p.setBrush(c.pieno ? QBrush(ColoreQt(c.c)) : QBrush(Qt::NoBrush));
            p.drawEllipse(o, r * aspetto_, r);
        }
        for (const auto& q : d.punti) {
            const QPointF o = MappaAPixel({q.x, q.y});
            p.fillRect(QRectF(o.x() - q.dim / 2, o.y() - q.dim / 2, q.dim, q.dim), ColoreQt(q.c));
        }
        p.setFont(font());
        for (const TEtichetta& e : d.etichette)
            DisegnaTesto(p, MappaAPixel({e.x, e.y}), e.testo, e.giustificazione, ColoreQt(e.colore),
                         ombraEtichetteDisegno_);
    }
}

void TMappa::Disegna(QPainter& p, const QSize& area) const {
    p.fillRect(QRect(QPoint(0, 0), area), ColoreQt(sfondo_));
    const TEstensione vista = Estensione();
    p.save();
    p.setTransform(Trasformazione(cx_, cy_, scala_ * aspetto_, scala_, area));
    for (const auto& l : layer_)
        DisegnaLayer(p, *l, vista);
    p.restore();
    p.setRenderHint(QPainter::TextAntialiasing);
    for (const auto& l : layer_)
        DisegnaEtichette(p, *l);
    p.setRenderHint(QPainter::Antialiasing);
    DisegnaDisegni(p);
}

QImage TMappa::Immagine() const {
    QImage im(size(), QImage::Format_RGB32);
    QPainter p(&im);
    Disegna(p, size());
    return im;
}

void TMappa::paintEvent(QPaintEvent*) {
    if (!cacheValida_ || cache_.size() != size()) {
        cache_ = Immagine();
        cacheValida_ = true;
    }
    QPainter p(this);
    if (!spostamento_.isNull())
        p.fillRect(rect(), ColoreQt(sfondo_));
    p.drawImage(spostamento_, cache_);
    if (!rettangolo_.isNull()) {
        p.setPen(QPen(Qt::black, 1, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(rettangolo_.normalized());
    }
}

} // namespace veltrano::mappa
