// A fee payment, a member import and the closing of a payment run killed at any
// moment: the process "beitragszahler" pays fees in "Bank/Kasse", imports a member
// file or closes the run and is killed with SIGKILL after increasing delays. After
// each kill the file is sound, every payment is there completely or not at all,
// every imported line is whole, the lines reported as read among them, and the
// run is closed or untouched.

#include "db.h"
#include "parameter.h"
#include "testdb.h"

#include <QDate>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

namespace {

// One payment: the main entry and the shares of the Bundesverband and the
// Kreisverband, each an entry of two lines; the member paid for one more year.
constexpr int kEintraege = 3;

QString zahlerProgramm()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/beitragszahler");
}

// Starts the process, kills it `ms` after it has opened the books and returns what it printed.
QByteArray abbrechen(const QStringList &argumente, int ms)
{
    QProcess zahler;
    zahler.start(zahlerProgramm(), argumente);
    if (!zahler.waitForReadyRead(10000))
        qWarning() << zahler.errorString();
    QThread::msleep(ms);
    zahler.kill();
    zahler.waitForFinished();
    return zahler.readAllStandardOutput();
}

// A member file in which every member's telephone, town and bank name carry the version.
void mitgliederDatei(const QString &name, int anzahl, int fassung)
{
    QFile datei(name);
    QVERIFY(datei.open(QIODevice::WriteOnly));
    QByteArray inhalt = "Mitgliedsnummer,Vorname,Nachname,Stadt,Telefon,Kontonummer,Bankleitzahl,Kreditinstitut\n";
    for (int mid = 1; mid <= anzahl; ++mid)
        inhalt += QStringLiteral("%1,Hans,Meier %1,Ort v%2,v%2,12345,37050198,Bank v%2\n").arg(mid).arg(fassung).toUtf8();
    QVERIFY(datei.write(inhalt) == inhalt.size());
}

} // namespace

class TstAbbruch : public QObject
{
    Q_OBJECT

private slots:
    void zahlungGanzOderGarNicht()
    {
        TestDb db;
        QVERIFY(db.ok());
        TestDb::beitragsBuecher();
        Db::ausfuehren("INSERT INTO mitglied (mid,gliederung,beitrag,eintritt,austritt,bezahlt) VALUES (4711,"
                       "'KV Hafen',3600,'2010-03-01','2200-01-01','2023-12-31')");
        Db::ausfuehren("INSERT INTO adresse (art,key,suchname,name1,name2) VALUES ('M','00004711','MEIER','Meier','Hans')");

        int bezahlt = 0;
        int mitten = 0; // kills that left a transaction open
        // Fine steps first; on a slow machine longer ones until some payments went through.
        for (int ms = 0; ms <= 60 || (bezahlt < 3 && ms < 3000); ms += ms < 60 ? 4 : 50) {
            abbrechen({db.datei(), "4711", "100000"}, ms);
            mitten += QFile::exists(db.datei() + "-journal");
            bezahlt = ganz();
            QVERIFY(bezahlt >= 0);
        }
        qInfo("%d payments, %d kills inside a transaction", bezahlt, mitten);
        QVERIFY(bezahlt > 0);

        // Left to its end, the process pays each fee completely.
        QProcess zahler;
        zahler.start(zahlerProgramm(), {db.datei(), "4711", "2"});
        QVERIFY(zahler.waitForFinished(60000) && zahler.exitCode() == 0);
        QCOMPARE(ganz(), bezahlt + 2);
    }

    // The update of every member by a second file, killed midway: each member is
    // wholly of the first or the second file, and the second reaches at least the
    // last line reported as read.
    void importGanzOderGarNicht()
    {
        TestDb db;
        QVERIFY(db.ok());
        const QString erste = db.verzeichnis() + "/v1.csv";
        const QString zweite = db.verzeichnis() + "/v2.csv";
        mitgliederDatei(erste, kImport, 1);
        mitgliederDatei(zweite, kImport, 2);
        QProcess einlesen;
        einlesen.start(zahlerProgramm(), {db.datei(), "import", erste});
        QVERIFY(einlesen.waitForFinished(60000) && einlesen.exitCode() == 0);
        QCOMPARE(importStand(0), 0);

        int gemeldetGesamt = 0;
        for (int ms = 0; ms <= 400 || (gemeldetGesamt == 0 && ms < 5000); ms += 50) {
            const QByteArrayList meldungen = abbrechen({db.datei(), "import", zweite}, ms).split('\n');
            int gemeldet = 0;
            for (const QByteArray &m : meldungen) {
                if (m.startsWith("gelesen "))
                    gemeldet = m.mid(8).toInt();
            }
            gemeldetGesamt += gemeldet;
            QVERIFY(importStand(gemeldet) >= gemeldet);
        }
        qInfo("%d lines reported as read before the kills", gemeldetGesamt);
        QVERIFY(gemeldetGesamt > 0);

        QProcess fertig;
        fertig.start(zahlerProgramm(), {db.datei(), "import", zweite});
        QVERIFY(fertig.waitForFinished(60000) && fertig.exitCode() == 0);
        QCOMPARE(importStand(0), kImport);
    }

    void abschlussGanzOderGarNicht()
    {
        QTemporaryDir dir;
        const QString vorlage = dir.filePath("vorlage.db");
        const QString datei = dir.filePath("lauf.db");
        {
            TestDb db;
            QVERIFY(db.ok());
            TestDb::beitragsBuecher();
            Db::ausfuehren("WITH RECURSIVE n(mid) AS (SELECT 1 UNION ALL SELECT mid+1 FROM n WHERE mid<?) "
                           "INSERT INTO mitglied (mid,gliederung,zahlart,beitrag,eintritt,austritt,bezahlt,zahlstatus,"
                           "statusdatum) SELECT mid,'KV Hafen','L',3600,'2010-03-01','2200-01-01','2023-12-31','R',"
                           "'2024-01-02' FROM n",
                           {kLastschriften});
            Db::ausfuehren("INSERT INTO adresse (art,key,suchname,name1,name2) SELECT 'M',printf('%08d',mid),'MEIER',"
                           "'Meier','Hans' FROM mitglied");
            Db::ausfuehren("INSERT INTO zahllauf (mid,sperren,art,form,manuell,bausteinm,bausteinb,cent,statusneu,"
                           "done) SELECT mid,'N','D','B','N','1200','2026-11-30','3600','L','J' FROM mitglied");
            TestDb::setParameter("Status/Zahlungen", "DNNNNNNNNNNNNNNNN");
            QVERIFY(QFile::copy(db.datei(), vorlage));
        }

        int stand[2] = {0, 0}; // kills that left the run untouched, and closed
        int mitten = 0;
        for (int ms = 0; ms <= 100 || (stand[1] == 0 && ms < 5000); ms += ms < 100 ? 10 : 100) {
            QFile::remove(datei);
            QVERIFY(QFile::copy(vorlage, datei));
            QProcess schliesser;
            schliesser.start(zahlerProgramm(), {datei, "abschluss"});
            QVERIFY2(schliesser.waitForReadyRead(10000), qPrintable(schliesser.errorString()));
            QThread::msleep(ms);
            schliesser.kill();
            QVERIFY(schliesser.waitForFinished());
            mitten += QFile::exists(datei + "-journal");
            QVERIFY(Db::oeffnen(datei));
            const int s = abgeschlossen();
            Db::schliessen();
            QVERIFY(s >= 0);
            ++stand[s];
        }
        qInfo("%d runs untouched, %d closed, %d kills inside a transaction", stand[0], stand[1], mitten);
        QVERIFY(stand[1] > 0);
    }

private:
    static constexpr int kImport = 5000;

    // How many members are of the second file when the file is sound, every
    // member is whole and those of the second file come first; else -1.
    static int importStand(int gemeldet)
    {
        if (TestDb::zeile("PRAGMA integrity_check") != QStringList{"ok"})
            return -1;
        const QStringList stand = TestDb::zeile(
            "SELECT count(*),sum(m.tel='v2'),ifnull(max(CASE WHEN m.tel='v2' THEN m.mid END),0),"
            "sum(a.ort='Ort '||m.tel AND b.bank='Bank '||m.tel AND a.name1='Meier '||m.mid) FROM mitglied m "
            "LEFT JOIN adresse a ON a.art='M' AND a.key=printf('%08d',m.mid) "
            "LEFT JOIN bankverbindung b ON b.art='M' AND b.key=a.key");
        const QString n = QString::number(kImport);
        const int zweite = stand.value(1).toInt();
        if (stand.value(0) != n || stand.value(3) != n || stand.value(2).toInt() != zweite || zweite < gemeldet) {
            qWarning() << "Stand" << stand << "gemeldet" << gemeldet;
            return -1;
        }
        return zweite;
    }

    static constexpr int kLastschriften = 150;

    // 0 when the run of abschlussGanzOderGarNicht() is untouched, 1 when it is
    // closed completely, -1 for anything between (with the reason in the log).
    static int abgeschlossen()
    {
        if (TestDb::zeile("PRAGMA integrity_check") != QStringList{"ok"})
            return -1;
        const QString jahresende = QString::number(QDate::currentDate().year()) + "-12-31";
        const QStringList stand = TestDb::zeile(
            "SELECT (SELECT count(*) FROM zahllauf),(SELECT count(*) FROM parameter WHERE key='Status/Zahlungen'),"
            "(SELECT count(*) FROM journdat),(SELECT count(*) FROM spende),(SELECT ifnull(sum(cent),0) FROM kgkto),"
            "(SELECT count(*) FROM mitglied WHERE zahlstatus=' ' AND bezahlt=?)",
            {jahresende});
        const QString n = QString::number(kLastschriften);
        if (stand == QStringList{n, "1", "0", "0", "0", "0"})
            return 0;
        if (stand == QStringList{"0", "0", QString::number(kEintraege * kLastschriften), n, "0", n})
            return 1;
        qWarning() << "Stand" << stand;
        return -1;
    }

    // The number of payments in the books when the file is sound and each of them
    // is whole, else -1 (with the reason in the test log).
    static int ganz()
    {
        if (TestDb::zeile("PRAGMA integrity_check") != QStringList{"ok"})
            return -1;
        const QStringList stand = TestDb::zeile(
            "SELECT (SELECT count(*) FROM spende),(SELECT count(*) FROM journdat),(SELECT count(*) FROM kgkto),"
            "(SELECT ifnull(sum(cent),0) FROM kgkto),(SELECT bezahlt FROM mitglied WHERE mid=4711),"
            "(SELECT count(*) FROM spende s JOIN journdat j ON j.datum=s.jdatum AND j.lfd=s.jlfd)");
        const int k = stand.value(0).toInt();
        const QStringList erwartet{QString::number(k), QString::number(kEintraege * k),
                                   QString::number(2 * kEintraege * k), "0", QString("%1-12-31").arg(2023 + k),
                                   QString::number(k)};
        if (stand != erwartet) {
            qWarning() << "Stand" << stand << "erwartet" << erwartet;
            return -1;
        }
        return k;
    }
};

QTEST_MAIN(TstAbbruch)
#include "tst_abbruch.moc"
