#include "kontozeilen.h"

#include "db.h"
#include "textutil.h"
#include "utilbuch.h"

#include <QSqlQuery>

#include <algorithm>

KontoZeilen::KontoZeilen(const QString &konto, const QDate &von, const QDate &bis, const QString &kost)
    : m_konto(konto), m_bis(UtilDatumText(bis)), m_filter(kost.toUpper())
{
    const QDate beginn = UtilGJVonDatum(von);
    if (konto.isEmpty() || !beginn.isValid() || !bis.isValid())
        return;
    // The lines in order from kgkto_konto, each entry from its unique key.
    QSqlQuery q = Db::abfrage(QStringLiteral("SELECT k.datum,k.lfd,k.kg,k.cent,j.art,j.kost FROM kgkto k "
                                             "JOIN journdat j ON j.datum=k.datum AND j.lfd=k.lfd "
                                             "WHERE k.konto=? AND k.datum>=? AND k.datum<=? ORDER BY k.datum,k.lfd,k.kg"),
                              {konto, UtilDatumText(beginn), m_bis});
    const QString beginnText = UtilDatumText(beginn);
    const QString vonText = UtilDatumText(von);
    QString letzterTag;
    QDate tag;
    qint64 saldo = 0;
    while (q.next()) {
        if (!m_filter.isEmpty() && q.value(5).toString().toUpper() != m_filter)
            continue;
        const QString datum = q.value(0).toString();
        const qint64 cent = q.value(3).toLongLong();
        const bool abgrenzung = q.value(4).toString() == QLatin1String("A");
        if (!abgrenzung || datum == beginnText)
            saldo += cent;
        if (datum < vonText || (datum == vonText && abgrenzung))
            m_anfang += cent;
        if (datum < vonText)
            continue;
        // Many lines share a date: parse it once per day.
        if (datum != letzterTag) {
            letzterTag = datum;
            tag = UtilDatum(datum);
        }
        KontoZeile z;
        z.datum = tag;
        z.lfd = q.value(1).toInt();
        z.kg = q.value(2).toString();
        z.cent = cent;
        z.saldo = saldo;
        m_zeilen.push_back(std::move(z));
    }
    m_ende = saldo;
}

void KontoZeilen::texteLesen(std::size_t ab, std::size_t anzahl)
{
    if (ab >= m_zeilen.size())
        return;
    const std::size_t ende = std::min(m_zeilen.size(), ab + anzahl);
    const KontoZeile &erste = m_zeilen[ab];
    const QString tag = UtilDatumText(erste.datum);
    // The same lines in the same order from the first one asked for on; the contra
    // account from kgkto_eintrag.
    QSqlQuery q = Db::abfrage(
        QStringLiteral("SELECT k.datum,k.lfd,k.kg,j.kost,j.butext,j.beschluss,j.beleg,"
                       "(SELECT g.konto FROM kgkto g WHERE g.datum=k.datum AND g.lfd=k.lfd AND g.kg<>k.kg LIMIT 1) "
                       "FROM kgkto k JOIN journdat j ON j.datum=k.datum AND j.lfd=k.lfd "
                       "WHERE k.konto=? AND k.datum>=? AND k.datum<=? AND (k.datum,k.lfd,k.kg)>=(?,?,?) "
                       "ORDER BY k.datum,k.lfd,k.kg"),
        {m_konto, tag, m_bis, tag, erste.lfd, erste.kg});
    std::size_t i = ab;
    while (i < ende && q.next()) {
        // Lines left out by the filter, or come since the amounts were read, are passed over.
        KontoZeile &z = m_zeilen[i];
        if (q.value(1).toInt() != z.lfd || q.value(2).toString() != z.kg || UtilDatum(q.value(0).toString()) != z.datum)
            continue;
        ++i;
        const QString kost = q.value(3).toString();
        z.kost = kost;
        z.butext = q.value(4).toString();
        z.beschluss = q.value(5).toString();
        z.beleg = q.value(6).toString();
        z.gkonto = q.value(7).toString();
        z.mitTexten = true;
    }
}
