// The settings dialog: what it shows, how it cleans and stores, what it leaves alone.

#include "db.h"
#include "dialogdriver.h"
#include "parameter.h"
#include "setup.h"
#include "testdb.h"

#include <QLabel>
#include <QLineEdit>
#include <QtTest>

#include <memory>

using namespace DialogTreiber;

namespace {

// The table as "key=wert", in the order of writing.
QStringList zeilen()
{
    QStringList werte;
    QSqlQuery q = Db::abfrage(QStringLiteral("SELECT key,wert FROM parameter ORDER BY rowid"));
    while (q.next())
        werte << q.value(0).toString() + '=' + q.value(1).toString();
    return werte;
}

} // namespace

class TstSetup : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    void init() { m_db = std::make_unique<TestDb>(); QVERIFY(m_db->ok()); }
    void cleanup() { m_db.reset(); }

    // A stored value as the field shows it (opening writes nothing), then an input as it is stored.
    void feld_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("gespeichert"); // "-": no row
        QTest::addColumn<QString>("gezeigt");
        QTest::addColumn<QString>("eingabe"); // "-": left as shown
        QTest::addColumn<QString>("erwartet");
        QTest::newRow("Port leer") << "Mail/Port" << "" << "25" << "-" << "25";
        QTest::newRow("Lage 0, leer") << "Mail/B" << "0" << "0" << "" << "0";
        QTest::newRow("Gliederung") << "General/Gliederung" << "KV Nord" << "KV Nord" << " KV  O'Dorf " << "KV O`Dorf";
        QTest::newRow("BeitragAb J, X") << "General/BeitragAb" << "J" << "1" << "2" << "X";
        QTest::newRow("BeitragAb X, J") << "General/BeitragAb" << "X" << "2" << "1" << "J";
        QTest::newRow("BeitragAb anderes") << "General/BeitragAb" << "Q" << "0" << "-" << "M";
        QTest::newRow("Min") << "Spende/Min" << "123456" << "1.234,56" << "12.34" << "1234";
        QTest::newRow("Prefix ohne zwei Ziffern") << "Konten/PrefMitglied" << "-" << "" << "4a" << "";
        QTest::newRow("Prefix gross") << "Konten/PrefGliederung" << "-" << "" << "  12a'b " << "12A`B";
        QTest::newRow("Addition nur Ziffern") << "Konten/AddMitglied" << "-" << "" << "12x3" << "123";
        QTest::newRow("Passwort mit Apostroph") << "Mail/Passwd" << "-" << "" << "ge'heim" << "ge`heim";
        QTest::newRow("Verschlüsselung fehlt") << "Mail/Verschl" << "-" << "0" << "1" << "STARTTLS";
        QTest::newRow("Verschlüsselung SSL/TLS") << "Mail/Verschl" << "SSL/TLS" << "2" << "0" << "keine";
        QTest::newRow("Verschlüsselung unbekannt") << "Mail/Verschl" << "TLS" << "0" << "-" << "keine";
    }
    void feld()
    {
        QFETCH(QString, key); QFETCH(QString, gespeichert); QFETCH(QString, gezeigt); QFETCH(QString, eingabe);
        QFETCH(QString, erwartet);
        if (gespeichert != QLatin1String("-"))
            TestDb::setParameter(key, gespeichert);
        Setup dialog;
        QObject *feld = dialog.findChild<QObject *>(key);
        QVERIFY(feld);
        const char *eigenschaft = feld->inherits("QComboBox") ? "currentIndex" : "text";
        QCOMPARE(feld->property(eigenschaft).toString(), gezeigt);
        QCOMPARE(zeilen(), gespeichert == "-" ? QStringList() : QStringList{key + '=' + gespeichert}); // nothing saved
        if (eingabe != QLatin1String("-"))
            feld->setProperty(eigenschaft, feld->inherits("QLineEdit") ? QString() : eingabe);
        if (eingabe != QLatin1String("-") && feld->inherits("QLineEdit"))
            QTest::keyClicks(static_cast<QWidget *>(feld), eingabe); // as typed: validators apply
        dialog.pWrite();
        QCOMPARE(zeilen().filter(QRegularExpression('^' + key + '=')), QStringList{key + '=' + erwartet});
    }

    // Alt+A leaves the table alone; Alt+S writes all keys in order with defaults, drops unknown keys of its groups.
    void speichernOderAbbruch()
    {
        for (const char *key : {"Zahlungen/Tage", "dtaus/name", "Status/Zahlungen", "Save/Directory",
                                   "General/Sonstiges", "Konten/Alt", "Konten/", "Mail/Signatur", "Spende/Vorlage"})
            TestDb::setParameter(key, QStringLiteral("x"));
        // Past the cache, so that only saving can bring it there.
        Db::ausfuehren(QStringLiteral("INSERT INTO parameter (key,wert) VALUES ('Konten/BankGeb','4970')"));
        Db::ausfuehren(QStringLiteral("INSERT INTO kontenplan (konto,text,abgrart) VALUES ('4970','Gebühren',' ')"));
        const QStringList vorher = zeilen();
        for (const bool speichern : {false, true}) {
            Setup dialog;
            QVERIFY(zeige(&dialog));
            QCOMPARE(feldBei<QLabel>(&dialog, "Bankgebühren", 0, 2)->text(), QStringLiteral("Gebühren"));
            tippe(dialog.findChild<QLineEdit *>(QStringLiteral("Mail/Host")), QStringLiteral("  smtp.example.org "));
            QVERIFY(alt(&dialog, speichern ? Qt::Key_S : Qt::Key_A));
            QVERIFY(!dialog.isVisible());
            QCOMPARE(dialog.result(), int(speichern ? QDialog::Accepted : QDialog::Rejected));
            QCOMPARE(UtilBankGebKonto(), speichern ? QStringLiteral("4970") : QString()); // the cache reloaded
            QCOMPARE(zeilen(), !speichern ? vorher : vorher.mid(0, 5) + QStringLiteral(
                "General/Gliederung=,General/BeitragAb=M,Konten/AbgrAktiv=,Konten/AbgrPassiv=,Konten/BankGeb=4970,"
                "Konten/PrefGliederung=,Konten/PrefMitglied=,Konten/AddMitglied=0,Konten/PrefLief=,"
                "Mail/Host=smtp.example.org,Mail/Port=25,Mail/Verschl=keine,Mail/User=,Mail/Passwd=,Mail/Abs=,"
                "Mail/Name=,Mail/AdrL=12,Mail/AdrT=55,Mail/AdrPt=12,Mail/L=25,Mail/T=95,Mail/R=20,Mail/B=20,Mail/Pt=12,"
                "Spende/Adr1=,Spende/Adr2=,Spende/Adr3=,Spende/Abs=,Spende/Ort=,Spende/Funkt=,Spende/Min=0,"
                "Spende/Name=Feldmarkbund Deutschland").split(','));
        }
    }

    // A login over a plain connection is questioned once, "Nein" goes back to the choice;
    // choosing a kind of encryption moves a standard port along.
    void klartext_data()
    {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("port"); // typed before the choice; empty: the default
        QTest::addColumn<int>("wahl");     // Down presses on "Verschlüsselung"
        QTest::addColumn<int>("antwort");  // to the question; NoButton: none may come
        QTest::addColumn<QString>("gespeichert"); // port and encryption
        QTest::newRow("ohne Login") << "" << "" << 0 << int(QMessageBox::NoButton) << "25|keine";
        QTest::newRow("STARTTLS") << "kasse" << "" << 1 << int(QMessageBox::NoButton) << "587|STARTTLS";
        QTest::newRow("SSL/TLS") << "kasse" << "" << 2 << int(QMessageBox::NoButton) << "465|SSL/TLS";
        QTest::newRow("eigener Port") << "kasse" << "2525" << 2 << int(QMessageBox::NoButton) << "2525|SSL/TLS";
        QTest::newRow("keine, Ja") << "kasse" << "" << 0 << int(QMessageBox::Yes) << "25|keine";
        QTest::newRow("keine, Nein") << "kasse" << "" << 0 << int(QMessageBox::No) << "25|keine";
    }
    void klartext()
    {
        QFETCH(QString, user); QFETCH(QString, port); QFETCH(int, wahl); QFETCH(int, antwort);
        QFETCH(QString, gespeichert);
        SkriptInteraktion skript;
        if (antwort != QMessageBox::NoButton)
            skript.antworte(QMessageBox::StandardButton(antwort));
        Setup dialog;
        QVERIFY(zeige(&dialog));
        const auto feld = [&dialog](const char *key) { return dialog.findChild<QWidget *>(key); };
        tippe(feld("Mail/User"), user);
        if (!port.isEmpty()) {
            static_cast<QLineEdit *>(feld("Mail/Port"))->clear();
            tippe(feld("Mail/Port"), port);
        }
        for (int i = 0; i < wahl; ++i)
            QTest::keyClick(feld("Mail/Verschl"), Qt::Key_Down);
        QVERIFY(alt(&dialog, Qt::Key_S));
        if (antwort == QMessageBox::No) {
            QVERIFY(dialog.isVisible());
            QCOMPARE(dialog.focusWidget(), feld("Mail/Verschl"));
            QVERIFY(alt(&dialog, Qt::Key_S)); // not asked again
        }
        QVERIFY(!dialog.isVisible());
        QCOMPARE(skript.anfragen().size(), antwort == QMessageBox::NoButton ? 0 : 1);
        for (const Interaktion::Anfrage &a : skript.anfragen())
            QCOMPARE(a.titel + ": " + a.text, QStringLiteral("Setup: Ohne Verschlüsselung geht das Passwort lesbar an "
                                                             "den Mailserver.\nTrotzdem speichern?"));
        QCOMPARE(TestDb::zeile("SELECT p.wert, v.wert FROM parameter p, parameter v "
                               "WHERE p.key='Mail/Port' AND v.key='Mail/Verschl'").join('|'), gespeichert);
    }

private:
    std::unique_ptr<TestDb> m_db;
};

QTEST_MAIN(TstSetup)
#include "tst_setup.moc"
