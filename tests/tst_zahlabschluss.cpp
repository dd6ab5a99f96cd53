// Closing the payment run from the main window: the members' new states, the
// debits booked through the donation split, the run removed; a failed write
// leaves everything as it was.

#include "db.h"
#include "dialogdriver.h"
#include "testdb.h"
#include "velamain.h"

#include <QAction>
#include <QDate>
#include <QtTest>

namespace {

const QString kAusfuehrung = QStringLiteral("2026-11-30");

QString heute() { return QDate::currentDate().toString(Qt::ISODate); }
QString jahresende() { return QString::number(QDate::currentDate().year()) + QStringLiteral("-12-31"); }

// 4711 pays by debit, 4712 by invoice, 4713 had a first reminder.
void mitglieder()
{
    Db::ausfuehren("INSERT INTO mitglied (mid,gliederung,zahlart,beitrag,eintritt,austritt,bezahlt,zahlstatus,"
                   "statusdatum) VALUES (4711,'KV Hafen','L',3600,'2010-03-01','2200-01-01','2023-12-31','R',"
                   "'2024-01-02'),(4712,'KV Hafen','V',3600,'2010-03-01','2200-01-01','2023-12-31',' ','2023-01-05'),"
                   "(4713,'KV Hafen','V',3600,'2010-03-01','2200-01-01','2023-12-31','1','2024-02-01')");
    Db::ausfuehren("INSERT INTO adresse (art,key,suchname,name1,name2) VALUES ('M','00004711','MEIER','Meier','Hans'),"
                   "('M','00004712','KRUSE','Kruse','Eva'),('M','00004713','LANGE','Lange','Tom')");
}

// Rows "mid:art:statusneu:done:bausteinm:bausteinb", separated by blanks.
void lauf(const QString &zeilen)
{
    for (const QString &z : zeilen.split(' ', Qt::SkipEmptyParts)) {
        const QStringList f = z.split(':');
        Db::ausfuehren("INSERT INTO zahllauf (mid,sperren,art,form,manuell,bausteinm,bausteinb,cent,statusneu,done) "
                       "VALUES (?,'N',?,'B','N',?,?,'3600',?,?)",
                       {f[0], f[1], f[4], f[5], f[2], f[3]});
    }
    TestDb::setParameter("Status/Zahlungen", "DJJNNNNNNNNJJNNNN");
}

// Every member as "mid zahlstatus statusdatum bezahlt", today written as "heute".
QStringList stand()
{
    QStringList s;
    QSqlQuery q = Db::abfrage("SELECT mid,zahlstatus,statusdatum,bezahlt FROM mitglied ORDER BY mid");
    while (q.next()) {
        s << QStringList{q.value(0).toString(), q.value(1).toString(), q.value(2).toString(), q.value(3).toString()}
                 .join(' ')
                 .replace(heute(), "heute")
                 .replace(jahresende(), "jahresende");
    }
    return s;
}

} // namespace

class TstZahlAbschluss : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_db = std::make_unique<TestDb>();
        QVERIFY(m_db->ok());
        TestDb::beitragsBuecher();
        mitglieder();
    }
    void cleanup() { m_db.reset(); }

    void abschliessen_data()
    {
        QTest::addColumn<QString>("zeilen");
        QTest::addColumn<bool>("ja");
        QTest::addColumn<QStringList>("mitglieder");
        QTest::addColumn<int>("buchungen");

        const QStringList vorher{"4711 R 2024-01-02 2023-12-31", "4712   2023-01-05 2023-12-31",
                                 "4713 1 2024-02-01 2023-12-31"};
        QTest::newRow("gleich nach dem Erstellen")
            << "4711:D:L:N:1200: 4712:R:R:N:: 4713:2:2:N::" << true << vorher << 0;
        QTest::newRow("Nein ändert nichts") << "4711:D:L:J:1200:" + kAusfuehrung + " 4712:R:R:J::" << false << vorher
                                            << 0;
        // The debit is booked: the fee paid to the year's end clears the state again.
        QTest::newRow("durchgeführt")
            << "4711:D:L:J:1200:" + kAusfuehrung + " 4712:R:R:J:: 4713:2:2:N::" << true
            << QStringList{"4711   heute jahresende", "4712 R heute 2023-12-31", "4713 1 2024-02-01 2023-12-31"} << 3;
        QTest::newRow("Lastschrift ohne Konto")
            << "4711:D:L:J::" + kAusfuehrung << true
            << QStringList{"4711 L heute 2023-12-31", vorher[1], vorher[2]} << 0;
        QTest::newRow("Lastschrift ohne Ausführungsdatum")
            << "4711:D:L:J:1200:" << true << QStringList{"4711 L heute 2023-12-31", vorher[1], vorher[2]} << 0;
    }

    void abschliessen()
    {
        QFETCH(QString, zeilen);
        QFETCH(bool, ja);
        QFETCH(QStringList, mitglieder);
        QFETCH(int, buchungen);
        lauf(zeilen);
        const int zeilenVorher = TestDb::anzahl("SELECT count(*) FROM zahllauf");

        VelaMain fenster;
        SkriptInteraktion skript;
        skript.antworte(ja ? QMessageBox::Yes : QMessageBox::No);
        if (ja)
            skript.antworte(QMessageBox::Ok);
        fenster.pZahlAbschl();

        QCOMPARE(skript.unerwartet(), 0);
        QCOMPARE(skript.anfragen().first().text, QString("Alle durchgeführten Zahlungen abschliessen?"));
        QCOMPARE(stand(), mitglieder);
        QCOMPARE(TestDb::anzahl("SELECT count(*) FROM journdat WHERE datum=?", {kAusfuehrung}), buchungen);
        QCOMPARE(TestDb::anzahl("SELECT count(*) FROM journdat"), buchungen);
        QCOMPARE(TestDb::zeile("SELECT ifnull(sum(cent),0) FROM kgkto"), QStringList{"0"});
        QCOMPARE(DialogTreiber::eintrag(&fenster, "&Abschliessen")->isEnabled(), !ja);
        if (!ja) {
            QCOMPARE(TestDb::anzahl("SELECT count(*) FROM zahllauf"), zeilenVorher);
            QCOMPARE(TestDb::zeile("SELECT wert FROM parameter WHERE key='Status/Zahlungen'"),
                     QStringList{"DJJNNNNNNNNJJNNNN"});
            return;
        }
        QCOMPARE(skript.anfragen().last().text, QString("Zahlungen sind abgeschlossen"));
        QCOMPARE(TestDb::anzahl("SELECT count(*) FROM zahllauf"), 0);
        QCOMPARE(TestDb::anzahl("SELECT count(*) FROM parameter WHERE key='Status/Zahlungen'"), 0);
        if (buchungen == 0)
            return;
        // Main entry bank against fee account, then the shares of BV (720) and KV (1800).
        QCOMPARE(TestDb::zeile("SELECT konto,cent FROM kgkto WHERE lfd=1 AND kg='1'"), QStringList({"1200", "3600"}));
        QCOMPARE(TestDb::zeile("SELECT group_concat(konto || '=' || s, ' ') FROM (SELECT konto,sum(cent) s FROM kgkto "
                               "GROUP BY konto ORDER BY konto)"),
                 QStringList{"08100=-720 083105=-1800 1200=3600 4000=-1080"});
        QCOMPARE(TestDb::zeile("SELECT group_concat(butext, '|') FROM journdat"),
                 QStringList{QString("MID 4711 Meier, Hans Mitgliedsbeitrag %1|").arg(QDate::currentDate().year())
                                 .repeated(3)
                                 .chopped(1)});
        QCOMPARE(TestDb::zeile("SELECT jdatum,jlfd,mid,art FROM spende"),
                 QStringList({kAusfuehrung, "1", "4711", "M"}));
    }

    // A write that fails on the second debit, or an execution date without free
    // numbers: no member moved on, nothing booked, the run stays.
    void fehlerLaesstAllesStehen_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("grund");
        QTest::newRow("Schreibfehler") << "CREATE TRIGGER kaputt BEFORE INSERT ON spende WHEN NEW.mid=4712 "
                                          "BEGIN SELECT RAISE(ABORT,'Platte voll'); END"
                                       << "MID 4712: Buchung konnte nicht gespeichert werden\nSpeichern "
                                          "fehlgeschlagen: Platte voll";
        QTest::newRow("Datum voll") << "WITH RECURSIVE n(lfd) AS (SELECT 1 UNION ALL SELECT lfd+1 FROM n WHERE lfd<9999) "
                                       "INSERT INTO journdat (datum,lfd) SELECT '" + kAusfuehrung + "',lfd FROM n"
                                    << "MID 4711: Fehler beim Generieren der Nummer\nAm 30.11.2026 sind alle "
                                       "Buchungsnummern vergeben.";
    }

    void fehlerLaesstAllesStehen()
    {
        QFETCH(QString, sql);
        QFETCH(QString, grund);
        Db::ausfuehren("UPDATE mitglied SET zahlart='L',zahlstatus='R'");
        lauf("4711:D:L:J:1200:" + kAusfuehrung + " 4712:D:L:J:1200:" + kAusfuehrung + " 4713:1:1:J::");
        QVERIFY(Db::ausfuehren(sql) >= 0);
        const QStringList vorher = stand();
        const int eintraege = TestDb::anzahl("SELECT count(*) FROM journdat");

        VelaMain fenster;
        SkriptInteraktion skript;
        skript.antworte(QMessageBox::Yes);
        skript.antworte(QMessageBox::Ok);
        fenster.pZahlAbschl();

        QCOMPARE(skript.unerwartet(), 0);
        QCOMPARE(skript.anfragen().last().art, Interaktion::Art::Kritisch);
        QCOMPARE(skript.anfragen().last().text, "Zahlungen wurden nicht abgeschlossen\n" + grund);
        QCOMPARE(stand(), vorher);
        QCOMPARE(TestDb::anzahl("SELECT count(*) FROM journdat"), eintraege);
        QCOMPARE(TestDb::anzahl("SELECT count(*) FROM kgkto"), 0);
        QCOMPARE(TestDb::anzahl("SELECT count(*) FROM spende"), 0);
        QCOMPARE(TestDb::anzahl("SELECT count(*) FROM zahllauf"), 3);
        QCOMPARE(TestDb::anzahl("SELECT count(*) FROM parameter WHERE key='Status/Zahlungen'"), 1);
        QVERIFY(DialogTreiber::eintrag(&fenster, "&Abschliessen")->isEnabled());
    }

private:
    std::unique_ptr<TestDb> m_db;
};

QTEST_MAIN(TstZahlAbschluss)
#include "tst_zahlabschluss.moc"
