// The municipality database of the dialog: one record per municipality shape.
//
// Coordinates and altitude come from the ISTAT list (comuni.csv) row matched
// to the shape by its 2023 code. A municipality created by a merger after
// that list has no row: its point is an inner point of its polygon and its
// altitude the mean altitude of the listed municipalities whose town centre
// lies inside it (its predecessors); with none found, the altitude of the
// listed town centre nearest to that point.
#include "tools/genera_mappe.h"

#include "map/amministrativi.h"
#include "map/testo1252.h"

#include <cmath>
#include <cstring>
#include <fstream>
#include <iostream>
#include <map>
#include <stdexcept>

namespace veltrano::genera {

using namespace mappa;

namespace {

struct RigaIstat {
    double lon = 0, lat = 0, alt = 0;
    std::string istat2023;
};

std::vector<std::string> Campi(const std::string& riga) {
    std::vector<std::string> r(1);
    bool virgolette = false;
    for (std::size_t i = 0; i < riga.size(); ++i) {
        const char c = riga[i];
        if (c == '"') {
            if (virgolette && i + 1 < riga.size() && riga[i + 1] == '"')
                r.back() += riga[++i];
            else
                virgolette = !virgolette;
        } else if (c == ',' && !virgolette) {
            r.emplace_back();
        } else if (c != '\r') {
            r.back() += c;
        }
    }
    return r;
}

std::vector<RigaIstat> LeggiElenco(const std::filesystem::path& p) {
    std::ifstream f(p);
    if (!f)
        throw std::runtime_error(p.string() + ": impossibile aprire il file");
    std::string riga;
    std::getline(f, riga);
    const std::vector<std::string> testa = Campi(riga);
    auto colonna = [&](const char* nome) {
        for (std::size_t i = 0; i < testa.size(); ++i)
            if (testa[i] == nome)
                return i;
        throw std::runtime_error(p.string() + ": colonna " + nome + " assente");
    };
    const std::size_t cLon = colonna("lon"), cLat = colonna("lat"), cAlt = colonna("altitude"),
                      cCod = colonna("istat_2023");
    std::vector<RigaIstat> r;
    while (std::getline(f, riga)) {
        if (riga.empty())
            continue;
        const std::vector<std::string> c = Campi(riga);
        if (c.size() < testa.size())
            throw std::runtime_error(p.string() + ": riga corta: " + riga);
        r.push_back({std::stod(c[cLon]), std::stod(c[cLat]), std::stod(c[cAlt]), c[cCod]});
    }
    return r;
}

void Testo(uint8_t* im, const std::string& utf8) { AStringaCorta(Utf8A1252(utf8), im, 255); }

} // namespace

std::vector<TCoordComune> CostruisciComuni(const Sorgenti& s, const std::filesystem::path& cartellaSorgenti) {
    const std::vector<RigaIstat> elenco = LeggiElenco(cartellaSorgenti / "comuni.csv");
    std::map<std::string, const RigaIstat*> perCodice;
    for (const RigaIstat& r : elenco)
        if (!r.istat2023.empty())
            perCodice[r.istat2023] = &r;

    const TShapefile& C = s.comuni;
    const int cNome = IndiceCampo(C, "NAME"), cIstat = IndiceCampo(C, "ISTAT"), cProv = IndiceCampo(C, "PROV_NAME"),
              cCodP = IndiceCampo(C, "PROV_ISTAT"), cReg = IndiceCampo(C, "REG_ISTAT");
    std::map<std::string, int> provincia, regione;
    for (int i = 0; i < s.province.NumShape(); ++i)
        provincia[s.province.ValoreCella(IndiceCampo(s.province, "PROV_ISTAT"), i)] = i;
    std::map<std::string, std::string> nomeRegione;
    for (int i = 0; i < s.regioni.NumShape(); ++i) {
        const std::string cod = s.regioni.ValoreCella(IndiceCampo(s.regioni, "REG_ISTAT"), i);
        regione[cod] = i;
        const auto n = RegioneElenco(s.regioni.ValoreCella(IndiceCampo(s.regioni, "NAME"), i));
        if (!n)
            throw std::runtime_error("regione fuori elenco");
        nomeRegione[cod] = *n;
    }

    std::vector<TCoordComune> r(static_cast<std::size_t>(C.NumShape()));
    int dallElenco = 0, fusi = 0, conPredecessori = 0;
    for (int i = 0; i < C.NumShape(); ++i) {
        TCoordComune& c = r[static_cast<std::size_t>(i)];
        std::memset(&c, 0, sizeof c);
        Testo(c.Nome, C.ValoreCella(cNome, i));
        Testo(c.Prov, C.ValoreCella(cProv, i));
        const std::string codReg = C.ValoreCella(cReg, i);
        Testo(c.Reg, nomeRegione.at(codReg));
        c.Id_sf_COM = i;
        c.Id_sf_PROV = provincia.at(C.ValoreCella(cCodP, i));
        c.Id_sf_REG = regione.at(codReg);
        const auto it = perCodice.find(C.ValoreCella(cIstat, i));
        if (it != perCodice.end()) {
            c.Lon = static_cast<float>(it->second->lon);
            c.Lat = static_cast<float>(it->second->lat);
            c.Alt = static_cast<float>(it->second->alt);
            ++dallElenco;
            continue;
        }
        ++fusi;
        const TShape& sh = C.Shape(i);
        const TPunto p = PuntoInterno(sh);
        c.Lon = static_cast<float>(p.x);
        c.Lat = static_cast<float>(p.y);
        double somma = 0;
        int n = 0;
        for (const RigaIstat& e : elenco)
            if (e.istat2023.empty() && PuntoInPoligono(sh, e.lon, e.lat)) {
                somma += e.alt;
                ++n;
            }
        if (n > 0) {
            c.Alt = static_cast<float>(somma / n);
            ++conPredecessori;
        } else {
            double best = 1e300;
            for (const RigaIstat& e : elenco) {
                const double d = std::hypot(e.lon - p.x, e.lat - p.y);
                if (d < best) {
                    best = d;
                    c.Alt = static_cast<float>(e.alt);
                }
            }
        }
    }
    std::cout << "genera_mappe: " << dallElenco << " comuni dall'elenco ISTAT, " << fusi
              << " nati da fusioni (" << conPredecessori << " con predecessori localizzati)\n";
    return r;
}

} // namespace veltrano::genera
