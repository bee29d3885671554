#include "geo/comuni.h"

#include <bit>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace veltrano {

static_assert(std::endian::native == std::endian::little, "the database files are little-endian");

namespace {

namespace fs = std::filesystem;

fs::path File(const std::u16string& prefisso, const char16_t* nome) { return fs::path(prefisso + nome); }

std::string Nome(const fs::path& p) { return p.string(); }

std::vector<char> LeggiTutto(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    if (!f)
        throw ErroreApertura(Nome(p) + ": impossibile aprire il file");
    std::vector<char> dati((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    if (f.bad())
        throw ErroreLettura(Nome(p) + ": errore di lettura");
    return dati;
}

int32_t Intero(const std::vector<char>& d, std::size_t off) {
    int32_t v;
    std::memcpy(&v, d.data() + off, 4);
    return v;
}

float Reale(const std::vector<char>& d, std::size_t off) {
    float v;
    std::memcpy(&v, d.data() + off, 4);
    return v;
}

// The stored count, checked against the size of CoorCom2.dat.
std::size_t ContaControllata(const std::vector<char>& d2, const fs::path& p2) {
    if (d2.size() < 8)
        throw ErroreLettura(Nome(p2) + ": " + std::to_string(d2.size()) +
                            " byte, l'intestazione ne richiede 8");
    const int32_t n = Intero(d2, 4);
    if (n < 0)
        throw ErroreLettura(Nome(p2) + ": numero di comuni negativo (" + std::to_string(n) + ")");
    const std::size_t serve = 8 + 12 * static_cast<std::size_t>(n);
    if (d2.size() < serve)
        throw ErroreLettura(Nome(p2) + ": " + std::to_string(d2.size()) + " byte, " +
                            std::to_string(n) + " comuni ne richiedono " + std::to_string(serve));
    return static_cast<std::size_t>(n);
}

} // namespace

int32_t LeggiNumeroComuni(const std::u16string& prefisso) {
    const fs::path p2 = File(prefisso, u"CoorCom2.dat");
    std::ifstream f(p2, std::ios::binary);
    if (!f)
        throw ErroreApertura(Nome(p2) + ": impossibile aprire il file");
    char h[8];
    f.read(h, 8);
    if (f.gcount() != 8)
        throw ErroreLettura(Nome(p2) + ": file troppo corto per l'intestazione");
    int32_t n;
    std::memcpy(&n, h + 4, 4);
    return n;
}

std::vector<TCoordComune> LeggiComuni(const std::u16string& prefisso, std::optional<std::size_t> quanti) {
    const fs::path p2 = File(prefisso, u"CoorCom2.dat");
    const fs::path p1 = File(prefisso, u"CoorCom.dat");
    const std::vector<char> d2 = LeggiTutto(p2);
    const std::size_t n = ContaControllata(d2, p2);
    const std::size_t q = quanti.value_or(n);
    if (q > n)
        throw ErroreLettura(Nome(p2) + ": richiesti " + std::to_string(q) + " comuni, ne sono memorizzati " +
                            std::to_string(n));
    const std::vector<char> d1 = LeggiTutto(p1);
    if (d1.size() < 780 * n)
        throw ErroreLettura(Nome(p1) + ": " + std::to_string(d1.size()) + " byte, " + std::to_string(n) +
                            " comuni ne richiedono " + std::to_string(780 * n));
    std::vector<TCoordComune> r(q);
    // Each column holds all n stored records: a shorter array still reads
    // every column from its own start.
    const std::size_t cNome = 0, cLon = 256 * n, cLat = cLon + 4 * n, cReg = cLat + 4 * n,
                      cProv = cReg + 256 * n, cAlt = cProv + 256 * n;
    for (std::size_t i = 0; i < q; ++i) {
        TCoordComune& c = r[i];
        c.Id_sf_COM = Intero(d2, 8 + 12 * i);
        c.Id_sf_PROV = Intero(d2, 12 + 12 * i);
        c.Id_sf_REG = Intero(d2, 16 + 12 * i);
        std::memcpy(c.Nome, d1.data() + cNome + 256 * i, 256);
        c.Lon = Reale(d1, cLon + 4 * i);
        c.Lat = Reale(d1, cLat + 4 * i);
        std::memcpy(c.Reg, d1.data() + cReg + 256 * i, 256);
        std::memcpy(c.Prov, d1.data() + cProv + 256 * i, 256);
        c.Alt = Reale(d1, cAlt + 4 * i);
    }
    return r;
}

namespace {

void Scrivi(std::ofstream& f, const void* p, std::size_t n) { f.write(static_cast<const char*>(p), static_cast<std::streamsize>(n)); }

void ScriviTemporaneo(const fs::path& tmp, const std::vector<char>& dati) {
    std::ofstream f(tmp, std::ios::binary | std::ios::trunc);
    if (!f)
        throw ErroreApertura(Nome(tmp) + ": impossibile creare il file");
    Scrivi(f, dati.data(), dati.size());
    f.close();
    if (!f) {
        std::error_code ec;
        fs::remove(tmp, ec);
        throw ErroreLettura(Nome(tmp) + ": errore di scrittura");
    }
}

} // namespace

void SalvaComuni(const std::u16string& prefisso, std::span<const TCoordComune> comuni) {
    const std::size_t n = comuni.size();
    if (n > 0x7fffffff)
        throw ErroreIntervallo("troppi comuni da salvare");
    std::vector<char> d2(8 + 12 * n), d1(780 * n);
    const int32_t marcatore = 1, conta = static_cast<int32_t>(n);
    std::memcpy(d2.data(), &marcatore, 4);
    std::memcpy(d2.data() + 4, &conta, 4);
    const std::size_t cLon = 256 * n, cLat = cLon + 4 * n, cReg = cLat + 4 * n, cProv = cReg + 256 * n,
                      cAlt = cProv + 256 * n;
    for (std::size_t i = 0; i < n; ++i) {
        const TCoordComune& c = comuni[i];
        const int32_t id[3] = {c.Id_sf_COM, c.Id_sf_PROV, c.Id_sf_REG};
        std::memcpy(d2.data() + 8 + 12 * i, id, 12);
        std::memcpy(d1.data() + 256 * i, c.Nome, 256);
        const float lon = c.Lon, lat = c.Lat, alt = c.Alt;
        std::memcpy(d1.data() + cLon + 4 * i, &lon, 4);
        std::memcpy(d1.data() + cLat + 4 * i, &lat, 4);
        std::memcpy(d1.data() + cReg + 256 * i, c.Reg, 256);
        std::memcpy(d1.data() + cProv + 256 * i, c.Prov, 256);
        std::memcpy(d1.data() + cAlt + 4 * i, &alt, 4);
    }
    const fs::path p2 = File(prefisso, u"CoorCom2.dat"), p1 = File(prefisso, u"CoorCom.dat");
    const fs::path t2 = File(prefisso, u"CoorCom2.dat.tmp"), t1 = File(prefisso, u"CoorCom.dat.tmp");
    ScriviTemporaneo(t2, d2);
    try {
        ScriviTemporaneo(t1, d1);
    } catch (...) {
        std::error_code ec;
        fs::remove(t2, ec);
        throw;
    }
    std::error_code ec;
    fs::rename(t1, p1, ec);
    if (!ec)
        fs::rename(t2, p2, ec);
    if (ec) {
        std::error_code ec2;
        fs::remove(t1, ec2);
        fs::remove(t2, ec2);
        throw ErroreApertura(Nome(p1) + ": impossibile sostituire il file (" + ec.message() + ")");
    }
}

} // namespace veltrano
