// The chart files as a user opens them: a compressed PNG of the right size
// with the curves' colours where the layout puts them, an SVG that Qt's own
// renderer reads back with its accented text intact, a one-page PDF; and the
// failures named.
#include "ui/qt/grafico_qt.h"
#include "veltrano/veltrano.h"

#include <QFile>
#include <QImage>
#include <QSvgRenderer>

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace veltrano::ui {
namespace {

namespace fs = std::filesystem;

const mappa::TColore Rosso = mappa::RGBWin(214, 39, 40), Blu = mappa::RGBWin(31, 119, 180);

uscite::TGrafico Esempio() {
    uscite::TGrafico g{"Spettri di risposta elastici - componente orizzontale", "Suolo C, smorzamento 5% — è già",
                       "Periodo T [s]", "Se [g]", {}};
    uscite::TSerieGrafico a{"SLV (TR 475)", Rosso, {}}, b{"SLO (TR 30)", Blu, {}};
    for (int i = 0; i <= 80; ++i) {
        const double T = 4.0 * i / 80;
        a.punti.emplace_back(T, 0.9 * (T < 0.5 ? 1.0 : 0.5 / T));
        b.punti.emplace_back(T, 0.3 * (T < 0.5 ? 1.0 : 0.5 / T));
    }
    g.serie = {a, b};
    return g;
}

fs::path Cartella() {
    const fs::path d = fs::temp_directory_path() / ("veltrano_grafico_" + std::to_string(getpid()));
    fs::create_directories(d);
    return d;
}

std::string Leggi(const fs::path& f) {
    std::ifstream in(f, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

int PixelDelColore(const QImage& im, mappa::TColore c) {
    int n = 0;
    for (int y = 0; y < im.height(); ++y)
        for (int x = 0; x < im.width(); ++x) {
            const QColor q = im.pixelColor(x, y);
            n += std::abs(q.red() - mappa::RossoDi(c)) + std::abs(q.green() - mappa::VerdeDi(c)) +
                     std::abs(q.blue() - mappa::BluDi(c)) < 30;
        }
    return n;
}

TEST(GraficoQt, ThePngIsSmallAndShowsTheCurvesWhereTheLayoutPutsThem) {
    ApplicazioneGrafica();
    const fs::path f = Cartella() / "spettri.png";
    SalvaGraficoQt(Esempio(), f);
    QImage im;
    ASSERT_TRUE(im.load(QString::fromStdString(f.string())));
    EXPECT_EQ(im.width(), 800);
    EXPECT_EQ(im.height(), 500);
    // Deflate-compressed: tens of kilobytes, not a stored megabyte.
    EXPECT_LT(fs::file_size(f), 150000u);
    EXPECT_GT(PixelDelColore(im, Rosso), 300);
    EXPECT_GT(PixelDelColore(im, Blu), 300);
    // Left of the plateau's end, the red curve runs above the blue one.
    int yRosso = -1, yBlu = -1;
    const int x = 150;
    for (int y = 0; y < im.height(); ++y) {
        const QColor q = im.pixelColor(x, y);
        if (yRosso < 0 && q.red() > 180 && q.green() < 80 && q.blue() < 80)
            yRosso = y;
        if (yBlu < 0 && q.blue() > 150 && q.red() < 80)
            yBlu = y;
    }
    EXPECT_GE(yRosso, 0);
    EXPECT_GT(yBlu, yRosso);
    // Antialiased: the red curve's edge has tints between red and white.
    EXPECT_GT(PixelDelColore(im, mappa::RGBWin(235, 150, 150)), 10);
    fs::remove_all(f.parent_path());
}

TEST(GraficoQt, SvgAndPdfReadBackWithTheirText) {
    ApplicazioneGrafica();
    const fs::path d = Cartella();
    SalvaGraficoQt(Esempio(), d / "spettri.svg");
    SalvaGraficoQt(Esempio(), d / "SPETTRI.PDF");
    QSvgRenderer svg(QString::fromStdString((d / "spettri.svg").string()));
    ASSERT_TRUE(svg.isValid());
    EXPECT_EQ(svg.viewBoxF(), QRectF(0, 0, 800, 500));
    const std::string testo = Leggi(d / "spettri.svg");
    EXPECT_NE(testo.find("è già"), std::string::npos);
    EXPECT_NE(testo.find("Periodo T [s]"), std::string::npos);
    const std::string pdf = Leggi(d / "SPETTRI.PDF");
    EXPECT_EQ(pdf.rfind("%PDF-", 0), 0u);
    EXPECT_NE(pdf.find("/Count 1"), std::string::npos);
    fs::remove_all(d);
}

TEST(GraficoQt, FailuresNameTheFileAndLeaveNothingBehind) {
    ApplicazioneGrafica();
    const fs::path d = Cartella();
    EXPECT_THROW(SalvaGraficoQt(Esempio(), d / "spettri.jpg"), ErroreArgomento);
    try {
        SalvaGraficoQt(Esempio(), d / "manca" / "spettri.png");
        ADD_FAILURE() << "no exception";
    } catch (const ErroreLettura& e) {
        EXPECT_NE(std::string(e.what()).find("manca/spettri.png"), std::string::npos) << e.what();
    }
    EXPECT_TRUE(fs::is_empty(d));
    fs::remove_all(d);
}

} // namespace
} // namespace veltrano::ui
