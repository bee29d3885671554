#include "ui/qt/spettri_qt.h"

#include "map/file.h"
#include "ui/qt/grafico_qt.h"
#include "ui/qt/pittore_qt.h"
#include "ui/qt/stampa_qt.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include <charconv>

namespace veltrano::ui {

namespace {
QString U(const std::string& s) { return QString::fromStdString(s); }

std::string Fisso(double v, int d) {
    char b[64];
    const auto r = std::to_chars(b, b + sizeof b, v, std::chars_format::fixed, d);
    return std::string(b, r.ptr);
}
} // namespace

std::function<int(QDialog&)> EseguiDialogo = [](QDialog& d) { return d.exec(); };

std::string DescrizioneSito(const uscite::TSitoRelazione& s) {
    std::string t = s.comune.empty() ? std::string("Sito") : "Comune di " + s.comune;
    t += " - ED50 lon " + Fisso(s.lonED50, 4) + ", lat " + Fisso(s.latED50, 4) + " - VN " + std::to_string(s.vn) +
         " anni, classe d'uso " + std::to_string(s.classe);
    return t;
}

// ---- The choices

TSceltaSpettriQt::TSceltaSpettriQt(bool soloSito, QWidget* padre) : QWidget(padre) {
    auto* f = new QFormLayout(this);
    f->setContentsMargins(0, 0, 0, 0);
    suolo_ = new QComboBox;
    suolo_->setObjectName("cmb_Suolo");
    suolo_->addItems({"A", "B", "C", "D", "E"});
    f->addRow(QString::fromUtf8("Categoria di sottosuolo"), suolo_);
    topografia_ = new QComboBox;
    topografia_->setObjectName("cmb_Topografia");
    topografia_->addItems({"T1", "T2", "T3", "T4"});
    f->addRow(QString::fromUtf8("Categoria topografica"), topografia_);
    smorzamento_ = new QDoubleSpinBox;
    smorzamento_->setObjectName("SE_Smorzamento");
    smorzamento_->setRange(0, SmorzamentoMassimo);
    smorzamento_->setDecimals(1);
    smorzamento_->setSingleStep(0.5);
    smorzamento_->setValue(5);
    smorzamento_->setSuffix(" %");
    f->addRow(QString::fromUtf8("Smorzamento ξ"), smorzamento_);
    connect(suolo_, &QComboBox::currentIndexChanged, this, &TSceltaSpettriQt::Cambiata);
    connect(topografia_, &QComboBox::currentIndexChanged, this, &TSceltaSpettriQt::Cambiata);
    connect(smorzamento_, &QDoubleSpinBox::valueChanged, this, &TSceltaSpettriQt::Cambiata);
    if (soloSito)
        return;
    componente_ = new QComboBox;
    componente_->setObjectName("cmb_Componente");
    componente_->addItems({"Orizzontale", "Verticale"});
    f->addRow(QString::fromUtf8("Componente"), componente_);
    tipo_ = new QComboBox;
    tipo_->setObjectName("cmb_TipoSpettro");
    tipo_->addItems({"Elastico", "Di progetto"});
    f->addRow(QString::fromUtf8("Spettro"), tipo_);
    q_ = new QDoubleSpinBox;
    q_->setObjectName("SE_Q");
    q_->setRange(1, QMassimo);
    q_->setDecimals(2);
    q_->setSingleStep(0.1);
    q_->setValue(1);
    // q acts on the design spectra only.
    q_->setEnabled(false);
    f->addRow(QString::fromUtf8("Fattore di struttura q"), q_);
    connect(componente_, &QComboBox::currentIndexChanged, this, &TSceltaSpettriQt::Cambiata);
    connect(tipo_, &QComboBox::currentIndexChanged, this, [this](int i) {
        q_->setEnabled(i == 1);
        emit Cambiata();
    });
    connect(q_, &QDoubleSpinBox::valueChanged, this, &TSceltaSpettriQt::Cambiata);
}

uscite::TSceltaSpettri TSceltaSpettriQt::Scelta() const {
    uscite::TSceltaSpettri s;
    s.sito.suolo = static_cast<CategoriaSuolo>(suolo_->currentIndex());
    s.sito.topografia = static_cast<CategoriaTopografica>(topografia_->currentIndex());
    s.sito.smorzamento = smorzamento_->value();
    if (componente_) {
        s.componente = componente_->currentIndex() == 1 ? Componente::Verticale : Componente::Orizzontale;
        s.tipo = tipo_->currentIndex() == 1 ? uscite::TTipoSpettro::Progetto : uscite::TTipoSpettro::Elastico;
        s.q = q_->value();
    }
    return s;
}

// ---- The chart

TGraficoQt::TGraficoQt(QWidget* padre) : QWidget(padre) {
    setMinimumSize(480, 300);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TGraficoQt::ImpostaGrafico(uscite::TGrafico g) {
    g_ = std::move(g);
    update();
}

void TGraficoQt::paintEvent(QPaintEvent*) {
    QPainter p(this);
    TPittoreQt pittore(p);
    uscite::DisegnaGrafico(pittore, g_, {0, 0, static_cast<double>(width()), static_cast<double>(height())});
}

// ---- The window

TFSpettriQt::TFSpettriQt(uscite::TSitoRelazione sito, uscite::TStratiRelazione strati, QWidget* padre)
    : QDialog(padre), sito_(std::move(sito)), strati_(std::move(strati)), stati_(uscite::StatiSito(sito_)) {
    setObjectName("FSpettri");
    setWindowTitle(QString::fromUtf8("Spettri di risposta"));
    resize(980, 600);
    auto* v = new QVBoxLayout(this);
    Descrizione = new QLabel(U(DescrizioneSito(sito_)));
    Descrizione->setObjectName("LbSito");
    Descrizione->setWordWrap(true);
    Descrizione->setStyleSheet("font-weight: bold; color: #000080;");
    v->addWidget(Descrizione);
    auto* h = new QHBoxLayout;
    v->addLayout(h, 1);
    auto* sinistra = new QVBoxLayout;
    Scelte = new TSceltaSpettriQt(false);
    Scelte->setObjectName("SceltaSpettri");
    sinistra->addWidget(Scelte);
    sinistra->addSpacing(12);
    auto pulsante = [&](const char* nome, const QString& testo) {
        auto* b = new QPushButton(testo);
        b->setObjectName(nome);
        b->setAutoDefault(false);
        sinistra->addWidget(b);
        return b;
    };
    connect(pulsante("SB_EsportaCsv", QString::fromUtf8("Esporta CSV...")), &QPushButton::clicked, this,
            [this] { Esporta(QString::fromUtf8("Tabella CSV (*.csv)"), "csv"); });
    connect(pulsante("SB_EsportaPng", QString::fromUtf8("Esporta PNG...")), &QPushButton::clicked, this,
            [this] { Esporta(QString::fromUtf8("Immagine PNG (*.png)"), "png"); });
    connect(pulsante("SB_EsportaSvg", QString::fromUtf8("Esporta SVG...")), &QPushButton::clicked, this,
            [this] { Esporta(QString::fromUtf8("Disegno SVG (*.svg)"), "svg"); });
    connect(pulsante("SB_EsportaPdf", QString::fromUtf8("Esporta PDF...")), &QPushButton::clicked, this,
            [this] { Esporta(QString::fromUtf8("Documento PDF (*.pdf)"), "pdf"); });
    sinistra->addSpacing(12);
    connect(pulsante("SB_Relazione", QString::fromUtf8("Relazione del sito...")), &QPushButton::clicked, this,
            [this] { StampaRelazione(); });
    sinistra->addStretch(1);
    auto* chiudi = pulsante("SB_ChiudiSpettri", QString::fromUtf8("Chiudi"));
    connect(chiudi, &QPushButton::clicked, this, &QDialog::accept);
    h->addLayout(sinistra);
    Grafico = new TGraficoQt;
    Grafico->setObjectName("GraficoSpettri");
    h->addWidget(Grafico, 1);
    connect(Scelte, &TSceltaSpettriQt::Cambiata, this, &TFSpettriQt::Aggiorna);
    Aggiorna();
}

void TFSpettriQt::Aggiorna() { Grafico->ImpostaGrafico(uscite::GraficoSpettri(stati_, Scelte->Scelta())); }

void TFSpettriQt::EsportaCsv(const std::filesystem::path& file) const {
    const std::string t = uscite::CsvSpettri(stati_, Scelte->Scelta(), DescrizioneSito(sito_));
    mappa::ScriviFileSicuro(file, std::span(reinterpret_cast<const uint8_t*>(t.data()), t.size()));
}

void TFSpettriQt::EsportaGrafico(const std::filesystem::path& file) const { SalvaGraficoQt(Grafico->Grafico(), file); }

void TFSpettriQt::Esporta(const QString& filtro, const QString& estensione) {
    const QString f = ScegliFileDaSalvare(this, windowTitle(), "Spettri." + estensione, filtro, estensione);
    if (f.isEmpty())
        return;
    const std::filesystem::path file(f.toStdU16String());
    try {
        if (estensione == "csv")
            EsportaCsv(file);
        else
            EsportaGrafico(file);
    } catch (const std::exception& e) {
        QMessageBox::warning(this, windowTitle(), QString::fromUtf8(e.what()));
    }
}

bool TFSpettriQt::StampaRelazione() {
    uscite::TSceltaSpettri s = Scelte->Scelta();
    try {
        return Stampa(uscite::DocumentoRelazione(sito_, s, strati_), this, QStringLiteral("Relazione.pdf"));
    } catch (const std::exception& e) {
        QMessageBox::warning(this, windowTitle(), QString::fromUtf8(e.what()));
        return false;
    }
}

std::optional<uscite::TSceltaSpettri> ScegliOpzioniRelazione(QWidget* padre) {
    QDialog d(padre);
    d.setObjectName("FOpzioniRelazione");
    d.setWindowTitle(QString::fromUtf8("Relazione del sito"));
    auto* v = new QVBoxLayout(&d);
    auto* testo = new QLabel(QString::fromUtf8("Spettri della relazione per il sottosuolo e la topografia del sito:"));
    testo->setWordWrap(true);
    v->addWidget(testo);
    auto* scelta = new TSceltaSpettriQt(true);
    scelta->setObjectName("SceltaSpettri");
    v->addWidget(scelta);
    auto* pulsanti = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    pulsanti->button(QDialogButtonBox::Ok)->setText("OK");
    pulsanti->button(QDialogButtonBox::Cancel)->setText("ANNULLA");
    QObject::connect(pulsanti, &QDialogButtonBox::accepted, &d, &QDialog::accept);
    QObject::connect(pulsanti, &QDialogButtonBox::rejected, &d, &QDialog::reject);
    v->addWidget(pulsanti);
    if (EseguiDialogo(d) != QDialog::Accepted)
        return std::nullopt;
    return scelta->Scelta();
}

} // namespace veltrano::ui
