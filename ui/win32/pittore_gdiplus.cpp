#include "ui/win32/pittore_gdiplus.h"

#include <cmath>
#include <cstring>

namespace veltrano::ui {

using namespace mappa;
namespace G = Gdiplus;

std::wstring Wide(std::string_view s) {
    if (s.empty())
        return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring w(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
    return w;
}

std::string Utf8(const std::wstring& w) {
    if (w.empty())
        return {};
    const int n =
        WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
    return s;
}

G::Color ColoreGdi(TColore c) {
    return G::Color(255, static_cast<BYTE>(RossoDi(c)), static_cast<BYTE>(VerdeDi(c)), static_cast<BYTE>(BluDi(c)));
}

TImmagine DaBitmap(G::Bitmap& b) {
    TImmagine im;
    im.larghezza = static_cast<int>(b.GetWidth());
    im.altezza = static_cast<int>(b.GetHeight());
    if (im.Vuota())
        return {};
    im.pixel.resize(static_cast<std::size_t>(im.larghezza) * static_cast<std::size_t>(im.altezza));
    G::BitmapData d{};
    G::Rect r(0, 0, im.larghezza, im.altezza);
    if (b.LockBits(&r, G::ImageLockModeRead, PixelFormat32bppARGB, &d) != G::Ok)
        return {};
    for (int y = 0; y < im.altezza; ++y)
        std::memcpy(im.pixel.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(im.larghezza),
                    static_cast<const uint8_t*>(d.Scan0) + static_cast<std::ptrdiff_t>(y) * d.Stride,
                    static_cast<std::size_t>(im.larghezza) * 4);
    b.UnlockBits(&d);
    return im;
}

TPittoreGdiPlus::TPittoreGdiPlus(G::Graphics& g) : g_(g) {
    g_.SetPageUnit(G::UnitPixel);
    Antialias(true);
}

TPittoreGdiPlus::~TPittoreGdiPlus() = default;

std::unique_ptr<G::Pen> TPittoreGdiPlus::Penna(const TPenna& p) const {
    if (!(p.spessore > 0))
        return nullptr;
    auto penna = std::make_unique<G::Pen>(ColoreGdi(p.colore), static_cast<G::REAL>(p.spessore));
    penna->SetLineJoin(G::LineJoinRound);
    penna->SetStartCap(G::LineCapRound);
    penna->SetEndCap(G::LineCapRound);
    if (p.tratto == TTratto::Tratteggiato)
        penna->SetDashStyle(G::DashStyleDash);
    else if (p.tratto == TTratto::Punteggiato)
        penna->SetDashStyle(G::DashStyleDot);
    return penna;
}

void TPittoreGdiPlus::Poligoni(const TLottoPoligoni& l) {
    auto anello = [&](std::size_t r) {
        punti_.clear();
        for (std::size_t i = l.InizioAnello(r); i < l.FineAnello(r); ++i)
            punti_.emplace_back(static_cast<G::REAL>(l.punti[i].x), static_cast<G::REAL>(l.punti[i].y));
    };
    // Fills first, in polygon order, then every outline over them.
    for (std::size_t k = 0; k < l.NumPoligoni(); ++k) {
        if (!l.riempimenti[k])
            continue;
        G::SolidBrush pennello(ColoreGdi(*l.riempimenti[k]));
        G::GraphicsPath percorso(G::FillModeAlternate);
        for (std::size_t r = l.poligoni[k]; r < l.FineRinghiPoligono(k); ++r) {
            anello(r);
            if (punti_.size() >= 3)
                percorso.AddPolygon(punti_.data(), static_cast<INT>(punti_.size()));
        }
        g_.FillPath(&pennello, &percorso);
    }
    const auto penna = Penna(l.contorno);
    if (!penna)
        return;
    for (std::size_t r = 0; r < l.anelli.size(); ++r) {
        anello(r);
        if (punti_.size() >= 2)
            g_.DrawPolygon(penna.get(), punti_.data(), static_cast<INT>(punti_.size()));
    }
}

void TPittoreGdiPlus::Linee(const TLottoLinee& l) {
    const auto penna = Penna(l.penna);
    if (!penna)
        return;
    for (std::size_t k = 0; k < l.linee.size(); ++k) {
        punti_.clear();
        for (std::size_t i = l.linee[k]; i < l.Fine(k); ++i)
            punti_.emplace_back(static_cast<G::REAL>(l.punti[i].x), static_cast<G::REAL>(l.punti[i].y));
        if (punti_.size() >= 2)
            g_.DrawLines(penna.get(), punti_.data(), static_cast<INT>(punti_.size()));
    }
}

void TPittoreGdiPlus::Simboli(TTipoPunto tipo, double d, std::span<const TPuntoPx> centri,
                              std::span<const TColore> colori) {
    const auto r = static_cast<G::REAL>(d / 2);
    const auto D = static_cast<G::REAL>(d);
    for (std::size_t i = 0; i < centri.size(); ++i) {
        const auto x = static_cast<G::REAL>(centri[i].x), y = static_cast<G::REAL>(centri[i].y);
        G::SolidBrush pennello(ColoreGdi(i < colori.size() ? colori[i] : 0));
        switch (tipo) {
        case PuntoQuadrato: g_.FillRectangle(&pennello, x - r, y - r, D, D); continue;
        case PuntoCerchio: g_.FillEllipse(&pennello, x - r, y - r, D, D); continue;
        default: break;
        }
        G::PointF s[4];
        int n = 3;
        switch (tipo) {
        case PuntoRombo:
            s[0] = {x, y - r}, s[1] = {x + r, y}, s[2] = {x, y + r}, s[3] = {x - r, y};
            n = 4;
            break;
        case PuntoTriangoloSu: s[0] = {x, y - r}, s[1] = {x + r, y + r}, s[2] = {x - r, y + r}; break;
        case PuntoTriangoloGiu: s[0] = {x - r, y - r}, s[1] = {x + r, y - r}, s[2] = {x, y + r}; break;
        case PuntoTriangoloSinistra: s[0] = {x - r, y}, s[1] = {x + r, y - r}, s[2] = {x + r, y + r}; break;
        default: s[0] = {x - r, y - r}, s[1] = {x + r, y}, s[2] = {x - r, y + r}; break;
        }
        g_.FillPolygon(&pennello, s, n);
    }
}

void TPittoreGdiPlus::Ellisse(TPuntoPx c, double rx, double ry, const TPenna& penna,
                              std::optional<TColore> riempimento) {
    const G::RectF q(static_cast<G::REAL>(c.x - rx), static_cast<G::REAL>(c.y - ry), static_cast<G::REAL>(2 * rx),
                     static_cast<G::REAL>(2 * ry));
    if (riempimento) {
        G::SolidBrush b(ColoreGdi(*riempimento));
        g_.FillEllipse(&b, q);
    }
    if (const auto p = Penna(penna))
        g_.DrawEllipse(p.get(), q);
}

void TPittoreGdiPlus::Rettangolo(const TRettangoloPx& r, const TPenna& penna, std::optional<TColore> riempimento) {
    const G::RectF q(static_cast<G::REAL>(r.x), static_cast<G::REAL>(r.y), static_cast<G::REAL>(r.larghezza),
                     static_cast<G::REAL>(r.altezza));
    if (riempimento) {
        G::SolidBrush b(ColoreGdi(*riempimento));
        g_.FillRectangle(&b, q);
    }
    if (const auto p = Penna(penna))
        g_.DrawRectangle(p.get(), q);
}

const TPittoreGdiPlus::Carattere& TPittoreGdiPlus::Font(const TCarattere& c) {
    for (const auto& k : caratteri_)
        if (k->chiave == c)
            return *k;
    auto k = std::make_unique<Carattere>();
    k->chiave = c;
    // A font the system lacks: the first of the common ones it has.
    for (const std::wstring& nome : {Wide(c.nome), std::wstring(L"Tahoma"), std::wstring(L"Arial"),
                                     std::wstring(L"Microsoft Sans Serif"), std::wstring(L"Liberation Sans")}) {
        k->famiglia = std::make_unique<G::FontFamily>(nome.c_str());
        if (k->famiglia->IsAvailable())
            break;
    }
    if (!k->famiglia->IsAvailable()) {
        k->famiglia.reset(); // no font at all: text is measured roughly and not drawn
        const double px = (c.punti > 0 ? c.punti : 8) * g_.GetDpiY() / 72.0;
        k->ascesa = px * 0.8;
        k->altezza = px * 1.2;
        caratteri_.push_back(std::move(k));
        return *caratteri_.back();
    }
    const int stile = (c.grassetto ? G::FontStyleBold : 0) | (c.corsivo ? G::FontStyleItalic : 0);
    // Points at the device's resolution, as every other toolkit sizes text.
    const double px = (c.punti > 0 ? c.punti : 8) * g_.GetDpiY() / 72.0;
    k->font = std::make_unique<G::Font>(k->famiglia.get(), static_cast<G::REAL>(px), stile, G::UnitPixel);
    const double em = k->famiglia->GetEmHeight(stile);
    k->ascesa = em > 0 ? px * k->famiglia->GetCellAscent(stile) / em : px;
    k->altezza = em > 0 ? px * k->famiglia->GetLineSpacing(stile) / em : px * 1.2;
    caratteri_.push_back(std::move(k));
    return *caratteri_.back();
}

void TPittoreGdiPlus::Testo(TPuntoPx base, std::string_view testo, const TCarattere& c, TColore colore) {
    const Carattere& k = Font(c);
    if (!k.font)
        return;
    const std::wstring w = Wide(testo);
    G::SolidBrush b(ColoreGdi(colore));
    G::StringFormat f(G::StringFormat::GenericTypographic());
    f.SetFormatFlags(f.GetFormatFlags() | G::StringFormatFlagsMeasureTrailingSpaces | G::StringFormatFlagsNoWrap);
    g_.DrawString(w.c_str(), static_cast<INT>(w.size()), k.font.get(),
                  G::PointF(static_cast<G::REAL>(base.x), static_cast<G::REAL>(base.y - k.ascesa)), &f, &b);
}

TMetricaTesto TPittoreGdiPlus::MisuraTesto(std::string_view testo, const TCarattere& c) {
    const Carattere& k = Font(c);
    const std::wstring w = Wide(testo);
    TMetricaTesto m;
    m.altezza = k.altezza;
    m.ascesa = k.ascesa;
    if (!k.font) {
        m.larghezza = static_cast<double>(w.size()) * k.altezza / 2;
    } else if (!w.empty()) {
        G::StringFormat f(G::StringFormat::GenericTypographic());
        f.SetFormatFlags(f.GetFormatFlags() | G::StringFormatFlagsMeasureTrailingSpaces | G::StringFormatFlagsNoWrap);
        G::RectF r;
        g_.MeasureString(w.c_str(), static_cast<INT>(w.size()), k.font.get(), G::PointF(0, 0), &f, &r);
        m.larghezza = r.Width;
    }
    return m;
}

void TPittoreGdiPlus::Immagine(const TRettangoloPx& dest, const TImmagine& im) {
    if (im.Vuota())
        return;
    G::Bitmap b(im.larghezza, im.altezza, im.larghezza * 4, PixelFormat32bppARGB,
                reinterpret_cast<BYTE*>(const_cast<uint32_t*>(im.pixel.data())));
    g_.DrawImage(&b, G::RectF(static_cast<G::REAL>(dest.x), static_cast<G::REAL>(dest.y),
                              static_cast<G::REAL>(dest.larghezza), static_cast<G::REAL>(dest.altezza)));
}

void TPittoreGdiPlus::Ritaglia(std::optional<TRettangoloPx> r) {
    if (!r)
        g_.ResetClip();
    else
        g_.SetClip(G::RectF(static_cast<G::REAL>(r->x), static_cast<G::REAL>(r->y), static_cast<G::REAL>(r->larghezza),
                            static_cast<G::REAL>(r->altezza)));
}

void TPittoreGdiPlus::Antialias(bool attivo) {
    g_.SetSmoothingMode(attivo ? G::SmoothingModeAntiAlias : G::SmoothingModeNone);
    g_.SetTextRenderingHint(attivo ? G::TextRenderingHintAntiAliasGridFit : G::TextRenderingHintSingleBitPerPixelGridFit);
    g_.SetPixelOffsetMode(attivo ? G::PixelOffsetModeHalf : G::PixelOffsetModeNone);
}

} // namespace veltrano::ui
