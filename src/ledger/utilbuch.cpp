#include "utilbuch.h"

#include "db.h"
#include "interaktion.h"
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

// The transaction of one entry. Normally "BEGIN TRANSACTION"; when a caller already
// groups a batch in a transaction, a savepoint keeps this entry whole on its own.
class Buchungsklammer
{
public:
    Buchungsklammer() = default;
    ~Buchungsklammer() { zurueck(); }
    Buchungsklammer(const Buchungsklammer &) = delete;
    Buchungsklammer &operator=(const Buchungsklammer &) = delete;

    bool oeffnen()
    {
        if (Db::begin())
            m_art = Art::Transaktion;
        else if (QSqlQuery().exec(QStringLiteral("SAVEPOINT utilbuch")))
            m_art = Art::Savepoint;
        return m_art != Art::Keine;
    }

    bool commit()
    {
        const Art art = m_art;
        if (art == Art::Keine)
            return false;
        const bool ok = art == Art::Transaktion ? Db::commit()
                                                : QSqlQuery().exec(QStringLiteral("RELEASE SAVEPOINT utilbuch"));
        if (ok)
            m_art = Art::Keine;
        return ok;
    }

    void zurueck()
    {
        if (m_art == Art::Transaktion) {
            Db::rollback();
        } else if (m_art == Art::Savepoint) {
            QSqlQuery q;
            q.exec(QStringLiteral("ROLLBACK TRANSACTION TO SAVEPOINT utilbuch"));
            q.exec(QStringLiteral("RELEASE SAVEPOINT utilbuch"));
        }
        m_art = Art::Keine;
    }

private:
    enum class Art { Keine, Transaktion, Savepoint };
    Art m_art = Art::Keine;
};

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
    QString k = art.simplified();
    if (k.isNull())
        k = QStringLiteral("");
    if (k.isEmpty() && (istAbgrenzung(konto) || istAbgrenzung(gkonto)))
        k = QStringLiteral("A");

    // Texts are stored as text, never as NULL, even when a caller passes none.
    auto text = [](const QString &s) {
        const QString t = s.simplified();
        return t.isNull() ? QStringLiteral("") : t;
    };
    const QString dat = UtilDatumText(datum);
    const QString kostS = text(kost);
    const QString belegS = text(beleg);
    const QString butextS = text(butext);
    const QString beschlussS = text(beschluss);
    const QString kontoS = text(konto).toUpper();
    const QString gkontoS = text(gkonto).toUpper();

    Buchungsklammer klammer;
    int n = -1;

    if (lfd < 1) {
        const QString erfasst = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
        for (int versuch = 0; versuch < Versuche && n < 0; ++versuch) {
            // The order matches the unique index (datum,lfd): one index step, however large the journal.
            const QVariant letzte = Db::wert(
                QStringLiteral("SELECT lfd FROM journdat WHERE datum=? ORDER BY datum DESC,lfd DESC LIMIT 1"), {dat});
            const int neu = letzte.isValid() ? letzte.toInt() + 1 : 1;
            if (neu > LfdMax)
                return -1;
            if (!klammer.oeffnen())
                return -1;
            const int zeilen = Db::ausfuehren(
                QStringLiteral("INSERT INTO journdat (datum,lfd,kost,beleg,extlfd,butext,erfasst,art,beschluss) "
                               "VALUES(?,?,?,?,'0',?,?,?,?)"),
                {dat, neu, kostS, belegS, butextS, erfasst, k, beschlussS});
            if (zeilen >= 1)
                n = neu;
            else
                klammer.zurueck();
        }
        if (n < 0)
            return -1;
    } else {
        QSqlQuery q =
            Db::abfrage(QStringLiteral("SELECT lfd,art FROM journdat WHERE datum=? AND lfd=? LIMIT 1"), {dat, lfd});
        if (!q.next())
            return -1;
        // A rewrite keeps the entry's kind unless a kind is passed or an accrual account is involved.
        if (k.isEmpty())
            k = q.value(1).toString();
        q.finish();
        if (!klammer.oeffnen())
            return -1;
        if (Db::ausfuehren(QStringLiteral("UPDATE journdat SET beleg=?,kost=?,butext=?,art=?,beschluss=? "
                                          "WHERE datum=? AND lfd=?"),
                           {belegS, kostS, butextS, k, beschlussS, dat, lfd})
            < 0)
            return -1;
        n = lfd;
    }

    // Also for a new entry: lines left over under this number would unbalance it.
    if (Db::ausfuehren(QStringLiteral("DELETE FROM kgkto WHERE datum=? AND lfd=?"), {dat, n}) < 0)
        return -1;
    const QString zeile = QStringLiteral("INSERT INTO kgkto (datum,lfd,kg,konto,cent,abstimm) VALUES (?,?,?,?,?,'0')");
    if (Db::ausfuehren(zeile, {dat, n, QStringLiteral("1"), kontoS, cent}) < 1
        || Db::ausfuehren(zeile, {dat, n, QStringLiteral("2"), gkontoS, -cent}) < 1)
        return -1;
    return klammer.commit() ? n : -1;
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

bool UtilQDelete()
{
    return Interaktion::frage(nullptr, QStringLiteral("Löschen"), QStringLiteral("Soll der Datensatz gelöscht werden"),
                              QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok)
           == QMessageBox::Ok;
}
