#include "map/testo1252.h"

#include <algorithm>
#include <cstring>

namespace veltrano::mappa {

namespace {

// 0x80..0x9F of Windows-1252; 0 marks the five unassigned bytes.
constexpr char32_t Alti[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                               0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                               0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                               0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

unsigned char Byte1252(char32_t c) {
    if (c < 0x100)
        return static_cast<unsigned char>(c); // U+0080..U+009F pass through on purpose
    for (int i = 0; i < 32; ++i)
        if (Alti[i] == c)
            return static_cast<unsigned char>(0x80 + i);
    return '?';
}

unsigned char Maiuscola(unsigned char c) {
    if (c >= 'a' && c <= 'z')
        return static_cast<unsigned char>(c - 32);
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
        return static_cast<unsigned char>(c - 32);
    switch (c) {
    case 0x9A: return 0x8A; // š
    case 0x9C: return 0x8C; // œ
    case 0x9E: return 0x8E; // ž
    case 0xFF: return 0x9F; // ÿ
    default: return c;
    }
}

} // namespace

char32_t CodiceCarattere1252(unsigned char c) {
    if (c >= 0x80 && c < 0xA0 && Alti[c - 0x80] != 0)
        return Alti[c - 0x80];
    return c;
}

std::string Utf8A1252(std::string_view s) {
    std::string r;
    r.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        const unsigned char b = static_cast<unsigned char>(s[i]);
        char32_t c;
        int n;
        if (b < 0x80) { c = b; n = 1; }
        else if ((b >> 5) == 6) { c = b & 0x1F; n = 2; }
        else if ((b >> 4) == 14) { c = b & 0x0F; n = 3; }
        else if ((b >> 3) == 30) { c = b & 0x07; n = 4; }
        else { r += '?'; ++i; continue; }
        if (i + static_cast<std::size_t>(n) > s.size()) { r += '?'; break; }
        for (int k = 1; k < n; ++k)
            c = (c << 6) | (static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]) & 0x3F);
        i += static_cast<std::size_t>(n);
        r += static_cast<char>(Byte1252(c));
    }
    return r;
}

std::string Da1252AUtf8(std::string_view s) {
    std::string r;
    r.reserve(s.size() + s.size() / 4);
    for (const char ch : s) {
        const char32_t c = CodiceCarattere1252(static_cast<unsigned char>(ch));
        if (c < 0x80) {
            r += static_cast<char>(c);
        } else if (c < 0x800) {
            r += static_cast<char>(0xC0 | (c >> 6));
            r += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            r += static_cast<char>(0xE0 | (c >> 12));
            r += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            r += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return r;
}

std::string MaiuscoloAZ(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 32);
    return r;
}

std::string Maiuscolo1252(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        c = static_cast<char>(Maiuscola(static_cast<unsigned char>(c)));
    return r;
}

bool UgualeIgnorandoAZ(std::string_view a, std::string_view b) { return MaiuscoloAZ(a) == MaiuscoloAZ(b); }

bool UgualeIgnorando1252(std::string_view a, std::string_view b) {
    return Maiuscolo1252(a) == Maiuscolo1252(b);
}

std::string DaStringaCorta(const uint8_t* im) { return std::string(reinterpret_cast<const char*>(im + 1), im[0]); }

void AStringaCorta(std::string_view testo, uint8_t* im, std::size_t capacita) {
    const std::size_t n = std::min(testo.size(), capacita);
    std::memset(im, 0, capacita + 1);
    im[0] = static_cast<uint8_t>(n);
    std::memcpy(im + 1, testo.data(), n);
}

} // namespace veltrano::mappa
