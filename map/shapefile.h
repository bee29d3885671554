// The shapefile object of the map: a whole shapefile (.shp main file, .shx
// index, .dbf dBase table) held in memory, read and written by our own code
// from the published format, the same on every platform. Shapes keep the
// record order of the file: shape index i is record i. Table cells are kept
// as the bytes of the file (Windows-1252 for our files), trimmed of the
// padding spaces; an empty or null cell is "".
//
// Reading trusts nothing in the files: every count, length and offset is
// checked against the bytes that are there before anything is allocated,
// coordinates must be finite, and records may not overlap, so a damaged or
// hostile file is refused with a reason (Errore()) instead of read past its
// end. Not thread-safe for writing; a loaded object may be read from several
// threads.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace veltrano::mappa {

/// Shape types of the shapefile format used by the map.
enum TipoShape { ShapeNullo = 0, ShapePunto = 1, ShapeLinea = 3, ShapePoligono = 5 };
/// Field types: the codes the dialog passes (2 = floating point).
enum TipoCampo { CampoTesto = 0, CampoIntero = 1, CampoReale = 2 };

struct TPunto {
    double x, y; // map units: decimal degrees (lon, lat)
};

struct TEstensione {
    double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
    bool Vuota() const { return !(xMax >= xMin && yMax >= yMin); }
    void Includi(const TEstensione& e);
    void Includi(TPunto p);
    static TEstensione Nessuna() { return {1, 1, 0, 0}; }
};

struct TShape {
    int tipo = ShapeNullo;
    std::vector<int> parti;     // index of each part's first point
    std::vector<TPunto> punti;
    TEstensione estensione = TEstensione::Nessuna();
    void CalcolaEstensione();
};

/// The three files of a shapefile as bytes (what SalvaCome writes).
struct TDatiShapefile {
    std::vector<uint8_t> shp, shx, dbf;
};

struct TCampo {
    std::string nome; // at most 10 characters in the file
    int tipo = CampoTesto;
    int larghezza = 50;
    int decimali = 0;
};

class TShapefile {
public:
    /// Reads the shapefile at percorso (".shp" path) whole. False when the
    /// .shp cannot be read or any of the files breaks the format (the
    /// reason in Errore()); a missing .dbf gives a table without fields, a
    /// missing .shx a walk through the main file's records. Without
    /// conTabella the .dbf is not read (shapes only, faster).
    bool Apri(const std::filesystem::path& percorso, bool conTabella = true);
    /// The same from the files' bytes: shx and dbf absent when nullopt.
    bool Leggi(std::span<const uint8_t> shp, std::optional<std::span<const uint8_t>> shx,
               std::optional<std::span<const uint8_t>> dbf, bool conTabella = true);
    /// Why the last Apri, Leggi, Codifica or SalvaCome failed ("" after a success).
    const std::string& Errore() const { return errore_; }
    /// A new empty shapefile of the given type, held in memory until saved.
    void Crea(int tipo);
    void Chiudi();

    bool Aperto() const { return aperto_; }
    int Tipo() const { return tipo_; }
    int NumShape() const { return static_cast<int>(shape_.size()); }
    const TShape& Shape(int i) const { return shape_.at(static_cast<std::size_t>(i)); }
    /// Bounding box of all shapes.
    TEstensione Estensione() const { return estensione_; }

    int NumCampi() const { return static_cast<int>(campi_.size()); }
    const TCampo& Campo(int i) const { return campi_.at(static_cast<std::size_t>(i)); }
    /// Cell text (numbers without padding); "" outside the table.
    std::string ValoreCella(int campo, int shape) const;
    double ValoreCellaNumero(int campo, int shape) const;

    /// Even-odd test over all rings of polygon shape i (holes excluded).
    bool PuntoInShape(int i, double x, double y) const;

    // Editing: shapes and table change only between the two calls.
    bool InizioModifica();
    bool FineModifica(bool applica);
    bool InModifica() const { return modifica_; }
    /// Inserts a field at position pos (or at the end); false outside editing.
    bool InserisciCampo(const TCampo& c, int pos);
    /// Inserts a shape at position pos (or at the end) with empty cells.
    bool InserisciShape(TShape s, int pos);
    bool InserisciPunto(int shape, TPunto p);
    bool ImpostaCella(int campo, int shape, const std::string& valore);

    /// The bytes of the three files. False when a cell does not fit its
    /// field (a number wider than the field, or not a number).
    bool Codifica(TDatiShapefile& dati) const;
    /// Writes .shp, .shx, .dbf and .cpg ("1252") at percorso (the
    /// extension is replaced), each through a temporary file, so that a
    /// failure never leaves a file half written.
    bool SalvaCome(const std::filesystem::path& percorso) const;

private:
    bool aperto_ = false, modifica_ = false;
    mutable std::string errore_;
    int tipo_ = ShapeNullo;
    std::vector<TShape> shape_;
    std::vector<TCampo> campi_;
    std::vector<std::vector<std::string>> celle_; // [shape][field]
    TEstensione estensione_ = TEstensione::Nessuna();
    // State kept to undo an editing session closed without applying.
    std::vector<TShape> copiaShape_;
    std::vector<TCampo> copiaCampi_;
    std::vector<std::vector<std::string>> copiaCelle_;
    void RicalcolaEstensione();
};

/// Even-odd point-in-polygon over the rings of s.
bool PuntoInPoligono(const TShape& s, double x, double y);

/// A plain bytes-in entry for fuzzing the reader: dati holds three
/// little-endian uint32 lengths (main file, index, table; 0xFFFFFFFF for an
/// absent file) and then the files one after the other. Returns 1 when the
/// shapefile is accepted (and re-encoded and read back), 0 when refused.
int ProvaShapefile(const uint8_t* dati, std::size_t dimensione);

} // namespace veltrano::mappa
