// Helpers of the Qt tests: a scratch data folder that links the built data,
// and the check that no window outlives a test.
#pragma once

#include <QApplication>
#include <QWidget>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <unistd.h>

namespace veltrano::test {

inline std::filesystem::path DatiCostruiti() { return VELTRANO_DATI; }

/// A fresh folder holding links to the built grid, database and shapefiles,
/// so that a test may write Opzioni.dat (or drop files) without touching
/// the build's data folder.
inline std::filesystem::path CartellaDatiProva(const std::string& nome) {
    namespace fs = std::filesystem;
    const fs::path p = fs::temp_directory_path() / ("veltrano_qt_" + nome + "_" + std::to_string(::getpid()));
    fs::remove_all(p);
    fs::create_directories(p / "Shape");
    for (const char* f : {"GeoDati.dat", "CoorCom.dat", "CoorCom2.dat"})
        fs::create_symlink(DatiCostruiti() / f, p / f);
    for (const auto& d : fs::directory_iterator(DatiCostruiti() / "Shape"))
        if (d.path().filename() != "Dettagli")
            fs::create_directory_symlink(d.path(), p / "Shape" / d.path().filename());
    fs::create_directories(p / "Shape/Dettagli");
    for (const auto& f : fs::directory_iterator(DatiCostruiti() / "Shape/Dettagli"))
        fs::create_symlink(f.path(), p / "Shape/Dettagli" / f.path().filename());
    return p;
}

/// Fails when a top-level widget is still alive (a leaked form or dialog).
inline void NessunaFinestraRimasta() {
    QApplication::processEvents();
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (!w->inherits("QMenu") && !w->inherits("QComboBoxPrivateContainer") && w->objectName() != "qtooltip_label")
            ++n;
    EXPECT_EQ(n, 0) << "finestre rimaste aperte";
}

} // namespace veltrano::test
