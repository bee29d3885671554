// The floating-point control word while the dialog is open: all exceptions
// masked, 64-bit precision, rounding to nearest (0x133F on the x87 unit),
// the host's word saved when the form is created and restored when it is
// destroyed. On processors without an x87 unit the whole floating-point
// environment is saved and restored, and left as it is in between.
#pragma once

#include <cfenv>
#include <cstdint>

namespace veltrano::dialogo {

inline constexpr uint16_t ParolaControlloDialogo = 0x133F;

/// The x87 control word (0 where there is none).
uint16_t LeggiParolaControllo();
/// Sets the x87 control word; no effect where there is none.
void ImpostaParolaControllo(uint16_t cw);

/// Saves the current word and environment and sets the dialog's word.
class TControlloFPU {
public:
    TControlloFPU();
    ~TControlloFPU();
    TControlloFPU(const TControlloFPU&) = delete;
    TControlloFPU& operator=(const TControlloFPU&) = delete;
    uint16_t Salvata() const { return Old8087CW_; }

private:
    uint16_t Old8087CW_;
    std::fenv_t ambiente_;
};

} // namespace veltrano::dialogo
