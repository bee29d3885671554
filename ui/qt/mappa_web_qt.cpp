#include "ui/qt/mappa_web_qt.h"

#include "ui/qt/evento_qt.h"

#include <QEventLoop>
#include <QFile>
#include <QHostInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QNetworkInformation>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebChannel>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineView>

#include <memory>

#include <unistd.h>

namespace veltrano::ui {

namespace {

// The bridge's script, run in its own world as each document is created:
// the channel's client, then the document's click to the event object.
QString ScriptPonte() {
    QFile f(QStringLiteral(":/qtwebchannel/qwebchannel.js"));
    QString s;
    if (f.open(QIODevice::ReadOnly))
        s = QString::fromUtf8(f.readAll());
    s += QStringLiteral(R"(
;(function () {
  new QWebChannel(qt.webChannelTransport, function (canale) {
    var evento = canale.objects.TEventObject;
    document.addEventListener("click", function () { evento.Invoke(0); });
    window.veltranoPonte = true;
  });
})();
)");
    return s;
}

// The server of the tiles the page shows (see Tavrel.htm).
constexpr const char* ServerTessere = "tile.openstreetmap.org";
constexpr int AttesaNomeMs = 3000;

// Whether the name resolves within ms.
bool NomeRisolto(const QString& nome, int ms) {
    QEventLoop ciclo;
    bool fatto = false, risolto = false;
    const int id = QHostInfo::lookupHost(nome, &ciclo, [&](const QHostInfo& h) {
        fatto = true;
        risolto = h.error() == QHostInfo::NoError && !h.addresses().isEmpty();
        ciclo.quit();
    });
    if (!fatto) {
        QTimer::singleShot(ms, &ciclo, &QEventLoop::quit);
        ciclo.exec(QEventLoop::ExcludeUserInputEvents);
    }
    if (!fatto)
        QHostInfo::abortHostLookup(id);
    return risolto;
}

QString LetteraleJs(const QString& t) {
    const QByteArray a = QJsonDocument(QJsonArray{t}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(a.mid(1, a.size() - 2));
}

} // namespace

TMappaWebQt::TMappaWebQt(QWidget* contenitore, std::function<void()> inizio, std::function<void(bool)> fine)
    : QObject(contenitore), contenitore_(contenitore), inizio_(std::move(inizio)), fine_(std::move(fine)) {}

TMappaWebQt::~TMappaWebQt() = default;

bool TMappaWebQt::Connesso() {
    // VELTRANO_CONNESSIONE=1 or 0 decides instead of the system (tests, and
    // a machine whose network state is not known to Qt).
    const QByteArray forzata = qgetenv("VELTRANO_CONNESSIONE");
    if (forzata == "1")
        return true;
    if (forzata == "0")
        return false;
    if (!QNetworkInformation::instance())
        QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability);
    const QNetworkInformation* rete = QNetworkInformation::instance();
    // Without a backend the state is unknown: not connected, so the user
    // gets the message rather than an empty map.
    if (!rete || rete->reachability() != QNetworkInformation::Reachability::Online)
        return false;
    // Some backends say "online" for any default route; the map needs its
    // tiles' server, whose name must at least resolve.
    return NomeRisolto(QString::fromLatin1(ServerTessere), AttesaNomeMs);
}

void TMappaWebQt::Crea() {
    if (vista_)
        return;
    // Chromium will not start its sandbox for root; the page is our own
    // file, so the dialog runs it without one there.
    if (::geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    vista_ = new QWebEngineView(contenitore_);
    vista_->setObjectName(QStringLiteral("VistaWeb"));
    if (!contenitore_->layout()) {
        auto* l = new QVBoxLayout(contenitore_);
        l->setContentsMargins(0, 0, 0, 0);
    }
    contenitore_->layout()->addWidget(vista_);
    canale_ = new QWebChannel(this);
    evento_ = new TEventObjectQt(mappa::TEventObject(), this);
    canale_->registerObject(QStringLiteral("TEventObject"), evento_);
    vista_->page()->setWebChannel(canale_, MondoPonte);
    QWebEngineScript ponte;
    ponte.setName(QStringLiteral("veltrano_ponte"));
    ponte.setInjectionPoint(QWebEngineScript::DocumentCreation);
    ponte.setWorldId(MondoPonte);
    ponte.setRunsOnSubFrames(false);
    ponte.setSourceCode(ScriptPonte());
    vista_->page()->scripts().insert(ponte);
    connect(vista_, &QWebEngineView::loadStarted, this, [this] {
        inCarico_ = true;
        // The old page's click no longer reaches the form.
        evento_->Imposta(mappa::TEventObject());
        if (inizio_)
            inizio_();
    });
    connect(vista_, &QWebEngineView::loadFinished, this, [this](bool ok) {
        inCarico_ = false;
        if (fine_)
            fine_(ok);
    });
    vista_->show();
}

void TMappaWebQt::Naviga(const QString& file) {
    Crea();
    inCarico_ = true;
    vista_->load(QUrl::fromLocalFile(file));
}

void TMappaWebQt::Attendi() {
    if (!vista_)
        return;
    if (inCarico_) {
        QEventLoop ciclo;
        connect(vista_, &QWebEngineView::loadFinished, &ciclo, &QEventLoop::quit);
        QTimer::singleShot(TempoMassimoMs, &ciclo, &QEventLoop::quit);
        ciclo.exec(QEventLoop::ExcludeUserInputEvents);
        if (inCarico_)
            qWarning("mappa web: la pagina non ha finito di caricare");
        return;
    }
    // Statements run in order: once this one answers, the earlier ones ran.
    Valuta(QStringLiteral("0"));
}

void TMappaWebQt::Esegui(const QString& istruzione) {
    if (vista_)
        vista_->page()->runJavaScript(istruzione);
}

QVariant TMappaWebQt::Valuta(const QString& espressione, quint32 mondo) {
    if (!vista_)
        return {};
    struct Esito {
        bool fatto = false;
        QVariant valore;
        QPointer<QEventLoop> ciclo;
    };
    auto esito = std::make_shared<Esito>();
    QEventLoop ciclo;
    esito->ciclo = &ciclo;
    vista_->page()->runJavaScript(espressione, mondo, [esito](const QVariant& v) {
        esito->fatto = true;
        esito->valore = v;
        if (esito->ciclo)
            esito->ciclo->quit();
    });
    if (!esito->fatto) {
        QTimer::singleShot(TempoMassimoMs, &ciclo, &QEventLoop::quit);
        ciclo.exec(QEventLoop::ExcludeUserInputEvents);
    }
    if (!esito->fatto)
        qWarning("mappa web: nessuna risposta a %s", qPrintable(espressione.left(60)));
    return esito->fatto ? esito->valore : QVariant();
}

std::optional<QString> TMappaWebQt::Leggi(const QString& id) {
    const QVariant v = Valuta(
        QStringLiteral("(function () { var e = document.getElementById(%1); return e ? e.innerHTML : null; })()")
            .arg(LetteraleJs(id)),
        MondoPonte);
    if (!v.isValid() || v.isNull() || v.typeId() != QMetaType::QString)
        return std::nullopt;
    return v.toString();
}

void TMappaWebQt::LeggiElementi(const QStringList& ids, std::function<void(const QVariantMap&)> fatto) {
    if (!vista_)
        return;
    QStringList letterali;
    for (const QString& id : ids)
        letterali << LetteraleJs(id);
    const QString js = QStringLiteral("(function (ids) { var r = {}; ids.forEach(function (i) {"
                                      " var e = document.getElementById(i); r[i] = e ? e.innerHTML : null; });"
                                      " return r; })([%1])")
                           .arg(letterali.join(QChar(',')));
    vista_->page()->runJavaScript(js, MondoPonte, [fatto = std::move(fatto)](const QVariant& v) { fatto(v.toMap()); });
}

void TMappaWebQt::CollegaClick(mappa::TEventObject evento) {
    if (evento_)
        evento_->Imposta(std::move(evento));
}

} // namespace veltrano::ui
