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

int IndiceNodi::PiuVicino(float x, float y) const {
    const double xs = x, ys = y;
    if (!(std::isfinite(xs) && std::isfinite(ys)))
        return NodoPiuVicino(*g_, x, y);
    // q = dx^2 + dy^2 in double orders the nodes as the exact distance does to
    // within a few units in the last place: every node within a relative
    // 1e-12 of the least q is kept for the exact choice, and a subtree is
    // skipped only when its splitting line alone is farther than the least q
    // with a wider margin. Whatever lies beyond the line has at least that q.
    double qmin = std::numeric_limits<double>::infinity();
    int candidati[64];
    double qCandidati[64];
    int nCandidati = 0;
    bool troppi = false;
    auto prova = [&](const Punto& p) {
        const double dx = p.x - xs, dy = p.y - ys;
        const double q = dx * dx + dy * dy;
        if (q < qmin)
            qmin = q;
        if (q <= qmin * (1.0 + 1e-12)) {
            if (nCandidati == 64) {
                // Drop those the lower minimum has left behind.
                int k = 0;
                for (int i = 0; i < nCandidati; ++i)
                    if (qCandidati[i] <= qmin * (1.0 + 1e-12)) {
                        candidati[k] = candidati[i];
                        qCandidati[k++] = qCandidati[i];
                    }
                nCandidati = k;
            }
            if (nCandidati < 64) {
                candidati[nCandidati] = p.nodo;
                qCandidati[nCandidati++] = q;
            } else {
                troppi = true; // 64 nodes at one distance: left to the full scan
            }
        }
    };
    auto cerca = [&](auto&& self, int lo, int hi, int asse) -> void {
        if (hi - lo <= 4) {
            for (int i = lo; i < hi; ++i)
                prova(punti_[static_cast<std::size_t>(i)]);
            return;
        }
        const int mezzo = lo + (hi - lo) / 2;
        const Punto& m = punti_[static_cast<std::size_t>(mezzo)];
        const double d = asse == 0 ? xs - m.x : ys - m.y;
        prova(m);
        if (d < 0) {
            self(self, lo, mezzo, 1 - asse);
            if (d * d <= qmin * (1.0 + 1e-9))
                self(self, mezzo + 1, hi, 1 - asse);
        } else {
            self(self, mezzo + 1, hi, 1 - asse);
            if (d * d <= qmin * (1.0 + 1e-9))
                self(self, lo, mezzo, 1 - asse);
        }
    };
    cerca(cerca, 0, NumNodi, 0);
    if (troppi)
        return NodoPiuVicino(*g_, x, y);
    const double limite = qmin * (1.0 + 1e-12);
    return NodoEsatto(*g_, x, y, [&](auto&& scelta) {
        for (int i = 0; i < nCandidati; ++i)
            if (qCandidati[i] <= limite)
                scelta(candidati[i]);
    });
}

} // namespace veltrano
