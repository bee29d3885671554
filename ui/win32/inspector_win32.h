// A two-column property list for the Win32 dialog: captions on the left,
// the editors (drop-down lists, edits, spins, check boxes, radio items,
// buttons) on the right, headings across, scrolled when taller than its
// window. Built from one of the item tables of dialog/controlli.h; every
// editor's id is IdDi(its control). Its editors' notifications reach the
// dialog window, which hands them back to Comando.
#pragma once

#include "dialog/controlli.h"
#include "map/pittore.h"

#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace veltrano::ui {

class TFMapMainWin32;

class TInspectorWin32 {
public:
    TInspectorWin32(TFMapMainWin32& finestra, HWND padre, const char* nome,
                    const std::vector<dialogo::TDefinizioneItem>& items, HFONT font, HFONT grassetto);
    ~TInspectorWin32();
    TInspectorWin32(const TInspectorWin32&) = delete;
    TInspectorWin32& operator=(const TInspectorWin32&) = delete;

    HWND Finestra() const { return hwnd_; }
    bool Contiene(dialogo::TControllo c) const { return indice_.count(c) > 0; }
    HWND Editor(dialogo::TControllo c) const;
    /// The height that shows every visible row [px].
    int AltezzaPiena() const;

    void ImpostaTesto(dialogo::TControllo c, const std::wstring& testo);
    void ImpostaCaption(dialogo::TControllo c, const std::wstring& caption);
    void ImpostaElementi(dialogo::TControllo c, const std::vector<std::wstring>& elementi);
    void ImpostaIndice(dialogo::TControllo c, int indice);
    void ImpostaAbilitato(dialogo::TControllo c, bool abilitato);
    void ImpostaVisibile(dialogo::TControllo c, bool visibile);
    void ImpostaSolaLettura(dialogo::TControllo c, bool solaLettura);
    void ImpostaPremuto(dialogo::TControllo c, bool premuto);
    void ImpostaColore(dialogo::TControllo c, mappa::TColore colore);
    /// A button item's picture: the glyph of point style immagine (-1: none).
    void ImpostaImmagine(dialogo::TControllo c, int immagine);
    /// Closes an open drop-down list.
    void FineModifica();
    void Seleziona(dialogo::TControllo c);

    /// An editor's notification (WM_COMMAND), forwarded to the form.
    void Comando(dialogo::TControllo c, int notifica);
    /// Paints a button item (a colour swatch, or its glyph and its text).
    void DisegnaPulsante(const DRAWITEMSTRUCT& d);
    void Disponi();

private:
    struct Riga {
        dialogo::TDefinizioneItem def;
        HWND caption = nullptr, editor = nullptr, frecce = nullptr;
        int livello = 0, immagine = -1;
        bool visibile = true, haColore = false;
        mappa::TColore colore = 0;
    };
    TFMapMainWin32& finestra_;
    HWND hwnd_ = nullptr;
    HFONT font_, grassetto_;
    std::vector<Riga> righe_;
    std::map<dialogo::TControllo, std::size_t> indice_;
    int scorrimento_ = 0;

    static LRESULT CALLBACK Procedura(HWND h, UINT m, WPARAM w, LPARAM l);
    Riga* R(dialogo::TControllo c);
    bool Visibile(const Riga& r) const;
    void Scorri(int nuovo);
};

} // namespace veltrano::ui
