#include "map/contorno.h"

#include "map/file.h"

#include <cstdio>

namespace veltrano::mappa {

namespace {
std::string Reale(double v) {
    char b[64];
    std::snprintf(b, sizeof b, "%.6f", v);
    return b;
}
} // namespace

TShapefile ShapefileContorno(const TNodiCella& n) {
    TShapefile sf;
    sf.Crea(ShapePoligono);
    sf.InizioModifica();
    sf.InserisciCampo({"Lon", CampoReale, 18, 6}, 0);
    sf.InserisciCampo({"Lat", CampoReale, 18, 6}, 0);
    TShape s;
    s.tipo = ShapePoligono;
    // Nodes 3, 1, 4, 2 each inserted at the front.
    for (int i : {3, 1, 4, 2})
        s.punti.insert(s.punti.begin(), n[static_cast<std::size_t>(i - 1)]);
    s.punti.push_back(s.punti.front());
    sf.InserisciShape(s, 0);
    // Field 0 takes longitudes, field 1 latitudes, of nodes 3, 1, 4, 2 for
    // shapes 0 to 3; only shape 0 exists.
    const int ordine[4] = {3, 1, 4, 2};
    for (int shape = 0; shape < 4; ++shape) {
        const TPunto& p = n[static_cast<std::size_t>(ordine[shape] - 1)];
        sf.ImpostaCella(0, shape, Reale(p.x));
        sf.ImpostaCella(1, shape, Reale(p.y));
    }
    sf.FineModifica(true);
    return sf;
}

bool SalvaContorno(const TShapefile& sf, const std::filesystem::path& d) {
    std::error_code ec;
    std::filesystem::create_directories(d / "Shape", ec);
    for (const char* e : {".shp", ".shx", ".dbf", ".cpg"})
        Rimuovi(d / "Shape" / (std::string("Contorni") + e));
    const bool a = sf.SalvaCome(d / "Shape" / "Contorni.shp");
    const bool b = sf.SalvaCome(d / "Contorni.shp");
    return a && b;
}

void DisegnaContornoMaglia(TMappa& m, const TNodiCella& n) {
    m.NuovoDisegno();
    const int lati[4][2] = {{1, 2}, {2, 4}, {4, 3}, {3, 1}};
    for (const auto& l : lati) {
        const TPunto& a = n[static_cast<std::size_t>(l[0] - 1)];
        const TPunto& b = n[static_cast<std::size_t>(l[1] - 1)];
        m.DisegnaLinea(a.x, a.y, b.x, b.y, 1, 0);
    }
}

void EtichetteNodiNere(TMappa& m, int layer, const Griglia& g, int k, const std::string& nomeCarattere) {
    const TShapefile* sf = m.Shapefile(layer);
    m.CancellaEtichette(layer);
    m.ImpostaFontLayer(layer, TCarattere{nomeCarattere, 10});
    if (sf)
        for (int i = 0; i < sf->NumShape() && i < NumNodi; ++i) {
            m.ImpostaColoreShape(layer, i, 0);
            const TShape& s = sf->Shape(i);
            if (s.punti.empty())
                continue;
            m.AggiungiEtichetta(layer, "ID: " + std::to_string(g.ID(k, i + 1)), 0, s.punti[0].x,
                                s.punti[0].y - 0.001, 1);
        }
    m.ImpostaLayerVisibile(layer, true);
    m.ImpostaEtichetteVisibili(layer, true);
    m.ImpostaDimensionePunto(layer, 10);
}

} // namespace veltrano::mappa
