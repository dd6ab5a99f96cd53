#pragma once

#include <QString>

class QGridLayout;
class QLineEdit;
class QWidget;

// The bank details of a member, supplier or unit: input fields and the one row
// of `bankverbindung`, keyed like the address.
class WBank
{
public:
    explicit WBank(QWidget *parent);

    QLineEdit *KontoInh() const;
    QLineEdit *KontoNr() const;
    QLineEdit *KontoBlz() const;
    QLineEdit *KontoBank() const;
    QLineEdit *KontoBic() const;
    QLineEdit *KontoIban() const;

    void FuellLayout(QGridLayout *layout, int zeile, int spalte);
    void setEnabled(bool an);
    void clear();
    void pFelder();
    bool isEmpty();
    void read(const QString &art, const QString &key);
    void write(const QString &art, const QString &key);
    void del(const QString &art, const QString &key);

private:
    QLineEdit *m_inhaber = nullptr;
    QLineEdit *m_nummer = nullptr;
    QLineEdit *m_blz = nullptr;
    QLineEdit *m_bank = nullptr;
    QLineEdit *m_bic = nullptr;
    QLineEdit *m_iban = nullptr;
};
