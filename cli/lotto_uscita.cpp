#include "cli/lotto_uscita.h"

#include "cli/formato.h"

namespace veltrano::cli {

namespace {

constexpr const char* NomiStati[4] = {"SLO", "SLD", "SLV", "SLC"};

// Keeps what t held before a row whose writing fails halfway.
class Ripristino {
public:
    explicit Ripristino(std::string& t) : t_(t), n_(t.size()) {}
    ~Ripristino() {
        if (!fatto_)
            t_.resize(n_);
    }
    void Fatto() { fatto_ = true; }

private:
    std::string& t_;
    std::size_t n_;
    bool fatto_ = false;
};

} // namespace

std::string IntestazioneCsvLotto() {
    std::string h = "riga,errore,lon_ed50,lat_ed50,vn,classe,num_vert,valido,nodo1,nodo2,nodo3,nodo4";
    for (const char* s : NomiStati)
        h += std::string(",TR_") + s + ",ag_" + s + ",Fo_" + s + ",Tc_" + s;
    return h + "\n";
}

void AggiungiRigaCsv(std::string& t, long numero, float lon, float lat, const RigaLotto& s, const TGIS_DatiOut& d) {
    Ripristino r(t);
    const TGIS_ParZS stati[4] = {d.SLO, d.SLD, d.SLV, d.SLC};
    AggiungiIntero(t, numero);
    t += ",,";
    AggiungiReale(t, lon);
    t += ',';
    AggiungiReale(t, lat);
    t += ',';
    AggiungiIntero(t, s.vn);
    t += ',';
    AggiungiIntero(t, s.classe);
    t += ',';
    AggiungiIntero(t, d.NumVert);
    t += ",1";
    for (int i = 0; i < 4; ++i) {
        t += ',';
        AggiungiIntero(t, d.NumPunti[i]);
    }
    for (const TGIS_ParZS& p : stati)
        for (float v : {p.Tr, p.ag, p.Fo, p.Tc_s}) {
            t += ',';
            AggiungiReale(t, v);
        }
    t += '\n';
    r.Fatto();
}

void AggiungiRigaJson(std::string& t, long numero, float lon, float lat, const RigaLotto& s, const TGIS_DatiOut& d) {
    Ripristino r(t);
    const TGIS_ParZS stati[4] = {d.SLO, d.SLD, d.SLV, d.SLC};
    t += "{\"riga\":";
    AggiungiIntero(t, numero);
    t += ",\"lon_ed50\":";
    AggiungiRealeJson(t, lon, "lon_ed50");
    t += ",\"lat_ed50\":";
    AggiungiRealeJson(t, lat, "lat_ed50");
    t += ",\"vn\":";
    AggiungiIntero(t, s.vn);
    t += ",\"classe\":";
    AggiungiIntero(t, s.classe);
    t += ",\"num_vert\":";
    AggiungiIntero(t, d.NumVert);
    t += ",\"valido\":true,\"nodi\":[";
    for (int i = 0; i < 4; ++i) {
        if (i)
            t += ',';
        AggiungiIntero(t, d.NumPunti[i]);
    }
    t += ']';
    for (int k = 0; k < 4; ++k) {
        t += ",\"";
        t += NomiStati[k];
        t += "\":{\"TR\":";
        AggiungiIntero(t, static_cast<long long>(stati[k].Tr));
        t += ",\"ag\":";
        AggiungiRealeJson(t, stati[k].ag, "ag");
        t += ",\"Fo\":";
        AggiungiRealeJson(t, stati[k].Fo, "Fo");
        t += ",\"Tc\":";
        AggiungiRealeJson(t, stati[k].Tc_s, "Tc");
        t += '}';
    }
    t += "}\n";
    r.Fatto();
}

void AggiungiErroreCsv(std::string& t, long numero, std::string_view motivo) {
    AggiungiIntero(t, numero);
    t += ',';
    // Quoted when it holds a separator, a quote or a line break.
    if (motivo.find_first_of(",\"\n\r") == std::string_view::npos) {
        t.append(motivo);
    } else {
        t += '"';
        for (std::size_t q; (q = motivo.find('"')) != std::string_view::npos; motivo.remove_prefix(q + 1)) {
            t.append(motivo.substr(0, q + 1));
            t += '"'; // a quote inside is written twice
        }
        t.append(motivo);
        t += '"';
    }
    t += '\n';
}

void AggiungiErroreJson(std::string& t, long numero, std::string_view motivo) {
    t += "{\"riga\":";
    AggiungiIntero(t, numero);
    t += ",\"errore\":";
    AggiungiTestoJson(t, motivo);
    t += "}\n";
}

} // namespace veltrano::cli
