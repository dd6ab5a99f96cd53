#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Bank statements of given lines as the banks write them, built from the
// published message structures: CAMT.053 (001.02 and 001.08) and MT940 with the
// German structured purpose field :86:.
struct AuszugPosten
{
    QString datum;       // "yyyy-MM-dd"
    qint64 cent = 0;     // as booked on the own account
    qint64 gebuehr = 0;  // bank charges contained in it
    QString name;
    QString iban;
    QString zweck;
    QString ref;         // the bank's reference, empty for none
    QString grund;       // return reason code: the line is a returned direct debit
    int stapel = 0;      // lines with the same number above 0 are one batch booking
};

namespace AuszugExport {

// The own account of the demo statements.
QString eigeneIban();

// `version` "001.02" or "001.08"; the closing balance is `anfang` plus the lines.
QByteArray camt(const QString &version, const QList<AuszugPosten> &posten, qint64 anfang);

// In ISO 8859-1, as the banks write it; a batch becomes one line per transaction.
QByteArray mt940(const QList<AuszugPosten> &posten, qint64 anfang);

} // namespace AuszugExport
