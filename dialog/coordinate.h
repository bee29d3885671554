// Number texts of the dialog: coordinates written "%2.4f" and every number
// read with "." as the decimal separator whatever the user's locale; the
// comparisons of list texts. Pure; thread-safe.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace veltrano::dialogo {

/// "%2.4f" of x with "." (12.5 -> "12.5000").
std::string FormatoCoordinata(double x);
/// printf's format f applied to one real, always with "." ("%4.2f", "%f").
std::string FormatoReale(const char* f, double x);
/// The whole text as a finite number with "." as separator (surrounding
/// blanks allowed); nothing when it is not one ("nan", "inf" included).
std::optional<double> LeggiNumero(std::string_view testo);
/// As LeggiNumero, 0 for a text that is not a number: how items are read.
double NumeroOZero(std::string_view testo);
/// The whole text as a 32-bit integer; nothing when it is not one.
std::optional<int32_t> LeggiIntero(std::string_view testo);

/// formato with its "%s" replaced by valore.
std::string ConTesto(const char* formato, const std::string& valore);
/// The message for a text that should have been a number.
std::string FormatoNonNumero(const std::string& testo);

/// a and b equal once their letters a..z are upper-cased (UTF-8 texts).
bool UgualeAZ(const std::string& a, const std::string& b);
/// a and b equal once every letter is upper-cased (accented ones too):
/// region names, which the region shapes hold in upper case.
bool UgualeMaiuscolo(const std::string& a, const std::string& b);

} // namespace veltrano::dialogo
