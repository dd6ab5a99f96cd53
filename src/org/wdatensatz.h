#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>

class QGridLayout;
class QLineEdit;
class QWidget;

// The input fields of one owner's row in `adresse` or `bankverbindung`, keyed
// by owner kind ("M", "L", "V") and key. Not a widget itself: the parent dialog
// owns the fields. Saving updates the row, else inserts it; all fields empty deletes it.
class WDatensatz
{
public:
    virtual ~WDatensatz() = default;
    WDatensatz(const WDatensatz &) = delete;
    WDatensatz &operator=(const WDatensatz &) = delete;

    void setEnabled(bool an);
    void clear();
    void pFelder();
    bool isEmpty();
    void read(const QString &art, const QString &key);
    void write(const QString &art, const QString &key);
    void del(const QString &art, const QString &key);

protected:
    WDatensatz(const QString &tabelle, QWidget *parent);

    // Adds a column with its field; without a field the column stays empty.
    QLineEdit *neueSpalte(const QString &name, int breite, int laenge, bool mitFeld = true);

    // The cleaned value of the i-th column from the last collection.
    const QString &wert(int i) const { return m_werte.at(i); }

    // Puts a label, with the field as its buddy, into the grid.
    void beschrifte(QGridLayout *layout, const QString &text, int zeile, int spalte, QLineEdit *feld) const;

    // Columns written before the fields' own (the address's search name).
    virtual QStringList zusatzSpalten() const { return {}; }
    virtual QVariantList zusatzWerte() const { return {}; }

    // The stored form of the i-th field's text, and the shown form of a stored value.
    virtual QString speicherForm(int i, const QString &text) const;
    virtual QString anzeigeForm(int i, const QString &wert) const;

private:
    QString m_tabelle;
    QWidget *m_eltern;
    QStringList m_spalten;
    QList<QLineEdit *> m_felder; // nullptr where a column has no field
    QStringList m_werte;
};
