// TFMapMainQt: the on-line map. With Qt WebEngine the page is shown in
// WebBrowser1 (mappa_web_qt.h); without it the window keeps the view
// interface's defaults and "Visualizza Mappa On-Line" stays disabled.
#include "ui/qt/TFMapMainQt.h"

#ifdef VELTRANO_MAPPA_WEB
#include "ui/qt/mappa_web_qt.h"
#endif

#include <QMessageBox>
#include <QTimer>

namespace veltrano::ui {

std::function<void(QWidget*, const QString&, const QString&)> TFMapMainQt::MostraInformazione =
    [](QWidget* padre, const QString& titolo, const QString& testo) {
        QMessageBox::information(padre, titolo, testo);
    };

void TFMapMainQt::MessaggioInformazione(const std::string& testo, const std::string& titolo) {
    // The dialog's texts break lines with a carriage return, as message
    // boxes on Windows do; Qt breaks them on a line feed.
    QString t = QString::fromStdString(testo);
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QChar('\r'), QChar('\n'));
    MostraInformazione(this, QString::fromStdString(titolo), t);
}

#ifdef VELTRANO_MAPPA_WEB

bool TFMapMainQt::OffreMappaWeb() const { return true; }

bool TFMapMainQt::ConnessoInternet() { return TMappaWebQt::Connesso(); }

void TFMapMainQt::NavigaMappaWeb(const std::filesystem::path& pagina) {
    if (!web_)
        web_ = new TMappaWebQt(
            WebBrowser1, [this] { Inoltra([](dialogo::TFMapMain& f) { f.WebBrowser1BeforeNavigate2(); }); },
            [this](bool ok) { Inoltra([ok](dialogo::TFMapMain& f) { f.WebBrowser1DocumentComplete(ok); }); });
    web_->Naviga(QString::fromStdString(pagina.string()));
}

void TFMapMainQt::AttendiMappaWeb() {
    if (web_)
        web_->Attendi();
}

void TFMapMainQt::MappaWebDavanti(bool davanti) {
    if (davanti)
        WebBrowser1->raise();
    else
        Map->raise();
}

void TFMapMainQt::CollegaClickWeb(mappa::TEventObject evento) {
    if (!web_)
        return;
    // The click reaches the form as user input does, from the window's own
    // event loop: the form then reads the page and waits for the answers,
    // which never come while the browser is still delivering the click.
    // One click at a time: reading the page lets events run meanwhile.
    web_->CollegaClick(mappa::TEventObject([this, evento = std::move(evento)] {
        QTimer::singleShot(0, this, [this, evento] {
            if (clickWeb_)
                return;
            clickWeb_ = true;
            Inoltra([&evento](dialogo::TFMapMain&) { evento.Invoke(mappa::TEventObject::IdPredefinito); });
            clickWeb_ = false;
        });
    }));
}

void TFMapMainQt::EseguiScript(const std::string& testo) {
    if (web_)
        web_->Esegui(QString::fromStdString(testo));
}

std::optional<std::string> TFMapMainQt::LeggiElementoWeb(const std::string& id) {
    if (!web_)
        return std::nullopt;
    const auto t = web_->Leggi(QString::fromStdString(id));
    return t ? std::optional<std::string>(t->toStdString()) : std::nullopt;
}

#else

bool TFMapMainQt::OffreMappaWeb() const { return false; }
bool TFMapMainQt::ConnessoInternet() { return false; }
void TFMapMainQt::NavigaMappaWeb(const std::filesystem::path&) {}
void TFMapMainQt::AttendiMappaWeb() {}
void TFMapMainQt::MappaWebDavanti(bool) {}
void TFMapMainQt::CollegaClickWeb(mappa::TEventObject) {}
void TFMapMainQt::EseguiScript(const std::string&) {}
std::optional<std::string> TFMapMainQt::LeggiElementoWeb(const std::string&) { return std::nullopt; }

#endif

} // namespace veltrano::ui
