// The shapefile object: create, edit, save and read back; point-in-shape
// with holes; an editing session closed without applying; files without an
// index or a table; damaged and hostile files refused with a reason, never
// read past their end.
#include "map/shapefile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <random>
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

// Two polygons (the second empty, a null record) with a text and a real field.
TShapefile Esempio() {
    TShapefile sf;
    sf.Crea(ShapePoligono);
    sf.InizioModifica();
    sf.InserisciCampo({"NOME", CampoTesto, 30, 0}, 0);
    sf.InserisciCampo({"VALORE", CampoReale, 12, 4}, 1);
    sf.InserisciShape(QuadratoBucato(), 0);
    TShape vuoto;
    vuoto.tipo = ShapePoligono;
    sf.InserisciShape(vuoto, 1);
    sf.InserisciShape(QuadratoBucato(), 2);
    sf.ImpostaCella(0, 0, "Forl\xEC");
    sf.ImpostaCella(1, 0, "-2.5");
    sf.FineModifica(true);
    return sf;
}

void ScriviU32(std::vector<uint8_t>& b, std::size_t at, uint32_t v, bool grande) {
    for (int i = 0; i < 4; ++i)
        b[at + static_cast<std::size_t>(i)] = static_cast<uint8_t>(v >> (grande ? 24 - 8 * i : 8 * i));
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
    const auto file = dir / "prova.shp";
    ASSERT_TRUE(sf.SalvaCome(file)) << sf.Errore();
    EXPECT_FALSE(std::filesystem::exists(dir / "prova.shp.tmp"));

    TShapefile letto;
    ASSERT_TRUE(letto.Apri(file)) << letto.Errore();
    EXPECT_EQ(letto.Tipo(), ShapePoligono);
    ASSERT_EQ(letto.NumShape(), 2);
    ASSERT_EQ(letto.NumCampi(), 2);
    EXPECT_EQ(letto.Campo(1).nome, "VALORE");
    EXPECT_EQ(letto.Campo(1).tipo, CampoReale);
    EXPECT_EQ(letto.Campo(1).decimali, 4);
    EXPECT_EQ(letto.ValoreCella(0, 0), "Forl\xEC");
    EXPECT_EQ(letto.ValoreCella(1, 0), "") << "no value written as a null number";
    EXPECT_EQ(letto.ValoreCella(1, 1), "2.5000");
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

TEST(Shapefile, FileMancanteOCartella) {
    TShapefile sf;
    EXPECT_FALSE(sf.Apri("/nessuna/cartella/strade.shp"));
    EXPECT_FALSE(sf.Aperto());
    EXPECT_NE(sf.Errore().find("mancante"), std::string::npos) << sf.Errore();
    EXPECT_EQ(sf.NumShape(), 0);
    EXPECT_EQ(sf.ValoreCella(0, 0), "");
    const auto dir = Cartella();
    std::filesystem::create_directories(dir / "strade.shp");
    EXPECT_FALSE(sf.Apri(dir / "strade.shp"));
    EXPECT_FALSE(sf.Errore().empty());
    std::filesystem::remove_all(dir);
}

// Users drop a main file alone, or with its table only: the records are
// then found one after the other, and the cells stay empty.
TEST(Shapefile, SenzaIndiceNeTabella) {
    TDatiShapefile d;
    const TShapefile sf = Esempio();
    ASSERT_TRUE(sf.Codifica(d)) << sf.Errore();
    TShapefile conIndice, senza;
    ASSERT_TRUE(conIndice.Leggi(d.shp, std::span<const uint8_t>(d.shx), std::nullopt));
    ASSERT_TRUE(senza.Leggi(d.shp, std::nullopt, std::span<const uint8_t>(d.dbf), false)) << senza.Errore();
    ASSERT_EQ(senza.NumShape(), 3);
    EXPECT_EQ(senza.NumCampi(), 0) << "table not asked for";
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(senza.Shape(i).punti.size(), conIndice.Shape(i).punti.size());
        EXPECT_EQ(senza.Shape(i).parti, conIndice.Shape(i).parti);
    }
    EXPECT_EQ(senza.Shape(1).tipo, ShapeNullo);
    EXPECT_EQ(conIndice.ValoreCella(0, 0), "");
}

// A table shorter than the shapes leaves the remaining cells empty; a
// number that does not fit its field is refused on saving, not cut.
TEST(Shapefile, TabellaCortaENumeroTroppoLargo) {
    TDatiShapefile d;
    TShapefile sf = Esempio();
    ASSERT_TRUE(sf.Codifica(d));
    ScriviU32(d.dbf, 4, 1, false); // one record declared, three there
    TShapefile letto;
    ASSERT_TRUE(letto.Leggi(d.shp, std::span<const uint8_t>(d.shx), std::span<const uint8_t>(d.dbf)));
    EXPECT_EQ(letto.ValoreCella(0, 0), "Forl\xEC");
    EXPECT_EQ(letto.ValoreCella(0, 2), "");

    sf.InizioModifica();
    sf.InserisciCampo({"N", CampoIntero, 3, 0}, 2);
    sf.ImpostaCella(2, 0, "12345");
    sf.FineModifica(true);
    EXPECT_FALSE(sf.Codifica(d));
    EXPECT_NE(sf.Errore().find("12345"), std::string::npos) << sf.Errore();
    sf.InizioModifica();
    sf.ImpostaCella(2, 0, "tre");
    sf.FineModifica(true);
    EXPECT_FALSE(sf.Codifica(d));
}

// Each way a file can lie about itself is refused with a reason.
TEST(Shapefile, FileOstiliRifiutati) {
    TDatiShapefile buono;
    ASSERT_TRUE(Esempio().Codifica(buono));
    // Main file: header (100) + record 1 (8 + 44 + 2*4 + 10*16 = 220) + record 2 (12) + record 3.
    const std::size_t r1 = 100, contenuto1 = r1 + 8;
    struct Caso {
        const char* nome;
        std::function<void(TDatiShapefile&)> guasta;
        const char* motivo;
    };
    const Caso casi[] = {
        {"non uno shapefile", [](TDatiShapefile& d) { ScriviU32(d.shp, 0, 1234, true); }, "non è uno shapefile"},
        {"intestazione corta", [](TDatiShapefile& d) { d.shp.resize(60); }, "intestazione"},
        {"file troncato", [](TDatiShapefile& d) { d.shp.resize(d.shp.size() - 9); }, "troncato"},
        {"versione", [](TDatiShapefile& d) { ScriviU32(d.shp, 28, 999, false); }, "versione"},
        {"tipo ignoto", [](TDatiShapefile& d) { ScriviU32(d.shp, 32, 31, false); }, "non gestito"},
        {"lunghezza nell'indice oltre il file",
         [](TDatiShapefile& d) { ScriviU32(d.shx, 104, 0x7FFFFFF0u, true); }, "esce dal file"},
        {"lunghezze discordi",
         [=](TDatiShapefile& d) { ScriviU32(d.shp, r1 + 4, 10, true); }, "nell'indice"},
        {"record sovrapposti",
         [](TDatiShapefile& d) {
             for (std::size_t at = 108; at + 8 <= d.shx.size(); at += 8)
                 std::memcpy(d.shx.data() + at, d.shx.data() + 100, 8);
         },
         "sovrappongono"},
        {"indice di lunghezza spuria", [](TDatiShapefile& d) { ScriviU32(d.shx, 24, 53, true); d.shx.resize(106); },
         "non 100 più 8"},
        {"parti negative", [=](TDatiShapefile& d) { ScriviU32(d.shp, contenuto1 + 36, 0xFFFFFFFFu, false); },
         "negativo"},
        {"punti negativi", [=](TDatiShapefile& d) { ScriviU32(d.shp, contenuto1 + 40, 0x80000000u, false); },
         "negativo"},
        {"troppi punti", [=](TDatiShapefile& d) { ScriviU32(d.shp, contenuto1 + 40, 0x7FFFFFFFu, false); },
         "non stanno"},
        {"parte fuori dai punti", [=](TDatiShapefile& d) { ScriviU32(d.shp, contenuto1 + 48, 10, false); },
         "inizia al punto"},
        {"parti non crescenti", [=](TDatiShapefile& d) { ScriviU32(d.shp, contenuto1 + 48, 0, false); },
         "inizia al punto"},
        {"coordinata NaN",
         [=](TDatiShapefile& d) {
             const double nan = std::nan("");
             std::memcpy(d.shp.data() + contenuto1 + 52, &nan, 8);
         },
         "coordinata"},
        {"tipo di record diverso", [=](TDatiShapefile& d) { ScriviU32(d.shp, contenuto1, 1, false); }, "diverso"},
        {"tabella troncata", [](TDatiShapefile& d) { d.dbf.resize(d.dbf.size() - 20); }, "troncato"},
        {"tabella con più record di quanti ne ha",
         [](TDatiShapefile& d) { ScriviU32(d.dbf, 4, 0xFFFFFFFFu, false); }, "troncato"},
        {"campo oltre il record", [](TDatiShapefile& d) { d.dbf[32 + 16] = 200; }, "esce dal record"},
        {"intestazione della tabella oltre il file",
         [](TDatiShapefile& d) { d.dbf[8] = 0xFF; d.dbf[9] = 0xFF; }, "intestazione"},
    };
    for (const Caso& c : casi) {
        TDatiShapefile d = buono;
        c.guasta(d);
        TShapefile sf;
        EXPECT_FALSE(sf.Leggi(d.shp, std::span<const uint8_t>(d.shx), std::span<const uint8_t>(d.dbf))) << c.nome;
        EXPECT_NE(sf.Errore().find(c.motivo), std::string::npos) << c.nome << ": " << sf.Errore();
        EXPECT_FALSE(sf.Aperto()) << c.nome;
        EXPECT_EQ(sf.NumShape(), 0) << c.nome;
    }
    // The same main-file faults without an index, found by the walk.
    TDatiShapefile d = buono;
    ScriviU32(d.shp, r1 + 4, 0x7FFFFFF0u, true);
    TShapefile sf;
    EXPECT_FALSE(sf.Leggi(d.shp, std::nullopt, std::nullopt));
    d = buono;
    d.shp.resize(d.shp.size() - 3);
    ScriviU32(d.shp, 24, static_cast<uint32_t>(d.shp.size() / 2), true);
    EXPECT_FALSE(sf.Leggi(d.shp, std::nullopt, std::nullopt));
}

// Random damage anywhere in the three files: each variant is either read
// whole or refused, never read out of bounds (the sanitizer build checks).
TEST(Shapefile, DanniCasualiMaiFuoriDaiLimiti) {
    TDatiShapefile buono;
    ASSERT_TRUE(Esempio().Codifica(buono));
    std::mt19937 caso(20260107);
    int accettati = 0;
    for (int prova = 0; prova < 3000; ++prova) {
        TDatiShapefile d = buono;
        std::vector<uint8_t>* f[] = {&d.shp, &d.shx, &d.dbf};
        auto& bersaglio = *f[caso() % 3];
        for (int k = 1 + static_cast<int>(caso() % 4); k > 0; --k)
            bersaglio[caso() % bersaglio.size()] = static_cast<uint8_t>(caso());
        if (caso() % 8 == 0)
            bersaglio.resize(caso() % bersaglio.size());
        TShapefile sf;
        if (sf.Leggi(d.shp, std::span<const uint8_t>(d.shx), std::span<const uint8_t>(d.dbf))) {
            ++accettati;
            for (int i = 0; i < sf.NumShape(); ++i)
                for (int c = 0; c < sf.NumCampi(); ++c)
                    (void)sf.ValoreCella(c, i);
        } else {
            EXPECT_FALSE(sf.Errore().empty());
        }
    }
    EXPECT_GT(accettati, 0) << "damage to the coordinates' bytes alone is still a shapefile";
}

TEST(Shapefile, IngressoPerIlFuzzing) {
    TDatiShapefile d;
    ASSERT_TRUE(Esempio().Codifica(d));
    auto unito = [](const std::vector<uint8_t>* shp, const std::vector<uint8_t>* shx,
                    const std::vector<uint8_t>* dbf) {
        std::vector<uint8_t> b(12);
        const std::vector<uint8_t>* f[] = {shp, shx, dbf};
        for (std::size_t i = 0; i < 3; ++i) {
            ScriviU32(b, 4 * i, f[i] ? static_cast<uint32_t>(f[i]->size()) : 0xFFFFFFFFu, false);
            if (f[i])
                b.insert(b.end(), f[i]->begin(), f[i]->end());
        }
        return b;
    };
    const auto tutto = unito(&d.shp, &d.shx, &d.dbf);
    EXPECT_EQ(ProvaShapefile(tutto.data(), tutto.size()), 1);
    const auto senzaIndice = unito(&d.shp, nullptr, &d.dbf);
    EXPECT_EQ(ProvaShapefile(senzaIndice.data(), senzaIndice.size()), 1);
    EXPECT_EQ(ProvaShapefile(tutto.data(), 30), 0);
    EXPECT_EQ(ProvaShapefile(tutto.data(), 5), 0);
}
