// The exported functions, each through Confine (abi/confine.h).
#include "abi/confine.h"
#include "abi/runtime.h"
#include "abi/stato.h"
#include "core/calcolo.h"
#include "geo/comuni.h"
#include "geo/datum.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

using namespace veltrano;
using veltrano::abi::Confine;
using veltrano::abi::NonNullo;

namespace {

void TempiRitornoEsporta(uint8_t Normativa, int32_t VN, uint8_t ClasseUso, int32_t* TR_SLV,
                         int32_t* TR_SLC, int32_t* TR_SLD, int32_t* TR_SLO) {
    int32_t* dest[4] = {NonNullo(TR_SLV, "TR_SLV"), NonNullo(TR_SLC, "TR_SLC"),
                        NonNullo(TR_SLD, "TR_SLD"), NonNullo(TR_SLO, "TR_SLO")};
    const TempiRitorno tr = CalcolaTR(Normativa, VN, ClasseUso);
    for (std::size_t j = 0; j < 4; ++j)
        *dest[j] = tr[j];
}

} // namespace

extern "C" {

VELTRANO_API void VELTRANO_REGISTER VeltranoVersione(VelStringa* versione) {
    Confine("VeltranoVersione", [&] { abi::AssegnaVersione(NonNullo(versione, "versione")); });
}

VELTRANO_API void VELTRANO_STDCALL CalcolaParametriSismici2(uint8_t Normativa, float Lon, float Lat,
                                                            int32_t VN, int32_t ClasseUso,
                                                            uint8_t /*Riservato*/, TGIS_DatiOut* DatiOut) {
    Confine("CalcolaParametriSismici2", [&] {
        TGIS_DatiOut& out = *NonNullo(DatiOut, "DatiOut");
        abi::CaricaGriglia();
        CalcolaSito(abi::BufferGriglia(), abi::MagliaSito(), Normativa, Lon, Lat, VN, ClasseUso, out);
    });
}

VELTRANO_API void VELTRANO_STDCALL CalcolaParametriSismici(float Lon, float Lat, int32_t VN,
                                                           int32_t ClasseUso, uint8_t Riservato,
                                                           TGIS_DatiOut* DatiOut) {
    CalcolaParametriSismici2(Norm_DM2008, Lon, Lat, VN, ClasseUso, Riservato, DatiOut);
}

VELTRANO_API int32_t VELTRANO_STDCALL CalcolaTempoRitornoDaPGA(float Lon, float Lat, float PGA) {
    return Confine("CalcolaTempoRitornoDaPGA", [&] {
        abi::CaricaGriglia();
        return CalcolaTRDaPGA(abi::BufferGriglia(), abi::MagliaSito(), Lon, Lat, PGA);
    });
}

VELTRANO_API void VELTRANO_STDCALL CalcolaTempiRitorno(int32_t VN, uint8_t ClasseUso, int32_t* TR_SLV,
                                                       int32_t* TR_SLC, int32_t* TR_SLD, int32_t* TR_SLO) {
    Confine("CalcolaTempiRitorno",
            [&] { TempiRitornoEsporta(Norm_DM2008, VN, ClasseUso, TR_SLV, TR_SLC, TR_SLD, TR_SLO); });
}

VELTRANO_API void VELTRANO_STDCALL CalcolaTempiRitorno2(uint8_t Normativa, int32_t VN, uint8_t ClasseUso,
                                                        int32_t* TR_SLV, int32_t* TR_SLC,
                                                        int32_t* TR_SLD, int32_t* TR_SLO) {
    Confine("CalcolaTempiRitorno2",
            [&] { TempiRitornoEsporta(Normativa, VN, ClasseUso, TR_SLV, TR_SLC, TR_SLD, TR_SLO); });
}

VELTRANO_API void VELTRANO_STDCALL GIS_LeggeDatabaseCoorComSize(VelStringa Percorso, int32_t* N) {
    Confine("GIS_LeggeDatabaseCoorComSize", [&] {
        int32_t& n = *NonNullo(N, "N");
        n = LeggiNumeroComuni(abi::TestoStringa(Percorso));
    });
}

VELTRANO_API void VELTRANO_STDCALL GIS_LeggeDatabaseCoorCom(VelStringa Percorso, TCoordComuni* Comuni,
                                                            uint8_t Dimensiona) {
    Confine("GIS_LeggeDatabaseCoorCom", [&] {
        TCoordComuni& a = *NonNullo(Comuni, "Comuni");
        const std::u16string prefisso = abi::TestoStringa(Percorso);
        // Read whole before touching the array: a failed read changes nothing.
        const std::vector<TCoordComune> letti =
            Dimensiona ? LeggiComuni(prefisso)
                       : LeggiComuni(prefisso, static_cast<std::size_t>(VeltranoComuniLunghezza(a)));
        if (Dimensiona)
            abi::ComuniDimensiona(&a, static_cast<int32_t>(letti.size()));
        if (!letti.empty())
            std::memcpy(static_cast<void*>(a), letti.data(), letti.size() * sizeof(TCoordComune));
    });
}

VELTRANO_API void VELTRANO_STDCALL GIS_SalvaDatabaseCoorCom(VelStringa Percorso, TCoordComuni* Comuni) {
    Confine("GIS_SalvaDatabaseCoorCom", [&] {
        const TCoordComuni a = *NonNullo(Comuni, "Comuni");
        SalvaComuni(abi::TestoStringa(Percorso),
                    {a, static_cast<std::size_t>(VeltranoComuniLunghezza(a))});
    });
}

VELTRANO_API void VELTRANO_STDCALL ConvCoord_WGS84toED50(float Lon, float Lat, float* LonED50,
                                                         float* LatED50) {
    Confine("ConvCoord_WGS84toED50", [&] {
        float& lon = *NonNullo(LonED50, "LonED50");
        float& lat = *NonNullo(LatED50, "LatED50");
        ControllaCoordinateSito(Lon, Lat);
        const Coordinate c = veltrano::ConvCoord_WGS84toED50(Lon, Lat);
        // Within range the result is finite; checked all the same.
        if (!(std::isfinite(c.Lon) && std::isfinite(c.Lat)))
            throw ErroreIntervallo("la conversione non dà un risultato finito");
        lon = c.Lon;
        lat = c.Lat;
    });
}

VELTRANO_API const char* VELTRANO_STDCALL VeltranoUltimoErrore(void) { return abi::UltimoErrore().c_str(); }

VELTRANO_API uint32_t VELTRANO_STDCALL VeltranoUltimoCodice(void) { return abi::UltimoCodice(); }

} // extern "C"
