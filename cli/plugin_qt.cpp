#include "cli/plugin_qt.h"

#include "cli/sito.h"
#include "dialog/plugin.h"

#include <dlfcn.h>

#include <filesystem>
#include <mutex>

namespace veltrano::cli {

namespace {

struct Plugin {
    std::filesystem::path file;
    void* h = nullptr;
    std::string errore; // why h is null
};

const Plugin& CaricaPlugin() {
    static std::once_flag una;
    static Plugin p;
    std::call_once(una, [] {
        const std::filesystem::path propria = CartellaProgramma();
        p.file = propria / dialogo::NomePlugin;
        std::error_code ec;
        if (!std::filesystem::exists(p.file, ec))
            p.file = (propria / VELTRANO_PLUGIN_DA_PROGRAMMA / dialogo::NomePlugin).lexically_normal();
        p.h = dlopen(p.file.string().c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!p.h) {
            const char* e = dlerror();
            p.errore = e ? e : p.file.string() + ": impossibile caricarlo";
            return;
        }
        auto abi = reinterpret_cast<dialogo::TAbiPlugin>(dlsym(p.h, "VeltranoDialogoQtAbi"));
        if (!abi || abi() != dialogo::AbiPlugin) {
            dlclose(p.h);
            p.h = nullptr;
            p.errore = p.file.string() + ": non è il modulo Qt di questa versione del programma";
        }
    });
    return p;
}

} // namespace

void* EntrataPluginQt(const char* nome, const std::string& uso) {
    const Plugin& p = CaricaPlugin();
    if (!p.h)
        throw ErroreApertura(uso + ": manca il modulo Qt (" + p.errore + ")");
    void* entrata = dlsym(p.h, nome);
    if (!entrata)
        throw ErroreApertura(uso + ": " + p.file.string() + " non ha l'entrata " + nome +
                             " (modulo di un'altra versione?)");
    return entrata;
}

void LanciaErrorePlugin(int esito, const char* messaggio) {
    switch (esito) {
    case dialogo::PluginConfermato:
    case dialogo::PluginAnnullato: return;
    case dialogo::PluginErroreApertura: throw ErroreApertura(messaggio);
    case dialogo::PluginErroreLettura: throw ErroreLettura(messaggio);
    case dialogo::PluginErroreIntervallo: throw ErroreIntervallo(messaggio);
    case dialogo::PluginErroreArgomento: throw ErroreArgomento(messaggio);
    default: throw Errore(messaggio);
    }
}

} // namespace veltrano::cli
