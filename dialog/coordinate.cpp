#include "dialog/coordinate.h"

#include "dialog/legenda.h"

#include <charconv>

namespace veltrano::dialogo {

std::string FormatoCoordinata(double x) { return Decimali(x, 4); }

std::optional<double> LeggiNumero(std::string_view t) {
    while (!t.empty() && (t.front() == ' ' || t.front() == '\t'))
        t.remove_prefix(1);
    while (!t.empty() && (t.back() == ' ' || t.back() == '\t'))
        t.remove_suffix(1);
    if (!t.empty() && t.front() == '+')
        t.remove_prefix(1);
    double v = 0;
    const auto r = std::from_chars(t.data(), t.data() + t.size(), v);
    if (t.empty() || r.ec != std::errc() || r.ptr != t.data() + t.size())
        return std::nullopt;
    return v;
}

double NumeroOZero(std::string_view t) { return LeggiNumero(t).value_or(0.0); }

} // namespace veltrano::dialogo
