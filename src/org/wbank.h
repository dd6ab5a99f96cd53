#pragma once

#include "wdatensatz.h"

#include <QObject>

class QGridLayout;
class QLabel;
class QLineEdit;
class QWidget;

// The bank details of a member, supplier or unit: input fields and the one row
// of `bankverbindung`, keyed like the address. IBAN and BIC are checked when
// their field is left: a wrong one keeps the focus, with the reason beside it.
// A German account number with bank code gives the IBAN, the bank-code table
// the BIC. Both are stored without blanks; the IBAN shows in groups of four.
class WBank : public QObject, public WDatensatz
{
    Q_OBJECT

public:
    explicit WBank(QWidget *parent);

    QLineEdit *KontoInh() const { return m_inhaber; }
    QLineEdit *KontoNr() const { return m_nummer; }
    QLineEdit *KontoBlz() const { return m_blz; }
    QLineEdit *KontoBank() const { return m_bank; }
    QLineEdit *KontoBic() const { return m_bic; }
    QLineEdit *KontoIban() const { return m_iban; }
    QLabel *Hinweis() const { return m_hinweis; }

    void FuellLayout(QGridLayout *layout, int zeile, int spalte);

    // Before saving: fills in what can be derived, then checks IBAN and BIC.
    // False when one is wrong; its field then has the focus and the reason shows.
    bool pruefen();

protected:
    bool eventFilter(QObject *objekt, QEvent *ereignis) override;
    QString speicherForm(int i, const QString &text) const override;
    QString anzeigeForm(int i, const QString &wert) const override;

private slots:
    void pAbleiten();

private:
    // The reason why the field's text is wrong, empty when it is right or empty.
    QString fehler(const QLineEdit *feld) const;
    // Shows the reason for the field, or tidies its text when it is right.
    bool pFeldPruefen(QLineEdit *feld);
    void pBankAusBlz(const QString &blz);

    QLineEdit *m_inhaber;
    QLineEdit *m_nummer;
    QLineEdit *m_blz;
    QLineEdit *m_bank;
    QLineEdit *m_bic;
    QLineEdit *m_iban;
    QLabel *m_hinweis;
};
