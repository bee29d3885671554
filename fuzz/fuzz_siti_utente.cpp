// Fuzz target of the user's sites file CoorLocUtente.dat: any bytes are
// either refused with ErroreLettura or decoded into sites that encode and
// decode again unchanged (ProvaLocUtente aborts otherwise).
#include "dialog/siti_utente.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* d, size_t n) {
    return veltrano::dialogo::ProvaLocUtente(d, n);
}
