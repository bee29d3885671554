/* A Windows host in plain C. It binds to Veltrano_dll.dll by name through
 * LegameLibreria (the folder comes from the registry), checks every export
 * against the records the native engine wrote (attesi.h), and checks that
 * failures arrive as structured exceptions with the documented codes.
 * Usage: host_windows ATTESI.bin WORK_FOLDER\ */
#include "LegameLibreria.h"
#include "tests/windows/attesi.h"

#include <setjmp.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <wchar.h>

#define LUNGHEZZA_VERSIONE ((int32_t)(sizeof(VELTRANO_VERSIONE) - 1))

static int Errori;

#define CONTROLLA(c, ...)                                    \
    do {                                                     \
        if (!(c)) {                                          \
            ++Errori;                                        \
            printf("FALLITO riga %d: ", __LINE__);           \
            printf(__VA_ARGS__);                             \
            printf("\n");                                    \
        }                                                    \
    } while (0)

/* ---- Messages of the binding unit, captured instead of shown ---- */
static wchar_t UltimoMessaggio[600];
static UINT UltimoTipo;
static int NumMessaggi;

static void Cattura(const wchar_t* Testo, UINT Tipo) {
    wcsncpy(UltimoMessaggio, Testo, 599);
    UltimoTipo = Tipo;
    ++NumMessaggi;
}

/* ---- Structured exceptions: a vectored handler keeps the code and text and
 * jumps back to the call site (MinGW has no __try/__except). ---- */
static jmp_buf Ritorno;
static volatile int InAttesa;
static volatile DWORD CodiceCatturato, FlagCatturati;
static char TestoCatturato[512];

static LONG CALLBACK Gestore(EXCEPTION_POINTERS* e) {
    const EXCEPTION_RECORD* r = e->ExceptionRecord;
    if (!InAttesa || (r->ExceptionCode & 0xFFFFFF00u) != 0xE0564C00u)
        return EXCEPTION_CONTINUE_SEARCH;
    InAttesa = 0;
    CodiceCatturato = r->ExceptionCode;
    FlagCatturati = r->ExceptionFlags;
    TestoCatturato[0] = '\0';
    if (r->NumberParameters >= 1 && r->ExceptionInformation[0])
        strncpy(TestoCatturato, (const char*)r->ExceptionInformation[0], sizeof TestoCatturato - 1);
    longjmp(Ritorno, 1);
}

/* Runs chiamata; esito gets the code of the structured exception, 0 if none. */
#define CHIAMA(esito, chiamata)        \
    do {                               \
        CodiceCatturato = 0;           \
        InAttesa = 1;                  \
        if (setjmp(Ritorno) == 0) {    \
            chiamata;                  \
            InAttesa = 0;              \
        }                              \
        (esito) = CodiceCatturato;     \
    } while (0)

/* ---- The exports outside the binding unit's eleven ---- */
typedef struct TRuntime {
    VelStringa(VELTRANO_STDCALL* StringaDaUtf8)(const char*);
    int32_t(VELTRANO_STDCALL* StringaLunghezza)(VelStringa);
    void(VELTRANO_STDCALL* StringaRilascia)(VelStringa*);
    void(VELTRANO_STDCALL* ComuniDimensiona)(TCoordComuni*, int32_t);
    int32_t(VELTRANO_STDCALL* ComuniLunghezza)(const TCoordComune*);
    void(VELTRANO_STDCALL* ComuniRilascia)(TCoordComuni*);
    const char*(VELTRANO_STDCALL* UltimoErrore)(void);
    uint32_t(VELTRANO_STDCALL* UltimoCodice)(void);
} TRuntime;

static void Trova(HMODULE h, void* slot, const char* nome) {
    FARPROC p = GetProcAddress(h, nome);
    CONTROLLA(p != NULL, "%s non esportata", nome);
    memcpy(slot, &p, sizeof p);
}

static TRuntime Runtime(HMODULE h) {
    TRuntime r;
    Trova(h, &r.StringaDaUtf8, "VeltranoStringaDaUtf8");
    Trova(h, &r.StringaLunghezza, "VeltranoStringaLunghezza");
    Trova(h, &r.StringaRilascia, "VeltranoStringaRilascia");
    Trova(h, &r.ComuniDimensiona, "VeltranoComuniDimensiona");
    Trova(h, &r.ComuniLunghezza, "VeltranoComuniLunghezza");
    Trova(h, &r.ComuniRilascia, "VeltranoComuniRilascia");
    Trova(h, &r.UltimoErrore, "VeltranoUltimoErrore");
    Trova(h, &r.UltimoCodice, "VeltranoUltimoCodice");
    return r;
}

static unsigned short LeggiCW(void) {
    unsigned short cw;
    __asm__ volatile("fnstcw %0" : "=m"(cw));
    return cw;
}
static void ImpostaCW(unsigned short cw) { __asm__ volatile("fldcw %0" : : "m"(cw)); }

static long PrimoByteDiverso(const void* a, const void* b, size_t n) {
    const unsigned char *x = a, *y = b;
    for (size_t i = 0; i < n; ++i)
        if (x[i] != y[i])
            return (long)i;
    return -1;
}

/* A private copy of the library in its own folder, with a grid file of
 * bytesGriglia bytes (none for 0). */
static HMODULE CopiaLibreria(const wchar_t* lavoro, const wchar_t* nome, DWORD bytesGriglia) {
    wchar_t cartella[MAX_PATH], origine[MAX_PATH], file[MAX_PATH], dati[MAX_PATH];
    swprintf(cartella, MAX_PATH, L"%ls%ls\\", lavoro, nome);
    CreateDirectoryW(cartella, NULL);
    GetModuleFileNameW(LegameVeltrano.Modulo, origine, MAX_PATH);
    swprintf(file, MAX_PATH, L"%lsVeltrano_dll.dll", cartella);
    CONTROLLA(CopyFileW(origine, file, FALSE), "copia della libreria");
    swprintf(dati, MAX_PATH, L"%lsGeoDati.dat", cartella);
    DeleteFileW(dati);
    if (bytesGriglia) {
        *wcsrchr(origine, L'\\') = L'\0';
        wcscat(origine, L"\\GeoDati.dat");
        CONTROLLA(CopyFileW(origine, dati, FALSE), "copia della griglia");
        HANDLE f = CreateFileW(dati, GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL);
        SetFilePointer(f, (LONG)bytesGriglia, NULL, FILE_BEGIN);
        SetEndOfFile(f);
        CloseHandle(f);
    }
    HMODULE h = LoadLibraryW(file);
    CONTROLLA(h != NULL, "LoadLibraryW della copia %ls: %lu", file, GetLastError());
    return h;
}

static void ProvaRegistro(void) {
    wchar_t r[100];
    HKEY k;
    const DWORD numero = 7;
    NumMessaggi = 0;
    CONTROLLA(LeggiChiaveRegistro(HKEY_LOCAL_MACHINE, L"\\Software\\Tavrel\\Assente", L"x", r, 100) == 0 &&
                  r[0] == 0,
              "chiave assente: risultato non vuoto");
    CONTROLLA(NumMessaggi == 1 && UltimoTipo == MB_ICONINFORMATION &&
                  wcscmp(UltimoMessaggio, L"Chiave \"\\Software\\Tavrel\\Assente\" non trovata") == 0,
              "chiave assente: messaggio \"%ls\"", UltimoMessaggio);
    RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\VeltranoProva", 0, NULL, 0, KEY_ALL_ACCESS, NULL, &k, NULL);
    RegSetValueExW(k, L"numero", 0, REG_DWORD, (const BYTE*)&numero, sizeof numero);
    RegSetValueExW(k, L"testo", 0, REG_SZ, (const BYTE*)L"C:\\x\\", 12);
    RegCloseKey(k);
    NumMessaggi = 0;
    CONTROLLA(LeggiChiaveRegistro(HKEY_CURRENT_USER, L"\\Software\\VeltranoProva", L"testo", r, 100) == 5 &&
                  wcscmp(r, L"C:\\x\\") == 0 && NumMessaggi == 0,
              "valore di testo");
    CONTROLLA(LeggiChiaveRegistro(HKEY_CURRENT_USER, L"Software\\VeltranoProva", L"manca", r, 100) == 0 &&
                  NumMessaggi == 0,
              "un valore assente non dà messaggi");
    CONTROLLA(LeggiChiaveRegistro(HKEY_CURRENT_USER, L"\\Software\\VeltranoProva", L"numero", r, 100) == 0 &&
                  NumMessaggi == 1 && UltimoTipo == MB_ICONERROR &&
                  wcscmp(UltimoMessaggio, L"Errore durante la gestione del registro") == 0,
              "valore non di testo: messaggio \"%ls\"", UltimoMessaggio);
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\VeltranoProva");
}

/* One site: every export against the native record; 1 if all agree. */
static int ConfrontaSito(int i, const TSitoAtteso* s, const TRuntime* rt) {
    TGIS_DatiOut d, d1;
    volatile int32_t tr = 0;
    float e[2];
    int32_t t[4] = {0, 0, 0, 0};
    DWORD cod;
    const int prima = Errori;
    memset(&d, s->Riempimento, sizeof d);
    CHIAMA(cod, LegameVeltrano.CalcolaParametriSismici2(s->Normativa, s->Lon, s->Lat, s->VN, s->ClasseUso, 0,
                                                        &d));
    CONTROLLA(cod == s->Codice, "sito %d: codice %08lx, atteso %08x", i, cod, s->Codice);
    CONTROLLA(rt->UltimoCodice() == cod && (cod == 0) == (rt->UltimoErrore()[0] == '\0'),
              "sito %d: ultimo errore", i);
    const long b = PrimoByteDiverso(&d, &s->DatiOut, sizeof d);
    CONTROLLA(b < 0, "sito %d (%.6f %.6f): DatiOut diverso al byte %ld", i, s->Lon, s->Lat, b);
    if (s->Normativa == Norm_DM2008) {
        memset(&d1, s->Riempimento, sizeof d1);
        CHIAMA(cod, LegameVeltrano.CalcolaParametriSismici(s->Lon, s->Lat, s->VN, s->ClasseUso, 9, &d1));
        CONTROLLA(cod == s->Codice && memcmp(&d, &d1, sizeof d) == 0, "sito %d: versione 1 diversa", i);
    }
    CHIAMA(cod, tr = LegameVeltrano.CalcolaTempoRitornoDaPGA(s->Lon, s->Lat, s->PGA));
    CONTROLLA(cod == s->CodicePGA && (cod || tr == s->TRDaPGA), "sito %d: TR da PGA %d, atteso %d", i,
              (int)tr, (int)s->TRDaPGA);
    LegameVeltrano.ConvCoord_WGS84toED50(s->Lon, s->Lat, &e[0], &e[1]);
    CONTROLLA(memcmp(&e[0], &s->LonED50, 4) == 0 && memcmp(&e[1], &s->LatED50, 4) == 0,
              "sito %d: ED50 %.9g %.9g, attesi %.9g %.9g", i, e[0], e[1], s->LonED50, s->LatED50);
    CHIAMA(cod, LegameVeltrano.CalcolaTempiRitorno2(s->Normativa, s->VN, (uint8_t)s->ClasseUso, &t[0], &t[1],
                                                    &t[2], &t[3]));
    CONTROLLA(cod == s->CodiceTR && (cod || memcmp(t, s->TR, sizeof t) == 0), "sito %d: tempi di ritorno",
              i);
    return Errori == prima;
}

static void ConfrontaSito53(int i, const TSitoAtteso* s) {
    TGIS_DatiOut d;
    DWORD cod;
    memset(&d, s->Riempimento, sizeof d);
    CHIAMA(cod, LegameVeltrano.CalcolaParametriSismici2(s->Normativa, s->Lon, s->Lat, s->VN, s->ClasseUso, 0, &d));
    CONTROLLA(cod == s->Codice && memcmp(&d, &s->DatiOut, sizeof d) == 0, "sito %d a precisione 53 bit: diverso", i);
    CONTROLLA(LeggiCW() == 0x027F, "parola di controllo del chiamante cambiata: %04x", LeggiCW());
}

/* The batch entry on the same sites, one code edition at a time, with the
 * caller at 53-bit precision: its worker threads must set their own. */
static void ProvaLotto(const TSitoAtteso* a, int32_t n) {
    typedef int(VELTRANO_STDCALL * TApri)(const char*, VeltranoGriglia**, char*, size_t);
    typedef void(VELTRANO_STDCALL * TChiudi)(VeltranoGriglia*);
    typedef int(VELTRANO_STDCALL * TSiti)(const VeltranoGriglia*, uint8_t, size_t, const float*, const float*,
                                          const int32_t*, const int32_t*, const VeltranoUscitaSiti*, int, char*,
                                          size_t);
    TApri apri;
    TChiudi chiudi;
    TSiti siti;
    VeltranoGriglia* g = NULL;
    char m[256];
    int confrontati = 0;
    Trova(LegameVeltrano.Modulo, &apri, "VeltranoGrigliaApri");
    Trova(LegameVeltrano.Modulo, &chiudi, "VeltranoGrigliaChiudi");
    Trova(LegameVeltrano.Modulo, &siti, "VeltranoCalcolaSiti");
    /* No path: the grid beside the library, where the zip put it. */
    CONTROLLA(apri(NULL, &g, m, sizeof m) == VELTRANO_OK, "VeltranoGrigliaApri(NULL): %s", m);
    float* lon = malloc((size_t)n * sizeof *lon);
    float* lat = malloc((size_t)n * sizeof *lat);
    int32_t *vn = malloc((size_t)n * sizeof *vn), *classe = malloc((size_t)n * sizeof *classe);
    int32_t *indice = malloc((size_t)n * sizeof *indice), *codici = malloc((size_t)n * sizeof *codici);
    float *ag = malloc(4 * (size_t)n * sizeof *ag), *tc = malloc(4 * (size_t)n * sizeof *tc);
    int32_t* nodi = malloc(4 * (size_t)n * sizeof *nodi);
    VeltranoUscitaSiti u;
    memset(&u, 0, sizeof u);
    u.ag = ag;
    u.Tc_s = tc;
    u.NumPunti = nodi;
    u.codici = codici;
    ImpostaCW(0x027F);
    for (uint8_t norma = 0; g && norma <= Norm_DM2018; ++norma) {
        int32_t k = 0;
        for (int32_t i = 0; i < n; ++i)
            if (a[i].Normativa == norma) {
                lon[k] = a[i].Lon, lat[k] = a[i].Lat, vn[k] = a[i].VN, classe[k] = a[i].ClasseUso;
                indice[k++] = i;
            }
        siti(g, norma, (size_t)k, lon, lat, vn, classe, &u, 2, m, sizeof m);
        for (int32_t j = 0; j < k; ++j) {
            const TSitoAtteso* s = &a[indice[j]];
            const TGIS_ParZS* st[4] = {&s->DatiOut.SLV, &s->DatiOut.SLC, &s->DatiOut.SLD, &s->DatiOut.SLO};
            /* The C API's codes are the low byte of the structured exceptions'. */
            int uguale = codici[j] == (int32_t)(s->Codice & 0xFF);
            for (int l = 0; uguale && s->Codice == 0 && l < 4; ++l)
                uguale = memcmp(&ag[4 * j + l], &st[l]->ag, 4) == 0 && memcmp(&tc[4 * j + l], &st[l]->Tc_s, 4) == 0 &&
                         nodi[4 * j + l] == s->DatiOut.NumPunti[l];
            CONTROLLA(uguale, "lotto, sito %d: diverso (codice %d)", (int)indice[j], (int)codici[j]);
            ++confrontati;
        }
    }
    ImpostaCW(0x037F);
    if (g)
        chiudi(g);
    free(lon), free(lat), free(vn), free(classe), free(indice), free(codici), free(ag), free(tc), free(nodi);
    printf("host_windows: lotto, %d siti confrontati\n", confrontati);
}

static int ProvaAttesi(const char* file, const TRuntime* rt) {
    FILE* f = fopen(file, "rb");
    char firma[8];
    int32_t n = 0, diversi = 0;
    CONTROLLA(f != NULL, "%s non si apre", file);
    if (!f)
        return 0;
    if (fread(firma, 1, 8, f) != 8 || memcmp(firma, ATTESI_FIRMA, 8) != 0 || fread(&n, 4, 1, f) != 1 || n <= 0) {
        CONTROLLA(0, "%s: intestazione", file);
        fclose(f);
        return 0;
    }
    TSitoAtteso* a = malloc((size_t)n * sizeof *a);
    CONTROLLA(fread(a, sizeof *a, (size_t)n, f) == (size_t)n, "%s corto", file);
    fclose(f);
    for (int32_t i = 0; i < n; ++i)
        diversi += !ConfrontaSito((int)i, &a[i], rt);
    /* A host that runs the x87 unit at 53-bit precision gets the same bytes. */
    ImpostaCW(0x027F);
    for (int32_t i = 0; i < n && i < 300; ++i)
        ConfrontaSito53((int)i, &a[i]);
    ImpostaCW(0x037F);
    ProvaLotto(a, n);
    free(a);
    printf("host_windows: %d siti confrontati, %d diversi\n", (int)n, (int)diversi);
    return n;
}

static void ProvaErrori(const TRuntime* rt) {
    TGIS_DatiOut d;
    DWORD cod;
    int32_t t[4] = {0, 0, 0, 0};
    VelStringa s = NULL;

    /* ClasseUso 300, -1, an enormous VN, null addresses: the bound library. */
    memset(&d, 0x5A, sizeof d);
    CHIAMA(cod, LegameVeltrano.CalcolaParametriSismici(13.4f, 42.35f, 50, 300, 0, &d));
    CONTROLLA(cod == VELTRANO_CODICE_INTERVALLO, "ClasseUso 300: %08lx", cod);
    CONTROLLA(FlagCatturati & EXCEPTION_NONCONTINUABLE, "eccezione continuabile");
    CONTROLLA(strstr(TestoCatturato, "ClasseUso") && strcmp(TestoCatturato, rt->UltimoErrore()) == 0,
              "testo \"%s\" / \"%s\"", TestoCatturato, rt->UltimoErrore());
    CONTROLLA(rt->UltimoCodice() == VELTRANO_CODICE_INTERVALLO, "ultimo codice %08x", rt->UltimoCodice());
    CHIAMA(cod, LegameVeltrano.CalcolaParametriSismici2(Norm_DM2008, 13.4f, 42.35f, 50, -1, 0, &d));
    CONTROLLA(cod == VELTRANO_CODICE_INTERVALLO, "ClasseUso -1: %08lx", cod);
    CHIAMA(cod, LegameVeltrano.CalcolaParametriSismici(13.4f, 42.35f, 2147483647, 4, 0, &d));
    CONTROLLA(cod == VELTRANO_CODICE_INTERVALLO, "VN enorme: %08lx", cod);
    CHIAMA(cod, LegameVeltrano.CalcolaParametriSismici(13.4f, 42.35f, 50, 2, 0, NULL));
    CONTROLLA(cod == VELTRANO_CODICE_ARGOMENTO, "DatiOut nullo: %08lx", cod);
    CHIAMA(cod, LegameVeltrano.VeltranoVersione(NULL));
    CONTROLLA(cod == VELTRANO_CODICE_ARGOMENTO, "versione su nullo: %08lx", cod);
    CHIAMA(cod, LegameVeltrano.CalcolaTempiRitorno(50, 2, NULL, NULL, NULL, NULL));
    CONTROLLA(cod == VELTRANO_CODICE_ARGOMENTO, "tempi su nullo: %08lx", cod);
    /* After a failure the library still works, and a success clears the error. */
    CHIAMA(cod, LegameVeltrano.CalcolaTempiRitorno(50, 2, &t[0], &t[1], &t[2], &t[3]));
    CONTROLLA(cod == 0 && t[0] == 475 && t[1] == 975 && t[2] == 50 && t[3] == 30, "tempi dopo un errore");
    CONTROLLA(rt->UltimoCodice() == 0 && rt->UltimoErrore()[0] == '\0', "l'errore resta dopo un successo");
    CHIAMA(cod, LegameVeltrano.VeltranoVersione(&s));
    CONTROLLA(cod == 0 && rt->StringaLunghezza(s) == LUNGHEZZA_VERSIONE &&
                  memcmp(s, L"" VELTRANO_VERSIONE, sizeof(L"" VELTRANO_VERSIONE)) == 0, "versione");

    rt->StringaRilascia(&s);
}

/* A copy of the library without a grid file beside it. */
static void ProvaSenzaDati(HMODULE h) {
    TGIS_DatiOut d, prima;
    DWORD cod;
    int32_t t[4] = {0, 0, 0, 0};
    TCalcolaParametriSismici cps;
    TCalcolaTempiRitorno ctr;
    Trova(h, &cps, "CalcolaParametriSismici");
    Trova(h, &ctr, "CalcolaTempiRitorno");
    const TRuntime r2 = Runtime(h);
    memset(&d, 0x11, sizeof d);
    prima = d;
    CHIAMA(cod, cps(13.4f, 42.35f, 50, 2, 0, &d));
    CONTROLLA(cod == VELTRANO_CODICE_APERTURA, "senza GeoDati.dat: %08lx", cod);
    CONTROLLA(strstr(TestoCatturato, "GeoDati.dat") && strstr(TestoCatturato, "CalcolaParametriSismici2") &&
                  strstr(TestoCatturato, "senza dati \xc3\xa8"),
              "testo \"%s\"", TestoCatturato);
    CONTROLLA(r2.UltimoCodice() == VELTRANO_CODICE_APERTURA && strcmp(r2.UltimoErrore(), TestoCatturato) == 0,
              "ultimo errore della copia");
    CONTROLLA(memcmp(&d, &prima, sizeof d) == 0, "DatiOut toccato da un errore");
    CHIAMA(cod, ctr(100, 3, &t[0], &t[1], &t[2], &t[3]));
    CONTROLLA(cod == 0 && t[0] == 1424 && t[1] == 2475, "tempi senza dati");
}

/* A copy of the library whose grid file is one byte short. */
static void ProvaGrigliaCorta(HMODULE h) {
    TGIS_DatiOut d;
    DWORD cod;
    TCalcolaParametriSismici cps;
    Trova(h, &cps, "CalcolaParametriSismici");
    CHIAMA(cod, cps(13.4f, 42.35f, 50, 2, 0, &d));
    CONTROLLA(cod == VELTRANO_CODICE_LETTURA, "griglia corta: %08lx (%s)", cod, TestoCatturato);
}

static void ProvaCopie(const wchar_t* lavoro) {
    HMODULE h = CopiaLibreria(lavoro, L"senza dati \u00e8", 0);
    if (h) {
        ProvaSenzaDati(h);
        FreeLibrary(h);
    }
    h = CopiaLibreria(lavoro, L"griglia corta", 3096287);
    if (h) {
        ProvaGrigliaCorta(h);
        FreeLibrary(h);
    }
}

static void ProvaComuni(const wchar_t* lavoro, const TRuntime* rt) {
    wchar_t cartella[MAX_PATH];
    char utf8[3 * MAX_PATH];
    TCoordComuni a = NULL, b = NULL, c = NULL;
    int32_t n = -1;
    DWORD cod;
    swprintf(cartella, MAX_PATH, L"%lscomuni \u00e0\u00e8\\", lavoro);
    CreateDirectoryW(cartella, NULL);
    WideCharToMultiByte(CP_UTF8, 0, cartella, -1, utf8, sizeof utf8, NULL, NULL);
    VelStringa percorso = rt->StringaDaUtf8(utf8);
    rt->ComuniDimensiona(&a, 3);
    for (int i = 0; i < 3; ++i) {
        memset(&a[i], 0x40 + i, sizeof(TCoordComune));
        a[i].Nome[0] = 3;
        a[i].Id_sf_COM = i;
    }
    CHIAMA(cod, LegameVeltrano.GIS_SalvaDatabaseCoorCom(percorso, &a));
    CONTROLLA(cod == 0, "salvataggio: %s", TestoCatturato);
    CHIAMA(cod, LegameVeltrano.GIS_LeggeDatabaseCoorComSize(percorso, &n));
    CONTROLLA(cod == 0 && n == 3, "numero dei comuni %d", (int)n);
    CHIAMA(cod, LegameVeltrano.GIS_LeggeDatabaseCoorCom(percorso, &b, 1));
    CONTROLLA(cod == 0 && rt->ComuniLunghezza(b) == 3 && memcmp(a, b, 3 * sizeof(TCoordComune)) == 0,
              "comuni riletti");
    rt->ComuniDimensiona(&c, 5);
    memset(c, 0x77, 5 * sizeof(TCoordComune));
    CHIAMA(cod, LegameVeltrano.GIS_LeggeDatabaseCoorCom(percorso, &c, 0));
    CONTROLLA(cod == VELTRANO_CODICE_LETTURA && ((unsigned char*)c)[0] == 0x77, "più comuni del file: %08lx", cod);
    rt->StringaRilascia(&percorso);
    percorso = rt->StringaDaUtf8("Z:\\non\\esiste\\");
    CHIAMA(cod, LegameVeltrano.GIS_LeggeDatabaseCoorComSize(percorso, &n));
    CONTROLLA(cod == VELTRANO_CODICE_APERTURA && strstr(TestoCatturato, "CoorCom2.dat"), "cartella assente: %08lx",
              cod);
    rt->ComuniRilascia(&a);
    rt->ComuniRilascia(&b);
    rt->ComuniRilascia(&c);
    rt->StringaRilascia(&percorso);
}

int main(int argc, char** argv) {
    wchar_t lavoro[MAX_PATH], modulo[MAX_PATH];
    if (argc != 3) {
        fprintf(stderr, "uso: host_windows ATTESI.bin CARTELLA_LAVORO\\\n");
        return 2;
    }
    MultiByteToWideChar(CP_UTF8, 0, argv[2], -1, lavoro, MAX_PATH);
    AddVectoredExceptionHandler(1, Gestore);
    MostraMessaggioLegame = Cattura;

    ProvaRegistro();
    NumMessaggi = 0;
    CONTROLLA(LegameLibreriaInizializza() == 1, "la libreria non si carica per nome");
    if (!LegameVeltrano.Modulo)
        return 1;
    CONTROLLA(NumMessaggi == 0, "messaggio all'avvio: %ls", UltimoMessaggio);
    GetModuleFileNameW(LegameVeltrano.Modulo, modulo, MAX_PATH);
    CONTROLLA(wcsstr(modulo, L"\\dati prova \u00e8\\Veltrano_dll.dll") != NULL, "caricata da %ls", modulo);
    CONTROLLA(LegameVeltrano.VisualizzaDialog != NULL, "VisualizzaDialog mancante");
    CONTROLLA(LegameVeltrano.VeltranoVersione && LegameVeltrano.CalcolaParametriSismici &&
                  LegameVeltrano.CalcolaParametriSismici2 && LegameVeltrano.CalcolaTempoRitornoDaPGA &&
                  LegameVeltrano.CalcolaTempiRitorno && LegameVeltrano.CalcolaTempiRitorno2 &&
                  LegameVeltrano.GIS_LeggeDatabaseCoorComSize && LegameVeltrano.GIS_LeggeDatabaseCoorCom &&
                  LegameVeltrano.GIS_SalvaDatabaseCoorCom && LegameVeltrano.ConvCoord_WGS84toED50,
              "un'esportazione manca");
    const TRuntime rt = Runtime(LegameVeltrano.Modulo);
    if (Errori)
        return 1;

    VelStringa s = rt.StringaDaUtf8("vecchio testo");
    LegameVeltrano.VeltranoVersione(&s);
    int32_t rif;
    memcpy(&rif, (char*)s - 8, 4);
    CONTROLLA(rt.StringaLunghezza(s) == LUNGHEZZA_VERSIONE &&
              memcmp(s, L"" VELTRANO_VERSIONE, sizeof(L"" VELTRANO_VERSIONE)) == 0 && rif == -1, "versione");
    rt.StringaRilascia(&s);

    ProvaAttesi(argv[1], &rt);
    ProvaErrori(&rt);
    ProvaCopie(lavoro);
    ProvaComuni(lavoro, &rt);

    LegameLibreriaTermina();
    CONTROLLA(LegameVeltrano.Modulo == NULL && LegameVeltrano.CalcolaParametriSismici == NULL, "termina");
    printf("host_windows: %s (%d errori)\n", Errori ? "FALLITO" : "riuscito", Errori);
    return Errori ? 1 : 0;
}
