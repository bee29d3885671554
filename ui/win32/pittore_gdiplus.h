// The map's painter interface over GDI+ (the Windows library's site dialog):
// anti-aliased polygons and lines, point symbols, text in points at the
// device's resolution, pictures. One painter per Gdiplus::Graphics; GDI+
// must be started (GdiplusStartup) while it is used.
#pragma once

#include "map/pittore.h"

#include <windows.h>
#include <objidl.h> // GDI+ needs PROPID, which a lean windows.h leaves out
// gdiplus.h needs min and max from windows.h's macros or from its namespace.
#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
} // namespace Gdiplus
#include <gdiplus.h>

#include <memory>
#include <string>
#include <vector>

namespace veltrano::ui {

/// UTF-8 to UTF-16 and back for the Windows calls.
std::wstring Wide(std::string_view utf8);
std::string Utf8(const std::wstring& w);

Gdiplus::Color ColoreGdi(mappa::TColore c);

/// A GDI+ bitmap (32 bpp ARGB) as the map's picture type, and back.
mappa::TImmagine DaBitmap(Gdiplus::Bitmap& b);

class TPittoreGdiPlus : public mappa::TPittore {
public:
    explicit TPittoreGdiPlus(Gdiplus::Graphics& g);
    ~TPittoreGdiPlus() override;

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
    mappa::TMetricaTesto MisuraTesto(std::string_view testo, const mappa::TCarattere& carattere) override;
    void Immagine(const mappa::TRettangoloPx& destinazione, const mappa::TImmagine& immagine) override;
    void Ritaglia(std::optional<mappa::TRettangoloPx> r) override;
    void Antialias(bool attivo) override;

private:
    struct Carattere {
        mappa::TCarattere chiave;
        std::unique_ptr<Gdiplus::FontFamily> famiglia;
        std::unique_ptr<Gdiplus::Font> font;
        double ascesa = 0, altezza = 0; // [px]
    };
    Gdiplus::Graphics& g_;
    std::vector<std::unique_ptr<Carattere>> caratteri_;
    std::vector<Gdiplus::PointF> punti_;

    const Carattere& Font(const mappa::TCarattere& c);
    std::unique_ptr<Gdiplus::Pen> Penna(const mappa::TPenna& p) const;
};

} // namespace veltrano::ui
