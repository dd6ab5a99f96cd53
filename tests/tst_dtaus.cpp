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
#include <QPushButton>
#include <QtTest>

#include <memory>

using namespace DialogTreiber;

namespace {

// A member with address (unless `art` is "-"), bank details (unless `inhaber` is "-") and a row in the run.
struct Lastschrift
{
    int mid;
    QString inhaber, nummer, blz;
    qint64 cent = 1000;
    QString sperren = "N", done = "N", art = "D";
};

void anlegen(const Lastschrift &l)
{
    const QString key = QString::asprintf("%08i", l.mid);
    if (l.art != "-")
        Db::ausfuehren("INSERT INTO adresse (art,key,name1,name2) VALUES ('M',?,?,'Eva')", {key, QString("Name%1").arg(l.mid)});
    if (l.inhaber != "-")
        Db::ausfuehren("INSERT INTO bankverbindung (art,key,inhaber,nummer,blz,bank) VALUES ('M',?,?,?,?,'Hausbank')",
                       {key, l.inhaber, l.nummer, l.blz});
    Db::ausfuehren("INSERT INTO zahllauf (mid,sperren,art,form,manuell,bausteinm,bausteinb,cent,statusneu,done) "
                   "VALUES (?,?,?,'M','N','1200','',?,'L',?)", {l.mid, l.sperren, l.art == "-" ? "D" : l.art, l.cent, l.done});
}

// The file as the bank reads it: 128-byte A record, 256-byte C records, 128-byte E record.
struct Datei { QByteArray a; QList<QByteArray> c; QByteArray e; };

Datei lesen(const QByteArray &daten)
{
    Datei d;
    if (daten.size() < 256 || daten.size() % 256 != 0)
        return d;
    d.a = daten.left(128);
    for (int pos = 128; pos < daten.size() - 128; pos += 256)
        d.c << daten.mid(pos, 256);
    d.e = daten.right(128);
    return d;
}

Datei lesen(const QString &pfad)
{
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) ? lesen(f.readAll()) : Datei();
}

qint64 zahl(const QByteArray &satz, int pos, int laenge)
{
    const QByteArray feld = satz.mid(pos, laenge);
    return std::all_of(feld.begin(), feld.end(), [](char ch) { return ch >= '0' && ch <= '9'; }) ? feld.toLongLong() : -1;
}

QByteArray feld(const QByteArray &text, int laenge) { return text.leftJustified(laenge, ' ', true); }
QByteArray nullen(qint64 wert, int laenge) { return QByteArray::number(wert).rightJustified(laenge, '0'); }

// Checks record kinds, lengths and the E record against the C records.
void pruefeSummen(const Datei &d)
{
    QCOMPARE(d.a.left(7), QByteArray("0128ALK"));
    qint64 konten = 0, blz = 0, cent = 0;
    for (const QByteArray &c : d.c) {
        QCOMPARE(c.left(5), QByteArray("0216C"));
        blz += zahl(c, 13, 8);
        konten += zahl(c, 21, 10);
        cent += zahl(c, 79, 11);
    }
    QCOMPARE(d.e, "0128E" + QByteArray(5, ' ') + nullen(d.c.size(), 7) + nullen(0, 13) + nullen(konten, 17)
                      + nullen(blz, 17) + nullen(cent, 13) + QByteArray(51, ' '));
}

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
template<typename T = QString> void spalten(std::initializer_list<const char *> n) { for (auto x : n) QTest::addColumn<T>(x); }

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
        Db::ausfuehren("INSERT INTO blzdatei (land,blz,name,pruefart,bic) VALUES ('D','37050198','Bank','09',''),"
                       "('D','10020030','Bank','09','')");
        for (const auto &[key, w] : QList<std::pair<QString, QString>>{
                 {"Status/Zahlungen", "JJNNNNNNNNNNNNNNN"}, {"dtaus/name", "Kreisverband Süd"}, {"dtaus/konto", "123 456 789"},
                 {"dtaus/blz", "37050198"}, {"dtaus/datei", pfad("lastschrift.dta")}})
            TestDb::setParameter(key, w);
    }
    void cleanup() { m_db.reset(); }

    // From the payment menu through all four steps with the keyboard.
    void durchlauf()
    {
        TestDb::setParameter("Zahlungen/KontoDtaus", "1200");
        anlegen({1, "Müller & Söhne, Straße", "1234567", "370 501 98", 1000}), anlegen({4, "X", "4444", "10020030"});
        anlegen({2, "Anna Beispiel", "0000099", "10020030", 2000}), anlegen({3, "Otto Ohnesorg", "55", "10020030", 3000});
        anlegen({5, "-", {}, {}}), anlegen({6, "Hans Huber", "6666", "12345678"}), anlegen({7, "Hans Huber", "7", "10020030"});
        anlegen({8, "Hans Huber", "8888", "1002003"}), anlegen({9, "Gesperrt", "9999", "10020030", 900, "J"});
        anlegen({10, "Schon", "1010", "10020030", 900, "N", "J"}), anlegen({11, "R", "1111", "10020030", 900, "N", "N", "R"});
        anlegen({12, "Ohne Adresse", "1212", "10020030", 1000, "N", "N", "-"});
        const QString inhalt = pfad("inhalt.pdf"), fehler = pfad("fehler.pdf");

        VelaMain fenster;
        SkriptInteraktion skript;
        beiModal([&](QDialog *d) {
            auto *dialog = qobject_cast<ZahlungDtaus *>(d);
            QVERIFY(dialog && zeige(dialog));
            auto *datum = dialog->findChild<WDatum *>("ausfuehrung");
            QCOMPARE(aktiv(dialog), "Wählen Vorbereiten Abbrechen");

            skript.antworte(QMessageBox::Ok);
            QVERIFY(alt(dialog, Qt::Key_V));
            QCOMPARE(skript.anfragen().last().text + feldBei<QLabel>(dialog, "1. Schritt", 0, 2)->text()
                         + feldBei<QLabel>(dialog, "1. Schritt", 0, 3)->text(), "Datei ist vorbereitet35");
            QCOMPARE(aktiv(dialog), "Wählen Inhaltsliste Fehlerliste Abbrechen");
            QVERIFY(!feldBei(dialog, "Eigener Name")->isEnabled() && feldBei(dialog, "Dateiname")->isEnabled());

            skript.antworteText(fehler);
            skript.antworte(QMessageBox::Ok);
            QVERIFY(alt(dialog, Qt::Key_F));
            QCOMPARE(skript.anfragen().last().text, "Fehlerliste ist gedruckt");
            QVERIFY(!knopf(dialog, "&Datei erstellen")->isEnabled());
            skript.antworteText(inhalt);
            skript.antworte(QMessageBox::Ok);
            QVERIFY(alt(dialog, Qt::Key_I));
            QCOMPARE(aktiv(dialog), "Wählen Inhaltsliste Fehlerliste Datei erstellen Abbrechen");
            QVERIFY(!datum->isEnabled());

            skript.antworte(QMessageBox::Ok);
            QVERIFY(alt(dialog, Qt::Key_D));
            QCOMPARE(skript.anfragen().last().titel + skript.anfragen().last().text, "Zahlungen Dtaus-DateiDatei ist erstellt");
            QVERIFY(datum->isEnabled());
            datum->setDatum(QDate(2031, 3, 15));
            QVERIFY(alt(dialog, Qt::Key_O));
            QCOMPARE(dialog->result(), int(QDialog::Accepted));
        });
        for (QAction *a : fenster.findChildren<QAction *>()) {
            if (a->text() == "&Dtaus Datei")
                a->trigger();
        }
        QVERIFY(gelaufen() && skript.unerwartet() == 0);

        // The file: C records in the order of bank code, account and member.
        const Datei d = lesen(pfad("lastschrift.dta"));
        pruefeSummen(d);
        QCOMPARE(d.a, "0128ALK37050198" + nullen(0, 8) + feld("KREISVERBAND SUED", 27)
                          + QDate::currentDate().toString("ddMMyy").toLatin1() + "    " + "0123456789" + nullen(0, 10)
                          + QByteArray(47, ' ') + "1");
        QCOMPARE(d.c, (QList<QByteArray>{cSatz(10020030, 55, 3000, "OTTO OHNESORG", 3),
                                         cSatz(10020030, 99, 2000, "ANNA BEISPIEL", 2),
                                         cSatz(37050198, 1234567, 1000, "MUELLER & SOEHNE  STRASSE", 1)}));

        // The run: the three debits done with the execution date, the debit slot carried out, the own data kept.
        QCOMPARE(wert("SELECT group_concat(mid||done||bausteinb,' ') FROM (SELECT * FROM zahllauf ORDER BY mid)"),
                 "1J2031-03-15 2J2031-03-15 3J2031-03-15 4N 5N 6N 7N 8N 9N 10J 11N 12N");
        QCOMPARE(wert("SELECT (SELECT wert FROM parameter WHERE key='Status/Zahlungen')||"
                      "(SELECT count(*) FROM sqlite_temp_master WHERE name='zwidtaus')"), "DJNNNNNNNNNNNNNNN0");
        QCOMPARE(wert("SELECT group_concat(key||'='||wert,'|') FROM (SELECT * FROM parameter WHERE key>='dtaus/' "
                      "AND key<'dtaus/zzz' ORDER BY key)"),
                 "dtaus/bic=|dtaus/blz=37050198|dtaus/datei=" + pfad("lastschrift.dta") + "|dtaus/format=DTAUS|"
                 "dtaus/glaeubigerid=|dtaus/iban=|dtaus/konto=123456789|dtaus/name=KREISVERBAND SUED");
        const auto aktionen = fenster.findChildren<QAction *>();
        QVERIFY(std::any_of(aktionen.begin(), aktionen.end(), [](auto *a) { return a->text() == "&Dtaus Datei (ok)"; }));

        // The lists; the PDF keeps words, not runs of blanks.
        const QString liste = pdfText(inhalt).simplified();
        for (const QString &text : {"DT - INHALTSLISTE - Lastschriften KREISVERBAND SUED Kontonr. 123456789 (37050198) "
                                    "Erstellt: " + QDate::currentDate().toString("dd.MM.yyyy") + " Seite: 1 Lfd. Betrag "
                                    "EUR Kontonummer Blz. Zahlungspflichtiger Verwendungszweck",
                                    QString("1 30,00 55 10020030 OTTO OHNESORG MITGLIEDSNR. 3"),
                                    QString("MUELLER & SOEHNE STRASSE MITGLIEDSNR. 1 Summe: 60,00 Anzahl: 3")})
            QVERIFY2(liste.contains(text), qPrintable(liste));
        const QString fehlerListe = pdfText(fehler).simplified();
        QVERIFY2(fehlerListe.startsWith("DT - Fehlerliste")
                     && fehlerListe.contains("MID Fehler 4 Kontoinhaber fehlt 5 Keine Bankverbindung eingetragen 6 "
                                             "Bankleitzahl existiert nicht 7 Kontonummer fehlt 8 Bankleitzahl zu kurz"),
                 qPrintable(fehlerListe));
    }

    // On the demo books: the run as its creation leaves it, the debits written and confirmed.
    void demoBuecher()
    {
        Db::ausfuehren("DELETE FROM parameter");
        Db::ausfuehren("DELETE FROM blzdatei");
        QVERIFY(DemoDaten(3).erzeugen(600, 200));
        TestDb::setParameter("dtaus/datei", pfad("demo.dta"));
        SkriptInteraktion skript;
        skript.antworte(QMessageBox::Ok);
        ZahlungErst().pLauf();
        const int debits = TestDb::anzahl("SELECT count(*) FROM zahllauf WHERE art='D'");
        QVERIFY(debits > 0);

        ZahlungDtaus dialog;
        bisZurDatei(dialog, skript);
        skript.antworte(QMessageBox::Ok);
        dialog.pDateiErst();
        QCOMPARE(skript.unerwartet(), 0);
        const Datei d = lesen(pfad("demo.dta"));
        pruefeSummen(d);
        QCOMPARE(QString("%1 %2").arg(d.c.size()).arg(zahl(d.e, 64, 13)),
                 wert("SELECT count(*)||' '||sum(cent) FROM zahllauf WHERE art='D'"));
        dialog.pAbschluss();
        QCOMPARE(TestDb::anzahl("SELECT count(*) FROM zahllauf WHERE art='D' AND done='J' AND bausteinb=?",
                                {UtilDatumText(QDate::currentDate())}), debits);
        QCOMPARE(wert("SELECT substr(wert,1,1) FROM parameter WHERE key='Status/Zahlungen'"), "D");
    }

    // Holders after the text rule, accounts and bank codes after the number rule, as the bank gets them;
    // the resend box also takes a debit already put into a file (without it: see durchlauf).
    void regeln_data()
    {
        spalten({"inhaber", "nummer", "blz"});
        spalten<QByteArray>({"erwartet"}); // holder field, or the error text
        QTest::newRow("Umlaute") << "Müller & Söhne, Straße" << "12-345 67" << "370 501 98" << feld("MUELLER & SOEHNE  STRASSE", 27);
        QTest::newRow("Akzente") << "José Ñandú" << "12" << "10020030" << feld("JOS   AND ", 27);
        QTest::newRow("Sonderzeichen") << "a.b&c-d+e*f%g/h$i(j)" << "12" << "10020030" << feld("A.B&C-D+E*F%G/H$I J ", 27);
        QTest::newRow("zu lang") << "Maximiliane Musterfrau-Beispiel" << "12" << "10020030" << QByteArray("MAXIMILIANE MUSTERFRAU-BEIS");
        QTest::newRow("Inhaber Umlaut") << "Ö" << "12" << "10020030" << feld("OE", 27);
        QTest::newRow("Inhaber ein Zeichen") << " é. " << "12" << "10020030" << QByteArray("Kontoinhaber fehlt");
        QTest::newRow("Konto elf Ziffern") << "Eva Wald" << "12345678901" << "10020030" << QByteArray("Kontonummer zu lang");
        QTest::newRow("BLZ neun Ziffern") << "Eva Wald" << "12" << "100200301" << QByteArray("Bankleitzahl zu kurz");
    }
    void regeln()
    {
        QFETCH(QString, inhaber); QFETCH(QString, nummer); QFETCH(QString, blz); QFETCH(QByteArray, erwartet);
        anlegen({42, inhaber, nummer, blz, 1234});
        anlegen({43, "Schon", "13", "10020030", 500, "N", "J"});
        QBuffer puffer;
        QVERIFY(puffer.open(QIODevice::WriteOnly));
        DtausDatei lauf;
        lauf.vorbereiten(true);
        QVERIFY(lauf.schreiben(puffer, {"KV", "12", "37050198"}, QDate(2030, 1, 2)));
        const Datei d = lesen(puffer.data());
        pruefeSummen(d);
        if (lauf.fehlerhafte() == 1) { // nothing but the other debit in the file
            QCOMPARE(wert("SELECT konto FROM zwidtaus WHERE ff='F'").toLatin1() + char('0' + d.c.size()), erwartet + '1');
            return;
        }
        const QByteArray &c = d.c.at(d.c.at(0).mid(155, 15) == "MITGLIEDSNR. 42" ? 0 : 1);
        QCOMPARE(c.mid(93, 27), erwartet);
        QCOMPARE(d.a.mid(50, 6) + c.mid(189, 27), "020130" + feld("JAHRESBEITRAG VE 2030", 27));
        QCOMPARE(QString::number(zahl(c, 13, 8)) + '/' + QString::number(zahl(c, 21, 10)),
                 blz.remove(' ') + '/' + QString::number(nummer.remove('-').remove(' ').toLongLong()));
    }

    // Nothing written: a file that cannot be opened gives the system's text titled with the file
    // name; missing own data moves the focus to the first failing field. No parameter changes.
    void nichtGeschrieben_data()
    {
        spalten({"key", "wert", "meldung"}); // meldung: the critical message, else the label of the focus field
        QTest::newRow("fehlendes Verzeichnis") << "dtaus/datei" << "fehlt/x.dta" << "No such file or directory";
        QTest::newRow("Name ein Zeichen") << "dtaus/name" << "K," << "Eigener Name";
        QTest::newRow("Konto eine Ziffer") << "dtaus/konto" << "1 x" << "Konto, BLZ";
        QTest::newRow("BLZ sieben Ziffern") << "dtaus/blz" << "3705019" << "Konto, BLZ";
    }
    void nichtGeschrieben()
    {
        QFETCH(QString, key); QFETCH(QString, wert); QFETCH(QString, meldung);
        anlegen({1, "Eva Wald", "12", "10020030"});
        TestDb::setParameter(key, key == "dtaus/datei" ? pfad(wert) : wert);
        const QString vorher = ::wert("SELECT group_concat(key||wert) FROM parameter");
        ZahlungDtaus dialog;
        QVERIFY(zeige(&dialog));
        SkriptInteraktion skript;
        bisZurDatei(dialog, skript);
        skript.antworte(QMessageBox::Ok);
        dialog.pDateiErst();
        if (key == "dtaus/datei") {
            QCOMPARE(int(skript.anfragen().last().art), int(Interaktion::Art::Kritisch));
            QCOMPARE(skript.anfragen().last().titel + skript.anfragen().last().text, pfad(wert) + meldung);
        } else {
            QCOMPARE(skript.offen(), 1);
            QCOMPARE(QApplication::focusWidget(), feldBei(&dialog, meldung, 0, key == "dtaus/blz" ? 2 : 1));
            QVERIFY(!QFile::exists(pfad("lastschrift.dta")));
        }
        QVERIFY(!knopf(&dialog, "&Ok")->isEnabled());
        QCOMPARE(::wert("SELECT group_concat(key||wert) FROM parameter"), vorher);
        dialog.reject(); // nothing written: no question
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }

    // "&Wählen" adds the suffix "dta"; the resend box warns; leaving after a file was written needs a
    // confirmation and the run stays undone. Without a ledger account for the debits there is no execution date.
    void verwerfen()
    {
        anlegen({1, "Eva Wald", "12", "10020030"});
        ZahlungDtaus dialog;
        QVERIFY(!dialog.findChild<WDatum *>("ausfuehrung"));
        QVERIFY(zeige(&dialog));
        SkriptInteraktion skript;
        skript.antworteText(pfad("lauf2031"));
        knopf(&dialog, "&Wählen")->click();
        QCOMPARE(feldBei<QLineEdit>(&dialog, "Dateiname")->text(), pfad("lauf2031.dta"));
        skript.antworte(QMessageBox::Ok);
        dialog.findChild<QCheckBox *>()->click();
        const Interaktion::Anfrage warnung = skript.anfragen().last();
        QCOMPARE(warnung.text + QString::number(int(warnung.art) == int(Interaktion::Art::Warnung)),
                 "Achtung: Wenn diese Option aktiviert ist, ist es nicht ausgeschlossen, dass Lastschriften doppelt "
                 "eingezogen werden!1");
        bisZurDatei(dialog, skript);
        skript.antworte(QMessageBox::Ok);
        dialog.pDateiErst();

        skript.antworte(QMessageBox::Cancel);
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QVERIFY(dialog.isVisible());
        QCOMPARE(skript.anfragen().last().text, "Erstellte Datei verwerfen");
        QCOMPARE(skript.anfragen().last().knoepfe, QMessageBox::Ok | QMessageBox::Cancel);
        skript.antworte(QMessageBox::Ok);
        QVERIFY(dialog.close());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(skript.unerwartet(), 0);
        QVERIFY(QFile::exists(pfad("lauf2031.dta")));
        QCOMPARE(wert("SELECT done||bausteinb FROM zahllauf"), "N");
        QCOMPARE(wert("SELECT wert FROM parameter WHERE key='Status/Zahlungen'"), "JJNNNNNNNNNNNNNNN");

        ZahlungDtaus zweiter;
        skript.antworte(QMessageBox::Ok);
        zweiter.pTempTable();
        zweiter.pAbschluss();
        QCOMPARE(wert("SELECT done||bausteinb FROM zahllauf"), "J");
    }

private:
    QString pfad(const QString &name) const { return m_db->verzeichnis() + '/' + name; }

    // Steps 1 and 2: prepared and the content list printed.
    void bisZurDatei(ZahlungDtaus &dialog, SkriptInteraktion &skript) const
    {
        skript.antworte(QMessageBox::Ok);
        dialog.pTempTable();
        skript.antworteText(pfad("inhalt.pdf"));
        skript.antworte(QMessageBox::Ok);
        dialog.pInhalt();
    }

    // The enabled buttons, without accelerators.
    static QString aktiv(QDialog *dialog)
    {
        QStringList texte;
        for (QPushButton *k : dialog->findChildren<QPushButton *>())
            texte << (k->isEnabled() ? k->text().remove('&') : QString());
        return texte.join(' ').simplified();
    }

    std::unique_ptr<TestDb> m_db;
};

QTEST_MAIN(TstDtaus)
#include "tst_dtaus.moc"
