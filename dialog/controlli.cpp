#include "dialog/controlli.h"

#include "dialog/testi.h"
#include "map/amministrativi.h"

#include <array>
#include <map>

namespace veltrano::dialogo {

namespace {

constexpr std::array<const char*, NumControlli> Nomi{
#define VELTRANO_NOME(n) #n,
    VELTRANO_CONTROLLI(VELTRANO_NOME)
#undef VELTRANO_NOME
};

using C = TControllo;
using T = TTipoItem;
constexpr C Radice = C::Nessuno;

std::vector<std::string> Regioni() {
    std::vector<std::string> r{testi::SceltaRegione};
    for (const char* n : mappa::ElencoRegioni)
        r.emplace_back(n);
    return r;
}

} // namespace

const char* NomeControllo(TControllo c) {
    const int i = static_cast<int>(c);
    return i >= 0 && i < NumControlli ? Nomi[static_cast<std::size_t>(i)] : "";
}

TControllo ControlloDaNome(const std::string& nome) {
    static const std::map<std::string, TControllo> perNome = [] {
        std::map<std::string, TControllo> m;
        for (int i = 0; i < NumControlli; ++i)
            m[Nomi[static_cast<std::size_t>(i)]] = static_cast<TControllo>(i);
        return m;
    }();
    const auto it = perNome.find(nome);
    return it == perNome.end() ? TControllo::Nessuno : it->second;
}

const std::vector<TDefinizioneItem>& ItemsSito() {
    static const std::vector<TDefinizioneItem> v{
        {C::CatSito, Radice, T::Categoria, testi::CatSito, "", {}},
        {C::Radiogroup1, C::CatSito, T::Lista, "Modalità", "", {"per Coordinate", "per Località", "Utente"}},
        {C::NxRadioItem1, C::Radiogroup1, T::Radio, "WGS84",
         "Inserimento coordinate nel sistema di riferimento WGS84 ", {}},
        {C::NxRadioItem2, C::Radiogroup1, T::Radio, "ED50", "Inserimento coordinate nel sistema di riferimento ED50",
         {}},
        {C::cmb_Reg, C::CatSito, T::Lista, "Regione", "Inserire la regione del sito", Regioni()},
        {C::cmb_Prov, C::CatSito, T::Lista, "Provincia", "Inserire la provincia del sito", {testi::SceltaProvincia}},
        {C::cmb_Com, C::CatSito, T::ListaScrivibile, "Comune", "Inserire il comune del sito", {testi::SceltaComune}},
        {C::cmb_ComUt, C::CatSito, T::Lista, "Località Utente", "Località utente salvate", {testi::SceltaLocalita}},
        {C::Edit1, C::CatSito, T::Testo, "Longitudine (WGS84) [°]", "Longitudine in sistema WGS84", {}},
        {C::Edit2, C::CatSito, T::Testo, "Latitudine (WGS84) [°]", "Latitudine in sistema WGS84", {}},
        {C::NxTextItem5, C::CatSito, T::Testo, "Longitudine (ED50) [°]", "Longitudine in sistema ED50", {}},
        {C::NxTextItem6, C::CatSito, T::Testo, "Latitudine (ED50) [°]", "Latitudine in sistema ED50", {}},
        {C::NxTextItem7, C::CatSito, T::Testo, "Altezza s.l.m. [m]", "", {}},
        {C::NxTextItem8, C::CatSito, T::Testo, testi::DistanzaKm, "", {}},
        {C::CatOpera, Radice, T::Categoria, testi::CatOpera, "", {}},
        {C::ComboBox1, C::CatOpera, T::Lista, "Classe d'uso", "Cliccare per determinare la classe d'uso dell'opera",
         {"I", "II", "III", "IV"}},
        {C::ComboBox2, C::CatOpera, T::Lista, "Vita nominale", "Cliccare per determinare la vita nominale dell'opera",
         {testi::CategorieVN[0], testi::CategorieVN[1], testi::CategorieVN[2]}},
        {C::EditEx3, C::CatOpera, T::Testo, "Valore [anni]", "Vita nominale in anni", {}},
        {C::CatIndirizzo, Radice, T::Categoria, testi::CatIndirizzo, "", {}},
    };
    return v;
}

const std::vector<TDefinizioneItem>& ItemsSitoUtente() {
    static const std::vector<TDefinizioneItem> v{
        {C::edComUt, Radice, T::Testo, "Inserire Nome", "", {}},
        {C::EdLongUt, Radice, T::Testo, "Inserire Longitudine [°]", "", {}},
        {C::EdLatUt, Radice, T::Testo, "Inserire Latitudine [°]", "", {}},
    };
    return v;
}

const std::vector<TDefinizioneItem>& ItemsOpzioniAmministrative() {
    static const std::vector<TDefinizioneItem> v = [] {
        std::vector<TDefinizioneItem> r;
        auto gruppo = [&r](C casella, const char* titolo, C spin, C bordo, C riempimento, C nomi, C carattere) {
            r.push_back({casella, Radice, T::CategoriaCasella, titolo, "", {}});
            r.push_back({spin, casella, T::Spin, "Spessore bordo", "", {}, 1, 10, 1, 2});
            r.push_back({bordo, casella, T::Pulsante, "Colore bordo", "", {""}});
            r.push_back({riempimento, casella, T::Pulsante, "Colore riempimento", "", {""}});
            r.push_back({nomi, casella, T::Casella, "Nomi", "", {}});
            r.push_back({carattere, casella, T::Pulsante, "Carattere", "", {"..."}});
        };
        gruppo(C::CB_VisReg, "REGIONI", C::SE_SpessBReg, C::NxToolbarItem1, C::NxToolbarItem2, C::CB_VisNomiReg,
               C::NxToolbarItem7);
        gruppo(C::CB_VisProv, "PROVINCE", C::SE_SpessBProv, C::NxToolbarItem4, C::NxToolbarItem5, C::CB_VisNomiProv,
               C::NxToolbarItem8);
        gruppo(C::CB_VisCom, "COMUNI", C::SE_SpessBCom, C::NxToolbarItem6, C::NxToolbarItem9, C::CB_VisNomiCom,
               C::NxToolbarItem10);
        return r;
    }();
    return v;
}

const std::vector<TDefinizioneItem>& ItemsOpzioniGeografiche() {
    static const std::vector<TDefinizioneItem> v = [] {
        std::vector<std::string> tr;
        for (const char* t : testi::TempiRitorno)
            tr.emplace_back(t);
        return std::vector<TDefinizioneItem>{
            {C::CB_VisGriglia, Radice, T::CategoriaCasella, "GRIGLIA", "", {}},
            {C::SE_DimPntGriglia, C::CB_VisGriglia, T::Spin, "Dimensione punti", "", {}, 1, 10, 1, 5},
            {C::CB_VisEticPnt, C::CB_VisGriglia, T::Casella, "Valori", "", {}},
            {C::NxComboBoxItem1, C::CB_VisGriglia, T::Lista, "Tempo di ritorno", "", tr},
            {C::SB_StilePnt, C::CB_VisGriglia, T::Pulsante, "Stile punti", "", {""}},
            {C::NxToolbarItem3, C::CB_VisGriglia, T::Pulsante, "Carattere", "", {"..."}},
            {C::CheckBox3, Radice, T::CategoriaCasella, "LAGHI E FIUMI", "", {}},
            {C::SpinEdit3, C::CheckBox3, T::Spin, "Spessore bordo", "", {}, 1, 10, 1, 1},
            {C::SpeedButton9, C::CheckBox3, T::Pulsante, "Colore bordo", "", {""}},
            {C::SpeedButton10, C::CheckBox3, T::Pulsante, "Colore riempimento", "", {""}},
            {C::CheckBox5, Radice, T::CategoriaCasella, "STRADE", "", {}},
            {C::SpinEdit5, C::CheckBox5, T::Spin, "Spessore", "", {}, 1, 10, 1, 1},
            {C::SpeedButton12, C::CheckBox5, T::Pulsante, "Colore", "", {""}},
        };
    }();
    return v;
}

const std::vector<TDefinizionePulsante>& PulsantiToolbar() {
    static const std::vector<TDefinizionePulsante> v{
        {C::TB_Hint, "Attiva calcolo istantaneo", true, 0},
        {C::TB_Punt, "Seleziona sito", true, 1},
        {C::TB_Admin, "Seleziona tipologia amministrazione", true, 1},
        {C::Nessuno, nullptr, false, 0},
        {C::TB_ZoomPiu, "Zoom Più", true, 2},
        {C::TB_ZoomMeno, "Zoom Meno", true, 2},
        {C::TB_Pan, "Pan", true, 2},
        {C::TB_ZoomTutto, "Zoom tutto cartina", false, 0},
        {C::TB_ZoomPrec, "Zoom precedente", false, 0},
        {C::Nessuno, nullptr, false, 0},
        {C::TB_Opzioni, "Opzioni elementi amministrativi", false, 0},
        {C::TB_Griglia, "Opzioni elementi geografici", false, 0},
        {C::ToolButton18, "Salva Opzioni", false, 0},
        {C::Nessuno, nullptr, false, 0},
        {C::TB_SalvaImm, "Salva cartina", false, 0},
        {C::TB_StampaImm, "Stampa cartina", false, 0},
        {C::Nessuno, nullptr, false, 0},
        {C::TB_Avvertenze, "Avvertenze", false, 0},
        {C::TB_Help, "Help", false, 0},
    };
    return v;
}

const std::vector<TDefinizionePulsante>& PulsantiToolbarMappa() {
    static const std::vector<TDefinizionePulsante> v{
        {C::TB_Map, "Visualizza Mappe Tavrel", true, 3},
        {C::TB_Google, "Visualizza Mappa On-Line", true, 3},
        {C::TB_Spettri, "Visualizza Spettri di Risposta", false, 0},
    };
    return v;
}

const std::vector<TDefinizionePulsante>& PulsantiSitoUtente() {
    static const std::vector<TDefinizionePulsante> v{
        {C::ToolButton13, "Aggiungi località", false, 0},
        {C::ToolButton16, "Modifica località", true, 0},
        {C::ToolButton17, "Elimina località", false, 0},
    };
    return v;
}

const std::vector<TDefinizionePulsante>& PulsantiRisultati() {
    static const std::vector<TDefinizionePulsante> v{
        {C::ToolButton6, "Nascondi risultati", false, 0},
        {C::ToolButton10, "Salva risultati", false, 0},
        {C::ToolButton11, "Stampa risultati", false, 0},
        {C::TB_Relazione, "Relazione del sito (PDF)", false, 0},
    };
    return v;
}

const std::vector<TDefinizionePulsante>& PulsantiPannello() {
    static const std::vector<TDefinizionePulsante> v{
        {C::SB_CalcDist, "Calcola Distanza", true, 0},   {C::SB_Altitudine, "Calcola Altitudine", false, 0},
        {C::SB_LocUtente, "Gestione Località Utente", true, 0}, {C::SB_Applica, "APPLICA", false, 0},
        {C::SB_Chiudi, "CHIUDI", false, 0},            {C::SB_Annulla, "ANNULLA", false, 0},
    };
    return v;
}

bool InterruttoreToolbar(TControllo c) {
    for (const TDefinizionePulsante& d : PulsantiToolbar())
        if (d.id == c)
            return d.interruttore;
    return false;
}

const std::vector<TMenu>& Menu() {
    static const std::vector<TMenu> v{
        {"&File",
         {{"&Salva risultati", C::ToolButton10, nullptr},
          {"S&tampa risultati", C::ToolButton11, nullptr},
          {nullptr, C::Nessuno, nullptr},
          {"S&alva cartina", C::TB_SalvaImm, nullptr},
          {"Sta&mpa cartina", C::TB_StampaImm, nullptr},
          {nullptr, C::Nessuno, nullptr},
          {"Relazione del sit&o (PDF)...", C::TB_Relazione, nullptr},
          {nullptr, C::Nessuno, nullptr},
          {"&Esci", C::Action9, nullptr}}},
        {"&Zoom",
         {{"&Zoom più", C::TB_ZoomPiu, nullptr},
          {"Z&oom meno", C::TB_ZoomMeno, nullptr},
          {"&Pan", C::TB_Pan, nullptr},
          {"Zoo&m tutto cartina", C::TB_ZoomTutto, nullptr},
          {"Zoom &tutto griglia", C::Nessuno, nullptr},
          {"Zoom p&recedente", C::TB_ZoomPrec, nullptr}}},
        {"&Visualizza", {{"&Griglia", C::TB_Griglia, nullptr}, {"&Visualizza numeri griglia", C::Nessuno, nullptr}}},
        {"&Help", {{"&Avvertenze", C::TB_Avvertenze, nullptr}, {"&Help in linea", C::TB_Help, "F1"}}},
    };
    return v;
}

} // namespace veltrano::dialogo
