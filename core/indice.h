// The nearest-node search over the grid's projected plane, indexed: the same
// node as the full scan (exact distances, lowest node on a tie) in a few dozen
// distance evaluations instead of 10,751. Sites among the nodes are settled
// by square cells of 8 km in a ring or two; sites at sea or far from the grid
// go to a k-d tree. Logically immutable once built; safe to share between
// threads.
#pragma once

#include "core/griglia.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

namespace veltrano {

class IndiceNodi {
public:
    /// The tree over the nodes of g's first block. g must outlive the index
    /// and not change.
    explicit IndiceNodi(const Griglia& g);
    IndiceNodi(const IndiceNodi&) = delete;
    IndiceNodi& operator=(const IndiceNodi&) = delete;
    ~IndiceNodi();

    /// Same result as NodoPiuVicino(g, x, y), for every x, y.
    int PiuVicino(float x, float y) const;

private:
    struct Punto {
        float x, y;
        int nodo; // 1-based
    };
    struct Rettangolo {
        float x0, y0, x1, y1;
    };
    static constexpr int Foglia = 4; // ranges this small are scanned whole
    void Costruisci(int lo, int hi, int asse);
    Rettangolo Riquadro(int lo, int hi);
    int CercaCelle(double xs, double ys, float x, float y, int cx, int cy) const; // 0: not settled
    int CercaAlbero(double xs, double ys, float x, float y, std::atomic<int32_t>* seme) const;
    struct Lista;
    const Lista& ListaCella(int cx, int cy) const;
    template <class Prova> void Vicini(const Rettangolo& r, double raggio2, Prova&& prova) const;

    const Griglia* g_;
    std::vector<Punto> punti_; // the tree, implicit: the median of a range is its root
    std::vector<Rettangolo> riquadri_; // per range, at its median: the rectangle around its nodes
    double x0_ = 0, y0_ = 0;
    static constexpr double Lato = 8.0; // [km]
    int nx_ = 1, ny_ = 1;
    std::vector<int> inizio_;  // nodes of cell c: celle_[inizio_[c] .. inizio_[c + 1])
    std::vector<Punto> celle_;
    static constexpr int MaxAnelli = 3; // rings of cells around the site's before the tree
    std::vector<uint8_t> vuota_;        // per cell: no node within MaxAnelli rings
    // Per cell: the node the first tree search from it found (0: none yet),
    // where later searches from the cell start. Filled by any thread.
    std::unique_ptr<std::atomic<int32_t>[]> semi_;
    // Per cell with no node within MaxAnelli rings: every node that can be
    // the nearest to some point of the cell, made by the first search from
    // it and then shared (null: not made yet).
    std::unique_ptr<std::atomic<const Lista*>[]> liste_;
};

} // namespace veltrano
