// The Windows test host of the site dialog, run under wine64: a host window,
// then VisualizzaDialog for each run of scenari_dialogo.h, driven from a
// second thread as a user would through the controls' own messages (the
// lists of "Modalità" and of the municipalities, CHIUDI, Escape; the option
// panels, the names with their progress dialog, the point-style picker, a
// distance measured with the mouse on the map). Each returned record must
// equal the one the native form returned for the same run, to the byte; the
// confirmed run must write its picture; the library must carry its cursors.
// Usage: host_dialogo.exe DLL_FOLDER\ EXPECTED WORK_FOLDER\
// With VELTRANO_SCHERMATE set, each run waits with the dialog open until
// WORK_FOLDER\scattato_<run> exists (after writing aperto_<run>), so that a
// script can take a screenshot.
#include "dialog/controlli.h"
#include "map/cursori.h"
#include "tests/windows/scenari_dialogo.h"

#include <windows.h>
#include <commctrl.h>

#include <cmath>
#include <cstdio>
#include <cwchar>
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
    DWORD threadDialogo;
    HMODULE dll;
    bool proprietarioGiusto = false, ospiteDisabilitato = false, controlliTrovati = false;
};

using veltrano::dialogo::TControllo;
namespace mappa = veltrano::mappa;

// The command of a toolbar button, menu entry or control, as the Win32 front
// end numbers them (IdDi in ui/win32/TFMapMainWin32.h).
int IdDi(TControllo c) { return 1000 + static_cast<int>(c); }

// Messages to the dialog's windows wait for its thread, never for ever.
LRESULT Invia(HWND h, UINT m, WPARAM w = 0, LPARAM l = 0) {
    DWORD_PTR r = 0;
    SendMessageTimeoutW(h, m, w, l, SMTO_NORMAL, 60000, &r);
    return static_cast<LRESULT>(r);
}

std::wstring Testo(HWND h) {
    std::wstring t(static_cast<std::size_t>(Invia(h, WM_GETTEXTLENGTH)) + 1, L'\0');
    t.resize(static_cast<std::size_t>(Invia(h, WM_GETTEXT, t.size(), reinterpret_cast<LPARAM>(t.data()))));
    return t;
}

std::wstring TestoStato(HWND stato, int parte) {
    std::wstring t(static_cast<std::size_t>(LOWORD(Invia(stato, SB_GETTEXTLENGTHW, parte))) + 1, L'\0');
    t.resize(LOWORD(Invia(stato, SB_GETTEXTW, parte, reinterpret_cast<LPARAM>(t.data()))));
    return t;
}

// A toolbar button clicked: its command from its toolbar.
void PremiBarra(HWND d, const char* barra, TControllo c) {
    Invia(d, WM_COMMAND, MAKEWPARAM(IdDi(c), BN_CLICKED), reinterpret_cast<LPARAM>(Controllo(d, barra)));
}

bool Spuntato(HWND h) { return h && Invia(h, BM_GETCHECK) == BST_CHECKED; }

// A top-level window of the class that is (or is no longer) on screen.
HWND AttendiClasse(const wchar_t* classe, bool presente, int ms) {
    for (int i = 0; i < ms; ++i) {
        HWND h = FindWindowW(classe, nullptr);
        if ((h && IsWindowVisible(h)) == presente)
            return presente ? h : reinterpret_cast<HWND>(1);
        Sleep(1);
    }
    return nullptr;
}

// The pointer's map position from the status bar's first panel
// ("Longitudine = 13.4000° - Latitudine = 42.3500°").
bool Posizione(HWND stato, double& lon, double& lat) {
    const std::wstring t = TestoStato(stato, 0);
    const auto i = t.find(L"Latitudine = ");
    return std::swscanf(t.c_str(), L"Longitudine = %lf", &lon) == 1 && i != std::wstring::npos &&
           std::swscanf(t.c_str() + i, L"Latitudine = %lf", &lat) == 1;
}

// The distance rule of the tool, restated: a flat earth of 69.172 statute
// miles to the degree, the cosine at the end point's latitude [km].
double DistanzaKm(double lon0, double lat0, double lon1, double lat1) {
    const double dy = std::fabs(lat1 - lat0) * 69.172;
    const double dx = std::fabs(lon1 - lon0) * 69.172 * std::cos(3.14159265358979323846 * lat1 / 180);
    return std::sqrt(dx * dx + dy * dy) * 1.609344;
}

// With VELTRANO_SCHERMATE set: the dialog stays as it is until the script
// has taken its picture (nome: the run's name unless given).
void AttendiSchermata(const Guida& g, const char* nome = nullptr) {
    if (!std::getenv("VELTRANO_SCHERMATE"))
        return;
    if (!nome)
        nome = scenari::Tutti[g.scenario].nome;
    const std::wstring coda = L"_" + std::wstring(nome, nome + std::strlen(nome));
    CloseHandle(CreateFileW((g.lavoro + L"aperto" + coda).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0,
                            nullptr));
    for (int i = 0; i < 600 && GetFileAttributesW((g.lavoro + L"scattato" + coda).c_str()) == INVALID_FILE_ATTRIBUTES;
         ++i)
        Sleep(100);
}

// The names of the municipalities (with their progress dialog), the grid's
// points as upward triangles from the picker, then a measure: press on the
// map, drag, release.
bool NomiStileMisura(const Guida& g, HWND d) {
    bool ok = true;
    auto controlla = [&ok](bool c, const char* cosa) {
        if (!c) {
            std::printf("FALLITO misura: %s\n", cosa);
            ok = false;
        }
    };
    // "Opzioni elementi amministrativi": the municipalities and their names.
    PremiBarra(d, "ToolBarPrincipale", TControllo::TB_Opzioni);
    HWND comuni = Controllo(d, "CB_VisCom"), nomi = Controllo(d, "CB_VisNomiCom");
    controlla(comuni && nomi, "caselle dei comuni non trovate");
    if (!comuni || !nomi)
        return false;
    if (!Spuntato(comuni))
        Invia(comuni, BM_CLICK);
    PostMessageW(nomi, BM_CLICK, 0, 0);
    HWND progresso = AttendiClasse(L"VeltranoProgresso", true, 30000);
    controlla(progresso != nullptr, "nessuna finestra di avanzamento mentre si caricano i nomi");
    if (progresso) {
        const std::wstring t = Testo(Controllo(progresso, "Testo"));
        // Gone before its text could be read: nothing to hold against it.
        if (!t.empty() || IsWindow(progresso))
            controlla(t == L"Carico i nomi dei Comuni...", "testo dell'avanzamento");
        std::printf("avanzamento: \"%ls\"\n", t.c_str());
    }
    controlla(AttendiClasse(L"VeltranoProgresso", false, 120000) != nullptr, "l'avanzamento non si chiude");
    controlla(Spuntato(nomi) && IsWindowEnabled(d), "nomi non attivi dopo il caricamento");

    // "Opzioni elementi geografici" hides the grid; its box shows it again.
    PremiBarra(d, "ToolBarPrincipale", TControllo::TB_Griglia);
    HWND griglia = Controllo(d, "CB_VisGriglia"), stile = Controllo(d, "SB_StilePnt");
    controlla(griglia && stile, "controlli della griglia non trovati");
    if (!griglia || !stile)
        return false;
    if (Spuntato(griglia))
        Invia(griglia, BM_CLICK);
    Invia(griglia, BM_CLICK);
    PostMessageW(stile, BM_CLICK, 0, 0);
    HWND selettore = AttendiClasse(L"VeltranoStileLayer", true, 10000);
    controlla(selettore != nullptr, "il selettore dello stile non si apre");
    if (selettore) {
        RECT s{}, f{};
        GetWindowRect(selettore, &s);
        GetWindowRect(d, &f);
        controlla(s.left == f.left + 120 && s.top == f.top + 175 && s.bottom - s.top == 196,
                  "posizione o altezza del selettore");
        AttendiSchermata(g, "stile");
        PostMessageW(Controllo(selettore, "Voce4"), BM_CLICK, 0, 0); // "Triangolo su"
        controlla(AttendiClasse(L"VeltranoStileLayer", false, 10000) != nullptr, "il selettore non si chiude");
    }

    // The measures, from the site ('per Coordinate' with a site set).
    HWND mappa = Controllo(d, "Map"), stato = Controllo(d, "StatusBar1"), distanza = Controllo(d, "NxTextItem8");
    HWND strumento = Controllo(d, "SB_CalcDist");
    controlla(mappa && stato && distanza && strumento, "mappa o riga della distanza non trovate");
    if (!mappa || !stato || !distanza || !strumento)
        return false;
    const double lonS = std::wcstod(Testo(Controllo(d, "Edit1")).c_str(), nullptr);
    const double latS = std::wcstod(Testo(Controllo(d, "Edit2")).c_str(), nullptr);
    const bool dalSito = Invia(Controllo(d, "Radiogroup1"), CB_GETCURSEL) == 0 && (lonS != 0 || latS != 0);
    const std::string croce = std::string("32B_") + mappa::NomiCursori[mappa::CursoreCroceNorm - 1];
    // One gesture: the tool on, press at (x0, y0), drag to (x1, y1), release;
    // the end point's map position is left in lon1, lat1.
    auto misura = [&](int x0, int y0, int x1, int y1, double& lon1, double& lat1) {
        Invia(strumento, BM_CLICK);
        controlla(Spuntato(strumento), "Calcola Distanza non resta premuto");
        double lonP = 0, latP = 0;
        Invia(mappa, WM_MOUSEMOVE, 0, MAKELPARAM(x0, y0));
        Posizione(stato, lonP, latP);
        Invia(mappa, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x0, y0));
        Invia(mappa, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x1, y1));
        controlla(Posizione(stato, lon1, lat1), "posizione del puntatore illeggibile");
        // While measuring, the map shows the library's cross.
        AttachThreadInput(GetCurrentThreadId(), g.threadDialogo, TRUE);
        Invia(mappa, WM_SETCURSOR, reinterpret_cast<WPARAM>(mappa), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        const HCURSOR cursore = GetCursor();
        AttachThreadInput(GetCurrentThreadId(), g.threadDialogo, FALSE);
        controlla(cursore && cursore == LoadCursorA(g.dll, croce.c_str()), "il cursore della misura non è la croce");
        Invia(mappa, WM_LBUTTONUP, 0, MAKELPARAM(x1, y1));
        controlla(!Spuntato(strumento), "lo strumento non si spegne dopo una misura");

        const double km = dalSito ? DistanzaKm(lonS, latS, lon1, lat1) : DistanzaKm(lonP, latP, lon1, lat1);
        const std::wstring riga = Testo(distanza);
        // The row's caption is the window made just before its editor.
        const std::wstring didascalia = Testo(GetWindow(distanza, GW_HWNDPREV));
        const bool metri = km <= 1.0;
        // The status bar rounds the pointer to 1e-4 degrees: about 10 m.
        controlla(std::fabs(std::wcstod(riga.c_str(), nullptr) - (metri ? km * 1000 : km)) <= (metri ? 20 : 0.02),
                  "distanza scritta nella riga");
        controlla(didascalia == (metri ? L"Distanza dalla costa [m]" : L"Distanza dalla costa [km]"),
                  "didascalia della riga della distanza");
        std::printf("misura: %.3f km dal %s (%.4f %.4f) a (%.4f %.4f), riga %ls (%ls)\n", km,
                    dalSito ? "sito" : "punto premuto", dalSito ? lonS : lonP, dalSito ? latS : latP, lon1, lat1,
                    riga.c_str(), didascalia.c_str());
        return km;
    };
    RECT r{};
    GetClientRect(mappa, &r);
    const int x0 = r.right / 2, y0 = r.bottom / 2, x1 = r.right * 3 / 4, y1 = r.bottom * 5 / 8;
    double lonA = 0, latA = 0, lonB = 0, latB = 0, lon = 0, lat = 0;
    // To the map's centre, then a quarter of it farther (kilometres): the
    // map's scale follows from the two ends.
    misura(x0, y0, x0, y0, lonA, latA);
    misura(x0, y0, x1, y1, lonB, latB);
    if (dalSito && lonB != lonA && latB != latA) {
        // Metres: a few pixels from the site.
        const int xs = x0 + static_cast<int>(std::lround((lonS - lonA) / (lonB - lonA) * (x1 - x0)));
        const int ys = y0 + static_cast<int>(std::lround((latS - latA) / (latB - latA) * (y1 - y0)));
        controlla(misura(xs, ys, xs + 3, ys + 2, lon, lat) <= 1.0, "la misura corta non resta sotto il chilometro");
    }
    // The long one again, on screen for the picture.
    misura(x0, y0, x1, y1, lon, lat);
    return ok;
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
    } else if (g->scenario == scenari::ScenarioMisura) {
        g->controlliTrovati = NomiStileMisura(*g, d);
        AttendiSchermata(*g);
        PostMessageW(d, WM_KEYDOWN, VK_ESCAPE, 0);
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
    // The nine cursors in their three sets, as cursor resources of the library.
    for (const char* prefisso : mappa::PrefissiCursori)
        for (const char* nome : mappa::NomiCursori) {
            const std::string risorsa = std::string(prefisso) + nome;
            CONTROLLA(FindResourceA(dll, risorsa.c_str(), MAKEINTRESOURCEA(12)) != nullptr, // RT_GROUP_CURSOR
                      "cursore %s mancante nella libreria", risorsa.c_str());
        }

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
        Guida g{static_cast<int>(s), lavoro, ospite, GetCurrentThreadId(), dll};
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
