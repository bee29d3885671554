// Fuzz target of the options file Opzioni.dat: whatever the bytes, the
// decoded options hold only values the dialog can use, decoding them again
// changes nothing, and the font names convert.
#include "dialog/opzioni.h"

#include <cstdlib>
#include <cstring>

using namespace veltrano::dialogo;

namespace {

void Controlla(bool condizione) {
    if (!condizione)
        std::abort();
}

bool Tra(int32_t v, int32_t basso, int32_t alto) { return v >= basso && v <= alto; }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* d, size_t n) {
    const TOpzVis o = DecodificaOpzioni(reinterpret_cast<const std::byte*>(d), n);
    for (const int32_t v : {o.SpessB_Reg, o.SpessB_Prov, o.SpessB_Com, o.SpessB_LF, o.Spess_Stra, o.DimPunti})
        Controlla(Tra(v, 1, 10));
    Controlla(Tra(o.StilePunti, 0, 6) && Tra(o.indImmPunti, 0, 6) && Tra(o.indTempoR, 0, 8));
    for (const int32_t v : {o.SizeCar_Reg, o.SizeCar_Prov, o.SizeCar_Com, o.SizeCar})
        Controlla(Tra(v, 1, 500));
    for (const uint32_t c : {o.ColB_Reg, o.ColR_Reg, o.ColCar_Reg, o.ColB_Prov, o.ColR_Prov, o.ColCar_Prov, o.ColB_Com,
                             o.ColR_Com, o.ColCar_Com, o.ColB_LF, o.ColR_LF, o.Col_Stra})
        Controlla(c <= 0x00FFFFFFu);
    for (const auto* nome : {&o.NameCar_Reg, &o.NameCar_Prov, &o.NameCar_Com, &o.NameCar}) {
        Controlla((*nome)[0] <= 50);
        TOpzVis copia = o;
        ImpostaNomeCarattere(copia.NameCar, NomeCarattere(*nome)); // UTF-8 and back
        Controlla(copia.NameCar[0] <= 50);
    }
    const TOpzVis ancora = DecodificaOpzioni(reinterpret_cast<const std::byte*>(&o), sizeof o);
    Controlla(std::memcmp(&ancora, &o, sizeof o) == 0);
    return 0;
}
