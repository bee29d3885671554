// TFStileLayer, the point-style picker of the grid layer, without a
// toolkit: a borderless column of buttons, "Chiudi" and the seven point
// styles in the order of the point types (map/pittore.h TTipoPunto). A front
// end shows it modally at the form's left + 120, top + 175, reports the
// button pressed (Premuto) and closes it; the form then asks
// getTipoStilePunto for the style. Esc counts as "Chiudi".
#pragma once

#include <array>

namespace veltrano::mappa {

class TFStileLayer {
public:
    static constexpr int Larghezza = 122, Altezza = 196; // [px]
    static constexpr int ScostamentoX = 120, ScostamentoY = 175; // from the form's top-left corner [px]
    static constexpr int NumVoci = 8;
    /// The buttons top to bottom: item 0 closes, items 1..7 are the styles.
    static const std::array<const char*, NumVoci> Voci;

    /// indTipoPunto: the item chosen last (0: none yet).
    explicit TFStileLayer(int ultimo) : indTipoPunto(ultimo) {}

    /// Button n pressed; a style (1..7) becomes indTipoPunto, anything else
    /// leaves it. Every button closes the picker.
    void Premuto(int n) {
        if (n >= 1 && n < NumVoci)
            indTipoPunto = n;
    }

    /// The point type of item (1..7 give item - 1 and set indImm to the same;
    /// anything else gives 0, a square, and leaves indImm).
    static int getTipoStilePunto(int item, int& indImm) {
        if (item >= 1 && item < NumVoci) {
            indImm = item - 1;
            return item - 1;
        }
        return 0;
    }

    int indTipoPunto;
};

inline constexpr std::array<const char*, TFStileLayer::NumVoci> TFStileLayer::Voci{
    "Chiudi", "Quadrato", "Cerchio", "Rombo", "Triangolo su", "Triangolo giù", "Triangolo a sinistra",
    "Triangolo a destra"};

} // namespace veltrano::mappa
