#include "ui/qt/cursori_qt.h"

#include "map/cursori.h"
#include "ui/qt/pittore_qt.h"

#include <QFile>
#include <QPixmap>

#include <array>
#include <exception>

// The resources of the cursor files, compiled by rcc into this library.
static void InizializzaRisorseCursori() { Q_INIT_RESOURCE(cursori); }

namespace veltrano::ui {

namespace {

struct Tabella {
    std::array<QCursor, mappa::NumCursori + 1> cursori; // [0]: the arrow
    int caricati = 0;
    Tabella() {
        InizializzaRisorseCursori();
        const std::string prefisso = mappa::PrefissoCursori(mappa::InsiemeCursori());
        for (int n = 1; n <= mappa::NumCursori; ++n) {
            QFile f(QStringLiteral(":/cursori/") + QString::fromStdString(mappa::NomeRisorsaCursore(prefisso, n)));
            if (!f.open(QIODevice::ReadOnly))
                continue;
            const QByteArray b = f.readAll();
            try {
                const mappa::TCursore c = mappa::DecodificaCur(
                    {reinterpret_cast<const uint8_t*>(b.constData()), static_cast<std::size_t>(b.size())},
                    f.fileName().toStdString());
                cursori[static_cast<std::size_t>(n)] =
                    QCursor(QPixmap::fromImage(ImmagineQt(c.immagine)), c.xCaldo, c.yCaldo);
                ++caricati;
            } catch (const std::exception&) {
                // A cursor that cannot be read leaves the arrow in its place.
            }
        }
    }
};

const Tabella& Cursori() {
    static const Tabella t;
    return t;
}

} // namespace

const QCursor& CursoreSchermo(int n) {
    const auto& c = Cursori().cursori;
    return n >= 1 && n <= mappa::NumCursori ? c[static_cast<std::size_t>(n)] : c[0];
}

int CaricaCursori() { return Cursori().caricati; }

} // namespace veltrano::ui
