// The journal dialog driven like a user: keys into its fields, accelerators
// for its buttons, the database checked afterwards.

#include "db.h"
#include "dialogdriver.h"
#include "journal.h"
#include "testdb.h"
#include "wbetrag.h"
#include "wdatum.h"
#include "wkonto.h"
#include "wmitglied.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

const QDate kTag(2024, 3, 15);
const QString kIso = "2024-03-15";
using S = QStringList;
using DialogTreiber::tippe, DialogTreiber::tippeReturn;

// Writes an entry straight into the tables, so the books do not lean on the code under test;
// its accounts go into the chart, so a save may book on them again.
void eintrag(const QDate &tag, int lfd, const QString &text, qint64 cent, const QString &konto = "1200",
             const QString &gkonto = "4000", int mid = 0)
{
    const QString d = tag.toString(Qt::ISODate);
    Db::ausfuehren("INSERT INTO journdat (datum,lfd,kost,beleg,extlfd,butext,erfasst,art,beschluss) "
                   "VALUES (?,?,'KST','B1','0',?,'2024-01-01 10:00:00','','')", {d, lfd, text});
    Db::ausfuehren("INSERT INTO kgkto (datum,lfd,kg,konto,cent,abstimm) VALUES (?,?,'1',?,?,'0'),(?,?,'2',?,?,'0')",
                   {d, lfd, konto, cent, d, lfd, gkonto, -cent});
    Db::ausfuehren("INSERT OR IGNORE INTO kontenplan (konto,text) VALUES (?,'K'),(?,'K')", {konto, gkonto});
    if (mid)
        Db::ausfuehren("INSERT INTO spende (jdatum,jlfd,mid,sortname,art,gliederung,quittung,prozint,prozbuv,prozlv,"
                       "prozbzv,prozkv,prozov) VALUES (?,?,?,'','G','','1900-01-01',0,0,10000,0,0,0)", {d, lfd, mid});
}

int anzahl(const char *tabelle) { return TestDb::anzahl(QString("SELECT count(*) FROM ") + tabelle); }

// The journal's widgets, found as the user sees them.
struct Fenster
{
    template <typename T> T *w(const char *name) { return d->findChild<T *>(QLatin1String(name)); }
    std::unique_ptr<Journal> d = std::make_unique<Journal>();
    WDatum *datum = w<WDatum>("datum");
    QLineEdit *nummer = w<QLineEdit>("nummer"), *text = w<QLineEdit>("text"), *kost = w<QLineEdit>("kost");
    QLineEdit *beleg = w<QLineEdit>("beleg"), *beschluss = w<QLineEdit>("beschluss");
    WKonto *konto = w<WKonto>("konto"), *gkonto = w<WKonto>("gkonto");
    WBetrag *betrag = w<WBetrag>("betrag");
    QTableView *liste = w<QTableView>("liste");
    QLabel *spendeLabel = w<QLabel>("spendeLabel");
    const bool gezeigt = DialogTreiber::zeige(d.get());

    // Picks an entry the way the user does: date, then number and Return.
    void oeffne(const QDate &tag, const QString &nr) { datum->setDatum(tag), nummer->clear(), tippeReturn(nummer, nr); }
    bool alt(Qt::Key taste) { return DialogTreiber::alt(d.get(), taste); }
    bool bearbeitet() const { return !nummer->isEnabled() && text->isEnabled(); }
    QString zelle(int r, int s) const { return liste->model()->index(r, s).data().toString(); }
};

} // namespace

class TestJournal : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDb> m_db;

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German)); }
    void init() { QVERIFY((m_db = std::make_unique<TestDb>())->ok()); }
    void cleanup() { m_db.reset(); }

    void speichern_data()
    {
        QTest::addColumn<QList<int>>("vorhanden");
        for (const char *s : {"text", "kost", "konto", "gkonto", "euro", "feld", "meldung"})
            QTest::addColumn<QString>(s);
        // The number it gets; 0: blocked by `feld`; -1: no number left; -2: the donation row cannot be written.
        QTest::addColumn<int>("lfd");
        const QString t = "Miete März", g = "Gespeichert: 15.03.2024 Nr. ";
        QTest::newRow("erster des Tages") << QList<int>{} << t << "GS" << "1200" << "4711" << "12,34" << "" << g + "1, 12,34 EUR" << 1;
        QTest::newRow("nach Lücke") << QList<int>{1, 2, 7} << t << "GS" << "1200" << "4711" << "100" << "" << g + "8, 100,00 EUR" << 8;
        QTest::newRow("negativ") << QList<int>{3} << t << "GS" << "1200" << "4711" << "-5,00" << "" << g + "4, -5,00 EUR" << 4;
        // An account that names a member is stored as the member's account, as its label shows it.
        QTest::newRow("Mitgliedskonto") << QList<int>{} << t << "GS" << "1200" << "20 0104711" << "1" << "" << g + "1, 1,00 EUR" << 1;
        QTest::newRow("Spende scheitert") << QList<int>{} << t << "GS" << "1200" << "4711" << "1" << "" << "" << -2;
        QTest::newRow("Datum voll") << QList<int>{9999} << t << "GS" << "1200" << "4711" << "1" << "" << "" << -1;
        QTest::newRow("alles fehlt") << QList<int>{} << "" << "" << "" << "" << "0" << "text" << "Text fehlt" << 0;
        QTest::newRow("Text Leerzeichen") << QList<int>{} << "   " << "GS" << "1200" << "4000" << "5" << "text" << "Text fehlt" << 0;
        QTest::newRow("Kostenstelle") << QList<int>{} << t << "" << "1200" << "4000" << "5" << "kost" << "Kostenstelle fehlt" << 0;
        QTest::newRow("Konto ohne Ziffern") << QList<int>{} << t << "GS" << "1X" << "4000" << "5" << "konto" << "Konto fehlt" << 0;
        QTest::newRow("Konto unbekannt") << QList<int>{} << t << "GS" << "1299" << "4000" << "5" << "konto" << "Konto unbekannt" << 0;
        QTest::newRow("Mitglied unbekannt") << QList<int>{} << t << "GS" << "1200" << "20104712" << "5" << "gkonto" << "Gegenkonto unbekannt" << 0;
        QTest::newRow("Gegenkonto") << QList<int>{} << t << "GS" << "1200" << "" << "5" << "gkonto" << "Gegenkonto fehlt" << 0;
        QTest::newRow("Betrag 0") << QList<int>{} << t << "GS" << "1200" << "4000" << "0" << "betrag" << "Betrag fehlt" << 0;
    }

    void speichern()
    {
        QFETCH(QList<int>, vorhanden); QFETCH(QString, text); QFETCH(QString, kost); QFETCH(QString, konto);
        QFETCH(QString, gkonto); QFETCH(QString, euro); QFETCH(QString, feld); QFETCH(QString, meldung);
        QFETCH(int, lfd);
        for (int n : vorhanden)
            eintrag(kTag, n, "alt", 100);
        eintrag(kTag.addDays(1), 50, "anderer Tag", 100);
        Db::ausfuehren("INSERT INTO mitglied (mid,gliederung,bezahlt,eintritt,austritt) "
                       "VALUES (4711,'','2023-12-31','2010-01-01','2200-01-01')");
        Db::ausfuehren("INSERT INTO adresse (art,key,suchname,name1,name2) "
                       "VALUES ('M','00004711','MEIER','Meier','Hans')");
        Db::ausfuehren("INSERT INTO kontenplan (konto,text) VALUES ('4711','Miete')");
        TestDb::setParameter("Konten/PrefMitglied", "20");
        TestDb::setParameter("Konten/AddMitglied", "100000");
        SkriptInteraktion skript;
        if (lfd < 0)
            skript.antworte(QMessageBox::Ok);
        if (lfd == -2)
            Db::ausfuehren("CREATE TRIGGER kaputt BEFORE INSERT ON spende BEGIN SELECT RAISE(ABORT,'kaputt'); END");
        Fenster f;
        QVERIFY(f.gezeigt && !f.bearbeitet());
        f.oeffne(kTag, QString()); // Return in the empty number field starts a new entry
        QVERIFY(f.bearbeitet() && f.nummer->text() == "0");
        tippe(f.text, text), tippe(f.kost, kost), tippe(f.konto, konto), tippe(f.gkonto, gkonto);
        tippe(f.beleg, "K'17"), tippe(f.beschluss, "V  2024/3"), f.betrag->selectAll(), tippe(f.betrag, euro);
        if (lfd != 0) { // with a donor, whose split is written only together with the entry
            DialogTreiber::beiModal([](QDialog *d) {
                tippeReturn(d->findChild<WMitglied *>(), "4711");
                auto *art = d->findChild<QComboBox *>();
                art->setCurrentIndex(art->findText("Allgemeine Geldspende"));
                if (!DialogTreiber::alt(d, Qt::Key_S))
                    d->done(-1);
            });
            QVERIFY(f.alt(Qt::Key_P) && DialogTreiber::gelaufen() && f.spendeLabel->text().contains("Meier"));
        }
        f.text->setFocus();
        QVERIFY(f.alt(Qt::Key_S));
        // Beside the buttons: the entry just saved, or why the save was refused.
        QCOMPARE(f.w<QLabel>("meldung")->text(), meldung);

        if (lfd <= 0) { // nothing written, the entry stays open
            const int n = vorhanden.size() + 1;
            QCOMPARE((QList<int>{anzahl("journdat"), anzahl("kgkto"), anzahl("spende")}), (QList<int>{n, 2 * n, 0}));
            QVERIFY(f.bearbeitet() && f.text->text() == text && skript.anfragen().size() == (lfd < 0 ? 1 : 0));
            QCOMPARE(lfd ? skript.anfragen()[0].text : f.d->focusWidget()->objectName(),
                     lfd == -1   ? "Fehler beim Generieren der Nummer"
                     : lfd == -2 ? "Buchung konnte nicht gespeichert werden\nSpeichern fehlgeschlagen: kaputt"
                                 : feld);
            if (meldung.endsWith("unbekannt")) // the account's label says it too
                QCOMPARE(f.w<QLabel>(feld == "konto" ? "kontoLabel" : "gkontoLabel")->text(), "unbekanntes Konto");
            return;
        }
        QCOMPARE(skript.unerwartet(), 0);
        QCOMPARE(TestDb::zeile("SELECT jdatum,jlfd,mid,art,count(*) FROM spende"),
                 (S{kIso, QString::number(lfd), "4711", "G", "1"}));
        const qint64 cent = qRound64(QLocale().toDouble(euro) * 100);
        QCOMPARE(TestDb::zeile("SELECT kost,beleg,butext,beschluss FROM journdat WHERE datum=? AND lfd=?", {kIso, lfd}),
                 (S{"GS", "K`17", "Miete März", "V 2024/3"}));
        QCOMPARE(TestDb::zeile("SELECT a.konto,a.cent,b.konto,b.cent FROM kgkto a JOIN kgkto b USING (datum,lfd) "
                               "WHERE a.kg='1' AND b.kg='2' AND datum=? AND lfd=?", {kIso, lfd}),
                 (S{"1200", QString::number(cent), gkonto.startsWith("20") ? "20104711" : gkonto,
                    QString::number(-cent)}));
        // Back in the selection state, ready for the next number, the new entry listed.
        QVERIFY(!f.bearbeitet() && (f.nummer->text() + f.text->text() + f.spendeLabel->text()).isEmpty());
        QCOMPARE(f.d->focusWidget(), f.nummer);
        QCOMPARE((S{f.zelle(1, 1), f.zelle(1, 3)}), (S{QString::number(lfd), "Miete März"}));
    }

    void listeLesenAendern()
    {
        // Thirteen entries over three days, written out of order.
        for (int lfd = 1; lfd <= 5; ++lfd)
            for (const QDate &tag : {kTag, kTag.addDays(-40), kTag.addDays(2)})
                if (lfd <= 4 || tag == kTag)
                    eintrag(tag, lfd, QString("%1/%2").arg(tag.day()).arg(lfd), 123456 * lfd,
                            QString("12%1").arg(lfd), QString("40%1").arg(lfd));
        SkriptInteraktion skript;
        Fenster f;
        S gelesen;
        for (int r = 0; r < f.liste->model()->rowCount(); ++r)
            gelesen << f.zelle(r, 0).left(2) + '/' + f.zelle(r, 1);
        // The ten newest: newest date first, highest number first within a date.
        QCOMPARE(gelesen, S({"17/4", "17/3", "17/2", "17/1", "15/5", "15/4", "15/3", "15/2", "15/1", "04/4"}));
        QCOMPARE((S{f.zelle(4, 0), f.zelle(4, 2), f.zelle(4, 3), f.zelle(4, 4), f.zelle(4, 5), f.zelle(4, 6)}),
                 (S{"15.03.2024", "KST", "15/5", "125", "405", "6.172,80"}));

        // A click on a row reads that entry; a complete one puts the focus on "Abbruch".
        DialogTreiber::klicke(f.liste, f.liste->model()->index(4, 3));
        QVERIFY(f.gezeigt && f.bearbeitet());
        QCOMPARE((S{f.datum->date().toString(Qt::ISODate), f.nummer->text(), f.text->text(), f.kost->text(),
                    f.beleg->text(), f.konto->text(), f.gkonto->text(), f.betrag->text()}),
                 (S{kIso, "5", "15/5", "KST", "B1", "125", "405", "6.172,80"}));
        QCOMPARE(f.d->focusWidget()->property("text").toString(), "&Abbruch");
        // Date and number are locked while editing: typing or clicking another row changes nothing.
        tippeReturn(f.nummer, "1");
        DialogTreiber::klicke(f.liste, f.liste->model()->index(0, 3));
        QVERIFY(!f.datum->isEnabled() && f.nummer->text() == "5" && f.text->text() == "15/5");
        // Return never presses a button; Alt+S rewrites the entry under its number.
        f.text->selectAll(), tippe(f.text, "Geändert"), f.betrag->selectAll(), tippe(f.betrag, "-1,5");
        QTest::keyClick(f.text, Qt::Key_Return), QTest::keyClick(f.d.get(), Qt::Key_Return);
        const QString sql = "SELECT butext,cent FROM journdat JOIN kgkto USING (datum,lfd) WHERE datum=? AND lfd=? "
                            "AND kg='2'";
        QVERIFY(f.bearbeitet() && f.d->isVisible() && TestDb::zeile(sql, {kIso, 5}).value(0) == "15/5");
        QVERIFY(f.alt(Qt::Key_S));
        QCOMPARE(TestDb::zeile(sql, {kIso, 5}) + TestDb::zeile(sql, {kIso, 4}),
                 (S{"Geändert", "150", "15/4", "-493824"}));
        QCOMPARE((QList<int>{anzahl("journdat"), anzahl("kgkto")}), (QList<int>{13, 26}));
        // A number that does not exist on the date is ignored.
        f.oeffne(kTag.addDays(1), "1");
        QVERIFY(!f.bearbeitet() && f.text->text().isEmpty());

        // Escape, closing the window and "Abbruch" only leave the entry; "Löschen" drops a new one unasked.
        const std::function<void()> wege[] = {[&] { QTest::keyClick(f.text, Qt::Key_Escape); }, [&] { f.d->close(); },
                                               [&] { f.alt(Qt::Key_A); }, [&] { f.alt(Qt::Key_L); }};
        for (int weg = 0; weg < 4; ++weg) {
            f.oeffne(kTag, weg == 3 ? QString() : "1");
            QVERIFY(f.bearbeitet());
            wege[weg]();
            QVERIFY(f.d->isVisible() && !f.bearbeitet() && f.text->text().isEmpty());
        }
        QTest::keyClick(f.nummer, Qt::Key_Escape); // in the selection Escape closes
        QVERIFY(!f.d->isVisible() && f.d->result() == QDialog::Rejected);
        QVERIFY(anzahl("journdat") == 13 && skript.anfragen().isEmpty());
    }

    void einzelEintrag_data()
    {
        QTest::addColumn<int>("taste");
        QTest::addColumn<int>("ergebnis");
        QTest::addColumn<QString>("text"); // of entry 7 afterwards; empty when it is gone
        QTest::newRow("Speichern") << int(Qt::Key_S) << int(QDialog::Accepted) << "Korrigiert";
        QTest::newRow("Abbruch") << int(Qt::Key_A) << int(QDialog::Rejected) << "Alt";
        QTest::newRow("Löschen Ok") << int(Qt::Key_L) << int(QDialog::Accepted) << "";
        QTest::newRow("Löschen abgelehnt") << int(Qt::Key_L) << -1 << "Alt";
    }

    void einzelEintrag()
    {
        QFETCH(int, taste); QFETCH(int, ergebnis); QFETCH(QString, text);
        eintrag(kTag, 7, "Alt", 2500, "1200", "4000", 42);
        eintrag(kTag.addDays(1), 7, "Bleibt auch", 1000, "1200", "4000", 44);
        SkriptInteraktion skript;
        skript.antworte(ergebnis == -1 ? QMessageBox::Cancel : QMessageBox::Ok); // asked only on "Löschen"
        Journal dialog;
        bool bearbeitet = false;
        DialogTreiber::beiModal([&](QDialog *d) {
            auto *feld = d->findChild<QLineEdit *>("text");
            bearbeitet = feld->isEnabled() && feld->text() == "Alt";
            feld->selectAll(), tippe(feld, "Korrigiert");
            if (!DialogTreiber::alt(d, taste) || d->isVisible())
                d->done(-1); // never hang on a dialog that did not close
        });
        QCOMPARE(dialog.exec(kTag, 7), ergebnis);
        QVERIFY(DialogTreiber::gelaufen() && bearbeitet);
        QVERIFY(skript.unerwartet() == 0 && skript.offen() == (taste == Qt::Key_L ? 0 : 1));
        QCOMPARE(TestDb::zeile("SELECT butext FROM journdat WHERE datum=? AND lfd=7", {kIso}).value(0), text);
        // Deleting takes the donation rows, the lines and the entry, of that date only, in one transaction.
        const int r = text.isEmpty() ? 0 : 1;
        QCOMPARE((QList<int>{anzahl("spende"), anzahl("kgkto"), anzahl("journdat")}),
                 (QList<int>{1 + r, 2 + 2 * r, 1 + r}));
        QVERIFY(Db::begin() && Db::rollback()); // none left open behind the dialog's back
    }
};

QTEST_MAIN(TestJournal)
#include "tst_journal.moc"
