#include "kontoauszug.h"

#include "camtleser.h"
#include "mt940leser.h"

#include <QCryptographicHash>
#include <QFile>
#include <QHash>
#include <QRegularExpression>

bool Kontoauszug::lesen(const QString &datei, Kontoauszug *auszug, QString *fehler)
{
    QFile f(datei);
    if (!f.open(QIODevice::ReadOnly)) {
        *fehler = QStringLiteral("Die Datei %1 kann nicht gelesen werden: %2").arg(datei, f.errorString());
        return false;
    }
    return lesen(f.readAll(), auszug, fehler);
}

bool Kontoauszug::lesen(const QByteArray &daten, Kontoauszug *auszug, QString *fehler)
{
    *auszug = Kontoauszug();
    const QByteArray anfang = daten.left(4096).trimmed();
    const int bom = anfang.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    bool ok = false;
    if (anfang.mid(bom).startsWith('<'))
        ok = CamtLeser::lesen(daten, auszug, fehler);
    else if (Mt940Leser::istMt940(daten))
        ok = Mt940Leser::lesen(daten, auszug, fehler);
    else
        *fehler = QStringLiteral("Die Datei ist kein Kontoauszug im Format CAMT.053 oder MT940.");
    if (!ok)
        *auszug = Kontoauszug();
    return ok;
}

QStringList Kontoauszug::schluessel() const
{
    QStringList schluessel;
    QHash<QString, int> gesehen;
    for (const AuszugZeile &z : zeilen) {
        QString basis;
        // A blank or placeholder reference tells nothing apart.
        if (!z.referenz.isEmpty() && z.referenz.compare(QLatin1String("NONREF"), Qt::CaseInsensitive) != 0
            && z.referenz.compare(QLatin1String("NOTPROVIDED"), Qt::CaseInsensitive) != 0) {
            basis = QStringLiteral("R:") + z.referenz;
        } else {
            const QByteArray text = QStringLiteral("%1|%2|%3|%4")
                                        .arg(z.datum.toString(Qt::ISODate), QString::number(z.cent), z.iban, z.zweck)
                                        .toUtf8();
            basis = QStringLiteral("H:")
                    + QString::fromLatin1(QCryptographicHash::hash(text, QCryptographicHash::Sha1).toHex());
        }
        // Two equal lines (a member paying twice the same day) are both real: count them.
        const int vorher = gesehen[basis]++;
        schluessel << (vorher == 0 ? basis : basis + QStringLiteral("#%1").arg(vorher + 1));
    }
    return schluessel;
}

QDate Kontoauszug::von() const
{
    QDate d;
    for (const AuszugZeile &z : zeilen) {
        if (!d.isValid() || z.datum < d)
            d = z.datum;
    }
    return d.isValid() ? d : anfangsdatum;
}

QDate Kontoauszug::bis() const
{
    QDate d = enddatum;
    for (const AuszugZeile &z : zeilen) {
        if (!d.isValid() || z.datum > d)
            d = z.datum;
    }
    return d;
}

bool UtilAuszugCent(const QString &text, qint64 *cent)
{
    static const QRegularExpression muster(QStringLiteral("^(-?)(\\d{1,15})(?:[.,](\\d{0,2}))?$"));
    const QRegularExpressionMatch m = muster.match(text.trimmed());
    if (!m.hasMatch())
        return false;
    const QString bruch = (m.captured(3) + QStringLiteral("00")).left(2);
    const qint64 wert = m.captured(2).toLongLong() * 100 + bruch.toLongLong();
    *cent = m.captured(1).isEmpty() ? wert : -wert;
    return true;
}
