// The keyboard and the hints of the search dialogs and the member-number field.

#include "db.h"
#include "demodaten.h"
#include "dialogdriver.h"
#include "gliederungswahl.h"
#include "kplsuche.h"
#include "lssuche.h"
#include "midsuche.h"
#include "parameter.h"
#include "testdb.h"
#include "wmitglied.h"

#include <QAbstractItemView>
#include <QLineEdit>
#include <QtTest>

class TstSuche : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDb> m_db;

private slots:
    void init()
    {
        m_db = std::make_unique<TestDb>();
        DemoDaten daten(3);
        daten.setStichtag(QDate(2026, 6, 30));
        QVERIFY(daten.erzeugen(20, 0));
        for (const char *name : {"BAUMARKT", "HOLZBAU", "KIOSK"})
            Db::ausfuehren(QStringLiteral("INSERT INTO adresse (art,key,suchname,name1) VALUES ('L',?,?,?)"),
                           {QLatin1String(name), QLatin1String(name), QLatin1String(name)});
        UtilInit(true);
    }
    void cleanup() { m_db.reset(); }

    void tastatur_data()
    {
        QTest::addColumn<QString>("dialog");
        for (const char *dialog : {"MIDSuche", "LsSuche", "KplSuche", "GliederungsWahl"})
            QTest::newRow(dialog) << QString::fromLatin1(dialog);
    }
    void tastatur();

    void mitgliedsnummerHinweis()
    {
        WMitglied feld(false);
        QCOMPARE(feld.placeholderText(), QStringLiteral("Nr., NName, Name?"));
        // The hint is readable whole in the field.
        QVERIFY(feld.fontMetrics().horizontalAdvance(feld.placeholderText()) < feld.contentsRect().width() - 4);
    }
};

// Search, Down from the field into the list, Down once more, Return: the second row is taken.
void TstSuche::tastatur()
{
    QFETCH(QString, dialog);
    QString erwartet;
    bool insListe = false;
    DialogTreiber::beiModal([&](QDialog *d) {
        DialogTreiber::zeige(d);
        auto *liste = d->findChild<QAbstractItemView *>();
        auto *feld = d->findChild<QLineEdit *>();
        if (feld) {
            DialogTreiber::tippeReturn(feld, QString());
            QTest::keyClick(feld, Qt::Key_Down);
            insListe = liste->hasFocus() && liste->currentIndex().row() == 0;
        } else {
            // The chooser starts on the own unit.
            liste->setFocus();
            insListe = liste->currentIndex().data().toString() == UtilSelbst();
        }
        QTest::keyClick(liste, Qt::Key_Down);
        erwartet = liste->currentIndex().siblingAtColumn(0).data().toString();
        QTest::keyClick(liste, Qt::Key_Return);
        if (d->isVisible())
            d->reject(); // Return did not choose: never leave the test waiting
    });
    QString gewaehlt;
    int ergebnis = 0;
    const auto suche = [&](auto &&d) {
        ergebnis = d.exec(QString());
        gewaehlt = QVariant(d.auswahl()).toString();
    };
    if (dialog == QLatin1String("MIDSuche"))
        suche(MIDSuche(false));
    else if (dialog == QLatin1String("LsSuche"))
        suche(LsSuche(false));
    else if (dialog == QLatin1String("KplSuche"))
        suche(KplSuche(false));
    else {
        GliederungsWahl wahl(9);
        ergebnis = wahl.exec();
        gewaehlt = wahl.text();
    }
    QVERIFY(DialogTreiber::gelaufen() && insListe && !erwartet.isEmpty());
    QCOMPARE(ergebnis, int(QDialog::Accepted));
    QCOMPARE(gewaehlt, erwartet);
}

QTEST_MAIN(TstSuche)
#include "tst_suche.moc"
