// Editing the rows of one kind of the payment run, as the treasurer does it from
// the payment menu: the list, reading a row by number or click, the form rules,
// blocking, the debit amount, leaving with Escape, and the test mail through a
// real aiosmtpd.

#include "db.h"
#include "dialogdriver.h"
#include "mailserver.h"
#include "testdb.h"
#include "textutil.h"
#include "velamain.h"
#include "wbetrag.h"
#include "wmitglied.h"
#include "zahlbearb.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QtTest>

#include <memory>

using namespace DialogTreiber;

namespace {

// mid art form sperren done bausteinm bausteinb cent|name1|name2|plz|ort|mail
const QStringList kZeilen = {
    "401 2 M N N MAHN2M MAHN2B 2400|Meier|Anna|24103|Kiel|anna@example.org",
    "402 2 B J N MAHN2M MAHN2B 123450|Schulz||24103|Kiel|",
    "403 2 M N J MAHN2M - 2400|Berg|Jan|||jan@example.org",
    "404 1 M N N MAHN1M MAHN1B 2400|Kurz|Eva|24105|Kiel|eva@example.org",
    "405 D M N N 12AB - 2400|Lang|Otto|24106|Kiel|otto@example.org"};

void laufAnlegen()
{
    for (const QString &zeile : kZeilen) {
        const QStringList f = zeile.section('|', 0, 0).split(' ');
        const QStringList a = zeile.split('|');
        Db::ausfuehren("INSERT INTO zahllauf (mid,art,form,sperren,manuell,done,bausteinm,bausteinb,cent,statusneu) "
                       "VALUES (?,?,?,?,'N',?,?,?,?,'R')",
                       {f[0], f[1], f[2], f[3], f[4], f[5], f[6] == "-" ? QString() : f[6], f[7]});
        Db::ausfuehren("INSERT INTO adresse (art,key,name1,name2,plz,ort,mail) VALUES ('M',?,?,?,?,?,?)",
                       {UtilMidKey(f[0].toInt()), a[1], a[2], a[3], a[4], a[5]});
    }
    Db::ausfuehren("INSERT INTO textbaustein (bez,beschreibung,subject,inhalt) "
                   "VALUES ('MAHN2M','','Mahnung %mid%','Bitte zahlen Sie %betrag% EUR.')");
}

QString zahllauf(int mid)
{
    return TestDb::zeile("SELECT sperren,form,cent,manuell,done FROM zahllauf WHERE mid=?", {mid}).join('|');
}

QStringList listenZeilen(QDialog *d)
{
    QStringList zeilen;
    auto *model = qobject_cast<QStandardItemModel *>(d->findChild<QTableView *>()->model());
    for (int r = 0; r < model->rowCount(); ++r) {
        QStringList z;
        for (int c = 0; c < model->columnCount(); ++c)
            z << model->item(r, c)->text();
        zeilen << z.join('|');
    }
    return zeilen;
}

// True while the dialog waits for a member number.
bool waehlt(QDialog *d)
{
    return d->findChild<WMitglied *>()->isEnabled() && !knopf(d, "&Speichern")->isEnabled();
}

} // namespace

class TstZahlBearb : public QObject
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

    // "&2. Mahnung" opens the dialog of second reminders: only they are listed and
    // read; a member with a first reminder is not taken.
    void liste()
    {
        TestDb::setParameter("Status/Zahlungen", "JNNNNNNNNNNJNJNNN");
        VelaMain fenster;
        QAction *mahnung2 = eintrag(&fenster, "&2. Mahnung");
        QVERIFY(mahnung2 && mahnung2->isEnabled());
        beiModal([](QDialog *d) {
            const auto zu = qScopeGuard([d] { d->done(QDialog::Rejected); }); // also when a check fails
            QVERIFY(zeige(d));
            QCOMPARE(d->windowTitle(), QStringLiteral("Bearbeitung der Zahlungen"));
            QStringList texte;
            for (QLabel *l : d->findChildren<QLabel *>())
                texte << l->text();
            QVERIFY(texte.contains("2. Mahnung"));
            QCOMPARE(listenZeilen(d), QStringList({"401|Meier, Anna, 24103 Kiel|24,00| ",
                                            "402|Schulz, 24103 Kiel|1.234,50|Gesperrt", "403|Berg, Jan|24,00|O.K."}));
            auto *mid = d->findChild<WMitglied *>();
            tippeReturn(mid, "404");
            QVERIFY(waehlt(d));
            mid->clear();
            tippeReturn(mid, "402");
            QVERIFY(!waehlt(d));
            QCOMPARE(feldBei<QLabel>(d, "Mitglied", 0, 2)->text(), QStringLiteral("Schulz, 24103 Kiel"));
            QCOMPARE(feldBei<QLabel>(d, "Betrag")->text(), QStringLiteral("1.234,50 EUR"));
            QVERIFY(kasten(d, "Sperren")->isChecked());
        });
        mahnung2->trigger();
        QVERIFY(gelaufen());
    }

    // A row is read by number or by a click into the list, changed as the user does it and
    // saved with Alt+S. "form:Email"/"form:Brief" picks the form, "sperren" toggles the box,
    // "betrag:text" types a debit amount.
    void bearbeiten_data()
    {
        QTest::addColumn<QString>("art");
        QTest::addColumn<int>("mid");
        QTest::addColumn<QStringList>("aktionen");
        QTest::addColumn<bool>("wahl");     // the form can be chosen
        QTest::addColumn<QString>("gezeigt"); // form and template shown before saving
        QTest::addColumn<QString>("zeile");   // sperren|form|cent|manuell|done afterwards
        QTest::newRow("sperren") << "2" << 401 << QStringList{"sperren"} << true << "Email MAHN2M" << "J|M|2400|J|N";
        QTest::newRow("auf Brief") << "2" << 401 << QStringList{"form:Brief"} << true << "Brief MAHN2B"
                                   << "|B|2400|J|N";
        QTest::newRow("aus der Liste") << "2" << -1 << QStringList() << true << "Email MAHN2M" << "|M|2400|J|N";
        QTest::newRow("entsperren schreibt leer") << "2" << 402 << QStringList{"sperren"} << false << "Brief MAHN2B"
                                                  << "|B|123450|J|N";
        QTest::newRow("ohne Adresse kein Email") << "2" << 402 << QStringList{"form:Email"} << false
                                                 << "Brief MAHN2B" << "J|B|123450|J|N";
        QTest::newRow("ohne Briefvorlage kein Brief") << "2" << 403 << QStringList{"form:Brief"} << false
                                                      << "Email MAHN2M" << "|M|2400|J|J";
        QTest::newRow("Lastschriftbetrag") << "D" << 405 << QStringList{"betrag:12,34"} << false << "" << "|M|1234|J|N";
        QTest::newRow("Lastschriftbetrag zu hoch")
            << "D" << 405 << QStringList{"betrag:100.000.000,00"} << false << "" << "N|M|2400|N|N";
    }
    void bearbeiten()
    {
        QFETCH(QString, art);
        QFETCH(int, mid);
        QFETCH(QStringList, aktionen);
        QFETCH(bool, wahl);
        QFETCH(QString, gezeigt);
        QFETCH(QString, zeile);
        ZahlungBearb dialog(art);
        QVERIFY(zeige(&dialog));
        if (mid > 0) {
            tippeReturn(dialog.findChild<WMitglied *>(), QString::number(mid));
        } else {
            auto *view = dialog.findChild<QTableView *>();
            klicke(view, view->model()->index(0, 1));
            mid = 401;
        }
        QVERIFY(!waehlt(&dialog));
        QCOMPARE(dialog.findChild<WMitglied *>()->text(), QString::number(mid));
        auto *form = dialog.findChild<QComboBox *>();
        QCOMPARE(form != nullptr, art != "D");
        if (form)
            QCOMPARE(form->isEnabled(), wahl);
        for (const QString &a : aktionen) {
            if (a == "sperren") {
                QTest::keyClick(kasten(&dialog, "Sperren"), Qt::Key_Space);
            } else if (a.startsWith("form:")) {
                form->setCurrentIndex(form->findText(a.mid(5)));
            } else if (a.startsWith("betrag:")) {
                auto *betrag = dialog.findChild<WBetrag *>();
                betrag->selectAll();
                tippe(betrag, a.mid(7));
            }
        }
        if (form)
            QCOMPARE(form->currentText() + ' ' + feldBei<QLabel>(&dialog, "Textbaustein")->text(), gezeigt);
        QVERIFY(alt(&dialog, Qt::Key_S));
        QCOMPARE(zahllauf(mid), zeile);
        const bool gespeichert = zeile.section('|', 3, 3) == "J";
        QCOMPARE(waehlt(&dialog), gespeichert);
        if (gespeichert) // the list shows the saved state
            QCOMPARE(listenZeilen(&dialog).filter(QRegularExpression('^' + QString::number(mid) + "\\|")).value(0).section('|', 3),
                     zeile.startsWith('J') ? QStringLiteral("Gesperrt")
                                           : zeile.endsWith("|J") ? QStringLiteral("O.K.") : QStringLiteral(" "));
    }

    // Escape, "&Abbruch" and closing the window leave an edited row unchanged and go
    // back to choosing; from there Escape closes the dialog.
    void verlassen_data()
    {
        QTest::addColumn<QString>("wie");
        QTest::newRow("Escape") << "escape";
        QTest::newRow("Abbruch") << "abbruch";
        QTest::newRow("Fenster schliessen") << "schliessen";
    }
    void verlassen()
    {
        QFETCH(QString, wie);
        ZahlungBearb dialog("2");
        QVERIFY(zeige(&dialog));
        tippeReturn(dialog.findChild<WMitglied *>(), "401");
        QTest::keyClick(kasten(&dialog, "Sperren"), Qt::Key_Space);
        if (wie == "escape")
            QTest::keyClick(&dialog, Qt::Key_Escape);
        else if (wie == "abbruch")
            QVERIFY(alt(&dialog, Qt::Key_A));
        else
            dialog.close();
        QVERIFY(dialog.isVisible());
        QVERIFY(waehlt(&dialog));
        QVERIFY(dialog.findChild<WMitglied *>()->text().isEmpty());
        QVERIFY(!kasten(&dialog, "Sperren")->isChecked());
        QCOMPARE(zahllauf(401), QStringLiteral("N|M|2400|N|N"));
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }

    // The test mail goes to the address typed in, exactly as the run would send it;
    // the row stays as it was.
    void testmail_data()
    {
        QTest::addColumn<int>("mid");
        QTest::addColumn<QString>("eingabe"); // "" cancels the input box
        QTest::addColumn<bool>("ablehnen");
        QTest::addColumn<bool>("vorlage");
        QTest::addColumn<QString>("meldung");
        QTest::newRow("verschickt") << 401 << "pruefer@example.net" << false << true << "Email wurde verschickt";
        QTest::newRow("Brief") << 402 << "" << false << true << "Derzeit ist nur Email implementiert";
        QTest::newRow("ohne Vorlage") << 401 << "pruefer@example.net" << false << false
                                      << "Email konnte nicht verschickt werden";
        QTest::newRow("abgelehnt") << 401 << "pruefer@example.net" << true << true
                                   << "Email konnte nicht verschickt werden\n"
                                      "Der Mailserver lehnt ab: 550 Empfaenger abgelehnt";
        QTest::newRow("Eingabe abgebrochen") << 401 << "" << false << true << "";
    }
    void testmail()
    {
        QFETCH(int, mid);
        QFETCH(QString, eingabe);
        QFETCH(bool, ablehnen);
        QFETCH(bool, vorlage);
        QFETCH(QString, meldung);
        MailServer server;
        QVERIFY(server.port() > 0);
        MailServer::einstellen(server.port());
        if (ablehnen)
            server.ablehnen({eingabe});
        if (!vorlage)
            Db::ausfuehren("DELETE FROM textbaustein");
        const QString vorher = zahllauf(mid);

        SkriptInteraktion skript;
        if (!eingabe.isEmpty())
            skript.antworteText(eingabe);
        else if (mid == 401)
            skript.antworteAbbruch();
        skript.antworte(QMessageBox::Ok);
        ZahlungBearb dialog("2");
        QVERIFY(zeige(&dialog));
        tippeReturn(dialog.findChild<WMitglied *>(), QString::number(mid));
        QVERIFY(alt(&dialog, Qt::Key_T));

        QStringList fragen;
        for (const Interaktion::Anfrage &a : skript.anfragen())
            fragen << a.titel + ": " + a.text;
        QStringList erwartet;
        if (mid == 401)
            erwartet << "Test der Zahlung: Email Adresse";
        if (!meldung.isEmpty())
            erwartet << "Test der Zahlung: " + meldung;
        QCOMPARE(fragen, erwartet);
        const QList<QJsonObject> mails = server.mails();
        QCOMPARE(mails.size(), meldung == "Email wurde verschickt" ? 1 : 0);
        if (!mails.isEmpty()) {
            QCOMPARE(mails[0]["to"].toString(), eingabe);
            QCOMPARE(mails[0]["subject"].toString(), QStringLiteral("Mahnung 401"));
            QCOMPARE(mails[0]["body"].toString().trimmed(), QStringLiteral("Bitte zahlen Sie 24,00 EUR."));
        }
        QCOMPARE(zahllauf(mid), vorher);
        QVERIFY(!waehlt(&dialog));
    }

    // A save the books refuse names the cause and keeps the row in editing.
    void schreibgeschuetzt()
    {
        Db::schliessen();
        QVERIFY(Db::oeffnen(m_db->datei(), true));
        SkriptInteraktion skript;
        skript.antworte(QMessageBox::Ok);
        ZahlungBearb dialog("2");
        QVERIFY(zeige(&dialog));
        tippeReturn(dialog.findChild<WMitglied *>(), "401");
        QTest::keyClick(kasten(&dialog, "Sperren"), Qt::Key_Space);
        QVERIFY(alt(&dialog, Qt::Key_S));
        QCOMPARE(skript.anfragen().size(), 1);
        QCOMPARE(skript.anfragen()[0].art, Interaktion::Art::Kritisch);
        QVERIFY(!waehlt(&dialog));
        QVERIFY(kasten(&dialog, "Sperren")->isChecked());
        QCOMPARE(zahllauf(401), QStringLiteral("N|M|2400|N|N"));
    }

private:
    std::unique_ptr<TestDb> m_db;
};

QTEST_MAIN(TstZahlBearb)
#include "tst_zahlbearb.moc"
