// Windows-1252 short strings: the single-byte code page of the shapefile
// tables, the municipality database and the options file.
// Pure; thread-safe.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace veltrano::mappa {

/// UTF-8 to Windows-1252. Code points U+0080..U+009F become the byte of the
/// same value: sources that decoded Windows-1252 as Latin-1 stored "ž" as
/// U+009E, and this gives the byte back. Characters outside the code page
/// become '?'.
std::string Utf8A1252(std::string_view utf8);
/// Windows-1252 to UTF-8 (the five unassigned bytes map to U+0081 etc.).
std::string Da1252AUtf8(std::string_view testo);
/// Unicode code point of a Windows-1252 byte.
char32_t CodiceCarattere1252(unsigned char c);

/// Upper case of the letters a..z only; every other byte stays as it is.
std::string MaiuscoloAZ(std::string_view testo);
/// Upper case of every Windows-1252 letter that has one (à -> À, é -> É,
/// ž -> Ž, ÿ -> Ÿ); used for the region names of the region shapes.
std::string Maiuscolo1252(std::string_view testo);

/// a and b equal once their letters a..z are upper-cased.
bool UgualeIgnorandoAZ(std::string_view a, std::string_view b);
/// a and b equal once upper-cased with Maiuscolo1252.
bool UgualeIgnorando1252(std::string_view a, std::string_view b);

/// The text of a short string image (length byte first).
std::string DaStringaCorta(const uint8_t* immagine);
/// Writes testo as a short string of at most capacita characters into an
/// image of capacita + 1 bytes; longer texts are cut. Bytes after the text
/// are zeroed.
void AStringaCorta(std::string_view testo, uint8_t* immagine, std::size_t capacita);

} // namespace veltrano::mappa
