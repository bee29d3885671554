#include "map/pittore.h"

#include <algorithm>

namespace veltrano::mappa {

TColore TImmagine::Colore(int x, int y) const {
    if (x < 0 || y < 0 || x >= larghezza || y >= altezza)
        return 0;
    const uint32_t v = pixel[static_cast<std::size_t>(y) * static_cast<std::size_t>(larghezza) +
                             static_cast<std::size_t>(x)];
    return RGBWin(static_cast<int>((v >> 16) & 0xFF), static_cast<int>((v >> 8) & 0xFF), static_cast<int>(v & 0xFF));
}

void TLottoPoligoni::Svuota() {
    punti.clear();
    anelli.clear();
    poligoni.clear();
    riempimenti.clear();
}

void TLottoPoligoni::NuovoPoligono(std::optional<TColore> riempimento) {
    poligoni.push_back(anelli.size());
    riempimenti.push_back(riempimento);
}

void TLottoPoligoni::NuovoAnello() { anelli.push_back(punti.size()); }

void TLottoLinee::Svuota() {
    punti.clear();
    linee.clear();
}

void DisegnaLinea(TPittore& p, TPuntoPx a, TPuntoPx b, const TPenna& penna) {
    TLottoLinee l;
    l.penna = penna;
    l.NuovaLinea();
    l.Aggiungi(a);
    l.Aggiungi(b);
    p.Linee(l);
}

void DisegnaPoligono(TPittore& p, std::span<const TPuntoPx> punti, const TPenna& penna,
                     std::optional<TColore> riempimento) {
    TLottoPoligoni l;
    l.contorno = penna;
    l.NuovoPoligono(riempimento);
    l.NuovoAnello();
    l.punti.assign(punti.begin(), punti.end());
    p.Poligoni(l);
}

std::vector<std::string_view> RigheTesto(std::string_view t) {
    std::vector<std::string_view> r;
    std::size_t inizio = 0;
    for (std::size_t i = 0; i < t.size(); ++i) {
        if (t[i] != '\r' && t[i] != '\n')
            continue;
        r.push_back(t.substr(inizio, i - inizio));
        if (t[i] == '\r' && i + 1 < t.size() && t[i + 1] == '\n')
            ++i;
        inizio = i + 1;
    }
    r.push_back(t.substr(inizio));
    return r;
}

TRettangoloPx RiquadroTesto(TPittore& p, TPuntoPx ancora, std::string_view testo, const TCarattere& c,
                            bool centrato) {
    double w = 0, h = 0;
    for (std::string_view riga : RigheTesto(testo)) {
        const TMetricaTesto m = p.MisuraTesto(riga, c);
        w = std::max(w, m.larghezza);
        h += m.altezza;
    }
    if (centrato)
        return {ancora.x - w / 2, ancora.y - h / 2, w, h};
    return {ancora.x, ancora.y - h, w, h};
}

void DisegnaTestoRiquadro(TPittore& p, const TRettangoloPx& r, std::string_view testo, const TCarattere& c,
                          TColore colore, TAllineamento all) {
    double y = r.y;
    for (std::string_view riga : RigheTesto(testo)) {
        const TMetricaTesto m = p.MisuraTesto(riga, c);
        double x = r.x;
        if (all == TAllineamento::Centro)
            x = r.x + (r.larghezza - m.larghezza) / 2;
        else if (all == TAllineamento::Destra)
            x = r.Destra() - m.larghezza;
        p.Testo({x, y + m.ascesa}, riga, c, colore);
        y += m.altezza;
    }
}

} // namespace veltrano::mappa
