// The mails of a payment run, sent from the payment menu to a real aiosmtpd:
// what arrives, what is marked done, refused recipients and missing data as
// failures that the next pass sends, cancellation between two mails, and the
// status slots and the menu afterwards.

#include "db.h"
#include "dialogdriver.h"
#include "mailserver.h"
#include "testdb.h"
#include "textutil.h"
#include "velamain.h"
#include "zahlmail.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include <memory>

using namespace DialogTreiber;

namespace {

// mid art form sperren done template cent; every member has the address m<mid>@example.org.
const QStringList kZeilen = {"301 R M N N RECHM 123456",   "302 r M N N RECHNEUM 1200", "303 L M J N LASTM 3600",
                             "304 l M N J LASTNEUM 5000",  "305 G M N N PLATZM 1000",   "306 1 M N N MAHN1M 2400",
                             "307 2 B N N MAHN2B 2400",    "308 D M N N 12AB 2400",     "309 3 M N N MAHN3M 2400"};
const QString kStatus = QStringLiteral("JJNJNJNJNJNJNNJJN");
const QString kStatusFertig = QStringLiteral("JDNDNDNDNDNDNNJDN");

QString adresse(int mid) { return QStringLiteral("m%1@example.org").arg(mid); }

void vorlage(const QString &name)
{
    Db::ausfuehren("INSERT INTO textbaustein (bez,beschreibung,subject,inhalt) VALUES (?,'','Beitrag %mid%',"
                   "'Mitglied %mid%: %betrag% EUR für %jahr%')",
                   {name});
}

// Addresses and templates of the run's members.
void stammdatenAnlegen()
{
    for (const QString &zeile : kZeilen) {
        const QStringList f = zeile.split(' ');
        Db::ausfuehren("INSERT INTO adresse (art,key,name1,mail) VALUES ('M',?,'X',?)",
                       {UtilMidKey(f[0].toInt()), adresse(f[0].toInt())});
        if (f[1] != "D")
            vorlage(f[5]);
    }
}

void laufAnlegen()
{
    for (const QString &zeile : kZeilen) {
        const QStringList f = zeile.split(' ');
        Db::ausfuehren("INSERT INTO zahllauf (mid,art,form,sperren,manuell,done,bausteinm,bausteinb,cent,statusneu) "
                       "VALUES (?,?,?,?,'N',?,?,'',?,'R')",
                       {f[0], f[1], f[2], f[3], f[4], f[5], f[6]});
    }
    stammdatenAnlegen();
    TestDb::setParameter("Status/Zahlungen", kStatus);
}

// What a pass must have delivered: one mail per member, to his address, with his amount.
QStringList erwarteteMails(const QStringList &mids)
{
    QStringList mails;
    for (const QString &mid : mids) {
        const QString zeile = kZeilen.filter(QRegularExpression('^' + mid + ' ')).value(0);
        mails << adresse(mid.toInt()) + " | Beitrag " + mid + " | Mitglied " + mid + ": "
                     + UtilBetragText(zeile.section(' ', 6).toLongLong()) + " EUR für "
                     + QString::number(QDate::currentDate().year());
    }
    return mails;
}

QStringList angekommen(const MailServer &server)
{
    QStringList mails;
    for (const QJsonObject &m : server.mails())
        mails << m["to"].toString() + " | " + m["subject"].toString() + " | " + m["body"].toString().trimmed();
    return mails;
}

QStringList erledigt()
{
    QStringList mids;
    QSqlQuery q = Db::abfrage("SELECT mid FROM zahllauf WHERE done='J' ORDER BY mid");
    while (q.next())
        mids << q.value(0).toString();
    return mids;
}

} // namespace

class TstZahlMail : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    void init()
    {
        m_db = std::make_unique<TestDb>();
        QVERIFY(m_db->ok());
        laufAnlegen();
    }
    void cleanup() { m_db.reset(); }

    // The first pass runs with the changes of the row ("aus:box" unchecks, "neu" resends,
    // "ablehnen:mid" makes the server refuse him, "ohneVorlage:mid", "ohneAdresse:mid",
    // "ohneMail:mid" take his data away). The second pass runs with all boxes on and
    // everything repaired: together the two send every unblocked mail row exactly once.
    void lauf_data()
    {
        QTest::addColumn<QStringList>("aenderungen");
        QTest::addColumn<QStringList>("gesendet"); // by the first pass
        QTest::addColumn<QString>("meldung");
        QTest::newRow("alle") << QStringList() << QStringList{"301", "302", "305", "306", "309"} << "Fertig";
        QTest::newRow("Art aus") << QStringList{"aus:&1. Mahnung", "aus:&Vorkasse"}
                                 << QStringList{"302", "305", "309"} << "Fertig";
        QTest::newRow("neu senden") << QStringList{"neu"} << QStringList{"301", "302", "304", "305", "306", "309"}
                                    << "Fertig";
        QTest::newRow("abgelehnt") << QStringList{"ablehnen:305", "ablehnen:309"} << QStringList{"301", "302", "306"}
                                   << "2Emails konnten nicht gesendet wewrden\n"
                                      "Der Mailserver lehnt ab: 550 Empfaenger abgelehnt";
        QTest::newRow("Vorlage, Adresse, Mail fehlen")
            << QStringList{"ohneVorlage:306", "ohneAdresse:302", "ohneMail:301"} << QStringList{"305", "309"}
            << "3Emails konnten nicht gesendet wewrden";
    }
    void lauf()
    {
        QFETCH(QStringList, aenderungen);
        QFETCH(QStringList, gesendet);
        QFETCH(QString, meldung);
        MailServer server;
        QVERIFY(server.port() > 0);
        MailServer::einstellen(server.port(), "Kasse");
        QStringList abgelehnt;
        for (const QString &a : aenderungen) {
            const int mid = a.section(':', 1).toInt();
            if (a.startsWith("ablehnen:"))
                abgelehnt << adresse(mid);
            else if (a.startsWith("ohneVorlage:"))
                Db::ausfuehren("DELETE FROM textbaustein WHERE bez=(SELECT bausteinm FROM zahllauf WHERE mid=?)", {mid});
            else if (a.startsWith("ohneAdresse:"))
                Db::ausfuehren("DELETE FROM adresse WHERE key=?", {UtilMidKey(mid)});
            else if (a.startsWith("ohneMail:"))
                Db::ausfuehren("UPDATE adresse SET mail='' WHERE key=?", {UtilMidKey(mid)});
        }
        server.ablehnen(abgelehnt);
        const bool fehler = meldung != "Fertig";

        VelaMain fenster;
        SkriptInteraktion skript;
        for (int i = 0; i < 3; ++i)
            skript.antworte(QMessageBox::Ok);
        beiModal([&](QDialog *d) {
            const auto zu = qScopeGuard([d] { d->done(QDialog::Rejected); }); // also when a check fails
            QVERIFY(zeige(d));
            QCOMPARE(d->windowTitle(), QStringLiteral("Zahlungen - Emails"));
            for (const QString &a : aenderungen) {
                if (a.startsWith("aus:"))
                    QTest::mouseClick(kasten(d, a.mid(4)), Qt::LeftButton, {}, QPoint(5, 5));
                else if (a == "neu")
                    QTest::mouseClick(kasten(d, "&Bereits erstellte Mails neu erstellen"), Qt::LeftButton, {},
                                      QPoint(5, 5));
            }
            QVERIFY(alt(d, Qt::Key_O));
            QVERIFY(!d->isVisible());
        });
        fenster.pZahlMail();
        QVERIFY(gelaufen());
        QCOMPARE(skript.unerwartet(), 0);
        QStringList meldungen;
        for (const Interaktion::Anfrage &a : skript.anfragen())
            meldungen << a.titel + ": " + a.text;
        QStringList erwartet;
        if (aenderungen.contains("neu"))
            erwartet << "Zahlungen - Emails: Achtung: Wenn diese Option aktiviert ist, ist es nicht ausgeschlossen, "
                        "dass Emails doppelt versendet werden!";
        erwartet << "Zahlungen Email: " + meldung;
        QCOMPARE(meldungen, erwartet);

        // Only what the server accepted is done; the slots change only after a pass without failure.
        QCOMPARE(angekommen(server), erwarteteMails(gesendet));
        QStringList fertig = gesendet;
        if (!fertig.contains("304"))
            fertig << "304";
        fertig.sort();
        QCOMPARE(erledigt(), fertig);
        QCOMPARE(TestDb::zeile("SELECT wert FROM parameter WHERE key='Status/Zahlungen'").value(0),
                 fehler ? kStatus : kStatusFertig);
        QCOMPARE(eintrag(&fenster, "&Emails")->text(),
                 fehler ? QStringLiteral("&Emails") : QStringLiteral("&Emails (ok)"));

        // The next pass, with the server accepting everyone and the data repaired.
        server.ablehnen({});
        Db::ausfuehren("DELETE FROM textbaustein");
        Db::ausfuehren("DELETE FROM adresse");
        stammdatenAnlegen();
        skript.antworte(QMessageBox::Ok);
        beiModal([&](QDialog *d) {
            const auto zu = qScopeGuard([d] { d->done(QDialog::Rejected); });
            QVERIFY(alt(d, Qt::Key_O));
        });
        fenster.pZahlMail();
        QCOMPARE(skript.anfragen().last().text, QStringLiteral("Fertig"));
        QStringList alle = {"301", "302", "305", "306", "309"};
        if (aenderungen.contains("neu"))
            alle << "304";
        QStringList zweiter;
        for (const QString &mid : alle) {
            if (!gesendet.contains(mid))
                zweiter << mid;
        }
        zweiter.sort();
        QCOMPARE(angekommen(server), erwarteteMails(gesendet) + erwarteteMails(zweiter));
        QCOMPARE(erledigt(), QStringList({"301", "302", "304", "305", "306", "309"}));
        QCOMPARE(TestDb::zeile("SELECT wert FROM parameter WHERE key='Status/Zahlungen'").value(0), kStatusFertig);
        QCOMPARE(eintrag(&fenster, "&Emails")->text(), QStringLiteral("&Emails (ok)"));
    }

    // While the first mail is under way the window answers: the label shows the member,
    // the boxes are locked, and a stop request ends the pass after that mail.
    void abbruch_data()
    {
        QTest::addColumn<QString>("wie");
        QTest::newRow("Abbruch-Knopf") << "knopf";
        QTest::newRow("Escape") << "escape";
        QTest::newRow("Fenster schliessen") << "schliessen";
    }
    void abbruch()
    {
        QFETCH(QString, wie);
        MailServer server;
        QVERIFY(server.port() > 0);
        MailServer::einstellen(server.port());
        SkriptInteraktion skript;
        skript.antworte(QMessageBox::Ok);

        ZahlungMail dialog;
        QVERIFY(zeige(&dialog));
        auto *fortschritt = dialog.findChildren<QLabel *>().value(0);
        QStringList gesehen;
        QTimer blick;
        connect(&blick, &QTimer::timeout, [&] {
            if (fortschritt->text().isEmpty() || !gesehen.isEmpty())
                return;
            gesehen << fortschritt->text() << QString::number(kasten(&dialog, "&Vorkasse")->isEnabled())
                    << QString::number(knopf(&dialog, "&OK")->isEnabled());
            if (wie == "knopf")
                QTest::mouseClick(knopf(&dialog, "&Abbruch"), Qt::LeftButton);
            else if (wie == "escape")
                QTest::keyClick(&dialog, Qt::Key_Escape);
            else
                dialog.close();
            gesehen << QString::number(dialog.isVisible());
        });
        blick.start(0);
        QVERIFY(alt(&dialog, Qt::Key_O));
        QCOMPARE(gesehen, QStringList({"301", "0", "0", "1"}));
        QCOMPARE(skript.anfragen().size(), 1);
        QCOMPARE(skript.anfragen()[0].text, QStringLiteral("Der Lauf wurde abgebrochen"));
        QCOMPARE(angekommen(server), erwarteteMails({"301"}));
        QCOMPARE(erledigt(), QStringList({"301", "304"}));
        QCOMPARE(TestDb::zeile("SELECT wert FROM parameter WHERE key='Status/Zahlungen'").value(0), kStatus);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }

    // Books opened read-only could not keep what was sent: no mail goes out.
    void schreibgeschuetzt()
    {
        MailServer server;
        QVERIFY(server.port() > 0);
        MailServer::einstellen(server.port());
        Db::schliessen();
        QVERIFY(Db::oeffnen(m_db->datei(), true));
        SkriptInteraktion skript;
        skript.antworte(QMessageBox::Ok);
        ZahlungMail dialog;
        QVERIFY(zeige(&dialog));
        QVERIFY(alt(&dialog, Qt::Key_O));
        QCOMPARE(skript.anfragen().size(), 1);
        QCOMPARE(skript.anfragen()[0].art, Interaktion::Art::Kritisch);
        QVERIFY(dialog.isVisible());
        QCOMPARE(server.mails().size(), 0);
    }

private:
    std::unique_ptr<TestDb> m_db;
};

QTEST_MAIN(TstZahlMail)
#include "tst_zahlmail.moc"
