#include "core/indice.h"

#include "core/maglia.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace veltrano {

IndiceNodi::IndiceNodi(const Griglia& g) : g_(&g), punti_(NumNodi) {
    for (int i = 0; i < NumNodi; ++i)
        punti_[static_cast<std::size_t>(i)] = {g.Xs()[i], g.Ys()[i], i + 1};
    Costruisci(0, NumNodi, 0);

    const float* X = g.Xs();
    const float* Y = g.Ys();
    double x2 = X[0], y2 = Y[0];
    x0_ = X[0];
    y0_ = Y[0];
    for (int i = 1; i < NumNodi; ++i) {
        x0_ = std::min<double>(x0_, X[i]);
        y0_ = std::min<double>(y0_, Y[i]);
        x2 = std::max<double>(x2, X[i]);
        y2 = std::max<double>(y2, Y[i]);
    }
    // Grids of absurd extent get one cell: every site then goes to the tree.
    const bool sensata = (x2 - x0_) / Lato < 4096 && (y2 - y0_) / Lato < 4096;
    nx_ = sensata ? static_cast<int>((x2 - x0_) / Lato) + 1 : 1;
    ny_ = sensata ? static_cast<int>((y2 - y0_) / Lato) + 1 : 1;
    std::vector<int> cella(NumNodi);
    inizio_.assign(static_cast<std::size_t>(nx_) * static_cast<std::size_t>(ny_) + 1, 0);
    for (int i = 0; i < NumNodi; ++i) {
        const int cx = std::min(nx_ - 1, static_cast<int>((X[i] - x0_) / Lato));
        const int cy = std::min(ny_ - 1, static_cast<int>((Y[i] - y0_) / Lato));
        cella[static_cast<std::size_t>(i)] = cy * nx_ + cx;
        ++inizio_[static_cast<std::size_t>(cy * nx_ + cx) + 1];
    }
    for (std::size_t c = 1; c < inizio_.size(); ++c)
        inizio_[c] += inizio_[c - 1];
    // Cells with no node within the rings CercaCelle looks at go straight
    // to the tree: a prefix sum of the node counts over the cells.
    const auto conta = [&](int cx, int cy) {
        const auto c = static_cast<std::size_t>(cy * nx_ + cx);
        return inizio_[c + 1] - inizio_[c];
    };
    std::vector<int> somma(static_cast<std::size_t>(nx_ + 1) * static_cast<std::size_t>(ny_ + 1), 0);
    const auto S2 = [&](int ix, int iy) -> int& { return somma[static_cast<std::size_t>(iy) * static_cast<std::size_t>(nx_ + 1) + static_cast<std::size_t>(ix)]; };
    for (int cy = 0; cy < ny_; ++cy)
        for (int cx = 0; cx < nx_; ++cx)
            S2(cx + 1, cy + 1) = conta(cx, cy) + S2(cx, cy + 1) + S2(cx + 1, cy) - S2(cx, cy);
    vuota_.assign(static_cast<std::size_t>(nx_) * static_cast<std::size_t>(ny_), 0);
    for (int cy = 0; cy < ny_; ++cy)
        for (int cx = 0; cx < nx_; ++cx) {
            const int x0 = std::max(0, cx - MaxAnelli), x1 = std::min(nx_, cx + MaxAnelli + 1);
            const int y0 = std::max(0, cy - MaxAnelli), y1 = std::min(ny_, cy + MaxAnelli + 1);
            vuota_[static_cast<std::size_t>(cy * nx_ + cx)] = S2(x1, y1) - S2(x0, y1) - S2(x1, y0) + S2(x0, y0) == 0;
        }
    std::vector<int> posto(inizio_.begin(), inizio_.end() - 1);
    celle_.resize(NumNodi);
    for (int i = 0; i < NumNodi; ++i)
        celle_[static_cast<std::size_t>(posto[static_cast<std::size_t>(cella[static_cast<std::size_t>(i)])]++)] =
            {X[i], Y[i], i + 1};
}

void IndiceNodi::Costruisci(int lo, int hi, int asse) {
    if (hi - lo <= 1)
        return;
    const int mezzo = lo + (hi - lo) / 2;
    std::nth_element(punti_.begin() + lo, punti_.begin() + mezzo, punti_.begin() + hi,
                     [asse](const Punto& a, const Punto& b) { return asse == 0 ? a.x < b.x : a.y < b.y; });
    Costruisci(lo, mezzo, 1 - asse);
    Costruisci(mezzo + 1, hi, 1 - asse);
}

namespace {

// Nodes whose q is within a relative 1e-12 of the least seen so far; a full
// buffer reports itself and the caller falls back to a wider search.
struct Candidati {
    double qmin = std::numeric_limits<double>::infinity();
    int nodo[64];
    double q[64];
    int n = 0;
    bool pieno = false;

    void Prova(double qq, int nd) {
        if (qq < qmin)
            qmin = qq;
        if (qq > qmin * (1.0 + 1e-12))
            return;
        if (n == 64) { // drop those the lower minimum has left behind
            int k = 0;
            for (int i = 0; i < n; ++i)
                if (q[i] <= qmin * (1.0 + 1e-12)) {
                    nodo[k] = nodo[i];
                    q[k++] = q[i];
                }
            n = k;
        }
        if (n < 64) {
            nodo[n] = nd;
            q[n++] = qq;
        } else {
            pieno = true;
        }
    }
    // A region may hold a node within the least distance when it is no
    // farther than this: squares carry a relative margin for their rounding
    // and distances an absolute one (1 mm) for the cell edges'.
    double Raggio() const { return std::sqrt(qmin * (1.0 + 1e-9)) + 1e-6; }
};

} // namespace

int IndiceNodi::PiuVicino(float x, float y) const {
    const double xs = x, ys = y;
    if (!(std::isfinite(xs) && std::isfinite(ys)))
        return NodoPiuVicino(*g_, x, y);
    if (const int n = CercaCelle(xs, ys, x, y))
        return n;
    return CercaAlbero(xs, ys, x, y);
}

int IndiceNodi::CercaCelle(double xs, double ys, float x, float y) const {
    const double fx = std::floor((xs - x0_) / Lato), fy = std::floor((ys - y0_) / Lato);
    if (!(fx >= 0 && fx < nx_ && fy >= 0 && fy < ny_))
        return 0;
    const int cx = static_cast<int>(fx), cy = static_cast<int>(fy);
    if (vuota_[static_cast<std::size_t>(cy * nx_ + cx)])
        return 0;
    Candidati c;
    auto distanzaCella = [&](int ix, int iy) {
        const double ax = x0_ + ix * Lato, ay = y0_ + iy * Lato;
        const double dx = xs < ax ? ax - xs : (xs > ax + Lato ? xs - ax - Lato : 0.0);
        const double dy = ys < ay ? ay - ys : (ys > ay + Lato ? ys - ay - Lato : 0.0);
        return std::sqrt(dx * dx + dy * dy);
    };
    for (int r = 0; r <= MaxAnelli; ++r) {
        for (int iy = cy - r; iy <= cy + r; ++iy) {
            if (iy < 0 || iy >= ny_)
                continue;
            const bool bordo = iy == cy - r || iy == cy + r;
            for (int ix = cx - r; ix <= cx + r; ix += (bordo || r == 0 ? 1 : 2 * r)) {
                if (ix < 0 || ix >= nx_ || distanzaCella(ix, iy) > c.Raggio())
                    continue;
                const auto k = static_cast<std::size_t>(iy * nx_ + ix);
                for (int p = inizio_[k]; p < inizio_[k + 1]; ++p) {
                    const Punto& pt = celle_[static_cast<std::size_t>(p)];
                    const double dx = pt.x - xs, dy = pt.y - ys;
                    c.Prova(dx * dx + dy * dy, pt.nodo);
                }
            }
        }
        // Least distance to any cell outside the block of radius r, over the
        // sides that still have cells beyond them.
        double fuori = std::numeric_limits<double>::infinity();
        if (cx - r > 0)
            fuori = std::min(fuori, xs - (x0_ + (cx - r) * Lato));
        if (cx + r < nx_ - 1)
            fuori = std::min(fuori, x0_ + (cx + r + 1) * Lato - xs);
        if (cy - r > 0)
            fuori = std::min(fuori, ys - (y0_ + (cy - r) * Lato));
        if (cy + r < ny_ - 1)
            fuori = std::min(fuori, y0_ + (cy + r + 1) * Lato - ys);
        if (c.pieno)
            return 0;
        if (fuori > c.Raggio()) {
            const double limite = c.qmin * (1.0 + 1e-12);
            return NodoEsatto(*g_, x, y, [&](auto&& scelta) {
                for (int i = 0; i < c.n; ++i)
                    if (c.q[i] <= limite)
                        scelta(c.nodo[i]);
            });
        }
    }
    return 0; // at sea or far out: the tree is quicker than more rings
}

int IndiceNodi::CercaAlbero(double xs, double ys, float x, float y) const {
    // A subtree is skipped only when its whole region is farther than the
    // least q, with the wider margin. The region lies beyond each splitting
    // line met on the way down: its distance along an axis is at least the
    // last such line's (off), and the square of those two offsets is a lower
    // bound for every node in it, in floating point too (differences of
    // floats are exact in double, the rounding of squares is monotonic).
    Candidati c;
    double off[2] = {0.0, 0.0};
    auto cerca = [&](auto&& self, int lo, int hi, int asse) -> void {
        if (hi - lo <= 4) {
            for (int i = lo; i < hi; ++i) {
                const Punto& p = punti_[static_cast<std::size_t>(i)];
                const double dx = p.x - xs, dy = p.y - ys;
                c.Prova(dx * dx + dy * dy, p.nodo);
            }
            return;
        }
        const int mezzo = lo + (hi - lo) / 2;
        const Punto& m = punti_[static_cast<std::size_t>(mezzo)];
        const double dx = m.x - xs, dy = m.y - ys;
        c.Prova(dx * dx + dy * dy, m.nodo);
        const double d = asse == 0 ? xs - m.x : ys - m.y;
        const bool sinistra = d < 0;
        self(self, sinistra ? lo : mezzo + 1, sinistra ? mezzo : hi, 1 - asse);
        const double prima = off[asse];
        off[asse] = d;
        if (off[0] * off[0] + off[1] * off[1] <= c.qmin * (1.0 + 1e-9))
            self(self, sinistra ? mezzo + 1 : lo, sinistra ? hi : mezzo, 1 - asse);
        off[asse] = prima;
    };
    cerca(cerca, 0, NumNodi, 0);
    if (c.pieno) // 64 nodes at one distance: left to the full scan
        return NodoPiuVicino(*g_, x, y);
    const double limite = c.qmin * (1.0 + 1e-12);
    return NodoEsatto(*g_, x, y, [&](auto&& scelta) {
        for (int i = 0; i < c.n; ++i)
            if (c.q[i] <= limite)
                scelta(c.nodo[i]);
    });
}

} // namespace veltrano
