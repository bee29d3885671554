// The form's rules without any window: what it shows when created and
// shown, the identification modes, the region, province and municipality
// lists with their highlighting, typed names, "APPLICA" in both datums,
// the building data, the report against its published formats, the map's
// site and administrative picks, the instant computation and the status bar.
#include "core/calcolo.h"
#include "core/rapporto.h"
#include "dialog/TFMapMain.h"
#include "dialog/coordinate.h"
#include "dialog/elenchi.h"
#include "dialog/testi.h"
#include "geo/comuni.h"
#include "geo/datum.h"
#include "map/testo1252.h"
#include "tests/dialog/vista_prova.h"
#include "tests/supporto_dati.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <set>

using namespace veltrano;
using namespace veltrano::dialogo;
using C = TControllo;

namespace {

constexpr mappa::TColore Giallo = mappa::RGBWin(255, 255, 0);

// A form over a scratch copy of the built data, shown at 900 x 700.
struct Form {
    test::CartellaTemporanea dati;
    test::TVistaProva vista;
    std::unique_ptr<TFMapMain> f;
    explicit Form(const std::string& nome) : dati(nome) {
        f = std::make_unique<TFMapMain>(dati.p, vista);
        vista.Collega(f.get());
        f->MappaDimensioni(900, 700);
        f->Mostrato();
    }
    TFMapMain* operator->() { return f.get(); }
    // The user picks the item with that text.
    void Scegli(C c, const std::string& testo) {
        const auto& e = f->Stato(c).elementi;
        const auto it = std::find(e.begin(), e.end(), testo);
        ASSERT_NE(it, e.end()) << testo;
        f->Scelto(c, static_cast<int>(it - e.begin()));
    }
};

const std::vector<TCoordComune>& Comuni() {
    static const auto c = LeggiComuni((test::DatiCostruiti() / "").u16string());
    return c;
}

std::string Nome(const uint8_t (&campo)[256]) { return mappa::Da1252AUtf8(TestoCampo(campo)); }

const TCoordComune& Record(const std::string& nome) {
    for (const TCoordComune& c : Comuni())
        if (Nome(c.Nome) == nome)
            return c;
    throw std::runtime_error(nome);
}

template <class... A> std::string F(const char* f, A... a) {
    char b[512];
    std::snprintf(b, sizeof b, f, a...);
    return b;
}

} // namespace

TEST(Form, ComeLaVedeUnNuovoUtente) {
    Form t("nuovo");
    TFMapMain& f = *t.f;
    EXPECT_EQ(t.vista.titolo, "Veltrano " VELTRANO_VERSIONE);
    ASSERT_EQ(f.Map.NumLayer(), 7);
    EXPECT_EQ(f.idLayer, 6);
    for (int l = 0; l < 7; ++l)
        EXPECT_EQ(f.Map.LayerVisibile(l), l == LayerRegioni) << "layer " << l;
    EXPECT_EQ(f.Map.Shapefile(LayerStrade), nullptr) << "no roads file: an empty layer";
    EXPECT_EQ(f.Map.ColoreSfondo(), mappa::RGBWin(153, 217, 234));
    EXPECT_FALSE(f.Visibile(C::Panel9)) << "legend hidden until GRIGLIA is checked";
    EXPECT_FALSE(f.Visibile(C::Panel7));
    EXPECT_FALSE(f.Visibile(C::EditorLocUtente));
    EXPECT_EQ(f.layerHandle, -1);
    EXPECT_EQ(f.shpHandle, -1);
    EXPECT_EQ(f.Map.ModoCursore(), mappa::ModoZoomPiu);
    EXPECT_TRUE(f.Giu(C::TB_ZoomPiu));
    EXPECT_EQ(f.Testo(C::Radiogroup1), "per Coordinate");
    EXPECT_EQ(f.Testo(C::Edit1), "16.2124");
    EXPECT_EQ(f.Testo(C::Edit2), "38.1517");
    const Coordinate e = ConvCoord_WGS84toED50(16.2124f, 38.1517f);
    EXPECT_EQ(f.Testo(C::NxTextItem5), FormatoCoordinata(e.Lon));
    EXPECT_TRUE(f.Stato(C::NxTextItem5).solaLettura);
    EXPECT_FALSE(f.Stato(C::Edit1).solaLettura);
    for (C l : {C::cmb_Reg, C::cmb_Prov, C::cmb_Com, C::cmb_ComUt})
        EXPECT_FALSE(f.Abilitato(l)) << NomeControllo(l);
    EXPECT_EQ(f.Testo(C::ComboBox1), "II");
    EXPECT_EQ(f.Testo(C::ComboBox2), "Opere ordinarie");
    EXPECT_EQ(f.Testo(C::EditEx3), "50");
    EXPECT_EQ(f.Testo(C::NxComboBoxItem1), "475 anni");
    EXPECT_EQ(f.Stato(C::cmb_Com).elementi.size(), 7900u) << "every municipality after the placeholder";
    EXPECT_EQ(f.Stato(C::cmb_ComUt).elementi, std::vector<std::string>{"- Scegliere la località -"});
    EXPECT_EQ(f.Testo(C::StatusPanel0), "Longitudine = 16.2124° - Latitudine = 38.1517°");
    EXPECT_TRUE(f.Visibile(C::SB_Altitudine)) << "the altitude comes from the municipality database";
    EXPECT_EQ(f.Stato(C::SB_Chiudi).caption, "CHIUDI");
    EXPECT_EQ(t.vista.attese, 0) << "every hourglass is taken down";
    EXPECT_TRUE(t.vista.messaggi.empty());
    // The first report is written when the form shows.
    ASSERT_EQ(t.vista.rapporto.size(), 10u);
    EXPECT_EQ(f.Rapporto(), t.vista.rapporto);
}

TEST(Form, ParolaDiControlloDelDialogoERipristino) {
    const uint16_t prima = LeggiParolaControllo();
    ImpostaParolaControllo(0x037F);
    {
        Form t("fpu");
        // Bit 6 of the x87 word is reserved and always reads as set.
        EXPECT_EQ(LeggiParolaControllo() & ~0x40, ParolaControlloDialogo);
        EXPECT_EQ(t->fpu.Salvata(), 0x037F);
    }
    EXPECT_EQ(LeggiParolaControllo(), 0x037F);
    ImpostaParolaControllo(prima);
}

TEST(Form, DatiMancantiSonoUnErrore) {
    const auto vuota = std::filesystem::temp_directory_path() / "veltrano_prova_vuota";
    std::filesystem::create_directories(vuota);
    test::TVistaProva v;
    EXPECT_THROW(TFMapMain f(vuota, v), ErroreApertura);
    std::filesystem::remove_all(vuota);
}

// The rules of "Modalità", one row per mode: lists, user sites, datum.
TEST(Modi, RegoleDiOgniModalita) {
    Form t("modi");
    TFMapMain& f = *t.f;
    struct Riga {
        int modo;
        bool localita, utente, datum;
    };
    for (const Riga r : {Riga{1, true, false, false}, Riga{2, false, true, false}, Riga{0, false, false, true}}) {
        f.Scelto(C::Radiogroup1, r.modo);
        EXPECT_EQ(f.Abilitato(C::cmb_Reg), r.localita) << r.modo;
        EXPECT_EQ(f.Abilitato(C::cmb_Com), r.localita) << r.modo;
        EXPECT_FALSE(f.Abilitato(C::cmb_Prov)) << "no region chosen yet";
        EXPECT_EQ(f.Abilitato(C::cmb_ComUt), r.utente) << r.modo;
        EXPECT_EQ(f.Abilitato(C::SB_LocUtente), r.utente) << r.modo;
        EXPECT_EQ(f.Giu(C::SB_LocUtente), r.utente) << r.modo;
        EXPECT_EQ(f.Visibile(C::EditorLocUtente), r.utente) << r.modo;
        EXPECT_EQ(f.Abilitato(C::NxRadioItem1), r.datum) << r.modo;
        EXPECT_EQ(f.Abilitato(C::NxRadioItem2), r.datum) << r.modo;
        EXPECT_TRUE(f.Giu(C::NxRadioItem1)) << r.modo;
        EXPECT_FALSE(f.Stato(C::Edit1).solaLettura) << r.modo;
    }
    // "per Località": after any change in the inspector the coordinates are read-only.
    f.Scelto(C::Radiogroup1, ModoLocalita);
    f.Cambiato(C::EditEx3, "60");
    for (C c : {C::Edit1, C::Edit2, C::NxTextItem5, C::NxTextItem6})
        EXPECT_TRUE(f.Stato(c).solaLettura) << NomeControllo(c);
    // "per Coordinate": the datum decides which pair is editable.
    f.Scelto(C::Radiogroup1, ModoCoordinate);
    f.Premuto(C::NxRadioItem2, true);
    EXPECT_FALSE(f.Giu(C::NxRadioItem1));
    EXPECT_TRUE(f.Stato(C::Edit1).solaLettura);
    EXPECT_FALSE(f.Stato(C::NxTextItem5).solaLettura);
    f.Premuto(C::NxRadioItem1, true);
    EXPECT_FALSE(f.Stato(C::Edit1).solaLettura);
    EXPECT_TRUE(f.Stato(C::NxTextItem5).solaLettura);
}

TEST(Elenchi, SardegnaProvinceEComuni) {
    Form t("sardegna");
    TFMapMain& f = *t.f;
    f.Scelto(C::Radiogroup1, ModoLocalita);
    t.Scegli(C::cmb_Reg, "Sardegna");
    EXPECT_TRUE(f.Abilitato(C::cmb_Prov));
    EXPECT_EQ(f.Testo(C::Radiogroup1), "per Località");
    // The provinces of Sardinia, alphabetical, after the placeholder.
    std::set<std::string> attese;
    std::vector<std::string> comuni{"- Scegliere il comune -"};
    for (const TCoordComune& c : Comuni())
        if (Nome(c.Reg) == "Sardegna") {
            attese.insert(Nome(c.Prov));
            comuni.push_back(Nome(c.Nome));
        }
    std::vector<std::string> province{"- Scegliere la provincia -"};
    province.insert(province.end(), attese.begin(), attese.end());
    EXPECT_EQ(f.Stato(C::cmb_Prov).elementi, province);
    EXPECT_EQ(f.Stato(C::cmb_Com).elementi, comuni) << "database order";
    // The map: provinces shown, each Sardinian one yellow and labelled.
    EXPECT_TRUE(f.Map.LayerVisibile(LayerProvince));
    EXPECT_FALSE(f.Map.LayerVisibile(LayerRegioni));
    EXPECT_FALSE(f.Map.LayerVisibile(LayerComuni));
    EXPECT_EQ(f.Map.Etichette(LayerProvince).size(), attese.size());
    const TCoordComune& cagliari = Record("Cagliari");
    EXPECT_EQ(f.Map.ColoreShape(LayerProvince, cagliari.Id_sf_PROV), Giallo);
    EXPECT_EQ(f.layerHandle, LayerRegioni);
    EXPECT_EQ(f.NomeRegione(f.shpHandle), "SARDEGNA");
    // A province: its municipalities, yellow and labelled on layer 2.
    t.Scegli(C::cmb_Prov, Nome(cagliari.Prov));
    EXPECT_TRUE(f.Abilitato(C::cmb_Com));
    EXPECT_EQ(f.layerHandle, LayerProvince);
    EXPECT_TRUE(f.Map.LayerVisibile(LayerComuni));
    EXPECT_EQ(f.Map.ColoreShape(LayerComuni, cagliari.Id_sf_COM), Giallo);
    EXPECT_EQ(f.Map.Etichette(LayerComuni).size(), f.Stato(C::cmb_Com).elementi.size() - 1);
    // The municipality: coordinates and altitude from the database, a report.
    t.Scegli(C::cmb_Com, "Cagliari");
    EXPECT_EQ(f.Testo(C::Edit1), FormatoCoordinata(cagliari.Lon));
    EXPECT_EQ(f.Testo(C::Edit2), FormatoCoordinata(cagliari.Lat));
    EXPECT_EQ(f.Testo(C::NxTextItem7), F("%4.2f", double{cagliari.Alt}));
    EXPECT_EQ(f.sCom, "Cagliari");
    EXPECT_EQ(f.layerHandle, LayerComuni);
    EXPECT_EQ(f.shpHandle, cagliari.Id_sf_COM);
    EXPECT_EQ(f.Map.ColoreShape(LayerComuni, cagliari.Id_sf_COM), Giallo);
    EXPECT_FALSE(f.Map.LayerVisibile(LayerProvince));
    // Sardinia is off the grid: the code's fixed values and their reference.
    ASSERT_EQ(f.Rapporto().size(), 8u);
    EXPECT_EQ(f.Rapporto()[7], "Valori calcolati con riferimento al D.M. 14/01/2008 - Allegato B - Tabella 2");
    EXPECT_EQ(f.Testo(C::StatusPanel1), "Sardegna - " + Nome(cagliari.Prov) + " - Cagliari");
    EXPECT_EQ(f.Map.NumDisegni(), 1) << "the site marker";
    EXPECT_TRUE(t.vista.messaggi.empty());
}

TEST(Elenchi, SegnapostoDellaRegioneNonCambiaNulla) {
    Form t("segnaposto");
    TFMapMain& f = *t.f;
    f.Scelto(C::Radiogroup1, ModoLocalita);
    const auto comuni = f.Stato(C::cmb_Com).elementi;
    const std::string lon = f.Testo(C::Edit1);
    f.Scelto(C::cmb_Reg, 0);
    EXPECT_FALSE(f.Abilitato(C::cmb_Prov));
    EXPECT_EQ(f.Stato(C::cmb_Com).elementi, comuni);
    EXPECT_EQ(f.Testo(C::Edit1), lon);
    EXPECT_FALSE(f.Map.LayerVisibile(LayerProvince));
}

TEST(Elenchi, NomeDigitatoInMinuscoloEUscita) {
    Form t("digitato");
    TFMapMain& f = *t.f;
    f.Scelto(C::Radiogroup1, ModoLocalita);
    f.Cambiato(C::cmb_Com, "bologna");
    f.Uscita(C::cmb_Com);
    EXPECT_EQ(f.Testo(C::cmb_Com), "Bologna");
    EXPECT_EQ(f.sCom, "Bologna");
    EXPECT_EQ(f.Testo(C::Edit1), FormatoCoordinata(Record("Bologna").Lon));
    // A name not in the list selects nothing and runs nothing.
    const std::string lon = f.Testo(C::Edit1);
    f.Cambiato(C::cmb_Com, "Atlantide");
    f.Uscita(C::cmb_Com);
    EXPECT_EQ(f.Indice(C::cmb_Com), -1);
    EXPECT_EQ(f.Testo(C::Edit1), lon);
    // Leaving the item after a choice from the list does not choose again.
    t.Scegli(C::cmb_Com, "Imola");
    f.Map.ZoomEstensioneMassima();
    f.Uscita(C::cmb_Com);
    EXPECT_GT(f.Map.Estensione().xMax - f.Map.Estensione().xMin, 5.0);
}

TEST(DatiOpera, VitaNominaleDallaCategoriaEValoreDigitato) {
    Form t("opera");
    TFMapMain& f = *t.f;
    int32_t classe = 0, vn = 0;
    t.Scegli(C::ComboBox2, "Opere provvisorie");
    EXPECT_EQ(f.Testo(C::EditEx3), "10");
    t.Scegli(C::ComboBox2, "Grandi opere");
    EXPECT_EQ(f.Testo(C::EditEx3), "100");
    f.Cambiato(C::EditEx3, "75");
    t.Scegli(C::ComboBox1, "IV");
    f.LeggiDatiOpera(classe, vn);
    EXPECT_EQ(classe, 4);
    EXPECT_EQ(vn, 75);
    f.Cambiato(C::EditEx3, "75,5");
    f.LeggiDatiOpera(classe, vn);
    EXPECT_EQ(vn, 0) << "a text that is not a whole number gives 0";
    // The building data alone do not rewrite the report...
    const auto prima = f.Rapporto();
    f.Cambiato(C::EditEx3, "100");
    EXPECT_EQ(f.Rapporto(), prima);
    // ...the next site update does, with class IV.
    f.SB_ApplicaClick();
    EXPECT_NE(f.Rapporto(), prima);
    EXPECT_NE(f.Rapporto()[9].find(" 2475\t"), std::string::npos) << f.Rapporto()[9];
}

TEST(Applica, WGS84EED50EUnTestoCheNonENumero) {
    Form t("applica");
    TFMapMain& f = *t.f;
    f.Cambiato(C::Edit1, "12.4964");
    f.Cambiato(C::Edit2, "41.9028");
    f.Click(C::SB_Applica);
    EXPECT_EQ(f.sCom, "Roma");
    EXPECT_EQ(f.Testo(C::StatusPanel1), "LAZIO - Roma - Roma") << "the region as its shape names it";
    EXPECT_EQ(f.shpHandle, Record("Roma").Id_sf_COM);
    EXPECT_TRUE(f.Map.LayerVisibile(LayerComuni));
    // ED50: the typed ED50 pair goes back to WGS84 before the site is placed.
    f.Premuto(C::NxRadioItem2, true);
    f.Cambiato(C::NxTextItem5, "9.1900");
    f.Cambiato(C::NxTextItem6, "45.4650");
    f.Click(C::SB_Applica);
    const Coordinate w = ConvCoord_ED50toWGS84(9.19f, 45.465f);
    EXPECT_EQ(f.Testo(C::Edit1), FormatoCoordinata(w.Lon));
    EXPECT_EQ(f.Testo(C::Edit2), FormatoCoordinata(w.Lat));
    EXPECT_EQ(f.sCom, "Milano");
    // A text that is not a number stops with a message; nothing moves.
    f.Premuto(C::NxRadioItem1, true);
    const auto rapporto = f.Rapporto();
    f.Cambiato(C::Edit1, "dodici");
    f.Click(C::SB_Applica);
    ASSERT_EQ(t.vista.messaggi.size(), 1u);
    EXPECT_EQ(t.vista.messaggi[0], "\"dodici\" non è un valore numerico valido");
    EXPECT_EQ(f.Rapporto(), rapporto);
    EXPECT_EQ(f.sCom, "Milano");
}

// The report character by character against the published formats,
// computed independently of the report's code.
TEST(Rapporto, FormatiRigaPerRiga) {
    Form t("rapporto");
    TFMapMain& f = *t.f;
    f.Cambiato(C::Edit1, "13.4000");
    f.Cambiato(C::Edit2, "42.3500");
    f.Cambiato(C::NxTextItem7, "");
    f.Click(C::SB_Applica);
    const std::vector<std::string>& r = f.Rapporto();
    ASSERT_EQ(r.size(), 10u);
    const Coordinate e = ConvCoord_WGS84toED50(13.4f, 42.35f);
    const double lonE = NumeroOZero(FormatoCoordinata(e.Lon)), latE = NumeroOZero(FormatoCoordinata(e.Lat));
    const double alt = NumeroOZero(f.Testo(C::NxTextItem7));
    EXPECT_EQ(r[0], "Comune di " + f.sCom +
                        F(" - Coordinate sito (Datum - ED50) : Longitudine = %5.4f\u00b0 ; Latitudine = %5.4f\u00b0; "
                          "Altitudine = %5.2f metri s.l.m.",
                          lonE, latE, alt));
    EXPECT_EQ(r[1], "");
    TMagliaSito m{};
    Griglia g;
    g.Carica(test::DatiCostruiti() / "GeoDati.dat");
    CercaPuntiMaglia(g, e.Lon, e.Lat, m);
    std::vector<int> nodi;
    for (int i = 0; i < 4; ++i)
        nodi.push_back(int{m[0].NumPunti[i]}); // a copy: the record is packed
    std::sort(nodi.begin(), nodi.end());
    std::string riga = "Punti della maglia:\t";
    for (int n : nodi)
        riga += std::to_string(n) + " \t";
    EXPECT_EQ(r[2], riga);
    EXPECT_EQ(r[3], "");
    EXPECT_EQ(r[4], "Valori dei parametri ag, Fo, Tc* per i periodi di ritorno TR associati a ciascun Stato Limite");
    EXPECT_EQ(r[5], "STATO LIMITE        TR [anni]\t\tag [g]\t\t  Fo\t\tTc* [s]");
    TGIS_DatiOut d{};
    CalcolaSito(g, m, Norm_DM2008, e.Lon, e.Lat, 50, 2, d);
    const TGIS_ParZS stati[4] = {d.SLO, d.SLD, d.SLV, d.SLC};
    const char* nomi[4] = {"SLO", "SLD", "SLV", "SLC"};
    for (int j = 0; j < 4; ++j)
        EXPECT_EQ(r[static_cast<std::size_t>(6 + j)],
                  F("    %s\t\t%5.0f\t\t\t%5.3f\t\t%5.3f\t\t%5.3f", nomi[j], double{stati[j].Tr}, double{stati[j].ag},
                    double{stati[j].Fo}, double{stati[j].Tc_s}));
    // An empty altitude reads 0.00, right-aligned in 5 characters.
    EXPECT_NE(r[0].find("Altitudine =  0.00 metri"), std::string::npos) << r[0];
}

TEST(Rapporto, IsolaMareEZero) {
    Form t("isole");
    TFMapMain& f = *t.f;
    // Lampedusa: the code's fixed values, the Table 2 reference, no node lines.
    int n = 0;
    const Coordinate lampedusa = ConvCoord_WGS84toED50(12.6000f, 35.5100f);
    f.ScriviRisultati(n, lampedusa.Lon, lampedusa.Lat);
    ASSERT_EQ(f.Rapporto().size(), 8u) << (f.Rapporto().empty() ? "" : f.Rapporto()[0]);
    EXPECT_EQ(f.Rapporto()[0].rfind("Valori dei parametri", 0), 0u);
    EXPECT_EQ(f.Rapporto()[7], "Valori calcolati con riferimento al D.M. 14/01/2008 - Allegato B - Tabella 2");
    // Open sea and the point 0, 0: the warning line alone.
    for (auto [lon, lat] : {std::pair{0.0, 0.0}, std::pair{5.0, 40.0}}) {
        f.ScriviRisultati(n, lon, lat);
        EXPECT_EQ(f.Rapporto(), std::vector<std::string>{"ATTENZIONE COORDINATE DEL SITO NON INSERITE OPPURE NON VALIDE!!!"});
        EXPECT_LE(n, 2);
    }
}

TEST(Mappa, SelezioneDelSitoConIlMouse) {
    Form t("sito_mouse");
    TFMapMain& f = *t.f;
    f.Map.ImpostaEstensione({12.3, 41.8, 12.7, 42.0});
    f.Premuto(C::TB_Punt, true);
    EXPECT_EQ(f.Map.ModoCursore(), mappa::ModoSelezione);
    EXPECT_FALSE(f.Giu(C::TB_ZoomPiu));
    const mappa::TPuntoPx p = f.Map.MappaAPixel({12.4964, 41.9028});
    f.MappaRilasciato(p, mappa::PulsanteSinistro);
    EXPECT_NEAR(NumeroOZero(f.Testo(C::Edit1)), 12.4964, 0.002);
    EXPECT_NEAR(NumeroOZero(f.Testo(C::Edit2)), 41.9028, 0.002);
    EXPECT_EQ(f.sCom, "Roma");
    EXPECT_EQ(f.Testo(C::cmb_Com), "Roma") << "the lists follow the site";
    EXPECT_EQ(f.Testo(C::Radiogroup1), "per Coordinate");
    EXPECT_EQ(f.layerHandle, LayerComuni);
    EXPECT_EQ(f.Map.ColoreShape(LayerComuni, f.shpHandle), Giallo);
    ASSERT_EQ(f.Map.Etichette(LayerComuni).size(), 1u);
    EXPECT_EQ(f.Map.Etichette(LayerComuni)[0].testo, "Roma");
    EXPECT_EQ(f.Rapporto()[0].rfind("Comune di Roma - ", 0), 0u);
    // Regression: a click at sea kept the previous municipality's name in
    // the report (issue 9). No municipality there: no name, no highlight.
    f.Map.ImpostaEstensione({4.0, 39.0, 6.0, 41.0});
    f.MappaRilasciato(f.Map.MappaAPixel({5.0, 40.0}), mappa::PulsanteSinistro);
    EXPECT_EQ(f.sCom, "");
    EXPECT_TRUE(f.Map.Etichette(LayerComuni).empty());
    EXPECT_NEAR(NumeroOZero(f.Testo(C::Edit1)), 5.0, 0.01);
    EXPECT_EQ(f.Rapporto().size(), 1u) << "the warning: at sea there is nothing to compute";
}

TEST(Mappa, SelezioneAmministrativaDalLivelloVisibile) {
    Form t("admin");
    TFMapMain& f = *t.f;
    f.Premuto(C::TB_Admin, true);
    EXPECT_EQ(f.Map.ModoCursore(), mappa::ModoSelezione);
    // Regions visible: a click chooses the region.
    f.MappaRilasciato(f.Map.MappaAPixel({9.0, 40.0}), mappa::PulsanteSinistro);
    EXPECT_EQ(f.sReg, "SARDEGNA");
    EXPECT_EQ(f.Testo(C::cmb_Reg), "Sardegna");
    EXPECT_EQ(f.Testo(C::Radiogroup1), "per Località");
    // Provinces and municipalities visible: a province, not a municipality.
    f.Map.ImpostaLayerVisibile(LayerComuni, true);
    const TCoordComune& nuoro = Record("Nuoro");
    f.MappaRilasciato(f.Map.MappaAPixel({nuoro.Lon, nuoro.Lat}), mappa::PulsanteSinistro);
    EXPECT_EQ(f.sProv, Nome(nuoro.Prov));
    EXPECT_EQ(f.layerHandle, LayerProvince);
    // Outside every shape nothing is chosen.
    const std::string prov = f.sProv;
    f.MappaRilasciato(f.Map.MappaAPixel({3.0, 30.0}), mappa::PulsanteSinistro);
    EXPECT_EQ(f.sProv, prov);
    // Released: back to zooming.
    f.Premuto(C::TB_Admin, false);
    EXPECT_EQ(f.Map.ModoCursore(), mappa::ModoZoomPiu);
}

TEST(Mappa, CalcoloIstantaneoEBarraDiStato) {
    Form t("istantaneo");
    TFMapMain& f = *t.f;
    f.Map.ImpostaEstensione({13.0, 42.0, 14.0, 43.0});
    const mappa::TPuntoPx p = f.Map.MappaAPixel({13.4, 42.35});
    // Without the tool a move only tells where the pointer is (whole pixels).
    const auto prima = f.Rapporto();
    f.MappaMosso(p, 0);
    const mappa::TPunto m = f.Map.PixelAMappa({std::floor(p.x), std::floor(p.y)});
    EXPECT_EQ(f.Testo(C::StatusPanel0),
              "Longitudine = " + FormatoCoordinata(m.x) + "° - Latitudine = " + FormatoCoordinata(m.y) + "°");
    EXPECT_EQ(f.Rapporto(), prima);
    f.Premuto(C::TB_Hint, true);
    EXPECT_EQ(f.Map.ModoCursore(), mappa::ModoSelezione);
    f.MappaMosso(p, 0);
    EXPECT_NE(f.Rapporto(), prima);
    EXPECT_EQ(f.sCom, "L'Aquila");
    EXPECT_EQ(f.Testo(C::StatusPanel1), "ABRUZZO - L'Aquila - L'Aquila");
    EXPECT_EQ(f.Testo(C::Edit1), FormatoCoordinata(m.x));
    f.MappaMosso(f.Map.MappaAPixel({13.8, 42.9}), 0);
    EXPECT_NE(f.sCom, "L'Aquila");
    EXPECT_EQ(t.vista.attese, 0);
    f.Premuto(C::TB_Hint, false);
    EXPECT_EQ(f.Map.ModoCursore(), mappa::ModoZoomPiu);
}

TEST(Mappa, PannelliEGriglia) {
    Form t("pannelli");
    TFMapMain& f = *t.f;
    f.Premuto(C::CB_VisGriglia, true);
    EXPECT_TRUE(f.Map.LayerVisibile(LayerGriglia));
    EXPECT_TRUE(f.Visibile(C::Panel9));
    EXPECT_EQ(f.Testo(C::Lb1), "0.000");
    EXPECT_EQ(f.Testo(C::Lb11), "0.250-0.278");
    EXPECT_EQ(f.Stato(C::Lb11).colore, mappa::RGBWin(255, 15, 15));
    f.Scelto(C::NxComboBoxItem1, 8);
    EXPECT_NE(f.Testo(C::Lb11), "0.250-0.278") << "2475 years rescales the legend";
    f.Premuto(C::CheckBox3, true);
    EXPECT_TRUE(f.Map.LayerVisibile(LayerLaghi));
    EXPECT_TRUE(f.Map.LayerVisibile(LayerFiumi));
    f.Click(C::TB_Opzioni);
    EXPECT_TRUE(f.Visibile(C::Panel10));
    f.Click(C::TB_Griglia);
    EXPECT_FALSE(f.Visibile(C::Panel10));
    EXPECT_TRUE(f.Visibile(C::Panel7));
    f.Click(C::SpeedButton20);
    EXPECT_FALSE(f.Visibile(C::Panel7));
    // A chosen colour reaches the options and the map.
    t.vista.colore = mappa::RGBWin(10, 20, 30);
    f.Click(C::NxToolbarItem2);
    EXPECT_EQ(uint32_t{f.opz.ColR_Reg}, mappa::RGBWin(10, 20, 30));
    EXPECT_EQ(f.Map.ColoreRiempimento(LayerRegioni), mappa::RGBWin(10, 20, 30));
    f.Cambiato(C::SE_SpessBCom, "6");
    EXPECT_DOUBLE_EQ(f.Map.SpessoreLinea(LayerComuni), 6);
    // The map buttons keep one of the two down.
    f.Premuto(C::TB_Map, false);
    EXPECT_TRUE(f.Giu(C::TB_Map));
    // The zoom buttons exclude each other.
    f.Premuto(C::TB_Pan, true);
    EXPECT_FALSE(f.Giu(C::TB_ZoomPiu));
    EXPECT_EQ(f.Map.ModoCursore(), mappa::ModoPan);
    f.Click(C::TB_ZoomMeno); // the menu entry presses the button
    EXPECT_TRUE(f.Giu(C::TB_ZoomMeno));
    EXPECT_FALSE(f.Giu(C::TB_Pan));
    EXPECT_EQ(f.Map.ModoCursore(), mappa::ModoZoomMeno);
}

TEST(Coordinate, SempreIlPuntoComeSeparatore) {
    std::setlocale(LC_NUMERIC, "it_IT.UTF-8"); // where installed
    EXPECT_EQ(FormatoCoordinata(16.2124), "16.2124");
    EXPECT_EQ(FormatoCoordinata(8.5), "8.5000");
    EXPECT_EQ(LeggiNumero(" 38.1517 "), 38.1517);
    EXPECT_FALSE(LeggiNumero("38,1517"));
    EXPECT_FALSE(LeggiNumero(""));
    EXPECT_FALSE(LeggiNumero("12abc"));
    EXPECT_EQ(NumeroOZero("dodici"), 0.0);
    EXPECT_EQ(LeggiIntero("75"), 75);
    EXPECT_FALSE(LeggiIntero("75.5"));
    EXPECT_FALSE(LeggiIntero("99999999999"));
    EXPECT_TRUE(UgualeAZ("bologna", "BOLOGNA"));
    EXPECT_FALSE(UgualeAZ("forlì", "FORLÌ")) << "only a..z change case";
    EXPECT_TRUE(UgualeMaiuscolo("Valle d'Aosta/Vallée d'Aoste", "VALLE D'AOSTA/VALLÉE D'AOSTE"));
    std::setlocale(LC_NUMERIC, "C");
}
