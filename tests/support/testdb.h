#pragma once

#include "interaktion.h"

#include <QList>
#include <QStringList>
#include <QVariantList>
#include <QString>
#include <QTemporaryDir>

// A fresh database file from the real schema, opened on the default connection
// with an empty settings cache. One per test function (create it in init()).
class TestDb
{
public:
    TestDb();
    ~TestDb();
    TestDb(const TestDb &) = delete;
    TestDb &operator=(const TestDb &) = delete;

    bool ok() const { return m_ok; }
    QString datei() const { return m_datei; }
    QString verzeichnis() const { return m_dir.path(); }

    // Writes a parameter row and reloads the settings cache.
    static void setParameter(const QString &key, const QString &wert);

    // Books in which a member's fee is split: own unit "LV Nord" under "BV", with
    // "KV Hafen" below it; the fee kind "M" gives 20 % to the Bundesverband, 30 %
    // to the own unit (staying on account 4000) and 50 % to the Kreisverband, so a
    // fee paid from bank account 1200 makes three journal entries.
    static void beitragsBuecher();

    // The first row of a query as texts (empty when there is none), and a count.
    static QStringList zeile(const QString &sql, const QVariantList &werte = {});
    static int anzahl(const QString &sql, const QVariantList &werte = {});
    // The first row of a statement run on another file, through a connection of its own.
    static QStringList zeileIn(const QString &datei, const QString &sql);

private:
    QTemporaryDir m_dir;
    QString m_datei;
    bool m_ok = false;
};

// Answers the interaction module's questions from a queue while it lives and
// records every request. A request with an empty queue is answered with Cancel
// (No, not ok) and counted as unexpected, so no test ever blocks on a window.
class SkriptInteraktion
{
public:
    SkriptInteraktion();
    ~SkriptInteraktion();
    SkriptInteraktion(const SkriptInteraktion &) = delete;
    SkriptInteraktion &operator=(const SkriptInteraktion &) = delete;

    void antworte(QMessageBox::StandardButton knopf);
    void antworteZahl(int zahl);
    void antworteText(const QString &text);
    void antworteAbbruch();
    void antworte(const Interaktion::Antwort &antwort);

    const QList<Interaktion::Anfrage> &anfragen() const { return m_anfragen; }
    int unerwartet() const { return m_unerwartet; }
    int offen() const { return m_antworten.size(); }

private:
    QList<Interaktion::Antwort> m_antworten;
    QList<Interaktion::Anfrage> m_anfragen;
    int m_unerwartet = 0;
};

// The bytes of a file (empty when it cannot be read); a file written whole.
QByteArray dateiInhalt(const QString &datei);
bool dateiSchreiben(const QString &datei, const QByteArray &daten);

// The text of a printed PDF file as pdftotext gives it ("-layout" keeps the lines;
// "-bbox" gives every word with its box in points).
QString pdfText(const QString &pdf, const QStringList &optionen = {QStringLiteral("-layout")});
