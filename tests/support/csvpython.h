#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// CSV files written and read by Python's csv module (tests/csvdialekt.py), the
// independent side against which the program's CSV files are checked.
namespace CsvPython {

using Zeilen = QList<QStringList>;

// The rows of the file as Python reads them with these delimiters (an empty
// text delimiter: no quoting) and this encoding.
Zeilen lesen(const QString &datei, const QString &trenner = QStringLiteral(","),
             const QString &texttrenner = QStringLiteral("\""), const QString &kodierung = QStringLiteral("latin-1"));

// Writes the rows with Python's quoting "minimal" or "alle", the line end given
// escaped ("\\r\\n") and the encoding.
void schreiben(const QString &datei, const Zeilen &zeilen, const QString &trenner, const QString &quoting,
               const QString &zeilenende, const QString &kodierung);

} // namespace CsvPython
