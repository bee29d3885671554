#include "dialog/uscite.h"

#include "map/file.h"

#include <algorithm>
#include <cctype>

namespace veltrano::dialogo {

std::vector<uint8_t> TestoRapporto(const std::vector<std::string>& righe) {
    std::vector<uint8_t> b;
    for (const std::string& r : righe) {
        b.insert(b.end(), r.begin(), r.end());
        b.push_back('\r');
        b.push_back('\n');
    }
    return b;
}

void SalvaRapporto(const std::filesystem::path& file, const std::vector<std::string>& righe) {
    mappa::ScriviFileSicuro(file, TestoRapporto(righe));
}

const char* EstensioneFiltro(int filtro) { return filtro == FiltroJpeg ? "jpg" : "bmp"; }

std::filesystem::path FileImmagine(const std::filesystem::path& scelto, int filtro) {
    if (scelto.has_extension())
        return scelto;
    std::filesystem::path f = scelto;
    f += std::string(".") + EstensioneFiltro(filtro);
    return f;
}

TFiltroImmagine FormatoImmagine(const std::filesystem::path& file, int filtro) {
    std::string e = file.extension().string();
    std::transform(e.begin(), e.end(), e.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (e == ".jpg" || e == ".jpeg")
        return FiltroJpeg;
    if (e == ".bmp")
        return FiltroBitmap;
    return filtro == FiltroJpeg ? FiltroJpeg : FiltroBitmap;
}

} // namespace veltrano::dialogo
