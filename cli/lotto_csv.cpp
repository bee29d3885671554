#include "cli/lotto_csv.h"

#include "cli/argomenti.h"
#include "cli/formato.h"

#include <array>
#include <charconv>

namespace veltrano::cli {

namespace {

bool Bianco(char c, char separatore) { return (c == ' ' || c == '\t' || c == '\r') && c != separatore; }

// Walks the fields of a record; fills campi when given. Returns true when a
// quoted field is still open at the end.
bool Scansiona(std::string_view s, char sep, std::vector<std::string>* campi) {
    std::size_t i = 0;
    while (true) {
        while (i < s.size() && Bianco(s[i], sep))
            ++i;
        std::string campo;
        if (i < s.size() && s[i] == '"') {
            ++i;
            while (true) {
                const std::size_t j = s.find('"', i);
                if (j == std::string_view::npos)
                    return true;
                if (campi)
                    campo.append(s.substr(i, j - i));
                if (j + 1 < s.size() && s[j + 1] == '"') { // "" is one quote
                    if (campi)
                        campo += '"';
                    i = j + 2;
                    continue;
                }
                i = j + 1;
                break;
            }
            // Text after the closing quote is kept, as most readers do.
            const std::size_t fine = std::min(s.find(sep, i), s.size());
            if (campi)
                campo.append(s.substr(i, fine - i));
            i = fine;
        } else {
            const std::size_t fine = std::min(s.find(sep, i), s.size());
            campo.assign(s.substr(i, fine - i));
            i = fine;
        }
        if (campi) {
            while (!campo.empty() && Bianco(campo.back(), sep))
                campo.pop_back();
            campi->push_back(std::move(campo));
        }
        if (i >= s.size())
            return false;
        ++i; // the separator
    }
}

std::string Minuscolo(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return r;
}

bool ENumero(std::string_view s) {
    try {
        NumeroCampo(s, "");
        return true;
    } catch (const ErroreUso&) {
        return false;
    }
}

struct NomeColonna {
    std::string_view nome;
    ColonnaLotto colonna;
    int datum; // -1 says nothing, 0 ED50, 1 WGS84
};

constexpr std::array<NomeColonna, 31> NomiColonne{{
    {"lon", ColonnaLotto::Lon, -1},          {"long", ColonnaLotto::Lon, -1},
    {"lng", ColonnaLotto::Lon, -1},          {"longitudine", ColonnaLotto::Lon, -1},
    {"longitude", ColonnaLotto::Lon, -1},    {"x", ColonnaLotto::Lon, -1},
    {"lon_ed50", ColonnaLotto::Lon, 0},      {"longitudine_ed50", ColonnaLotto::Lon, 0},
    {"lon_wgs84", ColonnaLotto::Lon, 1},     {"longitudine_wgs84", ColonnaLotto::Lon, 1},
    {"lat", ColonnaLotto::Lat, -1},          {"latitudine", ColonnaLotto::Lat, -1},
    {"latitude", ColonnaLotto::Lat, -1},     {"y", ColonnaLotto::Lat, -1},
    {"lat_ed50", ColonnaLotto::Lat, 0},      {"latitudine_ed50", ColonnaLotto::Lat, 0},
    {"lat_wgs84", ColonnaLotto::Lat, 1},     {"latitudine_wgs84", ColonnaLotto::Lat, 1},
    {"vn", ColonnaLotto::VN, -1},            {"vita", ColonnaLotto::VN, -1},
    {"vita_nominale", ColonnaLotto::VN, -1}, {"classe", ColonnaLotto::Classe, -1},
    {"classe_uso", ColonnaLotto::Classe, -1}, {"classe_d'uso", ColonnaLotto::Classe, -1},
    {"cu", ColonnaLotto::Classe, -1},        {"datum", ColonnaLotto::Datum, -1},
    {"sistema", ColonnaLotto::Datum, -1},    {"lon_gradi", ColonnaLotto::Lon, -1},
    {"lat_gradi", ColonnaLotto::Lat, -1},    {"longitudine_gradi", ColonnaLotto::Lon, -1},
    {"latitudine_gradi", ColonnaLotto::Lat, -1},
}};

} // namespace

char RilevaSeparatore(std::string_view record) {
    if (record.find('\t') != std::string_view::npos)
        return '\t';
    bool virgolette = false;
    for (const char c : record) {
        if (c == '"')
            virgolette = !virgolette;
        else if (c == ';' && !virgolette)
            return ';';
    }
    return ',';
}

bool VirgoletteAperte(std::string_view record, char separatore) { return Scansiona(record, separatore, nullptr); }

std::vector<std::string> DividiCampi(std::string_view record, char separatore) {
    std::vector<std::string> campi;
    if (Scansiona(record, separatore, &campi))
        throw ErroreUso("virgolette aperte e mai chiuse");
    return campi;
}

FormatoLotto LeggiFormatoLotto(std::string_view record, bool* intestazione) {
    FormatoLotto f;
    f.separatore = RilevaSeparatore(record);
    const std::vector<std::string> campi = DividiCampi(record, f.separatore);
    const bool testata = !campi.empty() && !ENumero(campi[0]);
    if (intestazione)
        *intestazione = testata;
    if (!testata)
        return f;
    f.colonne.assign(campi.size(), ColonnaLotto::Altro);
    bool conLon = false, conLat = false, conVN = false, conClasse = false, conDatum = false;
    int datumLon = -1, datumLat = -1;
    for (std::size_t i = 0; i < campi.size(); ++i) {
        const std::string n = Minuscolo(campi[i]);
        for (const NomeColonna& c : NomiColonne) {
            if (n != c.nome)
                continue;
            // The first column of each kind counts; a second one is just data.
            bool* gia = c.colonna == ColonnaLotto::Lon    ? &conLon
                        : c.colonna == ColonnaLotto::Lat  ? &conLat
                        : c.colonna == ColonnaLotto::VN   ? &conVN
                        : c.colonna == ColonnaLotto::Classe ? &conClasse
                                                            : &conDatum;
            if (*gia)
                break;
            *gia = true;
            f.colonne[i] = c.colonna;
            if (c.colonna == ColonnaLotto::Lon)
                datumLon = c.datum;
            if (c.colonna == ColonnaLotto::Lat)
                datumLat = c.datum;
            break;
        }
    }
    if (!conLon || !conLat)
        throw ErroreUso("l'intestazione non ha le colonne lon e lat (o longitudine, latitudine, x, y)");
    if (datumLon >= 0 || datumLat >= 0) {
        if (datumLon >= 0 && datumLat >= 0 && datumLon != datumLat)
            throw ErroreUso("l'intestazione dà longitudine e latitudine in due datum diversi");
        f.wgs84Colonne = (datumLon >= 0 ? datumLon : datumLat) == 1;
    }
    return f;
}

double NumeroCampo(std::string_view campo, const char* cosa) {
    // A single comma and no point: Excel's Italian decimal comma.
    const std::size_t virgola = campo.find(',');
    if (virgola != std::string_view::npos && campo.find(',', virgola + 1) == std::string_view::npos &&
        campo.find('.') == std::string_view::npos && campo.size() < 64) {
        std::string t(campo);
        t[virgola] = '.';
        try {
            return ConvertiNumero(t, cosa);
        } catch (const ErroreUso&) {
            // fall through: the message quotes the text as written
        }
    }
    return ConvertiNumero(campo, cosa);
}

namespace {

// The meaning of a record's fields; prossimo(campo) gives the next field
// and returns false after the last.
template <class Prossimo>
RigaLotto Interpreta(Prossimo&& prossimo, const FormatoLotto& f, const PredefinitiLotto& p) {
    RigaLotto r;
    r.vn = p.vn;
    r.classe = p.classe;
    r.wgs84 = f.wgs84Colonne.value_or(p.wgs84);
    bool conLon = false, conLat = false;
    std::string_view c;
    for (std::size_t i = 0; i < f.colonne.size() && prossimo(c); ++i) {
        switch (f.colonne[i]) {
        case ColonnaLotto::Lon:
            r.lon = NumeroCampo(c, "longitudine");
            conLon = true;
            break;
        case ColonnaLotto::Lat:
            r.lat = NumeroCampo(c, "latitudine");
            conLat = true;
            break;
        case ColonnaLotto::VN:
            if (!c.empty())
                r.vn = static_cast<int>(ConvertiIntero(c, "vita nominale", 0, VitaNominaleMassima));
            break;
        case ColonnaLotto::Classe:
            if (!c.empty())
                r.classe = ClasseUso(c);
            break;
        case ColonnaLotto::Datum:
            if (!c.empty()) {
                const std::string d = Minuscolo(c);
                if (d != "ed50" && d != "wgs84")
                    throw ErroreUso("datum \"" + Citazione(c) + "\" non valido (ED50 o WGS84)");
                r.wgs84 = d == "wgs84";
            }
            break;
        case ColonnaLotto::Altro: break;
        }
    }
    if (!conLon || !conLat)
        throw ErroreUso("mancano longitudine o latitudine");
    return r;
}

} // namespace

std::string_view CampoSemplice(std::string_view& resto, char separatore, bool& ultimo) {
    const std::size_t fine = resto.find(separatore);
    std::string_view campo = resto.substr(0, fine);
    ultimo = fine == std::string_view::npos;
    resto.remove_prefix(ultimo ? resto.size() : fine + 1);
    while (!campo.empty() && Bianco(campo.front(), separatore))
        campo.remove_prefix(1);
    while (!campo.empty() && Bianco(campo.back(), separatore))
        campo.remove_suffix(1);
    return campo;
}

RigaLotto LeggiRigaLotto(std::string_view record, const FormatoLotto& f, const PredefinitiLotto& p) {
    // Without quotes a field is the text between separators, blanks around
    // it left out: read in place, as DividiCampi would cut it.
    if (record.find('"') == std::string_view::npos) {
        bool finito = false;
        return Interpreta(
            [&](std::string_view& c) {
                if (finito)
                    return false;
                c = CampoSemplice(record, f.separatore, finito);
                return true;
            },
            f, p);
    }
    const std::vector<std::string> campi = DividiCampi(record, f.separatore);
    std::size_t i = 0;
    return Interpreta(
        [&](std::string_view& c) {
            if (i == campi.size())
                return false;
            c = campi[i++];
            return true;
        },
        f, p);
}

} // namespace veltrano::cli
