// Shapefiles read and written from the published format: the main file
// (.shp: a 100-byte header, then records of a big-endian header and a
// little-endian content), the index (.shx: the same header, then one
// big-endian offset and length per record, in 16-bit words) and the dBase III
// table (.dbf: a header, 32-byte field descriptors, fixed-width text records).
#include "map/shapefile.h"

#include "map/file.h"
#include "veltrano/veltrano.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace veltrano::mappa {

void TEstensione::Includi(const TEstensione& e) {
    if (e.Vuota())
        return;
    if (Vuota()) {
        *this = e;
        return;
    }
    xMin = std::min(xMin, e.xMin);
    yMin = std::min(yMin, e.yMin);
    xMax = std::max(xMax, e.xMax);
    yMax = std::max(yMax, e.yMax);
}

void TEstensione::Includi(TPunto p) { Includi(TEstensione{p.x, p.y, p.x, p.y}); }

void TShape::CalcolaEstensione() {
    estensione = TEstensione::Nessuna();
    if (punti.empty())
        return;
    estensione = {punti[0].x, punti[0].y, punti[0].x, punti[0].y};
    for (const TPunto& p : punti) {
        estensione.xMin = std::min(estensione.xMin, p.x);
        estensione.yMin = std::min(estensione.yMin, p.y);
        estensione.xMax = std::max(estensione.xMax, p.x);
        estensione.yMax = std::max(estensione.yMax, p.y);
    }
}

namespace {

constexpr int32_t CodiceFileShape = 9994;
constexpr int32_t VersioneShape = 1000;
constexpr std::size_t IntestazioneShape = 100;
// Coordinates beyond this are no place on any map (metres of a projection
// stay below 1e8): refused, so that drawing never meets them.
constexpr double CoordinataMassima = 1e10;

// A file broken or hostile: the reader stops with the reason.
struct Rifiuto {
    std::string motivo;
};

[[noreturn]] void Rifiuta(std::string motivo) { throw Rifiuto{std::move(motivo)}; }

uint32_t U32BE(const uint8_t* p) {
    return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | uint32_t{p[3]};
}
uint32_t U32LE(const uint8_t* p) {
    return uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
}
int32_t I32LE(const uint8_t* p) { return static_cast<int32_t>(U32LE(p)); }
uint16_t U16LE(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
double RealeLE(const uint8_t* p) {
    uint64_t u = 0;
    for (int i = 7; i >= 0; --i)
        u = (u << 8) | p[i];
    double d;
    std::memcpy(&d, &u, sizeof d);
    return d;
}

void ScriviU32BE(std::vector<uint8_t>& b, uint32_t v) {
    for (int s = 24; s >= 0; s -= 8)
        b.push_back(static_cast<uint8_t>(v >> s));
}
void ScriviU32LE(std::vector<uint8_t>& b, uint32_t v) {
    for (int s = 0; s < 32; s += 8)
        b.push_back(static_cast<uint8_t>(v >> s));
}
void ScriviI32LE(std::vector<uint8_t>& b, int32_t v) { ScriviU32LE(b, static_cast<uint32_t>(v)); }
void ScriviU16LE(std::vector<uint8_t>& b, uint16_t v) {
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
}
void ScriviRealeLE(std::vector<uint8_t>& b, double d) {
    uint64_t u;
    std::memcpy(&u, &d, sizeof u);
    for (int s = 0; s < 64; s += 8)
        b.push_back(static_cast<uint8_t>(u >> s));
}

std::string Ritaglia(std::string_view s) {
    const auto a = s.find_first_not_of(' ');
    if (a == std::string_view::npos)
        return {};
    const auto b = s.find_last_not_of(' ');
    return std::string(s.substr(a, b - a + 1));
}

/// The family of a shape type code: 1 point, 3 polyline, 5 polygon,
/// 8 multipoint (their Z and M variants included), 0 null; -1 for the
/// types the map does not draw (multipatch) and for codes that are none.
int Famiglia(int32_t t) {
    switch (t) {
    case 0: return 0;
    case 1: case 11: case 21: return 1;
    case 3: case 13: case 23: return 3;
    case 5: case 15: case 25: return 5;
    case 8: case 18: case 28: return 8;
    default: return -1;
    }
}

std::string Testo(std::size_t n) { return std::to_string(n); }

// The 100-byte header shared by the main file and the index: file code,
// length in 16-bit words (big-endian), version and type (little-endian).
struct Intestazione {
    std::size_t lunghezza; // bytes, as declared
    int32_t tipo;
};

Intestazione LeggiIntestazione(std::span<const uint8_t> b, const char* file) {
    if (b.size() < IntestazioneShape)
        Rifiuta(std::string(file) + ": " + Testo(b.size()) + " byte, meno dei 100 dell'intestazione");
    if (static_cast<int32_t>(U32BE(b.data())) != CodiceFileShape)
        Rifiuta(std::string(file) + ": non è uno shapefile (codice " + std::to_string(U32BE(b.data())) + ")");
    if (I32LE(b.data() + 28) != VersioneShape)
        Rifiuta(std::string(file) + ": versione " + std::to_string(I32LE(b.data() + 28)) + " invece di 1000");
    const std::size_t dichiarata = std::size_t{U32BE(b.data() + 24)} * 2;
    if (dichiarata < IntestazioneShape)
        Rifiuta(std::string(file) + ": lunghezza dichiarata " + Testo(dichiarata) + " byte, meno dell'intestazione");
    if (dichiarata > b.size())
        Rifiuta(std::string(file) + ": file troncato (" + Testo(b.size()) + " byte, l'intestazione ne dichiara " +
                Testo(dichiarata) + ")");
    return {dichiarata, I32LE(b.data() + 32)};
}

void ControllaCoordinata(double v, std::size_t record) {
    if (!(std::fabs(v) <= CoordinataMassima))
        Rifiuta("record " + Testo(record + 1) + ": coordinata non valida (" + std::to_string(v) + ")");
}

// One record's content (c: its bytes) into s.
void LeggiContenuto(std::span<const uint8_t> c, int famigliaFile, std::size_t record, TShape& s) {
    const auto motivo = [record](const std::string& m) { return "record " + Testo(record + 1) + ": " + m; };
    if (c.size() < 4)
        Rifiuta(motivo("contenuto di " + Testo(c.size()) + " byte"));
    const int32_t tipo = I32LE(c.data());
    const int famiglia = Famiglia(tipo);
    if (famiglia == 0)
        return; // a null shape: no points
    if (famiglia != famigliaFile)
        Rifiuta(motivo("tipo di shape " + std::to_string(tipo) + " diverso da quello del file"));
    auto punto = [&](std::size_t at) {
        const TPunto p{RealeLE(c.data() + at), RealeLE(c.data() + at + 8)};
        ControllaCoordinata(p.x, record);
        ControllaCoordinata(p.y, record);
        return p;
    };
    if (famiglia == 1) {
        if (c.size() < 20)
            Rifiuta(motivo("punto di " + Testo(c.size()) + " byte"));
        s.punti = {punto(4)};
        s.parti = {0};
    } else if (famiglia == 8) {
        if (c.size() < 40)
            Rifiuta(motivo("multipunto di " + Testo(c.size()) + " byte"));
        const int32_t n = I32LE(c.data() + 36);
        if (n < 0 || 40 + 16 * static_cast<uint64_t>(n) > c.size())
            Rifiuta(motivo(std::to_string(n) + " punti in " + Testo(c.size()) + " byte"));
        s.punti.resize(static_cast<std::size_t>(n));
        for (std::size_t k = 0; k < s.punti.size(); ++k)
            s.punti[k] = punto(40 + 16 * k);
        if (n > 0)
            s.parti = {0};
    } else {
        if (c.size() < 44)
            Rifiuta(motivo("contenuto di " + Testo(c.size()) + " byte, meno dei 44 di una linea o di un poligono"));
        const int32_t np = I32LE(c.data() + 36), n = I32LE(c.data() + 40);
        if (np < 0 || n < 0)
            Rifiuta(motivo("numero di parti (" + std::to_string(np) + ") o di punti (" + std::to_string(n) +
                           ") negativo"));
        const uint64_t serve = 44 + 4 * static_cast<uint64_t>(np) + 16 * static_cast<uint64_t>(n);
        if (serve > c.size())
            Rifiuta(motivo(std::to_string(np) + " parti e " + std::to_string(n) + " punti non stanno in " +
                           Testo(c.size()) + " byte"));
        if (n == 0)
            return; // parts without points draw nothing
        s.parti.resize(static_cast<std::size_t>(np));
        for (std::size_t k = 0; k < s.parti.size(); ++k) {
            const int32_t inizio = I32LE(c.data() + 44 + 4 * k);
            if (inizio < 0 || inizio >= n || (k > 0 && inizio <= s.parti[k - 1]))
                Rifiuta(motivo("la parte " + Testo(k + 1) + " inizia al punto " + std::to_string(inizio)));
            s.parti[k] = inizio;
        }
        if (s.parti.empty())
            s.parti = {0};
        const std::size_t base = 44 + 4 * static_cast<std::size_t>(np);
        s.punti.resize(static_cast<std::size_t>(n));
        for (std::size_t k = 0; k < s.punti.size(); ++k)
            s.punti[k] = punto(base + 16 * k);
    }
    s.tipo = famigliaFile == 8 ? ShapePunto : famigliaFile;
    s.CalcolaEstensione();
}

// Where each record lies in the main file: from the index, or, without
// one, by walking the records one after the other.
struct Posizione {
    std::size_t inizio, lunghezza; // the content: after the 8-byte record header
};

std::vector<Posizione> PosizioniDaIndice(std::span<const uint8_t> shp, std::size_t lunghezzaShp,
                                         std::span<const uint8_t> shx) {
    const Intestazione ix = LeggiIntestazione(shx, ".shx");
    if ((ix.lunghezza - IntestazioneShape) % 8 != 0)
        Rifiuta(".shx: lunghezza " + Testo(ix.lunghezza) + " byte, non 100 più 8 per record");
    const std::size_t n = (ix.lunghezza - IntestazioneShape) / 8;
    std::vector<Posizione> pos(n);
    uint64_t totale = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const uint8_t* e = shx.data() + IntestazioneShape + 8 * i;
        const uint64_t offset = uint64_t{U32BE(e)} * 2, lunghezza = uint64_t{U32BE(e + 4)} * 2;
        if (offset < IntestazioneShape || offset + 8 + lunghezza > lunghezzaShp)
            Rifiuta(".shx: il record " + Testo(i + 1) + " (" + std::to_string(offset) + " + " +
                    std::to_string(lunghezza) + " byte) esce dal file principale di " + Testo(lunghezzaShp) + " byte");
        const uint64_t nelFile = uint64_t{U32BE(shp.data() + offset + 4)} * 2;
        if (nelFile != lunghezza)
            Rifiuta("record " + Testo(i + 1) + ": " + std::to_string(nelFile) + " byte nel file principale, " +
                    std::to_string(lunghezza) + " nell'indice");
        // Records that share bytes would multiply what is read.
        totale += 8 + lunghezza;
        if (totale > lunghezzaShp - IntestazioneShape)
            Rifiuta(".shx: i record si sovrappongono nel file principale");
        pos[i] = {static_cast<std::size_t>(offset + 8), static_cast<std::size_t>(lunghezza)};
    }
    return pos;
}

std::vector<Posizione> PosizioniInSequenza(std::span<const uint8_t> shp, std::size_t lunghezzaShp) {
    std::vector<Posizione> pos;
    std::size_t at = IntestazioneShape;
    while (at < lunghezzaShp) {
        if (lunghezzaShp - at < 8)
            Rifiuta("record " + Testo(pos.size() + 1) + ": intestazione troncata");
        const uint64_t lunghezza = uint64_t{U32BE(shp.data() + at + 4)} * 2;
        if (lunghezza > lunghezzaShp - at - 8)
            Rifiuta("record " + Testo(pos.size() + 1) + ": " + std::to_string(lunghezza) + " byte, il file ne ha " +
                    Testo(lunghezzaShp - at - 8));
        pos.push_back({at + 8, static_cast<std::size_t>(lunghezza)});
        at += 8 + static_cast<std::size_t>(lunghezza);
    }
    return pos;
}

// A table cell: the field's bytes up to a NUL, trimmed; "" for the values
// that mean "no value" in each field type.
std::string Cella(const uint8_t* p, std::size_t larghezza, char tipo) {
    const std::size_t n = static_cast<std::size_t>(
        std::find(p, p + larghezza, uint8_t{0}) - p);
    const std::string_view v(reinterpret_cast<const char*>(p), n);
    std::string t = Ritaglia(v);
    switch (tipo) {
    case 'N':
    case 'F':
        if (!t.empty() && t[0] == '*')
            return {};
        break;
    case 'D':
        if (t == "00000000" || t == "0")
            return {};
        break;
    case 'L':
        if (!t.empty() && t[0] == '?')
            return {};
        break;
    default: break;
    }
    return t;
}

struct Tabella {
    std::vector<TCampo> campi;
    std::vector<std::vector<std::string>> righe;
};

Tabella LeggiTabella(std::span<const uint8_t> b) {
    if (b.size() < 32)
        Rifiuta(".dbf: " + Testo(b.size()) + " byte, meno dei 32 dell'intestazione");
    const std::size_t numRecord = U32LE(b.data() + 4), lungIntestazione = U16LE(b.data() + 8),
                      lungRecord = U16LE(b.data() + 10);
    if (lungIntestazione < 32 || lungIntestazione > b.size())
        Rifiuta(".dbf: intestazione di " + Testo(lungIntestazione) + " byte in un file di " + Testo(b.size()));
    if (lungRecord < 1)
        Rifiuta(".dbf: record di lunghezza 0");
    Tabella t;
    std::vector<std::size_t> inizio;
    std::vector<char> tipi;
    std::size_t at = 1; // after the deletion flag
    const std::size_t massimo = (lungIntestazione - 32) / 32;
    for (std::size_t i = 0; i < massimo; ++i) {
        const uint8_t* d = b.data() + 32 + 32 * i;
        if (d[0] == 0x0D)
            break; // the descriptors' terminator
        TCampo c;
        const std::size_t lung = static_cast<std::size_t>(std::find(d, d + 11, uint8_t{0}) - d);
        c.nome.assign(reinterpret_cast<const char*>(d), lung);
        const char tipo = static_cast<char>(d[11]);
        c.larghezza = d[16];
        c.decimali = d[17];
        if (tipo == 'C') {
            // Text fields wider than 255 keep the high byte in the decimals.
            c.larghezza = d[16] + 256 * d[17];
            c.decimali = 0;
            c.tipo = CampoTesto;
        } else if (tipo == 'N' || tipo == 'F') {
            c.tipo = c.decimali > 0 || c.larghezza >= 10 ? CampoReale : CampoIntero;
        } else {
            c.tipo = CampoTesto;
        }
        if (at + static_cast<std::size_t>(c.larghezza) > lungRecord)
            Rifiuta(".dbf: il campo " + Testo(i + 1) + " esce dal record di " + Testo(lungRecord) + " byte");
        inizio.push_back(at);
        tipi.push_back(tipo);
        at += static_cast<std::size_t>(c.larghezza);
        t.campi.push_back(std::move(c));
    }
    if (static_cast<uint64_t>(numRecord) * lungRecord > b.size() - lungIntestazione)
        Rifiuta(".dbf: file troncato (" + Testo(numRecord) + " record di " + Testo(lungRecord) + " byte dopo " +
                Testo(lungIntestazione) + " di intestazione, il file ne ha " + Testo(b.size()) + ")");
    t.righe.resize(numRecord);
    for (std::size_t r = 0; r < numRecord; ++r) {
        const uint8_t* rec = b.data() + lungIntestazione + r * lungRecord;
        auto& riga = t.righe[r];
        riga.resize(t.campi.size());
        for (std::size_t c = 0; c < t.campi.size(); ++c)
            riga[c] = Cella(rec + inizio[c], static_cast<std::size_t>(t.campi[c].larghezza), tipi[c]);
    }
    return t;
}

} // namespace

bool TShapefile::Apri(const std::filesystem::path& percorso, bool conTabella) {
    Chiudi();
    std::filesystem::path base = percorso;
    std::optional<std::vector<uint8_t>> shp, shx, dbf;
    try {
        shp = LeggiFile(base.replace_extension(".shp"));
        if (!shp) {
            errore_ = NomeFile(base) + ": file mancante";
            return false;
        }
        shx = LeggiFile(base.replace_extension(".shx"));
        if (conTabella)
            dbf = LeggiFile(base.replace_extension(".dbf"));
    } catch (const veltrano::Errore& e) {
        errore_ = e.what();
        return false;
    }
    auto span = [](const std::optional<std::vector<uint8_t>>& v) -> std::optional<std::span<const uint8_t>> {
        if (!v)
            return std::nullopt;
        return std::span<const uint8_t>(*v);
    };
    if (!Leggi(*shp, span(shx), span(dbf), conTabella)) {
        errore_ = NomeFile(percorso) + ": " + errore_;
        return false;
    }
    return true;
}

bool TShapefile::Leggi(std::span<const uint8_t> shp, std::optional<std::span<const uint8_t>> shx,
                       std::optional<std::span<const uint8_t>> dbf, bool conTabella) {
    Chiudi();
    try {
        const Intestazione ih = LeggiIntestazione(shp, ".shp");
        const int famiglia = Famiglia(ih.tipo);
        if (famiglia < 0)
            Rifiuta(".shp: tipo di shape " + std::to_string(ih.tipo) + " non gestito");
        const std::vector<Posizione> pos =
            shx ? PosizioniDaIndice(shp, ih.lunghezza, *shx) : PosizioniInSequenza(shp, ih.lunghezza);
        std::vector<TShape> shape(pos.size());
        for (std::size_t i = 0; i < pos.size(); ++i)
            LeggiContenuto(shp.subspan(pos[i].inizio, pos[i].lunghezza), famiglia, i, shape[i]);
        Tabella t;
        if (conTabella && dbf)
            t = LeggiTabella(*dbf);
        // Z and M variants draw as their plain counterparts, multipoints as points.
        tipo_ = famiglia == 8 ? ShapePunto : famiglia;
        shape_ = std::move(shape);
        campi_ = std::move(t.campi);
        // Shapes beyond the table's records have empty cells; records
        // beyond the shapes belong to none.
        t.righe.resize(shape_.size());
        for (auto& riga : t.righe)
            riga.resize(campi_.size());
        celle_ = std::move(t.righe);
    } catch (const Rifiuto& r) {
        Chiudi();
        errore_ = r.motivo;
        return false;
    }
    RicalcolaEstensione();
    aperto_ = true;
    return true;
}

void TShapefile::Crea(int tipo) {
    Chiudi();
    tipo_ = tipo;
    aperto_ = true;
}

void TShapefile::Chiudi() {
    aperto_ = modifica_ = false;
    errore_.clear();
    tipo_ = ShapeNullo;
    shape_.clear();
    campi_.clear();
    celle_.clear();
    copiaShape_.clear();
    copiaCampi_.clear();
    copiaCelle_.clear();
    estensione_ = TEstensione::Nessuna();
}

void TShapefile::RicalcolaEstensione() {
    estensione_ = TEstensione::Nessuna();
    for (const TShape& s : shape_)
        estensione_.Includi(s.estensione);
}

std::string TShapefile::ValoreCella(int campo, int shape) const {
    if (shape < 0 || shape >= NumShape() || campo < 0)
        return {};
    const auto& riga = celle_[static_cast<std::size_t>(shape)];
    return static_cast<std::size_t>(campo) < riga.size() ? riga[static_cast<std::size_t>(campo)] : std::string();
}

double TShapefile::ValoreCellaNumero(int campo, int shape) const {
    const std::string s = ValoreCella(campo, shape);
    double v = 0;
    std::from_chars(s.data(), s.data() + s.size(), v);
    return v;
}

bool PuntoInPoligono(const TShape& s, double x, double y) {
    const TEstensione& e = s.estensione;
    if (s.punti.empty() || x < e.xMin || x > e.xMax || y < e.yMin || y > e.yMax)
        return false;
    bool dentro = false;
    const std::size_t np = s.parti.size();
    for (std::size_t p = 0; p < np; ++p) {
        const std::size_t a = static_cast<std::size_t>(s.parti[p]);
        const std::size_t b = p + 1 < np ? static_cast<std::size_t>(s.parti[p + 1]) : s.punti.size();
        if (b <= a)
            continue;
        for (std::size_t i = a, j = b - 1; i < b; j = i++) {
            const TPunto& pi = s.punti[i];
            const TPunto& pj = s.punti[j];
            if ((pi.y > y) != (pj.y > y) && x < (pj.x - pi.x) * (y - pi.y) / (pj.y - pi.y) + pi.x)
                dentro = !dentro;
        }
    }
    return dentro;
}

bool TShapefile::PuntoInShape(int i, double x, double y) const {
    if (i < 0 || i >= NumShape() || tipo_ != ShapePoligono)
        return false;
    return PuntoInPoligono(shape_[static_cast<std::size_t>(i)], x, y);
}

bool TShapefile::InizioModifica() {
    if (!aperto_ || modifica_)
        return false;
    copiaShape_ = shape_;
    copiaCampi_ = campi_;
    copiaCelle_ = celle_;
    modifica_ = true;
    return true;
}

bool TShapefile::FineModifica(bool applica) {
    if (!modifica_)
        return false;
    if (!applica) {
        shape_ = std::move(copiaShape_);
        campi_ = std::move(copiaCampi_);
        celle_ = std::move(copiaCelle_);
    }
    copiaShape_.clear();
    copiaCampi_.clear();
    copiaCelle_.clear();
    modifica_ = false;
    for (TShape& s : shape_)
        s.CalcolaEstensione();
    RicalcolaEstensione();
    return true;
}

bool TShapefile::InserisciCampo(const TCampo& c, int pos) {
    if (!modifica_)
        return false;
    const std::size_t p = pos < 0 || pos > NumCampi() ? campi_.size() : static_cast<std::size_t>(pos);
    campi_.insert(campi_.begin() + static_cast<std::ptrdiff_t>(p), c);
    for (auto& riga : celle_) {
        riga.resize(campi_.size() - 1);
        riga.insert(riga.begin() + static_cast<std::ptrdiff_t>(p), std::string());
    }
    return true;
}

bool TShapefile::InserisciShape(TShape s, int pos) {
    if (!modifica_)
        return false;
    const std::size_t p = pos < 0 || pos > NumShape() ? shape_.size() : static_cast<std::size_t>(pos);
    if (s.parti.empty() && !s.punti.empty())
        s.parti = {0};
    s.CalcolaEstensione();
    shape_.insert(shape_.begin() + static_cast<std::ptrdiff_t>(p), std::move(s));
    celle_.insert(celle_.begin() + static_cast<std::ptrdiff_t>(p), std::vector<std::string>(campi_.size()));
    return true;
}

bool TShapefile::InserisciPunto(int shape, TPunto p) {
    if (!modifica_ || shape < 0 || shape >= NumShape())
        return false;
    TShape& s = shape_[static_cast<std::size_t>(shape)];
    if (s.parti.empty())
        s.parti = {0};
    s.punti.push_back(p);
    s.estensione.Includi(p);
    return true;
}

bool TShapefile::ImpostaCella(int campo, int shape, const std::string& valore) {
    if (!modifica_ || shape < 0 || shape >= NumShape() || campo < 0 || campo >= NumCampi())
        return false;
    auto& riga = celle_[static_cast<std::size_t>(shape)];
    riga.resize(campi_.size());
    riga[static_cast<std::size_t>(campo)] = valore;
    return true;
}

// ---- Writing

namespace {

// The main file's and the index's header for a file of lunghezza bytes.
void ScriviIntestazione(std::vector<uint8_t>& b, std::size_t lunghezza, int tipo, const TEstensione& e) {
    ScriviU32BE(b, CodiceFileShape);
    for (int i = 0; i < 5; ++i)
        ScriviU32BE(b, 0);
    ScriviU32BE(b, static_cast<uint32_t>(lunghezza / 2));
    ScriviI32LE(b, VersioneShape);
    ScriviI32LE(b, tipo);
    const bool vuota = e.Vuota();
    for (double v : {e.xMin, e.yMin, e.xMax, e.yMax})
        ScriviRealeLE(b, vuota ? 0.0 : v);
    for (int i = 0; i < 4; ++i)
        ScriviRealeLE(b, 0.0); // Z and M ranges
}

// A numeric cell as the field holds it, right-aligned; false when it is not
// a number or does not fit.
bool CellaNumero(const std::string& v, const TCampo& c, std::string& out) {
    double d = 0;
    const char* fine = v.data() + v.size();
    const auto r = std::from_chars(v.data(), fine, d);
    if (r.ec != std::errc() || r.ptr != fine || !std::isfinite(d))
        return false;
    char testo[400];
    int n;
    if (c.decimali == 0) {
        if (!(std::fabs(d) < 2147483648.0))
            return false;
        n = std::snprintf(testo, sizeof testo, "%*d", c.larghezza, static_cast<int>(d));
    } else {
        if (!(std::fabs(d) < 1e300))
            return false;
        n = std::snprintf(testo, sizeof testo, "%*.*f", c.larghezza, c.decimali, d);
    }
    if (n < 0 || n > c.larghezza)
        return false;
    out.assign(testo, static_cast<std::size_t>(n));
    return true;
}

} // namespace

bool TShapefile::Codifica(TDatiShapefile& dati) const {
    errore_.clear();
    if (!aperto_) {
        errore_ = "shapefile non aperto";
        return false;
    }
    // Main file and index.
    std::vector<uint8_t> corpo, indice;
    TEstensione tutta = TEstensione::Nessuna();
    std::size_t at = IntestazioneShape;
    for (std::size_t i = 0; i < shape_.size(); ++i) {
        const TShape& s = shape_[i];
        std::vector<uint8_t> c;
        if (s.punti.empty() || tipo_ == ShapeNullo) {
            ScriviI32LE(c, ShapeNullo);
        } else if (tipo_ == ShapePunto) {
            ScriviI32LE(c, ShapePunto);
            ScriviRealeLE(c, s.punti[0].x);
            ScriviRealeLE(c, s.punti[0].y);
            tutta.Includi(s.punti[0]);
        } else {
            TEstensione e{s.punti[0].x, s.punti[0].y, s.punti[0].x, s.punti[0].y};
            for (const TPunto& p : s.punti)
                e.Includi(p);
            const std::vector<int> parti = s.parti.empty() ? std::vector<int>{0} : s.parti;
            ScriviI32LE(c, tipo_);
            for (double v : {e.xMin, e.yMin, e.xMax, e.yMax})
                ScriviRealeLE(c, v);
            ScriviI32LE(c, static_cast<int32_t>(parti.size()));
            ScriviI32LE(c, static_cast<int32_t>(s.punti.size()));
            for (int p : parti)
                ScriviI32LE(c, p);
            for (const TPunto& p : s.punti) {
                ScriviRealeLE(c, p.x);
                ScriviRealeLE(c, p.y);
            }
            tutta.Includi(e);
        }
        ScriviU32BE(indice, static_cast<uint32_t>(at / 2));
        ScriviU32BE(indice, static_cast<uint32_t>(c.size() / 2));
        ScriviU32BE(corpo, static_cast<uint32_t>(i + 1));
        ScriviU32BE(corpo, static_cast<uint32_t>(c.size() / 2));
        corpo.insert(corpo.end(), c.begin(), c.end());
        at += 8 + c.size();
        if (at > 0x7FFFFFFF) {
            errore_ = "shapefile oltre i 2 GB del formato";
            return false;
        }
    }
    dati.shp.clear();
    ScriviIntestazione(dati.shp, IntestazioneShape + corpo.size(), tipo_, tutta);
    dati.shp.insert(dati.shp.end(), corpo.begin(), corpo.end());
    dati.shx.clear();
    ScriviIntestazione(dati.shx, IntestazioneShape + indice.size(), tipo_, tutta);
    dati.shx.insert(dati.shx.end(), indice.begin(), indice.end());

    // Table: dBase III, Windows-1252 (language driver 0x57).
    std::vector<uint8_t>& d = dati.dbf;
    d.clear();
    std::size_t lungRecord = 1;
    for (const TCampo& c : campi_) {
        const int massimo = c.tipo == CampoTesto ? 65535 : 255;
        if (c.larghezza < 1 || c.larghezza > massimo || c.decimali < 0 || c.decimali > 255) {
            errore_ = "campo " + c.nome + ": larghezza " + std::to_string(c.larghezza) + " fuori dal formato";
            return false;
        }
        lungRecord += static_cast<std::size_t>(c.larghezza);
    }
    const std::size_t lungIntestazione = 32 + 32 * campi_.size() + 1;
    if (lungRecord > 65535 || lungIntestazione > 65535) {
        errore_ = "tabella con record di " + std::to_string(lungRecord) + " byte, oltre il formato";
        return false;
    }
    const std::time_t ora = std::time(nullptr);
    std::tm data{};
#ifdef _WIN32
    localtime_s(&data, &ora);
#else
    localtime_r(&ora, &data);
#endif
    d.push_back(0x03);
    d.push_back(static_cast<uint8_t>(data.tm_year % 256));
    d.push_back(static_cast<uint8_t>(data.tm_mon + 1));
    d.push_back(static_cast<uint8_t>(data.tm_mday));
    ScriviU32LE(d, static_cast<uint32_t>(shape_.size()));
    ScriviU16LE(d, static_cast<uint16_t>(lungIntestazione));
    ScriviU16LE(d, static_cast<uint16_t>(lungRecord));
    d.resize(d.size() + 20, 0);
    d[29] = 0x57;
    for (const TCampo& c : campi_) {
        uint8_t descrittore[32] = {};
        std::memcpy(descrittore, c.nome.data(), std::min<std::size_t>(c.nome.size(), 10));
        descrittore[11] = c.tipo == CampoTesto ? 'C' : 'N';
        if (c.tipo == CampoTesto) {
            descrittore[16] = static_cast<uint8_t>(c.larghezza % 256);
            descrittore[17] = static_cast<uint8_t>(c.larghezza / 256);
        } else {
            descrittore[16] = static_cast<uint8_t>(c.larghezza);
            descrittore[17] = static_cast<uint8_t>(c.tipo == CampoReale ? c.decimali : 0);
        }
        d.insert(d.end(), descrittore, descrittore + 32);
    }
    d.push_back(0x0D);
    std::string numero;
    for (std::size_t r = 0; r < shape_.size(); ++r) {
        d.push_back(' ');
        for (std::size_t k = 0; k < campi_.size(); ++k) {
            const TCampo& c = campi_[k];
            TCampo formato = c;
            if (c.tipo != CampoReale)
                formato.decimali = 0;
            const std::size_t larghezza = static_cast<std::size_t>(c.larghezza);
            const std::string v = ValoreCella(static_cast<int>(k), static_cast<int>(r));
            if (c.tipo == CampoTesto) {
                const std::size_t n = std::min(v.size(), larghezza);
                d.insert(d.end(), v.begin(), v.begin() + static_cast<std::ptrdiff_t>(n));
                d.insert(d.end(), larghezza - n, ' ');
            } else if (v.empty()) {
                d.insert(d.end(), larghezza, '*'); // no value
            } else if (CellaNumero(v, formato, numero)) {
                d.insert(d.end(), numero.begin(), numero.end());
            } else {
                errore_ = "record " + std::to_string(r + 1) + ", campo " + c.nome + ": \"" + v +
                          "\" non sta in un numero di " + std::to_string(c.larghezza) + " caratteri";
                return false;
            }
        }
    }
    d.push_back(0x1A);
    return true;
}

bool TShapefile::SalvaCome(const std::filesystem::path& percorso) const {
    TDatiShapefile dati;
    if (!Codifica(dati))
        return false;
    std::filesystem::path base = percorso;
    const uint8_t cpg[] = {'1', '2', '5', '2'};
    try {
        // Readers that honour the code page file decode the names correctly.
        ScriviFileSicuro(base.replace_extension(".shp"), dati.shp);
        ScriviFileSicuro(base.replace_extension(".shx"), dati.shx);
        ScriviFileSicuro(base.replace_extension(".dbf"), dati.dbf);
        ScriviFileSicuro(base.replace_extension(".cpg"), cpg);
    } catch (const veltrano::Errore& e) {
        errore_ = e.what();
        return false;
    }
    return true;
}

// ---- Fuzzing entry

int ProvaShapefile(const uint8_t* dati, std::size_t dimensione) {
    if (dimensione < 12)
        return 0;
    std::size_t at = 12;
    std::optional<std::span<const uint8_t>> parti[3];
    for (int i = 0; i < 3; ++i) {
        const uint32_t n = U32LE(dati + 4 * i);
        if (n == 0xFFFFFFFFu)
            continue;
        const std::size_t lung = std::min<std::size_t>(n, dimensione - at);
        parti[i] = std::span<const uint8_t>(dati + at, lung);
        at += lung;
    }
    TShapefile sf;
    if (!parti[0] || !sf.Leggi(*parti[0], parti[1], parti[2]))
        return 0;
    // What was accepted is written again and read back the same.
    for (int i = 0; i < sf.NumShape(); ++i)
        (void)sf.PuntoInShape(i, 0, 0);
    TDatiShapefile copia;
    if (sf.Codifica(copia)) {
        TShapefile riletto;
        if (!riletto.Leggi(copia.shp, std::span<const uint8_t>(copia.shx), std::span<const uint8_t>(copia.dbf)) ||
            riletto.NumShape() != sf.NumShape())
            std::abort();
    }
    return 1;
}

} // namespace veltrano::mappa
