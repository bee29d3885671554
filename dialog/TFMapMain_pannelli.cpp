// TFMapMain: actions, menus, toolbars and the panels of the form.
#include "dialog/TFMapMain.h"

#include "dialog/testi.h"

#include <QAction>
#include <QActionGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QPainterPath>
#include <QStatusBar>
#include <QStyle>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace veltrano::dialogo {

namespace {

QString U(const char* s) { return QString::fromUtf8(s); }

// Toolbar pictures drawn here, so the form needs no image files.
QIcon Icona(const std::function<void(QPainter&)>& disegna) {
    QPixmap pm(22, 22);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    disegna(p);
    return QIcon(pm);
}

QIcon Lente(int segno) {
    return Icona([segno](QPainter& p) {
        p.setPen(QPen(QColor(40, 40, 40), 2));
        p.setBrush(QColor(220, 240, 255));
        p.drawEllipse(QRectF(2, 2, 13, 13));
        p.setPen(QPen(QColor(90, 60, 20), 3));
        p.drawLine(QPointF(13.5, 13.5), QPointF(20, 20));
        p.setPen(QPen(QColor(0, 0, 128), 2));
        p.drawLine(QPointF(5.5, 8.5), QPointF(11.5, 8.5));
        if (segno > 0)
            p.drawLine(QPointF(8.5, 5.5), QPointF(8.5, 11.5));
    });
}

QIcon Mirino() {
    return Icona([](QPainter& p) {
        p.setPen(QPen(Qt::red, 2));
        p.drawEllipse(QRectF(5, 5, 12, 12));
        p.drawLine(QPointF(11, 1), QPointF(11, 21));
        p.drawLine(QPointF(1, 11), QPointF(21, 11));
    });
}

QIcon Frecce() {
    return Icona([](QPainter& p) {
        p.setPen(QPen(QColor(120, 80, 30), 2));
        p.drawLine(QPointF(11, 2), QPointF(11, 20));
        p.drawLine(QPointF(2, 11), QPointF(20, 11));
        p.setBrush(QColor(120, 80, 30));
        p.drawPolygon(QPolygonF({{11, 1}, {7, 6}, {15, 6}}));
        p.drawPolygon(QPolygonF({{11, 21}, {7, 16}, {15, 16}}));
        p.drawPolygon(QPolygonF({{1, 11}, {6, 7}, {6, 15}}));
        p.drawPolygon(QPolygonF({{21, 11}, {16, 7}, {16, 15}}));
    });
}

QIcon Stampante() {
    return Icona([](QPainter& p) {
        p.setPen(QPen(Qt::black, 1.5));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(6, 2, 10, 7));
        p.setBrush(QColor(150, 150, 150));
        p.drawRoundedRect(QRectF(2, 8, 18, 8), 2, 2);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(6, 13, 10, 7));
    });
}

QIcon Glifo(const QString& testo, const QColor& colore) {
    return Icona([testo, colore](QPainter& p) {
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setPixelSize(17);
        p.setFont(f);
        p.setPen(colore);
        p.drawText(QRect(0, 0, 22, 22), Qt::AlignCenter, testo);
    });
}

QAction* Azione(QObject* padre, const char* nome, const char* hint, const QIcon& icona, bool toggle = false) {
    auto* a = new QAction(icona, U(hint), padre);
    a->setObjectName(nome);
    a->setToolTip(U(hint));
    a->setStatusTip(U(hint));
    a->setCheckable(toggle);
    return a;
}

} // namespace

void TFMapMain::CreaAzioni() {
    QStyle* st = style();
    TB_Hint = Azione(this, "TB_Hint", "Attiva calcolo istantaneo", Glifo(QString(QChar(0x26A1)), QColor(200, 120, 0)), true);
    TB_Punt = Azione(this, "TB_Punt", "Seleziona sito", Mirino(), true);
    TB_Admin = Azione(this, "TB_Admin", "Seleziona tipologia amministrazione", Glifo(QString(QChar(0x25A6)), QColor(0, 100, 0)), true);
    auto* gruppoSito = new QActionGroup(this);
    gruppoSito->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    gruppoSito->addAction(TB_Punt);
    gruppoSito->addAction(TB_Admin);
    TB_ZoomPiu = Azione(this, "TB_ZoomPiu", "Zoom Più", Lente(1), true);
    TB_ZoomMeno = Azione(this, "TB_ZoomMeno", "Zoom Meno", Lente(-1), true);
    TB_Pan = Azione(this, "TB_Pan", "Pan", Frecce(), true);
    auto* gruppoZoom = new QActionGroup(this);
    gruppoZoom->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (QAction* a : {TB_ZoomPiu, TB_ZoomMeno, TB_Pan})
        gruppoZoom->addAction(a);
    TB_ZoomTutto = Azione(this, "TB_ZoomTutto", "Zoom tutto cartina", Glifo(QString(QChar(0x2922)), QColor(0, 0, 128)));
    TB_ZoomPrec = Azione(this, "TB_ZoomPrec", "Zoom precedente", Glifo(QString(QChar(0x21B6)), QColor(0, 0, 128)));
    TB_Opzioni = Azione(this, "TB_Opzioni", "Opzioni elementi amministrativi", Glifo(QString(QChar(0x2699)), QColor(60, 60, 60)));
    TB_Griglia = Azione(this, "TB_Griglia", "Opzioni elementi geografici", Glifo(QString(QChar(0x2237)), QColor(0, 0, 200)));
    ToolButton18 = Azione(this, "ToolButton18", "Salva Opzioni", st->standardIcon(QStyle::SP_DialogSaveButton));
    TB_SalvaCartina = Azione(this, "TB_SalvaCartina", "Salva cartina", st->standardIcon(QStyle::SP_DriveFDIcon));
    TB_StampaCartina = Azione(this, "TB_StampaCartina", "Stampa cartina", Stampante());
    TB_Avvertenze = Azione(this, "TB_Avvertenze", "Avvertenze", st->standardIcon(QStyle::SP_MessageBoxWarning));
    TB_Help = Azione(this, "TB_Help", "Help", Glifo(QStringLiteral("?"), QColor(0, 0, 160)));
    TB_Map = Azione(this, "TB_Map", "Visualizza Mappe Tavrel", Glifo(QString(QChar(0x25A7)), QColor(0, 120, 0)), true);
    TB_Google = Azione(this, "TB_Google", "Visualizza Mappa On-Line", Glifo(QString(QChar(0x25CE)), QColor(0, 0, 200)), true);
    auto* gruppoMappe = new QActionGroup(this);
    gruppoMappe->addAction(TB_Map);
    gruppoMappe->addAction(TB_Google);
    TB_Map->setChecked(true);
    TB_Spettri = Azione(this, "TB_Spettri", "Visualizza Spettri di Risposta", Glifo(QStringLiteral("S"), Qt::black));
    TB_Spettri->setVisible(false);
}

void TFMapMain::CreaMenu() {
    auto* barra = new QMenuBar(this);
    auto voce = [this](QMenu* m, const char* nome, const char* testo) {
        QAction* a = m->addAction(U(testo));
        a->setObjectName(nome);
        return a;
    };
    QMenu* file = barra->addMenu(U("&File"));
    MenuSalvaRisultati = voce(file, "MenuSalvaRisultati", "&Salva risultati");
    MenuStampaRisultati = voce(file, "MenuStampaRisultati", "S&tampa risultati");
    file->addSeparator();
    MenuSalvaCartina = voce(file, "MenuSalvaCartina", "S&alva cartina");
    MenuStampaCartina = voce(file, "MenuStampaCartina", "Sta&mpa cartina");
    file->addSeparator();
    MenuEsci = voce(file, "MenuEsci", "&Esci");
    QMenu* zoom = barra->addMenu(U("&Zoom"));
    MenuZoomPiu = voce(zoom, "MenuZoomPiu", "&Zoom più");
    MenuZoomMeno = voce(zoom, "MenuZoomMeno", "Z&oom meno");
    MenuPan = voce(zoom, "MenuPan", "&Pan");
    MenuZoomTutto = voce(zoom, "MenuZoomTutto", "Zoo&m tutto cartina");
    MenuZoomTuttoGriglia = voce(zoom, "MenuZoomTuttoGriglia", "Zoom &tutto griglia");
    MenuZoomPrecedente = voce(zoom, "MenuZoomPrecedente", "Zoom p&recedente");
    QMenu* vis = barra->addMenu(U("&Visualizza"));
    MenuGriglia = voce(vis, "MenuGriglia", "&Griglia");
    MenuNumeriGriglia = voce(vis, "MenuNumeriGriglia", "&Visualizza numeri griglia");
    QMenu* help = barra->addMenu(U("&Help"));
    MenuAvvertenze = voce(help, "MenuAvvertenze", "&Avvertenze");
    MenuHelp = voce(help, "MenuHelp", "&Help in linea");
    MenuHelp->setShortcut(QKeySequence(Qt::Key_F1));
    auto* radice = new QVBoxLayout(this);
    radice->setContentsMargins(0, 0, 0, 0);
    radice->setSpacing(0);
    radice->setMenuBar(barra);
}

void TFMapMain::CreaToolbar() {
    ToolBarPrincipale = new QToolBar(this);
    ToolBarPrincipale->setObjectName("ToolBarPrincipale");
    ToolBarPrincipale->setIconSize(QSize(22, 22));
    ToolBarPrincipale->addActions({TB_Hint, TB_Punt, TB_Admin});
    ToolBarPrincipale->addSeparator();
    ToolBarPrincipale->addActions({TB_ZoomPiu, TB_ZoomMeno, TB_Pan, TB_ZoomTutto, TB_ZoomPrec});
    ToolBarPrincipale->addSeparator();
    ToolBarPrincipale->addActions({TB_Opzioni, TB_Griglia, ToolButton18});
    ToolBarPrincipale->addSeparator();
    ToolBarPrincipale->addActions({TB_SalvaCartina, TB_StampaCartina});
    ToolBarPrincipale->addSeparator();
    ToolBarPrincipale->addActions({TB_Avvertenze, TB_Help});
    static_cast<QVBoxLayout*>(layout())->addWidget(ToolBarPrincipale);
}

void TFMapMain::CreaAreaMappa() {
    auto* centro = new QHBoxLayout;
    centro->setSpacing(0);
    static_cast<QVBoxLayout*>(layout())->addLayout(centro, 1);
    Panel4 = new QWidget(this);
    Panel4->setObjectName("Panel4");
    auto* v = new QVBoxLayout(Panel4);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(0);
    ToolBarMappa = new QToolBar(Panel4);
    ToolBarMappa->setObjectName("ToolBarMappa");
    ToolBarMappa->addActions({TB_Map, TB_Google, TB_Spettri});
    auto* spazio = new QWidget;
    spazio->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    ToolBarMappa->addWidget(spazio);
    auto* logo = new QLabel(U("<b><font color='#000080'>Veltrano</font></b>"));
    logo->setObjectName("Logo");
    logo->setToolTip(U("Visita il nostro sito"));
    ToolBarMappa->addWidget(logo);
    v->addWidget(ToolBarMappa);
    auto* riga = new QHBoxLayout;
    riga->setSpacing(0);
    v->addLayout(riga, 1);
    CreaPannelliOpzioni();
    riga->addWidget(Panel10);
    riga->addWidget(Panel7);
    WebBrowser1 = new QWidget(Panel4);
    WebBrowser1->setObjectName("WebBrowser1");
    WebBrowser1->installEventFilter(this);
    riga->addWidget(WebBrowser1, 1);
    StatusBar1 = new QStatusBar(Panel4);
    StatusBar1->setObjectName("StatusBar1");
    StatusBar1->setSizeGripEnabled(false);
    for (int i = 0; i < 2; ++i) {
        PannelliStato[static_cast<std::size_t>(i)] = new QLabel;
        PannelliStato[static_cast<std::size_t>(i)]->setObjectName(QString("StatusPanel%1").arg(i));
        PannelliStato[static_cast<std::size_t>(i)]->setMinimumWidth(i == 0 ? 270 : 50);
        StatusBar1->addWidget(PannelliStato[static_cast<std::size_t>(i)], i);
    }
    v->addWidget(StatusBar1);
    centro->addWidget(Panel4, 1);
    Map = new mappa::TMappa(Panel4);
    Map->setObjectName("Map");
    Map->inviaMouseGiu = false;
    Map->inviaMouseSu = true;
    Map->inviaMouseMovimento = true;
    Map->raise();
}

void TFMapMain::CreaPannelloDestro() {
    PannelloDestro = new QWidget(this);
    PannelloDestro->setObjectName("PannelloDestro");
    PannelloDestro->setFixedWidth(313);
    auto* v = new QVBoxLayout(PannelloDestro);
    v->setContentsMargins(4, 4, 4, 4);
    LbAvviso = new QLabel(U(testi::AvvisoElenco));
    LbAvviso->setObjectName("LbAvviso");
    LbAvviso->setWordWrap(true);
    LbAvviso->setAlignment(Qt::AlignCenter);
    LbAvviso->setStyleSheet("color: #000080; font-weight: bold;");
    v->addWidget(LbAvviso);
    CreaInspectorSito();
    v->addWidget(NextInspector1, 1);
    EditIndirizzo = new QLineEdit;
    EditIndirizzo->setObjectName("EditIndirizzo");
    EditIndirizzo->setToolTip(U("es. (Via Nomentana 16, Roma)"));
    EditIndirizzo->hide();
    v->addWidget(EditIndirizzo);
    auto pulsante = [](const char* nome, const char* testo, bool toggle = false) {
        auto* b = new QToolButton;
        b->setObjectName(nome);
        b->setText(U(testo));
        b->setCheckable(toggle);
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        return b;
    };
    SB_CalcolaDistanza = pulsante("SB_CalcolaDistanza", "Calcola Distanza");
    SB_CalcolaAltitudine = pulsante("SB_CalcolaAltitudine", "Calcola Altitudine");
    auto* calcoli = new QHBoxLayout;
    calcoli->addWidget(SB_CalcolaDistanza);
    calcoli->addWidget(SB_CalcolaAltitudine);
    v->addLayout(calcoli);
    SB_LocUtente = pulsante("SB_LocUtente", "Gestione Località Utente", true);
    v->addWidget(SB_LocUtente);
    EditorLocUtente = new QWidget;
    EditorLocUtente->setObjectName("EditorLocUtente");
    v->addWidget(EditorLocUtente);
    SB_Applica = pulsante("SB_Applica", "APPLICA");
    SB_Chiudi = pulsante("SB_Chiudi", "CHIUDI");
    SB_Annulla = pulsante("SB_Annulla", "ANNULLA");
    auto* fondo = new QHBoxLayout;
    fondo->addWidget(SB_Applica);
    fondo->addWidget(SB_Chiudi);
    fondo->addWidget(SB_Annulla);
    v->addLayout(fondo);
    static_cast<QHBoxLayout*>(layout()->itemAt(1)->layout())->addWidget(PannelloDestro);
}

void TFMapMain::CreaLegenda() {
    Panel9 = new QWidget(this);
    Panel9->setObjectName("Panel9");
    Panel9->setFixedHeight(22);
    auto* h = new QHBoxLayout(Panel9);
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(0);
    for (std::size_t k = 0; k < Lb.size(); ++k) {
        Lb[k] = new QLabel;
        Lb[k]->setObjectName(QString("Lb%1").arg(k + 1));
        Lb[k]->setAlignment(Qt::AlignCenter);
        Lb[k]->setAutoFillBackground(true);
        Lb[k]->setFrameShape(QFrame::Box);
        h->addWidget(Lb[k], 1);
    }
    static_cast<QVBoxLayout*>(layout())->addWidget(Panel9);
}

void TFMapMain::CreaRisultati() {
    PannelloRisultati = new QWidget(this);
    PannelloRisultati->setObjectName("PannelloRisultati");
    PannelloRisultati->setFixedHeight(168);
    auto* h = new QHBoxLayout(PannelloRisultati);
    h->setContentsMargins(0, 0, 0, 0);
    LR_Dati = new QTextEdit;
    LR_Dati->setObjectName("LR_Dati");
    LR_Dati->setReadOnly(true);
    h->addWidget(LR_Dati, 1);
    ToolBarRisultati = new QToolBar;
    ToolBarRisultati->setObjectName("ToolBarRisultati");
    ToolBarRisultati->setOrientation(Qt::Vertical);
    QStyle* st = style();
    QAction* nascondi = ToolBarRisultati->addAction(st->standardIcon(QStyle::SP_TitleBarMinButton), U("Nascondi risultati"));
    nascondi->setObjectName("TB_NascondiRisultati");
    connect(nascondi, &QAction::triggered, this, [this] {
        PannelloRisultati->hide();
        PosizionaMappa();
        ZoomSelezione();
    });
    ToolBarRisultati->addAction(st->standardIcon(QStyle::SP_DialogSaveButton), U("Salva risultati"))->setObjectName("TB_SalvaRisultati");
    ToolBarRisultati->addAction(Stampante(), U("Stampa risultati"))->setObjectName("TB_StampaRisultati");
    h->addWidget(ToolBarRisultati);
    static_cast<QVBoxLayout*>(layout())->addWidget(PannelloRisultati);
}

void TFMapMain::MostraPannelloOpzioni(QWidget* pannello) {
    Panel10->setVisible(pannello == Panel10);
    Panel7->setVisible(pannello == Panel7);
    PosizionaMappa();
    ZoomSelezione();
}

void TFMapMain::CollegaPannelli() {
    connect(MenuEsci, &QAction::triggered, this, &QDialog::reject);
    connect(SB_Annulla, &QToolButton::clicked, this, &QDialog::reject);
    connect(SB_Chiudi, &QToolButton::clicked, this, &QDialog::accept);
    connect(MenuZoomPiu, &QAction::triggered, TB_ZoomPiu, &QAction::trigger);
    connect(MenuZoomMeno, &QAction::triggered, TB_ZoomMeno, &QAction::trigger);
    connect(MenuPan, &QAction::triggered, TB_Pan, &QAction::trigger);
    connect(MenuZoomTutto, &QAction::triggered, TB_ZoomTutto, &QAction::trigger);
    connect(MenuZoomPrecedente, &QAction::triggered, TB_ZoomPrec, &QAction::trigger);
    connect(MenuGriglia, &QAction::triggered, TB_Griglia, &QAction::trigger);
    connect(MenuAvvertenze, &QAction::triggered, TB_Avvertenze, &QAction::trigger);
    connect(MenuSalvaCartina, &QAction::triggered, TB_SalvaCartina, &QAction::trigger);
    connect(MenuStampaCartina, &QAction::triggered, TB_StampaCartina, &QAction::trigger);
    connect(TB_Opzioni, &QAction::triggered, this, [this] { MostraPannelloOpzioni(Panel10); });
    connect(TB_Griglia, &QAction::triggered, this, [this] {
        MostraPannelloOpzioni(Panel7);
        Map->ImpostaLayerVisibile(LayerGriglia, false);
    });
}

} // namespace veltrano::dialogo
