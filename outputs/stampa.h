// The dialog's two print jobs as page layouts: the results report and the
// map picture. Drawn through the painter interface in page units
// (outputs/documento.h), so every front end prints the same pages.
#pragma once

#include "outputs/documento.h"

#include <string>
#include <vector>

namespace veltrano::uscite {

/// The report's font on paper: the panel's own, Courier New bold 8 pt.
mappa::TCarattere CarattereRapporto();
/// The report's tab stops: every half inch, as the panel's [page units].
inline constexpr double PassoTabulazione = UnitaPollice / 2;

/// One piece of text of a report line: what lies between two tabs, where
/// it starts [page units from the line's start].
struct TPezzoRiga {
    std::string testo;
    double x = 0;
};
/// The pieces of riga with each tab taken to the next tab stop past the
/// text before it, as the panel aligns its table.
std::vector<TPezzoRiga> PezziRiga(mappa::TPittore& p, const std::string& riga, const mappa::TCarattere& c);

/// The lines of the report as printed lines of at most larghezza: a line
/// too long for the page breaks at its last blank that fits (at a
/// character when none does); empty lines stay.
std::vector<std::string> RigheStampa(mappa::TPittore& p, const std::vector<std::string>& righe,
                                     const mappa::TCarattere& c, double larghezza);

/// The report printed black on white whatever its colours on screen, from
/// the top of the page, on as many pages as its lines need. titolo names
/// the job.
TDocumento DocumentoRapporto(std::vector<std::string> righe, std::string titolo);

/// The map picture on one page, as large as the printable area allows
/// with its proportions kept, centred at the top; landscape is preferred
/// for a picture wider than tall.
TDocumento DocumentoCartina(mappa::TImmagine immagine, std::string titolo);
/// Where DocumentoCartina puts a picture of that size in area.
mappa::TRettangoloPx RettangoloCartina(int larghezza, int altezza, const mappa::TRettangoloPx& area);

} // namespace veltrano::uscite
