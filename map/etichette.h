// Label placement without overlaps: labels are offered one at a time, in
// order of priority, and each is kept only when its box meets no box kept
// before, as map programs do, so that dense labels thin out at small scales
// instead of smearing. Boxes are kept in a uniform grid of cells, so
// offering n labels costs about n lookups.
//
// A label shows whole or not at all: a box that would cross the area's edge
// is never kept. Colloca then moves it inside, to another place around its
// point, or leaves it out. Marks drawn over the map (the site's) can be
// reserved first: no label is kept on them, and a label whose own place
// falls on one is moved beside it.
#pragma once

#include "map/pittore.h"

#include <optional>
#include <vector>

namespace veltrano::mappa {

/// Halo colours drawn one pixel around a label so that it reads over
/// features of its own colour: white around dark text, near-black around
/// light text (a yellow or light green grid value).
inline constexpr TColore AloneChiaro = RGBWin(255, 255, 255);
inline constexpr TColore AloneScuro = RGBWin(40, 40, 40);
constexpr TColore ColoreAlone(TColore testo) {
    const int luce = 299 * RossoDi(testo) + 587 * VerdeDi(testo) + 114 * BluDi(testo);
    return luce > 150 * 1000 ? AloneScuro : AloneChiaro;
}

class TPosizionatoreEtichette {
public:
    /// area: the device area; only boxes wholly inside it are kept. margine:
    /// blank space kept around each kept box [device units].
    explicit TPosizionatoreEtichette(TRettangoloPx area, double margine = 2.0, double cella = 64.0);

    /// True (and the box is kept) when r lies wholly inside the area and
    /// meets no kept box.
    bool Occupa(const TRettangoloPx& r);
    /// Keeps r whatever it meets (labels that must show, such as a
    /// highlighted name), so that later labels avoid it.
    void Riserva(const TRettangoloPx& r);
    /// Keeps r free of labels: a mark drawn over the map after them.
    void RiservaSegno(const TRettangoloPx& r);

    /// Places a label of box r, whose point is ancora: r itself when it can
    /// be kept. When r meets only kept labels it is left out, so that dense
    /// labels thin out by priority as before; when it crosses the area's
    /// edge or lies on a mark, it is moved: slid inside while it still
    /// covers its point, then to the right, left, above, below and at the
    /// corners of its point, then beside the mark. The box kept, if any.
    std::optional<TRettangoloPx> Colloca(TPuntoPx ancora, const TRettangoloPx& r);

    /// Whether the point lies under a label kept before (any label placed
    /// there would meet it): a cheap test before a label is measured.
    bool Coperto(TPuntoPx p) const;
    /// Whether r lies wholly inside the area.
    bool Dentro(const TRettangoloPx& r) const;
    std::size_t NumOccupati() const { return riquadri_.size(); }

private:
    TRettangoloPx area_;
    double margine_, cella_;
    int colonne_, righe_;
    std::vector<TRettangoloPx> riquadri_;
    std::vector<TRettangoloPx> segni_;
    std::vector<bool> diSegno_; // per kept box: a mark, not a label
    std::vector<std::vector<int>> celle_;
    bool Libero(const TRettangoloPx& r) const;
    /// The reserved marks r (with its margin) meets.
    std::vector<TRettangoloPx> SegniToccati(const TRettangoloPx& r) const;
    void Inserisci(const TRettangoloPx& r, bool segno = false);
    void Celle(const TRettangoloPx& r, int& c0, int& r0, int& c1, int& r1) const;
};

} // namespace veltrano::mappa
