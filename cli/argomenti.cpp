#include "cli/argomenti.h"

#include <charconv>
#include <cmath>
#include <utility>

namespace veltrano::cli {

Argomenti::Argomenti(std::vector<std::string> args)
    : args_(std::move(args)), usati_(args_.size(), false) {}

bool Argomenti::Flag(const std::string& nome) {
    bool trovato = false;
    for (std::size_t i = 0; i < args_.size(); ++i) {
        if (usati_[i])
            continue;
        if (args_[i] == nome) {
            usati_[i] = true;
            trovato = true;
        } else if (args_[i].rfind(nome + "=", 0) == 0) {
            throw ErroreUso("l'opzione " + nome + " non vuole un valore");
        }
    }
    return trovato;
}

std::optional<std::string> Argomenti::Testo(const std::string& nome) {
    std::optional<std::string> valore;
    for (std::size_t i = 0; i < args_.size(); ++i) {
        if (usati_[i])
            continue;
        if (args_[i] == nome) {
            if (i + 1 >= args_.size())
                throw ErroreUso("manca il valore di " + nome);
            usati_[i] = usati_[i + 1] = true;
            valore = args_[i + 1];
            ++i;
        } else if (args_[i].rfind(nome + "=", 0) == 0) {
            usati_[i] = true;
            valore = args_[i].substr(nome.size() + 1);
        }
    }
    return valore;
}

double ConvertiNumero(const std::string& testo, const std::string& cosa) {
    double v = 0.0;
    const char* inizio = testo.data();
    const char* fine = testo.data() + testo.size();
    if (inizio != fine && *inizio == '+')
        ++inizio;
    const auto [p, ec] = std::from_chars(inizio, fine, v);
    if (ec != std::errc() || p != fine || inizio == fine)
        throw ErroreUso(cosa + ": \"" + testo + "\" non è un numero");
    if (!std::isfinite(v))
        throw ErroreUso(cosa + ": \"" + testo + "\" non è un numero finito");
    return v;
}

double Argomenti::Numero(const std::string& nome, std::optional<double> predefinito) {
    const auto t = Testo(nome);
    if (!t) {
        if (!predefinito)
            throw ErroreUso("manca l'opzione " + nome);
        return *predefinito;
    }
    return ConvertiNumero(*t, nome);
}

long Argomenti::Intero(const std::string& nome, std::optional<long> predefinito, long min, long max) {
    const auto t = Testo(nome);
    if (!t) {
        if (!predefinito)
            throw ErroreUso("manca l'opzione " + nome);
        return *predefinito;
    }
    long v = 0;
    const auto [p, ec] = std::from_chars(t->data(), t->data() + t->size(), v);
    if (ec != std::errc() || p != t->data() + t->size() || t->empty())
        throw ErroreUso(nome + ": \"" + *t + "\" non è un numero intero");
    if (v < min || v > max)
        throw ErroreUso(nome + ": " + *t + " fuori dall'intervallo " + std::to_string(min) + ".." +
                        std::to_string(max));
    return v;
}

std::vector<std::string> Argomenti::Posizionali() {
    std::vector<std::string> r;
    for (std::size_t i = 0; i < args_.size(); ++i) {
        if (usati_[i] || args_[i].rfind("--", 0) == 0)
            continue;
        // "-13.5" is a number, not an option.
        usati_[i] = true;
        r.push_back(args_[i]);
    }
    return r;
}

void Argomenti::ControllaFine() const {
    for (std::size_t i = 0; i < args_.size(); ++i)
        if (!usati_[i])
            throw ErroreUso("argomento non riconosciuto: " + args_[i]);
}

std::string TestoReale(float v) {
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

} // namespace veltrano::cli
