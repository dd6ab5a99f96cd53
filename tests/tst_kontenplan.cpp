// The chart of accounts and the chart search, driven as the user drives them.

#include "db.h"
#include "dialogdriver.h"
#include "kontenplan.h"
#include "kplsuche.h"
#include "testdb.h"
#include "wkonto.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QtTest>

#include <memory>

namespace {

void kontoAnlegen(const QString &konto, const QString &text, const QString &art)
{
    Db::ausfuehren(QStringLiteral("INSERT INTO kontenplan (konto,text,abgrart) VALUES (?,?,?)"), {konto, text, art});
}

// The stored text and accrual code of an account, or an empty list when there is no row.
QStringList gespeichert(const QString &konto)
{
    QSqlQuery q = Db::abfrage(QStringLiteral("SELECT text,abgrart FROM kontenplan WHERE konto=?"), {konto});
    return q.next() ? QStringList{q.value(0).toString(), q.value(1).toString()} : QStringList();
}

int anzahl()
{
    return Db::wert(QStringLiteral("SELECT count(*) FROM kontenplan")).toInt();
}

QPushButton *knopf(QWidget *dialog, const QString &text)
{
    for (QPushButton *k : dialog->findChildren<QPushButton *>()) {
        if (k->text() == text)
            return k;
    }
    return nullptr;
}

QStringList spalte(QTableView *liste, int spalte)
{
    QStringList werte;
    for (int zeile = 0; zeile < liste->model()->rowCount(); ++zeile)
        werte << liste->model()->index(zeile, spalte).data().toString();
    return werte;
}

// Types like the user, umlauts included (QTest::keyClicks takes ASCII only).
void tippe(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 128)
            QTest::keyClick(widget, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key(c.toUpper().unicode()), QString(c), Qt::NoModifier);
    }
}

// An accelerator such as Alt+S; the button clicks itself a moment later (animated click).
void alt(QWidget *dialog, Qt::Key taste)
{
    QTest::keyClick(dialog, taste, Qt::AltModifier);
    (void)QTest::qWaitFor([dialog] {
        for (QPushButton *k : dialog->findChildren<QPushButton *>()) {
            if (k->isDown())
                return false;
        }
        return true;
    });
}

void klickeZeile(QTableView *liste, int zeile)
{
    const QRect rect = liste->visualRect(liste->model()->index(zeile, 0));
    QTest::mouseClick(liste->viewport(), Qt::LeftButton, {}, rect.center());
}

// The widgets of one Kontenplan, shown and active so accelerators reach it.
struct Plan
{
    explicit Plan(bool anlegen) : dialog(anlegen)
    {
        dialog.show();
        dialog.activateWindow();
        konto = dialog.findChild<WKonto *>();
        for (QLineEdit *f : dialog.findChildren<QLineEdit *>()) {
            if (!qobject_cast<WKonto *>(f))
                text = f;
        }
        abgrenzung = dialog.findChild<QComboBox *>();
        liste = dialog.findChild<QTableView *>();
    }
    bool aktiv() { return QTest::qWaitForWindowActive(&dialog); }
    bool inAuswahl() const
    {
        return konto->isEnabled() && !text->isEnabled() && !abgrenzung->isEnabled()
            && !knopf(const_cast<Kontenplan *>(&dialog), QStringLiteral("&Speichern"))->isEnabled();
    }
    void lese(const QString &nummer)
    {
        tippe(konto, nummer);
        QTest::keyClick(konto, Qt::Key_Return);
    }
    void speichern() { alt(&dialog, Qt::Key_S); }

    Kontenplan dialog;
    WKonto *konto = nullptr;
    QLineEdit *text = nullptr;
    QComboBox *abgrenzung = nullptr;
    QTableView *liste = nullptr;
};

} // namespace

class TstKontenplan : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void neuesKonto_data();
    void neuesKonto();
    void bestehendesKonto_data();
    void bestehendesKonto();
    void suchtextImKontofeld();
    void ungueltigeEingaben();
    void returnDrueckKeinenKnopf();
    void escape();
    void schliessenImBearbeiten();
    void loeschen_data();
    void loeschen();
    void anlegemodus_data();
    void anlegemodus();

    void suche_data();
    void suche();
    void sucheMitFragezeichen();
    void sucheAnlegen();

private:
    std::unique_ptr<TestDb> m_db;
};

void TstKontenplan::init()
{
    m_db = std::make_unique<TestDb>();
    QVERIFY(m_db->ok());
}

void TstKontenplan::cleanup()
{
    m_db.reset();
}

void TstKontenplan::neuesKonto_data()
{
    QTest::addColumn<QString>("eingabe");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("abgrenzung");
    QTest::addColumn<bool>("perReturn");
    QTest::addColumn<QString>("konto");
    QTest::addColumn<QString>("gespeicherterText");
    QTest::addColumn<QString>("art");

    QTest::newRow("ohne Abgrenzung") << "4711" << "Porto" << 0 << false << "4711" << "Porto" << " ";
    QTest::newRow("Saldo") << "0990" << "Rechnungsabgrenzung" << 1 << false << "0990" << "Rechnungsabgrenzung"
                           << "S";
    QTest::newRow("OPs, Return im Text") << "1600" << "Verbindlichkeiten" << 2 << true << "1600"
                                         << "Verbindlichkeiten" << "O";
    QTest::newRow("bereinigt") << " 12ab " << "  Miete  d'Büro " << 0 << false << "12AB" << "Miete d`Büro" << " ";
}

void TstKontenplan::neuesKonto()
{
    QFETCH(QString, eingabe);
    QFETCH(QString, text);
    QFETCH(int, abgrenzung);
    QFETCH(bool, perReturn);
    QFETCH(QString, konto);
    QFETCH(QString, gespeicherterText);
    QFETCH(QString, art);

    kontoAnlegen(QStringLiteral("0100"), QStringLiteral("Grundstücke"), QStringLiteral(" "));
    Plan p(false);
    QVERIFY(p.aktiv());
    QCOMPARE(spalte(p.liste, 0), QStringList{QStringLiteral("0100")});
    QVERIFY(p.inAuswahl());

    p.lese(eingabe);
    QVERIFY(!p.inAuswahl());
    QVERIFY(p.text->text().isEmpty());
    QCOMPARE(QApplication::focusWidget(), p.text); // a new account: focus on its text
    tippe(p.text, text);
    p.abgrenzung->setCurrentIndex(abgrenzung);
    if (perReturn)
        QTest::keyClick(p.text, Qt::Key_Return);
    else
        p.speichern();

    QCOMPARE(gespeichert(konto), (QStringList{gespeicherterText, art}));
    QCOMPARE(anzahl(), 2);
    QVERIFY(p.inAuswahl());
    QVERIFY(p.konto->QLineEdit::text().isEmpty());
    QCOMPARE(p.abgrenzung->currentIndex(), 0);
    QVERIFY(spalte(p.liste, 0).contains(konto));
    QVERIFY(spalte(p.liste, 1).contains(gespeicherterText));
}

void TstKontenplan::bestehendesKonto_data()
{
    QTest::addColumn<QString>("konto");
    QTest::addColumn<bool>("perKlick");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("abgrenzung");

    QTest::newRow("Return, Saldo") << "1000" << false << "Kasse" << 1;
    QTest::newRow("Klick, OPs") << "1200" << true << "Bank" << 2;
    QTest::newRow("Klick, unbekannter Code") << "4000" << true << "Miete" << 0;
}

void TstKontenplan::bestehendesKonto()
{
    QFETCH(QString, konto);
    QFETCH(bool, perKlick);
    QFETCH(QString, text);
    QFETCH(int, abgrenzung);

    kontoAnlegen(QStringLiteral("4000"), QStringLiteral("Miete"), QStringLiteral("X"));
    kontoAnlegen(QStringLiteral("1200"), QStringLiteral("Bank"), QStringLiteral("O"));
    kontoAnlegen(QStringLiteral("1000"), QStringLiteral("Kasse"), QStringLiteral("S"));
    Plan p(false);
    QVERIFY(p.aktiv());
    QCOMPARE(spalte(p.liste, 0), (QStringList{"1000", "1200", "4000"}));
    QCOMPARE(spalte(p.liste, 1), (QStringList{"Kasse", "Bank", "Miete"}));

    if (perKlick)
        klickeZeile(p.liste, spalte(p.liste, 0).indexOf(konto));
    else
        p.lese(konto);

    QVERIFY(!p.inAuswahl());
    QCOMPARE(p.konto->text(), konto);
    QCOMPARE(p.text->text(), text);
    QCOMPARE(p.abgrenzung->currentIndex(), abgrenzung);
    QCOMPARE(QApplication::focusWidget(), knopf(&p.dialog, QStringLiteral("&Abbruch")));

    // A click on the list while editing changes nothing.
    klickeZeile(p.liste, 0);
    QCOMPARE(p.konto->text(), konto);

    p.text->setFocus();
    QTest::keyClicks(p.text, QStringLiteral(" neu"));
    p.abgrenzung->setCurrentIndex(1);
    p.speichern();
    QCOMPARE(gespeichert(konto), (QStringList{text + QStringLiteral(" neu"), QStringLiteral("S")}));
    QCOMPARE(anzahl(), 3);
    QVERIFY(p.inAuswahl());
}

void TstKontenplan::suchtextImKontofeld()
{
    kontoAnlegen(QStringLiteral("4200"), QStringLiteral("Miete"), QStringLiteral("S"));
    kontoAnlegen(QStringLiteral("4900"), QStringLiteral("Porto"), QStringLiteral(" "));
    Plan p(false);
    QVERIFY(p.aktiv());

    QString titel;
    QStringList gefunden;
    DialogTreiber::beiModal([&](QDialog *suche) {
        titel = suche->windowTitle();
        auto *liste = suche->findChild<QTableView *>();
        gefunden = spalte(liste, 0);
        if (gefunden.size() == 1)
            klickeZeile(liste, 0);
        else
            suche->reject();
    });
    p.lese(QStringLiteral("kmiete"));
    QVERIFY(DialogTreiber::gelaufen());
    QCOMPARE(titel, QStringLiteral("Kontenplansuche"));
    QCOMPARE(gefunden, QStringList{"4200"});
    QVERIFY(!p.inAuswahl());
    QCOMPARE(p.konto->text(), QStringLiteral("4200"));
    QCOMPARE(p.text->text(), QStringLiteral("Miete"));
    QCOMPARE(p.abgrenzung->currentIndex(), 1);
}

void TstKontenplan::ungueltigeEingaben()
{
    Plan p(false);
    QVERIFY(p.aktiv());

    // No account number: Return stays in the selection state.
    p.lese(QStringLiteral("1A00"));
    QVERIFY(p.inAuswahl());
    p.konto->clear();

    // Saving without a text does nothing.
    p.lese(QStringLiteral("2000"));
    QVERIFY(!p.inAuswahl());
    QTest::keyClicks(p.text, QStringLiteral("   "));
    p.speichern();
    QCOMPARE(anzahl(), 0);
    QVERIFY(!p.inAuswahl());
}

void TstKontenplan::returnDrueckKeinenKnopf()
{
    kontoAnlegen(QStringLiteral("1000"), QStringLiteral("Kasse"), QStringLiteral(" "));
    Plan p(false);
    QVERIFY(p.aktiv());
    for (QPushButton *k : p.dialog.findChildren<QPushButton *>())
        QVERIFY(!k->autoDefault() && !k->isDefault());

    p.lese(QStringLiteral("1000"));
    QPushButton *abbruch = knopf(&p.dialog, QStringLiteral("&Abbruch"));
    QCOMPARE(QApplication::focusWidget(), abbruch);
    QTest::keyClick(abbruch, Qt::Key_Return);
    QTest::keyClick(abbruch, Qt::Key_Enter);
    QVERIFY(!p.inAuswahl());
    QVERIFY(p.dialog.isVisible());

    QPushButton *loeschen = knopf(&p.dialog, QStringLiteral("&Löschen"));
    loeschen->setFocus();
    SkriptInteraktion skript;
    QTest::keyClick(loeschen, Qt::Key_Return);
    QCOMPARE(skript.anfragen().size(), 0);
    QCOMPARE(anzahl(), 1);
}

void TstKontenplan::escape()
{
    Plan p(false);
    QVERIFY(p.aktiv());
    p.lese(QStringLiteral("3000"));
    QVERIFY(!p.inAuswahl());
    QTest::keyClicks(p.text, QStringLiteral("Verworfen"));

    QTest::keyClick(p.text, Qt::Key_Escape);
    QVERIFY(p.inAuswahl());
    QVERIFY(p.dialog.isVisible());
    QVERIFY(p.konto->QLineEdit::text().isEmpty());
    QVERIFY(p.text->text().isEmpty());
    QCOMPARE(QApplication::focusWidget(), p.konto);
    QCOMPARE(anzahl(), 0);

    QTest::keyClick(p.konto, Qt::Key_Escape);
    QVERIFY(!p.dialog.isVisible());
    QCOMPARE(p.dialog.result(), int(QDialog::Rejected));
}

void TstKontenplan::schliessenImBearbeiten()
{
    Plan p(false);
    QVERIFY(p.aktiv());
    p.lese(QStringLiteral("3000"));
    QVERIFY(!p.dialog.close());
    QVERIFY(p.dialog.isVisible());
    QVERIFY(p.inAuswahl());
    QVERIFY(p.dialog.close());
    QVERIFY(!p.dialog.isVisible());
}

void TstKontenplan::loeschen_data()
{
    QTest::addColumn<QMessageBox::StandardButton>("antwort");
    QTest::addColumn<QStringList>("bleibend");

    QTest::newRow("bestätigt") << QMessageBox::Ok << QStringList{"1000", "4000"};
    QTest::newRow("abgelehnt") << QMessageBox::Cancel << QStringList{"1000", "1200", "4000"};
}

void TstKontenplan::loeschen()
{
    QFETCH(QMessageBox::StandardButton, antwort);
    QFETCH(QStringList, bleibend);

    kontoAnlegen(QStringLiteral("1000"), QStringLiteral("Kasse"), QStringLiteral(" "));
    kontoAnlegen(QStringLiteral("1200"), QStringLiteral("Bank"), QStringLiteral(" "));
    kontoAnlegen(QStringLiteral("4000"), QStringLiteral("Miete"), QStringLiteral(" "));
    Plan p(false);
    QVERIFY(p.aktiv());

    SkriptInteraktion skript;
    skript.antworte(antwort);
    p.lese(QStringLiteral("1200"));
    alt(&p.dialog, Qt::Key_L);

    QCOMPARE(skript.anfragen().size(), 1);
    QCOMPARE(skript.anfragen().first().art, Interaktion::Art::Frage);
    QCOMPARE(skript.unerwartet(), 0);
    QStringList konten;
    QSqlQuery q = Db::abfrage(QStringLiteral("SELECT konto FROM kontenplan ORDER BY konto"));
    while (q.next())
        konten << q.value(0).toString();
    QCOMPARE(konten, bleibend);
    if (antwort == QMessageBox::Ok) {
        QCOMPARE(spalte(p.liste, 0), bleibend);
        QVERIFY(p.inAuswahl());
    }
}

void TstKontenplan::anlegemodus_data()
{
    QTest::addColumn<bool>("speichern");
    QTest::newRow("gespeichert") << true;
    QTest::newRow("abgebrochen") << false;
}

void TstKontenplan::anlegemodus()
{
    QFETCH(bool, speichern);

    Plan p(true);
    QVERIFY(p.aktiv());
    QVERIFY(!knopf(&p.dialog, QStringLiteral("&Löschen")));
    QVERIFY(knopf(&p.dialog, QStringLiteral("&Speichern")));

    p.lese(QStringLiteral("4711"));
    QTest::keyClicks(p.text, QStringLiteral("Porto"));
    if (speichern) {
        p.speichern();
        QCOMPARE(p.dialog.result(), int(QDialog::Accepted));
        QCOMPARE(p.dialog.angelegt(), QStringLiteral("4711"));
        QCOMPARE(gespeichert(QStringLiteral("4711")), (QStringList{"Porto", " "}));
    } else {
        QTest::keyClick(p.text, Qt::Key_Escape);
        QCOMPARE(p.dialog.result(), int(QDialog::Rejected));
        QVERIFY(p.dialog.angelegt().isEmpty());
        QCOMPARE(anzahl(), 0);
    }
    QVERIFY(!p.dialog.isVisible());
}

void TstKontenplan::suche_data()
{
    QTest::addColumn<QString>("eingabe");
    QTest::addColumn<QStringList>("konten");

    QTest::newRow("Umlaut und Umschreibung") << "müller" << QStringList{"4100", "4110", "4120"};
    QTest::newRow("ue gleich u") << "MUELLER" << QStringList{"4100", "4110", "4120"};
    QTest::newRow("mitten im Text") << "erat" << QStringList{"4100"};
    QTest::newRow("ss gleich ß") << "Strass" << QStringList{"4300"};
    QTest::newRow("kein Treffer") << "Gehalt" << QStringList{};
}

void TstKontenplan::suche()
{
    QFETCH(QString, eingabe);
    QFETCH(QStringList, konten);

    kontoAnlegen(QStringLiteral("4100"), QStringLiteral("Müller Beratung"), QStringLiteral(" "));
    kontoAnlegen(QStringLiteral("4110"), QStringLiteral("Mueller GmbH"), QStringLiteral(" "));
    kontoAnlegen(QStringLiteral("4120"), QStringLiteral("Muller"), QStringLiteral(" "));
    kontoAnlegen(QStringLiteral("4200"), QStringLiteral("Miete"), QStringLiteral(" "));
    kontoAnlegen(QStringLiteral("4300"), QStringLiteral("Straßenfest"), QStringLiteral(" "));

    KplSuche suche(false);
    QVERIFY(!knopf(&suche, QStringLiteral("A&nlegen")));
    suche.show();
    suche.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&suche));
    auto *feld = suche.findChild<QLineEdit *>();
    auto *liste = suche.findChild<QTableView *>();
    tippe(feld, eingabe);
    QTest::keyClick(feld, Qt::Key_Return); // "&Ok" searches
    QVERIFY(suche.isVisible());

    QStringList gefunden = spalte(liste, 0);
    gefunden.sort();
    QCOMPARE(gefunden, konten);
    if (konten.isEmpty())
        return;

    const int zeile = spalte(liste, 0).indexOf(konten.last());
    QCOMPARE(liste->model()->index(zeile, 1).data().toString(),
             gespeichert(konten.last()).value(0));
    klickeZeile(liste, zeile);
    QCOMPARE(suche.result(), int(QDialog::Accepted));
    QCOMPARE(suche.auswahl(), konten.last());
}

void TstKontenplan::sucheMitFragezeichen()
{
    kontoAnlegen(QStringLiteral("4200"), QStringLiteral("Miete"), QStringLiteral(" "));
    kontoAnlegen(QStringLiteral("4210"), QStringLiteral("Nebenkosten Miete"), QStringLiteral(" "));
    kontoAnlegen(QStringLiteral("4900"), QStringLiteral("Porto"), QStringLiteral(" "));

    KplSuche suche(false);
    QString feldText;
    QStringList gefunden;
    DialogTreiber::beiModal([&](QDialog *d) {
        feldText = d->findChild<QLineEdit *>()->text();
        auto *liste = d->findChild<QTableView *>();
        gefunden = spalte(liste, 0);
        if (gefunden.contains(QStringLiteral("4210")))
            klickeZeile(liste, gefunden.indexOf(QStringLiteral("4210")));
        else
            d->reject();
    });
    QCOMPARE(suche.exec(QStringLiteral("Miete?")), 1);
    QVERIFY(DialogTreiber::gelaufen());
    QCOMPARE(feldText, QStringLiteral("Miete"));
    gefunden.sort();
    QCOMPARE(gefunden, (QStringList{"4200", "4210"}));
    QCOMPARE(suche.auswahl(), QStringLiteral("4210"));
}

void TstKontenplan::sucheAnlegen()
{
    KplSuche suche(true);
    int treffer = -1;
    DialogTreiber::beiModal([&treffer](QDialog *d) {
        treffer = d->findChild<QTableView *>()->model()->rowCount();
        DialogTreiber::beiModal([](QDialog *plan) {
            plan->activateWindow();
            if (!qobject_cast<Kontenplan *>(plan) || !QTest::qWaitForWindowActive(plan)) {
                plan->reject();
                return;
            }
            auto *konto = plan->findChild<WKonto *>();
            QTest::keyClicks(konto, QStringLiteral("4920"));
            QTest::keyClick(konto, Qt::Key_Return);
            QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Telefon"));
            alt(plan, Qt::Key_S);
            if (plan->isVisible()) // not saved: end it, the test fails below
                plan->reject();
        });
        knopf(d, QStringLiteral("A&nlegen"))->click();
        if (d->isVisible())
            d->reject();
    });
    QCOMPARE(suche.exec(QStringLiteral("Telefon")), 1);
    QCOMPARE(treffer, 0);
    QCOMPARE(suche.auswahl(), QStringLiteral("4920"));
    QCOMPARE(gespeichert(QStringLiteral("4920")), (QStringList{"Telefon", " "}));
}

QTEST_MAIN(TstKontenplan)
#include "tst_kontenplan.moc"
