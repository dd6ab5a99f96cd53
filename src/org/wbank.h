#pragma once

#include "wdatensatz.h"

class QGridLayout;
class QLineEdit;
class QWidget;

// The bank details of a member, supplier or unit: input fields and the one row
// of `bankverbindung`, keyed like the address.
class WBank : public WDatensatz
{
public:
    explicit WBank(QWidget *parent);

    QLineEdit *KontoInh() const { return m_inhaber; }
    QLineEdit *KontoNr() const { return m_nummer; }
    QLineEdit *KontoBlz() const { return m_blz; }
    QLineEdit *KontoBank() const { return m_bank; }
    QLineEdit *KontoBic() const { return m_bic; }
    QLineEdit *KontoIban() const { return m_iban; }

    void FuellLayout(QGridLayout *layout, int zeile, int spalte);

private:
    QLineEdit *m_inhaber;
    QLineEdit *m_nummer;
    QLineEdit *m_blz;
    QLineEdit *m_bank;
    QLineEdit *m_bic;
    QLineEdit *m_iban;
};
