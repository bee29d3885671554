#include "ui/qt/pittore_qt.h"

#include <QPaintEngine>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace veltrano::ui {

using namespace mappa;

QColor ColoreQt(TColore c) { return QColor(RossoDi(c), VerdeDi(c), BluDi(c)); }
TColore ColoreWin(const QColor& c) { return RGBWin(c.red(), c.green(), c.blue()); }

QImage ImmagineQt(const TImmagine& im) {
    if (im.Vuota())
        return {};
    QImage q(im.larghezza, im.altezza, QImage::Format_ARGB32);
    for (int y = 0; y < im.altezza; ++y)
        std::memcpy(q.scanLine(y), im.pixel.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(im.larghezza),
                    static_cast<std::size_t>(im.larghezza) * 4);
    return q;
}

TImmagine DaImmagineQt(const QImage& sorgente) {
    const QImage q = sorgente.convertToFormat(QImage::Format_ARGB32);
    TImmagine im;
    im.larghezza = q.width();
    im.altezza = q.height();
    im.pixel.resize(static_cast<std::size_t>(im.larghezza) * static_cast<std::size_t>(im.altezza));
    for (int y = 0; y < im.altezza; ++y)
        std::memcpy(im.pixel.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(im.larghezza),
                    q.constScanLine(y), static_cast<std::size_t>(im.larghezza) * 4);
    return im;
}

namespace {

// Grows the set pixels of an 8-bit mask into w x w squares (w >= 2): a
// w-pixel outline made from the one-pixel outline, soft edges included.
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

TPittoreQt::TPittoreQt(QPainter& p) : p_(p) {}

QPen TPittoreQt::Penna(const TPenna& penna) const {
    if (!(penna.spessore > 0))
        return Qt::NoPen;
    QPen q(ColoreQt(penna.colore));
    q.setWidthF(penna.spessore);
    q.setCosmetic(true);
    q.setJoinStyle(Qt::RoundJoin);
    q.setCapStyle(Qt::RoundCap);
    if (penna.tratto == TTratto::Tratteggiato)
        q.setStyle(Qt::DashLine);
    else if (penna.tratto == TTratto::Punteggiato)
        q.setStyle(Qt::DotLine);
    return q;
}

void TPittoreQt::Poligoni(const TLottoPoligoni& l) {
    auto anello = [&](std::size_t r) -> const QPolygonF& {
        anello_.clear();
        for (std::size_t i = l.InizioAnello(r); i < l.FineAnello(r); ++i)
            anello_.append(QPointF(l.punti[i].x, l.punti[i].y));
        return anello_;
    };
    // Fills first, in polygon order, then every outline over them.
    p_.setPen(Qt::NoPen);
    QPainterPath percorso;
    for (std::size_t k = 0; k < l.NumPoligoni(); ++k) {
        if (!l.riempimenti[k])
            continue;
        p_.setBrush(ColoreQt(*l.riempimenti[k]));
        const std::size_t a = l.poligoni[k], b = l.FineRinghiPoligono(k);
        if (b - a == 1) {
            p_.drawPolygon(anello(a), Qt::OddEvenFill);
            continue;
        }
        percorso.clear();
        percorso.setFillRule(Qt::OddEvenFill);
        for (std::size_t r = a; r < b; ++r)
            percorso.addPolygon(anello(r)), percorso.closeSubpath();
        p_.drawPath(percorso);
    }
    const QPen penna = Penna(l.contorno);
    if (penna.style() == Qt::NoPen)
        return;
    const int w = static_cast<int>(std::lround(l.contorno.spessore));
    // Wide solid outlines on an image: the smooth one-pixel outline on a
    // mask, grown to the width. Stroking a wide pen over thousands of small
    // rings costs ten times as much, for the same picture to a pixel.
    if (w >= 2 && l.contorno.tratto == TTratto::Continuo && p_.paintEngine() &&
        p_.paintEngine()->type() == QPaintEngine::Raster && p_.transform().isIdentity()) {
        const QRect area = p_.viewport();
        QImage maschera(area.size(), QImage::Format_Alpha8);
        maschera.fill(0);
        {
            QPainter q(&maschera);
            q.setRenderHint(QPainter::Antialiasing, p_.testRenderHint(QPainter::Antialiasing));
            q.setPen(QPen(QColor(0, 0, 0, 255), 0));
            q.translate(-area.x() - (w - 1) / 2.0, -area.y() - (w - 1) / 2.0);
            for (std::size_t r = 0; r < l.anelli.size(); ++r)
                q.drawPolygon(anello(r));
        }
        Dilata(maschera, w);
        QImage linea(area.size(), QImage::Format_ARGB32_Premultiplied);
        linea.fill(ColoreQt(l.contorno.colore));
        linea.setAlphaChannel(maschera);
        p_.drawImage(area.topLeft(), linea);
        return;
    }
    p_.setPen(penna);
    p_.setBrush(Qt::NoBrush);
    for (std::size_t r = 0; r < l.anelli.size(); ++r)
        p_.drawPolygon(anello(r));
}

void TPittoreQt::Linee(const TLottoLinee& l) {
    const QPen penna = Penna(l.penna);
    if (penna.style() == Qt::NoPen)
        return;
    p_.setPen(penna);
    p_.setBrush(Qt::NoBrush);
    for (std::size_t k = 0; k < l.linee.size(); ++k) {
        anello_.clear();
        for (std::size_t i = l.linee[k]; i < l.Fine(k); ++i)
            anello_.append(QPointF(l.punti[i].x, l.punti[i].y));
        p_.drawPolyline(anello_);
    }
}

void TPittoreQt::Simboli(TTipoPunto tipo, double d, std::span<const TPuntoPx> centri, std::span<const TColore> colori) {
    const double r = d / 2;
    p_.setPen(Qt::NoPen);
    for (std::size_t i = 0; i < centri.size(); ++i) {
        const QPointF c(centri[i].x, centri[i].y);
        const QColor col = ColoreQt(i < colori.size() ? colori[i] : 0);
        switch (tipo) {
        case PuntoQuadrato:
            p_.fillRect(QRectF(c.x() - r, c.y() - r, d, d), col);
            continue;
        case PuntoCerchio:
            p_.setBrush(col);
            p_.drawEllipse(c, r, r);
            continue;
        default:
            break;
        }
        QPolygonF s;
        switch (tipo) {
        case PuntoRombo: s = {{c.x(), c.y() - r}, {c.x() + r, c.y()}, {c.x(), c.y() + r}, {c.x() - r, c.y()}}; break;
        case PuntoTriangoloSu: s = {{c.x(), c.y() - r}, {c.x() + r, c.y() + r}, {c.x() - r, c.y() + r}}; break;
        case PuntoTriangoloGiu: s = {{c.x() - r, c.y() - r}, {c.x() + r, c.y() - r}, {c.x(), c.y() + r}}; break;
        case PuntoTriangoloSinistra: s = {{c.x() - r, c.y()}, {c.x() + r, c.y() - r}, {c.x() + r, c.y() + r}}; break;
        default: s = {{c.x() - r, c.y() - r}, {c.x() + r, c.y()}, {c.x() - r, c.y() + r}}; break;
        }
        p_.setBrush(col);
        p_.drawPolygon(s);
    }
}

void TPittoreQt::Ellisse(TPuntoPx c, double rx, double ry, const TPenna& penna, std::optional<TColore> riempimento) {
    p_.setPen(Penna(penna));
    p_.setBrush(riempimento ? QBrush(ColoreQt(*riempimento)) : QBrush(Qt::NoBrush));
    p_.drawEllipse(QPointF(c.x, c.y), rx, ry);
}

void TPittoreQt::Rettangolo(const TRettangoloPx& r, const TPenna& penna, std::optional<TColore> riempimento) {
    const QRectF q(r.x, r.y, r.larghezza, r.altezza);
    if (riempimento)
        p_.fillRect(q, ColoreQt(*riempimento));
    const QPen pen = Penna(penna);
    if (pen.style() != Qt::NoPen) {
        p_.setPen(pen);
        p_.setBrush(Qt::NoBrush);
        p_.drawRect(q);
    }
}

const TPittoreQt::Carattere& TPittoreQt::Font(const TCarattere& c) {
    for (const Carattere& k : caratteri_)
        if (k.chiave == c)
            return k;
    QFont f(QString::fromStdString(c.nome));
    f.setPointSizeF(c.punti > 0 ? c.punti : 8);
    f.setBold(c.grassetto);
    f.setItalic(c.corsivo);
    caratteri_.push_back({c, f, QFontMetricsF(f, p_.device())});
    return caratteri_.back();
}

void TPittoreQt::Testo(TPuntoPx base, std::string_view testo, const TCarattere& c, TColore colore) {
    p_.setFont(Font(c).font);
    p_.setPen(ColoreQt(colore));
    p_.drawText(QPointF(base.x, base.y), QString::fromUtf8(testo.data(), static_cast<qsizetype>(testo.size())));
}

TMetricaTesto TPittoreQt::MisuraTesto(std::string_view testo, const TCarattere& c) {
    const QFontMetricsF& m = Font(c).metriche;
    return {m.horizontalAdvance(QString::fromUtf8(testo.data(), static_cast<qsizetype>(testo.size()))), m.lineSpacing(),
            m.ascent()};
}

void TPittoreQt::Immagine(const TRettangoloPx& d, const TImmagine& im) {
    p_.drawImage(QRectF(d.x, d.y, d.larghezza, d.altezza), ImmagineQt(im));
}

void TPittoreQt::Ritaglia(std::optional<TRettangoloPx> r) {
    if (r)
        p_.setClipRect(QRectF(r->x, r->y, r->larghezza, r->altezza));
    else
        p_.setClipping(false);
}

void TPittoreQt::Antialias(bool attivo) {
    p_.setRenderHint(QPainter::Antialiasing, attivo);
    p_.setRenderHint(QPainter::TextAntialiasing, true);
}

} // namespace veltrano::ui
