// The font dialog of the option panels: Qt's font chooser with, when the
// labels have a colour of their own, a colour button below it, as the font
// dialogs of Windows offer (a label's colour is chosen with its font).
#pragma once

#include <QDialog>

#include <optional>

class QFontDialog;
class QPushButton;

namespace veltrano::ui {

class TDialogoCarattere : public QDialog {
    Q_OBJECT
public:
    /// colore: the labels' colour, or nothing when they have none to choose.
    TDialogoCarattere(const QFont& font, std::optional<QColor> colore, QWidget* padre);

    QFont Carattere() const;
    std::optional<QColor> Colore() const { return colore_; }
    /// Sets the colour as the colour button does.
    void ImpostaColore(const QColor& c);

    QFontDialog* Scelta = nullptr;
    QPushButton* PulsanteColore = nullptr;

private:
    std::optional<QColor> colore_;
};

} // namespace veltrano::ui
