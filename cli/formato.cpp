#include "cli/formato.h"

#include <array>
#include <charconv>
#include <cmath>

namespace veltrano::cli {

namespace {

[[noreturn]] void NonRappresentabile(double v) {
    throw Errore(std::string("valore non rappresentabile nel risultato (") +
                 (std::isnan(v) ? "NaN" : v > 0 ? "+inf" : "-inf") + ")");
}

template <class T> std::string Breve(T v) {
    if (!std::isfinite(v))
        NonRappresentabile(static_cast<double>(v));
    char b[64];
    const auto r = std::to_chars(b, b + sizeof b, v);
    if (r.ec != std::errc())
        throw Errore("conversione di un numero in testo non riuscita");
    return std::string(b, r.ptr);
}

// Length of the valid UTF-8 sequence at s[i], 0 when the bytes there are not one.
std::size_t SequenzaUtf8(std::string_view s, std::size_t i) {
    const auto c = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char b = c(i);
    std::size_t n;
    uint32_t cp;
    if (b < 0x80)
        return 1;
    if (b >= 0xC2 && b <= 0xDF)
        n = 2, cp = b & 0x1Fu;
    else if (b >= 0xE0 && b <= 0xEF)
        n = 3, cp = b & 0x0Fu;
    else if (b >= 0xF0 && b <= 0xF4)
        n = 4, cp = b & 0x07u;
    else
        return 0;
    if (i + n > s.size())
        return 0;
    for (std::size_t k = 1; k < n; ++k) {
        if ((c(i + k) & 0xC0u) != 0x80u)
            return 0;
        cp = (cp << 6) | (c(i + k) & 0x3Fu);
    }
    // Overlong forms, surrogates and code points past U+10FFFF are not UTF-8.
    if ((n == 3 && cp < 0x800) || (n == 4 && cp < 0x10000) || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF)
        return 0;
    return n;
}

} // namespace

void AggiungiReale(std::string& t, float v) {
    if (!std::isfinite(v))
        NonRappresentabile(static_cast<double>(v));
    // A whole number below 10^4 (a return period) is its integer's digits:
    // fewer characters than any exponent form.
    if (v >= 0.0f && v < 1e4f && !std::signbit(v) && static_cast<float>(static_cast<int>(v)) == v) {
        AggiungiIntero(t, static_cast<int>(v));
        return;
    }
    char b[64];
    const auto r = std::to_chars(b, b + sizeof b, v);
    if (r.ec != std::errc())
        throw Errore("conversione di un numero in testo non riuscita");
    t.append(b, r.ptr);
}

void AggiungiIntero(std::string& t, long long v) {
    char b[24];
    t.append(b, std::to_chars(b, b + sizeof b, v).ptr);
}

void AggiungiRealeJson(std::string& t, float v, const char* cosa) {
    // The digits JsonReale's writer prints, from its own routine.
    std::array<char, 64> b;
    t.append(b.data(), nlohmann::detail::to_chars(b.data(), b.data() + b.size(), Finito(v, cosa)));
}

void AggiungiTestoJson(std::string& t, std::string_view s) {
    // Printable ASCII and well-formed UTF-8 go as they are; anything the
    // writer would escape or replace goes through the writer itself.
    for (std::size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        const std::size_t n = SequenzaUtf8(s, i);
        if (n == 0 || b < 0x20 || b == '"' || b == '\\' || b == 0x7F) {
            t += TestoJson(Json(std::string(s)));
            return;
        }
        i += n;
    }
    t += '"';
    t.append(s);
    t += '"';
}

std::string TestoReale(float v) { return Breve(v); }
std::string TestoReale(double v) { return Breve(v); }

std::string TestoFisso(double v, int decimali) {
    if (!std::isfinite(v))
        NonRappresentabile(v);
    if (!(decimali >= 0 && decimali <= 17))
        throw Errore("numero di decimali non valido: " + std::to_string(decimali));
    // Room for the largest double written out in full.
    char b[352];
    const auto r = std::to_chars(b, b + sizeof b, v, std::chars_format::fixed, decimali);
    if (r.ec != std::errc())
        throw Errore("conversione di un numero in testo non riuscita");
    std::string s(b, r.ptr);
    if (s[0] == '-' && s.find_first_not_of("-0.") == std::string::npos)
        s.erase(0, 1);
    return s;
}

void NonFinito(const char* cosa) { throw Errore(std::string(cosa) + ": valore non finito nel risultato"); }

std::string Citazione(std::string_view testo, std::size_t massimo) {
    std::string r;
    std::size_t i = 0;
    while (i < testo.size()) {
        if (i >= massimo) {
            r += "…";
            break;
        }
        const std::size_t n = SequenzaUtf8(testo, i);
        const auto b = static_cast<unsigned char>(testo[i]);
        if (n == 0 || b < 0x20 || b == 0x7F) {
            static constexpr char cifre[] = "0123456789ABCDEF";
            r += "\\x";
            r += cifre[b >> 4];
            r += cifre[b & 0xF];
            ++i;
            continue;
        }
        r.append(testo.substr(i, n));
        i += n;
    }
    return r;
}

std::string TestoJson(const Json& j) { return j.dump(-1, ' ', false, Json::error_handler_t::replace); }

std::string TestoJson(const JsonReale& j) { return j.dump(-1, ' ', false, JsonReale::error_handler_t::replace); }

} // namespace veltrano::cli
