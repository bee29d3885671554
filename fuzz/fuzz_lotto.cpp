// Fuzz target of the row reader of "veltrano lotto": the input is a CSV text
// as a user may give it. The first record sets the format; every later
// record is read as a row. A row either fails with ErroreUso, whose message
// must make a valid JSON Lines row and a CSV row that reads back to itself,
// or gives a site whose row, written as CSV and as JSON, reads back too.
// Records without quotes are cut in place: the same fields as DividiCampi.
#include "cli/argomenti.h"
#include "cli/formato.h"
#include "cli/lotto_csv.h"
#include "cli/lotto_uscita.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

using namespace veltrano;
using namespace veltrano::cli;

namespace {

void Controlla(bool condizione) {
    if (!condizione)
        std::abort();
}

// A line of output without its newline.
std::string_view Riga(const std::string& t) {
    Controlla(!t.empty() && t.back() == '\n' && t.find('\n') == t.size() - 1);
    return std::string_view(t).substr(0, t.size() - 1);
}

void ControllaRecord(std::string_view record, const FormatoLotto& f, long numero) {
    if (record.find('"') == std::string_view::npos) {
        std::vector<std::string> attesi = DividiCampi(record, f.separatore);
        std::string_view resto = record;
        bool ultimo = false;
        std::size_t i = 0;
        while (!ultimo) {
            const std::string_view c = CampoSemplice(resto, f.separatore, ultimo);
            Controlla(i < attesi.size() && c == attesi[i]);
            ++i;
        }
        Controlla(i == attesi.size());
    }
    const PredefinitiLotto p;
    try {
        const RigaLotto s = LeggiRigaLotto(record, f, p);
        Controlla(s.vn >= 0 && s.vn <= VitaNominaleMassima && s.classe >= 1 && s.classe <= 4);
        Controlla(std::isfinite(s.lon) && std::isfinite(s.lat));
        // A record of the engine's shape, from the row's own numbers.
        TGIS_DatiOut d{};
        d.NumVert = 4;
        for (int i = 0; i < 4; ++i)
            d.NumPunti[i] = static_cast<int32_t>(numero % 30000) + i;
        for (TGIS_ParZS* q : {&d.SLO, &d.SLD, &d.SLV, &d.SLC}) {
            q->Tr = 475;
            q->ag = static_cast<float>(std::fabs(std::fmod(s.lon, 1.0))) + 0.01f;
            q->Fo = 2.5f;
            q->Tc_s = static_cast<float>(std::fabs(std::fmod(s.lat, 1.0)));
        }
        const float lon = static_cast<float>(std::fmod(s.lon, 180.0)), lat = static_cast<float>(std::fmod(s.lat, 90.0));
        std::string csv, json;
        AggiungiRigaCsv(csv, numero, lon, lat, s, d);
        AggiungiRigaJson(json, numero, lon, lat, s, d);
        Controlla(DividiCampi(Riga(csv), ',').size() == 28);
        Controlla(nlohmann::json::accept(Riga(json)));
    } catch (const ErroreUso& e) {
        const std::string motivo = std::string("riga ") + std::to_string(numero) + ": " + e.what();
        std::string csv, json;
        AggiungiErroreCsv(csv, numero, e.what());
        AggiungiErroreJson(json, numero, e.what());
        const auto campi = DividiCampi(Riga(csv), ',');
        Controlla(campi.size() == 2 && campi[1] == e.what());
        Controlla(nlohmann::json::accept(Riga(json))); // also false for invalid UTF-8
        Controlla(nlohmann::json::accept(TestoJson(Json(motivo))));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* d, size_t n) {
    std::string_view testo(reinterpret_cast<const char*>(d), n);
    if (testo.substr(0, MarcaUtf8.size()) == MarcaUtf8)
        testo.remove_prefix(MarcaUtf8.size());
    std::optional<FormatoLotto> formato;
    long numero = 0;
    while (!testo.empty()) {
        // One record: a line, or more while a quoted field is open.
        std::size_t fine = testo.find('\n');
        std::string_view record = testo.substr(0, fine);
        const char sep = formato ? formato->separatore : RilevaSeparatore(record);
        while (fine != std::string_view::npos && VirgoletteAperte(record, sep)) {
            fine = testo.find('\n', fine + 1);
            record = testo.substr(0, fine);
        }
        testo.remove_prefix(fine == std::string_view::npos ? testo.size() : fine + 1);
        ++numero;
        if (!record.empty() && record.back() == '\r')
            record.remove_suffix(1);
        if (!formato) {
            bool intestazione = false;
            try {
                formato = LeggiFormatoLotto(record, &intestazione);
            } catch (const ErroreUso&) {
                return 0;
            }
            if (intestazione)
                continue;
        }
        ControllaRecord(record, *formato, numero);
    }
    return 0;
}
