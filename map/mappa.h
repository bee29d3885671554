// TMappa, the map control of the dialog: a QWidget that draws a stack of
// shapefile layers with QPainter in map units of decimal degrees (lon, lat).
//
// Layers get handles 0, 1, 2, ... in the order they are added. Colours are
// Windows colour values 0x00BBGGRR (red in the low byte), as the options file
// stores them. Each shape's outline is kept as a QPainterPath in map units,
// simplified once per zoom level, and drawn through one transform, so a
// full-extent redraw of every municipality stays well under 100 ms.
// GUI thread only.
#pragma once

#include "map/shapefile.h"

#include <QFont>
#include <QImage>
#include <QPainterPath>
#include <QPointF>
#include <QPolygon>
#include <QWidget>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace veltrano::mappa {

using TColore = uint32_t; // 0x00BBGGRR

QColor ColoreQt(TColore c);
TColore ColoreWin(const QColor& c);
constexpr TColore RGBWin(int r, int g, int b) {
    return static_cast<TColore>(r) | (static_cast<TColore>(g) << 8) | (static_cast<TColore>(b) << 16);
}

/// Cursor modes, with the codes the dialog uses.
enum TModoCursore { ModoZoomPiu = 0, ModoZoomMeno = 1, ModoPan = 2, ModoSelezione = 3, ModoNessuno = 4 };
/// Point types of a point layer.
enum TTipoPunto {
    PuntoQuadrato = 0, PuntoCerchio, PuntoRombo, PuntoTriangoloSu, PuntoTriangoloGiu,
    PuntoTriangoloSinistra, PuntoTriangoloDestra
};
/// Pointer shapes: 0 default, 3 cross.
enum TCursoreMappa { CursorePredefinito = 0, CursoreCroce = 3 };

struct TEtichetta {
    QString testo; // "\r" or "\n" break lines
    double x, y;   // map units
    TColore colore;
    int giustificazione; // 1: centred on (x, y); otherwise left-aligned
};

/// One drawing layer: shapes in map units drawn over the map.
struct TDisegno {
    struct Linea { double x1, y1, x2, y2; float spessore; TColore c; };
    struct Cerchio { double x, y, r; TColore c; bool pieno; };
    struct Punto { double x, y; float dim; TColore c; };
    std::vector<Linea> linee;
    std::vector<Cerchio> cerchi;
    std::vector<Punto> punti;
    std::vector<TEtichetta> etichette;
};

class TStrumentoCursore;

class TMappa : public QWidget {
    Q_OBJECT
public:
    explicit TMappa(QWidget* padre = nullptr);
    ~TMappa() override;

    // ---- Layers
    /// Adds sf on top of the stack; returns its handle. A null or unopened
    /// shapefile gives an empty layer that still takes its handle.
    int AggiungiLayer(std::shared_ptr<const TShapefile> sf, bool visibile);
    int NumLayer() const { return static_cast<int>(layer_.size()); }
    const TShapefile* Shapefile(int layer) const;
    bool LayerVisibile(int layer) const;
    void ImpostaLayerVisibile(int layer, bool v);
    void ImpostaSpessoreLinea(int layer, float px);
    float SpessoreLinea(int layer) const;
    void ImpostaDimensionePunto(int layer, float px);
    float DimensionePunto(int layer) const;
    void ImpostaColoreLinea(int layer, TColore c);
    TColore ColoreLinea(int layer) const;
    void ImpostaColoreRiempimento(int layer, TColore c);
    TColore ColoreRiempimento(int layer) const;
    void ImpostaTipoPunto(int layer, int tipo);
    int TipoPunto(int layer) const;
    /// Per-shape colours: a point's colour, a polygon's fill.
    void ImpostaColorePuntoShape(int layer, int shape, TColore c);
    TColore ColorePuntoShape(int layer, int shape) const;
    void ImpostaColoreRiempimentoShape(int layer, int shape, TColore c);
    TColore ColoreRiempimentoShape(int layer, int shape) const;

    // ---- Labels of a layer
    void ImpostaFontLayer(int layer, const QString& nome, int dimensione);
    QFont FontLayer(int layer) const;
    void ImpostaColoreEtichette(int layer, TColore c);
    /// Adds a label with the layer's current font.
    void AggiungiEtichetta(int layer, const QString& testo, TColore colore, double x, double y, int giustificazione);
    void CancellaEtichette(int layer);
    void ImpostaEtichetteVisibili(int layer, bool v);
    bool EtichetteVisibili(int layer) const;
    const std::vector<TEtichetta>& Etichette(int layer) const;

    // ---- View
    void ZoomEstensioneMassima();
    void ZoomLayer(int layer);
    void ZoomShape(int layer, int shape);
    /// Widens the view by the fraction f on each axis (0.2: 20 %).
    void ZoomIndietro(double f);
    /// Back to the view before the last zoom; false when there is none.
    bool ZoomPrecedente();
    void ImpostaEstensione(const TEstensione& e, bool ricorda = true);
    TEstensione Estensione() const;
    /// Horizontal stretch of a degree of longitude against one of latitude
    /// (cos 42°: Italy keeps its shape); 1 for a plain degree grid.
    void ImpostaRapportoAspetto(double k);
    QPointF PixelAMappa(QPointF pixel) const;
    QPointF MappaAPixel(QPointF mappa) const;
    /// Pixels per degree of latitude.
    double Scala() const { return scala_; }

    // ---- Cursor and mouse
    void ImpostaModoCursore(int modo);
    int ModoCursore() const { return modo_; }
    void ImpostaCursoreMappa(int c);
    int CursoreMappa() const { return cursore_; }
    bool inviaMouseGiu = false, inviaMouseSu = true, inviaMouseMovimento = true;

    // ---- Drawings: layers of lines, circles, points and labels in map units
    int NuovoDisegno(int unita = 1);
    void DisegnaLinea(double x1, double y1, double x2, double y2, float spessore, TColore c);
    void DisegnaCerchio(double x, double y, double raggio, TColore c, bool riempito);
    void DisegnaPunto(double x, double y, float dimensione, TColore c);
    void AggiungiEtichettaDisegno(const QString& testo, TColore c, double x, double y, int giustificazione);
    void ImpostaOmbraEtichetteDisegno(bool ombra);
    void CancellaDisegni();
    int NumDisegni() const { return static_cast<int>(disegni_.size()); }

    void ImpostaColoreSfondo(TColore c);
    TColore ColoreSfondo() const { return sfondo_; }

    /// Draws the whole map for the current view on p, over area.
    void Disegna(QPainter& p, const QSize& area) const;
    /// The map as shown, at the widget's size.
    QImage Immagine() const;

signals:
    void MousePremuto(int pulsante, int modificatori, int x, int y);
    void MouseRilasciato(int pulsante, int modificatori, int x, int y);
    void MouseMosso(int pulsante, int modificatori, int x, int y);
    void EstensioneCambiata();

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void wheelEvent(QWheelEvent*) override;

private:
    friend class TStrumentoCursore;
    struct Layer;
    std::vector<std::unique_ptr<Layer>> layer_;
    std::vector<TDisegno> disegni_;
    bool ombraEtichetteDisegno_ = true;
    TColore sfondo_ = RGBWin(255, 255, 255);
    double cx_ = 12.5, cy_ = 42.0, scala_ = 50.0, aspetto_;
    std::vector<TEstensione> precedenti_;
    int modo_ = ModoZoomPiu, cursore_ = CursorePredefinito;
    std::vector<std::unique_ptr<TStrumentoCursore>> strumenti_;
    mutable QImage cache_;
    mutable bool cacheValida_ = false;
    QPoint spostamento_; // pan in progress [px]
    QRect rettangolo_;   // zoom box in progress [px]

    Layer* L(int layer);
    const Layer* L(int layer) const;
    void Ridisegna();
    void AggiornaCursore();
    void DisegnaLayer(QPainter& p, const Layer& l, const TEstensione& vista) const;
    void DisegnaContorni(QPainter& p, const Layer& l, std::size_t n) const;
    void DisegnaPunti(QPainter& p, const Layer& l, const TEstensione& vista) const;
    // Pixel rings of the layer being drawn, kept to reuse their memory.
    mutable std::vector<QPolygon> anelli_;
    mutable std::vector<std::pair<int, std::size_t>> shapeAnelli_;
    void DisegnaEtichette(QPainter& p, const Layer& l) const;
    void DisegnaDisegni(QPainter& p) const;
};

} // namespace veltrano::mappa
