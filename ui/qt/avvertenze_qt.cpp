#include "ui/qt/avvertenze_qt.h"

#include "dialog/testi_aiuto.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace veltrano::ui {

TFWarnQt::TFWarnQt(const std::vector<std::string>& righe, QWidget* padre) : QDialog(padre) {
    setObjectName("FWarn");
    setWindowTitle(QString::fromUtf8(dialogo::testi::Avvertenze));
    auto* v = new QVBoxLayout(this);
    Memo1 = new QPlainTextEdit;
    Memo1->setObjectName("Memo1");
    Memo1->setReadOnly(true);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QFont f = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    f.setBold(true);
    Memo1->setFont(f);
    QStringList testo;
    for (const std::string& r : righe)
        testo << QString::fromStdString(r);
    Memo1->setPlainText(testo.join('\n'));
    // The box fits the longest line and every line, with the frame's margins.
    const QFontMetrics m(f);
    int larghezza = 0;
    for (const QString& r : testo)
        larghezza = std::max(larghezza, m.horizontalAdvance(r));
    const int margine = 2 * (Memo1->frameWidth() + static_cast<int>(Memo1->document()->documentMargin())) + 8;
    Memo1->setFixedSize(larghezza + margine, m.lineSpacing() * static_cast<int>(testo.size()) + margine);
    v->addWidget(Memo1);
    auto* fila = new QHBoxLayout;
    fila->addStretch(1);
    auto* chiudi = new QPushButton(QString::fromUtf8(dialogo::testi::ChiudiAvvertenze));
    chiudi->setObjectName("Button1");
    chiudi->setDefault(true);
    connect(chiudi, &QPushButton::clicked, this, &QDialog::accept);
    fila->addWidget(chiudi);
    fila->addStretch(1);
    v->addLayout(fila);
    setFixedSize(sizeHint());
}

} // namespace veltrano::ui
