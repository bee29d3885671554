// TTavrelExcell: the spreadsheet writer of the Linux build, a thin wrapper
// over libxlsxwriter. It writes Office Open XML workbooks (.xlsx) whatever
// the name, streaming row by row: cells must come in row order, and a row
// once left cannot be written again. The Windows build has no libxlsxwriter
// and does not compile this file; the layouts reach it through
// TFoglioCalcolo.
#pragma once

#include "outputs/foglio_calcolo.h"
#include "outputs/punti_sismici.h"

#include <filesystem>
#include <string>
#include <vector>

struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

namespace veltrano::uscite {

class TTavrelExcell : public TFoglioCalcolo {
public:
    TTavrelExcell() = default;
    /// A workbook not finalised is dropped (its file may be left half
    /// written: callers write to a temporary file).
    ~TTavrelExcell() override;
    TTavrelExcell(const TTavrelExcell&) = delete;
    TTavrelExcell& operator=(const TTavrelExcell&) = delete;

    /// A new workbook for file with the named sheets. Throws ErroreApertura.
    void Inizializza(const std::filesystem::path& file, const std::vector<std::string>& fogli);
    /// Writes the file. Throws ErroreLettura with the writer's reason.
    void Finalizza();

    void CambiaFoglio(int foglio) override;
    int AssegnaFormatoCella(const TFormatoCella& f) override;
    void ScriveCella(int riga, int colonna, const std::string& testo, int formato = -1) override;
    void ScriveCella(int riga, int colonna, double valore, int formato = -1) override;
    void ColonnaLarghezza(int colonna, int larghezza) override;
    void FondiCelle(int riga1, int colonna1, int riga2, int colonna2, int formato = -1) override;

private:
    lxw_worksheet* Foglio() const; // the current sheet; throws before Inizializza
    lxw_format* Formato(int formato) const;
    void Controlla(int esito, const char* cosa) const;

    std::filesystem::path file_;
    lxw_workbook* libro_ = nullptr;
    std::vector<lxw_worksheet*> fogli_;
    lxw_worksheet* foglio_ = nullptr;
    std::vector<lxw_format*> formati_;
};

/// Writes the spreadsheet of every hazard point of g to file: first to a
/// temporary file in the same folder, renamed over file only when complete,
/// so a folder that cannot be written, a full disk, a stop asked through
/// progresso or a file that cannot be replaced leaves the old one as it
/// was; a file open in a spreadsheet program (its lock file beside it) is
/// not touched. Returns false when progresso stopped it. Throws ErroreApertura (the
/// folder cannot be written) or ErroreLettura (writing or replacing
/// failed), naming the file and the reason.
bool ScriviFilePuntiSismici(const std::filesystem::path& file, const Griglia& g,
                            const TProgressoFoglio& progresso = {});

} // namespace veltrano::uscite
