#include "map/etichette.h"

#include <algorithm>
#include <cmath>

namespace veltrano::mappa {

TPosizionatoreEtichette::TPosizionatoreEtichette(TRettangoloPx area, double margine, double cella)
    : area_(area), margine_(margine), cella_(cella > 1 ? cella : 64.0) {
    colonne_ = std::max(1, static_cast<int>(std::ceil(area.larghezza / cella_)));
    righe_ = std::max(1, static_cast<int>(std::ceil(area.altezza / cella_)));
    celle_.resize(static_cast<std::size_t>(colonne_) * static_cast<std::size_t>(righe_));
}

void TPosizionatoreEtichette::Celle(const TRettangoloPx& r, int& c0, int& r0, int& c1, int& r1) const {
    // Clamped before the conversion, so that a box far outside stays defined.
    auto col = [this](double x) {
        return static_cast<int>(std::clamp(std::floor((x - area_.x) / cella_), 0.0, colonne_ - 1.0));
    };
    auto riga = [this](double y) {
        return static_cast<int>(std::clamp(std::floor((y - area_.y) / cella_), 0.0, righe_ - 1.0));
    };
    c0 = col(r.x - margine_);
    c1 = col(r.Destra() + margine_);
    r0 = riga(r.y - margine_);
    r1 = riga(r.Basso() + margine_);
}

bool TPosizionatoreEtichette::Libero(const TRettangoloPx& r) const {
    const TRettangoloPx largo{r.x - margine_, r.y - margine_, r.larghezza + 2 * margine_, r.altezza + 2 * margine_};
    int c0, r0, c1, r1;
    Celle(r, c0, r0, c1, r1);
    for (int y = r0; y <= r1; ++y)
        for (int x = c0; x <= c1; ++x)
            for (int i : celle_[static_cast<std::size_t>(y) * static_cast<std::size_t>(colonne_) +
                                static_cast<std::size_t>(x)])
                if (largo.Interseca(riquadri_[static_cast<std::size_t>(i)]))
                    return false;
    return true;
}

void TPosizionatoreEtichette::Inserisci(const TRettangoloPx& r, bool segno) {
    const int indice = static_cast<int>(riquadri_.size());
    riquadri_.push_back(r);
    diSegno_.push_back(segno);
    int c0, r0, c1, r1;
    Celle(r, c0, r0, c1, r1);
    for (int y = r0; y <= r1; ++y)
        for (int x = c0; x <= c1; ++x)
            celle_[static_cast<std::size_t>(y) * static_cast<std::size_t>(colonne_) + static_cast<std::size_t>(x)]
                .push_back(indice);
}

namespace {

bool Valido(const TRettangoloPx& r) {
    // NaN sizes and positions fail these tests as well.
    return r.larghezza >= 0 && r.altezza >= 0 && std::isfinite(r.x) && std::isfinite(r.y) &&
           std::isfinite(r.larghezza) && std::isfinite(r.altezza);
}

} // namespace

bool TPosizionatoreEtichette::Dentro(const TRettangoloPx& r) const {
    return Valido(r) && r.x >= area_.x && r.y >= area_.y && r.Destra() <= area_.Destra() &&
           r.Basso() <= area_.Basso();
}

bool TPosizionatoreEtichette::Coperto(TPuntoPx p) const {
    if (!(p.x >= area_.x && p.x < area_.Destra() && p.y >= area_.y && p.y < area_.Basso()))
        return false;
    const auto c = static_cast<std::size_t>(std::clamp(static_cast<int>((p.x - area_.x) / cella_), 0, colonne_ - 1));
    const auto r = static_cast<std::size_t>(std::clamp(static_cast<int>((p.y - area_.y) / cella_), 0, righe_ - 1));
    for (int i : celle_[r * static_cast<std::size_t>(colonne_) + c]) {
        const auto k = static_cast<std::size_t>(i);
        if (!diSegno_[k] && riquadri_[k].Contiene(p))
            return true;
    }
    return false;
}

std::vector<TRettangoloPx> TPosizionatoreEtichette::SegniToccati(const TRettangoloPx& r) const {
    const TRettangoloPx largo{r.x - margine_, r.y - margine_, r.larghezza + 2 * margine_, r.altezza + 2 * margine_};
    std::vector<TRettangoloPx> toccati;
    for (const TRettangoloPx& s : segni_)
        if (largo.Interseca(s))
            toccati.push_back(s);
    return toccati;
}

bool TPosizionatoreEtichette::Occupa(const TRettangoloPx& r) {
    if (!Dentro(r) || !Libero(r))
        return false;
    Inserisci(r);
    return true;
}

void TPosizionatoreEtichette::Riserva(const TRettangoloPx& r) {
    if (Valido(r))
        Inserisci(r);
}

void TPosizionatoreEtichette::RiservaSegno(const TRettangoloPx& r) {
    if (!Valido(r) || !r.Interseca(area_))
        return;
    segni_.push_back(r);
    Inserisci(r, true);
}

std::optional<TRettangoloPx> TPosizionatoreEtichette::Colloca(TPuntoPx a, const TRettangoloPx& r) {
    if (!Valido(r) || !std::isfinite(a.x) || !std::isfinite(a.y))
        return std::nullopt;
    const bool dentro = Dentro(r);
    if (dentro && Libero(r)) {
        Inserisci(r);
        return r;
    }
    const std::vector<TRettangoloPx> segni = SegniToccati(r);
    // Only a label of higher priority in the way: left out.
    if (dentro && segni.empty())
        return std::nullopt;
    const double w = r.larghezza, h = r.altezza;
    const double g = margine_ + 1;
    // Slid along the axes by the least that brings it inside, while it
    // still covers its point.
    auto scorri = [&](TRettangoloPx c, bool x, bool y) {
        if (x)
            c.x = std::max(area_.x, std::min(c.x, area_.Destra() - w));
        if (y)
            c.y = std::max(area_.y, std::min(c.y, area_.Basso() - h));
        return c;
    };
    std::vector<TRettangoloPx> prove;
    prove.reserve(9 + 4 * segni.size());
    if (!dentro) {
        const TRettangoloPx c = scorri(r, true, true);
        if (a.x >= c.x && a.x <= c.Destra() && a.y >= c.y && a.y <= c.Basso())
            prove.push_back(c);
    }
    prove.insert(prove.end(), {TRettangoloPx{a.x + g, a.y - h / 2, w, h}, TRettangoloPx{a.x - g - w, a.y - h / 2, w, h},
                               TRettangoloPx{a.x - w / 2, a.y - g - h, w, h}, TRettangoloPx{a.x - w / 2, a.y + g, w, h},
                               TRettangoloPx{a.x + g, a.y - g - h, w, h}, TRettangoloPx{a.x - g - w, a.y - g - h, w, h},
                               TRettangoloPx{a.x + g, a.y + g, w, h}, TRettangoloPx{a.x - g - w, a.y + g, w, h}});
    // Beside a mark it lies on: above or below it (slid sideways to fit),
    // then right or left of it (slid up or down).
    for (const TRettangoloPx& s : segni) {
        prove.push_back(scorri({r.x, s.y - g - h, w, h}, true, false));
        prove.push_back(scorri({r.x, s.Basso() + g, w, h}, true, false));
        prove.push_back(scorri({s.Destra() + g, r.y, w, h}, false, true));
        prove.push_back(scorri({s.x - g - w, r.y, w, h}, false, true));
    }
    for (const TRettangoloPx& c : prove)
        if (Occupa(c))
            return c;
    return std::nullopt;
}

} // namespace veltrano::mappa
