#include "abi/runtime.h"

#include "abi/confine.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <new>
#include <string>

namespace veltrano::abi {

namespace {

struct IntestazioneStringa {
    uint16_t codePage;  // 1200: UTF-16LE
    uint16_t dimElem;   // 2
    int32_t riferimenti; // -1: a constant, never freed
    int32_t lunghezza;  // code units
};
static_assert(sizeof(IntestazioneStringa) == 12);

struct IntestazioneArray {
    int32_t riferimenti;
    int32_t lunghezza;
};
static_assert(sizeof(IntestazioneArray) == 8);

IntestazioneStringa* Testa(VelStringa s) {
    return reinterpret_cast<IntestazioneStringa*>(reinterpret_cast<char*>(s) - sizeof(IntestazioneStringa));
}
IntestazioneArray* Testa(TCoordComune* a) {
    return reinterpret_cast<IntestazioneArray*>(reinterpret_cast<char*>(a) - sizeof(IntestazioneArray));
}

constexpr char16_t TestoVersione[] = u"" VELTRANO_VERSIONE;
constexpr int32_t LunghezzaVersione = static_cast<int32_t>(std::size(TestoVersione) - 1);
struct Versione {
    IntestazioneStringa h;
    char16_t testo[std::size(TestoVersione)];
};
constinit Versione CostanteVersione = [] {
    Versione v{{1200, 2, -1, LunghezzaVersione}, {}};
    std::copy(std::begin(TestoVersione), std::end(TestoVersione), v.testo);
    return v;
}();

} // namespace

std::u16string TestoStringa(VelStringa s) {
    if (!s)
        return {};
    return std::u16string(reinterpret_cast<const char16_t*>(s), static_cast<std::size_t>(Testa(s)->lunghezza));
}

void AssegnaVersione(VelStringa* dest) {
    VelStringa vecchia = *dest;
    *dest = reinterpret_cast<VelStringa>(CostanteVersione.testo);
    VeltranoStringaRilascia(&vecchia);
}

} // namespace veltrano::abi

using namespace veltrano;
using namespace veltrano::abi;

extern "C" {

VELTRANO_API VelStringa VELTRANO_STDCALL VeltranoStringaNuova(const VelCar* testo, int32_t lunghezza) {
    return Confine("VeltranoStringaNuova", [&] { return StringaNuova(testo, lunghezza); });
}

VELTRANO_API VelStringa VELTRANO_STDCALL VeltranoStringaDaUtf8(const char* testo) {
    return Confine("VeltranoStringaDaUtf8", [&] { return StringaDaUtf8(testo); });
}

VELTRANO_API void VELTRANO_STDCALL VeltranoComuniDimensiona(TCoordComuni* a, int32_t n) {
    Confine("VeltranoComuniDimensiona", [&] { ComuniDimensiona(a, n); });
}

} // extern "C"

namespace veltrano::abi {

VelStringa StringaNuova(const VelCar* testo, int32_t lunghezza) {
    if (lunghezza <= 0)
        return nullptr;
    const std::size_t n = static_cast<std::size_t>(lunghezza);
    auto* h = static_cast<IntestazioneStringa*>(std::malloc(sizeof(IntestazioneStringa) + 2 * (n + 1)));
    if (!h)
        throw std::bad_alloc();
    *h = {1200, 2, 1, lunghezza};
    auto* c = reinterpret_cast<VelCar*>(h + 1);
    if (testo)
        std::memcpy(c, testo, 2 * n);
    else
        std::memset(c, 0, 2 * n);
    c[n] = 0;
    return c;
}

VelStringa StringaDaUtf8(const char* testo) {
    if (!testo)
        return nullptr;
    std::u16string u;
    const auto* p = reinterpret_cast<const unsigned char*>(testo);
    while (*p) {
        char32_t c = *p;
        int seguito = 0;
        if (c >= 0xF0) { c &= 0x07; seguito = 3; }
        else if (c >= 0xE0) { c &= 0x0F; seguito = 2; }
        else if (c >= 0xC0) { c &= 0x1F; seguito = 1; }
        ++p;
        for (int i = 0; i < seguito && (*p & 0xC0) == 0x80; ++i, ++p)
            c = (c << 6) | (*p & 0x3F);
        if (c >= 0x10000) {
            c -= 0x10000;
            u.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
            u.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
        } else {
            u.push_back(static_cast<char16_t>(c));
        }
    }
    return StringaNuova(reinterpret_cast<const VelCar*>(u.data()), static_cast<int32_t>(u.size()));
}

void ComuniDimensiona(TCoordComuni* a, int32_t n) {
    if (!a)
        throw ErroreArgomento("VeltranoComuniDimensiona: array nullo");
    if (n < 0)
        throw ErroreIntervallo("VeltranoComuniDimensiona: lunghezza negativa " + std::to_string(n));
    if (n == 0) {
        VeltranoComuniRilascia(a);
        return;
    }
    const std::size_t nuovi = static_cast<std::size_t>(n);
    IntestazioneArray* vecchia = *a ? Testa(*a) : nullptr;
    const std::size_t presenti = vecchia ? static_cast<std::size_t>(vecchia->lunghezza) : 0;
    IntestazioneArray* h;
    if (vecchia && vecchia->riferimenti == 1) {
        h = static_cast<IntestazioneArray*>(std::realloc(vecchia, sizeof(IntestazioneArray) + nuovi * sizeof(TCoordComune)));
        if (!h)
            throw std::bad_alloc();
    } else {
        // Unshared first: the other holders keep the old array.
        h = static_cast<IntestazioneArray*>(std::malloc(sizeof(IntestazioneArray) + nuovi * sizeof(TCoordComune)));
        if (!h)
            throw std::bad_alloc();
        if (vecchia) {
            std::memcpy(h + 1, vecchia + 1, std::min(presenti, nuovi) * sizeof(TCoordComune));
            --vecchia->riferimenti;
        }
    }
    auto* elem = reinterpret_cast<TCoordComune*>(h + 1);
    if (nuovi > presenti)
        std::memset(static_cast<void*>(elem + presenti), 0, (nuovi - presenti) * sizeof(TCoordComune));
    h->riferimenti = 1;
    h->lunghezza = n;
    *a = elem;
}

} // namespace veltrano::abi

extern "C" {

VELTRANO_API int32_t VELTRANO_STDCALL VeltranoStringaLunghezza(VelStringa s) {
    return s ? Testa(s)->lunghezza : 0;
}

VELTRANO_API void VELTRANO_STDCALL VeltranoStringaRilascia(VelStringa* s) {
    if (!s || !*s)
        return;
    IntestazioneStringa* h = Testa(*s);
    *s = nullptr;
    if (h->riferimenti < 0)
        return;
    if (--h->riferimenti == 0)
        std::free(h);
}

VELTRANO_API int32_t VELTRANO_STDCALL VeltranoComuniLunghezza(const TCoordComune* a) {
    return a ? Testa(const_cast<TCoordComune*>(a))->lunghezza : 0;
}

VELTRANO_API void VELTRANO_STDCALL VeltranoComuniRilascia(TCoordComuni* a) {
    if (!a || !*a)
        return;
    IntestazioneArray* h = Testa(*a);
    *a = nullptr;
    if (--h->riferimenti == 0)
        std::free(h);
}

} // extern "C"
