#pragma once

#include <QDate>
#include <QString>

// The only writer of journal entries: one `journdat` row with its two `kgkto`
// lines in one transaction. `lfd` < 1 creates a new entry with the next number
// of its date; otherwise the entry is rewritten. Returns the number, -1 on failure.
int UtilBuch(const QDate &datum, int lfd, const QString &kost, const QString &beleg, const QString &butext,
             qint64 cent, const QString &konto, const QString &gkonto, const QString &beschluss,
             const QString &art);

// Start of the current fiscal year (1 January of this year).
QDate UtilGJVon();

// Start of the fiscal year that contains `datum`.
QDate UtilGJVonDatum(const QDate &datum);

// "Soll der Datensatz gelöscht werden": true when the user chose Ok.
bool UtilQDelete();
