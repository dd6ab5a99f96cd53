#pragma once

#include <QDate>
#include <QList>
#include <QRandomGenerator>
#include <QString>

// Fills an empty database with realistic, consistent demo books of a
// Landesverband, made by a seeded generator so that every run gives the same data.
class DemoDaten
{
public:
    // How long one step of the generation took (for the benchmark).
    struct Messung
    {
        QString schritt;
        qint64 ms = 0;
        qint64 zeilen = 0;
    };

    // Members are numbered from 1; the highest number that can still have an account.
    static constexpr int MaxMitglieder = 999998;

    explicit DemoDaten(quint32 saat);

    // The last day of the books; dates of entries, fees and states are relative
    // to it. Defaults to today; set it to get the same data on every day.
    void setStichtag(const QDate &tag);
    QDate stichtag() const { return m_stichtag; }

    // Units, chart, settings, members with addresses and bank details, donation
    // parameters, templates and journal entries, into an empty database in one
    // transaction: false (and nothing written) when a statement fails or more
    // than MaxMitglieder members are asked for.
    // `buchungen` is the exact number of journal entries.
    bool erzeugen(int mitglieder, int buchungen);

    const QList<Messung> &messungen() const { return m_messungen; }

private:
    QRandomGenerator m_zufall;
    QDate m_stichtag;
    QList<Messung> m_messungen;
};
