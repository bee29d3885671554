// What a sheet layout asks of a spreadsheet writer: cells by row and
// column (both from 0), number formats, column widths, merged ranges. The
// layouts (punti_sismici.h) write through this interface so that they need
// no writer library; TTavrelExcell (tavrel_excell.h) is the writer of the
// Linux build.
#pragma once

#include <cstdint>
#include <string>

namespace veltrano::uscite {

/// The look of a cell. Font size, style, alignment and fill are cosmetic.
struct TFormatoCella {
    std::string formatoNumero; ///< "0.0000"; empty: general
    std::string carattere = "Arial";
    double dimensione = 10;    ///< [pt]
    bool grassetto = false;
    bool centrato = false;
    uint32_t sfondo = 0xFFFFFFFF; ///< fill 0x00BBGGRR; 0xFFFFFFFF: none
    bool bordi = false;           ///< thin borders on all four sides
};

class TFoglioCalcolo {
public:
    virtual ~TFoglioCalcolo() = default;
    /// The sheet the next calls write to (0 = the first).
    virtual void CambiaFoglio(int foglio) = 0;
    /// A format for later cells; the number returned names it.
    virtual int AssegnaFormatoCella(const TFormatoCella& f) = 0;
    /// A text cell: "" is a blank cell, a text that begins with "=" a
    /// formula (without the "="), any other a string. UTF-8.
    virtual void ScriveCella(int riga, int colonna, const std::string& testo, int formato = -1) = 0;
    /// A numeric cell.
    virtual void ScriveCella(int riga, int colonna, double valore, int formato = -1) = 0;
    /// Column width in 1/256 of a character.
    virtual void ColonnaLarghezza(int colonna, int larghezza) = 0;
    /// Merges the cells from (riga1, colonna1) to (riga2, colonna2).
    virtual void FondiCelle(int riga1, int colonna1, int riga2, int colonna2, int formato = -1) = 0;
};

} // namespace veltrano::uscite
