#include "map/amministrativi.h"

namespace veltrano::mappa {

std::optional<std::string> RegioneElenco(std::string_view nome) {
    for (const char* r : ElencoRegioni)
        if (nome == r)
            return std::string(r);
    const auto barra = nome.find('/');
    if (barra != std::string_view::npos) {
        const std::string_view italiano = nome.substr(0, barra);
        for (const char* r : ElencoRegioni)
            if (italiano == r)
                return std::string(r);
    }
    return std::nullopt;
}

} // namespace veltrano::mappa
