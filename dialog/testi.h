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
inline constexpr const char* Modi[3] = {"per Coordinate", "per Località", "Utente"};
inline constexpr const char* ClassiUso[4] = {"I", "II", "III", "IV"};
inline constexpr const char* CategorieVN[3] = {"Opere provvisorie", "Opere ordinarie", "Grandi opere"};
inline constexpr const char* DistanzaKm = "Distanza dalla costa [km]";
inline constexpr const char* DistanzaM = "Distanza dalla costa [m]";
inline constexpr const char* SitoUtente = "SITO UTENTE";

// Buttons
inline constexpr const char* Chiudi = "CHIUDI";
inline constexpr const char* Ok = "OK";

// Legend and grid
inline constexpr const char* TempiRitorno[9] = {"30 anni",  "50 anni",  "72 anni",  "101 anni", "140 anni",
                                                "201 anni", "475 anni", "975 anni", "2475 anni"};

// Option panels
inline constexpr const char* OpzioniAmministrative = "Opzioni elem. amministrativi";
inline constexpr const char* OpzioniGeografiche = "Opzioni elem. geografici";
inline constexpr const char* CaricoNomi = "Carico i nomi ";
inline constexpr const char* DelleRegioni = "delle Regioni";
inline constexpr const char* DelleProvince = "delle Province";
inline constexpr const char* DeiComuni = "dei Comuni";

// Messages
inline constexpr const char* NonNumero = "\"%s\" non è un valore numerico valido";
inline constexpr const char* SitiUtenteDanneggiati =
    "Il file delle località utente non è valido e non è stato letto:\n%s\n\n"
    "L'elenco delle località utente è vuoto; il file sarà conservato come "
    "CoorLocUtente.dat.danneggiato al primo salvataggio.";
inline constexpr const char* SitoSenzaValori =
    "Il sito è fuori dalla griglia di pericolosità e da ogni isola: non ha valori da restituire.\n"
    "Scegliere un altro sito, oppure chiudere la finestra per uscire senza cambiare nulla.";
// The on-line map
inline constexpr const char* NessunaConnessione =
    "Per usufruire di questa funzione\rconnettersi ad internet e riavviare l'applicazione!";
inline constexpr const char* TitoloInformazione = "INFO";
inline constexpr const char* PaginaWebNonCaricata = "Impossibile caricare la mappa on-line:\n%s";
inline constexpr const char* ImmagineNonScritta = "Impossibile scrivere l'immagine della cartina:\n%s";

} // namespace veltrano::dialogo::testi
