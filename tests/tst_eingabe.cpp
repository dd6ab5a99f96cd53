// The amount and date fields as the user types into them, alone and in the
// dialogs that save what they hold.

#include "db.h"
#include "dialogdriver.h"
#include "journal.h"
#include "mitglieder.h"
#include "spende.h"
#include "testdb.h"
#include "textutil.h"
#include "wbetrag.h"
#include "wdatum.h"
#include "wmitglied.h"
#include "zahlungen.h"

#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QToolTip>
#include <QVBoxLayout>
#include <QtTest>

#include <memory>

using namespace DialogTreiber;

namespace {

const QDate kTag(2024, 3, 15);

template <typename T = QWidget> T *kind(QWidget *d, const char *name) { return d->findChild<T *>(QLatin1String(name)); }
QString wert(const QString &sql, const QVariantList &werte = {}) { return TestDb::zeile(sql, werte).value(0); }

// Into the field, all of its text selected and deleted, then typed; the focus stays there.
void ersetze(QWidget *feld, const QString &text)
{
    feld->setFocus(Qt::TabFocusReason);
    QTest::keyClick(feld, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(feld, Qt::Key_Delete);
    tippe(feld, text);
}

void mitgliedAnlegen(const QString &gebdat, const QString &austritt)
{
    Db::ausfuehren("INSERT INTO mitglied (mid,sex,intnr,gliederung,wohngliederung,nation,tel,gebdat,zahlart,beitrag,"
                   "eintritt,austritt,bezahlt,zahlstatus,statusdatum) VALUES (4711,'M','0','','','','',?,'L',4800,"
                   "'2001-02-03',?,'2024-12-31','R','2024-01-15')", {gebdat, austritt});
    Db::ausfuehren("INSERT INTO adresse (art,key,suchname,name1,name2) VALUES ('M','00004711','MEIER','Meier','Hans')");
}

// The member dialog on member 4711, with the tab page of `feld` in front.
std::unique_ptr<Mitglieder> mitgliedOeffnen(const char *feld)
{
    auto d = std::make_unique<Mitglieder>(false);
    if (zeige(d.get()))
        tippeReturn(kind(d.get(), "mid"), "4711");
    auto *reiter = d->findChild<QTabWidget *>();
    for (int i = 0; i < reiter->count(); ++i)
        if (reiter->widget(i)->isAncestorOf(kind(d.get(), feld)))
            reiter->setCurrentIndex(i);
    return d;
}

} // namespace

class TstEingabe : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDb> m_db;

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    void init() { QVERIFY((m_db = std::make_unique<TestDb>())->ok()); }
    void cleanup() { m_db.reset(); }

    void betrag_data()
    {
        QTest::addColumn<QString>("eingabe");
        QTest::addColumn<QString>("gezeigt"); // after leaving the field
        QTest::addColumn<qint64>("cent");
        QTest::addColumn<QString>("grund");
        const QString ungueltig = "Kein gültiger Betrag";
        QTest::newRow("Komma") << "12,50" << "12,50" << 1250LL << "";
        QTest::newRow("Punkt vor zwei Ziffern") << "12.50" << "12,50" << 1250LL << "";
        QTest::newRow("Punkt vor einer Ziffer") << "12.5" << "12,50" << 1250LL << "";
        QTest::newRow("Tausender und Komma") << "1.250,50" << "1.250,50" << 125050LL << "";
        QTest::newRow("Punkt vor drei Ziffern") << "1.250" << "1.250,00" << 125000LL << "";
        QTest::newRow("zwei Tausenderpunkte") << "1.250.000" << "1.250.000,00" << 125000000LL << "";
        QTest::newRow("Tausender, Punkt als Komma") << "1.250.5" << "1.250,50" << 125050LL << "";
        QTest::newRow("negativ mit Leerzeichen") << " -5 " << "-5,00" << -500LL << "";
        QTest::newRow("Buchstaben kommen nicht an") << "1x2,5e0" << "12,50" << 1250LL << "";
        QTest::newRow("geleert") << "" << "0,00" << 0LL << "";
        QTest::newRow("Höchstbetrag") << "99999999,99" << "99.999.999,99" << 9999999999LL << "";
        QTest::newRow("zu groß") << "100000000" << "100000000" << 0LL << "Höchstens 99.999.999,99 EUR";
        QTest::newRow("zu klein") << "-100.000.000" << "-100.000.000" << 0LL << "Mindestens -99.999.999,99 EUR";
        QTest::newRow("drei Nachkommastellen") << "12,505" << "12,505" << 0LL << "Höchstens zwei Nachkommastellen";
        QTest::newRow("Punkt vor vier Ziffern") << "1.2345" << "1.2345" << 0LL << ungueltig;
        QTest::newRow("zwei Kommas") << "1,2,3" << "1,2,3" << 0LL << ungueltig;
    }
    void betrag()
    {
        QFETCH(QString, eingabe); QFETCH(QString, gezeigt); QFETCH(qint64, cent); QFETCH(QString, grund);
        QDialog d;
        auto *layout = new QVBoxLayout(&d);
        auto *feld = new WBetrag(&d);
        auto *danach = new QLineEdit(&d);
        layout->addWidget(feld), layout->addWidget(danach);
        QVERIFY(zeige(&d));
        feld->setCents(6000);
        ersetze(feld, eingabe);
        QCOMPARE(feld->cents(), cent); // already while typing, before the field is left
        QTest::keyClick(feld, Qt::Key_Tab);
        QCOMPARE(d.focusWidget(), danach);
        QCOMPARE((QStringList{feld->text(), QString::number(feld->cents()), feld->grund(), feld->toolTip()}),
                 (QStringList{gezeigt, QString::number(cent), grund, grund}));
        // A refusal is said where the field is, once it is left.
        QTRY_COMPARE(QToolTip::text(), grund);
        QToolTip::hideText();
    }

    // Saving refuses an amount field that is not valid and points to it; an emptied field
    // counts as 0,00 even before it is left (Alt+S keeps the focus where it is).
    void betragBeimSpeichern_data()
    {
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QString>("eingabe");
        QTest::addColumn<QString>("cent"); // stored afterwards
        QTest::addColumn<bool>("verweigert");
        QTest::newRow("Journal gültig") << "Journal" << "75.5" << "7550" << false;
        QTest::newRow("Journal geleert") << "Journal" << "" << "6000" << true;
        QTest::newRow("Journal zu groß") << "Journal" << "123456789,00" << "6000" << true;
        QTest::newRow("Mitglied gültig") << "Mitglieder" << "1.200" << "120000" << false;
        QTest::newRow("Mitglied zu groß, anderer Reiter") << "Mitglieder" << "100000000" << "4800" << true;
    }
    void betragBeimSpeichern()
    {
        QFETCH(QString, dialog); QFETCH(QString, eingabe); QFETCH(QString, cent); QFETCH(bool, verweigert);
        std::unique_ptr<QDialog> d;
        QString sql;
        if (dialog == "Journal") {
            Db::ausfuehren("INSERT INTO journdat (datum,lfd,kost,butext) VALUES ('2024-03-15',1,'KST','Miete')");
            Db::ausfuehren("INSERT INTO kgkto (datum,lfd,kg,konto,cent) VALUES "
                           "('2024-03-15',1,'1','1200',6000),('2024-03-15',1,'2','4000',-6000)");
            Db::ausfuehren("INSERT INTO kontenplan (konto,text) VALUES ('1200','Bank'),('4000','Miete')");
            d = std::make_unique<Journal>();
            QVERIFY(zeige(d.get()));
            kind<WDatum>(d.get(), "datum")->setDatum(kTag);
            tippeReturn(kind(d.get(), "nummer"), "1");
            sql = "SELECT cent FROM kgkto WHERE kg='1'";
        } else {
            mitgliedAnlegen("1970-05-06", "2200-01-01");
            d = mitgliedOeffnen("beitrag");
            sql = "SELECT beitrag FROM mitglied";
        }
        auto *feld = kind<WBetrag>(d.get(), dialog == "Journal" ? "betrag" : "beitrag");
        ersetze(feld, eingabe);
        if (auto *reiter = d->findChild<QTabWidget *>())
            reiter->setCurrentIndex(0); // the fee is out of sight now
        QVERIFY(alt(d.get(), Qt::Key_S));
        QCOMPARE(wert(sql), cent);
        if (verweigert) { // the field is in front, focused, as typed
            QCOMPARE(d->focusWidget(), feld);
            QVERIFY(feld->isVisible() && feld->text() == eingabe);
            QCOMPARE(QToolTip::text(), feld->grund());
        }
        QToolTip::hideText();
    }

    // Tab and Shift+Tab leave the date; the date stays for every following line of Bank/Kasse and says so.
    void datumBankKasse()
    {
        Db::ausfuehren("INSERT INTO kontenplan (konto,text) VALUES ('1200','Bank'),('4000','Miete')");
        Zahlungen d;
        QVERIFY(zeige(&d));
        auto *datum = kind<WDatum>(&d, "datum");
        const auto fokus = [&d] { return d.focusWidget() ? d.focusWidget()->objectName() : QString(); };
        kind(&d, "konto")->setFocus();
        QTest::keyClick(kind(&d, "konto"), Qt::Key_Tab);
        QCOMPARE(fokus(), "datum");
        tippe(datum, "15032025"); // day, month and year one after the other
        QCOMPARE(fokus() + " " + datum->datumText(), "datum 2025-03-15");
        QTest::keyClick(datum, Qt::Key_Tab);
        QCOMPARE(fokus(), "betrag");
        QTest::keyClick(d.focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(fokus(), "datum");
        QTest::keyClick(datum, Qt::Key_Tab, Qt::ShiftModifier);
        QCOMPARE(fokus(), "konto");

        tippe(kind(&d, "konto"), "1200");
        for (const char *betrag : {"60", "12,5"}) {
            for (const auto &[name, text] : {std::pair{"betrag", betrag}, {"text", "Beitrag"}, {"kost", "KST"},
                                             {"gkonto", "4000"}})
                ersetze(kind(&d, name), text);
            QVERIFY(alt(&d, Qt::Key_S));
            QCOMPARE(fokus() + " " + datum->text(), "datum 15.03.2025");
            QCOMPARE(kind<QLabel>(&d, "datumHinweis")->text(), "Samstag: gilt für jede folgende Zeile (nicht heute)");
        }
        QCOMPARE(TestDb::zeile("SELECT group_concat(datum||' '||lfd||' '||cent) FROM kgkto WHERE kg='1'"),
                 QStringList{"2025-03-15 1 6000,2025-03-15 2 1250"});
    }

    // Marker dates show as "—" and are stored back unchanged; an emptied field stores the marker.
    void leerDatum_data()
    {
        QTest::addColumn<QString>("feld");
        QTest::addColumn<QString>("gespeichert");
        QTest::addColumn<QString>("eingabe"); // typed after emptying ("\t": Tab); "-": untouched
        QTest::addColumn<QString>("gezeigt"); // after loading
        QTest::addColumn<QString>("danach");  // stored after saving
        QTest::newRow("Geburt 1900") << "gebdat" << "1900-01-01" << "-" << "—" << "1900-01-01";
        QTest::newRow("Geburt echt") << "gebdat" << "1975-04-30" << "-" << "30.04.1975" << "1975-04-30";
        QTest::newRow("Geburt geleert") << "gebdat" << "1975-04-30" << "" << "30.04.1975" << "1900-01-01"; // saved at once
        QTest::newRow("Geburt nachgetragen") << "gebdat" << "1900-01-01" << "30041975" << "—" << "1975-04-30";
        QTest::newRow("nicht ausgetreten") << "austritt" << "2200-01-01" << "-" << "—" << "2200-01-01";
        QTest::newRow("Austritt eingetragen") << "austritt" << "2200-01-01" << "31122024\t" << "—" << "2024-12-31";
        QTest::newRow("Austritt geleert") << "austritt" << "2023-06-30" << "\t" << "30.06.2023" << "2200-01-01";
        QTest::newRow("Quittung 1995") << "quittung" << "1995-06-01" << "-" << "—" << "1995-06-01";
        QTest::newRow("Quittung 1995 geleert") << "quittung" << "1995-06-01" << "\t" << "—" << "1995-06-01";
        QTest::newRow("Quittung gedruckt") << "quittung" << "2024-05-05" << "-" << "05.05.2024" << "2024-05-05";
    }
    void leerDatum()
    {
        QFETCH(QString, feld); QFETCH(QString, gespeichert); QFETCH(QString, eingabe);
        QFETCH(QString, gezeigt); QFETCH(QString, danach);
        QString gelesen;
        const auto aendern = [&](WDatum *datum) {
            gelesen = datum->text();
            if (eingabe != "-")
                ersetze(datum, eingabe);
        };
        if (feld == "quittung") {
            Db::ausfuehren("INSERT INTO spende (jdatum,jlfd,mid,sortname,art,gliederung,quittung,prozint,prozbuv,"
                           "prozlv,prozbzv,prozkv,prozov) VALUES ('2024-03-15',3,4711,'x','T','',?,0,0,0,0,0,10000)",
                           {gespeichert});
            Spende s;
            s.read(kTag, 3);
            beiModal([&](QDialog *d) {
                if (zeige(d))
                    aendern(feldBei<WDatum>(d, "Bescheinigung"));
                if (!alt(d, Qt::Key_S))
                    d->done(-1);
            });
            QCOMPARE(s.exec(2500), int(QDialog::Accepted));
            s.write(kTag, 3);
        } else {
            mitgliedAnlegen(feld == "gebdat" ? gespeichert : "1970-05-06", feld == "austritt" ? gespeichert : "2200-01-01");
            auto d = mitgliedOeffnen(qPrintable(feld));
            aendern(kind<WDatum>(d.get(), qPrintable(feld)));
            QVERIFY(alt(d.get(), Qt::Key_S));
        }
        QCOMPARE(gelesen, gezeigt);
        QCOMPARE(wert(feld == "quittung" ? "SELECT quittung FROM spende" : "SELECT " + feld + " FROM mitglied"), danach);
    }
};

QTEST_MAIN(TstEingabe)
#include "tst_eingabe.moc"
