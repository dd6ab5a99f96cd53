#include "zahlabschluss.h"

#include "db.h"
#include "spendenaufteilung.h"
#include "spendenbuchung.h"
#include "textutil.h"
#include "utilbuch.h"

#include <QDate>
#include <QList>
#include <QScopeGuard>
#include <QSqlQuery>

namespace {

// Books one debit as the member's fee for this calendar year, the way Bank/Kasse
// books a fee paid by transfer. Returns UtilBuch's result for the main entry.
int beitragBuchen(SpendenAufteilung &aufteilung, int mid, const QDate &datum, const QString &bank, qint64 cent)
{
    aufteilung.setParam(mid, QLatin1Char('M'), QDate(QDate::currentDate().year(), 12, 31));
    aufteilung.aufteilen(false, cent);
    return UtilSpendeBuchen(aufteilung, datum, QString(), bank, cent);
}

// Sets an SQLite setting of the connection until the returned guard goes.
auto pragmaFuerDenLauf(const QString &name, const QString &wert)
{
    const QString vorher = Db::wert(QStringLiteral("PRAGMA ") + name).toString();
    Db::ausfuehren(QStringLiteral("PRAGMA %1=%2").arg(name, wert));
    return qScopeGuard([name, vorher] { Db::ausfuehren(QStringLiteral("PRAGMA %1=%2").arg(name, vorher)); });
}

} // namespace

// Read before the first write, so that no open read spans the closing's statements.
QList<ZahlungAbschluss::Zeile> ZahlungAbschluss::zeilen()
{
    QList<Zeile> liste;
    QSqlQuery q = Db::abfrage(QStringLiteral(
        "SELECT mid,statusneu,art,bausteinm,bausteinb,cent from zahllauf WHERE done='J' ORDER BY mid"));
    while (q.next()) {
        liste.append({q.value(0).toInt(), q.value(1).toString(), q.value(2).toString() == QLatin1String("D"),
                      q.value(3).toString().trimmed(), q.value(4).toString().trimmed(), q.value(5).toLongLong()});
    }
    return liste;
}

bool ZahlungAbschluss::ausfuehren()
{
    m_fehler.clear();
    m_mitglieder = 0;
    m_buchungen = 0;
    const QString heute = UtilDatumText(QDate::currentDate());

    // A run of many debits changes more pages than SQLite's default cache holds;
    // spilling them before the commit would sync the journal again and again.
    const auto cache = pragmaFuerDenLauf(QStringLiteral("cache_size"), QStringLiteral("-262144"));
    // Every entry is a savepoint of its own: its journal stays in memory instead
    // of being written to a temporary file page by page.
    const auto temp = pragmaFuerDenLauf(QStringLiteral("temp_store"), QStringLiteral("MEMORY"));

    Db::Transaktion transaktion;
    const QList<Zeile> liste = zeilen();
    // Units and the fee's parameters do not change while the run is closed.
    SpendenAufteilung aufteilung;
    aufteilung.festhalten();
    for (const Zeile &z : liste) {
        if (Db::ausfuehren(QStringLiteral("UPDATE mitglied SET zahlstatus=?,statusdatum=? WHERE mid=?"),
                           {z.statusneu, heute, z.mid})
            < 0) {
            m_fehler = Db::fehlerText();
            return false;
        }
        ++m_mitglieder;
        // A debit without account or execution date moves the member on but books nothing.
        const QDate datum = UtilDatum(z.datum);
        if (!z.lastschrift || z.konto.isEmpty() || !datum.isValid())
            continue;
        const int lfd = beitragBuchen(aufteilung, z.mid, datum, z.konto, z.cent);
        if (lfd < 1) {
            m_fehler = QStringLiteral("MID %1: ").arg(z.mid) + UtilBuchMeldung(lfd);
            // A large run on one execution date can fill the date's numbers.
            if (lfd == UtilBuchKeineNummer)
                m_fehler += QStringLiteral("\nAm %1 sind alle Buchungsnummern vergeben.").arg(UtilDatumZeige(datum));
            return false;
        }
        ++m_buchungen;
    }
    Db::ausfuehren(QStringLiteral("DELETE FROM zahllauf"));
    Db::ausfuehren(QStringLiteral("DELETE FROM parameter WHERE key='Status/Zahlungen'"));
    if (!transaktion.commit()) {
        m_fehler = Db::fehlerText();
        return false;
    }
    return true;
}
