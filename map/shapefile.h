// The shapefile object of the map: a whole shapefile (.shp, .shx, .dbf) held
// in memory, read and written through shapelib. Shapes keep the record order
// of the file: shape index i is record i. Table cells are kept as the bytes
// of the file (Windows-1252 for our files). Not thread-safe for writing; a
// loaded object may be read from several threads.
#pragma once

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

struct TCampo {
    std::string nome; // at most 10 characters in the file
    int tipo = CampoTesto;
    int larghezza = 50;
    int decimali = 0;
};

class TShapefile {
public:
    /// Reads the shapefile at percorso (".shp" path) whole. False when the
    /// .shp cannot be read; a missing .dbf gives a table without fields.
    /// Without conTabella the .dbf is not read (shapes only, faster).
    bool Apri(const std::string& percorso, bool conTabella = true);
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

    /// Writes .shp, .shx, .dbf and .cpg ("1252") at percorso.
    bool SalvaCome(const std::string& percorso) const;

private:
    bool aperto_ = false, modifica_ = false;
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

} // namespace veltrano::mappa
