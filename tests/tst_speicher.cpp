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
    QTest::newRow("bankverbindung") << "bankverbindung" << "art,key,inhaber,nummer,blz,bank,bic,iban";
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
    for (int mid : {999, 1000000, 42})
        Db::ausfuehren(QStringLiteral("INSERT INTO mitglied (mid) VALUES (?)"), {QString::number(mid)});
    QSqlQuery q = Db::abfrage(QStringLiteral("SELECT mid FROM mitglied WHERE mid<? ORDER BY mid DESC"),
                              {QStringLiteral("1000000")});
    QList<int> gefunden;
    while (q.next())
        gefunden << q.value(0).toInt();
    QCOMPARE(gefunden, (QList<int>{999, 42}));
    // The same comparison written into the statement text behaves alike.
    QCOMPARE(Db::wert(QStringLiteral("SELECT count(*) FROM mitglied WHERE mid<'1000000'")).toInt(), 2);
    QCOMPARE(Db::wert(QStringLiteral("SELECT mid FROM mitglied ORDER BY mid DESC LIMIT 1")).toInt(), 1000000);
}

void TstSpeicher::texteBleibenWieGeschrieben()
{
    Db::ausfuehren(QStringLiteral("INSERT INTO adresse (art,key,plz) VALUES ('M',?,?)"),
                   {QStringLiteral("00000042"), QStringLiteral("01067")});
    Db::ausfuehren(QStringLiteral("INSERT INTO bankverbindung (art,key,nummer,blz) VALUES ('M',?,?,?)"),
                   {QStringLiteral("00000042"), QStringLiteral("0012345"), QStringLiteral("10020030")});
    QCOMPARE(Db::wert(QStringLiteral("SELECT key FROM adresse WHERE plz=?"), {QStringLiteral("01067")}).toString(),
             QStringLiteral("00000042"));
    QCOMPARE(Db::wert(QStringLiteral("SELECT nummer FROM bankverbindung WHERE key='00000042'")).toString(),
             QStringLiteral("0012345"));
    // "00000042" is not the number 42: the key keeps its text.
    QVERIFY(!Db::wert(QStringLiteral("SELECT key FROM adresse WHERE key='42'")).isValid());
    // Dates compare as text because they are always "yyyy-MM-dd".
    Db::ausfuehren(QStringLiteral("INSERT INTO mitglied (mid,bezahlt) VALUES ('1','2025-12-31'),('2','2026-01-31')"));
    QCOMPARE(Db::wert(QStringLiteral("SELECT count(*) FROM mitglied WHERE bezahlt < ?"),
                      {QStringLiteral("2026-01-01")}).toInt(),
             1);
}

void TstSpeicher::transaktionOhneCommitRolltZurueck()
{
    {
        Db::Transaktion t;
        Db::ausfuehren(QStringLiteral("INSERT INTO kontenplan (konto,text) VALUES ('1000','Kasse')"));
    }
    QCOMPARE(Db::wert(QStringLiteral("SELECT count(*) FROM kontenplan")).toInt(), 0);
    {
        Db::Transaktion t;
        Db::ausfuehren(QStringLiteral("INSERT INTO kontenplan (konto,text) VALUES ('1000','Kasse')"));
        QVERIFY(t.commit());
    }
    QCOMPARE(Db::wert(QStringLiteral("SELECT count(*) FROM kontenplan")).toInt(), 1);
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
    const QStringList keys = {QStringLiteral("Spende/Adr1"), QStringLiteral("Spende/Adr2"),
                              QStringLiteral("Spende/Adr3"), QStringLiteral("Spende/Ort"),
                              QStringLiteral("Spende/Funkt"), QStringLiteral("Spende/Abs")};
    for (int i = 0; i < keys.size(); ++i)
        Db::ausfuehren(QStringLiteral("INSERT INTO parameter (key,wert) VALUES (?,?)"),
                       {keys.at(i), QStringLiteral("Text %1").arg(i + 1)});
    Db::ausfuehren(QStringLiteral("INSERT INTO parameter (key,wert) VALUES ('Spende/Min','1234'),"
                                  "('Konten/AddMitglied','100000'),('Konten/BankGeb','4900')"));
    for (int n = 1; n <= 6; ++n)
        QCOMPARE(UtilSpendeAdr(n), QStringLiteral("Text %1").arg(n));
    QCOMPARE(UtilSpendeAdr(0), QString());
    QCOMPARE(UtilSpendeAdr(7), QString());
    QCOMPARE(UtilSpendeMin(), qint64(1234));
    QCOMPARE(UtilAddMitglied(), 100000);
    QCOMPARE(UtilBankGebKonto(), QStringLiteral("4900"));

    Db::ausfuehren(QStringLiteral("UPDATE parameter SET wert='4910' WHERE key='Konten/BankGeb'"));
    QCOMPARE(UtilBankGebKonto(), QStringLiteral("4900"));
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
