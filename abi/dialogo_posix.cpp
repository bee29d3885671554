// VisualizzaDialog on Linux. The dialog is Qt, and the engine library must
// not need Qt: the first call loads the plugin libVeltrano_dialogo_qt.so,
// found beside the library's own file (a build folder) or in the installed
// plugin folder relative to it, and keeps it for the life of the process.
// A plugin that is missing, unloadable or of another version is a failure
// like any other (ErroreApertura), never a crash.
#include "abi/confine.h"
#include "abi/runtime.h"
#include "abi/stato.h"
#include "dialog/plugin.h"

#include <dlfcn.h>

#include <mutex>
#include <string>

using namespace veltrano;
using dialogo::NomePlugin;

namespace {

using EntrataDialogo = dialogo::TEntrataPlugin;

std::string Utf8(const std::u16string& s) {
    std::string r;
    for (std::size_t i = 0; i < s.size(); ++i) {
        char32_t c = s[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] < 0xE000)
            c = 0x10000 + ((c - 0xD800) << 10) + (s[++i] - 0xDC00);
        if (c < 0x80) {
            r += static_cast<char>(c);
        } else if (c < 0x800) {
            r += static_cast<char>(0xC0 | (c >> 6));
            r += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            r += static_cast<char>(0xE0 | (c >> 12));
            r += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            r += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            r += static_cast<char>(0xF0 | (c >> 18));
            r += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            r += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            r += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return r;
}

EntrataDialogo CaricaPlugin() {
    static std::mutex mutex;
    static EntrataDialogo entrata = nullptr;
    const std::lock_guard blocco(mutex);
    if (entrata)
        return entrata;
    const std::filesystem::path propria = abi::CartellaModulo();
    std::filesystem::path file = propria / NomePlugin;
#ifdef VELTRANO_PLUGIN_DA_LIBRERIA
    std::error_code ec;
    if (!std::filesystem::exists(file, ec))
        file = (propria / VELTRANO_PLUGIN_DA_LIBRERIA / NomePlugin).lexically_normal();
#endif
    void* h = dlopen(file.string().c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!h) {
        const char* e = dlerror();
        throw ErroreApertura(file.string() + ": impossibile caricare la finestra di dialogo (" + (e ? e : "?") + ")");
    }
    auto abiPlugin = reinterpret_cast<dialogo::TAbiPlugin>(dlsym(h, "VeltranoDialogoQtAbi"));
    auto e = reinterpret_cast<EntrataDialogo>(dlsym(h, "VeltranoDialogoQt"));
    if (!abiPlugin || !e || abiPlugin() != dialogo::AbiPlugin) {
        dlclose(h);
        throw ErroreApertura(file.string() + ": non è la finestra di dialogo di questa versione della libreria");
    }
    entrata = e;
    return entrata;
}

} // namespace

extern "C" VELTRANO_API void VELTRANO_STDCALL VisualizzaDialog(void* MainApp, int32_t CategoriaVN, uint8_t ClasseUso,
                                                               int32_t VN, uint32_t /*Riservato*/,
                                                               VelStringa FileImmagine, TGIS_DatiOut* DatiOut) {
    abi::Confine("VisualizzaDialog", [&] {
        TGIS_DatiOut* d = abi::NonNullo(DatiOut, "DatiOut");
        const EntrataDialogo entrata = CaricaPlugin();
        const std::string immagine = Utf8(abi::TestoStringa(FileImmagine));
        const std::string dati = abi::PercorsoDati().string();
        char messaggio[2048] = {};
        const int r = entrata(dati.c_str(), MainApp, CategoriaVN, ClasseUso, VN, immagine.c_str(), d, messaggio,
                              sizeof messaggio);
        switch (r) {
        case dialogo::PluginConfermato:
        case dialogo::PluginAnnullato:
            return;
        case dialogo::PluginErroreApertura: throw ErroreApertura(messaggio);
        case dialogo::PluginErroreLettura: throw ErroreLettura(messaggio);
        case dialogo::PluginErroreIntervallo: throw ErroreIntervallo(messaggio);
        case dialogo::PluginErroreArgomento: throw ErroreArgomento(messaggio);
        default: throw Errore(messaggio);
        }
    });
}
