#include "core/calcolo.h"

#include <cmath>

namespace veltrano {

namespace {

// ag to g, node sort and the copy of the cell into out.
void Chiudi(TMagliaSito& m, float Lon, float Lat, TGIS_DatiOut& out, bool rapido) {
    for (int j = 0; j < 4; ++j) {
        TGIS_ParZS& p = StatoLimite(out, j);
        p.ag = rapido ? DivisaRapida(p.ag, 10.0L) : S(static_cast<long double>(p.ag) / 10.0L); // g/10 to g
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

} // namespace

void ControllaSitoFinito(float Lon, float Lat) {
    if (!std::isfinite(Lon))
        throw ErroreIntervallo("longitudine del sito non finita");
    if (!std::isfinite(Lat))
        throw ErroreIntervallo("latitudine del sito non finita");
}

EsitoSito CompletaSito(TMagliaSito& m, uint8_t Normativa, float Lon, float Lat, int32_t VN,
                       int32_t ClasseUso, TGIS_DatiOut& out) {
    ControllaSitoFinito(Lon, Lat);
    const TempiRitorno tr = CalcolaTR(Normativa, VN, ClasseUsoByte(ClasseUso));
    // A site off the grid (two nodes or fewer) may be a small island; the
    // verdict is taken here once, before ValoriIsole rewrites the cell.
    EsitoSito e;
    e.numNodi = ContaNodi(m);
    e.isola = e.numNodi <= 2 && ValoriIsole(Lon, Lat, m);
    InterpolaParametri(m, Lon, Lat, tr, out);
    Chiudi(m, Lon, Lat, out, false);
    return e;
}

EsitoSito CompletaSitoRapido(TMagliaSito& m, float Lon, float Lat, const TempiRitorno& tr, TGIS_DatiOut& out) {
    ControllaSitoFinito(Lon, Lat);
    EsitoSito e;
    e.numNodi = ContaNodi(m);
    e.isola = e.numNodi <= 2 && ValoriIsoleRapidi(Lon, Lat, m);
    InterpolaParametriRapida(m, Lon, Lat, tr, out);
    Chiudi(m, Lon, Lat, out, true);
    return e;
}

EsitoSito CalcolaSito(const Griglia& g, TMagliaSito& m, uint8_t Normativa, float Lon, float Lat,
                      int32_t VN, int32_t ClasseUso, TGIS_DatiOut& out) {
    ControllaSitoFinito(Lon, Lat);
    CercaPuntiMaglia(g, Lon, Lat, m);
    return CompletaSito(m, Normativa, Lon, Lat, VN, ClasseUso, out);
}

int32_t CalcolaTRDaPGA(const Griglia& g, TMagliaSito& m, float Lon, float Lat, float PGA) {
    ControllaSitoFinito(Lon, Lat);
    if (!std::isfinite(PGA))
        throw ErroreIntervallo("PGA non finita");
    CercaPuntiMaglia(g, Lon, Lat, m);
    return TempoRitornoDaPGA(m, S(static_cast<long double>(PGA) * 10.0L), Lon, Lat);
}

} // namespace veltrano
