#pragma once

class QGridLayout;
class QLabel;
class QLineEdit;
class QString;
class QWidget;
class WDatum;

// The SEPA mandate of a member, kept in the member's row of `bankverbindung`:
// its reference and the date it was signed. Left empty, the member number and
// the joining date stand for them. Like WBank not a widget itself.
class WMandat
{
public:
    explicit WMandat(QWidget *parent);
    WMandat(const WMandat &) = delete;
    WMandat &operator=(const WMandat &) = delete;

    QLineEdit *Referenz() const { return m_referenz; }
    WDatum *Datum() const { return m_datum; }

    void FuellLayout(QGridLayout *layout, int zeile, int spalte);
    void setEnabled(bool an);
    void clear();

    // Loads the mandate of the member with the bank row keyed `key`; the member number shows as the default.
    void read(const QString &key, int mid);
    // Stores it in the bank row, which the bank details have written before.
    void write(const QString &key) const;

    // False for a reference the banks do not take; then the field has the focus and the reason shows in `hinweis`.
    bool pruefen(QLabel *hinweis) const;

private:
    QLineEdit *m_referenz;
    WDatum *m_datum;
};
