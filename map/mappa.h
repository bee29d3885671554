// TMappa, the map of the site dialog without any toolkit: a stack of
// shapefile layers with their styles, per-shape colours and labels, drawing
// layers over them, the view (TVista) with its zoom history, the cursor
// modes that turn pointer gestures into zooms and pans, and hit tests.
// Disegna draws it all through a TPittore; a front end shows the result and
// forwards the pointer in pixels.
//
// Layers get handles 0, 1, 2, ... in the order they are added; a layer whose
// file failed to open still takes its handle. Map units are decimal degrees
// (x = longitude, y = latitude). Colours are 0x00BBGGRR. Setting a layer's
// fill colour recolours every shape of it, as the dialog's highlighting
// expects (fill the layer, then one shape yellow). One thread.
#pragma once

#include "map/pittore.h"
#include "map/shapefile.h"
#include "map/vista.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace veltrano::mappa {

/// Cursor modes, with the codes the dialog uses.
enum TModoCursore { ModoZoomPiu = 0, ModoZoomMeno = 1, ModoPan = 2, ModoSelezione = 3, ModoNessuno = 4 };
/// Pointer pictures the dialog asks for: 0 the mode's own, 3 the cross.
enum TCursoreMappa { CursorePredefinito = 0, CursoreCroce = 3 };
/// The pointer shape a front end shows over the map.
enum class TFormaCursore { Freccia, Croce, Mano, ManoChiusa, Indice, Lente, LenteMeno };
/// Mouse buttons, as bits.
enum TPulsanteMouse { PulsanteSinistro = 1, PulsanteDestro = 2, PulsanteCentrale = 4 };

struct TEtichetta {
    std::string testo; // UTF-8; "\r" or "\n" break lines
    double x = 0, y = 0; // map units
    TColore colore = 0;
    int giustificazione = 1; // 1: centred on (x, y); otherwise its lower-left corner there
    int carattere = 0;       // index in the layer's fonts
};

/// One drawing layer: shapes in map units drawn over the map.
struct TDisegno {
    struct Linea { double x1, y1, x2, y2; double spessore; TColore c; };
    struct Cerchio { double x, y, r; TColore c; bool pieno; }; // r in degrees of latitude
    struct Punto { double x, y; double dim; TColore c; };      // dim in pixels
    std::vector<Linea> linee;
    std::vector<Cerchio> cerchi;
    std::vector<Punto> punti;
    std::vector<TEtichetta> etichette;
    /// Labels of the layers keep off the box of its lines, circles and
    /// points, so that none is drawn under it (the site's mark).
    bool libero = false;
};

class TStrumentoCursore;

class TMappa {
public:
    TMappa();
    ~TMappa();
    TMappa(const TMappa&) = delete;
    TMappa& operator=(const TMappa&) = delete;

    /// Called after every change of what the map shows, the zoom box, the
    /// pan shift and the pointer included (a front end schedules a repaint).
    /// Versione counts the changes of the picture Disegna draws, so a front
    /// end redraws its cached picture only when it moves.
    std::function<void()> AllaModifica;
    uint64_t Versione() const { return versione_; }

    // ---- Layers
    /// Adds sf on top of the stack and returns its handle. A null or
    /// unopened shapefile gives an empty layer that still takes its handle.
    int AggiungiLayer(std::shared_ptr<const TShapefile> sf, bool visibile);
    int NumLayer() const { return static_cast<int>(layer_.size()); }
    const TShapefile* Shapefile(int layer) const;
    bool LayerVisibile(int layer) const;
    void ImpostaLayerVisibile(int layer, bool v);
    void ImpostaSpessoreLinea(int layer, double px);
    double SpessoreLinea(int layer) const;
    void ImpostaDimensionePunto(int layer, double px);
    double DimensionePunto(int layer) const;
    void ImpostaColoreLinea(int layer, TColore c);
    TColore ColoreLinea(int layer) const;
    /// The layer's fill (or point) colour, given to every shape of it.
    void ImpostaColoreRiempimento(int layer, TColore c);
    TColore ColoreRiempimento(int layer) const;
    void ImpostaTipoPunto(int layer, int tipo);
    int TipoPunto(int layer) const;
    /// One shape's colour: a point's colour, a polygon's fill.
    void ImpostaColoreShape(int layer, int shape, TColore c);
    TColore ColoreShape(int layer, int shape) const;

    // ---- Labels of a layer
    /// The font of the labels added from now on.
    void ImpostaFontLayer(int layer, const TCarattere& c);
    TCarattere FontLayer(int layer) const;
    void ImpostaColoreEtichette(int layer, TColore c);
    TColore ColoreEtichette(int layer) const;
    void AggiungiEtichetta(int layer, const std::string& testo, TColore colore, double x, double y,
                           int giustificazione);
    void CancellaEtichette(int layer);
    void ImpostaEtichetteVisibili(int layer, bool v);
    bool EtichetteVisibili(int layer) const;
    const std::vector<TEtichetta>& Etichette(int layer) const;
    /// The font of label e of the layer.
    const TCarattere& CarattereEtichetta(int layer, const TEtichetta& e) const;
    /// The font of the labels to come and of every label already there, and
    /// their colour when one is given (the option panels restyle at once).
    void ImpostaStileEtichette(int layer, const TCarattere& c, std::optional<TColore> colore);

    // ---- Names of a layer's shapes
    // Kept apart from the labels above, which the dialog replaces at every
    // selection: names, once loaded, stay for the life of the map and are
    // only shown or hidden. They take the layer's current label font and
    // colour, and are drawn after every layer's labels, each left out where
    // it would overlap a label or name already placed.
    void AggiungiNome(int layer, const std::string& testo, double x, double y);
    const std::vector<TEtichetta>& Nomi(int layer) const;
    void ImpostaNomiVisibili(int layer, bool v);
    bool NomiVisibili(int layer) const;

    // ---- View
    const TVista& Vista() const { return vista_; }
    /// The device size of the map [px]; the view keeps its centre and scale.
    void ImpostaDimensioni(int larghezza, int altezza);
    int Larghezza() const { return vista_.Larghezza(); }
    int Altezza() const { return vista_.Altezza(); }
    TEstensione Estensione() const { return vista_.Estensione(); }
    /// Shows e; ricorda keeps the previous view for ZoomPrecedente.
    void ImpostaEstensione(const TEstensione& e, bool ricorda = true);
    void ZoomEstensioneMassima();
    void ZoomLayer(int layer);
    void ZoomShape(int layer, int shape);
    /// Widens the view by the fraction f on each axis (0.2: 20 %).
    void ZoomIndietro(double f);
    /// Zooms by the factor f (0.5: twice as close) around a pixel.
    void ZoomAttorno(TPuntoPx pixel, double f);
    /// Back to the view before the last zoom; false when there is none.
    bool ZoomPrecedente();
    void ImpostaRapportoAspetto(double k);
    TPunto PixelAMappa(TPuntoPx pixel) const { return vista_.PixelAMappa(pixel); }
    TPuntoPx MappaAPixel(TPunto mappa) const { return vista_.MappaAPixel(mappa); }
    /// Pixels per degree of latitude.
    double Scala() const { return vista_.Scala(); }

    // ---- Hit tests
    /// The first shape (in index order) of a polygon layer that holds the
    /// map point; -1 when none does.
    int ShapeInPunto(int layer, double x, double y) const;

    // ---- Cursor and mouse
    void ImpostaModoCursore(int modo);
    int ModoCursore() const { return modo_; }
    void ImpostaCursoreMappa(int c);
    int CursoreMappa() const { return cursore_; }
    TFormaCursore FormaCursore() const;
    /// Pointer events in pixels of the map, handled by the cursor mode.
    void MousePremuto(TPuntoPx p, int pulsante);
    void MouseMosso(TPuntoPx p, int pulsanti);
    void MouseRilasciato(TPuntoPx p, int pulsante);
    /// Wheel: delta > 0 zooms in around p.
    void Rotella(TPuntoPx p, int delta);
    /// The zoom box being dragged, to draw over the map.
    std::optional<TRettangoloPx> RettangoloZoom() const { return rettangolo_; }
    void ImpostaRettangoloZoom(std::optional<TRettangoloPx> r);
    /// Pan in progress: the picture is drawn moved by this many pixels.
    TPuntoPx Spostamento() const { return spostamento_; }
    void ImpostaSpostamento(TPuntoPx d);
    /// Which pointer events the owner wants (the dialog's handlers).
    bool inviaMouseGiu = false, inviaMouseSu = true, inviaMouseMovimento = true;

    // ---- Drawings: layers of lines, circles, points and labels in map units
    int NuovoDisegno();
    void DisegnaLinea(double x1, double y1, double x2, double y2, double spessore, TColore c);
    void DisegnaCerchio(double x, double y, double raggio, TColore c, bool riempito);
    void DisegnaPunto(double x, double y, double dimensione, TColore c);
    void AggiungiEtichettaDisegno(const std::string& testo, TColore c, double x, double y, int giustificazione);
    void ImpostaOmbraEtichetteDisegno(bool ombra);
    /// Keeps the labels of the layers off the last drawing layer (see
    /// TDisegno::libero).
    void ImpostaDisegnoLibero(bool libero);
    void CancellaDisegni();
    int NumDisegni() const { return static_cast<int>(disegni_.size()); }
    const std::vector<TDisegno>& Disegni() const { return disegni_; }

    void ImpostaColoreSfondo(TColore c);
    TColore ColoreSfondo() const { return sfondo_; }

    /// Draws the map for the current view over the device area
    /// 0..Larghezza x 0..Altezza: background, layers in handle order, their
    /// labels (a label that would overlap one already placed is left out;
    /// one that would be cut by the edge or lie under a drawing kept free
    /// of labels is moved beside its point, or left out), then the drawings.
    void Disegna(TPittore& p) const;

private:
    struct Layer;
    std::vector<std::unique_ptr<Layer>> layer_;
    std::vector<TDisegno> disegni_;
    bool ombraEtichetteDisegno_ = true;
    TCarattere carattereDisegni_{"Arial", 9, true, false};
    TColore sfondo_ = RGBWin(255, 255, 255);
    TVista vista_;
    std::vector<TEstensione> precedenti_;
    int modo_ = ModoZoomPiu, cursore_ = CursorePredefinito;
    std::vector<std::unique_ptr<TStrumentoCursore>> strumenti_;
    std::optional<TRettangoloPx> rettangolo_;
    TPuntoPx spostamento_;
    uint64_t versione_ = 0;
    // Buffers reused from one drawing to the next.
    mutable TLottoPoligoni lottoPoligoni_;
    mutable TLottoLinee lottoLinee_;
    mutable std::vector<TPuntoPx> centri_;
    mutable std::vector<TColore> colori_;

    Layer* L(int layer);
    const Layer* L(int layer) const;
    void Modificata();
    void Sovrapposizione();
    void DisegnaLayer(TPittore& p, const Layer& l, const TEstensione& vista) const;
    void DisegnaPunti(TPittore& p, const Layer& l, const TEstensione& vista) const;
    void DisegnaEtichette(TPittore& p) const;
    void DisegnaDisegni(TPittore& p) const;
};

} // namespace veltrano::mappa
