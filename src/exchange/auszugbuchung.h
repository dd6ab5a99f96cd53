#pragma once

#include "auszugvorschlag.h"
#include "kontoauszug.h"

#include <QList>
#include <QString>
#include <QStringList>

class SpendenAufteilung;

// Posts the lines of a bank statement from a bank account of the books, each as
// it was chosen, and marks every posted line as read so that no statement read
// again posts it twice. A fee or a returned debit goes through the donation split
// (main entry, split entries, `spende` row, the member's paid-until date); a
// returned debit also sets the member's way of paying to "G" (bounced). Bank
// charges on a line go to the bank-fee account of the settings. All lines are
// one transaction: posted completely, or not at all.
class AuszugBuchung
{
public:
    explicit AuszugBuchung(const Kontoauszug &auszug);

    // Per line: read before (for this account), so it is not posted again.
    QList<bool> erledigt() const;

    // Posts every line that is not done and has a choice other than Offen.
    // False when anything failed; then nothing is written and fehler() says why.
    bool buchen(const QString &bankKonto, const QList<Vorschlag> &wahl);

    QString fehler() const { return m_fehler; }
    int gebucht() const { return m_gebucht; }

    // The paid-until date that a fee moves on (a returned fee moves back),
    // as the donation dialog proposes it.
    static QDate neuBezahlt(const QDate &bezahlt, qint64 cent);

private:
    int zeileBuchen(SpendenAufteilung &aufteilung, const QString &bankKonto, const AuszugZeile &z, const Vorschlag &v);
    int beitragBuchen(SpendenAufteilung &aufteilung, const QString &bankKonto, const AuszugZeile &z, int mid, qint64 cent);

    const Kontoauszug &m_auszug;
    const QStringList m_schluessel;
    QString m_fehler;
    int m_gebucht = 0;
};
