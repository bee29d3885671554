#include "map/legenda.h"

#include "map/mappa.h"
#include "map/shapefile.h"

#include <algorithm>
#include <charconv>
#include <vector>

namespace veltrano::mappa {

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

std::array<float, 11> ColoraGriglia(TMappa& m, int layer, const Griglia& g, int k, const TCarattere& carattere) {
    k = std::clamp(k, 0, NumBlocchi - 1);
    float min = 0, max = 0;
    EstremiAg(g, k, min, max);
    const std::array<float, 11> R = CalcolaRangeColori(min, max);
    m.CancellaEtichette(layer);
    m.ImpostaFontLayer(layer, carattere);
    const TShapefile* sf = m.Shapefile(layer);
    std::vector<int> classe(static_cast<std::size_t>(NumNodi) + 1);
    for (int n = 1; n <= NumNodi; ++n)
        classe[static_cast<std::size_t>(n)] = ClasseAg(R, g.ag(k, n));
    // Class by class, as the labels were always added: the labels of the
    // higher classes come later and give way where they would overlap.
    for (int c = 1; c <= 10; ++c)
        for (int n = 1; n <= NumNodi; ++n) {
            if (classe[static_cast<std::size_t>(n)] != c)
                continue;
            const TColore colore = ColoriClassi[static_cast<std::size_t>(c)];
            m.ImpostaColoreShape(layer, n - 1, colore);
            if (sf && n - 1 < sf->NumShape()) {
                const TEstensione& e = sf->Shape(n - 1).estensione;
                m.AggiungiEtichetta(layer, EtichettaNodo(g.ID(k, n), g.ag(k, n)), colore, e.xMin, e.yMin, 1);
            }
        }
    return R;
}

} // namespace veltrano::mappa
