#include "ui/qt/stile_punti_qt.h"

#include "ui/qt/icone.h"

#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace veltrano::ui {

TFStileLayerQt::TFStileLayerQt(mappa::TFStileLayer& selettore, QWidget* form)
    : QDialog(form, Qt::Dialog | Qt::FramelessWindowHint), selettore_(selettore) {
    setObjectName("FStileLayer");
    setModal(true);
    if (form)
        move(form->geometry().topLeft() +
             QPoint(mappa::TFStileLayer::ScostamentoX, mappa::TFStileLayer::ScostamentoY));
    auto* colonna = new QVBoxLayout(this);
    colonna->setContentsMargins(1, 1, 1, 1);
    colonna->setSpacing(0);
    for (int n = 0; n < mappa::TFStileLayer::NumVoci; ++n) {
        auto* b = new QToolButton(this);
        b->setObjectName(QStringLiteral("Voce%1").arg(n));
        b->setText(QString::fromUtf8(mappa::TFStileLayer::Voci[static_cast<std::size_t>(n)]));
        b->setToolTip(b->text());
        b->setIcon(n == 0 ? style()->standardIcon(QStyle::SP_DialogCloseButton) : IconaStilePunto(n - 1));
        b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        b->setAutoRaise(true);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        connect(b, &QToolButton::clicked, this, [this, n] {
            selettore_.Premuto(n);
            done(n == 0 ? Rejected : Accepted);
        });
        colonna->addWidget(b);
    }
    // As wide as the longest caption needs, never narrower than the picker.
    setFixedSize(std::max(mappa::TFStileLayer::Larghezza, sizeHint().width()), mappa::TFStileLayer::Altezza);
}

void TFStileLayerQt::reject() {
    selettore_.Premuto(0);
    QDialog::reject();
}

} // namespace veltrano::ui
