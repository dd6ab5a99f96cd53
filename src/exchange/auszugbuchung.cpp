#include "auszugbuchung.h"

#include "db.h"
#include "parameter.h"
#include "spendenaufteilung.h"
#include "spendenbuchung.h"
#include "textutil.h"
#include "utilbuch.h"

#include <QDateTime>
#include <QScopeGuard>
#include <QSet>
#include <QSqlQuery>

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
    SpendenAufteilung aufteilung;
    aufteilung.festhalten();
    for (int i = 0; i < m_auszug.zeilen.size() && i < wahl.size(); ++i) {
        if (fertig.at(i) || wahl.at(i).art == Vorschlag::Art::Offen)
            continue;
        const AuszugZeile &z = m_auszug.zeilen.at(i);
        const int lfd = zeileBuchen(aufteilung, bankKonto, z, wahl.at(i));
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

int AuszugBuchung::zeileBuchen(SpendenAufteilung &aufteilung, const QString &bankKonto, const AuszugZeile &z, const Vorschlag &v)
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
        const int lfd = beitragBuchen(aufteilung, bankKonto, z, v.mid, betrag);
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

// A member's fee, or its reversal, the way Bank/Kasse books it with the donation split.
int AuszugBuchung::beitragBuchen(SpendenAufteilung &aufteilung, const QString &bankKonto, const AuszugZeile &z,
                                 int mid, qint64 cent)
{
    const QDate bezahlt = SpendenAufteilung::bezahltBis(mid);
    aufteilung.setParam(mid, QLatin1Char('M'), neuBezahlt(bezahlt.isValid() ? bezahlt : z.datum, cent));
    aufteilung.angaben().betrag = cent;
    aufteilung.aufteilen(false, cent);
    return UtilSpendeBuchen(aufteilung, z.datum, z.referenz, bankKonto, cent);
}
