// The response spectra window of the site dialog: the four limit states'
// spectra of the current site for the soil, topography, damping, q,
// component and kind the user picks, drawn by the chart code of "veltrano
// spettro --grafico" (outputs/spettri_sito.h), with export to CSV, PNG, SVG
// and PDF. The choices are a widget of their own, which the site report's
// options dialog shows too. GUI thread only.
#pragma once

#include "outputs/relazione.h"
#include "outputs/spettri_sito.h"

#include <QDialog>
#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

class QComboBox;
class QDoubleSpinBox;
class QLabel;

namespace veltrano::ui {

/// Soil, topography, damping and, unless soloSito, component, kind and q.
class TSceltaSpettriQt : public QWidget {
    Q_OBJECT
public:
    explicit TSceltaSpettriQt(bool soloSito, QWidget* padre = nullptr);
    uscite::TSceltaSpettri Scelta() const;

signals:
    void Cambiata();

private:
    QComboBox *suolo_ = nullptr, *topografia_ = nullptr, *componente_ = nullptr, *tipo_ = nullptr;
    QDoubleSpinBox *smorzamento_ = nullptr, *q_ = nullptr;
};

/// A chart of outputs/grafico.h drawn to fill the widget.
class TGraficoQt : public QWidget {
public:
    explicit TGraficoQt(QWidget* padre = nullptr);
    void ImpostaGrafico(uscite::TGrafico g);
    const uscite::TGrafico& Grafico() const { return g_; }

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    uscite::TGrafico g_;
};

class TFSpettriQt : public QDialog {
    Q_OBJECT
public:
    TFSpettriQt(uscite::TSitoRelazione sito, uscite::TStratiRelazione strati, QWidget* padre = nullptr);

    TSceltaSpettriQt* Scelte = nullptr;
    TGraficoQt* Grafico = nullptr;
    QLabel* Descrizione = nullptr;

    /// The exports, to the file given (what the buttons do after their save dialog).
    void EsportaCsv(const std::filesystem::path& file) const;
    void EsportaGrafico(const std::filesystem::path& file) const;
    /// The site report of this site with the choices shown, after the
    /// printer set-up dialog; false when cancelled.
    bool StampaRelazione();

private:
    uscite::TSitoRelazione sito_;
    uscite::TStratiRelazione strati_;
    std::vector<uscite::TStatoSpettro> stati_;
    void Aggiorna();
    void Esporta(const QString& filtro, const QString& estensione);
};

/// The site report's options (soil, topography, damping); nothing when cancelled.
std::optional<uscite::TSceltaSpettri> ScegliOpzioniRelazione(QWidget* padre);
/// Runs a modal dialog of the front end; tests replace it to answer
/// without a window. By default the dialog's own modal run.
extern std::function<int(QDialog& dialogo)> EseguiDialogo;

/// The one-line description of a site the window and the CSV show.
std::string DescrizioneSito(const uscite::TSitoRelazione& s);

} // namespace veltrano::ui
