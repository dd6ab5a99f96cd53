#include "suchname.h"

#include <QList>

namespace {

// Latin-1 code of an upper-cased code point; everything beyond Latin-1 reads as "?".
uint latin1(uint c)
{
    return c <= 0xFF ? static_cast<uint>(c) : uint('?');
}

} // namespace

QString SuchName(const QString &a, const QString &b)
{
    // QString::toUpper maps fully, so "ß" becomes "SS".
    const QList<uint> zeichen = (a + b).toUpper().toUcs4();

    QString ergebnis;
    ergebnis.reserve(zeichen.size());
    bool hatVorher = false;
    uint vorher = 0;
    for (const uint roh : zeichen) {
        const uint c = latin1(roh);
        // Repeats count before the umlauts are folded: Ä then A keeps both letters.
        if (hatVorher && c == vorher)
            continue;
        const uint davor = hatVorher ? vorher : 0;
        hatVorher = true;
        vorher = c;
        switch (c) {
        case 0xC4: // Ä
        case 0xE4: // ä
            ergebnis += QLatin1Char('A');
            break;
        case 0xD6: // Ö
        case 0xF6: // ö
            ergebnis += QLatin1Char('O');
            break;
        case 0xDC: // Ü
        case 0xFC: // ü
            ergebnis += QLatin1Char('U');
            break;
        case 'J':
        case 'Y':
            ergebnis += QLatin1Char('I');
            break;
        default:
            if (c < 'A' || c > 'Z')
                break;
            // "ae" and "ue" spell an umlaut; "oe" stays, so Schroeder keeps its E.
            if (c == 'E' && (davor == 'A' || davor == 'U'))
                break;
            ergebnis += QLatin1Char(static_cast<char>(c));
        }
    }
    return ergebnis;
}
