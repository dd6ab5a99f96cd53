#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

// One booked movement of a bank statement, seen from the own account. A batch
// booking of the bank gives one line per transaction it names.
struct AuszugZeile
{
    QDate datum;           // booking date
    QDate valuta;          // value date
    qint64 cent = 0;       // as booked on the own account: credits positive
    qint64 gebuehr = 0;    // bank charges contained in `cent`, positive when they cost us
    QString name;          // the other party
    QString iban;          // its IBAN (or account), without blanks, upper case
    QString bic;
    QString zweck;         // purpose text
    QString referenz;      // the bank's reference; empty when it gives none
    QString endToEnd;      // the payer's own reference
    bool rueckgabe = false; // a returned direct debit or transfer
    QString grund;          // the return's reason code ("AC04", "MD06", ...)
};

// A bank statement in one common form, whatever the bank's file format.
struct Kontoauszug
{
    QString format; // "camt.053.001.02", "camt.053.001.08", "MT940"
    QString konto;  // the own account: IBAN, or bank code/account number
    QString kennung;
    bool mitSalden = false; // opening and closing balance are known
    qint64 anfangssaldo = 0;
    QDate anfangsdatum;
    qint64 endsaldo = 0;
    QDate enddatum;
    QList<AuszugZeile> zeilen;

    // Reads a CAMT.053 or MT940 file, telling them apart by their content. False,
    // and `fehler` says why, when the file is no statement or is damaged.
    static bool lesen(const QString &datei, Kontoauszug *auszug, QString *fehler);
    static bool lesen(const QByteArray &daten, Kontoauszug *auszug, QString *fehler);

    // Per line the key that marks it as read: the bank's reference or, without one,
    // a hash of date, amount, IBAN and purpose; equal lines of one statement are counted.
    QStringList schluessel() const;

    // The first date of the statement's lines (or its opening date), and the last.
    QDate von() const;
    QDate bis() const;
};

// "1234.5" or "1234,50" (a point or a comma) as cents, without floating point.
bool UtilAuszugCent(const QString &text, qint64 *cent);
