#include "core/api.h"

namespace veltrano {

namespace {
Griglia Leggi(const std::filesystem::path& p) {
    Griglia g;
    g.Carica(p);
    return g;
}
} // namespace

GrigliaSismica::GrigliaSismica(const std::filesystem::path& fileGriglia)
    : griglia_(Leggi(fileGriglia)), indice_(griglia_) {}

GrigliaSismica::GrigliaSismica(const Griglia& g) : griglia_(g), indice_(griglia_) {}

void GrigliaSismica::CercaPuntiMaglia(float Lon, float Lat, TMagliaSito& m) const {
    const PuntoPiano sito = ProiezioneSito(Lon, Lat);
    const NodiMaglia nodi =
        TrovaNodiMaglia(griglia_, sito, [this](float x, float y) { return indice_.PiuVicino(x, y); });
    RiempiMaglia(griglia_, sito, nodi, Lon, Lat, m);
}

CalcolatoreSismico::CalcolatoreSismico(const GrigliaSismica& g) : g_(&g), memoria_(g.Dati()) {}

const TempiRitorno& CalcolatoreSismico::Tempi(uint8_t Normativa, int32_t VN, int32_t ClasseUso) {
    const uint8_t classe = ClasseUsoByte(ClasseUso);
    if (!trNoti_ || Normativa != trNormativa_ || VN != trVN_ || classe != trClasse_) {
        tr_ = CalcolaTR(Normativa, VN, classe);
        trNoti_ = true;
        trNormativa_ = Normativa;
        trVN_ = VN;
        trClasse_ = classe;
    }
    return tr_;
}

void CalcolatoreSismico::Calcola(uint8_t Normativa, float Lon, float Lat, int32_t VN, int32_t ClasseUso,
                                 TGIS_DatiOut& out) {
    const TempiRitorno tr = Tempi(Normativa, VN, ClasseUso); // range faults before any work
    g_->CercaPuntiMaglia(Lon, Lat, m_);
    CompletaSitoTR(m_, Lon, Lat, tr, out, &memoria_);
}

TGIS_DatiOut CalcolatoreSismico::Calcola(uint8_t Normativa, float Lon, float Lat, int32_t VN,
                                         int32_t ClasseUso) {
    TGIS_DatiOut out{};
    Calcola(Normativa, Lon, Lat, VN, ClasseUso, out);
    return out;
}

int32_t CalcolatoreSismico::TempoRitornoDaPGA(float Lon, float Lat, float PGA) {
    g_->CercaPuntiMaglia(Lon, Lat, m_);
    return veltrano::TempoRitornoDaPGA(m_, S(static_cast<long double>(PGA) * 10.0L), Lon, Lat);
}

} // namespace veltrano
