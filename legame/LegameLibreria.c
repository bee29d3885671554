/* The binding of a Windows host to Veltrano_dll.dll: see LegameLibreria.h. */
#include "LegameLibreria.h"

#include <stdio.h>
#include <string.h>
#include <wchar.h>

TLegameVeltrano LegameVeltrano;

static void MessaggioPredefinito(const wchar_t* Testo, UINT Tipo) {
    MessageBoxW(NULL, Testo, L"Veltrano", MB_OK | Tipo);
}

TMostraMessaggio MostraMessaggioLegame = MessaggioPredefinito;

static const wchar_t ErroreRegistro[] = L"Errore durante la gestione del registro";

size_t LeggiChiaveRegistro(HKEY Radice, const wchar_t* Chiave, const wchar_t* Valore, wchar_t* Risultato,
                           size_t Capacita) {
    wchar_t chiave[512];
    const wchar_t* relativa;
    HKEY k;
    LONG esito;
    DWORD tipo = 0, byte = 0;
    size_t n;

    if (!Risultato || Capacita == 0)
        return 0;
    Risultato[0] = L'\0';
    if (!Chiave || !Valore)
        return 0;
    if (Radice == HKEY_USERS)
        n = (size_t)swprintf(chiave, sizeof chiave / sizeof *chiave, L".DEFAULT\\%ls", Chiave);
    else
        n = (size_t)swprintf(chiave, sizeof chiave / sizeof *chiave, L"%ls", Chiave);
    if (n >= sizeof chiave / sizeof *chiave) {
        MostraMessaggioLegame(ErroreRegistro, MB_ICONERROR);
        return 0;
    }
    /* The key is written as from the root, "\Software\...": the system wants
     * it relative, without the leading separator. */
    relativa = chiave;
    if (Radice != HKEY_USERS)
        while (*relativa == L'\\')
            ++relativa;

    esito = RegOpenKeyExW(Radice, relativa, 0, KEY_READ, &k);
    if (esito != ERROR_SUCCESS) {
        wchar_t testo[600];
        swprintf(testo, sizeof testo / sizeof *testo, L"Chiave \"%ls\" non trovata", chiave);
        MostraMessaggioLegame(testo, MB_ICONINFORMATION);
        return 0;
    }
    esito = RegQueryValueExW(k, Valore, NULL, &tipo, NULL, &byte);
    if (esito == ERROR_FILE_NOT_FOUND) {
        RegCloseKey(k); /* no value: an empty folder, as for an empty string */
        return 0;
    }
    if (esito != ERROR_SUCCESS || (tipo != REG_SZ && tipo != REG_EXPAND_SZ) ||
        byte / sizeof(wchar_t) >= Capacita) {
        RegCloseKey(k);
        MostraMessaggioLegame(ErroreRegistro, MB_ICONERROR);
        return 0;
    }
    esito = RegQueryValueExW(k, Valore, NULL, &tipo, (BYTE*)Risultato, &byte);
    RegCloseKey(k);
    if (esito != ERROR_SUCCESS || byte / sizeof(wchar_t) >= Capacita) {
        Risultato[0] = L'\0';
        MostraMessaggioLegame(ErroreRegistro, MB_ICONERROR);
        return 0;
    }
    /* A stored string need not carry its terminator. */
    n = byte / sizeof(wchar_t);
    Risultato[n] = L'\0';
    return wcslen(Risultato);
}

void LegameLibreriaTermina(void) {
    if (LegameVeltrano.Modulo)
        FreeLibrary(LegameVeltrano.Modulo);
    memset(&LegameVeltrano, 0, sizeof LegameVeltrano);
}

/* GetProcAddress answers with a generic pointer; the slot knows the type. */
#define TROVA(nome)                                                        \
    do {                                                                   \
        FARPROC p_ = GetProcAddress(LegameVeltrano.Modulo, #nome);         \
        memcpy(&LegameVeltrano.nome, &p_, sizeof p_);                      \
    } while (0)

int LegameLibreriaInizializza(void) {
    wchar_t file[1100];
    size_t n;

    LegameLibreriaTermina();
    n = LeggiChiaveRegistro(HKEY_LOCAL_MACHINE, L"\\Software\\Tavrel", L"pathVeltrano", file, 1024);
    if (n == 0)
        return 0;
    /* Joined as stored: the folder must end with its separator. */
    wcscpy(file + n, L"Veltrano_dll.dll");
    LegameVeltrano.Modulo = LoadLibraryW(file);
    if (!LegameVeltrano.Modulo)
        return 0;
    TROVA(VeltranoVersione);
    TROVA(VisualizzaDialog);
    TROVA(CalcolaParametriSismici);
    TROVA(CalcolaParametriSismici2);
    TROVA(CalcolaTempoRitornoDaPGA);
    TROVA(CalcolaTempiRitorno);
    TROVA(CalcolaTempiRitorno2);
    TROVA(GIS_LeggeDatabaseCoorComSize);
    TROVA(GIS_LeggeDatabaseCoorCom);
    TROVA(GIS_SalvaDatabaseCoorCom);
    TROVA(ConvCoord_WGS84toED50);
    return 1;
}
