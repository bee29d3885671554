// The site report's request in plain C form, as the command line hands it
// to the Qt plugin's entry VeltranoRelazioneQt (ui/qt/relazione_qt.cpp),
// which computes the site from the data folder with outputs/relazione.h and
// writes the PDF. Texts are UTF-8.
#pragma once

#include <cstddef>
#include <cstdint>

extern "C" {

struct TRichiestaRelazioneC {
    const char* cartellaDati; ///< GeoDati.dat, CoorCom*.dat, Shape/
    double lon, lat;          ///< [deg], ED50 unless wgs84
    int32_t wgs84;
    int32_t vn, classe;      ///< [years], 1..4
    const char* suolo;       ///< "A".."E"
    const char* topografia;  ///< "T1".."T4"
    double st;               ///< a topographic factor given, or NaN
    double smorzamento;      ///< [%]
    double altitudine;       ///< of the site [m], or NaN
};
}

namespace veltrano::uscite {

/// VeltranoRelazioneQt(richiesta, filePdf, messaggio, dimensione): a
/// dialogo::TEsitoPlugin, the failure's message in messaggio.
inline constexpr const char* NomeEntrataRelazione = "VeltranoRelazioneQt";
using TEntrataRelazione = int (*)(const TRichiestaRelazioneC*, const char*, char*, std::size_t);

} // namespace veltrano::uscite
