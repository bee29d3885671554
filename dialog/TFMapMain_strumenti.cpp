// TFMapMain: the map tools of the toolbar and of the right panel, and what a
// click or a move over the map does with them: the site pick, the
// administrative pick, the instant computation, the distance tool with its
// rubber band, "Calcola Altitudine".
//
// The tool state is the down state of the buttons. Zoom in, zoom out and pan
// are one group; "Seleziona sito" releases that group, and any zoom button
// releases "Seleziona sito" and "Calcola Distanza"; "Calcola Distanza"
// releases "Zoom Più" and, after one measure, itself.
#include "dialog/TFMapMain.h"

#include "dialog/coordinate.h"
#include "dialog/testi.h"
#include "map/distanza.h"

#include <cstdio>

namespace veltrano::dialogo {

using C = TControllo;

namespace {
constexpr mappa::TColore Acqua = mappa::RGBWin(0, 255, 255);
constexpr mappa::TColore Blu = mappa::RGBWin(0, 0, 255);
constexpr double DimensionePuntoMisura = 5, SpessoreLineaMisura = 3;
} // namespace

void TFMapMain::CollegaStrumenti() {
    for (C z : {C::TB_ZoomPiu, C::TB_ZoomMeno, C::TB_Pan})
        premuto_[z] = [this, z] { TB_ZoomPiuClick(z); };
    click_[C::TB_ZoomTutto] = [this] { TB_ZoomPiuClick(C::TB_ZoomTutto); };
    click_[C::TB_ZoomPrec] = [this] { Map.ZoomPrecedente(); };
    premuto_[C::TB_Punt] = [this] { TB_PuntClick(); };
    premuto_[C::TB_Admin] = [this] { TB_AdminClick(); };
    premuto_[C::TB_Hint] = [this] { TB_HintClick(); };
    premuto_[C::SB_CalcDist] = [this] { SB_CalcDistClick(); };
    click_[C::SB_Altitudine] = [this] { SB_AltitudineClick(); };
}

// ---- Toolbar

void TFMapMain::TB_PuntClick() {
    if (Giu(C::TB_Punt)) {
        Map.ImpostaModoCursore(mappa::ModoSelezione);
        for (C z : {C::TB_ZoomPiu, C::TB_ZoomMeno, C::TB_Pan})
            ImpostaPremuto(z, false);
        Mapping = false;
        Map.CancellaDisegni();
    } else {
        Mapping = true;
    }
}

void TFMapMain::TB_AdminClick() {
    Map.ImpostaModoCursore(Giu(C::TB_Admin) ? mappa::ModoSelezione : mappa::ModoZoomPiu);
}

void TFMapMain::TB_HintClick() {
    Map.ImpostaModoCursore(Giu(C::TB_Hint) ? mappa::ModoSelezione : mappa::ModoZoomPiu);
}

void TFMapMain::TB_ZoomPiuClick(TControllo da) {
    Map.ImpostaCursoreMappa(mappa::CursorePredefinito);
    if (Giu(C::TB_ZoomPiu))
        Map.ImpostaModoCursore(mappa::ModoZoomPiu);
    if (Giu(C::TB_ZoomMeno))
        Map.ImpostaModoCursore(mappa::ModoZoomMeno);
    if (da == C::TB_ZoomTutto)
        Map.ZoomEstensioneMassima();
    if (Giu(C::TB_Pan))
        Map.ImpostaModoCursore(mappa::ModoPan);
    ImpostaPremuto(C::SB_CalcDist, false);
    ImpostaPremuto(C::TB_Punt, false);
}

// ---- Right panel

void TFMapMain::SB_CalcDistClick() {
    if (Giu(C::TB_Google)) {
        // The on-line map measures with the page's own ruler.
        EseguiScript(Giu(C::SB_CalcDist) ? "addruler()" : "clearDistance()");
        return;
    }
    if (Giu(C::SB_CalcDist)) {
        Measuring = true;
        Map.ImpostaModoCursore(mappa::ModoNessuno);
        Map.ImpostaCursoreMappa(mappa::CursoreCroce);
        // Presses reach the form from now on: a measure is press, drag, release.
        Map.inviaMouseGiu = true;
        ImpostaPremuto(C::TB_ZoomPiu, false);
    } else {
        Map.CancellaDisegni();
        Map.ImpostaCursoreMappa(mappa::CursorePredefinito);
        Map.ImpostaModoCursore(mappa::ModoZoomPiu);
        ImpostaPremuto(C::TB_ZoomPiu, true);
    }
}

void TFMapMain::SB_AltitudineClick() {
    if (Giu(C::TB_Google)) {
        LeggiAltitudineWeb();
        int n = 0;
        ScriviRisultati(n, NumeroOZero(Testo(C::NxTextItem5)), NumeroOZero(Testo(C::NxTextItem6)));
        return;
    }
    // The map has no terrain: the site takes the altitude that the
    // municipality database gives the municipality it lies in, as when the
    // municipality is chosen from the list.
    const double lon = NumeroOZero(Testo(C::Edit1)), lat = NumeroOZero(Testo(C::Edit2));
    double x = 0, y = 0;
    int r = -1, p = -1, c = -1;
    CercaComunePunto(false, lon, lat, x, y, r, p, c);
    std::string altitudine;
    for (const TCoordComune& k : CoorCom)
        if (c >= 0 && k.Id_sf_COM == c) {
            altitudine = FormatoReale("%4.2f", k.Alt);
            break;
        }
    ImpostaTesto(C::NxTextItem7, altitudine);
    int n = 0;
    ScriviRisultati(n, NumeroOZero(Testo(C::NxTextItem5)), NumeroOZero(Testo(C::NxTextItem6)));
}

// ---- Pointer over the map

void TFMapMain::Map1MouseDown(int x, int y, bool premuto) {
    // In this order of precedence; neither pick takes the events of a
    // measure under way, nor a press.
    if (Giu(C::TB_Punt) && !Giu(C::SB_CalcDist)) {
        if (!premuto)
            PickSito(x, y);
    } else if (Giu(C::TB_Admin) && !Giu(C::SB_CalcDist)) {
        if (!premuto)
            PickAmministrativo(x, y);
    } else if (Giu(C::SB_CalcDist))
        EventoDistanza(x, y);
}

void TFMapMain::PickSito(int x, int y) {
    double lon = 0, lat = 0;
    int r = -1, p = -1, c = -1;
    CercaComunePunto(true, x, y, lon, lat, r, p, c);
    NomiDaShape(r, p, c);
    SelezionaNomi();
    AggiornaSito(true, lon, lat);
    ImpostaPremuto(C::TB_Hint, false);
    ImpostaIndice(C::Radiogroup1, ModoCoordinate);
    for (C l : {C::cmb_Reg, C::cmb_Prov, C::cmb_Com, C::cmb_ComUt})
        ImpostaAbilitato(l, false);
    Comune = false;
    Map.CancellaDisegni();
    Map.NuovoDisegno();
    DisegnaSito(lon, lat);
    EvidenziaComune(c);
    StatoPannello1();
}

void TFMapMain::PickAmministrativo(int x, int y) {
    // The highest visible administrative layer decides the level.
    int livello = -1;
    for (int l : {LayerRegioni, LayerProvince, LayerComuni})
        if (livello < 0 && Map.LayerVisibile(l))
            livello = l;
    if (livello < 0)
        return;
    const mappa::TPunto m = Map.PixelAMappa({static_cast<double>(x), static_cast<double>(y)});
    const int i = Map.ShapeInPunto(livello, m.x, m.y);
    // A click outside every shape chooses nothing.
    if (i < 0)
        return;
    if (livello == LayerRegioni)
        SelezionaRegione(i);
    else if (livello == LayerProvince)
        SelezionaProvincia(i);
    else
        SelezionaComune(i);
}

void TFMapMain::EventoDistanza(int x, int y) {
    ++contaClick;
    const mappa::TPunto qui = Map.PixelAMappa({static_cast<double>(x), static_cast<double>(y)});
    if (contaClick == 1) {
        if (!MeasureStart) {
            // From the site when there is one, else from the pressed point.
            const double lon = NumeroOZero(Testo(C::Edit1)), lat = NumeroOZero(Testo(C::Edit2));
            const bool sito = ModoIndividuazione() == ModoCoordinate ? lon != 0 || lat != 0 : Indice(C::cmb_Com) > 0;
            MeasureStart = sito ? mappa::TPunto{lon, lat} : qui;
        }
        Map.NuovoDisegno();
        Map.DisegnaPunto(MeasureStart->x, MeasureStart->y, DimensionePuntoMisura, Acqua);
        return;
    }
    if (MeasureExists) {
        Map.NuovoDisegno();
        Map.DisegnaPunto(qui.x, qui.y, DimensionePuntoMisura, Acqua);
        MeasureExists = false;
    }
    // One measure and the tool is off; the line and its label stay. The
    // cross goes with it: it would promise a measure that no longer comes.
    MeasureStart.reset();
    contaClick = 0;
    ImpostaPremuto(C::SB_CalcDist, false);
    Map.ImpostaCursoreMappa(mappa::CursorePredefinito);
}

void TFMapMain::ElasticoDistanza(double Lon, double Lat) {
    const mappa::TPunto a = *MeasureStart;
    Map.CancellaDisegni();
    const double km = mappa::DistanzaKm(a, {Lon, Lat});
    Map.NuovoDisegno();
    DisegnaSito(NumeroOZero(Testo(C::Edit1)), NumeroOZero(Testo(C::Edit2)));
    Map.DisegnaPunto(a.x, a.y, DimensionePuntoMisura, Acqua);
    Map.DisegnaPunto(Lon, Lat, DimensionePuntoMisura, Acqua);
    Map.DisegnaLinea(a.x, a.y, Lon, Lat, SpessoreLineaMisura, Blu);
    MeasureExists = true;
    Map.ImpostaOmbraEtichetteDisegno(true);
    Map.AggiungiEtichettaDisegno(mappa::EtichettaDistanza(km), Blu, (a.x + Lon) / 2, (a.y + Lat) / 2, 1);
    const bool metri = km <= mappa::SogliaMetri;
    ImpostaTesto(C::NxTextItem8, FormatoReale("%f", metri ? km * 1000 : km));
    ImpostaCaption(C::NxTextItem8, metri ? testi::DistanzaM : testi::DistanzaKm);
}

void TFMapMain::Map1MouseMove(int x, int y) {
    const mappa::TPunto m = Map.PixelAMappa({static_cast<double>(x), static_cast<double>(y)});
    ImpostaTesto(C::StatusPanel0,
                 "Longitudine = " + FormatoCoordinata(m.x) + "° - Latitudine = " + FormatoCoordinata(m.y) + "°");
    if (Giu(C::TB_Hint)) {
        double lon = 0, lat = 0;
        int r = -1, p = -1, c = -1;
        CercaComunePunto(true, x, y, lon, lat, r, p, c);
        NomiDaShape(r, p, c);
        AggiornaSito(true, lon, lat);
    }
    if (Giu(C::SB_CalcDist) && Measuring && MeasureStart)
        ElasticoDistanza(m.x, m.y);
    StatoPannello1();
}

} // namespace veltrano::dialogo
