#include "utilbuch.h"

#include "db.h"
#include "parameter.h"
#include "textutil.h"

#include <QDateTime>
#include <QSqlQuery>

namespace {

constexpr int LfdMax = 9999;
constexpr int Versuche = 10;

// The fiscal year starts on 1 January.
constexpr int GJTag = 1;
constexpr int GJMonat = 1;

bool istAbgrenzung(const QString &konto)
{
    const QString aktiv = UtilAbgrAktiv();
    const QString passiv = UtilAbgrPassiv();
    // An empty setting names no account.
    return (!aktiv.isEmpty() && konto == aktiv) || (!passiv.isEmpty() && konto == passiv);
}

} // namespace

int UtilBuch(const QDate &datum, int lfd, const QString &kost, const QString &beleg, const QString &butext,
             qint64 cent, const QString &konto, const QString &gkonto, const QString &beschluss,
             const QString &art)
{
    // Texts are cleaned as the dialogs clean them, whoever calls; never stored as NULL.
    auto text = [](const QString &s) {
        const QString t = UtilSauber(s);
        return t.isNull() ? QStringLiteral("") : t;
    };
    QString k = text(art);
    if (k.isEmpty() && (istAbgrenzung(konto) || istAbgrenzung(gkonto)))
        k = QStringLiteral("A");

    const QString dat = UtilDatumText(datum);
    const QString kostS = text(kost);
    const QString belegS = text(beleg);
    const QString butextS = text(butext);
    const QString beschlussS = text(beschluss);
    const QString kontoS = text(konto).toUpper();
    const QString gkontoS = text(gkonto).toUpper();

    // Inside a caller's transaction this is a savepoint: the entry stays whole on its own.
    Db::Transaktion transaktion;
    int n = -1;

    if (lfd < 1) {
        const QString erfasst = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
        for (int versuch = 0; versuch < Versuche && n < 0; ++versuch) {
            // The order matches the unique index (datum,lfd): one index step, however large the journal.
            const int stand = Db::fehlerStand();
            const QVariant letzte = Db::wert(
                QStringLiteral("SELECT lfd FROM journdat WHERE datum=? ORDER BY datum DESC,lfd DESC LIMIT 1"), {dat});
            if (Db::fehlerStand() != stand)
                return UtilBuchFehler;
            const int neu = letzte.isValid() ? letzte.toInt() + 1 : 1;
            if (neu > LfdMax)
                return UtilBuchKeineNummer;
            // A number taken meanwhile changes no row and is tried again; any other failure ends at once.
            const int zeilen = Db::ausfuehren(
                QStringLiteral("INSERT OR IGNORE INTO journdat (datum,lfd,kost,beleg,extlfd,butext,erfasst,art,"
                               "beschluss) VALUES(?,?,?,?,'0',?,?,?,?)"),
                {dat, neu, kostS, belegS, butextS, erfasst, k, beschlussS});
            if (zeilen < 0)
                return UtilBuchFehler;
            if (zeilen >= 1)
                n = neu;
        }
        if (n < 0)
            return UtilBuchKeineNummer;
    } else {
        QSqlQuery q =
            Db::abfrage(QStringLiteral("SELECT lfd,art FROM journdat WHERE datum=? AND lfd=? LIMIT 1"), {dat, lfd});
        if (!q.isActive())
            return UtilBuchFehler;
        if (!q.next())
            return UtilBuchKeineNummer;
        // A rewrite keeps the entry's kind unless a kind is passed or an accrual account is involved.
        if (k.isEmpty())
            k = q.value(1).toString();
        q.finish();
        if (Db::ausfuehren(QStringLiteral("UPDATE journdat SET beleg=?,kost=?,butext=?,art=?,beschluss=? "
                                          "WHERE datum=? AND lfd=?"),
                           {belegS, kostS, butextS, k, beschlussS, dat, lfd})
            < 0)
            return UtilBuchFehler;
        n = lfd;
    }

    // Also for a new entry: lines left over under this number would unbalance it.
    const QString zeile = QStringLiteral("INSERT INTO kgkto (datum,lfd,kg,konto,cent,abstimm) VALUES (?,?,?,?,?,'0')");
    if (Db::ausfuehren(QStringLiteral("DELETE FROM kgkto WHERE datum=? AND lfd=?"), {dat, n}) < 0
        || Db::ausfuehren(zeile, {dat, n, QStringLiteral("1"), kontoS, cent}) < 1
        || Db::ausfuehren(zeile, {dat, n, QStringLiteral("2"), gkontoS, -cent}) < 1)
        return UtilBuchFehler;
    return transaktion.commit() ? n : UtilBuchFehler;
}

QString UtilBuchMeldung(int ergebnis)
{
    if (ergebnis == UtilBuchFehler)
        return QStringLiteral("Buchung konnte nicht gespeichert werden\n") + Db::fehlerText();
    return QStringLiteral("Fehler beim Generieren der Nummer");
}

QString UtilGespeichert(const QDate &datum, int lfd, qint64 cent)
{
    return QStringLiteral("Gespeichert: %1 Nr. %2, %3 EUR")
        .arg(datum.toString(QStringLiteral("dd.MM.yyyy")), QString::number(lfd), UtilBetragText(cent));
}

QDate UtilGJVon()
{
    return QDate(QDate::currentDate().year(), GJMonat, GJTag);
}

QDate UtilGJVonDatum(const QDate &datum)
{
    if (!datum.isValid())
        return QDate();
    const QDate beginn(datum.year(), GJMonat, GJTag);
    return beginn > datum ? beginn.addYears(-1) : beginn;
}
