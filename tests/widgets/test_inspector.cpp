// The property inspector: items with captions, hints, list items and
// states, and one event per real change, none for a no-op.
#include "widgets/inspector.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace veltrano::widgets;

namespace {

struct Prova {
    TInspector ins;
    TCategoria* cat = ins.AggiungiCategoria("Cat", "INDIVIDUAZIONE SITO");
    TItemCombo* modo = ins.AggiungiCombo("Modo", "Modalità", {"per Coordinate", "per Località", "Utente"}, {}, cat);
    TItemRadio* wgs = ins.AggiungiRadio("R1", "WGS84", "Inserimento WGS84", modo);
    TItemRadio* ed50 = ins.AggiungiRadio("R2", "ED50", "Inserimento ED50", modo);
    TItemTesto* lon = ins.AggiungiTesto("Edit1", "Longitudine (WGS84) [°]", "Longitudine in sistema WGS84", cat);
    TItemCheck* valori = ins.AggiungiCheck("Valori", "Valori", {}, cat);
    TItemSpin* dim = ins.AggiungiSpin("Dim", "Dimensione punti", 1, 10, 1, 5, {}, cat);
    TItemPulsanti* colore = ins.AggiungiPulsanti("Colore", "Colore bordo", {QString(), "..."}, {}, cat);
    TCategoria* griglia = ins.AggiungiCategoria("Griglia", "GRIGLIA", true);
};

} // namespace

TEST(Inspector, CaptionHintElementiEStati) {
    Prova p;
    EXPECT_EQ(p.lon->Caption(), QString::fromUtf8("Longitudine (WGS84) [°]"));
    EXPECT_EQ(p.lon->Hint(), "Longitudine in sistema WGS84");
    EXPECT_EQ(p.lon->Editor()->toolTip(), "Longitudine in sistema WGS84");
    EXPECT_EQ(p.modo->Elementi().size(), 3);
    EXPECT_EQ(p.modo->Indice(), 0);
    EXPECT_EQ(p.ins.Item("Edit1"), p.lon);
    EXPECT_EQ(p.ins.ItemDi<TItemCombo>("Edit1"), nullptr);
    EXPECT_EQ(p.ins.Item("nessuno"), nullptr);
    EXPECT_EQ(p.ins.findChild<QLineEdit*>("Edit1"), p.lon->Campo());
    p.lon->ImpostaSolaLettura(true);
    EXPECT_TRUE(p.lon->Campo()->isReadOnly());
    p.modo->ImpostaAbilitato(false);
    EXPECT_FALSE(p.modo->Lista()->isEnabled());
    EXPECT_FALSE(p.modo->Abilitato());
    p.lon->ImpostaVisibile(false);
    EXPECT_FALSE(p.lon->Visibile());
    EXPECT_EQ(p.dim->Numero(), 5);
    p.dim->ImpostaNumero(40);
    EXPECT_EQ(p.dim->Numero(), 10) << "spin range";
}

TEST(Inspector, UnCambioUnEvento) {
    Prova p;
    QSignalSpy cambi(&p.ins, &TInspector::Cambiato);
    p.lon->ImpostaValore("13.4000");
    p.lon->ImpostaValore("13.4000");
    EXPECT_EQ(cambi.count(), 1);
    p.modo->ImpostaIndice(2);
    p.modo->ImpostaIndice(2);
    EXPECT_EQ(cambi.count(), 2);
    p.valori->ImpostaSpuntato(true);
    p.valori->ImpostaSpuntato(true);
    EXPECT_EQ(cambi.count(), 3);
    EXPECT_EQ(qvariant_cast<TItemInspector*>(cambi.at(2).at(0)), p.valori);
}

TEST(Inspector, RadioSottoLoStessoItemSiEscludono) {
    Prova p;
    p.wgs->Seleziona();
    EXPECT_TRUE(p.wgs->Selezionato());
    p.ed50->Seleziona();
    EXPECT_TRUE(p.ed50->Selezionato());
    EXPECT_FALSE(p.wgs->Selezionato());
    EXPECT_EQ(p.wgs->Valore(), "False");
}

TEST(Inspector, ChiusuraListaPulsantiESelezione) {
    Prova p;
    QSignalSpy chiusure(&p.ins, &TInspector::ChiusuraLista);
    QSignalSpy pulsanti(&p.ins, &TInspector::PulsanteCliccato);
    QSignalSpy selezioni(&p.ins, &TInspector::Selezionato);
    p.modo->ImpostaIndice(1); // a change by code is not a close-up
    EXPECT_EQ(chiusure.count(), 0);
    emit p.modo->Lista()->activated(1);
    EXPECT_EQ(chiusure.count(), 1);
    p.colore->Pulsante(1)->click();
    ASSERT_EQ(pulsanti.count(), 1);
    EXPECT_EQ(pulsanti.at(0).at(1).toInt(), 1);
    p.griglia->Casella()->click();
    EXPECT_TRUE(p.griglia->Spuntata());
    EXPECT_EQ(pulsanti.count(), 2);
    p.ins.SelezionaItem(p.modo);
    ASSERT_EQ(selezioni.count(), 1);
    EXPECT_EQ(qvariant_cast<TItemInspector*>(selezioni.at(0).at(0)), p.modo);
}

TEST(Inspector, ComboScrivibileCercaIlTesto) {
    TInspector ins;
    auto* c = ins.AggiungiCombo("cmb_Com", "Comune", {"- Scegliere il comune -", "Roma", "Rieti"}, {}, nullptr, true);
    c->ImpostaValore("Rieti");
    EXPECT_EQ(c->Indice(), 2);
    c->ImpostaValore("Nessuno");
    EXPECT_EQ(c->Valore(), "Nessuno");
    QSignalSpy uscite(&ins, &TInspector::UscitaItem);
    emit c->Lista()->lineEdit()->editingFinished();
    EXPECT_EQ(uscite.count(), 1);
}
