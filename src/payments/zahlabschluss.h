#pragma once

#include <QString>

// Closes the payment run. Every carried-out row gives its member the new payment
// status; every direct debit with a ledger account and an execution date is
// booked as the member's fee: the main entry, the entries of the donation split,
// the `spende` row and the member's new paid-until date. Then the run is removed.
// All of it is one transaction: the run is closed completely or stays untouched.
class ZahlungAbschluss
{
public:
    // False when anything failed; then nothing has changed and fehler() says why.
    bool ausfuehren();

    QString fehler() const { return m_fehler; }
    int mitglieder() const { return m_mitglieder; } // members moved on
    int buchungen() const { return m_buchungen; }   // debits booked

private:
    // One carried-out row of the run.
    struct Zeile
    {
        int mid;
        QString statusneu;
        bool lastschrift;
        QString konto;   // ledger account of the debits
        QString datum;   // execution date
        qint64 cent;
    };

    static QList<Zeile> zeilen();

    QString m_fehler;
    int m_mitglieder = 0;
    int m_buchungen = 0;
};
