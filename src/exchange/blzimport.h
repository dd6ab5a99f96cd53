#pragma once

#include <QString>

// Replaces the table `blzdatei` by the records of the central bank's bank-code
// file: fixed-width lines in ISO 8859-1, one record per line.
class BlzImport
{
public:
    enum class Ergebnis {
        Fertig,        // table replaced
        NichtLesbar,   // file could not be read; fehler() holds the system's text
        KeinDatensatz, // not one record in the file
        Datenbank,     // the database refused; nothing changed
    };

    // Reads the whole file first, so that the old table stays whenever the file fails.
    Ergebnis importieren(const QString &datei);

    QString fehler() const { return m_fehler; }
    int anzahl() const { return m_anzahl; }

    // A record: at least 152 characters, beginning with an eight-digit bank code.
    static bool istDatensatz(const QString &zeile);

private:
    QString m_fehler;
    int m_anzahl = 0;
};
