#include "parameter.h"

#include "db.h"

namespace {

struct Einstellungen
{
    QString selbst;
    QString abgrAktiv;
    QString abgrPassiv;
    QString bankGeb;
    QString prefGliederung;
    QString prefMitglied;
    QString prefLief;
    QString spendeAdr[6]; // Adr1, Adr2, Adr3, Ort, Funkt, Abs
    QString spendeName;
    int beitragAb = 0;
    int addMitglied = 0;
    int selbstEbene = 0;
    qint64 spendeMin = 0;
    bool geladen = false;
};

Einstellungen &cache()
{
    static Einstellungen e;
    return e;
}

const Einstellungen &geladen()
{
    UtilInit(false);
    return cache();
}

void uebernehmen(Einstellungen &e, const QString &key, const QString &wert)
{
    static const QString adrKeys[6] = {
        QStringLiteral("Spende/Adr1"), QStringLiteral("Spende/Adr2"), QStringLiteral("Spende/Adr3"),
        QStringLiteral("Spende/Ort"),  QStringLiteral("Spende/Funkt"), QStringLiteral("Spende/Abs")};
    for (int i = 0; i < 6; ++i) {
        if (key == adrKeys[i]) {
            e.spendeAdr[i] = wert;
            return;
        }
    }
    if (key == QLatin1String("General/Gliederung"))
        e.selbst = wert;
    else if (key == QLatin1String("General/BeitragAb"))
        e.beitragAb = wert == QLatin1String("J") ? 1 : wert == QLatin1String("X") ? 2 : 0;
    else if (key == QLatin1String("Konten/AbgrAktiv"))
        e.abgrAktiv = wert;
    else if (key == QLatin1String("Konten/AbgrPassiv"))
        e.abgrPassiv = wert;
    else if (key == QLatin1String("Konten/BankGeb"))
        e.bankGeb = wert;
    else if (key == QLatin1String("Konten/PrefGliederung"))
        e.prefGliederung = wert;
    else if (key == QLatin1String("Konten/PrefMitglied"))
        e.prefMitglied = wert;
    else if (key == QLatin1String("Konten/AddMitglied"))
        e.addMitglied = wert.toInt();
    else if (key == QLatin1String("Konten/PrefLief"))
        e.prefLief = wert;
    else if (key == QLatin1String("Spende/Min"))
        e.spendeMin = wert.toLongLong();
    else if (key == QLatin1String("Spende/Name"))
        e.spendeName = wert;
}

} // namespace

void UtilInit(bool force)
{
    Einstellungen &e = cache();
    if (!force && e.geladen)
        return;
    QSqlQuery q = Db::abfrage(QStringLiteral("SELECT key,wert FROM parameter"));
    while (q.next())
        uebernehmen(e, q.value(0).toString(), q.value(1).toString());
    e.selbstEbene = 0;
    if (!e.selbst.isEmpty()) {
        const QVariant ebene = Db::wert(QStringLiteral("SELECT ebene FROM verband WHERE namekurz=? LIMIT 1"),
                                        {e.selbst});
        if (ebene.isValid())
            e.selbstEbene = ebene.toInt();
    }
    e.geladen = true;
}

void UtilInitLeeren()
{
    cache() = Einstellungen();
}

QString UtilSelbst() { return geladen().selbst; }
int UtilSelbstEbene() { return geladen().selbstEbene; }
int UtilBeitragAb() { return geladen().beitragAb; }
qint64 UtilSpendeMin() { return geladen().spendeMin; }
QString UtilBankGebKonto() { return geladen().bankGeb; }
QString UtilAbgrAktiv() { return geladen().abgrAktiv; }
QString UtilAbgrPassiv() { return geladen().abgrPassiv; }
QString UtilPrefGliederung() { return geladen().prefGliederung; }
QString UtilPrefMitglied() { return geladen().prefMitglied; }
QString UtilPrefLief() { return geladen().prefLief; }
int UtilAddMitglied() { return geladen().addMitglied; }

QString UtilSpendeAdr(int n)
{
    if (n < 1 || n > 6)
        return QString();
    return geladen().spendeAdr[n - 1];
}

QString UtilSpendeNameVorgabe() { return QStringLiteral("Feldmarkbund Deutschland"); }

// A receipt names its issuer: an emptied setting falls back to the association's name.
QString UtilSpendeName()
{
    const QString name = geladen().spendeName;
    return name.isEmpty() ? UtilSpendeNameVorgabe() : name;
}
