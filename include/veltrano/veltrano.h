/*
 * Veltrano: seismic hazard of Italian sites under D.M. 14/01/2008.
 *
 * Public interface of the shared library Veltrano_dll (libVeltrano_dll.so on
 * Linux, Veltrano_dll.dll on Windows). Plain C, so that any host can include it.
 *
 * Records are packed: every field follows the previous one without a gap, and
 * the sizes and offsets below are fixed by the host programs that already use
 * them. Reals are IEEE single precision, integers signed 32-bit little-endian,
 * Booleans one byte (0 false, 1 true). Short strings are a length byte followed
 * by single-byte characters.
 *
 * Data folder: the computation exports open "GeoDati.dat" in the folder of the
 * library file itself. The grid file is read whole on every call, so that a
 * replaced file takes effect at once.
 *
 * Threads: the exports share one grid buffer and one working cell per process
 * without locks. Call them from one thread at a time.
 *
 * Failures (Linux build): the exports throw C++ exceptions of the types
 * declared at the end of this header (all derive from std::runtime_error):
 *   veltrano::ErroreApertura   a data file is missing or cannot be opened
 *   veltrano::ErroreLettura    a data file is shorter than what must be read,
 *                              or holds what cannot be (a NaN, a count that
 *                              disagrees with the file's size)
 *   veltrano::ErroreIntervallo a range fault: ClasseUso outside 0..255, a
 *                              return period outside 32 bits, a bad index, a
 *                              coordinate out of range, NaN or infinite, a
 *                              PGA that is not finite, a result that is not
 *                              a number
 *   veltrano::ErroreArgomento  a null pointer where an address is needed
 * Nothing fails silently. The exception's what() names the file or argument.
 * The same text is kept, per thread, for VeltranoUltimoErrore(), and the
 * matching VELTRANO_CODICE_* for VeltranoUltimoCodice().
 *
 * Failures (Windows build): a host need not be C++, so no C++ exception
 * leaves the library. A failed export keeps its text and code as above and
 * raises a structured exception, RaiseException(code, EXCEPTION_NONCONTINUABLE,
 * 1, {address of the UTF-8 text}), with code one of VELTRANO_CODICE_*:
 * catch it with __try/__except, a vectored exception handler or the host
 * language's own handler of OS exceptions. The export does not return.
 *
 * The client binding unit (legame/LegameLibreria.h, Windows) is source that a
 * host compiles in; the library itself never reads the registry or shows a
 * message box, and does nothing at load beyond finding its own folder.
 */
#ifndef VELTRANO_VELTRANO_H
#define VELTRANO_VELTRANO_H

#include <stddef.h>
#include <stdint.h>

#include "veltrano/versione.h"

#if defined(_WIN32)
#  if defined(VELTRANO_BUILDING)
#    define VELTRANO_API __declspec(dllexport)
#  else
#    define VELTRANO_API __declspec(dllimport)
#  endif
#  if defined(__i386__) || defined(_M_IX86)
#    define VELTRANO_STDCALL __stdcall
#    define VELTRANO_REGISTER __attribute__((regparm(1)))
#  else
#    define VELTRANO_STDCALL
#    define VELTRANO_REGISTER
#  endif
#else
#  define VELTRANO_API __attribute__((visibility("default")))
#  define VELTRANO_STDCALL
#  define VELTRANO_REGISTER
#endif

#ifdef __cplusplus
#  define VELTRANO_STATIC_ASSERT(c, m) static_assert(c, m)
extern "C" {
#else
#  define VELTRANO_STATIC_ASSERT(c, m) _Static_assert(c, m)
#endif

/* ---- Managed wide string and dynamic array --------------------------------
 * A VelStringa points at the first UTF-16 code unit of a string block; the 12
 * bytes before it hold code page (2 bytes), element size (2), reference count
 * (4, -1 for a constant) and length in code units (4). A null pointer is the
 * empty string. The characters are followed by a 0 code unit.
 *
 * A managed array variable points at its first element; the 8 bytes before it
 * hold reference count (4) and element count (4). A null pointer is the empty
 * array. Host and library allocate and free both through the functions below,
 * so the library may assign a host's string and resize a host's array.
 */
typedef uint16_t VelCar;
typedef VelCar* VelStringa;

/* A new string holding lunghezza code units of testo (reference count 1). */
VELTRANO_API VelStringa VELTRANO_STDCALL VeltranoStringaNuova(const VelCar* testo, int32_t lunghezza);
/* A new string from UTF-8 text (a null pointer gives the empty string). */
VELTRANO_API VelStringa VELTRANO_STDCALL VeltranoStringaDaUtf8(const char* testo);
/* Length in code units; 0 for the empty string. */
VELTRANO_API int32_t VELTRANO_STDCALL VeltranoStringaLunghezza(VelStringa s);
/* Drops one reference of *s (frees the block at zero; constants are never
 * freed) and sets *s to the empty string. */
VELTRANO_API void VELTRANO_STDCALL VeltranoStringaRilascia(VelStringa* s);

/* ---- Boundary records ---------------------------------------------------- */
#pragma pack(push, 1)

/* Hazard parameters of one limit state. */
typedef struct TGIS_ParZS {
    float ag;        /* peak ground acceleration on rock [g] */
    float Fo;        /* maximum spectral amplification [-] */
    float Tc_s;      /* Tc*, upper corner period of the constant-acceleration branch [s] */
    float Tr;        /* return period used [years], an integer value */
    uint8_t persi[100]; /* reserved: the computation writes zeros */
} TGIS_ParZS;

/* Everything a computation (or the site dialog) returns about a site. */
typedef struct TGIS_DatiOut {
    int32_t NumVert;        /* grid nodes used (0 to 4) */
    TGIS_ParZS SLV;         /* life safety */
    TGIS_ParZS SLC;         /* collapse prevention */
    TGIS_ParZS SLD;         /* damage */
    TGIS_ParZS SLO;         /* operational */
    float LonPunti[4];      /* node longitudes [deg ED50] */
    float LatPunti[4];      /* node latitudes [deg ED50] */
    float LonSito;          /* site longitude WGS84 (dialog) */
    float LatSito;          /* site latitude WGS84 (dialog) */
    uint8_t NomeLoc[26];    /* short string, at most 25 characters (dialog) */
    uint8_t TipoRic;        /* how the site was identified (dialog) */
    int32_t NumPunti[4];    /* node numbers used; 0 = empty slot */
    float LonSitoED50;      /* site longitude [deg ED50] */
    float LatSitoED50;      /* site latitude [deg ED50] */
    /* [node i][limit state j], j: 0 SLV, 1 SLC, 2 SLD, 3 SLO */
    float agPunti[16];      /* node ag [g/10] divided by 9.806 */
    float FoPunti[16];
    float Tc_sPunti[16];
    float alt;              /* site altitude (dialog) */
    float distCosta;        /* distance from the coast (dialog) */
    uint8_t ED50;           /* dialog's choice of datum */
    uint8_t nomeLoc_new[101]; /* short string, at most 100 characters (dialog) */
    uint8_t persi[674];     /* reserved */
} TGIS_DatiOut;

/* The grid nodes around a site at one tabulated return period. */
typedef struct TMagliaTR {
    int32_t VN;             /* nominal life (first record, dialog only) */
    uint8_t ClasseUso;      /* use class (first record, dialog only) */
    int32_t NumPunti[4];    /* node ID per slot; 0 = empty slot */
    int32_t NumVert;        /* slots holding a positive ID */
    float XYPunti[4][2];    /* node plane coordinates [km] */
    float XYSito[2];        /* site plane coordinates [km] (first record) */
    float LonPunti[4];      /* [deg ED50] */
    float LatPunti[4];
    float LonSitoRic;       /* site as searched [deg ED50] */
    float LatSitoRic;
    float agPunti[4];       /* [g/10] */
    float FoPunti[4];
    float Tc_sPunti[4];     /* [s] */
    uint8_t riservato[1000];
} TMagliaTR;

/* One municipality of the coordinate database. */
typedef struct TCoordComune {
    uint8_t Nome[256];      /* short string */
    float Lon;
    float Lat;
    uint8_t Reg[256];       /* short string: region */
    uint8_t Prov[256];      /* short string: province */
    float Alt;
    int32_t Id_sf_COM;      /* shape index in the municipalities layer */
    int32_t Id_sf_PROV;     /* shape index in the provinces layer */
    int32_t Id_sf_REG;      /* shape index in the regions layer */
} TCoordComune;

#pragma pack(pop)

/* Managed array of TCoordComune: a variable holding the first element's address. */
typedef TCoordComune* TCoordComuni;

/* Sets the length of the array *a to n (new elements zeroed, existing kept). */
VELTRANO_API void VELTRANO_STDCALL VeltranoComuniDimensiona(TCoordComuni* a, int32_t n);
/* Element count of a; 0 for the empty array. */
VELTRANO_API int32_t VELTRANO_STDCALL VeltranoComuniLunghezza(const TCoordComune* a);
/* Drops one reference of *a and sets it to the empty array. */
VELTRANO_API void VELTRANO_STDCALL VeltranoComuniRilascia(TCoordComuni* a);

#define VELTRANO_OFFSET(T, f, o) VELTRANO_STATIC_ASSERT(offsetof(T, f) == (o), #T "." #f " offset")
VELTRANO_STATIC_ASSERT(sizeof(TGIS_ParZS) == 116, "TGIS_ParZS size");
VELTRANO_OFFSET(TGIS_ParZS, ag, 0);
VELTRANO_OFFSET(TGIS_ParZS, Fo, 4);
VELTRANO_OFFSET(TGIS_ParZS, Tc_s, 8);
VELTRANO_OFFSET(TGIS_ParZS, Tr, 12);
VELTRANO_OFFSET(TGIS_ParZS, persi, 16);
VELTRANO_STATIC_ASSERT(sizeof(TGIS_DatiOut) == 1535, "TGIS_DatiOut size");
VELTRANO_OFFSET(TGIS_DatiOut, NumVert, 0);
VELTRANO_OFFSET(TGIS_DatiOut, SLV, 4);
VELTRANO_OFFSET(TGIS_DatiOut, SLC, 120);
VELTRANO_OFFSET(TGIS_DatiOut, SLD, 236);
VELTRANO_OFFSET(TGIS_DatiOut, SLO, 352);
VELTRANO_OFFSET(TGIS_DatiOut, LonPunti, 468);
VELTRANO_OFFSET(TGIS_DatiOut, LatPunti, 484);
VELTRANO_OFFSET(TGIS_DatiOut, LonSito, 500);
VELTRANO_OFFSET(TGIS_DatiOut, LatSito, 504);
VELTRANO_OFFSET(TGIS_DatiOut, NomeLoc, 508);
VELTRANO_OFFSET(TGIS_DatiOut, TipoRic, 534);
VELTRANO_OFFSET(TGIS_DatiOut, NumPunti, 535);
VELTRANO_OFFSET(TGIS_DatiOut, LonSitoED50, 551);
VELTRANO_OFFSET(TGIS_DatiOut, LatSitoED50, 555);
VELTRANO_OFFSET(TGIS_DatiOut, agPunti, 559);
VELTRANO_OFFSET(TGIS_DatiOut, FoPunti, 623);
VELTRANO_OFFSET(TGIS_DatiOut, Tc_sPunti, 687);
VELTRANO_OFFSET(TGIS_DatiOut, alt, 751);
VELTRANO_OFFSET(TGIS_DatiOut, distCosta, 755);
VELTRANO_OFFSET(TGIS_DatiOut, ED50, 759);
VELTRANO_OFFSET(TGIS_DatiOut, nomeLoc_new, 760);
VELTRANO_OFFSET(TGIS_DatiOut, persi, 861);
VELTRANO_STATIC_ASSERT(sizeof(TMagliaTR) == 1153, "TMagliaTR size");
VELTRANO_OFFSET(TMagliaTR, VN, 0);
VELTRANO_OFFSET(TMagliaTR, ClasseUso, 4);
VELTRANO_OFFSET(TMagliaTR, NumPunti, 5);
VELTRANO_OFFSET(TMagliaTR, NumVert, 21);
VELTRANO_OFFSET(TMagliaTR, XYPunti, 25);
VELTRANO_OFFSET(TMagliaTR, XYSito, 57);
VELTRANO_OFFSET(TMagliaTR, LonPunti, 65);
VELTRANO_OFFSET(TMagliaTR, LatPunti, 81);
VELTRANO_OFFSET(TMagliaTR, LonSitoRic, 97);
VELTRANO_OFFSET(TMagliaTR, LatSitoRic, 101);
VELTRANO_OFFSET(TMagliaTR, agPunti, 105);
VELTRANO_OFFSET(TMagliaTR, FoPunti, 121);
VELTRANO_OFFSET(TMagliaTR, Tc_sPunti, 137);
VELTRANO_OFFSET(TMagliaTR, riservato, 153);
VELTRANO_STATIC_ASSERT(sizeof(TCoordComune) == 792, "TCoordComune size");
VELTRANO_OFFSET(TCoordComune, Nome, 0);
VELTRANO_OFFSET(TCoordComune, Lon, 256);
VELTRANO_OFFSET(TCoordComune, Lat, 260);
VELTRANO_OFFSET(TCoordComune, Reg, 264);
VELTRANO_OFFSET(TCoordComune, Prov, 520);
VELTRANO_OFFSET(TCoordComune, Alt, 776);
VELTRANO_OFFSET(TCoordComune, Id_sf_COM, 780);
VELTRANO_OFFSET(TCoordComune, Id_sf_PROV, 784);
VELTRANO_OFFSET(TCoordComune, Id_sf_REG, 788);

/* Code editions (TNormativa, one byte). */
enum {
    Norm_OPCM3274 = 0,
    Norm_DM1996 = 1,
    Norm_DM2005 = 2,
    Norm_EC = 3,
    Norm_None = 4,
    Norm_DM2008 = 5,
    Norm_DM2018 = 6
};

/* ---- Exports ---------------------------------------------------------------
 * Lon and Lat are decimal degrees east and north on ED50 unless stated. */

/* Assigns the constant VELTRANO_VERSIONE ("8.0.0") to *versione, releasing its
 * previous value. */
VELTRANO_API void VELTRANO_REGISTER VeltranoVersione(VelStringa* versione);

/* Hazard of a site for nominal life VN [years] and use class ClasseUso (1..4;
 * other values in 0..255 count as class IV) under D.M. 2008. Writes NumVert,
 * SLV, SLC, SLD, SLO (ag in g), NumPunti, LonPunti, LatPunti, agPunti,
 * FoPunti, Tc_sPunti, LonSitoED50, LatSitoED50; every other byte of *DatiOut
 * keeps what the caller put there. Riservato is ignored.
 * Throws ErroreApertura/ErroreLettura (grid file), ErroreIntervallo (also for
 * Lon outside -180..180 or Lat outside -90..90, NaN included, and for a result
 * that is not a number). */
VELTRANO_API void VELTRANO_STDCALL CalcolaParametriSismici(float Lon, float Lat, int32_t VN,
                                                           int32_t ClasseUso, uint8_t Riservato,
                                                           TGIS_DatiOut* DatiOut);
/* As CalcolaParametriSismici for the code edition Normativa (see Norm_*).
 * ClasseUso outside 0..255 throws ErroreIntervallo. */
VELTRANO_API void VELTRANO_STDCALL CalcolaParametriSismici2(uint8_t Normativa, float Lon, float Lat,
                                                            int32_t VN, int32_t ClasseUso,
                                                            uint8_t Riservato, TGIS_DatiOut* DatiOut);
/* Return period [years] at which the site's ag equals PGA [g]: 0 for PGA <= 0,
 * 30 at or below the 30-year value, 2475 above the 2475-year value. Lon or
 * Lat out of range, or a PGA that is not finite, throws ErroreIntervallo. */
VELTRANO_API int32_t VELTRANO_STDCALL CalcolaTempoRitornoDaPGA(float Lon, float Lat, float PGA);
/* The four return periods [years] under D.M. 2008; reads no file. */
VELTRANO_API void VELTRANO_STDCALL CalcolaTempiRitorno(int32_t VN, uint8_t ClasseUso, int32_t* TR_SLV,
                                                       int32_t* TR_SLC, int32_t* TR_SLD, int32_t* TR_SLO);
VELTRANO_API void VELTRANO_STDCALL CalcolaTempiRitorno2(uint8_t Normativa, int32_t VN, uint8_t ClasseUso,
                                                        int32_t* TR_SLV, int32_t* TR_SLC,
                                                        int32_t* TR_SLD, int32_t* TR_SLO);
/* Municipality database in the folder Percorso (which must end with a path
 * separator: the file names are appended to it as they are).
 * Size: reads only CoorCom2.dat and stores its record count through N. */
VELTRANO_API void VELTRANO_STDCALL GIS_LeggeDatabaseCoorComSize(VelStringa Percorso, int32_t* N);
/* Reads CoorCom2.dat and CoorCom.dat into *Comuni. With Dimensiona the array
 * is first given the stored record count; without it the array's current
 * length decides how many records are read (more than stored throws). */
VELTRANO_API void VELTRANO_STDCALL GIS_LeggeDatabaseCoorCom(VelStringa Percorso, TCoordComuni* Comuni,
                                                            uint8_t Dimensiona);
/* Writes both files from *Comuni. Each file is written to a temporary file
 * first and renamed over the old one, so a failed save loses nothing. */
VELTRANO_API void VELTRANO_STDCALL GIS_SalvaDatabaseCoorCom(VelStringa Percorso, TCoordComuni* Comuni);
/* WGS84 longitude and latitude [deg] to ED50 (Molodensky, height 0). Lon
 * outside -180..180 or Lat outside -90..90 (NaN included), or a result that
 * is not finite, throws ErroreIntervallo. */
VELTRANO_API void VELTRANO_STDCALL ConvCoord_WGS84toED50(float Lon, float Lat, float* LonED50,
                                                         float* LatED50);

/* What a host hands the dialog as MainApp so that the dialog's help (its
 * "Help" button and F1) reaches the host's own help: Aiuto(Contesto, 0) is
 * called with help context 0 on the dialog's thread while the dialog is
 * open. With MainApp NULL, a record whose Firma is not
 * VELTRANO_FIRMA_OSPITE, or Aiuto NULL, the dialog says that its help is
 * available only from the veltrano program. Natural alignment, not packed. */
#define VELTRANO_FIRMA_OSPITE 0x4F53564Cu /* "LVSO" */
typedef struct TVeltranoOspite {
    uint32_t Firma;
    void* Contesto;
    void(VELTRANO_STDCALL* Aiuto)(void* Contesto, int32_t ContestoAiuto);
} TVeltranoOspite;

/* The site dialog. Call it from the host's GUI thread; it returns when the
 * user has closed the dialog. CategoriaVN (1..3), ClasseUso (1..4) and VN
 * [years] preset the building data, shown read-only; all three 0 open it
 * free (class II, 50 years, editable, one "CHIUDI" button). DatiOut holds
 * the previous site on entry (LonSito, LatSito WGS84, TipoRic, ED50, alt,
 * distCosta, NomeLoc, nomeLoc_new). When the user confirms, DatiOut receives
 * the chosen site and its hazard (TipoRic, nomeLoc_new, NumVert, the four
 * limit states with ag in g, NumPunti, LonPunti, LatPunti, LonSito, LatSito,
 * LonSitoED50, LatSitoED50, alt, distCosta, ED50), all at once after the
 * dialog has closed, and the map of the site's grid cell is written to
 * FileImmagine as a Windows bitmap (none when it is empty). When the user
 * cancels, only LonSitoED50 and LatSitoED50 change, and only if either was
 * 0 (they receive the ED50 conversion of LonSito, LatSito). MainApp is NULL
 * or the address of the host's TVeltranoOspite (below), which must stay
 * valid until the call returns; Riservato is not read.
 * Linux: the dialog is the Qt plugin libVeltrano_dialogo_qt.so, found
 * beside the library (a build folder) or in the veltrano folder next to it
 * (an installed library), loaded at the first call; a missing plugin, no screen or a
 * missing data file throws ErroreApertura. The host's Qt application is
 * used when it has one; otherwise one is created and kept.
 * Windows: a native window inside the library, owned by the host's active
 * window; the map data (CoorCom*.dat, Shape\) lies beside the library. */
VELTRANO_API void VELTRANO_STDCALL VisualizzaDialog(void* MainApp, int32_t CategoriaVN, uint8_t ClasseUso,
                                                    int32_t VN, uint32_t Riservato, VelStringa FileImmagine,
                                                    TGIS_DatiOut* DatiOut);

/* Text of the last failure of an export on this thread ("" if none); valid
 * until the next export call on the same thread. */
VELTRANO_API const char* VELTRANO_STDCALL VeltranoUltimoErrore(void);

/* Codes of the failures: the structured exception's code on Windows, and on
 * every platform the value of VeltranoUltimoCodice() (0 after a success).
 * Severity error with the customer bit set, so they never clash with the
 * system's own codes. */
#define VELTRANO_CODICE_APERTURA   0xE0564C01u /* ErroreApertura: data file missing or unopenable */
#define VELTRANO_CODICE_LETTURA    0xE0564C02u /* ErroreLettura: file short or damaged, or a write failed */
#define VELTRANO_CODICE_INTERVALLO 0xE0564C03u /* ErroreIntervallo: a value out of its range */
#define VELTRANO_CODICE_ARGOMENTO  0xE0564C04u /* ErroreArgomento: a null pointer */
#define VELTRANO_CODICE_ALTRO      0xE0564C05u /* anything else (out of memory) */

/* Code of the last failure of an export on this thread, 0 if none. */
VELTRANO_API uint32_t VELTRANO_STDCALL VeltranoUltimoCodice(void);

/* ---- Re-entrant C API -------------------------------------------------------
 * For programs that compute many sites, on many threads, in any language. No
 * process-wide state and no exceptions: every function returns one of the
 * VELTRANO_OK / VELTRANO_ERRORE_* codes and, on failure, writes a one-line
 * UTF-8 message into messaggio (at most dimensione bytes, always terminated;
 * messaggio may be NULL). The results are bit for bit those of the exports.
 *
 * A VeltranoGriglia is the grid file loaded once with its search index; it is
 * immutable and may be shared by any number of threads. A VeltranoCalcolatore
 * keeps the work that repeats between sites (return periods, node values) and
 * belongs to one thread at a time; make one per thread. */
typedef struct VeltranoGriglia VeltranoGriglia;
typedef struct VeltranoCalcolatore VeltranoCalcolatore;

enum {
    VELTRANO_OK = 0,
    VELTRANO_ERRORE_APERTURA = 1,   /* file missing or unopenable */
    VELTRANO_ERRORE_LETTURA = 2,    /* file shorter than the grid, or holding values that cannot be */
    VELTRANO_ERRORE_INTERVALLO = 3, /* a value out of its range (ClasseUso, a period beyond 32 bits,
                                       a coordinate out of range, a PGA or a
                                       result that is not a number) */
    VELTRANO_ERRORE_ARGOMENTO = 4,  /* a null pointer where one is required */
    VELTRANO_ERRORE_MEMORIA = 5,    /* out of memory */
    VELTRANO_ERRORE_ALTRO = 6
};

/* Loads the grid file (UTF-8 path) into *griglia; a NULL percorso loads the
 * GeoDati.dat of the exports (the library's own folder, or the installed data
 * folder). On failure *griglia is NULL. */
VELTRANO_API int VELTRANO_STDCALL VeltranoGrigliaApri(const char* percorso, VeltranoGriglia** griglia,
                                                      char* messaggio, size_t dimensione);
/* Frees a grid (NULL is allowed). Free its calculators first. */
VELTRANO_API void VELTRANO_STDCALL VeltranoGrigliaChiudi(VeltranoGriglia* griglia);
/* A calculator over griglia, which must outlive it. */
VELTRANO_API int VELTRANO_STDCALL VeltranoCalcolatoreNuovo(const VeltranoGriglia* griglia,
                                                           VeltranoCalcolatore** calcolatore,
                                                           char* messaggio, size_t dimensione);
VELTRANO_API void VELTRANO_STDCALL VeltranoCalcolatoreLibera(VeltranoCalcolatore* calcolatore);
/* As CalcolaParametriSismici2: writes the same fields of *out, leaves the rest.
 * On failure *out is unchanged. */
VELTRANO_API int VELTRANO_STDCALL VeltranoCalcolaSito(VeltranoCalcolatore* calcolatore, uint8_t Normativa,
                                                      float Lon, float Lat, int32_t VN, int32_t ClasseUso,
                                                      TGIS_DatiOut* out, char* messaggio, size_t dimensione);
/* As CalcolaTempoRitornoDaPGA (PGA in g): the period goes to *TR. */
VELTRANO_API int VELTRANO_STDCALL VeltranoTempoRitornoPGA(VeltranoCalcolatore* calcolatore, float Lon,
                                                          float Lat, float PGA, int32_t* TR,
                                                          char* messaggio, size_t dimensione);
/* Where VeltranoCalcolaSiti writes, one array per quantity (any pointer may
 * be NULL: that quantity is not wanted). Per site i, the limit states are at
 * [4i + j], j: 0 SLV, 1 SLC, 2 SLD, 3 SLO, as in the fields of TGIS_DatiOut;
 * the values are those of VeltranoCalcolaSito for the same site, bit for bit.
 * A site that failed gets NaN in ag, Fo, Tc_s and Tr, 0 in NumVert, NumPunti
 * and valido, and its code in codici. */
typedef struct VeltranoUscitaSiti {
    float* ag;          /* [4n] peak ground acceleration on rock [g] */
    float* Fo;          /* [4n] maximum spectral amplification [-] */
    float* Tc_s;        /* [4n] Tc* [s] */
    float* Tr;          /* [4n] return period [years], an integer value */
    int32_t* NumVert;   /* [n] grid nodes used (0 to 4) */
    int32_t* NumPunti;  /* [4n] node numbers as in TGIS_DatiOut.NumPunti; 0 = empty slot */
    uint8_t* valido;    /* [n] 1 when the site has a grid cell or an island's values,
                           0 for a site outside the grid (its numbers mean nothing) */
    int32_t* codici;    /* [n] VELTRANO_OK or the site's VELTRANO_ERRORE_* */
} VeltranoUscitaSiti;

/* Many ED50 sites in one call, on up to thread threads (0: one per core; the
 * calling thread is one of them). Site i is (Lon[i], Lat[i]) with nominal
 * life VN[i] and use class ClasseUso[i] under the code edition Normativa;
 * the four input arrays hold n values each (they may be NULL when n is 0).
 * Sites are independent: one that fails (ClasseUso outside 0..255, a return
 * period beyond 32 bits) does not stop the others. Returns VELTRANO_OK when
 * every site was computed, otherwise the code of the first site that failed,
 * with "sito i: ..." in messaggio. Thread-safe for a shared griglia. */
VELTRANO_API int VELTRANO_STDCALL VeltranoCalcolaSiti(const VeltranoGriglia* griglia, uint8_t Normativa,
                                                      size_t n, const float* Lon, const float* Lat,
                                                      const int32_t* VN, const int32_t* ClasseUso,
                                                      const VeltranoUscitaSiti* uscita, int thread,
                                                      char* messaggio, size_t dimensione);
/* A fixed Italian description of a code ("file mancante o non apribile", ...). */
VELTRANO_API const char* VELTRANO_STDCALL VeltranoDescrizioneCodice(int codice);

#ifdef __cplusplus
} /* extern "C" */

#include <stdexcept>
#include <string>

#if defined(_WIN32)
#  define VELTRANO_ECCEZIONE
#else
#  define VELTRANO_ECCEZIONE __attribute__((visibility("default")))
#endif

namespace veltrano {

/* Exception types thrown by the exports (and by the C++ engine). They are
 * defined here, inline, so that a host that loads the library at run time can
 * catch them by type. */
class VELTRANO_ECCEZIONE Errore : public std::runtime_error {
public:
    explicit Errore(const std::string& testo) : std::runtime_error(testo) {}
};
/* A data file is missing or cannot be opened. */
class VELTRANO_ECCEZIONE ErroreApertura : public Errore {
public:
    explicit ErroreApertura(const std::string& testo) : Errore(testo) {}
};
/* A data file is shorter than what must be read, or cannot be written. */
class VELTRANO_ECCEZIONE ErroreLettura : public Errore {
public:
    explicit ErroreLettura(const std::string& testo) : Errore(testo) {}
};
/* A value out of its range: an index, a byte argument, a return period that
 * does not fit in 32 bits. */
class VELTRANO_ECCEZIONE ErroreIntervallo : public Errore {
public:
    explicit ErroreIntervallo(const std::string& testo) : Errore(testo) {}
};

/* A null pointer where the export needs an address. */
class VELTRANO_ECCEZIONE ErroreArgomento : public Errore {
public:
    explicit ErroreArgomento(const std::string& testo) : Errore(testo) {}
};

} // namespace veltrano
#endif

#endif /* VELTRANO_VELTRANO_H */
