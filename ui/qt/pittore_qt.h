// The painter interface (map/pittore.h) over a QPainter: the map, and
// anything else drawn through TPittore, on a widget, an image, a printer or
// an SVG generator. Fonts and their metrics are kept per font.
#pragma once

#include "map/pittore.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>

#include <optional>
#include <deque>

namespace veltrano::ui {

QColor ColoreQt(mappa::TColore c);
mappa::TColore ColoreWin(const QColor& c);
/// The picture as a Qt image, and back (0xAARRGGBB pixels both ways).
QImage ImmagineQt(const mappa::TImmagine& im);
mappa::TImmagine DaImmagineQt(const QImage& im);

class TPittoreQt : public mappa::TPittore {
public:
    /// Draws on p, which must stay active while the painter is used.
    explicit TPittoreQt(QPainter& p);

    void Poligoni(const mappa::TLottoPoligoni& lotto) override;
    void Linee(const mappa::TLottoLinee& lotto) override;
    void Simboli(mappa::TTipoPunto tipo, double dimensione, std::span<const mappa::TPuntoPx> centri,
                 std::span<const mappa::TColore> colori) override;
    void Ellisse(mappa::TPuntoPx centro, double raggioX, double raggioY, const mappa::TPenna& penna,
                 std::optional<mappa::TColore> riempimento) override;
    void Rettangolo(const mappa::TRettangoloPx& r, const mappa::TPenna& penna,
                    std::optional<mappa::TColore> riempimento) override;
    void Testo(mappa::TPuntoPx base, std::string_view testo, const mappa::TCarattere& carattere,
               mappa::TColore colore) override;
    mappa::TMetricaTesto MisuraTesto(std::string_view testo, const mappa::TCarattere& carattere) override;
    void Immagine(const mappa::TRettangoloPx& destinazione, const mappa::TImmagine& immagine) override;
    void Ritaglia(std::optional<mappa::TRettangoloPx> r) override;
    void Antialias(bool attivo) override;

private:
    struct Carattere {
        mappa::TCarattere chiave;
        QFont font;
        QFontMetricsF metriche;
    };
    QPainter& p_;
    std::deque<Carattere> caratteri_;
    QPolygonF anello_;
    const Carattere& Font(const mappa::TCarattere& c);
    QPen Penna(const mappa::TPenna& penna) const;
};

} // namespace veltrano::ui
