#include "geo/comuni.h"

#include "core/file_dati.h"

#include <bit>
#include <cmath>
#include <cstdint>
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

// The whole file, whose size must be what atteso(first 8 bytes) says: the
// size is checked before the bulk is read, so a huge file costs nothing.
template <class Atteso> std::vector<char> LeggiControllato(const fs::path& p, Atteso&& atteso) {
    std::ifstream f = ApriFileDati(p);
    std::error_code ec;
    const std::uintmax_t dim = fs::file_size(p, ec);
    if (ec)
        throw ErroreApertura(Nome(p) + ": dimensione ignota (" + ec.message() + ")");
    std::string testa = LeggiFileDati(f, p, 8);
    atteso(testa, dim);
    testa += LeggiFileDati(f, p, static_cast<std::size_t>(dim) - testa.size());
    if (testa.size() != dim)
        throw ErroreLettura(Nome(p) + ": letti " + std::to_string(testa.size()) + " byte su " + std::to_string(dim));
    return {testa.begin(), testa.end()};
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

// The stored count, checked against the size of CoorCom2.dat: the header and
// exactly 12 bytes per record, no more, no less.
std::size_t ContaControllata(const std::string& testa, std::uintmax_t dim, const fs::path& p2) {
    if (testa.size() < 8)
        throw ErroreLettura(Nome(p2) + ": " + std::to_string(testa.size()) + " byte, l'intestazione ne richiede 8");
    int32_t n;
    std::memcpy(&n, testa.data() + 4, 4);
    if (n < 0)
        throw ErroreLettura(Nome(p2) + ": numero di comuni negativo (" + std::to_string(n) + ")");
    const std::uintmax_t serve = 8 + 12 * static_cast<std::uintmax_t>(n);
    if (dim != serve)
        throw ErroreLettura(Nome(p2) + ": " + std::to_string(dim) + " byte, " + std::to_string(n) +
                            " comuni ne richiedono " + std::to_string(serve));
    return static_cast<std::size_t>(n);
}

std::vector<char> LeggiCoorCom2(const fs::path& p2, std::size_t& n) {
    return LeggiControllato(p2, [&](const std::string& testa, std::uintmax_t dim) {
        n = ContaControllata(testa, dim, p2);
    });
}

// Coordinates and altitude must be numbers: the map and the report use them.
void ControllaComune(const TCoordComune& c, std::size_t i, const std::string& file) {
    const float lon = c.Lon, lat = c.Lat, alt = c.Alt;
    const char* campo = !(lon >= -180.0f && lon <= 180.0f) ? "longitudine"
                        : !(lat >= -90.0f && lat <= 90.0f) ? "latitudine"
                        : !std::isfinite(alt)              ? "altitudine"
                                                           : nullptr;
    if (!campo)
        return;
    const std::string nome(reinterpret_cast<const char*>(c.Nome + 1), std::min<std::size_t>(c.Nome[0], 255));
    std::string leggibile;
    for (const char ch : nome) // a name from a damaged file may hold anything
        leggibile += static_cast<unsigned char>(ch) >= 0x20 && static_cast<unsigned char>(ch) < 0x7F ? ch : '?';
    throw ErroreLettura(file + ": comune " + std::to_string(i + 1) + " (" + leggibile.substr(0, 40) + "): " + campo +
                        " non valida");
}

} // namespace

int32_t LeggiNumeroComuni(const std::u16string& prefisso) {
    const fs::path p2 = File(prefisso, u"CoorCom2.dat");
    // The count is believed only when the file's size agrees with it.
    std::ifstream f = ApriFileDati(p2);
    std::error_code ec;
    const std::uintmax_t dim = fs::file_size(p2, ec);
    if (ec)
        throw ErroreApertura(Nome(p2) + ": dimensione ignota (" + ec.message() + ")");
    return static_cast<int32_t>(ContaControllata(LeggiFileDati(f, p2, 8), dim, p2));
}

std::vector<TCoordComune> LeggiComuni(const std::u16string& prefisso, std::optional<std::size_t> quanti) {
    const fs::path p2 = File(prefisso, u"CoorCom2.dat");
    const fs::path p1 = File(prefisso, u"CoorCom.dat");
    std::size_t n = 0;
    const std::vector<char> d2 = LeggiCoorCom2(p2, n);
    const std::size_t q = quanti.value_or(n);
    if (q > n)
        throw ErroreLettura(Nome(p2) + ": richiesti " + std::to_string(q) + " comuni, ne sono memorizzati " +
                            std::to_string(n));
    // Both files must describe the same records: with any other size the
    // columns of CoorCom.dat would be read at the wrong offsets.
    const std::vector<char> d1 = LeggiControllato(p1, [&](const std::string&, std::uintmax_t dim) {
        if (dim != 780 * static_cast<std::uintmax_t>(n))
            throw ErroreLettura(Nome(p1) + ": " + std::to_string(dim) + " byte, ma " + Nome(p2) + " dichiara " +
                                std::to_string(n) + " comuni, che ne richiedono " + std::to_string(780 * n));
    });
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
        ControllaComune(c, i, Nome(p1));
    }
    return r;
}

namespace {

void ScriviTemporaneo(const fs::path& tmp, const fs::path& finale, const std::vector<char>& dati) {
    errno = 0;
    std::ofstream f(tmp, std::ios::binary | std::ios::trunc);
    if (!f)
        throw ErroreApertura(Nome(finale) + ": impossibile creare il file temporaneo " + Nome(tmp.filename()) +
                             (errno ? " (" + std::string(std::strerror(errno)) + ")" : std::string()));
    f.write(dati.data(), static_cast<std::streamsize>(dati.size()));
    f.close();
    if (!f) {
        const std::string motivo = errno ? " (" + std::string(std::strerror(errno)) + ")" : std::string();
        std::error_code ec;
        fs::remove(tmp, ec);
        throw ErroreLettura(Nome(finale) + ": errore di scrittura" + motivo);
    }
}

// Moves files one step at a time and, when a step fails, puts back every
// step already done, so that a failure leaves the folder as it was.
class Sostituzione {
public:
    void Sposta(const fs::path& da, const fs::path& a, const fs::path& colpevole) {
        std::error_code ec;
        fs::rename(da, a, ec);
        if (!ec) {
            fatti_.emplace_back(da, a);
            return;
        }
        Annulla();
        throw ErroreApertura(Nome(colpevole) + ": impossibile sostituire il file (" + ec.message() + ")");
    }
    void Annulla() noexcept {
        for (auto it = fatti_.rbegin(); it != fatti_.rend(); ++it) {
            std::error_code ec;
            fs::rename(it->second, it->first, ec);
        }
        fatti_.clear();
    }

private:
    std::vector<std::pair<fs::path, fs::path>> fatti_;
};

} // namespace

void SalvaComuni(const std::u16string& prefisso, std::span<const TCoordComune> comuni) {
    const std::size_t n = comuni.size();
    if (n > 0x7fffffff)
        throw ErroreIntervallo("troppi comuni da salvare");
    const fs::path p2 = File(prefisso, u"CoorCom2.dat"), p1 = File(prefisso, u"CoorCom.dat");
    // What could not be read back is not written.
    for (std::size_t i = 0; i < n; ++i) {
        try {
            ControllaComune(comuni[i], i, Nome(p1));
        } catch (const ErroreLettura& e) {
            throw ErroreIntervallo(e.what());
        }
    }
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
    // The two files are one database: both new files are written first, the
    // old ones are moved aside, the new ones put in place, and only then are
    // the old ones deleted. Any failure puts the old pair back.
    const fs::path t2 = File(prefisso, u"CoorCom2.dat.tmp"), t1 = File(prefisso, u"CoorCom.dat.tmp");
    const fs::path v2 = File(prefisso, u"CoorCom2.dat.old"), v1 = File(prefisso, u"CoorCom.dat.old");
    const auto pulisci = [&] {
        std::error_code ec;
        fs::remove(t1, ec);
        fs::remove(t2, ec);
    };
    try {
        ScriviTemporaneo(t2, p2, d2);
        ScriviTemporaneo(t1, p1, d1);
        Sostituzione s;
        std::error_code ec;
        if (fs::exists(p2, ec))
            s.Sposta(p2, v2, p2);
        if (fs::exists(p1, ec))
            s.Sposta(p1, v1, p1);
        s.Sposta(t2, p2, p2);
        s.Sposta(t1, p1, p1);
    } catch (...) {
        pulisci();
        throw;
    }
    std::error_code ec;
    fs::remove(v1, ec);
    fs::remove(v2, ec);
}

} // namespace veltrano
