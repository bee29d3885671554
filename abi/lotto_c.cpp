#include "abi/lotto_c.h"

#include "abi/confine.h"

#include <algorithm>
#include <atomic>
#include <limits>
#include <vector>

#ifndef _WIN32
#  include <system_error>
#  include <thread>
#endif

namespace veltrano::abi {

namespace {

// Sites a worker takes at a time: large enough that the shared counter is
// rarely touched, small enough that the threads finish together.
constexpr std::size_t Blocco = 1024;

void ScriviSito(const VeltranoUscitaSiti& u, std::size_t i, const TGIS_DatiOut& d, bool valido) {
    const TGIS_ParZS* stati[4] = {&d.SLV, &d.SLC, &d.SLD, &d.SLO};
    for (std::size_t j = 0; j < 4; ++j) {
        const std::size_t k = 4 * i + j;
        if (u.ag) u.ag[k] = stati[j]->ag;
        if (u.Fo) u.Fo[k] = stati[j]->Fo;
        if (u.Tc_s) u.Tc_s[k] = stati[j]->Tc_s;
        if (u.Tr) u.Tr[k] = stati[j]->Tr;
        if (u.NumPunti) u.NumPunti[k] = d.NumPunti[j];
    }
    if (u.NumVert) u.NumVert[i] = d.NumVert;
    if (u.valido) u.valido[i] = valido ? 1 : 0;
    if (u.codici) u.codici[i] = VELTRANO_OK;
}

void ScriviFallito(const VeltranoUscitaSiti& u, std::size_t i, int codice) {
    constexpr float NaN = std::numeric_limits<float>::quiet_NaN();
    for (std::size_t k = 4 * i; k < 4 * i + 4; ++k) {
        if (u.ag) u.ag[k] = NaN;
        if (u.Fo) u.Fo[k] = NaN;
        if (u.Tc_s) u.Tc_s[k] = NaN;
        if (u.Tr) u.Tr[k] = NaN;
        if (u.NumPunti) u.NumPunti[k] = 0;
    }
    if (u.NumVert) u.NumVert[i] = 0;
    if (u.valido) u.valido[i] = 0;
    if (u.codici) u.codici[i] = codice;
}

// What one worker met: its first failing site, or a failure of the work.
struct EsitoLavoratore {
    FallimentoSito primo;
    std::exception_ptr errore;
};

class Lavoro {
public:
    Lavoro(const GrigliaSismica& g, const SitiC& s, const VeltranoUscitaSiti& u, unsigned lavoratori)
        : g_(g), s_(s), u_(u), esiti_(lavoratori) {}

    // Worker k: blocks of sites until none is left. Never throws; each
    // worker writes only its own record, so no lock is needed.
    void Esegui(unsigned k) noexcept {
        EsitoLavoratore& e = esiti_[k];
        try {
#ifdef _WIN32
            const PrecisioneEstesa precisione; // a new thread starts at the system's precision
#endif
            CalcolatoreSismico calc(g_);
            TGIS_DatiOut d{};
            for (;;) {
                const std::size_t inizio = prossimo_.fetch_add(Blocco);
                if (inizio >= s_.n)
                    break;
                const std::size_t fine = std::min(s_.n, inizio + Blocco);
                for (std::size_t i = inizio; i < fine; ++i)
                    Sito(calc, d, i, e.primo);
            }
        } catch (...) {
            e.errore = std::current_exception();
        }
    }

    // The first failure by site index, whichever worker met it.
    FallimentoSito Esito() {
        FallimentoSito primo;
        for (EsitoLavoratore& e : esiti_) {
            if (e.errore)
                std::rethrow_exception(e.errore);
            if (e.primo.codice != VELTRANO_OK && (primo.codice == VELTRANO_OK || e.primo.indice < primo.indice))
                primo = std::move(e.primo);
        }
        return primo;
    }

private:
    void Sito(CalcolatoreSismico& calc, TGIS_DatiOut& d, std::size_t i, FallimentoSito& primo) {
        const float lon = s_.Lon[i], lat = s_.Lat[i];
        EsitoSito esito;
        try {
            esito = calc.Calcola(s_.Normativa, lon, lat, s_.VN[i], s_.ClasseUso[i], d);
        } catch (const std::bad_alloc&) {
            throw; // the work itself failed, not this site
        } catch (...) {
            auto [codice, testo] = CodiceC(std::current_exception());
            ScriviFallito(u_, i, codice);
            if (primo.codice == VELTRANO_OK) // a worker meets its sites in increasing order
                primo = {codice, i, std::move(testo)};
            return;
        }
        // The engine's verdict: a grid cell, or an island's fixed values.
        ScriviSito(u_, i, d, esito.Valido());
    }

    const GrigliaSismica& g_;
    const SitiC& s_;
    const VeltranoUscitaSiti& u_;
    std::atomic<std::size_t> prossimo_{0};
    std::vector<EsitoLavoratore> esiti_;
};

#ifdef _WIN32
struct Avvio {
    Lavoro* lavoro;
    unsigned k;
};

DWORD WINAPI AvviaLavoro(LPVOID p) {
    const Avvio* a = static_cast<const Avvio*>(p);
    a->lavoro->Esegui(a->k);
    return 0;
}
#endif

unsigned NumeroThread(int richiesti, std::size_t n) {
    unsigned t = static_cast<unsigned>(richiesti);
    if (t == 0) {
#ifdef _WIN32
        SYSTEM_INFO si;
        GetSystemInfo(&si);
        t = si.dwNumberOfProcessors;
#else
        t = std::thread::hardware_concurrency();
#endif
    }
    const std::size_t blocchi = (n + Blocco - 1) / Blocco;
    return static_cast<unsigned>(std::clamp<std::size_t>(t, 1, std::max<std::size_t>(blocchi, 1)));
}

} // namespace

FallimentoSito CalcolaSitiC(const GrigliaSismica& g, const SitiC& siti, const VeltranoUscitaSiti& u, int thread) {
    const unsigned t = NumeroThread(thread, siti.n);
    Lavoro lavoro(g, siti, u, t);
    // The calling thread is worker 0. A thread that cannot be started only
    // leaves more work to the others: the results are the same.
#ifdef _WIN32
    std::vector<Avvio> avvii(t);
    std::vector<HANDLE> altri;
    for (unsigned k = 1; k < t; ++k) {
        avvii[k] = {&lavoro, k};
        if (HANDLE h = CreateThread(nullptr, 0, AvviaLavoro, &avvii[k], 0, nullptr))
            altri.push_back(h);
    }
    lavoro.Esegui(0);
    for (HANDLE h : altri) {
        WaitForSingleObject(h, INFINITE);
        CloseHandle(h);
    }
#else
    std::vector<std::thread> altri;
    for (unsigned k = 1; k < t; ++k) {
        try {
            altri.emplace_back(&Lavoro::Esegui, &lavoro, k);
        } catch (const std::system_error&) {
            break;
        }
    }
    lavoro.Esegui(0);
    for (std::thread& th : altri)
        th.join();
#endif
    return lavoro.Esito();
}

} // namespace veltrano::abi
