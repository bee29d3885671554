// TFMapMain: the user's own sites (CoorLocUtente.dat), their list, the
// editor's add, edit and delete, and choosing a site. Every store rewrites
// the whole file through a temporary file, and checks its input first, so
// that a refused store changes nothing.
#include "dialog/TFMapMain.h"

#include "dialog/coordinate.h"
#include "dialog/testi.h"
#include "map/file.h"
#include "map/testo1252.h"

namespace veltrano::dialogo {

using C = TControllo;
using mappa::Da1252AUtf8;
using mappa::Utf8A1252;

namespace {
std::string Taglia255(std::string s) {
    if (s.size() > 255)
        s.resize(255);
    return s;
}
} // namespace

void TFMapMain::CollegaSiti() {
    click_[C::ToolButton13] = [this] { ToolButton13Click(); };
    premuto_[C::ToolButton16] = [this] { ToolButton16Click(); };
    click_[C::ToolButton17] = [this] { ToolButton17Click(); };
    scelta_[C::cmb_ComUt] = [this] {
        if (Indice(C::cmb_ComUt) > 0)
            SceltaLocUtente(Indice(C::cmb_ComUt));
    };
}

void TFMapMain::CaricaLocUtente() {
    CoorLocUt = {};
    try {
        const auto b = mappa::LeggiFile(FileDaLeggere("CoorLocUtente.dat"));
        if (b) {
            CoorLocUt = DecodificaLocUtente(*b);
            motivoLocUtente_.clear();
        }
    } catch (const Errore& e) {
        // The damaged file stays as it is until the next store keeps a copy.
        CoorLocUt = {};
        motivoLocUtente_ = e.what();
    }
}

void TFMapMain::RiempiListaLocUtente(const char* segnaposto) {
    std::vector<std::string> e{segnaposto};
    for (int32_t i = 0; i < CoorLocUt.NumLoc; ++i)
        e.push_back(Da1252AUtf8(CoorLocUt.Nome[static_cast<std::size_t>(i)]));
    ImpostaElementi(C::cmb_ComUt, e);
    ImpostaIndice(C::cmb_ComUt, 0);
}

void TFMapMain::SalvaLocUtente(int Posizione, const std::string& NomeSito, float Lon, float Lat) {
    TCoordLocUt c = CoorLocUt;
    const std::size_t n = static_cast<std::size_t>(c.NumLoc) + 1;
    c.Nome.resize(n);
    c.Lon.resize(n, 0.0f);
    c.Lat.resize(n, 0.0f);
    const std::size_t i = static_cast<std::size_t>(Posizione - 1);
    c.Nome[i] = Taglia255(Utf8A1252(NomeSito));
    c.Lon[i] = Lon;
    c.Lat[i] = Lat;
    const auto file = FileDaScrivere("CoorLocUtente.dat");
    if (!motivoLocUtente_.empty()) {
        // The file that could not be read is kept beside the new one.
        if (const auto vecchio = mappa::LeggiFile(FileDaLeggere("CoorLocUtente.dat")))
            mappa::ScriviFileSicuro(FileDaScrivere("CoorLocUtente.dat.danneggiato"), *vecchio);
        motivoLocUtente_.clear();
    }
    mappa::ScriviFileSicuro(file, CodificaLocUtente(c));
    CoorLocUt = std::move(c);
}

void TFMapMain::AggiornaLocUtente(int Posizione, const std::string& NomeSito, const std::string& LonTesto,
                                  const std::string& LatTesto) {
    const auto lon = LeggiNumero(LonTesto), lat = LeggiNumero(LatTesto);
    if (!lon || !lat) {
        Messaggio(FormatoNonNumero(lon ? LatTesto : LonTesto));
        return;
    }
    if (Posizione < 1 || Posizione > CoorLocUt.NumLoc + 1)
        return;
    CoorLocUt.NomeLoc = Taglia255(Utf8A1252(Testo(C::edComUt)));
    try {
        SalvaLocUtente(Posizione, NomeSito, static_cast<float>(*lon), static_cast<float>(*lat));
    } catch (const Errore& e) {
        Messaggio(e.what());
    }
    // The list shows what the file now holds, whether or not the store went through.
    CaricaLocUtente();
    RiempiListaLocUtente(testi::SceltaComune);
    if (static_cast<std::size_t>(Posizione - 1) < CoorLocUt.Nome.size()) {
        const int k = SelezionaTesto(C::cmb_ComUt, Da1252AUtf8(CoorLocUt.Nome[static_cast<std::size_t>(Posizione - 1)]));
        if (k > 0) {
            // The stored site becomes the dialog's site in full, as when it
            // is chosen from the list: the ED50 items, the report and the
            // map follow the WGS84 items, so confirming never pairs the new
            // site with the previous one's ED50 coordinates.
            SceltaLocUtente(k);
        } else {
            ImpostaIndice(C::cmb_ComUt, 0);
        }
    }
    for (C c : {C::edComUt, C::EdLongUt, C::EdLatUt})
        ImpostaTesto(c, "");
}

void TFMapMain::ToolButton13Click() {
    // A coordinate that is not a number stops the store before anything
    // changes, the count of sites included.
    if (!LeggiNumero(Testo(C::EdLongUt)) || !LeggiNumero(Testo(C::EdLatUt))) {
        Messaggio(FormatoNonNumero(LeggiNumero(Testo(C::EdLongUt)) ? Testo(C::EdLatUt) : Testo(C::EdLongUt)));
        return;
    }
    ++CoorLocUt.NumLoc;
    AggiornaLocUtente(CoorLocUt.NumLoc, Testo(C::edComUt), Testo(C::EdLongUt), Testo(C::EdLatUt));
    ImpostaPremuto(C::ToolButton16, false);
}

void TFMapMain::ToolButton16Click() {
    const int i = Indice(C::cmb_ComUt);
    if (i <= 0) {
        // No site is chosen: there is nothing to edit.
        ImpostaPremuto(C::ToolButton16, false);
        return;
    }
    if (Giu(C::ToolButton16)) {
        ImpostaTesto(C::edComUt, Testo(C::cmb_ComUt));
        ImpostaTesto(C::EdLongUt, Testo(C::Edit1));
        ImpostaTesto(C::EdLatUt, Testo(C::Edit2));
    } else {
        AggiornaLocUtente(i, Testo(C::edComUt), Testo(C::EdLongUt), Testo(C::EdLatUt));
    }
}

void TFMapMain::ToolButton17Click() {
    const int k = SelezionaTesto(C::cmb_ComUt, Testo(C::cmb_ComUt)) - 1;
    if (k < 0 || k >= CoorLocUt.NumLoc) {
        ImpostaIndice(C::cmb_ComUt, std::max(0, Indice(C::cmb_ComUt)));
        return;
    }
    TCoordLocUt& c = CoorLocUt;
    const std::size_t n = static_cast<std::size_t>(c.NumLoc) + 1;
    c.Nome.resize(std::max(c.Nome.size(), n));
    c.Lon.resize(std::max(c.Lon.size(), n), 0.0f);
    c.Lat.resize(std::max(c.Lat.size(), n), 0.0f);
    for (std::size_t i = static_cast<std::size_t>(k); i + 1 < n; ++i) {
        c.Nome[i] = c.Nome[i + 1];
        c.Lon[i] = c.Lon[i + 1];
        c.Lat[i] = c.Lat[i + 1];
    }
    --c.NumLoc;
    const auto j = static_cast<std::size_t>(k);
    AggiornaLocUtente(k + 1, Da1252AUtf8(c.Nome[j]), FormatoCoordinata(c.Lon[j]), FormatoCoordinata(c.Lat[j]));
    if (CoorLocUt.NumLoc > 0) {
        ImpostaIndice(C::cmb_ComUt, 1);
        SceltaLocUtente(1);
    }
}

void TFMapMain::SceltaLocUtente(int i) {
    if (i < 1 || i > CoorLocUt.NumLoc)
        return;
    const double lon = CoorLocUt.Lon[static_cast<std::size_t>(i - 1)];
    const double lat = CoorLocUt.Lat[static_cast<std::size_t>(i - 1)];
    ImpostaTesto(C::Edit1, FormatoCoordinata(lon));
    ImpostaTesto(C::Edit2, FormatoCoordinata(lat));
    double x = 0, y = 0;
    int r = -1, p = -1, c = -1;
    CercaComunePunto(false, lon, lat, x, y, r, p, c);
    NomiDaShape(r, p, c);
    StoScrivendo = true;
    const auto& regioni = Stato(C::cmb_Reg).elementi;
    for (std::size_t k = 1; k < regioni.size(); ++k)
        if (UgualeMaiuscolo(regioni[k], sReg))
            ImpostaIndice(C::cmb_Reg, static_cast<int>(k));
    SelezionaTesto(C::cmb_Prov, sProv);
    SelezionaTesto(C::cmb_Com, sCom);
    StoScrivendo = false;
    StatoPannello1();
    Map.CancellaDisegni();
    Map.NuovoDisegno();
    DisegnaSito(lon, lat);
    EvidenziaComune(c);
    AggiornaSito(true, NumeroOZero(Testo(C::Edit1)), NumeroOZero(Testo(C::Edit2)));
}

} // namespace veltrano::dialogo
