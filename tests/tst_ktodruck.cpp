// Account sheets printed into real PDF files and read back with poppler's tools:
// texts, page counts, wrapped texts and the colour of negative amounts.

#include "db.h"
#include "dialogdriver.h"
#include "ktodruck.h"
#include "pdfseiten.h"
#include "testdb.h"
#include "wdatum.h"
#include "wkonto.h"

#include <QCheckBox>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QRegularExpression>
#include <QtTest>

#include <memory>

namespace {

using S = QStringList;

void eintrag(const QString &datum, const QString &konto, const QString &gkonto, qint64 cent,
             const QString &text = "Miete", const QString &kost = "GS")
{
    const int lfd = Db::wert("SELECT count(*) FROM journdat WHERE datum=?", {datum}).toInt() + 1;
    Db::ausfuehren("INSERT INTO journdat (datum,lfd,kost,beleg,extlfd,butext,erfasst,art,beschluss) "
                   "VALUES (?,?,?,'R17','0',?,'2024-01-01 10:00:00','','V3')",
                   {datum, lfd, kost, text});
    Db::ausfuehren("INSERT INTO kgkto (datum,lfd,kg,konto,cent,abstimm) VALUES (?,?,'1',?,?,'0'),(?,?,'2',?,?,'0')",
                   {datum, lfd, konto, cent, datum, lfd, gkonto, -cent});
}

// One sheet printed the way the single-account view does it.
int blatt(const QString &pdf, const QString &konto, const QString &von, const QString &bis, const QString &kost = "")
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    QPainter painter(&printer);
    return DruckKonto(&printer, &painter, konto, QDate::fromString(von, Qt::ISODate),
                      QDate::fromString(bis, Qt::ISODate), kost);
}

// How many pixels inside the box of `wort` on page 1 are clearly red, and how many dark; -1 without it.
QPair<int, int> farben(const QString &pdf, const QString &wort)
{
    const QImage bild = pdfBild(pdf, 72);
    for (const auto &[text, box] : pdfWoerter(pdf)) {
        if (text != wort)
            continue;
        int rot = 0, dunkel = 0;
        for (int y = int(box.top()); y <= int(box.bottom()); ++y)
            for (int x = int(box.left()); x <= int(box.right()); ++x) {
                const QColor c = bild.pixelColor(x, y);
                rot += c.red() > 150 && c.green() < 100 && c.blue() < 100;
                dunkel += c.red() < 100 && c.green() < 100 && c.blue() < 100;
            }
        return {rot, dunkel};
    }
    return {-1, -1};
}

} // namespace

class TestKtoDruck : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDb> m_db;
    QString pfad(const QString &name) const { return m_db->verzeichnis() + '/' + name; }

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    void init()
    {
        QVERIFY((m_db = std::make_unique<TestDb>())->ok());
        Db::ausfuehren("INSERT INTO kontenplan (konto,text) VALUES ('1200','Bank Girokonto'),('4000','Beiträge')");
    }
    void cleanup() { m_db.reset(); }

    void blatt_data()
    {
        for (const char *s : {"von", "kost"})
            QTest::addColumn<QString>(s);
        QTest::addColumn<S>("texte");
        QTest::addColumn<S>("fehlt");
        QTest::newRow("ganzes Jahr")
            << "2024-01-01" << ""
            << S{"Konto 1200: Bank Girokonto", "Anfangssaldo 01.01.2024 0,00 EUR Seite: 1/1",
                 "Endsaldo 31.12.2024 1.179,90 EUR",
                 "Beleg Betrag G.-Konto OP-Name Datum Buchungstext Saldo Beschluss",
                 "R17 1.234,56 4000 GS 10.01.2024 Miete 1.234,56 V3", "R17 -54,66 4000 OV 02.06.2024 Porto 1.179,90 V3"}
            << S{"Keine Buchungen"};
        // From the middle of the year: the earlier lines make the opening balance and are not listed.
        QTest::newRow("Mitte") << "2024-03-01" << ""
                               << S{"Anfangssaldo 01.03.2024 1.234,56 EUR", "Endsaldo 31.12.2024 1.179,90 EUR",
                                    "02.06.2024 Porto 1.179,90"}
                               << S{"10.01.2024"};
        QTest::newRow("Kostenstelle") << "2024-01-01" << "OV"
                                      << S{"Endsaldo 31.12.2024 -54,66 EUR OP-Name OV", "02.06.2024 Porto -54,66"}
                                      << S{"10.01.2024"};
        // No lines in the period: one page with both balances and the notice.
        QTest::newRow("ohne Buchungen") << "2024-07-01" << ""
                                        << S{"Anfangssaldo 01.07.2024 1.179,90 EUR", "Endsaldo 31.12.2024 1.179,90 EUR",
                                             "Seite: 1/1", "Keine Buchungen im ausgewähten Zeitraum"}
                                        << S{"Buchungstext"};
    }

    void blatt()
    {
        QFETCH(QString, von); QFETCH(QString, kost); QFETCH(S, texte); QFETCH(S, fehlt);
        eintrag("2023-12-31", "1200", "4000", 99900);
        eintrag("2024-01-10", "1200", "4000", 123456);
        eintrag("2024-06-02", "1200", "4000", -5466, "Porto", "OV");
        const QString pdf = pfad("blatt.pdf");
        QCOMPARE(::blatt(pdf, "1200", von, "2024-12-31", kost), 1);
        const QStringList seiten = pdfSeiten(pdf);
        QCOMPARE(seiten.size(), 1);
        const QString &text = seiten.first();
        for (const QString &t : texte)
            QVERIFY2(text.contains(t), qPrintable(t + " fehlt in: " + text));
        for (const QString &t : fehlt)
            QVERIFY2(!text.contains(t), qPrintable(t + " steht in: " + text));
    }

    void rot()
    {
        eintrag("2024-01-10", "1200", "4000", 67890);
        eintrag("2024-01-11", "1200", "4000", -80000);
        const QString pdf = pfad("rot.pdf");
        QCOMPARE(::blatt(pdf, "1200", "2024-01-01", "2024-12-31"), 1);
        // The negative amount and balance in red, the positive ones in black.
        for (const QString wort : {"-800,00", "-121,10", "678,90"}) {
            const auto [rot, dunkel] = farben(pdf, wort);
            QVERIFY2(rot >= 0, qPrintable(wort + " nicht gefunden"));
            QVERIFY2(wort.startsWith('-') ? rot > 5 && dunkel == 0 : rot == 0 && dunkel > 5, qPrintable(wort));
        }
    }

    void seiten()
    {
        // Enough lines for several pages, one with a text far longer than its column.
        const QString lang = QString("Anfang ") + QString("lange Beschreibung ").repeated(30) + "Schluss";
        for (int i = 1; i <= 90; ++i)
            eintrag(QDate(2024, 1, 1).addDays(i).toString(Qt::ISODate), "1200", "4000", 100 * i,
                    i == 5 ? lang : QString("Zeile %1").arg(i));
        const QString pdf = pfad("seiten.pdf");
        const int n = ::blatt(pdf, "1200", "2024-01-01", "2024-12-31");
        QVERIFY(n >= 2);
        const QStringList seiten = pdfSeiten(pdf);
        QCOMPARE(seiten.size(), n);
        // Every page has the full header and its number; no line is lost or doubled.
        int zeilen = 0;
        for (int s = 1; s <= n; ++s) {
            const QString &text = seiten.at(s - 1);
            QVERIFY(text.contains(QString("Seite: %1/%2").arg(s).arg(n)) && text.contains("Anfangssaldo 01.01.2024")
                    && text.contains("Endsaldo 31.12.2024 4.095,00 EUR") && text.contains("Buchungstext"));
            zeilen += text.count(QRegularExpression("\\bR17\\b"));
        }
        QCOMPARE(zeilen, 90);
        // The long text wraps: its first and last words lie on different lines, the next line below them.
        const QString layout = pdfText(pdf, {"-layout", "-f", "1", "-l", "1"});
        const QStringList zeilenText = layout.split('\n');
        int anfang = -1, schluss = -1, naechste = -1;
        for (int i = 0; i < zeilenText.size(); ++i) {
            anfang = zeilenText[i].contains("Anfang lange") ? i : anfang;
            schluss = zeilenText[i].contains("Schluss") ? i : schluss;
            naechste = zeilenText[i].contains("Zeile 6") ? i : naechste;
        }
        QVERIFY2(anfang >= 0 && schluss > anfang && naechste > schluss, qPrintable(layout));
    }

    // "&Drucken" over a range of accounts, whole or month by month; a wrong range prints
    // nothing and puts the focus on the field at fault.
    void bereich_data()
    {
        for (const char *s : {"von", "bis", "datumBis", "fokus"})
            QTest::addColumn<QString>(s);
        QTest::addColumn<bool>("monatsweise");
        QTest::addColumn<S>("anfangssalden"); // of the sheets, in order
        QTest::newRow("ganzer Zeitraum") << "1200" << "4000" << "2024-03-31" << "" << false << S{"0,00", "0,00"};
        QTest::newRow("monatsweise") << "1200" << "4000" << "2024-03-31" << "" << true
                                     << S{"0,00", "10,00", "30,00", "0,00", "-10,00", "-30,00"};
        QTest::newRow("ohne unteres Konto") << "" << "4000" << "2024-12-31" << "kontoVon" << false << S{};
        QTest::newRow("oberes vor unterem") << "4000" << "1200" << "2024-12-31" << "kontoBis" << false << S{};
        QTest::newRow("Datum verkehrt") << "1200" << "4000" << "2023-12-31" << "datumBis" << false << S{};
    }

    void bereich()
    {
        QFETCH(QString, von); QFETCH(QString, bis); QFETCH(QString, datumBis); QFETCH(QString, fokus);
        QFETCH(bool, monatsweise); QFETCH(S, anfangssalden);
        for (int monat = 1; monat <= 3; ++monat)
            eintrag(QString("2024-0%1-15").arg(monat), "1200", "4000", 1000 * monat);
        eintrag("2024-02-01", "6800", "4711", 100); // outside the range
        Kontendruck d;
        QVERIFY(DialogTreiber::zeige(&d));
        DialogTreiber::tippe(d.findChild<WKonto *>("kontoVon"), von);
        DialogTreiber::tippe(d.findChild<WKonto *>("kontoBis"), bis);
        d.findChild<WDatum *>("datumVon")->setDatum(QDate(2024, 1, 1));
        d.findChild<WDatum *>("datumBis")->setDatum(QDate::fromString(datumBis, Qt::ISODate));
        d.findChild<QCheckBox *>()->setChecked(monatsweise);
        SkriptInteraktion skript;
        const QString pdf = pfad("bereich.pdf");
        skript.antworteText(pdf);
        skript.antworte(QMessageBox::Ok);
        QVERIFY(DialogTreiber::alt(&d, Qt::Key_D));
        if (!fokus.isEmpty()) {
            QCOMPARE(skript.anfragen().size(), 0);
            QCOMPARE(d.focusWidget()->objectName(), fokus);
            return;
        }
        QCOMPARE(skript.anfragen().size(), 2);
        QCOMPARE(skript.anfragen()[1].titel, "Kontendruck");
        QCOMPARE(skript.anfragen()[1].text, QString("2 Konten auf %1 Seiten gedruckt").arg(anfangssalden.size()));
        const QStringList texte = pdfSeiten(pdf);
        S gelesen;
        for (const QString &text : texte)
            gelesen << QRegularExpression("Anfangssaldo \\S+ (\\S+) EUR").match(text).captured(1);
        QCOMPARE(gelesen, anfangssalden);
        QVERIFY(texte.last().startsWith("Konto 4000:"));
    }
};

QTEST_MAIN(TestKtoDruck)
#include "tst_ktodruck.moc"
