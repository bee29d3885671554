// The documents of outputs/documento.h on a Qt printer or in a PDF file:
// every page drawn at 96 dots per inch through the QPainter backend, in the
// printable area the device reports. The dialogs that precede a print job
// or a save go through the hooks below, which tests replace (a PDF printer
// set directly, a file chosen without a window).
#pragma once

#include "outputs/documento.h"

#include <QString>

#include <filesystem>
#include <functional>

class QFileDialog;
class QPrinter;
class QWidget;

namespace veltrano::ui {

/// The printer set-up dialog over stampante; true when confirmed. By
/// default a QPrintDialog run modally.
extern std::function<bool(QPrinter& stampante, QWidget* padre)> ImpostaStampante;
/// Runs a file dialog already set up (name, filters, type switch); true
/// when a file was chosen. By default the dialog's own modal run.
extern std::function<bool(QFileDialog& dialogo)> EseguiDialogoFile;

/// Draws every page of d on stampante, which must be set up (the page
/// layout the user chose is kept; the resolution becomes 96 dpi).
void StampaDocumento(QPrinter& stampante, const uscite::TDocumento& d);
/// The print job of d: the printer set-up dialog (ImpostaStampante), with
/// filePdf offered as the output file when given; false when cancelled.
bool Stampa(const uscite::TDocumento& d, QWidget* padre, const QString& filePdf = {});
/// Writes d as a PDF file, A4 with margins of 15 mm, through a temporary
/// file renamed over file. Throws veltrano::ErroreLettura naming the file
/// when it cannot be written.
void SalvaDocumentoPdf(const uscite::TDocumento& d, const std::filesystem::path& file);

/// A save dialog for one kind of file: titolo, the name offered, the
/// filters; the file chosen, or empty when cancelled.
QString ScegliFileDaSalvare(QWidget* padre, const QString& titolo, const QString& nome, const QString& filtri,
                            const QString& estensione);

/// The picture-save dialog of the map (entries JPEG and bitmap) preset with
/// nome: a change of entry offers nome again with that entry's extension.
/// The caller owns it.
QFileDialog* DialogoSalvaImmagine(QWidget* padre, const QString& nome);

} // namespace veltrano::ui
