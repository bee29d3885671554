#include "dialog/coordinate.h"

#include "dialog/testi.h"
#include "map/legenda.h"
#include "map/testo1252.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace veltrano::dialogo {

std::string FormatoCoordinata(double x) { return mappa::Decimali(x, 4); }

std::string FormatoReale(const char* f, double x) {
    // The dialog sets the C locale for numbers (ImpostaSeparatori).
    char b[512];
    std::snprintf(b, sizeof b, f, x);
    return b;
}

namespace {
std::string_view Spoglia(std::string_view t) {
    while (!t.empty() && (t.front() == ' ' || t.front() == '\t'))
        t.remove_prefix(1);
    while (!t.empty() && (t.back() == ' ' || t.back() == '\t'))
        t.remove_suffix(1);
    if (!t.empty() && t.front() == '+')
        t.remove_prefix(1);
    return t;
}
} // namespace

std::optional<double> LeggiNumero(std::string_view t) {
    t = Spoglia(t);
    double v = 0;
    const auto r = std::from_chars(t.data(), t.data() + t.size(), v);
    // "nan" and "inf" read as numbers but are no coordinate.
    if (t.empty() || r.ec != std::errc() || r.ptr != t.data() + t.size() || !std::isfinite(v))
        return std::nullopt;
    return v;
}

double NumeroOZero(std::string_view t) { return LeggiNumero(t).value_or(0.0); }

std::optional<int32_t> LeggiIntero(std::string_view t) {
    t = Spoglia(t);
    int32_t v = 0;
    const auto r = std::from_chars(t.data(), t.data() + t.size(), v);
    if (t.empty() || r.ec != std::errc() || r.ptr != t.data() + t.size())
        return std::nullopt;
    return v;
}

std::string ConTesto(const char* formato, const std::string& valore) {
    std::string s = formato;
    if (const auto p = s.find("%s"); p != std::string::npos)
        s.replace(p, 2, valore);
    return s;
}

std::string FormatoNonNumero(const std::string& testo) {
    return ConTesto(testi::NonNumero, testo);
}

bool UgualeAZ(const std::string& a, const std::string& b) { return mappa::UgualeIgnorandoAZ(a, b); }

bool UgualeMaiuscolo(const std::string& a, const std::string& b) {
    return mappa::UgualeIgnorando1252(mappa::Utf8A1252(a), mappa::Utf8A1252(b));
}

} // namespace veltrano::dialogo
