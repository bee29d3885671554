// TFMapMainQt: construction and layout of the window.
#include "ui/qt/TFMapMainQt.h"

#include "dialog/testi.h"
#include "ui/qt/icone.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace veltrano::ui {

using dialogo::TControllo;
using C = TControllo;

namespace {
QString U(const char* s) { return QString::fromUtf8(s); }
} // namespace

std::function<void(QWidget*, const QString&)> TFMapMainQt::MostraMessaggio = [](QWidget* padre, const QString& t) {
    QMessageBox::warning(padre, QString::fromUtf8(dialogo::testi::Titolo), t);
};

TFMapMainQt::TFMapMainQt(QWidget* padre) : QDialog(padre) {
    setObjectName("FMapMain");
    setWindowTitle(U(dialogo::testi::Titolo));
    setSizeGripEnabled(false);
    resize(1008, 820);
    radice_ = new QVBoxLayout(this);
    radice_->setContentsMargins(0, 0, 0, 0);
    radice_->setSpacing(0);
    CreaMenu();
    QToolBar* principale = CreaToolbar(dialogo::PulsantiToolbar(), this);
    principale->setObjectName("ToolBarPrincipale");
    CreaComandiAggiunti(principale);
    radice_->addWidget(principale);
    auto* centro = new QHBoxLayout;
    centro->setSpacing(0);
    radice_->addLayout(centro, 1);
    CreaAreaMappa(centro);
    CreaPannelloDestro(centro);
    CreaLegenda();
    CreaRisultati();
    CollegaMappa();
}

TFMapMainQt::~TFMapMainQt() {
    if (Map)
        Map->ImpostaMappa(nullptr);
}

QWidget* TFMapMainQt::Widget(TControllo c) const { return V(c).widget; }
QAction* TFMapMainQt::Azione(TControllo c) const { return V(c).azione; }
widgets::TItemInspector* TFMapMainQt::Item(TControllo c) const { return V(c).item; }
widgets::TInspector* TFMapMainQt::Inspector(TControllo c) const { return V(c).inspector; }

void TFMapMainQt::CreaMenu() {
    auto* barra = new QMenuBar(this);
    for (const dialogo::TMenu& m : dialogo::Menu()) {
        QMenu* menu = barra->addMenu(U(m.testo));
        for (const dialogo::TVoceMenu& v : m.voci) {
            if (!v.testo) {
                menu->addSeparator();
                continue;
            }
            QAction* a = menu->addAction(U(v.testo));
            a->setObjectName(QString("Menu_") + (v.azione == C::Nessuno ? QString(U(v.testo)).remove('&')
                                                                         : QString(dialogo::NomeControllo(v.azione))));
            if (v.scorciatoia)
                a->setShortcut(QKeySequence(U(v.scorciatoia)));
            if (v.azione == C::Nessuno)
                continue;
            const TControllo id = v.azione;
            if (id == C::Action9)
                V(id).azione = a;
            // The entries of the tool toggles show whether their tool is on.
            if (dialogo::InterruttoreToolbar(id)) {
                a->setCheckable(true);
                V(id).menu = a;
            }
            // A menu entry presses its button; a checked entry then shows the
            // button's state, whatever Qt made of the click.
            connect(a, &QAction::triggered, this, [this, id, a] {
                Inoltra([id](dialogo::TFMapMain& f) { f.Click(id); });
                if (a->isCheckable() && form_)
                    a->setChecked(form_->Giu(id));
            });
        }
    }
    radice_->setMenuBar(barra);
}

QToolBar* TFMapMainQt::CreaToolbar(const std::vector<dialogo::TDefinizionePulsante>& pulsanti, QWidget* padre) {
    auto* barra = new QToolBar(padre);
    barra->setIconSize(QSize(22, 22));
    for (const dialogo::TDefinizionePulsante& d : pulsanti) {
        if (d.id == C::Nessuno) {
            barra->addSeparator();
            continue;
        }
        auto* a = new QAction(IconaDi(d.id), U(d.testo), this);
        a->setObjectName(dialogo::NomeControllo(d.id));
        a->setToolTip(U(d.testo));
        a->setStatusTip(U(d.testo));
        a->setCheckable(d.interruttore);
        barra->addAction(a);
        V(d.id).azione = a;
        const TControllo id = d.id;
        if (d.interruttore)
            connect(a, &QAction::triggered, this, [this, id](bool giu) {
                Inoltra([id, giu](dialogo::TFMapMain& f) { f.Premuto(id, giu); });
            });
        else
            connect(a, &QAction::triggered, this, [this, id] { Inoltra([id](dialogo::TFMapMain& f) { f.Click(id); }); });
    }
    return barra;
}

widgets::TInspector* TFMapMainQt::CreaInspector(const char* nome, const std::vector<dialogo::TDefinizioneItem>& items) {
    auto* ins = new widgets::TInspector;
    ins->setObjectName(nome);
    auto lista = [](const std::vector<std::string>& v) {
        QStringList l;
        for (const std::string& s : v)
            l << QString::fromStdString(s);
        return l;
    };
    for (const dialogo::TDefinizioneItem& d : items) {
        const QString n = dialogo::NomeControllo(d.id);
        widgets::TItemInspector* padre = d.padre == C::Nessuno ? nullptr : V(d.padre).item;
        widgets::TItemInspector* item = nullptr;
        switch (d.tipo) {
        case dialogo::TTipoItem::Categoria: item = ins->AggiungiCategoria(n, U(d.caption), false, padre); break;
        case dialogo::TTipoItem::CategoriaCasella: item = ins->AggiungiCategoria(n, U(d.caption), true, padre); break;
        case dialogo::TTipoItem::Testo: item = ins->AggiungiTesto(n, U(d.caption), U(d.hint), padre); break;
        case dialogo::TTipoItem::Lista:
            item = ins->AggiungiCombo(n, U(d.caption), lista(d.elementi), U(d.hint), padre);
            break;
        case dialogo::TTipoItem::ListaScrivibile: {
            auto* c = ins->AggiungiCombo(n, U(d.caption), lista(d.elementi), U(d.hint), padre, true);
            c->Lista()->setMaxVisibleItems(10);
            item = c;
            break;
        }
        case dialogo::TTipoItem::Radio: item = ins->AggiungiRadio(n, U(d.caption), U(d.hint), padre); break;
        case dialogo::TTipoItem::Casella: item = ins->AggiungiCheck(n, U(d.caption), U(d.hint), padre); break;
        case dialogo::TTipoItem::Spin:
            item = ins->AggiungiSpin(n, U(d.caption), d.minimo, d.massimo, d.passo, d.valore, U(d.hint), padre);
            break;
        case dialogo::TTipoItem::Pulsante:
            item = ins->AggiungiPulsanti(n, U(d.caption), lista(d.elementi), U(d.hint), padre);
            break;
        }
        Voce& v = V(d.id);
        v.item = item;
        v.inspector = ins;
        v.tipo = d.tipo;
        v.widget = item->Editor();
    }
    CollegaInspector(ins);
    return ins;
}

QWidget* TFMapMainQt::CreaPannelloOpzioni(TControllo id, const char* titolo, TControllo chiudi,
                                          widgets::TInspector* ins) {
    auto* p = new QWidget;
    p->setObjectName(dialogo::NomeControllo(id));
    // Wider than the form's design (190) so that captions and values show whole.
    p->setFixedWidth(250);
    auto* v = new QVBoxLayout(p);
    v->setContentsMargins(2, 2, 2, 2);
    auto* testa = new QHBoxLayout;
    auto* t = new QLabel(U(titolo));
    t->setStyleSheet("font-weight: bold; color: #000080;");
    testa->addWidget(t, 1);
    auto* x = new QToolButton;
    x->setObjectName(dialogo::NomeControllo(chiudi));
    x->setText(QStringLiteral("x"));
    x->setAutoRaise(true);
    connect(x, &QToolButton::clicked, this,
            [this, chiudi] { Inoltra([chiudi](dialogo::TFMapMain& f) { f.Click(chiudi); }); });
    V(chiudi).widget = x;
    testa->addWidget(x);
    v->addLayout(testa);
    v->addWidget(ins, 1);
    p->hide();
    V(id).widget = p;
    return p;
}

void TFMapMainQt::CreaAreaMappa(QLayout* riga) {
    auto* panel4 = new QWidget(this);
    panel4->setObjectName("Panel4");
    auto* v = new QVBoxLayout(panel4);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(0);
    QToolBar* barra = CreaToolbar(dialogo::PulsantiToolbarMappa(), panel4);
    barra->setObjectName("ToolBarMappa");
    auto* spazio = new QWidget;
    spazio->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    barra->addWidget(spazio);
    auto* logo = new QLabel(U("<b><font color='#000080'>Veltrano</font></b>"));
    logo->setObjectName("Logo");
    logo->setToolTip(U("Visita il nostro sito"));
    barra->addWidget(logo);
    v->addWidget(barra);
    auto* fila = new QHBoxLayout;
    fila->setSpacing(0);
    v->addLayout(fila, 1);
    NextInspector4 = CreaInspector("NextInspector4", dialogo::ItemsOpzioniAmministrative());
    NextInspector3 = CreaInspector("NextInspector3", dialogo::ItemsOpzioniGeografiche());
    fila->addWidget(CreaPannelloOpzioni(C::Panel10, dialogo::testi::OpzioniAmministrative, C::SpeedButton21,
                                        NextInspector4));
    fila->addWidget(CreaPannelloOpzioni(C::Panel7, dialogo::testi::OpzioniGeografiche, C::SpeedButton20,
                                        NextInspector3));
    WebBrowser1 = new QWidget(panel4);
    WebBrowser1->setObjectName("WebBrowser1");
    WebBrowser1->installEventFilter(this);
    fila->addWidget(WebBrowser1, 1);
    StatusBar1 = new QStatusBar(panel4);
    StatusBar1->setObjectName("StatusBar1");
    StatusBar1->setSizeGripEnabled(false);
    for (TControllo c : {C::StatusPanel0, C::StatusPanel1}) {
        auto* l = new QLabel;
        l->setObjectName(dialogo::NomeControllo(c));
        l->setMinimumWidth(c == C::StatusPanel0 ? 270 : 50);
        StatusBar1->addWidget(l, c == C::StatusPanel0 ? 0 : 1);
        V(c).widget = l;
    }
    v->addWidget(StatusBar1);
    // The map lies over the web-browser rectangle, as the on-line map would.
    Map = new TWidgetMappa(panel4);
    Map->setObjectName("Map");
    Map->raise();
    riga->addWidget(panel4);
    static_cast<QHBoxLayout*>(riga)->setStretch(0, 3);
}

void TFMapMainQt::CreaPannelloDestro(QLayout* riga) {
    auto* destro = new QWidget(this);
    destro->setObjectName("PannelloDestro");
    // At least the form's design width; wider on a large screen, so that
    // the lists show their texts whole.
    destro->setMinimumWidth(313);
    destro->setMaximumWidth(520);
    auto* v = new QVBoxLayout(destro);
    v->setContentsMargins(4, 4, 4, 4);
    auto* avviso = new QLabel;
    avviso->setObjectName("LbAvviso");
    avviso->setWordWrap(true);
    avviso->setAlignment(Qt::AlignCenter);
    avviso->setStyleSheet("color: #000080; font-weight: bold;");
    V(C::LbAvviso).widget = avviso;
    v->addWidget(avviso);
    NextInspector1 = CreaInspector("NextInspector1", dialogo::ItemsSito());
    v->addWidget(NextInspector1, 1);
    auto* indirizzo = new QLineEdit;
    indirizzo->setObjectName("EditIndirizzo");
    indirizzo->setToolTip(U("es. (Via Nomentana 16, Roma)"));
    indirizzo->setPlaceholderText(U("Indirizzo o comune, poi APPLICA"));
    V(C::EditIndirizzo).widget = indirizzo;
    connect(indirizzo, &QLineEdit::textEdited, this, [this](const QString& t) {
        const std::string testo = t.toStdString();
        Inoltra([testo](dialogo::TFMapMain& f) { f.Cambiato(C::EditIndirizzo, testo); });
    });
    v->addWidget(indirizzo);
    auto pulsante = [this](const dialogo::TDefinizionePulsante& d) {
        auto* b = new QPushButton(U(d.testo));
        b->setObjectName(dialogo::NomeControllo(d.id));
        b->setCheckable(d.interruttore);
        b->setAutoDefault(false);
        V(d.id).widget = b;
        const TControllo id = d.id;
        if (d.interruttore)
            connect(b, &QPushButton::clicked, this, [this, id](bool giu) {
                Inoltra([id, giu](dialogo::TFMapMain& f) { f.Premuto(id, giu); });
            });
        else
            connect(b, &QPushButton::clicked, this, [this, id] { Inoltra([id](dialogo::TFMapMain& f) { f.Click(id); }); });
        return b;
    };
    const auto& p = dialogo::PulsantiPannello();
    auto* calcoli = new QHBoxLayout;
    calcoli->addWidget(pulsante(p[0]));
    calcoli->addWidget(pulsante(p[1]));
    v->addLayout(calcoli);
    v->addWidget(pulsante(p[2]));
    // The user-site editor: three picture buttons over three text items.
    auto* editor = new QGroupBox(U(dialogo::testi::SitoUtente));
    editor->setObjectName("EditorLocUtente");
    V(C::EditorLocUtente).widget = editor;
    auto* ev = new QVBoxLayout(editor);
    ev->setContentsMargins(2, 2, 2, 2);
    QToolBar* strumenti = CreaToolbar(dialogo::PulsantiSitoUtente(), editor);
    strumenti->setObjectName("ToolBarSitoUtente");
    ev->addWidget(strumenti);
    NextInspector2 = CreaInspector("NextInspector2", dialogo::ItemsSitoUtente());
    NextInspector2->setFixedHeight(80);
    // Return in a field of the site editor moves on to the next field
    // (eventFilter): the site being typed is not the dialog's site.
    for (C c : CampiSitoUtente)
        if (auto* campo = NextInspector2->findChild<QLineEdit*>(dialogo::NomeControllo(c)))
            campo->installEventFilter(this);
    ev->addWidget(NextInspector2);
    v->addWidget(editor);
    auto* fondo = new QHBoxLayout;
    fondo->addWidget(pulsante(p[3]));
    QPushButton* chiudi = pulsante(p[4]);
    // Return confirms, as in any dialog.
    chiudi->setDefault(true);
    chiudi->setAutoDefault(true);
    fondo->addWidget(chiudi);
    fondo->addWidget(pulsante(p[5]));
    v->addLayout(fondo);
    riga->addWidget(destro);
    static_cast<QHBoxLayout*>(riga)->setStretch(1, 1);
}

void TFMapMainQt::CreaLegenda() {
    auto* legenda = new QWidget(this);
    legenda->setObjectName("Panel9");
    legenda->setFixedHeight(22);
    V(C::Panel9).widget = legenda;
    auto* h = new QHBoxLayout(legenda);
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(0);
    for (TControllo c : {C::Lb1, C::Lb2, C::Lb3, C::Lb4, C::Lb5, C::Lb6, C::Lb7, C::Lb8, C::Lb9, C::Lb10, C::Lb11}) {
        auto* l = new QLabel;
        l->setObjectName(dialogo::NomeControllo(c));
        l->setAlignment(Qt::AlignCenter);
        l->setAutoFillBackground(true);
        l->setFrameShape(QFrame::Box);
        V(c).widget = l;
        h->addWidget(l, 1);
    }
    radice_->addWidget(legenda);
}

void TFMapMainQt::CreaRisultati() {
    auto* risultati = new QWidget(this);
    risultati->setObjectName("Panel3");
    risultati->setFixedHeight(168);
    V(C::Panel3).widget = risultati;
    auto* h = new QHBoxLayout(risultati);
    h->setContentsMargins(0, 0, 0, 0);
    LR_Dati = new QPlainTextEdit;
    LR_Dati->setObjectName("LR_Dati");
    LR_Dati->setReadOnly(true);
    LR_Dati->setLineWrapMode(QPlainTextEdit::NoWrap);
    LR_Dati->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Courier New bold, 11 pixels, white on blue.
    QFont f(QStringLiteral("Courier New"));
    f.setStyleHint(QFont::Monospace);
    f.setPixelSize(11);
    f.setBold(true);
    LR_Dati->setFont(f);
    // The table aligns on tab stops every half inch, as the report expects.
    LR_Dati->setTabStopDistance(48);
    QPalette pal = LR_Dati->palette();
    pal.setColor(QPalette::Base, QColor(49, 106, 197));
    pal.setColor(QPalette::Text, Qt::white);
    LR_Dati->setPalette(pal);
    V(C::LR_Dati).widget = LR_Dati;
    h->addWidget(LR_Dati, 1);
    QToolBar* barra = CreaToolbar(dialogo::PulsantiRisultati(), risultati);
    barra->setObjectName("ToolBarRisultati");
    barra->setOrientation(Qt::Vertical);
    h->addWidget(barra);
    radice_->addWidget(risultati);
}

void TFMapMainQt::PosizionaMappa() {
    if (Map && WebBrowser1 && !mappaRidotta_ && Map->geometry() != WebBrowser1->geometry())
        Map->setGeometry(WebBrowser1->geometry());
}

} // namespace veltrano::ui
