// The texts of the dialog's saving and printing, the spectra window and the
// site report, in one place so that the tests compare them byte for byte.
// UTF-8.
#pragma once

namespace veltrano::dialogo::testi {

/// The print job of the report has always had this title.
inline constexpr const char* TitoloStampaRapporto = "pippo";
inline constexpr const char* TitoloStampaCartina = "Cartina";
inline constexpr const char* SitoSenzaSpettri =
    "Il sito non ha valori di pericolosità (coordinate non inserite, fuori dalla griglia e da ogni isola): "
    "scegliere un sito per vederne gli spettri di risposta o la relazione.";

} // namespace veltrano::dialogo::testi
