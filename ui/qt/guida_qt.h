// The help pages of the program (guida/ in the data folder, HTML in
// Italian) in a window of their own beside the dialog. One window at a
// time: asking again brings it to the front.
#pragma once

#include <QDialog>

#include <filesystem>

class QTextBrowser;

namespace veltrano::ui {

class TFGuidaQt : public QDialog {
    Q_OBJECT
public:
    TFGuidaQt(const std::filesystem::path& indice, QWidget* padre = nullptr);
    QTextBrowser* Pagina = nullptr;
};

/// Opens (or raises) the help window on guida/index.html of the data folder
/// dati, over the active modal window if any. Returns the window; null,
/// after a message, when the pages are missing.
TFGuidaQt* MostraGuida(const std::filesystem::path& dati);

} // namespace veltrano::ui

/// The plugin's entry for a host (the veltrano program) that answers the
/// dialog's help with the program's pages: percorsoDati UTF-8. 0 when the
/// window is shown, 1 when the pages are missing.
extern "C" __attribute__((visibility("default"))) int VeltranoGuidaQt(const char* percorsoDati);
