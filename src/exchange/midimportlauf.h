#pragma once

#include "wadresse.h"
#include "wbank.h"

#include <QDate>
#include <QList>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <array>
#include <functional>

class CSVDatei;

// One import of the central register's member list from a CSV file, without
// the dialog: recognises the columns by their header names (German or English),
// updates or inserts each member with address and bank details, and collects
// the current members that the file no longer lists. Each line is written whole
// or not at all; lines are committed in groups of a fraction of a second, and
// only committed lines are counted and reported as read.
class MIDImportLauf
{
public:
    enum class Ergebnis {
        Fertig,
        NichtGeoeffnet, // the file did not open (CSVDatei has said why)
        FalschesFormat, // no member-number or surname column
        KeineDaten,     // an empty file, or not one line read
        Abgebrochen,    // stopped on request; the lines read so far are kept
        Datenbankfehler // a line could not be written (Db::fehlerText()); the lines before it are kept
    };

    explicit MIDImportLauf(CSVDatei &datei);
    ~MIDImportLauf();
    MIDImportLauf(const MIDImportLauf &) = delete;
    MIDImportLauf &operator=(const MIDImportLauf &) = delete;

    // Called every sixth line with the number of lines read; returning false stops the import.
    void setFortschritt(std::function<bool(int gelesen)> fortschritt) { m_fortschritt = std::move(fortschritt); }

    Ergebnis importieren();

    int gelesen() const { return m_gelesen; }
    int neu() const { return m_neu; }
    int aktualisiert() const { return m_aktualisiert; }
    int nichtMehrVorhanden() const { return m_nichtMehr; }
    // Lines not taken and values not taken, one text each ("Zeile 7: ...").
    const QStringList &hinweise() const { return m_hinweise; }
    // The four counters, one per line, then the notes.
    QString bericht() const;

    // Gives every member that the file no longer lists the file's date as leaving date, all or none.
    bool austrittMarkieren();

private:
    enum Ziel {
        Mid, Intnr, Vorname, Nachname, Gebdat, Sex, Strasse, Plz, Ort, Land, Nation, Tel, Mail, Zahlart,
        Inhaber, Nummer, Blz, Bank, Beitrag, Eintritt, Austritt, Gemeinde, Landkreis, Regierungsbezirk,
        Bundesland, ZielAnzahl
    };
    using Werte = std::array<QString, ZielAnzahl>;

    // Finds the columns in the line just started; false without member number or surname.
    bool kopfLesen();
    bool hat(Ziel ziel) const { return m_spalte[ziel] >= 0; }
    void eigeneGliederungen();
    void anweisungenVorbereiten();
    // One data line; false when the database refused it.
    bool zeile(const QStringList &felder, int nr);
    bool schreiben(int mid, Werte &w, const QList<QVariant> &daten);
    void hinweis(int nr, const QString &text);
    bool exec(QSqlQuery &q);

    CSVDatei &m_datei;
    QDate m_dateiDatum;
    std::function<bool(int)> m_fortschritt;
    std::array<int, ZielAnzahl> m_spalte{};
    int m_felder = 0;
    QStringList m_eigene;
    bool m_tabelle = false;

    QWidget m_traeger; // never shown: the parent of the carriers' fields
    WAdresse m_adresse{1, &m_traeger};
    WBank m_bank{&m_traeger};
    QSqlQuery m_update;
    QSqlQuery m_insert;
    QSqlQuery m_vorhanden;

    int m_gelesen = 0, m_neu = 0, m_aktualisiert = 0, m_nichtMehr = 0;
    int m_offenGelesen = 0, m_offenNeu = 0, m_offenAktualisiert = 0;
    QStringList m_hinweise;
};
