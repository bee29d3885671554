// A host program that knows the library only by its file: it loads it with
// dlopen, finds every export by name and checks the records byte by byte
// against the C++ engine.
#include "core/calcolo.h"
#include "geo/datum.h"
#include "veltrano/veltrano.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <random>
#include <string>

namespace {

namespace fs = std::filesystem;

struct Libreria {
    void* h = nullptr;
    void (*Versione)(VelStringa*);
    void (*CPS)(float, float, int32_t, int32_t, uint8_t, TGIS_DatiOut*);
    void (*CPS2)(uint8_t, float, float, int32_t, int32_t, uint8_t, TGIS_DatiOut*);
    int32_t (*TRDaPGA)(float, float, float);
    void (*TR)(int32_t, uint8_t, int32_t*, int32_t*, int32_t*, int32_t*);
    void (*TR2)(uint8_t, int32_t, uint8_t, int32_t*, int32_t*, int32_t*, int32_t*);
    void (*DbSize)(VelStringa, int32_t*);
    void (*DbLeggi)(VelStringa, TCoordComuni*, uint8_t);
    void (*DbSalva)(VelStringa, TCoordComuni*);
    void (*Conv)(float, float, float*, float*);
    VelStringa (*StringaDaUtf8)(const char*);
    int32_t (*StringaLunghezza)(VelStringa);
    void (*StringaRilascia)(VelStringa*);
    void (*ComuniDimensiona)(TCoordComuni*, int32_t);
    int32_t (*ComuniLunghezza)(const TCoordComune*);
    void (*ComuniRilascia)(TCoordComuni*);
    const char* (*UltimoErrore)();
    uint32_t (*UltimoCodice)();

    template <class F> void Trova(F& f, const char* nome) {
        f = reinterpret_cast<F>(dlsym(h, nome));
        ASSERT_NE(reinterpret_cast<void*>(f), nullptr) << nome;
    }
    void Apri(const fs::path& file) {
        h = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(h, nullptr) << dlerror();
        Trova(Versione, "VeltranoVersione");
        Trova(CPS, "CalcolaParametriSismici");
        Trova(CPS2, "CalcolaParametriSismici2");
        Trova(TRDaPGA, "CalcolaTempoRitornoDaPGA");
        Trova(TR, "CalcolaTempiRitorno");
        Trova(TR2, "CalcolaTempiRitorno2");
        Trova(DbSize, "GIS_LeggeDatabaseCoorComSize");
        Trova(DbLeggi, "GIS_LeggeDatabaseCoorCom");
        Trova(DbSalva, "GIS_SalvaDatabaseCoorCom");
        Trova(Conv, "ConvCoord_WGS84toED50");
        Trova(StringaDaUtf8, "VeltranoStringaDaUtf8");
        Trova(StringaLunghezza, "VeltranoStringaLunghezza");
        Trova(StringaRilascia, "VeltranoStringaRilascia");
        Trova(ComuniDimensiona, "VeltranoComuniDimensiona");
        Trova(ComuniLunghezza, "VeltranoComuniLunghezza");
        Trova(ComuniRilascia, "VeltranoComuniRilascia");
        Trova(UltimoErrore, "VeltranoUltimoErrore");
        Trova(UltimoCodice, "VeltranoUltimoCodice");
    }
};

const fs::path FileLibreria = VELTRANO_LIBRERIA;

Libreria& Principale() {
    static Libreria l = [] {
        Libreria r;
        r.Apri(FileLibreria);
        return r;
    }();
    return l;
}

// A private copy of the library in its own folder, with the given grid file.
fs::path CopiaLibreria(const std::string& nome, std::size_t bytesGriglia) {
    const fs::path d = fs::temp_directory_path() / (nome + "_" + std::to_string(getpid()));
    fs::remove_all(d);
    fs::create_directories(d);
    fs::copy_file(FileLibreria, d / FileLibreria.filename());
    if (bytesGriglia > 0) {
        fs::copy_file(FileLibreria.parent_path() / "GeoDati.dat", d / "GeoDati.dat");
        fs::resize_file(d / "GeoDati.dat", bytesGriglia);
    }
    return d / FileLibreria.filename();
}

std::u16string Testo(VelStringa s, int32_t n) { return {reinterpret_cast<const char16_t*>(s), std::size_t(n)}; }

TEST(Host, VersionReplacesTheCallersString) {
    Libreria& l = Principale();
    VelStringa s = l.StringaDaUtf8("vecchio testo");
    ASSERT_EQ(l.StringaLunghezza(s), 13);
    l.Versione(&s);
    const std::u16string attesa = u"" VELTRANO_VERSIONE;
    const auto n = static_cast<int32_t>(attesa.size());
    ASSERT_EQ(l.StringaLunghezza(s), n);
    EXPECT_EQ(Testo(s, n), attesa);
    EXPECT_EQ(s[n], 0);
    int32_t rif;
    std::memcpy(&rif, reinterpret_cast<char*>(s) - 8, 4);
    EXPECT_EQ(rif, -1); // a constant
    l.StringaRilascia(&s);
    EXPECT_EQ(s, nullptr);
    l.Versione(&s); // from the empty string too
    EXPECT_EQ(l.StringaLunghezza(s), 5);
}

TEST(Host, ComputationWritesOnlyItsFields) {
    Libreria& l = Principale();
    TGIS_DatiOut a, b;
    std::memset(&a, 0xAB, sizeof a);
    std::memset(&b, 0xAB, sizeof b);
    l.CPS(13.4f, 42.35f, 50, 2, 0, &a);
    l.CPS2(Norm_DM2008, 13.4f, 42.35f, 50, 2, 77, &b);
    EXPECT_EQ(std::memcmp(&a, &b, sizeof a), 0);
    const auto* p = reinterpret_cast<const unsigned char*>(&a);
    for (std::size_t i = 500; i < 535; ++i)
        EXPECT_EQ(p[i], 0xAB) << "byte " << i; // LonSito .. TipoRic
    for (std::size_t i = 751; i < sizeof a; ++i)
        ASSERT_EQ(p[i], 0xAB) << "byte " << i; // alt .. persi
    for (const TGIS_ParZS* z : {&a.SLV, &a.SLC, &a.SLD, &a.SLO})
        for (uint8_t c : z->persi)
            ASSERT_EQ(c, 0);
    EXPECT_EQ(+a.NumVert, 4);
    EXPECT_EQ(+a.NumPunti[0], 26305);
    EXPECT_EQ(+a.NumPunti[3], 26528);
    EXPECT_EQ(+a.LonSitoED50, 13.4f);
    EXPECT_EQ(+a.SLV.Tr, 475.0f);
    EXPECT_NEAR(+a.SLV.ag, 0.2607, 1e-4);
}

TEST(Host, ExportsAgreeWithTheEngineBitForBit) {
    Libreria& l = Principale();
    veltrano::Griglia g;
    g.Carica(FileLibreria.parent_path() / "GeoDati.dat");
    std::mt19937 rng(2026);
    std::uniform_real_distribution<float> lon(5.0f, 20.0f), lat(35.0f, 48.5f);
    std::uniform_int_distribution<int> vn(0, 200), classe(0, 5), norm(0, 6);
    for (int i = 0; i < 3000; ++i) {
        const float Lo = lon(rng), La = lat(rng);
        const int v = vn(rng), c = classe(rng);
        const auto nm = static_cast<uint8_t>(norm(rng));
        TGIS_DatiOut atteso, ottenuto;
        std::memset(&atteso, i & 0xFF, sizeof atteso);
        std::memset(&ottenuto, i & 0xFF, sizeof ottenuto);
        veltrano::TMagliaSito m{};
        veltrano::CalcolaSito(g, m, nm, Lo, La, v, c, atteso);
        l.CPS2(nm, Lo, La, v, c, 0, &ottenuto);
        ASSERT_EQ(std::memcmp(&atteso, &ottenuto, sizeof atteso), 0) << Lo << " " << La;
        if (i % 10 == 0) {
            veltrano::TMagliaSito m2{};
            const float pga = float(i % 50) / 100.0f;
            ASSERT_EQ(l.TRDaPGA(Lo, La, pga), veltrano::CalcolaTRDaPGA(g, m2, Lo, La, pga));
            float e[2];
            l.Conv(Lo, La, &e[0], &e[1]);
            const veltrano::Coordinate c2 = veltrano::ConvCoord_WGS84toED50(Lo, La);
            ASSERT_EQ(e[0], c2.Lon);
            ASSERT_EQ(e[1], c2.Lat);
        }
    }
}

TEST(Host, ReturnPeriodsNeedNoDataFile) {
    const fs::path copia = CopiaLibreria("veltrano_senza_dati", 0);
    Libreria l;
    l.Apri(copia);
    int32_t t[4] = {};
    l.TR(50, 2, &t[0], &t[1], &t[2], &t[3]);
    EXPECT_EQ(t[0], 475);
    EXPECT_EQ(t[1], 975);
    EXPECT_EQ(t[2], 50);
    EXPECT_EQ(t[3], 30);
    int32_t u[4] = {};
    l.TR2(Norm_DM2008, 100, 3, &u[0], &u[1], &u[2], &u[3]);
    EXPECT_EQ(u[0], 1424);
    EXPECT_EQ(u[1], 2475);
    // A missing grid file reaches the host as an exception of its own type.
    TGIS_DatiOut d;
    std::memset(&d, 0x11, sizeof d);
    const TGIS_DatiOut prima = d;
    try {
        l.CPS(13.4f, 42.35f, 50, 2, 0, &d);
        ADD_FAILURE() << "no exception";
    } catch (const veltrano::ErroreApertura& e) {
        EXPECT_NE(std::string(e.what()).find("GeoDati.dat"), std::string::npos);
    }
    EXPECT_EQ(std::memcmp(&d, &prima, sizeof d), 0);
    EXPECT_NE(std::string(l.UltimoErrore()).find("CalcolaParametriSismici2"), std::string::npos);
    EXPECT_EQ(l.UltimoCodice(), VELTRANO_CODICE_APERTURA);
    EXPECT_THROW(l.TRDaPGA(13.4f, 42.35f, 0.1f), veltrano::ErroreApertura);
    l.TR(50, 2, &t[0], &t[1], &t[2], &t[3]);
    EXPECT_STREQ(l.UltimoErrore(), ""); // a successful call clears it
    EXPECT_EQ(l.UltimoCodice(), 0u);
    fs::remove_all(copia.parent_path());
}

TEST(Host, ShortGridFileAndRangeFaults) {
    const fs::path copia = CopiaLibreria("veltrano_griglia_corta", 3096287);
    Libreria l;
    l.Apri(copia);
    TGIS_DatiOut d{};
    EXPECT_THROW(l.CPS(13.4f, 42.35f, 50, 2, 0, &d), veltrano::ErroreLettura);
    EXPECT_EQ(l.UltimoCodice(), VELTRANO_CODICE_LETTURA);
    fs::remove_all(copia.parent_path());

    Libreria& p = Principale();
    EXPECT_THROW(p.CPS(13.4f, 42.35f, 50, 300, 0, &d), veltrano::ErroreIntervallo);
    EXPECT_NE(std::string(p.UltimoErrore()).find("ClasseUso"), std::string::npos);
    EXPECT_EQ(p.UltimoCodice(), VELTRANO_CODICE_INTERVALLO);
    EXPECT_THROW(p.CPS(13.4f, 42.35f, 50, -1, 0, &d), veltrano::ErroreIntervallo);
    EXPECT_THROW(p.CPS(13.4f, 42.35f, 2147483647, 4, 0, &d), veltrano::ErroreIntervallo);
    EXPECT_THROW(p.CPS(13.4f, 42.35f, 50, 2, 0, nullptr), veltrano::ErroreArgomento);
    EXPECT_EQ(p.UltimoCodice(), VELTRANO_CODICE_ARGOMENTO);
    EXPECT_THROW(p.Versione(nullptr), veltrano::Errore);
    EXPECT_THROW(p.TR(50, 2, nullptr, nullptr, nullptr, nullptr), std::runtime_error);
}

// Regression: a NaN longitude or PGA came back as a number (NaN, or 2475)
// with no failure (issue 13).
// Regression: a NaN in the grid's XY array made the exports write out of
// bounds; a lying CoorCom2.dat count came back as a count, and a folder in
// its place as a bare stream failure (issue 13).
TEST(Host, DamagedFilesAreReadFailuresThatNameTheFile) {
    const fs::path copia = CopiaLibreria("veltrano_griglia_nan", 3096288);
    {
        std::fstream f(copia.parent_path() / "GeoDati.dat", std::ios::in | std::ios::out | std::ios::binary);
        const float nan = std::numeric_limits<float>::quiet_NaN();
        f.seekp(43004);
        f.write(reinterpret_cast<const char*>(&nan), 4);
    }
    Libreria l;
    l.Apri(copia);
    TGIS_DatiOut d{};
    EXPECT_THROW(l.CPS(13.4f, 42.35f, 50, 2, 0, &d), veltrano::ErroreLettura);
    EXPECT_NE(std::string(l.UltimoErrore()).find("GeoDati.dat: nodo 1, blocco TR_30: X"), std::string::npos)
        << l.UltimoErrore();
    EXPECT_THROW(l.TRDaPGA(13.4f, 42.35f, 0.1f), veltrano::ErroreLettura);
    EXPECT_EQ(l.UltimoCodice(), VELTRANO_CODICE_LETTURA);
    char m[512];
    VeltranoGriglia* g = nullptr;
    const std::string percorso = (copia.parent_path() / "GeoDati.dat").string();
    auto apri = reinterpret_cast<int (*)(const char*, VeltranoGriglia**, char*, size_t)>(
        dlsym(l.h, "VeltranoGrigliaApri"));
    ASSERT_NE(apri, nullptr);
    EXPECT_EQ(apri(percorso.c_str(), &g, m, sizeof m), VELTRANO_ERRORE_LETTURA);
    EXPECT_EQ(g, nullptr);
    EXPECT_NE(std::string(m).find("nodo 1"), std::string::npos) << m;

    const fs::path d2 = copia.parent_path() / "comuni";
    fs::create_directories(d2);
    VelStringa prefisso = l.StringaDaUtf8((d2.string() + "/").c_str());
    for (const int32_t n : {-1, INT32_MIN, INT32_MAX, 1}) {
        const int32_t testa[2] = {1, n};
        std::ofstream(d2 / "CoorCom2.dat", std::ios::binary).write(reinterpret_cast<const char*>(testa), 8);
        int32_t letto = 12345;
        EXPECT_THROW(l.DbSize(prefisso, &letto), veltrano::ErroreLettura) << n;
        EXPECT_EQ(letto, 12345);
    }
    fs::remove(d2 / "CoorCom2.dat");
    fs::create_directory(d2 / "CoorCom2.dat");
    int32_t letto = 0;
    EXPECT_THROW(l.DbSize(prefisso, &letto), veltrano::ErroreApertura);
    EXPECT_NE(std::string(l.UltimoErrore()).find("CoorCom2.dat: è una cartella"), std::string::npos)
        << l.UltimoErrore();
    l.StringaRilascia(&prefisso);
    fs::remove_all(copia.parent_path());
}

TEST(Host, NotANumberIsARangeFaultNeverAResult) {
    Libreria& p = Principale();
    const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
    for (const auto& [lon, lat] : {std::pair{nan, 42.35f}, {13.4f, nan}, {inf, 42.35f}, {13.4f, -inf}}) {
        TGIS_DatiOut d{};
        EXPECT_THROW(p.CPS2(Norm_DM2008, lon, lat, 50, 2, 0, &d), veltrano::ErroreIntervallo);
        EXPECT_EQ(p.UltimoCodice(), VELTRANO_CODICE_INTERVALLO);
        EXPECT_THROW(p.TRDaPGA(lon, lat, 0.15f), veltrano::ErroreIntervallo);
        float a = 0, b = 0;
        EXPECT_THROW(p.Conv(lon, lat, &a, &b), veltrano::ErroreIntervallo);
        EXPECT_EQ(p.UltimoCodice(), VELTRANO_CODICE_INTERVALLO);
    }
    EXPECT_THROW(p.TRDaPGA(13.4f, 42.35f, nan), veltrano::ErroreIntervallo);
    EXPECT_THROW(p.TRDaPGA(13.4f, 42.35f, -inf), veltrano::ErroreIntervallo);
    EXPECT_EQ(p.TRDaPGA(13.4f, 42.35f, 0.15f), 114); // and the library still answers
}

TEST(Host, DataFolderUnderAnAccentedPath) {
    const fs::path d = fs::temp_directory_path() / ("veltrano dati àè_" + std::to_string(getpid()));
    fs::remove_all(d);
    fs::create_directories(d);
    fs::copy_file(FileLibreria, d / FileLibreria.filename());
    fs::copy_file(FileLibreria.parent_path() / "GeoDati.dat", d / "GeoDati.dat");
    Libreria l;
    l.Apri(d / FileLibreria.filename());
    TGIS_DatiOut a{}, b{};
    l.CPS(13.4f, 42.35f, 50, 2, 0, &a);
    Principale().CPS(13.4f, 42.35f, 50, 2, 0, &b);
    EXPECT_EQ(std::memcmp(&a, &b, sizeof a), 0);
    fs::remove_all(d);
}

TEST(Host, MunicipalityDatabaseRoundTrip) {
    Libreria& l = Principale();
    const fs::path d = fs::temp_directory_path() / ("veltrano_comuni àè_" + std::to_string(getpid()));
    fs::remove_all(d);
    fs::create_directories(d);
    VelStringa percorso = l.StringaDaUtf8((d.string() + "/").c_str());
    TCoordComuni a = nullptr;
    l.ComuniDimensiona(&a, 3);
    ASSERT_EQ(l.ComuniLunghezza(a), 3);
    for (int i = 0; i < 3; ++i) {
        std::memset(&a[i], 0x40 + i, sizeof(TCoordComune));
        a[i].Nome[0] = 3;
        a[i].Id_sf_COM = i;
    }
    l.DbSalva(percorso, &a);
    int32_t n = -1;
    l.DbSize(percorso, &n);
    EXPECT_EQ(n, 3);
    TCoordComuni b = nullptr;
    l.DbLeggi(percorso, &b, 1);
    ASSERT_EQ(l.ComuniLunghezza(b), 3);
    EXPECT_EQ(std::memcmp(a, b, 3 * sizeof(TCoordComune)), 0);
    // Without resizing, the array's own length decides; longer than stored fails
    // and leaves the array as it was.
    TCoordComuni c = nullptr;
    l.ComuniDimensiona(&c, 5);
    std::memset(c, 0x77, 5 * sizeof(TCoordComune));
    EXPECT_THROW(l.DbLeggi(percorso, &c, 0), veltrano::ErroreLettura);
    EXPECT_EQ(reinterpret_cast<unsigned char*>(c)[0], 0x77);
    l.ComuniDimensiona(&c, 2);
    l.DbLeggi(percorso, &c, 0);
    EXPECT_EQ(std::memcmp(a, c, 2 * sizeof(TCoordComune)), 0);
    // An empty array saves an 8-byte header and reads back empty.
    TCoordComuni vuoto = nullptr;
    l.DbSalva(percorso, &vuoto);
    EXPECT_EQ(fs::file_size(d / "CoorCom2.dat"), 8u);
    l.DbLeggi(percorso, &b, 1);
    EXPECT_EQ(b, nullptr);
    for (TCoordComuni* x : {&a, &b, &c})
        l.ComuniRilascia(x);
    l.StringaRilascia(&percorso);
    fs::remove_all(d);
}

} // namespace
