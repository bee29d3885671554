/* The file of expected results that the native engine writes (genera_attesi)
 * and the Windows host checks the library against: "VELATT01", an int32
 * count, then the records. Plain C, packed, little-endian on both sides. */
#ifndef VELTRANO_TEST_ATTESI_H
#define VELTRANO_TEST_ATTESI_H

#include "veltrano/veltrano.h"

#pragma pack(push, 1)
typedef struct TSitoAtteso {
    /* inputs */
    uint8_t Normativa;
    float Lon, Lat;          /* ED50 for the computation, WGS84 for the conversion */
    int32_t VN, ClasseUso;
    float PGA;
    uint8_t Riempimento;     /* every byte of DatiOut before the call */
    /* CalcolaParametriSismici2: the failure code (0: none) and the record */
    uint32_t Codice;
    TGIS_DatiOut DatiOut;
    /* CalcolaTempoRitornoDaPGA */
    uint32_t CodicePGA;
    int32_t TRDaPGA;
    /* ConvCoord_WGS84toED50 */
    float LonED50, LatED50;
    /* CalcolaTempiRitorno2 with the low byte of ClasseUso */
    uint32_t CodiceTR;
    int32_t TR[4];
} TSitoAtteso;
#pragma pack(pop)

#define ATTESI_FIRMA "VELATT01"

#endif
