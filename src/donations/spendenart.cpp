#include "spendenart.h"

namespace SpendenArt {

namespace {
const char kCodes[Anzahl + 1] = "ZGASMT";
const char *const kTexte[Anzahl] = {"Zweckgebundene Geldspende", "Allgemeine Geldspende", "Aufwandsspende",
                                    "Sachspende", "Mitgliedsbeitrag", "Mandatsträgerbeitrag"};
} // namespace

QChar code(int index)
{
    return QLatin1Char(index >= 0 && index < Anzahl ? kCodes[index] : kCodes[0]);
}

int index(QChar code)
{
    for (int i = 0; i < Anzahl; ++i) {
        if (code == QLatin1Char(kCodes[i]))
            return i;
    }
    return 0;
}

QString text(int index)
{
    return index >= 0 && index < Anzahl ? QString::fromUtf8(kTexte[index]) : QString();
}

} // namespace SpendenArt
