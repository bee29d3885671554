// VisualizzaDialog in the Windows library: the Win32 front end (ui/win32)
// over the same form as the Linux dialog, modal over the host's active
// window. GDI+ is started for the call and stopped after it, so that
// nothing runs when the library is loaded.
#include "abi/confine.h"
#include "abi/runtime.h"
#include "abi/stato.h"
#include "dialog/visualizza.h"
#include "ui/win32/TFMapMainWin32.h"

using namespace veltrano;

namespace {

// GDI+ for the life of one dialog.
class TGdiPlus {
public:
    TGdiPlus() {
        Gdiplus::GdiplusStartupInput in;
        if (Gdiplus::GdiplusStartup(&token_, &in, nullptr) != Gdiplus::Ok)
            throw ErroreApertura("impossibile avviare GDI+ per la finestra di dialogo");
    }
    ~TGdiPlus() { Gdiplus::GdiplusShutdown(token_); }
    TGdiPlus(const TGdiPlus&) = delete;
    TGdiPlus& operator=(const TGdiPlus&) = delete;

private:
    ULONG_PTR token_ = 0;
};

} // namespace

extern "C" VELTRANO_API void VELTRANO_STDCALL VisualizzaDialog(void* MainApp, int32_t CategoriaVN, uint8_t ClasseUso,
                                                               int32_t VN, uint32_t /*Riservato*/,
                                                               VelStringa FileImmagine, TGIS_DatiOut* DatiOut) {
    abi::Confine("VisualizzaDialog", [&] {
        TGIS_DatiOut* d = abi::NonNullo(DatiOut, "DatiOut");
        const std::filesystem::path dati = abi::PercorsoDati();
        // The data folder is checked before any window, so a wrong folder is
        // an error and not a window that fails half-built.
        for (const char* f : {"GeoDati.dat", "CoorCom.dat", "CoorCom2.dat"})
            if (!std::filesystem::exists(dati / f))
                throw ErroreApertura((dati / f).string() + ": impossibile aprire il file");
        dialogo::TParametriDialogo p;
        p.MainApp = MainApp;
        p.CategoriaVN = CategoriaVN;
        p.ClasseUso = ClasseUso;
        p.VN = VN;
        const std::u16string immagine = abi::TestoStringa(FileImmagine);
        if (!immagine.empty())
            p.FileImmagine = std::filesystem::path(std::wstring(immagine.begin(), immagine.end()));
        const TGdiPlus gdiplus;
        ui::TFMapMainWin32 finestra;
        dialogo::VisualizzaDialogo(finestra, dati, p, *d);
    });
}
