#include "core/calcolo.h"

namespace veltrano {

void CompletaSito(TMagliaSito& m, uint8_t Normativa, float Lon, float Lat, int32_t VN,
                  int32_t ClasseUso, TGIS_DatiOut& out) {
    if (ContaNodi(m) <= 2)
        ValoriIsole(Lon, Lat, m); // a site off the grid may be a small island
    const TempiRitorno tr = CalcolaTR(Normativa, VN, ClasseUsoByte(ClasseUso));
    InterpolaParametri(m, Lon, Lat, tr, out);
    for (int j = 0; j < 4; ++j) {
        TGIS_ParZS& p = StatoLimite(out, j);
        p.ag = S(static_cast<long double>(p.ag) / 10.0L); // g/10 to g
    }
    out.LonSitoED50 = Lon;
    out.LatSitoED50 = Lat;
    OrdinaPunti(false, m[0].NumVert, m);
    for (int i = 0; i < 4; ++i) {
        out.NumPunti[i] = m[0].NumPunti[i];
        out.LonPunti[i] = m[0].LonPunti[i];
        out.LatPunti[i] = m[0].LatPunti[i];
    }
    out.NumVert = m[0].NumVert;
}

void CalcolaSito(const Griglia& g, TMagliaSito& m, uint8_t Normativa, float Lon, float Lat,
                 int32_t VN, int32_t ClasseUso, TGIS_DatiOut& out) {
    CercaPuntiMaglia(g, Lon, Lat, m);
    CompletaSito(m, Normativa, Lon, Lat, VN, ClasseUso, out);
}

int32_t CalcolaTRDaPGA(const Griglia& g, TMagliaSito& m, float Lon, float Lat, float PGA) {
    CercaPuntiMaglia(g, Lon, Lat, m);
    return TempoRitornoDaPGA(m, S(static_cast<long double>(PGA) * 10.0L), Lon, Lat);
}

} // namespace veltrano
