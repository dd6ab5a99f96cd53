// The chart of accounts and the chart search, driven as the user drives them.

#include "db.h"
#include "dialogdriver.h"
#include "kontenplan.h"
#include "kplsuche.h"
#include "testdb.h"
#include "wkonto.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

#include <memory>

using namespace DialogTreiber;

namespace {

// The chart every test starts from, with the accrual codes S, O, an unknown one and none.
const QStringList kZeilen = {"1000 Kasse",        "1200 Bank",   "4000 Miete", "4100 Müller Beratung",
                             "4110 Mueller GmbH", "4120 Muller", "4210 Nebenkosten Miete", "4300 Straßenfest"};
const QString kArten = QStringLiteral("SOX     ");

// The rows of a list as "konto text", in their order.
QStringList zeilen(QTableView *liste)
{
    QStringList werte;
    for (int z = 0; z < liste->model()->rowCount(); ++z)
        werte << liste->model()->index(z, 0).data().toString() + ' ' + liste->model()->index(z, 1).data().toString();
    return werte;
}

bool klickeKonto(QTableView *liste, const QString &konto)
{
    const int zeile = zeilen(liste).indexOf(QRegularExpression(konto + " .*"));
    if (zeile >= 0)
        klicke(liste, liste->model()->index(zeile, 0));
    return zeile >= 0;
}

} // namespace

class TstKontenplan : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_db = std::make_unique<TestDb>();
        QVERIFY(m_db->ok());
        for (int i = kZeilen.size() - 1; i >= 0; --i) // backwards: the list must sort
            Db::ausfuehren(QStringLiteral("INSERT INTO kontenplan (konto,text,abgrart) VALUES (?,?,?)"),
                           {kZeilen[i].section(' ', 0, 0), kZeilen[i].section(' ', 1), QString(kArten[i])});
    }
    void cleanup() { m_db.reset(); }

    // Read an account (Return, click on the list, search from the account field), change it, leave it.
    void bearbeiten_data()
    {
        QTest::addColumn<int>("weg"); // 0 Return, 1 click, 2 search
        QTest::addColumn<QString>("eingabe");
        QTest::addColumn<QString>("tippen"); // after the text read
        QTest::addColumn<int>("aktion"); // see the switch below
        QTest::addColumn<QStringList>("zeile"); // stored afterwards; its code also chosen in the combo box
        const QStringList kasse{"Kasse", "S"};
        QTest::newRow("neu, Alt+S") << 0 << "4711" << "Porto" << 0 << QStringList{"Porto", " "};
        QTest::newRow("neu, Return") << 0 << "1600" << "Kredit" << 1 << QStringList{"Kredit", "O"};
        QTest::newRow("neu, sauber") << 0 << " 12ab " << "  a  d'Büro " << 0 << QStringList{"a d`Büro", " "};
        QTest::newRow("neu, leerer Text") << 0 << "2000" << "   " << 0 << QStringList();
        QTest::newRow("Return") << 0 << "1000" << " neu" << 0 << QStringList{"Kasse neu", "O"};
        QTest::newRow("Klick") << 1 << "1200" << " neu" << 0 << QStringList{"Bank neu", "S"};
        QTest::newRow("Suche") << 2 << "kmiete" << "" << 1 << QStringList{"Miete", " "};
        QTest::newRow("Escape") << 0 << "1000" << "x" << 2 << kasse;
        QTest::newRow("Alt+A") << 0 << "1000" << "x" << 3 << kasse;
        QTest::newRow("Fenster schließen") << 0 << "1000" << "x" << 4 << kasse;
        QTest::newRow("Return auf Abbruch") << 0 << "1000" << "x" << 5 << kasse;
        QTest::newRow("Return auf Löschen") << 0 << "1000" << "x" << 6 << kasse;
        QTest::newRow("Löschen bestätigt") << 0 << "1000" << "x" << 7 << QStringList();
        QTest::newRow("Löschen abgelehnt") << 0 << "1000" << "x" << 8 << kasse;
    }
    void bearbeiten()
    {
        QFETCH(int, weg); QFETCH(QString, eingabe); QFETCH(QString, tippen); QFETCH(int, aktion);
        QFETCH(QStringList, zeile);
        const QString konto = weg == 2 ? QStringLiteral("4000") : eingabe.simplified().toUpper();
        const int vorher = kZeilen.indexOf(QRegularExpression(konto + " .*"));
        const QString gelesen = kZeilen.value(vorher).section(' ', 1);
        // Saved, cancelled, closed or deleted: back in the selection state.
        const bool zurueck = QList<int>{2, 3, 4, 7}.contains(aktion) || (aktion <= 1 && !zeile.isEmpty());

        Kontenplan plan(false);
        QVERIFY(zeige(&plan));
        auto *kontoFeld = plan.findChild<WKonto *>();
        auto *text = feldBei<QLineEdit>(&plan, QStringLiteral("Text"));
        auto *abgrenzung = plan.findChild<QComboBox *>();
        auto *liste = plan.findChild<QTableView *>();
        // Selection state (true) or editing state (false), as the user sees it.
        const auto im = [&](bool wahl) {
            bool ok = kontoFeld->isEnabled() == wahl && text->isEnabled() != wahl && abgrenzung->isEnabled() != wahl;
            for (QPushButton *k : plan.findChildren<QPushButton *>())
                ok = ok && k->isEnabled() != wahl;
            return ok && (!wahl || (kontoFeld->QLineEdit::text().isEmpty() && text->text().isEmpty()
                                    && abgrenzung->currentIndex() == 0 && QApplication::focusWidget() == kontoFeld));
        };
        QVERIFY(im(true));
        tippeReturn(kontoFeld, QStringLiteral("1A00")); // no account number: nothing is read
        QVERIFY(!text->isEnabled());
        kontoFeld->clear();
        if (weg == 2) // the account field opens the chart search
            beiModal([&](QDialog *suche) {
                if (!klickeKonto(suche->findChild<QTableView *>(), konto))
                    suche->reject();
            });
        if (weg == 1)
            QVERIFY(klickeKonto(liste, konto));
        else
            tippeReturn(kontoFeld, eingabe);
        QVERIFY(zeige(&plan)); // active again after the search
        QVERIFY(im(false));
        QCOMPARE(plan.findChild<QLabel *>("neu")->text(), vorher < 0 ? "neu" : "");
        QCOMPARE(kontoFeld->text(), konto);
        QCOMPARE(text->text(), gelesen);
        QCOMPARE(abgrenzung->currentIndex(), QStringLiteral("SO").indexOf(vorher < 0 ? ' ' : kArten[vorher]) + 1);
        QCOMPARE(QApplication::focusWidget(),
                 gelesen.isEmpty() ? static_cast<QWidget *>(text) : knopf(&plan, QStringLiteral("&Abbruch")));
        QVERIFY(klickeKonto(liste, QStringLiteral("4300")) && kontoFeld->text() == konto); // ignored while editing
        abgrenzung->setCurrentIndex(aktion < 2 ? QStringLiteral("SO").indexOf(zeile.value(1)) + 1 : 2);
        tippe(text, tippen);
        SkriptInteraktion skript;
        skript.antworte(aktion == 7 ? QMessageBox::Ok : QMessageBox::Cancel);
        switch (aktion) {
        case 0: QVERIFY(alt(&plan, Qt::Key_S)); break;
        case 1: QTest::keyClick(text, Qt::Key_Return); break;
        case 2: QTest::keyClick(text, Qt::Key_Escape); break;
        case 3: QVERIFY(alt(&plan, Qt::Key_A)); break;
        case 4: QVERIFY(!plan.close()); break;
        case 5: QTest::keyClick(knopf(&plan, QStringLiteral("&Abbruch")), Qt::Key_Return); break;
        case 6: QTest::keyClick(knopf(&plan, QStringLiteral("&Löschen")), Qt::Key_Return); break;
        default: QVERIFY(alt(&plan, Qt::Key_L));
        }
        QCOMPARE(skript.anfragen().size(), aktion >= 7 ? 1 : 0);
        QVERIFY(aktion < 7 || skript.anfragen().first().art == Interaktion::Art::Frage);
        QCOMPARE(TestDb::zeile(QStringLiteral("SELECT text,abgrart FROM kontenplan WHERE konto=?"), {konto}), zeile);
        QStringList erwartet = kZeilen.filter(QRegularExpression("^(?!" + konto + " )"));
        if (!zeile.isEmpty())
            erwartet << konto + ' ' + zeile.first();
        erwartet.sort();
        QCOMPARE(zeilen(liste), erwartet);
        QCOMPARE(TestDb::anzahl(QStringLiteral("SELECT count(*) FROM kontenplan")), int(erwartet.size()));
        QVERIFY(im(zurueck));
        if (zurueck) { // in the selection state Escape and closing end the dialog
            aktion == 4 ? (void)plan.close() : QTest::keyClick(kontoFeld, Qt::Key_Escape);
            QVERIFY(!plan.isVisible() && plan.result() == QDialog::Rejected);
        }
    }

    // exec() searches before the dialog shows, Return in the field ("&Ok") searches; a click chooses,
    // "A&nlegen" opens the chart in creation mode (no "&Löschen"; saving or Escape ends it).
    void suche_data()
    {
        QTest::addColumn<QString>("eingabe"); // "=": typed into the empty field
        QTest::addColumn<QStringList>("konten");
        QTest::addColumn<QString>("auswahl");
        QTest::addColumn<int>("anlegen"); // 0 no button, 1 create and save, 2 create and cancel
        QTest::newRow("Umlaut und Umschreibung") << "müller" << QStringList{"4100", "4110", "4120"} << "4120" << 0;
        QTest::newRow("ue gleich u") << "MUELLER" << QStringList{"4100", "4110", "4120"} << "4100" << 0;
        QTest::newRow("mitten im Text") << "erat" << QStringList{"4100"} << "4100" << 0;
        QTest::newRow("ss gleich ß, getippt") << "=Strass" << QStringList{"4300"} << "4300" << 0;
        QTest::newRow("Fragezeichen") << "Miete?" << QStringList{"4000", "4210"} << "4210" << 0;
        QTest::newRow("kein Treffer") << "Gehalt" << QStringList() << "" << 0;
        QTest::newRow("angelegt") << "Telefon" << QStringList() << "4920" << 1;
        QTest::newRow("Anlegen abgebrochen") << "Telefon" << QStringList() << "" << 2;
    }
    void suche()
    {
        QFETCH(QString, eingabe); QFETCH(QStringList, konten); QFETCH(QString, auswahl); QFETCH(int, anlegen);
        const bool getippt = eingabe.startsWith('=');

        KplSuche suche(anlegen > 0);
        QCOMPARE(knopf(&suche, QStringLiteral("A&nlegen")) != nullptr, anlegen > 0);
        QStringList gefunden;
        bool geschlossen = false;
        beiModal([&](QDialog *d) {
            auto *liste = d->findChild<QTableView *>();
            if (getippt)
                tippeReturn(d->findChild<QLineEdit *>(), eingabe.mid(1));
            gefunden = zeilen(liste);
            if (!anlegen)
                klickeKonto(liste, auswahl);
            else
                beiModal([&](QDialog *plan) {
                    if (!zeige(plan) || knopf(plan, QStringLiteral("&Löschen")))
                        return plan->reject();
                    tippeReturn(plan->findChild<WKonto *>(), QStringLiteral("4920"));
                    tippe(QApplication::focusWidget(), QStringLiteral("Telefon"));
                    anlegen == 1 ? (void)alt(plan, Qt::Key_S) : QTest::keyClick(plan, Qt::Key_Escape);
                    geschlossen = !plan->isVisible();
                    if (!geschlossen)
                        plan->reject();
                });
            if (anlegen)
                knopf(d, QStringLiteral("A&nlegen"))->click();
            if (d->isVisible())
                d->reject();
        });
        QCOMPARE(suche.exec(getippt ? QString() : eingabe), int(!auswahl.isEmpty()));
        QCOMPARE(suche.findChild<QLineEdit *>()->text(), eingabe.remove('=').remove('?'));
        gefunden.sort();
        QCOMPARE(gefunden, kZeilen.filter(QRegularExpression("^(" + konten.join('|') + ") ")));
        QCOMPARE(suche.auswahl(), auswahl);
        QCOMPARE(geschlossen, anlegen > 0);
        QCOMPARE(TestDb::zeile(QStringLiteral("SELECT text,abgrart FROM kontenplan WHERE konto='4920'")),
                 (anlegen == 1 ? QStringList{"Telefon", " "} : QStringList()));
    }

private:
    std::unique_ptr<TestDb> m_db;
};

QTEST_MAIN(TstKontenplan)
#include "tst_kontenplan.moc"
