#include "core/calcolo.h"

#include <cmath>
#include <string>

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

void ControllaCoordinateSito(float Lon, float Lat) {
    if (!(Lon >= -180.0f && Lon <= 180.0f))
        throw ErroreIntervallo("longitudine del sito fuori da -180..180 gradi");
    if (!(Lat >= -90.0f && Lat <= 90.0f))
        throw ErroreIntervallo("latitudine del sito fuori da -90..90 gradi");
}

void ControllaRisultato(const TGIS_DatiOut& out, float Lon, float Lat) {
    for (const TGIS_ParZS* p : {&out.SLV, &out.SLC, &out.SLD, &out.SLO}) {
        const float ag = p->ag, Fo = p->Fo, Tc = p->Tc_s;
        if (!(std::isfinite(ag) && std::isfinite(Fo) && std::isfinite(Tc)))
            throw ErroreIntervallo("il calcolo al sito (" + std::to_string(Lon) + ", " + std::to_string(Lat) +
                                   ") non dà un numero");
    }
}

EsitoSito CompletaSito(TMagliaSito& m, uint8_t Normativa, float Lon, float Lat, int32_t VN,
                       int32_t ClasseUso, TGIS_DatiOut& out) {
    ControllaCoordinateSito(Lon, Lat);
    const TempiRitorno tr = CalcolaTR(Normativa, VN, ClasseUsoByte(ClasseUso));
    // A site off the grid (two nodes or fewer) may be a small island; the
    // verdict is taken here once, before ValoriIsole rewrites the cell.
    EsitoSito e;
    e.numNodi = ContaNodi(m);
    e.isola = e.numNodi <= 2 && ValoriIsole(Lon, Lat, m);
    InterpolaParametri(m, Lon, Lat, tr, out);
    Chiudi(m, Lon, Lat, out, false);
    ControllaRisultato(out, Lon, Lat);
    return e;
}

EsitoSito CompletaSitoRapido(TMagliaSito& m, float Lon, float Lat, const TempiRitorno& tr, TGIS_DatiOut& out) {
    ControllaCoordinateSito(Lon, Lat);
    EsitoSito e;
    e.numNodi = ContaNodi(m);
    e.isola = e.numNodi <= 2 && ValoriIsoleRapidi(Lon, Lat, m);
    InterpolaParametriRapida(m, Lon, Lat, tr, out);
    Chiudi(m, Lon, Lat, out, true);
    ControllaRisultato(out, Lon, Lat);
    return e;
}

EsitoSito CalcolaSito(const Griglia& g, TMagliaSito& m, uint8_t Normativa, float Lon, float Lat,
                      int32_t VN, int32_t ClasseUso, TGIS_DatiOut& out) {
    ControllaCoordinateSito(Lon, Lat);
    CercaPuntiMaglia(g, Lon, Lat, m);
    return CompletaSito(m, Normativa, Lon, Lat, VN, ClasseUso, out);
}

int32_t CalcolaTRDaPGA(const Griglia& g, TMagliaSito& m, float Lon, float Lat, float PGA) {
    ControllaCoordinateSito(Lon, Lat);
    if (!std::isfinite(PGA))
        throw ErroreIntervallo("PGA non finita");
    CercaPuntiMaglia(g, Lon, Lat, m);
    return TempoRitornoDaPGA(m, S(static_cast<long double>(PGA) * 10.0L), Lon, Lat);
}

} // namespace veltrano
