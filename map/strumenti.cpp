#include "map/strumenti.h"

#include "map/cursori.h"

#include <algorithm>
#include <cmath>

namespace veltrano::mappa {

namespace {

class ZoomPiu : public TStrumentoCursore {
public:
    void Premuto(TMappa&, TPuntoPx p, int pulsante) override {
        if (pulsante == PulsanteSinistro)
            inizio_ = p, attivo_ = true;
    }
    void Mosso(TMappa& m, TPuntoPx p, int) override {
        if (attivo_)
            m.ImpostaRettangoloZoom(Rettangolo(inizio_, p));
    }
    void Rilasciato(TMappa& m, TPuntoPx p, int) override {
        if (!attivo_)
            return;
        attivo_ = false;
        const TRettangoloPx r = Rettangolo(inizio_, p);
        m.ImpostaRettangoloZoom(std::nullopt);
        // A box smaller than a few pixels is a click.
        if (r.larghezza > 4 && r.altezza > 4) {
            const TPunto a = m.PixelAMappa({r.x, r.Basso()}), b = m.PixelAMappa({r.Destra(), r.y});
            m.ImpostaEstensione({a.x, a.y, b.x, b.y});
        } else {
            m.ZoomAttorno(p, 0.5);
        }
    }
    TFormaCursore Forma() const override { return TFormaCursore::Lente; }

private:
    static TRettangoloPx Rettangolo(TPuntoPx a, TPuntoPx b) {
        return {std::min(a.x, b.x), std::min(a.y, b.y), std::abs(b.x - a.x), std::abs(b.y - a.y)};
    }
    TPuntoPx inizio_;
    bool attivo_ = false;
};

class ZoomMeno : public TStrumentoCursore {
public:
    void Rilasciato(TMappa& m, TPuntoPx p, int pulsante) override {
        if (pulsante == PulsanteSinistro)
            m.ZoomAttorno(p, 2.0);
    }
    TFormaCursore Forma() const override { return TFormaCursore::LenteMeno; }
};

class Pan : public TStrumentoCursore {
public:
    void Premuto(TMappa&, TPuntoPx p, int pulsante) override {
        if (pulsante == PulsanteSinistro)
            inizio_ = p, attivo_ = true;
    }
    void Mosso(TMappa& m, TPuntoPx p, int) override {
        if (attivo_)
            m.ImpostaSpostamento({p.x - inizio_.x, p.y - inizio_.y});
    }
    void Rilasciato(TMappa& m, TPuntoPx p, int) override {
        if (!attivo_)
            return;
        attivo_ = false;
        const double dx = p.x - inizio_.x, dy = p.y - inizio_.y;
        m.ImpostaSpostamento({});
        const TPunto a = m.PixelAMappa({-dx, m.Altezza() - dy});
        const TPunto b = m.PixelAMappa({m.Larghezza() - dx, -dy});
        m.ImpostaEstensione({a.x, a.y, b.x, b.y});
    }
    TFormaCursore Forma() const override { return attivo_ ? TFormaCursore::ManoChiusa : TFormaCursore::Mano; }

private:
    TPuntoPx inizio_;
    bool attivo_ = false;
};

class Selezione : public TStrumentoCursore {
    TFormaCursore Forma() const override { return TFormaCursore::Indice; }
};

class Nessuno : public TStrumentoCursore {};

} // namespace

int CursoreSchermoDi(TFormaCursore f) {
    switch (f) {
    case TFormaCursore::Lente: return CursoreLenteIng;
    case TFormaCursore::LenteMeno: return CursoreZoomPiuMeno;
    case TFormaCursore::Mano: return CursoreManoAperta;
    case TFormaCursore::ManoChiusa: return CursoreSpostaNorm;
    case TFormaCursore::Croce: return CursoreCroceNorm;
    case TFormaCursore::Indice: return CursoreCroceMark;
    case TFormaCursore::Freccia: break;
    }
    return 0;
}

std::vector<std::unique_ptr<TStrumentoCursore>> CreaStrumentiCursore() {
    std::vector<std::unique_ptr<TStrumentoCursore>> v;
    v.push_back(std::make_unique<ZoomPiu>());
    v.push_back(std::make_unique<ZoomMeno>());
    v.push_back(std::make_unique<Pan>());
    v.push_back(std::make_unique<Selezione>());
    v.push_back(std::make_unique<Nessuno>());
    return v;
}

} // namespace veltrano::mappa
