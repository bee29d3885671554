#include "outputs/grafico_plugin.h"

#include "veltrano/veltrano.h"

namespace veltrano::uscite {

TGraficoPerPlugin::TGraficoPerPlugin(TGrafico g) : g_(std::move(g)) {
    x_.reserve(g_.serie.size());
    y_.reserve(g_.serie.size());
    serie_.reserve(g_.serie.size());
    for (const TSerieGrafico& s : g_.serie) {
        auto& x = x_.emplace_back();
        auto& y = y_.emplace_back();
        x.reserve(s.punti.size());
        y.reserve(s.punti.size());
        for (const auto& [px, py] : s.punti) {
            x.push_back(px);
            y.push_back(py);
        }
        serie_.push_back({s.nome.c_str(), s.colore, x.data(), y.data(), x.size()});
    }
    c_ = {g_.titolo.c_str(), g_.sottotitolo.c_str(), g_.etichettaX.c_str(), g_.etichettaY.c_str(), serie_.data(),
          serie_.size()};
}

namespace {

std::string Testo(const char* t) { return t ? std::string(t) : std::string(); }

} // namespace

TGrafico DaGraficoC(const TGraficoC& c) {
    TGrafico g{Testo(c.titolo), Testo(c.sottotitolo), Testo(c.etichettaX), Testo(c.etichettaY), {}};
    if (c.numSerie > 0 && !c.serie)
        throw ErroreArgomento("grafico: elenco delle curve nullo");
    g.serie.reserve(c.numSerie);
    for (std::size_t i = 0; i < c.numSerie; ++i) {
        const TSerieGraficoC& s = c.serie[i];
        if (s.punti > 0 && (!s.x || !s.y))
            throw ErroreArgomento("grafico: punti nulli nella curva " + Testo(s.nome));
        TSerieGrafico& d = g.serie.emplace_back(TSerieGrafico{Testo(s.nome), s.colore, {}});
        d.punti.reserve(s.punti);
        for (std::size_t k = 0; k < s.punti; ++k)
            d.punti.emplace_back(s.x[k], s.y[k]);
    }
    return g;
}

} // namespace veltrano::uscite
