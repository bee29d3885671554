// The shapefile object: create, edit, save and read back through shapelib;
// point-in-shape with holes; an editing session closed without applying.
#include "map/shapefile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

using namespace veltrano::mappa;

namespace {

std::filesystem::path Cartella() {
    auto p = std::filesystem::temp_directory_path() / ("veltrano_shp_" + std::to_string(::getpid()));
    std::filesystem::create_directories(p);
    return p;
}

// A 10 x 10 degree square with a 2 x 2 hole in its middle.
TShape QuadratoBucato() {
    TShape s;
    s.tipo = ShapePoligono;
    s.parti = {0, 5};
    s.punti = {{0, 0}, {0, 10}, {10, 10}, {10, 0}, {0, 0}, {4, 4}, {6, 4}, {6, 6}, {4, 6}, {4, 4}};
    return s;
}

} // namespace

TEST(Shapefile, PuntoNelPoligonoConBuco) {
    TShapefile sf;
    sf.Crea(ShapePoligono);
    ASSERT_TRUE(sf.InizioModifica());
    sf.InserisciShape(QuadratoBucato(), 0);
    sf.FineModifica(true);
    EXPECT_TRUE(sf.PuntoInShape(0, 1, 1));
    EXPECT_FALSE(sf.PuntoInShape(0, 5, 5)) << "in the hole";
    EXPECT_FALSE(sf.PuntoInShape(0, 11, 5));
    EXPECT_FALSE(sf.PuntoInShape(1, 1, 1)) << "no such shape";
    EXPECT_DOUBLE_EQ(sf.Estensione().xMax, 10);
}

TEST(Shapefile, CreaModificaSalvaERilegge) {
    const auto dir = Cartella();
    TShapefile sf;
    sf.Crea(ShapePoligono);
    EXPECT_FALSE(sf.InserisciShape(QuadratoBucato(), 0)) << "outside editing";
    ASSERT_TRUE(sf.InizioModifica());
    ASSERT_TRUE(sf.InserisciCampo({"NOME", CampoTesto, 30, 0}, 0));
    ASSERT_TRUE(sf.InserisciCampo({"VALORE", CampoReale, 12, 4}, 1));
    ASSERT_TRUE(sf.InserisciShape(QuadratoBucato(), 0));
    TShape vuoto;
    vuoto.tipo = ShapePoligono;
    ASSERT_TRUE(sf.InserisciShape(vuoto, 1));
    for (TPunto p : {TPunto{20, 20}, TPunto{20, 21}, TPunto{21, 21}, TPunto{20, 20}})
        ASSERT_TRUE(sf.InserisciPunto(1, p));
    ASSERT_TRUE(sf.ImpostaCella(0, 0, "Forl\xEC"));
    ASSERT_TRUE(sf.ImpostaCella(1, 1, "2.5"));
    ASSERT_TRUE(sf.FineModifica(true));
    const std::string file = (dir / "prova.shp").string();
    ASSERT_TRUE(sf.SalvaCome(file));

    TShapefile letto;
    ASSERT_TRUE(letto.Apri(file));
    EXPECT_EQ(letto.Tipo(), ShapePoligono);
    ASSERT_EQ(letto.NumShape(), 2);
    ASSERT_EQ(letto.NumCampi(), 2);
    EXPECT_EQ(letto.Campo(1).nome, "VALORE");
    EXPECT_EQ(letto.ValoreCella(0, 0), "Forl\xEC");
    EXPECT_DOUBLE_EQ(letto.ValoreCellaNumero(1, 1), 2.5);
    EXPECT_EQ(letto.Shape(0).parti.size(), 2u);
    EXPECT_EQ(letto.Shape(1).punti.size(), 4u);
    EXPECT_DOUBLE_EQ(letto.Shape(1).estensione.yMax, 21);
    EXPECT_FALSE(letto.PuntoInShape(0, 5, 5));
    std::filesystem::remove_all(dir);
}

TEST(Shapefile, ModificaAnnullataLasciaTuttoComEra) {
    TShapefile sf;
    sf.Crea(ShapePoligono);
    sf.InizioModifica();
    sf.InserisciShape(QuadratoBucato(), 0);
    sf.FineModifica(true);
    sf.InizioModifica();
    sf.InserisciCampo({"X", CampoIntero, 5, 0}, 0);
    sf.InserisciShape(QuadratoBucato(), 1);
    sf.FineModifica(false);
    EXPECT_EQ(sf.NumShape(), 1);
    EXPECT_EQ(sf.NumCampi(), 0);
}

TEST(Shapefile, FileMancante) {
    TShapefile sf;
    EXPECT_FALSE(sf.Apri("/nessuna/cartella/strade.shp"));
    EXPECT_FALSE(sf.Aperto());
    EXPECT_EQ(sf.NumShape(), 0);
    EXPECT_EQ(sf.ValoreCella(0, 0), "");
}
