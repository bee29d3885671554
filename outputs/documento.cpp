#include "outputs/documento.h"

#include <vector>

namespace veltrano::uscite {

using mappa::TPuntoPx;

void TPittoreSpostato::Poligoni(const mappa::TLottoPoligoni& lotto) {
    mappa::TLottoPoligoni l = lotto;
    for (TPuntoPx& q : l.punti)
        q = S(q);
    p_.Poligoni(l);
}

void TPittoreSpostato::Linee(const mappa::TLottoLinee& lotto) {
    mappa::TLottoLinee l = lotto;
    for (TPuntoPx& q : l.punti)
        q = S(q);
    p_.Linee(l);
}

void TPittoreSpostato::Simboli(mappa::TTipoPunto tipo, double dimensione, std::span<const TPuntoPx> centri,
                               std::span<const mappa::TColore> colori) {
    std::vector<TPuntoPx> c(centri.begin(), centri.end());
    for (TPuntoPx& q : c)
        q = S(q);
    p_.Simboli(tipo, dimensione, c, colori);
}

void TPittoreSpostato::Ellisse(TPuntoPx centro, double raggioX, double raggioY, const mappa::TPenna& penna,
                               std::optional<mappa::TColore> riempimento) {
    p_.Ellisse(S(centro), raggioX, raggioY, penna, riempimento);
}

void TPittoreSpostato::Rettangolo(const mappa::TRettangoloPx& r, const mappa::TPenna& penna,
                                  std::optional<mappa::TColore> riempimento) {
    p_.Rettangolo(S(r), penna, riempimento);
}

void TPittoreSpostato::Testo(TPuntoPx base, std::string_view testo, const mappa::TCarattere& carattere,
                             mappa::TColore colore) {
    p_.Testo(S(base), testo, carattere, colore);
}

void TPittoreSpostato::Immagine(const mappa::TRettangoloPx& destinazione, const mappa::TImmagine& immagine) {
    p_.Immagine(S(destinazione), immagine);
}

void TPittoreSpostato::Ritaglia(std::optional<mappa::TRettangoloPx> r) {
    if (r)
        p_.Ritaglia(S(*r));
    else
        p_.Ritaglia(std::nullopt);
}

} // namespace veltrano::uscite
