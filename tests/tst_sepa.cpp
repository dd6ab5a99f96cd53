// SEPA direct debits of a payment run: the dialog's four steps in the SEPA format,
// the pain.008 file read back by an XML reader of its own and by xmllint, and the
// closing that books the debits.

#include "db.h"
#include "demodaten.h"
#include "dialogdriver.h"
#include "sepadatei.h"
#include "testdb.h"
#include "wdatum.h"
#include "zahlabschluss.h"
#include "zahldtaus.h"
#include "zahlerst.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QXmlStreamReader>
#include <QtTest>

#include <memory>

using namespace DialogTreiber;

namespace {

const QString kNs = QStringLiteral("urn:iso:std:iso:20022:tech:xsd:pain.008.001.08");

// A member of "KV Hafen" in the run, with bank row "inhaber|iban|bic|mandatref|mandatdatum|mandatgenutzt" ("-": none).
void lastschrift(int mid, const QString &bank, const QString &eintritt = QStringLiteral("2015-04-01"))
{
    const QString key = QString::asprintf("%08i", mid);
    Db::ausfuehren("INSERT INTO mitglied (mid,gliederung,zahlart,beitrag,eintritt,austritt,bezahlt,zahlstatus) "
                   "VALUES (?,'KV Hafen','L',3600,?,'2200-01-01','2023-12-31','L')", {mid, eintritt});
    Db::ausfuehren("INSERT INTO adresse (art,key,name1,name2) VALUES ('M',?,?,'Eva')", {key, QStringLiteral("N%1").arg(mid)});
    if (bank != QLatin1String("-")) {
        QVariantList werte{key};
        for (const QString &w : bank.split('|'))
            werte << (w.isEmpty() ? QVariant(QMetaType::fromType<QString>()) : QVariant(w));
        Db::ausfuehren("INSERT INTO bankverbindung (art,key,inhaber,iban,bic,mandatref,mandatdatum,mandatgenutzt) "
                       "VALUES ('M',?,?,?,?,?,?,?)", werte);
    }
    Db::ausfuehren("INSERT INTO zahllauf (mid,sperren,art,form,manuell,bausteinm,bausteinb,cent,statusneu,done) "
                   "VALUES (?,'N','D','M','N','1200','',?,'L','N')", {mid, 1000 * mid});
}

// The file as a bank reads it: per debit "mid sequence amount mandate date name IBAN BIC", the blocks'
// and the header's counts and sums checked against the debits they hold.
QStringList lesen(const QString &pfad)
{
    QFile f(pfad);
    if (!f.open(QIODevice::ReadOnly))
        return {"nicht lesbar"};
    QXmlStreamReader xml(&f);
    QStringList debits, fehler;
    QString folge, pfadText, ende, betrag, mandat, datum, name, iban, bic, zweck;
    qint64 blockSumme = 0, gesamt = 0;
    int blockAnzahl = 0, anzahl = 0;
    QMap<QString, QString> soll; // expected counts and sums, by element path
    auto cent = [](const QString &t) { return qint64(t.split('.')[0].toLongLong() * 100 + t.split('.')[1].toInt()); };
    QStringList stapel;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            if (xml.namespaceUri() != kNs)
                fehler << "Namensraum " + xml.name().toString();
            stapel << xml.name().toString();
            pfadText = stapel.join('/');
        } else if (xml.isCharacters() && !xml.isWhitespace()) {
            const QString t = xml.text().toString();
            const QString n = stapel.last();
            if (pfadText.endsWith("GrpHdr/NbOfTxs") || pfadText.endsWith("GrpHdr/CtrlSum")
                || pfadText.endsWith("PmtInf/NbOfTxs") || pfadText.endsWith("PmtInf/CtrlSum"))
                soll[pfadText] = t;
            else if (n == "SeqTp") folge = t;
            else if (n == "EndToEndId") ende = t;
            else if (n == "InstdAmt") betrag = t;
            else if (n == "MndtId") mandat = t;
            else if (n == "DtOfSgntr") datum = t;
            else if (pfadText.endsWith("Dbtr/Nm")) name = t;
            else if (pfadText.endsWith("DbtrAcct/Id/IBAN")) iban = t;
            else if (pfadText.contains("DbtrAgt")) bic = t;
            else if (n == "Ustrd") zweck = t;
        } else if (xml.isEndElement()) {
            const QString n = stapel.takeLast();
            pfadText = stapel.join('/');
            if (n == "DrctDbtTxInf") {
                const QString jahr = QString::number(QDate::currentDate().year());
                const QString mid = ende.section('-', 1, 1);
                if (ende != "MITGLIED-" + mid + "-" + jahr || zweck != "Mitgliedsbeitrag " + jahr + " Mitgliedsnr. " + mid)
                    fehler << ende + " " + zweck;
                debits << QStringList{mid, folge, betrag, mandat, datum, name, iban, bic}.join(' ');
                blockSumme += cent(betrag);
                ++blockAnzahl;
            } else if (n == "PmtInf") {
                if (soll.value("Document/CstmrDrctDbtInitn/PmtInf/NbOfTxs").toInt() != blockAnzahl
                    || cent(soll.value("Document/CstmrDrctDbtInitn/PmtInf/CtrlSum")) != blockSumme)
                    fehler << "Summe " + folge;
                gesamt += blockSumme;
                anzahl += blockAnzahl;
                blockSumme = blockAnzahl = 0;
            }
        }
    }
    if (xml.hasError()) fehler << xml.errorString();
    if (soll.value("Document/CstmrDrctDbtInitn/GrpHdr/NbOfTxs").toInt() != anzahl
        || cent(soll.value("Document/CstmrDrctDbtInitn/GrpHdr/CtrlSum")) != gesamt)
        fehler << "Gesamtsumme";
    return fehler + debits;
}

QString xmllint(const QStringList &argumente)
{
    QProcess p;
    p.start("xmllint", argumente);
    p.waitForFinished();
    return p.exitCode() == 0 ? QString::fromUtf8(p.readAllStandardOutput()).trimmed() : "Fehler " + p.readAllStandardError();
}

} // namespace

class TstSepa : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    void init()
    {
        m_db = std::make_unique<TestDb>();
        QVERIFY(m_db->ok());
        TestDb::beitragsBuecher();
        TestDb::setParameter("Zahlungen/KontoDtaus", "1200");
        TestDb::setParameter("Status/Zahlungen", "JJNNNNNNNNNNNNNNN");
        TestDb::setParameter("dtaus/name", "Kreisverband Süd & Co");
        TestDb::setParameter("dtaus/datei", pfad("lauf.dta"));
    }
    void cleanup() { m_db.reset(); }

    // Through the dialog: format, own data, the four steps; the file, the lists, the run; then the closing.
    void durchlauf()
    {
        lastschrift(1, "Jürgen Müller & Söhne|DE89 3704 0044 0532 0130 00|COBADEFFXXX|||");
        lastschrift(2, "Anna Berg|AT611904300234573201||M-2/2020|2020-01-01|M-2/2020");
        lastschrift(3, "José Ñandú|NL91ABNA0417164300|ABNANL2A|||alt");
        lastschrift(4, "Falsch|DE89370400440532013100||||");
        lastschrift(5, "Ohne|||||");
        lastschrift(6, "-");
        lastschrift(7, "Leer|BE68539007547034||Mandat ä|2020-01-01|");
        lastschrift(8, "Neu|BE68539007547034||||", "1900-01-01");
        const QDate faellig = QDate::currentDate().addDays(10);

        ZahlungDtaus dialog;
        QVERIFY(zeige(&dialog));
        SkriptInteraktion skript;
        auto *format = feldBei<QComboBox>(&dialog, "Format");
        QVERIFY(feldBei(&dialog, "Konto, BLZ")->isVisible() && !feldBei(&dialog, "Gläubiger-ID")->isVisible());
        format->setFocus();
        QTest::keyClick(format, Qt::Key_Down);
        QCOMPARE(format->currentText(), "SEPA-Lastschrift (pain.008.001.08)");
        QVERIFY(!feldBei(&dialog, "Konto, BLZ")->isVisible());
        QCOMPARE(feldBei<QLineEdit>(&dialog, "Dateiname")->text(), pfad("lauf.xml"));
        tippe(feldBei(&dialog, "Gläubiger-ID"), "DE98ZZZ09999999999");
        tippe(feldBei(&dialog, "IBAN"), "DE02 1002 0030 0000 0055 00");
        dialog.findChild<WDatum *>("faellig")->setDatum(faellig);

        skript.antworte(QMessageBox::Ok);
        QVERIFY(alt(&dialog, Qt::Key_V));
        QCOMPARE(feldBei<QLabel>(&dialog, "1. Schritt", 0, 2)->text() + feldBei<QLabel>(&dialog, "1. Schritt", 0, 3)->text(), "35");
        for (const char *liste : {"fehler.pdf", "inhalt.pdf"}) {
            skript.antworteText(pfad(liste));
            skript.antworte(QMessageBox::Ok);
            QVERIFY(alt(&dialog, liste[0] == 'f' ? Qt::Key_F : Qt::Key_I));
        }
        // The own IBAN is checked before anything is written.
        QVERIFY(alt(&dialog, Qt::Key_D));
        QCOMPARE(QApplication::focusWidget(), feldBei(&dialog, "IBAN"));
        QVERIFY(!QFile::exists(pfad("lauf.xml")));
        feldBei<QLineEdit>(&dialog, "IBAN")->setText("DE78 1002 0030 0000 0000 55");
        skript.antworte(QMessageBox::Ok);
        QVERIFY(alt(&dialog, Qt::Key_D));
        QCOMPARE(skript.anfragen().last().text, "Datei ist erstellt");
        QCOMPARE(dialog.findChild<WDatum *>("ausfuehrung")->datum(), faellig);
        QVERIFY(alt(&dialog, Qt::Key_O));
        QCOMPARE(skript.unerwartet(), 0);

        const QString f = faellig.toString(Qt::ISODate);
        QCOMPARE(lesen(pfad("lauf.xml")),
                 (QStringList{"1 FRST 10.00 1 2015-04-01 Juergen Mueller + Soehne DE89370400440532013000 COBADEFFXXX",
                              "3 FRST 30.00 3 2015-04-01 Jose Nandu NL91ABNA0417164300 ABNANL2A",
                              "2 RCUR 20.00 M-2/2020 2020-01-01 Anna Berg AT611904300234573201 NOTPROVIDED"}));
        QCOMPARE(xmllint({"--xpath", "namespace-uri(/*)", pfad("lauf.xml")}), kNs);
        QCOMPARE(xmllint({"--xpath", "string(//*[local-name()='ReqdColltnDt'])", pfad("lauf.xml")}), f);

        const QString fehler = pdfText(pfad("fehler.pdf")).simplified();
        QVERIFY2(fehler.startsWith("SEPA - Fehlerliste")
                     && fehler.contains("MID Fehler 4 Prüfziffer der IBAN stimmt nicht 5 Keine IBAN eingetragen 6 Keine "
                                        "Bankverbindung eingetragen 7 Mandatsreferenz enthält unzulässige Zeichen 8 "
                                        "Mandat ohne Datum der Unterschrift"), qPrintable(fehler));
        QVERIFY(pdfText(pfad("inhalt.pdf")).simplified().contains("1 10,00 DE89370400440532013000 COBADEFFXXX Juergen "
                                                                   "Mueller + Soehne 1 FRST"));
        QCOMPARE(TestDb::zeile("SELECT group_concat(mid||done||bausteinb,' '),(SELECT group_concat(mandatgenutzt) "
                               "FROM bankverbindung WHERE mandatgenutzt!='alt'),(SELECT group_concat(key||'='||wert,'|') FROM (SELECT * "
                               "FROM parameter WHERE key>='dtaus/b' AND key<'dtaus/j' ORDER BY key)) FROM zahllauf"),
                 (QStringList{QString("1J%1 2J%1 3J%1 4N 5N 6N 7N 8N").arg(f), "1,M-2/2020,3",
                              "dtaus/bic=|dtaus/blz=|dtaus/datei=" + pfad("lauf.xml") + "|dtaus/format=SEPA|dtaus/glaeubigerid="
                                  "DE98ZZZ09999999999|dtaus/iban=DE78100200300000000055"}));

        // Closing books the three debits on the collection date like DTAUS ones.
        ZahlungAbschluss abschluss;
        QVERIFY(abschluss.ausfuehren());
        QCOMPARE(abschluss.buchungen(), 3);
        QCOMPARE(TestDb::anzahl("SELECT count(*) FROM journdat WHERE datum=?", {f}), 9);
        QCOMPARE(TestDb::anzahl("SELECT count(*) FROM spende WHERE jdatum=?", {f}), 3);

        // The next run: every mandate used before is a recurring one.
        lastschrift(9, "Neu Dazu|DE89370400440532013000||||");
        Db::ausfuehren("INSERT INTO zahllauf (mid,sperren,art,form,manuell,bausteinm,bausteinb,cent,statusneu,done) "
                       "SELECT mid,'N','D','M','N','1200','',500,'L','N' FROM mitglied WHERE mid<4");
        SepaDatei lauf;
        lauf.vorbereiten(false, faellig);
        QCOMPARE(TestDb::zeile("SELECT group_concat(mid||folge,' ') FROM (SELECT * FROM zwisepa ORDER BY mid)"),
                 QStringList{"1RCUR 2RCUR 3RCUR 9FRST"});
    }

    // On the demo books every debit of a new run has a valid IBAN and a mandate; the file holds them all.
    void demoBuecher()
    {
        for (const char *tabelle : {"parameter", "verband", "spendenparam", "kontenplan"})
            Db::ausfuehren(QString("DELETE FROM ") + tabelle);
        QVERIFY(DemoDaten(5).erzeugen(400, 100));
        SkriptInteraktion skript;
        skript.antworte(QMessageBox::Ok);
        ZahlungErst().pLauf();
        SepaDatei lauf;
        lauf.vorbereiten(false, QDate::currentDate().addDays(7));
        QCOMPARE(QString("%1 %2 %3").arg(lauf.richtige()).arg(lauf.fehlerhafte()).arg(lauf.summe()),
                 TestDb::zeile("SELECT count(*)||' 0 '||sum(cent) FROM zahllauf WHERE art='D'").value(0));
        QFile datei(pfad("demo.xml"));
        QVERIFY(datei.open(QIODevice::WriteOnly) && lauf.schreiben(datei, {"KV", "DE98ZZZ09999999999",
                                                                         "DE89370400440532013000", ""}, QDateTime::currentDateTime()));
        datei.close();
        const QStringList gelesen = lesen(pfad("demo.xml"));
        QCOMPARE(gelesen.size(), lauf.richtige());
        QVERIFY2(gelesen.filter(" FRST ").size() == gelesen.size(), qPrintable(gelesen.first()));
    }

    // Names in the SEPA Latin character set, cut to the standard's length.
    void text_data()
    {
        QTest::addColumn<QString>("ein");
        QTest::addColumn<QString>("aus");
        QTest::newRow("Umlaute") << "Ärger Öl Übel äöüß" << "Aerger Oel Uebel aeoeuess";
        QTest::newRow("Akzente") << "José Ñandú Åse" << "Jose Nandu Ase";
        QTest::newRow("Zeichen") << "O`Neil & Co, 3/4 (a.b)+c?:-" << "O'Neil + Co, 3/4 (a.b)+c?:-";
        QTest::newRow("unbekannt") << "a€b_c@d" << "a b c d";
        QTest::newRow("Länge") << QString(80, 'x') << QString(70, 'x');
    }
    void text()
    {
        QFETCH(QString, ein);
        QFETCH(QString, aus);
        QCOMPARE(SepaDatei::pText(ein, 70), aus);
    }

private:
    QString pfad(const QString &name) const { return m_db->verzeichnis() + '/' + name; }
    std::unique_ptr<TestDb> m_db;
};

QTEST_MAIN(TstSepa)
#include "tst_sepa.moc"
