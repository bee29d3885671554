// Options of the command line: "--nome valore", "--nome=valore" and flags.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
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
    /// The option's text, if given (and consumes it). A missing value is an error.
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
double ConvertiNumero(const std::string& testo, const std::string& cosa);

/// The shortest text that reads back as exactly v ("." as decimal separator).
std::string TestoReale(float v);

} // namespace veltrano::cli
