#include "outputs/relazione.h"

#include "core/api.h"
#include "geo/comuni.h"
#include "geo/datum.h"
#include "map/amministrativi.h"
#include "map/contorno.h"
#include "map/file.h"
#include "map/ricerca_comune.h"
#include "map/segno_sito.h"
#include "map/testo1252.h"
#include "veltrano/versione.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace veltrano::uscite {

using mappa::TCarattere;
using mappa::TColore;
using mappa::TPenna;
using mappa::TPittore;
using mappa::TRettangoloPx;

namespace {

constexpr TColore Nero = mappa::RGBWin(0, 0, 0), Grigio = mappa::RGBWin(90, 90, 90),
                  GrigioChiaro = mappa::RGBWin(230, 230, 230), Bianco = mappa::RGBWin(255, 255, 255),
                  Mare = mappa::RGBWin(153, 217, 234), Terra = mappa::RGBWin(241, 236, 205),
                  ComuneSito = mappa::RGBWin(255, 255, 150), Rosso = mappa::RGBWin(200, 0, 0);
const char* const ClassiUso[4] = {"I", "II", "III", "IV"};
// The chart's least height [page units]: its titles, axes and legend stay readable.
constexpr double GraficoMinimo = 220;

TCarattere Titolo() { return {"Sans Serif", 15, true, false}; }
TCarattere Sezione() { return {"Sans Serif", 11, true, false}; }
TCarattere Testo() { return {"Sans Serif", 9, false, false}; }
TCarattere TestoGrassetto() { return {"Sans Serif", 9, true, false}; }
TCarattere Piccolo() { return {"Sans Serif", 7.5, false, false}; }

// v with `decimali` decimals and a decimal comma, as Italian reports write numbers.
std::string Numero(double v, int decimali) {
    char b[64];
    const auto r = std::to_chars(b, b + sizeof b, v, std::chars_format::fixed, decimali);
    std::string s(b, r.ptr);
    if (s.find_first_not_of("-0.") == std::string::npos && !s.empty() && s[0] == '-')
        s.erase(0, 1);
    std::replace(s.begin(), s.end(), '.', ',');
    return s;
}

std::string TestoCoordinate(double lon, double lat) {
    return "longitudine " + Numero(lon, 4) + "°, latitudine " + Numero(lat, 4) + "°";
}

// One line of text with its top at y; returns the line spacing.
double Riga(TPittore& p, double x, double y, const std::string& t, const TCarattere& c, TColore colore) {
    const mappa::TMetricaTesto m = p.MisuraTesto(t, c);
    p.Testo({x, y + m.ascesa}, t, c, colore);
    return m.altezza;
}

// Text that fits in larghezza: cut with "…" when it would not.
std::string Adatta(TPittore& p, std::string t, const TCarattere& c, double larghezza) {
    if (p.MisuraTesto(t, c).larghezza <= larghezza)
        return t;
    while (!t.empty() && p.MisuraTesto(t + "…", c).larghezza > larghezza) {
        t.pop_back();
        while (!t.empty() && (static_cast<unsigned char>(t.back()) & 0xC0) == 0x80)
            t.pop_back();
        if (!t.empty() && (static_cast<unsigned char>(t.back()) & 0x80))
            t.pop_back();
    }
    return t + "…";
}

std::vector<int32_t> Nodi(const TGIS_DatiOut& d) {
    std::vector<int32_t> n;
    for (std::size_t i = 0; i < 4; ++i) // by index: the record is packed
        if (const int32_t v = d.NumPunti[i]; v != 0)
            n.push_back(v);
    return n;
}

std::string NomeCampo(const std::shared_ptr<const mappa::TShapefile>& sf, int campo, int i) {
    return sf && i >= 0 && i < sf->NumShape() ? mappa::Da1252AUtf8(sf->ValoreCella(campo, i)) : std::string();
}

// The region as the dialog's list spells it ("Abruzzo"), whatever case the
// boundary source writes it in.
std::string NomeRegione(const std::string& nome) {
    for (const char* r : mappa::ElencoRegioni)
        if (mappa::UgualeIgnorandoAZ(nome, r))
            return r;
    return mappa::RegioneElenco(nome).value_or(nome);
}

} // namespace

TStratiRelazione StratiDaCartella(const std::filesystem::path& d) {
    auto apri = [](const std::filesystem::path& f, bool tabella) -> std::shared_ptr<const mappa::TShapefile> {
        if (!mappa::Esiste(f))
            return nullptr;
        auto sf = std::make_shared<mappa::TShapefile>();
        if (!sf->Apri(f, tabella))
            return nullptr;
        return sf;
    };
    return {apri(d / "Shape/regioni2010/reg2010_s.shp", true), apri(d / "Shape/province2010/prov2010_s.shp", true),
            apri(d / "Shape/comuni2010/com2010_s.shp", true), apri(d / "Shape/Griglia/Griglia.shp", false)};
}

TSitoRelazione SitoDaCartella(const std::filesystem::path& cartellaDati, double lon, double lat, bool wgs84, int vn,
                              int classe) {
    TSitoRelazione s;
    s.vn = vn;
    s.classe = classe;
    if (wgs84) {
        s.lonWGS84 = lon;
        s.latWGS84 = lat;
        const Coordinate e = ConvCoord_WGS84toED50(static_cast<float>(lon), static_cast<float>(lat));
        s.lonED50 = e.Lon;
        s.latED50 = e.Lat;
    } else {
        s.lonED50 = lon;
        s.latED50 = lat;
        const Coordinate w = ConvCoord_ED50toWGS84(static_cast<float>(lon), static_cast<float>(lat));
        s.lonWGS84 = w.Lon;
        s.latWGS84 = w.Lat;
    }
    const auto lonE = static_cast<float>(s.lonED50), latE = static_cast<float>(s.latED50);
    ControllaCoordinateSito(lonE, latE);
    const GrigliaSismica g(cartellaDati / "GeoDati.dat");
    TMagliaSito m{};
    g.CercaPuntiMaglia(lonE, latE, m);
    s.esito = CompletaSito(m, Norm_DM2008, lonE, latE, vn, classe, s.dati);
    if (!s.esito.Valido())
        throw ErroreIntervallo("il sito (" + Numero(s.lonED50, 4) + "; " + Numero(s.latED50, 4) +
                               " ED50) è fuori dalla griglia e da ogni isola: non ha valori di pericolosità");
    // The names are a courtesy: the hazard does not depend on them.
    try {
        const TStratiRelazione strati = StratiDaCartella(cartellaDati);
        if (strati.comuni) {
            const std::vector<TCoordComune> comuni = LeggiComuni((cartellaDati / "").u16string());
            const mappa::TComuneTrovato t = mappa::CercaComune(*strati.comuni, comuni, s.lonWGS84, s.latWGS84);
            s.comune = NomeCampo(strati.comuni, mappa::CampoNomeComune, t.iCom);
            s.provincia = NomeCampo(strati.province, mappa::CampoNomeProvincia, t.iProv);
            s.regione = NomeCampo(strati.regioni, mappa::CampoNomeRegione, t.iReg);
        }
    } catch (const Errore&) {
    }
    return s;
}

std::vector<TStatoSpettro> StatiSito(const TSitoRelazione& s) {
    const auto stato = [](const char* nome, const TGIS_ParZS& z) {
        return TStatoSpettro{nome, static_cast<int>(std::lround(z.Tr)), {z.ag, z.Fo, z.Tc_s}};
    };
    return {stato("SLO", s.dati.SLO), stato("SLD", s.dati.SLD), stato("SLV", s.dati.SLV), stato("SLC", s.dati.SLC)};
}

void PreparaMappaRelazione(mappa::TMappa& m, const TSitoRelazione& s, const TStratiRelazione& strati) {
    m.ImpostaColoreSfondo(Mare);
    // The municipalities (every layer is filled: the provinces' and regions'
    // would hide them, and at this scale their borders are the same lines).
    const int com = m.AggiungiLayer(strati.comuni, true);
    const int gri = m.AggiungiLayer(strati.griglia, true);
    m.ImpostaColoreRiempimento(com, Terra);
    m.ImpostaColoreLinea(com, mappa::RGBWin(120, 120, 120));
    m.ImpostaSpessoreLinea(com, 1);
    m.ImpostaDimensionePunto(gri, 5);
    m.ImpostaColoreRiempimento(gri, Nero);
    m.ImpostaTipoPunto(gri, mappa::PuntoCerchio);
    if (strati.comuni) {
        const int i = m.ShapeInPunto(com, s.lonWGS84, s.latWGS84);
        if (i >= 0)
            m.ImpostaColoreShape(com, i, ComuneSito);
    }

    // The cell through its nodes (ED50, as the grid), the nodes' numbers and the site.
    mappa::TEstensione e = mappa::TEstensione::Nessuna();
    e.Includi(mappa::TPunto{s.lonWGS84, s.latWGS84});
    std::vector<mappa::TPunto> nodi;
    for (int i = 0; i < 4; ++i)
        if (s.dati.NumPunti[i] != 0)
            nodi.push_back({s.dati.LonPunti[i], s.dati.LatPunti[i]});
    if (!s.esito.isola && nodi.size() == 4) {
        mappa::DisegnaContornoMaglia(m, {nodi[0], nodi[1], nodi[2], nodi[3]});
    } else if (!s.esito.isola && nodi.size() == 3) {
        m.NuovoDisegno();
        for (std::size_t i = 0; i < 3; ++i)
            m.DisegnaLinea(nodi[i].x, nodi[i].y, nodi[(i + 1) % 3].x, nodi[(i + 1) % 3].y, 1, 0);
    }
    m.NuovoDisegno();
    m.ImpostaOmbraEtichetteDisegno(true);
    if (!s.esito.isola)
        for (int i = 0; i < 4; ++i)
            if (s.dati.NumPunti[i] != 0) {
                m.DisegnaPunto(s.dati.LonPunti[i], s.dati.LatPunti[i], 7, Rosso);
                m.AggiungiEtichettaDisegno(std::to_string(s.dati.NumPunti[i]), Rosso, s.dati.LonPunti[i] + 0.002,
                                           s.dati.LatPunti[i] + 0.002, 0);
                e.Includi(mappa::TPunto{s.dati.LonPunti[i], s.dati.LatPunti[i]});
            }
    mappa::DisegnaSegnoSito(m, s.lonWGS84, s.latWGS84);
    // The cell and the site with room around them (an island: 0.1 degrees).
    const double mx = std::max(0.03, (e.xMax - e.xMin) * 0.6), my = std::max(0.03, (e.yMax - e.yMin) * 0.6);
    m.ImpostaEstensione({e.xMin - mx, e.yMin - my, e.xMax + mx, e.yMax + my}, false);
}

void DisegnaRelazione(TPittore& p, const TSitoRelazione& s, const TSceltaSpettri& spettri,
                      const TStratiRelazione& strati, const TRettangoloPx& area) {
    p.Antialias(true);
    const double x = area.x, w = area.larghezza;
    double y = area.y;
    y += Riga(p, x, y, Adatta(p, TitoloRelazione, Titolo(), w), Titolo(), Nero);
    y += Riga(p, x, y, "D.M. 14/01/2008, Norme tecniche per le costruzioni - Allegato B", Testo(), Grigio);
    y += 4;
    mappa::DisegnaLinea(p, {x, y}, {x + w, y}, TPenna{Nero, 1});
    y += 10;

    // The site.
    y += Riga(p, x, y, "Sito", Sezione(), Nero) + 2;
    std::string comune = s.comune.empty() ? "-" : s.comune;
    if (!s.provincia.empty())
        comune += " (provincia di " + s.provincia + ")";
    if (!s.regione.empty())
        comune += ", " + NomeRegione(s.regione);
    std::vector<std::pair<std::string, std::string>> voci{
        {"Comune", comune},
        {"Coordinate WGS84", TestoCoordinate(s.lonWGS84, s.latWGS84)},
        {"Coordinate ED50", TestoCoordinate(s.lonED50, s.latED50)},
    };
    if (s.altitudine)
        voci.push_back({"Altitudine", Numero(*s.altitudine, 2) + " m s.l.m."});
    voci.push_back({"Dati dell'opera", "vita nominale " + std::to_string(s.vn) + " anni, classe d'uso " +
                                           ClassiUso[std::clamp(s.classe, 1, 4) - 1]});
    std::string maglia;
    if (s.esito.isola) {
        maglia = "valori delle isole, D.M. 14/01/2008 - Allegato B - Tabella 2";
    } else {
        for (int32_t n : Nodi(s.dati))
            maglia += (maglia.empty() ? "" : ", ") + std::to_string(n);
    }
    voci.push_back({s.esito.isola ? "Pericolosità" : "Nodi della maglia", maglia});
    double colonna = 0;
    for (const auto& [k, v] : voci)
        colonna = std::max(colonna, p.MisuraTesto(k, TestoGrassetto()).larghezza);
    colonna += 12;
    for (const auto& [k, v] : voci) {
        Riga(p, x, y, k, TestoGrassetto(), Nero);
        y += Riga(p, x + colonna, y, Adatta(p, v, Testo(), w - colonna), Testo(), Nero) + 1;
    }
    y += 8;

    // The map excerpt, drawn by the map core in a box of its own.
    // What follows the map needs its room on the page: the caption, the
    // table (a heading, five rows, a note), the chart and the foot line. On
    // a short page (landscape) the map gives way first.
    const double rigaPiccola = p.MisuraTesto("Ag", Piccolo()).altezza;
    const double dopo = rigaPiccola + 13 + p.MisuraTesto("Ag", Sezione()).altezza + 4 +
                        5 * (p.MisuraTesto("Ag", TestoGrassetto()).altezza + 6) + 3 + rigaPiccola + 8 +
                        GraficoMinimo + rigaPiccola + 6;
    const double spazio = area.Basso() - y - dopo;
    const TRettangoloPx riquadro{x, y, w, std::round(std::clamp(std::min(area.altezza * 0.30, spazio), 100.0, 420.0))};
    {
        mappa::TMappa m;
        m.ImpostaDimensioni(static_cast<int>(riquadro.larghezza), static_cast<int>(riquadro.altezza));
        PreparaMappaRelazione(m, s, strati);
        TPittoreSpostato sp(p, riquadro.x, riquadro.y);
        m.Disegna(sp);
        p.Ritaglia(std::nullopt);
        p.Antialias(true);
    }
    p.Rettangolo(riquadro, TPenna{Nero, 1}, std::nullopt);
    y = riquadro.Basso() + 3;
    y += Riga(p, x, y,
              Adatta(p,
                     s.esito.isola ? "Il sito (croce)."
                                   : "Il sito (croce) e la maglia della griglia di riferimento con i numeri dei nodi.",
                     Piccolo(), w),
              Piccolo(), Grigio);
    y += 10;

    // The limit states, with the horizontal spectrum's factors and corners.
    y += Riga(p, x, y, "Parametri sismici per gli stati limite", Sezione(), Nero) + 4;
    const std::vector<TStatoSpettro> stati = StatiSito(s);
    const std::vector<std::string> intestazioni{"Stato limite", "TR [anni]", "ag [g]", "Fo [-]", "Tc* [s]",
                                                "S [-]",        "TB [s]",    "TC [s]", "TD [s]"};
    const double alta = p.MisuraTesto("Ag", TestoGrassetto()).altezza + 6;
    // Every heading whole: the columns share the width by their headings' needs.
    std::vector<double> larghe;
    double somma = 0;
    for (const std::string& t : intestazioni)
        somma += larghe.emplace_back(p.MisuraTesto(t, TestoGrassetto()).larghezza + 12);
    std::vector<double> inizi{x};
    for (std::size_t i = 0; i < larghe.size(); ++i) {
        larghe[i] += (w - somma) / static_cast<double>(larghe.size());
        inizi.push_back(inizi.back() + larghe[i]);
    }
    auto rigaTabella = [&](const std::vector<std::string>& celle, bool testa) {
        const TCarattere& c = testa ? TestoGrassetto() : Testo();
        p.Rettangolo({x, y, w, alta}, TPenna{Grigio, 1}, testa ? std::optional<TColore>(GrigioChiaro) : Bianco);
        for (std::size_t i = 0; i < celle.size(); ++i) {
            const std::string t = Adatta(p, celle[i], c, larghe[i] - 4);
            const mappa::TMetricaTesto m = p.MisuraTesto(t, c);
            p.Testo({inizi[i] + (larghe[i] - m.larghezza) / 2, y + 3 + m.ascesa}, t, c, Nero);
            if (i > 0)
                mappa::DisegnaLinea(p, {inizi[i], y}, {inizi[i], y + alta}, TPenna{Grigio, 1});
        }
        y += alta;
    };
    rigaTabella(intestazioni, true);
    for (const TStatoSpettro& st : stati) {
        const ParametriSpettro o = ParametriOrizzontali(st.azione, spettri.sito);
        rigaTabella({st.nome, std::to_string(st.TR), Numero(st.azione.ag, 3), Numero(st.azione.Fo, 3),
                     Numero(st.azione.Tc, 3), Numero(o.S, 3), Numero(o.TB, 3), Numero(o.TC, 3), Numero(o.TD, 3)},
                    false);
    }
    y += 3;
    std::string nota = std::string("S, TB, TC, TD: spettro orizzontale per sottosuolo di categoria ") +
                       NomeCategoria(spettri.sito.suolo) + ", " +
                       (spettri.sito.ST ? "ST " + Numero(*spettri.sito.ST, 2)
                                        : std::string("categoria topografica ") + NomeCategoria(spettri.sito.topografia)) +
                       ", smorzamento " + NumeroVirgola(spettri.sito.smorzamento) + "%.";
    y += Riga(p, x, y, Adatta(p, nota, Piccolo(), w), Piccolo(), Grigio);
    y += 8;

    // The chart fills the rest above the foot line.
    const double piede = p.MisuraTesto("Ag", Piccolo()).altezza;
    const TRettangoloPx grafico{x, y, w, std::max(GraficoMinimo, area.Basso() - piede - 6 - y)};
    DisegnaGrafico(p, GraficoSpettri(stati, spettri), grafico);
    p.Rettangolo(grafico, TPenna{GrigioChiaro, 1}, std::nullopt);
    Riga(p, x, area.Basso() - piede, "Veltrano " VELTRANO_VERSIONE " - pericolosità sismica secondo il D.M. 14/01/2008",
         Piccolo(), Grigio);
}

TDocumento DocumentoRelazione(TSitoRelazione s, TSceltaSpettri spettri, TStratiRelazione strati) {
    TDocumento d;
    d.titolo = TitoloRelazione;
    d.disegna = [s = std::move(s), spettri, strati = std::move(strati)](TPittore& p, const TRettangoloPx& area, int) {
        DisegnaRelazione(p, s, spettri, strati, area);
        return false;
    };
    return d;
}

} // namespace veltrano::uscite
