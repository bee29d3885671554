// The site report on the built data: the site computed as the engine
// computes it, named by the municipality under it; the page with every text
// inside it, the map excerpt holding the site's mark and its cell, the table
// and the chart of the four limit states.
#include "core/api.h"
#include "outputs/relazione.h"
#include "tests/map/pittore_registro.h"
#include "veltrano/veltrano.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace veltrano::uscite {
namespace {

using mappa::TRettangoloPx;
using test::TPittoreRegistro;

const std::filesystem::path Dati = VELTRANO_DATI;

bool Scritto(const TPittoreRegistro& p, const std::string& t) {
    return std::any_of(p.testi.begin(), p.testi.end(), [&](const auto& s) { return s.testo.find(t) != std::string::npos; });
}

TEST(Relazione, TheSiteIsTheEnginesWithTheNamesUnderIt) {
    const TSitoRelazione s = SitoDaCartella(Dati, 13.4, 42.35, false, 50, 2);
    const GrigliaSismica griglia(Dati / "GeoDati.dat");
    CalcolatoreSismico calcolo(griglia);
    const TGIS_DatiOut atteso = calcolo.Calcola(Norm_DM2008, 13.4f, 42.35f, 50, 2);
    EXPECT_FLOAT_EQ(float{s.dati.SLV.ag}, float{atteso.SLV.ag});
    EXPECT_FLOAT_EQ(float{s.dati.SLC.Tc_s}, float{atteso.SLC.Tc_s});
    EXPECT_EQ(int32_t{s.dati.NumPunti[3]}, int32_t{atteso.NumPunti[3]});
    EXPECT_EQ(s.esito.numNodi, 4);
    EXPECT_EQ(s.comune, "L'Aquila");
    EXPECT_EQ(s.regione, "ABRUZZO") << "as the boundaries name it; the page writes it as the list does";
    EXPECT_FALSE(s.provincia.empty());
    EXPECT_NEAR(s.lonWGS84, 13.4, 0.003) << "WGS84 from ED50";
    const auto stati = StatiSito(s);
    ASSERT_EQ(stati.size(), 4u);
    EXPECT_EQ(stati[2].nome, "SLV");
    EXPECT_EQ(stati[2].TR, 475);
    // The same site given in WGS84 is the same site.
    const TSitoRelazione w = SitoDaCartella(Dati, s.lonWGS84, s.latWGS84, true, 50, 2);
    EXPECT_NEAR(w.lonED50, 13.4, 1e-4);
    // No hazard values, no report.
    EXPECT_THROW(SitoDaCartella(Dati, 0, 0, false, 50, 2), ErroreIntervallo);
    EXPECT_THROW(SitoDaCartella(Dati, 13.4, 95, false, 50, 2), ErroreIntervallo);
}

TEST(Relazione, OnePageWithTheSiteTheMapTheTableAndTheChart) {
    TSitoRelazione s = SitoDaCartella(Dati, 13.4, 42.35, false, 50, 2);
    s.altitudine = 714;
    TSceltaSpettri scelta;
    scelta.sito.suolo = CategoriaSuolo::C;
    scelta.sito.topografia = CategoriaTopografica::T2;
    const TDocumento d = DocumentoRelazione(s, scelta, StratiDaCartella(Dati));
    const TRettangoloPx area{0, 0, Mm(180), Mm(267)};
    TPittoreRegistro p;
    EXPECT_FALSE(d.disegna(p, area, 0)) << "one page";
    for (const char* t : {"Pericolosità sismica del sito", "L'Aquila", "Abruzzo", "714,00 m s.l.m.", "26305",
                          "SLV", "475", "0,261", "categoria C", "topografica T2", "SLC (TR 975)", "Periodo T [s]"})
        EXPECT_TRUE(Scritto(p, t)) << t;
    for (const auto& t : p.testi) {
        const double w = p.MisuraTesto(t.testo, t.carattere).larghezza;
        EXPECT_GE(t.base.x, area.x - 1e-6) << t.testo;
        EXPECT_LE(t.base.x + w, area.Destra() + 1) << t.testo;
        EXPECT_GE(t.base.y, area.y) << t.testo;
        EXPECT_LE(t.base.y, area.Basso() + 1e-6) << t.testo;
    }
    // The map excerpt: the site's rings and the cell's four sides inside one
    // box of the page (the box is the first rectangle framed after the map).
    ASSERT_GE(p.ellissi.size(), 3u);
    const auto riquadro = std::find_if(p.rettangoli.begin(), p.rettangoli.end(), [&](const TRettangoloPx& r) {
        return r.larghezza == area.larghezza && r.altezza > 100 && r.y > 0;
    });
    ASSERT_NE(riquadro, p.rettangoli.end());
    for (const auto& e : p.ellissi)
        EXPECT_TRUE(riquadro->Contiene(e.centro));
    std::size_t lati = 0;
    for (const auto& l : p.linee)
        for (const auto& q : l.punti)
            lati += riquadro->Contiene(q);
    EXPECT_GE(lati, 8u) << "the cross and the cell's sides";

    // A landscape page chosen in the print dialog: still one page, all on it.
    const TRettangoloPx orizzontale{0, 0, Mm(267), Mm(180)};
    TPittoreRegistro q;
    d.disegna(q, orizzontale, 0);
    EXPECT_TRUE(Scritto(q, "Periodo T [s]"));
    for (const auto& t : q.testi)
        EXPECT_LE(t.base.y, orizzontale.Basso() + 1e-6) << t.testo;
    for (const auto& r : q.rettangoli)
        EXPECT_LE(r.Basso(), orizzontale.Basso() + 1e-6);
}

TEST(Relazione, AnIslandHasNoCellAndSaysSo) {
    // Sardinia: values of the code's table 2.
    const TSitoRelazione s = SitoDaCartella(Dati, 9.0, 40.0, false, 50, 2);
    ASSERT_TRUE(s.esito.isola);
    TPittoreRegistro p;
    DisegnaRelazione(p, s, {}, StratiDaCartella(Dati), {0, 0, Mm(180), Mm(267)});
    EXPECT_TRUE(Scritto(p, "Tabella 2"));
    EXPECT_FALSE(Scritto(p, "maglia della griglia"));
}

} // namespace
} // namespace veltrano::uscite
