// The plugin's entries are called from C: every failure becomes a result
// code of dialog/plugin.h with its message in the caller's buffer, and no
// exception leaves the plugin.
#pragma once

#include "dialog/plugin.h"

#include <cstddef>
#include <cstring>
#include <exception>

namespace veltrano::ui {

/// Runs f (which returns a TEsitoPlugin) and maps the engine's exceptions
/// to their codes; messaggio always ends up terminated (empty on success).
template <class F>
int EntrataPlugin(char* messaggio, std::size_t dimensione, F&& f) noexcept {
    auto scrivi = [&](const char* t) {
        if (messaggio && dimensione > 0) {
            std::strncpy(messaggio, t, dimensione - 1);
            messaggio[dimensione - 1] = '\0';
        }
    };
    scrivi("");
    try {
        return f();
    } catch (const ErroreApertura& e) {
        scrivi(e.what());
        return dialogo::PluginErroreApertura;
    } catch (const ErroreLettura& e) {
        scrivi(e.what());
        return dialogo::PluginErroreLettura;
    } catch (const ErroreIntervallo& e) {
        scrivi(e.what());
        return dialogo::PluginErroreIntervallo;
    } catch (const ErroreArgomento& e) {
        scrivi(e.what());
        return dialogo::PluginErroreArgomento;
    } catch (const std::exception& e) {
        scrivi(e.what());
        return dialogo::PluginErroreAltro;
    } catch (...) {
        scrivi("errore sconosciuto");
        return dialogo::PluginErroreAltro;
    }
}

} // namespace veltrano::ui
