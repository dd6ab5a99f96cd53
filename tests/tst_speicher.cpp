// The schema's keys and comparisons, and the settings cache.

#include "db.h"
#include "parameter.h"
#include "testdb.h"

#include <QSqlQuery>
#include <QtTest>

class TstSpeicher : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDb> m_db;

private slots:
    void init() { m_db = std::make_unique<TestDb>(); QVERIFY(m_db->ok()); }
    void cleanup() { m_db.reset(); }

    void eindeutigeSchluessel()
    {
        for (const char *sql : {"parameter (key,wert) VALUES ('A/b','1')", "kontenplan (konto) VALUES ('1000')",
                                "journdat (datum,lfd) VALUES ('2026-01-02','1')", "mitglied (mid) VALUES ('42')",
                                "verband (namekurz,ebene) VALUES ('BUND',0)", "lieferant (bez) VALUES ('HOLZ')",
                                "adresse (art,key) VALUES ('M','00000001')", "bankverbindung (art,key) VALUES ('L','H')",
                                "spende (jdatum,jlfd) VALUES ('2026-01-02','1')", "spendenparam (art) VALUES ('M')",
                                "textbaustein (bez) VALUES ('R')", "zahllauf (mid) VALUES ('42')"}) {
            const QString einfuegen = QStringLiteral("INSERT INTO ") + QLatin1String(sql);
            QVERIFY2(QSqlQuery().exec(einfuegen) && !QSqlQuery().exec(einfuegen), sql);
        }
    }

    void vergleiche()
    {
        Db::ausfuehren("INSERT INTO mitglied (mid,bezahlt) VALUES ('999','2025-12-31'),('1000000','2026-01-31'),"
                       "('42','2026-01-01')");
        // Bound or written into the text, a quoted number compares as a number.
        QCOMPARE(TestDb::zeile("SELECT group_concat(mid) FROM (SELECT mid FROM mitglied WHERE mid<? ORDER BY mid DESC)",
                               {"1000000"}),
                 QStringList{"999,42"});
        QCOMPARE(TestDb::anzahl("SELECT count(*) FROM mitglied WHERE mid<'1000000'"), 2);
        // Dates compare as text because they are always "yyyy-MM-dd".
        QCOMPARE(TestDb::anzahl("SELECT count(*) FROM mitglied WHERE bezahlt < ?", {"2026-01-01"}), 1);
        // "00000042" is not the number 42: text keys keep their leading zeros.
        Db::ausfuehren("INSERT INTO adresse (art,key,plz) VALUES ('M',?,?)", {"00000042", "01067"});
        QCOMPARE(TestDb::zeile("SELECT key,plz FROM adresse WHERE plz=?", {"01067"}),
                 (QStringList{"00000042", "01067"}));
        QCOMPARE(TestDb::anzahl("SELECT count(*) FROM adresse WHERE key='42'"), 0);
    }

    void transaktionOhneCommitRolltZurueck()
    {
        for (bool festschreiben : {false, true}) {
            Db::Transaktion t;
            Db::ausfuehren("INSERT INTO kontenplan (konto,text) VALUES ('1000','Kasse')");
            if (festschreiben)
                QVERIFY(t.commit());
        }
        QCOMPARE(TestDb::anzahl("SELECT count(*) FROM kontenplan"), 1);
    }

    void beitragAb()
    {
        for (const auto &[wert, erwartet] : {std::pair{"M", 0}, {"", 0}, {"j", 0}, {"J", 1}, {"X", 2}}) {
            TestDb::setParameter(QStringLiteral("General/BeitragAb"), QLatin1String(wert));
            QCOMPARE(UtilBeitragAb(), erwartet);
        }
    }

    void zugriffeLesenNurEinmal()
    {
        // Missing keys keep their start values.
        QVERIFY(UtilSelbst().isEmpty() && UtilSelbstEbene() == 0 && UtilAddMitglied() == 0 && UtilSpendeMin() == 0);
        Db::ausfuehren("INSERT INTO parameter (key,wert) VALUES ('Spende/Adr1','1'),('Spende/Adr2','2'),"
                       "('Spende/Adr3','3'),('Spende/Ort','4'),('Spende/Funkt','5'),('Spende/Abs','6'),"
                       "('Spende/Min','1234'),('Konten/AddMitglied','100000'),('Konten/BankGeb','4900')");
        UtilInit(true);
        QString adressen;
        for (int n = 0; n <= 7; ++n)
            adressen += QLatin1Char('[') + UtilSpendeAdr(n) + QLatin1Char(']');
        QCOMPARE(adressen, QStringLiteral("[][1][2][3][4][5][6][]"));
        QCOMPARE(UtilSpendeMin(), qint64(1234));
        QCOMPARE(UtilAddMitglied(), 100000);
        // Only a forced reload reads the table again; a key removed keeps the value read before.
        Db::ausfuehren("UPDATE parameter SET wert='4910' WHERE key='Konten/BankGeb'");
        UtilInit(false);
        QCOMPARE(UtilBankGebKonto(), QStringLiteral("4900"));
        UtilInit(true);
        QCOMPARE(UtilBankGebKonto(), QStringLiteral("4910"));
        Db::ausfuehren(QStringLiteral("DELETE FROM parameter"));
        UtilInit(true);
        QCOMPARE(UtilSpendeMin(), qint64(1234));
    }

    void eigeneEbene()
    {
        Db::ausfuehren(QStringLiteral("INSERT INTO verband (namekurz,ebene) VALUES ('KV NORD','3')"));
        TestDb::setParameter(QStringLiteral("General/Gliederung"), QStringLiteral("KV NORD"));
        QCOMPARE(UtilSelbst() + QString::number(UtilSelbstEbene()), QStringLiteral("KV NORD3"));
        TestDb::setParameter(QStringLiteral("General/Gliederung"), QStringLiteral("GIBT ES NICHT"));
        QCOMPARE(UtilSelbstEbene(), 0);
    }
};

QTEST_MAIN(TstSpeicher)
#include "tst_speicher.moc"
