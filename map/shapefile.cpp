#include "map/shapefile.h"

#include <shapefil.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <fstream>
#include <memory>

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

struct ChiudiShp {
    void operator()(SHPInfo* h) const { SHPClose(h); }
};
struct ChiudiDbf {
    void operator()(DBFInfo* h) const { DBFClose(h); }
};
struct DistruggiOggetto {
    void operator()(SHPObject* o) const { SHPDestroyObject(o); }
};

std::string Ritaglia(std::string s) {
    const auto a = s.find_first_not_of(' ');
    if (a == std::string::npos)
        return {};
    const auto b = s.find_last_not_of(' ');
    return s.substr(a, b - a + 1);
}

std::string Base(const std::string& percorso) {
    const auto punto = percorso.find_last_of('.');
    const auto barra = percorso.find_last_of("/\\");
    if (punto != std::string::npos && (barra == std::string::npos || punto > barra))
        return percorso.substr(0, punto);
    return percorso;
}

} // namespace

bool TShapefile::Apri(const std::string& percorso, bool conTabella) {
    Chiudi();
    std::unique_ptr<SHPInfo, ChiudiShp> shp(SHPOpen(percorso.c_str(), "rb"));
    if (!shp)
        return false;
    int n = 0, tipo = 0;
    SHPGetInfo(shp.get(), &n, &tipo, nullptr, nullptr);
    // Z and M variants draw as their plain counterparts.
    tipo_ = tipo % 10;
    if (tipo_ == 8)
        tipo_ = ShapePunto;
    shape_.resize(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        std::unique_ptr<SHPObject, DistruggiOggetto> o(SHPReadObject(shp.get(), i));
        TShape& s = shape_[static_cast<std::size_t>(i)];
        if (!o || o->nSHPType == SHPT_NULL)
            continue;
        s.tipo = tipo_;
        s.punti.resize(static_cast<std::size_t>(o->nVertices));
        for (int k = 0; k < o->nVertices; ++k)
            s.punti[static_cast<std::size_t>(k)] = {o->padfX[k], o->padfY[k]};
        if (o->nParts > 0)
            s.parti.assign(o->panPartStart, o->panPartStart + o->nParts);
        else if (o->nVertices > 0)
            s.parti = {0};
        s.CalcolaEstensione();
    }
    std::unique_ptr<DBFInfo, ChiudiDbf> dbf(conTabella ? DBFOpen(percorso.c_str(), "rb") : nullptr);
    celle_.assign(static_cast<std::size_t>(n), {});
    if (dbf) {
        const int nc = DBFGetFieldCount(dbf.get());
        for (int c = 0; c < nc; ++c) {
            char nome[12] = {};
            int larg = 0, dec = 0;
            const DBFFieldType t = DBFGetFieldInfo(dbf.get(), c, nome, &larg, &dec);
            campi_.push_back({nome, t == FTString ? CampoTesto : (t == FTInteger ? CampoIntero : CampoReale), larg, dec});
        }
        const int nr = std::min(n, DBFGetRecordCount(dbf.get()));
        for (int i = 0; i < nr; ++i) {
            auto& riga = celle_[static_cast<std::size_t>(i)];
            riga.resize(static_cast<std::size_t>(nc));
            for (int c = 0; c < nc; ++c)
                if (!DBFIsAttributeNULL(dbf.get(), i, c))
                    riga[static_cast<std::size_t>(c)] = Ritaglia(DBFReadStringAttribute(dbf.get(), i, c));
        }
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

bool TShapefile::SalvaCome(const std::string& percorso) const {
    if (!aperto_)
        return false;
    const std::string base = Base(percorso);
    std::unique_ptr<SHPInfo, ChiudiShp> shp(SHPCreate(base.c_str(), tipo_));
    std::unique_ptr<DBFInfo, ChiudiDbf> dbf(DBFCreateEx(base.c_str(), "LDID/87"));
    if (!shp || !dbf)
        return false;
    for (const TCampo& c : campi_) {
        const DBFFieldType t = c.tipo == CampoTesto ? FTString : (c.tipo == CampoIntero ? FTInteger : FTDouble);
        if (DBFAddField(dbf.get(), c.nome.c_str(), t, c.larghezza, c.tipo == CampoReale ? c.decimali : 0) < 0)
            return false;
    }
    std::vector<double> xs, ys;
    for (std::size_t i = 0; i < shape_.size(); ++i) {
        const TShape& s = shape_[i];
        xs.resize(s.punti.size());
        ys.resize(s.punti.size());
        for (std::size_t k = 0; k < s.punti.size(); ++k) {
            xs[k] = s.punti[k].x;
            ys[k] = s.punti[k].y;
        }
        const bool nullo = s.punti.empty();
        std::unique_ptr<SHPObject, DistruggiOggetto> o(SHPCreateObject(
            nullo ? SHPT_NULL : tipo_, -1, nullo ? 0 : static_cast<int>(s.parti.size()),
            nullo ? nullptr : s.parti.data(), nullptr, static_cast<int>(s.punti.size()), xs.data(), ys.data(),
            nullptr, nullptr));
        if (!o || SHPWriteObject(shp.get(), -1, o.get()) < 0)
            return false;
        const int r = static_cast<int>(i);
        for (int c = 0; c < NumCampi(); ++c) {
            const std::string v = ValoreCella(c, r);
            const int tc = campi_[static_cast<std::size_t>(c)].tipo;
            bool ok;
            if (v.empty())
                ok = DBFWriteNULLAttribute(dbf.get(), r, c);
            else if (tc == CampoTesto)
                ok = DBFWriteStringAttribute(dbf.get(), r, c, v.c_str());
            else if (tc == CampoIntero)
                ok = DBFWriteIntegerAttribute(dbf.get(), r, c, static_cast<int>(ValoreCellaNumero(c, r)));
            else
                ok = DBFWriteDoubleAttribute(dbf.get(), r, c, ValoreCellaNumero(c, r));
            if (!ok)
                return false;
        }
    }
    // Readers that honour the code page file decode the names correctly.
    std::ofstream cpg(base + ".cpg", std::ios::trunc);
    cpg << "1252";
    return static_cast<bool>(cpg);
}

} // namespace veltrano::mappa
