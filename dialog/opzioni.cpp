#include "dialog/opzioni.h"

#include "map/mappa.h"
#include "map/testo1252.h"
#include "veltrano/veltrano.h"

#include <QFile>
#include <QSaveFile>

#include <bit>
#include <cstring>

namespace veltrano::dialogo {

static_assert(std::endian::native == std::endian::little, "Opzioni.dat is little-endian");

using mappa::RGBWin;

TOpzVis OpzioniPredefinite() {
    TOpzVis o;
    std::memset(&o, 0, sizeof o);
    const uint32_t crema = RGBWin(241, 236, 205), blu = RGBWin(0, 0, 128), ciano = RGBWin(0, 255, 255);
    o.SpessB_Reg = o.SpessB_Prov = o.SpessB_Com = 2;
    o.ColB_Reg = o.ColB_Prov = o.ColB_Com = 0;
    o.ColR_Reg = o.ColR_Prov = o.ColR_Com = crema;
    ImpostaNomeCarattere(o.NameCar_Reg, "Times New Roman");
    ImpostaNomeCarattere(o.NameCar_Prov, "Times New Roman");
    ImpostaNomeCarattere(o.NameCar_Com, "Times New Roman");
    ImpostaNomeCarattere(o.NameCar, "Times New Roman");
    o.SizeCar_Reg = o.SizeCar_Prov = o.SizeCar_Com = o.SizeCar = 8;
    o.ColCar_Reg = o.ColCar_Prov = o.ColCar_Com = blu;
    o.DimPunti = 5;
    o.StilePunti = 0;
    o.indImmPunti = 0;
    o.indTempoR = 6;
    o.SpessB_LF = 1;
    o.ColB_LF = o.ColR_LF = ciano;
    o.Spess_Stra = 1;
    o.Col_Stra = RGBWin(128, 0, 0);
    return o;
}

TOpzVis CaricaOpzioni(const std::filesystem::path& percorso) {
    QFile f(QString::fromStdString(percorso.string()));
    if (!f.open(QIODevice::ReadOnly))
        return OpzioniPredefinite();
    const QByteArray b = f.read(sizeof(TOpzVis));
    if (b.size() != static_cast<qsizetype>(sizeof(TOpzVis)))
        return OpzioniPredefinite();
    TOpzVis o;
    std::memcpy(&o, b.constData(), sizeof o);
    return o;
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

std::string NomeCarattere(const uint8_t (&campo)[51]) {
    const std::size_t n = std::min<std::size_t>(campo[0], 50);
    return mappa::Da1252AUtf8(std::string_view(reinterpret_cast<const char*>(campo + 1), n));
}

void ImpostaNomeCarattere(uint8_t (&campo)[51], const std::string& utf8) {
    mappa::AStringaCorta(mappa::Utf8A1252(utf8), campo, 50);
}

} // namespace veltrano::dialogo
