// Opzioni.dat on disk: read whole and decoded field by field
// (opzioni_valori.cpp), written through a temporary file.
#include "dialog/opzioni.h"

#include "map/file.h"
#include "veltrano/veltrano.h"

namespace veltrano::dialogo {

TOpzVis CaricaOpzioni(const std::filesystem::path& percorso) {
    std::optional<std::vector<uint8_t>> b;
    try {
        b = mappa::LeggiFile(percorso);
    } catch (const Errore&) {
        return OpzioniPredefinite();
    }
    if (!b)
        return OpzioniPredefinite();
    return DecodificaOpzioni(reinterpret_cast<const std::byte*>(b->data()), b->size());
}

void SalvaOpzioni(const std::filesystem::path& percorso, const TOpzVis& o) {
    const auto* p = reinterpret_cast<const uint8_t*>(&o);
    mappa::ScriviFileSicuro(percorso, {p, sizeof o});
}

} // namespace veltrano::dialogo
