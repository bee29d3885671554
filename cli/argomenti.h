// Options of the command line: "--nome valore", "--nome=valore" and flags,
// and the readers of the values every subcommand shares (site, nominal life,
// use class), so that each is checked by one rule.
//
// The parser is our own rather than CLI11's: CLI11 (2.1 in Debian 12) builds
// its parse errors as English text inside its exception types (a missing
// value, a repeated option, a flag given a value), so Italian messages would
// mean re-parsing its English, and our help pages are written by hand anyway.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace veltrano::cli {

/// Bad use of the command line: one-line message, exit code 2.
class ErroreUso : public std::runtime_error {
public:
    explicit ErroreUso(const std::string& testo) : std::runtime_error(testo) {}
};

class Argomenti {
public:
    /// args: the words after the subcommand.
    explicit Argomenti(std::vector<std::string> args);

    /// True when the flag is present (and consumes it). "--nome=..." is an error.
    bool Flag(const std::string& nome);
    /// The option's text, if given (and consumes it). A missing value is an
    /// error; given twice, the last one counts.
    std::optional<std::string> Testo(const std::string& nome);
    /// The option as a finite number; predefinito when absent (nullopt: required).
    double Numero(const std::string& nome, std::optional<double> predefinito = std::nullopt);
    /// The option as an integer in [min, max].
    long Intero(const std::string& nome, std::optional<long> predefinito, long min, long max);
    /// Words not starting with "--", in order (and consumes them).
    std::vector<std::string> Posizionali();
    /// Throws ErroreUso naming the first option nobody asked for.
    void ControllaFine() const;

private:
    std::vector<std::string> args_;
    std::vector<bool> usati_;
};

/// A finite number parsed from the whole of testo ("." as decimal separator,
/// whatever the locale); cosa names it in the error.
double ConvertiNumero(std::string_view testo, const std::string& cosa);
/// An integer in [min, max] parsed from the whole of testo.
long ConvertiIntero(std::string_view testo, const std::string& cosa, long min, long max);

/// Longest nominal life accepted [years]: from about 4,100 years on every
/// return period is already the table's last, 2475, for every use class.
inline constexpr long VitaNominaleMassima = 10000;

/// Use class from "1".."4" or "I".."IV" (any case).
int ClasseUso(std::string_view testo);
/// --classe, II when absent.
int ClasseUso(Argomenti& a);
/// --vn in 0..VitaNominaleMassima, 50 when absent.
int VitaNominale(Argomenti& a);

/// Throws ErroreUso unless lon is in [-180, 180] and lat in [-90, 90]
/// (which also refuses NaN).
void ControllaCoordinate(double lon, double lat);

/// A site as typed: decimal degrees, ED50 unless wgs84.
struct SitoDato {
    double lon = 0, lat = 0;
    bool wgs84 = false;
};
/// --lon, --lat (both required, checked) and --wgs84.
SitoDato LeggiSito(Argomenti& a);

} // namespace veltrano::cli
