#include "ui/qt/grafico_qt.h"

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

[[noreturn]] void NonScritto(const std::filesystem::path& file, const QString& perche) {
    throw ErroreLettura(file.string() + ": impossibile scrivere il grafico (" + perche.toStdString() + ")");
}

} // namespace

bool FormatoGraficoNoto(const std::filesystem::path& file) {
    const std::string e = Estensione(file);
    return e == ".png" || e == ".svg" || e == ".pdf";
}

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
    if (!FormatoGraficoNoto(file))
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
    if (QCoreApplication::instance())
        return;
    // A command line may run where there is no display: fonts and painting
    // need no window system.
    static int argc = 3;
    static char nome[] = "veltrano", opzione[] = "-platform", piattaforma[] = "offscreen";
    static char* argv[] = {nome, opzione, piattaforma, nullptr};
    static QGuiApplication app(argc, argv);
}

} // namespace veltrano::ui
