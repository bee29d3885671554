// The library's own folder on Linux: the file that dladdr names for one of
// our functions.
#include "abi/stato.h"

#include <dlfcn.h>

namespace veltrano::abi {

std::filesystem::path CartellaModulo() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&CartellaModulo), &info) == 0 || !info.dli_fname)
        return {};
    std::error_code ec;
    std::filesystem::path p = std::filesystem::weakly_canonical(info.dli_fname, ec);
    if (ec)
        p = std::filesystem::absolute(info.dli_fname, ec);
    return p.parent_path();
}

} // namespace veltrano::abi
