#include "zahlwort.h"

#include <QTest>

class TstZahlwort : public QObject
{
    Q_OBJECT

private slots:
    void zahlwort_data();
    void zahlwort();
    void ziffer_data();
    void ziffer();
};

void TstZahlwort::zahlwort_data()
{
    QTest::addColumn<qint64>("cent");
    QTest::addColumn<QString>("erwartet");

    const qint64 euro = 100;
    QTest::newRow("1 euro") << 1 * euro << QStringLiteral("Ein");
    QTest::newRow("21 euro") << 21 * euro << QStringLiteral("Einundzwanzig");
    QTest::newRow("101 euro") << 101 * euro << QStringLiteral("Einhundertein");
    QTest::newRow("1000 euro") << 1000 * euro << QStringLiteral("Eintausend");
    QTest::newRow("1234,56") << qint64(123456)
                             << QStringLiteral("Eintausendzweihundertvierunddreißigkommafünfsechs");
    QTest::newRow("1,05") << qint64(105) << QStringLiteral("Einkommanullfünf");
    QTest::newRow("0,50") << qint64(50) << QStringLiteral("Nullkommafünfnull");
    QTest::newRow("0,10") << qint64(10) << QStringLiteral("Nullkommaeinsnull");
    QTest::newRow("0,01") << qint64(1) << QStringLiteral("Nullkommanulleins");
    QTest::newRow("zero") << qint64(0) << QStringLiteral("Null");
    QTest::newRow("negative with cents") << qint64(-12345) << QStringLiteral("Null");
    QTest::newRow("negative cents only") << qint64(-50) << QStringLiteral("Null");
    QTest::newRow("3001000 euro") << 3001000 * euro << QStringLiteral("Dreimillioneneintausend");
    QTest::newRow("3000000 euro") << 3000000 * euro << QStringLiteral("Dreimillionen");
    QTest::newRow("1000000 euro") << 1000000 * euro << QStringLiteral("Einemillionen");
    QTest::newRow("2000000 euro") << 2000000 * euro << QStringLiteral("Zweimillionen");
    QTest::newRow("2000001 euro") << 2000001 * euro << QStringLiteral("Zweimillionenein");
    QTest::newRow("1001001 euro") << 1001001 * euro << QStringLiteral("Einemillioneneintausendein");
    QTest::newRow("only the last nine digits") << 1234567890LL * euro
                                               << QStringLiteral("Zweihundertvierunddreißigmillionen"
                                                                 "fünfhundertsiebenundsechzigtausend"
                                                                 "achthundertneunzig");
    QTest::newRow("ten digits ending in 5") << 1000000005LL * euro << QStringLiteral("Fünf");
    QTest::newRow("999999999,99") << 99999999999LL
                                  << QStringLiteral("Neunhundertneunundneunzigmillionen"
                                                    "neunhundertneunundneunzigtausend"
                                                    "neunhundertneunundneunzigkommaneunneun");
    QTest::newRow("12 euro") << 12 * euro << QStringLiteral("Zwölf");
    QTest::newRow("13 euro") << 13 * euro << QStringLiteral("Dreizehn");
    QTest::newRow("16 euro") << 16 * euro << QStringLiteral("Sechzehn");
    QTest::newRow("17 euro") << 17 * euro << QStringLiteral("Siebzehn");
    QTest::newRow("19 euro") << 19 * euro << QStringLiteral("Neunzehn");
    QTest::newRow("30 euro") << 30 * euro << QStringLiteral("Dreißig");
    QTest::newRow("99 euro") << 99 * euro << QStringLiteral("Neunundneunzig");
    QTest::newRow("200 euro") << 200 * euro << QStringLiteral("Zweihundert");
    QTest::newRow("511 euro") << 511 * euro << QStringLiteral("Fünfhundertelf");
    QTest::newRow("1100 euro") << 1100 * euro << QStringLiteral("Eintausendeinhundert");
    QTest::newRow("21021,21") << qint64(2102121) << QStringLiteral("Einundzwanzigtausendeinundzwanzigkommazweieins");
}

void TstZahlwort::zahlwort()
{
    QFETCH(qint64, cent);
    QFETCH(QString, erwartet);
    QCOMPARE(UtilZahlwort(cent), erwartet);
}

void TstZahlwort::ziffer_data()
{
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("erwartet");

    QTest::newRow("1 alone") << QString() << 1 << QStringLiteral("ein");
    QTest::newRow("1 thousand") << QStringLiteral("tausend") << 1 << QStringLiteral("eintausend");
    QTest::newRow("1 million") << QStringLiteral("millionen") << 1 << QStringLiteral("einemillionen");
    QTest::newRow("empty group, no suffix") << QStringLiteral("tausend") << 0 << QString();
    QTest::newRow("empty group alone") << QString() << 0 << QString();
    QTest::newRow("modulo 1000") << QStringLiteral("tausend") << 2005 << QStringLiteral("fünftausend");
    QTest::newRow("hundred") << QStringLiteral("millionen") << 100 << QStringLiteral("einhundertmillionen");
    QTest::newRow("hundreds and tens") << QString() << 871 << QStringLiteral("achthunderteinundsiebzig");
}

void TstZahlwort::ziffer()
{
    QFETCH(QString, suffix);
    QFETCH(int, n);
    QFETCH(QString, erwartet);
    QCOMPARE(UtilZahlwortZiffer(suffix, n), erwartet);
}

QTEST_MAIN(TstZahlwort)
#include "tst_zahlwort.moc"
