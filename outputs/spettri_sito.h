// The response spectra of a site's four limit states as the command line's
// chart, the dialog's spectra window and the site report show them: one
// chart per component and kind (elastic, or design with q), one colour per
// limit state, and the same curves as a CSV table. Pure; thread-safe.
#pragma once

#include "core/spettri.h"
#include "outputs/grafico.h"

#include <array>
#include <string>
#include <vector>

namespace veltrano::uscite {

/// One limit state of the site.
struct TStatoSpettro {
    std::string nome; ///< "SLO", "SLD", "SLV", "SLC", or a name of the user's
    int TR = 0;       ///< return period [years]; 0 when the values were given directly
    AzioneSismica azione;
};

/// The four limit states' colours, from the mildest to the most severe.
extern const std::array<mappa::TColore, 4> ColoriStati;

enum class TTipoSpettro { Elastico, Progetto };

/// What a chart of spectra shows.
struct TSceltaSpettri {
    CondizioniSito sito;
    double q = 1; ///< behaviour factor of the design spectra of SLV and SLC
    Componente componente = Componente::Orizzontale;
    TTipoSpettro tipo = TTipoSpettro::Elastico;
    /// Periods inizio:fine:passo [s]; none: 0..4 s by 0.05 s, denser around
    /// each state's corner periods.
    std::optional<std::array<double, 3>> periodi;
};

/// True for the serviceability limit states, whose design spectra are the
/// elastic ones.
bool StatoEsercizio(const std::string& nome);

/// The chart of the states' spectra: "Spettri di risposta elastici -
/// componente orizzontale" (or "di progetto", "verticale"), a subtitle with
/// soil, topography, damping (and q), one curve per state named "SLV (TR
/// 475)". Four states take the four colours in order. Throws as
/// core/spettri.h does for values out of range.
TGrafico GraficoSpettri(const std::vector<TStatoSpettro>& stati, const TSceltaSpettri& s);

/// The same spectra as CSV: "# " heading lines (the site's description
/// riga, soil, topography, damping, q, each state's ag, Fo, Tc*), then the
/// columns T_s and, for each state, its Se_g, Sve_g, Sd_g, Svd_g on one grid
/// of periods that holds every state's corners. "." decimals, CR LF line ends.
std::string CsvSpettri(const std::vector<TStatoSpettro>& stati, const TSceltaSpettri& s,
                       const std::string& descrizione);

/// The shortest text that reads back as n, comma as decimal separator.
std::string NumeroVirgola(double n);

} // namespace veltrano::uscite
