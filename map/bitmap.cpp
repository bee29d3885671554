#include "map/bitmap.h"

#include "map/file.h"

namespace veltrano::mappa {

namespace {

void LE16(std::vector<uint8_t>& b, std::size_t pos, uint32_t v) {
    b[pos] = static_cast<uint8_t>(v);
    b[pos + 1] = static_cast<uint8_t>(v >> 8);
}
void LE32(std::vector<uint8_t>& b, std::size_t pos, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[pos + static_cast<std::size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
}

} // namespace

std::vector<uint8_t> CodificaBitmap(const TImmagine& im) {
    const bool vuota = im.Vuota() ||
                       im.pixel.size() < static_cast<std::size_t>(im.larghezza) * static_cast<std::size_t>(im.altezza);
    const uint32_t w = vuota ? 1 : static_cast<uint32_t>(im.larghezza);
    const uint32_t h = vuota ? 1 : static_cast<uint32_t>(im.altezza);
    const uint32_t riga = (w * 3 + 3) / 4 * 4;
    const uint32_t dati = riga * h, totale = 54 + dati;
    std::vector<uint8_t> b(totale, 0);
    b[0] = 'B';
    b[1] = 'M';
    LE32(b, 2, totale);
    LE32(b, 10, 54);   // offset of the pixels
    LE32(b, 14, 40);   // BITMAPINFOHEADER
    LE32(b, 18, w);
    LE32(b, 22, h);    // positive: bottom-up rows
    LE16(b, 26, 1);    // planes
    LE16(b, 28, 24);   // bits per pixel
    LE32(b, 34, dati);
    LE32(b, 38, 3780); // 96 dpi in pixels per metre
    LE32(b, 42, 3780);
    for (uint32_t y = 0; y < h; ++y) {
        uint8_t* r = b.data() + 54 + static_cast<std::size_t>(h - 1 - y) * riga;
        for (uint32_t x = 0; x < w; ++x) {
            const uint32_t v = vuota ? 0xFFFFFFFFu : im.pixel[static_cast<std::size_t>(y) * w + x];
            r[3 * x] = static_cast<uint8_t>(v);           // blue
            r[3 * x + 1] = static_cast<uint8_t>(v >> 8);  // green
            r[3 * x + 2] = static_cast<uint8_t>(v >> 16); // red
        }
    }
    return b;
}

void SalvaBitmap(const std::filesystem::path& percorso, const TImmagine& immagine) {
    ScriviFileSicuro(percorso, CodificaBitmap(immagine));
}

} // namespace veltrano::mappa
