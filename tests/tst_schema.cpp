#include "db.h"
#include "testdb.h"

#include <QSqlQuery>
#include <QtTest>

// Books made by an older Vela gain what the schema has gained, without losing data.
class TstSchema : public QObject
{
    Q_OBJECT

private slots:
    void aeltereBuecherWerdenAngeglichen_data()
    {
        QTest::addColumn<bool>("nurLesen");
        QTest::newRow("zum Schreiben") << false;
        QTest::newRow("nur lesend bleibt unberührt") << true;
    }

    void aeltereBuecherWerdenAngeglichen()
    {
        QFETCH(bool, nurLesen);
        TestDb db;
        QVERIFY(db.ok());
        QVERIFY(Db::ausfuehren(QStringLiteral("INSERT INTO bankverbindung (art, key, inhaber, iban) "
                                              "VALUES ('M', '7', 'Anna', 'DE02')"))
                == 1);
        // What an older schema lacked: an index and a column.
        for (const char *alt : {"DROP INDEX kgkto_konto", "ALTER TABLE bankverbindung DROP COLUMN iban"})
            QVERIFY2(QSqlQuery().exec(QLatin1String(alt)), alt);
        const auto zaehle = [] {
            return TestDb::anzahl(QStringLiteral("SELECT 1 FROM sqlite_master WHERE name = 'kgkto_konto'"))
                   + TestDb::anzahl(QStringLiteral("SELECT 1 FROM pragma_table_info('bankverbindung') "
                                                   "WHERE name = 'iban'"));
        };
        QCOMPARE(zaehle(), 0);
        Db::schliessen();

        QVERIFY(Db::oeffnen(db.datei(), nurLesen));
        QCOMPARE(zaehle(), nurLesen ? 0 : 2);
        QCOMPARE(TestDb::zeile(QStringLiteral("SELECT inhaber FROM bankverbindung WHERE key = '7'")),
                 QStringList{QStringLiteral("Anna")});
        if (!nurLesen)
            QVERIFY(Db::schemaAngleichen()); // a second time finds nothing to do
    }
};

QTEST_GUILESS_MAIN(TstSchema)
#include "tst_schema.moc"
