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

    // The first row of a query as texts (empty when there is none), and a count.
    static QStringList zeile(const QString &sql, const QVariantList &werte = {});
    static int anzahl(const QString &sql, const QVariantList &werte = {});

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
