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
    // While a click is handled the statements just go in order.
    if (web_ && !clickWeb_)
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
    // event loop, with the page's three elements as they were at the click
    // already read: waiting for the page's answers from inside the
    // browser's own delivery of an event may never end, so nothing waits
    // while a click is handled. One click at a time.
    web_->CollegaClick(mappa::TEventObject([this, evento = std::move(evento)] {
        web_->LeggiElementi({QStringLiteral("click-valido"), QStringLiteral("latlng-control"),
                             QStringLiteral("alt-control")},
                            [this, evento](const QVariantMap& valori) {
                                QTimer::singleShot(0, this, [this, evento, valori] {
                                    if (clickWeb_)
                                        return;
                                    clickWeb_ = true;
                                    elementiClick_ = valori;
                                    Inoltra([&evento](dialogo::TFMapMain&) {
                                        evento.Invoke(mappa::TEventObject::IdPredefinito);
                                    });
                                    elementiClick_.clear();
                                    clickWeb_ = false;
                                });
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
    const QString chiave = QString::fromStdString(id);
    if (clickWeb_ && elementiClick_.contains(chiave)) {
        const QVariant v = elementiClick_.value(chiave);
        return v.isNull() ? std::nullopt : std::optional<std::string>(v.toString().toStdString());
    }
    const auto t = web_->Leggi(chiave);
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
