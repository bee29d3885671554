// Saving and printing in the Qt window as a user does it, with the dialogs
// answered by the tests' hooks: the report and the map printed to PDF and
// read back (pdftotext for the text, pdftoppm for the picture, pages saved
// in build/schermate), the map saved as JPEG and bitmap through the
// picture-save dialog and its type switch, the spectra window with its
// exports, and the site report printed to PDF from the dialog.
#include "dialog/testi_uscite.h"
#include "ui/qt/TFMapMainQt.h"
#include "ui/qt/spettri_qt.h"
#include "ui/qt/stampa_qt.h"
#include "tests/ui/supporto_qt.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QLabel>
#include <QPrinter>
#include <QProcess>
#include <QTest>

#include <algorithm>
#include <cstdlib>
#include <cstring>

using namespace veltrano;
using namespace veltrano::dialogo;
using veltrano::ui::TFMapMainQt;
using C = TControllo;
namespace fs = std::filesystem;

namespace {

QString Q(const fs::path& p) { return QString::fromStdString(p.string()); }

// The window over a scratch data folder, with the site of L'Aquila applied.
struct Finestra : test::FinestraProva {
    explicit Finestra(const std::string& nome) : FinestraProva(nome) {
        Apri(13.3987f, 42.3498f, 1600, 1000);
        f->Click(C::SB_Applica);
        QTest::qWait(30);
    }
    void Premi(C c) {
        ASSERT_NE(w.Azione(c), nullptr) << NomeControllo(c);
        w.Azione(c)->trigger();
        QApplication::processEvents();
    }
};

// The hooks of the dialogs, put back when the test ends.
class Uscite : public ::testing::Test {
protected:
    decltype(ui::ImpostaStampante) stampante_ = ui::ImpostaStampante;
    decltype(ui::EseguiDialogoFile) file_ = ui::EseguiDialogoFile;
    decltype(ui::EseguiDialogo) dialogo_ = ui::EseguiDialogo;
    decltype(TFMapMainQt::MostraMessaggio) messaggio_ = TFMapMainQt::MostraMessaggio;
    std::vector<QString> messaggi;
    void SetUp() override {
        TFMapMainQt::MostraMessaggio = [this](QWidget*, const QString& t) { messaggi.push_back(t); };
    }
    void TearDown() override {
        ui::ImpostaStampante = stampante_;
        ui::EseguiDialogoFile = file_;
        ui::EseguiDialogo = dialogo_;
        TFMapMainQt::MostraMessaggio = messaggio_;
        test::NessunaFinestraRimasta();
    }
    // Print jobs go to this PDF file, as if the user chose "print to file".
    void StampaSu(const fs::path& pdf) {
        ui::ImpostaStampante = [pdf](QPrinter& p, QWidget*) {
            p.setOutputFormat(QPrinter::PdfFormat);
            p.setOutputFileName(Q(pdf));
            return true;
        };
    }
};

QString Testo(const fs::path& pdf) {
    QProcess p;
    p.start("pdftotext", {"-layout", Q(pdf), "-"});
    EXPECT_TRUE(p.waitForFinished(30000)) << "pdftotext (poppler-utils)";
    return QString::fromUtf8(p.readAllStandardOutput());
}

int Pagine(const fs::path& pdf) {
    QProcess p;
    p.start("pdfinfo", {Q(pdf)});
    p.waitForFinished(30000);
    for (const QString& r : QString::fromUtf8(p.readAllStandardOutput()).split('\n'))
        if (r.startsWith("Pages:"))
            return r.mid(6).trimmed().toInt();
    return -1;
}

// The first page as a picture, saved among the screenshots.
QImage Pagina(const fs::path& pdf, const char* nome) {
    const fs::path base = test::CartellaSchermate() / nome;
    QProcess p;
    p.start("pdftoppm", {"-png", "-r", "72", "-singlefile", Q(pdf), Q(base)});
    EXPECT_TRUE(p.waitForFinished(60000)) << "pdftoppm (poppler-utils)";
    QImage im;
    EXPECT_TRUE(im.load(Q(base) + ".png")) << nome;
    return im;
}

struct Conteggio {
    int bianchi = 0, neri = 0, colorati = 0, blu = 0;
};
Conteggio Conta(const QImage& im) {
    Conteggio c;
    for (int y = 0; y < im.height(); ++y)
        for (int x = 0; x < im.width(); ++x) {
            const QColor q = im.pixelColor(x, y);
            const int m = std::max({q.red(), q.green(), q.blue()}), n = std::min({q.red(), q.green(), q.blue()});
            if (n > 245)
                ++c.bianchi;
            else if (m < 80)
                ++c.neri;
            else if (m - n > 40)
                ++c.colorati;
            if (std::abs(q.red() - 49) + std::abs(q.green() - 106) + std::abs(q.blue() - 197) < 30)
                ++c.blu;
        }
    return c;
}

} // namespace

TEST_F(Uscite, TheReportPrintsBlackOnWhiteWithEveryLine) {
    Finestra t("qt_stampa_rapporto");
    const fs::path pdf = t.dati.p / "rapporto.pdf";
    StampaSu(pdf);
    t.Premi(C::ToolButton11);
    ASSERT_TRUE(fs::exists(pdf));
    // Blanks and line breaks as pdftotext lays them out: the words in order.
    const QString testo = Testo(pdf).simplified();
    for (const std::string& r : t.f->Rapporto())
        for (const QString& pezzo : QString::fromStdString(r).split('\t', Qt::SkipEmptyParts))
            EXPECT_TRUE(testo.contains(pezzo.simplified())) << pezzo.toStdString();
    EXPECT_TRUE(testo.contains("Comune di L'Aquila"));
    EXPECT_EQ(Pagine(pdf), 1);
    const Conteggio c = Conta(Pagina(pdf, "stampa_rapporto"));
    EXPECT_GT(c.neri, 200) << "black text";
    EXPECT_EQ(c.blu, 0) << "not the panel's blue";
    EXPECT_GT(c.bianchi, 50 * c.neri) << "white paper";
    // Cancelling the printer dialog prints nothing.
    fs::remove(pdf);
    ui::ImpostaStampante = [](QPrinter&, QWidget*) { return false; };
    t.Premi(C::ToolButton11);
    EXPECT_FALSE(fs::exists(pdf));
}

TEST_F(Uscite, TheMapPrintsStretchedOnALandscapePage) {
    Finestra t("qt_stampa_cartina");
    const fs::path pdf = t.dati.p / "cartina.pdf";
    StampaSu(pdf);
    t.Premi(C::TB_StampaImm);
    ASSERT_TRUE(fs::exists(pdf));
    const QImage pagina = Pagina(pdf, "stampa_cartina");
    EXPECT_GT(pagina.width(), pagina.height()) << "landscape for a wide map";
    const Conteggio c = Conta(pagina);
    // Most of the page is the map: the paper shows only around it.
    EXPECT_LT(c.bianchi, pagina.width() * pagina.height() / 2);
    EXPECT_GT(c.colorati, 1000);
}

TEST_F(Uscite, TheMapSavedAsJpegOrBitmapByTheTypeSwitch) {
    Finestra t("qt_salva_cartina");
    const fs::path cartella = t.dati.p;
    // The user switches to the bitmap entry and keeps the name offered.
    ui::EseguiDialogoFile = [&](QFileDialog& d) {
        EXPECT_EQ(d.objectName(), "SavePictureDialog1");
        EXPECT_EQ(d.defaultSuffix(), "jpg");
        d.setDirectory(Q(cartella));
        d.selectNameFilter("Bitmap (*.bmp)");
        emit d.filterSelected("Bitmap (*.bmp)");
        EXPECT_EQ(d.defaultSuffix(), "bmp");
        d.selectFile("Nuovo");
        return true;
    };
    t.Premi(C::TB_SalvaImm);
    ASSERT_TRUE(fs::exists(cartella / "Nuovo.bmp"));
    QImage bmp;
    ASSERT_TRUE(bmp.load(Q(cartella / "Nuovo.bmp"), "BMP"));
    EXPECT_EQ(bmp.size(), t.w.Map->size()) << "the map as it is on screen";
    // Back on JPEG.
    ui::EseguiDialogoFile = [&](QFileDialog& d) {
        d.setDirectory(Q(cartella));
        d.selectFile("Nuovo");
        return true;
    };
    t.Premi(C::TB_SalvaImm);
    QFile jpg(Q(cartella / "Nuovo.jpg"));
    ASSERT_TRUE(jpg.open(QIODevice::ReadOnly));
    EXPECT_TRUE(jpg.read(3).startsWith("\xFF\xD8\xFF")) << "a JPEG file";
    QImage im;
    ASSERT_TRUE(im.load(Q(cartella / "Nuovo.jpg")));
    EXPECT_EQ(im.size(), t.w.Map->size());
    EXPECT_TRUE(messaggi.empty());
}

TEST_F(Uscite, TheReportSavedAsTextKeepsItsTabs) {
    Finestra t("qt_salva_rapporto");
    ui::EseguiDialogoFile = [&](QFileDialog& d) {
        EXPECT_EQ(d.selectedFiles().value(0).section('/', -1), "Nuovo.txt");
        d.setDirectory(Q(t.dati.p));
        d.selectFile("risultati");
        return true;
    };
    t.Premi(C::ToolButton10);
    QFile f(Q(t.dati.p / "risultati.txt"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray b = f.readAll();
    EXPECT_TRUE(b.contains("Punti della maglia:\t"));
    EXPECT_EQ(b.count("\r\n"), static_cast<qsizetype>(t.f->Rapporto().size()));
}

TEST_F(Uscite, TheSpectraWindowDrawsAndExportsTheFourStates) {
    Finestra t("qt_spettri");
    const fs::path cartella = t.dati.p;
    bool aperta = false;
    ui::EseguiDialogo = [&](QDialog& d) {
        auto* s = qobject_cast<ui::TFSpettriQt*>(&d);
        EXPECT_NE(s, nullptr);
        if (!s)
            return int(QDialog::Rejected);
        aperta = true;
        d.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&d));
        EXPECT_TRUE(s->Descrizione->text().contains("L'Aquila"));
        s->findChild<QComboBox*>("cmb_Suolo")->setCurrentIndex(2);
        s->findChild<QComboBox*>("cmb_Topografia")->setCurrentIndex(1);
        const auto& g = s->Grafico->Grafico();
        EXPECT_EQ(g.serie.size(), 4u);
        EXPECT_EQ(g.sottotitolo, "Suolo C, topografia T2, smorzamento 5%");
        QTest::qWait(30);
        d.grab().save(Q(test::CartellaSchermate() / "spettri.png"));
        s->findChild<QComboBox*>("cmb_TipoSpettro")->setCurrentIndex(1);
        EXPECT_TRUE(s->findChild<QWidget*>("SE_Q")->isEnabled()) << "q for the design spectra";
        for (const char* f : {"spettri.csv", "spettri.png", "spettri.svg", "spettri.pdf"})
            EXPECT_NO_THROW(std::string(f).ends_with(".csv") ? s->EsportaCsv(cartella / f)
                                                             : s->EsportaGrafico(cartella / f))
                << f;
        // The site report with the window's choices.
        StampaSu(cartella / "relazione.pdf");
        EXPECT_TRUE(s->StampaRelazione());
        d.hide();
        return int(QDialog::Accepted);
    };
    t.Premi(C::TB_Spettri);
    EXPECT_TRUE(Testo(cartella / "relazione.pdf").contains("categoria C"));
    EXPECT_TRUE(aperta);
    for (const char* f : {"spettri.csv", "spettri.png", "spettri.svg", "spettri.pdf"})
        EXPECT_GT(fs::exists(cartella / f) ? fs::file_size(cartella / f) : 0u, 500u) << f;
    QFile csv(Q(cartella / "spettri.csv"));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    EXPECT_TRUE(csv.readAll().contains("T_s,SLO_Se_g"));
    EXPECT_TRUE(Testo(cartella / "spettri.pdf").contains("Spettri di risposta di progetto"));
}

TEST_F(Uscite, TheSiteReportPrintsToPdfFromTheDialog) {
    Finestra t("qt_relazione");
    const fs::path pdf = t.dati.p / "Relazione.pdf";
    QString offerto;
    ui::ImpostaStampante = [&](QPrinter& p, QWidget*) {
        offerto = p.outputFileName();
        p.setOutputFormat(QPrinter::PdfFormat);
        p.setOutputFileName(Q(pdf));
        return true;
    };
    ui::EseguiDialogo = [](QDialog& d) {
        d.findChild<QComboBox*>("cmb_Suolo")->setCurrentIndex(2);
        return int(QDialog::Accepted);
    };
    t.Premi(C::TB_Relazione);
    EXPECT_EQ(offerto, "Relazione.pdf") << "a PDF file is offered";
    ASSERT_TRUE(fs::exists(pdf));
    EXPECT_EQ(Pagine(pdf), 1);
    const QString testo = Testo(pdf);
    for (const char* s : {"Pericolosità sismica del sito", "L'Aquila", "Abruzzo", "SLV", "475", "categoria C",
                          "Periodo T [s]", "SLC (TR 975)"})
        EXPECT_TRUE(testo.contains(QString::fromUtf8(s))) << s;
    const Conteggio c = Conta(Pagina(pdf, "relazione_dialogo"));
    EXPECT_GT(c.colorati, 2000) << "the map excerpt and the curves";
}
