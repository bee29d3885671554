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
    auto col = [this](double x) {
        return std::clamp(static_cast<int>(std::floor((x - area_.x) / cella_)), 0, colonne_ - 1);
    };
    auto riga = [this](double y) {
        return std::clamp(static_cast<int>(std::floor((y - area_.y) / cella_)), 0, righe_ - 1);
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

void TPosizionatoreEtichette::Inserisci(const TRettangoloPx& r) {
    const int indice = static_cast<int>(riquadri_.size());
    riquadri_.push_back(r);
    int c0, r0, c1, r1;
    Celle(r, c0, r0, c1, r1);
    for (int y = r0; y <= r1; ++y)
        for (int x = c0; x <= c1; ++x)
            celle_[static_cast<std::size_t>(y) * static_cast<std::size_t>(colonne_) + static_cast<std::size_t>(x)]
                .push_back(indice);
}

bool TPosizionatoreEtichette::Occupa(const TRettangoloPx& r) {
    // NaN sizes fail these tests as well.
    if (!(r.larghezza >= 0 && r.altezza >= 0) || !r.Interseca(area_))
        return false;
    if (!Libero(r))
        return false;
    Inserisci(r);
    return true;
}

void TPosizionatoreEtichette::Riserva(const TRettangoloPx& r) {
    if (r.larghezza >= 0 && r.altezza >= 0 && std::isfinite(r.x) && std::isfinite(r.y))
        Inserisci(r);
}

} // namespace veltrano::mappa
