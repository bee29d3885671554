// Drawing of TMappa through the painter: layers in handle order, then the
// labels of every layer, then the drawings.
#include "map/etichette.h"
#include "map/mappa_layer.h"

#include <algorithm>
#include <cmath>

namespace veltrano::mappa {

namespace {

bool Interseca(const TEstensione& a, const TEstensione& b) {
    return !(a.xMax < b.xMin || a.xMin > b.xMax || a.yMax < b.yMin || a.yMin > b.yMax);
}

// A vertex within this many pixels of the last one kept adds nothing the eye
// sees: at full extent a municipality keeps a few dozen of its thousands of
// points, which is what keeps the redraw of every municipality fast.
constexpr double PassoMinimo = 1.0;

} // namespace

void TMappa::DisegnaLayer(TPittore& p, const Layer& l, const TEstensione& vista) const {
    if (!l.sf || !l.visibile)
        return;
    if (l.sf->Tipo() == ShapePunto) {
        DisegnaPunti(p, l, vista);
        return;
    }
    double a, b, c, d;
    vista_.Coefficienti(a, b, c, d);
    const bool poligoni = l.sf->Tipo() == ShapePoligono;
    TLottoPoligoni& lp = lottoPoligoni_;
    TLottoLinee& ll = lottoLinee_;
    lp.Svuota();
    ll.Svuota();
    auto aggiungi = [&](std::vector<TPuntoPx>& punti, std::size_t inizio, const TShape& s, std::size_t da,
                        std::size_t a_) {
        for (std::size_t v = da; v < a_; ++v) {
            const TPuntoPx q{s.punti[v].x * a + b, s.punti[v].y * c + d};
            if (punti.size() == inizio || v + 1 == a_ ||
                std::max(std::abs(q.x - punti.back().x), std::abs(q.y - punti.back().y)) >= PassoMinimo)
                punti.push_back(q);
        }
    };
    for (int i = 0; i < l.NumShape(); ++i) {
        const TShape& s = l.sf->Shape(i);
        if (s.punti.empty() || !Interseca(s.estensione, vista))
            continue;
        if (poligoni)
            lp.NuovoPoligono(l.ColoreShape(i));
        const std::size_t np = s.parti.empty() ? 1 : s.parti.size();
        for (std::size_t k = 0; k < np; ++k) {
            const std::size_t da = s.parti.empty() ? 0 : static_cast<std::size_t>(s.parti[k]);
            const std::size_t a_ = k + 1 < np ? static_cast<std::size_t>(s.parti[k + 1]) : s.punti.size();
            if (a_ <= da)
                continue;
            if (poligoni) {
                lp.NuovoAnello();
                aggiungi(lp.punti, lp.punti.size(), s, da, a_);
            } else {
                ll.NuovaLinea();
                aggiungi(ll.punti, ll.punti.size(), s, da, a_);
            }
        }
    }
    const TPenna penna{l.linea, l.spessore > 0 ? l.spessore : 0.0, TTratto::Continuo};
    if (poligoni) {
        lp.contorno = penna;
        if (lp.NumPoligoni() > 0)
            p.Poligoni(lp);
    } else if (!ll.linee.empty() && penna.spessore > 0) {
        ll.penna = penna;
        p.Linee(ll);
    }
}

void TMappa::DisegnaPunti(TPittore& p, const Layer& l, const TEstensione& vista) const {
    centri_.clear();
    colori_.clear();
    for (int i = 0; i < l.NumShape(); ++i) {
        const TShape& s = l.sf->Shape(i);
        if (s.punti.empty() || !Interseca(s.estensione, vista))
            continue;
        centri_.push_back(MappaAPixel(s.punti[0]));
        colori_.push_back(l.ColoreShape(i));
    }
    if (!centri_.empty())
        p.Simboli(static_cast<TTipoPunto>(l.tipoPunto), l.dimPunto, centri_, colori_);
}

void TMappa::DisegnaEtichette(TPittore& p) const {
    // A label and its one-pixel halo stay wholly inside the map.
    const TRettangoloPx area{1, 1, static_cast<double>(Larghezza()) - 2, static_cast<double>(Altezza()) - 2};
    // Labels whose anchor lies farther than this outside the area cannot show.
    const TRettangoloPx vicino{-300, -100, area.larghezza + 600, area.altezza + 200};
    TPosizionatoreEtichette posti(area);
    // The marks drawn later over the labels (the site's) are kept clear of them.
    const double scala = Scala();
    for (const TDisegno& d : disegni_) {
        if (!d.libero)
            continue;
        double x0 = HUGE_VAL, y0 = HUGE_VAL, x1 = -HUGE_VAL, y1 = -HUGE_VAL;
        auto includi = [&](TPuntoPx c, double rx, double ry) {
            x0 = std::min(x0, c.x - rx);
            x1 = std::max(x1, c.x + rx);
            y0 = std::min(y0, c.y - ry);
            y1 = std::max(y1, c.y + ry);
        };
        for (const auto& l : d.linee) {
            const double mezzo = std::max(l.spessore, 1.0) / 2 + 0.5;
            includi(MappaAPixel({l.x1, l.y1}), mezzo, mezzo);
            includi(MappaAPixel({l.x2, l.y2}), mezzo, mezzo);
        }
        for (const auto& c : d.cerchi)
            includi(MappaAPixel({c.x, c.y}), c.r * scala + 1, c.r * scala + 1);
        for (const auto& q : d.punti)
            includi(MappaAPixel({q.x, q.y}), q.dim / 2, q.dim / 2);
        if (x0 <= x1 && y0 <= y1)
            posti.RiservaSegno({x0, y0, x1 - x0, y1 - y0});
    }
    auto disegna = [&](const TEtichetta& e, const TCarattere& f, TColore colore) {
        const TPuntoPx a = MappaAPixel({e.x, e.y});
        // A point under a label placed before: its label would meet that
        // one, so it is left out without measuring it.
        if (!vicino.Contiene(a) || posti.Coperto(a))
            return;
        const std::optional<TRettangoloPx> posto =
            posti.Colloca(a, RiquadroTesto(p, a, e.testo, f, e.giustificazione == 1));
        if (!posto)
            return;
        const TRettangoloPx& r = *posto;
        const TAllineamento all = e.giustificazione == 1 ? TAllineamento::Centro : TAllineamento::Sinistra;
        // A thin halo keeps a label readable over features of its own
        // colour (a grid value over the points of its class).
        const TColore alone = ColoreAlone(colore);
        for (const auto& [dx, dy] : {std::pair{-1, 0}, {1, 0}, {0, -1}, {0, 1}, {-1, -1}, {1, 1}, {-1, 1}, {1, -1}})
            DisegnaTestoRiquadro(p, {r.x + dx, r.y + dy, r.larghezza, r.altezza}, e.testo, f, alone, all);
        DisegnaTestoRiquadro(p, r, e.testo, f, colore, all);
    };
    for (int n = 0; n < NumLayer(); ++n) {
        const Layer& l = *layer_[static_cast<std::size_t>(n)];
        if (!l.etichetteVisibili || l.etichette.empty() || (l.sf && !l.visibile))
            continue;
        for (const TEtichetta& e : l.etichette)
            disegna(e, CarattereEtichetta(n, e), e.colore);
    }
    // Names come after every label: a highlighted name keeps its place, and
    // the name it highlights (same text, same point, to rounding) is not
    // drawn a second time beside it.
    std::vector<const TEtichetta*> evidenziati;
    auto evidenziato = [&](const TEtichetta& e) {
        auto it = std::lower_bound(evidenziati.begin(), evidenziati.end(), e.testo,
                                   [](const TEtichetta* a, const std::string& t) { return a->testo < t; });
        for (; it != evidenziati.end() && (*it)->testo == e.testo; ++it)
            if (std::abs((*it)->x - e.x) < 1e-7 && std::abs((*it)->y - e.y) < 1e-7)
                return true;
        return false;
    };
    for (const auto& l : layer_) {
        if (!l->nomiVisibili || l->nomi.empty() || (l->sf && !l->visibile))
            continue;
        evidenziati.clear();
        if (l->etichetteVisibili)
            for (const TEtichetta& e : l->etichette)
                evidenziati.push_back(&e);
        std::sort(evidenziati.begin(), evidenziati.end(),
                  [](const TEtichetta* a, const TEtichetta* b) { return a->testo < b->testo; });
        for (const TEtichetta& e : l->nomi)
            if (evidenziati.empty() || !evidenziato(e))
                disegna(e, l->caratteri.back(), l->coloreEtichette);
    }
}

void TMappa::DisegnaDisegni(TPittore& p) const {
    // A circle's radius is taken in degrees of latitude, so that the site's
    // rings stay round on the stretched map.
    const double scala = Scala();
    for (const TDisegno& d : disegni_) {
        for (const auto& l : d.linee)
            mappa::DisegnaLinea(p, MappaAPixel({l.x1, l.y1}), MappaAPixel({l.x2, l.y2}), TPenna{l.c, l.spessore});
        for (const auto& c : d.cerchi)
            p.Ellisse(MappaAPixel({c.x, c.y}), c.r * scala, c.r * scala, TPenna{c.c, 1},
                      c.pieno ? std::optional<TColore>(c.c) : std::nullopt);
        for (const auto& q : d.punti) {
            const TPuntoPx o = MappaAPixel({q.x, q.y});
            p.Rettangolo({o.x - q.dim / 2, o.y - q.dim / 2, q.dim, q.dim}, TPenna{q.c, 0}, q.c);
        }
        for (const TEtichetta& e : d.etichette) {
            const TRettangoloPx r =
                RiquadroTesto(p, MappaAPixel({e.x, e.y}), e.testo, carattereDisegni_, e.giustificazione == 1);
            const TAllineamento all = e.giustificazione == 1 ? TAllineamento::Centro : TAllineamento::Sinistra;
            if (ombraEtichetteDisegno_)
                DisegnaTestoRiquadro(p, {r.x + 1, r.y + 1, r.larghezza, r.altezza}, e.testo, carattereDisegni_,
                                     RGBWin(255, 255, 255), all);
            DisegnaTestoRiquadro(p, r, e.testo, carattereDisegni_, e.colore, all);
        }
    }
}

void TMappa::Disegna(TPittore& p) const {
    const TRettangoloPx area{0, 0, static_cast<double>(Larghezza()), static_cast<double>(Altezza())};
    p.Ritaglia(area);
    p.Antialias(false);
    p.Rettangolo(area, TPenna{sfondo_, 0}, sfondo_);
    p.Antialias(true);
    const TEstensione vista = Estensione();
    for (const auto& l : layer_)
        DisegnaLayer(p, *l, vista);
    DisegnaEtichette(p);
    DisegnaDisegni(p);
    p.Ritaglia(std::nullopt);
}

} // namespace veltrano::mappa
