#include "cli/argomenti.h"

#include "cli/formato.h"

#include <array>
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

double ConvertiNumero(std::string_view testo, const std::string& cosa) {
    double v = 0.0;
    const char* inizio = testo.data();
    const char* fine = testo.data() + testo.size();
    if (inizio != fine && *inizio == '+')
        ++inizio;
    const auto [p, ec] = std::from_chars(inizio, fine, v);
    if (ec == std::errc::result_out_of_range)
        throw ErroreUso(cosa + ": \"" + Citazione(testo) + "\" è fuori dall'intervallo dei numeri");
    if (ec != std::errc() || p != fine || inizio == fine)
        throw ErroreUso(cosa + ": \"" + Citazione(testo) + "\" non è un numero");
    if (!std::isfinite(v))
        throw ErroreUso(cosa + ": \"" + Citazione(testo) + "\" non è un numero finito");
    return v;
}

long ConvertiIntero(std::string_view testo, const std::string& cosa, long min, long max) {
    long v = 0;
    const auto [p, ec] = std::from_chars(testo.data(), testo.data() + testo.size(), v);
    if ((ec != std::errc() && ec != std::errc::result_out_of_range) || p != testo.data() + testo.size() ||
        testo.empty())
        throw ErroreUso(cosa + ": \"" + Citazione(testo) + "\" non è un numero intero");
    if (ec == std::errc::result_out_of_range || v < min || v > max)
        throw ErroreUso(cosa + ": " + Citazione(testo) + " fuori dall'intervallo " + std::to_string(min) + ".." +
                        std::to_string(max));
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
    return ConvertiIntero(*t, nome, min, max);
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
            throw ErroreUso("argomento non riconosciuto: " + Citazione(args_[i]));
}

int ClasseUso(std::string_view testo) {
    static constexpr std::array<std::pair<std::string_view, int>, 8> nomi{
        {{"1", 1}, {"2", 2}, {"3", 3}, {"4", 4}, {"I", 1}, {"II", 2}, {"III", 3}, {"IV", 4}}};
    std::string m(testo.substr(0, 4));
    for (char& c : m)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    for (const auto& [n, v] : nomi)
        if (testo.size() == n.size() && m == n)
            return v;
    throw ErroreUso("\"" + Citazione(testo) + "\" non è una classe d'uso (I, II, III, IV o 1..4)");
}

int ClasseUso(Argomenti& a) {
    const auto t = a.Testo("--classe");
    if (!t)
        return 2;
    try {
        return ClasseUso(*t);
    } catch (const ErroreUso& e) {
        throw ErroreUso(std::string("--classe: ") + e.what());
    }
}

int VitaNominale(Argomenti& a) { return static_cast<int>(a.Intero("--vn", 50, 0, VitaNominaleMassima)); }

void ControllaCoordinate(double lon, double lat) {
    const auto testo = [](double v) { return std::isfinite(v) ? TestoReale(v) : std::string("un numero non finito"); };
    if (!(lon >= -180.0 && lon <= 180.0))
        throw ErroreUso("la longitudine deve stare tra -180 e 180 gradi, non " + testo(lon));
    if (!(lat >= -90.0 && lat <= 90.0))
        throw ErroreUso("la latitudine deve stare tra -90 e 90 gradi, non " + testo(lat));
}

SitoDato LeggiSito(Argomenti& a) {
    SitoDato s;
    s.lon = a.Numero("--lon");
    s.lat = a.Numero("--lat");
    s.wgs84 = a.Flag("--wgs84");
    ControllaCoordinate(s.lon, s.lat);
    return s;
}

} // namespace veltrano::cli
