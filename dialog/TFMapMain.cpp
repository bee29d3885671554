// TFMapMain: creation, showing and resize; the state of the controls and
// the dispatch of the user's input to the handlers of each concern.
#include "dialog/TFMapMain.h"

#include "dialog/coordinate.h"
#include "dialog/testi.h"
#include "geo/comuni.h"
#include "geo/datum.h"
#include "map/file.h"

#include <clocale>

namespace veltrano::dialogo {

using C = TControllo;

TFMapMain::TFMapMain(const std::filesystem::path& percorsoDati, TVistaDialogo& vista)
    : vista_(vista), percorsoDati_(percorsoDati), controlli_(static_cast<std::size_t>(NumControlli)) {
    // The control word is the dialog's from here on (member fpu).
    Normativa = Norm_DM2008;
    InizializzaControlli();
    Map.inviaMouseGiu = false;
    Map.inviaMouseSu = true;
    Map.inviaMouseMovimento = true;
    CollegaIdentificazione();
    CollegaSiti();
    CollegaMappa();
    CollegaStrumenti();
    CollegaOpzioni();
    CollegaChiusura();
    CollegaUscite();
    CollegaAiuto();
    CollegaWeb();

    ImpostaSeparatori();
    cartellaScrittura_ = percorsoDati_;
    if (!mappa::Scrivibile(percorsoDati_))
        if (const auto utente = mappa::CartellaUtente(); !utente.empty())
            cartellaScrittura_ = utente;
    ImpostaCoordinateIniziali();
    griglia_ = std::make_unique<GrigliaSismica>(percorsoDati_ / "GeoDati.dat");
    CoorCom = LeggiComuni((percorsoDati_ / "").u16string());
    RiempiComuni();
    CaricaLocUtente();
    RiempiListaLocUtente(testi::SceltaLocalita);
    // The first colouring takes the return period the item shows before the
    // options are read (its design value, 475 years).
    const int indiceTR = Indice(C::NxComboBoxItem1);
    CaricaOpzioniForm();
    CaricaLayer();
    ColoraGriglia(indiceTR);
    ImpostaVisibile(C::Panel9, Giu(C::CB_VisGriglia));
    shpHandle = -1;
    layerHandle = -1;
    if (!motivoLocUtente_.empty())
        Messaggio(ConTesto(testi::SitiUtenteDanneggiati, motivoLocUtente_));
}

TFMapMain::~TFMapMain() = default;

std::filesystem::path TFMapMain::FileDaLeggere(const char* nome) const {
    if (cartellaScrittura_ != percorsoDati_ && mappa::Esiste(cartellaScrittura_ / nome))
        return cartellaScrittura_ / nome;
    return percorsoDati_ / nome;
}

void TFMapMain::ImpostaSeparatori() {
    // Coordinate texts are formatted and parsed with "." by our own
    // routines; this keeps the C runtime in step for any other number.
    std::setlocale(LC_NUMERIC, "C");
}

void TFMapMain::InizializzaControlli() {
    for (const auto* tabella : {&ItemsSito(), &ItemsSitoUtente(), &ItemsOpzioniAmministrative(),
                                &ItemsOpzioniGeografiche()})
        for (const TDefinizioneItem& d : *tabella) {
            TStatoControllo& s = controlli_[Indice_(d.id)];
            s.caption = d.caption;
            if (d.tipo == TTipoItem::Lista || d.tipo == TTipoItem::ListaScrivibile) {
                s.elementi = d.elementi;
                s.indice = s.elementi.empty() ? -1 : 0;
                s.testo = s.elementi.empty() ? "" : s.elementi[0];
            } else if (d.tipo == TTipoItem::Spin) {
                s.testo = std::to_string(d.valore);
            }
        }
    for (const auto* tabella : {&PulsantiToolbar(), &PulsantiToolbarMappa(), &PulsantiSitoUtente(),
                                &PulsantiRisultati(), &PulsantiPannello()})
        for (const TDefinizionePulsante& d : *tabella)
            if (d.id != C::Nessuno)
                controlli_[Indice_(d.id)].caption = d.testo;
    // What the form shows before anything else happens.
    ImpostaIndice(C::ComboBox1, 1);
    ImpostaIndice(C::ComboBox2, 1);
    ImpostaIndice(C::NxComboBoxItem1, 6);
    ImpostaPremuto(C::NxRadioItem1, true);
    ImpostaPremuto(C::CB_VisReg, true);
    ImpostaPremuto(C::TB_Map, true);
    // The on-line map only where the front end can show it.
    ImpostaAbilitato(C::TB_Google, vista_.OffreMappaWeb());
    ImpostaVisibile(C::Panel10, false);
    ImpostaVisibile(C::Panel7, false);
    ImpostaVisibile(C::EditIndirizzo, false);
    ImpostaTesto(C::LbAvviso, testi::AvvisoElenco);
    ImpostaCaption(C::SB_Chiudi, testi::Chiudi);
    ImpostaCaption(C::NxTextItem8, testi::DistanzaKm);
}

// ---- Showing and resize

void TFMapMain::Mostrato() {
    if (mostrato_)
        return;
    mostrato_ = true;
    vista_.ImpostaTitolo(testi::Titolo);
    Map.ImpostaColoreSfondo(mappa::RGBWin(153, 217, 234));
    const auto lon = LeggiNumero(Testo(C::Edit1)), lat = LeggiNumero(Testo(C::Edit2));
    if (lon && lat) {
        // The first report names the municipality even when nothing looked
        // it up before (the free mode): "Comune di" with no name says nothing.
        if (sReg.empty() && sProv.empty() && sCom.empty()) {
            double x = 0, y = 0;
            int r = -1, p = -1, c = -1;
            CercaComunePunto(false, *lon, *lat, x, y, r, p, c);
            NomiDaShape(r, p, c);
            StatoPannello1();
        }
        const Coordinate e = ConvCoord_WGS84toED50(static_cast<float>(*lon), static_cast<float>(*lat));
        ImpostaTesto(C::NxTextItem5, FormatoCoordinata(e.Lon));
        ImpostaTesto(C::NxTextItem6, FormatoCoordinata(e.Lat));
        AggiornaCoordinate(false, *lon, *lat);
    } else {
        Messaggio(FormatoNonNumero(lon ? Testo(C::Edit2) : Testo(C::Edit1)));
    }
    ImpostaPremuto(C::TB_ZoomPiu, true);
    Map.ImpostaModoCursore(mappa::ModoZoomPiu);
    ImpostaVisibile(C::EditorLocUtente, false);
    ImpostaVisibile(C::CatIndirizzo, false);
    ZoomSelezione();
    vista_.SelezionaItem(C::Radiogroup1);
    vista_.Massimizza();
    // "Calcola Altitudine" works on this map too (from the municipality
    // database); it needs a site.
    ImpostaVisibile(C::SB_Altitudine, true);
    ImpostaAbilitato(C::SB_Altitudine, NumeroOZero(Testo(C::Edit1)) != 0 && NumeroOZero(Testo(C::Edit2)) != 0);
}

void TFMapMain::Ridimensionato() { ZoomSelezione(); }

void TFMapMain::ZoomSelezione() {
    if (layerHandle > -1 && shpHandle > -1)
        Map.ZoomShape(layerHandle, shpHandle);
    else
        Map.ZoomEstensioneMassima();
}

void TFMapMain::StatoPannello1() { ImpostaTesto(C::StatusPanel1, sReg + " - " + sProv + " - " + sCom); }

// ---- Control state

std::string TFMapMain::Testo(TControllo c) const { return Stato(c).testo; }

void TFMapMain::ImpostaTesto(TControllo c, const std::string& t) {
    controlli_[Indice_(c)].testo = t;
    vista_.ImpostaTesto(c, t);
}

void TFMapMain::ImpostaCaption(TControllo c, const std::string& t) {
    controlli_[Indice_(c)].caption = t;
    vista_.ImpostaCaption(c, t);
}

void TFMapMain::ImpostaElementi(TControllo c, const std::vector<std::string>& e) {
    TStatoControllo& s = controlli_[Indice_(c)];
    s.elementi = e;
    s.indice = -1;
    vista_.ImpostaElementi(c, e);
}

void TFMapMain::ImpostaIndice(TControllo c, int i) {
    TStatoControllo& s = controlli_[Indice_(c)];
    s.indice = i >= 0 && i < static_cast<int>(s.elementi.size()) ? i : -1;
    if (s.indice >= 0)
        s.testo = s.elementi[static_cast<std::size_t>(s.indice)];
    else if (c != C::cmb_Com)
        s.testo.clear();
    vista_.ImpostaIndice(c, s.indice);
}

int TFMapMain::SelezionaTesto(TControllo c, const std::string& testo) {
    const TStatoControllo& s = Stato(c);
    for (std::size_t i = 0; i < s.elementi.size(); ++i)
        if (UgualeAZ(s.elementi[i], testo)) {
            ImpostaIndice(c, static_cast<int>(i));
            return static_cast<int>(i);
        }
    ImpostaIndice(c, -1);
    return -1;
}

void TFMapMain::ImpostaAbilitato(TControllo c, bool a) {
    controlli_[Indice_(c)].abilitato = a;
    vista_.ImpostaAbilitato(c, a);
}

void TFMapMain::ImpostaVisibile(TControllo c, bool v) {
    controlli_[Indice_(c)].visibile = v;
    vista_.ImpostaVisibile(c, v);
}

void TFMapMain::ImpostaSolaLettura(TControllo c, bool s) {
    controlli_[Indice_(c)].solaLettura = s;
    vista_.ImpostaSolaLettura(c, s);
}

void TFMapMain::ImpostaPremuto(TControllo c, bool p) {
    controlli_[Indice_(c)].premuto = p;
    vista_.ImpostaPremuto(c, p);
    if (p)
        RilasciaGruppo(c);
}

void TFMapMain::ImpostaColore(TControllo c, mappa::TColore col) {
    controlli_[Indice_(c)].colore = col;
    vista_.ImpostaColore(c, col);
}

void TFMapMain::ImpostaImmagine(TControllo c, int immagine) {
    controlli_[Indice_(c)].immagine = immagine;
    vista_.ImpostaImmagine(c, immagine);
}

void TFMapMain::MostraRapporto(std::vector<std::string> righe) {
    rapporto_ = std::move(righe);
    vista_.MostraRapporto(rapporto_);
}

// ---- Input

namespace {

// The toggle groups of the toolbars: a button pressed releases the others.
int GruppoDi(TControllo c) {
    for (const auto* tabella : {&PulsantiToolbar(), &PulsantiToolbarMappa()})
        for (const TDefinizionePulsante& d : *tabella)
            if (d.id == c)
                return d.gruppo;
    return 0;
}

bool Interruttore(TControllo c) {
    for (const auto* tabella : {&PulsantiToolbar(), &PulsantiToolbarMappa(), &PulsantiSitoUtente(),
                                &PulsantiPannello()})
        for (const TDefinizionePulsante& d : *tabella)
            if (d.id == c)
                return d.interruttore;
    return false;
}

bool DelSito(TControllo c) {
    for (const TDefinizioneItem& d : ItemsSito())
        if (d.id == c)
            return true;
    return false;
}

} // namespace

void TFMapMain::Cambiato(TControllo c, const std::string& testo) {
    controlli_[Indice_(c)].testo = testo;
    if (c == C::cmb_Com)
        comuneDigitato_ = true;
    if (c == C::EditIndirizzo)
        Edit3Change();
    else if (DelSito(c))
        CambioValoreSito(c);
    else
        OpzioniSpin(c);
}

void TFMapMain::Scelto(TControllo c, int indice) {
    TStatoControllo& s = controlli_[Indice_(c)];
    if (indice < 0 || indice >= static_cast<int>(s.elementi.size()))
        return;
    s.indice = indice;
    s.testo = s.elementi[static_cast<std::size_t>(indice)];
    if (c == C::cmb_Com)
        comuneDigitato_ = false;
    if (DelSito(c))
        CambioValoreSito(c);
    if (const auto it = scelta_.find(c); it != scelta_.end())
        it->second();
}

void TFMapMain::RilasciaGruppo(TControllo c) {
    if (const int g = GruppoDi(c); g > 0)
        for (const auto* tabella : {&PulsantiToolbar(), &PulsantiToolbarMappa()})
            for (const TDefinizionePulsante& d : *tabella)
                if (d.gruppo == g && d.id != c && Giu(d.id))
                    ImpostaPremuto(d.id, false);
}

void TFMapMain::Premuto(TControllo c, bool giu) {
    const int g = GruppoDi(c);
    // A click on the down button of such a group keeps it down; the map
    // buttons do nothing more, the zoom buttons run their handler again.
    if (!giu && SempreUnoGiu(g)) {
        ImpostaPremuto(c, true);
        if (g == GruppoMappe)
            return;
        giu = true;
    }
    controlli_[Indice_(c)].premuto = giu;
    if (giu)
        RilasciaGruppo(c);
    if (c == C::NxRadioItem1 || c == C::NxRadioItem2) {
        if (!giu)
            return; // the other item reports the choice
        ImpostaPremuto(c == C::NxRadioItem1 ? C::NxRadioItem2 : C::NxRadioItem1, false);
        CambioValoreSito(c);
    }
    if (const auto it = premuto_.find(c); it != premuto_.end())
        it->second();
}

void TFMapMain::Click(TControllo c) {
    // A menu entry presses its toolbar button; pressed again, its handler
    // runs again, as the entry and the button share it.
    if (Interruttore(c)) {
        if (!Giu(c))
            ImpostaPremuto(c, true);
        Premuto(c, true);
        return;
    }
    if (const auto it = click_.find(c); it != click_.end())
        it->second();
}

void TFMapMain::Uscita(TControllo c) {
    if (const auto it = uscita_.find(c); it != uscita_.end())
        it->second();
}

void TFMapMain::ChiusuraRichiesta() { vista_.Chiudi(TEsito::Annulla); }

void TFMapMain::MappaPremuto(mappa::TPuntoPx p, int pulsante) {
    Map.MousePremuto(p, pulsante);
    if (Map.inviaMouseGiu)
        Map1MouseDown(static_cast<int>(p.x), static_cast<int>(p.y), true);
}

void TFMapMain::MappaRilasciato(mappa::TPuntoPx p, int pulsante) {
    Map.MouseRilasciato(p, pulsante);
    if (Map.inviaMouseSu)
        Map1MouseDown(static_cast<int>(p.x), static_cast<int>(p.y));
}

void TFMapMain::MappaMosso(mappa::TPuntoPx p, int pulsanti) {
    Map.MouseMosso(p, pulsanti);
    if (Map.inviaMouseMovimento)
        Map1MouseMove(static_cast<int>(p.x), static_cast<int>(p.y));
}

void TFMapMain::MappaRotella(mappa::TPuntoPx p, int delta) { Map.Rotella(p, delta); }

void TFMapMain::MappaDimensioni(int larghezza, int altezza) { Map.ImpostaDimensioni(larghezza, altezza); }

} // namespace veltrano::dialogo
