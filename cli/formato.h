// The one place where the command line turns numbers into text, and input
// back into text fit for a message. Every conversion checks its result: a
// value that is not finite, or that does not fit, is a failure of the
// computation (veltrano::Errore, exit code 1), never bytes of the buffer.
#pragma once

#include "veltrano/veltrano.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace veltrano::cli {

/// The shortest text that reads back as exactly v ("." as decimal
/// separator, whatever the locale). Throws veltrano::Errore when v is not finite.
std::string TestoReale(float v);
std::string TestoReale(double v);
/// TestoReale and std::to_string appended to t, for the batch's rows: the
/// same text, and the same failure (nothing appended) for a value that is
/// not finite.
void AggiungiReale(std::string& t, float v);
void AggiungiIntero(std::string& t, long long v);
/// v as a JSON writer (TestoJson) prints a float, appended to t; Finito's
/// failure naming `cosa` when v is not finite.
void AggiungiRealeJson(std::string& t, float v, const char* cosa);
/// s as a JSON string (quotes and escapes as TestoJson writes them).
void AggiungiTestoJson(std::string& t, std::string_view s);
/// v with exactly `decimali` decimals (0..17), "-0.000" written "0.000".
std::string TestoFisso(double v, int decimali);
[[noreturn]] void NonFinito(const char* cosa);
/// v itself, or veltrano::Errore naming `cosa` when it is not finite: for
/// numbers handed to a JSON writer, which would print NaN as null.
template <class T> T Finito(T v, const char* cosa) {
    if (!std::isfinite(v))
        NonFinito(cosa);
    return v;
}

/// A piece of the user's input quoted in a message: at most `massimo` bytes
/// of it (cut on a character boundary, "…" added), NUL and other control
/// bytes written \xNN, bytes that are not UTF-8 written \xNN. The result is
/// always valid UTF-8 on one line.
std::string Citazione(std::string_view testo, std::size_t massimo = 40);

/// JSON objects keep the order in which their keys are written.
using Json = nlohmann::ordered_json;
/// The same with single-precision numbers, printed as their shortest float
/// text: the engine's results are floats.
using JsonReale = nlohmann::basic_json<nlohmann::ordered_map, std::vector, std::string, bool, std::int64_t,
                                       std::uint64_t, float>;

/// Compact JSON text (no newline). Invalid UTF-8 cannot occur in the
/// strings we build (see Citazione); were it there, it is replaced, never
/// thrown at the user.
std::string TestoJson(const Json& j);
std::string TestoJson(const JsonReale& j);

} // namespace veltrano::cli
