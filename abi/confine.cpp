#include "abi/confine.h"

namespace veltrano::abi {

std::string& UltimoErrore() {
    thread_local std::string testo;
    return testo;
}

uint32_t& UltimoCodice() {
    thread_local uint32_t codice = 0;
    return codice;
}

uint32_t CodiceDi(const std::exception& e) {
    if (dynamic_cast<const ErroreApertura*>(&e))
        return VELTRANO_CODICE_APERTURA;
    if (dynamic_cast<const ErroreLettura*>(&e))
        return VELTRANO_CODICE_LETTURA;
    if (dynamic_cast<const ErroreIntervallo*>(&e))
        return VELTRANO_CODICE_INTERVALLO;
    if (dynamic_cast<const ErroreArgomento*>(&e))
        return VELTRANO_CODICE_ARGOMENTO;
    return VELTRANO_CODICE_ALTRO;
}

void Registra(const char* nome, const char* testo, uint32_t codice) noexcept {
    UltimoCodice() = codice;
    try {
        UltimoErrore().assign(nome).append(": ").append(testo);
    } catch (...) {
        UltimoErrore().clear(); // out of memory: the code alone must do
    }
}

} // namespace veltrano::abi
