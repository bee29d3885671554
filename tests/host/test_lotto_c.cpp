// The batch entry of the C API, from a host linked against the library: the
// same bits as one VeltranoCalcolaSito call per site, whatever the number of
// threads, and failures that stay with their site.
#include "veltrano/veltrano.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

struct Griglia {
    VeltranoGriglia* g = nullptr;
    explicit Griglia(const char* percorso) {
        char m[256];
        EXPECT_EQ(VeltranoGrigliaApri(percorso, &g, m, sizeof m), VELTRANO_OK) << m;
    }
    ~Griglia() { VeltranoGrigliaChiudi(g); }
};

struct Siti {
    std::vector<float> lon, lat;
    std::vector<int32_t> vn, classe;
};

// Over Italy, its seas and islands, and far from the grid; life and class
// change every few hundred sites so that each worker's memory is exercised.
Siti SitiCasuali(std::size_t n, uint64_t seme) {
    std::mt19937_64 rng(seme);
    auto u = [&](float a, float b) { return std::uniform_real_distribution<float>(a, b)(rng); };
    Siti s;
    for (std::size_t i = 0; i < n; ++i) {
        const bool lontano = rng() % 10 == 0;
        s.lon.push_back(lontano ? u(-20.0f, 40.0f) : u(6.0f, 19.0f));
        s.lat.push_back(lontano ? u(20.0f, 60.0f) : u(35.5f, 47.5f));
        s.vn.push_back(static_cast<int32_t>(10 + (i / 300) % 140));
        s.classe.push_back(static_cast<int32_t>(1 + (i / 700) % 4));
    }
    return s;
}

struct Uscita {
    std::vector<float> ag, Fo, Tc, Tr;
    std::vector<int32_t> numVert, nodi, codici;
    std::vector<uint8_t> valido;
    explicit Uscita(std::size_t n)
        : ag(4 * n), Fo(4 * n), Tc(4 * n), Tr(4 * n), numVert(n), nodi(4 * n), codici(n), valido(n) {}
    VeltranoUscitaSiti Puntatori() {
        return {ag.data(), Fo.data(), Tc.data(), Tr.data(), numVert.data(), nodi.data(), valido.data(), codici.data()};
    }
};

int Calcola(const Griglia& g, const Siti& s, const VeltranoUscitaSiti& u, int thread, std::string* testo = nullptr) {
    char m[256];
    const int c = VeltranoCalcolaSiti(g.g, Norm_DM2008, s.lon.size(), s.lon.data(), s.lat.data(), s.vn.data(),
                                      s.classe.data(), &u, thread, m, sizeof m);
    if (testo)
        *testo = m;
    return c;
}

bool StessiBit(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

TEST(LottoC, EverySiteHasTheBitsOfOneCallAndThreadsChangeNothing) {
    const Griglia g(VELTRANO_GRIGLIA);
    const Siti s = SitiCasuali(20000, 2024);
    const std::size_t n = s.lon.size();
    Uscita uno(n);
    const VeltranoUscitaSiti p1 = uno.Puntatori();
    ASSERT_EQ(Calcola(g, s, p1, 1), VELTRANO_OK);

    VeltranoCalcolatore* c = nullptr;
    char m[256];
    ASSERT_EQ(VeltranoCalcolatoreNuovo(g.g, &c, m, sizeof m), VELTRANO_OK);
    long diversi = 0, validi = 0;
    std::string primo;
    for (std::size_t i = 0; i < n; ++i) {
        TGIS_DatiOut d{};
        ASSERT_EQ(VeltranoCalcolaSito(c, Norm_DM2008, s.lon[i], s.lat[i], s.vn[i], s.classe[i], &d, m, sizeof m),
                  VELTRANO_OK);
        const TGIS_ParZS* stati[4] = {&d.SLV, &d.SLC, &d.SLD, &d.SLO};
        bool uguale = uno.numVert[i] == d.NumVert && uno.codici[i] == VELTRANO_OK;
        for (std::size_t j = 0; j < 4; ++j) {
            const std::size_t k = 4 * i + j;
            uguale = uguale && StessiBit(uno.ag[k], stati[j]->ag) && StessiBit(uno.Fo[k], stati[j]->Fo) &&
                     StessiBit(uno.Tc[k], stati[j]->Tc_s) && StessiBit(uno.Tr[k], stati[j]->Tr) &&
                     uno.nodi[k] == d.NumPunti[j];
        }
        if (!uguale && diversi++ == 0)
            primo = std::to_string(s.lon[i]) + " " + std::to_string(s.lat[i]);
        // On the grid's own land the cell always has its nodes.
        if (uno.valido[i])
            ++validi;
        else
            EXPECT_LE(d.NumVert, 2) << s.lon[i] << " " << s.lat[i];
    }
    VeltranoCalcolatoreLibera(c);
    EXPECT_EQ(diversi, 0) << "first at " << primo;
    EXPECT_GT(validi, static_cast<long>(n / 5));
    EXPECT_LT(validi, static_cast<long>(n));

    for (int thread : {2, 3, 0}) {
        Uscita altra(n);
        ASSERT_EQ(Calcola(g, s, altra.Puntatori(), thread), VELTRANO_OK);
        EXPECT_EQ(std::memcmp(altra.ag.data(), uno.ag.data(), 4 * n * sizeof(float)), 0) << thread;
        EXPECT_EQ(std::memcmp(altra.Tc.data(), uno.Tc.data(), 4 * n * sizeof(float)), 0) << thread;
        EXPECT_EQ(altra.nodi, uno.nodi) << thread;
        EXPECT_EQ(altra.valido, uno.valido) << thread;
    }
}

TEST(LottoC, AFailingSiteKeepsItsCodeAndTheOthersAreComputed) {
    const Griglia g(VELTRANO_GRIGLIA);
    Siti s = SitiCasuali(5000, 7);
    s.classe[3100] = 300;  // a range fault, on the second thread's side
    s.classe[1200] = 256;
    s.classe[4000] = -1;
    Uscita u(s.lon.size());
    std::string testo;
    EXPECT_EQ(Calcola(g, s, u.Puntatori(), 2, &testo), VELTRANO_ERRORE_INTERVALLO);
    // The message names the first failing site, whichever thread met it first.
    EXPECT_EQ(testo.rfind("VeltranoCalcolaSiti: sito 1200: ", 0), 0u) << testo;
    for (std::size_t i : {1200u, 3100u, 4000u}) {
        EXPECT_EQ(u.codici[i], VELTRANO_ERRORE_INTERVALLO) << i;
        EXPECT_TRUE(std::isnan(u.ag[4 * i]) && std::isnan(u.Tr[4 * i + 3])) << i;
        EXPECT_EQ(u.numVert[i], 0);
        EXPECT_EQ(u.valido[i], 0);
    }
    long falliti = 0;
    for (std::size_t i = 0; i < s.lon.size(); ++i)
        falliti += u.codici[i] != VELTRANO_OK;
    EXPECT_EQ(falliti, 3);
    EXPECT_TRUE(u.ag[4 * 1201] > 0.0f);
}

TEST(LottoC, OnlyTheWantedArraysAreWritten) {
    const Griglia g(VELTRANO_GRIGLIA);
    const Siti s = SitiCasuali(3000, 11);
    Uscita tutto(s.lon.size());
    ASSERT_EQ(Calcola(g, s, tutto.Puntatori(), 2), VELTRANO_OK);
    std::vector<float> ag(4 * s.lon.size(), -1.0f);
    VeltranoUscitaSiti solo{};
    solo.ag = ag.data();
    ASSERT_EQ(Calcola(g, s, solo, 2), VELTRANO_OK);
    EXPECT_EQ(ag, tutto.ag);
}

TEST(LottoC, BadCallsFailAsAWholeWithACode) {
    const Griglia g(VELTRANO_GRIGLIA);
    const Siti s = SitiCasuali(10, 1);
    Uscita u(10);
    const VeltranoUscitaSiti p = u.Puntatori();
    char m[256];
    EXPECT_EQ(VeltranoCalcolaSiti(g.g, Norm_DM2008, 10, nullptr, s.lat.data(), s.vn.data(), s.classe.data(), &p, 1,
                                  m, sizeof m),
              VELTRANO_ERRORE_ARGOMENTO);
    EXPECT_NE(std::string(m).find("Lon"), std::string::npos) << m;
    EXPECT_EQ(VeltranoCalcolaSiti(nullptr, Norm_DM2008, 10, s.lon.data(), s.lat.data(), s.vn.data(),
                                  s.classe.data(), &p, 1, m, sizeof m),
              VELTRANO_ERRORE_ARGOMENTO);
    EXPECT_EQ(VeltranoCalcolaSiti(g.g, Norm_DM2008, 10, s.lon.data(), s.lat.data(), s.vn.data(), s.classe.data(),
                                  nullptr, 1, m, sizeof m),
              VELTRANO_ERRORE_ARGOMENTO);
    EXPECT_EQ(VeltranoCalcolaSiti(g.g, Norm_DM2008, 10, s.lon.data(), s.lat.data(), s.vn.data(), s.classe.data(),
                                  &p, -1, m, sizeof m),
              VELTRANO_ERRORE_INTERVALLO);
    // No sites, no arrays: nothing to do, and nothing wrong.
    EXPECT_EQ(VeltranoCalcolaSiti(g.g, Norm_DM2008, 0, nullptr, nullptr, nullptr, nullptr, &p, 0, m, sizeof m),
              VELTRANO_OK);
}

TEST(LottoC, ANullPathOpensTheLibrarysOwnGrid) {
    const Griglia propria(nullptr);
    const Griglia data(VELTRANO_GRIGLIA);
    ASSERT_NE(propria.g, nullptr);
    const Siti s = SitiCasuali(500, 3);
    Uscita a(500), b(500);
    ASSERT_EQ(Calcola(propria, s, a.Puntatori(), 1), VELTRANO_OK);
    ASSERT_EQ(Calcola(data, s, b.Puntatori(), 1), VELTRANO_OK);
    EXPECT_EQ(a.ag, b.ag);
}

} // namespace
