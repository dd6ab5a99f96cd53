#include "spendenbuchung.h"

#include "spendenaufteilung.h"
#include "utilbuch.h"

int UtilSpendeBuchen(SpendenAufteilung &aufteilung, const QDate &datum, const QString &beleg, const QString &konto,
                     qint64 cent)
{
    QString hauptKonto;
    QString kost;
    QString text;
    aufteilung.aufteilung(-2, cent, nullptr, nullptr, &text);
    aufteilung.aufteilung(-1, cent, nullptr, &hauptKonto, &kost);
    const int lfd = UtilBuch(datum, 0, kost, beleg, text, cent, konto, hauptKonto, QString(), QString());
    if (lfd < 1)
        return lfd;
    // Each level's share moves on from the main account as an entry of its own.
    for (int i = 0; i < SpendenAufteilung::kZeilen; ++i) {
        qint64 teil = 0;
        QString teilKonto;
        QString teilKost;
        aufteilung.aufteilung(i, cent, &teil, &teilKonto, &teilKost);
        if (teil == 0 || teilKonto.isEmpty())
            continue;
        const int ergebnis =
            UtilBuch(datum, 0, teilKost, QString(), text, teil, hauptKonto, teilKonto, QString(), QString());
        if (ergebnis < 1)
            return ergebnis;
    }
    return aufteilung.schreiben(datum, lfd) ? lfd : UtilBuchFehler;
}
