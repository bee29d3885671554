#include "dialog/opzioni.h"

#include "veltrano/veltrano.h"

#include <QFile>
#include <QSaveFile>

#include <cstring>

namespace veltrano::dialogo {

TOpzVis CaricaOpzioni(const std::filesystem::path& percorso) {
    QFile f(QString::fromStdString(percorso.string()));
    if (!f.open(QIODevice::ReadOnly))
        return OpzioniPredefinite();
    const QByteArray b = f.read(sizeof(TOpzVis));
    return DecodificaOpzioni(reinterpret_cast<const std::byte*>(b.constData()), static_cast<std::size_t>(b.size()));
}

void SalvaOpzioni(const std::filesystem::path& percorso, const TOpzVis& o) {
    const QString nome = QString::fromStdString(percorso.string());
    QSaveFile f(nome);
    if (!f.open(QIODevice::WriteOnly))
        throw ErroreApertura(percorso.string() + ": " + f.errorString().toStdString());
    const qint64 scritti = f.write(reinterpret_cast<const char*>(&o), sizeof o);
    // A short write (disk full, size limit) must not reach the rename: the
    // flush is checked here, and the size on disk, before committing.
    if (scritti != static_cast<qint64>(sizeof o) || !f.flush() || f.error() != QFileDevice::NoError ||
        f.size() != static_cast<qint64>(sizeof o)) {
        const std::string motivo = f.errorString().toStdString();
        f.cancelWriting();
        throw ErroreApertura(percorso.string() + ": " + motivo);
    }
    if (!f.commit())
        throw ErroreApertura(percorso.string() + ": " + f.errorString().toStdString());
}

} // namespace veltrano::dialogo
