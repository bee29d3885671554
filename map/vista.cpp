#include "map/vista.h"

#include <algorithm>
#include <cmath>

namespace veltrano::mappa {

TVista::TVista() : rapporto_(std::cos(42.0 * 3.14159265358979323846 / 180.0)) {}

void TVista::ImpostaDimensioni(int larghezza, int altezza) {
    larghezza_ = std::max(1, larghezza);
    altezza_ = std::max(1, altezza);
}

void TVista::ImpostaRapporto(double k) {
    if (k > 0 && std::isfinite(k))
        rapporto_ = k;
}

TEstensione TVista::Estensione() const {
    const double mx = larghezza_ / (2 * scala_ * rapporto_), my = altezza_ / (2 * scala_);
    return {cx_ - mx, cy_ - my, cx_ + mx, cy_ + my};
}

bool TVista::ImpostaEstensione(const TEstensione& e) {
    if (e.Vuota() || !std::isfinite(e.xMin) || !std::isfinite(e.xMax) || !std::isfinite(e.yMin) ||
        !std::isfinite(e.yMax))
        return false;
    cx_ = (e.xMin + e.xMax) / 2;
    cy_ = (e.yMin + e.yMax) / 2;
    const double dx = (e.xMax - e.xMin) * rapporto_, dy = e.yMax - e.yMin;
    if (dx > 0 || dy > 0)
        scala_ = std::min(dx > 0 ? larghezza_ / dx : 1e12, dy > 0 ? altezza_ / dy : 1e12);
    return true;
}

TPunto TVista::PixelAMappa(TPuntoPx p) const {
    return {cx_ + (p.x - larghezza_ / 2.0) / (scala_ * rapporto_), cy_ - (p.y - altezza_ / 2.0) / scala_};
}

TPuntoPx TVista::MappaAPixel(TPunto m) const {
    return {larghezza_ / 2.0 + (m.x - cx_) * scala_ * rapporto_, altezza_ / 2.0 - (m.y - cy_) * scala_};
}

void TVista::Coefficienti(double& a, double& b, double& c, double& d) const {
    a = scala_ * rapporto_;
    b = larghezza_ / 2.0 - cx_ * a;
    c = -scala_;
    d = altezza_ / 2.0 + cy_ * scala_;
}

} // namespace veltrano::mappa
