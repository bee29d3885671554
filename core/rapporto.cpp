#include "core/rapporto.h"

#include <algorithm>
#include <cstdio>

namespace veltrano {

namespace {

template <class... A> std::string Formato(const char* f, A... a) {
    char buf[512];
    std::snprintf(buf, sizeof buf, f, a...);
    return buf;
}

} // namespace

std::vector<std::string> RigheRisultati(const DatiRapporto& d) {
    if (d.numNodi <= 2 && !d.isola)
        return {AvvisoSitoNonValido};
    std::vector<std::string> r;
    if (d.numNodi > 2) {
        r.push_back("Comune di " + d.comune +
                    Formato(" - Coordinate sito (Datum - ED50) : Longitudine = %5.4f\u00b0 ; "
                            "Latitudine = %5.4f\u00b0; Altitudine = %5.2f metri s.l.m.",
                            d.lonED50, d.latED50, d.altitudine));
        r.emplace_back();
        std::string nodi = "Punti della maglia:\t";
        for (int32_t n : d.nodi)
            nodi += std::to_string(n) + " \t";
        r.push_back(nodi);
        r.emplace_back();
    }
    r.emplace_back("Valori dei parametri ag, Fo, Tc* per i periodi di ritorno TR associati a "
                   "ciascun Stato Limite");
    r.emplace_back("STATO LIMITE        TR [anni]\t\tag [g]\t\t  Fo\t\tTc* [s]");
    static constexpr const char* nomi[4] = {"SLO", "SLD", "SLV", "SLC"};
    for (std::size_t j = 0; j < 4; ++j) {
        const RigaRapporto& s = d.stati[j];
        r.push_back(Formato("    %s\t\t%5.0f\t\t\t%5.3f\t\t%5.3f\t\t%5.3f", nomi[j], s.TR, s.ag, s.Fo,
                            s.Tc));
    }
    if (d.isola) {
        r.emplace_back();
        r.emplace_back("Valori calcolati con riferimento al D.M. 14/01/2008 - Allegato B - Tabella 2");
    }
    return r;
}

DatiRapporto DatiRapportoSito(const TGIS_DatiOut& d, const EsitoSito& esito) {
    DatiRapporto r;
    r.numNodi = esito.numNodi;
    r.isola = esito.isola;
    for (int i = 0; i < 4; ++i)
        if (d.NumPunti[i] != 0)
            r.nodi.push_back(int32_t{d.NumPunti[i]}); // a copy: the record is packed
    std::sort(r.nodi.begin(), r.nodi.end());
    const TGIS_ParZS stati[4] = {d.SLO, d.SLD, d.SLV, d.SLC};
    for (std::size_t j = 0; j < 4; ++j)
        r.stati[j] = {stati[j].Tr, stati[j].ag, stati[j].Fo, stati[j].Tc_s};
    return r;
}

} // namespace veltrano
