// Private state of TMappa shared by its source files.
#pragma once

#include "map/mappa.h"

#include <QMouseEvent>
#include <QPainter>

namespace veltrano::mappa {

struct TMappa::Layer {
    std::shared_ptr<const TShapefile> sf;
    bool visibile = true;
    float spessore = 1, dimPunto = 4;
    TColore linea = 0, riempimento = RGBWin(255, 255, 255);
    int tipoPunto = PuntoQuadrato;
    std::vector<int64_t> coloreShape; // -1: the layer's colour
    QFont font;
    TColore coloreEtichette = 0;
    std::vector<TEtichetta> etichette;
    bool etichetteVisibili = true;
    // Outlines in map units, simplified per zoom level (see Livello).
    mutable std::map<int, std::vector<QPainterPath>> percorsi;

    int NumShape() const { return sf ? sf->NumShape() : 0; }
    TColore ColoreShape(int i) const;
    const std::vector<QPainterPath>& Percorsi(int livello) const;
};

/// One cursor mode: what the mouse does on the map.
class TStrumentoCursore {
public:
    virtual ~TStrumentoCursore() = default;
    virtual void Premuto(TMappa&, QMouseEvent*) {}
    virtual void Mosso(TMappa&, QMouseEvent*) {}
    virtual void Rilasciato(TMappa&, QMouseEvent*) {}
    virtual Qt::CursorShape Cursore() const { return Qt::ArrowCursor; }

protected:
    // Access for the modes to the view state of the map.
    static QPoint& Spostamento(TMappa& m) { return m.spostamento_; }
    static QRect& Rettangolo(TMappa& m) { return m.rettangolo_; }
    static void Aggiorna(TMappa& m) { m.update(); }
};

/// The five modes, indexed by their codes.
std::vector<std::unique_ptr<TStrumentoCursore>> CreaStrumentiCursore();

/// Zoom level of a scale: level k simplifies outlines to 2^k micro-degrees;
/// -1 keeps every vertex.
int Livello(double pixelPerGrado);
/// The outline of s with vertices closer than tolleranza dropped [deg].
QPainterPath PercorsoSemplificato(const TShape& s, double tolleranza);

} // namespace veltrano::mappa
