// The batch's fast text paths against the general code they stand for: the
// field cutter against DividiCampi, the row writers against the JSON writer
// and the one number formatter, and the block pipeline on many threads
// against one.
#include "cli/comandi.h"
#include "cli/formato.h"
#include "cli/lotto_csv.h"
#include "cli/lotto_uscita.h"
#include "core/api.h"
#include "tests/supporto.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <limits>
#include <sstream>

namespace veltrano::cli {
namespace {

TEST(LottoCsv, FieldsWithoutQuotesAreCutAsDividiCampiCutsThem) {
    std::mt19937 rng(21);
    const std::string alfabeto = "0123456789.-+,;\t \rEeax#";
    for (int i = 0; i < test::Campione(50000); ++i) {
        std::string record(rng() % 24, ' ');
        for (char& c : record)
            c = alfabeto[rng() % alfabeto.size()];
        for (char sep : {',', ';', '\t'}) {
            std::vector<std::string> attesi = DividiCampi(record, sep), campi;
            std::string_view resto = record;
            for (bool ultimo = false; !ultimo;)
                campi.emplace_back(CampoSemplice(resto, sep, ultimo));
            ASSERT_EQ(campi, attesi) << "[" << record << "] sep " << int(sep);
        }
    }
}

// A float drawn from everything a row may hold: engine-like values, then
// any bit pattern (subnormals, huge, negative, NaN and infinities).
float Reale(std::mt19937& rng) {
    switch (rng() % 4) {
    case 0: return std::uniform_real_distribution<float>(0.0f, 3.0f)(rng);
    case 1: return std::uniform_real_distribution<float>(6.0f, 48.0f)(rng);
    case 2: return static_cast<float>(rng() % 2500);
    default: return std::bit_cast<float>(static_cast<uint32_t>(rng()));
    }
}

// The rows as the general writers make them: number by number through the
// one formatter, and through the JSON library.
std::string RigaCsvAttesa(long n, float lon, float lat, const RigaLotto& s, const TGIS_DatiOut& d) {
    const TGIS_ParZS stati[4] = {d.SLO, d.SLD, d.SLV, d.SLC};
    std::string t = std::to_string(n) + ",," + TestoReale(lon) + "," + TestoReale(lat) + "," + std::to_string(s.vn) +
                    "," + std::to_string(s.classe) + "," + std::to_string(d.NumVert) + ",1";
    for (int i = 0; i < 4; ++i)
        t += "," + std::to_string(d.NumPunti[i]);
    for (const TGIS_ParZS& p : stati)
        t += "," + TestoReale(p.Tr) + "," + TestoReale(p.ag) + "," + TestoReale(p.Fo) + "," + TestoReale(p.Tc_s);
    return t + "\n";
}

std::string RigaJsonAttesa(long n, float lon, float lat, const RigaLotto& s, const TGIS_DatiOut& d) {
    const TGIS_ParZS stati[4] = {d.SLO, d.SLD, d.SLV, d.SLC};
    const char* nomi[4] = {"SLO", "SLD", "SLV", "SLC"};
    JsonReale j;
    j["riga"] = n;
    j["lon_ed50"] = Finito(lon, "lon_ed50");
    j["lat_ed50"] = Finito(lat, "lat_ed50");
    j["vn"] = s.vn;
    j["classe"] = s.classe;
    j["num_vert"] = int32_t{d.NumVert};
    j["valido"] = true;
    JsonReale nodi = JsonReale::array();
    for (int i = 0; i < 4; ++i)
        nodi.push_back(int32_t{d.NumPunti[i]});
    j["nodi"] = std::move(nodi);
    for (int k = 0; k < 4; ++k)
        j[nomi[k]] = {{"TR", static_cast<int64_t>(stati[k].Tr)},
                      {"ag", Finito(stati[k].ag, "ag")},
                      {"Fo", Finito(stati[k].Fo, "Fo")},
                      {"Tc", Finito(stati[k].Tc_s, "Tc")}};
    return TestoJson(j) + "\n";
}

TEST(LottoUscita, RowsAreTheGeneralWritersBytes) {
    std::mt19937 rng(22);
    for (int i = 0; i < test::Campione(20000); ++i) {
        TGIS_DatiOut d{};
        d.NumVert = static_cast<int32_t>(rng() % 5);
        for (int k = 0; k < 4; ++k) // packed: no references to the fields
            d.NumPunti[k] = static_cast<int32_t>(rng() % 60000);
        for (TGIS_ParZS* p : {&d.SLO, &d.SLD, &d.SLV, &d.SLC}) {
            p->Tr = static_cast<float>(30 + rng() % 2446);
            p->ag = Reale(rng), p->Fo = Reale(rng), p->Tc_s = Reale(rng);
        }
        const float lon = Reale(rng), lat = Reale(rng);
        const RigaLotto s{lon, lat, static_cast<int>(rng() % 10001), 1 + static_cast<int>(rng() % 4), false};
        const long n = static_cast<long>(rng() % 2000000);
        for (bool json : {false, true}) {
            std::string atteso, t = "prima\n";
            bool fallito = false;
            try {
                atteso = json ? RigaJsonAttesa(n, lon, lat, s, d) : RigaCsvAttesa(n, lon, lat, s, d);
            } catch (const Errore&) {
                fallito = true;
            }
            if (fallito) {
                EXPECT_THROW((json ? AggiungiRigaJson : AggiungiRigaCsv)(t, n, lon, lat, s, d), Errore);
                EXPECT_EQ(t, "prima\n"); // nothing of the row is left
            } else {
                (json ? AggiungiRigaJson : AggiungiRigaCsv)(t, n, lon, lat, s, d);
                ASSERT_EQ(t, "prima\n" + atteso);
            }
        }
    }
}

// Whole numbers take a shortcut past the general conversion.
TEST(LottoUscita, WholeNumbersAreTheFormattersText) {
    for (int i = -10; i <= 10010; ++i)
        for (float v : {static_cast<float>(i), static_cast<float>(i) + 0.5f, std::nextafter(static_cast<float>(i), 1e9f)}) {
            std::string t;
            AggiungiReale(t, v);
            ASSERT_EQ(t, TestoReale(v)) << v;
        }
    std::string t;
    AggiungiReale(t, -0.0f);
    EXPECT_EQ(t, "-0");
}

TEST(LottoUscita, MessagesAreQuotedAsTheWritersQuoteThem) {
    std::mt19937 rng(23);
    const std::string pezzi[] = {"a", ",", "\"", "\\", "\n", "\r", "\t", "è", "…", "\x01", "\x7F", "\xC3", "\xFF", " "};
    for (int i = 0; i < test::Campione(20000); ++i) {
        std::string m;
        for (int k = static_cast<int>(rng() % 12); k > 0; --k)
            m += pezzi[rng() % std::size(pezzi)];
        std::string j, c;
        AggiungiErroreJson(j, 7, m);
        ASSERT_EQ(j, TestoJson(Json{{"riga", 7L}, {"errore", m}}) + "\n") << m;
        AggiungiErroreCsv(c, 7, m);
        std::string q = m;
        if (m.find_first_of(",\"\n\r") != std::string::npos) {
            q = "\"";
            for (char x : m)
                q += x == '"' ? std::string("\"\"") : std::string(1, x);
            q += "\"";
        }
        ASSERT_EQ(c, "7," + q + "\n");
    }
}

struct Esito {
    int codice;
    std::string out, err;
};

Esito Lotto(const std::string& ingresso, Parole args) {
    args.insert(args.begin(), "lotto");
    args.push_back("--dati");
    args.push_back(test::CartellaDati().string());
    std::istringstream in(ingresso);
    std::ostringstream out, err;
    Flussi f{in, out, err};
    return {Principale(args, f), out.str(), err.str()};
}

// Many blocks of rows, good and bad, on one, two and three threads: the same
// bytes on both streams, and --rigoroso stops at the same row.
TEST(Lotto, BlocksOnManyThreadsGiveTheBytesOfOne) {
    std::mt19937 rng(24);
    std::string in = "lon;lat;vn\n";
    for (int i = 0; i < 40000; ++i) { // three blocks
        switch (rng() % 10) {
        case 0: in += "x;42;50\n"; break;                                  // not a number
        case 1: in += "# a note\n\n"; break;                               // skipped lines
        case 2: in += "\"13,4\";\"42,35\";\"7\"\r\n"; break;               // quoted, decimal comma, CRLF
        default:
            in += std::to_string(6.5 + (rng() % 12100) / 1000.0) + ";" + std::to_string(36.6 + (rng() % 10500) / 1000.0) +
                  ";" + std::to_string(rng() % 200) + "\n";
        }
    }
    in += "13,4;42,35"; // the last line has no line break
    const Esito uno = Lotto(in, {"--thread", "1"});
    EXPECT_EQ(uno.codice, 1);
    EXPECT_GT(std::count(uno.out.begin(), uno.out.end(), '\n'), 34000);
    for (const char* t : {"2", "3"}) {
        const Esito e = Lotto(in, {"--thread", t});
        EXPECT_EQ(e.codice, uno.codice);
        EXPECT_EQ(e.out, uno.out) << t << " threads";
        EXPECT_EQ(e.err, uno.err) << t << " threads";
    }
    // A bad row well past the first block stops the run there, whatever
    // the threads: every row before it lies on land.
    const GrigliaSismica griglia(test::CartellaDati() / "GeoDati.dat");
    CalcolatoreSismico calc(griglia);
    std::string terra = "lon,lat\n";
    for (int i = 0; i < 40000;) {
        const int n = 1 + static_cast<int>(rng() % NumNodi);
        const std::string lon = std::to_string(griglia.Dati().Lon(0, n)), lat = std::to_string(griglia.Dati().Lat(0, n));
        TGIS_DatiOut d;
        if (calc.Calcola(Norm_DM2008, std::stof(lon), std::stof(lat), 50, 2, d).numNodi < 3)
            continue; // on the grid's border
        terra += lon + "," + lat + "\n";
        if (i++ == 30000)
            terra += "13.4,420\n";
    }
    const Esito r1 = Lotto(terra, {"--rigoroso", "--thread", "1"});
    const Esito r2 = Lotto(terra, {"--rigoroso", "--thread", "2"});
    EXPECT_EQ(r1.codice, 1);
    EXPECT_EQ(r2.out, r1.out);
    EXPECT_EQ(r2.err, r1.err);
    EXPECT_EQ(r1.out.substr(r1.out.rfind('\n', r1.out.size() - 2) + 1).rfind("30003,", 0), 0u) << r1.err.substr(0, 300);
    EXPECT_NE(r1.err.find("interrotto da --rigoroso"), std::string::npos);
}

// Lines longer than the reader's buffer, and line ends of every kind.
TEST(Lotto, LongLinesAndLineEnds) {
    const std::string lunga = "# " + std::string(3 << 20, 'z') + "\n";
    const Esito e = Lotto("lon,lat\n" + lunga + "13.4,42.35\r\n\n13.5,42.4,\"a\nb\"\n" + lunga + "13.6,42.5", {});
    EXPECT_EQ(e.codice, 0) << e.err;
    std::istringstream righe(e.out);
    std::string r;
    std::vector<std::string> v;
    while (std::getline(righe, r))
        v.push_back(r.substr(0, r.find(',')));
    EXPECT_EQ(v, (std::vector<std::string>{"riga", "3", "5", "8"}));
}

} // namespace
} // namespace veltrano::cli
