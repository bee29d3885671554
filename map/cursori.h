// The nine mouse cursors of the library, drawn here so that both front ends
// carry the same pictures: the build writes them as Windows cursor files
// (.cur), which the Win32 library holds as cursor resources and the Qt front
// end as Qt resources. Three sets of the same nine: "16b_" (16 x 16, black
// and white), "32b_" (32 x 32, black and white, the one loaded) and "32c_"
// (32 x 32, in colour). Each front end loads one set once per process as
// screen cursors 1 to 9; its map shows them for the zoom, pan and measuring
// tools. Pure; thread-safe.
#pragma once

#include "map/pittore.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace veltrano::mappa {

/// Screen cursor numbers.
enum TCursoreSchermo {
    CursoreLenteIng = 1, // magnifying glass
    CursoreManoAperta,   // open hand
    CursoreCroceNorm,    // cross
    CursoreCroceMark,    // cross with mark
    CursoreSpostaNorm,   // move
    CursoreSpostaMark,   // move with mark
    CursoreZoomPiuMeno,  // zoom plus/minus
    CursorePennello,     // brush
    CursorePennelloMark, // brush with mark
};
inline constexpr int NumCursori = 9;

/// Resource names after the set's prefix, cursor 1 first.
inline constexpr std::array<const char*, NumCursori> NomiCursori{
    "LenteIng.cur",   "ManoAperta.cur", "CroceNorm.cur", "CroceMark.cur",   "SpostaNorm.cur",
    "SpostaMark.cur", "Zoom_p_m.cur",   "Pennello.cur",  "PennelloMark.cur"};
inline constexpr std::array<const char*, 3> PrefissiCursori{"16b_", "32b_", "32c_"};

/// The set the library loads: "32b".
std::string InsiemeCursori();
/// The prefix of a set's names: "32c_" for "32c", "32b_" for "32b", "16b_"
/// for any other name.
std::string PrefissoCursori(const std::string& insieme);
/// The full resource name of cursor n (1..9) of a set: "32b_LenteIng.cur".
std::string NomeRisorsaCursore(const std::string& prefisso, int numero);

struct TCursore {
    TImmagine immagine; // 0xAARRGGBB; alpha 0 (clear) or 255
    int xCaldo = 0, yCaldo = 0; // the hot spot [px from the top-left corner]
};

/// The picture of cursor n (1..9) for the set of that prefix. Throws
/// ErroreIntervallo for another number or prefix.
TCursore DisegnaCursore(int numero, const std::string& prefisso);

/// The bytes of a Windows cursor file holding c: 1 bit a pixel when c is
/// black, white and clear only, else 32 bits with alpha; an AND mask in
/// either case. Sides up to 256 pixels.
std::vector<uint8_t> CodificaCur(const TCursore& c);
/// The first image of a cursor file (1 or 32 bits a pixel, no PNG). Throws
/// ErroreLettura naming nome when the bytes are not such a file.
TCursore DecodificaCur(std::span<const uint8_t> dati, const std::string& nome);

} // namespace veltrano::mappa
