// Donation receipts: which lines a member gets, the printed page read back from
// the PDF (texts, positions, the crossed circle), and the run that marks them printed.

#include "db.h"
#include "dialogdriver.h"
#include "mitglieder.h"
#include "pdfseiten.h"
#include "testdb.h"
#include "textutil.h"
#include "velamain.h"
#include "wdatum.h"
#include "wmitglied.h"
#include "zuwenddruck.h"

#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include <memory>

using namespace DialogTreiber;

namespace {

const QString kNie = "1900-01-01";
const QString kStorniert = "2200-12-31";

void adresse(int mid, const QString &name1, const QString &name2, const QString &strasse = "Weg 1",
             const QString &plz = "53111", const QString &ort = "Bonn")
{
    Db::ausfuehren("INSERT INTO adresse (art,key,name1,name2,strasse,plz,ort) VALUES ('M',?,?,?,?,?,?)",
                   {UtilMidKey(mid), name1, name2, strasse, plz, ort});
}

// A journal entry whose first line books `cent` on `konto`, and its donation row.
void spende(int mid, const QString &datum, qint64 cent, const QString &art, const QString &quittung = kNie,
            const QString &konto = "1200")
{
    const int lfd = Db::wert("SELECT count(*) FROM journdat WHERE datum=?", {datum}).toInt() + 1;
    Db::ausfuehren("INSERT INTO journdat (datum,lfd,butext) VALUES (?,?,'Spende')", {datum, lfd});
    Db::ausfuehren("INSERT INTO kgkto (datum,lfd,kg,konto,cent) VALUES (?,?,'1',?,?),(?,?,'2','4000',?)",
                   {datum, lfd, konto, cent, datum, lfd, -cent});
    Db::ausfuehren("INSERT INTO spende (jdatum,jlfd,mid,art,quittung) VALUES (?,?,?,?,?)",
                   {datum, lfd, mid, art, quittung});
}

QStringList quittungen(int mid)
{
    QStringList q;
    QSqlQuery s = Db::abfrage("SELECT quittung FROM spende WHERE mid=? ORDER BY jdatum,jlfd", {mid});
    while (s.next())
        q << s.value(0).toString();
    return q;
}

QString heute() { return UtilDatumText(QDate::currentDate()); }

// Whether `wort` stands on page 1 inside the rectangle given in inches from the paper's corner.
bool wortIn(const QString &pdf, const QString &wort, const QRectF &zoll)
{
    const QRectF punkte(zoll.x() * 72, zoll.y() * 72, zoll.width() * 72, zoll.height() * 72);
    const auto woerter = pdfWoerter(pdf);
    return std::any_of(woerter.cbegin(), woerter.cend(),
                       [&](const auto &w) { return w.first == wort && punkte.contains(w.second); });
}

// The darkest grey in a 5 x 5 pixel square around a point (inches) of page 1 at 100 dpi.
int dunkelstes(const QImage &bild, double xZoll, double yZoll)
{
    int min = 255;
    for (int dx = -2; dx <= 2; ++dx)
        for (int dy = -2; dy <= 2; ++dy)
            min = qMin(min, qGray(bild.pixel(int(xZoll * 100) + dx, int(yZoll * 100) + dy)));
    return min;
}

WDatum *datum(QWidget *d, const char *zeile, int spalte)
{
    return feldBei<WDatum>(d, QString::fromUtf8(zeile), 0, spalte);
}

// The receipt lines of member 42 for 2024, printed ones from 2000 to today.
int beleg42(ZuwendBeleg &beleg, int auswahl, bool minimum)
{
    ZuwendFilter f;
    f.auswahl = ZuwendFilter::Auswahl(auswahl);
    f.von = QDate(2024, 1, 1);
    f.bis = QDate(2024, 12, 31);
    f.druckVon = QDate(2000, 1, 1);
    f.druckBis = QDate::currentDate();
    return PrepareZuwend(beleg, 42, f, minimum);
}

void jahr2024(QWidget *d)
{
    datum(d, "Datum von/bis", 1)->setDatum(QDate(2024, 1, 1));
    datum(d, "Datum von/bis", 2)->setDatum(QDate(2024, 12, 31));
}

} // namespace

class TstZuwenddruck : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    void init()
    {
        m_db = std::make_unique<TestDb>();
        QVERIFY(m_db->ok());
        TestDb::setParameter("Konten/PrefMitglied", "20");
        TestDb::setParameter("Konten/AddMitglied", "100000");
    }
    void cleanup() { m_db.reset(); }

    // Donations of member 42 in 2024 as "MM-dd cent art [q=quittung] [k=konto]"; the lines
    // collected as "MM-dd cent" (plus the receipt date when it is not today).
    void sammeln_data()
    {
        QTest::addColumn<QString>("spenden");
        QTest::addColumn<int>("auswahl");
        QTest::addColumn<bool>("minimum"); // minimum 20,00 EUR checked
        QTest::addColumn<QString>("zeilen");
        QTest::addColumn<QString>("storniert");

        const auto zeile = [](const char *name, const char *spenden, const char *zeilen, const char *storniert = "",
                              int auswahl = 0, bool minimum = false) {
            QTest::newRow(name) << QString(spenden) << auswahl << minimum << QString(zeilen) << QString(storniert);
        };
        zeile("eine", "03-01 1000 G", "03-01 1000");
        zeile("zwei am Tag", "03-01 1000 G;03-01 500 M", "03-01 1500|03-01 0");
        zeile("Aufwand für sich", "03-01 1000 G;03-01 300 A;03-01 700 G;03-01 200 A",
              "03-01 1700|03-01 500|03-01 0|03-01 0");
        zeile("Tage getrennt", "03-01 1000 G;03-02 500 G", "03-01 1000|03-02 500");
        zeile("Erstattung hebt auf", "03-01 5000 G;04-01 -5000 G", "", "03-01,04-01");
        zeile("Erstattung trifft die größte gedeckte", "03-01 2000 G;03-02 5000 G;03-03 8000 G;04-01 -6000 G",
              "03-01 2000|03-03 8000", "03-02,04-01");
        zeile("Erstattung kleiner als jede Spende", "03-01 5000 G;04-01 -3000 G", "03-01 5000");
        zeile("Erstattung vor der Spende", "03-01 -5000 G;04-01 5000 G", "04-01 5000");
        zeile("Mitgliedskonto dreht", "03-01 -1000 G k=20100042", "03-01 1000");
        zeile("Ertragskonto dreht", "03-01 -1000 G k=5100", "03-01 1000");
        zeile("Kasse dreht nicht", "03-01 -1000 G k=1000;03-02 700 G k=4100", "03-02 700");
        zeile("Sachspende", "03-01 1000 S", "");
        zeile("gedruckt, Auswahl neue", "03-01 1000 G q=2024-05-01", "");
        zeile("gedruckt, Auswahl gedruckte", "03-01 1000 G q=2024-05-01;03-02 500 G", "03-01 1000 2024-05-01", "", 1);
        zeile("alle", "03-01 1000 G q=2024-05-01;03-02 500 G", "03-01 1000 2024-05-01|03-02 500", "", 2);
        zeile("storniert bleibt draußen", "03-01 1000 G q=2200-12-31", "", "03-01", 2);
        zeile("unter dem Minimum", "03-01 1000 G;03-02 500 G", "", "", 0, true);
        zeile("Minimum erreicht", "03-01 1500 G;03-02 500 G", "03-01 1500|03-02 500", "", 0, true);
        QStringList hundertEins, hundert{"03-01 10000"};
        for (int i = 0; i < 101; ++i)
            hundertEins << "03-01 100 G";
        for (int i = 1; i < 100; ++i)
            hundert << "03-01 0";
        zeile("101 Spenden", qPrintable(hundertEins.join(';')), qPrintable(hundert.join('|')));
    }
    void sammeln()
    {
        QFETCH(QString, spenden);
        QFETCH(int, auswahl);
        QFETCH(bool, minimum);
        QFETCH(QString, zeilen);
        QFETCH(QString, storniert);

        TestDb::setParameter("Spende/Min", "2000");
        adresse(42, "Muster", "Erika");
        for (const QString &s : spenden.split(';')) {
            const QStringList t = s.split(' ');
            QString quittung = kNie, konto = "1200";
            for (const QString &zusatz : t.mid(3)) {
                if (zusatz.startsWith(QLatin1String("q=")))
                    quittung = zusatz.mid(2);
                else
                    konto = zusatz.mid(2);
            }
            spende(42, "2024-" + t[0], t[1].toLongLong(), t[2], quittung, konto);
        }

        ZuwendBeleg beleg;
        const int n = beleg42(beleg, auswahl, minimum);

        QStringList ist;
        for (const ZuwendZeile &z : std::as_const(beleg.zeilen)) {
            QString zeile = z.datum.toString("MM-dd") + ' ' + QString::number(z.cent);
            if (z.quittung != QDate::currentDate())
                zeile += ' ' + UtilDatumText(z.quittung);
            ist << zeile;
        }
        QCOMPARE(ist.join('|'), zeilen);
        QCOMPARE(n, int(beleg.zeilen.size()));
        QStringList markiert;
        QSqlQuery q = Db::abfrage("SELECT jdatum FROM spende WHERE quittung=? ORDER BY jdatum", {kStorniert});
        while (q.next())
            markiert << q.value(0).toString().mid(5);
        QCOMPARE(markiert.join(','), storniert);
    }

    void adressen_data()
    {
        QTest::addColumn<QString>("gespeichert"); // name1|name2|strasse|plz|ort, "-": no address row
        QTest::addColumn<QString>("zeilen");      // "-": no receipt
        QTest::newRow("vollständig") << "Muster|Erika|Hauptstr. 1|53111|Bonn" << "Erika Muster|Hauptstr. 1|53111 Bonn";
        QTest::newRow("ohne Adresse") << "-" << "||";
        QTest::newRow("ohne Ort") << "Muster|Erika|Weg 2|53111|" << "Erika Muster|Weg 2|53111";
        QTest::newRow("anonym") << "Anonym|||ZZZZZ|" << "-";
    }
    void adressen()
    {
        QFETCH(QString, gespeichert);
        QFETCH(QString, zeilen);
        if (gespeichert != "-") {
            const QStringList t = gespeichert.split('|');
            adresse(42, t[0], t[1], t[2], t[3], t[4]);
        }
        spende(42, "2024-03-01", 1000, "G");
        ZuwendBeleg beleg;
        const int n = beleg42(beleg, 0, false);
        const QStringList ist{beleg.adresse[0], beleg.adresse[1], beleg.adresse[2]};
        QCOMPARE(n > 0 ? ist.join('|') : "-", zeilen);
    }

    // One member's receipt from the dialog into a PDF: texts, positions, the cross, the stored print date.
    void seite_data()
    {
        QTest::addColumn<QString>("art");
        QTest::addColumn<bool>("verzicht"); // cross on "Ja"
        QTest::newRow("Aufwandsspende") << "A" << true;
        QTest::newRow("Geldspende") << "G" << false;
    }
    void seite()
    {
        QFETCH(QString, art);
        QFETCH(bool, verzicht);
        for (const auto &[k, w] : {std::pair{"Spende/Name", "Feldmarkbund Nord"}, {"Spende/Adr1", "Postfach 12"},
                                   {"Spende/Adr3", "53111 Bonn"}, {"Spende/Ort", "Bonn"},
                                   {"Spende/Funkt", "Schatzmeister"}, {"Spende/Abs", "Feldmarkbund, 53111 Bonn"}})
            TestDb::setParameter(QString::fromUtf8(k), QString::fromUtf8(w));
        adresse(4711, "Muster", "Erika", "Hauptstr. 1");
        const QDate tag = QDate::currentDate().addDays(-3);
        spende(4711, UtilDatumText(tag), 123450, art);

        const QString pdf = m_db->verzeichnis() + "/quittung.pdf";
        SkriptInteraktion skript;
        skript.antworteText(pdf);
        skript.antworte(QMessageBox::Yes);
        Zuwenddruck dialog(4711);
        QVERIFY(zeige(&dialog));
        QVERIFY(alt(&dialog, Qt::Key_D));
        QCOMPARE(skript.unerwartet(), 0);
        QCOMPARE(skript.anfragen().at(1).text, "1 Seiten gedruckt (abgebrochen).\nDruck in Stammdaten vermerken?");
        QCOMPARE(skript.anfragen().at(1).vorgabe, QMessageBox::No);
        QCOMPARE(quittungen(4711), QStringList{heute()});
        QCOMPARE(dialog.result(), int(QDialog::Accepted));

        const QStringList seiten = pdfSeiten(pdf, {});
        QCOMPARE(seiten.size(), 1);
        for (const QString &t : QStringList{"Feldmarkbund Nord", "Postfach 12", "Erika Muster", "Mitgliedsnummer 4711",
                                            "Hauptstr. 1", "53111 Bonn", "1.234,50",
                                            "Eintausendzweihundertvierunddreißigkommafünfnull", tag.toString("dd.MM.yyyy"),
                                            "Bonn, den " + QDate::currentDate().toString("dd.MM.yyyy") + ", Schatzmeister",
                                            "Bestätigung über Geldzuwendung / Mitgliedsbeitrag", "GewStG)."})
            QVERIFY2(seiten[0].contains(t), qPrintable(t + " / " + seiten[0]));
        QVERIFY(wortIn(pdf, "Muster", QRectF(1, 2.375, 3.75, 1.125)));     // address window
        QVERIFY(wortIn(pdf, "1.234,50", QRectF(1, 5.6875, 6.75, 0.5)));    // amount box
        // The issuer ends half an inch before the right edge of A4 (8.27").
        QVERIFY(wortIn(pdf, "Nord", QRectF(5.5, 0.5, 7.79 - 5.5, 0.5)));
        QVERIFY(!wortIn(pdf, "Nord", QRectF(5.5, 0.5, 7.74 - 5.5, 0.5)));

        const QImage seite = pdfBild(pdf, 100);
        QVERIFY(!seite.isNull());
        const int ja = dunkelstes(seite, 6, 6 + 9 / 16.0);
        const int nein = dunkelstes(seite, 6 + 13 / 16.0, 6 + 9 / 16.0);
        QVERIFY2((verzicht ? ja : nein) < 128 && (verzicht ? nein : ja) > 200,
                 qPrintable(QString("Ja %1, Nein %2").arg(ja).arg(nein)));
    }

    // A run over all members: who gets pages, and what the answers store.
    void lauf_data()
    {
        QTest::addColumn<bool>("drucken");
        QTest::addColumn<int>("antwort");
        QTest::addColumn<QString>("gedruckt"); // the print date of the printed members' rows
        QTest::addColumn<QString>("aufgehoben");
        QTest::newRow("vermerkt") << true << int(QMessageBox::Yes) << heute() << kStorniert;
        QTest::newRow("nicht vermerkt") << true << int(QMessageBox::No) << kNie << kStorniert;
        QTest::newRow("Druck abgebrochen") << false << 0 << kNie << kNie;
    }
    void lauf()
    {
        QFETCH(bool, drucken);
        QFETCH(int, antwort);
        QFETCH(QString, gedruckt);
        QFETCH(QString, aufgehoben);

        TestDb::setParameter("Spende/Min", "2000");
        TestDb::setParameter("Spende/Name", QString()); // emptied: the association's name
        adresse(101, "Alpha", "Anna");
        spende(101, "2024-03-01", 1500, "G");
        spende(101, "2024-03-01", 1000, "M");
        adresse(102, "Beta", "Bernd"); // below the minimum
        spende(102, "2024-03-01", 1000, "G");
        adresse(103, "Anonym", QString(), QString(), "ZZZZZ", QString());
        spende(103, "2024-03-01", 9000, "G");
        adresse(104, "Delta", "Dora");
        spende(104, "2024-02-01", 5000, "A");
        spende(104, "2024-06-01", 5000, "G");
        spende(104, "2023-12-31", 5000, "G"); // before the range
        adresse(105, "Epsilon", "Emil"); // given and refunded
        spende(105, "2024-04-01", 5000, "G");
        spende(105, "2024-05-01", -5000, "G");

        const QString pdf = m_db->verzeichnis() + "/lauf.pdf";
        SkriptInteraktion skript;
        if (drucken) {
            skript.antworteText(pdf);
            skript.antworte(QMessageBox::StandardButton(antwort));
        } else {
            skript.antworteAbbruch();
        }
        Zuwenddruck dialog(-1);
        QVERIFY(zeige(&dialog));
        jahr2024(&dialog);
        QVERIFY(alt(&dialog, Qt::Key_D));

        QCOMPARE(skript.unerwartet(), 0);
        QCOMPARE(skript.offen(), 0);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(quittungen(101), QStringList(2, gedruckt));
        QCOMPARE(quittungen(102), QStringList{kNie});
        QCOMPARE(quittungen(103), QStringList{kNie});
        QCOMPARE(quittungen(104), (QStringList{kNie, gedruckt, gedruckt}));
        QCOMPARE(quittungen(105), QStringList(2, aufgehoben));
        QCOMPARE(TestDb::anzahl("SELECT count(*) FROM sqlite_temp_master WHERE name='zwispende'"), 0);
        if (!drucken) {
            QVERIFY(!QFile::exists(pdf));
            return;
        }
        QCOMPARE(skript.anfragen().at(1).text.section('\n', 0, 0), "3 Seiten gedruckt (abgebrochen).");
        const QStringList seiten = pdfSeiten(pdf, {});
        QCOMPARE(seiten.size(), 3);
        const char *erwartet[][2] = {{"Anna Alpha", "25,00"}, {"Dora Delta", "50,00"}, {"Dora Delta", "50,00"}};
        QVERIFY(seiten[0].contains(QLatin1String("Feldmarkbund Deutschland")));
        for (int i = 0; i < 3; ++i) {
            QVERIFY2(seiten[i].contains(QLatin1String(erwartet[i][0])), qPrintable(seiten[i]));
            QVERIFY2(seiten[i].contains(QLatin1String(erwartet[i][1])), qPrintable(seiten[i]));
        }
    }

    // "&Abbruch" while printing stops before the next member; what was printed can still be stored.
    void abbruch()
    {
        for (int mid = 1; mid <= 10; ++mid) {
            adresse(mid, QString("Name%1").arg(mid), "Eva");
            spende(mid, "2024-03-01", 1000, "G");
        }
        Zuwenddruck dialog(-1);
        QVERIFY(zeige(&dialog));
        jahr2024(&dialog);
        SkriptInteraktion skript;
        skript.antworteText(m_db->verzeichnis() + "/abbruch.pdf");
        skript.antworte(QMessageBox::Yes);
        // Clicked as soon as the run lets the window breathe, after its first page.
        QTimer::singleShot(0, knopf(&dialog, "&Abbruch"), &QPushButton::click);
        dialog.pDrucken();
        QCOMPARE(skript.unerwartet(), 0);
        QCOMPARE(skript.anfragen().at(1).text.section('\n', 0, 0), "1 Seiten gedruckt (abgebrochen).");
        QCOMPARE(TestDb::anzahl("SELECT count(*) FROM spende WHERE quittung=?", {heute()}), 1);
        QCOMPARE(quittungen(2), QStringList{kNie});
    }

    // From the menu for all members, from the members dialog's button for one; the defaults of each.
    void ausDemMenue()
    {
        adresse(4711, "Muster", "Erika");
        Db::ausfuehren("INSERT INTO mitglied (mid,gliederung) VALUES (4711,'')");
        const QDate heute = QDate::currentDate();
        const QDate gj = QDate(heute.year(), 1, 1);
        VelaMain fenster;

        QStringList gesehen;
        auto pruefen = [&](QDialog *d) {
            auto *auswahl = d->findChild<QComboBox *>();
            QStringList zeile{d->windowTitle(), datum(d, "Datum von/bis", 1)->datum().toString(Qt::ISODate),
                              datum(d, "Datum von/bis", 2)->datum().toString(Qt::ISODate),
                              datum(d, "Druck von/bis", 1)->datum().toString(Qt::ISODate),
                              datum(d, "Druck von/bis", 2)->datum().toString(Qt::ISODate),
                              datum(d, "Druck von/bis", 1)->isEnabled() ? "an" : "aus"};
            auswahl->setCurrentIndex(1);
            zeile << (datum(d, "Druck von/bis", 2)->isEnabled() ? "an" : "aus");
            const QList<QLabel *> labels = d->findChildren<QLabel *>();
            zeile << (std::any_of(labels.begin(), labels.end(),
                                  [](QLabel *l) { return l->text().contains(QLatin1String("Muster")); })
                          ? "Konto"
                          : "-");
            gesehen << zeile.join(' ');
            d->reject();
        };
        beiModal(pruefen);
        fenster.pZuwend();
        QVERIFY(gelaufen());

        beiModal([&](QDialog *mitglieder) {
            tippeReturn(mitglieder->findChild<WMitglied *>("mid"), "4711");
            beiModal(pruefen);
            alt(mitglieder, Qt::Key_Z);
            mitglieder->reject();
            mitglieder->reject();
        });
        fenster.pMitglieder();

        const QString titel = "Zuwendungsbestätigungen ";
        const QString druck = " 2000-01-01 " + heute.toString(Qt::ISODate) + " aus an ";
        QCOMPARE(gesehen, (QStringList{titel + gj.addYears(-1).toString(Qt::ISODate) + ' '
                                           + gj.addDays(-1).toString(Qt::ISODate) + druck + '-',
                                       titel + gj.addYears(-1).toString(Qt::ISODate) + ' '
                                           + heute.toString(Qt::ISODate) + druck + "Konto"}));
    }

private:
    std::unique_ptr<TestDb> m_db;
};

QTEST_MAIN(TstZuwenddruck)
#include "tst_zuwenddruck.moc"
