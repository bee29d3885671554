// Documents of pages for the printer and for PDF files, drawn through the
// painter interface so that every front end prints the same layout. A page
// is drawn in units of 1/96 inch, the unit the charts use, inside the
// printable area the device reports; fonts keep their sizes in points.
#pragma once

#include "map/pittore.h"

#include <functional>
#include <string>

namespace veltrano::uscite {

/// Device units per inch of every page.
inline constexpr double UnitaPollice = 96;
/// A length on paper [mm] in page units.
constexpr double Mm(double mm) { return mm * UnitaPollice / 25.4; }

/// A print job. disegna draws page pagina (from 0) in area, the printable
/// area in page units, and returns true when another page follows; it is
/// called once per page, in order, on the device's painter, so a layout can
/// measure text with the fonts the device really has.
struct TDocumento {
    std::string titolo;       ///< the job's title (a PDF's title)
    bool orizzontale = false; ///< landscape is preferred
    std::function<bool(mappa::TPittore& p, const mappa::TRettangoloPx& area, int pagina)> disegna;
};

/// A painter that draws through another with every coordinate shifted by
/// (dx, dy): a map or a chart laid out from (0, 0) goes anywhere on a page.
class TPittoreSpostato : public mappa::TPittore {
public:
    TPittoreSpostato(mappa::TPittore& p, double dx, double dy) : p_(p), dx_(dx), dy_(dy) {}

    void Poligoni(const mappa::TLottoPoligoni& lotto) override;
    void Linee(const mappa::TLottoLinee& lotto) override;
    void Simboli(mappa::TTipoPunto tipo, double dimensione, std::span<const mappa::TPuntoPx> centri,
                 std::span<const mappa::TColore> colori) override;
    void Ellisse(mappa::TPuntoPx centro, double raggioX, double raggioY, const mappa::TPenna& penna,
                 std::optional<mappa::TColore> riempimento) override;
    void Rettangolo(const mappa::TRettangoloPx& r, const mappa::TPenna& penna,
                    std::optional<mappa::TColore> riempimento) override;
    void Testo(mappa::TPuntoPx base, std::string_view testo, const mappa::TCarattere& carattere,
               mappa::TColore colore) override;
    mappa::TMetricaTesto MisuraTesto(std::string_view testo, const mappa::TCarattere& carattere) override {
        return p_.MisuraTesto(testo, carattere);
    }
    void Immagine(const mappa::TRettangoloPx& destinazione, const mappa::TImmagine& immagine) override;
    /// The clip is shifted too, so a region drawn here stays inside its box.
    void Ritaglia(std::optional<mappa::TRettangoloPx> r) override;
    void Antialias(bool attivo) override { p_.Antialias(attivo); }

private:
    mappa::TPittore& p_;
    double dx_, dy_;
    mappa::TPuntoPx S(mappa::TPuntoPx q) const { return {q.x + dx_, q.y + dy_}; }
    mappa::TRettangoloPx S(const mappa::TRettangoloPx& r) const { return {r.x + dx_, r.y + dy_, r.larghezza, r.altezza}; }
};

} // namespace veltrano::uscite
