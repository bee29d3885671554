// TFWarn, the warnings window "Avvertenze": the lines in a read-only box
// sized to show them whole, and "Chiudi".
#pragma once

#include <QDialog>

#include <string>
#include <vector>

class QPlainTextEdit;

namespace veltrano::ui {

class TFWarnQt : public QDialog {
    Q_OBJECT
public:
    TFWarnQt(const std::vector<std::string>& righe, QWidget* padre = nullptr);
    QPlainTextEdit* Memo1 = nullptr;
};

} // namespace veltrano::ui
