// The values of the display options: the defaults, the decoding of a file's
// bytes and the font names. No toolkit here: the fuzz target of the options
// file builds this file alone.
#include "dialog/opzioni.h"

#include "map/testo1252.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace veltrano::dialogo {

static_assert(std::endian::native == std::endian::little, "Opzioni.dat is little-endian");

namespace {

// 0x00BBGGRR, as the map control takes its colours.
constexpr uint32_t Colore(int r, int g, int b) {
    return static_cast<uint32_t>(r) | (static_cast<uint32_t>(g) << 8) | (static_cast<uint32_t>(b) << 16);
}

void Intero(int32_t& v, int32_t predefinito, int32_t basso, int32_t alto) {
    if (!(v >= basso && v <= alto))
        v = predefinito;
}

void ColoreValido(uint32_t& v, uint32_t predefinito) {
    if (v > 0x00FFFFFFu)
        v = predefinito;
}

void NomeValido(uint8_t (&v)[51], const uint8_t (&predefinito)[51]) {
    if (v[0] > 50)
        std::memcpy(v, predefinito, sizeof v);
}

} // namespace

TOpzVis OpzioniPredefinite() {
    TOpzVis o;
    std::memset(&o, 0, sizeof o);
    const uint32_t crema = Colore(241, 236, 205), blu = Colore(0, 0, 128), ciano = Colore(0, 255, 255);
    o.SpessB_Reg = o.SpessB_Prov = o.SpessB_Com = 2;
    o.ColB_Reg = o.ColB_Prov = o.ColB_Com = 0;
    o.ColR_Reg = o.ColR_Prov = o.ColR_Com = crema;
    ImpostaNomeCarattere(o.NameCar_Reg, "Times New Roman");
    ImpostaNomeCarattere(o.NameCar_Prov, "Times New Roman");
    ImpostaNomeCarattere(o.NameCar_Com, "Times New Roman");
    ImpostaNomeCarattere(o.NameCar, "Times New Roman");
    o.SizeCar_Reg = o.SizeCar_Prov = o.SizeCar_Com = o.SizeCar = 8;
    o.ColCar_Reg = o.ColCar_Prov = o.ColCar_Com = blu;
    o.DimPunti = 5;
    o.StilePunti = 0;
    o.indImmPunti = 0;
    o.indTempoR = 6;
    o.SpessB_LF = 1;
    o.ColB_LF = o.ColR_LF = ciano;
    o.Spess_Stra = 1;
    o.Col_Stra = Colore(128, 0, 0);
    return o;
}

TOpzVis DecodificaOpzioni(const std::byte* dati, std::size_t n) {
    const TOpzVis p = OpzioniPredefinite();
    if (!dati || n < sizeof(TOpzVis))
        return p;
    TOpzVis o;
    std::memcpy(&o, dati, sizeof o);
    // The packed record's fields are copied out and back: no reference may
    // bind to a misaligned member.
    auto intero = [](int32_t campo, int32_t predefinito, int32_t basso, int32_t alto) {
        Intero(campo, predefinito, basso, alto);
        return campo;
    };
    auto colore = [](uint32_t campo, uint32_t predefinito) {
        ColoreValido(campo, predefinito);
        return campo;
    };
    o.SpessB_Reg = intero(o.SpessB_Reg, p.SpessB_Reg, 1, 10);
    o.SpessB_Prov = intero(o.SpessB_Prov, p.SpessB_Prov, 1, 10);
    o.SpessB_Com = intero(o.SpessB_Com, p.SpessB_Com, 1, 10);
    o.SpessB_LF = intero(o.SpessB_LF, p.SpessB_LF, 1, 10);
    o.Spess_Stra = intero(o.Spess_Stra, p.Spess_Stra, 1, 10);
    o.DimPunti = intero(o.DimPunti, p.DimPunti, 1, 10);
    o.StilePunti = intero(o.StilePunti, p.StilePunti, 0, 6);
    o.indImmPunti = intero(o.indImmPunti, p.indImmPunti, 0, 6);
    o.indTempoR = intero(o.indTempoR, p.indTempoR, 0, 8);
    o.SizeCar_Reg = intero(o.SizeCar_Reg, p.SizeCar_Reg, 1, 500);
    o.SizeCar_Prov = intero(o.SizeCar_Prov, p.SizeCar_Prov, 1, 500);
    o.SizeCar_Com = intero(o.SizeCar_Com, p.SizeCar_Com, 1, 500);
    o.SizeCar = intero(o.SizeCar, p.SizeCar, 1, 500);
    o.ColB_Reg = colore(o.ColB_Reg, p.ColB_Reg);
    o.ColR_Reg = colore(o.ColR_Reg, p.ColR_Reg);
    o.ColCar_Reg = colore(o.ColCar_Reg, p.ColCar_Reg);
    o.ColB_Prov = colore(o.ColB_Prov, p.ColB_Prov);
    o.ColR_Prov = colore(o.ColR_Prov, p.ColR_Prov);
    o.ColCar_Prov = colore(o.ColCar_Prov, p.ColCar_Prov);
    o.ColB_Com = colore(o.ColB_Com, p.ColB_Com);
    o.ColR_Com = colore(o.ColR_Com, p.ColR_Com);
    o.ColCar_Com = colore(o.ColCar_Com, p.ColCar_Com);
    o.ColB_LF = colore(o.ColB_LF, p.ColB_LF);
    o.ColR_LF = colore(o.ColR_LF, p.ColR_LF);
    o.Col_Stra = colore(o.Col_Stra, p.Col_Stra);
    NomeValido(o.NameCar_Reg, p.NameCar_Reg);
    NomeValido(o.NameCar_Prov, p.NameCar_Prov);
    NomeValido(o.NameCar_Com, p.NameCar_Com);
    NomeValido(o.NameCar, p.NameCar);
    return o;
}

std::string NomeCarattere(const uint8_t (&campo)[51]) {
    const std::size_t n = std::min<std::size_t>(campo[0], 50);
    return mappa::Da1252AUtf8(std::string_view(reinterpret_cast<const char*>(campo + 1), n));
}

void ImpostaNomeCarattere(uint8_t (&campo)[51], const std::string& utf8) {
    mappa::AStringaCorta(mappa::Utf8A1252(utf8), campo, 50);
}

} // namespace veltrano::dialogo
