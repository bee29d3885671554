// The library's own folder on Windows: the module that holds this function,
// its file name asked in wide characters, so any folder name works.
#include "abi/stato.h"

#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#  define NOMINMAX
#endif
#include <windows.h>

#include <string>

namespace veltrano::abi {

std::filesystem::path CartellaModulo() {
    HMODULE modulo = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCWSTR>(&CartellaModulo), &modulo))
        return {};
    // MAX_PATH is only the usual length: a long-path folder needs more.
    std::wstring nome(MAX_PATH + 1, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(modulo, nome.data(), static_cast<DWORD>(nome.size()));
        if (n == 0)
            return {};
        if (n < nome.size()) {
            nome.resize(n);
            break;
        }
        nome.resize(2 * nome.size());
    }
    return std::filesystem::path(nome).parent_path();
}

} // namespace veltrano::abi
