// TFMapMainQt: the save dialogs of the report and of the map picture, the
// print jobs (pages laid out by outputs/), the spectra window and the site
// report.
#include "ui/qt/TFMapMainQt.h"

#include "dialog/testi_uscite.h"
#include "outputs/stampa.h"
#include "ui/qt/pittore_qt.h"
#include "ui/qt/spettri_qt.h"
#include "ui/qt/stampa_qt.h"

#include <QFileDialog>
#include <QImageWriter>
#include <QSaveFile>

#include <memory>

namespace veltrano::ui {

namespace {

const QStringList FiltriImmagine{QStringLiteral("JPEG (*.jpg *.jpeg)"), QStringLiteral("Bitmap (*.bmp)")};

uscite::TSitoRelazione SitoRelazione(const dialogo::TSitoDialogo& d) {
    uscite::TSitoRelazione s;
    s.lonWGS84 = d.lonWGS84;
    s.latWGS84 = d.latWGS84;
    s.lonED50 = d.lonED50;
    s.latED50 = d.latED50;
    s.altitudine = d.altitudine;
    s.comune = d.comune;
    s.provincia = d.provincia;
    s.regione = d.regione;
    s.vn = d.vn;
    s.classe = d.classe;
    s.dati = d.dati;
    s.esito = d.esito;
    return s;
}

uscite::TStratiRelazione StratiRelazione(const dialogo::TSitoDialogo& d) {
    uscite::TStratiRelazione s;
    s.comuni = d.sfComuni;
    s.griglia = d.sfGriglia;
    return s;
}

} // namespace

QFileDialog* DialogoSalvaImmagine(QWidget* padre, const QString& nome) {
    auto* d = new QFileDialog(padre, QString::fromUtf8("Salva cartina"), QString(), FiltriImmagine.join(";;"));
    d->setObjectName("SavePictureDialog1");
    d->setAcceptMode(QFileDialog::AcceptSave);
    d->setFileMode(QFileDialog::AnyFile);
    d->setDefaultSuffix(dialogo::EstensioneFiltro(dialogo::FiltroJpeg));
    d->selectFile(nome);
    // A change of type offers the name again with that type's extension.
    QObject::connect(d, &QFileDialog::filterSelected, d, [d, nome](const QString& filtro) {
        const int n = static_cast<int>(FiltriImmagine.indexOf(filtro)) + 1;
        d->setDefaultSuffix(dialogo::EstensioneFiltro(n));
        d->selectFile(nome);
    });
    return d;
}

std::optional<std::filesystem::path> TFMapMainQt::ScegliFileRapporto(const std::string& nome) {
    const QString f = ScegliFileDaSalvare(this, QString::fromUtf8("Salva risultati"), QString::fromStdString(nome),
                                          QString::fromUtf8("File di testo (*.txt);;Tutti i file (*)"), "txt");
    if (f.isEmpty())
        return std::nullopt;
    return std::filesystem::path(f.toStdU16String());
}

std::optional<dialogo::TSceltaImmagine> TFMapMainQt::ScegliFileImmagine(const std::string& nome) {
    std::unique_ptr<QFileDialog> d(DialogoSalvaImmagine(this, QString::fromStdString(nome)));
    if (!EseguiDialogoFile(*d) || d->selectedFiles().isEmpty())
        return std::nullopt;
    const int filtro = static_cast<int>(FiltriImmagine.indexOf(d->selectedNameFilter())) + 1;
    return dialogo::TSceltaImmagine{std::filesystem::path(d->selectedFiles().first().toStdU16String()),
                                    filtro > 0 ? filtro : dialogo::FiltroJpeg};
}

void TFMapMainQt::SalvaJpeg(const std::filesystem::path& file, const mappa::TImmagine& immagine) {
    QSaveFile uscita(QString::fromStdU16String(file.u16string()));
    QImageWriter scrittore(&uscita, "JPG");
    scrittore.setQuality(90);
    if (!uscita.open(QIODevice::WriteOnly) || !scrittore.write(ImmagineQt(immagine).convertToFormat(QImage::Format_RGB32)) ||
        !uscita.commit())
        throw ErroreLettura(file.string() + ": impossibile scrivere l'immagine (" +
                            (scrittore.error() != QImageWriter::UnknownError ? scrittore.errorString()
                                                                              : uscita.errorString())
                                .toStdString() +
                            ")");
}

bool TFMapMainQt::StampaRapporto(const std::vector<std::string>& righe, const std::string& titolo) {
    return Stampa(uscite::DocumentoRapporto(righe, titolo), this);
}

bool TFMapMainQt::StampaCartina(const mappa::TImmagine& immagine) {
    return Stampa(uscite::DocumentoCartina(immagine, dialogo::testi::TitoloStampaCartina), this);
}

void TFMapMainQt::MostraSpettri(const dialogo::TSitoDialogo& sito) {
    TFSpettriQt finestra(SitoRelazione(sito), StratiRelazione(sito), this);
    EseguiDialogo(finestra);
}

bool TFMapMainQt::StampaRelazione(const dialogo::TSitoDialogo& sito) {
    const auto scelta = ScegliOpzioniRelazione(this);
    if (!scelta)
        return false;
    return Stampa(uscite::DocumentoRelazione(SitoRelazione(sito), *scelta, StratiRelazione(sito)), this,
                  QStringLiteral("Relazione.pdf"));
}

} // namespace veltrano::ui
