// The form's saving and printing without any window, through a view that
// answers the dialogs as the test says: the report's file with every line
// and tab, the picture's type and default names, the print jobs, and the
// spectra and site report of the current site (or a message without one).
#include "dialog/TFMapMain.h"
#include "dialog/testi_uscite.h"
#include "map/file.h"
#include "tests/dialog/vista_prova.h"
#include "tests/supporto_dati.h"

#include <gtest/gtest.h>

using namespace veltrano;
using namespace veltrano::dialogo;
using C = TControllo;

namespace {

struct TVistaUscite : test::TVistaProva {
    std::optional<std::filesystem::path> fileTesto;
    std::optional<TSceltaImmagine> immagine;
    std::vector<std::string> nomiOfferti;
    std::vector<std::filesystem::path> jpeg;
    std::vector<std::pair<std::string, std::vector<std::string>>> stampeRapporto;
    int stampeCartina = 0, spettri = 0, relazioni = 0;
    std::optional<TSitoDialogo> sito;

    bool OffreSpettri() const override { return true; }
    std::optional<std::filesystem::path> ScegliFileRapporto(const std::string& nome) override {
        nomiOfferti.push_back(nome);
        return fileTesto;
    }
    std::optional<TSceltaImmagine> ScegliFileImmagine(const std::string& nome) override {
        nomiOfferti.push_back(nome);
        return immagine;
    }
    void SalvaJpeg(const std::filesystem::path& f, const mappa::TImmagine&) override { jpeg.push_back(f); }
    bool StampaRapporto(const std::vector<std::string>& righe, const std::string& titoloLavoro) override {
        stampeRapporto.emplace_back(titoloLavoro, righe);
        return true;
    }
    bool StampaCartina(const mappa::TImmagine& im) override {
        stampeCartina += !im.Vuota();
        return true;
    }
    void MostraSpettri(const TSitoDialogo& s) override {
        ++spettri;
        sito = s;
    }
    bool StampaRelazione(const TSitoDialogo& s) override {
        ++relazioni;
        sito = s;
        return true;
    }
};

struct Form {
    test::CartellaTemporanea dati;
    TVistaUscite vista;
    std::unique_ptr<TFMapMain> f;
    explicit Form(const std::string& nome) : dati(nome) {
        f = std::make_unique<TFMapMain>(dati.p, vista);
        vista.Collega(f.get());
        vista.DimensioniMappa(900, 700);
        f->Mostrato();
    }
    void Sito(const char* lon, const char* lat) {
        f->Cambiato(C::Edit1, lon);
        f->Cambiato(C::Edit2, lat);
        f->Click(C::SB_Applica);
    }
};

TEST(SalvaRisultati, EveryLineAndTabInUtf8WithCrLf) {
    Form t("salva_risultati");
    t.Sito("13.3987", "42.3498");
    const auto& righe = t.f->Rapporto();
    ASSERT_GE(righe.size(), 10u);
    // Cancelled: nothing written.
    t.f->Click(C::ToolButton10);
    EXPECT_EQ(t.vista.nomiOfferti, std::vector<std::string>{"Nuovo.txt"});
    t.vista.fileTesto = t.dati.p / "Nuovo.txt";
    t.f->Click(C::ToolButton10);
    const auto byte = mappa::LeggiFile(t.dati.p / "Nuovo.txt");
    ASSERT_TRUE(byte);
    std::string atteso;
    for (const auto& r : righe)
        atteso += r + "\r\n";
    EXPECT_EQ(std::string(byte->begin(), byte->end()), atteso);
    EXPECT_NE(atteso.find("Punti della maglia:\t"), std::string::npos);
    EXPECT_NE(atteso.find("°"), std::string::npos) << "UTF-8, not a code page";
    // A second save overwrites the file whole.
    t.Sito("9.19", "45.46");
    t.f->Click(C::ToolButton10);
    const auto secondo = mappa::LeggiFile(t.dati.p / "Nuovo.txt");
    EXPECT_EQ(std::string(secondo->begin(), secondo->end()).substr(0, 12), t.f->Rapporto()[0].substr(0, 12));
    // A folder that does not exist: the failure reaches the front end, named.
    t.vista.fileTesto = t.dati.p / "manca" / "r.txt";
    EXPECT_THROW(t.f->Click(C::ToolButton10), Errore);
}

TEST(SalvaCartina, TheFilterDecidesTheTypeOfANameWithoutExtension) {
    Form t("salva_cartina");
    t.f->Click(C::TB_SalvaImm); // cancelled
    EXPECT_EQ(t.vista.nomiOfferti, std::vector<std::string>{"Nuovo"});
    EXPECT_TRUE(t.vista.jpeg.empty());
    // "Nuovo" under the bitmap entry writes Nuovo.bmp, a Windows bitmap.
    t.vista.immagine = TSceltaImmagine{t.dati.p / "Nuovo", FiltroBitmap};
    t.f->Click(C::TB_SalvaImm);
    const auto bmp = mappa::LeggiFile(t.dati.p / "Nuovo.bmp");
    ASSERT_TRUE(bmp);
    EXPECT_EQ((*bmp)[0], 'B');
    EXPECT_EQ((*bmp)[1], 'M');
    // Under the JPEG entry the front end's encoder writes Nuovo.jpg.
    t.vista.immagine = TSceltaImmagine{t.dati.p / "Nuovo", FiltroJpeg};
    t.f->Click(C::TB_SalvaImm);
    ASSERT_EQ(t.vista.jpeg.size(), 1u);
    EXPECT_EQ(t.vista.jpeg[0], t.dati.p / "Nuovo.jpg");
    // A name with a picture extension is written in that type.
    t.vista.immagine = TSceltaImmagine{t.dati.p / "mappa.BMP", FiltroJpeg};
    t.f->Click(C::TB_SalvaImm);
    EXPECT_EQ(t.vista.jpeg.size(), 1u);
    EXPECT_TRUE(mappa::Esiste(t.dati.p / "mappa.BMP"));
    EXPECT_EQ(EstensioneFiltro(FiltroJpeg), std::string("jpg"));
    EXPECT_EQ(EstensioneFiltro(7), std::string("bmp"));
}

TEST(Stampa, TheReportAsTheJobPippoAndTheMapAsItIs) {
    Form t("stampa");
    t.Sito("13.3987", "42.3498");
    t.f->Click(C::ToolButton11);
    ASSERT_EQ(t.vista.stampeRapporto.size(), 1u);
    EXPECT_EQ(t.vista.stampeRapporto[0].first, "pippo");
    EXPECT_EQ(t.vista.stampeRapporto[0].second, t.f->Rapporto());
    t.f->Click(C::TB_StampaImm);
    EXPECT_EQ(t.vista.stampeCartina, 1);
}

TEST(SpettriERelazione, TheCurrentSiteOrAMessage) {
    Form t("spettri");
    EXPECT_TRUE(t.f->Visibile(C::TB_Spettri));
    EXPECT_TRUE(t.f->Visibile(C::TB_Relazione));
    {
        // A front end without the spectra window shows neither button.
        test::TVistaProva nulla;
        TFMapMain senza(t.dati.p, nulla);
        EXPECT_FALSE(senza.Visibile(C::TB_Spettri));
        EXPECT_FALSE(senza.Visibile(C::TB_Relazione));
    }
    t.Sito("0", "0");
    const std::size_t prima = t.vista.messaggi.size();
    t.f->Click(C::TB_Spettri);
    t.f->Click(C::TB_Relazione);
    EXPECT_EQ(t.vista.spettri + t.vista.relazioni, 0);
    ASSERT_EQ(t.vista.messaggi.size(), prima + 2);
    EXPECT_EQ(t.vista.messaggi[prima], testi::SitoSenzaSpettri);

    t.Sito("13.3987", "42.3498");
    t.f->Cambiato(C::EditEx3, "100");
    t.f->Click(C::TB_Spettri);
    ASSERT_EQ(t.vista.spettri, 1);
    const TSitoDialogo& s = *t.vista.sito;
    EXPECT_EQ(s.comune, "L'Aquila");
    EXPECT_EQ(s.vn, 100) << "the building data as they are now";
    EXPECT_EQ(s.classe, 2);
    EXPECT_TRUE(s.esito.Valido());
    EXPECT_NEAR(s.lonWGS84, 13.3987, 1e-9);
    EXPECT_FLOAT_EQ(static_cast<float>(s.lonED50), float{s.dati.LonSitoED50});
    EXPECT_GT(float{s.dati.SLV.ag}, 0.2f);
    EXPECT_LT(float{s.dati.SLV.ag}, 0.4f) << "ag in g";
    EXPECT_TRUE(s.sfComuni && s.sfGriglia);
    t.f->Click(C::TB_Relazione);
    EXPECT_EQ(t.vista.relazioni, 1);
}

} // namespace
