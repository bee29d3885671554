#include "outputs/stampa.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace veltrano::uscite {

using mappa::TCarattere;
using mappa::TPittore;
using mappa::TRettangoloPx;

namespace {
constexpr mappa::TColore Nero = mappa::RGBWin(0, 0, 0);

// Whole UTF-8 characters: the length of the first n bytes' last whole character.
std::size_t TagliaUtf8(const std::string& s, std::size_t n) {
    n = std::min(n, s.size());
    while (n > 0 && n < s.size() && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80)
        --n;
    return n;
}

double LarghezzaRiga(TPittore& p, const std::string& riga, const TCarattere& c) {
    const auto pezzi = PezziRiga(p, riga, c);
    return pezzi.empty() ? 0 : pezzi.back().x + p.MisuraTesto(pezzi.back().testo, c).larghezza;
}
} // namespace

TCarattere CarattereRapporto() { return {"Courier New", 8, true, false}; }

std::vector<TPezzoRiga> PezziRiga(TPittore& p, const std::string& riga, const TCarattere& c) {
    std::vector<TPezzoRiga> r;
    double x = 0;
    std::size_t inizio = 0;
    for (;;) {
        const std::size_t tab = riga.find('\t', inizio);
        const std::string pezzo = riga.substr(inizio, tab == std::string::npos ? std::string::npos : tab - inizio);
        r.push_back({pezzo, x});
        if (tab == std::string::npos)
            break;
        x += p.MisuraTesto(pezzo, c).larghezza;
        // The next stop strictly past the text, as a tab always moves on.
        x = (std::floor(x / PassoTabulazione + 1e-9) + 1) * PassoTabulazione;
        inizio = tab + 1;
    }
    return r;
}

std::vector<std::string> RigheStampa(TPittore& p, const std::vector<std::string>& righe, const TCarattere& c,
                                     double larghezza) {
    std::vector<std::string> r;
    for (const std::string& riga : righe) {
        std::string resto = riga;
        while (LarghezzaRiga(p, resto, c) > larghezza) {
            // The longest head that fits, in whole characters.
            std::size_t n = 0;
            for (std::size_t k = 1; k <= resto.size(); ++k) {
                const std::size_t t = TagliaUtf8(resto, k);
                if (t == n)
                    continue;
                if (LarghezzaRiga(p, resto.substr(0, t), c) > larghezza)
                    break;
                n = t;
            }
            if (n == 0) { // not even one character fits: one a line
                n = 1;
                while (n < resto.size() && (static_cast<unsigned char>(resto[n]) & 0xC0) == 0x80)
                    ++n;
            }
            const std::size_t spazio = resto.rfind(' ', n);
            std::size_t taglio = spazio != std::string::npos && spazio > 0 && n < resto.size() ? spazio : n;
            r.push_back(resto.substr(0, taglio));
            while (taglio < resto.size() && resto[taglio] == ' ')
                ++taglio;
            resto = resto.substr(taglio);
            if (resto.empty())
                break;
        }
        if (!resto.empty() || riga.empty())
            r.push_back(resto);
    }
    return r;
}

TDocumento DocumentoRapporto(std::vector<std::string> righe, std::string titolo) {
    TDocumento d;
    d.titolo = std::move(titolo);
    // The lines as laid out on the first page's device, kept for the next ones.
    auto stampate = std::make_shared<std::vector<std::string>>();
    auto prossima = std::make_shared<std::size_t>(0);
    d.disegna = [righe = std::move(righe), stampate, prossima](TPittore& p, const TRettangoloPx& area,
                                                                   int pagina) {
        const TCarattere c = CarattereRapporto();
        if (pagina == 0) {
            *stampate = RigheStampa(p, righe, c, area.larghezza);
            *prossima = 0;
        }
        const mappa::TMetricaTesto m = p.MisuraTesto("Ag", c);
        double y = area.y + m.ascesa;
        std::size_t i = *prossima;
        // At least one line a page, however small the page.
        for (bool prima = true; i < stampate->size() && (prima || y + m.altezza - m.ascesa <= area.Basso());
             ++i, prima = false) {
            for (const TPezzoRiga& pz : PezziRiga(p, (*stampate)[i], c))
                if (!pz.testo.empty())
                    p.Testo({area.x + pz.x, y}, pz.testo, c, Nero);
            y += m.altezza;
        }
        *prossima = i;
        return i < stampate->size();
    };
    return d;
}

TRettangoloPx RettangoloCartina(int larghezza, int altezza, const TRettangoloPx& area) {
    if (larghezza <= 0 || altezza <= 0)
        return {area.x, area.y, 0, 0};
    const double k = std::min(area.larghezza / larghezza, area.altezza / altezza);
    const double w = larghezza * k, h = altezza * k;
    return {area.x + (area.larghezza - w) / 2, area.y, w, h};
}

TDocumento DocumentoCartina(mappa::TImmagine immagine, std::string titolo) {
    TDocumento d;
    d.titolo = std::move(titolo);
    d.orizzontale = immagine.larghezza > immagine.altezza;
    d.disegna = [im = std::move(immagine)](TPittore& p, const TRettangoloPx& area, int) {
        const TRettangoloPx r = RettangoloCartina(im.larghezza, im.altezza, area);
        if (r.larghezza > 0 && r.altezza > 0)
            p.Immagine(r, im);
        return false;
    };
    return d;
}

} // namespace veltrano::uscite
