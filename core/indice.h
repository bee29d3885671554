// The nearest-node search over the grid's projected plane, indexed: the same
// node as the full scan (exact distances, lowest node on a tie) in a few dozen
// distance evaluations instead of 10,751. Sites among the nodes are settled
// by square cells of 8 km in a ring or two; sites at sea or far from the grid
// go to a k-d tree. Immutable once built; safe to share between threads.
#pragma once

#include "core/griglia.h"

#include <cstdint>
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
    int CercaCelle(double xs, double ys, float x, float y) const; // 0: not settled
    int CercaAlbero(double xs, double ys, float x, float y) const;

    const Griglia* g_;
    std::vector<Punto> punti_; // the tree, implicit: the median of a range is its root
    double x0_ = 0, y0_ = 0;
    static constexpr double Lato = 8.0; // [km]
    int nx_ = 1, ny_ = 1;
    std::vector<int> inizio_;  // nodes of cell c: celle_[inizio_[c] .. inizio_[c + 1])
    std::vector<Punto> celle_;
    static constexpr int MaxAnelli = 3; // rings of cells around the site's before the tree
    std::vector<uint8_t> vuota_;        // per cell: no node within MaxAnelli rings
};

} // namespace veltrano
