// The cursor modes of TMappa, one class each: zoom in (a click halves the
// view around the point, a dragged box is shown whole), zoom out (a click
// doubles it), pan (drag), selection and none (clicks are left to the map's
// owner). Pointer positions are pixels of the map.
#pragma once

#include "map/mappa.h"

#include <memory>
#include <vector>

namespace veltrano::mappa {

class TStrumentoCursore {
public:
    virtual ~TStrumentoCursore() = default;
    virtual void Premuto(TMappa&, TPuntoPx, int /*pulsante*/) {}
    virtual void Mosso(TMappa&, TPuntoPx, int /*pulsanti*/) {}
    virtual void Rilasciato(TMappa&, TPuntoPx, int /*pulsante*/) {}
    virtual TFormaCursore Forma() const { return TFormaCursore::Freccia; }
};

/// The screen cursor (map/cursori.h) a front end shows for a pointer shape:
/// the magnifying glass to zoom in, the one with plus and minus to zoom
/// out, the open hand to pan and the move arrows while dragging, the cross
/// to measure, the cross with its mark to pick; 0 (the system's arrow) for
/// the rest.
int CursoreSchermoDi(TFormaCursore f);

/// The five modes, indexed by their codes (TModoCursore).
std::vector<std::unique_ptr<TStrumentoCursore>> CreaStrumentiCursore();

} // namespace veltrano::mappa
