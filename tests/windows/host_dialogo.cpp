// The Windows test host of the site dialog, run under wine64: a host window,
// then VisualizzaDialog for each run of scenari_dialogo.h, driven from a
// second thread as a user would through the controls' own messages (the
// lists of "Modalità" and of the municipalities, CHIUDI, Escape). Each
// returned record must equal the one the native form returned for the same
// run, to the byte; the confirmed run must write its picture.
// Usage: host_dialogo.exe DLL_FOLDER\ EXPECTED WORK_FOLDER\
// With VELTRANO_SCHERMATE set, each run waits with the dialog open until
// WORK_FOLDER\scattato_<run> exists (after writing aperto_<run>), so that a
// script can take a screenshot.
#include "tests/windows/scenari_dialogo.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

using TVisualizza = void(VELTRANO_STDCALL*)(void*, int32_t, uint8_t, int32_t, uint32_t, VelStringa, TGIS_DatiOut*);
using TDaUtf8 = VelStringa(VELTRANO_STDCALL*)(const char*);
using TRilascia = void(VELTRANO_STDCALL*)(VelStringa*);

int errori = 0;
#define CONTROLLA(c, ...)                                                                                       \
    do {                                                                                                        \
        if (!(c)) {                                                                                             \
            std::printf("FALLITO (%s:%d): ", __FILE__, __LINE__);                                               \
            std::printf(__VA_ARGS__);                                                                           \
            std::printf("\n");                                                                                  \
            ++errori;                                                                                           \
        }                                                                                                       \
    } while (0)

struct Ricerca {
    const char* nome;
    HWND trovata;
};

BOOL CALLBACK CercaNome(HWND h, LPARAM l) {
    auto* r = reinterpret_cast<Ricerca*>(l);
    const auto* n = static_cast<const char*>(GetPropW(h, L"Nome"));
    if (n && std::strcmp(n, r->nome) == 0) {
        r->trovata = h;
        return FALSE;
    }
    return TRUE;
}

HWND Controllo(HWND finestra, const char* nome) {
    Ricerca r{nome, nullptr};
    EnumChildWindows(finestra, CercaNome, reinterpret_cast<LPARAM>(&r));
    return r.trovata;
}

HWND AttendiDialogo() {
    for (int i = 0; i < 600; ++i) {
        HWND h = FindWindowW(L"VeltranoFMapMain", nullptr);
        if (h && IsWindowVisible(h) && IsWindowEnabled(h))
            return h;
        Sleep(100);
    }
    return nullptr;
}

// A list item chosen as the user would: the selection, then the list's
// notification that it closed on it.
bool Scegli(HWND combo, int indice) {
    if (!combo || indice < 0)
        return false;
    DWORD_PTR r = 0;
    SendMessageTimeoutW(combo, CB_SETCURSEL, static_cast<WPARAM>(indice), 0, SMTO_NORMAL, 20000, &r);
    return SendMessageTimeoutW(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELENDOK),
                               reinterpret_cast<LPARAM>(combo), SMTO_NORMAL, 60000, &r) != 0;
}

struct Guida {
    int scenario;
    std::wstring lavoro;
    HWND ospite;
    bool proprietarioGiusto = false, ospiteDisabilitato = false, controlliTrovati = false;
};

void AttendiSchermata(const Guida& g) {
    if (!std::getenv("VELTRANO_SCHERMATE"))
        return;
    const std::wstring nome = std::wstring(L"_") + std::wstring(scenari::Tutti[g.scenario].nome,
                                                               scenari::Tutti[g.scenario].nome +
                                                                   std::strlen(scenari::Tutti[g.scenario].nome));
    CloseHandle(CreateFileW((g.lavoro + L"aperto" + nome).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0,
                            nullptr));
    for (int i = 0; i < 600 && GetFileAttributesW((g.lavoro + L"scattato" + nome).c_str()) == INVALID_FILE_ATTRIBUTES;
         ++i)
        Sleep(100);
}

DWORD WINAPI Guida_(LPVOID p) {
    auto* g = static_cast<Guida*>(p);
    HWND d = AttendiDialogo();
    if (!d)
        return 1;
    g->proprietarioGiusto = GetWindow(d, GW_OWNER) == g->ospite;
    g->ospiteDisabilitato = !IsWindowEnabled(g->ospite);
    Sleep(300);
    if (g->scenario == 0) {
        HWND modo = Controllo(d, "Radiogroup1"), comuni = Controllo(d, "cmb_Com");
        g->controlliTrovati = modo && comuni && Scegli(modo, scenari::ModoLocalita);
        std::wstring nome(scenari::ComuneScelto, scenari::ComuneScelto + std::strlen(scenari::ComuneScelto));
        LRESULT i = CB_ERR;
        for (int k = 0; k < 100 && comuni && (i = SendMessageW(comuni, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                               reinterpret_cast<LPARAM>(nome.c_str()))) == CB_ERR;
             ++k)
            Sleep(100);
        g->controlliTrovati = g->controlliTrovati && Scegli(comuni, static_cast<int>(i));
        AttendiSchermata(*g);
        PostMessageW(Controllo(d, "SB_Chiudi"), BM_CLICK, 0, 0);
    } else if (g->scenario == 1) {
        AttendiSchermata(*g);
        // Escape ends the dialog as cancelled.
        PostMessageW(d, WM_KEYDOWN, VK_ESCAPE, 0);
        g->controlliTrovati = true;
    } else {
        AttendiSchermata(*g);
        HWND chiudi = Controllo(d, "SB_Chiudi");
        g->controlliTrovati = chiudi && IsWindowVisible(chiudi);
        PostMessageW(chiudi, BM_CLICK, 0, 0);
    }
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 4) {
        std::printf("uso: host_dialogo CARTELLA_DLL\\ ATTESI CARTELLA_LAVORO\\\n");
        return 2;
    }
    const std::wstring cartellaDll = argv[1], lavoro = argv[3];
    HMODULE dll = LoadLibraryW((cartellaDll + L"Veltrano_dll.dll").c_str());
    CONTROLLA(dll != nullptr, "Veltrano_dll.dll non si carica (%lu)", GetLastError());
    if (!dll)
        return 1;
    auto visualizza = reinterpret_cast<TVisualizza>(GetProcAddress(dll, "VisualizzaDialog"));
    auto daUtf8 = reinterpret_cast<TDaUtf8>(GetProcAddress(dll, "VeltranoStringaDaUtf8"));
    auto rilascia = reinterpret_cast<TRilascia>(GetProcAddress(dll, "VeltranoStringaRilascia"));
    CONTROLLA(visualizza && daUtf8 && rilascia, "esportazioni mancanti");
    if (!visualizza || !daUtf8 || !rilascia)
        return 1;
    std::ifstream in(argv[2], std::ios::binary);
    std::vector<char> attesi((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    constexpr std::size_t n = sizeof scenari::Tutti / sizeof scenari::Tutti[0];
    CONTROLLA(attesi.size() == n * sizeof(TGIS_DatiOut), "%zu byte attesi", attesi.size());
    if (attesi.size() != n * sizeof(TGIS_DatiOut))
        return 1;

    // The host's own window, active, as the dialog's owner.
    HWND ospite = CreateWindowExW(0, L"STATIC", L"Ospite", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200, nullptr,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
    SetActiveWindow(ospite);

    for (std::size_t s = 0; s < n; ++s) {
        const scenari::Scenario& sc = scenari::Tutti[s];
        TGIS_DatiOut d = scenari::Record(sc);
        const std::wstring immagineW = lavoro + L"sito " + std::to_wstring(s) + L".bmp";
        std::string immagine;
        for (wchar_t c : immagineW)
            immagine += static_cast<char>(c < 0x80 ? c : '?');
        VelStringa file = daUtf8(s == 0 ? immagine.c_str() : "");
        Guida g{static_cast<int>(s), lavoro, ospite};
        HANDLE t = CreateThread(nullptr, 0, Guida_, &g, 0, nullptr);
        visualizza(nullptr, sc.categoria, sc.classe, sc.vn, 0, file, &d);
        WaitForSingleObject(t, 30000);
        CloseHandle(t);
        rilascia(&file);
        CONTROLLA(g.controlliTrovati, "%s: controlli non trovati o non pilotati", sc.nome);
        CONTROLLA(g.proprietarioGiusto, "%s: la finestra non appartiene a quella dell'ospite", sc.nome);
        CONTROLLA(g.ospiteDisabilitato, "%s: la finestra dell'ospite resta attiva durante il dialogo", sc.nome);
        CONTROLLA(IsWindowEnabled(ospite), "%s: la finestra dell'ospite resta disabilitata", sc.nome);
        const char* a = attesi.data() + s * sizeof(TGIS_DatiOut);
        const auto* b = reinterpret_cast<const unsigned char*>(&d);
        std::size_t diversi = 0, primo = 0;
        for (std::size_t k = 0; k < sizeof d; ++k)
            if (static_cast<unsigned char>(a[k]) != b[k] && diversi++ == 0)
                primo = k;
        CONTROLLA(diversi == 0, "%s: %zu byte diversi dal modulo nativo, il primo a %zu", sc.nome, diversi, primo);
        if (s == 0) {
            std::ifstream bmp(immagineW.c_str(), std::ios::binary);
            char testa[26] = {};
            bmp.read(testa, sizeof testa);
            int32_t w = 0, h = 0;
            std::memcpy(&w, testa + 18, 4);
            std::memcpy(&h, testa + 22, 4);
            CONTROLLA(bmp && testa[0] == 'B' && testa[1] == 'M' && w > 50 && h != 0,
                      "%s: immagine del sito mancante o vuota (%d x %d)", sc.nome, w, h);
        }
        std::printf("%s: %s\n", sc.nome, diversi == 0 ? "uguale al modulo nativo" : "DIVERSO");
    }
    DestroyWindow(ospite);
    std::printf(errori ? "%d errori\n" : "dialogo conforme\n", errori);
    return errori ? 1 : 0;
}
