// The re-entrant C API: handles over the C++ API, codes and caller-owned
// messages instead of exceptions. Each function has exactly one catch site.
#include "abi/confine.h"
#include "core/api.h"

#include <cstring>
#include <new>
#include <string>

struct VeltranoGriglia {
    veltrano::GrigliaSismica griglia;
};
struct VeltranoCalcolatore {
    veltrano::CalcolatoreSismico calcolatore;
};

namespace {

void Scrivi(char* messaggio, std::size_t dimensione, const std::string& testo) {
    if (!messaggio || dimensione == 0)
        return;
    const std::size_t n = std::min(testo.size(), dimensione - 1);
    std::memcpy(messaggio, testo.data(), n);
    messaggio[n] = '\0';
}

template <class F> int Protetto(const char* nome, char* messaggio, std::size_t dimensione, F&& corpo) {
    int codice = VELTRANO_ERRORE_ALTRO;
    std::string testo;
    try {
#ifdef _WIN32
        const veltrano::abi::PrecisioneEstesa precisione;
#endif
        corpo();
        Scrivi(messaggio, dimensione, "");
        return VELTRANO_OK;
    } catch (const veltrano::ErroreApertura& e) {
        codice = VELTRANO_ERRORE_APERTURA;
        testo = e.what();
    } catch (const veltrano::ErroreLettura& e) {
        codice = VELTRANO_ERRORE_LETTURA;
        testo = e.what();
    } catch (const veltrano::ErroreIntervallo& e) {
        codice = VELTRANO_ERRORE_INTERVALLO;
        testo = e.what();
    } catch (const veltrano::ErroreArgomento& e) {
        codice = VELTRANO_ERRORE_ARGOMENTO;
        testo = e.what();
    } catch (const std::bad_alloc&) {
        codice = VELTRANO_ERRORE_MEMORIA;
        testo = "memoria esaurita";
    } catch (const std::exception& e) {
        testo = e.what();
    } catch (...) {
        testo = "errore sconosciuto";
    }
    try {
        Scrivi(messaggio, dimensione, std::string(nome) + ": " + testo);
    } catch (...) {
        Scrivi(messaggio, dimensione, nome);
    }
    return codice;
}

template <class T> T& Richiesto(T* p, const char* nome) {
    if (!p)
        throw veltrano::ErroreArgomento(std::string(nome) + " è un puntatore nullo");
    return *p;
}

} // namespace

extern "C" {

VELTRANO_API int VELTRANO_STDCALL VeltranoGrigliaApri(const char* percorso, VeltranoGriglia** griglia,
                                                      char* messaggio, size_t dimensione) {
    return Protetto("VeltranoGrigliaApri", messaggio, dimensione, [&] {
        VeltranoGriglia*& g = Richiesto(griglia, "griglia");
        g = nullptr;
        const char* p = &Richiesto(percorso, "percorso");
        const std::u8string u(reinterpret_cast<const char8_t*>(p));
        g = new VeltranoGriglia{veltrano::GrigliaSismica(std::filesystem::path(u))};
    });
}

VELTRANO_API void VELTRANO_STDCALL VeltranoGrigliaChiudi(VeltranoGriglia* griglia) { delete griglia; }

VELTRANO_API int VELTRANO_STDCALL VeltranoCalcolatoreNuovo(const VeltranoGriglia* griglia,
                                                           VeltranoCalcolatore** calcolatore,
                                                           char* messaggio, size_t dimensione) {
    return Protetto("VeltranoCalcolatoreNuovo", messaggio, dimensione, [&] {
        VeltranoCalcolatore*& c = Richiesto(calcolatore, "calcolatore");
        c = nullptr;
        c = new VeltranoCalcolatore{veltrano::CalcolatoreSismico(Richiesto(griglia, "griglia").griglia)};
    });
}

VELTRANO_API void VELTRANO_STDCALL VeltranoCalcolatoreLibera(VeltranoCalcolatore* calcolatore) {
    delete calcolatore;
}

VELTRANO_API int VELTRANO_STDCALL VeltranoCalcolaSito(VeltranoCalcolatore* calcolatore, uint8_t Normativa,
                                                      float Lon, float Lat, int32_t VN, int32_t ClasseUso,
                                                      TGIS_DatiOut* out, char* messaggio, size_t dimensione) {
    return Protetto("VeltranoCalcolaSito", messaggio, dimensione, [&] {
        TGIS_DatiOut& o = Richiesto(out, "out");
        TGIS_DatiOut r = o; // on failure the caller's record stays as it was
        Richiesto(calcolatore, "calcolatore").calcolatore.Calcola(Normativa, Lon, Lat, VN, ClasseUso, r);
        o = r;
    });
}

VELTRANO_API int VELTRANO_STDCALL VeltranoTempoRitornoPGA(VeltranoCalcolatore* calcolatore, float Lon,
                                                          float Lat, float PGA, int32_t* TR,
                                                          char* messaggio, size_t dimensione) {
    return Protetto("VeltranoTempoRitornoPGA", messaggio, dimensione, [&] {
        int32_t& t = Richiesto(TR, "TR");
        t = Richiesto(calcolatore, "calcolatore").calcolatore.TempoRitornoDaPGA(Lon, Lat, PGA);
    });
}

VELTRANO_API const char* VELTRANO_STDCALL VeltranoDescrizioneCodice(int codice) {
    switch (codice) {
    case VELTRANO_OK: return "nessun errore";
    case VELTRANO_ERRORE_APERTURA: return "file mancante o non apribile";
    case VELTRANO_ERRORE_LETTURA: return "file troppo corto";
    case VELTRANO_ERRORE_INTERVALLO: return "valore fuori intervallo";
    case VELTRANO_ERRORE_ARGOMENTO: return "puntatore nullo";
    case VELTRANO_ERRORE_MEMORIA: return "memoria esaurita";
    case VELTRANO_ERRORE_ALTRO: return "errore interno";
    default: return "codice sconosciuto";
    }
}

} // extern "C"
