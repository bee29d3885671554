#include "dialog/elenchi.h"

#include "map/testo1252.h"

#include <algorithm>

namespace veltrano::dialogo {

using mappa::MaiuscoloAZ;
using mappa::UgualeIgnorandoAZ;

std::string TestoCampo(const uint8_t (&campo)[256]) { return mappa::DaStringaCorta(campo); }

std::vector<std::string> ElencoProvince(std::span<const TCoordComune> comuni, const std::string& sReg,
                                        int numShapeProvince) {
    std::vector<char> incontrata(static_cast<std::size_t>(std::max(0, numShapeProvince)), 0);
    std::vector<std::string> r;
    for (const TCoordComune& c : comuni) {
        const int32_t id = c.Id_sf_PROV;
        if (id < 0 || id >= numShapeProvince || incontrata[static_cast<std::size_t>(id)])
            continue;
        if (!sReg.empty() && !UgualeIgnorandoAZ(TestoCampo(c.Reg), sReg))
            continue;
        incontrata[static_cast<std::size_t>(id)] = 1;
        r.push_back(TestoCampo(c.Prov));
    }
    std::stable_sort(r.begin(), r.end(),
                     [](const std::string& a, const std::string& b) { return MaiuscoloAZ(a) < MaiuscoloAZ(b); });
    return r;
}

ElencoComuni ElencaComuni(std::span<const TCoordComune> comuni, const std::string& sReg, const std::string& sProv) {
    ElencoComuni r;
    for (std::size_t i = 0; i < comuni.size(); ++i) {
        const TCoordComune& c = comuni[i];
        if ((sReg.empty() || UgualeIgnorandoAZ(TestoCampo(c.Reg), sReg)) &&
            (sProv.empty() || UgualeIgnorandoAZ(TestoCampo(c.Prov), sProv))) {
            r.nomi.push_back(TestoCampo(c.Nome));
            r.indici.push_back(static_cast<int>(i));
        }
    }
    return r;
}

} // namespace veltrano::dialogo
