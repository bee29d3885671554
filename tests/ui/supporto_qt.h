// Helpers of the Qt tests: the site dialog's window as the window tests open
// it, and the check that no window outlives a test.
#pragma once

#include "dialog/TFMapMain.h"
#include "tests/supporto_dati.h"
#include "ui/qt/TFMapMainQt.h"

#include <QApplication>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

namespace veltrano::test {

/// Fails when a top-level widget is still alive (a leaked form or dialog).
inline void NessunaFinestraRimasta() {
    QApplication::processEvents();
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (!w->inherits("QMenu") && !w->inherits("QComboBoxPrivateContainer") && w->objectName() != "qtooltip_label")
            ++n;
    EXPECT_EQ(n, 0) << "finestre rimaste aperte";
}

#ifdef VELTRANO_SCHERMATE
/// The folder the window tests leave their screenshots in, made when missing.
inline std::filesystem::path CartellaSchermate() {
    const std::filesystem::path p(VELTRANO_SCHERMATE);
    std::filesystem::create_directories(p);
    return p;
}
#endif

/// The window and its form over a scratch data folder. Apri() opens it as a
/// host would, with the previous site (WGS84) given, and shows it non-modally
/// at the size given; closing unhooks the form before the window goes.
struct FinestraProva {
    CartellaTemporanea dati;
    ui::TFMapMainQt w;
    std::unique_ptr<dialogo::TFMapMain> f;
    explicit FinestraProva(const std::string& nome) : dati(nome) {}
    void Apri(float lonSito, float latSito, int larghezza, int altezza, const dialogo::TParametriDialogo& p = {}) {
        f = std::make_unique<dialogo::TFMapMain>(dati.p, w);
        w.Collega(f.get());
        TGIS_DatiOut d;
        std::memset(&d, 0, sizeof d);
        d.LonSito = lonSito;
        d.LatSito = latSito;
        d.TipoRic = 1;
        f->Prepara(p, d);
        w.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&w));
        w.setWindowState(Qt::WindowNoState);
        w.setGeometry(0, 0, larghezza, altezza);
        QTest::qWait(50);
    }
#ifdef VELTRANO_SCHERMATE
    /// The whole window to a PNG in CartellaSchermate(), once pending
    /// painting (attesaMs) has run.
    void Schermata(const char* nome, int attesaMs = 30) {
        QTest::qWait(attesaMs);
        w.grab().save(QString::fromStdString((CartellaSchermate() / nome).string()));
    }
#endif
    ~FinestraProva() {
        w.Collega(nullptr);
        f.reset();
        w.hide();
    }
};

} // namespace veltrano::test
