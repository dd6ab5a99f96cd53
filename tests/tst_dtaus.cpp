// The DTAUS debit file of a payment run: the four steps of the dialog, the
// printed lists, and every written file read back by a reader of its own.

#include "db.h"
#include "demodaten.h"
#include "dialogdriver.h"
#include "dtausdatei.h"
#include "testdb.h"
#include "velamain.h"
#include "wdatum.h"
#include "zahldtaus.h"
#include "zahlerst.h"

#include <QAction>
#include <QBuffer>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QtTest>

#include <memory>

using namespace DialogTreiber;

namespace {

const QString kTitel = QStringLiteral("Zahlungen Dtaus-Datei");

// A member with address, optional bank details and a row in the run.
struct Lastschrift
{
    int mid;
    QString inhaber; // "-": no bank details
    QString nummer;
    QString blz;
    qint64 cent = 1000;
    QString sperren = QStringLiteral("N");
    QString done = QStringLiteral("N");
    QString art = QStringLiteral("D");
};

void anlegen(const Lastschrift &l, bool mitAdresse = true)
{
    const QString key = QString::asprintf("%08i", l.mid);
    if (mitAdresse)
        Db::ausfuehren(QStringLiteral("INSERT INTO adresse (art,key,name1,name2) VALUES ('M',?,?,'Eva')"),
                       {key, QStringLiteral("Name%1").arg(l.mid)});
    if (l.inhaber != QLatin1String("-"))
        Db::ausfuehren(QStringLiteral("INSERT INTO bankverbindung (art,key,inhaber,nummer,blz,bank) "
                                      "VALUES ('M',?,?,?,?,'Hausbank')"),
                       {key, l.inhaber, l.nummer, l.blz});
    Db::ausfuehren(QStringLiteral("INSERT INTO zahllauf (mid,sperren,art,form,manuell,bausteinm,bausteinb,cent,"
                                  "statusneu,done) VALUES (?,?,?,'M','N','1200','',?,'L',?)"),
                   {l.mid, l.sperren, l.art, l.cent, l.done});
}

void banken()
{
    for (const char *blz : {"37050198", "10020030"})
        Db::ausfuehren(QStringLiteral("INSERT INTO blzdatei (land,blz,name,pruefart,bic) VALUES ('D',?,'Bank','09','')"),
                       {QString::fromLatin1(blz)});
}

// The file as the bank reads it: 128-byte A record, 256-byte C records, 128-byte E record.
struct Datei
{
    QByteArray a;
    QList<QByteArray> c;
    QByteArray e;
};

Datei lesen(const QByteArray &daten)
{
    Datei d;
    if (daten.size() < 256 || (daten.size() - 256) % 256 != 0)
        return d;
    d.a = daten.left(128);
    for (int pos = 128; pos < daten.size() - 128; pos += 256)
        d.c << daten.mid(pos, 256);
    d.e = daten.right(128);
    return d;
}

qint64 zahl(const QByteArray &satz, int pos, int laenge)
{
    const QByteArray feld = satz.mid(pos, laenge);
    for (char ch : feld) {
        if (ch < '0' || ch > '9')
            return -1;
    }
    return feld.toLongLong();
}

// Checks record kinds, lengths and the E record against the C records.
void pruefeSummen(const Datei &d)
{
    QCOMPARE(d.a.left(7), QByteArray("0128ALK"));
    QCOMPARE(d.e.left(5), QByteArray("0128E"));
    qint64 konten = 0, blz = 0, cent = 0;
    for (const QByteArray &c : d.c) {
        QCOMPARE(c.left(5), QByteArray("0216C"));
        blz += zahl(c, 13, 8);
        konten += zahl(c, 21, 10);
        cent += zahl(c, 79, 11);
    }
    QCOMPARE(zahl(d.e, 10, 7), qint64(d.c.size()));
    QCOMPARE(zahl(d.e, 17, 13), qint64(0));
    QCOMPARE(zahl(d.e, 30, 17), konten);
    QCOMPARE(zahl(d.e, 47, 17), blz);
    QCOMPARE(zahl(d.e, 64, 13), cent);
    QCOMPARE(d.e.mid(77), QByteArray(51, ' '));
}

QByteArray feld(const QByteArray &text, int laenge) { return text.leftJustified(laenge, ' ', true); }
QByteArray nullen(qint64 wert, int laenge) { return QByteArray::number(wert).rightJustified(laenge, '0'); }

// A C record built from the record table, for comparison byte by byte.
QByteArray cSatz(qint64 blz, qint64 konto, qint64 cent, const QByteArray &inhaber, int mid)
{
    const QByteArray eigen = "KREISVERBAND SUED";
    return "0216C" + nullen(0, 8) + nullen(blz, 8) + nullen(konto, 10) + nullen(0, 13) + "05000 " + nullen(0, 11)
           + "37050198" + "0123456789" + nullen(cent, 11) + "   " + feld(inhaber, 27) + QByteArray(8, ' ')
           + feld(eigen, 27) + feld("MITGLIEDSNR. " + QByteArray::number(mid), 27) + "1" + "  " + "01" + "02"
           + feld("JAHRESBEITRAG VE " + QByteArray::number(QDate::currentDate().year()), 27)
           + QByteArray(40, ' ');
}

QString wert(const QString &sql) { return Db::wert(sql).toString(); }

} // namespace

class TstDtaus : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    void init()
    {
        m_db = std::make_unique<TestDb>();
        QVERIFY(m_db->ok());
        banken();
        TestDb::setParameter(QStringLiteral("Status/Zahlungen"), QStringLiteral("JJNNNNNNNNNNNNNNN"));
        TestDb::setParameter(QStringLiteral("dtaus/name"), QStringLiteral("Kreisverband Süd"));
        TestDb::setParameter(QStringLiteral("dtaus/konto"), QStringLiteral("123 456 789"));
        TestDb::setParameter(QStringLiteral("dtaus/blz"), QStringLiteral("37050198"));
        TestDb::setParameter(QStringLiteral("dtaus/datei"), pfad(QStringLiteral("lastschrift.dta")));
    }
    void cleanup() { m_db.reset(); }

    // From the payment menu through all four steps with the keyboard.
    void durchlauf()
    {
        TestDb::setParameter(QStringLiteral("Zahlungen/KontoDtaus"), QStringLiteral("1200"));
        anlegen({1, QStringLiteral("Müller & Söhne, Straße"), QStringLiteral("1234567"), QStringLiteral("370 501 98"), 1000});
        anlegen({2, QStringLiteral("Anna Beispiel"), QStringLiteral("0000099"), QStringLiteral("10020030"), 2000});
        anlegen({3, QStringLiteral("Otto Ohnesorg"), QStringLiteral("55"), QStringLiteral("10020030"), 3000});
        anlegen({4, QStringLiteral("X"), QStringLiteral("4444"), QStringLiteral("10020030")});
        anlegen({5, QStringLiteral("-"), {}, {}});
        anlegen({6, QStringLiteral("Hans Huber"), QStringLiteral("6666"), QStringLiteral("12345678")});
        anlegen({7, QStringLiteral("Hans Huber"), QStringLiteral("7"), QStringLiteral("10020030")});
        anlegen({8, QStringLiteral("Hans Huber"), QStringLiteral("8888"), QStringLiteral("1002003")});
        anlegen({9, QStringLiteral("Gesperrt"), QStringLiteral("9999"), QStringLiteral("10020030"), 900, QStringLiteral("J")});
        anlegen({10, QStringLiteral("Schon"), QStringLiteral("1010"), QStringLiteral("10020030"), 900, QStringLiteral("N"), QStringLiteral("J")});
        anlegen({11, QStringLiteral("Rechnung"), QStringLiteral("1111"), QStringLiteral("10020030"), 900, QStringLiteral("N"), QStringLiteral("N"), QStringLiteral("R")});
        anlegen({12, QStringLiteral("Ohne Adresse"), QStringLiteral("1212"), QStringLiteral("10020030")}, false);
        const QString inhalt = pfad(QStringLiteral("inhalt.pdf"));
        const QString fehler = pfad(QStringLiteral("fehler.pdf"));
        const QDate ausfuehrung(2031, 3, 15);

        VelaMain fenster;
        SkriptInteraktion skript;
        bool geprueft = false;
        beiModal([&](QDialog *d) {
            auto *dialog = qobject_cast<ZahlungDtaus *>(d);
            QVERIFY(dialog && zeige(dialog));
            QCOMPARE(dialog->windowTitle(), QStringLiteral("DTAUS Datei generieren"));
            auto *datum = dialog->findChild<WDatum *>();
            QVERIFY(datum);
            QCOMPARE(aktiv(dialog), QStringLiteral("Wählen Vorbereiten Abbrechen"));

            skript.antworte(QMessageBox::Ok);
            QVERIFY(alt(dialog, Qt::Key_V));
            QCOMPARE(skript.anfragen().last().text, QStringLiteral("Datei ist vorbereitet"));
            QCOMPARE(feldBei<QLabel>(dialog, QStringLiteral("1. Schritt"), 0, 2)->text(), QStringLiteral("3"));
            QCOMPARE(feldBei<QLabel>(dialog, QStringLiteral("1. Schritt"), 0, 3)->text(), QStringLiteral("5"));
            QCOMPARE(aktiv(dialog), QStringLiteral("Wählen Inhaltsliste Fehlerliste Abbrechen"));
            QVERIFY(!feldBei(dialog, QStringLiteral("Eigener Name"))->isEnabled());
            QVERIFY(feldBei(dialog, QStringLiteral("Dateiname"))->isEnabled());

            skript.antworteText(fehler);
            skript.antworte(QMessageBox::Ok);
            QVERIFY(alt(dialog, Qt::Key_F));
            QCOMPARE(skript.anfragen().last().text, QStringLiteral("Fehlerliste ist gedruckt"));
            QVERIFY(!knopf(dialog, QStringLiteral("&Datei erstellen"))->isEnabled());
            skript.antworteText(inhalt);
            skript.antworte(QMessageBox::Ok);
            QVERIFY(alt(dialog, Qt::Key_I));
            QCOMPARE(aktiv(dialog), QStringLiteral("Wählen Inhaltsliste Fehlerliste Datei erstellen Abbrechen"));
            QVERIFY(!datum->isEnabled());

            skript.antworte(QMessageBox::Ok);
            QVERIFY(alt(dialog, Qt::Key_D));
            QCOMPARE(skript.anfragen().last().titel, kTitel);
            QCOMPARE(skript.anfragen().last().text, QStringLiteral("Datei ist erstellt"));
            QVERIFY(datum->isEnabled());
            datum->setDatum(ausfuehrung);
            QVERIFY(alt(dialog, Qt::Key_O));
            QCOMPARE(dialog->result(), int(QDialog::Accepted));
            geprueft = true;
        });
        for (QAction *a : fenster.findChildren<QAction *>()) {
            if (a->text() == QLatin1String("&Dtaus Datei"))
                a->trigger();
        }
        QVERIFY(geprueft);
        QCOMPARE(skript.unerwartet(), 0);

        // The file: C records in the order of bank code, account and member.
        QFile f(pfad(QStringLiteral("lastschrift.dta")));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const Datei d = lesen(f.readAll());
        QCOMPARE(d.c.size(), 3);
        pruefeSummen(d);
        QCOMPARE(zahl(d.e, 64, 13), qint64(6000));
        QCOMPARE(d.a, "0128ALK37050198" + nullen(0, 8) + feld("KREISVERBAND SUED", 27)
                          + QDate::currentDate().toString(QStringLiteral("ddMMyy")).toLatin1() + "    "
                          + "0123456789" + nullen(0, 10) + QByteArray(47, ' ') + "1");
        QCOMPARE(d.c.at(0), cSatz(10020030, 55, 3000, "OTTO OHNESORG", 3));
        QCOMPARE(d.c.at(1), cSatz(10020030, 99, 2000, "ANNA BEISPIEL", 2));
        QCOMPARE(d.c.at(2), cSatz(37050198, 1234567, 1000, "MUELLER & SOEHNE  STRASSE", 1));

        // The run: the three debits done with the execution date, the debit slot carried out.
        QCOMPARE(wert("SELECT group_concat(mid||done||bausteinb,' ') FROM (SELECT * FROM zahllauf ORDER BY mid)"),
                 QStringLiteral("1J2031-03-15 2J2031-03-15 3J2031-03-15 4N 5N 6N 7N 8N 9N 10J 11N 12N"));
        QCOMPARE(wert("SELECT wert FROM parameter WHERE key='Status/Zahlungen'"), QStringLiteral("DJNNNNNNNNNNNNNNN"));
        QCOMPARE(wert("SELECT group_concat(key||'='||wert,'|') FROM (SELECT * FROM parameter WHERE key>='dtaus/' "
                      "AND key<'dtaus/zzz' ORDER BY rowid)"),
                 "dtaus/name=KREISVERBAND SUED|dtaus/konto=123456789|dtaus/blz=37050198|dtaus/datei="
                     + pfad(QStringLiteral("lastschrift.dta")));
        QCOMPARE(Db::wert("SELECT count(*) FROM sqlite_temp_master WHERE name='zwidtaus'").toInt(), 0);
        bool ok = false;
        for (QAction *a : fenster.findChildren<QAction *>())
            ok = ok || a->text() == QLatin1String("&Dtaus Datei (ok)");
        QVERIFY(ok);

        // The lists.
        const QString liste = pdfText(inhalt).simplified(); // the PDF keeps words, not runs of blanks
        for (const char *text : {" DT - INHALTSLISTE  -  Lastschriften", "KREISVERBAND SUED  Kontonr. 123456789 (37050198)",
                                 "Seite:    1", "Lfd.", "Betrag EUR", "Kontonummer", "Blz.", "Zahlungspflichtiger",
                                 "Verwendungszweck", "MUELLER & SOEHNE  STRASSE", "MITGLIEDSNR. 1"})
            QVERIFY2(liste.contains(QString::fromUtf8(text).simplified()), text);
        QVERIFY(liste.contains("Erstellt: " + QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy"))));
        QVERIFY(liste.contains(QStringLiteral("1 30,00 55 10020030 OTTO OHNESORG MITGLIEDSNR. 3")));
        QVERIFY(liste.contains(QStringLiteral("Summe: 60,00")));
        QVERIFY(liste.contains(QStringLiteral("Anzahl: 3")));
        const QString fehlerListe = pdfText(fehler).simplified();
        QVERIFY(fehlerListe.contains(QStringLiteral("DT - Fehlerliste")));
        QVERIFY2(fehlerListe.contains(QStringLiteral(
                     "MID Fehler 4 Kontoinhaber fehlt 5 Keine Bankverbindung eingetragen 6 Bankleitzahl existiert "
                     "nicht 7 Kontonummer fehlt 8 Bankleitzahl zu kurz")),
                 qPrintable(fehlerListe));
    }

    // On the demo books: the run as its creation leaves it, the debits written and confirmed.
    void demoBuecher()
    {
        Db::ausfuehren(QStringLiteral("DELETE FROM parameter"));
        Db::ausfuehren(QStringLiteral("DELETE FROM blzdatei"));
        QVERIFY(DemoDaten(3).erzeugen(600, 200));
        TestDb::setParameter(QStringLiteral("dtaus/datei"), pfad(QStringLiteral("demo.dta")));
        SkriptInteraktion skript;
        skript.antworte(QMessageBox::Ok);
        ZahlungErst erstellen;
        erstellen.pLauf();
        const int debits = TestDb::anzahl(QStringLiteral("SELECT count(*) FROM zahllauf WHERE art='D'"));
        QVERIFY(debits > 0);

        ZahlungDtaus dialog;
        QVERIFY(dialog.findChild<WDatum *>());
        bisZurDatei(dialog, skript);
        skript.antworte(QMessageBox::Ok);
        dialog.pDateiErst();
        QCOMPARE(skript.unerwartet(), 0);
        QCOMPARE(feldBei<QLabel>(&dialog, QStringLiteral("1. Schritt"), 0, 2)->text(), QString::number(debits));
        QFile f(pfad(QStringLiteral("demo.dta")));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const Datei d = lesen(f.readAll());
        QCOMPARE(d.c.size(), debits);
        pruefeSummen(d);
        QCOMPARE(zahl(d.e, 64, 13), Db::wert(QStringLiteral("SELECT sum(cent) FROM zahllauf WHERE art='D'")).toLongLong());
        dialog.pAbschluss();
        QCOMPARE(TestDb::anzahl(QStringLiteral("SELECT count(*) FROM zahllauf WHERE art='D' AND done='J' "
                                               "AND bausteinb=?"), {UtilDatumText(QDate::currentDate())}),
                 debits);
        QCOMPARE(wert("SELECT substr(wert,1,1) FROM parameter WHERE key='Status/Zahlungen'"), QStringLiteral("D"));
    }

    // Holders after the text rule, accounts and bank codes after the number rule, as the bank gets them.
    void regeln_data()
    {
        QTest::addColumn<QString>("inhaber");
        QTest::addColumn<QString>("nummer");
        QTest::addColumn<QString>("blz");
        QTest::addColumn<QByteArray>("erwartet"); // holder field, or the error text
        QTest::newRow("Umlaute") << "Müller & Söhne, Straße" << "12-345 67" << "370 501 98"
                                 << QByteArray("MUELLER & SOEHNE  STRASSE  ");
        QTest::newRow("Akzente") << "José Ñandú" << "12" << "10020030" << feld("JOS   AND ", 27);
        QTest::newRow("grosse Umlaute") << "ÄÖÜ äöü ß" << "12" << "10020030" << feld("AEOEUE AEOEUE SS", 27);
        QTest::newRow("Sonderzeichen") << "a.b&c-d+e*f%g/h$i(j)" << "12" << "10020030"
                                       << feld("A.B&C-D+E*F%G/H$I J ", 27);
        QTest::newRow("zu lang") << "Maximiliane Musterfrau-Beispielhausen" << "12" << "10020030"
                                 << QByteArray("MAXIMILIANE MUSTERFRAU-BEIS");
        QTest::newRow("Inhaber Umlaut") << "Ö" << "12" << "10020030" << feld("OE", 27);
        QTest::newRow("Inhaber ein Zeichen") << " é. " << "12" << "10020030" << QByteArray("Kontoinhaber fehlt");
        QTest::newRow("Konto eine Ziffer") << "Eva Wald" << "K 1" << "10020030" << QByteArray("Kontonummer fehlt");
        QTest::newRow("Konto elf Ziffern") << "Eva Wald" << "12345678901" << "10020030"
                                           << QByteArray("Kontonummer zu lang");
        QTest::newRow("BLZ neun Ziffern") << "Eva Wald" << "12" << "100200301" << QByteArray("Bankleitzahl zu kurz");
        QTest::newRow("BLZ fremd") << "Eva Wald" << "12" << "20030040" << QByteArray("Bankleitzahl existiert nicht");
    }
    void regeln()
    {
        QFETCH(QString, inhaber);
        QFETCH(QString, nummer);
        QFETCH(QString, blz);
        QFETCH(QByteArray, erwartet);
        anlegen({42, inhaber, nummer, blz, 1234});
        QBuffer puffer;
        puffer.open(QIODevice::WriteOnly);
        {
            DtausDatei lauf;
            lauf.vorbereiten(false);
            QVERIFY(lauf.schreiben(puffer, {QStringLiteral("KV"), QStringLiteral("12"), QStringLiteral("37050198")},
                                   QDate(2030, 1, 2)));
            if (lauf.fehlerhafte() == 1) {
                QCOMPARE(puffer.size(), qint64(0));
                QCOMPARE(wert("SELECT konto FROM zwidtaus WHERE ff='F'").toLatin1(), erwartet);
                return;
            }
        }
        const Datei d = lesen(puffer.data());
        QCOMPARE(d.c.size(), 1);
        pruefeSummen(d);
        QCOMPARE(d.c.at(0).mid(93, 27), erwartet);
        QCOMPARE(d.a.mid(50, 6), QByteArray("020130"));
        QCOMPARE(d.c.at(0).mid(189, 27), feld("JAHRESBEITRAG VE 2030", 27));
        QCOMPARE(zahl(d.c.at(0), 13, 8), blz.remove(' ').toLongLong());
        QCOMPARE(zahl(d.c.at(0), 21, 10), QString(nummer).remove('-').remove(' ').toLongLong());
    }

    // The resend box warns and takes debits already put into a file.
    void neuErstellen_data()
    {
        QTest::addColumn<bool>("neu");
        QTest::addColumn<QString>("richtige");
        QTest::newRow("aus") << false << "1";
        QTest::newRow("an") << true << "2";
    }
    void neuErstellen()
    {
        QFETCH(bool, neu);
        QFETCH(QString, richtige);
        anlegen({1, QStringLiteral("Eva Wald"), QStringLiteral("12"), QStringLiteral("10020030")});
        anlegen({2, QStringLiteral("Eva Wald"), QStringLiteral("13"), QStringLiteral("10020030"), 500,
                 QStringLiteral("N"), QStringLiteral("J")});
        ZahlungDtaus dialog;
        SkriptInteraktion skript;
        if (neu) {
            skript.antworte(QMessageBox::Ok);
            dialog.findChild<QCheckBox *>()->click();
            QCOMPARE(skript.anfragen().last().text,
                     QStringLiteral("Achtung: Wenn diese Option aktiviert ist, ist es nicht ausgeschlossen, dass "
                                    "Lastschriften doppelt eingezogen werden!"));
            QCOMPARE(int(skript.anfragen().last().art), int(Interaktion::Art::Warnung));
        }
        skript.antworte(QMessageBox::Ok);
        dialog.pTempTable();
        QCOMPARE(feldBei<QLabel>(&dialog, QStringLiteral("1. Schritt"), 0, 2)->text(), richtige);
        QCOMPARE(skript.unerwartet(), 0);
    }

    // "&Wählen" puts the chosen file into the field, with the suffix "dta" when none was typed.
    void dateiWahl()
    {
        ZahlungDtaus dialog;
        SkriptInteraktion skript;
        skript.antworteText(pfad(QStringLiteral("lauf2031")));
        knopf(&dialog, QStringLiteral("&Wählen"))->click();
        QCOMPARE(skript.unerwartet(), 0);
        QCOMPARE(int(skript.anfragen().last().art), int(Interaktion::Art::Dateidialog));
        QCOMPARE(feldBei<QLineEdit>(&dialog, QStringLiteral("Dateiname"))->text(), pfad(QStringLiteral("lauf2031.dta")));
    }

    // A file that cannot be opened: the system's text, titled with the file name; nothing else changes.
    void unschreibbar_data()
    {
        QTest::addColumn<QString>("ziel");
        QTest::addColumn<QString>("text");
        QTest::newRow("Verzeichnis") << "." << "Is a directory";
        QTest::newRow("fehlendes Verzeichnis") << "fehlt/x.dta" << "No such file or directory";
    }
    void unschreibbar()
    {
        QFETCH(QString, ziel);
        QFETCH(QString, text);
        anlegen({1, QStringLiteral("Eva Wald"), QStringLiteral("12"), QStringLiteral("10020030")});
        const QString datei = pfad(ziel);
        TestDb::setParameter(QStringLiteral("dtaus/datei"), datei);
        const QString vorher = wert("SELECT group_concat(key||wert) FROM parameter");
        ZahlungDtaus dialog;
        SkriptInteraktion skript;
        bisZurDatei(dialog, skript);
        skript.antworte(QMessageBox::Ok);
        dialog.pDateiErst();
        QCOMPARE(int(skript.anfragen().last().art), int(Interaktion::Art::Kritisch));
        QCOMPARE(skript.anfragen().last().titel, datei);
        QCOMPARE(skript.anfragen().last().text, text);
        QVERIFY(!knopf(&dialog, QStringLiteral("&Ok"))->isEnabled());
        QCOMPARE(wert("SELECT group_concat(key||wert) FROM parameter"), vorher);
        dialog.reject(); // nothing written: no question
        QCOMPARE(skript.unerwartet(), 0);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }

    // Own data missing: the focus goes to the first failing field, no file, no parameters.
    void eigeneDaten_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("wert");
        QTest::addColumn<QString>("feld");
        QTest::newRow("Name ein Zeichen") << "dtaus/name" << "K," << "Eigener Name";
        QTest::newRow("Konto eine Ziffer") << "dtaus/konto" << "1 x" << "Konto, BLZ";
        QTest::newRow("BLZ sieben Ziffern") << "dtaus/blz" << "3705019" << "Konto, BLZ";
    }
    void eigeneDaten()
    {
        QFETCH(QString, key);
        QFETCH(QString, wert);
        QFETCH(QString, feld);
        anlegen({1, QStringLiteral("Eva Wald"), QStringLiteral("12"), QStringLiteral("10020030")});
        TestDb::setParameter(key, wert);
        const QString vorher = ::wert("SELECT group_concat(key||wert) FROM parameter");
        ZahlungDtaus dialog;
        QVERIFY(zeige(&dialog));
        SkriptInteraktion skript;
        bisZurDatei(dialog, skript);
        dialog.pDateiErst();
        QCOMPARE(skript.unerwartet(), 0);
        QCOMPARE(QApplication::focusWidget(), feldBei(&dialog, feld, 0, key == QLatin1String("dtaus/blz") ? 2 : 1));
        QVERIFY(!QFile::exists(pfad(QStringLiteral("lastschrift.dta"))));
        QCOMPARE(::wert("SELECT group_concat(key||wert) FROM parameter"), vorher);
    }

    // Leaving after a file was written needs a confirmation; the run stays undone. Without a
    // ledger account for the debits there is no execution date.
    void verwerfen()
    {
        anlegen({1, QStringLiteral("Eva Wald"), QStringLiteral("12"), QStringLiteral("10020030")});
        ZahlungDtaus dialog;
        QVERIFY(!dialog.findChild<WDatum *>());
        QVERIFY(zeige(&dialog));
        SkriptInteraktion skript;
        bisZurDatei(dialog, skript);
        skript.antworte(QMessageBox::Ok);
        dialog.pDateiErst();

        skript.antworte(QMessageBox::Cancel);
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QVERIFY(dialog.isVisible());
        QCOMPARE(skript.anfragen().last().text, QStringLiteral("Erstellte Datei verwerfen"));
        QCOMPARE(skript.anfragen().last().knoepfe, QMessageBox::Ok | QMessageBox::Cancel);
        skript.antworte(QMessageBox::Ok);
        QVERIFY(dialog.close());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(skript.unerwartet(), 0);
        QVERIFY(QFile::exists(pfad(QStringLiteral("lastschrift.dta"))));
        QCOMPARE(wert("SELECT done||bausteinb FROM zahllauf"), QStringLiteral("N"));
        QCOMPARE(wert("SELECT wert FROM parameter WHERE key='Status/Zahlungen'"), QStringLiteral("JJNNNNNNNNNNNNNNN"));

        ZahlungDtaus zweiter;
        skript.antworte(QMessageBox::Ok);
        zweiter.pTempTable();
        zweiter.pAbschluss();
        QCOMPARE(wert("SELECT done||bausteinb FROM zahllauf"), QStringLiteral("J"));
    }

private:
    QString pfad(const QString &name) const { return m_db->verzeichnis() + QLatin1Char('/') + name; }

    // Steps 1 and 2: prepared and the content list printed.
    void bisZurDatei(ZahlungDtaus &dialog, SkriptInteraktion &skript) const
    {
        skript.antworte(QMessageBox::Ok);
        dialog.pTempTable();
        skript.antworteText(pfad(QStringLiteral("inhalt.pdf")));
        skript.antworte(QMessageBox::Ok);
        dialog.pInhalt();
    }

    // The enabled buttons, without accelerators.
    static QString aktiv(QDialog *dialog)
    {
        QStringList texte;
        for (QPushButton *k : dialog->findChildren<QPushButton *>()) {
            if (k->isEnabled())
                texte << k->text().remove(QLatin1Char('&'));
        }
        return texte.join(QLatin1Char(' '));
    }

    std::unique_ptr<TestDb> m_db;
};

QTEST_MAIN(TstDtaus)
#include "tst_dtaus.moc"
