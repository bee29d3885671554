// The painter interface: what the map, the report and the page layouts draw
// through, so that one drawing code serves every toolkit. A backend (QPainter
// on Linux, GDI+ on Windows, a chart or page renderer) implements TPittore.
//
// Coordinates are device units with y downwards: pixels on a screen or an
// image, points on a page. Colours are Windows colour values 0x00BBGGRR (red
// in the low byte), as the options file stores them. Text is UTF-8. Fonts
// are named with their size in points. A painter belongs to one thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace veltrano::mappa {

using TColore = uint32_t; // 0x00BBGGRR

constexpr TColore RGBWin(int r, int g, int b) {
    return static_cast<TColore>(r & 0xFF) | (static_cast<TColore>(g & 0xFF) << 8) |
           (static_cast<TColore>(b & 0xFF) << 16);
}
constexpr int RossoDi(TColore c) { return static_cast<int>(c & 0xFF); }
constexpr int VerdeDi(TColore c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int BluDi(TColore c) { return static_cast<int>((c >> 16) & 0xFF); }

struct TPuntoPx {
    double x = 0, y = 0;
};

struct TRettangoloPx {
    double x = 0, y = 0, larghezza = 0, altezza = 0;
    double Destra() const { return x + larghezza; }
    double Basso() const { return y + altezza; }
    bool Contiene(TPuntoPx p) const { return p.x >= x && p.x < Destra() && p.y >= y && p.y < Basso(); }
    bool Interseca(const TRettangoloPx& r) const {
        return x < r.Destra() && r.x < Destra() && y < r.Basso() && r.y < Basso();
    }
};

enum class TTratto { Continuo, Tratteggiato, Punteggiato };

/// An outline. Width 0 draws nothing; width 1 is the thinnest line the
/// device has.
struct TPenna {
    TColore colore = 0;
    double spessore = 1;
    TTratto tratto = TTratto::Continuo;
};

struct TCarattere {
    std::string nome = "Times New Roman";
    double punti = 8;
    bool grassetto = false, corsivo = false;
    bool operator==(const TCarattere&) const = default;
};

/// One line of text measured on the device: advance width, line spacing and
/// the height above the baseline.
struct TMetricaTesto {
    double larghezza = 0, altezza = 0, ascesa = 0;
};

/// Point symbols of a point layer, with the codes the options file stores.
enum TTipoPunto {
    PuntoQuadrato = 0, PuntoCerchio, PuntoRombo, PuntoTriangoloSu, PuntoTriangoloGiu,
    PuntoTriangoloSinistra, PuntoTriangoloDestra
};

/// A picture in memory: rows top down, each pixel 0xAARRGGBB.
struct TImmagine {
    int larghezza = 0, altezza = 0;
    std::vector<uint32_t> pixel;
    bool Vuota() const { return larghezza <= 0 || altezza <= 0; }
    /// 0x00BBGGRR of a pixel (alpha dropped); 0 outside the picture.
    TColore Colore(int x, int y) const;
};

/// Polygons that share one outline pen, each with its own fill: a whole
/// layer in one call, so a backend can batch the work. Rings are closed
/// implicitly and combined even-odd (holes are rings inside rings).
struct TLottoPoligoni {
    std::vector<TPuntoPx> punti;
    std::vector<std::size_t> anelli;   // first point of each ring
    std::vector<std::size_t> poligoni; // first ring of each polygon
    std::vector<std::optional<TColore>> riempimenti; // per polygon; none: not filled
    TPenna contorno;                   // drawn over all the fills

    void Svuota();
    void NuovoPoligono(std::optional<TColore> riempimento);
    void NuovoAnello();
    void Aggiungi(TPuntoPx p) { punti.push_back(p); }
    std::size_t NumPoligoni() const { return poligoni.size(); }
    /// Points of ring r: [inizio, fine).
    std::size_t InizioAnello(std::size_t r) const { return anelli[r]; }
    std::size_t FineAnello(std::size_t r) const { return r + 1 < anelli.size() ? anelli[r + 1] : punti.size(); }
    std::size_t FineRinghiPoligono(std::size_t p) const {
        return p + 1 < poligoni.size() ? poligoni[p + 1] : anelli.size();
    }
};

/// Open polylines with one pen.
struct TLottoLinee {
    std::vector<TPuntoPx> punti;
    std::vector<std::size_t> linee; // first point of each polyline
    TPenna penna;

    void Svuota();
    void NuovaLinea() { linee.push_back(punti.size()); }
    void Aggiungi(TPuntoPx p) { punti.push_back(p); }
    std::size_t Fine(std::size_t l) const { return l + 1 < linee.size() ? linee[l + 1] : punti.size(); }
};

class TPittore {
public:
    virtual ~TPittore() = default;

    virtual void Poligoni(const TLottoPoligoni& lotto) = 0;
    virtual void Linee(const TLottoLinee& lotto) = 0;
    /// Symbols of one type and size [device units], one colour each.
    virtual void Simboli(TTipoPunto tipo, double dimensione, std::span<const TPuntoPx> centri,
                         std::span<const TColore> colori) = 0;
    virtual void Ellisse(TPuntoPx centro, double raggioX, double raggioY, const TPenna& penna,
                         std::optional<TColore> riempimento) = 0;
    virtual void Rettangolo(const TRettangoloPx& r, const TPenna& penna, std::optional<TColore> riempimento) = 0;
    /// One line of text with its baseline starting at base.
    virtual void Testo(TPuntoPx base, std::string_view testo, const TCarattere& carattere, TColore colore) = 0;
    virtual TMetricaTesto MisuraTesto(std::string_view testo, const TCarattere& carattere) = 0;
    /// The picture stretched over destinazione.
    virtual void Immagine(const TRettangoloPx& destinazione, const TImmagine& immagine) = 0;
    /// Limits drawing to r (none: the whole device).
    virtual void Ritaglia(std::optional<TRettangoloPx> r) = 0;
    virtual void Antialias(bool attivo) = 0;
};

// Conveniences over the interface.
void DisegnaLinea(TPittore& p, TPuntoPx a, TPuntoPx b, const TPenna& penna);
void DisegnaPoligono(TPittore& p, std::span<const TPuntoPx> punti, const TPenna& penna,
                     std::optional<TColore> riempimento);

enum class TAllineamento { Sinistra, Centro, Destra };

/// Text of one or more lines ("\r", "\n" or "\r\n" break them) placed by
/// its box: centred on ancora (centrato) or with the box's lower-left
/// corner there. Returns the box, which DisegnaTestoRiquadro can reuse.
TRettangoloPx RiquadroTesto(TPittore& p, TPuntoPx ancora, std::string_view testo, const TCarattere& c,
                            bool centrato);
void DisegnaTestoRiquadro(TPittore& p, const TRettangoloPx& riquadro, std::string_view testo,
                          const TCarattere& c, TColore colore, TAllineamento allineamento);
/// The lines of a label.
std::vector<std::string_view> RigheTesto(std::string_view testo);

} // namespace veltrano::mappa
