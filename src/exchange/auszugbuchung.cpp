#include "auszugbuchung.h"

#include "db.h"
#include "parameter.h"
#include "spende.h"
#include "textutil.h"
#include "utilbuch.h"

#include <QDateTime>
#include <QScopeGuard>
#include <QSet>
#include <QSqlQuery>

namespace {

constexpr int kSplitZeilen = 6;

} // namespace

AuszugBuchung::AuszugBuchung(const Kontoauszug &auszug) : m_auszug(auszug), m_schluessel(auszug.schluessel()) {}

QList<bool> AuszugBuchung::erledigt() const
{
    QSet<QString> gelesen;
    QSqlQuery q = Db::abfrage(QStringLiteral("SELECT schluessel FROM auszugzeile WHERE bankkonto=?"), {m_auszug.konto});
    while (q.next())
        gelesen.insert(q.value(0).toString());
    QList<bool> liste;
    for (const QString &s : m_schluessel)
        liste << gelesen.contains(s);
    return liste;
}

QDate AuszugBuchung::neuBezahlt(const QDate &bezahlt, qint64 cent)
{
    if (cent < 0)
        return QDate(bezahlt.year() - (bezahlt.month() == 1 ? 2 : 1), 12, 31);
    return QDate(bezahlt.year() + (bezahlt.month() == 12 ? 1 : 0), 12, 31);
}

bool AuszugBuchung::buchen(const QString &bankKonto, const QList<Vorschlag> &wahl)
{
    m_fehler.clear();
    m_gebucht = 0;
    const QList<bool> fertig = erledigt();
    const QString jetzt = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));

    // Thousands of fees change more pages than SQLite's default cache holds.
    const QVariant cache = Db::wert(QStringLiteral("PRAGMA cache_size"));
    Db::ausfuehren(QStringLiteral("PRAGMA cache_size=-262144"));
    const auto zurueck = qScopeGuard([&cache] { Db::ausfuehren(QStringLiteral("PRAGMA cache_size=") + cache.toString()); });

    for (int i = 0; i < m_auszug.zeilen.size() && i < wahl.size(); ++i) {
        if (!fertig.at(i) && wahl.at(i).art != Vorschlag::Art::Offen && m_auszug.zeilen.at(i).gebuehr != 0
            && UtilBankGebKonto().isEmpty()) {
            m_fehler = QStringLiteral("Zeile %1 enthält Bankgebühren, aber für sie ist kein Konto eingestellt "
                                      "(Dienstprogramme / Setup).")
                           .arg(i + 1);
            return false;
        }
    }

    Db::Transaktion transaktion;
    Spende spende;
    for (int i = 0; i < m_auszug.zeilen.size() && i < wahl.size(); ++i) {
        if (fertig.at(i) || wahl.at(i).art == Vorschlag::Art::Offen)
            continue;
        const AuszugZeile &z = m_auszug.zeilen.at(i);
        const int lfd = zeileBuchen(spende, bankKonto, z, wahl.at(i));
        if (lfd < 1) {
            m_fehler = QStringLiteral("Zeile %1 (%2, %3 EUR): ")
                           .arg(QString::number(i + 1), UtilDatumZeige(z.datum), UtilBetragText(z.cent))
                       + UtilBuchMeldung(lfd);
            return false;
        }
        if (Db::ausfuehren(QStringLiteral("INSERT INTO auszugzeile (bankkonto,schluessel,datum,cent,jdatum,jlfd,"
                                          "erfasst) VALUES (?,?,?,?,?,?,?)"),
                           {m_auszug.konto, m_schluessel.at(i), UtilDatumText(z.datum), z.cent,
                            UtilDatumText(z.datum), lfd, jetzt})
            < 1) {
            m_fehler = Db::fehlerText();
            return false;
        }
        ++m_gebucht;
    }
    if (!transaktion.commit()) {
        m_fehler = Db::fehlerText();
        m_gebucht = 0;
        return false;
    }
    return true;
}

int AuszugBuchung::zeileBuchen(Spende &spende, const QString &bankKonto, const AuszugZeile &z, const Vorschlag &v)
{
    // The charges leave the bank account as an entry of their own; the rest is the payment.
    const qint64 betrag = z.cent + z.gebuehr;
    if (z.gebuehr != 0) {
        const int ergebnis = UtilBuch(z.datum, 0, v.kost, z.referenz, QStringLiteral("Bankgebühr ") + z.name,
                                      -z.gebuehr, bankKonto, UtilBankGebKonto(), QString(), QString());
        if (ergebnis < 1)
            return ergebnis;
    }
    switch (v.art) {
    case Vorschlag::Art::Beitrag:
    case Vorschlag::Art::Rueckgabe: {
        const int lfd = beitragBuchen(spende, bankKonto, z, v.mid, betrag);
        // A returned debit: the next run asks for the fee instead of debiting it again.
        if (lfd > 0 && v.art == Vorschlag::Art::Rueckgabe && z.rueckgabe
            && Db::ausfuehren(QStringLiteral("UPDATE mitglied SET zahlart='G' WHERE mid=?"), {v.mid}) < 0)
            return UtilBuchFehler;
        return lfd;
    }
    default: {
        const QString text = v.text.isEmpty() ? z.name + QLatin1Char(' ') + z.zweck : v.text;
        return UtilBuch(z.datum, 0, v.kost, z.referenz, text, betrag, bankKonto, v.konto, QString(), QString());
    }
    }
}

// A member's fee, or its reversal, the way Bank/Kasse books it with the donation dialog.
int AuszugBuchung::beitragBuchen(Spende &spende, const QString &bankKonto, const AuszugZeile &z, int mid, qint64 cent)
{
    const QDate bezahlt =
        UtilDatum(Db::wert(QStringLiteral("SELECT bezahlt FROM mitglied WHERE mid=?"), {mid}).toString());
    spende.clear();
    spende.setParam(mid, QLatin1Char('M'), neuBezahlt(bezahlt.isValid() ? bezahlt : z.datum, cent));
    qint64 betrag = 0;
    QString hauptKonto;
    QString kost;
    QString text;
    QString leer;
    spende.aufteilung(false, -2, cent, &betrag, &leer, &text);
    spende.aufteilung(false, -1, cent, &betrag, &hauptKonto, &kost);
    const int lfd = UtilBuch(z.datum, 0, kost, z.referenz, text, cent, bankKonto, hauptKonto, QString(), QString());
    if (lfd < 1)
        return lfd;
    for (int i = 0; i < kSplitZeilen; ++i) {
        qint64 teil = 0;
        QString konto;
        QString teilKost;
        spende.aufteilung(false, i, cent, &teil, &konto, &teilKost);
        if (teil == 0 || konto.isEmpty())
            continue;
        const int ergebnis = UtilBuch(z.datum, 0, teilKost, QString(), text, teil, hauptKonto, konto, QString(), QString());
        if (ergebnis < 1)
            return ergebnis;
    }
    return spende.write(z.datum, lfd) ? lfd : UtilBuchFehler;
}
