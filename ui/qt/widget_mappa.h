// The map control on screen: a QWidget that shows a mappa::TMappa through
// the QPainter backend, keeps the drawn picture until the map changes,
// draws the zoom box and the pan shift over it, and hands the pointer on in
// pixels: to the map's own cursor modes, or to whoever takes the events
// (the dialog's form). GUI thread only.
#pragma once

#include "map/mappa.h"

#include <QImage>
#include <QWidget>

#include <functional>

namespace veltrano::ui {

class TWidgetMappa : public QWidget {
    Q_OBJECT
public:
    explicit TWidgetMappa(QWidget* padre = nullptr);
    ~TWidgetMappa() override;

    /// Shows m (not owned; nullptr: nothing) and follows its changes.
    void ImpostaMappa(mappa::TMappa* m);
    mappa::TMappa* Mappa() const { return mappa_; }

    /// Where the pointer goes. Unset, the map's cursor modes take it.
    std::function<void(mappa::TPuntoPx, int)> AlPremuto, AlRilascio, AlMovimento, AllaRotella;
    /// The widget's new size [px]; unset, the map takes it.
    std::function<void(int, int)> AlRidimensionamento;

    /// The map as drawn now, at the widget's size.
    QImage Immagine();

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void wheelEvent(QWheelEvent*) override;

private:
    mappa::TMappa* mappa_ = nullptr;
    QImage cache_;
    uint64_t versione_ = ~uint64_t{0};
    void AggiornaCursore();
    const QImage& Disegnata();
};

} // namespace veltrano::ui
