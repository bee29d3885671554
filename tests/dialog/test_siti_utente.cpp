// The user's sites: CoorLocUtente.dat byte by byte, files whose counts lie,
// random damage, and the editor's add, edit, delete and choice in the form.
#include "dialog/TFMapMain.h"
#include "dialog/coordinate.h"
#include "dialog/siti_utente.h"
#include "geo/datum.h"
#include "map/file.h"
#include "tests/dialog/vista_prova.h"
#include "tests/supporto_dati.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

using namespace veltrano;
using namespace veltrano::dialogo;
using C = TControllo;

namespace {

std::vector<uint8_t> Intero(int32_t v) {
    std::vector<uint8_t> b(4);
    std::memcpy(b.data(), &v, 4);
    return b;
}

void Aggiungi(std::vector<uint8_t>& b, const std::vector<uint8_t>& c) { b.insert(b.end(), c.begin(), c.end()); }

// A header: NomeLoc, NumLoc and the count of names.
std::vector<uint8_t> Testa(int32_t numLoc, int32_t n) {
    std::vector<uint8_t> b(256, 0);
    Aggiungi(b, Intero(numLoc));
    Aggiungi(b, Intero(n));
    return b;
}

struct Form {
    test::CartellaTemporanea dati;
    test::TVistaProva vista;
    std::unique_ptr<TFMapMain> f;
    std::filesystem::path File() const { return dati.p / "CoorLocUtente.dat"; }
    explicit Form(const std::string& nome, const std::vector<uint8_t>* file = nullptr) : dati(nome) {
        if (file)
            mappa::ScriviFileSicuro(File(), *file);
        Apri();
    }
    void Apri() {
        f.reset();
        f = std::make_unique<TFMapMain>(dati.p, vista);
        f->MappaDimensioni(900, 700);
        f->Mostrato();
        f->Scelto(C::Radiogroup1, ModoUtente);
    }
    void Nuovo(const std::string& nome, const std::string& lon, const std::string& lat) {
        f->Cambiato(C::edComUt, nome);
        f->Cambiato(C::EdLongUt, lon);
        f->Cambiato(C::EdLatUt, lat);
        f->Click(C::ToolButton13);
    }
    std::vector<uint8_t> Byte() const { return *mappa::LeggiFile(File()); }
};

} // namespace

TEST(FileSitiUtente, PrimaAggiuntaSenzaFile) {
    Form t("prima");
    EXPECT_FALSE(mappa::Esiste(t.File()));
    t.Nuovo("Cantiere", "12.5", "41.9");
    const auto b = t.Byte();
    ASSERT_EQ(b.size(), 264u + 2 * 256 + 4 + 8 + 4 + 8) << "800 bytes";
    const TCoordLocUt c = DecodificaLocUtente(b);
    EXPECT_EQ(c.NumLoc, 1);
    ASSERT_EQ(c.Nome.size(), 2u);
    EXPECT_EQ(c.Nome[0], "Cantiere");
    EXPECT_EQ(c.Nome[1], "") << "the blank spare entry";
    EXPECT_EQ(c.Lon, (std::vector<float>{12.5f, 0.0f}));
    EXPECT_EQ(c.Lat, (std::vector<float>{41.9f, 0.0f}));
    EXPECT_EQ(c.NomeLoc, "Cantiere");
    EXPECT_EQ(b[256], 1) << "NumLoc little-endian after the 256-byte name";
    EXPECT_FALSE(mappa::Esiste(t.dati.p / "CoorLocUtente.dat.tmp"));
}

TEST(FileSitiUtente, ContiCheMentonoSonoRifiutati) {
    struct Caso {
        const char* nome;
        std::vector<uint8_t> b;
    };
    std::vector<Caso> casi;
    casi.push_back({"short header", std::vector<uint8_t>(100, 0)});
    casi.push_back({"negative NumLoc", [] { auto b = Testa(-1, 0); Aggiungi(b, Intero(0)); Aggiungi(b, Intero(0)); return b; }()});
    casi.push_back({"negative names", Testa(0, -5)});
    casi.push_back({"huge names", Testa(0, 0x7FFFFFFF)});
    casi.push_back({"names past the end", [] { auto b = Testa(0, 2); b.resize(b.size() + 300); return b; }()});
    casi.push_back({"huge longitudes", [] { auto b = Testa(0, 0); Aggiungi(b, Intero(0x40000000)); return b; }()});
    casi.push_back({"negative latitudes", [] { auto b = Testa(0, 0); Aggiungi(b, Intero(0)); Aggiungi(b, Intero(-3)); return b; }()});
    casi.push_back({"NumLoc beyond the entries", [] {
                        auto b = Testa(3, 1);
                        b.resize(b.size() + 256);
                        Aggiungi(b, Intero(1));
                        Aggiungi(b, Intero(0));
                        Aggiungi(b, Intero(1));
                        Aggiungi(b, Intero(0));
                        return b;
                    }()});
    casi.push_back({"no latitudes", [] { auto b = Testa(0, 0); Aggiungi(b, Intero(0)); return b; }()});
    for (const Caso& c : casi)
        EXPECT_THROW(DecodificaLocUtente(c.b), ErroreLettura) << c.nome;
    // Bytes after the last array are left alone.
    auto b = Testa(0, 0);
    Aggiungi(b, Intero(0));
    Aggiungi(b, Intero(0));
    b.push_back(7);
    EXPECT_EQ(DecodificaLocUtente(b).NumLoc, 0);
}

TEST(FileSitiUtente, DanniCasualiNonFannoCadere) {
    TCoordLocUt c;
    c.NumLoc = 2;
    c.Nome = {"Cantiere", "Stabilimento", ""};
    c.Lon = {12.5f, 9.19f, 0};
    c.Lat = {41.9f, 45.46f, 0};
    const std::vector<uint8_t> buono = CodificaLocUtente(c);
    std::mt19937 caso(9);
    for (int i = 0; i < 20000; ++i) {
        std::vector<uint8_t> b = buono;
        const int colpi = 1 + static_cast<int>(caso() % 8);
        for (int k = 0; k < colpi; ++k)
            b[caso() % b.size()] = static_cast<uint8_t>(caso());
        if (caso() % 4 == 0)
            b.resize(caso() % b.size());
        EXPECT_EQ(ProvaLocUtente(b.data(), b.size()), 0);
    }
    EXPECT_EQ(ProvaLocUtente(nullptr, 0), 0);
}

TEST(SitiUtente, FileDanneggiatoMessaggioEConservato) {
    const auto rotto = Testa(0, 0x7FFFFFFF);
    Form t("danneggiato", &rotto);
    ASSERT_EQ(t.vista.messaggi.size(), 1u);
    EXPECT_NE(t.vista.messaggi[0].find("CoorLocUtente.dat"), std::string::npos) << t.vista.messaggi[0];
    EXPECT_EQ(t.f->Stato(C::cmb_ComUt).elementi.size(), 1u) << "an empty list";
    EXPECT_EQ(t.Byte(), rotto) << "opening changes nothing";
    t.Nuovo("Cantiere", "12.5", "41.9");
    EXPECT_EQ(*mappa::LeggiFile(t.dati.p / "CoorLocUtente.dat.danneggiato"), rotto) << "kept beside the new file";
    EXPECT_EQ(DecodificaLocUtente(t.Byte()).NumLoc, 1);
}

TEST(SitiUtente, AggiungiRiapriEScegli) {
    Form t("aggiungi");
    t.Nuovo("Cantiere", "12.5", "41.9");
    EXPECT_EQ(t.f->Stato(C::cmb_ComUt).elementi, (std::vector<std::string>{"- Scegliere il comune -", "Cantiere"}))
        << "after a store the placeholder reads as the municipality list's";
    EXPECT_EQ(t.f->Testo(C::cmb_ComUt), "Cantiere");
    for (C c : {C::edComUt, C::EdLongUt, C::EdLatUt})
        EXPECT_EQ(t.f->Testo(c), "");
    // The stored site is the dialog's site in full, ED50 items and report
    // included, not only its WGS84 items.
    const Coordinate e = ConvCoord_WGS84toED50(12.5f, 41.9f);
    EXPECT_EQ(t.f->Testo(C::NxTextItem5), FormatoCoordinata(e.Lon));
    EXPECT_EQ(t.f->Testo(C::NxTextItem6), FormatoCoordinata(e.Lat));
    EXPECT_EQ(t.f->Rapporto()[0].rfind("Comune di Roma", 0), 0u);
    t.Apri();
    EXPECT_EQ(t.f->Stato(C::cmb_ComUt).elementi, (std::vector<std::string>{"- Scegliere la località -", "Cantiere"}));
    t.f->Scelto(C::cmb_ComUt, 1);
    EXPECT_EQ(t.f->Testo(C::Edit1), "12.5000");
    EXPECT_EQ(t.f->Testo(C::Edit2), "41.9000");
    EXPECT_EQ(t.f->sCom, "Roma");
    EXPECT_EQ(t.f->Rapporto().size(), 10u);
    EXPECT_EQ(t.f->Rapporto()[0].rfind("Comune di Roma", 0), 0u);
}

TEST(SitiUtente, ModificaEliminaEOrdine) {
    Form t("modifica");
    t.Nuovo("Uno", "12.11111", "41.1");
    t.Nuovo("Due", "12.22222", "41.2");
    t.Nuovo("Tre", "12.33333", "41.3");
    ASSERT_EQ(t.f->CoorLocUt.NumLoc, 3);
    // Edit: the current site is stored under the chosen name.
    t.f->Scelto(C::cmb_ComUt, 2);
    t.f->Cambiato(C::Edit1, "13.0000");
    t.f->Premuto(C::ToolButton16, true);
    EXPECT_EQ(t.f->Testo(C::edComUt), "Due");
    EXPECT_EQ(t.f->Testo(C::EdLongUt), "13.0000");
    t.f->Cambiato(C::edComUt, "Due bis");
    t.f->Premuto(C::ToolButton16, false);
    TCoordLocUt c = DecodificaLocUtente(t.Byte());
    EXPECT_EQ(c.NumLoc, 3);
    EXPECT_EQ(c.Nome[1], "Due bis");
    EXPECT_EQ(c.Lon[1], 13.0f);
    // Delete the middle one: the others keep their order; the one that
    // moves into its place is stored again, rounded to 4 decimals.
    t.f->Scelto(C::cmb_ComUt, 2);
    t.f->Click(C::ToolButton17);
    c = DecodificaLocUtente(t.Byte());
    ASSERT_EQ(c.NumLoc, 2);
    EXPECT_EQ(c.Nome[0], "Uno");
    EXPECT_EQ(c.Nome[1], "Tre");
    EXPECT_EQ(c.Lon[0], 12.11111f);
    EXPECT_EQ(c.Lon[1], 12.3333f);
    EXPECT_EQ(t.f->Testo(C::cmb_ComUt), "Uno") << "the first site is chosen after a delete";
    // Deleting down to none leaves one blank entry.
    t.f->Click(C::ToolButton17);
    t.f->Scelto(C::cmb_ComUt, 1);
    t.f->Click(C::ToolButton17);
    c = DecodificaLocUtente(t.Byte());
    EXPECT_EQ(c.NumLoc, 0);
    ASSERT_EQ(c.Nome.size(), 1u);
    EXPECT_EQ(c.Nome[0], "");
    EXPECT_EQ(t.Byte().size(), 264u + 256 + 4 + 4 + 4 + 4);
}

TEST(SitiUtente, SegnapostoONonNumeriNonCambianoNulla) {
    Form t("nulla");
    t.Nuovo("Cantiere", "12.5", "41.9");
    t.f->Scelto(C::cmb_ComUt, 0);
    const auto prima = t.Byte();
    t.f->Premuto(C::ToolButton16, true);
    EXPECT_FALSE(t.f->Giu(C::ToolButton16)) << "no site to edit";
    t.f->Premuto(C::ToolButton16, false);
    t.f->Click(C::ToolButton17);
    EXPECT_EQ(t.Byte(), prima);
    EXPECT_EQ(t.f->CoorLocUt.NumLoc, 1);
    // Regression: a longitude that was not a number left a blank site in
    // the count before the store failed (issue 9).
    t.f->Cambiato(C::edComUt, "Rotto");
    t.f->Cambiato(C::EdLongUt, "dodici");
    t.f->Cambiato(C::EdLatUt, "41");
    t.f->Click(C::ToolButton13);
    EXPECT_EQ(t.vista.messaggi.back(), "\"dodici\" non è un valore numerico valido");
    EXPECT_EQ(t.f->CoorLocUt.NumLoc, 1);
    EXPECT_EQ(t.Byte(), prima);
    EXPECT_EQ(t.f->Stato(C::cmb_ComUt).elementi.size(), 2u) << "the list is still there";
    t.Nuovo("Altro", "9", "45");
    EXPECT_EQ(DecodificaLocUtente(t.Byte()).NumLoc, 2);
}

TEST(SitiUtente, ScritturaImpossibileDaUnMessaggioENonPerdeNulla) {
    Form t("impossibile");
    t.Nuovo("Cantiere", "12.5", "41.9");
    const auto prima = t.Byte();
    // A folder where the temporary file would go: the store fails.
    std::filesystem::create_directories(t.dati.p / "CoorLocUtente.dat.tmp" / "x");
    t.Nuovo("Secondo", "9", "45");
    ASSERT_FALSE(t.vista.messaggi.empty());
    EXPECT_NE(t.vista.messaggi.back().find("CoorLocUtente.dat"), std::string::npos);
    EXPECT_EQ(t.Byte(), prima);
    EXPECT_EQ(t.f->CoorLocUt.NumLoc, 1) << "the list shows what the file holds";
    EXPECT_EQ(t.f->Stato(C::cmb_ComUt).elementi.size(), 2u);
}
