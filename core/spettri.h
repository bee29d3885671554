// Response spectra of D.M. 14/01/2008 (§3.2.3): horizontal and vertical
// elastic spectra, design spectra for a behaviour factor q and the horizontal
// elastic displacement spectrum, from a limit state's ag, Fo and Tc*.
//
// Accelerations are in g, periods in s, displacements in m (g = 9.80665 m/s²).
// Every function is pure and thread-safe; computed in double precision with
// the decree's formulas as written, so results are exact to rounding.
// Bad input throws veltrano::ErroreIntervallo; checks reject NaN and ±inf.
#pragma once

#include "veltrano/veltrano.h"

#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace veltrano {

/// Standard gravity [m/s²], to turn spectral accelerations in g into metres.
inline constexpr double AccelerazioneGravita = 9.80665;

// Physical ranges of the inputs; beyond them the decree's spectra say
// nothing and the numbers would only be noise. The national grid stays far
// inside (ag below 0.5 g, Fo 2.2 to 3, Tc* below 0.6 s).
inline constexpr double AgMassima = 3.0;          ///< [g]
inline constexpr double FoMassimo = 10.0;         ///< [-]
inline constexpr double TcMassimo = 2.0;          ///< Tc* [s]
inline constexpr double SmorzamentoMassimo = 100; ///< ξ [%]
inline constexpr double QMassimo = 20.0;          ///< behaviour factor [-]
/// Longest period of a grid of periods [s]: TF of the displacement
/// spectrum, past which it is the constant peak ground displacement. The
/// acceleration spectra are meant for structures up to 4 s.
inline constexpr double PeriodoMassimo = 10.0;

/// Subsoil category (A rock ... E thin soft layer over rock).
enum class CategoriaSuolo { A, B, C, D, E };
/// Topographic category (T1 flat ... T4 ridge with steep sides).
enum class CategoriaTopografica { T1, T2, T3, T4 };
/// Spectrum component.
enum class Componente { Orizzontale, Verticale };

/// "A".."E" (upper or lower case). Throws ErroreIntervallo otherwise.
CategoriaSuolo LeggiCategoriaSuolo(std::string_view testo);
/// "T1".."T4" (upper or lower case). Throws ErroreIntervallo otherwise.
CategoriaTopografica LeggiCategoriaTopografica(std::string_view testo);
/// "A".."E".
const char* NomeCategoria(CategoriaSuolo c);
/// "T1".."T4".
const char* NomeCategoria(CategoriaTopografica c);

/// Hazard of one limit state at the site.
struct AzioneSismica {
    double ag = 0; ///< peak ground acceleration on rock [g], 0..AgMassima
    double Fo = 0; ///< maximum spectral amplification [-], > 0, up to FoMassimo
    double Tc = 0; ///< Tc*, upper corner period on rock [s], > 0, up to TcMassimo
};

/// Site conditions and damping shared by all spectra of a site.
struct CondizioniSito {
    CategoriaSuolo suolo = CategoriaSuolo::A;
    CategoriaTopografica topografia = CategoriaTopografica::T1;
    /// Topographic factor given by the user in [1, 1.4]; overrides topografia
    /// (whose table value holds at the top of the relief only).
    std::optional<double> ST;
    double smorzamento = 5; ///< viscous damping ξ [%], 0..SmorzamentoMassimo
};

/// Corner periods and factors of one component's spectrum.
struct ParametriSpettro {
    Componente componente = Componente::Orizzontale;
    AzioneSismica azione;   ///< the input
    double SS = 1;          ///< stratigraphic factor
    double CC = 1;          ///< TC multiplier of the subsoil (1 for the vertical)
    double ST = 1;          ///< topographic factor
    double S = 1;           ///< SS·ST
    double eta = 1;         ///< damping correction η
    double Fv = 0;          ///< vertical amplification 1.35·Fo·√ag (both components carry it)
    double F = 0;           ///< plateau amplification: Fo (horizontal) or Fv (vertical)
    double TB = 0, TC = 0, TD = 0; ///< corner periods [s]
    double TE = 0, TF = 0;  ///< displacement spectrum corners [s] (horizontal only, else 0)
};

/// η = √(10 / (5 + ξ)), not below 0.55. Throws for ξ outside its range.
double FattoreSmorzamento(double smorzamentoPercento);

/// Factors and corners of the horizontal spectrum: SS and CC of the subsoil,
/// ST, TC = CC·Tc*, TB = TC/3, TD = 4·ag + 1.6. Throws ErroreIntervallo on
/// ag < 0, Fo <= 0, Tc* <= 0 (or not finite), ξ < 0, ST outside [1, 1.4].
ParametriSpettro ParametriOrizzontali(const AzioneSismica& a, const CondizioniSito& s);
/// Factors and corners of the vertical spectrum: SS = 1, S = ST, Fv,
/// TB = 0.05 s, TC = 0.15 s, TD = 1 s. Same checks.
ParametriSpettro ParametriVerticali(const AzioneSismica& a, const CondizioniSito& s);
/// Either of the above.
ParametriSpettro Parametri(Componente c, const AzioneSismica& a, const CondizioniSito& s);

/// Elastic acceleration Se(T) or Sve(T) [g] at period T [s] >= 0.
/// Throws ErroreIntervallo for T < 0 or not finite.
double SpettroElastico(const ParametriSpettro& p, double T);
/// Design acceleration Sd(T) or Svd(T) [g] of an ultimate limit state (SLV,
/// SLC): the elastic formulas with η replaced by 1/q; the horizontal one not
/// below 0.2·ag. Throws for q outside [1, QMassimo].
double SpettroProgetto(const ParametriSpettro& p, double q, double T);
/// Design acceleration of any limit state: for the serviceability states
/// (SLO, SLD) the decree takes the elastic spectrum itself, horizontal and
/// vertical (§3.2.3.4), whatever q; otherwise SpettroProgetto.
double SpettroProgetto(const ParametriSpettro& p, double q, double T, bool esercizio);
/// Elastic displacement SDe(T) [m] of the horizontal component:
/// Se(T)·(T/2π)² up to TE, then the decree's linear law up to TF and the
/// peak ground displacement dg = 0.025·ag·S·TC·TD beyond. Throws for a
/// vertical p.
double SpettroSpostamento(const ParametriSpettro& p, double T);

/// Periods from inizio to fine [s] with step passo (fine always included),
/// plus every period of angoli inside the range and two points on either
/// side of each at passo/5 and 2·passo/5, sorted and without duplicates.
/// Throws ErroreIntervallo for inizio < 0, fine < inizio, fine beyond
/// PeriodoMassimo, passo <= 0 or more than a million points.
std::vector<double> GrigliaPeriodi(double inizio, double fine, double passo,
                                   std::span<const double> angoli = {});
/// Default grid of p: 0 to 4 s by 0.05 s, denser around TB, TC and TD.
std::vector<double> GrigliaPeriodi(const ParametriSpettro& p);

/// All spectra of one limit state at one period.
struct PuntoSpettro {
    double T;   ///< [s]
    double Se;  ///< horizontal elastic [g]
    double Sve; ///< vertical elastic [g]
    double Sd;  ///< horizontal design [g]
    double Svd; ///< vertical design [g]
    double SDe; ///< horizontal elastic displacement [m]
};

/// Every spectrum of a limit state, horizontal and vertical, for q at each period.
struct SpettriStato {
    ParametriSpettro orizzontale;
    ParametriSpettro verticale;
    double q = 1;
    bool esercizio = false; ///< SLO or SLD: the design spectra are the elastic ones
    std::vector<PuntoSpettro> punti;
};

/// Evaluates SpettriStato at periodi; esercizio for the serviceability limit
/// states (SLO, SLD). Throws as the functions above.
SpettriStato CalcolaSpettri(const AzioneSismica& a, const CondizioniSito& s, double q,
                            std::span<const double> periodi, bool esercizio = false);

} // namespace veltrano
