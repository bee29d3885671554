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
    riquadri_.resize(NumNodi);
    Riquadro(0, NumNodi);

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
    liste_ = std::make_unique<std::atomic<const Lista*>[]>(static_cast<std::size_t>(nx_) * static_cast<std::size_t>(ny_));
    for (std::size_t c = 0; c < static_cast<std::size_t>(nx_) * static_cast<std::size_t>(ny_); ++c)
        liste_[c].store(nullptr, std::memory_order_relaxed);
    semi_ = std::make_unique<std::atomic<int32_t>[]>(static_cast<std::size_t>(nx_) * static_cast<std::size_t>(ny_));
    for (std::size_t c = 0; c < static_cast<std::size_t>(nx_) * static_cast<std::size_t>(ny_); ++c)
        semi_[c].store(0, std::memory_order_relaxed);
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

struct IndiceNodi::Lista {
    std::vector<Punto> nodi; // empty: too many, the cell's sites go to the tree
};

IndiceNodi::~IndiceNodi() {
    if (liste_)
        for (std::size_t c = 0; c < static_cast<std::size_t>(nx_) * static_cast<std::size_t>(ny_); ++c)
            delete liste_[c].load(std::memory_order_relaxed);
}

void IndiceNodi::Costruisci(int lo, int hi, int asse) {
    if (hi - lo <= Foglia) // scanned whole: the order inside does not matter
        return;
    const int mezzo = lo + (hi - lo) / 2;
    std::nth_element(punti_.begin() + lo, punti_.begin() + mezzo, punti_.begin() + hi,
                     [asse](const Punto& a, const Punto& b) { return asse == 0 ? a.x < b.x : a.y < b.y; });
    Costruisci(lo, mezzo, 1 - asse);
    Costruisci(mezzo + 1, hi, 1 - asse);
}

IndiceNodi::Rettangolo IndiceNodi::Riquadro(int lo, int hi) {
    const int mezzo = lo + (hi - lo) / 2;
    Rettangolo r{punti_[static_cast<std::size_t>(mezzo)].x, punti_[static_cast<std::size_t>(mezzo)].y,
                 punti_[static_cast<std::size_t>(mezzo)].x, punti_[static_cast<std::size_t>(mezzo)].y};
    auto unisci = [&r](const Rettangolo& a) {
        r.x0 = std::min(r.x0, a.x0);
        r.y0 = std::min(r.y0, a.y0);
        r.x1 = std::max(r.x1, a.x1);
        r.y1 = std::max(r.y1, a.y1);
    };
    if (hi - lo <= Foglia) {
        for (int i = lo; i < hi; ++i) {
            const Punto& p = punti_[static_cast<std::size_t>(i)];
            unisci({p.x, p.y, p.x, p.y});
        }
    } else {
        unisci(Riquadro(lo, mezzo));
        unisci(Riquadro(mezzo + 1, hi));
    }
    riquadri_[static_cast<std::size_t>(mezzo)] = r;
    return r;
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
    const double fx = std::floor((xs - x0_) / Lato), fy = std::floor((ys - y0_) / Lato);
    if (!(fx >= 0 && fx < nx_ && fy >= 0 && fy < ny_))
        return CercaAlbero(xs, ys, x, y, nullptr);
    const int cx = static_cast<int>(fx), cy = static_cast<int>(fy);
    const auto cella = static_cast<std::size_t>(cy * nx_ + cx);
    if (!vuota_[cella]) {
        if (const int n = CercaCelle(xs, ys, x, y, cx, cy))
            return n;
    } else if (const Lista& l = ListaCella(cx, cy); !l.nodi.empty()) {
        Candidati c;
        for (const Punto& p : l.nodi) {
            const double dx = p.x - xs, dy = p.y - ys;
            c.Prova(dx * dx + dy * dy, p.nodo);
        }
        const double limite = c.qmin * (1.0 + 1e-12);
        return NodoEsatto(*g_, x, y, [&](auto&& scelta) {
            for (int i = 0; i < c.n; ++i)
                if (c.q[i] <= limite)
                    scelta(c.nodo[i]);
        });
    }
    return CercaAlbero(xs, ys, x, y, &semi_[cella]);
}

// Every node whose rectangle distance from r, squared, is at most raggio2.
template <class Prova> void IndiceNodi::Vicini(const Rettangolo& r, double raggio2, Prova&& prova) const {
    auto distanza2 = [&](const Rettangolo& a) {
        const double dx = std::max({0.0, double(a.x0) - r.x1, double(r.x0) - a.x1});
        const double dy = std::max({0.0, double(a.y0) - r.y1, double(r.y0) - a.y1});
        return dx * dx + dy * dy;
    };
    auto cerca = [&](auto&& self, int lo, int hi) -> void {
        const int mezzo = lo + (hi - lo) / 2;
        if (distanza2(riquadri_[static_cast<std::size_t>(mezzo)]) > raggio2)
            return;
        if (hi - lo <= Foglia) {
            for (int i = lo; i < hi; ++i) {
                const Punto& p = punti_[static_cast<std::size_t>(i)];
                if (distanza2({p.x, p.y, p.x, p.y}) <= raggio2)
                    prova(p);
            }
            return;
        }
        const Punto& p = punti_[static_cast<std::size_t>(mezzo)];
        if (distanza2({p.x, p.y, p.x, p.y}) <= raggio2)
            prova(p);
        self(self, lo, mezzo);
        self(self, mezzo + 1, hi);
    };
    cerca(cerca, 0, NumNodi);
}

const IndiceNodi::Lista& IndiceNodi::ListaCella(int cx, int cy) const {
    std::atomic<const Lista*>& voce = liste_[static_cast<std::size_t>(cy * nx_ + cx)];
    if (const Lista* l = voce.load(std::memory_order_acquire))
        return *l;
    // The cell, widened by 1 m for the rounding of the cell a site falls in.
    constexpr double Bordo = 1e-3; // [km]
    const double ax = x0_ + cx * Lato - Bordo, ay = y0_ + cy * Lato - Bordo, lato = Lato + 2 * Bordo;
    // Any site of the cell has a node no farther than the farthest corner
    // from the node nearest to the centre (U); its nearest node is then no
    // farther than U from the cell either. Those are the candidates.
    const double xc = ax + lato / 2, yc = ay + lato / 2;
    const int centro = CercaAlbero(xc, yc, static_cast<float>(xc), static_cast<float>(yc), nullptr);
    const double nx = g_->Xs()[centro - 1], ny = g_->Ys()[centro - 1];
    const double ux = std::max(std::fabs(nx - ax), std::fabs(nx - ax - lato));
    const double uy = std::max(std::fabs(ny - ay), std::fabs(ny - ay - lato));
    const double u2 = (ux * ux + uy * uy) * (1.0 + 1e-9) + 1e-6;
    // The rectangle in float, rounded outwards.
    const Rettangolo r{std::nextafter(static_cast<float>(ax), -INFINITY), std::nextafter(static_cast<float>(ay), -INFINITY),
                       std::nextafter(static_cast<float>(ax + lato), INFINITY),
                       std::nextafter(static_cast<float>(ay + lato), INFINITY)};
    auto nuova = std::make_unique<Lista>();
    constexpr std::size_t MaxLista = 64; // the candidates' buffer
    bool troppi = false;
    Vicini(r, u2, [&](const Punto& p) {
        if (nuova->nodi.size() < MaxLista)
            nuova->nodi.push_back(p);
        else
            troppi = true;
    });
    if (troppi)
        nuova->nodi.clear();
    const Lista* attesa = nullptr;
    if (voce.compare_exchange_strong(attesa, nuova.get(), std::memory_order_acq_rel, std::memory_order_acquire))
        return *nuova.release();
    return *attesa; // another thread made it first: the same list
}

int IndiceNodi::CercaCelle(double xs, double ys, float x, float y, int cx, int cy) const {
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

int IndiceNodi::CercaAlbero(double xs, double ys, float x, float y, std::atomic<int32_t>* seme) const {
    Candidati c;
    // A node near the site, from an earlier search in its cell, bounds the
    // least distance from the start and prunes most of the tree. Any node
    // would do: it is only a candidate like the others.
    const int32_t primo = seme ? seme->load(std::memory_order_relaxed) : 0;
    if (primo > 0) {
        const double dx = g_->Xs()[primo - 1] - xs, dy = g_->Ys()[primo - 1] - ys;
        c.Prova(dx * dx + dy * dy, primo);
    }
    // A subtree is skipped only when the rectangle around its nodes is
    // farther than the least q, with the wider margin: every node in it is at
    // least that far, in floating point too (differences of floats are exact
    // in double, and the rounding of squares and sums is monotonic).
    auto cerca = [&](auto&& self, int lo, int hi, int asse) -> void {
        const int mezzo = lo + (hi - lo) / 2;
        const Rettangolo& r = riquadri_[static_cast<std::size_t>(mezzo)];
        const double rx = xs < r.x0 ? r.x0 - xs : (xs > r.x1 ? xs - r.x1 : 0.0);
        const double ry = ys < r.y0 ? r.y0 - ys : (ys > r.y1 ? ys - r.y1 : 0.0);
        if (rx * rx + ry * ry > c.qmin * (1.0 + 1e-9))
            return;
        if (hi - lo <= Foglia) {
            for (int i = lo; i < hi; ++i) {
                const Punto& p = punti_[static_cast<std::size_t>(i)];
                const double dx = p.x - xs, dy = p.y - ys;
                c.Prova(dx * dx + dy * dy, p.nodo);
            }
            return;
        }
        const Punto& m = punti_[static_cast<std::size_t>(mezzo)];
        const double dx = m.x - xs, dy = m.y - ys;
        c.Prova(dx * dx + dy * dy, m.nodo);
        const bool sinistra = (asse == 0 ? xs - m.x : ys - m.y) < 0;
        self(self, sinistra ? lo : mezzo + 1, sinistra ? mezzo : hi, 1 - asse);
        self(self, sinistra ? mezzo + 1 : lo, sinistra ? hi : mezzo, 1 - asse);
    };
    cerca(cerca, 0, NumNodi, 0);
    if (c.pieno) // 64 nodes at one distance: left to the full scan
        return NodoPiuVicino(*g_, x, y);
    const double limite = c.qmin * (1.0 + 1e-12);
    const int n = NodoEsatto(*g_, x, y, [&](auto&& scelta) {
        for (int i = 0; i < c.n; ++i)
            if (c.q[i] <= limite)
                scelta(c.nodo[i]);
    });
    if (seme && primo == 0)
        seme->store(n, std::memory_order_relaxed);
    return n;
}

} // namespace veltrano
