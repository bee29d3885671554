// The warnings window, the help pages and the export of the hazard points
// as a user meets them in the Qt window: texts whole, help through the
// host, the export's progress while the window stays live, its messages,
// and the old file kept when the export fails or is stopped. Screenshots
// go to build/schermate.
#include "cli/comandi.h"
#include "dialog/testi_aiuto.h"
#include "outputs/punti_sismici.h"
#include "ui/qt/TFMapMainQt.h"
#include "ui/qt/avvertenze_qt.h"
#include "ui/qt/guida_qt.h"
#include "tests/ui/supporto_qt.h"

#include <QAction>
#include <QImage>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

#include <cstring>
#include <fstream>
#include <sstream>

using namespace veltrano;
using namespace veltrano::dialogo;
using veltrano::ui::TFMapMainQt;
using C = TControllo;

namespace {

std::filesystem::path Schermata(const char* nome) {
    const auto p = std::filesystem::path(VELTRANO_SCHERMATE);
    std::filesystem::create_directories(p);
    return p / nome;
}

struct Finestra : test::FinestraProva {
    QStringList messaggi;
    std::function<void(QWidget*, const QString&)> prima = TFMapMainQt::MostraMessaggio;
    explicit Finestra(const std::string& nome) : FinestraProva(nome) {
        TFMapMainQt::MostraMessaggio = [this](QWidget*, const QString& t) { messaggi << t; };
        Apri(13.4f, 42.35f, 1280, 860);
    }
    ~Finestra() { TFMapMainQt::MostraMessaggio = prima; }
    QAction* Esporta() const { return w.findChild<QAction*>("ToolButton19"); }
};

class Aiuto : public ::testing::Test {
protected:
    void TearDown() override { test::NessunaFinestraRimasta(); }
};

std::string Contenuto(const std::filesystem::path& f) {
    std::ifstream i(f, std::ios::binary);
    return {std::istreambuf_iterator<char>(i), {}};
}

} // namespace

TEST_F(Aiuto, AvvertenzeLeggibiliEChiudi) {
    Finestra t("qt_avvertenze");
    bool vista = false;
    QTimer::singleShot(200, [&] {
        auto* warn = qobject_cast<ui::TFWarnQt*>(QApplication::activeModalWidget());
        ASSERT_NE(warn, nullptr);
        vista = true;
        EXPECT_EQ(warn->windowTitle(), "Avvertenze");
        EXPECT_TRUE(warn->Memo1->isReadOnly());
        const QStringList righe = warn->Memo1->toPlainText().split('\n');
        ASSERT_EQ(righe.size(), 11);
        EXPECT_EQ(righe[3], "DEFINISCONO L'AZIONE SISMICA\"");
        // Every line shows whole: nothing to scroll either way.
        EXPECT_EQ(warn->Memo1->horizontalScrollBar()->maximum(), 0);
        EXPECT_EQ(warn->Memo1->verticalScrollBar()->maximum(), 0);
        warn->grab().save(QString::fromStdString(Schermata("avvertenze.png").string()));
        auto* chiudi = warn->findChild<QPushButton*>("Button1");
        ASSERT_NE(chiudi, nullptr);
        EXPECT_EQ(chiudi->text(), "Chiudi");
        QTest::mouseClick(chiudi, Qt::LeftButton);
    });
    t.w.Azione(C::TB_Avvertenze)->trigger();
    EXPECT_TRUE(vista);
    EXPECT_TRUE(t.messaggi.isEmpty());
}

TEST_F(Aiuto, GuidaDelProgrammaConLeSueImmagini) {
    Finestra t("qt_guida");
    // As "veltrano dialogo" does: the host's handler opens the program's pages.
    struct Contesto {
        int chiamate = 0;
    } c;
    TVeltranoOspite ospite{VELTRANO_FIRMA_OSPITE, &c, [](void* x, int32_t) {
                               ++static_cast<Contesto*>(x)->chiamate;
                               VeltranoGuidaQt(VELTRANO_DATI);
                           }};
    t.f->MainApp = &ospite;
    t.w.Azione(C::TB_Help)->trigger();
    t.w.Azione(C::TB_Help)->trigger(); // the same window comes forward
    EXPECT_EQ(c.chiamate, 2);
    QList<ui::TFGuidaQt*> guide;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* g = qobject_cast<ui::TFGuidaQt*>(w); g && g->isVisible())
            guide << g;
    ASSERT_EQ(guide.size(), 1);
    ui::TFGuidaQt* g = guide[0];
    EXPECT_TRUE(g->isVisible());
    EXPECT_EQ(g->Pagina->documentTitle(), "Guida di Veltrano");
    EXPECT_TRUE(g->Pagina->toPlainText().contains(QString::fromUtf8("INDIVIDUAZIONE SITO")));
    // The pictures the build took of the dialog are there and load.
    for (const char* img : {"finestra.png", "barra.png", "risultati.png", "opzioni.png", "avvertenze.png"}) {
        const QImage i(QString::fromStdString((std::filesystem::path(VELTRANO_DATI) / "guida" / img).string()));
        EXPECT_FALSE(i.isNull()) << img;
        EXPECT_GT(i.width(), 100) << img;
    }
    QTest::qWait(100);
    g->grab().save(QString::fromStdString(Schermata("guida.png").string()));
    // The other pages are reached from the contents.
    g->Pagina->setSource(QUrl("risultati.html"));
    EXPECT_TRUE(g->Pagina->toPlainText().contains("PuntiSismici.xlsx"));
    g->grab().save(QString::fromStdString(Schermata("guida_risultati.png").string()));
    EXPECT_TRUE(t.messaggi.isEmpty());
    g->close(); // deletes it
    QApplication::processEvents();
}

TEST_F(Aiuto, SenzaOspiteUnMessaggio) {
    Finestra t("qt_senza_ospite");
    t.w.Azione(C::TB_Help)->trigger();
    ASSERT_EQ(t.messaggi.size(), 1);
    EXPECT_EQ(t.messaggi[0].toStdString(), testi::GuidaNonDisponibile);
    EXPECT_TRUE(t.w.findChildren<ui::TFGuidaQt*>().isEmpty());
}

TEST_F(Aiuto, EsportazioneConAvanzamento) {
    Finestra t("qt_foglio");
    ASSERT_NE(t.Esporta(), nullptr);
    EXPECT_EQ(t.Esporta()->toolTip(), "Esporta punti sismici in Excel");
    const auto file = t.dati.p / uscite::NomeFilePuntiSismici;

    // While the export runs, the window's event loop goes on: the timer
    // fires and finds the progress dialog up and moving.
    int visto = 0, massimo = 0;
    QTimer orologio;
    QObject::connect(&orologio, &QTimer::timeout, [&] {
        if (auto* p = t.w.findChild<QProgressDialog*>("ProgressoPunti"); p && p->isVisible()) {
            ++visto;
            massimo = std::max(massimo, p->value());
            if (visto == 1)
                p->grab().save(QString::fromStdString(Schermata("esportazione.png").string()));
        }
    });
    orologio.start(20);
    t.Esporta()->trigger();
    orologio.stop();
    EXPECT_GT(visto, 0);
    EXPECT_GT(massimo, 0);
    ASSERT_EQ(t.messaggi.size(), 1);
    EXPECT_TRUE(t.messaggi[0].contains(QString::fromStdString(file.string()))) << t.messaggi[0].toStdString();
    EXPECT_EQ(Contenuto(file).substr(0, 2), "PK");

    // Stopped with "Annulla": no message, the old file stays.
    { std::ofstream(file, std::ios::trunc) << "vecchio"; }
    QObject::connect(&orologio, &QTimer::timeout, [&] {
        if (auto* p = t.w.findChild<QProgressDialog*>("ProgressoPunti"); p && p->isVisible())
            if (auto* b = p->findChild<QPushButton*>())
                QTest::mouseClick(b, Qt::LeftButton);
    });
    orologio.start(20);
    t.Esporta()->trigger();
    orologio.stop();
    EXPECT_EQ(t.messaggi.size(), 1);
    EXPECT_EQ(Contenuto(file), "vecchio");
}

TEST_F(Aiuto, EsportazioneImpossibileUnMessaggioChiaro) {
    Finestra t("qt_foglio_occupato");
    // Something that cannot be replaced where the file goes.
    const auto file = t.dati.p / uscite::NomeFilePuntiSismici;
    std::filesystem::create_directories(file / "dentro");
    t.Esporta()->trigger();
    ASSERT_EQ(t.messaggi.size(), 1);
    EXPECT_TRUE(t.messaggi[0].startsWith("Impossibile esportare i punti sismici:")) << t.messaggi[0].toStdString();
    EXPECT_TRUE(t.messaggi[0].contains(QString::fromStdString(file.string())));
    EXPECT_TRUE(t.messaggi[0].contains(QString::fromUtf8("Il file precedente non è stato modificato.")));
    EXPECT_TRUE(std::filesystem::is_directory(file / "dentro"));
}

TEST_F(Aiuto, VeltranoDialogoApreLaSuaGuida) {
    // The program, through the plugin it loads, as a host with help.
    test::CartellaTemporanea dati("cli_guida");
    std::filesystem::create_directory_symlink(std::filesystem::path(VELTRANO_DATI) / "guida", dati.p / "guida");
    bool aperta = false;
    QTimer::singleShot(300, [&] {
        QWidget* w = QApplication::activeModalWidget();
        ASSERT_NE(w, nullptr);
        auto* help = w->findChild<QAction*>("TB_Help");
        ASSERT_NE(help, nullptr);
        help->trigger();
        for (QWidget* g : QApplication::topLevelWidgets())
            if (g->objectName() == "FGuida" && g->isVisible()) {
                aperta = true;
                g->close();
            }
        QTest::keyClick(w, Qt::Key_Escape);
    });
    std::ostringstream out, err;
    EXPECT_EQ(cli::Principale({"dialogo", "--dati", dati.p.string()}, out, err), 3) << err.str();
    EXPECT_TRUE(aperta);
}
