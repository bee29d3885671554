#include "ui/qt/stampa_qt.h"

#include "ui/qt/pittore_qt.h"
#include "veltrano/veltrano.h"
#include "veltrano/versione.h"

#include <QFileDialog>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QSaveFile>

namespace veltrano::ui {

namespace {

constexpr int Dpi = static_cast<int>(uscite::UnitaPollice);

// Every page of d on a device already begun by p, whose printable area is
// (0, 0, larghezza, altezza); nuova starts the next page.
void Pagine(QPainter& p, double larghezza, double altezza, const uscite::TDocumento& d,
            const std::function<bool()>& nuova) {
    TPittoreQt pittore(p);
    for (int pagina = 0;; ++pagina) {
        p.save();
        const bool altre = d.disegna(pittore, {0, 0, larghezza, altezza}, pagina);
        p.restore();
        if (!altre || !nuova())
            break;
    }
}

} // namespace

std::function<bool(QPrinter&, QWidget*)> ImpostaStampante = [](QPrinter& stampante, QWidget* padre) {
    QPrintDialog dialogo(&stampante, padre);
    return dialogo.exec() == QDialog::Accepted;
};

std::function<bool(QFileDialog&)> EseguiDialogoFile = [](QFileDialog& d) { return d.exec() == QDialog::Accepted; };

void StampaDocumento(QPrinter& stampante, const uscite::TDocumento& d) {
    stampante.setResolution(Dpi);
    if (stampante.docName().isEmpty())
        stampante.setDocName(QString::fromStdString(d.titolo));
    QPainter p;
    if (!p.begin(&stampante))
        throw ErroreApertura("impossibile avviare la stampa" +
                             (stampante.outputFileName().isEmpty()
                                  ? std::string()
                                  : " su " + stampante.outputFileName().toStdString()));
    const QRectF area = stampante.pageLayout().paintRectPixels(Dpi);
    Pagine(p, area.width(), area.height(), d, [&] { return stampante.newPage(); });
    p.end();
}

bool Stampa(const uscite::TDocumento& d, QWidget* padre, const QString& filePdf) {
    QPrinter stampante(QPrinter::HighResolution);
    stampante.setDocName(QString::fromStdString(d.titolo));
    stampante.setPageOrientation(d.orizzontale ? QPageLayout::Landscape : QPageLayout::Portrait);
    stampante.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    if (!filePdf.isEmpty())
        stampante.setOutputFileName(filePdf);
    if (!ImpostaStampante(stampante, padre))
        return false;
    StampaDocumento(stampante, d);
    return true;
}

void SalvaDocumentoPdf(const uscite::TDocumento& d, const std::filesystem::path& file) {
    const auto nonScritto = [&](const QString& perche) {
        throw ErroreLettura(file.string() + ": impossibile scrivere il PDF (" + perche.toStdString() + ")");
    };
    QSaveFile uscita(QString::fromStdString(file.string()));
    if (!uscita.open(QIODevice::WriteOnly))
        nonScritto(uscita.errorString());
    {
        QPdfWriter pdf(&uscita);
        pdf.setResolution(Dpi);
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4),
                                      d.orizzontale ? QPageLayout::Landscape : QPageLayout::Portrait,
                                      QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter));
        pdf.setTitle(QString::fromStdString(d.titolo));
        pdf.setCreator(QStringLiteral("Veltrano " VELTRANO_VERSIONE));
        QPainter p;
        if (!p.begin(&pdf))
            nonScritto(QStringLiteral("dispositivo PDF"));
        const QRectF area = pdf.pageLayout().paintRectPixels(Dpi);
        Pagine(p, area.width(), area.height(), d, [&] { return pdf.newPage(); });
        p.end();
    }
    if (!uscita.commit())
        nonScritto(uscita.errorString());
}

QString ScegliFileDaSalvare(QWidget* padre, const QString& titolo, const QString& nome, const QString& filtri,
                            const QString& estensione) {
    QFileDialog d(padre, titolo, QString(), filtri);
    d.setObjectName("DialogoSalva");
    d.setAcceptMode(QFileDialog::AcceptSave);
    d.setFileMode(QFileDialog::AnyFile);
    d.setDefaultSuffix(estensione);
    d.selectFile(nome);
    if (!EseguiDialogoFile(d) || d.selectedFiles().isEmpty())
        return {};
    return d.selectedFiles().first();
}

} // namespace veltrano::ui
