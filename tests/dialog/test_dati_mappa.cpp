// The generated map data against every comparison the dialog makes between
// its region list, the database fields and the shape names, for every
// region, province and municipality; the grid points; and the lookup of a
// point inside a municipality, at sea and far away.
#include "core/griglia.h"
#include "dialog/elenchi.h"
#include "map/ricerca_comune.h"
#include "geo/comuni.h"
#include "geo/datum.h"
#include "map/amministrativi.h"
#include "map/testo1252.h"
#include "tests/supporto_dati.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>

using namespace veltrano;
using namespace veltrano::dialogo;
using namespace veltrano::mappa;

namespace {

struct Dati {
    TShapefile reg, prov, com, griglia;
    std::vector<TCoordComune> comuni;
    Dati() {
        const auto d = test::DatiCostruiti();
        reg.Apri((d / "Shape/regioni2010/reg2010_s.shp").string());
        prov.Apri((d / "Shape/province2010/prov2010_s.shp").string());
        com.Apri((d / "Shape/comuni2010/com2010_s.shp").string());
        griglia.Apri((d / "Shape/Griglia/Griglia.shp").string());
        comuni = LeggiComuni((d / "").u16string());
    }
    std::string Regione(int i) const { return reg.ValoreCella(CampoNomeRegione, i); }
    std::string Provincia(int i) const { return prov.ValoreCella(CampoNomeProvincia, i); }
    std::string Comune(int i) const { return com.ValoreCella(CampoNomeComune, i); }
};

const Dati& D() {
    static const Dati d;
    return d;
}

std::vector<std::string> Elenco1252() {
    std::vector<std::string> r;
    for (const char* n : ElencoRegioni)
        r.push_back(Utf8A1252(n));
    return r;
}

} // namespace

TEST(DatiMappa, ConteggiEIdentificativi) {
    const Dati& d = D();
    EXPECT_EQ(d.reg.NumShape(), 20);
    EXPECT_EQ(d.prov.NumShape(), 107);
    ASSERT_EQ(d.com.NumShape(), 7899);
    ASSERT_EQ(d.comuni.size(), 7899u) << "one record per municipality polygon";
    for (std::size_t i = 0; i < d.comuni.size(); ++i) {
        const TCoordComune& c = d.comuni[i];
        ASSERT_EQ(int32_t{c.Id_sf_COM}, static_cast<int32_t>(i));
        ASSERT_TRUE(c.Id_sf_PROV >= 0 && c.Id_sf_PROV < 107);
        ASSERT_TRUE(c.Id_sf_REG >= 0 && c.Id_sf_REG < 20);
        ASSERT_TRUE(c.Lon > 6.5f && c.Lon < 18.6f && c.Lat > 35.4f && c.Lat < 47.1f) << TestoCampo(c.Nome);
        ASSERT_TRUE(c.Alt >= -5 && c.Alt < 3000) << TestoCampo(c.Nome);
        // The command line names the site from the record, the dialog from the shape.
        ASSERT_EQ(TestoCampo(c.Nome), d.Comune(c.Id_sf_COM));
        // The point lies in or near its own polygon (coastal town centres
        // may fall just outside the generalised coastline).
        const TEstensione& e = d.com.Shape(c.Id_sf_COM).estensione;
        ASSERT_TRUE(c.Lon > e.xMin - 0.05 && c.Lon < e.xMax + 0.05 && c.Lat > e.yMin - 0.05 && c.Lat < e.yMax + 0.05)
            << TestoCampo(c.Nome);
    }
}

TEST(DatiMappa, OgniRegioneDellElencoTrovaLaSuaShapeEISuoiComuni) {
    const Dati& d = D();
    for (const std::string& voce : Elenco1252()) {
        // Map zoom: the region shape whose name equals the item upper-cased.
        int trovate = 0;
        for (int i = 0; i < d.reg.NumShape(); ++i)
            trovate += d.Regione(i) == Maiuscolo1252(voce);
        EXPECT_EQ(trovate, 1) << voce;
        // The province and municipality lists of the region are not empty.
        EXPECT_FALSE(ElencoProvince(d.comuni, voce, d.prov.NumShape()).empty()) << voce;
        EXPECT_FALSE(ElencaComuni(d.comuni, voce, "").nomi.empty()) << voce;
    }
}

TEST(DatiMappa, OgniShapeDiRegioneTrovaLaSuaVoce) {
    const Dati& d = D();
    const auto elenco = Elenco1252();
    for (int i = 0; i < d.reg.NumShape(); ++i) {
        int perClic = 0, perSito = 0;
        for (const std::string& voce : elenco) {
            perClic += Maiuscolo1252(voce) == d.Regione(i);     // a click on the region
            perSito += UgualeIgnorando1252(voce, d.Regione(i)); // a site placed in it
        }
        EXPECT_EQ(perClic, 1) << d.Regione(i);
        EXPECT_EQ(perSito, 1) << d.Regione(i);
    }
}

TEST(DatiMappa, OgniRecordConcordaConLeSueShape) {
    const Dati& d = D();
    const auto elenco = Elenco1252();
    for (const TCoordComune& c : d.comuni) {
        const std::string reg = TestoCampo(c.Reg), prov = TestoCampo(c.Prov), nome = TestoCampo(c.Nome);
        int voci = 0;
        for (const std::string& v : elenco)
            voci += UgualeIgnorandoAZ(v, reg);
        ASSERT_EQ(voci, 1) << reg;
        ASSERT_EQ(d.Regione(c.Id_sf_REG), Maiuscolo1252(reg)) << nome;
        ASSERT_EQ(d.Provincia(c.Id_sf_PROV), prov) << nome;
        ASSERT_EQ(d.Comune(c.Id_sf_COM), nome);
    }
}

TEST(DatiMappa, OgniProvinciaEComuneSiRitrovaNeiSuoiElenchi) {
    const Dati& d = D();
    std::set<std::string> nomiProvince;
    for (int i = 0; i < d.prov.NumShape(); ++i)
        EXPECT_TRUE(nomiProvince.insert(d.Provincia(i)).second) << "province names are unique: " << d.Provincia(i);
    std::map<std::string, std::vector<std::string>> province;
    for (const std::string& voce : Elenco1252())
        province[voce] = ElencoProvince(d.comuni, voce, d.prov.NumShape());
    std::map<std::pair<std::string, std::string>, ElencoComuni> comuni;
    for (std::size_t i = 0; i < d.comuni.size(); ++i) {
        const TCoordComune& c = d.comuni[i];
        const std::string reg = TestoCampo(c.Reg), prov = TestoCampo(c.Prov), nome = TestoCampo(c.Nome);
        const auto& lp = province.at(reg);
        ASSERT_EQ(std::count(lp.begin(), lp.end(), prov), 1) << prov;
        auto it = comuni.find({reg, prov});
        if (it == comuni.end())
            it = comuni.emplace(std::make_pair(reg, prov), ElencaComuni(d.comuni, reg, prov)).first;
        const ElencoComuni& lc = it->second;
        ASSERT_EQ(std::count(lc.nomi.begin(), lc.nomi.end(), nome), 1) << nome << " in " << prov;
        const auto k = std::find(lc.nomi.begin(), lc.nomi.end(), nome) - lc.nomi.begin();
        ASSERT_EQ(lc.indici[static_cast<std::size_t>(k)], static_cast<int>(i));
    }
}

TEST(DatiMappa, SardegnaProvinceInOrdineAlfabetico) {
    const auto p = ElencoProvince(D().comuni, "Sardegna", D().prov.NumShape());
    const std::vector<std::string> attese{"Cagliari", "Nuoro", "Oristano", "Sassari", "Sud Sardegna"};
    EXPECT_EQ(p, attese);
}

TEST(DatiMappa, NomiAccentatiInWindows1252) {
    const Dati& d = D();
    auto ContieneNome = [](const TShapefile& sf, int campo, const char* utf8) {
        for (int i = 0; i < sf.NumShape(); ++i)
            if (sf.ValoreCella(campo, i) == Utf8A1252(utf8))
                return true;
        return false;
    };
    EXPECT_TRUE(ContieneNome(d.prov, CampoNomeProvincia, "Forlì-Cesena"));
    EXPECT_TRUE(ContieneNome(d.com, CampoNomeComune, "Forlì"));
    EXPECT_TRUE(ContieneNome(d.com, CampoNomeComune, "Cefalù"));
    EXPECT_TRUE(ContieneNome(d.com, CampoNomeComune, "Duino Aurisina-Devin Nabrežina"));
    EXPECT_TRUE(ContieneNome(d.reg, CampoNomeRegione, "VALLE D'AOSTA/VALLÉE D'AOSTE"));
    EXPECT_EQ(Da1252AUtf8(Utf8A1252("Cefalù")), "Cefalù");
}

TEST(DatiMappa, GrigliaUnPuntoPerNodoInOrdine) {
    const Dati& d = D();
    Griglia g;
    g.Carica(test::DatiCostruiti() / "GeoDati.dat");
    ASSERT_EQ(d.griglia.NumShape(), NumNodi);
    for (int n = 1; n <= NumNodi; n += 97) {
        const TShape& s = d.griglia.Shape(n - 1);
        const Coordinate w = ConvCoord_ED50toWGS84(g.Lon(0, n), g.Lat(0, n));
        ASSERT_NEAR(s.punti[0].x, w.Lon, 1e-5) << n;
        ASSERT_NEAR(s.punti[0].y, w.Lat, 1e-5) << n;
        ASSERT_EQ(d.griglia.ValoreCellaNumero(0, n - 1), g.ID(0, n));
    }
}

TEST(RicercaComune, PuntoDentroUnComune) {
    const Dati& d = D();
    const TComuneTrovato t = CercaComune(d.com, d.comuni, 12.4837, 41.8928);
    ASSERT_GE(t.iCom, 0);
    EXPECT_EQ(d.Comune(t.iCom), "Roma");
    EXPECT_EQ(d.Provincia(t.iProv), "Roma");
    EXPECT_EQ(d.Regione(t.iReg), "LAZIO");
    // Every town centre inside its own polygon finds that municipality.
    for (std::size_t i = 0; i < d.comuni.size(); i += 53) {
        const TCoordComune& c = d.comuni[i];
        if (!d.com.PuntoInShape(c.Id_sf_COM, c.Lon, c.Lat))
            continue;
        const TComuneTrovato r = CercaComune(d.com, d.comuni, c.Lon, c.Lat);
        ASSERT_EQ(r.iCom, int32_t{c.Id_sf_COM}) << TestoCampo(c.Nome);
        ASSERT_EQ(r.iProv, int32_t{c.Id_sf_PROV});
        ASSERT_EQ(r.iReg, int32_t{c.Id_sf_REG});
    }
}

TEST(RicercaComune, InMareUnComuneDellaProvinciaPiuVicina) {
    const Dati& d = D();
    // In the Tyrrhenian off Naples, no polygon contains the point.
    const double lon = 14.05, lat = 40.55;
    std::size_t vicino = 0;
    double best = 1e9;
    for (std::size_t i = 0; i < d.comuni.size(); ++i) {
        const double dist = std::hypot(d.comuni[i].Lon - lon, d.comuni[i].Lat - lat);
        if (dist < best)
            best = dist, vicino = i;
    }
    ASSERT_LT(best, 0.5);
    const TComuneTrovato t = CercaComune(d.com, d.comuni, lon, lat);
    ASSERT_GE(t.iCom, 0);
    EXPECT_FALSE(d.com.PuntoInShape(t.iCom, lon, lat));
    EXPECT_EQ(d.Provincia(t.iProv), TestoCampo(d.comuni[vicino].Prov));
}

TEST(RicercaComune, LontanoNessunComune) {
    const Dati& d = D();
    for (auto [lon, lat] : {std::pair{5.0, 35.0}, std::pair{20.5, 45.0}, std::pair{12.0, 38.9}}) {
        const TComuneTrovato t = CercaComune(d.com, d.comuni, lon, lat);
        EXPECT_EQ(t.iCom, -1) << lon << " " << lat;
        EXPECT_EQ(t.iProv, -1);
        EXPECT_EQ(t.iReg, -1);
    }
}
