// A k-d tree over the grid's projected plane for the nearest-node search: the
// same node as the full scan (exact distances, lowest node on a tie), in a few
// dozen distance evaluations instead of 10,751, for sites on the grid and far
// from it alike. Immutable once built; safe to share between threads.
#pragma once

#include "core/griglia.h"

#include <vector>

namespace veltrano {

class IndiceNodi {
public:
    /// The tree over the nodes of g's first block. g must outlive the index
    /// and not change.
    explicit IndiceNodi(const Griglia& g);

    /// Same result as NodoPiuVicino(g, x, y), for every x, y.
    int PiuVicino(float x, float y) const;

private:
    struct Punto {
        float x, y;
        int nodo; // 1-based
    };
    void Costruisci(int lo, int hi, int asse);

    const Griglia* g_;
    std::vector<Punto> punti_; // the tree, implicit: the median of a range is its root
};

} // namespace veltrano
