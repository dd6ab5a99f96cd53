#pragma once

#include <QByteArray>
#include <QString>

struct Kontoauszug;

// Reads a SWIFT MT940 statement file, with the purpose field :86: in the
// structured form of the German banks (?20..?29 purpose, ?30 BIC, ?31 IBAN,
// ?32/?33 name) or as plain text. Several statements of one account in one
// file are read as one: the first opening and the last closing balance count.
class Mt940Leser
{
public:
    // The file looks like MT940: a line beginning ":20:" and one beginning ":25:".
    static bool istMt940(const QByteArray &daten);
    static bool lesen(const QByteArray &daten, Kontoauszug *auszug, QString *fehler);
};
