// The map tools' pieces without a window: the distance rule and its label,
// the point-style picker, the event object a page calls, the cursor files
// and the names of a layer's shapes.
#include "map/cursori.h"
#include "map/distanza.h"
#include "map/evento.h"
#include "map/mappa.h"
#include "map/stile_punti.h"
#include "map/strumenti.h"
#include "tests/map/pittore_registro.h"
#include "veltrano/veltrano.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

using namespace veltrano::mappa;
using veltrano::test::TPittoreRegistro;

namespace {

// One degree of latitude on the flat earth [km].
constexpr double KmGrado = 69.172 * 1.609344;

} // namespace

TEST(Distanza, TerraPiattaConIlCosenoDelPuntoFinale) {
    EXPECT_NEAR(DistanzaKm({12, 41}, {12, 42}), KmGrado, 1e-9);
    EXPECT_DOUBLE_EQ(DistanzaKm({12, 42}, {12, 41}), DistanzaKm({12, 41}, {12, 42})) << "no sign";
    // Along a parallel the degree shrinks by the cosine of the latitude.
    EXPECT_NEAR(DistanzaKm({10, 60}, {11, 60}), KmGrado / 2, 1e-9);
    // The cosine is the end point's, not the mean latitude's: the rule is
    // not symmetric when the latitude changes.
    const double avanti = DistanzaKm({10, 40}, {11, 50}), indietro = DistanzaKm({11, 50}, {10, 40});
    const double dy = 10 * KmGrado;
    EXPECT_NEAR(avanti, std::hypot(dy, KmGrado * std::cos(50 * M_PI / 180)), 1e-9);
    EXPECT_NEAR(indietro, std::hypot(dy, KmGrado * std::cos(40 * M_PI / 180)), 1e-9);
    EXPECT_EQ(DistanzaKm({12.5, 41.9}, {12.5, 41.9}), 0.0);
}

TEST(Distanza, MetriFinoAUnChilometroCompresoPoiChilometri) {
    EXPECT_EQ(EtichettaDistanza(0.4), "400 m");
    EXPECT_EQ(EtichettaDistanza(0.0), "0 m");
    EXPECT_EQ(EtichettaDistanza(1.0), "1000 m") << "exactly 1 km is still in metres";
    EXPECT_EQ(EtichettaDistanza(0.9996), "1000 m");
    EXPECT_EQ(EtichettaDistanza(0.0125), "12 m") << "halves to even";
    EXPECT_EQ(EtichettaDistanza(1.0001), "1.00 Km");
    EXPECT_EQ(EtichettaDistanza(12.345678), "12.35 Km");
    EXPECT_EQ(EtichettaDistanza(123.456), "123.50 Km") << "four significant digits, two decimals shown";
    EXPECT_EQ(EtichettaDistanza(1234.56), "1235.00 Km");
}

TEST(StilePunti, ScelteChiudiEMappaturaDelleVoci) {
    // Items 1..7 give point types 0..6 and the same picture.
    for (int item = 1; item <= 7; ++item) {
        int imm = 99;
        EXPECT_EQ(TFStileLayer::getTipoStilePunto(item, imm), item - 1);
        EXPECT_EQ(imm, item - 1);
    }
    // Anything else is a square and leaves the picture alone.
    for (int item : {0, 8, -1}) {
        int imm = 4;
        EXPECT_EQ(TFStileLayer::getTipoStilePunto(item, imm), 0);
        EXPECT_EQ(imm, 4);
    }
    TFStileLayer s(3);
    s.Premuto(0); // "Chiudi"
    EXPECT_EQ(s.indTipoPunto, 3);
    s.Premuto(6);
    EXPECT_EQ(s.indTipoPunto, 6);
    s.Premuto(8);
    EXPECT_EQ(s.indTipoPunto, 6);
    EXPECT_STREQ(TFStileLayer::Voci[0], "Chiudi");
    EXPECT_STREQ(TFStileLayer::Voci[7], "Triangolo a destra");
}

TEST(EventObject, SoloIlMembroPredefinitoChiamaIlMetodo) {
    int chiamate = 0;
    const TEventObject e([&] { ++chiamate; });
    EXPECT_EQ(e.Invoke(0), TEventObject::RisultatoOk);
    EXPECT_EQ(e.Invoke(0), 0);
    EXPECT_EQ(chiamate, 2) << "once per call";
    EXPECT_EQ(e.Invoke(1), static_cast<int32_t>(0x80004001u));
    EXPECT_EQ(e.Invoke(-4), TEventObject::NonImplementato);
    EXPECT_EQ(chiamate, 2);
    EXPECT_EQ(e.GetTypeInfoCount(), TEventObject::NonImplementato);
    EXPECT_EQ(e.GetIDsOfNames(), TEventObject::NonImplementato);
    // Without a method the default member still answers.
    EXPECT_EQ(TEventObject{}.Invoke(0), TEventObject::RisultatoOk);
}

TEST(Cursori, NomiInsiemiEFileCheSiRileggono) {
    EXPECT_EQ(PrefissoCursori(InsiemeCursori()), "32b_");
    EXPECT_EQ(PrefissoCursori("32c"), "32c_");
    EXPECT_EQ(PrefissoCursori("altro"), "16b_");
    EXPECT_EQ(NomeRisorsaCursore("32b_", 1), "32b_LenteIng.cur");
    EXPECT_EQ(NomeRisorsaCursore("16b_", 9), "16b_PennelloMark.cur");
    EXPECT_THROW(NomeRisorsaCursore("32b_", 10), veltrano::ErroreIntervallo);
    EXPECT_THROW(DisegnaCursore(0, "32b_"), veltrano::ErroreIntervallo);

    for (const char* prefisso : PrefissiCursori) {
        std::set<std::vector<uint32_t>> diversi;
        for (int n = 1; n <= NumCursori; ++n) {
            const TCursore c = DisegnaCursore(n, prefisso);
            const int lato = std::string(prefisso) == "16b_" ? 16 : 32;
            ASSERT_EQ(c.immagine.larghezza, lato) << prefisso << n;
            ASSERT_EQ(c.immagine.altezza, lato);
            EXPECT_GE(c.xCaldo, 0);
            EXPECT_LT(c.xCaldo, lato);
            EXPECT_LT(c.yCaldo, lato);
            diversi.insert(c.immagine.pixel);
            // The file gives back the same picture and hot spot.
            const auto file = CodificaCur(c);
            const TCursore r = DecodificaCur(file, "prova");
            EXPECT_EQ(r.immagine.pixel, c.immagine.pixel) << prefisso << n;
            EXPECT_EQ(r.xCaldo, c.xCaldo);
            EXPECT_EQ(r.yCaldo, c.yCaldo);
            // The hot spot is on a drawn pixel or next to one.
            int visibili = 0;
            for (uint32_t p : c.immagine.pixel)
                visibili += (p >> 24) != 0;
            EXPECT_GT(visibili, lato) << prefisso << n;
        }
        EXPECT_EQ(diversi.size(), static_cast<std::size_t>(NumCursori)) << "nine different pictures";
    }
    // A damaged file is refused with its name, never read past its end.
    auto file = CodificaCur(DisegnaCursore(3, "32b_"));
    file.resize(file.size() / 2);
    EXPECT_THROW(DecodificaCur(file, "rotto"), veltrano::ErroreLettura);
    EXPECT_THROW(DecodificaCur({}, "vuoto"), veltrano::ErroreLettura);
    // The map's pointer shapes take the library's cursors.
    EXPECT_EQ(CursoreSchermoDi(TFormaCursore::Lente), CursoreLenteIng);
    EXPECT_EQ(CursoreSchermoDi(TFormaCursore::Mano), CursoreManoAperta);
    EXPECT_EQ(CursoreSchermoDi(TFormaCursore::Croce), CursoreCroceNorm);
    EXPECT_EQ(CursoreSchermoDi(TFormaCursore::Freccia), 0);
}

TEST(Nomi, RestanoSulLayerPrendonoStileEColoreECedonoIlPosto) {
    TMappa m;
    m.ImpostaDimensioni(200, 200);
    m.ImpostaRapportoAspetto(1.0);
    m.ImpostaEstensione({0, 0, 20, 20});
    const int l = m.AggiungiLayer(nullptr, true);
    m.ImpostaFontLayer(l, {"Arial", 9});
    m.AggiungiEtichetta(l, "Sito", RGBWin(255, 255, 0), 5, 5, 1);
    m.AggiungiNome(l, "Sopra", 5, 5.1);
    m.AggiungiNome(l, "Altrove", 15, 15);
    auto scritte = [&] {
        TPittoreRegistro p;
        m.Disegna(p);
        return p.Colorati();
    };
    // Loaded but hidden: only the label.
    ASSERT_EQ(scritte().size(), 1u);
    const uint64_t prima = m.Versione();
    m.ImpostaNomiVisibili(l, true);
    EXPECT_GT(m.Versione(), prima) << "showing names redraws the map";
    auto s = scritte();
    ASSERT_EQ(s.size(), 2u) << "the name on top of the label gives way";
    EXPECT_EQ(s[0].testo, "Sito");
    EXPECT_EQ(s[1].testo, "Altrove");
    // The labels of a selection are replaced; the names stay.
    m.CancellaEtichette(l);
    EXPECT_EQ(m.Nomi(l).size(), 2u);
    // A new style reaches the names and the labels at once.
    m.AggiungiEtichetta(l, "Nuova", RGBWin(255, 255, 0), 10, 2, 1);
    m.ImpostaStileEtichette(l, {"Courier", 14}, RGBWin(0, 0, 255));
    s = scritte();
    ASSERT_EQ(s.size(), 3u);
    for (const auto& t : s) {
        EXPECT_EQ(t.carattere.nome, "Courier") << t.testo;
        EXPECT_EQ(t.colore, RGBWin(0, 0, 255)) << t.testo;
    }
    // Without a colour only the font changes.
    m.ImpostaStileEtichette(l, {"Arial", 8}, std::nullopt);
    EXPECT_EQ(m.Etichette(l)[0].colore, RGBWin(0, 0, 255));
    EXPECT_EQ(m.CarattereEtichetta(l, m.Etichette(l)[0]).nome, "Arial");
    m.ImpostaNomiVisibili(l, false);
    EXPECT_EQ(scritte().size(), 1u);
}
