// The exchange with the host, as VisualizzaDialog runs it: free and preset
// building data, the mode from the host's record, the write-back of every
// field it lists and of none it excludes, against the engine, the cancel
// path, the picture and the outline files.
#include "core/calcolo.h"
#include "dialog/coordinate.h"
#include "dialog/testi.h"
#include "dialog/visualizza.h"
#include "geo/comuni.h"
#include "geo/datum.h"
#include "map/file.h"
#include "map/testo1252.h"
#include "tests/dialog/vista_prova.h"
#include "tests/supporto_dati.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace veltrano;
using namespace veltrano::dialogo;
using C = TControllo;

namespace {

// A host record full of a pattern, so that bytes the dialog must not write
// show if it does.
TGIS_DatiOut RecordOspite(float lon, float lat, uint8_t tipo) {
    TGIS_DatiOut d;
    std::memset(&d, 0xA5, sizeof d);
    d.LonSito = lon;
    d.LatSito = lat;
    d.TipoRic = tipo;
    d.ED50 = 0;
    d.alt = 123.5f;
    d.distCosta = 2.5f;
    mappa::AStringaCorta("", d.NomeLoc, 25);
    mappa::AStringaCorta("", d.nomeLoc_new, 100);
    d.LonSitoED50 = 0;
    d.LatSitoED50 = 0;
    return d;
}

struct Esecuzione {
    test::CartellaTemporanea dati;
    test::TVistaProva vista;
    explicit Esecuzione(const std::string& nome) : dati(nome) {}
    TEsito Esegui(const TParametriDialogo& p, TGIS_DatiOut& d, std::function<void(TFMapMain&)> utente) {
        vista.utente = std::move(utente);
        return VisualizzaDialogo(vista, dati.p, p, d);
    }
};

TParametriDialogo Preimpostati(int classe, int categoria, int vn) {
    TParametriDialogo p;
    p.ClasseUso = static_cast<uint8_t>(classe);
    p.CategoriaVN = categoria;
    p.VN = vn;
    return p;
}

} // namespace

TEST(Scambio, ModoLiberoEPreimpostato) {
    Esecuzione e("liberi");
    TGIS_DatiOut d = RecordOspite(13.4f, 42.35f, 0);
    e.Esegui({}, d, [](TFMapMain& f) {
        EXPECT_EQ(f.Stato(C::SB_Chiudi).caption, "CHIUDI");
        EXPECT_FALSE(f.Visibile(C::SB_Annulla));
        EXPECT_EQ(f.Testo(C::ComboBox1), "II");
        EXPECT_EQ(f.Testo(C::ComboBox2), "Opere ordinarie");
        EXPECT_EQ(f.Testo(C::EditEx3), "50");
        for (C c : {C::ComboBox1, C::ComboBox2, C::EditEx3})
            EXPECT_TRUE(f.Abilitato(c));
        for (int l = 0; l < 7; ++l)
            EXPECT_EQ(f.Map.LayerVisibile(l), l == 0);
    });
    TGIS_DatiOut p = RecordOspite(13.4f, 42.35f, 1);
    e.Esegui(Preimpostati(3, 3, 100), p, [](TFMapMain& f) {
        EXPECT_EQ(f.Stato(C::SB_Chiudi).caption, "OK");
        EXPECT_TRUE(f.Visibile(C::SB_Annulla));
        EXPECT_EQ(f.Testo(C::ComboBox1), "III");
        EXPECT_EQ(f.Testo(C::ComboBox2), "Grandi opere");
        EXPECT_EQ(f.Testo(C::EditEx3), "100");
        for (C c : {C::ComboBox1, C::ComboBox2, C::EditEx3})
            EXPECT_FALSE(f.Abilitato(c));
        EXPECT_TRUE(f.Abilitato(C::SB_Chiudi));
        // The previous site is marked and its municipality highlighted.
        EXPECT_EQ(f.Testo(C::Edit1), "13.4000");
        EXPECT_EQ(f.Testo(C::NxTextItem7), "123.50");
        EXPECT_EQ(f.Testo(C::NxTextItem8), "2.500000");
        EXPECT_EQ(f.sCom, "L'Aquila");
        EXPECT_TRUE(f.Map.LayerVisibile(LayerComuni));
        EXPECT_EQ(f.layerHandle, LayerComuni);
    });
    // Out-of-range building data show the nearest item.
    TGIS_DatiOut q = RecordOspite(13.4f, 42.35f, 1);
    e.Esegui(Preimpostati(9, 0, 35), q, [](TFMapMain& f) {
        EXPECT_EQ(f.Testo(C::ComboBox1), "IV");
        EXPECT_EQ(f.Testo(C::ComboBox2), "Opere provvisorie");
        EXPECT_EQ(f.Testo(C::EditEx3), "35");
    });
}

// The mode and lists follow TipoRic, one row each.
TEST(Scambio, TipoRicDecideModoEdElenchi) {
    Esecuzione e("tiporic");
    struct Riga {
        uint8_t tipo;
        int modo;
        bool elenchi, utente;
    };
    for (const Riga r : {Riga{0, 0, false, false}, Riga{1, 0, false, false}, Riga{2, 1, true, false},
                         Riga{3, 2, false, true}, Riga{7, 0, false, false}}) {
        TGIS_DatiOut d = RecordOspite(12.4964f, 41.9028f, r.tipo);
        e.Esegui(Preimpostati(2, 2, 50), d, [&](TFMapMain& f) {
            EXPECT_EQ(f.Indice(C::Radiogroup1), r.modo) << int{r.tipo};
            for (C c : {C::cmb_Reg, C::cmb_Prov, C::cmb_Com})
                EXPECT_EQ(f.Abilitato(c), r.elenchi) << int{r.tipo} << NomeControllo(c);
            EXPECT_EQ(f.Abilitato(C::cmb_ComUt), r.utente) << int{r.tipo};
            EXPECT_EQ(f.Abilitato(C::NxRadioItem1), r.modo == 0) << int{r.tipo};
        });
    }
    // TipoRic 1 with ED50: the ED50 pair is the editable one.
    TGIS_DatiOut d = RecordOspite(12.4964f, 41.9028f, 1);
    d.ED50 = 1;
    e.Esegui(Preimpostati(2, 2, 50), d, [](TFMapMain& f) {
        EXPECT_TRUE(f.Giu(C::NxRadioItem2));
        EXPECT_FALSE(f.Stato(C::NxTextItem5).solaLettura);
        EXPECT_TRUE(f.Stato(C::Edit1).solaLettura);
    });
}

TEST(Scambio, TipoRicDueEvidenziaIlComuneDelNome) {
    Esecuzione e("nome");
    TGIS_DatiOut d = RecordOspite(12.4964f, 41.9028f, 2);
    mappa::AStringaCorta("Roma", d.NomeLoc, 25);
    e.Esegui(Preimpostati(2, 2, 50), d, [](TFMapMain& f) {
        EXPECT_EQ(f.layerHandle, LayerComuni);
        EXPECT_EQ(f.Map.ColoreShape(LayerComuni, f.shpHandle), mappa::RGBWin(255, 255, 0));
        ASSERT_EQ(f.Map.Etichette(LayerComuni).size(), 1u);
        EXPECT_EQ(f.Map.Etichette(LayerComuni)[0].testo, "Roma");
        EXPECT_FALSE(f.Map.LayerVisibile(LayerRegioni));
    });
    TGIS_DatiOut altro = RecordOspite(12.4964f, 41.9028f, 2);
    mappa::AStringaCorta("Milano", altro.NomeLoc, 25);
    e.Esegui(Preimpostati(2, 2, 50), altro, [](TFMapMain& f) {
        EXPECT_TRUE(f.Map.Etichette(LayerComuni).empty()) << "another name: nothing highlighted";
        EXPECT_EQ(f.Map.ColoreShape(LayerComuni, 0), mappa::RGBWin(241, 236, 205));
    });
}

// Confirming writes what the engine computes for the site, every listed
// field, and nothing else.
TEST(Scambio, ConfermaScriveIlRecordComeIlMotore) {
    Esecuzione e("conferma");
    const TGIS_DatiOut prima = RecordOspite(13.4f, 42.35f, 1);
    TGIS_DatiOut d = prima;
    std::vector<std::string> rapporto;
    e.Esegui(Preimpostati(4, 3, 100), d, [&](TFMapMain& f) {
        f.Scelto(C::Radiogroup1, ModoLocalita);
        f.Scelto(C::cmb_Com, 0);
        const auto& c = f.Stato(C::cmb_Com).elementi;
        // The list holds the municipalities of the previous site's province.
        const auto it = std::find(c.begin(), c.end(), "Sulmona");
        ASSERT_NE(it, c.end());
        f.Scelto(C::cmb_Com, static_cast<int>(it - c.begin()));
        rapporto = f.Rapporto();
        f.Click(C::SB_Chiudi);
    });
    ASSERT_EQ(e.vista.Esito(), TEsito::Ok);
    EXPECT_EQ(d.TipoRic, 2);
    EXPECT_EQ(mappa::DaStringaCorta(d.nomeLoc_new), "Sulmona");
    const std::string lon = FormatoCoordinata(d.LonSito), lat = FormatoCoordinata(d.LatSito);
    const Coordinate ed50 = ConvCoord_WGS84toED50(d.LonSito, d.LatSito);
    EXPECT_EQ(FormatoCoordinata(float{d.LonSitoED50}), FormatoCoordinata(ed50.Lon));
    EXPECT_EQ(d.ED50, 0);
    // The engine at the site's ED50 conversion, as the export computes it.
    Griglia g;
    g.Carica(test::DatiCostruiti() / "GeoDati.dat");
    TMagliaSito m{};
    TGIS_DatiOut atteso{};
    CalcolaSito(g, m, Norm_DM2008, ed50.Lon, ed50.Lat, 100, 4, atteso);
    for (auto [a, b] : {std::pair{&d.SLO, &atteso.SLO}, {&d.SLD, &atteso.SLD}, {&d.SLV, &atteso.SLV},
                        {&d.SLC, &atteso.SLC}}) {
        EXPECT_EQ(float{a->ag}, float{b->ag});
        EXPECT_EQ(float{a->Fo}, float{b->Fo});
        EXPECT_EQ(float{a->Tc_s}, float{b->Tc_s});
        EXPECT_EQ(float{a->Tr}, float{b->Tr});
        for (uint8_t x : a->persi)
            ASSERT_EQ(x, 0xA5) << "the host's reserved bytes stay";
    }
    EXPECT_EQ(d.NumVert, 4);
    EXPECT_EQ(std::memcmp(d.NumPunti, atteso.NumPunti, sizeof d.NumPunti), 0);
    EXPECT_EQ(std::memcmp(d.LonPunti, atteso.LonPunti, sizeof d.LonPunti), 0);
    EXPECT_EQ(std::memcmp(d.LatPunti, atteso.LatPunti, sizeof d.LatPunti), 0);
    // SLV in the record is the SLV row of the last report, to its decimals.
    ASSERT_EQ(rapporto.size(), 10u);
    char riga[128];
    std::snprintf(riga, sizeof riga, "    SLV\t\t%5.0f\t\t\t%5.3f", double{d.SLV.Tr}, double{d.SLV.ag});
    EXPECT_EQ(rapporto[8].rfind(riga, 0), 0u) << rapporto[8];
    // Fields the dialog never writes.
    EXPECT_EQ(std::memcmp(d.NomeLoc, prima.NomeLoc, sizeof d.NomeLoc), 0);
    EXPECT_EQ(std::memcmp(d.agPunti, prima.agPunti, sizeof d.agPunti), 0);
    EXPECT_EQ(std::memcmp(d.FoPunti, prima.FoPunti, sizeof d.FoPunti), 0);
    EXPECT_EQ(std::memcmp(d.Tc_sPunti, prima.Tc_sPunti, sizeof d.Tc_sPunti), 0);
    EXPECT_EQ(std::memcmp(d.persi, prima.persi, sizeof d.persi), 0);
    // The database altitude of Sulmona reached the record.
    EXPECT_GT(float{d.alt}, 300.0f);
    EXPECT_NE(float{d.alt}, 123.5f);
    // The outline of the cell, beside the data and under Shape.
    EXPECT_TRUE(mappa::Esiste(e.dati.p / "Contorni.shp"));
    EXPECT_TRUE(mappa::Esiste(e.dati.p / "Shape" / "Contorni.dbf"));
    EXPECT_FALSE(mappa::Esiste(e.dati.p / "nessuna.bmp")) << "no file name, no picture";
}

TEST(Scambio, ConfermaConImmagineEImmagineImpossibile) {
    Esecuzione e("immagine");
    TGIS_DatiOut d = RecordOspite(13.4f, 42.35f, 1);
    TParametriDialogo p = Preimpostati(2, 2, 50);
    p.FileImmagine = e.dati.p / "maglia.bmp";
    int larghezza = 0;
    e.Esegui(p, d, [&](TFMapMain& f) {
        larghezza = f.Map.Larghezza();
        f.Click(C::SB_Chiudi);
        // The map was reduced to two thirds before the picture was taken.
        EXPECT_EQ(f.Map.Larghezza(), 600);
    });
    EXPECT_EQ(larghezza, 900);
    ASSERT_EQ(e.vista.Esito(), TEsito::Ok);
    const auto b = mappa::LeggiFile(p.FileImmagine);
    ASSERT_TRUE(b);
    EXPECT_EQ((*b)[0], 'B');
    EXPECT_EQ((*b)[18] | ((*b)[19] << 8), 600);
    EXPECT_EQ((*b)[22] | ((*b)[23] << 8), 467) << "700 x 2/3, rounded";
    // A picture that cannot be written: a message, the dialog stays open.
    TGIS_DatiOut q = RecordOspite(13.4f, 42.35f, 1);
    const TGIS_DatiOut primaQ = q;
    p.FileImmagine = e.dati.p / "non" / "esiste" / "maglia.bmp";
    e.Esegui(p, q, [&](TFMapMain& f) {
        f.Click(C::SB_Chiudi);
        EXPECT_EQ(e.vista.Esito(), TEsito::Annulla) << "not closed";
        EXPECT_EQ(f.Map.Larghezza(), 900) << "the map back to its size";
    });
    ASSERT_FALSE(e.vista.messaggi.empty());
    EXPECT_NE(e.vista.messaggi.back().find("maglia.bmp"), std::string::npos) << e.vista.messaggi.back();
    EXPECT_FLOAT_EQ(float{q.LonSito}, float{primaQ.LonSito});
}

// A site with no hazard values (no site at all, or open sea off the grid)
// is not confirmed: the host would receive numbers that describe nothing.
// An island off the grid has the code's fixed values and is confirmed.
TEST(Scambio, SitoSenzaValoriNonSiConferma) {
    Esecuzione e("senza_valori");
    for (const auto& [lon, lat] : {std::pair{0.0f, 0.0f}, {5.0f, 38.0f}}) {
        TGIS_DatiOut d = RecordOspite(lon, lat, 1);
        const TGIS_DatiOut prima = d;
        e.vista.messaggi.clear();
        e.Esegui({}, d, [](TFMapMain& f) {
            f.Click(C::SB_Chiudi);
            EXPECT_EQ(f.Map.Larghezza(), 900) << "the map keeps its size";
        });
        EXPECT_EQ(e.vista.Esito(), TEsito::Annulla) << lon << " " << lat;
        ASSERT_EQ(e.vista.messaggi.size(), 1u);
        EXPECT_EQ(e.vista.messaggi[0], testi::SitoSenzaValori);
        EXPECT_EQ(float{d.SLV.ag}, float{prima.SLV.ag});
        EXPECT_EQ(d.NumVert, prima.NumVert);
    }
    // Lampedusa: two nodes or fewer, but an island of the code's table.
    TGIS_DatiOut d = RecordOspite(12.6f, 35.51f, 1);
    e.Esegui({}, d, [](TFMapMain& f) { f.Click(C::SB_Chiudi); });
    ASSERT_EQ(e.vista.Esito(), TEsito::Ok);
    EXPECT_GT(float{d.SLV.ag}, 0.0f);
}

TEST(Scambio, AnnullaRiempieSoloLeCoordinateED50Mancanti) {
    Esecuzione e("annulla");
    const TGIS_DatiOut prima = RecordOspite(13.4f, 42.35f, 1);
    TGIS_DatiOut d = prima;
    e.Esegui(Preimpostati(2, 2, 50), d, [](TFMapMain& f) {
        f.Cambiato(C::Edit1, "9.0");
        f.Click(C::SB_Applica);
        f.Click(C::SB_Annulla);
    });
    EXPECT_EQ(e.vista.Esito(), TEsito::Annulla);
    const Coordinate ed50 = ConvCoord_WGS84toED50(13.4f, 42.35f);
    EXPECT_EQ(float{d.LonSitoED50}, ed50.Lon);
    EXPECT_EQ(float{d.LatSitoED50}, ed50.Lat);
    TGIS_DatiOut confronto = d;
    confronto.LonSitoED50 = prima.LonSitoED50;
    confronto.LatSitoED50 = prima.LatSitoED50;
    EXPECT_EQ(std::memcmp(&confronto, &prima, sizeof prima), 0) << "nothing else changes";
    // With both already set, cancelling changes nothing at all.
    TGIS_DatiOut pieno = prima;
    pieno.LonSitoED50 = 1.0f;
    pieno.LatSitoED50 = 2.0f;
    const TGIS_DatiOut copia = pieno;
    e.Esegui(Preimpostati(2, 2, 50), pieno, [](TFMapMain& f) { f.Click(C::Action9); });
    EXPECT_EQ(std::memcmp(&pieno, &copia, sizeof copia), 0);
    // The window's close button and Escape cancel the same way.
    TGIS_DatiOut chiuso = prima;
    e.Esegui(Preimpostati(2, 2, 50), chiuso, [](TFMapMain& f) { f.ChiusuraRichiesta(); });
    EXPECT_EQ(float{chiuso.LonSitoED50}, ed50.Lon);
}

TEST(Scambio, DatiMancantiNonToccanoIlRecord) {
    const auto vuota = std::filesystem::temp_directory_path() / "veltrano_prova_scambio_vuota";
    std::filesystem::create_directories(vuota);
    test::TVistaProva v;
    const TGIS_DatiOut prima = RecordOspite(13.4f, 42.35f, 1);
    TGIS_DatiOut d = prima;
    EXPECT_THROW(VisualizzaDialogo(v, vuota, {}, d), ErroreApertura);
    EXPECT_EQ(std::memcmp(&d, &prima, sizeof d), 0);
    std::filesystem::remove_all(vuota);
}
