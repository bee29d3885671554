// Takes the pictures of the help pages from the dialog itself, offscreen, at
// build time: genera_schermate_guida DATI USCITA. The dialog opens on the
// build's data folder at the site the pages describe (longitude 13.4,
// latitude 42.35) and nothing is written to that folder.
#include "dialog/TFMapMain.h"
#include "dialog/testi_aiuto.h"
#include "ui/qt/TFMapMainQt.h"
#include "ui/qt/avvertenze_qt.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QToolBar>

#include <cstring>
#include <filesystem>
#include <iostream>

using namespace veltrano;
using C = dialogo::TControllo;

namespace {

void Attendi(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
}

bool Salva(QWidget* w, const std::filesystem::path& file) {
    Attendi(60);
    if (!w->grab().save(QString::fromStdString(file.string()))) {
        std::cerr << "genera_schermate_guida: " << file.string() << ": impossibile scrivere l'immagine\n";
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "uso: genera_schermate_guida DATI USCITA\n";
        return 2;
    }
    QApplication app(argc, argv);
    const std::filesystem::path dati = argv[1], uscita = argv[2];
    std::filesystem::create_directories(uscita);
    try {
        ui::TFMapMainQt w;
        ui::TFMapMainQt::MostraMessaggio = [](QWidget*, const QString& t) {
            std::cerr << "genera_schermate_guida: " << t.toStdString() << "\n";
        };
        dialogo::TFMapMain f(dati, w);
        w.Collega(&f);
        TGIS_DatiOut d;
        std::memset(&d, 0, sizeof d);
        d.LonSito = 13.4f;
        d.LatSito = 42.35f;
        d.TipoRic = 1;
        f.Prepara(dialogo::TParametriDialogo{}, d);
        w.show();
        w.setWindowState(Qt::WindowNoState);
        w.setGeometry(0, 0, 1280, 860);
        Attendi(300);
        bool ok = Salva(&w, uscita / "finestra.png");
        ok = Salva(w.findChild<QToolBar*>("ToolBarPrincipale"), uscita / "barra.png") && ok;
        ok = Salva(w.LR_Dati, uscita / "risultati.png") && ok;
        f.Click(C::TB_Griglia);
        // As the user ticks "GRIGLIA": the box shows it, the form acts on it.
        w.ImpostaPremuto(C::CB_VisGriglia, true);
        f.Premuto(C::CB_VisGriglia, true);
        ok = Salva(&w, uscita / "opzioni.png") && ok;
        f.Click(C::SpeedButton20);
        {
            ui::TFWarnQt avvertenze(
                std::vector<std::string>(dialogo::testi::RigheAvvertenze.begin(), dialogo::testi::RigheAvvertenze.end()),
                &w);
            avvertenze.show();
            ok = Salva(&avvertenze, uscita / "avvertenze.png") && ok;
        }
        w.Collega(nullptr);
        return ok ? 0 : 1;
    } catch (const std::exception& e) {
        std::cerr << "genera_schermate_guida: " << e.what() << "\n";
        return 1;
    }
}
