// TFMapMainQt: the warnings window, the maker's site and the export of the
// hazard points (ToolButton19), the commands the tables of
// dialog/controlli.h do not carry.
#include "ui/qt/TFMapMainQt.h"

#include "dialog/testi_aiuto.h"
#include "outputs/tavrel_excell.h"
#include "ui/qt/avvertenze_qt.h"

#include <QAction>
#include <QDesktopServices>
#include <QEventLoop>
#include <QPainter>
#include <QProgressDialog>
#include <QSizePolicy>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

#include <atomic>
#include <exception>
#include <thread>

namespace veltrano::ui {

using C = dialogo::TControllo;

namespace {

QString U(const char* s) { return QString::fromUtf8(s); }

// A small green sheet with its grid, for the spreadsheet button.
QIcon IconaFoglio() {
    QPixmap p(22, 22);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setPen(QColor(0, 100, 0));
    g.setBrush(Qt::white);
    g.drawRect(2, 2, 17, 17);
    g.fillRect(3, 3, 16, 4, QColor(30, 130, 60));
    for (int x = 8; x < 19; x += 6)
        g.drawLine(x, 3, x, 19);
    for (int y = 11; y < 19; y += 4)
        g.drawLine(3, y, 19, y);
    return QIcon(p);
}

QString Testo(const char* modello, const std::string& s) {
    return U(modello).replace(QStringLiteral("%s"), QString::fromUtf8(s.c_str()));
}

} // namespace

void TFMapMainQt::CreaComandiAggiunti(QToolBar* principale) {
    // The export button goes before the warnings, in a group of its own.
    QAction* avvertenze = V(C::TB_Avvertenze).azione;
    auto* a = new QAction(IconaFoglio(), U(dialogo::testi::EsportaPunti), this);
    a->setObjectName("ToolButton19");
    a->setToolTip(a->text());
    a->setStatusTip(a->text());
    principale->insertAction(avvertenze, a);
    principale->insertSeparator(avvertenze);
    connect(a, &QAction::triggered, this, &TFMapMainQt::ToolButton19Click);

    // The maker's site, at the far end, when the build names one.
    if (dialogo::TFMapMain::IndirizzoSito().empty())
        return;
    auto* spazio = new QWidget;
    spazio->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    principale->addWidget(spazio);
    auto* sito = new QToolButton;
    sito->setObjectName("Image1");
    sito->setText(U(dialogo::testi::VisitaSito));
    sito->setToolTip(sito->text());
    sito->setAutoRaise(true);
    sito->setStyleSheet("color: #0000A0; text-decoration: underline;");
    principale->addWidget(sito);
    connect(sito, &QToolButton::clicked, this, [this] { Inoltra([](dialogo::TFMapMain& f) { f.Image1Click(); }); });
}

void TFMapMainQt::MostraAvvertenze(const std::vector<std::string>& righe) {
    TFWarnQt w(righe, this);
    w.exec();
}

bool TFMapMainQt::ApriIndirizzo(const std::string& indirizzo) {
    return QDesktopServices::openUrl(QUrl(QString::fromStdString(indirizzo)));
}

void TFMapMainQt::ToolButton19Click() {
    if (!form_)
        return;
    const std::filesystem::path file = form_->FileDaScrivere(uscite::NomeFilePuntiSismici);
    const Griglia& griglia = form_->GrigliaDati(); // immutable: safe to read on the worker
    constexpr int totale = uscite::RighePrimoGruppo + uscite::RigheSecondoGruppo;

    // The last step (the workbook packed into its file) has no count of its
    // own: the bar stops one short of its end until the file is written.
    QProgressDialog progresso(U(dialogo::testi::ScritturaPunti), U(dialogo::testi::AnnullaEsportazione), 0,
                              totale + 1, this);
    progresso.setObjectName("ProgressoPunti");
    progresso.setWindowTitle(windowTitle());
    progresso.setWindowModality(Qt::WindowModal);
    progresso.setMinimumDuration(0);
    progresso.setAutoClose(false);
    progresso.setAutoReset(false);
    progresso.setMinimumWidth(320);
    progresso.setValue(0);

    std::atomic<int> fatte{0};
    std::atomic<bool> ferma{false}, finito{false};
    bool completato = false;
    std::exception_ptr errore;
    connect(&progresso, &QProgressDialog::canceled, this, [&] { ferma = true; });
    QEventLoop ciclo;
    QTimer orologio;
    orologio.setInterval(40);
    connect(&orologio, &QTimer::timeout, this, [&] {
        if (!ferma)
            progresso.setValue(fatte);
        if (finito)
            ciclo.quit();
    });
    std::thread lavoro([&] {
        try {
            completato = uscite::ScriviFilePuntiSismici(file, griglia, [&](int n, int) {
                fatte = n;
                return !ferma;
            });
        } catch (...) {
            errore = std::current_exception();
        }
        finito = true;
    });
    progresso.show();
    orologio.start();
    ciclo.exec();
    lavoro.join();
    orologio.stop();
    progresso.hide();

    if (errore) {
        try {
            std::rethrow_exception(errore);
        } catch (const std::exception& e) {
            MostraMessaggio(this, Testo(dialogo::testi::PuntiNonEsportati, e.what()));
        }
    } else if (completato) {
        MostraMessaggio(this, Testo(dialogo::testi::PuntiEsportati, file.string()));
    }
}

} // namespace veltrano::ui
