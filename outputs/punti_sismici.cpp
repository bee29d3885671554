#include "outputs/punti_sismici.h"

#include "veltrano/veltrano.h"

namespace veltrano::uscite {

TPosizionePunto PosizionePunto(int n, int k) {
    ControllaIndici(k, n);
    if (n <= NodiPrimoGruppo)
        return {(n - 1) * NumBlocchi + k + 1, 0};
    return {(n - NodiPrimoGruppo - 1) * NumBlocchi + k + 1, ColonnaSecondoGruppo};
}

namespace {

void ScriviIntestazioneExcel(TFoglioCalcolo& foglio, int colonna, int formato) {
    for (int j = 0; j < ColonneBlocco; ++j) {
        foglio.ColonnaLarghezza(colonna + j, LarghezzePunti[static_cast<std::size_t>(j)]);
        foglio.ScriveCella(0, colonna + j, IntestazioniPunti[static_cast<std::size_t>(j)], formato);
    }
}

void ScriviPunto(const Griglia& g, TFoglioCalcolo& foglio, int riga, int colonna, int n, int k, int testo,
                 int numero) {
    const TNodoGriglia p = g.Nodo(k, n);
    foglio.ScriveCella(riga, colonna, NomiTR[static_cast<std::size_t>(k)], testo);
    foglio.ScriveCella(riga, colonna + 1, static_cast<double>(p.ID), testo);
    const float valori[7] = {p.X, p.Y, p.Lon, p.Lat, p.ag, p.Fo, p.Tc};
    for (int j = 0; j < 7; ++j)
        foglio.ScriveCella(riga, colonna + 2 + j, static_cast<double>(valori[j]), numero);
}

} // namespace

bool EsportaPuntiSismici(const Griglia& g, TFoglioCalcolo& foglio, const TProgressoFoglio& progresso) {
    foglio.CambiaFoglio(0);
    TFormatoCella f;
    f.grassetto = true;
    f.centrato = true;
    const int intestazione = foglio.AssegnaFormatoCella(f);
    f = {};
    const int testo = foglio.AssegnaFormatoCella(f);
    f.formatoNumero = FormatoPunti;
    const int numero = foglio.AssegnaFormatoCella(f);

    constexpr int totale = RighePrimoGruppo + RigheSecondoGruppo;
    ScriviIntestazioneExcel(foglio, 0, intestazione);
    ScriviIntestazioneExcel(foglio, ColonnaSecondoGruppo, intestazione);
    int fatte = 0;
    // Row by row across both groups, so that the writer may stream.
    for (int r = 1; r <= RighePrimoGruppo; ++r) {
        const int i = r - 1;
        ScriviPunto(g, foglio, r, 0, i / NumBlocchi + 1, i % NumBlocchi, testo, numero);
        ++fatte;
        if (r <= RigheSecondoGruppo) {
            ScriviPunto(g, foglio, r, ColonnaSecondoGruppo, NodiPrimoGruppo + i / NumBlocchi + 1, i % NumBlocchi,
                        testo, numero);
            ++fatte;
        }
        if (progresso && r % 2000 == 0 && !progresso(fatte, totale))
            return false;
    }
    if (progresso && !progresso(fatte, totale))
        return false;
    return true;
}

} // namespace veltrano::uscite
