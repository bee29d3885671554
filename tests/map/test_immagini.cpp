// Files the map writes: Windows bitmaps field by field, the outline of the
// site's grid cell, and the safe rewrite that never leaves half a file.
#include "map/bitmap.h"
#include "map/contorno.h"
#include "map/file.h"
#include "tests/supporto_dati.h"
#include "veltrano/veltrano.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

using namespace veltrano;
using namespace veltrano::mappa;

namespace {

uint32_t LE32(const std::vector<uint8_t>& b, std::size_t p) {
    return b[p] | (b[p + 1] << 8) | (b[p + 2] << 16) | (static_cast<uint32_t>(b[p + 3]) << 24);
}

} // namespace

TEST(Bitmap, IntestazioneRigheDalBassoEImbottitura) {
    TImmagine im;
    im.larghezza = 3; // 9 bytes a row, padded to 12
    im.altezza = 2;
    im.pixel = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF,  // top row: red, green, blue
                0xFF102030, 0xFF405060, 0xFF708090}; // bottom row
    const std::vector<uint8_t> b = CodificaBitmap(im);
    ASSERT_EQ(b.size(), 54u + 12u * 2u);
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    EXPECT_EQ(LE32(b, 2), b.size());
    EXPECT_EQ(LE32(b, 10), 54u);
    EXPECT_EQ(LE32(b, 14), 40u);
    EXPECT_EQ(LE32(b, 18), 3u);
    EXPECT_EQ(LE32(b, 22), 2u) << "positive height: rows bottom-up";
    EXPECT_EQ(b[28], 24);
    EXPECT_EQ(LE32(b, 30), 0u) << "no compression";
    // The file's first row is the picture's bottom row, blue-green-red.
    EXPECT_EQ(b[54], 0x30);
    EXPECT_EQ(b[55], 0x20);
    EXPECT_EQ(b[56], 0x10);
    EXPECT_EQ(b[54 + 9], 0) << "padding";
    EXPECT_EQ(b[54 + 12], 0x00);
    EXPECT_EQ(b[54 + 12 + 2], 0xFF) << "top-left pixel is red";
    EXPECT_EQ(im.Colore(0, 0), RGBWin(255, 0, 0));
    EXPECT_EQ(im.Colore(9, 9), 0u);
    // An empty picture still gives a valid file (a white pixel).
    const std::vector<uint8_t> vuota = CodificaBitmap(TImmagine{});
    EXPECT_EQ(vuota.size(), 58u);
    TImmagine bugiarda;
    bugiarda.larghezza = 1000;
    bugiarda.altezza = 1000; // no pixels behind the size
    EXPECT_EQ(CodificaBitmap(bugiarda).size(), 58u);
}

TEST(FileSicuro, UnaScritturaFallitaLasciaIlFileDiPrima) {
    test::CartellaTemporanea t("file_sicuro");
    const auto f = t.p / "dati.bin";
    ScriviFileSicuro(f, std::vector<uint8_t>{1, 2, 3});
    EXPECT_EQ(*LeggiFile(f), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_FALSE(Esiste(t.p / "dati.bin.tmp"));
    EXPECT_FALSE(LeggiFile(t.p / "manca.bin"));
    EXPECT_THROW(LeggiFile(t.p), ErroreApertura) << "a folder is no file";
    // A folder in the way of the rename: the write fails, nothing is lost.
    std::filesystem::create_directories(t.p / "cartella" / "dentro");
    EXPECT_THROW(ScriviFileSicuro(t.p / "cartella", std::vector<uint8_t>{9}), Errore);
    EXPECT_TRUE(std::filesystem::is_directory(t.p / "cartella"));
    EXPECT_FALSE(Esiste(t.p / "cartella.tmp"));
    EXPECT_THROW(ScriviFileSicuro(t.p / "non" / "c'e" / "x.bin", std::vector<uint8_t>{9}), ErroreApertura);
    TImmagine im;
    im.larghezza = im.altezza = 2;
    im.pixel.assign(4, 0xFF000000);
    SalvaBitmap(t.p / "mappa.bmp", im);
    EXPECT_EQ(std::filesystem::file_size(t.p / "mappa.bmp"), 54u + 8u * 2u);
}

TEST(Contorno, CampiEVerticiInseritiInTesta) {
    const TNodiCella n{TPunto{13.0, 42.0}, TPunto{13.1, 42.0}, TPunto{13.0, 42.1}, TPunto{13.1, 42.1}};
    const TShapefile sf = ShapefileContorno(n);
    ASSERT_EQ(sf.NumShape(), 1);
    EXPECT_EQ(sf.Tipo(), ShapePoligono);
    ASSERT_EQ(sf.NumCampi(), 2);
    EXPECT_EQ(sf.Campo(0).nome, "Lat");
    EXPECT_EQ(sf.Campo(1).nome, "Lon");
    EXPECT_EQ(sf.Campo(0).tipo, CampoReale);
    // Field 0 holds the longitude of node 3, field 1 its latitude.
    EXPECT_DOUBLE_EQ(sf.ValoreCellaNumero(0, 0), 13.0);
    EXPECT_DOUBLE_EQ(sf.ValoreCellaNumero(1, 0), 42.1);
    const auto& p = sf.Shape(0).punti;
    ASSERT_EQ(p.size(), 5u);
    const int ordine[4] = {2, 4, 1, 3};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(p[static_cast<std::size_t>(i)].x, n[static_cast<std::size_t>(ordine[i] - 1)].x) << i;
        EXPECT_EQ(p[static_cast<std::size_t>(i)].y, n[static_cast<std::size_t>(ordine[i] - 1)].y) << i;
    }
    EXPECT_EQ(p[4].x, p[0].x) << "the ring is closed";

    test::CartellaTemporanea t("contorno");
    std::filesystem::create_directories(t.p / "Shape");
    EXPECT_TRUE(SalvaContorno(sf, t.p));
    for (const char* e : {".shp", ".shx", ".dbf"}) {
        EXPECT_TRUE(Esiste(t.p / (std::string("Contorni") + e))) << e;
        EXPECT_TRUE(Esiste(t.p / "Shape" / (std::string("Contorni") + e))) << e;
    }
    TShapefile letto;
    ASSERT_TRUE(letto.Apri((t.p / "Contorni.shp").string()));
    EXPECT_EQ(letto.NumShape(), 1);
    EXPECT_NEAR(letto.ValoreCellaNumero(0, 0), 13.0, 1e-6);
}

TEST(Contorno, LatiDellaMagliaEIdentificativiNeri) {
    TMappa m;
    const TNodiCella n{TPunto{13.0, 42.0}, TPunto{13.1, 42.1}, TPunto{13.0, 42.1}, TPunto{13.1, 42.0}};
    DisegnaContornoMaglia(m, n);
    ASSERT_EQ(m.NumDisegni(), 1);
    const auto& l = m.Disegni()[0].linee;
    ASSERT_EQ(l.size(), 4u);
    // 1-2, 2-4, 4-3, 3-1.
    EXPECT_EQ(l[0].x1, 13.0);
    EXPECT_EQ(l[0].x2, 13.1);
    EXPECT_EQ(l[1].y2, 42.0);
    EXPECT_EQ(l[3].x2, 13.0);
    EXPECT_EQ(l[3].y2, 42.0);
    for (const auto& s : l) {
        EXPECT_EQ(s.c, 0u);
        EXPECT_EQ(s.spessore, 1);
    }
}
