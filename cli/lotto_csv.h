// The input of "veltrano lotto": CSV records as written by hand, by this
// program (its own output reads back) and by spreadsheets, Excel's Italian
// "CSV (delimitato dal separatore di elenco)" included: ';' between fields,
// decimal comma, a UTF-8 byte-order mark before the header. Quoted fields
// follow RFC 4180 ("13,4" is one field, "" is a quote inside one, and a
// quoted field may go on over several lines). Pure functions; thread-safe.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace veltrano::cli {

enum class ColonnaLotto { Lon, Lat, VN, Classe, Datum, Altro };

/// How the records of one input are read.
struct FormatoLotto {
    char separatore = ',';
    /// Meaning of each field; fields past the last are ignored.
    std::vector<ColonnaLotto> colonne{ColonnaLotto::Lon, ColonnaLotto::Lat, ColonnaLotto::VN, ColonnaLotto::Classe,
                                      ColonnaLotto::Datum};
    /// Datum named by the coordinate columns ("lon_ed50", "lat_wgs84"...):
    /// true WGS84, false ED50; empty when their names say nothing.
    std::optional<bool> wgs84Colonne;
};

/// What a row leaves unsaid.
struct PredefinitiLotto {
    int vn = 50;
    int classe = 2;
    bool wgs84 = false;
};

/// One site as a row gives it.
struct RigaLotto {
    double lon = 0, lat = 0; ///< [deg], not yet checked against their ranges
    int vn = 50;             ///< 0..VitaNominaleMassima
    int classe = 2;          ///< 1..4
    bool wgs84 = false;
};

/// The UTF-8 byte-order mark that spreadsheets put before the first line.
inline constexpr std::string_view MarcaUtf8 = "\xEF\xBB\xBF";

/// Field separator of an input from its first record: a tab if there is
/// one, else ';' if there is one outside quotes, else ','.
char RilevaSeparatore(std::string_view record);

/// True when a quoted field is still open at the end of the text: the
/// record goes on on the next line.
bool VirgoletteAperte(std::string_view record, char separatore);

/// The fields of one record, each without the blanks around it and without
/// its quotes. Throws ErroreUso for quotes never closed.
std::vector<std::string> DividiCampi(std::string_view record, char separatore);

/// The format from the first record of an input. A record whose first field
/// is not a number is a header, and its columns are found by name (lon,
/// long, lng, longitudine, longitude, x, lon_ed50, lon_wgs84; the same for
/// lat and y; vn, vita_nominale; classe, classe_uso, cu; datum); then
/// *intestazione is true. Throws ErroreUso for a header without longitude
/// and latitude.
FormatoLotto LeggiFormatoLotto(std::string_view record, bool* intestazione);

/// A number in a field: "." or, as Excel's Italian CSV writes it, "," as
/// decimal separator. Throws ErroreUso naming cosa.
double NumeroCampo(std::string_view campo, const char* cosa);

/// One data record. Throws ErroreUso with the reason (the user's text in it
/// cut and escaped: see Citazione).
RigaLotto LeggiRigaLotto(std::string_view record, const FormatoLotto& f, const PredefinitiLotto& p);

/// The next field of a record without quotes, cut from the front of resto
/// as DividiCampi cuts it (blanks around it left out); ultimo tells that it
/// was the last one.
std::string_view CampoSemplice(std::string_view& resto, char separatore, bool& ultimo);

} // namespace veltrano::cli
