// Bank and cash entry driven like a user, and the road of one fee payment from
// the bank statement through the donation split to the journal.

#include "db.h"
#include "dialogdriver.h"
#include "parameter.h"
#include "testdb.h"
#include "velamain.h"
#include "wmitglied.h"
#include "zahlungen.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QRegularExpression>
#include <QtTest>

#include <memory>

namespace {

const QDate kTag(2024, 3, 15);
const QString kIso = "2024-03-15";
using S = QStringList;

int anzahl(const char *tabelle) { return TestDb::anzahl(QString("SELECT count(*) FROM ") + tabelle); }

// The entries of the day: "number|cost centre|voucher|text|resolution|account|cents|contra account|cents".
S buchungen()
{
    return TestDb::zeile("SELECT group_concat(z,'/') FROM (SELECT j.lfd||'|'||j.kost||'|'||ifnull(j.beleg,'')||'|'||"
                         "j.butext||'|'||ifnull(j.beschluss,'')||'|'||a.konto||'|'||a.cent||'|'||b.konto||'|'||b.cent "
                         "AS z FROM journdat j JOIN kgkto a ON a.datum=j.datum AND a.lfd=j.lfd AND a.kg='1' JOIN kgkto "
                         "b ON b.datum=j.datum AND b.lfd=j.lfd AND b.kg='2' WHERE j.datum=? ORDER BY j.lfd)", {kIso})
        .value(0).split('/', Qt::SkipEmptyParts);
}

// The form's fields by name, typed into and read as the user sees them.
struct Form
{
    QDialog *d;
    QWidget *w(const QString &name) const { return d->findChild<QWidget *>(name); }
    QString zeigt(const QString &name) const { return w(name)->property("text").toString(); }
    // Puts the date to kTag and types {name, text, name, text, ...} into the fields.
    void fuelle(const S &paare)
    {
        w("datum")->setProperty("date", kTag);
        for (int i = 0; i + 1 < paare.size(); i += 2) {
            QMetaObject::invokeMethod(w(paare[i]), "clear");
            DialogTreiber::tippe(w(paare[i]), paare[i + 1]);
        }
    }
    // Everything the user sees, to compare before and after.
    S inhalt() const
    {
        S namen{"konto", "datum", "betrag", "text", "kost", "beschluss", "beleg", "gkonto", "spendeLabel"}, s;
        for (int i = 0; i < 6; ++i)
            namen << QString("aufBetrag%1").arg(i) << QString("aufKost%1").arg(i) << QString("aufKonto%1").arg(i);
        for (const QString &n : namen)
            s << zeigt(n);
        return s;
    }
    bool alt(Qt::Key taste) const { return DialogTreiber::alt(d, taste); }
};

// Runs the action on the next modal dialog, shown and active; closes it if the action did not.
void imDialog(std::function<void(QDialog *)> aktion)
{
    DialogTreiber::beiModal([aktion](QDialog *d) {
        if (DialogTreiber::zeige(d))
            aktion(d);
        if (d->isVisible())
            d->done(-1);
    });
}

void spendenparam(const QString &werte)
{
    Db::ausfuehren("INSERT INTO spendenparam (art,prozint,prozbuv,prozlv,prozbzv,prozkv,prozov,midbuchung,kontokasse,"
                   "kontobank,kontoanonkasse,kontoanonbank,kontojurkasse,kontojurbank,kostkasse,kostbank,kostanonkasse,"
                   "kostanonbank,kostjurkasse,kostjurbank) VALUES (" + werte + ")");
}

} // namespace

class TestZahlungen : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDb> m_db;

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German)); }
    void init()
    {
        QVERIFY((m_db = std::make_unique<TestDb>())->ok());
        // Only accounts that resolve to something can be booked.
        for (const char *k : {"1200", "4000", "08210", "08100"})
            Db::ausfuehren("INSERT INTO kontenplan (konto,text) VALUES (?,'K')", {k});
    }
    void cleanup() { m_db.reset(); }

    void speichern_data()
    {
        QTest::addColumn<QString>("feld"); // the one field spoilt, where the focus goes
        QTest::addColumn<QString>("wert");
        QTest::addColumn<int>("vorher");     // an entry already on the date
        QTest::addColumn<QString>("zeilen"); // the two split lines used
        QTest::addColumn<QString>("meldung"); // beside the buttons
        const QString g = "Gespeichert: 15.03.2024 Nr. ";
        QTest::newRow("erste Zeilen, leerer Tag") << "" << "" << 0 << "01" << g + "1, 60,00 EUR";
        QTest::newRow("Lücken, Nummer 4 besetzt") << "" << "" << 4 << "25" << g + "5, 60,00 EUR";
        QTest::newRow("keine Nummer mehr") << "" << "" << 9999 << "01" << "";
        QTest::newRow("Konto fehlt") << "konto" << "" << 0 << "01" << "Konto fehlt";
        QTest::newRow("Konto ist Suchtext") << "konto" << "MMeier" << 0 << "01" << "Konto fehlt";
        QTest::newRow("Konto unbekannt") << "konto" << "1201" << 0 << "01" << "Konto unbekannt";
        QTest::newRow("Betrag 0") << "betrag" << "0" << 0 << "01" << "Betrag fehlt";
        QTest::newRow("Text") << "text" << " " << 0 << "01" << "Text fehlt";
        QTest::newRow("Kostenstelle") << "kost" << "" << 0 << "01" << "Kostenstelle fehlt";
        QTest::newRow("Gegenkonto") << "gkonto" << "" << 0 << "01" << "Gegenkonto fehlt";
        QTest::newRow("Aufteilung ohne Konto") << "aufKonto2" << "" << 0 << "21" << "Aufteilung 3: Konto fehlt";
        QTest::newRow("Aufteilung ohne Ziffern") << "aufKonto2" << "X1" << 0 << "21" << "Aufteilung 3: Konto fehlt";
        QTest::newRow("Aufteilung unbekannt") << "aufKonto2" << "08211" << 0 << "21" << "Aufteilung 3: Konto unbekannt";
    }

    void speichern()
    {
        QFETCH(QString, feld); QFETCH(QString, wert); QFETCH(int, vorher); QFETCH(QString, zeilen);
        QFETCH(QString, meldung);
        Db::ausfuehren("INSERT INTO journdat (datum,lfd,butext) SELECT ?,?,'alt' WHERE ?>0", {kIso, vorher, vorher});
        const bool voll = vorher == 9999;
        SkriptInteraktion skript;
        skript.antworte(QMessageBox::Ok); // for the message on a failed posting
        Zahlungen dialog;
        QVERIFY(DialogTreiber::zeige(&dialog));
        Form f{&dialog};
        // Split line B has no cost centre of its own: it takes the main one. An account without amount is no split.
        S eingabe{"konto", "1200", "betrag", "60", "text", "Sammelüberweisung 'März'", "kost", "BEITRAG", "beschluss",
                  "V 12", "beleg", "KA 3", "gkonto", "4000", "aufBetragA", "20", "aufKostA", "LV", "aufKontoA", "08210",
                  "aufBetragB", "10", "aufKontoB", "08100", "aufKonto3", "08999"};
        eingabe.replaceInStrings(QRegularExpression("^(auf.*)A$"), "\\1" + zeilen.left(1));
        eingabe.replaceInStrings(QRegularExpression("^(auf.*)B$"), "\\1" + zeilen.right(1));
        if (!feld.isEmpty())
            eingabe[eingabe.indexOf(feld) + 1] = wert;
        f.fuelle(eingabe);
        S davor = f.inhalt();
        QVERIFY(f.alt(Qt::Key_S));
        QCOMPARE(f.zeigt("meldung"), meldung);

        if (voll || !feld.isEmpty()) { // nothing written, the fields stay; a failed posting says so
            QCOMPARE((QList<int>{anzahl("journdat"), anzahl("kgkto"), anzahl("spende")}), (QList<int>{voll, 0, 0}));
            if (feld != "kost") // split line 1 has an amount and took the main cost centre
                davor[13] = "BEITRAG";
            if (meldung.endsWith("unbekannt")) // and the account's label says so
                QCOMPARE(f.zeigt(feld == "konto" ? "kontoLabel" : "aufLabel2"), "unbekanntes Konto");
            QCOMPARE(f.inhalt(), davor);
            QVERIFY(skript.unerwartet() == 0 && skript.offen() == (voll ? 0 : 1));
            QCOMPARE(voll ? skript.anfragen().value(0).text : dialog.focusWidget()->objectName(),
                     voll ? "Fehler beim Generieren der Nummer" : feld);
            return;
        }
        // The entry before keeps its number; the new ones follow, with their signs.
        QCOMPARE(skript.unerwartet(), 0);
        const auto nr = [vorher](int i) { return QString::number(vorher + i); };
        const QString t = "|Sammelüberweisung `März`|";
        QCOMPARE(buchungen(), S({nr(1) + "|BEITRAG|KA 3" + t + "V 12|1200|6000|4000|-6000",
                                 nr(2) + "|LV|" + t + "|4000|2000|08210|-2000",
                                 nr(3) + "|BEITRAG|" + t + "|4000|1000|08100|-1000"}));
        // Ready for the next statement line: account and date stay, the focus on the date.
        QCOMPARE(f.inhalt().join('|'), "1200|15.03.2024|0,00||||||" + QString("|0,00||").repeated(6));
        QVERIFY(dialog.isVisible() && dialog.focusWidget() == f.w("datum"));
    }

    void aufteilungScheitert()
    {
        // A split entry that cannot be written takes the whole line back; the form keeps it.
        Db::ausfuehren("CREATE TRIGGER kaputt BEFORE INSERT ON kgkto WHEN NEW.konto='08100' "
                       "BEGIN SELECT RAISE(ABORT,'kaputt'); END");
        SkriptInteraktion skript;
        skript.antworte(QMessageBox::Ok);
        Zahlungen dialog;
        QVERIFY(DialogTreiber::zeige(&dialog));
        Form f{&dialog};
        f.fuelle({"konto", "1200", "betrag", "60", "text", "Beitrag", "kost", "BEITRAG", "gkonto", "4000", "aufBetrag0",
                  "20", "aufKost0", "LV", "aufKonto0", "08210", "aufBetrag1", "10", "aufKost1", "KV", "aufKonto1", "08100"});
        const S davor = f.inhalt();
        QVERIFY(f.alt(Qt::Key_S));
        QCOMPARE(skript.anfragen().value(0).text,
                 "Buchung konnte nicht gespeichert werden\nSpeichern fehlgeschlagen: kaputt");
        QCOMPARE(anzahl("journdat") + anzahl("kgkto"), 0);
        QCOMPARE(f.inhalt(), davor);
    }

    void spenden_data()
    {
        QTest::addColumn<QString>("konto");
        QTest::addColumn<bool>("kasse");
        QTest::addColumn<bool>("abbruch");
        for (const char *k : {"1000", "1050", "1099", "10500"})
            QTest::newRow(k) << k << true << false;
        for (const char *k : {"999", "1100", "10995", "1200"})
            QTest::newRow(k) << k << false << false;
        QTest::newRow("Spende abgebrochen") << "1000" << true << true;
    }

    void spenden()
    {
        QFETCH(QString, konto); QFETCH(bool, kasse); QFETCH(bool, abbruch);
        // An anonymous gift: the kind's accounts tell cash from bank.
        spendenparam("'Z',0,0,10000,0,0,0,'N','8001','8002','8101','8102','8201','8202','KK','KB','AK','AB','JK','JB'");
        SkriptInteraktion skript;
        Zahlungen dialog;
        QVERIFY(DialogTreiber::zeige(&dialog));
        Form f{&dialog};
        f.fuelle({"konto", konto, "betrag", "42,50", "text", "Bar", "kost", "SP", "gkonto", "8000", "aufBetrag1", "2,5",
                  "aufKost1", "X", "aufKonto1", "08100"});
        const S vorher = f.inhalt();
        imDialog([abbruch](QDialog *d) {
            auto *art = d->findChild<QComboBox *>();
            art->setCurrentIndex(art->findText("Zweckgebundene Geldspende"));
            DialogTreiber::alt(d, abbruch ? Qt::Key_A : Qt::Key_S);
        });
        QVERIFY(f.alt(Qt::Key_P) && DialogTreiber::gelaufen() && skript.unerwartet() == 0);
        if (abbruch) // cancelling the donation dialog changes nothing in the form
            QCOMPARE(f.inhalt(), vorher);
        else
            QCOMPARE((S{f.zeigt("gkonto"), f.zeigt("kost"), f.zeigt("text")}),
                     (S{kasse ? "8101" : "8102", kasse ? "AK" : "AB", "Anonyme Spende"}));
        QCOMPARE(anzahl("journdat") + anzahl("spende"), 0); // the donation dialog writes nothing itself
    }

    void wegEinerBeitragszahlung()
    {
        // The books of a Landesverband with a Kreisverband below it and the Bundesverband above.
        Db::ausfuehren("INSERT INTO verband (namekurz,gegruendet,ebene,teilvon,bukto) VALUES ('BV','1990-01-01',0,'',"
                       "'100'),('LV Nord','1990-01-01',1,'BV','210'),('KV Hafen','1990-01-01',3,'LV Nord','3105')");
        const S param{"General/Gliederung", "LV Nord", "General/BeitragAb", "N", "Konten/PrefGliederung", "08",
                      "Konten/PrefMitglied", "20", "Konten/AddMitglied", "100000"};
        for (int i = 0; i < param.size(); i += 2)
            TestDb::setParameter(param[i], param[i + 1]);
        spendenparam("'M',0,2000,3000,0,5000,0,'N','4001','4000','4001','4000','4001','4000','BEITRAG','BEITRAG',"
                     "'BEITRAG','BEITRAG','BEITRAG','BEITRAG'");
        Db::ausfuehren("INSERT INTO mitglied (mid,gliederung,beitrag,eintritt,austritt,bezahlt) VALUES (4711,"
                       "'KV Hafen',6000,'2010-03-01','2200-01-01','2023-12-31')");
        Db::ausfuehren("INSERT INTO adresse (art,key,suchname,name1,name2) "
                       "VALUES ('M','00004711','MEIER','Meier','Hans')");
        UtilInit(true);
        SkriptInteraktion skript;
        VelaMain haupt;
        QAction *bankKasse = nullptr, *journal = nullptr;
        for (QAction *a : haupt.findChildren<QAction *>())
            (a->text() == "B&ank/Kasse" ? bankKasse : a->text() == "&Journal" ? journal : a) = a;
        QVERIFY(bankKasse && journal);

        // 1. The statement line in "Bank/Kasse", split by the donation dialog, saved with Alt+S, left with Alt+A.
        QString spender, zu;
        imDialog([&](QDialog *d) {
            Form f{d};
            f.fuelle({"konto", "1200", "betrag", "60,00"});
            imDialog([](QDialog *s) {
                DialogTreiber::tippeReturn(s->findChild<WMitglied *>(), "4711");
                auto *art = s->findChild<QComboBox *>();
                art->setCurrentIndex(art->findText("Mitgliedsbeitrag"));
                DialogTreiber::alt(s, Qt::Key_S);
            });
            f.alt(Qt::Key_P);
            spender = f.zeigt("spendeLabel");
            f.alt(Qt::Key_S), f.alt(Qt::Key_A);
            zu = d->isVisible() ? "offen" : "zu";
        });
        bankKasse->trigger();
        QVERIFY(spender.contains("Meier") && zu == "zu");
        // 2. The books: the main entry and one entry per unit share; the own share (18.00) stays on the fee account.
        const QString text = "MID 4711 Meier, Hans Mitgliedsbeitrag 2024";
        const S gebucht = S{"1|BEITRAG||T||1200|6000|4000|-6000", "2|BEITRAG||T||4000|1200|08100|-1200",
                            "3|BEITRAG||T||4000|3000|083105|-3000"}.replaceInStrings("|T|", "|" + text + "|");
        QCOMPARE(buchungen(), gebucht);
        // The donation row under the main entry, and the member paid for 2024.
        QCOMPARE(TestDb::zeile("SELECT jlfd,mid,sortname,art,gliederung,prozbuv,prozlv,prozkv,count(*) FROM spende"),
                 S({"1", "4711", "Meier, Hans, 00004711", "M", "KV Hafen", "2000", "3000", "5000", "1"}));
        QCOMPARE(TestDb::zeile("SELECT bezahlt FROM mitglied WHERE mid=4711"), S{"2024-12-31"});
        // 3. In the journal the entry reads back with its donor, and deleting it leaves nothing behind.
        skript.antworte(QMessageBox::Ok);
        S gelesen;
        imDialog([&](QDialog *d) {
            Form j{d};
            j.w("datum")->setProperty("date", kTag);
            DialogTreiber::tippeReturn(j.w("nummer"), "1");
            for (const char *n : {"text", "konto", "gkonto", "betrag", "spendeLabel"})
                gelesen << j.zeigt(n);
            DialogTreiber::alt(d, Qt::Key_L);
            QTest::keyClick(j.w("nummer"), Qt::Key_Escape);
        });
        journal->trigger();
        QCOMPARE(gelesen.mid(0, 4), S({text, "1200", "4000", "60,00"}));
        QVERIFY(gelesen.value(4).contains("Meier"));
        QCOMPARE(skript.unerwartet() + skript.offen(), 0);
        // The share entries are entries of their own and stay.
        QCOMPARE(buchungen(), gebucht.mid(1));
        QCOMPARE(anzahl("spende") + TestDb::anzahl("SELECT count(*) FROM kgkto WHERE lfd=1"), 0);
    }
};

QTEST_MAIN(TestZahlungen)
#include "tst_zahlungen.moc"
