#include "zahlwort.h"

#include <array>

namespace {

const std::array<const char *, 13> kEiner = {"null", "eins", "zwei", "drei",  "vier", "fünf", "sechs",
                                             "sieben", "acht", "neun", "zehn", "elf",  "zwölf"};

// Index 2 to 9; the first two stay empty.
const std::array<const char *, 10> kZehner = {"",         "",        "zwanzig",  "dreißig", "vierzig",
                                              "fünfzig",  "sechzig", "siebzig",  "achtzig", "neunzig"};

QString wort(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

QString zehnUndEiner(int n)
{
    // Sixteen and seventeen drop letters of their units word, as on any German cheque.
    if (n == 16)
        return QStringLiteral("sechzehn");
    if (n == 17)
        return QStringLiteral("siebzehn");
    return wort(kEiner[n % 10]) + QStringLiteral("zehn");
}

} // namespace

QString UtilZahlwortZiffer(const QString &suffix, int n)
{
    n = ((n % 1000) + 1000) % 1000;
    if (n == 0)
        return QString(); // an empty group gets no word, not even its suffix

    QString ergebnis;
    if (n >= 200)
        ergebnis += wort(kEiner[n / 100]) + QStringLiteral("hundert");
    else if (n >= 100)
        ergebnis += QStringLiteral("einhundert");
    n %= 100;

    if (n >= 20) {
        const int d = n % 10;
        if (d >= 2)
            ergebnis += wort(kEiner[d]) + QStringLiteral("und");
        else if (d == 1)
            ergebnis += QStringLiteral("einund");
        ergebnis += wort(kZehner[n / 10]);
    } else if (n >= 13) {
        ergebnis += zehnUndEiner(n);
    } else if (n >= 2) {
        ergebnis += wort(kEiner[n]);
    } else if (n == 1) {
        ergebnis += suffix == QLatin1String("millionen") ? QStringLiteral("eine") : QStringLiteral("ein");
    }
    return ergebnis + suffix;
}

QString UtilZahlwort(long long cent)
{
    const long long euro = cent / 100;
    // Only the last nine digits are spelled.
    const int e = static_cast<int>(euro % 1000000000LL);

    QString ergebnis;
    if (euro >= 1000000) {
        ergebnis = UtilZahlwortZiffer(QStringLiteral("millionen"), e / 1000000)
            + UtilZahlwortZiffer(QStringLiteral("tausend"), (e % 1000000) / 1000)
            + UtilZahlwortZiffer(QString(), e % 1000);
    } else if (euro >= 1000) {
        ergebnis = UtilZahlwortZiffer(QStringLiteral("tausend"), (e % 1000000) / 1000)
            + UtilZahlwortZiffer(QString(), e % 1000);
    } else if (euro >= 1) {
        ergebnis = UtilZahlwortZiffer(QString(), e % 1000);
    } else {
        ergebnis = QStringLiteral("null");
    }

    // The sign follows the amount, so a negative amount adds no cents.
    const int c = static_cast<int>(cent % 100);
    if (c > 0)
        ergebnis += QStringLiteral("komma") + wort(kEiner[c / 10]) + wort(kEiner[c % 10]);

    if (!ergebnis.isEmpty())
        ergebnis[0] = ergebnis.at(0).toUpper();
    return ergebnis;
}
