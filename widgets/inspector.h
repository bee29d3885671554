// The property inspector: a two-column list of captioned items grouped under
// categories, each item with its own editor (text, drop-down, radio,
// check box, spin, button, toolbar of buttons). Items carry a caption, a hint
// (tooltip), list items, enabled, read-only and visible states.
//
// Events, all on TInspector:
//  Cambiato(item)          the item's value changed (typed, chosen or set by
//                          code; setting the value it already has emits none)
//  ChiusuraLista(item)     a drop-down closed on a choice made by the user
//  Selezionato(item)       the item became the current row
//  PulsanteCliccato(item, i) button i of a button or toolbar item was clicked
//  UscitaItem(item)        the user left a text or typed drop-down item
// GUI thread only.
#pragma once

#include <QColor>
#include <QIcon>
#include <QString>
#include <QStringList>
#include <QTreeWidget>

#include <map>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;
class QSpinBox;
class QToolButton;

namespace veltrano::widgets {

class TInspector;

class TItemInspector {
public:
    virtual ~TItemInspector() = default;
    QString Nome() const { return nome_; }
    QString Caption() const;
    void ImpostaCaption(const QString& c);
    QString Hint() const { return hint_; }
    void ImpostaHint(const QString& h);
    virtual bool Abilitato() const { return abilitato_; }
    virtual void ImpostaAbilitato(bool a);
    bool SolaLettura() const { return solaLettura_; }
    virtual void ImpostaSolaLettura(bool s);
    bool Visibile() const;
    void ImpostaVisibile(bool v);
    /// The value as text (list item text, "True"/"False", the number).
    virtual QString Valore() const { return {}; }
    virtual void ImpostaValore(const QString&) {}
    QTreeWidgetItem* Riga() const { return riga_; }
    QWidget* Editor() const { return editor_; }

protected:
    friend class TInspector;
    TInspector* inspector_ = nullptr;
    QString nome_, hint_;
    bool abilitato_ = true, solaLettura_ = false;
    QTreeWidgetItem* riga_ = nullptr;
    QWidget* editor_ = nullptr;
};

/// A heading row; optionally with a check box (the layer groups).
class TCategoria : public TItemInspector {
public:
    bool Spuntata() const;
    void ImpostaSpuntata(bool s);
    QString Valore() const override;
    QCheckBox* Casella() const { return casella_; }

private:
    friend class TInspector;
    QCheckBox* casella_ = nullptr;
};

class TItemTesto : public TItemInspector {
public:
    QString Valore() const override;
    void ImpostaValore(const QString& v) override;
    void ImpostaSolaLettura(bool s) override;
    QLineEdit* Campo() const { return campo_; }

private:
    friend class TInspector;
    QLineEdit* campo_ = nullptr;
};

class TItemCombo : public TItemInspector {
public:
    QStringList Elementi() const;
    void ImpostaElementi(const QStringList& l);
    void AggiungiElemento(const QString& e);
    void Svuota();
    int Indice() const;
    void ImpostaIndice(int i);
    QString Valore() const override;
    void ImpostaValore(const QString& v) override; // selects the item with that text, or types it
    void ImpostaSolaLettura(bool s) override;
    QComboBox* Lista() const { return lista_; }

private:
    friend class TInspector;
    QComboBox* lista_ = nullptr;
};

class TItemRadio : public TItemInspector {
public:
    bool Selezionato() const;
    void Seleziona();
    QString Valore() const override;

private:
    friend class TInspector;
    QRadioButton* radio_ = nullptr;
};

class TItemCheck : public TItemInspector {
public:
    bool Spuntato() const;
    void ImpostaSpuntato(bool s);
    QString Valore() const override;

private:
    friend class TInspector;
    QCheckBox* casella_ = nullptr;
};

class TItemSpin : public TItemInspector {
public:
    int Numero() const;
    void ImpostaNumero(int v);
    QString Valore() const override;
    void ImpostaValore(const QString& v) override;

private:
    friend class TInspector;
    QSpinBox* spin_ = nullptr;
};

/// One or more buttons in a row: a "..." button, a style glyph, or the
/// colour and font buttons of the option panels.
class TItemPulsanti : public TItemInspector {
public:
    int NumPulsanti() const { return static_cast<int>(pulsanti_.size()); }
    QToolButton* Pulsante(int i) const { return pulsanti_.at(static_cast<std::size_t>(i)); }
    void ImpostaIcona(int i, const QIcon& icona);
    /// Shows colour c as a swatch on button i.
    void ImpostaColore(int i, const QColor& c);

private:
    friend class TInspector;
    std::vector<QToolButton*> pulsanti_;
};

class TInspector : public QTreeWidget {
    Q_OBJECT
public:
    explicit TInspector(QWidget* padre = nullptr);
    ~TInspector() override;

    TCategoria* AggiungiCategoria(const QString& nome, const QString& caption, bool conCasella = false,
                                  TItemInspector* padre = nullptr);
    TItemTesto* AggiungiTesto(const QString& nome, const QString& caption, const QString& hint,
                              TItemInspector* padre);
    TItemCombo* AggiungiCombo(const QString& nome, const QString& caption, const QStringList& elementi,
                              const QString& hint, TItemInspector* padre, bool scrivibile = false);
    TItemRadio* AggiungiRadio(const QString& nome, const QString& caption, const QString& hint,
                              TItemInspector* padre);
    TItemCheck* AggiungiCheck(const QString& nome, const QString& caption, const QString& hint,
                              TItemInspector* padre);
    TItemSpin* AggiungiSpin(const QString& nome, const QString& caption, int minimo, int massimo, int passo,
                            int valore, const QString& hint, TItemInspector* padre);
    /// testi: one entry per button (an empty text leaves room for an icon).
    TItemPulsanti* AggiungiPulsanti(const QString& nome, const QString& caption, const QStringList& testi,
                                    const QString& hint, TItemInspector* padre);

    /// The item with that name, or null.
    TItemInspector* Item(const QString& nome) const;
    template <class T> T* ItemDi(const QString& nome) const { return dynamic_cast<T*>(Item(nome)); }
    /// Makes it the current row and scrolls to it.
    void SelezionaItem(TItemInspector* item);
    /// Ends any editing in progress (the value typed so far is kept).
    void FineModifica();
    const std::vector<std::unique_ptr<TItemInspector>>& Items() const { return items_; }

    /// Never scrolls sideways: the captions' column takes at most a share
    /// of the width and the editors the rest.
    void scrollTo(const QModelIndex& indice, ScrollHint hint = EnsureVisible) override;

signals:
    void Cambiato(veltrano::widgets::TItemInspector* item);
    void ChiusuraLista(veltrano::widgets::TItemInspector* item);
    void Selezionato(veltrano::widgets::TItemInspector* item);
    void PulsanteCliccato(veltrano::widgets::TItemInspector* item, int indice);
    void UscitaItem(veltrano::widgets::TItemInspector* item);

private:
    std::vector<std::unique_ptr<TItemInspector>> items_;
    std::map<QString, TItemInspector*> perNome_;
    std::map<QTreeWidgetItem*, TItemInspector*> perRiga_;
    template <class T> T* Nuovo(const QString& nome, const QString& caption, const QString& hint,
                                TItemInspector* padre);
    void Monta(TItemInspector* item, QWidget* editor);
    bool eventFilter(QObject* o, QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void AdattaColonne();
};

} // namespace veltrano::widgets
