// The one place where failures cross the boundary. Every export runs its
// body through Confine: the text and code are kept, per thread, for
// VeltranoUltimoErrore and VeltranoUltimoCodice; on Linux the exception goes
// on to the host unchanged, on Windows it becomes a structured exception.
#pragma once

#include "veltrano/veltrano.h"

#include <cstdint>
#include <cstdlib>
#include <string>

#ifdef _WIN32
#  define WIN32_LEAN_AND_MEAN
#  ifndef NOMINMAX
#    define NOMINMAX
#  endif
#  include <windows.h>
#endif

namespace veltrano::abi {

/// Text and code of the last failure on this thread.
std::string& UltimoErrore();
uint32_t& UltimoCodice();

uint32_t CodiceDi(const std::exception& e);
void Registra(const char* nome, const char* testo, uint32_t codice) noexcept;

#ifdef _WIN32
// A host built with another compiler may run the x87 unit at 53-bit
// precision; the engine's long double arithmetic needs all 64 bits.
class PrecisioneEstesa {
public:
    PrecisioneEstesa() {
        __asm__ volatile("fnstcw %0" : "=m"(host_));
        const uint16_t cw = host_ | 0x0300;
        __asm__ volatile("fldcw %0" : : "m"(cw) : "memory");
    }
    ~PrecisioneEstesa() { __asm__ volatile("fldcw %0" : : "m"(host_) : "memory"); }
    PrecisioneEstesa(const PrecisioneEstesa&) = delete;
    PrecisioneEstesa& operator=(const PrecisioneEstesa&) = delete;

private:
    uint16_t host_;
};
#endif

template <class F> auto Confine(const char* nome, F&& corpo) -> decltype(corpo()) {
    UltimoErrore().clear();
    UltimoCodice() = 0;
#ifdef _WIN32
    // A Windows host need not be C++: no C++ exception may leave. The
    // structured exception is raised after the handler has ended, so nothing
    // of ours is left half unwound when the host jumps out of it.
    try {
        const PrecisioneEstesa precisione;
        return corpo();
    } catch (const std::exception& e) {
        Registra(nome, e.what(), CodiceDi(e));
    } catch (...) {
        Registra(nome, "errore sconosciuto", VELTRANO_CODICE_ALTRO);
    }
    const ULONG_PTR testo = reinterpret_cast<ULONG_PTR>(UltimoErrore().c_str());
    RaiseException(UltimoCodice(), EXCEPTION_NONCONTINUABLE, 1, &testo);
    std::abort(); // not reached: the exception cannot be continued
#else
    try {
        return corpo();
    } catch (const std::exception& e) {
        Registra(nome, e.what(), CodiceDi(e));
        throw;
    } catch (...) {
        Registra(nome, "errore sconosciuto", VELTRANO_CODICE_ALTRO);
        throw;
    }
#endif
}

template <class T> T* NonNullo(T* p, const char* nome) {
    if (!p)
        throw ErroreArgomento(std::string(nome) + " è un puntatore nullo");
    return p;
}

} // namespace veltrano::abi
