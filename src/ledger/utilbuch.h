#pragma once

#include <QDate>
#include <QString>

// The only writer of journal entries: one `journdat` row with its two `kgkto`
// lines in one transaction (a savepoint inside a caller's transaction). `lfd` < 1
// creates a new entry with the next number of its date; otherwise the entry is
// rewritten. Texts are cleaned like input fields. Returns the number, or one of:
constexpr int UtilBuchKeineNummer = -1; // no free number on the date, or no entry to rewrite
constexpr int UtilBuchFehler = -2;      // a statement failed; Db::fehlerText() names the cause
int UtilBuch(const QDate &datum, int lfd, const QString &kost, const QString &beleg, const QString &butext,
             qint64 cent, const QString &konto, const QString &gkonto, const QString &beschluss,
             const QString &art);

// What the user reads when UtilBuch returned `ergebnis` below 1: "Fehler beim
// Generieren der Nummer", or "Buchung konnte nicht gespeichert werden" and the cause.
QString UtilBuchMeldung(int ergebnis);

// The sign of a saved entry beside a dialog's buttons: "Gespeichert: 06.12.2026 Nr. 57, 60,00 EUR".
QString UtilGespeichert(const QDate &datum, int lfd, qint64 cent);

// Start of the current fiscal year (1 January of this year).
QDate UtilGJVon();

// Start of the fiscal year that contains `datum`.
QDate UtilGJVonDatum(const QDate &datum);

