#pragma once

#include <QByteArray>
#include <QString>

struct Kontoauszug;

// Reads an ISO 20022 bank-to-customer statement (camt.053, versions 001.02 and
// later, such as 001.08) into the common statement form. Only booked entries
// count; several statements of one account in one file are read as one.
class CamtLeser
{
public:
    static bool lesen(const QByteArray &daten, Kontoauszug *auszug, QString *fehler);
};
