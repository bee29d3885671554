// The on-line map of the Qt window: a QWebEngineView inside WebBrowser1
// that loads the page, runs statements in it and reads its elements back,
// and a web channel that carries the document's click to the form's event
// object (TEventObjectQt, registered as "TEventObject"). The view is made at
// the first load, so a window that never shows the on-line map never starts
// WebEngine. GUI thread only.
#pragma once

#include "map/evento.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <QVariant>

#include <functional>
#include <optional>

class QWebChannel;
class QWebEngineView;
class QWidget;

namespace veltrano::ui {

class TEventObjectQt;

class TMappaWebQt : public QObject {
    Q_OBJECT
public:
    /// The script world of the bridge (channel, click listener, reads): the
    /// page's own scripts cannot reach it.
    static constexpr quint32 MondoPonte = 1; // QWebEngineScript::ApplicationWorld

    /// contenitore: WebBrowser1. inizio and fine hear of each load.
    TMappaWebQt(QWidget* contenitore, std::function<void()> inizio, std::function<void(bool)> fine);
    ~TMappaWebQt() override;

    /// Whether the system reports the internet reachable (see the .cpp).
    static bool Connesso();

    void Naviga(const QString& file);
    /// Until the load under way has ended, or the statements run so far
    /// have; at most TempoMassimoMs.
    void Attendi();
    void Esegui(const QString& istruzione);
    /// The inner HTML of the element; nothing when there is none.
    std::optional<QString> Leggi(const QString& id);
    /// The inner HTML of each element (null for one that is missing), handed
    /// to fatto when the page answers: nothing waits.
    void LeggiElementi(const QStringList& ids, std::function<void(const QVariantMap&)> fatto);
    void CollegaClick(mappa::TEventObject evento);
    /// An expression's value in the given world, waited for (invalid after
    /// TempoMassimoMs).
    QVariant Valuta(const QString& espressione, quint32 mondo = 0);

    QWebEngineView* Vista() const { return vista_; }
    bool InCarico() const { return inCarico_; }

    static constexpr int TempoMassimoMs = 20000;

private:
    QWidget* contenitore_;
    std::function<void()> inizio_;
    std::function<void(bool)> fine_;
    QWebEngineView* vista_ = nullptr;
    QWebChannel* canale_ = nullptr;
    TEventObjectQt* evento_ = nullptr;
    bool inCarico_ = false;

    void Crea();
};

} // namespace veltrano::ui
