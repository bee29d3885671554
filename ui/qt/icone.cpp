#include "ui/qt/icone.h"

#include "ui/qt/pittore_qt.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>

#include <algorithm>
#include <functional>

namespace veltrano::ui {

namespace {

using C = dialogo::TControllo;

QIcon Icona(const std::function<void(QPainter&)>& disegna) {
    QPixmap pm(22, 22);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    disegna(p);
    return QIcon(pm);
}

QIcon Lente(int segno) {
    return Icona([segno](QPainter& p) {
        p.setPen(QPen(QColor(40, 40, 40), 2));
        p.setBrush(QColor(220, 240, 255));
        p.drawEllipse(QRectF(2, 2, 13, 13));
        p.setPen(QPen(QColor(90, 60, 20), 3));
        p.drawLine(QPointF(13.5, 13.5), QPointF(20, 20));
        p.setPen(QPen(QColor(0, 0, 128), 2));
        p.drawLine(QPointF(5.5, 8.5), QPointF(11.5, 8.5));
        if (segno > 0)
            p.drawLine(QPointF(8.5, 5.5), QPointF(8.5, 11.5));
    });
}

QIcon Mirino() {
    return Icona([](QPainter& p) {
        p.setPen(QPen(Qt::red, 2));
        p.drawEllipse(QRectF(5, 5, 12, 12));
        p.drawLine(QPointF(11, 1), QPointF(11, 21));
        p.drawLine(QPointF(1, 11), QPointF(21, 11));
    });
}

QIcon Frecce() {
    return Icona([](QPainter& p) {
        p.setPen(QPen(QColor(120, 80, 30), 2));
        p.drawLine(QPointF(11, 2), QPointF(11, 20));
        p.drawLine(QPointF(2, 11), QPointF(20, 11));
        p.setBrush(QColor(120, 80, 30));
        p.drawPolygon(QPolygonF({{11, 1}, {7, 6}, {15, 6}}));
        p.drawPolygon(QPolygonF({{11, 21}, {7, 16}, {15, 16}}));
        p.drawPolygon(QPolygonF({{1, 11}, {6, 7}, {6, 15}}));
        p.drawPolygon(QPolygonF({{21, 11}, {16, 7}, {16, 15}}));
    });
}

QIcon Stampante() {
    return Icona([](QPainter& p) {
        p.setPen(QPen(Qt::black, 1.5));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(6, 2, 10, 7));
        p.setBrush(QColor(150, 150, 150));
        p.drawRoundedRect(QRectF(2, 8, 18, 8), 2, 2);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(6, 13, 10, 7));
    });
}

QIcon Glifo(const QString& testo, const QColor& colore) {
    return Icona([testo, colore](QPainter& p) {
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setPixelSize(17);
        p.setFont(f);
        p.setPen(colore);
        p.drawText(QRect(0, 0, 22, 22), Qt::AlignCenter, testo);
    });
}

QIcon Standard(QStyle::StandardPixmap s) { return QApplication::style()->standardIcon(s); }

} // namespace

QIcon IconaStilePunto(int tipo) {
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    {
        QPainter p(&pm);
        TPittoreQt pittore(p);
        const mappa::TPuntoPx centro{8, 8};
        const mappa::TColore nero = 0;
        pittore.Simboli(static_cast<mappa::TTipoPunto>(std::clamp(tipo, 0, 6)), 11, {&centro, 1}, {&nero, 1});
    }
    return QIcon(pm);
}

QIcon IconaDi(dialogo::TControllo c) {
    switch (c) {
    case C::TB_Hint: return Glifo(QString(QChar(0x26A1)), QColor(200, 120, 0));
    case C::TB_Punt: return Mirino();
    case C::TB_Admin: return Glifo(QString(QChar(0x25A6)), QColor(0, 100, 0));
    case C::TB_ZoomPiu: return Lente(1);
    case C::TB_ZoomMeno: return Lente(-1);
    case C::TB_Pan: return Frecce();
    case C::TB_ZoomTutto: return Glifo(QString(QChar(0x2922)), QColor(0, 0, 128));
    case C::TB_ZoomPrec: return Glifo(QString(QChar(0x21B6)), QColor(0, 0, 128));
    case C::TB_Opzioni: return Glifo(QString(QChar(0x2699)), QColor(60, 60, 60));
    case C::TB_Griglia: return Glifo(QString(QChar(0x2237)), QColor(0, 0, 200));
    case C::ToolButton18: return Standard(QStyle::SP_DialogSaveButton);
    case C::TB_SalvaImm: return Standard(QStyle::SP_DriveFDIcon);
    case C::TB_StampaImm: return Stampante();
    case C::TB_Avvertenze: return Standard(QStyle::SP_MessageBoxWarning);
    case C::TB_Help: return Glifo(QStringLiteral("?"), QColor(0, 0, 160));
    case C::TB_Map: return Glifo(QString(QChar(0x25A7)), QColor(0, 120, 0));
    case C::TB_Google: return Glifo(QString(QChar(0x25CE)), QColor(0, 0, 200));
    case C::TB_Spettri: return Glifo(QStringLiteral("S"), Qt::black);
    case C::ToolButton13: return Glifo(QStringLiteral("+"), QColor(0, 120, 0));
    case C::ToolButton16: return Glifo(QString(QChar(0x270E)), QColor(0, 0, 160));
    case C::ToolButton17: return Glifo(QString(QChar(0x2716)), QColor(180, 0, 0));
    case C::ToolButton6: return Standard(QStyle::SP_TitleBarMinButton);
    case C::ToolButton10: return Standard(QStyle::SP_DialogSaveButton);
    case C::ToolButton11: return Stampante();
    case C::TB_Relazione: return Standard(QStyle::SP_FileDialogContentsView);
    default: return {};
    }
}

} // namespace veltrano::ui
