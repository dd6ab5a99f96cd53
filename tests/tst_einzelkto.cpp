// The single-account view driven like a user: an account typed, dates and cost
// centre set, the accounts stepped through, an entry changed in the journal.

#include "db.h"
#include "dialogdriver.h"
#include "einzelkto.h"
#include "ktodruck.h"
#include "testdb.h"
#include "wbetrag.h"
#include "wdatum.h"
#include "wkonto.h"

#include <QLineEdit>
#include <QTableView>
#include <QtTest>

#include <memory>

namespace {

using S = QStringList;
using DialogTreiber::tippe, DialogTreiber::tippeReturn;

// An entry written straight into the tables, so the books do not lean on the code under test.
void eintrag(const QString &datum, const QString &konto, const QString &gkonto, qint64 cent,
             const QString &kost = "GS", const QString &art = "", const QString &beschluss = "")
{
    const int lfd = Db::wert("SELECT count(*) FROM journdat WHERE datum=?", {datum}).toInt() + 1;
    Db::ausfuehren("INSERT INTO journdat (datum,lfd,kost,beleg,extlfd,butext,erfasst,art,beschluss) "
                   "VALUES (?,?,?,'B','0',?,'2024-01-01 10:00:00',?,?)",
                   {datum, lfd, kost, "Text " + datum, art, beschluss});
    Db::ausfuehren("INSERT INTO kgkto (datum,lfd,kg,konto,cent,abstimm) VALUES (?,?,'1',?,?,'0'),(?,?,'2',?,?,'0')",
                   {datum, lfd, konto, cent, datum, lfd, gkonto, -cent});
    Db::ausfuehren("INSERT OR IGNORE INTO kontenplan (konto,text) VALUES (?,'K'),(?,'K')", {konto, gkonto});
}

// A year of the bank account 1200: an accrual opening on the first day, an accrual
// line in March, ordinary lines of two cost centres, one where 1200 is the contra account.
void buecher()
{
    eintrag("2023-12-20", "1200", "4000", 99900);            // last year: never counted
    eintrag("2024-01-01", "1200", "1950", 100000, "GS", "A"); // opening: counts in both balances
    eintrag("2024-02-10", "1200", "4000", 5000, "OV", "", "B7");
    eintrag("2024-03-01", "1200", "1900", 3000, "GS", "A"); // accrual after the start: never in the closing balance
    eintrag("2024-03-15", "1200", "6800", -2000, "kv");
    eintrag("2024-06-30", "4000", "1200", 500);
}

struct Fenster
{
    template <typename T> T *w(const char *name) { return d->findChild<T *>(QLatin1String(name)); }
    std::unique_ptr<EinzelKto> d = std::make_unique<EinzelKto>(DruckKonto);
    WKonto *konto = w<WKonto>("konto");
    WDatum *von = w<WDatum>("von"), *bis = w<WDatum>("bis");
    QLineEdit *kost = w<QLineEdit>("kost"), *anfang = w<QLineEdit>("anfangssaldo"), *ende = w<QLineEdit>("endsaldo");
    QTableView *liste = w<QTableView>("liste");
    const bool gezeigt = DialogTreiber::zeige(d.get());

    void zeitraum(const QString &a, const QString &b)
    {
        von->setDatum(QDate::fromString(a, Qt::ISODate)), bis->setDatum(QDate::fromString(b, Qt::ISODate));
    }
    QString zelle(int r, int s) const { return liste->model()->index(r, s).data().toString(); }
    int zeilen() const { return liste->model()->rowCount(); }
    S salden() const { return {anfang->text(), ende->text()}; }
};

} // namespace

class TestEinzelKto : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDb> m_db;

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    void init() { QVERIFY((m_db = std::make_unique<TestDb>())->ok()); }
    void cleanup() { m_db.reset(); }

    void salden_data()
    {
        for (const char *s : {"von", "bis", "kost", "anfang", "ende"})
            QTest::addColumn<QString>(s);
        QTest::addColumn<S>("daten"); // the dates listed, as shown
        QTest::newRow("ganzes Jahr") << "2024-01-01" << "2024-12-31" << "" << "1.000,00" << "1.025,00"
                                     << S{"01.01.2024", "10.02.2024", "01.03.2024", "15.03.2024", "30.06.2024"};
        // The accrual line on "Von" opens the range with it; in the closing balance it never counts.
        QTest::newRow("Von auf Abgrenzung") << "2024-03-01" << "2024-12-31" << "" << "1.080,00" << "1.025,00"
                                            << S{"01.03.2024", "15.03.2024", "30.06.2024"};
        QTest::newRow("Von danach") << "2024-03-02" << "2024-12-31" << "" << "1.080,00" << "1.025,00"
                                    << S{"15.03.2024", "30.06.2024"};
        QTest::newRow("Bis in der Mitte") << "2024-02-11" << "2024-02-28" << "" << "1.050,00" << "1.050,00" << S{};
        // The filter is compared in upper case, and the balances take only its entries.
        QTest::newRow("Kostenstelle") << "2024-01-01" << "2024-12-31" << "kv" << "0,00" << "-20,00"
                                      << S{"15.03.2024"};
    }

    void salden()
    {
        QFETCH(QString, von); QFETCH(QString, bis); QFETCH(QString, kost); QFETCH(QString, anfang);
        QFETCH(QString, ende); QFETCH(S, daten);
        buecher();
        Fenster f;
        QVERIFY(f.gezeigt && f.zeilen() == 0);
        f.zeitraum(von, bis);
        tippe(f.kost, kost);
        tippeReturn(f.konto, "1200");
        QCOMPARE(f.salden(), (S{anfang, ende}));
        QCOMPARE(f.kost->text(), kost.toUpper());
        S gelistet;
        for (int r = 0; r < f.zeilen(); ++r)
            gelistet << f.zelle(r, 0);
        QCOMPARE(gelistet, daten);
        if (kost.isEmpty() && daten.size() == 5) {
            // Text with its resolution, the contra account, an amount of the contra side.
            QCOMPARE((S{f.zelle(1, 1), f.zelle(1, 2), f.zelle(1, 3), f.zelle(1, 4), f.zelle(1, 5)}),
                     (S{"1", "OV", "Text 2024-02-10, B7", "4000", "50,00"}));
            QCOMPARE((S{f.zelle(4, 3), f.zelle(4, 4), f.zelle(4, 5)}), (S{"Text 2024-06-30", "4000", "-5,00"}));
        }
    }

    void vieleZeilen_data()
    {
        QTest::addColumn<QString>("kost");
        QTest::addColumn<int>("zeile");
        QTest::addColumn<S>("erwartet"); // number, cost centre, text, contra account of that row
        // The texts are read in blocks as rows come into view; each lands on its own line.
        QTest::newRow("ohne Filter") << "" << 449 << S{"225", "B", "Text 225", "4225"};
        QTest::newRow("Filter") << "b" << 225 << S{"225", "B", "Text 225", "4225"};
    }

    void vieleZeilen()
    {
        QFETCH(QString, kost); QFETCH(int, zeile); QFETCH(S, erwartet);
        // 450 lines on two days, numbers 1 to 225 on each; cost centre B on the even ones and the last.
        for (const QString tag : {"2024-05-05", "2024-05-06"})
            for (int lfd = 1; lfd <= 225; ++lfd) {
                Db::ausfuehren("INSERT INTO journdat (datum,lfd,kost,beleg,extlfd,butext,erfasst,art,beschluss) "
                               "VALUES (?,?,?,'','0',?,'','','')",
                               {tag, lfd, lfd % 2 && lfd < 225 ? "A" : "B", QString("Text %1").arg(lfd)});
                Db::ausfuehren("INSERT INTO kgkto (datum,lfd,kg,konto,cent,abstimm) VALUES "
                               "(?,?,'1','1200',100,'0'),(?,?,'2',?,-100,'0')",
                               {tag, lfd, tag, lfd, QString::number(4000 + lfd)});
            }
        Fenster f;
        f.zeitraum("2024-01-01", "2024-12-31");
        tippe(f.kost, kost);
        tippeReturn(f.konto, "1200");
        QCOMPARE(f.zeilen(), zeile + 1);
        // The last row first, then one of the first block.
        QCOMPARE((S{f.zelle(zeile, 1), f.zelle(zeile, 2), f.zelle(zeile, 3), f.zelle(zeile, 4)}), erwartet);
        QCOMPARE(f.zelle(0, 3), kost.isEmpty() ? "Text 1" : "Text 2");
        QCOMPARE(f.zelle(zeile, 0), "06.05.2024");
    }

    void blaettern_data()
    {
        QTest::addColumn<QString>("konto");
        QTest::addColumn<int>("taste");
        QTest::addColumn<QString>("danach");
        QTest::newRow("vor") << "1200" << int(Qt::Key_V) << "1900";
        QTest::newRow("vor vom höchsten") << "6800" << int(Qt::Key_V) << "";
        QTest::newRow("zurück ohne Konto") << "" << int(Qt::Key_Z) << "6800";
        QTest::newRow("zurück") << "1900" << int(Qt::Key_Z) << "1200";
        // 0800 has bookings only before "Von".
        QTest::newRow("zurück vom niedrigsten") << "1200" << int(Qt::Key_Z) << "";
    }

    void blaettern()
    {
        QFETCH(QString, konto); QFETCH(int, taste); QFETCH(QString, danach);
        buecher();
        eintrag("2023-05-05", "0800", "4000", 100);
        Fenster f;
        f.zeitraum("2024-01-01", "2024-12-31");
        tippeReturn(f.konto, konto);
        QVERIFY(DialogTreiber::alt(f.d.get(), taste));
        QCOMPARE(f.konto->text(), danach);
        QCOMPARE(f.zeilen() > 0, !danach.isEmpty());
    }

    void journalUndDruck()
    {
        buecher();
        Fenster f;
        f.zeitraum("2024-01-01", "2024-12-31");
        tippeReturn(f.konto, "1200");
        // A click opens the entry in the journal; its change shows at once.
        DialogTreiber::beiModal([](QDialog *d) {
            if (!DialogTreiber::zeige(d))
                return d->done(-1);
            auto *betrag = d->findChild<WBetrag *>("betrag");
            betrag->selectAll();
            tippe(betrag, "75");
            if (!DialogTreiber::alt(d, Qt::Key_S))
                d->done(-1);
        });
        DialogTreiber::klicke(f.liste, f.liste->model()->index(1, 3));
        QVERIFY(DialogTreiber::gelaufen());
        QCOMPARE(f.zelle(1, 5), "75,00");
        QCOMPARE(f.salden(), (S{"1.000,00", "1.050,00"}));

        // "&Drucken" prints the sheet of what the view shows.
        SkriptInteraktion skript;
        const QString pdf = m_db->verzeichnis() + "/konto.pdf";
        skript.antworteText(pdf);
        tippe(f.kost, "ov");
        QVERIFY(DialogTreiber::alt(f.d.get(), Qt::Key_D));
        const QString text = pdfText(pdf).simplified();
        QVERIFY2(text.contains("Konto 1200: K") && text.contains("Endsaldo 31.12.2024 75,00 EUR")
                     && text.contains("OP-Name OV") && !text.contains("Text 2024-03-15"),
                 qPrintable(text));
    }
};

QTEST_MAIN(TestEinzelKto)
#include "tst_einzelkto.moc"
