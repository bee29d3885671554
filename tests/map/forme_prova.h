// Small shapefiles built in memory for the map tests: a square from 2 to 18
// degrees with a hole from 8 to 12 and a small square from 14 to 16 (and,
// on request, a thin triangle along the bottom edge), and points.
#pragma once

#include "map/shapefile.h"

#include <initializer_list>
#include <memory>

namespace veltrano::test {

inline std::shared_ptr<mappa::TShapefile> Poligoni(bool conDiagonale = false) {
    using namespace mappa;
    auto sf = std::make_shared<TShapefile>();
    sf->Crea(ShapePoligono);
    sf->InizioModifica();
    TShape s;
    s.tipo = ShapePoligono;
    s.parti = {0, 5};
    s.punti = {{2, 2}, {2, 18}, {18, 18}, {18, 2}, {2, 2}, {8, 8}, {12, 8}, {12, 12}, {8, 12}, {8, 8}};
    sf->InserisciShape(s, 0);
    TShape piccolo;
    piccolo.tipo = ShapePoligono;
    piccolo.punti = {{14, 14}, {14, 16}, {16, 16}, {16, 14}, {14, 14}};
    sf->InserisciShape(piccolo, 1);
    if (conDiagonale) {
        TShape diagonale;
        diagonale.tipo = ShapePoligono;
        diagonale.punti = {{0.5, 0.5}, {0.5, 1.5}, {19.5, 1.5}, {0.5, 0.5}};
        sf->InserisciShape(diagonale, 2);
    }
    sf->FineModifica(true);
    return sf;
}

inline std::shared_ptr<mappa::TShapefile> Punti(std::initializer_list<mappa::TPunto> p) {
    using namespace mappa;
    auto sf = std::make_shared<TShapefile>();
    sf->Crea(ShapePunto);
    sf->InizioModifica();
    for (TPunto q : p) {
        TShape s;
        s.tipo = ShapePunto;
        s.punti = {q};
        sf->InserisciShape(s, -1);
    }
    sf->FineModifica(true);
    return sf;
}

} // namespace veltrano::test
