// The re-entrant C API: handles over the C++ API, codes and caller-owned
// messages instead of exceptions. Each function has exactly one catch site.
#include "abi/confine.h"
#include "abi/lotto_c.h"
#include "abi/stato.h"
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

} // namespace

std::pair<int, std::string> veltrano::abi::CodiceC(std::exception_ptr e) {
    try {
        std::rethrow_exception(e);
    } catch (const veltrano::ErroreApertura& x) {
        return {VELTRANO_ERRORE_APERTURA, x.what()};
    } catch (const veltrano::ErroreLettura& x) {
        return {VELTRANO_ERRORE_LETTURA, x.what()};
    } catch (const veltrano::ErroreIntervallo& x) {
        return {VELTRANO_ERRORE_INTERVALLO, x.what()};
    } catch (const veltrano::ErroreArgomento& x) {
        return {VELTRANO_ERRORE_ARGOMENTO, x.what()};
    } catch (const std::bad_alloc&) {
        return {VELTRANO_ERRORE_MEMORIA, "memoria esaurita"};
    } catch (const std::exception& x) {
        return {VELTRANO_ERRORE_ALTRO, x.what()};
    } catch (...) {
        return {VELTRANO_ERRORE_ALTRO, "errore sconosciuto"};
    }
}

namespace {

template <class F> int Protetto(const char* nome, char* messaggio, std::size_t dimensione, F&& corpo) {
    int codice = VELTRANO_ERRORE_ALTRO;
    try {
#ifdef _WIN32
        const veltrano::abi::PrecisioneEstesa precisione;
#endif
        corpo();
        Scrivi(messaggio, dimensione, "");
        return VELTRANO_OK;
    } catch (...) {
        try {
            auto [c, testo] = veltrano::abi::CodiceC(std::current_exception());
            codice = c;
            Scrivi(messaggio, dimensione, std::string(nome) + ": " + testo);
        } catch (...) {
            Scrivi(messaggio, dimensione, nome);
        }
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
        const std::filesystem::path file =
            percorso ? std::filesystem::path(std::u8string(reinterpret_cast<const char8_t*>(percorso)))
                     : veltrano::abi::PercorsoDati() / "GeoDati.dat";
        g = new VeltranoGriglia{veltrano::GrigliaSismica(file)};
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

VELTRANO_API int VELTRANO_STDCALL VeltranoCalcolaSiti(const VeltranoGriglia* griglia, uint8_t Normativa,
                                                      size_t n, const float* Lon, const float* Lat,
                                                      const int32_t* VN, const int32_t* ClasseUso,
                                                      const VeltranoUscitaSiti* uscita, int thread,
                                                      char* messaggio, size_t dimensione) {
    veltrano::abi::FallimentoSito f;
    const int codice = Protetto("VeltranoCalcolaSiti", messaggio, dimensione, [&] {
        const veltrano::GrigliaSismica& g = Richiesto(griglia, "griglia").griglia;
        const VeltranoUscitaSiti& u = Richiesto(uscita, "uscita");
        if (n > 0) {
            Richiesto(Lon, "Lon");
            Richiesto(Lat, "Lat");
            Richiesto(VN, "VN");
            Richiesto(ClasseUso, "ClasseUso");
        }
        if (thread < 0)
            throw veltrano::ErroreIntervallo("thread: " + std::to_string(thread) + " è negativo");
        f = veltrano::abi::CalcolaSitiC(g, {Normativa, n, Lon, Lat, VN, ClasseUso}, u, thread);
    });
    if (codice != VELTRANO_OK || f.codice == VELTRANO_OK)
        return codice;
    try {
        Scrivi(messaggio, dimensione, "VeltranoCalcolaSiti: sito " + std::to_string(f.indice) + ": " + f.testo);
    } catch (...) {
        Scrivi(messaggio, dimensione, "VeltranoCalcolaSiti");
    }
    return f.codice;
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
