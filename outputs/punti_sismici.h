// The spreadsheet of every hazard point: each grid node at each of the nine
// tabulated return periods, one row apiece, on one sheet "Sheet 1". A node
// fills nine consecutive rows, "TR_30" to "TR_2475". The first 5,556 nodes
// (50,004 rows) go in columns 0-8 under a header in row 0; the other 5,195
// (46,755 rows) continue from row 1 in columns 10-18 under a second header,
// so no column is longer than a sheet of the old format could hold. Column 9
// stays empty. Pure layout: it writes through TFoglioCalcolo.
#pragma once

#include "core/griglia.h"
#include "outputs/foglio_calcolo.h"

#include <array>
#include <functional>

namespace veltrano::uscite {

/// The file the dialog writes in its data folder. The writer produces an
/// Office Open XML workbook, so the name carries the extension that says so.
inline constexpr const char* NomeFilePuntiSismici = "PuntiSismici.xlsx";
inline constexpr const char* NomeFoglioPunti = "Sheet 1";

inline constexpr int ColonneBlocco = 9;
inline constexpr std::array<const char*, ColonneBlocco> IntestazioniPunti{"Tempo", "Id", "X",  "Y",  "Lon",
                                                                          "Lat",   "ag", "F0", "Tc*"};
/// Widths [1/256 of a character].
inline constexpr std::array<int, ColonneBlocco> LarghezzePunti{3000, 2000, 2000, 2000, 2000, 2000, 2000, 2000, 2000};
inline constexpr const char* FormatoPunti = "0.0000";
/// A column group ends after the node whose rows reach this count.
inline constexpr int RigheMassimeGruppo = 50000;
inline constexpr int NodiPrimoGruppo = (RigheMassimeGruppo + NumBlocchi - 1) / NumBlocchi; // 5556
inline constexpr int RighePrimoGruppo = NodiPrimoGruppo * NumBlocchi;                     // 50004
inline constexpr int RigheSecondoGruppo = (NumNodi - NodiPrimoGruppo) * NumBlocchi;       // 46755
inline constexpr int ColonnaSecondoGruppo = 10;

/// Where node n (1..10,751) at block k (0..8) lies: its row and the first
/// column of its group.
struct TPosizionePunto {
    int riga, colonna;
};
TPosizionePunto PosizionePunto(int n, int k);

/// Called now and then with the data rows written so far and their total;
/// false stops the export.
using TProgressoFoglio = std::function<bool(int fatte, int totale)>;

/// Writes the headers, widths and every point of g to the sheet in row
/// order (a streaming writer may keep only the current row). Returns false
/// when progresso stopped it.
bool EsportaPuntiSismici(const Griglia& g, TFoglioCalcolo& foglio, const TProgressoFoglio& progresso = {});

} // namespace veltrano::uscite
