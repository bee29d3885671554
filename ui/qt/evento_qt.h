// TEventObject (map/evento.h) as a Qt object that a web page can call
// through a web channel: Invoke() calls the default member, Invoke(id) any
// member, and both answer with the automation result code.
#pragma once

#include "map/evento.h"

#include <QObject>

#include <utility>

namespace veltrano::ui {

class TEventObjectQt : public QObject {
    Q_OBJECT
public:
    explicit TEventObjectQt(mappa::TEventObject evento, QObject* padre = nullptr)
        : QObject(padre), evento_(std::move(evento)) {}

    /// The method the calls reach from now on.
    void Imposta(mappa::TEventObject evento) { evento_ = std::move(evento); }

    Q_INVOKABLE int Invoke() { return evento_.Invoke(mappa::TEventObject::IdPredefinito); }
    Q_INVOKABLE int Invoke(int dispId) { return evento_.Invoke(dispId); }

private:
    mappa::TEventObject evento_;
};

} // namespace veltrano::ui
