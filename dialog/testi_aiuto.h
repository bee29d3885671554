// The texts of the warnings window, of help, of the maker's site and of the
// export of the hazard points, as the user sees them. UTF-8.
#pragma once

#include <array>

namespace veltrano::dialogo::testi {

// The warnings window TFWarn. The lines are the dialog's own, spelling
// included.
inline constexpr const char* Avvertenze = "Avvertenze";
inline constexpr const char* ChiudiAvvertenze = "Chiudi";
inline constexpr std::array<const char*, 11> RigheAvvertenze{
    "I CALCOLI DI INTERPOLAZIONE",
    "SONO EFFETTUATI UTILIZZANDO",
    "LE \"TABELLE DEI PARAMETRI CHE",
    "DEFINISCONO L'AZIONE SISMICA\"",
    "CON I DATI UFFICIALI COSI' COME",
    "PUBBLICATI NELLA G.U. n.29 DEL",
    "04/02/2008. EVENTUALI DIFFERENZE",
    "CON ALTRE PROCEDURE POTREBBERO",
    "ESSERE DOVUTE ALL'UTILIZZO DI",
    "TABELLE CON UN DIVERSO GRADO DI",
    "APPROSIMAZIONE DEI DATI.",
};

// Help
inline constexpr const char* GuidaNonDisponibile =
    "La guida di vetrano non è disponibile quando richiamato da un altro programma. "
    "Eseguire veltrano ed avviare la guida.";
inline constexpr const char* TitoloGuida = "Guida di Veltrano";
inline constexpr const char* GuidaMancante = "La guida non è stata trovata:\n%s";

// The maker's site
inline constexpr const char* VisitaSito = "Visita il nostro sito";

// The spreadsheet of the hazard points
inline constexpr const char* EsportaPunti = "Esporta punti sismici in Excel";
inline constexpr const char* ScritturaPunti = "Scrittura dei punti sismici...";
inline constexpr const char* AnnullaEsportazione = "Annulla";
inline constexpr const char* PuntiEsportati = "Punti sismici esportati nel file:\n%s";
inline constexpr const char* PuntiNonEsportati =
    "Impossibile esportare i punti sismici:\n%s\n\nIl file precedente non è stato modificato.";

} // namespace veltrano::dialogo::testi
