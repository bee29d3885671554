// Chart layout through a painter that records what it is asked to draw, with
// text measured as a plain proportional font: every text inside the chart and
// clear of every other, every curve point inside the plot, axes that cover
// the data, on charts shaped like the spectra and on awkward ones.
#include "outputs/grafico_plugin.h"
#include "veltrano/veltrano.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace veltrano::uscite {
namespace {

using mappa::TPuntoPx;
using mappa::TRettangoloPx;

struct TestoDisegnato {
    std::string testo;
    TRettangoloPx riquadro;
};

class PittoreRegistra : public mappa::TPittore {
public:
    std::vector<TestoDisegnato> testi;
    std::vector<mappa::TLottoLinee> linee;
    std::vector<TRettangoloPx> rettangoli;

    void Poligoni(const mappa::TLottoPoligoni&) override {}
    void Linee(const mappa::TLottoLinee& l) override { linee.push_back(l); }
    void Simboli(mappa::TTipoPunto, double, std::span<const TPuntoPx>, std::span<const mappa::TColore>) override {}
    void Ellisse(TPuntoPx, double, double, const mappa::TPenna&, std::optional<mappa::TColore>) override {}
    void Rettangolo(const TRettangoloPx& r, const mappa::TPenna&, std::optional<mappa::TColore>) override {
        rettangoli.push_back(r);
    }
    void Testo(TPuntoPx base, std::string_view t, const mappa::TCarattere& c, mappa::TColore) override {
        const mappa::TMetricaTesto m = MisuraTesto(t, c);
        testi.push_back({std::string(t), {base.x, base.y - m.ascesa, m.larghezza, m.altezza}});
    }
    // A proportional font: 0.6 em per character (code point), 96 dpi.
    mappa::TMetricaTesto MisuraTesto(std::string_view t, const mappa::TCarattere& c) override {
        double caratteri = 0;
        for (const char ch : t)
            caratteri += (static_cast<unsigned char>(ch) & 0xC0) != 0x80;
        const double em = c.punti * 96.0 / 72.0 * (c.grassetto ? 1.1 : 1.0);
        return {0.6 * em * caratteri, 1.2 * em, 0.95 * em};
    }
    void Immagine(const TRettangoloPx&, const mappa::TImmagine&) override {}
    void Ritaglia(std::optional<TRettangoloPx>) override {}
    void Antialias(bool) override {}
};

bool Dentro(const TRettangoloPx& a, const TRettangoloPx& fuori) {
    return a.x >= fuori.x - 1e-6 && a.y >= fuori.y - 1e-6 && a.Destra() <= fuori.Destra() + 1e-6 &&
           a.Basso() <= fuori.Basso() + 1e-6;
}

TGrafico Spettri(double scalaY, double xMax, const std::string& nome) {
    TGrafico g{"Spettri di risposta elastici - componente orizzontale", "Suolo C, topografia T2, smorzamento 5%",
               "Periodo T [s]", "Se [g]", {}};
    const mappa::TColore colori[4] = {0x00B4771F, 0x000E7FFF, 0x002CA02C, 0x002827D6};
    for (int s = 0; s < 4; ++s) {
        TSerieGrafico serie{nome + " " + std::to_string(s), colori[s], {}};
        for (int i = 0; i <= 80; ++i) {
            const double T = xMax * i / 80.0;
            serie.punti.emplace_back(T, scalaY * (s + 1) * (T < 0.5 ? 1.0 : 0.5 / T));
        }
        g.serie.push_back(serie);
    }
    return g;
}

TEST(Grafico, TextsStayInsideAndApartAndCurvesInsideThePlot) {
    struct Caso {
        TGrafico g;
        TRettangoloPx area;
    };
    std::vector<Caso> casi = {
        {Spettri(0.26, 4.0, "SLV (TR 475)"), {0, 0, LarghezzaGrafico, AltezzaGrafico}},
        {Spettri(0.003, 4.0, "SLO"), {0, 0, LarghezzaGrafico, AltezzaGrafico}},
        {Spettri(1234.5, 100.0, "una curva dal nome lungo, con accenti: è già così"), {0, 0, 800, 500}},
        {Spettri(0.9, 3.95, "SLC"), {10, 20, 420, 300}},
        {TGrafico{"Vuoto", "", "x", "y", {}}, {0, 0, 800, 500}},
    };
    for (const Caso& c : casi) {
        PittoreRegistra p;
        DisegnaGrafico(p, c.g, c.area);
        const TImpaginazione im = Impagina(p, c.g, c.area);
        ASSERT_FALSE(p.testi.empty());
        for (std::size_t i = 0; i < p.testi.size(); ++i) {
            EXPECT_TRUE(Dentro(p.testi[i].riquadro, c.area))
                << c.g.titolo << " in " << c.area.larghezza << "x" << c.area.altezza << ": \"" << p.testi[i].testo << "\"";
            for (std::size_t j = 0; j < i; ++j)
                EXPECT_FALSE(p.testi[i].riquadro.Interseca(p.testi[j].riquadro))
                    << c.g.titolo << ": \"" << p.testi[i].testo << "\" over \"" << p.testi[j].testo << "\"";
        }
        EXPECT_TRUE(Dentro(im.piano, c.area));
        if (!c.g.serie.empty()) {
            EXPECT_TRUE(Dentro(im.legenda, im.piano)) << c.g.titolo;
        }
        // The axes reach past the data, and every curve point lies in the plot.
        for (const auto& s : c.g.serie)
            for (const auto& [x, y] : s.punti) {
                EXPECT_LE(x, im.passoX * im.intervalliX);
                EXPECT_LE(y, im.passoY * im.intervalliY);
            }
        for (const auto& l : p.linee) {
            if (l.penna.spessore <= 2 || l.punti.size() <= 2)
                continue; // grid and legend samples
            for (const TPuntoPx& q : l.punti) {
                EXPECT_TRUE(im.piano.Contiene(q) || q.x == im.piano.Destra() || q.y == im.piano.Basso())
                    << c.g.titolo << " " << q.x << " " << q.y;
            }
        }
    }
}

TEST(Grafico, RoundStepsAndCommaLabels) {
    struct Riga {
        double massimo;
        int n;
        double passo;
    };
    for (const Riga& r : {Riga{4.0, 8, 0.5}, Riga{0.26 * 1.05, 6, 0.05}, Riga{1234.5, 6, 200}, Riga{0.003, 6, 0.0005},
                          Riga{0, 6, 1}, Riga{NAN, 6, 1}, Riga{-3, 6, 1}})
        EXPECT_DOUBLE_EQ(PassoTacche(r.massimo, r.n), r.passo) << r.massimo;
    EXPECT_EQ(EtichettaTacca(0.35, 0.05), "0,35");
    EXPECT_EQ(EtichettaTacca(2.0, 0.5), "2,0");
    EXPECT_EQ(EtichettaTacca(400, 200), "400");
}

// The chart crosses to the plugin in its C form and comes back whole, accents
// and all; a C form with null arrays is refused, not read.
TEST(Grafico, TheCFormCarriesTheWholeChart) {
    const TGrafico g = Spettri(0.26, 4.0, "SLV (TR 475), è già");
    const TGraficoPerPlugin c(g);
    const TGrafico r = DaGraficoC(*c.Dati());
    EXPECT_EQ(r.titolo, g.titolo);
    EXPECT_EQ(r.sottotitolo, g.sottotitolo);
    EXPECT_EQ(r.etichettaX, g.etichettaX);
    EXPECT_EQ(r.etichettaY, g.etichettaY);
    ASSERT_EQ(r.serie.size(), g.serie.size());
    for (std::size_t i = 0; i < g.serie.size(); ++i) {
        EXPECT_EQ(r.serie[i].nome, g.serie[i].nome);
        EXPECT_EQ(r.serie[i].colore, g.serie[i].colore);
        EXPECT_EQ(r.serie[i].punti, g.serie[i].punti);
    }

    TGraficoC nulla{nullptr, nullptr, nullptr, nullptr, nullptr, 0};
    EXPECT_EQ(DaGraficoC(nulla).titolo, "");
    nulla.numSerie = 1;
    EXPECT_THROW(DaGraficoC(nulla), ErroreArgomento);
    const TSerieGraficoC senzaPunti{"s", 0, nullptr, nullptr, 3};
    nulla.serie = &senzaPunti;
    EXPECT_THROW(DaGraficoC(nulla), ErroreArgomento);
}

TEST(Grafico, OnlyPngSvgAndPdfAreKnown) {
    for (const char* f : {"a.png", "b.SVG", "/c/d.Pdf"})
        EXPECT_TRUE(FormatoGraficoNoto(f)) << f;
    for (const char* f : {"a.jpg", "png", "a.png.txt", ""})
        EXPECT_FALSE(FormatoGraficoNoto(f)) << f;
}

} // namespace
} // namespace veltrano::uscite
