// A host program that knows the library only by its file, as hosts do:
// dlopen, dlsym, then VisualizzaDialog. The host has no Qt application of
// its own; the library loads its Qt plugin, which makes one. The test plays
// the user from inside Qt's event loop (a routine Qt runs when the
// application is created), chooses a municipality and confirms, then checks
// the record against the engine's own export and opens the picture.
#include "veltrano/veltrano.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>

namespace {

using FVisualizza = void (*)(void*, int32_t, uint8_t, int32_t, uint32_t, VelStringa, TGIS_DatiOut*);
using FCalcola = void (*)(uint8_t, float, float, int32_t, int32_t, uint8_t, TGIS_DatiOut*);
using FStringa = VelStringa (*)(const char*);
using FRilascia = void (*)(VelStringa*);
using FErrore = const char* (*)();

struct Libreria {
    void* h = nullptr;
    explicit Libreria(const std::string& file) { h = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL); }
    template <class F> F Funzione(const char* nome) const { return reinterpret_cast<F>(dlsym(h, nome)); }
};

// What the user does once the dialog is on screen.
std::function<void(QWidget*)>& Utente() {
    static std::function<void(QWidget*)> u;
    return u;
}

void Gioca() {
    QTimer::singleShot(300, [] {
        QWidget* w = QApplication::activeModalWidget();
        ASSERT_NE(w, nullptr);
        Utente()(w);
    });
}

void Scegli(QWidget* w, const char* nome, const QString& testo) {
    auto* c = w->findChild<QComboBox*>(nome);
    ASSERT_NE(c, nullptr) << nome;
    const int i = c->findText(testo);
    ASSERT_GE(i, 0) << testo.toStdString();
    c->setCurrentIndex(i);
    emit c->activated(i);
}

} // namespace

TEST(VisualizzaDialog, OspiteSenzaQtSceglieUnComuneEConferma) {
    ASSERT_EQ(QCoreApplication::instance(), nullptr) << "the host has no Qt application";
    Libreria lib(VELTRANO_LIBRERIA);
    ASSERT_NE(lib.h, nullptr) << dlerror();
    const auto visualizza = lib.Funzione<FVisualizza>("VisualizzaDialog");
    const auto calcola = lib.Funzione<FCalcola>("CalcolaParametriSismici2");
    const auto stringa = lib.Funzione<FStringa>("VeltranoStringaDaUtf8");
    const auto rilascia = lib.Funzione<FRilascia>("VeltranoStringaRilascia");
    ASSERT_TRUE(visualizza && calcola && stringa && rilascia);
    const auto immagine = std::filesystem::temp_directory_path() / "veltrano_host_maglia.bmp";
    std::filesystem::remove(immagine);
    QSize mappa;
    QString titolo, ok, annulla;
    Utente() = [&](QWidget* w) {
        titolo = w->windowTitle();
        ok = w->findChild<QPushButton*>("SB_Chiudi")->text();
        annulla = w->findChild<QPushButton*>("SB_Annulla")->isVisible() ? "visibile" : "nascosto";
        mappa = w->findChild<QWidget*>("Map")->size();
        Scegli(w, "Radiogroup1", QString::fromUtf8("per Località"));
        Scegli(w, "cmb_Reg", "Umbria");
        Scegli(w, "cmb_Prov", "Perugia");
        Scegli(w, "cmb_Com", "Norcia");
        w->findChild<QPushButton*>("SB_Chiudi")->click();
    };
    // Qt runs this when the plugin creates the application.
    qAddPreRoutine(Gioca);
    TGIS_DatiOut d;
    std::memset(&d, 0x5A, sizeof d);
    d.LonSito = 12.4964f;
    d.LatSito = 41.9028f;
    d.TipoRic = 1;
    d.ED50 = 0;
    d.LonSitoED50 = d.LatSitoED50 = 0;
    VelStringa file = stringa(immagine.string().c_str());
    visualizza(nullptr, 2, 3, 100, 0, file, &d);
    rilascia(&file);
    ASSERT_NE(QCoreApplication::instance(), nullptr) << "the plugin made the application";
    EXPECT_EQ(titolo, "Veltrano " VELTRANO_VERSIONE);
    EXPECT_EQ(ok, "OK");
    EXPECT_EQ(annulla, "visibile");
    EXPECT_EQ(d.TipoRic, 2);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(d.nomeLoc_new + 1), d.nomeLoc_new[0]), "Norcia");
    EXPECT_NEAR(float{d.LonSito}, 13.09, 0.05);
    EXPECT_NEAR(float{d.LatSito}, 42.79, 0.05);
    // The hazard is the export's for the site's ED50 coordinates.
    TGIS_DatiOut e;
    std::memset(&e, 0, sizeof e);
    float lonE = 0, latE = 0;
    lib.Funzione<void (*)(float, float, float*, float*)>("ConvCoord_WGS84toED50")(d.LonSito, d.LatSito, &lonE, &latE);
    calcola(Norm_DM2008, lonE, latE, 100, 3, 0, &e);
    EXPECT_EQ(float{d.SLV.ag}, float{e.SLV.ag});
    EXPECT_EQ(float{d.SLV.Tr}, float{e.SLV.Tr});
    EXPECT_EQ(float{d.SLC.Fo}, float{e.SLC.Fo});
    EXPECT_EQ(float{d.SLO.Tc_s}, float{e.SLO.Tc_s});
    EXPECT_EQ(d.NumVert, e.NumVert);
    EXPECT_EQ(std::memcmp(d.NumPunti, e.NumPunti, sizeof d.NumPunti), 0);
    EXPECT_EQ(d.SLV.persi[0], 0x5A) << "the host's reserved bytes stay";
    // The picture of the cell, as a Windows bitmap.
    QImage im(QString::fromStdString(immagine.string()));
    ASSERT_FALSE(im.isNull());
    EXPECT_EQ(im.size(), QSize(qRound(mappa.width() * 2.0 / 3), qRound(mappa.height() * 2.0 / 3)));
    EXPECT_EQ(im.pixelColor(0, 0).alpha(), 255);

    // A second call finds the application made by the first; the host hands
    // its help handler, which the dialog's "Help" reaches with context 0.
    // Escape cancels.
    static int aiuti = 0, contesto = -1;
    TVeltranoOspite ospite{VELTRANO_FIRMA_OSPITE, &contesto, [](void* c, int32_t k) {
                               ++aiuti;
                               *static_cast<int*>(c) = k;
                           }};
    Utente() = [](QWidget* w) {
        w->findChild<QAction*>("TB_Help")->trigger();
        QTest::keyClick(w, Qt::Key_Escape);
    };
    QTimer::singleShot(300, [] { Utente()(QApplication::activeModalWidget()); });
    TGIS_DatiOut c = d;
    c.LonSitoED50 = 0;
    visualizza(&ospite, 2, 3, 100, 0, nullptr, &c);
    EXPECT_EQ(aiuti, 1);
    EXPECT_EQ(contesto, 0);
    float lonC = 0, latC = 0;
    lib.Funzione<void (*)(float, float, float*, float*)>("ConvCoord_WGS84toED50")(d.LonSito, d.LatSito, &lonC, &latC);
    EXPECT_EQ(float{c.LonSitoED50}, lonC);
    c.LonSitoED50 = d.LonSitoED50;
    c.LatSitoED50 = d.LatSitoED50;
    EXPECT_EQ(std::memcmp(&c, &d, sizeof c), 0) << "cancelled: nothing else changes";
    std::filesystem::remove(immagine);
}

#ifdef VELTRANO_MAPPA_WEB
TEST(VisualizzaDialog, OspiteSenzaQtSceglieIlSitoSullaMappaOnLine) {
    // The plugin makes the application and starts WebEngine itself, the
    // sandbox off for root; the user's clicks on the page's map choose the
    // site the host receives.
    ASSERT_EQ(QCoreApplication::instance(), nullptr);
    qputenv("VELTRANO_CONNESSIONE", "1");
    qunsetenv("QTWEBENGINE_DISABLE_SANDBOX");
    Libreria lib(VELTRANO_LIBRERIA);
    ASSERT_NE(lib.h, nullptr) << dlerror();
    const auto visualizza = lib.Funzione<FVisualizza>("VisualizzaDialog");
    bool pagina = false;
    Utente() = [&](QWidget* w) {
        w->findChild<QAction*>("TB_Google")->trigger();
        QWidget* web = w->findChild<QWidget*>("VistaWeb");
        ASSERT_NE(web, nullptr);
        pagina = web->isVisible();
        QWidget* superficie = web->focusProxy();
        ASSERT_NE(superficie, nullptr);
        // The first click marks the current site, the second one moves it.
        for (int volte = 0; volte < 2; ++volte) {
            QTest::mouseClick(superficie, Qt::LeftButton, {}, superficie->rect().center() + QPoint(60, 40));
            QTest::qWait(400);
        }
        w->findChild<QPushButton*>("SB_Chiudi")->click();
    };
    qAddPreRoutine(Gioca);
    TGIS_DatiOut d;
    std::memset(&d, 0, sizeof d);
    d.LonSito = 12.4964f;
    d.LatSito = 41.9028f;
    d.TipoRic = 1;
    visualizza(nullptr, 2, 3, 100, 0, nullptr, &d);
    qunsetenv("VELTRANO_CONNESSIONE");
    EXPECT_TRUE(pagina);
    EXPECT_EQ(qgetenv("QTWEBENGINE_DISABLE_SANDBOX"), ::geteuid() == 0 ? "1" : "");
    // The page may still be moving to the site at the second click (its
    // animations take their time on a busy machine): the clicked point is
    // near the site, not at it.
    EXPECT_TRUE(float{d.LonSito} != 12.4964f || float{d.LatSito} != 41.9028f) << "the site moved";
    EXPECT_NEAR(float{d.LonSito}, 12.5, 1.5);
    EXPECT_NEAR(float{d.LatSito}, 41.9, 1.5);
    EXPECT_GT(float{d.SLV.ag}, 0.0f);
}
#endif

TEST(VisualizzaDialog, SenzaPluginUnErroreNonUnCrash) {
    // The library copied alone, with its data but without the plugin.
    const auto cartella = std::filesystem::temp_directory_path() / "veltrano_senza_plugin";
    std::filesystem::remove_all(cartella);
    std::filesystem::create_directories(cartella);
    const std::filesystem::path dati(VELTRANO_DATI);
    std::filesystem::copy_file(VELTRANO_LIBRERIA, cartella / "libVeltrano_dll.so");
    for (const char* f : {"GeoDati.dat", "CoorCom.dat", "CoorCom2.dat"})
        std::filesystem::copy_file(dati / f, cartella / f);
    Libreria lib((cartella / "libVeltrano_dll.so").string());
    ASSERT_NE(lib.h, nullptr) << dlerror();
    const auto visualizza = lib.Funzione<FVisualizza>("VisualizzaDialog");
    const auto errore = lib.Funzione<FErrore>("VeltranoUltimoErrore");
    TGIS_DatiOut d;
    std::memset(&d, 0x11, sizeof d);
    const TGIS_DatiOut prima = d;
    QCoreApplication* applicazione = QCoreApplication::instance();
    bool presa = false;
    try {
        visualizza(nullptr, 0, 0, 0, 0, nullptr, &d);
    } catch (const std::exception& e) {
        presa = true;
        EXPECT_NE(std::string(e.what()).find("libVeltrano_dialogo_qt.so"), std::string::npos) << e.what();
    }
    EXPECT_TRUE(presa);
    EXPECT_NE(std::string(errore()).find("libVeltrano_dialogo_qt.so"), std::string::npos);
    EXPECT_EQ(std::memcmp(&d, &prima, sizeof d), 0);
    EXPECT_EQ(QCoreApplication::instance(), applicazione) << "no application made for a failure";
    std::filesystem::remove_all(cartella);
}

TEST(VisualizzaDialog, RecordNulloEUnErrore) {
    Libreria lib(VELTRANO_LIBRERIA);
    const auto visualizza = lib.Funzione<FVisualizza>("VisualizzaDialog");
    EXPECT_THROW(visualizza(nullptr, 0, 0, 0, 0, nullptr, nullptr), std::exception);
}
