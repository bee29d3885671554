// TFMapMain: the site inspector ("INDIVIDUAZIONE SITO", "DATI DELL'OPERA",
// "Indirizzo") and the coordinate rows.
#include "dialog/TFMapMain.h"

#include "dialog/coordinate.h"
#include "dialog/elenchi.h"
#include "dialog/testi.h"
#include "geo/datum.h"
#include "map/amministrativi.h"
#include "map/testo1252.h"

#include <QComboBox>
#include <QLabel>
#include <QToolButton>

namespace veltrano::dialogo {

using widgets::TItemCombo;
using widgets::TItemInspector;
using widgets::TItemTesto;

namespace {
QString U(const char* s) { return QString::fromUtf8(s); }
QString Q(const std::string& s) { return QString::fromStdString(s); }
} // namespace

void TFMapMain::CreaInspectorSito() {
    auto* ins = NextInspector1 = new widgets::TInspector;
    ins->setObjectName("NextInspector1");
    auto* sito = ins->AggiungiCategoria("CatSito", U(testi::CatSito));
    auto* modo = ins->AggiungiCombo("Radiogroup1", U("Modalità"),
                                    {U("per Coordinate"), U("per Località"), U("Utente")}, {}, sito);
    ins->AggiungiRadio("NxRadioItem1", U("WGS84"), U("Inserimento coordinate nel sistema di riferimento WGS84 "), modo)
        ->Seleziona();
    ins->AggiungiRadio("NxRadioItem2", U("ED50"), U("Inserimento coordinate nel sistema di riferimento ED50"), modo);
    QStringList regioni{U(testi::SceltaRegione)};
    for (const char* r : mappa::ElencoRegioni)
        regioni << U(r);
    ins->AggiungiCombo("cmb_Reg", U("Regione"), regioni, U("Inserire la regione del sito"), sito);
    ins->AggiungiCombo("cmb_Prov", U("Provincia"), {U(testi::SceltaProvincia)}, U("Inserire la provincia del sito"), sito);
    auto* com = ins->AggiungiCombo("cmb_Com", U("Comune"), {U(testi::SceltaComune)}, U("Inserire il comune del sito"),
                                   sito, true);
    com->Lista()->setMaxVisibleItems(10);
    ins->AggiungiCombo("cmb_ComUt", U("Località Utente"), {U(testi::SceltaLocalita)}, U("Località utente salvate"), sito);
    ins->AggiungiTesto("Edit1", U("Longitudine (WGS84) [°]"), U("Longitudine in sistema WGS84"), sito);
    ins->AggiungiTesto("Edit2", U("Latitudine (WGS84) [°]"), U("Latitudine in sistema WGS84"), sito);
    ins->AggiungiTesto("NxTextItem5", U("Longitudine (ED50) [°]"), U("Longitudine in sistema ED50"), sito);
    ins->AggiungiTesto("NxTextItem6", U("Latitudine (ED50) [°]"), U("Latitudine in sistema ED50"), sito);
    ins->AggiungiTesto("NxTextItem7", U("Altezza s.l.m. [m]"), {}, sito);
    ins->AggiungiTesto("NxTextItem8", U("Distanza dalla costa [km]"), {}, sito);
    auto* opera = ins->AggiungiCategoria("CatOpera", U(testi::CatOpera));
    ins->AggiungiCombo("ComboBox1", U("Classe d'uso"), {"I", "II", "III", "IV"},
                       U("Cliccare per determinare la classe d'uso dell'opera"), opera)
        ->ImpostaIndice(1);
    ins->AggiungiCombo("ComboBox2", U("Vita nominale"), {U("Opere provvisorie"), U("Opere ordinarie"), U("Grandi opere")},
                       U("Cliccare per determinare la vita nominale dell'opera"), opera)
        ->ImpostaIndice(1);
    ins->AggiungiTesto("EditEx3", U("Valore [anni]"), U("Vita nominale in anni"), opera);
    ins->AggiungiCategoria("CatIndirizzo", U(testi::CatIndirizzo));
}

void TFMapMain::ImpostaCoordinateIniziali() {
    auto* ins = NextInspector1;
    ins->ItemDi<TItemCombo>("Radiogroup1")->ImpostaIndice(0);
    for (const char* n : {"Edit1", "Edit2"})
        ins->Item(n)->ImpostaSolaLettura(false);
    for (const char* n : {"NxTextItem5", "NxTextItem6"})
        ins->Item(n)->ImpostaSolaLettura(true);
    ins->Item("Edit1")->ImpostaValore("16.2124");
    ins->Item("Edit2")->ImpostaValore("38.1517");
    for (const char* n : {"cmb_Reg", "cmb_Prov", "cmb_Com"})
        ins->Item(n)->ImpostaAbilitato(false);
    ins->Item("EditEx3")->ImpostaValore("50");
}

void TFMapMain::RiempiComuni() {
    const ElencoComuni e = ElencaComuni(CoorCom, mappa::Utf8A1252(sReg), mappa::Utf8A1252(sProv));
    auto* com = NextInspector1->ItemDi<TItemCombo>("cmb_Com");
    const QSignalBlocker blocco(com->Lista());
    QStringList nomi{U(testi::SceltaComune)};
    nomi.reserve(static_cast<qsizetype>(e.nomi.size()) + 1);
    for (const std::string& n : e.nomi)
        nomi << Q(mappa::Da1252AUtf8(n));
    com->ImpostaElementi(nomi);
    com->ImpostaIndice(0);
    VetId_Cmb_Com = e.indici;
}

void TFMapMain::AggiornaCoordinate(double Lon, double Lat) {
    PannelliStato[0]->setText(U(testi::StatoCoordinate).arg(Q(FormatoCoordinata(Lon)), Q(FormatoCoordinata(Lat))));
    NextInspector1->FineModifica();
    NextInspector1->Item("Edit1")->ImpostaValore(Q(FormatoCoordinata(Lon)));
    NextInspector1->Item("Edit2")->ImpostaValore(Q(FormatoCoordinata(Lat)));
    const float lonW = static_cast<float>(NumeroOZero(NextInspector1->Item("Edit1")->Valore().toStdString()));
    const float latW = static_cast<float>(NumeroOZero(NextInspector1->Item("Edit2")->Valore().toStdString()));
    const Coordinate e = ConvCoord_WGS84toED50(lonW, latW);
    NextInspector1->Item("NxTextItem5")->ImpostaValore(Q(FormatoCoordinata(e.Lon)));
    NextInspector1->Item("NxTextItem6")->ImpostaValore(Q(FormatoCoordinata(e.Lat)));
}

void TFMapMain::NextInspector1ChiusuraLista(TItemInspector* item) {
    if (item->Nome() == "ComboBox2") {
        static constexpr const char* Anni[3] = {"10", "50", "100"};
        const int i = static_cast<TItemCombo*>(item)->Indice();
        if (i >= 0 && i < 3)
            NextInspector1->Item("EditEx3")->ImpostaValore(Anni[i]);
    }
}

void TFMapMain::CollegaIdentificazione() {
    connect(NextInspector1, &widgets::TInspector::ChiusuraLista, this, &TFMapMain::NextInspector1ChiusuraLista);
    connect(SB_Applica, &QToolButton::clicked, this, [this] {
        const auto lon = LeggiNumero(NextInspector1->Item("Edit1")->Valore().toStdString());
        const auto lat = LeggiNumero(NextInspector1->Item("Edit2")->Valore().toStdString());
        if (!lon || !lat) {
            MostraMessaggio(this, U("Coordinate non valide"));
            return;
        }
        double x = 0, y = 0;
        int r = -1, p = -1, c = -1;
        CercaComunePunto(false, *lon, *lat, x, y, r, p, c);
        AggiornaCoordinate(*lon, *lat);
        auto nome = [](const mappa::TShapefile* sf, int campo, int i) {
            return sf && i >= 0 ? Q(mappa::Da1252AUtf8(sf->ValoreCella(campo, i))) : QString();
        };
        PannelliStato[1]->setText(nome(sf_REG.get(), mappa::CampoNomeRegione, r) + " - " +
                                  nome(sf_PROV.get(), mappa::CampoNomeProvincia, p) + " - " +
                                  nome(sf_COM.get(), mappa::CampoNomeComune, c));
    });
}

} // namespace veltrano::dialogo
