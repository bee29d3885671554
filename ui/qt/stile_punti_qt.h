// TFStileLayer on the screen: a borderless modal window of one column of
// buttons with the pictures of the point styles. Every button closes it
// after telling the picker (map/stile_punti.h); Esc is "Chiudi".
#pragma once

#include "map/stile_punti.h"

#include <QDialog>

namespace veltrano::ui {

class TFStileLayerQt : public QDialog {
    Q_OBJECT
public:
    /// The window for selettore, placed at the form's left + 120, top + 175.
    TFStileLayerQt(mappa::TFStileLayer& selettore, QWidget* form);

public slots:
    void reject() override;

private:
    mappa::TFStileLayer& selettore_;
};

} // namespace veltrano::ui
