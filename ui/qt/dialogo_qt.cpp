#include "ui/qt/dialogo_qt.h"

#include "ui/qt/TFMapMainQt.h"
#include "ui/qt/entrata_plugin.h"

#include <QApplication>

#include <cstdlib>

namespace veltrano::ui {

namespace {

std::filesystem::path Percorso(const char* utf8) {
    return std::filesystem::path(std::u8string(reinterpret_cast<const char8_t*>(utf8)));
}

void PreparaApplicazione() {
    if (QCoreApplication::instance()) {
        if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
            throw ErroreApertura("il programma ospite ha un'applicazione Qt senza interfaccia grafica");
        return;
    }
    // Qt ends the process when it finds no screen: say so instead.
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") && !std::getenv("QT_QPA_PLATFORM"))
        throw ErroreApertura("nessuno schermo disponibile (DISPLAY non impostato)");
    // The host has no Qt application: one is made and kept for the process.
    static int argc = 1;
    static char nome[] = "veltrano";
    static char* argv[] = {nome, nullptr};
    // The on-line map's WebEngine shares the application's OpenGL contexts,
    // which must be asked for before the application exists.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    new QApplication(argc, argv);
}

} // namespace

dialogo::TEsito EseguiDialogoQt(const std::filesystem::path& dati, const dialogo::TParametriDialogo& p,
                               TGIS_DatiOut& DatiOut) {
    // The data folder is checked before Qt starts, so a wrong folder is an
    // error message and not a window that fails half-built.
    for (const char* f : {"GeoDati.dat", "CoorCom.dat", "CoorCom2.dat"})
        if (!std::filesystem::exists(dati / f))
            throw ErroreApertura((dati / f).string() + ": impossibile aprire il file");
    PreparaApplicazione();
    TFMapMainQt finestra;
    return dialogo::VisualizzaDialogo(finestra, dati, p, DatiOut);
}

} // namespace veltrano::ui

extern "C" int VeltranoDialogoQtAbi(void) { return veltrano::dialogo::AbiPlugin; }

extern "C" int VeltranoDialogoQt(const char* percorsoDati, void* MainApp, int32_t CategoriaVN, uint8_t ClasseUso,
                                 int32_t VN, const char* fileImmagine, TGIS_DatiOut* DatiOut, char* messaggio,
                                 size_t dimensione) {
    using namespace veltrano;
    return ui::EntrataPlugin(messaggio, dimensione, [&] {
        if (!percorsoDati || !DatiOut)
            throw ErroreArgomento(!DatiOut ? "DatiOut è un puntatore nullo" : "percorsoDati è un puntatore nullo");
        dialogo::TParametriDialogo p;
        p.MainApp = MainApp;
        p.CategoriaVN = CategoriaVN;
        p.ClasseUso = ClasseUso;
        p.VN = VN;
        if (fileImmagine && *fileImmagine)
            p.FileImmagine = ui::Percorso(fileImmagine);
        return ui::EseguiDialogoQt(ui::Percorso(percorsoDati), p, *DatiOut) == dialogo::TEsito::Ok
                   ? dialogo::PluginConfermato
                   : dialogo::PluginAnnullato;
    });
}
