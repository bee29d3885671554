// The dialog's texts that the user sees, in one place so that the tests can
// compare them byte for byte. UTF-8.
#pragma once

#include "veltrano/versione.h"

namespace veltrano::dialogo::testi {

inline constexpr const char* Titolo = "Veltrano " VELTRANO_VERSIONE;
// The bundled boundaries are those of 2023: the notice names that year.
inline constexpr const char* AvvisoElenco =
    "    L'ELENCO DELLE PROVINCE E DEI COMUNI E' AGGIORNATO A GIUGNO 2023 COSI' COME INDICATO NEGLI ELENCHI ISTAT";

// Site inspector
inline constexpr const char* CatSito = "INDIVIDUAZIONE SITO";
inline constexpr const char* CatOpera = "DATI DELL'OPERA";
inline constexpr const char* CatIndirizzo = "Indirizzo";
inline constexpr const char* SceltaRegione = "- Scegliere la regione -";
inline constexpr const char* SceltaProvincia = "- Scegliere la provincia -";
inline constexpr const char* SceltaComune = "- Scegliere il comune -";
inline constexpr const char* SceltaLocalita = "- Scegliere la località -";

// Legend and grid
inline constexpr const char* TempiRitorno[9] = {"30 anni",  "50 anni",  "72 anni",  "101 anni", "140 anni",
                                                "201 anni", "475 anni", "975 anni", "2475 anni"};
inline constexpr const char* StatoCoordinate = "Longitudine = %1° - Latitudine = %2°";

} // namespace veltrano::dialogo::testi
