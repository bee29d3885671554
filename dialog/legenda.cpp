#include "dialog/legenda.h"

#include "map/mappa.h"

#include <charconv>

namespace veltrano::dialogo {

using mappa::RGBWin;

const std::array<uint32_t, 11> ColoriClassi{
    RGBWin(255, 255, 255), RGBWin(255, 255, 81), RGBWin(235, 170, 20), RGBWin(155, 255, 55),
    RGBWin(80, 183, 0),    RGBWin(0, 221, 221),  RGBWin(45, 45, 255),  RGBWin(255, 51, 255),
    RGBWin(185, 0, 185),   RGBWin(255, 117, 117), RGBWin(255, 15, 15)};

void EstremiAg(const Griglia& g, int k, float& min, float& max) {
    for (int n = 1; n <= NumNodi; ++n) {
        const float a = g.ag(k, n);
        if (a < min)
            min = a;
        if (a > max)
            max = a;
    }
}

std::array<float, 11> CalcolaRangeColori(float min, float max) {
    if (min == max)
        min = 0;
    std::array<float, 11> R{};
    R[0] = min;
    const float passo = (max - min) / 10;
    for (std::size_t j = 1; j <= 9; ++j)
        R[j] = R[j - 1] + passo;
    R[10] = max;
    return R;
}

int ClasseAg(const std::array<float, 11>& R, float ag) {
    for (std::size_t c = 1; c <= 10; ++c)
        if (R[c - 1] < ag && ag <= R[c])
            return static_cast<int>(c);
    return 0;
}

std::string Decimali(double x, int d) {
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::fixed, d);
    std::string s(buf, r.ptr);
    return s == "-0.000" ? "0.000" : s;
}

std::array<std::string, 11> EtichetteLegenda(const std::array<float, 11>& R) {
    std::array<std::string, 11> e;
    e[0] = Decimali(R[0] / 10.0, 3);
    for (std::size_t j = 1; j <= 10; ++j)
        e[j] = Decimali(R[j - 1] / 10.0, 3) + "-" + Decimali(R[j] / 10.0, 3);
    return e;
}

std::string EtichettaNodo(int32_t id, float agDecimiG) {
    return "ID: " + std::to_string(id) + "\r" + "Ag:" + Decimali(agDecimiG / 10.0, 3);
}

} // namespace veltrano::dialogo
