#include "core/tempi_ritorno.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace veltrano {

long double CoefficienteUso(uint8_t ClasseUso) {
    switch (ClasseUso) {
    case 1: return 0.7L;
    case 2: return 1.0L;
    case 3: return 1.5L;
    default: return 2.0L;
    }
}

TempiRitorno CalcolaTR(uint8_t Normativa, int32_t VN, uint8_t ClasseUso) {
    float VR = S(static_cast<long double>(VN) * CoefficienteUso(ClasseUso));
    if (Normativa == Norm_DM2008)
        VR = std::max(35.0f, VR);
    // 1 - PVR for SLV, SLC, SLD, SLO.
    constexpr long double nonSuperamento[4] = {0.90L, 0.95L, 0.37L, 0.19L};
    TempiRitorno tr{};
    for (std::size_t j = 0; j < 4; ++j) {
        const int32_t t = ArrotondaIntero(-static_cast<long double>(VR) / std::log(nonSuperamento[j]),
                                          "tempo di ritorno");
        tr[j] = std::min(std::max(t, 30), 2475);
    }
    return tr;
}

uint8_t ClasseUsoByte(int32_t ClasseUso) {
    if (!(ClasseUso >= 0 && ClasseUso <= 255))
        throw ErroreIntervallo("ClasseUso fuori intervallo (0..255): " + std::to_string(ClasseUso));
    return static_cast<uint8_t>(ClasseUso);
}

} // namespace veltrano
