// The schema's tables, keys and comparisons, and the settings cache.

#include "db.h"
#include "parameter.h"
#include "testdb.h"

#include <QSqlQuery>
#include <QtTest>

class TstSpeicher : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_db = std::make_unique<TestDb>(); QVERIFY(m_db->ok()); }
    void cleanup() { m_db.reset(); }

    void spalten_data();
    void spalten();
    void eindeutigeSchluessel_data();
    void eindeutigeSchluessel();
    void zahlenVergleichenNumerisch();
    void texteBleibenWieGeschrieben();
    void transaktionOhneCommitRolltZurueck();

    void beitragAb_data();
    void beitragAb();
    void zugriffeLesenNurEinmal();
    void fehlendeSchluesselBehaltenStartwerte();
    void eigeneEbene();

private:
    std::unique_ptr<TestDb> m_db;
};

void TstSpeicher::spalten_data()
{
    QTest::addColumn<QString>("tabelle");
    QTest::addColumn<QString>("spalten");
    QTest::newRow("parameter") << "parameter" << "key,wert";
    QTest::newRow("kontenplan") << "kontenplan" << "konto,text,abgrart";
    QTest::newRow("journdat") << "journdat" << "datum,lfd,kost,beleg,extlfd,butext,erfasst,art,beschluss";
    QTest::newRow("kgkto") << "kgkto" << "datum,lfd,kg,konto,cent,abstimm";
    QTest::newRow("verband") << "verband"
                             << "namekurz,gegruendet,ebene,teilvon,bukto,vorsitzname,vorsitzmail,vorsitztel,"
                                "vorsitzfax,gensekname,gensekmail,gensektel,gensekfax,schatzname,schatzmail,"
                                "schatztel,schatzfax";
    QTest::newRow("adresse") << "adresse" << "art,key,suchname,name1,name2,strasse,plz,ort,land,mail";
    QTest::newRow("bankverbindung") << "bankverbindung" << "art,key,inhaber,nummer,blz,bank,bic,iban,mandatref,mandatdatum,mandatgenutzt";
    QTest::newRow("mitglied") << "mitglied"
                              << "mid,intnr,gliederung,wohngliederung,sex,nation,tel,gebdat,zahlart,beitrag,"
                                 "eintritt,austritt,bezahlt,zahlstatus,statusdatum";
    QTest::newRow("lieferant") << "lieferant" << "bez,tel,fax,bukto,zahlart";
    QTest::newRow("spende") << "spende"
                            << "jdatum,jlfd,mid,sortname,art,gliederung,quittung,prozint,prozbuv,prozlv,"
                               "prozbzv,prozkv,prozov";
    QTest::newRow("spendenparam") << "spendenparam"
                                  << "art,prozint,prozbuv,prozlv,prozbzv,prozkv,prozov,midbuchung,kontokasse,"
                                     "kontobank,kontoanonkasse,kontoanonbank,kontojurkasse,kontojurbank,kostkasse,"
                                     "kostbank,kostanonkasse,kostanonbank,kostjurkasse,kostjurbank";
    QTest::newRow("textbaustein") << "textbaustein" << "bez,beschreibung,subject,inhalt";
    QTest::newRow("zahllauf") << "zahllauf"
                              << "mid,sperren,art,form,manuell,bausteinm,bausteinb,cent,statusneu,done";
    QTest::newRow("blzdatei") << "blzdatei" << "land,blz,name,pruefart,bic";
}

void TstSpeicher::spalten()
{
    QFETCH(QString, tabelle);
    QFETCH(QString, spalten);
    QSqlQuery q(QStringLiteral("PRAGMA table_info(") + tabelle + QLatin1Char(')'));
    QStringList namen;
    while (q.next())
        namen << q.value(1).toString();
    QCOMPARE(namen.join(QLatin1Char(',')), spalten);
}

void TstSpeicher::eindeutigeSchluessel_data()
{
    QTest::addColumn<QString>("einfuegen");
    QTest::newRow("parameter.key") << "INSERT INTO parameter (key,wert) VALUES ('A/b','1')";
    QTest::newRow("kontenplan.konto") << "INSERT INTO kontenplan (konto,text) VALUES ('1000','Kasse')";
    QTest::newRow("journdat") << "INSERT INTO journdat (datum,lfd) VALUES ('2026-01-02','1')";
    QTest::newRow("verband") << "INSERT INTO verband (namekurz,ebene) VALUES ('BUND','0')";
    QTest::newRow("adresse") << "INSERT INTO adresse (art,key) VALUES ('M','00000001')";
    QTest::newRow("bankverbindung") << "INSERT INTO bankverbindung (art,key) VALUES ('L','HOLZ')";
    QTest::newRow("mitglied") << "INSERT INTO mitglied (mid) VALUES ('42')";
    QTest::newRow("lieferant") << "INSERT INTO lieferant (bez) VALUES ('HOLZ')";
    QTest::newRow("spende") << "INSERT INTO spende (jdatum,jlfd) VALUES ('2026-01-02','1')";
    QTest::newRow("spendenparam") << "INSERT INTO spendenparam (art) VALUES ('M')";
    QTest::newRow("textbaustein") << "INSERT INTO textbaustein (bez) VALUES ('Rechnung')";
    QTest::newRow("zahllauf") << "INSERT INTO zahllauf (mid) VALUES ('42')";
}

void TstSpeicher::eindeutigeSchluessel()
{
    QFETCH(QString, einfuegen);
    QVERIFY(QSqlQuery().exec(einfuegen));
    QVERIFY(!QSqlQuery().exec(einfuegen));
}

void TstSpeicher::zahlenVergleichenNumerisch()
{
    Db::ausfuehren("INSERT INTO mitglied (mid,bezahlt) VALUES ('999','2025-12-31'),('1000000','2026-01-31'),"
                   "('42','2026-01-01')");
    // Bound or written into the text, a quoted number compares as a number.
    QCOMPARE(TestDb::zeile("SELECT group_concat(mid) FROM (SELECT mid FROM mitglied WHERE mid<? ORDER BY mid DESC)",
                           {"1000000"}),
             QStringList{"999,42"});
    QCOMPARE(TestDb::anzahl("SELECT count(*) FROM mitglied WHERE mid<'1000000'"), 2);
    QCOMPARE(TestDb::anzahl("SELECT mid FROM mitglied ORDER BY mid DESC LIMIT 1"), 1000000);
    // Dates compare as text because they are always "yyyy-MM-dd".
    QCOMPARE(TestDb::anzahl("SELECT count(*) FROM mitglied WHERE bezahlt < ?", {"2026-01-01"}), 1);
}

void TstSpeicher::texteBleibenWieGeschrieben()
{
    Db::ausfuehren("INSERT INTO adresse (art,key,plz) VALUES ('M',?,?)", {"00000042", "01067"});
    Db::ausfuehren("INSERT INTO bankverbindung (art,key,nummer) VALUES ('M',?,?)", {"00000042", "0012345"});
    QCOMPARE(TestDb::zeile("SELECT a.key,b.nummer FROM adresse a JOIN bankverbindung b USING (art,key) "
                           "WHERE a.plz=?", {"01067"}),
             (QStringList{"00000042", "0012345"}));
    // "00000042" is not the number 42: the key keeps its text.
    QCOMPARE(TestDb::anzahl("SELECT count(*) FROM adresse WHERE key='42'"), 0);
}

void TstSpeicher::transaktionOhneCommitRolltZurueck()
{
    for (bool festschreiben : {false, true}) {
        Db::Transaktion t;
        Db::ausfuehren("INSERT INTO kontenplan (konto,text) VALUES ('1000','Kasse')");
        if (festschreiben)
            QVERIFY(t.commit());
    }
    QCOMPARE(TestDb::anzahl("SELECT count(*) FROM kontenplan"), 1);
}

void TstSpeicher::beitragAb_data()
{
    QTest::addColumn<QString>("wert");
    QTest::addColumn<int>("erwartet");
    QTest::newRow("M") << "M" << 0;
    QTest::newRow("leer") << "" << 0;
    QTest::newRow("anderes") << "j" << 0;
    QTest::newRow("J") << "J" << 1;
    QTest::newRow("X") << "X" << 2;
}

void TstSpeicher::beitragAb()
{
    QFETCH(QString, wert);
    QFETCH(int, erwartet);
    TestDb::setParameter(QStringLiteral("General/BeitragAb"), wert);
    QCOMPARE(UtilBeitragAb(), erwartet);
}

void TstSpeicher::zugriffeLesenNurEinmal()
{
    Db::ausfuehren("INSERT INTO parameter (key,wert) VALUES ('Spende/Adr1','1'),('Spende/Adr2','2'),"
                   "('Spende/Adr3','3'),('Spende/Ort','4'),('Spende/Funkt','5'),('Spende/Abs','6'),"
                   "('Spende/Min','1234'),('Konten/AddMitglied','100000'),('Konten/BankGeb','4900')");
    QString adressen;
    for (int n = 0; n <= 7; ++n)
        adressen += QLatin1Char('[') + UtilSpendeAdr(n) + QLatin1Char(']');
    QCOMPARE(adressen, QStringLiteral("[][1][2][3][4][5][6][]"));
    QCOMPARE(UtilSpendeMin(), qint64(1234));
    QCOMPARE(UtilAddMitglied(), 100000);

    // Only a forced reload reads the table again.
    Db::ausfuehren("UPDATE parameter SET wert='4910' WHERE key='Konten/BankGeb'");
    UtilInit(false);
    QCOMPARE(UtilBankGebKonto(), QStringLiteral("4900"));
    UtilInit(true);
    QCOMPARE(UtilBankGebKonto(), QStringLiteral("4910"));
}

void TstSpeicher::fehlendeSchluesselBehaltenStartwerte()
{
    QCOMPARE(UtilSelbst(), QString());
    QCOMPARE(UtilSelbstEbene(), 0);
    QCOMPARE(UtilBeitragAb(), 0);
    QCOMPARE(UtilAddMitglied(), 0);
    QCOMPARE(UtilSpendeMin(), qint64(0));
    // A key removed later keeps the value read before.
    TestDb::setParameter(QStringLiteral("Konten/PrefMitglied"), QStringLiteral("20"));
    Db::ausfuehren(QStringLiteral("DELETE FROM parameter"));
    UtilInit(true);
    QCOMPARE(UtilPrefMitglied(), QStringLiteral("20"));
}

void TstSpeicher::eigeneEbene()
{
    Db::ausfuehren(QStringLiteral("INSERT INTO verband (namekurz,ebene) VALUES ('KV NORD','3')"));
    TestDb::setParameter(QStringLiteral("General/Gliederung"), QStringLiteral("KV NORD"));
    QCOMPARE(UtilSelbst(), QStringLiteral("KV NORD"));
    QCOMPARE(UtilSelbstEbene(), 3);
    TestDb::setParameter(QStringLiteral("General/Gliederung"), QStringLiteral("GIBT ES NICHT"));
    QCOMPARE(UtilSelbstEbene(), 0);
}

QTEST_MAIN(TstSpeicher)
#include "tst_speicher.moc"
