#include "spendenart.h"

#include "textutil.h"

#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QLabel>

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

void anteilFelder(QGridLayout *grid, QDoubleSpinBox *(&proz)[6], int zeile, int jeZeile, QWidget *parent)
{
    for (auto &feld : proz)
        feld = UtilProzentFeld(parent);
    const char *const ebenen[6] = {"International", "Bundesverband", "Landesverband",
                                   "Bezirksverband", "Kreisverband", "Ortsverband"};
    for (int i = 0; i < 6; ++i) {
        const int index = 5 - i;
        const int z = zeile + i / jeZeile;
        const int sp = (i % jeZeile) * 2;
        grid->addWidget(new QLabel(QString::fromLatin1(ebenen[index]), parent), z, sp);
        grid->addWidget(proz[index], z, sp + 1);
    }
}

} // namespace SpendenArt
