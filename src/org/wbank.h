#pragma once

#include <QList>
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
    QList<QLineEdit *> felder() const;

    QLineEdit *m_inhaber = nullptr;
    QLineEdit *m_nummer = nullptr;
    QLineEdit *m_blz = nullptr;
    QLineEdit *m_bank = nullptr;
    QLineEdit *m_bic = nullptr;
    QLineEdit *m_iban = nullptr;

    // The cleaned values of the last collection.
    QString m_wInhaber;
    QString m_wNummer;
    QString m_wBlz;
    QString m_wBank;
    QString m_wBic;
    QString m_wIban;
};
