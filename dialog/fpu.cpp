#include "dialog/fpu.h"

namespace veltrano::dialogo {

uint16_t LeggiParolaControllo() {
#if defined(__i386__) || defined(__x86_64__)
    uint16_t cw = 0;
    __asm__ volatile("fnstcw %0" : "=m"(cw));
    return cw;
#else
    return 0;
#endif
}

void ImpostaParolaControllo(uint16_t cw) {
#if defined(__i386__) || defined(__x86_64__)
    __asm__ volatile("fldcw %0" : : "m"(cw));
#else
    (void)cw;
#endif
}

TControlloFPU::TControlloFPU() : Old8087CW_(LeggiParolaControllo()) {
    std::fegetenv(&ambiente_);
    ImpostaParolaControllo(ParolaControlloDialogo);
}

TControlloFPU::~TControlloFPU() {
    std::fesetenv(&ambiente_);
    ImpostaParolaControllo(Old8087CW_);
}

} // namespace veltrano::dialogo
