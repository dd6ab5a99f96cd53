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

    void anzeige_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("gespeichert"); // "-": no row
        QTest::addColumn<QString>("gezeigt");
        QTest::newRow("Port fehlt") << "Mail/Port" << "-" << "25";
        QTest::newRow("Port leer") << "Mail/Port" << "" << "25";
        QTest::newRow("Lage 0") << "Mail/B" << "0" << "0";
        QTest::newRow("Gliederung") << "General/Gliederung" << "KV Nord" << "KV Nord";
        QTest::newRow("BeitragAb J") << "General/BeitragAb" << "J" << "1";
        QTest::newRow("BeitragAb X") << "General/BeitragAb" << "X" << "2";
        QTest::newRow("BeitragAb anderes") << "General/BeitragAb" << "Q" << "0";
        QTest::newRow("Min") << "Spende/Min" << "123456" << "1.234,56";
        QTest::newRow("Min negativ") << "Spende/Min" << "-500" << "-5,00";
        QTest::newRow("Aussteller fehlt") << "Spende/Name" << "-" << "Feldmarkbund Deutschland";
        QTest::newRow("Aussteller") << "Spende/Name" << "Feldmarkbund Nord" << "Feldmarkbund Nord";
    }
    void anzeige()
    {
        QFETCH(QString, key);
        QFETCH(QString, gespeichert);
        QFETCH(QString, gezeigt);

        if (gespeichert != QLatin1String("-"))
            TestDb::setParameter(key, gespeichert);
        const QStringList vorher = zeilen();
        Setup dialog;
        QObject *feld = dialog.findChild<QObject *>(key);
        QVERIFY(feld);
        QCOMPARE(feld->property(feld->inherits("QComboBox") ? "currentIndex" : "text").toString(), gezeigt);
        QCOMPARE(zeilen(), vorher); // opening writes nothing: defaults reach the table only by saving
    }

    // Alt+S writes all keys in order, defaults included, drops unknown keys of its groups, reloads the cache.
    void speichernOderAbbruch_data()
    {
        QTest::addColumn<bool>("speichern");
        QTest::newRow("Alt+S") << true;
        QTest::newRow("Alt+A") << false;
    }
    void speichernOderAbbruch()
    {
        QFETCH(bool, speichern);
        for (const char *key : {"Zahlungen/Tage", "dtaus/name", "Status/Zahlungen", "Save/Directory",
                                   "General/Sonstiges", "Konten/Alt", "Konten/", "Mail/Signatur", "Spende/Vorlage"})
            TestDb::setParameter(key, QStringLiteral("x"));
        // Past the cache, so that only saving can bring it there.
        Db::ausfuehren(QStringLiteral("INSERT INTO parameter (key,wert) VALUES ('Konten/BankGeb','4970')"));
        Db::ausfuehren(QStringLiteral("INSERT INTO kontenplan (konto,text,abgrart) VALUES ('4970','Gebühren',' ')"));
        const QStringList vorher = zeilen();

        Setup dialog;
        QVERIFY(zeige(&dialog));
        QCOMPARE(feldBei<QLabel>(&dialog, QStringLiteral("Bankgebühren"), 0, 2)->text(), QStringLiteral("Gebühren"));
        tippe(dialog.findChild<QLineEdit *>(QStringLiteral("Mail/Host")), QStringLiteral("  smtp.example.org "));
        QVERIFY(alt(&dialog, speichern ? Qt::Key_S : Qt::Key_A));
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(speichern ? QDialog::Accepted : QDialog::Rejected));
        QCOMPARE(UtilBankGebKonto(), speichern ? QStringLiteral("4970") : QString());
        QCOMPARE(zeilen(), !speichern ? vorher : vorher.mid(0, 5) + QStringLiteral(
            "General/Gliederung=,General/BeitragAb=M,Konten/AbgrAktiv=,Konten/AbgrPassiv=,Konten/BankGeb=4970,"
            "Konten/PrefGliederung=,Konten/PrefMitglied=,Konten/AddMitglied=0,Konten/PrefLief=,"
            "Mail/Host=smtp.example.org,Mail/Port=25,Mail/User=,Mail/Passwd=,Mail/Abs=,Mail/Name=,Mail/AdrL=12,"
            "Mail/AdrT=55,Mail/AdrPt=12,Mail/L=25,Mail/T=95,Mail/R=20,Mail/B=20,Mail/Pt=12,Spende/Adr1=,"
            "Spende/Adr2=,Spende/Adr3=,Spende/Abs=,Spende/Ort=,Spende/Funkt=,Spende/Min=0,"
            "Spende/Name=Feldmarkbund Deutschland").split(','));
    }

    void werte_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("eingabe");
        QTest::addColumn<QString>("erwartet");
        QTest::newRow("Prefix ohne zwei Ziffern") << "Konten/PrefMitglied" << "4a" << "";
        QTest::newRow("Prefix gross") << "Konten/PrefGliederung" << "  12ab " << "12AB";
        QTest::newRow("Konto mit Apostroph") << "Konten/AbgrAktiv" << "09'x" << "09`X";
        QTest::newRow("Addition leer") << "Konten/AddMitglied" << "" << "0";
        QTest::newRow("Addition nur Ziffern") << "Konten/AddMitglied" << "12x3" << "123";
        QTest::newRow("Lage leer") << "Mail/AdrL" << "" << "0";
        QTest::newRow("Passwort mit Apostroph") << "Mail/Passwd" << "ge'heim" << "ge`heim";
        QTest::newRow("Min 12.34") << "Spende/Min" << "12.34" << "1234";
        QTest::newRow("Min -5.00") << "Spende/Min" << "-5.00" << "-500";
        QTest::newRow("Min 0.29") << "Spende/Min" << "0.29" << "29";
        QTest::newRow("BeitragAb 1") << "General/BeitragAb" << "1" << "J";
        QTest::newRow("BeitragAb 2") << "General/BeitragAb" << "2" << "X";
        QTest::newRow("Gliederung") << "General/Gliederung" << " KV  O'Dorf " << "KV O`Dorf";
        QTest::newRow("Aussteller") << "Spende/Name" << " Feldmark'bund  Nord " << "Feldmark`bund Nord";
    }
    void werte()
    {
        QFETCH(QString, key);
        QFETCH(QString, eingabe);
        QFETCH(QString, erwartet);

        Setup dialog;
        QObject *feld = dialog.findChild<QObject *>(key);
        QVERIFY(feld);
        if (auto *zeile = qobject_cast<QLineEdit *>(feld)) {
            zeile->clear();
            QTest::keyClicks(zeile, eingabe); // as typed: validators apply
        } else {
            feld->setProperty(feld->inherits("QComboBox") ? "currentIndex" : "text", eingabe);
        }
        dialog.pWrite();
        QCOMPARE(zeilen().filter(QRegularExpression('^' + key + '=')), QStringList{key + '=' + erwartet});
    }

private:
    std::unique_ptr<TestDb> m_db;
};

QTEST_MAIN(TstSetup)
#include "tst_setup.moc"
