// The display options record TOpzVis and its file Opzioni.dat: line widths,
// colours, label fonts, grid point size and style, and the return period
// shown on the grid, kept from one opening of the dialog to the next.
// 304 bytes, packed, little-endian; colours 0x00BBGGRR; font names are short
// strings of at most 50 Windows-1252 characters.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

namespace veltrano::dialogo {

#pragma pack(push, 1)
struct TOpzVis {
    int32_t SpessB_Reg;
    uint32_t ColB_Reg;
    uint32_t ColR_Reg;
    uint8_t NameCar_Reg[51];
    int32_t SizeCar_Reg;
    uint32_t ColCar_Reg;
    int32_t SpessB_Prov;
    uint32_t ColB_Prov;
    uint32_t ColR_Prov;
    uint8_t NameCar_Prov[51];
    int32_t SizeCar_Prov;
    uint32_t ColCar_Prov;
    int32_t SpessB_Com;
    uint32_t ColB_Com;
    uint32_t ColR_Com;
    uint8_t NameCar_Com[51];
    int32_t SizeCar_Com;
    uint32_t ColCar_Com;
    int32_t DimPunti;
    int32_t StilePunti;  // point type of the grid layer, 0..6
    int32_t indImmPunti; // picture of that style in the picker
    int32_t indTempoR;   // 0 = "30 anni" ... 8 = "2475 anni"
    uint8_t NameCar[51];
    int32_t SizeCar;
    int32_t SpessB_LF;
    uint32_t ColB_LF;
    uint32_t ColR_LF;
    int32_t Spess_Stra;
    uint32_t Col_Stra;
};
#pragma pack(pop)

static_assert(sizeof(TOpzVis) == 304, "TOpzVis size");
static_assert(offsetof(TOpzVis, ColB_Reg) == 4 && offsetof(TOpzVis, ColR_Reg) == 8);
static_assert(offsetof(TOpzVis, NameCar_Reg) == 12 && offsetof(TOpzVis, SizeCar_Reg) == 63);
static_assert(offsetof(TOpzVis, ColCar_Reg) == 67 && offsetof(TOpzVis, SpessB_Prov) == 71);
static_assert(offsetof(TOpzVis, ColB_Prov) == 75 && offsetof(TOpzVis, ColR_Prov) == 79);
static_assert(offsetof(TOpzVis, NameCar_Prov) == 83 && offsetof(TOpzVis, SizeCar_Prov) == 134);
static_assert(offsetof(TOpzVis, ColCar_Prov) == 138 && offsetof(TOpzVis, SpessB_Com) == 142);
static_assert(offsetof(TOpzVis, ColB_Com) == 146 && offsetof(TOpzVis, ColR_Com) == 150);
static_assert(offsetof(TOpzVis, NameCar_Com) == 154 && offsetof(TOpzVis, SizeCar_Com) == 205);
static_assert(offsetof(TOpzVis, ColCar_Com) == 209 && offsetof(TOpzVis, DimPunti) == 213);
static_assert(offsetof(TOpzVis, StilePunti) == 217 && offsetof(TOpzVis, indImmPunti) == 221);
static_assert(offsetof(TOpzVis, indTempoR) == 225 && offsetof(TOpzVis, NameCar) == 229);
static_assert(offsetof(TOpzVis, SizeCar) == 280 && offsetof(TOpzVis, SpessB_LF) == 284);
static_assert(offsetof(TOpzVis, ColB_LF) == 288 && offsetof(TOpzVis, ColR_LF) == 292);
static_assert(offsetof(TOpzVis, Spess_Stra) == 296 && offsetof(TOpzVis, Col_Stra) == 300);

/// The defaults: widths 2, black borders, cream fills, navy "Times New Roman"
/// 8 labels, grid points 5 px squares at 475 years, cyan lakes and rivers,
/// maroon roads.
TOpzVis OpzioniPredefinite();

/// The options in the first 304 bytes of an Opzioni.dat image. Fewer
/// bytes give the defaults: a cut file would leave fields half read. A field
/// that no dialog writes (a width or point size outside 1..10, a point style
/// or picture outside 0..6, a return period outside 0..8, a font size
/// outside 1..500, a colour with its top byte set, a font name longer than
/// 50) takes its default, so that a damaged file never reaches the map with
/// an impossible value; the other fields keep the user's choices. Qt-free.
TOpzVis DecodificaOpzioni(const std::byte* dati, std::size_t n);

/// The options in the file at percorso (DecodificaOpzioni of its bytes). A
/// missing or unreadable file gives the defaults. Extra bytes after the
/// record are ignored.
TOpzVis CaricaOpzioni(const std::filesystem::path& percorso);

/// Writes the 304 bytes of o to a temporary file and renames it over
/// percorso, so a failed save leaves the previous file as it was. Throws
/// veltrano::ErroreApertura or ErroreLettura (with the reason) when the file
/// cannot be written.
void SalvaOpzioni(const std::filesystem::path& percorso, const TOpzVis& o);

/// The font name of a short-string field, as UTF-8.
std::string NomeCarattere(const uint8_t (&campo)[51]);
/// Stores a UTF-8 font name, cut to 50 characters.
void ImpostaNomeCarattere(uint8_t (&campo)[51], const std::string& utf8);

} // namespace veltrano::dialogo
