// Builds the map data of the dialog from the public sources in data/: the
// administrative boundaries with the field layout the dialog reads (names in
// Windows-1252 in fields 1, 2 and 6), the grid points in node order, lakes,
// rivers, and the municipality database whose shape identifiers point into
// those files.
//
//   genera_mappe CARTELLA_SORGENTI CARTELLA_DATI
//
// CARTELLA_DATI must already hold GeoDati.dat.
#include "tools/genera_mappe.h"

#include "core/griglia.h"
#include "geo/comuni.h"
#include "geo/datum.h"
#include "map/amministrativi.h"
#include "map/testo1252.h"

#include <algorithm>
#include <cmath>
#include <iostream>
#include <map>
#include <stdexcept>

namespace fs = std::filesystem;
using namespace veltrano;
using namespace veltrano::mappa;

namespace veltrano::genera {

int IndiceCampo(const TShapefile& sf, const std::string& nome) {
    for (int i = 0; i < sf.NumCampi(); ++i)
        if (sf.Campo(i).nome == nome)
            return i;
    throw std::runtime_error("campo " + nome + " assente");
}

namespace {

double AreaAnello(const TShape& s, std::size_t a, std::size_t b) {
    double area = 0;
    for (std::size_t i = a, j = b - 1; i < b; j = i++)
        area += (s.punti[j].x + s.punti[i].x) * (s.punti[j].y - s.punti[i].y);
    return area / 2;
}

} // namespace

TPunto PuntoInterno(const TShape& s) {
    const std::size_t np = s.parti.size();
    std::size_t migliore = 0;
    double areaMax = -1;
    for (std::size_t p = 0; p < np; ++p) {
        const std::size_t a = static_cast<std::size_t>(s.parti[p]);
        const std::size_t b = p + 1 < np ? static_cast<std::size_t>(s.parti[p + 1]) : s.punti.size();
        const double area = std::abs(AreaAnello(s, a, b));
        if (area > areaMax) {
            areaMax = area;
            migliore = p;
        }
    }
    const std::size_t a = static_cast<std::size_t>(s.parti[migliore]);
    const std::size_t b = migliore + 1 < np ? static_cast<std::size_t>(s.parti[migliore + 1]) : s.punti.size();
    double cx = 0, cy = 0, a2 = 0;
    for (std::size_t i = a, j = b - 1; i < b; j = i++) {
        const double f = s.punti[j].x * s.punti[i].y - s.punti[i].x * s.punti[j].y;
        cx += (s.punti[j].x + s.punti[i].x) * f;
        cy += (s.punti[j].y + s.punti[i].y) * f;
        a2 += f;
    }
    TPunto c{cx / (3 * a2), cy / (3 * a2)};
    if (PuntoInPoligono(s, c.x, c.y))
        return c;
    // The parallel through the centroid: crossings of every ring, paired.
    std::vector<double> xs;
    for (std::size_t p = 0; p < np; ++p) {
        const std::size_t pa = static_cast<std::size_t>(s.parti[p]);
        const std::size_t pb = p + 1 < np ? static_cast<std::size_t>(s.parti[p + 1]) : s.punti.size();
        for (std::size_t i = pa, j = pb - 1; i < pb; j = i++) {
            const TPunto& pi = s.punti[i];
            const TPunto& pj = s.punti[j];
            if ((pi.y > c.y) != (pj.y > c.y))
                xs.push_back(pi.x + (c.y - pi.y) * (pj.x - pi.x) / (pj.y - pi.y));
        }
    }
    std::sort(xs.begin(), xs.end());
    double lungMax = -1;
    for (std::size_t i = 0; i + 1 < xs.size(); i += 2)
        if (xs[i + 1] - xs[i] > lungMax) {
            lungMax = xs[i + 1] - xs[i];
            c.x = (xs[i] + xs[i + 1]) / 2;
        }
    return c;
}

} // namespace veltrano::genera

namespace {

using genera::IndiceCampo;

TShapefile Leggi(const fs::path& p) {
    TShapefile sf;
    if (!sf.Apri(p))
        throw std::runtime_error(sf.Errore());
    return sf;
}

// A copy of src's geometry with a new table; celle(i) gives shape i's cells.
template <class Celle>
void Scrivi(const TShapefile& src, const std::vector<TCampo>& campi, Celle&& celle, const fs::path& out) {
    fs::create_directories(out.parent_path());
    TShapefile d;
    d.Crea(src.Tipo());
    d.InizioModifica();
    for (std::size_t c = 0; c < campi.size(); ++c)
        d.InserisciCampo(campi[c], static_cast<int>(c));
    for (int i = 0; i < src.NumShape(); ++i) {
        d.InserisciShape(src.Shape(i), i);
        const std::vector<std::string> v = celle(i);
        for (std::size_t c = 0; c < v.size(); ++c)
            d.ImpostaCella(static_cast<int>(c), i, v[c]);
    }
    d.FineModifica(true);
    if (!d.SalvaCome(out))
        throw std::runtime_error(out.string() + ": impossibile scrivere lo shapefile: " + d.Errore());
}

std::string Cella1252(const TShapefile& sf, int campo, int i) { return Utf8A1252(sf.ValoreCella(campo, i)); }

void ScriviAmministrativi(const genera::Sorgenti& s, const fs::path& dati) {
    const TShapefile& R = s.regioni;
    const int rNome = IndiceCampo(R, "NAME"), rCod = IndiceCampo(R, "REG_ISTAT");
    // Region shapes carry the list name upper-cased: the dialog finds a
    // region shape by the upper-cased list item.
    Scrivi(R, {{"COD_REG", CampoIntero, 2, 0}, {"NOME_REG", CampoTesto, 50, 0}},
           [&](int i) {
               const auto nome = RegioneElenco(R.ValoreCella(rNome, i));
               if (!nome)
                   throw std::runtime_error("regione fuori elenco: " + R.ValoreCella(rNome, i));
               return std::vector<std::string>{R.ValoreCella(rCod, i), Maiuscolo1252(Utf8A1252(*nome))};
           },
           dati / "Shape/regioni2010/reg2010_s.shp");

    const TShapefile& P = s.province;
    const int pNome = IndiceCampo(P, "NAME"), pCod = IndiceCampo(P, "PROV_ISTAT"),
              pReg = IndiceCampo(P, "REG_ISTAT"), pSigla = IndiceCampo(P, "PROV_ACR");
    Scrivi(P,
           {{"COD_REG", CampoIntero, 2, 0}, {"COD_PRO", CampoIntero, 3, 0}, {"NOME_PRO", CampoTesto, 60, 0},
            {"SIGLA", CampoTesto, 2, 0}},
           [&](int i) {
               return std::vector<std::string>{P.ValoreCella(pReg, i), P.ValoreCella(pCod, i),
                                               Cella1252(P, pNome, i), P.ValoreCella(pSigla, i)};
           },
           dati / "Shape/province2010/prov2010_s.shp");

    const TShapefile& C = s.comuni;
    const int cNome = IndiceCampo(C, "NAME"), cIstat = IndiceCampo(C, "ISTAT"), cCat = IndiceCampo(C, "CATASTO"),
              cProv = IndiceCampo(C, "PROV_NAME"), cSigla = IndiceCampo(C, "PROV_ACR"),
              cCodP = IndiceCampo(C, "PROV_ISTAT"), cReg = IndiceCampo(C, "REG_ISTAT");
    Scrivi(C,
           {{"COD_REG", CampoIntero, 2, 0}, {"COD_PRO", CampoIntero, 3, 0}, {"PRO_COM", CampoIntero, 6, 0},
            {"COD_CAT", CampoTesto, 4, 0}, {"SIGLA", CampoTesto, 2, 0}, {"NOME_PRO", CampoTesto, 60, 0},
            {"NOME_COM", CampoTesto, 100, 0}},
           [&](int i) {
               return std::vector<std::string>{C.ValoreCella(cReg, i),     C.ValoreCella(cCodP, i),
                                               C.ValoreCella(cIstat, i),   C.ValoreCella(cCat, i),
                                               C.ValoreCella(cSigla, i),   Cella1252(C, cProv, i),
                                               Cella1252(C, cNome, i)};
           },
           dati / "Shape/comuni2010/com2010_s.shp");
}

void ScriviDettagli(const genera::Sorgenti& s, const fs::path& dati) {
    const int lNome = IndiceCampo(s.laghi, "name"), fNome = IndiceCampo(s.fiumi, "name");
    Scrivi(s.laghi, {{"NOME", CampoTesto, 40, 0}},
           [&](int i) { return std::vector<std::string>{Cella1252(s.laghi, lNome, i)}; },
           dati / "Shape/Dettagli/ITA_water_areas_dcw.shp");
    Scrivi(s.fiumi, {{"NOME", CampoTesto, 40, 0}},
           [&](int i) { return std::vector<std::string>{Cella1252(s.fiumi, fNome, i)}; },
           dati / "Shape/Dettagli/ITA_water_lines_dcw.shp");
}

// Grid node n is shape n - 1. The nodes are ED50; the map is WGS84.
void ScriviGriglia(const fs::path& dati) {
    Griglia g;
    g.Carica(dati / "GeoDati.dat");
    TShapefile sf;
    sf.Crea(ShapePunto);
    sf.InizioModifica();
    sf.InserisciCampo({"ID", CampoIntero, 6, 0}, 0);
    for (int n = 1; n <= NumNodi; ++n) {
        const Coordinate w = ConvCoord_ED50toWGS84(g.Lon(0, n), g.Lat(0, n));
        TShape s;
        s.tipo = ShapePunto;
        s.punti = {{w.Lon, w.Lat}};
        sf.InserisciShape(s, n - 1);
        sf.ImpostaCella(0, n - 1, std::to_string(g.ID(0, n)));
    }
    sf.FineModifica(true);
    fs::create_directories(dati / "Shape/Griglia");
    if (!sf.SalvaCome(dati / "Shape/Griglia/Griglia.shp"))
        throw std::runtime_error("Griglia.shp: impossibile scrivere lo shapefile: " + sf.Errore());
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "uso: genera_mappe CARTELLA_SORGENTI CARTELLA_DATI\n";
        return 2;
    }
    try {
        const fs::path src = argv[1], dati = argv[2];
        genera::Sorgenti s;
        s.regioni = Leggi(src / "regions.shp");
        s.province = Leggi(src / "provinces.shp");
        s.comuni = Leggi(src / "municipalities.shp");
        s.laghi = Leggi(src / "lakes.shp");
        s.fiumi = Leggi(src / "rivers.shp");
        ScriviAmministrativi(s, dati);
        ScriviDettagli(s, dati);
        ScriviGriglia(dati);
        const std::vector<TCoordComune> comuni = genera::CostruisciComuni(s, src);
        SalvaComuni((dati / "").u16string(), comuni);
        std::cout << "genera_mappe: " << s.regioni.NumShape() << " regioni, " << s.province.NumShape()
                  << " province, " << comuni.size() << " comuni, " << NumNodi << " nodi\n";
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "genera_mappe: " << e.what() << "\n";
        return 1;
    }
}
