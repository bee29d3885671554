// Private state of one layer of TMappa, shared by its source files.
#pragma once

#include "map/mappa.h"

namespace veltrano::mappa {

struct TMappa::Layer {
    std::shared_ptr<const TShapefile> sf;
    bool visibile = true;
    double spessore = 1, dimPunto = 4;
    TColore linea = 0, riempimento = RGBWin(255, 255, 255);
    int tipoPunto = PuntoQuadrato;
    std::vector<int64_t> coloreShape; // -1: the layer's colour
    std::vector<TCarattere> caratteri{TCarattere{}}; // fonts of the labels; the last one is current
    TColore coloreEtichette = 0;
    std::vector<TEtichetta> etichette;
    bool etichetteVisibili = true;
    std::vector<TEtichetta> nomi;
    bool nomiVisibili = false;

    int NumShape() const { return sf ? sf->NumShape() : 0; }
    TColore ColoreShape(int i) const {
        if (i >= 0 && static_cast<std::size_t>(i) < coloreShape.size() && coloreShape[static_cast<std::size_t>(i)] >= 0)
            return static_cast<TColore>(coloreShape[static_cast<std::size_t>(i)]);
        return riempimento;
    }
};

} // namespace veltrano::mappa
