// Where a site's time goes, on the batch workload: sites uniform in lon
// 6.5-18.6, lat 36.6-47.1 (two in three off the grid), VN 50, class II.
// Each step is timed alone, per site: the CSV record read, projection, node
// search, island test (on the sites that need it), the rest of the cell
// (interpolation included), the whole engine, the output row formatted (an
// error row for a site off the grid) and written to a file. The CoorCom.dat
// benchmark is the API on land only, the municipality points.
#include "cli/lotto_csv.h"
#include "cli/lotto_uscita.h"
#include "cli/sito.h"
#include "core/api.h"
#include "geo/comuni.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <random>

namespace {

using namespace veltrano;

constexpr int NumSiti = 200000;

const GrigliaSismica& Griglia() {
    static const GrigliaSismica g(std::filesystem::path(VELTRANO_DATI) / "GeoDati.dat");
    return g;
}

struct Sito {
    float lon, lat;
    PuntoPiano p;
    NodiMaglia nodi;
    std::string record; // the CSV record, as the comparison script writes it
    TGIS_DatiOut d;
    EsitoSito esito;
};

const std::vector<Sito>& Siti() {
    static const std::vector<Sito> s = [] {
        std::mt19937 rng(14);
        std::uniform_real_distribution<float> lon(6.5f, 18.6f), lat(36.6f, 47.1f);
        std::vector<Sito> v(NumSiti);
        CalcolatoreSismico calc(Griglia());
        for (Sito& x : v) {
            char t[64];
            std::snprintf(t, sizeof t, "%.6f,%.6f", double(lon(rng)), double(lat(rng)));
            x.record = t;
            const cli::RigaLotto r = cli::LeggiRigaLotto(x.record, cli::FormatoLotto{}, cli::PredefinitiLotto{});
            x.lon = static_cast<float>(r.lon);
            x.lat = static_cast<float>(r.lat);
            x.p = ProiezioneSitoRapida(x.lon, x.lat);
            x.nodi = Griglia().TrovaNodi(x.p);
            x.esito = calc.Calcola(Norm_DM2008, x.lon, x.lat, 50, 2, x.d);
        }
        return v;
    }();
    return s;
}

template <class F> void PerSito(benchmark::State& st, F&& f) {
    const std::vector<Sito>& siti = Siti();
    std::size_t i = 0;
    for (auto _ : st) {
        f(siti[i]);
        if (++i == siti.size())
            i = 0;
    }
    st.SetItemsProcessed(st.iterations());
}

void BM_LetturaRecord(benchmark::State& st) {
    const cli::FormatoLotto f;
    const cli::PredefinitiLotto p;
    PerSito(st, [&](const Sito& s) { benchmark::DoNotOptimize(cli::LeggiRigaLotto(s.record, f, p)); });
}
BENCHMARK(BM_LetturaRecord);

void BM_Proiezione(benchmark::State& st) {
    PerSito(st, [](const Sito& s) { benchmark::DoNotOptimize(ProiezioneSitoRapida(s.lon, s.lat)); });
}
BENCHMARK(BM_Proiezione);

void BM_ProiezioneDiretta(benchmark::State& st) {
    PerSito(st, [](const Sito& s) { benchmark::DoNotOptimize(ProiezioneSito(s.lon, s.lat)); });
}
BENCHMARK(BM_ProiezioneDiretta);

// The nearest node, then the cell's other three (remembered after the first
// pass over the sites).
void BM_Ricerca(benchmark::State& st) {
    PerSito(st, [](const Sito& s) { benchmark::DoNotOptimize(Griglia().TrovaNodi(s.p)); });
}
BENCHMARK(BM_Ricerca);

// Only sites with two nodes or fewer are tested; per tested site.
void BM_Isole(benchmark::State& st) {
    std::vector<std::pair<float, float>> mare;
    for (const Sito& s : Siti()) {
        TMagliaSito m{};
        RiempiMaglia(Griglia().Dati(), s.p, s.nodi, s.lon, s.lat, m);
        if (ContaNodi(m) <= 2)
            mare.emplace_back(s.lon, s.lat);
    }
    std::size_t i = 0;
    for (auto _ : st) {
        benchmark::DoNotOptimize(GruppoIsolaRapido(mare[i].first, mare[i].second));
        if (++i == mare.size())
            i = 0;
    }
    st.SetItemsProcessed(st.iterations());
    st.counters["quota"] = static_cast<double>(mare.size()) / NumSiti;
}
BENCHMARK(BM_Isole);

void BM_IsoleDirette(benchmark::State& st) {
    PerSito(st, [](const Sito& s) { benchmark::DoNotOptimize(GruppoIsola(s.lon, s.lat)); });
}
BENCHMARK(BM_IsoleDirette);

// After the search: island test, interpolation, the output record.
void BM_Cella(benchmark::State& st) {
    CalcolatoreSismico calc(Griglia());
    const TempiRitorno tr = CalcolaTR(Norm_DM2008, 50, 2);
    TGIS_DatiOut out{};
    PerSito(st, [&](const Sito& s) {
        calc.CalcolaCella(s.nodi, s.p, s.lon, s.lat, tr, out);
        benchmark::DoNotOptimize(out);
    });
}
BENCHMARK(BM_Cella);

void BM_SitoIntero(benchmark::State& st) {
    CalcolatoreSismico calc(Griglia());
    TGIS_DatiOut out{};
    PerSito(st, [&](const Sito& s) {
        calc.Calcola(Norm_DM2008, s.lon, s.lat, 50, 2, out);
        benchmark::DoNotOptimize(out);
    });
}
BENCHMARK(BM_SitoIntero);

// The output line of each site: its values, or the reason it has none.
void Formatta(std::string& t, const Sito& s) {
    const cli::RigaLotto r{s.lon, s.lat, 50, 2, false};
    if (auto m = cli::MotivoSitoNonValido(s.esito, s.lon, s.lat))
        cli::AggiungiErroreCsv(t, 2, *m);
    else
        cli::AggiungiRigaCsv(t, 2, s.lon, s.lat, r, s.d);
}

void BM_FormatoRiga(benchmark::State& st) {
    std::string t;
    PerSito(st, [&](const Sito& s) {
        t.clear();
        Formatta(t, s);
        benchmark::DoNotOptimize(t);
    });
}
BENCHMARK(BM_FormatoRiga);

// The lines written to a file, 4096 at a time.
void BM_ScritturaRiga(benchmark::State& st) {
    std::string blocco;
    for (std::size_t i = 0; i < 4096; ++i)
        Formatta(blocco, Siti()[i]);
    std::FILE* f = std::tmpfile();
    for (auto _ : st) {
        std::rewind(f); // the same pages again: the file does not grow
        std::fwrite(blocco.data(), 1, blocco.size(), f);
        std::fflush(f);
    }
    std::fclose(f);
    st.SetItemsProcessed(st.iterations() * 4096);
}
BENCHMARK(BM_ScritturaRiga);

// The municipality points of CoorCom.dat: land sites, one core.
void BM_ComuniCoorCom(benchmark::State& st) {
    const std::u16string cartella = (std::filesystem::path(VELTRANO_DATI) / "").u16string();
    const std::vector<TCoordComune> comuni = LeggiComuni(cartella);
    CalcolatoreSismico calc(Griglia());
    TGIS_DatiOut out{};
    std::size_t i = 0;
    for (auto _ : st) {
        calc.Calcola(Norm_DM2008, comuni[i].Lon, comuni[i].Lat, 50, 2, out);
        benchmark::DoNotOptimize(out);
        if (++i == comuni.size())
            i = 0;
    }
    st.SetItemsProcessed(st.iterations());
    st.counters["comuni"] = static_cast<double>(comuni.size());
}
BENCHMARK(BM_ComuniCoorCom);

} // namespace
