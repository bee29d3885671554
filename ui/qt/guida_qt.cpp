#include "ui/qt/guida_qt.h"

#include "dialog/testi.h"
#include "dialog/testi_aiuto.h"
#include "ui/qt/TFMapMainQt.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace veltrano::ui {

TFGuidaQt::TFGuidaQt(const std::filesystem::path& indice, QWidget* padre) : QDialog(padre, Qt::Window) {
    setObjectName("FGuida");
    setWindowTitle(QString::fromUtf8(dialogo::testi::TitoloGuida));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* v = new QVBoxLayout(this);
    auto* barra = new QHBoxLayout;
    auto* indietro = new QPushButton(QStringLiteral("< Indietro"));
    indietro->setObjectName("Indietro");
    auto* sommario = new QPushButton(QStringLiteral("Sommario"));
    sommario->setObjectName("Sommario");
    barra->addWidget(indietro);
    barra->addWidget(sommario);
    barra->addStretch(1);
    v->addLayout(barra);
    Pagina = new QTextBrowser;
    Pagina->setObjectName("Pagina");
    Pagina->setOpenExternalLinks(true);
    Pagina->setSource(QUrl::fromLocalFile(QString::fromStdString(indice.string())));
    v->addWidget(Pagina, 1);
    connect(indietro, &QPushButton::clicked, Pagina, &QTextBrowser::backward);
    connect(Pagina, &QTextBrowser::backwardAvailable, indietro, &QPushButton::setEnabled);
    connect(sommario, &QPushButton::clicked, Pagina, &QTextBrowser::home);
    indietro->setEnabled(false);
    resize(900, 720);
}

TFGuidaQt* MostraGuida(const std::filesystem::path& dati) {
    const std::filesystem::path indice = dati / "guida" / "index.html";
    if (!std::filesystem::exists(indice)) {
        QString t = QString::fromUtf8(dialogo::testi::GuidaMancante);
        t.replace(QStringLiteral("%s"), QString::fromStdString(indice.string()));
        TFMapMainQt::MostraMessaggio(QApplication::activeModalWidget(), t);
        return nullptr;
    }
    for (QWidget* w : QApplication::allWidgets())
        if (auto* g = qobject_cast<TFGuidaQt*>(w)) {
            g->show();
            g->raise();
            g->activateWindow();
            return g;
        }
    // Over the dialog, so that it can be read while the modal dialog runs
    // and goes when the dialog does.
    QWidget* padre = QApplication::activeModalWidget();
    auto* g = new TFGuidaQt(indice, padre ? padre : QApplication::activeWindow());
    g->show();
    return g;
}

} // namespace veltrano::ui

extern "C" int VeltranoGuidaQt(const char* percorsoDati) {
    if (!percorsoDati || !QApplication::instance())
        return 1;
    try {
        return veltrano::ui::MostraGuida(std::filesystem::path(
                   std::u8string(reinterpret_cast<const char8_t*>(percorsoDati))))
                   ? 0
                   : 1;
    } catch (...) {
        return 1;
    }
}
