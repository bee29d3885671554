// Label placement without overlaps: labels are offered one at a time, in
// order of priority, and each is kept only when its box meets no box kept
// before, as map programs do, so that dense labels thin out at small scales
// instead of smearing. Boxes are kept in a uniform grid of cells, so
// offering n labels costs about n lookups.
#pragma once

#include "map/pittore.h"

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
    /// area: the device area; boxes wholly outside it are refused. margine: blank
    /// space kept around each kept box [device units].
    explicit TPosizionatoreEtichette(TRettangoloPx area, double margine = 2.0, double cella = 64.0);

    /// True (and the box is kept) when r shows in the area and meets no kept box.
    bool Occupa(const TRettangoloPx& r);
    /// Keeps r whatever it meets (labels that must show, such as a
    /// highlighted name), so that later labels avoid it.
    void Riserva(const TRettangoloPx& r);
    std::size_t NumOccupati() const { return riquadri_.size(); }

private:
    TRettangoloPx area_;
    double margine_, cella_;
    int colonne_, righe_;
    std::vector<TRettangoloPx> riquadri_;
    std::vector<std::vector<int>> celle_;
    bool Libero(const TRettangoloPx& r) const;
    void Inserisci(const TRettangoloPx& r);
    void Celle(const TRettangoloPx& r, int& c0, int& r0, int& c1, int& r1) const;
};

} // namespace veltrano::mappa
