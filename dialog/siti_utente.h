// The user's own sites, CoorLocUtente.dat: named WGS84 points kept beside
// the library. Little-endian, no header:
//   256 bytes  NomeLoc (length byte + up to 255 Windows-1252 characters)
//   4          NumLoc, the sites in use (entries 0 .. NumLoc - 1)
//   4          n, then n names of 256 bytes each
//   4          m, then m longitudes (IEEE single)
//   4          k, then k latitudes (IEEE single)
// As the dialog writes it, n = m = k = NumLoc + 1: the last entry is a
// blank spare. Decoding checks every count against the bytes that follow
// before it reserves anything, so a damaged or hostile file is refused with
// the reason and never makes a giant allocation. Pure; thread-safe.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace veltrano::dialogo {

struct TCoordLocUt {
    std::vector<std::string> Nome; // Windows-1252, at most 255 bytes each
    std::vector<float> Lon, Lat;   // WGS84 [deg]
    int32_t NumLoc = 0;
    std::string NomeLoc; // the editor's name at the last store
};

/// The sites of the file's bytes. Throws veltrano::ErroreLettura, naming the
/// field, when the file is shorter than its counts say, a count is negative,
/// or NumLoc exceeds the entries stored.
TCoordLocUt DecodificaLocUtente(std::span<const uint8_t> dati);
/// The bytes of the file (each name cut to 255 bytes).
std::vector<uint8_t> CodificaLocUtente(const TCoordLocUt& c);

/// Entry for coverage-guided fuzzing: decodes the bytes and, when they are
/// accepted, checks that encoding and decoding again gives the same sites
/// (aborts if not). Always returns 0.
int ProvaLocUtente(const uint8_t* dati, std::size_t dimensione);

} // namespace veltrano::dialogo
