// The member import on real CSV files: header recognition in German and
// English, the column rules, bad input, and the dialog's report and question.

#include "csvdatei.h"
#include "db.h"
#include "dialogdriver.h"
#include "midimport.h"
#include "midimportlauf.h"
#include "registerexport.h"
#include "demodaten.h"
#include "testdb.h"
#include "wdatum.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlDatabase>
#include <QtTest>

Q_DECLARE_METATYPE(MIDImportLauf::Ergebnis)

namespace {

using E = MIDImportLauf::Ergebnis;

const QDate kDateiDatum(2026, 6, 15);

const QByteArray kKopfDeutsch
    = "Mitgliedsnummer,Interne Kontakt-ID,Vorname,Nachname,Geburtsdatum,Gender,Straße,PLZ,Stadt,Land,"
      "Staatsbürgerschaft,Telefon,E-Mail,Einzugsermächtigung,Kontoinhaber,Kontonummer,Bankleitzahl,"
      "Kreditinstitut,Gesamtbeitrag,Eintrittsdatum,Austrittsdatum,Gemeinde,Landkreis,Regierungsbezirk,Bundesland\n";

// The own unit LV NORD with KV MUSTERKREIS below it; member 4711 Hans Meier, current.
void buecher()
{
    Db::ausfuehren("INSERT INTO verband (namekurz,ebene,teilvon) VALUES ('BV',0,''),('LV NORD',1,'BV'),"
                   "('KV MUSTERKREIS',3,'LV NORD'),('KV SUED',3,'BV')");
    TestDb::setParameter("General/Gliederung", "LV NORD");
    Db::ausfuehren("INSERT INTO mitglied (mid,gliederung,wohngliederung,zahlart,beitrag,tel,eintritt,austritt,bezahlt,"
                   "zahlstatus) VALUES (4711,'LV NORD','','L',4800,'alt','2001-01-01','2200-01-01','2025-12-31','L')");
    Db::ausfuehren("INSERT INTO adresse (art,key,suchname,name1,name2) VALUES ('M','00004711','MEIERHANS','Meier','Hans')");
    Db::ausfuehren("INSERT INTO bankverbindung (art,key,inhaber,nummer,blz,bank,bic,iban) VALUES "
                   "('M','00004711','H. Meier','999','10000000','Altbank','ALTBIC','DE00ALT')");
}

QString datei(const QTemporaryDir &dir, const QByteArray &inhalt)
{
    QFile f(dir.filePath("mitglieder.csv"));
    if (!f.open(QIODevice::WriteOnly) || f.write(inhalt) != inhalt.size())
        qWarning() << "nicht geschrieben" << f.fileName();
    return f.fileName();
}

// A member file on disk, chosen in a CSV component with the file date kDateiDatum.
struct Importdatei
{
    explicit Importdatei(const QByteArray &inhalt, const QString &trenner = ",")
    {
        csv.setDateiName(datei(dir, inhalt));
        csv.setTrenner(trenner, "\"");
        csv.setCreationDate(kDateiDatum);
    }
    QTemporaryDir dir;
    QWidget dialog;
    CSVDatei csv{true, true, &dialog};
};

QString zeileText(const QString &sql, const QVariantList &werte = {})
{
    return TestDb::zeile(sql, werte).join('|');
}

const char *const kMitglied = "SELECT intnr,gliederung,wohngliederung,sex,nation,tel,gebdat,zahlart,beitrag,eintritt,"
                              "austritt,bezahlt,zahlstatus,statusdatum FROM mitglied WHERE mid=?";
const char *const kAdresse = "SELECT suchname,name1,name2,strasse,plz,ort,land,mail FROM adresse WHERE art='M' AND key=?";
const char *const kBank = "SELECT inhaber,nummer,blz,bank,bic,iban FROM bankverbindung WHERE art='M' AND key=?";

} // namespace

class TstMidImport : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_db = std::make_unique<TestDb>();
        QVERIFY(m_db->ok());
        buecher();
    }
    void cleanup() { m_db.reset(); }

    // Each data line with the full German header, and what it leaves in the three tables.
    void spalten_data()
    {
        QTest::addColumn<QByteArray>("zeile");
        QTest::addColumn<int>("mid");
        QTest::addColumn<QString>("mitglied");
        QTest::addColumn<QString>("adresse");
        QTest::addColumn<QString>("bank");
        QTest::newRow("neu, Lastschrift ohne Inhaber")
            << QByteArray("5001, 815 ,Jürgen,Weiß,01.02.70,männlich,Hauptstr. 1,12345,Musterstadt,D,deutsch,0123,"
                          "j@example.org,JA,,12345678,37050198,Sparkasse,36.00,01.03.2010,,Musterstadt,"
                          "KV Musterkreis,,\n")
            << 5001
            << "815|KV MUSTERKREIS|MUSTERSTADT|M|deutsch|0123|1970-02-01|L|3600|2010-03-01|2200-01-01|2010-03-01|N|"
               "2026-06-15"
            << "WEISIURGEN|Weiß|Jürgen|Hauptstr. 1|12345|Musterstadt|D|j@example.org"
            << "Jürgen Weiß|12345678|37050198|Sparkasse||";
        QTest::newRow("neu, Lastschrift ohne Konto, Komma im Beitrag")
            << QByteArray("5002,x,Eva,Roth,,W,,,,,,,,Ja,,,37050198,,\"36,00\",,,,KV Sued,,LV Nord\n") << 5002
            << "0|LV NORD|KV SUED|W|||1900-01-01|V|0|1900-01-01|2200-01-01|1900-01-01|N|2026-06-15"
            << "ROTHEVA|Roth|Eva|||||"
            << "||37050198|||";
        QTest::newRow("vorhanden: aktualisiert, Bank ersetzt, Zahlart und Beitrag bleiben")
            << QByteArray("4711,,Hans,Meier,1965-05-05,x,,,,,,neu,,nein,,4444,20000000,,12.50,,24.12.2025,,,,\n")
            << 4711 << "0|LV NORD|| ||neu|1965-05-05|L|4800|1900-01-01|2025-12-24|2025-12-31|L|"
            << "MEIERHANS|Meier|Hans|||||"
            << "|4444|20000000|||";
    }
    void spalten()
    {
        QFETCH(QByteArray, zeile);
        QFETCH(int, mid);
        Importdatei datei(kKopfDeutsch + zeile);
        MIDImportLauf lauf(datei.csv);
        QCOMPARE(lauf.importieren(), E::Fertig);
        QCOMPARE(lauf.gelesen(), 1);
        QCOMPARE(lauf.hinweise(), QStringList());
        const QString key = QString::asprintf("%08i", mid);
        QTEST(zeileText(kMitglied, {mid}), "mitglied");
        QTEST(zeileText(kAdresse, {key}), "adresse");
        QTEST(zeileText(kBank, {key}), "bank");
    }

    // Headers in either language; without number or surname the file is refused. Bad input gives a
    // result or a note, never a half line, and never marks a member who is in the file.
    void dateien_data()
    {
        QTest::addColumn<QByteArray>("inhalt");
        QTest::addColumn<E>("ergebnis");
        QTest::addColumn<int>("gelesen");
        QTest::addColumn<QString>("hinweis");
        QTest::addColumn<QString>("stand"); // member 4711: name, leaving date; number of members
        const QByteArray kopf = "Mitgliedsnummer,Vorname,Nachname,Austrittsdatum\n";
        QTest::newRow("englisch") << QByteArray("External Identifier (Match to Contact),Internal Contact ID,First Name,"
                                                "Last Name,Street Address,Postal Code,City,Phone,Email\n"
                                                "4711,7,Hans,Maier,Weg 2,54321,Town,555,h@example.org\n")
                                  << E::Fertig << 1 << "" << "Maier|Hans|2200-01-01|1";
        QTest::newRow("Member, Name") << QByteArray("Member,Name\n4711,Maier\n") << E::FalschesFormat << 0 << ""
                                      << "Meier|Hans|2200-01-01|1";
        QTest::newRow("Windows-Zeilenenden") << QByteArray(kopf).replace("\n", "\r\n") + "4711,Hans,Mai,\r\n"
                                             << E::Fertig << 1 << "" << "Mai|Hans|2200-01-01|1";
        QTest::newRow("leer") << QByteArray() << E::KeineDaten << 0 << "" << "Meier|Hans|2200-01-01|1";
        QTest::newRow("nur Kopf") << kopf << E::KeineDaten << 0 << "" << "Meier|Hans|2200-01-01|1";
        QByteArray binaer;
        for (int i = 0; i < 1024; ++i)
            binaer += char((i * 37) % 256);
        QTest::newRow("binär") << binaer << E::FalschesFormat << 0 << "" << "Meier|Hans|2200-01-01|1";
        QTest::newRow("zu wenige Felder") << kopf + "4711,Hans\n4712,Eva,Roth,\n" << E::Fertig << 1
                                          << "Zeile 2: 2 statt 4 Felder, nicht übernommen"
                                          << "Meier|Hans|2200-01-01|2";
        QTest::newRow("zu viele Felder") << kopf + "4711,Hans,Mai,,x\n" << E::KeineDaten << 0
                                         << "Zeile 2: 5 statt 4 Felder, nicht übernommen"
                                         << "Meier|Hans|2200-01-01|1";
        QTest::newRow("Mitgliedsnummer Text") << kopf + "abc,Hans,Mai,\n4711,Hans,Mai,\n" << E::Fertig << 1
                                              << "Zeile 2: Mitgliedsnummer \"abc\" ungültig, nicht übernommen"
                                              << "Mai|Hans|2200-01-01|1";
        QTest::newRow("31.02.2020") << kopf + "4711,Hans,Mai,31.02.2020\n" << E::Fertig << 1
                                    << "Zeile 2: Datum \"31.02.2020\" ungültig, nicht übernommen"
                                    << "Mai|Hans|2200-01-01|1";
    }
    void dateien()
    {
        QFETCH(QByteArray, inhalt);
        QFETCH(QString, hinweis);
        Importdatei datei(inhalt);
        MIDImportLauf lauf(datei.csv);
        QTEST(lauf.importieren(), "ergebnis");
        QTEST(lauf.gelesen(), "gelesen");
        QCOMPARE(lauf.hinweise(), hinweis.isEmpty() ? QStringList() : QStringList{hinweis});
        QCOMPARE(lauf.nichtMehrVorhanden(), 0);
        QTEST(zeileText("SELECT a.name1,a.name2,m.austritt,(SELECT count(*) FROM mitglied) FROM mitglied m "
                        "JOIN adresse a ON a.art='M' AND a.key='00004711' WHERE m.mid=4711"),
              "stand");
        QCOMPARE(TestDb::zeile("PRAGMA integrity_check"), QStringList{"ok"});
    }

    // From the menu's dialog: the report with its four counters and the question about members no longer
    // listed (left ones and other persons are never counted).
    void ausgetretenMarkieren_data()
    {
        QTest::addColumn<int>("antwort");
        QTest::addColumn<QString>("austritt");
        QTest::newRow("ja") << int(QMessageBox::Yes) << "2026-06-15";
        QTest::newRow("nein") << int(QMessageBox::No) << "2200-01-01";
    }
    void ausgetretenMarkieren()
    {
        Db::ausfuehren("INSERT INTO mitglied (mid,austritt) VALUES (20,'2015-01-01'),(21,'2200-01-01'),"
                       "(1000001,'2200-01-01')");
        QTemporaryDir dir;
        MIDImport dialog;
        DialogTreiber::feldBei<QLineEdit>(&dialog, "Dateiname")
            ->setText(datei(dir, "Mitgliedsnummer;Vorname;Nachname\n30;Neu;Mitglied\n4711;Hans;Meier\n"));
        DialogTreiber::feldBei<QLineEdit>(&dialog, "Feldtrenner")->setText(";");
        DialogTreiber::feldBei<WDatum>(&dialog, "Erstelldatum")->setDatum(kDateiDatum);
        SkriptInteraktion skript;
        QFETCH(int, antwort);
        skript.antworte(QMessageBox::StandardButton(antwort));
        QVERIFY(DialogTreiber::zeige(&dialog));
        QVERIFY(DialogTreiber::alt(&dialog, Qt::Key_O));
        QCOMPARE(skript.anfragen().size(), 1);
        QCOMPARE(skript.anfragen().first().titel, QString("Import abgeschlossen"));
        QCOMPARE(skript.anfragen().first().text,
                 QString("2 Sätze gelesen\n1 Sätze neu\n1 Sätze aktualisiert\n1 Sätze nicht mehr vorhanden\n"
                         "Nicht mehr vorhandene Mitglieder als ausgetreten markieren?"));
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QTEST(zeileText("SELECT austritt FROM mitglied WHERE mid=21"), "austritt");
        QCOMPARE(zeileText("SELECT group_concat(austritt) FROM (SELECT austritt FROM mitglied "
                           "WHERE mid IN (20,4711,1000001) ORDER BY mid)"),
                 QString("2015-01-01,2200-01-01,2200-01-01"));
        QCOMPARE(zeileText("SELECT eintritt,austritt,bezahlt,zahlstatus,statusdatum FROM mitglied WHERE mid=30"),
                 QString("2026-06-15|2200-01-01|2026-06-15|N|2026-06-15"));
        QCOMPARE(TestDb::anzahl("SELECT count(*) FROM sqlite_temp_master WHERE name='zwimid'"), 0);
    }

    // A database that refuses to write: the import stops at the first line with the cause, nothing written.
    void schreibgeschuetzt()
    {
        Importdatei datei("Mitgliedsnummer,Nachname\n4711,Mai\n4712,Roth\n");
        QSqlDatabase db = QSqlDatabase::database();
        const QString optionen = db.connectOptions();
        db.close();
        db.setConnectOptions(optionen + ";QSQLITE_OPEN_READONLY");
        QVERIFY(db.open());
        MIDImportLauf lauf(datei.csv);
        const E ergebnis = lauf.importieren();
        const QString grund = Db::fehlerText();
        db.close();
        db.setConnectOptions(optionen);
        QVERIFY(db.open());
        QCOMPARE(ergebnis, E::Datenbankfehler);
        QCOMPARE(grund, QString("Die Datenbank ist schreibgeschützt"));
        QCOMPARE(lauf.gelesen(), 0);
        QCOMPARE(zeileText("SELECT name1 FROM adresse WHERE key='00004711'"), QString("Meier"));
    }

    // The register's export of the demo books: the report counts what the export left
    // out and added, and "Ja" marks the missing members as left on the file's date.
    void demoBuecher()
    {
        m_db.reset(); // demo books need empty ones
        m_db = std::make_unique<TestDb>();
        QVERIFY(DemoDaten(7).erzeugen(300, 20));
        QTemporaryDir dir;
        RegisterExport inhalt;
        QVERIFY(DemoRegisterExport(dir.filePath("register.csv"), inhalt));
        QVERIFY(inhalt.fehlend > 0);
        const int vorher = TestDb::anzahl("SELECT count(*) FROM mitglied WHERE austritt<?", {QDate::currentDate()});
        MIDImport dialog;
        DialogTreiber::feldBei<QLineEdit>(&dialog, "Dateiname")->setText(dir.filePath("register.csv"));
        SkriptInteraktion skript;
        skript.antworte(QMessageBox::Yes);
        dialog.pImport();
        QCOMPARE(skript.anfragen().size(), 1);
        QCOMPARE(skript.anfragen().first().text.section('\n', 0, 3),
                 QString("%1 Sätze gelesen\n%2 Sätze neu\n%3 Sätze aktualisiert\n%4 Sätze nicht mehr vorhanden")
                     .arg(inhalt.zeilen).arg(inhalt.neu).arg(inhalt.zeilen - inhalt.neu).arg(inhalt.fehlend));
        QCOMPARE(TestDb::anzahl("SELECT count(*) FROM mitglied WHERE austritt=?", {UtilDatumText(QDate::currentDate())}),
                 inhalt.fehlend);
        QCOMPARE(TestDb::anzahl("SELECT count(*) FROM mitglied WHERE austritt<?", {QDate::currentDate()}), vorher);
    }

private:
    std::unique_ptr<TestDb> m_db;
};

QTEST_MAIN(TstMidImport)
#include "tst_midimport.moc"
