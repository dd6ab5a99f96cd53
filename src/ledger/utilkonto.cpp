#include "utilkonto.h"

#include "db.h"
#include "parameter.h"
#include "textutil.h"

namespace {

// Member numbers that can have an account.
constexpr qint64 MidMin = 1;
constexpr qint64 MidMax = 999998;

// The name of the address row of an owner, or a null text when there is none.
QString adressName(const QString &art, const QString &key)
{
    const QVariant name = Db::wert(QStringLiteral("SELECT name1 FROM adresse WHERE art=? AND key=?"), {art, key});
    return name.isValid() ? name.toString() : QString();
}

bool beginntMit(const QString &k, const QString &prefix)
{
    return prefix.isEmpty() || k.startsWith(prefix);
}

} // namespace

QString UtilMIDKonto(int mid)
{
    const QString prefix = UtilPrefMitglied();
    if (mid < 0)
        return prefix;
    return prefix + QString::number(static_cast<qint64>(mid) + UtilAddMitglied());
}

QString UtilGlKonto(const QString &bukto)
{
    return UtilPrefGliederung() + bukto;
}

QString UtilLsKonto(const QString &name)
{
    const QString bukto =
        Db::wert(QStringLiteral("SELECT bukto FROM lieferant WHERE bez=?"), {UtilSauberGross(name)}).toString();
    return UtilPrefLief() + (bukto.isEmpty() ? name : bukto);
}

namespace {

// The display text of an account and, in `kanonisch`, the account number as the
// owner's account is formed (empty when the account resolves to no one). The
// first rule that finds an owner wins.
QString aufloesen(const QString &konto, QString *kanonisch)
{
    kanonisch->clear();
    const QString k = UtilSauberGross(konto);
    if (k.size() < 2)
        return QString();
    // A failed lookup ends the search: the database, not the account, is at fault.
    const int stand = Db::fehlerStand();
    const auto gescheitert = [stand] { return Db::fehlerStand() != stand; };

    // The chart comes first: its numbers may overlap any prefix.
    QSqlQuery q = Db::abfrage(QStringLiteral("SELECT text FROM kontenplan WHERE konto=?"), {k});
    if (gescheitert())
        return QString();
    if (q.next()) {
        *kanonisch = k;
        return q.value(0).toString();
    }

    const QString prefGl = UtilPrefGliederung();
    if (beginntMit(k, prefGl)) {
        const QVariant namekurz =
            Db::wert(QStringLiteral("SELECT namekurz FROM verband WHERE bukto=?"), {k.mid(prefGl.size())});
        if (namekurz.isValid()) {
            *kanonisch = k;
            const QString name = adressName(QStringLiteral("V"), namekurz.toString());
            return name.isNull() ? namekurz.toString() : name;
        }
    }
    if (gescheitert())
        return QString();

    // An empty supplier prefix would claim every account, so it resolves nothing.
    const QString prefLs = UtilPrefLief();
    if (!prefLs.isEmpty() && k.startsWith(prefLs) && k.size() > prefLs.size()) {
        const QString rest = k.mid(prefLs.size());
        const QVariant bez = Db::wert(QStringLiteral("SELECT bez FROM lieferant WHERE bukto=?"), {rest});
        const QString name = adressName(QStringLiteral("L"), bez.isValid() ? bez.toString() : rest);
        if (!name.isNull()) {
            *kanonisch = k;
            return name;
        }
    }
    if (gescheitert())
        return QString();

    const QString prefM = UtilPrefMitglied();
    if (beginntMit(k, prefM)) {
        bool ok = false;
        qint64 n = k.mid(prefM.size()).toLongLong(&ok);
        if (!ok)
            n = 0;
        const qint64 mid = n - UtilAddMitglied();
        if (mid >= MidMin && mid <= MidMax) {
            QSqlQuery m = Db::abfrage(QStringLiteral("SELECT name1,name2 FROM adresse WHERE art='M' AND key=?"),
                                      {UtilMidKey(static_cast<int>(mid))});
            if (m.next()) {
                // "20 100001" and "200100001" name the same member as "20100001".
                *kanonisch = UtilMIDKonto(static_cast<int>(mid));
                return QStringLiteral("MID ") + QString::number(mid) + QLatin1Char(' ') + m.value(0).toString()
                       + QStringLiteral(", ") + m.value(1).toString();
            }
        }
    }
    return QString();
}

} // namespace

QString UtilKtoText(const QString &konto)
{
    QString kanonisch;
    return aufloesen(konto, &kanonisch);
}

QString UtilKtoKanon(const QString &konto)
{
    QString kanonisch;
    aufloesen(konto, &kanonisch);
    return kanonisch;
}

int UtilSpendeVorzeichen(const QString &konto, const QString &mitgliedKonto)
{
    if (konto >= QLatin1String("1000") && konto <= QLatin1String("1200"))
        return 1;
    if (!mitgliedKonto.isEmpty() && konto.startsWith(mitgliedKonto))
        return -1;
    if (konto >= QLatin1String("5000") && konto <= QLatin1String("5299"))
        return -1;
    return 1;
}
