#pragma once

#include <QRandomGenerator>

// Fills an empty database with realistic, consistent demo books of a
// Landesverband, made by a seeded generator so that every run gives the same data.
class DemoDaten
{
public:
    explicit DemoDaten(quint32 saat);

    // Units, chart, settings, members with addresses and bank details, donation
    // parameters, templates and journal entries; all in a few transactions.
    bool erzeugen(int mitglieder, int buchungen);

private:
    QRandomGenerator m_zufall;
};
