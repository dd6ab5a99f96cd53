#include "zahlwort.h"

#include <QTest>

class TstZahlwort : public QObject
{
    Q_OBJECT

private slots:
    void zahlwort_data()
    {
        QTest::addColumn<qint64>("cent");
        QTest::addColumn<QString>("erwartet");
        for (const auto &[cent, wort] : std::initializer_list<std::pair<qint64, const char *>>{
                 {100, "Ein"}, {1200, "Zwölf"}, {1600, "Sechzehn"}, {1700, "Siebzehn"}, {2100, "Einundzwanzig"},
                 {3000, "Dreißig"}, {9900, "Neunundneunzig"}, {10100, "Einhundertein"}, {51100, "Fünfhundertelf"},
                 {100000, "Eintausend"}, {110000, "Eintausendeinhundert"}, {105, "Einkommanullfünf"},
                 {50, "Nullkommafünfnull"}, {1, "Nullkommanulleins"}, {0, "Null"}, {-12345, "Null"}, {-50, "Null"},
                 {123456, "Eintausendzweihundertvierunddreißigkommafünfsechs"},
                 {2102121, "Einundzwanzigtausendeinundzwanzigkommazweieins"},
                 {100000000, "Einemillionen"}, {300000000, "Dreimillionen"},
                 {200000100, "Zweimillionenein"}, {300100000, "Dreimillioneneintausend"},
                 {100100100, "Einemillioneneintausendein"},
                 // Only the last nine digits of the euros are spelled.
                 {123456789000,
                  "Zweihundertvierunddreißigmillionenfünfhundertsiebenundsechzigtausendachthundertneunzig"},
                 {100000000500, "Fünf"},
                 {99999999999, "Neunhundertneunundneunzigmillionenneunhundertneunundneunzigtausend"
                               "neunhundertneunundneunzigkommaneunneun"}})
            QTest::addRow("%lld", cent) << cent << QString::fromUtf8(wort);
    }
    void zahlwort()
    {
        QFETCH(qint64, cent);
        QTEST(UtilZahlwort(cent), "erwartet");
    }
};

QTEST_MAIN(TstZahlwort)
#include "tst_zahlwort.moc"
