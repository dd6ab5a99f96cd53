// A fee payment killed at any moment: the process "beitragszahler" pays fees in
// "Bank/Kasse" and is killed with SIGKILL after increasing delays. After each
// kill the file is sound and every payment is there completely or not at all.

#include "db.h"
#include "parameter.h"
#include "testdb.h"

#include <QFile>
#include <QProcess>
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

} // namespace

class TstAbbruch : public QObject
{
    Q_OBJECT

private slots:
    void zahlungGanzOderGarNicht()
    {
        TestDb db;
        QVERIFY(db.ok());
        Db::ausfuehren("INSERT INTO verband (namekurz,gegruendet,ebene,teilvon,bukto) VALUES ('BV','1990-01-01',0,'',"
                       "'100'),('LV Nord','1990-01-01',1,'BV','210'),('KV Hafen','1990-01-01',3,'LV Nord','3105')");
        for (const auto &[key, wert] : {std::pair{"General/Gliederung", "LV Nord"}, {"Konten/PrefGliederung", "08"},
                                        {"Konten/PrefMitglied", "20"}, {"Konten/AddMitglied", "100000"}})
            TestDb::setParameter(key, wert);
        Db::ausfuehren("INSERT INTO spendenparam (art,prozint,prozbuv,prozlv,prozbzv,prozkv,prozov,midbuchung,"
                       "kontokasse,kontobank,kostkasse,kostbank) VALUES ('M',0,2000,3000,0,5000,0,'N','4000','4000',"
                       "'BEITRAG','BEITRAG')");
        Db::ausfuehren("INSERT INTO kontenplan (konto,text) VALUES ('1200','Bank'),('4000','Beiträge')");
        Db::ausfuehren("INSERT INTO mitglied (mid,gliederung,beitrag,eintritt,austritt,bezahlt) VALUES (4711,"
                       "'KV Hafen',3600,'2010-03-01','2200-01-01','2023-12-31')");
        Db::ausfuehren("INSERT INTO adresse (art,key,suchname,name1,name2) VALUES ('M','00004711','MEIER','Meier','Hans')");

        int bezahlt = 0;
        int mitten = 0; // kills that left a transaction open
        // Fine steps first; on a slow machine longer ones until some payments went through.
        for (int ms = 0; ms <= 60 || (bezahlt < 3 && ms < 3000); ms += ms < 60 ? 4 : 50) {
            QProcess zahler;
            zahler.start(zahlerProgramm(), {db.datei(), "4711", "100000"});
            QVERIFY2(zahler.waitForReadyRead(10000), qPrintable(zahler.errorString()));
            QThread::msleep(ms);
            zahler.kill();
            QVERIFY(zahler.waitForFinished());
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

private:
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
