// Coordinate texts of the dialog: written "%2.4f" and read with "." as the
// decimal separator whatever the user's locale. Pure; thread-safe.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace veltrano::dialogo {

/// "%2.4f" of x with "." (12.5 -> "12.5000").
std::string FormatoCoordinata(double x);
/// The whole text as a number with "." as separator (surrounding blanks
/// allowed); nothing when it is not one.
std::optional<double> LeggiNumero(std::string_view testo);
/// As LeggiNumero, 0 for a text that is not a number: how items are read.
double NumeroOZero(std::string_view testo);

} // namespace veltrano::dialogo
