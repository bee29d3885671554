// Our shapefile reader and writer against shapelib, the reference library
// of the format: every layer we ship (the sources in data/ and the layers
// generated from them) reads the same through both, shape by shape, point
// by point and cell by cell; what our writer makes (the cell outline, a
// polygon with a hole, Windows-1252 names) shapelib reads back the same.
#include "map/contorno.h"
#include "map/shapefile.h"

#include <shapefil.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <unistd.h>

using namespace veltrano::mappa;
namespace fs = std::filesystem;

namespace {

struct ChiudiShp {
    void operator()(SHPInfo* h) const { SHPClose(h); }
};
struct ChiudiDbf {
    void operator()(DBFInfo* h) const { DBFClose(h); }
};
struct Distruggi {
    void operator()(SHPObject* o) const { SHPDestroyObject(o); }
};

std::string Ritaglia(const char* s) {
    std::string t = s ? s : "";
    const auto a = t.find_first_not_of(' ');
    if (a == std::string::npos)
        return {};
    return t.substr(a, t.find_last_not_of(' ') - a + 1);
}

// Compares what shapelib reads at percorso with our reading of the same file.
void ConfrontaConShapelib(const fs::path& percorso) {
    SCOPED_TRACE(percorso.string());
    TShapefile nostro;
    ASSERT_TRUE(nostro.Apri(percorso)) << nostro.Errore();
    std::unique_ptr<SHPInfo, ChiudiShp> shp(SHPOpen(percorso.string().c_str(), "rb"));
    std::unique_ptr<DBFInfo, ChiudiDbf> dbf(DBFOpen(percorso.string().c_str(), "rb"));
    ASSERT_TRUE(shp && dbf);
    int n = 0, tipo = 0;
    SHPGetInfo(shp.get(), &n, &tipo, nullptr, nullptr);
    ASSERT_EQ(nostro.NumShape(), n);
    ASSERT_EQ(nostro.Tipo(), tipo % 10 == 8 ? ShapePunto : tipo % 10);
    std::size_t punti = 0;
    for (int i = 0; i < n; ++i) {
        std::unique_ptr<SHPObject, Distruggi> o(SHPReadObject(shp.get(), i));
        ASSERT_TRUE(o) << "shape " << i;
        const TShape& s = nostro.Shape(i);
        if (o->nSHPType == SHPT_NULL || o->nVertices == 0) {
            EXPECT_TRUE(s.punti.empty()) << "shape " << i;
            continue;
        }
        ASSERT_EQ(s.punti.size(), static_cast<std::size_t>(o->nVertices)) << "shape " << i;
        const std::vector<int> parti = o->nParts > 0 ? std::vector<int>(o->panPartStart, o->panPartStart + o->nParts)
                                                     : std::vector<int>{0};
        EXPECT_EQ(s.parti, parti) << "shape " << i;
        for (int k = 0; k < o->nVertices; ++k)
            if (s.punti[static_cast<std::size_t>(k)].x != o->padfX[k] ||
                s.punti[static_cast<std::size_t>(k)].y != o->padfY[k]) {
                ADD_FAILURE() << "shape " << i << ", punto " << k;
                break;
            }
        punti += s.punti.size();
    }
    EXPECT_GT(punti, 0u);
    const int nc = DBFGetFieldCount(dbf.get());
    ASSERT_EQ(nostro.NumCampi(), nc);
    for (int c = 0; c < nc; ++c) {
        char nome[12] = {};
        int larghezza = 0, decimali = 0;
        const DBFFieldType t = DBFGetFieldInfo(dbf.get(), c, nome, &larghezza, &decimali);
        EXPECT_EQ(nostro.Campo(c).nome, nome);
        EXPECT_EQ(nostro.Campo(c).larghezza, larghezza);
        EXPECT_EQ(nostro.Campo(c).tipo,
                  t == FTInteger ? CampoIntero : (t == FTDouble ? CampoReale : CampoTesto))
            << nome;
    }
    ASSERT_EQ(DBFGetRecordCount(dbf.get()), n);
    for (int i = 0; i < n; ++i)
        for (int c = 0; c < nc; ++c) {
            const std::string atteso =
                DBFIsAttributeNULL(dbf.get(), i, c) ? std::string() : Ritaglia(DBFReadStringAttribute(dbf.get(), i, c));
            if (nostro.ValoreCella(c, i) != atteso) {
                ADD_FAILURE() << "record " << i << ", campo " << c << ": \"" << nostro.ValoreCella(c, i)
                              << "\" invece di \"" << atteso << "\"";
                return;
            }
        }
}

} // namespace

TEST(ShapefileOracolo, LeSorgentiInData) {
    for (const char* f : {"regions", "provinces", "municipalities", "lakes", "rivers"})
        ConfrontaConShapelib(fs::path(VELTRANO_SORGENTI) / "data" / (std::string(f) + ".shp"));
}

TEST(ShapefileOracolo, ILayerGeneratiDelDialogo) {
    const fs::path d = fs::path(VELTRANO_DATI) / "Shape";
    for (const char* f : {"regioni2010/reg2010_s.shp", "province2010/prov2010_s.shp", "comuni2010/com2010_s.shp",
                          "Griglia/Griglia.shp", "Dettagli/ITA_water_areas_dcw.shp",
                          "Dettagli/ITA_water_lines_dcw.shp"})
        ConfrontaConShapelib(d / f);
}

// The cell outline as the dialog writes it, and a polygon with a hole and
// a Windows-1252 name: shapelib reads back what we wrote.
TEST(ShapefileOracolo, IlNostroScrittoLettoDaShapelib) {
    const fs::path dir = fs::temp_directory_path() / ("veltrano_oracolo_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const TNodiCella nodi{TPunto{13.35, 42.31}, TPunto{13.42, 42.31}, TPunto{13.35, 42.37}, TPunto{13.42, 42.37}};
    const TShapefile contorno = ShapefileContorno(nodi);
    ASSERT_TRUE(SalvaContorno(contorno, dir));
    ConfrontaConShapelib(dir / "Contorni.shp");
    ConfrontaConShapelib(dir / "Shape" / "Contorni.shp");

    TShapefile sf;
    sf.Crea(ShapePoligono);
    sf.InizioModifica();
    sf.InserisciCampo({"NOME", CampoTesto, 20, 0}, 0);
    sf.InserisciCampo({"ABITANTI", CampoIntero, 9, 0}, 1);
    sf.InserisciCampo({"QUOTA", CampoReale, 10, 3}, 2);
    TShape s;
    s.tipo = ShapePoligono;
    s.parti = {0, 5};
    s.punti = {{0, 0}, {0, 10}, {10, 10}, {10, 0}, {0, 0}, {4, 4}, {6, 4}, {6, 6}, {4, 6}, {4, 4}};
    sf.InserisciShape(s, 0);
    sf.ImpostaCella(0, 0, "Forl\xEC");
    sf.ImpostaCella(1, 0, "-118000");
    sf.ImpostaCella(2, 0, "34.125");
    sf.FineModifica(true);
    ASSERT_TRUE(sf.SalvaCome(dir / "prova.shp")) << sf.Errore();
    ConfrontaConShapelib(dir / "prova.shp");
    std::unique_ptr<DBFInfo, ChiudiDbf> dbf(DBFOpen((dir / "prova.dbf").string().c_str(), "rb"));
    ASSERT_TRUE(dbf);
    EXPECT_EQ(DBFReadIntegerAttribute(dbf.get(), 0, 1), -118000);
    EXPECT_DOUBLE_EQ(DBFReadDoubleAttribute(dbf.get(), 0, 2), 34.125);
    // The code page file wins over the table's language driver byte.
    EXPECT_STREQ(DBFGetCodePage(dbf.get()), "1252");
    fs::remove_all(dir);
}
