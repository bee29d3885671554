// The four limit states' spectra as the chart and the CSV show them: one
// curve per state in its colour with the engine's own values, the design
// spectra with q for SLV and SLC only, the CSV on one grid with every corner.
#include "outputs/spettri_sito.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>

namespace veltrano::uscite {
namespace {

// L'Aquila, life 50 years, class II (values of the decree's grid, rounded).
const std::vector<TStatoSpettro> Stati{{"SLO", 30, {0.079, 2.497, 0.277}},
                                       {"SLD", 50, {0.101, 2.481, 0.287}},
                                       {"SLV", 475, {0.261, 2.362, 0.346}},
                                       {"SLC", 975, {0.334, 2.379, 0.355}}};

TEST(SpettriSito, TheChartHasOneCurvePerStateWithTheEngineValues) {
    TSceltaSpettri s;
    s.sito.suolo = CategoriaSuolo::C;
    s.sito.topografia = CategoriaTopografica::T2;
    const TGrafico g = GraficoSpettri(Stati, s);
    EXPECT_EQ(g.titolo, "Spettri di risposta elastici - componente orizzontale");
    EXPECT_EQ(g.sottotitolo, "Suolo C, topografia T2, smorzamento 5%");
    EXPECT_EQ(g.etichettaY, "Se [g]");
    ASSERT_EQ(g.serie.size(), 4u);
    EXPECT_EQ(g.serie[2].nome, "SLV (TR 475)");
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(g.serie[i].colore, ColoriStati[i]);
        const ParametriSpettro p = ParametriOrizzontali(Stati[i].azione, s.sito);
        for (const auto& [T, v] : g.serie[i].punti)
            EXPECT_DOUBLE_EQ(v, SpettroElastico(p, T)) << Stati[i].nome << " T " << T;
        EXPECT_DOUBLE_EQ(g.serie[i].punti.back().first, 4.0);
    }
}

TEST(SpettriSito, DesignSpectraTakeQForTheUltimateStatesOnly) {
    TSceltaSpettri s;
    s.tipo = TTipoSpettro::Progetto;
    s.q = 4;
    s.sito.smorzamento = 10;
    const TGrafico g = GraficoSpettri(Stati, s);
    EXPECT_EQ(g.titolo, "Spettri di risposta di progetto - componente orizzontale");
    EXPECT_NE(g.sottotitolo.find("q 4"), std::string::npos) << g.sottotitolo;
    EXPECT_EQ(g.etichettaY, "Sd [g]");
    for (std::size_t i = 0; i < 4; ++i) {
        const ParametriSpettro p = ParametriOrizzontali(Stati[i].azione, s.sito);
        for (const auto& [T, v] : g.serie[i].punti) {
            if (i < 2) {
                EXPECT_DOUBLE_EQ(v, SpettroElastico(p, T)) << "serviceability states stay elastic";
            } else {
                EXPECT_LE(v, std::max(SpettroElastico(p, T), 0.2 * Stati[i].azione.ag) + 1e-12);
                EXPECT_GE(v, 0.2 * Stati[i].azione.ag - 1e-12) << "the floor of 0.2 ag";
                if (T > 0.1 && T < 0.3) {
                    EXPECT_LT(v, SpettroElastico(p, T)) << "q lowers the plateau";
                }
            }
        }
    }
    s.componente = Componente::Verticale;
    EXPECT_EQ(GraficoSpettri(Stati, s).etichettaY, "Svd [g]");
}

TEST(SpettriSito, TheCsvHoldsEveryStateOnOneGridWithItsCorners) {
    TSceltaSpettri s;
    s.sito.suolo = CategoriaSuolo::B;
    s.q = 3;
    const std::string csv = CsvSpettri(Stati, s, "Comune di L'Aquila");
    EXPECT_NE(csv.find("# Comune di L'Aquila\r\n"), std::string::npos);
    EXPECT_NE(csv.find("# SLV: TR 475 anni, ag 0.2610 g"), std::string::npos);
    std::istringstream in(csv);
    std::string riga;
    std::vector<std::string> dati;
    std::string testa;
    while (std::getline(in, riga)) {
        ASSERT_FALSE(riga.empty());
        ASSERT_EQ(riga.back(), '\r') << "CR LF line ends";
        riga.pop_back();
        if (riga.rfind("T_s", 0) == 0)
            testa = riga;
        else if (riga[0] != '#')
            dati.push_back(riga);
    }
    EXPECT_EQ(testa.substr(0, 40), "T_s,SLO_Se_g,SLO_Sve_g,SLO_Sd_g,SLO_Svd_");
    EXPECT_EQ(std::count(testa.begin(), testa.end(), ','), 16);
    ASSERT_FALSE(dati.empty());
    // Every state's TC lies on the grid, and at T = 0 Se is ag·S.
    for (const auto& st : Stati) {
        const ParametriSpettro p = ParametriOrizzontali(st.azione, s.sito);
        char tc[32];
        std::snprintf(tc, sizeof tc, "%.4f,", p.TC);
        EXPECT_TRUE(std::any_of(dati.begin(), dati.end(), [&](const std::string& r) { return r.rfind(tc, 0) == 0; }))
            << st.nome << " TC " << tc;
    }
    EXPECT_EQ(std::count(dati[0].begin(), dati[0].end(), ','), 16);
    const double se0 = std::strtod(dati[0].c_str() + dati[0].find(',') + 1, nullptr);
    EXPECT_NEAR(se0, Stati[0].azione.ag * ParametriOrizzontali(Stati[0].azione, s.sito).S, 1e-6);
}

} // namespace
} // namespace veltrano::uscite
