// Response spectra: hand-computed ordinates, corners, continuity, clamps and
// bad input. Expected numbers come from a separate Python evaluation of the
// decree's formulas (printed with 17 significant digits), not from this code.
#include "core/spettri.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace veltrano {
namespace {

constexpr double TolG = 1e-12;  // accelerations [g]
constexpr double TolS = 1e-12;  // periods [s]
constexpr double TolM = 1e-12;  // displacements [m]
constexpr double TolF = 1e-12;  // dimensionless factors
const double NaN = std::numeric_limits<double>::quiet_NaN();
const double Inf = std::numeric_limits<double>::infinity();

// The running example: ag 0.25 g, Fo 2.4, Tc* 0.3 s (Fo·ag = 0.6, TD = 2.6 s).
constexpr AzioneSismica Esempio{0.25, 2.4, 0.3};

CondizioniSito Suolo(CategoriaSuolo c) {
    CondizioniSito s;
    s.suolo = c;
    return s;
}

// ---- Subsoil factors -------------------------------------------------------

struct CasoSS {
    CategoriaSuolo suolo;
    double ag;
    double SS;
};

class ClampSS : public ::testing::TestWithParam<CasoSS> {};

// Fo = 2.5; ag 0.05 (Fo·ag 0.125) hits every upper bound, ag 0.6 (1.5) every
// lower bound, ag 0.3 (0.75) stays inside every range.
INSTANTIATE_TEST_SUITE_P(
    Categorie, ClampSS,
    ::testing::Values(CasoSS{CategoriaSuolo::A, 0.05, 1.00}, CasoSS{CategoriaSuolo::A, 0.60, 1.00},
                      CasoSS{CategoriaSuolo::B, 0.05, 1.20}, CasoSS{CategoriaSuolo::B, 0.30, 1.10},
                      CasoSS{CategoriaSuolo::B, 0.60, 1.00}, CasoSS{CategoriaSuolo::C, 0.05, 1.50},
                      CasoSS{CategoriaSuolo::C, 0.30, 1.25}, CasoSS{CategoriaSuolo::C, 0.60, 1.00},
                      CasoSS{CategoriaSuolo::D, 0.05, 1.80}, CasoSS{CategoriaSuolo::D, 0.30, 1.275},
                      CasoSS{CategoriaSuolo::D, 0.60, 0.90}, CasoSS{CategoriaSuolo::E, 0.05, 1.60},
                      CasoSS{CategoriaSuolo::E, 0.30, 1.175}, CasoSS{CategoriaSuolo::E, 0.60, 1.00}));

TEST_P(ClampSS, FattoreStratigrafico) {
    const CasoSS& c = GetParam();
    const auto p = ParametriOrizzontali({c.ag, 2.5, 0.3}, Suolo(c.suolo));
    EXPECT_NEAR(p.SS, c.SS, TolF) << "suolo " << NomeCategoria(c.suolo) << ", ag " << c.ag;
    EXPECT_NEAR(p.S, c.SS, TolF); // T1: ST = 1
}

// ---- Hand-computed horizontal spectra, one row per subsoil ---------------------

struct CasoSuolo {
    CategoriaSuolo suolo;
    double SS, CC, TB, TC;
    double Se[4]; // at T = 0.05, 0.2, 0.6, 3.0 s
};

class SpettroPerSuolo : public ::testing::TestWithParam<CasoSuolo> {};

// Esempio, ξ 5 %, T1. TD = 2.6 s for all.
INSTANTIATE_TEST_SUITE_P(
    Categorie, SpettroPerSuolo,
    ::testing::Values(
        CasoSuolo{CategoriaSuolo::A, 1, 1, 0.099999999999999992, 0.29999999999999999,
                  {0.42499999999999999, 0.59999999999999998, 0.29999999999999999, 0.051999999999999998}},
        CasoSuolo{CategoriaSuolo::B, 1.16, 1.3994856001933313, 0.13994856001933312, 0.41984568005799938,
                  {0.43505329670555848, 0.69599999999999995, 0.48702098886727924, 0.084416971403661722}},
        CasoSuolo{CategoriaSuolo::C, 1.34, 1.5622095378895753, 0.15622095378895753, 0.46866286136687257,
                  {0.4851079044215742, 0.80399999999999994, 0.62800823423160923, 0.10885476060014559}},
        CasoSuolo{CategoriaSuolo::D, 1.5, 2.2821773229381921, 0.22821773229381923, 0.68465319688145765,
                  {0.49002173707608493, 0.83508694830433949, 0.89999999999999991, 0.17800983118917899}},
        CasoSuolo{CategoriaSuolo::E, 1.34, 1.8614412701824479, 0.18614412701824479, 0.55843238105473436,
                  {0.4609776517026592, 0.80399999999999994, 0.74829939061334394, 0.12970522770631296}}));

TEST_P(SpettroPerSuolo, FattoriEPeriodi) {
    const CasoSuolo& c = GetParam();
    const auto p = ParametriOrizzontali(Esempio, Suolo(c.suolo));
    EXPECT_NEAR(p.SS, c.SS, TolF);
    EXPECT_NEAR(p.CC, c.CC, TolF);
    EXPECT_NEAR(p.TB, c.TB, TolS);
    EXPECT_NEAR(p.TC, c.TC, TolS);
    EXPECT_NEAR(p.TD, 2.6, TolS);
    EXPECT_DOUBLE_EQ(p.eta, 1.0);
}

TEST_P(SpettroPerSuolo, Ordinate) {
    const CasoSuolo& c = GetParam();
    const auto p = ParametriOrizzontali(Esempio, Suolo(c.suolo));
    const double T[] = {0.05, 0.2, 0.6, 3.0};
    for (int i = 0; i < 4; ++i)
        EXPECT_NEAR(SpettroElastico(p, T[i]), c.Se[i], TolG) << "T = " << T[i];
}

TEST(SpettroOrizzontale, SmorzamentoETopografia) {
    // Subsoil C, ξ 10 % (η = √(2/3)), T3 (ST 1.2).
    CondizioniSito s = Suolo(CategoriaSuolo::C);
    s.smorzamento = 10;
    s.topografia = CategoriaTopografica::T3;
    const auto p = ParametriOrizzontali(Esempio, s);
    EXPECT_NEAR(p.eta, 0.81649658092772603, TolF);
    const double T[] = {0.05, 0.2, 0.6, 3.0};
    const double Se[] = {0.52546483999841542, 0.78775590127906991, 0.61531989125348086,
                         0.10665544781727002};
    for (int i = 0; i < 4; ++i)
        EXPECT_NEAR(SpettroElastico(p, T[i]), Se[i], TolG) << "T = " << T[i];
}

// ---- Corners and continuity ------------------------------------------------------

struct CasoForma {
    AzioneSismica azione;
    CondizioniSito sito;
};

std::vector<CasoForma> Forme() {
    std::vector<CasoForma> r;
    const AzioneSismica azioni[] = {{0.05, 2.5, 0.25}, {0.25, 2.4, 0.3}, {0.45, 2.7, 0.5}};
    for (const auto& a : azioni)
        for (const auto c : {CategoriaSuolo::A, CategoriaSuolo::B, CategoriaSuolo::C,
                             CategoriaSuolo::D, CategoriaSuolo::E})
            for (const double xi : {2.0, 5.0, 20.0}) {
                CondizioniSito s = Suolo(c);
                s.smorzamento = xi;
                s.topografia = CategoriaTopografica::T2;
                r.push_back({a, s});
            }
    return r;
}

class FormaSpettro : public ::testing::TestWithParam<CasoForma> {};
INSTANTIATE_TEST_SUITE_P(Combinazioni, FormaSpettro, ::testing::ValuesIn(Forme()));

// Left limit at a corner: the value just below it.
double Sinistra(double T) { return std::nextafter(T, 0.0); }

TEST_P(FormaSpettro, OrizzontaleAgliAngoli) {
    const auto& c = GetParam();
    const auto p = ParametriOrizzontali(c.azione, c.sito);
    const double ag = c.azione.ag;
    EXPECT_NEAR(SpettroElastico(p, 0.0), ag * p.S, TolG);
    const double plateau = ag * p.S * p.eta * c.azione.Fo;
    EXPECT_NEAR(SpettroElastico(p, p.TB), plateau, TolG);
    EXPECT_NEAR(SpettroElastico(p, (p.TB + p.TC) / 2), plateau, TolG);
    for (const double T : {p.TB, p.TC, p.TD})
        EXPECT_NEAR(SpettroElastico(p, Sinistra(T)), SpettroElastico(p, T), 1e-9) << "T = " << T;
}

TEST_P(FormaSpettro, VerticaleAgliAngoli) {
    const auto& c = GetParam();
    const auto p = ParametriVerticali(c.azione, c.sito);
    EXPECT_NEAR(SpettroElastico(p, p.TB), c.azione.ag * p.S * p.eta * p.Fv, TolG);
    for (const double T : {p.TB, p.TC, p.TD})
        EXPECT_NEAR(SpettroElastico(p, Sinistra(T)), SpettroElastico(p, T), 1e-9) << "T = " << T;
}

TEST_P(FormaSpettro, ProgettoAgliAngoli) {
    const auto& c = GetParam();
    for (const auto& p : {ParametriOrizzontali(c.azione, c.sito), ParametriVerticali(c.azione, c.sito)})
        for (const double q : {1.0, 1.5, 4.0})
            for (const double T : {p.TB, p.TC, p.TD})
                EXPECT_NEAR(SpettroProgetto(p, q, Sinistra(T)), SpettroProgetto(p, q, T), 1e-9)
                    << "q = " << q << ", T = " << T;
}

TEST_P(FormaSpettro, DecrescenteOltreTC) {
    const auto& c = GetParam();
    const auto p = ParametriOrizzontali(c.azione, c.sito);
    double prima = SpettroElastico(p, p.TC);
    for (double T = p.TC + 0.01; T < 10; T += 0.01) {
        const double ora = SpettroElastico(p, T);
        ASSERT_LT(ora, prima) << "T = " << T;
        prima = ora;
    }
}

// ---- Damping and topography ---------------------------------------------------

TEST(FattoreSmorzamento, ValoriENonMinoreDi055) {
    EXPECT_NEAR(FattoreSmorzamento(0), std::numbers::sqrt2, TolF);
    EXPECT_DOUBLE_EQ(FattoreSmorzamento(5), 1.0);
    EXPECT_NEAR(FattoreSmorzamento(10), 0.81649658092772603, TolF);
    // √(10/33.06) = 0.5499...: the floor takes over from ξ ≈ 28.06 %.
    EXPECT_GT(FattoreSmorzamento(28), 0.55);
    EXPECT_DOUBLE_EQ(FattoreSmorzamento(30), 0.55);
    EXPECT_DOUBLE_EQ(FattoreSmorzamento(100), 0.55);
}

TEST(FattoreTopografico, CategorieEValoreDato) {
    const std::pair<CategoriaTopografica, double> casi[] = {{CategoriaTopografica::T1, 1.0},
                                                            {CategoriaTopografica::T2, 1.2},
                                                            {CategoriaTopografica::T3, 1.2},
                                                            {CategoriaTopografica::T4, 1.4}};
    for (const auto& [t, st] : casi) {
        CondizioniSito s = Suolo(CategoriaSuolo::B);
        s.topografia = t;
        const auto p = ParametriOrizzontali(Esempio, s);
        EXPECT_DOUBLE_EQ(p.ST, st) << NomeCategoria(t);
        EXPECT_NEAR(p.S, 1.16 * st, TolF) << NomeCategoria(t);
        EXPECT_DOUBLE_EQ(ParametriVerticali(Esempio, s).S, st) << NomeCategoria(t);
    }
    CondizioniSito s;
    s.topografia = CategoriaTopografica::T4;
    s.ST = 1.1; // the given value wins over the category
    EXPECT_DOUBLE_EQ(ParametriOrizzontali(Esempio, s).ST, 1.1);
    for (const double estremo : {1.0, 1.4}) {
        s.ST = estremo;
        EXPECT_DOUBLE_EQ(ParametriOrizzontali(Esempio, s).ST, estremo);
    }
}

// ---- Vertical --------------------------------------------------------------------

TEST(SpettroVerticale, ValoriCalcolatiAMano) {
    // Esempio on subsoil D: the vertical ignores the subsoil. Fv = 1.35·2.4·√0.25 = 1.62.
    const auto p = ParametriVerticali(Esempio, Suolo(CategoriaSuolo::D));
    EXPECT_NEAR(p.Fv, 1.62, TolF);
    EXPECT_DOUBLE_EQ(p.SS, 1.0);
    EXPECT_DOUBLE_EQ(p.S, 1.0);
    EXPECT_DOUBLE_EQ(p.TB, 0.05);
    EXPECT_DOUBLE_EQ(p.TC, 0.15);
    EXPECT_DOUBLE_EQ(p.TD, 1.0);
    // T = 0 gives ag·S·Fv/Fo = 0.16875 g (the first branch keeps 1/(η·Fo)).
    const double T[] = {0, 0.02, 0.1, 0.5, 2.0};
    const double Sve[] = {0.16875, 0.26325000000000004, 0.405, 0.1215, 0.0151875};
    for (int i = 0; i < 5; ++i)
        EXPECT_NEAR(SpettroElastico(p, T[i]), Sve[i], TolG) << "T = " << T[i];
}

// ---- Design ------------------------------------------------------------------------

TEST(SpettroProgetto, OrizzontaleConPavimento) {
    // Subsoil B, q = 3: Sd(0) = ag·S = 0.29 g, plateau ag·S·Fo/q = 0.232 g,
    // and at 4 s the formula gives 0.0254 g, under the floor 0.2·ag = 0.05 g.
    const auto p = ParametriOrizzontali(Esempio, Suolo(CategoriaSuolo::B));
    const double T[] = {0, 0.05, 0.3, 1.0, 4.0};
    const double Sd[] = {0.29, 0.26927810047063444, 0.232, 0.097404197773455839, 0.05};
    for (int i = 0; i < 5; ++i)
        EXPECT_NEAR(SpettroProgetto(p, 3.0, T[i]), Sd[i], TolG) << "T = " << T[i];
    for (double t = 0; t <= 10; t += 0.05)
        EXPECT_GE(SpettroProgetto(p, 6.0, t), 0.2 * Esempio.ag - 1e-15) << "T = " << t;
}

TEST(SpettroProgetto, ConQUgualeAUnoComeElasticoACinquePerCento) {
    // η replaced by 1/q = 1 is the 5 % elastic spectrum wherever it is above the floor.
    const auto p = ParametriOrizzontali(Esempio, Suolo(CategoriaSuolo::C));
    for (double T = 0; T <= 4; T += 0.1)
        EXPECT_NEAR(SpettroProgetto(p, 1.0, T), std::max(SpettroElastico(p, T), 0.05), TolG);
}

TEST(SpettroProgetto, VerticaleSenzaPavimento) {
    const auto p = ParametriVerticali(Esempio, Suolo(CategoriaSuolo::A));
    const double T[] = {0, 0.1, 0.5, 3.0};
    const double Svd[] = {0.16875, 0.27, 0.081, 0.0045};
    for (int i = 0; i < 4; ++i)
        EXPECT_NEAR(SpettroProgetto(p, 1.5, T[i]), Svd[i], TolG) << "T = " << T[i];
}

// ---- Displacement --------------------------------------------------------------------

TEST(SpettroSpostamento, TreTratti) {
    // Subsoil B: TE = 5 s, TF = 10 s, dg = 0.025·ag·g·S·TC·TD.
    const auto p = ParametriOrizzontali(Esempio, Suolo(CategoriaSuolo::B));
    EXPECT_DOUBLE_EQ(p.TE, 5.0);
    EXPECT_DOUBLE_EQ(p.TF, 10.0);
    EXPECT_DOUBLE_EQ(SpettroSpostamento(p, 0), 0.0);
    EXPECT_NEAR(SpettroSpostamento(p, 1.0), 0.072587170463714046, TolM);
    EXPECT_NEAR(SpettroSpostamento(p, 3.0), 0.18872664320565649, TolM);
    EXPECT_NEAR(SpettroSpostamento(p, 7.5), 0.13193822601063027, TolM);
    EXPECT_NEAR(SpettroSpostamento(p, 10.0), 0.077610721182723691, TolM);
    EXPECT_NEAR(SpettroSpostamento(p, 25.0), 0.077610721182723691, TolM);
    // 0.025 against 1/(2π)² makes a 1.3 % step at TE.
    const double a = SpettroSpostamento(p, p.TE), b = SpettroSpostamento(p, std::nextafter(p.TE, 10.0));
    EXPECT_NEAR(b / a, 0.025 * 4 * std::numbers::pi * std::numbers::pi, 1e-9);
    EXPECT_THROW(SpettroSpostamento(ParametriVerticali(Esempio, {}), 1.0), ErroreIntervallo);
    EXPECT_THROW(SpettroSpostamento(p, NaN), ErroreIntervallo);
    EXPECT_THROW(SpettroSpostamento(p, Inf), ErroreIntervallo);
}

// ---- Period grid -------------------------------------------------------------------------

TEST(GrigliaPeriodi, PredefinitaConAngoliEsatti) {
    const auto p = ParametriOrizzontali(Esempio, Suolo(CategoriaSuolo::C));
    const auto t = GrigliaPeriodi(p);
    ASSERT_FALSE(t.empty());
    EXPECT_EQ(t.front(), 0.0);
    EXPECT_EQ(t.back(), 4.0);
    EXPECT_TRUE(std::adjacent_find(t.begin(), t.end(), std::greater_equal<>()) == t.end());
    for (std::size_t i = 1; i < t.size(); ++i)
        EXPECT_LE(t[i] - t[i - 1], 0.05 + 1e-12);
    for (const double a : {p.TB, p.TC, p.TD}) {
        EXPECT_NE(std::find(t.begin(), t.end(), a), t.end()) << "angolo " << a;
        // Denser near the corner: a point within 0.01 s on either side.
        EXPECT_TRUE(std::any_of(t.begin(), t.end(),
                                [&](double x) { return x < a && x >= a - 0.01 - 1e-12; }));
        EXPECT_TRUE(std::any_of(t.begin(), t.end(),
                                [&](double x) { return x > a && x <= a + 0.01 + 1e-12; }));
    }
    EXPECT_GT(t.size(), 81u);
    EXPECT_LT(t.size(), 100u);
}

TEST(GrigliaPeriodi, RegolareDataDallUtente) {
    EXPECT_EQ(GrigliaPeriodi(0, 1, 0.25), (std::vector<double>{0, 0.25, 0.5, 0.75, 1}));
    // The end is kept even off the step; a corner that nearly hits a step point replaces it.
    EXPECT_EQ(GrigliaPeriodi(0.5, 1.2, 0.5), (std::vector<double>{0.5, 1.0, 1.2}));
    const double angolo[] = {0.3};
    const auto t = GrigliaPeriodi(0, 0.5, 0.1, angolo);
    EXPECT_EQ(t.size(), 10u); // 6 steps + 4 around 0.3 (0.3 itself merges with 3·0.1)
    EXPECT_NE(std::find(t.begin(), t.end(), 0.3), t.end());
    EXPECT_EQ(GrigliaPeriodi(2, 2, 0.1), (std::vector<double>{2}));
}

// ---- Bad input -------------------------------------------------------------------------------

TEST(SpettriDatiErrati, AzioneSismica) {
    // Regression: ag = 1e60 reached the table (issue 13); beyond a few g,
    // Fo 10 or Tc* 2 s the decree's spectra say nothing.
    const AzioneSismica errate[] = {{-0.1, 2.4, 0.3}, {NaN, 2.4, 0.3}, {Inf, 2.4, 0.3},
                                    {0.25, 0, 0.3},   {0.25, -1, 0.3}, {0.25, NaN, 0.3},
                                    {0.25, 2.4, 0},   {0.25, 2.4, -0.3}, {0.25, 2.4, NaN},
                                    {0.25, 2.4, Inf}, {1e60, 2.4, 0.3}, {3.0001, 2.4, 0.3},
                                    {0.25, 10.001, 0.3}, {2.5, 2.4, 2.0001}};
    for (const auto& a : errate) {
        EXPECT_THROW(ParametriOrizzontali(a, {}), ErroreIntervallo) << a.ag << " " << a.Fo << " " << a.Tc;
        EXPECT_THROW(ParametriVerticali(a, {}), ErroreIntervallo) << a.ag << " " << a.Fo << " " << a.Tc;
    }
    // ag = 0 is a valid (null) action.
    EXPECT_DOUBLE_EQ(SpettroElastico(ParametriOrizzontali({0, 2.4, 0.3}, {}), 0.5), 0.0);
}

TEST(SpettriDatiErrati, SitoSmorzamentoEFattoreDiStruttura) {
    for (const double st : {0.99, 1.41, -1.0, NaN, Inf}) {
        CondizioniSito s;
        s.ST = st;
        EXPECT_THROW(ParametriOrizzontali(Esempio, s), ErroreIntervallo) << "ST " << st;
    }
    for (const double xi : {-0.1, NaN, Inf, 100.01}) {
        CondizioniSito s;
        s.smorzamento = xi;
        EXPECT_THROW(ParametriOrizzontali(Esempio, s), ErroreIntervallo) << "xi " << xi;
    }
    const auto p = ParametriOrizzontali(Esempio, {});
    for (const double q : {0.99, 0.0, -2.0, NaN, Inf, 20.01}) {
        EXPECT_THROW(SpettroProgetto(p, q, 0.5), ErroreIntervallo) << "q " << q;
        EXPECT_THROW(SpettroProgetto(p, q, 0.5, true), ErroreIntervallo) << "q " << q;
    }
    for (const double T : {-0.01, NaN, Inf}) {
        EXPECT_THROW(SpettroElastico(p, T), ErroreIntervallo) << "T " << T;
        EXPECT_THROW(SpettroProgetto(p, 2, T), ErroreIntervallo) << "T " << T;
    }
    CondizioniSito s;
    s.suolo = static_cast<CategoriaSuolo>(9);
    EXPECT_THROW(ParametriOrizzontali(Esempio, s), ErroreIntervallo);
    s = {};
    s.topografia = static_cast<CategoriaTopografica>(9);
    EXPECT_THROW(ParametriOrizzontali(Esempio, s), ErroreIntervallo);
    // A Tc* so long that TC would pass TD (1.6 s at ag = 0).
    EXPECT_THROW(ParametriOrizzontali({0, 2.4, 1.7}, {}), ErroreIntervallo);
}

TEST(SpettriDatiErrati, Categorie) {
    EXPECT_EQ(LeggiCategoriaSuolo("c"), CategoriaSuolo::C);
    EXPECT_EQ(LeggiCategoriaSuolo("E"), CategoriaSuolo::E);
    EXPECT_EQ(LeggiCategoriaTopografica("t4"), CategoriaTopografica::T4);
    for (const char* t : {"", "F", "AB", "S1", " A"})
        EXPECT_THROW(LeggiCategoriaSuolo(t), ErroreIntervallo) << '"' << t << '"';
    for (const char* t : {"", "T0", "T5", "1", "T1 "})
        EXPECT_THROW(LeggiCategoriaTopografica(t), ErroreIntervallo) << '"' << t << '"';
}

TEST(SpettriDatiErrati, Griglia) {
    EXPECT_THROW(GrigliaPeriodi(-1, 4, 0.1), ErroreIntervallo);
    EXPECT_THROW(GrigliaPeriodi(2, 1, 0.1), ErroreIntervallo);
    EXPECT_THROW(GrigliaPeriodi(0, 4, 0), ErroreIntervallo);
    EXPECT_THROW(GrigliaPeriodi(0, 4, -0.1), ErroreIntervallo);
    EXPECT_THROW(GrigliaPeriodi(0, NaN, 0.1), ErroreIntervallo);
    EXPECT_THROW(GrigliaPeriodi(NaN, 4, 0.1), ErroreIntervallo);
    EXPECT_THROW(GrigliaPeriodi(0, 4, NaN), ErroreIntervallo);
    EXPECT_THROW(GrigliaPeriodi(0, 10, 1e-6), ErroreIntervallo);
    // Regression: "--periodi 1e60:1e60:1" printed stack memory (issue 13).
    EXPECT_THROW(GrigliaPeriodi(1e60, 1e60, 1), ErroreIntervallo);
    EXPECT_THROW(GrigliaPeriodi(0, 10.001, 1), ErroreIntervallo);
    EXPECT_EQ(GrigliaPeriodi(0, PeriodoMassimo, 5).back(), 10.0);
}

// Regression: at SLO and SLD 1/q and the 0.2·ag floor applied, where the
// decree takes the elastic spectra, horizontal and vertical (issue 13).
TEST(SpettroProgetto, StatiDiEsercizioUsanoLoSpettroElastico) {
    const double periodi[] = {0.0, 0.1, 0.5, 1.0, 2.5, 4.0, 8.0};
    const SpettriStato e = CalcolaSpettri(Esempio, {}, 4.0, periodi, true);
    const SpettriStato u = CalcolaSpettri(Esempio, {}, 4.0, periodi, false);
    EXPECT_TRUE(e.esercizio);
    for (std::size_t i = 0; i < std::size(periodi); ++i) {
        EXPECT_EQ(e.punti[i].Sd, e.punti[i].Se) << periodi[i];
        EXPECT_EQ(e.punti[i].Svd, e.punti[i].Sve) << periodi[i];
        EXPECT_EQ(u.punti[i].Se, e.punti[i].Se);
        if (periodi[i] > 0) { // at T = 0 both are ag·S·Fv/Fo
            EXPECT_LT(u.punti[i].Svd, e.punti[i].Svd) << periodi[i]; // 1/q = 0.25 below η = 1
        }
    }
    EXPECT_EQ(u.punti[5].Sd, 0.2 * Esempio.ag); // the floor holds for SLV and SLC only
    EXPECT_LT(e.punti[5].Sd, 0.2 * Esempio.ag);
}

// ---- All spectra at once ---------------------------------------------------------------------

TEST(CalcolaSpettri, UnPuntoPerPeriodo) {
    const double T[] = {0, 0.1, 0.5, 2.0};
    const auto s = CalcolaSpettri(Esempio, Suolo(CategoriaSuolo::B), 2.0, T);
    ASSERT_EQ(s.punti.size(), 4u);
    EXPECT_EQ(s.orizzontale.componente, Componente::Orizzontale);
    EXPECT_EQ(s.verticale.componente, Componente::Verticale);
    for (const auto& p : s.punti) {
        EXPECT_DOUBLE_EQ(p.Se, SpettroElastico(s.orizzontale, p.T));
        EXPECT_DOUBLE_EQ(p.Sve, SpettroElastico(s.verticale, p.T));
        EXPECT_DOUBLE_EQ(p.Sd, SpettroProgetto(s.orizzontale, 2.0, p.T));
        EXPECT_DOUBLE_EQ(p.Svd, SpettroProgetto(s.verticale, 2.0, p.T));
        EXPECT_DOUBLE_EQ(p.SDe, SpettroSpostamento(s.orizzontale, p.T));
    }
    EXPECT_THROW(CalcolaSpettri(Esempio, {}, 0.5, {}), ErroreIntervallo);
}

} // namespace
} // namespace veltrano
