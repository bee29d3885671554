/*
 * LegameLibreria: the unit a Windows host compiles in to bind to
 * Veltrano_dll.dll by name. Plain C; needs veltrano/veltrano.h for the types.
 *
 * The host calls LegameLibreriaInizializza() once it is running (not from its
 * own DllMain) and LegameLibreriaTermina() before it exits. Initialising
 * reads the installation folder from the registry (HKEY_LOCAL_MACHINE,
 * "\Software\Tavrel", value "pathVeltrano", a folder that ends with "\"),
 * loads that folder + "Veltrano_dll.dll" and looks up the exports by name.
 * A missing key shows the box  Chiave "\Software\Tavrel" non trovata ; any
 * other registry failure shows "Errore durante la gestione del registro".
 * The library never does any of this by itself: a registry read, a message
 * box or a LoadLibrary inside the loader lock of its own load could hang the
 * host, and a machine without the key would see a box at every load.
 *
 * Slots of exports the library does not have stay NULL (an older library
 * without one of them), and all of them when the library was not
 * loaded. One thread, like the library.
 */
#ifndef VELTRANO_LEGAMELIBRERIA_H
#define VELTRANO_LEGAMELIBRERIA_H

#include "veltrano/veltrano.h"

#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef void(VELTRANO_REGISTER* TVeltranoVersione)(VelStringa* versione);
typedef void(VELTRANO_STDCALL* TVisualizzaDialog)(void* MainApp, int32_t CategoriaVN, uint8_t ClasseUso,
                                                  int32_t VN, int32_t Riservato, VelStringa FileImmagine,
                                                  TGIS_DatiOut* DatiOut);
typedef void(VELTRANO_STDCALL* TCalcolaParametriSismici)(float Lon, float Lat, int32_t VN, int32_t ClasseUso,
                                                         uint8_t Riservato, TGIS_DatiOut* DatiOut);
typedef void(VELTRANO_STDCALL* TCalcolaParametriSismici2)(uint8_t Normativa, float Lon, float Lat, int32_t VN,
                                                          int32_t ClasseUso, uint8_t Riservato,
                                                          TGIS_DatiOut* DatiOut);
typedef int32_t(VELTRANO_STDCALL* TCalcolaTempoRitornoDaPGA)(float Lon, float Lat, float PGA);
typedef void(VELTRANO_STDCALL* TCalcolaTempiRitorno)(int32_t VN, uint8_t ClasseUso, int32_t* TR_SLV,
                                                     int32_t* TR_SLC, int32_t* TR_SLD, int32_t* TR_SLO);
typedef void(VELTRANO_STDCALL* TCalcolaTempiRitorno2)(uint8_t Normativa, int32_t VN, uint8_t ClasseUso,
                                                      int32_t* TR_SLV, int32_t* TR_SLC, int32_t* TR_SLD,
                                                      int32_t* TR_SLO);
typedef void(VELTRANO_STDCALL* TGIS_LeggeDatabaseCoorComSize)(VelStringa Percorso, int32_t* N);
typedef void(VELTRANO_STDCALL* TGIS_LeggeDatabaseCoorCom)(VelStringa Percorso, TCoordComuni* Comuni,
                                                          uint8_t Dimensiona);
typedef void(VELTRANO_STDCALL* TGIS_SalvaDatabaseCoorCom)(VelStringa Percorso, TCoordComuni* Comuni);
typedef void(VELTRANO_STDCALL* TConvCoord_WGS84toED50)(float Lon, float Lat, float* LonED50, float* LatED50);

/* The bound library: its module and one slot per export, in lookup order. */
typedef struct TLegameVeltrano {
    HMODULE Modulo;
    TVeltranoVersione VeltranoVersione;
    TVisualizzaDialog VisualizzaDialog;
    TCalcolaParametriSismici CalcolaParametriSismici;
    TCalcolaParametriSismici2 CalcolaParametriSismici2;
    TCalcolaTempoRitornoDaPGA CalcolaTempoRitornoDaPGA;
    TCalcolaTempiRitorno CalcolaTempiRitorno;
    TCalcolaTempiRitorno2 CalcolaTempiRitorno2;
    TGIS_LeggeDatabaseCoorComSize GIS_LeggeDatabaseCoorComSize;
    TGIS_LeggeDatabaseCoorCom GIS_LeggeDatabaseCoorCom;
    TGIS_SalvaDatabaseCoorCom GIS_SalvaDatabaseCoorCom;
    TConvCoord_WGS84toED50 ConvCoord_WGS84toED50;
} TLegameVeltrano;

extern TLegameVeltrano LegameVeltrano;

/* Shows a message to the user; MB_ICONINFORMATION or MB_ICONERROR in Tipo.
 * Defaults to a MessageBoxW; a host may point it elsewhere (a log, a test). */
typedef void (*TMostraMessaggio)(const wchar_t* Testo, UINT Tipo);
extern TMostraMessaggio MostraMessaggioLegame;

/* Binds to the library (see above). Returns 1 if it was loaded, 0 if not;
 * a second call first releases what the first one bound. */
int LegameLibreriaInizializza(void);
/* Frees the module, if one was loaded, and clears every slot. */
void LegameLibreriaTermina(void);

/* The string value Valore of key Chiave under Radice, into Risultato
 * (Capacita wide characters with the terminator); "" when the key or value is
 * missing or on failure, reporting through MostraMessaggioLegame as above. A
 * leading "\" of Chiave is allowed; under HKEY_USERS the key is read below
 * ".DEFAULT\". Returns the length of the result. */
size_t LeggiChiaveRegistro(HKEY Radice, const wchar_t* Chiave, const wchar_t* Valore, wchar_t* Risultato,
                           size_t Capacita);

#ifdef __cplusplus
}
#endif

#endif /* VELTRANO_LEGAMELIBRERIA_H */
