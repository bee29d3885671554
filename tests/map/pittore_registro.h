// A painter that draws nothing and remembers what it was asked to draw, so
// that the map's drawing is checked without any toolkit. Text is measured
// as 0.6 em a character and 1.25 em a line (1 em = the size in pixels at
// 96 dots per inch), which is close enough to real fonts for placement.
#pragma once

#include "map/etichette.h"
#include "map/pittore.h"

#include <string>
#include <vector>

namespace veltrano::test {

struct TPittoreRegistro : mappa::TPittore {
    struct Scritta {
        mappa::TPuntoPx base;
        std::string testo;
        mappa::TCarattere carattere;
        mappa::TColore colore;
    };
    struct Simbolo {
        mappa::TTipoPunto tipo;
        double dimensione;
        mappa::TPuntoPx centro;
        mappa::TColore colore;
    };
    struct Ellisse {
        mappa::TPuntoPx centro;
        double rx, ry;
        bool pieno;
    };
    std::vector<mappa::TLottoPoligoni> poligoni;
    std::vector<mappa::TLottoLinee> linee;
    std::vector<Simbolo> simboli;
    std::vector<Ellisse> ellissi;
    std::vector<mappa::TRettangoloPx> rettangoli;
    std::vector<Scritta> testi;
    int misure = 0;

    static double Em(const mappa::TCarattere& c) { return c.punti * 96.0 / 72.0; }
    /// The texts drawn in a colour other than those of halos and shadows.
    std::vector<Scritta> Colorati() const {
        std::vector<Scritta> r;
        for (const Scritta& t : testi)
            if (t.colore != mappa::AloneChiaro && t.colore != mappa::AloneScuro)
                r.push_back(t);
        return r;
    }

    void Poligoni(const mappa::TLottoPoligoni& l) override { poligoni.push_back(l); }
    void Linee(const mappa::TLottoLinee& l) override { linee.push_back(l); }
    void Simboli(mappa::TTipoPunto tipo, double d, std::span<const mappa::TPuntoPx> c,
                 std::span<const mappa::TColore> col) override {
        for (std::size_t i = 0; i < c.size(); ++i)
            simboli.push_back({tipo, d, c[i], col[i]});
    }
    void Ellisse(mappa::TPuntoPx c, double rx, double ry, const mappa::TPenna&,
                 std::optional<mappa::TColore> r) override {
        ellissi.push_back({c, rx, ry, r.has_value()});
    }
    void Rettangolo(const mappa::TRettangoloPx& r, const mappa::TPenna&, std::optional<mappa::TColore>) override {
        rettangoli.push_back(r);
    }
    void Testo(mappa::TPuntoPx b, std::string_view t, const mappa::TCarattere& c, mappa::TColore col) override {
        testi.push_back({b, std::string(t), c, col});
    }
    mappa::TMetricaTesto MisuraTesto(std::string_view t, const mappa::TCarattere& c) override {
        ++misure;
        const double em = Em(c);
        return {0.6 * em * static_cast<double>(t.size()), 1.25 * em, em};
    }
    void Immagine(const mappa::TRettangoloPx& d, const mappa::TImmagine&) override { rettangoli.push_back(d); }
    void Ritaglia(std::optional<mappa::TRettangoloPx>) override {}
    void Antialias(bool) override {}
};

} // namespace veltrano::test
