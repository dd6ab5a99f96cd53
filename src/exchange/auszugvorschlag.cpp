#include "auszugvorschlag.h"

#include "db.h"
#include "iban.h"
#include "kontoauszug.h"
#include "utilkonto.h"

#include <QRegularExpression>
#include <QSqlQuery>

namespace {

constexpr int kMidMax = 999999;

QString nummern(const QList<int> &mids)
{
    QStringList s;
    for (int mid : mids)
        s << QString::number(mid);
    return s.join(QStringLiteral(", "));
}

} // namespace

AuszugVorschlag::AuszugVorschlag()
{
    QSqlQuery m = Db::abfrage(QStringLiteral("SELECT mid FROM mitglied WHERE mid BETWEEN 1 AND ?"), {kMidMax});
    while (m.next())
        m_mitglieder.insert(m.value(0).toInt());
    QSqlQuery b = Db::abfrage(
        QStringLiteral("SELECT art,key,iban FROM bankverbindung WHERE art IN ('M','L') AND iban<>'' ORDER BY art,key"));
    while (b.next()) {
        const QString iban = Iban::normal(b.value(2).toString());
        if (b.value(0).toString() == QLatin1String("L")) {
            m_lieferantIban[iban] << b.value(1).toString();
        } else {
            const int mid = b.value(1).toInt();
            if (m_mitglieder.contains(mid))
                m_mitgliedIban[iban] << mid;
        }
    }
}

int AuszugVorschlag::mitgliedsnummer(const QString &zweck)
{
    // Our own debits write "MITGLIEDSNR. n"; members write it as they like.
    static const QRegularExpression muster(
        QStringLiteral("(?:\\bMITGLIEDS(?:NR\\.?|NUMMER)|\\bMITGL\\.?\\s?-?\\s?NR\\.?|\\bMID)\\s*:?\\s*(\\d{1,7})\\b"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = muster.match(zweck);
    const int mid = m.hasMatch() ? m.captured(1).toInt() : 0;
    return mid <= kMidMax ? mid : 0;
}

Vorschlag AuszugVorschlag::vorschlag(const AuszugZeile &zeile) const
{
    Vorschlag v;
    int mid = mitgliedsnummer(zeile.zweck);
    if (mid > 0 && m_mitglieder.contains(mid)) {
        v.hinweis = QStringLiteral("Mitgliedsnummer im Zweck");
    } else {
        if (mid > 0)
            v.hinweis = QStringLiteral("Mitglied %1 unbekannt. ").arg(mid);
        mid = 0;
        const QList<int> mids = m_mitgliedIban.value(zeile.iban);
        if (mids.size() == 1) {
            mid = mids.first();
            v.hinweis += QStringLiteral("IBAN des Mitglieds");
        } else if (mids.size() > 1) {
            // A shared account (a couple) tells no member apart.
            v.hinweis += QStringLiteral("IBAN mehrerer Mitglieder (%1)").arg(nummern(mids));
        }
    }
    if (mid > 0) {
        v.mid = mid;
        if (zeile.rueckgabe && zeile.cent < 0) {
            v.art = Vorschlag::Art::Rueckgabe;
            v.hinweis = QStringLiteral("Rücklastschrift") + (zeile.grund.isEmpty() ? QString() : QLatin1Char(' ') + zeile.grund)
                        + QStringLiteral(", ") + v.hinweis;
        } else if (zeile.cent > 0 && !zeile.rueckgabe) {
            v.art = Vorschlag::Art::Beitrag;
        }
        return v;
    }
    const QStringList lieferanten = zeile.iban.isEmpty() ? QStringList() : m_lieferantIban.value(zeile.iban);
    if (lieferanten.size() == 1) {
        v.art = Vorschlag::Art::Lieferant;
        v.konto = UtilLsKonto(lieferanten.first());
        v.text = lieferanten.first();
        v.hinweis = QStringLiteral("IBAN des Lieferanten");
    } else if (zeile.rueckgabe) {
        v.hinweis += QStringLiteral("Rücklastschrift ohne bekanntes Mitglied");
    }
    return v;
}
