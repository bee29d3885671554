#include "ui/qt/grafico_qt.h"

#include "ui/qt/entrata_plugin.h"
#include "ui/qt/pittore_qt.h"
#include "veltrano/veltrano.h"

#include <QGuiApplication>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <memory>
#include <string>

namespace veltrano::ui {

namespace {

constexpr int Dpi = 96;
const int Larghezza = static_cast<int>(uscite::LarghezzaGrafico), Altezza = static_cast<int>(uscite::AltezzaGrafico);

std::string Estensione(const std::filesystem::path& file) {
    std::string e = file.extension().string();
    std::transform(e.begin(), e.end(), e.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return e;
}

void Disegna(QPaintDevice& dispositivo, const uscite::TGrafico& g, int w, int h) {
    QPainter p(&dispositivo);
    TPittoreQt pittore(p);
    uscite::DisegnaGrafico(pittore, g, {0, 0, static_cast<double>(w), static_cast<double>(h)});
}

// Qt's own notices reach the user of the command line on its error stream:
// the one about a missing runtime folder, normal where no one is logged in,
// is dropped.
QtMessageHandler ManipolatorePrecedente = nullptr;

void FiltraMessaggi(QtMsgType tipo, const QMessageLogContext& contesto, const QString& testo) {
    if (tipo == QtWarningMsg && testo.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR")))
        return;
    if (ManipolatorePrecedente)
        ManipolatorePrecedente(tipo, contesto, testo);
    else
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(tipo, contesto, testo)));
}

[[noreturn]] void NonScritto(const std::filesystem::path& file, const QString& perche) {
    throw ErroreLettura(file.string() + ": impossibile scrivere il grafico (" + perche.toStdString() + ")");
}

} // namespace

QImage ImmagineGrafico(const uscite::TGrafico& g, int larghezza, int altezza) {
    QImage im(larghezza, altezza, QImage::Format_RGB32);
    im.setDotsPerMeterX(static_cast<int>(Dpi / 0.0254 + 0.5));
    im.setDotsPerMeterY(static_cast<int>(Dpi / 0.0254 + 0.5));
    im.fill(Qt::white);
    Disegna(im, g, larghezza, altezza);
    return im;
}

void SalvaGraficoQt(const uscite::TGrafico& g, const std::filesystem::path& file) {
    const std::string e = Estensione(file);
    if (!uscite::FormatoGraficoNoto(file))
        throw ErroreArgomento(file.string() + ": il grafico si scrive in .png, .svg o .pdf");
    QSaveFile uscita(QString::fromStdString(file.string()));
    if (!uscita.open(QIODevice::WriteOnly))
        NonScritto(file, uscita.errorString());
    const QString titolo = QString::fromStdString(g.titolo);
    if (e == ".png") {
        if (!ImmagineGrafico(g, Larghezza, Altezza).save(&uscita, "PNG"))
            NonScritto(file, uscita.errorString());
    } else if (e == ".svg") {
        QSvgGenerator svg;
        svg.setOutputDevice(&uscita);
        svg.setSize(QSize(Larghezza, Altezza));
        svg.setViewBox(QRect(0, 0, Larghezza, Altezza));
        svg.setResolution(Dpi);
        svg.setTitle(titolo);
        svg.setDescription(QString::fromStdString(g.sottotitolo));
        Disegna(svg, g, Larghezza, Altezza);
    } else {
        QPdfWriter pdf(&uscita);
        pdf.setResolution(Dpi);
        pdf.setPageSize(QPageSize(QSizeF(Larghezza * 72.0 / Dpi, Altezza * 72.0 / Dpi), QPageSize::Point));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf.setTitle(titolo);
        pdf.setCreator(QStringLiteral("Veltrano " VELTRANO_VERSIONE));
        Disegna(pdf, g, Larghezza, Altezza);
    }
    if (!uscita.commit())
        NonScritto(file, uscita.errorString());
}

void ApplicazioneGrafica() {
    if (QCoreApplication::instance()) {
        if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
            throw ErroreApertura("il programma ha un'applicazione Qt senza grafica: niente grafici");
        return;
    }
    // A command line may run where there is no display: fonts and painting
    // need no window system. The application is kept for the process, as
    // the dialog's is.
    static int argc = 3;
    static char nome[] = "veltrano", opzione[] = "-platform", piattaforma[] = "offscreen";
    static char* argv[] = {nome, opzione, piattaforma, nullptr};
    ManipolatorePrecedente = qInstallMessageHandler(FiltraMessaggi);
    new QGuiApplication(argc, argv);
}

} // namespace veltrano::ui

extern "C" int VeltranoGraficoQt(const TGraficoC* grafico, const char* file, char* messaggio, size_t dimensione) {
    using namespace veltrano;
    return ui::EntrataPlugin(messaggio, dimensione, [&] {
        if (!grafico || !file)
            throw ErroreArgomento(!grafico ? "grafico è un puntatore nullo" : "file è un puntatore nullo");
        const uscite::TGrafico g = uscite::DaGraficoC(*grafico);
        ui::ApplicazioneGrafica();
        ui::SalvaGraficoQt(g, std::filesystem::path(std::u8string(reinterpret_cast<const char8_t*>(file))));
        return dialogo::PluginConfermato;
    });
}
