// IBAN, creditor identifier and BIC checks on published examples and their corruptions.

#include "iban.h"

#include <QtTest>

class TstIban : public QObject
{
    Q_OBJECT

private slots:
    void iban_data()
    {
        QTest::addColumn<QString>("iban");
        QTest::addColumn<QString>("fehler"); // empty: valid
        const char *beispiele[] = {"DE89 3704 0044 0532 0130 00", "AT61 1904 3002 3457 3201", "BE68 5390 0754 7034",
                                   "CH93 0076 2011 6238 5295 7", "FR14 2004 1010 0505 0001 3M02 606",
                                   "GB29 NWBK 6016 1331 9268 19", "NL91 ABNA 0417 1643 00",
                                   "ES91 2100 0418 4502 0005 1332", "IT60 X054 2811 1010 0000 0123 456",
                                   "NO93 8601 1117 947", "MT84 MALT 0110 0001 2345 MTLC AST0 01S",
                                   "PL61 1090 1014 0000 0712 1981 2874", "fi21 1234 5600 0007 85"};
        for (const char *b : beispiele)
            QTest::newRow(b) << QString::fromLatin1(b) << QString();
        const QString pruef = QStringLiteral("Prüfziffer der IBAN stimmt nicht");
        QTest::newRow("Ziffer geändert") << "DE89 3704 0044 0532 0131 00" << pruef;
        QTest::newRow("Ziffern vertauscht") << "DE89 3704 0044 0523 0130 00" << pruef;
        QTest::newRow("Prüfziffern vertauscht") << "DE98 3704 0044 0532 0130 00" << pruef;
        QTest::newRow("Buchstabe geändert") << "GB29 NWBL 6016 1331 9268 19" << pruef;
        QTest::newRow("Stelle fehlt") << "DE89 3704 0044 0532 0130 0" << "IBAN aus DE hat 22 Stellen, nicht 21";
        QTest::newRow("Stelle zu viel") << "AT61 1904 3002 3457 3201 1" << "IBAN aus AT hat 20 Stellen, nicht 21";
        QTest::newRow("kein SEPA-Land") << "US12 3456 7890 1234" << "Land \"US\" nimmt nicht an SEPA teil";
        QTest::newRow("Zeichen") << "DE89-3704-0044-0532-0130-00" << "IBAN enthält unzulässige Zeichen";
        QTest::newRow("leer") << " " << "IBAN fehlt";
    }
    void iban()
    {
        QFETCH(QString, iban);
        QFETCH(QString, fehler);
        QCOMPARE(Iban::fehler(iban), fehler);
        if (fehler.isEmpty())
            QCOMPARE(Iban::gruppiert(Iban::normal(iban)), iban.toUpper());
    }

    // A German account gives its IBAN: bank code and account number with leading zeros.
    void ausKonto_data()
    {
        QTest::addColumn<QString>("blz");
        QTest::addColumn<QString>("konto");
        QTest::addColumn<QString>("iban");
        QTest::newRow("Beispiel") << "37040044" << "532013000" << "DE89370400440532013000";
        QTest::newRow("zehn Stellen") << "10020030" << "1234567890" << "DE54100200301234567890";
        QTest::newRow("kurze Nummer") << "10020030" << "55" << "DE78100200300000000055";
        QTest::newRow("BLZ zu kurz") << "1002003" << "55" << "";
        QTest::newRow("Konto zu lang") << "10020030" << "12345678901" << "";
        QTest::newRow("Konto null") << "10020030" << "000" << "";
    }
    void ausKonto()
    {
        QFETCH(QString, blz);
        QFETCH(QString, konto);
        QFETCH(QString, iban);
        QCOMPARE(Iban::ausKonto(blz, konto), iban);
        if (!iban.isEmpty())
            QVERIFY(Iban::gueltig(iban));
    }

    void glaeubigerId_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("fehler");
        QTest::newRow("Beispiel") << "DE98ZZZ09999999999" << "";
        QTest::newRow("Geschäftsbereich zählt nicht") << "de98 ABC 09999999999" << "";
        QTest::newRow("Ziffer geändert") << "DE98ZZZ09999999990" << "Prüfziffer der Gläubiger-ID stimmt nicht";
        QTest::newRow("Prüfziffer") << "DE97ZZZ09999999999" << "Prüfziffer der Gläubiger-ID stimmt nicht";
        QTest::newRow("zu kurz") << "DE98ZZZ0999999999" << "Gläubiger-ID aus DE hat 18 Stellen, nicht 17";
        QTest::newRow("leer") << "" << "Gläubiger-ID fehlt";
    }
    void glaeubigerId()
    {
        QFETCH(QString, id);
        QFETCH(QString, fehler);
        QCOMPARE(Iban::glaeubigerIdFehler(id), fehler);
    }

    void bic_data()
    {
        QTest::addColumn<QString>("bic");
        QTest::addColumn<bool>("gueltig");
        QTest::newRow("8 Stellen") << "COBADEFF" << true;
        QTest::newRow("11 Stellen") << "cobadeffxxx" << true;
        QTest::newRow("9 Stellen") << "COBADEFFX" << false;
        QTest::newRow("Ziffer im Land") << "COBAD3FF" << false;
    }
    void bic()
    {
        QFETCH(QString, bic);
        QFETCH(bool, gueltig);
        QCOMPARE(Iban::bicFehler(bic).isEmpty(), gueltig);
    }
};

QTEST_MAIN(TstIban)
#include "tst_iban.moc"
