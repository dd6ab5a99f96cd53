// Bank statements in: CAMT.053 and MT940 read into one form, lines matched to
// members and suppliers, posted once through the donation split.

#include "auszugbuchung.h"
#include "auszugexport.h"
#include "auszugimport.h"
#include "auszugvorschlag.h"
#include "db.h"
#include "dialogdriver.h"
#include "kontoauszug.h"
#include "testdb.h"
#include "utilbuch.h"
#include "utilkonto.h"

#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QtTest>

#include <memory>

namespace {

using S = QStringList;

// A month of a fee account: a fee with the member number, a batch of two, a returned
// debit with charges, a supplier's invoice, and twice the same gift without reference.
const QList<AuszugPosten> kPosten = {
    {"2024-03-04", 3600, 0, "Jürgen Weiß", "DE02120300000000202051", "Mitgliedsbeitrag 2024 Mitgliedsnr. 4711",
     "REF-1", "", 0},
    {"2024-03-05", 1200, 0, "Søren Ødegård", "DE02500105170137075030", "Beitrag MID 815", "REF-2a", "", 1},
    {"2024-03-05", 2400, 0, "Zoë Brontë-Émile", "AT611904300234573201", "Spende fuer den Wahlkampf", "REF-2b", "",
     1},
    {"2024-03-06", -3900, 300, "Jürgen Weiß", "DE02120300000000202051", "Mitgliedsbeitrag 2024 Mitgliedsnr. 4711",
     "REF-3", "MD06", 0},
    {"2024-03-07", -11900, 0, "Druckerei Schmidt GmbH", "DE89370400440532013000", "Rechnung 2024-17", "REF-4", "", 0},
    {"2024-03-08", 500, 0, "Anna Meier", "DE75512108001245126199", "Spende", "", "", 0},
    {"2024-03-08", 500, 0, "Anna Meier", "DE75512108001245126199", "Spende", "", "", 0},
};

QByteArray datei(const QString &format, const QList<AuszugPosten> &posten = kPosten, qint64 anfang = 100000)
{
    return format == "MT940" ? AuszugExport::mt940(posten, anfang)
                             : AuszugExport::camt(format.mid(9), posten, anfang);
}

QString zeileText(const AuszugZeile &z)
{
    return QStringList{z.datum.toString(Qt::ISODate), QString::number(z.cent), QString::number(z.gebuehr), z.name,
                       z.iban, z.zweck, z.referenz, z.rueckgabe ? "R " + z.grund : "-"}
        .join('|');
}

QString zeileText(const AuszugPosten &p)
{
    return QStringList{p.datum, QString::number(p.cent), QString::number(p.gebuehr), p.name, p.iban, p.zweck, p.ref,
                       p.grund.isEmpty() ? "-" : "R " + p.grund}
        .join('|');
}

// The fee books of TestDb with members: 4711 pays by debit and gives his number,
// 815 pays by transfer from a known IBAN, 816 and 817 share one account; the
// printer is a supplier with its IBAN; bank charges go to 4900.
void buecher()
{
    TestDb::beitragsBuecher();
    TestDb::setParameter("Konten/BankGeb", "4900");
    TestDb::setParameter("Konten/PrefLief", "70");
    Db::ausfuehren("INSERT INTO kontenplan (konto,text) VALUES ('4900','Bankgebühren'),('4100','Spenden')");
    Db::ausfuehren("INSERT INTO mitglied (mid,gliederung,zahlart,beitrag,eintritt,austritt,bezahlt,zahlstatus) VALUES "
                   "(4711,'KV Hafen','L',3600,'2010-03-01','2200-01-01','2023-12-31',' '),"
                   "(815,'KV Hafen','V',1200,'2010-03-01','2200-01-01','2023-12-31','R'),"
                   "(816,'KV Hafen','V',3600,'2010-03-01','2200-01-01','2023-12-31',' '),"
                   "(817,'KV Hafen','V',3600,'2010-03-01','2200-01-01','2023-12-31',' ')");
    Db::ausfuehren("INSERT INTO adresse (art,key,suchname,name1,name2) VALUES ('M','00004711','WEISS','Weiß','Jürgen'),"
                   "('M','00000815','ODEGARD','Ødegård','Søren'),('L','DRUCKEREI SCHMIDT','DRUCKEREI','Druckerei Schmidt',"
                   "'')");
    Db::ausfuehren("INSERT INTO lieferant (bez,bukto,zahlart) VALUES ('DRUCKEREI SCHMIDT','17',' ')");
    Db::ausfuehren("INSERT INTO bankverbindung (art,key,iban) VALUES ('M','00004711','DE02 1203 0000 0000 2020 51'),"
                   "('M','00000815','DE02500105170137075030'),('M','00000816','DE12500105170648489890'),"
                   "('M','00000817','DE12500105170648489890'),('M','00000999','DE75512108001245126199'),"
                   "('L','DRUCKEREI SCHMIDT','DE89370400440532013000')");
}

QString vorschlagText(const Vorschlag &v)
{
    static const char *const arten[] = {"Offen", "Beitrag", "Rueckgabe", "Lieferant", "Konto"};
    return QStringLiteral("%1 %2 %3 %4").arg(arten[int(v.art)]).arg(v.mid).arg(v.konto, v.hinweis).simplified();
}

// Every account's balance "account:cents", and the members as "mid bezahlt zahlart".
S salden()
{
    S s;
    QSqlQuery q = Db::abfrage("SELECT konto,sum(cent) FROM kgkto GROUP BY konto HAVING sum(cent)<>0 ORDER BY konto");
    while (q.next())
        s << q.value(0).toString() + ":" + q.value(1).toString();
    q = Db::abfrage("SELECT mid,bezahlt,zahlart FROM mitglied ORDER BY mid");
    while (q.next())
        s << QStringList{q.value(0).toString(), q.value(1).toString(), q.value(2).toString()}.join(' ');
    return s;
}

} // namespace

class TestKontoauszug : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    void lesen_data()
    {
        QTest::addColumn<QString>("format");
        for (const char *f : {"camt.053.001.02", "camt.053.001.08", "MT940"})
            QTest::newRow(f) << QString(f);
    }
    void lesen()
    {
        QFETCH(QString, format);
        Kontoauszug a;
        QString fehler;
        QVERIFY2(Kontoauszug::lesen(datei(format), &a, &fehler), qPrintable(fehler));
        QCOMPARE(a.format, format);
        QCOMPARE(a.konto, AuszugExport::eigeneIban());
        QVERIFY(a.mitSalden);
        QCOMPARE(a.anfangssaldo, 100000);
        QCOMPARE(a.endsaldo, 100000 + 3600 + 1200 + 2400 - 3900 - 11900 + 500 + 500);
        QCOMPARE(a.anfangsdatum, QDate(2024, 3, 4));
        QCOMPARE(a.enddatum, QDate(2024, 3, 8));
        S ist, soll;
        for (const AuszugZeile &z : a.zeilen)
            ist << zeileText(z);
        for (const AuszugPosten &p : kPosten)
            soll << zeileText(p);
        QCOMPARE(ist, soll);

        // Read again, every line has the same key; the two equal gifts are told apart.
        const S schluessel = a.schluessel();
        QCOMPARE(schluessel.mid(0, 5), S({"R:REF-1", "R:REF-2a", "R:REF-2b", "R:REF-3", "R:REF-4"}));
        QVERIFY(schluessel[5].startsWith("H:"));
        QCOMPARE(schluessel[6], schluessel[5] + "#2");
        Kontoauszug b;
        QVERIFY(Kontoauszug::lesen(datei(format), &b, &fehler));
        QCOMPARE(b.schluessel(), schluessel);
    }

    // Nothing is read from a file that is no statement or is damaged; the message says what is wrong.
    void fehler_data()
    {
        QTest::addColumn<QByteArray>("daten");
        QTest::addColumn<QString>("meldung");
        const QByteArray camt = datei("camt.053.001.08");
        const QByteArray mt = datei("MT940");
        QTest::newRow("Text") << QByteArray("Liebe Kassiererin,\nanbei der Auszug.\n")
                              << "kein Kontoauszug im Format CAMT.053 oder MT940";
        QTest::newRow("camt.052") << QByteArray("<?xml version=\"1.0\"?><Document xmlns=\"urn:iso:std:iso:20022:"
                                                "tech:xsd:camt.052.001.02\"><BkToCstmrAcctRpt/></Document>")
                                  << "kein Kontoauszug im Format CAMT.053 (urn:iso:std:iso:20022:tech:xsd:camt.052";
        QTest::newRow("abgeschnitten") << camt.left(camt.size() / 2) << "endet vorzeitig";
        QTest::newRow("kaputtes XML") << QByteArray(camt).replace("</Nm>", "</Name>") << "XML-Datei ist fehlerhaft";
        QTest::newRow("ohne Stmt") << QByteArray(camt).replace("<Stmt>", "<Stmnt>").replace("</Stmt>", "</Stmnt>")
                                   << "keinen Kontoauszug";
        QTest::newRow("Betrag") << QByteArray(camt).replace(">36.00<", ">36.0.0<") << "ohne lesbaren Betrag: „36.0.0“";
        QTest::newRow("MT940 Anfangssaldo") << QByteArray(mt).replace(":60F:C240304EUR", ":60F:C2403EUR")
                                            << "MT940, Zeile 4: der Saldo „:60F:C2403EUR1000,00“ ist nicht lesbar.";
        QTest::newRow("MT940 Schlusssaldo") << QByteArray(mt).replace(":62F:C", ":62F:X") << "der Saldo „:62F:X";
        QTest::newRow("MT940 ohne Schluss") << QByteArray(mt).replace(":62F:", ":64:") << "fehlt der Schlusssaldo";
        QTest::newRow("MT940 Umsatz") << QByteArray(mt).replace(":61:240304", ":61:24O304")
                                      << "MT940, Zeile 5: der Umsatz „:61:24O304";
    }
    void fehler()
    {
        QFETCH(QByteArray, daten);
        QFETCH(QString, meldung);
        Kontoauszug a;
        a.zeilen.append(AuszugZeile());
        QString text;
        QVERIFY(!Kontoauszug::lesen(daten, &a, &text));
        QVERIFY2(text.contains(meldung), qPrintable(text));
        QVERIFY(a.zeilen.isEmpty());
    }

    void vorschlag_data()
    {
        QTest::addColumn<QString>("zweck");
        QTest::addColumn<QString>("iban");
        QTest::addColumn<int>("cent");
        QTest::addColumn<QString>("grund"); // a returned debit
        QTest::addColumn<QString>("ergebnis");
        const QString fremd = "DE75512108001245126199"; // of no member
        const QString weiss = "DE02120300000000202051";
        QTest::newRow("eigene Lastschrift") << "Mitgliedsbeitrag 2024 MITGLIEDSNR. 4711" << fremd << 3600 << ""
                                            << "Beitrag 4711 Mitgliedsnummer im Zweck";
        QTest::newRow("Mitgl.-Nr.") << "Beitrag Mitgl.-Nr.4711 Weiss" << "" << 3600 << "" << "Beitrag 4711 Mitgliedsnummer im Zweck";
        QTest::newRow("MID") << "mid 815 Jahresbeitrag" << "" << 1200 << "" << "Beitrag 815 Mitgliedsnummer im Zweck";
        QTest::newRow("Nummer vor IBAN") << "MID 815" << weiss << 1200 << "" << "Beitrag 815 Mitgliedsnummer im Zweck";
        QTest::newRow("IBAN") << "Beitrag 2024" << weiss << 3600 << "" << "Beitrag 4711 IBAN des Mitglieds";
        QTest::newRow("unbekannte Nummer, IBAN") << "MID 999" << weiss << 3600 << ""
                                                 << "Beitrag 4711 Mitglied 999 unbekannt. IBAN des Mitglieds";
        QTest::newRow("gemeinsames Konto") << "Beitrag" << "DE12500105170648489890" << 7200 << ""
                                           << "Offen 0 IBAN mehrerer Mitglieder (816, 817)";
        QTest::newRow("Jahreszahl ist keine Nummer") << "Mitgliedsbeitrag 2024" << fremd << 3600 << "" << "Offen 0";
        QTest::newRow("Lieferant") << "Rechnung 17" << "DE89370400440532013000" << -11900 << ""
                                   << "Lieferant 0 7017 IBAN des Lieferanten";
        QTest::newRow("Rücklastschrift") << "Mitgliedsbeitrag 2024 MITGLIEDSNR. 4711" << weiss << -3900 << "AC04"
                                         << "Rueckgabe 4711 Rücklastschrift AC04, Mitgliedsnummer im Zweck";
        QTest::newRow("Rücklastschrift, fremd") << "Beitrag" << fremd << -3900 << "MD06"
                                                << "Offen 0 Rücklastschrift ohne bekanntes Mitglied";
        QTest::newRow("Auszahlung an Mitglied") << "Erstattung MID 4711" << weiss << -3600 << "" << "Offen 4711 Mitgliedsnummer im Zweck";
    }
    void vorschlag()
    {
        QFETCH(QString, zweck);
        QFETCH(QString, iban);
        QFETCH(int, cent);
        QFETCH(QString, grund);
        TestDb db;
        buecher();
        AuszugZeile z;
        z.zweck = zweck;
        z.iban = iban;
        z.cent = cent;
        z.rueckgabe = !grund.isEmpty();
        z.grund = grund;
        QTEST(vorschlagText(AuszugVorschlag().vorschlag(z)), "ergebnis");
    }

    // The month posted: fees with their split, the returned debit reversed with its charges,
    // the supplier paid, a gift chosen by hand; the two lines left open stay unposted.
    // Read again, or overlapping with the next statement, no line is posted twice.
    void buchen_data() { lesen_data(); }
    void buchen()
    {
        QFETCH(QString, format);
        TestDb db;
        buecher();
        Kontoauszug a;
        QString fehler;
        QVERIFY(Kontoauszug::lesen(datei(format), &a, &fehler));
        const AuszugVorschlag vorschlaege;
        QList<Vorschlag> wahl;
        S ist;
        for (const AuszugZeile &z : a.zeilen) {
            wahl << vorschlaege.vorschlag(z);
            ist << vorschlagText(wahl.last());
        }
        QCOMPARE(ist, S({"Beitrag 4711 Mitgliedsnummer im Zweck", "Beitrag 815 Mitgliedsnummer im Zweck", "Offen 0",
                         "Rueckgabe 4711 Rücklastschrift MD06, Mitgliedsnummer im Zweck",
                         "Lieferant 0 7017 IBAN des Lieferanten", "Offen 0", "Offen 0"}));
        wahl[2].art = Vorschlag::Art::Konto;
        wahl[2].konto = "4100";
        wahl[2].kost = "SPENDE";
        wahl[2].text = "Spende Wahlkampf";

        AuszugBuchung buchung(a);
        QCOMPARE(buchung.erledigt(), QList<bool>(7, false));
        QVERIFY2(buchung.buchen("1200", wahl), qPrintable(buchung.fehler()));
        QCOMPARE(buchung.gebucht(), 5);
        // 4711's fee and its return cancel out but for the charges; 815's fee of 12.00 is split
        // 20 % Bundesverband, 50 % Kreisverband, the rest stays on 4000.
        const S nachher = salden();
        QCOMPARE(nachher, S({"08100:-240", "083105:-600", "1200:-8600", "4000:-360", "4100:-2400", "4900:300",
                             "7017:11900", "815 2024-12-31 V", "816 2023-12-31 V", "817 2023-12-31 V",
                             "4711 2023-12-31 G"}));
        QCOMPARE(TestDb::zeile("SELECT group_concat(mid||art,' ') FROM spende"), S{"4711M 815M 4711M"});
        QCOMPARE(TestDb::zeile("SELECT butext,kost,beleg FROM journdat j JOIN kgkto k ON k.datum=j.datum AND "
                               "k.lfd=j.lfd WHERE k.konto='4900'"),
                 S({"Bankgebühr Jürgen Weiß", "", "REF-3"}));

        // The same file again, and the next statement that repeats two lines: only the new line is posted.
        QList<AuszugPosten> weiter = kPosten.mid(4);
        weiter << AuszugPosten{"2024-03-11", 2000, 0, "Søren Ødegård", "DE02500105170137075030", "MID 815", "REF-5", "", 0};
        for (const QByteArray &daten : {datei(format), datei(format, weiter, 100000 - 8600 + 11900)}) {
            Kontoauszug b;
            QVERIFY(Kontoauszug::lesen(daten, &b, &fehler));
            QList<Vorschlag> alle;
            for (const AuszugZeile &z : b.zeilen)
                alle << vorschlaege.vorschlag(z);
            AuszugBuchung nochmal(b);
            QCOMPARE(nochmal.erledigt().count(true), daten == datei(format) ? 5 : 1);
            QVERIFY(nochmal.buchen("1200", alle));
            QCOMPARE(nochmal.gebucht(), daten == datei(format) ? 0 : 1);
        }
        QCOMPARE(TestDb::anzahl("SELECT count(*) FROM auszugzeile"), 6);
        QCOMPARE(TestDb::zeile("SELECT bezahlt FROM mitglied WHERE mid=815"), S{"2025-12-31"});
    }

    // A line that cannot be posted (no free entry number on its date) leaves the whole statement unposted.
    void buchenScheitert()
    {
        TestDb db;
        buecher();
        Db::ausfuehren("INSERT INTO journdat (datum,lfd,butext) VALUES ('2024-03-07',9999,'voll')");
        const S vorher = salden();
        Kontoauszug a;
        QString fehler;
        QVERIFY(Kontoauszug::lesen(datei("MT940"), &a, &fehler));
        QList<Vorschlag> wahl;
        for (const AuszugZeile &z : a.zeilen)
            wahl << AuszugVorschlag().vorschlag(z);
        AuszugBuchung buchung(a);
        QVERIFY(!buchung.buchen("1200", wahl));
        QCOMPARE(buchung.fehler(), "Zeile 5 (07.03.2024, -119,00 EUR): Fehler beim Generieren der Nummer");
        QCOMPARE(salden(), vorher);
        QCOMPARE(TestDb::anzahl("SELECT count(*) FROM journdat") + TestDb::anzahl("SELECT count(*) FROM auszugzeile")
                     + TestDb::anzahl("SELECT count(*) FROM spende"),
                 1);
    }

    // The month read, checked and posted in the dialog as the treasurer does it; read again, nothing is left to post.
    void dialog()
    {
        TestDb db;
        buecher();
        // The books hold the balance of the statement's start.
        UtilBuch(QDate(2024, 1, 2), 0, "VORTRAG", "", "Vortrag", 100000, "1200", "4100", "", "");
        const QString pfad = db.verzeichnis() + "/maerz.sta";
        QFile f(pfad);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(datei("MT940")) > 0);
        f.close();
        QFile kaputt(db.verzeichnis() + "/kaputt.xml");
        QVERIFY(kaputt.open(QIODevice::WriteOnly) && kaputt.write(datei("camt.053.001.02").left(900)) > 0);
        kaputt.close();

        SkriptInteraktion skript;
        for (int runde = 0; runde < 2; ++runde) {
            AuszugImport d;
            QVERIFY(DialogTreiber::zeige(&d));
            const auto feld = [&d](const char *name) { return d.findChild<QLineEdit *>(name); };
            const auto text = [&d](const char *name) { return d.findChild<QLabel *>(name)->text(); };
            auto *liste = d.findChild<QTableWidget *>("liste");
            const auto spalte = [liste](int s) {
                S texte;
                for (int i = 0; i < liste->rowCount(); ++i)
                    texte << liste->item(i, s)->text();
                return texte;
            };
            // A damaged file first: its message, and nothing read.
            skript.antworteText(kaputt.fileName());
            skript.antworte(QMessageBox::Ok);
            QVERIFY(DialogTreiber::alt(&d, Qt::Key_D));
            QVERIFY(skript.anfragen().last().text.contains("endet vorzeitig"));
            QCOMPARE(liste->rowCount(), 0);

            skript.antworteText(pfad);
            QVERIFY(DialogTreiber::alt(&d, Qt::Key_D));
            QCOMPARE(spalte(1), S({"36,00", "12,00", "24,00", "-39,00", "-119,00", "5,00", "5,00"}));
            if (runde == 1) {
                // The account is remembered for the statement's IBAN; the posted lines are done.
                QCOMPARE(feld("konto")->text(), "1200");
                QVERIFY(text("info").endsWith("7 Zeilen, 6 schon gebucht"));
                QCOMPARE(spalte(5), S({"erledigt", "erledigt", "erledigt", "erledigt", "erledigt", "erledigt", "offen"}));
                QVERIFY(DialogTreiber::alt(&d, Qt::Key_B));
                QCOMPARE(text("meldung"), "Keine Zeile zu buchen");
                break;
            }
            QCOMPARE(text("info"), "MT940, Konto DE44 5001 0517 5407 3249 31, 04.03.2024 bis 08.03.2024: 7 Zeilen, 0 schon gebucht");
            QCOMPARE(spalte(5), S({"Beitrag MID 4711", "Beitrag MID 815", "offen", "Rücklastschrift MID 4711",
                                   "Lieferant 7017", "offen", "offen"}));
            QVERIFY(text("salden").startsWith("Bankkonto wählen"));
            DialogTreiber::tippeReturn(feld("konto"), "1200");
            QCOMPARE(text("salden"), "Endsaldo laut Auszug 924,00 EUR, laut Büchern nach dem Buchen 890,00 EUR: "
                                     "Differenz 34,00 EUR.");

            // The gift chosen by hand: an account without cost centre is refused.
            liste->selectRow(2);
            DialogTreiber::tippe(feld("wahlKonto"), "4100");
            QVERIFY(DialogTreiber::alt(&d, Qt::Key_Z));
            QCOMPARE(text("meldung"), "Kostenstelle fehlt");
            DialogTreiber::tippe(feld("kost"), "SPENDE");
            DialogTreiber::tippe(feld("text"), "Spende Wahlkampf");
            QVERIFY(DialogTreiber::alt(&d, Qt::Key_Z));
            QCOMPARE(spalte(5)[2], "Konto 4100 SPENDE");
            // On to the next open line: a member's gift, by number; a number and an account are one too many.
            QCOMPARE(liste->currentRow(), 5);
            DialogTreiber::tippe(feld("mid"), "815");
            DialogTreiber::tippe(feld("wahlKonto"), "4100");
            QVERIFY(DialogTreiber::alt(&d, Qt::Key_Z));
            QCOMPARE(text("meldung"), "Entweder MID oder Konto angeben");
            feld("wahlKonto")->clear();
            QVERIFY(DialogTreiber::alt(&d, Qt::Key_Z));
            QCOMPARE(spalte(5)[5], "Beitrag MID 815");
            QCOMPARE(text("salden"), "Endsaldo laut Auszug 924,00 EUR, laut Büchern nach dem Buchen 919,00 EUR: "
                                     "Differenz 5,00 EUR.");

            // The difference is shown before anything is posted: No leaves the books alone.
            skript.antworte(QMessageBox::No);
            QVERIFY(DialogTreiber::alt(&d, Qt::Key_B));
            QVERIFY(skript.anfragen().last().text.endsWith("Differenz 5,00 EUR.\n\nTrotzdem buchen?"));
            QCOMPARE(TestDb::anzahl("SELECT count(*) FROM auszugzeile"), 0);
            skript.antworte(QMessageBox::Yes);
            QVERIFY(DialogTreiber::alt(&d, Qt::Key_B));
            QCOMPARE(text("meldung"), "6 Zeilen gebucht, 1 offen");
            QCOMPARE(spalte(5)[4], "erledigt");
            QCOMPARE(TestDb::zeile("SELECT sum(cent) FROM kgkto WHERE konto='1200'"), S{"91900"});
        }
        QCOMPARE(skript.unerwartet(), 0);
    }
};

QTEST_MAIN(TestKontoauszug)
#include "tst_kontoauszug.moc"
