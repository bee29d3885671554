#include "widgets/inspector.h"

#include <QAbstractItemView>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QRadioButton>
#include <QResizeEvent>
#include <QScrollBar>
#include <QSpinBox>
#include <QToolButton>

#include <algorithm>

namespace veltrano::widgets {

namespace {

// A check box that takes a click anywhere in its cell, not only on its
// small square: the cell is what the user aims at.
class CasellaCella : public QCheckBox {
public:
    using QCheckBox::QCheckBox;

protected:
    bool hitButton(const QPoint& p) const override { return rect().contains(p); }
};

} // namespace

// ---- Items

QString TItemInspector::Caption() const { return riga_ ? riga_->text(0) : QString(); }

void TItemInspector::ImpostaCaption(const QString& c) {
    if (riga_)
        riga_->setText(0, c);
}

void TItemInspector::ImpostaHint(const QString& h) {
    hint_ = h;
    if (riga_) {
        riga_->setToolTip(0, h);
        riga_->setToolTip(1, h);
    }
    if (editor_)
        editor_->setToolTip(h);
}

void TItemInspector::ImpostaAbilitato(bool a) {
    abilitato_ = a;
    if (riga_)
        riga_->setDisabled(!a);
    if (editor_)
        editor_->setEnabled(a);
}

void TItemInspector::ImpostaSolaLettura(bool s) { solaLettura_ = s; }

bool TItemInspector::Visibile() const { return riga_ && !riga_->isHidden(); }

void TItemInspector::ImpostaVisibile(bool v) {
    if (riga_)
        riga_->setHidden(!v);
}

bool TCategoria::Spuntata() const { return casella_ && casella_->isChecked(); }
void TCategoria::ImpostaSpuntata(bool s) {
    if (casella_)
        casella_->setChecked(s);
}
QString TCategoria::Valore() const { return casella_ ? (Spuntata() ? "True" : "False") : QString(); }

QString TItemTesto::Valore() const { return campo_->text(); }
void TItemTesto::ImpostaValore(const QString& v) { campo_->setText(v); }
void TItemTesto::ImpostaSolaLettura(bool s) {
    solaLettura_ = s;
    campo_->setReadOnly(s);
}

QStringList TItemCombo::Elementi() const {
    QStringList r;
    for (int i = 0; i < lista_->count(); ++i)
        r << lista_->itemText(i);
    return r;
}
void TItemCombo::ImpostaElementi(const QStringList& l) {
    lista_->clear();
    lista_->addItems(l);
    // The open list is as wide as its longest text (the first few hundred
    // decide), so that no choice is cut even when the closed list is narrow.
    const QFontMetrics fm(lista_->view()->font());
    int larghezza = 0;
    for (qsizetype i = 0; i < l.size() && i < 500; ++i)
        larghezza = std::max(larghezza, fm.horizontalAdvance(l[i]));
    lista_->view()->setMinimumWidth(larghezza + 40);
}
void TItemCombo::AggiungiElemento(const QString& e) { lista_->addItem(e); }
void TItemCombo::Svuota() { lista_->clear(); }
int TItemCombo::Indice() const { return lista_->currentIndex(); }
void TItemCombo::ImpostaIndice(int i) { lista_->setCurrentIndex(i); }
QString TItemCombo::Valore() const { return lista_->currentText(); }
void TItemCombo::ImpostaValore(const QString& v) {
    const int i = lista_->findText(v, Qt::MatchExactly);
    if (i >= 0)
        lista_->setCurrentIndex(i);
    else if (lista_->isEditable())
        lista_->setEditText(v);
}
void TItemCombo::ImpostaSolaLettura(bool s) {
    solaLettura_ = s;
    if (lista_->lineEdit())
        lista_->lineEdit()->setReadOnly(s);
}

bool TItemRadio::Selezionato() const { return radio_->isChecked(); }
void TItemRadio::Seleziona() { radio_->setChecked(true); }
QString TItemRadio::Valore() const { return Selezionato() ? "True" : "False"; }

bool TItemCheck::Spuntato() const { return casella_->isChecked(); }
void TItemCheck::ImpostaSpuntato(bool s) { casella_->setChecked(s); }
QString TItemCheck::Valore() const { return Spuntato() ? "True" : "False"; }

int TItemSpin::Numero() const { return spin_->value(); }
void TItemSpin::ImpostaNumero(int v) { spin_->setValue(v); }
QString TItemSpin::Valore() const { return QString::number(spin_->value()); }
void TItemSpin::ImpostaValore(const QString& v) { spin_->setValue(v.toInt()); }

void TItemPulsanti::ImpostaIcona(int i, const QIcon& icona) { Pulsante(i)->setIcon(icona); }

void TItemPulsanti::ImpostaColore(int i, const QColor& c) {
    QPixmap pm(28, 12);
    pm.fill(c);
    QPainter p(&pm);
    p.setPen(Qt::black);
    p.drawRect(0, 0, 27, 11);
    p.end();
    Pulsante(i)->setIcon(QIcon(pm));
    Pulsante(i)->setIconSize(pm.size());
}

// ---- Inspector

TInspector::TInspector(QWidget* padre) : QTreeWidget(padre) {
    setColumnCount(2);
    setHeaderHidden(true);
    setRootIsDecorated(true);
    setIndentation(10);
    setUniformRowHeights(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    // The captions' column is sized by AdattaColonne; the editors take the
    // rest, so the rows never need to scroll sideways.
    header()->setSectionResizeMode(0, QHeaderView::Interactive);
    header()->setStretchLastSection(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTextElideMode(Qt::ElideRight);
    setAlternatingRowColors(false);
    connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* r, QTreeWidgetItem*) {
        const auto it = perRiga_.find(r);
        if (it != perRiga_.end())
            emit Selezionato(it->second);
    });
}

TInspector::~TInspector() = default;

template <class T>
T* TInspector::Nuovo(const QString& nome, const QString& caption, const QString& hint, TItemInspector* padre) {
    auto item = std::make_unique<T>();
    T* r = item.get();
    r->inspector_ = this;
    r->nome_ = nome;
    r->hint_ = hint;
    r->riga_ = padre && padre->riga_ ? new QTreeWidgetItem(padre->riga_) : new QTreeWidgetItem(this);
    r->riga_->setText(0, caption);
    r->riga_->setExpanded(true);
    if (padre && padre->riga_)
        padre->riga_->setExpanded(true);
    perNome_[nome] = r;
    perRiga_[r->riga_] = r;
    items_.push_back(std::move(item));
    return r;
}

void TInspector::Monta(TItemInspector* item, QWidget* editor) {
    item->editor_ = editor;
    editor->setObjectName(item->nome_);
    editor->installEventFilter(this);
    setItemWidget(item->riga_, 1, editor);
    item->ImpostaHint(item->hint_);
}

bool TInspector::eventFilter(QObject* o, QEvent* e) {
    // Clicking into an editor makes its row the current one, as a click on
    // the caption does.
    if (e->type() == QEvent::FocusIn)
        for (const auto& it : items_)
            if (it->editor_ == o || (it->editor_ && it->editor_->isAncestorOf(qobject_cast<QWidget*>(o)))) {
                setCurrentItem(it->riga_);
                break;
            }
    return QTreeWidget::eventFilter(o, e);
}

TCategoria* TInspector::AggiungiCategoria(const QString& nome, const QString& caption, bool conCasella,
                                          TItemInspector* padre) {
    TCategoria* c = Nuovo<TCategoria>(nome, caption, {}, padre);
    QFont f = font();
    f.setBold(true);
    c->riga_->setFont(0, f);
    c->riga_->setForeground(0, QColor(0, 0, 128));
    c->riga_->setFirstColumnSpanned(!conCasella);
    if (conCasella) {
        c->casella_ = new CasellaCella;
        c->casella_->setObjectName(nome);
        connect(c->casella_, &QCheckBox::toggled, this, [this, c] { emit Cambiato(c); });
        connect(c->casella_, &QCheckBox::clicked, this, [this, c] { emit PulsanteCliccato(c, 0); });
        setItemWidget(c->riga_, 1, c->casella_);
        c->editor_ = c->casella_;
    }
    return c;
}

TItemTesto* TInspector::AggiungiTesto(const QString& nome, const QString& caption, const QString& hint,
                                      TItemInspector* padre) {
    TItemTesto* t = Nuovo<TItemTesto>(nome, caption, hint, padre);
    t->campo_ = new QLineEdit;
    t->campo_->setFrame(false);
    connect(t->campo_, &QLineEdit::textChanged, this, [this, t] { emit Cambiato(t); });
    connect(t->campo_, &QLineEdit::editingFinished, this, [this, t] { emit UscitaItem(t); });
    Monta(t, t->campo_);
    return t;
}

TItemCombo* TInspector::AggiungiCombo(const QString& nome, const QString& caption, const QStringList& elementi,
                                      const QString& hint, TItemInspector* padre, bool scrivibile) {
    TItemCombo* c = Nuovo<TItemCombo>(nome, caption, hint, padre);
    c->lista_ = new QComboBox;
    c->lista_->setEditable(scrivibile);
    if (scrivibile)
        c->lista_->setInsertPolicy(QComboBox::NoInsert);
    c->ImpostaElementi(elementi);
    c->lista_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    c->lista_->setMinimumContentsLength(6);
    connect(c->lista_, &QComboBox::currentIndexChanged, this, [this, c] { emit Cambiato(c); });
    connect(c->lista_, &QComboBox::activated, this, [this, c] { emit ChiusuraLista(c); });
    if (scrivibile)
        connect(c->lista_->lineEdit(), &QLineEdit::editingFinished, this, [this, c] { emit UscitaItem(c); });
    Monta(c, c->lista_);
    return c;
}

TItemRadio* TInspector::AggiungiRadio(const QString& nome, const QString& caption, const QString& hint,
                                      TItemInspector* padre) {
    TItemRadio* r = Nuovo<TItemRadio>(nome, caption, hint, padre);
    r->radio_ = new QRadioButton;
    // Radio items under one parent exclude each other.
    static const char* Gruppo = "veltrano_gruppo_radio";
    QObject* chiave = padre ? static_cast<QObject*>(padre->editor_ ? padre->editor_ : this) : this;
    auto* gruppo = chiave->property(Gruppo).value<QButtonGroup*>();
    if (!gruppo) {
        gruppo = new QButtonGroup(this);
        chiave->setProperty(Gruppo, QVariant::fromValue(gruppo));
    }
    gruppo->addButton(r->radio_);
    connect(r->radio_, &QRadioButton::toggled, this, [this, r] { emit Cambiato(r); });
    Monta(r, r->radio_);
    return r;
}

TItemCheck* TInspector::AggiungiCheck(const QString& nome, const QString& caption, const QString& hint,
                                      TItemInspector* padre) {
    TItemCheck* c = Nuovo<TItemCheck>(nome, caption, hint, padre);
    c->casella_ = new CasellaCella;
    connect(c->casella_, &QCheckBox::toggled, this, [this, c] { emit Cambiato(c); });
    connect(c->casella_, &QCheckBox::clicked, this, [this, c] { emit PulsanteCliccato(c, 0); });
    Monta(c, c->casella_);
    return c;
}

TItemSpin* TInspector::AggiungiSpin(const QString& nome, const QString& caption, int minimo, int massimo,
                                    int passo, int valore, const QString& hint, TItemInspector* padre) {
    TItemSpin* s = Nuovo<TItemSpin>(nome, caption, hint, padre);
    s->spin_ = new QSpinBox;
    s->spin_->setRange(minimo, massimo);
    s->spin_->setSingleStep(passo);
    s->spin_->setValue(valore);
    connect(s->spin_, &QSpinBox::valueChanged, this, [this, s] { emit Cambiato(s); });
    Monta(s, s->spin_);
    return s;
}

TItemPulsanti* TInspector::AggiungiPulsanti(const QString& nome, const QString& caption, const QStringList& testi,
                                            const QString& hint, TItemInspector* padre) {
    TItemPulsanti* p = Nuovo<TItemPulsanti>(nome, caption, hint, padre);
    auto* riga = new QWidget;
    auto* l = new QHBoxLayout(riga);
    l->setContentsMargins(0, 0, 0, 0);
    l->setSpacing(2);
    for (int i = 0; i < testi.size(); ++i) {
        auto* b = new QToolButton;
        b->setText(testi[i]);
        b->setAutoRaise(false);
        b->setObjectName(nome + (testi.size() > 1 ? QString::number(i) : QString()));
        connect(b, &QToolButton::clicked, this, [this, p, i] { emit PulsanteCliccato(p, i); });
        l->addWidget(b);
        p->pulsanti_.push_back(b);
    }
    l->addStretch(1);
    Monta(p, riga);
    return p;
}

TItemInspector* TInspector::Item(const QString& nome) const {
    const auto it = perNome_.find(nome);
    return it == perNome_.end() ? nullptr : it->second;
}

void TInspector::AdattaColonne() {
    const int contenuto = sizeHintForColumn(0) + 4;
    const int massimo = std::max(60, viewport()->width() * 3 / 5);
    setColumnWidth(0, std::min(contenuto, massimo));
}

void TInspector::resizeEvent(QResizeEvent* e) {
    QTreeWidget::resizeEvent(e);
    AdattaColonne();
}

void TInspector::showEvent(QShowEvent* e) {
    QTreeWidget::showEvent(e);
    AdattaColonne();
}

void TInspector::scrollTo(const QModelIndex& indice, ScrollHint hint) {
    QTreeWidget::scrollTo(indice, hint);
    horizontalScrollBar()->setValue(0);
}

void TInspector::SelezionaItem(TItemInspector* item) {
    if (!item || !item->riga_)
        return;
    setCurrentItem(item->riga_);
    scrollToItem(item->riga_);
}

void TInspector::FineModifica() {
    if (QWidget* f = focusWidget(); f && isAncestorOf(f))
        f->clearFocus();
}

} // namespace veltrano::widgets
