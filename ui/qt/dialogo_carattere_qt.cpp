#include "ui/qt/dialogo_carattere_qt.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace veltrano::ui {

TDialogoCarattere::TDialogoCarattere(const QFont& font, std::optional<QColor> colore, QWidget* padre)
    : QDialog(padre), colore_(colore) {
    setObjectName("DialogoCarattere");
    setWindowTitle(QString::fromUtf8("Carattere"));
    auto* v = new QVBoxLayout(this);
    // Qt's chooser, without its own buttons, as a part of this window.
    Scelta = new QFontDialog(font, this);
    Scelta->setObjectName("SceltaCarattere");
    Scelta->setWindowFlags(Qt::Widget);
    Scelta->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
    v->addWidget(Scelta);
    if (colore_) {
        auto* riga = new QHBoxLayout;
        riga->addWidget(new QLabel(QString::fromUtf8("Colore:")));
        PulsanteColore = new QPushButton;
        PulsanteColore->setObjectName("PulsanteColore");
        PulsanteColore->setIconSize(QSize(40, 14));
        PulsanteColore->setText(QString::fromUtf8("Scegli..."));
        riga->addWidget(PulsanteColore);
        riga->addStretch(1);
        v->addLayout(riga);
        ImpostaColore(*colore_);
        connect(PulsanteColore, &QPushButton::clicked, this, [this] {
            const QColor c = QColorDialog::getColor(*colore_, this);
            if (c.isValid())
                ImpostaColore(c);
        });
    }
    auto* pulsanti = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(pulsanti, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(pulsanti, &QDialogButtonBox::rejected, this, &QDialog::reject);
    v->addWidget(pulsanti);
}

QFont TDialogoCarattere::Carattere() const { return Scelta->currentFont(); }

void TDialogoCarattere::ImpostaColore(const QColor& c) {
    colore_ = c;
    if (!PulsanteColore)
        return;
    QPixmap campione(40, 14);
    campione.fill(c);
    PulsanteColore->setIcon(QIcon(campione));
}

} // namespace veltrano::ui
