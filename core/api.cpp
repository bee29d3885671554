#include "core/api.h"

#include <cmath>
#include <cstring>

namespace veltrano {

namespace {
Griglia Leggi(const std::filesystem::path& p) {
    Griglia g;
    g.Carica(p);
    return g;
}
} // namespace

GrigliaSismica::GrigliaSismica(const std::filesystem::path& fileGriglia)
    : griglia_(Leggi(fileGriglia)), indice_(griglia_) {
    Prepara();
}

GrigliaSismica::GrigliaSismica(const Griglia& g) : griglia_(g), indice_(griglia_) { Prepara(); }

void GrigliaSismica::Prepara() {
    altri_ = std::make_unique<std::atomic<uint32_t>[]>(static_cast<std::size_t>(NumNodi) * 4 * 2);
    for (std::size_t i = 0; i < static_cast<std::size_t>(NumNodi) * 4 * 2; ++i)
        altri_[i].store(0, std::memory_order_relaxed);
    // Every block repeats the nodes' numbers and positions: compared byte
    // for byte (a NaN's payload too), any difference turns the table off.
    const std::byte* d = griglia_.Dati();
    for (int k = 1; k < NumBlocchi; ++k)
        for (std::size_t off : {OffID, OffXY, OffLon, OffLat})
            if (std::memcmp(d + off, d + static_cast<std::size_t>(k) * DimBlocco + off,
                            off == OffXY ? 8 * NumNodi : 4 * NumNodi) != 0)
                return;
    std::vector<Nodo> nodi(NumNodi);
    for (int n = 1; n <= NumNodi; ++n) {
        const std::size_t i = static_cast<std::size_t>(n - 1);
        Nodo& v = nodi[i];
        v.ID = LeggiLE<int32_t>(d + OffID + 4 * i);
        v.X = LeggiLE<float>(d + OffXY + 8 * i);
        v.Y = LeggiLE<float>(d + OffXY + 8 * i + 4);
        v.Lon = LeggiLE<float>(d + OffLon + 4 * i);
        v.Lat = LeggiLE<float>(d + OffLat + 4 * i);
        for (int k = 0; k < NumBlocchi; ++k) {
            const std::byte* b = d + static_cast<std::size_t>(k) * DimBlocco;
            v.ag[k] = LeggiLE<float>(b + OffAg + 4 * i);
            v.Fo[k] = LeggiLE<float>(b + OffFo + 4 * i);
            v.Tc[k] = LeggiLE<float>(b + OffTc + 4 * i);
        }
    }
    nodi_ = std::move(nodi);
}

void GrigliaSismica::CercaPuntiMaglia(float Lon, float Lat, TMagliaSito& m) const {
    const PuntoPiano sito = ProiezioneSitoRapida(Lon, Lat);
    RiempiMaglia(griglia_, sito, TrovaNodi(sito), Lon, Lat, m);
}

NodiMaglia GrigliaSismica::TrovaNodi(PuntoPiano sito) const {
    NodiMaglia r{};
    r.n[0] = indice_.PiuVicino(sito.X, sito.Y);
    const float X1 = griglia_.Xs()[r.n[0] - 1], Y1 = griglia_.Ys()[r.n[0] - 1];
    const int q = Quadrante(X1, Y1, sito);
    std::atomic<uint32_t>* voce = &altri_[(static_cast<std::size_t>(r.n[0] - 1) * 4 + static_cast<std::size_t>(q)) * 2];
    const uint32_t b = voce[1].load(std::memory_order_acquire);
    if (b & Noto) {
        const uint32_t a = voce[0].load(std::memory_order_relaxed);
        r.n[1] = static_cast<int>(a & 0xFFFFu);
        r.n[2] = static_cast<int>(a >> 16);
        r.n[3] = static_cast<int>(b & 0xFFFFu);
        return r;
    }
    const PuntoPiano d = PuntoDiagonale(X1, Y1, q);
    r.n[1] = indice_.PiuVicino(d.X, d.Y);
    r.n[2] = indice_.PiuVicino(X1, d.Y);
    r.n[3] = indice_.PiuVicino(d.X, Y1);
    // Threads that meet here store the same numbers.
    static_assert(NumNodi < 0x10000);
    voce[0].store(static_cast<uint32_t>(r.n[1]) | static_cast<uint32_t>(r.n[2]) << 16, std::memory_order_relaxed);
    voce[1].store(static_cast<uint32_t>(r.n[3]) | Noto, std::memory_order_release);
    return r;
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

EsitoSito CalcolatoreSismico::Calcola(uint8_t Normativa, float Lon, float Lat, int32_t VN, int32_t ClasseUso,
                                      TGIS_DatiOut& out) {
    // Range faults before any work.
    ControllaCoordinateSito(Lon, Lat);
    const TempiRitorno tr = Tempi(Normativa, VN, ClasseUso);
    const PuntoPiano sito = ProiezioneSitoRapida(Lon, Lat);
    return CalcolaCella(g_->TrovaNodi(sito), sito, Lon, Lat, tr, out);
}

EsitoSito CalcolatoreSismico::CalcolaCella(const NodiMaglia& nodi, PuntoPiano sito, float Lon, float Lat,
                                           const TempiRitorno& tr, TGIS_DatiOut& out) {
    const std::vector<GrigliaSismica::Nodo>& tab = g_->Nodi();
    if (!tab.empty()) {
        int32_t numeri[4], primo[4];
        for (int s = 0; s < 4; ++s)
            numeri[s] = primo[s] = tab[static_cast<std::size_t>(nodi.n[static_cast<std::size_t>(s)] - 1)].ID;
        AzzeraDoppi(primo);
        int N = 0;
        for (int32_t id : primo)
            N += id > 0 ? 1 : 0;
        const int gruppo = N > 2 ? 0 : GruppoIsolaRapido(Lon, Lat);
        CalcolaNodi(nodi, numeri, primo, N, gruppo, Lon, Lat, tr, out);
        ControllaRisultato(out, Lon, Lat);
        return {N, gruppo != 0};
    }
    RiempiMaglia(g_->Dati(), sito, nodi, Lon, Lat, m_);
    return CompletaSitoRapido(m_, Lon, Lat, tr, out);
}

// The cell of a site, read from the decoded nodes without building it:
// record k of the cell holds, in slot s, node nodi.n[s] at block k, with the
// first record's numbers cleared where a node repeats (primo) and the
// others' whole (numeri). Island values (gruppo > 0) replace every slot's
// values with the group's, and the first record's numbers and positions
// with 1..4 and the reference box's vertices, as ValoriIsole does. The
// interpolation reads each record sorted, as InterpolaParametri does,
// through its slot order.
void CalcolatoreSismico::CalcolaNodi(const NodiMaglia& nodi, const int32_t (&numeri)[4], const int32_t (&primo)[4],
                                     int N, int gruppo, float Lon, float Lat, const TempiRitorno& tr,
                                     TGIS_DatiOut& out) {
    const std::vector<GrigliaSismica::Nodo>& tab = g_->Nodi();
    const DatiIsola* isola = gruppo ? &DatiGruppoIsola(gruppo) : nullptr;
    static constexpr int32_t NumeriIsola[4] = {1, 2, 3, 4};
    const int32_t(&numeriPrimo)[4] = isola ? NumeriIsola : primo;
    int ordinePrimo[4], ordineAltri[4];
    OrdineSlot(numeriPrimo, N, ordinePrimo);
    OrdineSlot(numeri, N, ordineAltri);
    auto nodo = [&](const int(&ordine)[4], int i) -> const GrigliaSismica::Nodo& {
        return tab[static_cast<std::size_t>(nodi.n[static_cast<std::size_t>(ordine[i])] - 1)];
    };
    // Each position's distance is measured once, when a weighting first
    // needs it: the nodes by slot (a node found twice, once), the island's
    // box vertices by vertex.
    DistanzeSitoRapide distanze(Lon, Lat);
    float dNodo[4], dVertice[4];
    bool notaNodo[4] = {}, notaVertice[4] = {};
    auto distanzaNodo = [&](int slot) {
        if (!notaNodo[slot]) {
            int t = 0;
            while (t < slot && !(notaNodo[t] && nodi.n[static_cast<std::size_t>(t)] == nodi.n[static_cast<std::size_t>(slot)]))
                ++t;
            const GrigliaSismica::Nodo& v = tab[static_cast<std::size_t>(nodi.n[static_cast<std::size_t>(slot)] - 1)];
            dNodo[slot] = t < slot ? dNodo[t] : distanze.Distanza(v.Lat, v.Lon);
            notaNodo[slot] = true;
        }
        return dNodo[slot];
    };
    auto distanzaVertice = [&](int i) {
        if (!notaVertice[i]) {
            dVertice[i] = distanze.Distanza(isola->lat[i], isola->lon[i]);
            notaVertice[i] = true;
        }
        return dVertice[i];
    };
    for (int j = 0; j < 4; ++j) {
        const int32_t TR = tr[static_cast<std::size_t>(j)];
        const BracketTR b = IntervalloTR(TR);
        const int k1 = b.basso.indice, k2 = b.alto.indice;
        const int(&o1)[4] = k1 == 0 ? ordinePrimo : ordineAltri;
        const int(&o2)[4] = k2 == 0 ? ordinePrimo : ordineAltri;
        const bool memoria = TR > 0; // 0 marks an empty entry of the memory
        float ag[4], Fo[4], Tc[4], agPunti[4], d[4];
        for (int i = 0; i < 4; ++i) {
            const GrigliaSismica::Nodo& v1 = nodo(o1, i);
            const GrigliaSismica::Nodo& v2 = nodo(o2, i);
            if (i < N) // only the first N slots are weighed
                d[i] = isola && k1 == 0 ? distanzaVertice(o1[i]) : distanzaNodo(o1[i]);
            const MemoriaNodi::Valori* v = nullptr;
            if (isola)
                v = &IsolaInterpolata(gruppo, j, TR, b);
            else if (memoria && &v1 == &v2)
                v = &memoria_.Interpolati(nodi.n[static_cast<std::size_t>(o1[i])], TR, b);
            if (v) {
                ag[i] = v->ag;
                Fo[i] = v->Fo;
                Tc[i] = v->Tc;
                agPunti[i] = v->agPunti;
            } else {
                ag[i] = InterpolaTRRapida(TR, b.basso.periodo, b.alto.periodo, v1.ag[k1], v2.ag[k2]);
                Fo[i] = InterpolaTRRapida(TR, b.basso.periodo, b.alto.periodo, v1.Fo[k1], v2.Fo[k2]);
                Tc[i] = InterpolaTRRapida(TR, b.basso.periodo, b.alto.periodo, v1.Tc[k1], v2.Tc[k2]);
                agPunti[i] = DivisaRapida(ag[i], 9.806L);
            }
        }
        TGIS_ParZS& p = StatoLimite(out, j);
        const MediaPesataRapida media(N, d);
        p.ag = DivisaRapida(media(ag), 10.0L); // g/10 to g
        p.Fo = media(Fo);
        p.Tc_s = media(Tc);
        p.Tr = static_cast<float>(TR);
        std::memset(p.persi, 0, sizeof p.persi);
        for (int i = 0; i < 4; ++i) {
            out.agPunti[4 * i + j] = agPunti[i];
            out.FoPunti[4 * i + j] = Fo[i];
            out.Tc_sPunti[4 * i + j] = Tc[i];
        }
    }
    out.LonSitoED50 = Lon;
    out.LatSitoED50 = Lat;
    // The first record, sorted, is what the caller sees.
    for (int i = 0; i < 4; ++i) {
        const int s = ordinePrimo[i];
        out.NumPunti[i] = numeriPrimo[s];
        out.LonPunti[i] = isola ? isola->lon[s] : nodo(ordinePrimo, i).Lon;
        out.LatPunti[i] = isola ? isola->lat[s] : nodo(ordinePrimo, i).Lat;
    }
    out.NumVert = N;
}

// An island group's values at the return period of limit state j: the same
// for every site of the group, computed once per period.
const MemoriaNodi::Valori& CalcolatoreSismico::IsolaInterpolata(int gruppo, int j, int32_t TR, const BracketTR& b) {
    Voce& v = isole_[static_cast<std::size_t>(gruppo - 1)][static_cast<std::size_t>(j)];
    if (v.TR != TR) {
        const DatiIsola& d = DatiGruppoIsola(gruppo);
        const int k1 = b.basso.indice, k2 = b.alto.indice;
        const int32_t T1 = b.basso.periodo, T2 = b.alto.periodo;
        const float ag = InterpolaTRRapida(TR, T1, T2, d.ag[k1], d.ag[k2]);
        v.v = {ag, InterpolaTRRapida(TR, T1, T2, d.Fo[k1], d.Fo[k2]), InterpolaTRRapida(TR, T1, T2, d.Tc[k1], d.Tc[k2]),
               DivisaRapida(ag, 9.806L)};
        v.TR = TR;
    }
    return v.v;
}

TGIS_DatiOut CalcolatoreSismico::Calcola(uint8_t Normativa, float Lon, float Lat, int32_t VN,
                                         int32_t ClasseUso) {
    TGIS_DatiOut out{};
    Calcola(Normativa, Lon, Lat, VN, ClasseUso, out);
    return out;
}

int32_t CalcolatoreSismico::TempoRitornoDaPGA(float Lon, float Lat, float PGA) {
    ControllaCoordinateSito(Lon, Lat);
    if (!std::isfinite(PGA))
        throw ErroreIntervallo("PGA non finita");
    g_->CercaPuntiMaglia(Lon, Lat, m_);
    return veltrano::TempoRitornoDaPGA(m_, S(static_cast<long double>(PGA) * 10.0L), Lon, Lat);
}

} // namespace veltrano
