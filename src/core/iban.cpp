#include "iban.h"

#include <QHash>

namespace {

bool istZiffer(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }
bool istBuchstabe(QChar c) { return c >= QLatin1Char('A') && c <= QLatin1Char('Z'); }
bool istAlnum(QChar c) { return istZiffer(c) || istBuchstabe(c); }

bool alle(const QString &text, bool (*passt)(QChar))
{
    for (const QChar c : text) {
        if (!passt(c))
            return false;
    }
    return true;
}

// The two check digits that make `rest` (the remainder with "00" in their place) come out as 1.
QString pruefziffern(int rest) { return QString::number(98 - rest).rightJustified(2, QLatin1Char('0')); }

} // namespace

QString Iban::normal(const QString &text)
{
    QString ergebnis;
    for (const QChar c : text) {
        if (!c.isSpace())
            ergebnis += c.toUpper();
    }
    return ergebnis;
}

QString Iban::gruppiert(const QString &iban)
{
    const QString n = normal(iban);
    QString ergebnis;
    for (int i = 0; i < n.size(); i += 4) {
        if (i > 0)
            ergebnis += QLatin1Char(' ');
        ergebnis += n.mid(i, 4);
    }
    return ergebnis;
}

int Iban::laenge(const QString &land)
{
    // The countries of the SEPA scheme and the length of their IBANs.
    static const QHash<QString, int> tabelle = {
        {QStringLiteral("AD"), 24}, {QStringLiteral("AL"), 28}, {QStringLiteral("AT"), 20},
        {QStringLiteral("BE"), 16}, {QStringLiteral("BG"), 22}, {QStringLiteral("CH"), 21},
        {QStringLiteral("CY"), 28}, {QStringLiteral("CZ"), 24}, {QStringLiteral("DE"), 22},
        {QStringLiteral("DK"), 18}, {QStringLiteral("EE"), 20}, {QStringLiteral("ES"), 24},
        {QStringLiteral("FI"), 18}, {QStringLiteral("FR"), 27}, {QStringLiteral("GB"), 22},
        {QStringLiteral("GI"), 23}, {QStringLiteral("GR"), 27}, {QStringLiteral("HR"), 21},
        {QStringLiteral("HU"), 28}, {QStringLiteral("IE"), 22}, {QStringLiteral("IS"), 26},
        {QStringLiteral("IT"), 27}, {QStringLiteral("LI"), 21}, {QStringLiteral("LT"), 20},
        {QStringLiteral("LU"), 20}, {QStringLiteral("LV"), 21}, {QStringLiteral("MC"), 27},
        {QStringLiteral("MD"), 24}, {QStringLiteral("ME"), 22}, {QStringLiteral("MK"), 19},
        {QStringLiteral("MT"), 31}, {QStringLiteral("NL"), 18}, {QStringLiteral("NO"), 15},
        {QStringLiteral("PL"), 28}, {QStringLiteral("PT"), 25}, {QStringLiteral("RO"), 24},
        {QStringLiteral("RS"), 22}, {QStringLiteral("SE"), 24}, {QStringLiteral("SI"), 19},
        {QStringLiteral("SK"), 24}, {QStringLiteral("SM"), 27}, {QStringLiteral("VA"), 22},
    };
    return tabelle.value(land, 0);
}

int Iban::rest97(const QString &text)
{
    // Digit by digit, so that no number grows beyond a few digits.
    int rest = 0;
    for (const QChar c : text) {
        if (istZiffer(c))
            rest = (rest * 10 + c.digitValue()) % 97;
        else if (istBuchstabe(c))
            rest = (rest * 100 + (c.unicode() - 'A' + 10)) % 97;
        else
            return -1;
    }
    return rest;
}

QString Iban::fehler(const QString &iban)
{
    const QString n = normal(iban);
    if (n.isEmpty())
        return QStringLiteral("IBAN fehlt");
    if (!alle(n, istAlnum))
        return QStringLiteral("IBAN enthält unzulässige Zeichen");
    const QString land = n.left(2);
    const int soll = laenge(land);
    if (!alle(land, istBuchstabe) || soll == 0)
        return QStringLiteral("Land \"%1\" nimmt nicht an SEPA teil").arg(land);
    if (n.size() != soll)
        return QStringLiteral("IBAN aus %1 hat %2 Stellen, nicht %3").arg(land).arg(soll).arg(n.size());
    if (!alle(n.mid(2, 2), istZiffer) || rest97(n.mid(4) + n.left(4)) != 1)
        return QStringLiteral("Prüfziffer der IBAN stimmt nicht");
    return QString();
}

QString Iban::ausKonto(const QString &blz, const QString &konto)
{
    if (blz.size() != 8 || !alle(blz, istZiffer) || konto.isEmpty() || konto.size() > 10 || !alle(konto, istZiffer)
        || konto.toLongLong() == 0)
        return QString();
    const QString bban = blz + konto.rightJustified(10, QLatin1Char('0'));
    return QStringLiteral("DE") + pruefziffern(rest97(bban + QStringLiteral("DE00"))) + bban;
}

QString Iban::glaeubigerIdFehler(const QString &id)
{
    const QString n = normal(id);
    if (n.isEmpty())
        return QStringLiteral("Gläubiger-ID fehlt");
    if (!alle(n, istAlnum))
        return QStringLiteral("Gläubiger-ID enthält unzulässige Zeichen");
    const QString land = n.left(2);
    if (!alle(land, istBuchstabe) || laenge(land) == 0)
        return QStringLiteral("Land \"%1\" nimmt nicht an SEPA teil").arg(land);
    // Country, check digits, three characters of business code, the national part.
    const int soll = land == QLatin1String("DE") ? 18 : 0;
    if ((soll > 0 && n.size() != soll) || n.size() < 8 || n.size() > 35)
        return soll > 0 ? QStringLiteral("Gläubiger-ID aus %1 hat %2 Stellen, nicht %3").arg(land).arg(soll).arg(n.size())
                        : QStringLiteral("Gläubiger-ID hat eine falsche Länge");
    // The business code (places 5 to 7) does not count for the check digits.
    if (!alle(n.mid(2, 2), istZiffer) || rest97(n.mid(7) + n.left(4)) != 1)
        return QStringLiteral("Prüfziffer der Gläubiger-ID stimmt nicht");
    return QString();
}

QString Iban::bicFehler(const QString &bic)
{
    const QString n = normal(bic);
    if (n.size() != 8 && n.size() != 11)
        return QStringLiteral("BIC hat 8 oder 11 Stellen");
    if (!alle(n.left(6), istBuchstabe) || !alle(n.mid(6), istAlnum))
        return QStringLiteral("BIC ist falsch aufgebaut");
    return QString();
}

QString Iban::mandatsreferenzFehler(const QString &referenz)
{
    if (referenz.isEmpty())
        return QStringLiteral("Mandatsreferenz fehlt");
    if (referenz.size() > 35)
        return QStringLiteral("Mandatsreferenz hat mehr als 35 Zeichen");
    for (const QChar c : referenz) {
        if (!istAlnum(c.toUpper()) && !QStringLiteral("+?/-:().,").contains(c))
            return QStringLiteral("Mandatsreferenz enthält unzulässige Zeichen");
    }
    return QString();
}
