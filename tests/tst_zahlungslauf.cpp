// The fee collection from end to end on the demo books, driven through the
// payment menu as the treasurer does it: create the run, block one row, send the
// mails to a real SMTP server, print the letters, write and confirm the DTAUS
// file, close the run; then the members' states, the books, and the run of the
// next day.

#include "db.h"
#include "demodaten.h"
#include "dialogdriver.h"
#include "mailserver.h"
#include "testdb.h"
#include "textutil.h"
#include "velamain.h"
#include "wdatum.h"
#include "wmitglied.h"

#include <QAction>
#include <QCheckBox>
#include <QDate>
#include <QLineEdit>
#include <QtTest>

using namespace DialogTreiber;

namespace {

QString heute() { return UtilDatumText(QDate::currentDate()); }

// "mid art" of every row of the run.
QStringList laufArten()
{
    QStringList s;
    QSqlQuery q = Db::abfrage("SELECT mid,art FROM zahllauf ORDER BY CAST(mid AS INTEGER)");
    while (q.next())
        s << q.value(0).toString() + ' ' + q.value(1).toString();
    return s;
}

struct Zeile
{
    QString art;
    QString statusneu;
    bool done;
    bool gebucht; // a debit with account and execution date
    qint64 cent;
};

} // namespace

class TstZahlungslauf : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    void ganzerLauf()
    {
        TestDb db;
        QVERIFY(db.ok());
        DemoDaten demo(11);
        QVERIFY(demo.erzeugen(400, 300));
        // No state of today: the next day then brings exactly what the cycle says.
        Db::ausfuehren("UPDATE mitglied SET statusdatum=date('now','-1 day') WHERE statusdatum>=date('now')");
        const QString bank = Db::wert("SELECT wert FROM parameter WHERE key='Zahlungen/KontoDtaus'").toString();
        QVERIFY(!bank.isEmpty());

        VelaMain fenster;
        SkriptInteraktion skript;
        erstellen(fenster, skript, true);
        QVERIFY2(TestDb::anzahl("SELECT count(DISTINCT art) FROM zahllauf") >= 6, "members of every state");

        // One mail blocked: it does not go out, and its member stays where he is.
        const QStringList gesperrt = TestDb::zeile("SELECT mid,art FROM zahllauf WHERE form='M' AND art<>'D' LIMIT 1");
        QCOMPARE(gesperrt.size(), 2);
        sperren(fenster, gesperrt[0], gesperrt[1]);
        QCOMPARE(TestDb::zeile("SELECT sperren,manuell FROM zahllauf WHERE mid=?", {gesperrt[0]}),
                 QStringList({"J", "J"}));

        mailsSenden(fenster, skript);
        briefeDrucken(fenster, skript, db.verzeichnis());
        const QDate ausfuehrung = QDate::currentDate().addDays(2);
        dtaus(fenster, skript, db.verzeichnis(), ausfuehrung);
        QCOMPARE(TestDb::anzahl("SELECT count(*) FROM zahllauf WHERE sperren='J' AND done='J'"), 0);

        // What closing must do, read before it.
        QHash<int, Zeile> lauf;
        QSqlQuery q = Db::abfrage("SELECT mid,art,statusneu,done,bausteinm,bausteinb,cent FROM zahllauf");
        qint64 gebucht = 0;
        int lastschriften = 0;
        while (q.next()) {
            const bool done = q.value(3).toString() == "J";
            const bool buchen = done && q.value(1).toString() == "D" && !q.value(4).toString().isEmpty()
                                && !q.value(5).toString().isEmpty();
            lauf.insert(q.value(0).toInt(), {q.value(1).toString(), q.value(2).toString(), done, buchen,
                                            q.value(6).toLongLong()});
            if (buchen) {
                gebucht += q.value(6).toLongLong();
                ++lastschriften;
            }
        }
        QVERIFY(lastschriften > 0);
        qInfo("%d rows, %d debits booked", int(lauf.size()), lastschriften);
        QHash<int, QStringList> vorher;
        q = Db::abfrage("SELECT mid,zahlstatus,statusdatum,bezahlt FROM mitglied");
        while (q.next())
            vorher.insert(q.value(0).toInt(), {q.value(1).toString(), q.value(2).toString(), q.value(3).toString()});
        const qint64 bankVorher = Db::wert("SELECT ifnull(sum(cent),0) FROM kgkto WHERE konto=?", {bank}).toLongLong();
        const int spendenVorher = TestDb::anzahl("SELECT count(*) FROM spende");

        skript.antworte(QMessageBox::Yes);
        skript.antworte(QMessageBox::Ok);
        eintrag(&fenster, "&Abschliessen")->trigger();
        QCOMPARE(skript.unerwartet(), 0);
        QCOMPARE(skript.anfragen().last().text, QString("Zahlungen sind abgeschlossen"));
        QCOMPARE(TestDb::anzahl("SELECT count(*) FROM zahllauf"), 0);

        // Every member: moved on when his row was carried out, a booked fee clears the state.
        const QString jahresende = QString::number(QDate::currentDate().year()) + "-12-31";
        q = Db::abfrage("SELECT mid,zahlstatus,statusdatum,bezahlt FROM mitglied");
        while (q.next()) {
            const int mid = q.value(0).toInt();
            QStringList soll = vorher.value(mid);
            const Zeile z = lauf.value(mid);
            if (z.gebucht)
                soll = {" ", heute(), jahresende};
            else if (z.done)
                soll = {z.statusneu, heute(), soll.value(2)};
            const QStringList ist{q.value(1).toString(), q.value(2).toString(), q.value(3).toString()};
            QVERIFY2(ist == soll, qPrintable(QString("MID %1: %2 statt %3").arg(mid).arg(ist.join('|'), soll.join('|'))));
        }
        QCOMPARE(TestDb::zeile("SELECT sum(cent) FROM kgkto"), QStringList{"0"});
        QCOMPARE(Db::wert("SELECT ifnull(sum(cent),0) FROM kgkto WHERE konto=?", {bank}).toLongLong(),
                 bankVorher + gebucht);
        QCOMPARE(TestDb::anzahl("SELECT count(*) FROM kgkto k JOIN journdat j USING (datum,lfd) WHERE k.konto=? AND "
                                "k.datum=? AND j.erfasst>=?",
                                {bank, UtilDatumText(ausfuehrung), heute()}),
                 lastschriften);
        QCOMPARE(TestDb::anzahl("SELECT count(*) FROM spende WHERE jdatum=? AND art='M'", {UtilDatumText(ausfuehrung)}),
                 lastschriften);
        QCOMPARE(TestDb::anzahl("SELECT count(*) FROM spende"), spendenVorher + lastschriften);

        // The next day: the cycle's next step for every carried-out row, the same demand for the others.
        Db::ausfuehren("UPDATE mitglied SET statusdatum=date('now','-1 day') WHERE statusdatum=date('now')");
        QStringList soll;
        QList<int> mids = lauf.keys();
        std::sort(mids.begin(), mids.end());
        for (int mid : std::as_const(mids)) {
            const Zeile z = lauf.value(mid);
            QString art = z.art;
            if (z.done) {
                const QString zahlart = TestDb::zeile("SELECT zahlart FROM mitglied WHERE mid=?", {mid}).value(0);
                static const QHash<QString, QString> naechste{{"R", "1"}, {"r", "1"}, {"L", "D"}, {"l", "D"},
                                                              {"G", "1"}, {"1", "2"},  {"2", "3"}};
                art = naechste.value(z.art);
                if (z.statusneu == "R")
                    art = zahlart == "L" ? "D" : "1";
            }
            if (!art.isEmpty())
                soll << QString::number(mid) + ' ' + art;
        }
        erstellen(fenster, skript, false);
        QCOMPARE(laufArten(), soll);
    }

private:
    // "&Erstellen" with every waiting time one day.
    static void erstellen(VelaMain &fenster, SkriptInteraktion &skript, bool tageSetzen)
    {
        QVERIFY(ueberMenue(&fenster, "&Erstellen", [&](QDialog *d) {
            QVERIFY(zeige(d));
            if (tageSetzen) {
                for (const char *f : {"Rechnung->Lastschrift", "Rechnung->1.Mahnung", "1.Mahnung->2.Mahnung",
                                      "2.Mahnung->3.Mahnung"})
                    feldBei<QLineEdit>(d, f)->setText("1");
            }
            skript.antworte(QMessageBox::Ok);
            QVERIFY(alt(d, Qt::Key_O));
        }));
        QCOMPARE(skript.unerwartet(), 0);
        QVERIFY2(skript.anfragen().last().text.startsWith("Zahlungen sind erstellt"),
                 qPrintable(skript.anfragen().last().text));
    }

    // "Bearbeiten" of the row's kind: the member's number, Return, the space bar on
    // "Sperren", Alt+S, Escape.
    static void sperren(VelaMain &fenster, const QString &mid, const QString &art)
    {
        static const QHash<QString, QString> eintraege{
            {"R", "&Vorkasse"}, {"r", "Vorkasse &Neumitglieder"}, {"L", "&Lastschrifthinweis"},
            {"l", "Lastschrifthinweis N&eumitglieder"}, {"G", "&Geplatzte Lastschrift"}, {"1", "&1. Mahnung"},
            {"2", "&2. Mahnung"}, {"3", "&3. Mahnung"}};
        QVERIFY(ueberMenue(&fenster, eintraege.value(art), [&](QDialog *d) {
            const auto zu = qScopeGuard([d] { d->done(QDialog::Rejected); }); // also when a check fails
            QVERIFY(zeige(d));
            tippeReturn(d->findChild<WMitglied *>(), mid);
            QTest::keyClick(kasten(d, "Sperren"), Qt::Key_Space);
            QVERIFY(alt(d, Qt::Key_S));
            QTest::keyClick(d, Qt::Key_Escape);
            QVERIFY(!d->isVisible());
        }));
    }

    // "&Emails" to a real aiosmtpd: every unblocked mail row goes out and is done.
    static void mailsSenden(VelaMain &fenster, SkriptInteraktion &skript)
    {
        MailServer server;
        QVERIFY(server.port() > 0);
        MailServer::einstellen(server.port());
        const int mails = TestDb::anzahl("SELECT count(*) FROM zahllauf WHERE form='M' AND art<>'D' AND sperren='N'");
        QVERIFY(mails > 0);
        skript.antworte(QMessageBox::Ok);
        QVERIFY(ueberMenue(&fenster, "&Emails", [&](QDialog *d) {
            QVERIFY(zeige(d));
            QVERIFY(alt(d, Qt::Key_O));
        }));
        QCOMPARE(skript.unerwartet(), 0);
        QCOMPARE(skript.anfragen().last().text, QString("Fertig"));
        QCOMPARE(int(server.mails().size()), mails);
        QCOMPARE(TestDb::anzahl("SELECT count(*) FROM zahllauf WHERE form='M' AND art<>'D' AND done<>(CASE sperren "
                                "WHEN 'J' THEN 'N' ELSE 'J' END)"),
                 0);
    }

    static void briefeDrucken(VelaMain &fenster, SkriptInteraktion &skript, const QString &ordner)
    {
        const int briefe = TestDb::anzahl("SELECT count(*) FROM zahllauf WHERE form='B' AND art<>'D' AND sperren='N'");
        QVERIFY(briefe > 0);
        const QString pdf = ordner + "/briefe.pdf";
        QVERIFY(ueberMenue(&fenster, "&Briefe", [&](QDialog *d) {
            QVERIFY(zeige(d));
            skript.antworteText(pdf);
            skript.antworte(QMessageBox::Ok);
            QVERIFY(alt(d, Qt::Key_O));
        }));
        QCOMPARE(skript.unerwartet(), 0);
        QCOMPARE(skript.anfragen().last().text, QString::number(briefe) + " Seiten wurden gedruckt");
        QCOMPARE(int(pdfText(pdf).count('\f')), briefe);
        QCOMPARE(TestDb::anzahl("SELECT count(*) FROM zahllauf WHERE art<>'D' AND sperren='N' AND done='N'"), 0);
    }

    static void dtaus(VelaMain &fenster, SkriptInteraktion &skript, const QString &ordner, const QDate &ausfuehrung)
    {
        QVERIFY(ueberMenue(&fenster, "&Dtaus Datei", [&](QDialog *d) {
            QVERIFY(zeige(d));
            feldBei<QLineEdit>(d, "Dateiname")->setText(ordner + "/lastschrift.dta");
            skript.antworte(QMessageBox::Ok);
            QVERIFY(alt(d, Qt::Key_V));
            skript.antworteText(ordner + "/inhalt.pdf");
            skript.antworte(QMessageBox::Ok);
            QVERIFY(alt(d, Qt::Key_I));
            skript.antworte(QMessageBox::Ok);
            QVERIFY(alt(d, Qt::Key_D));
            d->findChild<WDatum *>("ausfuehrung")->setDatum(ausfuehrung);
            QVERIFY(alt(d, Qt::Key_O));
        }));
        QCOMPARE(skript.unerwartet(), 0);
        QVERIFY(QFileInfo(ordner + "/lastschrift.dta").size() > 0);
        QVERIFY(TestDb::anzahl("SELECT count(*) FROM zahllauf WHERE art='D' AND done='J' AND bausteinb=?",
                               {UtilDatumText(ausfuehrung)})
                > 0);
    }
};

QTEST_MAIN(TstZahlungslauf)
#include "tst_zahlungslauf.moc"
