#include "cli/sito.h"

#include "core/calcolo.h"
#include "geo/datum.h"

#include <cstdlib>
#include <cstring>

#include <sys/auxv.h>

namespace veltrano::cli {

std::filesystem::path CartellaDatiPredefinita() {
    if (const char* d = std::getenv("VELTRANO_DATI"); d && *d)
        return d;
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) {
        // No /proc (a bare chroot): the file name the program was started by.
        const auto* avvio = reinterpret_cast<const char*>(getauxval(AT_EXECFN));
        if (!avvio || !*avvio)
            return std::filesystem::current_path();
        exe = std::filesystem::weakly_canonical(std::filesystem::absolute(avvio, ec), ec);
    }
    const std::filesystem::path propria = exe.parent_path();
#ifdef VELTRANO_DATI_DA_PROGRAMMA
    // A build folder holds the data beside the program; an installed program
    // finds them in the shared data folder, wherever the tree was put.
    const auto installata = (propria / VELTRANO_DATI_DA_PROGRAMMA).lexically_normal();
    if (!std::filesystem::is_regular_file(propria / "GeoDati.dat", ec) &&
        std::filesystem::is_regular_file(installata / "GeoDati.dat", ec))
        return installata;
#endif
    return propria;
}

std::pair<float, float> SitoED50(double lon, double lat, bool wgs84) {
    const float lo = static_cast<float>(lon), la = static_cast<float>(lat);
    if (!wgs84)
        return {lo, la};
    const Coordinate c = ConvCoord_WGS84toED50(lo, la);
    return {c.Lon, c.Lat};
}

RisultatoSito CalcolaRisultatoSito(const std::filesystem::path& cartellaDati, double lon, double lat,
                                   bool wgs84, int vn, int classe) {
    RisultatoSito r{};
    const auto [lonE, latE] = SitoED50(lon, lat, wgs84);
    Griglia g;
    g.Carica(cartellaDati / "GeoDati.dat");
    TMagliaSito m{};
    CercaPuntiMaglia(g, lonE, latE, m);
    r.numNodi = ContaNodi(m);
    r.isola = GruppoIsola(lonE, latE) != 0;
    CompletaSito(m, Norm_DM2008, lonE, latE, vn, classe, r.dati);
    r.lonED50 = lonE;
    r.latED50 = latE;
    return r;
}

std::array<StatoLimiteSito, 4> ParametriSito(const std::filesystem::path& cartellaDati, double lon,
                                             double lat, bool wgs84, int vn, int classe) {
    const RisultatoSito r = CalcolaRisultatoSito(cartellaDati, lon, lat, wgs84, vn, classe);
    const TGIS_DatiOut& d = r.dati;
    auto stato = [](const char* nome, const TGIS_ParZS& p) {
        return StatoLimiteSito{nome, static_cast<int>(p.Tr), p.ag, p.Fo, p.Tc_s};
    };
    return {stato("SLO", d.SLO), stato("SLD", d.SLD), stato("SLV", d.SLV), stato("SLC", d.SLC)};
}

} // namespace veltrano::cli
