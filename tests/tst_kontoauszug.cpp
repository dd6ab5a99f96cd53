// Bank statements in: CAMT.053 and MT940 read into one form, lines matched to
// members and suppliers, posted once through the donation split.

#include "auszugexport.h"
#include "db.h"
#include "kontoauszug.h"
#include "testdb.h"

#include <QtTest>

namespace {

using S = QStringList;

// A month of a fee account: a fee with the member number, a batch of two, a returned
// debit with charges, a supplier's invoice, and twice the same gift without reference.
const QList<AuszugPosten> kPosten = {
    {"2024-03-04", 3600, 0, "Jürgen Weiß", "DE02120300000000202051", "Mitgliedsbeitrag 2024 Mitgliedsnr. 4711",
     "REF-1", "", 0},
    {"2024-03-05", 1200, 0, "Søren Ødegård", "DE02500105170137075030", "Beitrag MID 815", "REF-2a", "", 1},
    {"2024-03-05", 2400, 0, "Zoë Brontë-Émile", "AT611904300234573201", "Spende fuer den Wahlkampf", "REF-2b", "",
     1},
    {"2024-03-06", -3900, 300, "Jürgen Weiß", "DE02120300000000202051", "Mitgliedsbeitrag 2024 Mitgliedsnr. 4711",
     "REF-3", "MD06", 0},
    {"2024-03-07", -11900, 0, "Druckerei Schmidt GmbH", "DE89370400440532013000", "Rechnung 2024-17", "REF-4", "", 0},
    {"2024-03-08", 500, 0, "Anna Meier", "DE75512108001245126199", "Spende", "", "", 0},
    {"2024-03-08", 500, 0, "Anna Meier", "DE75512108001245126199", "Spende", "", "", 0},
};

QByteArray datei(const QString &format, const QList<AuszugPosten> &posten = kPosten, qint64 anfang = 100000)
{
    return format == "MT940" ? AuszugExport::mt940(posten, anfang)
                             : AuszugExport::camt(format.mid(9), posten, anfang);
}

QString zeileText(const AuszugZeile &z)
{
    return QStringList{z.datum.toString(Qt::ISODate), QString::number(z.cent), QString::number(z.gebuehr), z.name,
                       z.iban, z.zweck, z.referenz, z.rueckgabe ? "R " + z.grund : "-"}
        .join('|');
}

QString zeileText(const AuszugPosten &p)
{
    return QStringList{p.datum, QString::number(p.cent), QString::number(p.gebuehr), p.name, p.iban, p.zweck, p.ref,
                       p.grund.isEmpty() ? "-" : "R " + p.grund}
        .join('|');
}

} // namespace

class TestKontoauszug : public QObject
{
    Q_OBJECT

private slots:
    void lesen_data()
    {
        QTest::addColumn<QString>("format");
        for (const char *f : {"camt.053.001.02", "camt.053.001.08", "MT940"})
            QTest::newRow(f) << QString(f);
    }
    void lesen()
    {
        QFETCH(QString, format);
        Kontoauszug a;
        QString fehler;
        QVERIFY2(Kontoauszug::lesen(datei(format), &a, &fehler), qPrintable(fehler));
        QCOMPARE(a.format, format);
        QCOMPARE(a.konto, AuszugExport::eigeneIban());
        QVERIFY(a.mitSalden);
        QCOMPARE(a.anfangssaldo, 100000);
        QCOMPARE(a.endsaldo, 100000 + 3600 + 1200 + 2400 - 3900 - 11900 + 500 + 500);
        QCOMPARE(a.anfangsdatum, QDate(2024, 3, 4));
        QCOMPARE(a.enddatum, QDate(2024, 3, 8));
        S ist, soll;
        for (const AuszugZeile &z : a.zeilen)
            ist << zeileText(z);
        for (const AuszugPosten &p : kPosten)
            soll << zeileText(p);
        QCOMPARE(ist, soll);

        // Read again, every line has the same key; the two equal gifts are told apart.
        const S schluessel = a.schluessel();
        QCOMPARE(schluessel.mid(0, 5), S({"R:REF-1", "R:REF-2a", "R:REF-2b", "R:REF-3", "R:REF-4"}));
        QVERIFY(schluessel[5].startsWith("H:"));
        QCOMPARE(schluessel[6], schluessel[5] + "#2");
        Kontoauszug b;
        QVERIFY(Kontoauszug::lesen(datei(format), &b, &fehler));
        QCOMPARE(b.schluessel(), schluessel);
    }

    // Nothing is read from a file that is no statement or is damaged; the message says what is wrong.
    void fehler_data()
    {
        QTest::addColumn<QByteArray>("daten");
        QTest::addColumn<QString>("meldung");
        const QByteArray camt = datei("camt.053.001.08");
        const QByteArray mt = datei("MT940");
        QTest::newRow("Text") << QByteArray("Liebe Kassiererin,\nanbei der Auszug.\n")
                              << "kein Kontoauszug im Format CAMT.053 oder MT940";
        QTest::newRow("camt.052") << QByteArray("<?xml version=\"1.0\"?><Document xmlns=\"urn:iso:std:iso:20022:"
                                                "tech:xsd:camt.052.001.02\"><BkToCstmrAcctRpt/></Document>")
                                  << "kein Kontoauszug im Format CAMT.053 (urn:iso:std:iso:20022:tech:xsd:camt.052";
        QTest::newRow("abgeschnitten") << camt.left(camt.size() / 2) << "endet vorzeitig";
        QTest::newRow("kaputtes XML") << QByteArray(camt).replace("</Nm>", "</Name>") << "XML-Datei ist fehlerhaft";
        QTest::newRow("ohne Stmt") << QByteArray(camt).replace("<Stmt>", "<Stmnt>").replace("</Stmt>", "</Stmnt>")
                                   << "keinen Kontoauszug";
        QTest::newRow("Betrag") << QByteArray(camt).replace(">36.00<", ">36.0.0<") << "ohne lesbaren Betrag: „36.0.0“";
        QTest::newRow("MT940 Anfangssaldo") << QByteArray(mt).replace(":60F:C240304EUR", ":60F:C2403EUR")
                                            << "MT940, Zeile 4: der Saldo „:60F:C2403EUR1000,00“ ist nicht lesbar.";
        QTest::newRow("MT940 Schlusssaldo") << QByteArray(mt).replace(":62F:C", ":62F:X") << "der Saldo „:62F:X";
        QTest::newRow("MT940 ohne Schluss") << QByteArray(mt).replace(":62F:", ":64:") << "fehlt der Schlusssaldo";
        QTest::newRow("MT940 Umsatz") << QByteArray(mt).replace(":61:240304", ":61:24O304")
                                      << "MT940, Zeile 5: der Umsatz „:61:24O304";
    }
    void fehler()
    {
        QFETCH(QByteArray, daten);
        QFETCH(QString, meldung);
        Kontoauszug a;
        a.zeilen.append(AuszugZeile());
        QString text;
        QVERIFY(!Kontoauszug::lesen(daten, &a, &text));
        QVERIFY2(text.contains(meldung), qPrintable(text));
        QVERIFY(a.zeilen.isEmpty());
    }

    // Books of an older version get the new table, index and column when opened for writing, not before.
    void aeltereBuecher()
    {
        TestDb db;
        for (const char *sql : {"DROP TABLE auszugzeile", "DROP INDEX kgkto_konto", "ALTER TABLE lieferant DROP COLUMN zahlart"})
            QVERIFY(Db::ausfuehren(sql) >= 0);
        const auto stand = [] {
            return TestDb::anzahl("SELECT count(*) FROM sqlite_master WHERE name IN ('auszugzeile','kgkto_konto')")
                   + TestDb::anzahl("SELECT count(*) FROM pragma_table_info('lieferant') WHERE name='zahlart'");
        };
        QCOMPARE(stand(), 0);
        QVERIFY(Db::oeffnen(db.datei(), true));
        QCOMPARE(stand(), 0);
        QVERIFY(Db::oeffnen(db.datei()));
        QCOMPARE(stand(), 3);
        QCOMPARE(Db::ausfuehren("INSERT INTO auszugzeile (bankkonto,schluessel) VALUES ('DE1','R:1')"), 1);
        QCOMPARE(Db::ausfuehren("INSERT INTO auszugzeile (bankkonto,schluessel) VALUES ('DE1','R:1')"), -1);
    }
};

QTEST_MAIN(TestKontoauszug)
#include "tst_kontoauszug.moc"
