#include "dialog/siti_utente.h"

#include "veltrano/veltrano.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace veltrano::dialogo {

namespace {

constexpr std::size_t DimNome = 256;

class Lettore {
public:
    explicit Lettore(std::span<const uint8_t> d) : d_(d) {}
    std::size_t Resto() const { return d_.size() - pos_; }
    void Serve(std::size_t n, const char* cosa) const {
        if (n > Resto())
            throw ErroreLettura(std::string("CoorLocUtente.dat: file troppo corto per ") + cosa);
    }
    int32_t Intero(const char* cosa) {
        Serve(4, cosa);
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i)
            v |= static_cast<uint32_t>(d_[pos_ + static_cast<std::size_t>(i)]) << (8 * i);
        pos_ += 4;
        return static_cast<int32_t>(v);
    }
    std::string Nome() {
        Serve(DimNome, "un nome");
        const std::size_t n = d_[pos_];
        std::string s(reinterpret_cast<const char*>(d_.data() + pos_ + 1), n);
        pos_ += DimNome;
        return s;
    }
    float Reale() {
        const uint32_t v = static_cast<uint32_t>(Intero("una coordinata"));
        float f;
        std::memcpy(&f, &v, 4);
        return f;
    }
    // A count followed by n items of dim bytes: checked against what is left.
    std::size_t Conteggio(const char* cosa, std::size_t dim) {
        const int32_t n = Intero(cosa);
        if (n < 0)
            throw ErroreLettura(std::string("CoorLocUtente.dat: ") + cosa + " negativo (" + std::to_string(n) + ")");
        if (static_cast<std::size_t>(n) > Resto() / dim)
            throw ErroreLettura(std::string("CoorLocUtente.dat: ") + cosa + " (" + std::to_string(n) +
                                ") oltre la fine del file");
        return static_cast<std::size_t>(n);
    }

private:
    std::span<const uint8_t> d_;
    std::size_t pos_ = 0;
};

void ScriviIntero(std::vector<uint8_t>& b, int32_t v) {
    const uint32_t u = static_cast<uint32_t>(v);
    for (int i = 0; i < 4; ++i)
        b.push_back(static_cast<uint8_t>(u >> (8 * i)));
}

void ScriviNome(std::vector<uint8_t>& b, const std::string& s) {
    const std::size_t n = std::min<std::size_t>(s.size(), 255);
    b.push_back(static_cast<uint8_t>(n));
    b.insert(b.end(), s.begin(), s.begin() + static_cast<std::ptrdiff_t>(n));
    b.insert(b.end(), DimNome - 1 - n, 0);
}

void ScriviReali(std::vector<uint8_t>& b, const std::vector<float>& v) {
    ScriviIntero(b, static_cast<int32_t>(v.size()));
    for (float f : v) {
        uint32_t u;
        std::memcpy(&u, &f, 4);
        ScriviIntero(b, static_cast<int32_t>(u));
    }
}

} // namespace

TCoordLocUt DecodificaLocUtente(std::span<const uint8_t> dati) {
    Lettore l(dati);
    TCoordLocUt c;
    c.NomeLoc = l.Nome();
    c.NumLoc = l.Intero("NumLoc");
    const std::size_t n = l.Conteggio("il numero dei nomi", DimNome);
    c.Nome.reserve(n);
    for (std::size_t i = 0; i < n; ++i)
        c.Nome.push_back(l.Nome());
    for (std::vector<float>* v : {&c.Lon, &c.Lat}) {
        const std::size_t m = l.Conteggio(v == &c.Lon ? "il numero delle longitudini" : "il numero delle latitudini", 4);
        v->reserve(m);
        for (std::size_t i = 0; i < m; ++i)
            v->push_back(l.Reale());
    }
    if (c.NumLoc < 0)
        throw ErroreLettura("CoorLocUtente.dat: NumLoc negativo (" + std::to_string(c.NumLoc) + ")");
    const std::size_t usati = static_cast<std::size_t>(c.NumLoc);
    if (usati > c.Nome.size() || usati > c.Lon.size() || usati > c.Lat.size())
        throw ErroreLettura("CoorLocUtente.dat: NumLoc (" + std::to_string(c.NumLoc) +
                            ") oltre le località memorizzate");
    return c;
}

std::vector<uint8_t> CodificaLocUtente(const TCoordLocUt& c) {
    std::vector<uint8_t> b;
    b.reserve(DimNome + 16 + DimNome * c.Nome.size() + 4 * (c.Lon.size() + c.Lat.size()));
    ScriviNome(b, c.NomeLoc);
    ScriviIntero(b, c.NumLoc);
    ScriviIntero(b, static_cast<int32_t>(c.Nome.size()));
    for (const std::string& s : c.Nome)
        ScriviNome(b, s);
    ScriviReali(b, c.Lon);
    ScriviReali(b, c.Lat);
    return b;
}

int ProvaLocUtente(const uint8_t* dati, std::size_t dimensione) {
    TCoordLocUt c;
    try {
        c = DecodificaLocUtente({dati, dimensione});
    } catch (const ErroreLettura&) {
        return 0;
    }
    const std::vector<uint8_t> b = CodificaLocUtente(c);
    const TCoordLocUt d = DecodificaLocUtente(b);
    // Bit patterns, so that NaN coordinates compare equal to themselves.
    auto stessi = [](const std::vector<float>& u, const std::vector<float>& v) {
        return u.size() == v.size() && std::equal(u.begin(), u.end(), v.begin(), [](float x, float y) {
                   uint32_t bx, by;
                   std::memcpy(&bx, &x, 4);
                   std::memcpy(&by, &y, 4);
                   return bx == by;
               });
    };
    const bool uguali = d.NomeLoc == c.NomeLoc && d.NumLoc == c.NumLoc && d.Nome == c.Nome && stessi(d.Lon, c.Lon) &&
                        stessi(d.Lat, c.Lat);
    if (!uguali)
        std::abort();
    return 0;
}

} // namespace veltrano::dialogo
