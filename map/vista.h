// The view of the map: which rectangle of map units (decimal degrees,
// x = longitude, y = latitude upwards) a device area of larghezza x altezza
// pixels shows (y downwards), and the conversions between the two.
// A degree of longitude is drawn rapporto times as wide as a degree of
// latitude (cos 42 degrees by default, so that Italy keeps its shape). Value
// type; pure.
#pragma once

#include "map/pittore.h"
#include "map/shapefile.h"

namespace veltrano::mappa {

class TVista {
public:
    TVista();

    int Larghezza() const { return larghezza_; }
    int Altezza() const { return altezza_; }
    /// The device area; the centre and scale stay as they were.
    void ImpostaDimensioni(int larghezza, int altezza);

    /// Pixels per degree of latitude.
    double Scala() const { return scala_; }
    double Rapporto() const { return rapporto_; }
    void ImpostaRapporto(double k);
    TPunto Centro() const { return {cx_, cy_}; }

    /// The map rectangle the area shows.
    TEstensione Estensione() const;
    /// Centres e and takes the largest scale at which all of it shows; a
    /// point or a line keeps the scale and only moves the centre. An empty
    /// or non-finite e changes nothing (false).
    bool ImpostaEstensione(const TEstensione& e);

    TPunto PixelAMappa(TPuntoPx p) const;
    TPuntoPx MappaAPixel(TPunto m) const;
    /// Map to pixels as x' = a x + b, y' = c y + d (for converting many points).
    void Coefficienti(double& a, double& b, double& c, double& d) const;

private:
    int larghezza_ = 100, altezza_ = 100;
    double cx_ = 12.5, cy_ = 42.0, scala_ = 50.0, rapporto_;
};

} // namespace veltrano::mappa
