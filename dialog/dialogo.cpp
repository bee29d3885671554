#include "dialog/dialogo.h"

#include "dialog/TFMapMain.h"
#include "veltrano/veltrano.h"

#include <QApplication>

#include <memory>

namespace veltrano::dialogo {

int EseguiDialogo(const std::filesystem::path& dati) {
    // The data folder is checked before Qt starts, so a wrong folder is an
    // error message and not a window that fails half-built.
    for (const char* f : {"GeoDati.dat", "CoorCom.dat", "CoorCom2.dat"})
        if (!std::filesystem::exists(dati / f))
            throw ErroreApertura((dati / f).string() + ": impossibile aprire il file");
    static int argc = 1;
    static char nome[] = "veltrano";
    static char* argv[] = {nome, nullptr};
    std::unique_ptr<QApplication> app;
    if (!QApplication::instance())
        app = std::make_unique<QApplication>(argc, argv);
    TFMapMain f(dati);
    return f.exec() == QDialog::Accepted ? 0 : 1;
}

} // namespace veltrano::dialogo
