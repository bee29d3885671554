// TFMapMainQt: the view interface (what the form tells the screen) and the
// forwarding of the user's input to the form.
#include "ui/qt/TFMapMainQt.h"

#include "ui/qt/dialogo_carattere_qt.h"
#include "ui/qt/icone.h"
#include "ui/qt/pittore_qt.h"
#include "ui/qt/stile_punti_qt.h"

#include <QAction>
#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QFontDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

namespace veltrano::ui {

using dialogo::TControllo;
using dialogo::TTipoItem;
using C = TControllo;

namespace {
QString Q(const std::string& s) { return QString::fromStdString(s); }

// Setting a control by code: the form must not hear it back as input.
struct Applicando {
    bool& flag;
    bool prima;
    explicit Applicando(bool& f) : flag(f), prima(f) { flag = true; }
    ~Applicando() { flag = prima; }
};
} // namespace

void TFMapMainQt::Inoltra(const std::function<void(dialogo::TFMapMain&)>& azione) {
    if (!form_ || applicando_)
        return;
    try {
        azione(*form_);
    } catch (const std::exception& e) {
        MostraMessaggio(this, QString::fromUtf8(e.what()));
    }
}

void TFMapMainQt::Collega(dialogo::TFMapMain* form) {
    form_ = form;
    Map->ImpostaMappa(form ? &form->Map : nullptr);
}

void TFMapMainQt::CollegaInspector(widgets::TInspector* ins) {
    auto id = [](widgets::TItemInspector* item) { return dialogo::ControlloDaNome(item->Nome().toStdString()); };
    connect(ins, &widgets::TInspector::Cambiato, this, [this, id](widgets::TItemInspector* item) {
        const TControllo c = id(item);
        switch (V(c).tipo) {
        case TTipoItem::Testo:
        case TTipoItem::Spin: {
            const std::string t = item->Valore().toStdString();
            Inoltra([c, t](dialogo::TFMapMain& f) { f.Cambiato(c, t); });
            break;
        }
        case TTipoItem::Radio: {
            const bool giu = static_cast<widgets::TItemRadio*>(item)->Selezionato();
            Inoltra([c, giu](dialogo::TFMapMain& f) { f.Premuto(c, giu); });
            break;
        }
        default:
            break;
        }
    });
    connect(ins, &widgets::TInspector::ChiusuraLista, this, [this, id](widgets::TItemInspector* item) {
        const TControllo c = id(item);
        const int i = static_cast<widgets::TItemCombo*>(item)->Indice();
        Inoltra([c, i](dialogo::TFMapMain& f) { f.Scelto(c, i); });
    });
    connect(ins, &widgets::TInspector::PulsanteCliccato, this, [this, id](widgets::TItemInspector* item, int) {
        const TControllo c = id(item);
        if (V(c).tipo == TTipoItem::Pulsante) {
            Inoltra([c](dialogo::TFMapMain& f) { f.Click(c); });
            return;
        }
        const bool giu = V(c).tipo == TTipoItem::Casella ? static_cast<widgets::TItemCheck*>(item)->Spuntato()
                                                         : static_cast<widgets::TCategoria*>(item)->Spuntata();
        Inoltra([c, giu](dialogo::TFMapMain& f) { f.Premuto(c, giu); });
    });
    connect(ins, &widgets::TInspector::UscitaItem, this, [this, id](widgets::TItemInspector* item) {
        const TControllo c = id(item);
        Inoltra([c](dialogo::TFMapMain& f) { f.Uscita(c); });
    });
    // Typed text of an editable list.
    for (const auto& item : ins->Items())
        if (auto* combo = dynamic_cast<widgets::TItemCombo*>(item.get()); combo && combo->Lista()->lineEdit()) {
            const TControllo c = id(combo);
            connect(combo->Lista()->lineEdit(), &QLineEdit::textEdited, this, [this, c](const QString& t) {
                const std::string s = t.toStdString();
                Inoltra([c, s](dialogo::TFMapMain& f) { f.Cambiato(c, s); });
            });
        }
}

void TFMapMainQt::CollegaMappa() {
    Map->AlPremuto = [this](mappa::TPuntoPx p, int b) { Inoltra([p, b](dialogo::TFMapMain& f) { f.MappaPremuto(p, b); }); };
    Map->AlRilascio = [this](mappa::TPuntoPx p, int b) {
        Inoltra([p, b](dialogo::TFMapMain& f) { f.MappaRilasciato(p, b); });
    };
    Map->AlMovimento = [this](mappa::TPuntoPx p, int b) { Inoltra([p, b](dialogo::TFMapMain& f) { f.MappaMosso(p, b); }); };
    Map->AllaRotella = [this](mappa::TPuntoPx p, int d) { Inoltra([p, d](dialogo::TFMapMain& f) { f.MappaRotella(p, d); }); };
    // The size reaches the form even while it is setting controls.
    Map->AlRidimensionamento = [this](int w, int h) {
        if (form_)
            form_->MappaDimensioni(w, h);
    };
}

// ---- Window events

void TFMapMainQt::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    PosizionaMappa();
    Inoltra([](dialogo::TFMapMain& f) { f.Mostrato(); });
    // Maximising lays the form out again; the map follows once it has.
    QTimer::singleShot(0, this, [this] {
        PosizionaMappa();
        Inoltra([](dialogo::TFMapMain& f) { f.Ridimensionato(); });
    });
}

bool TFMapMainQt::eventFilter(QObject* o, QEvent* e) {
    if (e->type() == QEvent::KeyPress) {
        const int tasto = static_cast<QKeyEvent*>(e)->key();
        if (tasto == Qt::Key_Return || tasto == Qt::Key_Enter)
            for (std::size_t i = 0; i < CampiSitoUtente.size(); ++i) {
                auto* campo = NextInspector2->findChild<QLineEdit*>(dialogo::NomeControllo(CampiSitoUtente[i]));
                if (campo != o)
                    continue;
                // The field ends (its text is kept) and the next one takes
                // the keyboard; the last one just lets go of it.
                if (i + 1 < CampiSitoUtente.size())
                    NextInspector2->findChild<QLineEdit*>(dialogo::NomeControllo(CampiSitoUtente[i + 1]))->setFocus();
                else
                    campo->clearFocus();
                return true;
            }
    }
    if (o == WebBrowser1 && (e->type() == QEvent::Resize || e->type() == QEvent::Move)) {
        PosizionaMappa();
        if (form_)
            Inoltra([](dialogo::TFMapMain& f) { f.Ridimensionato(); });
    }
    return QDialog::eventFilter(o, e);
}

void TFMapMainQt::reject() {
    // Escape and the window's close button end the dialog as cancelled.
    if (form_)
        Inoltra([](dialogo::TFMapMain& f) { f.ChiusuraRichiesta(); });
    else
        QDialog::reject();
}

// ---- Controls

void TFMapMainQt::ImpostaTesto(TControllo c, const std::string& testo) {
    const Applicando a(applicando_);
    Voce& v = V(c);
    if (v.item) {
        v.item->ImpostaValore(Q(testo));
    } else if (auto* l = qobject_cast<QLabel*>(v.widget)) {
        l->setText(Q(testo));
    } else if (auto* e = qobject_cast<QLineEdit*>(v.widget)) {
        e->setText(Q(testo));
    }
}

void TFMapMainQt::ImpostaCaption(TControllo c, const std::string& caption) {
    const Applicando a(applicando_);
    Voce& v = V(c);
    if (v.item)
        v.item->ImpostaCaption(Q(caption));
    else if (auto* b = qobject_cast<QAbstractButton*>(v.widget))
        b->setText(Q(caption));
    else if (v.azione)
        v.azione->setText(Q(caption));
}

void TFMapMainQt::ImpostaElementi(TControllo c, const std::vector<std::string>& elementi) {
    const Applicando a(applicando_);
    if (auto* combo = dynamic_cast<widgets::TItemCombo*>(V(c).item)) {
        QStringList l;
        l.reserve(static_cast<qsizetype>(elementi.size()));
        for (const std::string& s : elementi)
            l << Q(s);
        combo->ImpostaElementi(l);
        combo->ImpostaIndice(-1);
    }
}

void TFMapMainQt::ImpostaIndice(TControllo c, int indice) {
    const Applicando a(applicando_);
    if (auto* combo = dynamic_cast<widgets::TItemCombo*>(V(c).item))
        combo->ImpostaIndice(indice);
}

void TFMapMainQt::ImpostaAbilitato(TControllo c, bool abilitato) {
    const Applicando a(applicando_);
    Voce& v = V(c);
    if (v.item)
        v.item->ImpostaAbilitato(abilitato);
    else if (v.azione)
        v.azione->setEnabled(abilitato);
    else if (v.widget)
        v.widget->setEnabled(abilitato);
}

void TFMapMainQt::ImpostaVisibile(TControllo c, bool visibile) {
    const Applicando a(applicando_);
    Voce& v = V(c);
    if (v.item)
        v.item->ImpostaVisibile(visibile);
    else if (v.azione)
        v.azione->setVisible(visibile);
    else if (v.widget)
        v.widget->setVisible(visibile);
}

void TFMapMainQt::ImpostaSolaLettura(TControllo c, bool solaLettura) {
    const Applicando a(applicando_);
    if (V(c).item)
        V(c).item->ImpostaSolaLettura(solaLettura);
}

void TFMapMainQt::ImpostaPremuto(TControllo c, bool premuto) {
    const Applicando a(applicando_);
    Voce& v = V(c);
    if (auto* r = dynamic_cast<widgets::TItemRadio*>(v.item)) {
        if (premuto)
            r->Seleziona();
    } else if (auto* k = dynamic_cast<widgets::TItemCheck*>(v.item)) {
        k->ImpostaSpuntato(premuto);
    } else if (auto* g = dynamic_cast<widgets::TCategoria*>(v.item)) {
        g->ImpostaSpuntata(premuto);
    } else if (v.azione) {
        v.azione->setChecked(premuto);
    } else if (auto* b = qobject_cast<QAbstractButton*>(v.widget)) {
        b->setChecked(premuto);
    }
    if (v.menu)
        v.menu->setChecked(premuto);
}

void TFMapMainQt::ImpostaColore(TControllo c, mappa::TColore colore) {
    Voce& v = V(c);
    if (auto* p = dynamic_cast<widgets::TItemPulsanti*>(v.item)) {
        p->ImpostaColore(0, ColoreQt(colore));
    } else if (auto* l = qobject_cast<QLabel*>(v.widget)) {
        QPalette pal = l->palette();
        pal.setColor(QPalette::Window, ColoreQt(colore));
        pal.setColor(QPalette::WindowText, Qt::black);
        l->setPalette(pal);
    }
}

void TFMapMainQt::ImpostaImmagine(TControllo c, int immagine) {
    if (auto* p = dynamic_cast<widgets::TItemPulsanti*>(V(c).item))
        p->ImpostaIcona(0, immagine >= 0 ? IconaStilePunto(immagine) : QIcon());
}

void TFMapMainQt::FineModifica() {
    for (widgets::TInspector* i : {NextInspector1, NextInspector2, NextInspector3, NextInspector4})
        i->FineModifica();
}

void TFMapMainQt::SelezionaItem(TControllo c) {
    if (V(c).inspector)
        V(c).inspector->SelezionaItem(V(c).item);
}

// ---- The form

void TFMapMainQt::MostraRapporto(const std::vector<std::string>& righe) {
    QString t;
    for (std::size_t i = 0; i < righe.size(); ++i) {
        if (i)
            t += '\n';
        t += Q(righe[i]);
    }
    LR_Dati->setPlainText(t);
}

void TFMapMainQt::ImpostaTitolo(const std::string& titolo) { setWindowTitle(Q(titolo)); }

void TFMapMainQt::Massimizza() {
    // Without a window manager a maximised state alone leaves the design
    // size: the screen's free area is given as well.
    if (QScreen* s = screen())
        setGeometry(s->availableGeometry());
    setWindowState(windowState() | Qt::WindowMaximized);
}

void TFMapMainQt::CursoreAttesa(bool attesa) {
    if (attesa) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        ++attese_;
    } else if (attese_ > 0) {
        QApplication::restoreOverrideCursor();
        --attese_;
    }
}

void TFMapMainQt::ProcessaEventi() { QApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }

void TFMapMainQt::Messaggio(const std::string& testo) { MostraMessaggio(this, Q(testo)); }

std::optional<mappa::TColore> TFMapMainQt::ScegliColore(mappa::TColore attuale) {
    const QColor c = QColorDialog::getColor(ColoreQt(attuale), this);
    if (!c.isValid())
        return std::nullopt;
    return ColoreWin(c);
}

std::optional<mappa::TCarattere> TFMapMainQt::ScegliCarattere(const mappa::TCarattere& attuale,
                                                             mappa::TColore* colore) {
    QFont iniziale(Q(attuale.nome));
    iniziale.setPointSizeF(attuale.punti > 0 ? attuale.punti : 8);
    TDialogoCarattere d(iniziale, colore ? std::optional<QColor>(ColoreQt(*colore)) : std::nullopt, this);
    if (d.exec() != QDialog::Accepted)
        return std::nullopt;
    const QFont f = d.Carattere();
    mappa::TCarattere r = attuale;
    r.nome = f.family().toStdString();
    r.punti = f.pointSizeF() > 0 ? f.pointSizeF() : attuale.punti;
    if (colore && d.Colore())
        *colore = ColoreWin(*d.Colore());
    return r;
}

void TFMapMainQt::MostraStilePunti(mappa::TFStileLayer& selettore) {
    TFStileLayerQt finestra(selettore, this);
    finestra.exec();
}

// ---- Progress

void TFMapMainQt::InizioProgresso(const std::string& testo, int massimo) {
    delete Progresso1;
    Progresso1 = new QProgressDialog(Q(testo), QString(), 0, massimo, this);
    Progresso1->setObjectName("Progresso1");
    Progresso1->setWindowTitle(windowTitle());
    Progresso1->setWindowModality(Qt::WindowModal);
    Progresso1->setMinimumDuration(0);
    Progresso1->setAutoClose(false);
    Progresso1->setMinimumWidth(320);
    Progresso1->setValue(0);
    Progresso1->show();
    percentuale_ = 0;
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TFMapMainQt::Progresso(int posizione) {
    if (!Progresso1)
        return;
    // The bar is redrawn at each whole per cent: thousands of steps cost
    // no more than a hundred repaints.
    const int massimo = Progresso1->maximum();
    const int percentuale = massimo > 0 ? static_cast<int>(100LL * posizione / massimo) : 100;
    if (percentuale != percentuale_) {
        percentuale_ = percentuale;
        Progresso1->setValue(posizione);
    }
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TFMapMainQt::FineProgresso() {
    if (!Progresso1)
        return;
    Progresso1->setValue(0);
    Progresso1->hide();
    Progresso1->deleteLater();
    Progresso1 = nullptr;
    percentuale_ = -1;
}

// ---- Map and modal run

void TFMapMainQt::DimensioniMappa(int larghezza, int altezza) {
    // Reduced for the closing picture, the map keeps its size while the
    // form lays itself out; back at the rectangle's size it follows it again.
    mappaRidotta_ = QSize(larghezza, altezza) != WebBrowser1->size();
    Map->resize(larghezza, altezza);
}

mappa::TImmagine TFMapMainQt::CatturaCartina() { return DaImmagineQt(Map->Immagine()); }

dialogo::TEsito TFMapMainQt::EseguiModale() {
    return exec() == QDialog::Accepted ? dialogo::TEsito::Ok : dialogo::TEsito::Annulla;
}

void TFMapMainQt::Chiudi(dialogo::TEsito esito) { done(esito == dialogo::TEsito::Ok ? Accepted : Rejected); }

} // namespace veltrano::ui
