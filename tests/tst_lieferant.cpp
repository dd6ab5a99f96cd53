#include "db.h"
#include "dialogdriver.h"
#include "lieferant.h"
#include "lssuche.h"
#include "testdb.h"
#include "velamain.h"
#include "wadresse.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableView>
#include <QTest>
#include <QWidget>

#include <memory>

class TstLieferant : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void schluesselLaden_data();
    void schluesselLaden();
    void anlegenUndAendern();
    void speichernOhneNameTutNichts();
    void returnDruecktKeinenKnopf();
    void loeschen_data();
    void loeschen();
    void escapeUndSchliessen();
    void anlegemodusAbbruchSchliesst();
    void fragezeichenOeffnetSuche();
    void fragezeichenSucheAbgebrochen();

    void suche_data();
    void suche();
    void klickWaehlt();
    void anlegenAusSuche();

    void hauptfensterOeffnetLieferanten();

private:
    static void tippe(QWidget *widget, const QString &text);
    static void alt(QWidget *dialog, Qt::Key taste);
    static QLineEdit *feld(QWidget *dialog, const QString &beschriftung);
    static QPushButton *knopf(QWidget *dialog, const QString &text);
    static void zeigen(QWidget *dialog);
    static QStringList zeile(const QString &sql, const QVariantList &werte, int spalten);
    static QStringList keys(QWidget *suche);
    static void lieferantAnlegen(const QString &bez, const QString &name, const QString &plz, const QString &ort,
                                 const QString &tel = QString());

    std::unique_ptr<TestDb> m_db;
};

void TstLieferant::init()
{
    m_db = std::make_unique<TestDb>();
    QVERIFY(m_db->ok());
}

void TstLieferant::cleanup() { m_db.reset(); }

// Types like the user, umlauts included (QTest::keyClicks only knows ASCII).
void TstLieferant::tippe(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(widget, c.toLatin1());
        } else {
            const auto taste = Qt::Key(c.toUpper().unicode()); // Latin-1 letters are their own key codes
            QTest::sendKeyEvent(QTest::Click, widget, taste, QString(c), Qt::NoModifier);
        }
    }
}

// An accelerator such as Alt+S; the button clicks itself after its short press animation.
void TstLieferant::alt(QWidget *dialog, Qt::Key taste)
{
    QTest::keyClick(dialog, taste, Qt::AltModifier);
    QTest::qWait(250);
}

QLineEdit *TstLieferant::feld(QWidget *dialog, const QString &beschriftung)
{
    for (QLabel *label : dialog->findChildren<QLabel *>()) {
        if (label->text() == beschriftung)
            return qobject_cast<QLineEdit *>(label->buddy());
    }
    return nullptr;
}

QPushButton *TstLieferant::knopf(QWidget *dialog, const QString &text)
{
    for (QPushButton *k : dialog->findChildren<QPushButton *>()) {
        if (k->text() == text)
            return k;
    }
    return nullptr;
}

void TstLieferant::zeigen(QWidget *dialog)
{
    dialog->show();
    QApplication::setActiveWindow(dialog);
    QVERIFY(QTest::qWaitForWindowActive(dialog));
}

QStringList TstLieferant::zeile(const QString &sql, const QVariantList &werte, int spalten)
{
    QSqlQuery q = Db::abfrage(sql, werte);
    QStringList ergebnis;
    if (!q.next())
        return ergebnis;
    for (int i = 0; i < spalten; ++i)
        ergebnis << (q.value(i).isNull() ? QStringLiteral("<NULL>") : q.value(i).toString());
    return ergebnis;
}

QStringList TstLieferant::keys(QWidget *suche)
{
    QStringList ergebnis;
    const QAbstractItemModel *modell = suche->findChild<QTableView *>()->model();
    for (int i = 0; i < modell->rowCount(); ++i)
        ergebnis << modell->index(i, 0).data().toString();
    return ergebnis;
}

// A supplier as the dialog stores it, written through the address block.
void TstLieferant::lieferantAnlegen(const QString &bez, const QString &name, const QString &plz, const QString &ort,
                                    const QString &tel)
{
    Db::ausfuehren(QStringLiteral("INSERT INTO lieferant (bez,tel,fax,bukto,zahlart) VALUES (?,?,'','',' ')"),
                   {bez, tel.isNull() ? QStringLiteral("") : tel});
    QWidget traeger;
    WAdresse adresse(0, &traeger);
    adresse.Name1()->setText(name);
    adresse.Plz()->setText(plz);
    adresse.Ort()->setText(ort);
    adresse.write(QStringLiteral("L"), bez);
}

void TstLieferant::schluesselLaden_data()
{
    QTest::addColumn<QString>("eingabe");
    QTest::addColumn<QString>("schluessel");
    QTest::newRow("cut to six") << QStringLiteral("müller gmbh") << QStringLiteral("MÜLLER");
    QTest::newRow("apostrophe") << QStringLiteral("o'neil & co") << QStringLiteral("O`NEIL");
    QTest::newRow("no blank at the cut") << QStringLiteral("abcde fgh") << QStringLiteral("ABCDE");
    QTest::newRow("short, blanks around") << QStringLiteral("  kurz ") << QStringLiteral("KURZ");
}

void TstLieferant::schluesselLaden()
{
    QFETCH(QString, eingabe);
    QFETCH(QString, schluessel);
    lieferantAnlegen(schluessel, QStringLiteral("Vorhanden"), QStringLiteral("12345"), QStringLiteral("Ort"),
                     QStringLiteral("0800 1"));

    Lieferant dialog(false);
    zeigen(&dialog);
    QLineEdit *bez = feld(&dialog, QStringLiteral("Bezeichnung"));
    QVERIFY(bez->isEnabled());
    QVERIFY(!feld(&dialog, QStringLiteral("Name"))->isEnabled());
    tippe(bez, eingabe);
    QTest::keyClick(bez, Qt::Key_Return);

    QCOMPARE(bez->text(), schluessel);
    QVERIFY(!bez->isEnabled());
    QCOMPARE(feld(&dialog, QStringLiteral("Name"))->text(), QStringLiteral("Vorhanden"));
    QCOMPARE(feld(&dialog, QStringLiteral("Telefon"))->text(), QStringLiteral("0800 1"));
    // A loaded address sends the focus to "&Abbruch".
    QVERIFY(knopf(&dialog, QStringLiteral("&Abbruch"))->hasFocus());
}

void TstLieferant::anlegenUndAendern()
{
    Lieferant dialog(false);
    zeigen(&dialog);
    QLineEdit *bez = feld(&dialog, QStringLiteral("Bezeichnung"));
    QVERIFY(bez->hasFocus());
    tippe(bez, QStringLiteral("müller gmbh"));
    QTest::keyClick(bez, Qt::Key_Return);
    QCOMPARE(bez->text(), QStringLiteral("MÜLLER"));

    QLineEdit *name = feld(&dialog, QStringLiteral("Name"));
    QVERIFY(name->hasFocus()); // a new supplier: straight to its name
    tippe(name, QStringLiteral("Müller  GmbH"));
    tippe(feld(&dialog, QStringLiteral("PLZ/Ort")), QStringLiteral("12345"));
    tippe(feld(&dialog, QStringLiteral("Telefon")), QStringLiteral("0123 4567"));
    tippe(feld(&dialog, QStringLiteral("Buchungskonto")), QStringLiteral("mue'01"));
    tippe(feld(&dialog, QStringLiteral("IBAN")), QStringLiteral("DE02100200300001234567"));
    alt(&dialog, Qt::Key_S);

    QCOMPARE(zeile(QStringLiteral("SELECT bez,tel,fax,bukto,zahlart FROM lieferant"), {}, 5),
             QStringList({QStringLiteral("MÜLLER"), QStringLiteral("0123 4567"), QStringLiteral(""),
                          QStringLiteral("MUE`01"), QStringLiteral(" ")}));
    QCOMPARE(zeile(QStringLiteral("SELECT suchname,name1,name2,plz FROM adresse WHERE art='L' AND key=?"),
                   {QStringLiteral("MÜLLER")}, 4),
             QStringList({QStringLiteral("MULERGMBH"), QStringLiteral("Müller GmbH"), QStringLiteral(""),
                          QStringLiteral("12345")}));
    QCOMPARE(Db::wert(QStringLiteral("SELECT iban FROM bankverbindung WHERE art='L' AND key=?"),
                      {QStringLiteral("MÜLLER")})
                 .toString(),
             QStringLiteral("DE02100200300001234567"));

    // Back in the selection state with the fields cleared.
    QVERIFY(bez->isEnabled());
    QVERIFY(bez->hasFocus());
    QCOMPARE(name->text(), QString());
    QVERIFY(!name->isEnabled());

    // Loading again and saving changes the rows instead of adding new ones.
    QTest::keyClick(bez, Qt::Key_Return);
    QCOMPARE(name->text(), QStringLiteral("Müller GmbH"));
    tippe(feld(&dialog, QStringLiteral("Fax")), QStringLiteral("0123 4568"));
    alt(&dialog, Qt::Key_S);
    QCOMPARE(Db::wert(QStringLiteral("SELECT count(*) FROM lieferant")).toInt(), 1);
    QCOMPARE(Db::wert(QStringLiteral("SELECT count(*) FROM adresse")).toInt(), 1);
    QCOMPARE(zeile(QStringLiteral("SELECT tel,fax,zahlart FROM lieferant"), {}, 3),
             QStringList({QStringLiteral("0123 4567"), QStringLiteral("0123 4568"), QStringLiteral(" ")}));
}

void TstLieferant::speichernOhneNameTutNichts()
{
    Lieferant dialog(false);
    zeigen(&dialog);
    QLineEdit *bez = feld(&dialog, QStringLiteral("Bezeichnung"));
    tippe(bez, QStringLiteral("leer"));
    QTest::keyClick(bez, Qt::Key_Return);
    tippe(feld(&dialog, QStringLiteral("Name")), QStringLiteral("   "));
    tippe(feld(&dialog, QStringLiteral("Telefon")), QStringLiteral("0800"));
    alt(&dialog, Qt::Key_S);

    QCOMPARE(Db::wert(QStringLiteral("SELECT count(*) FROM lieferant")).toInt(), 0);
    QCOMPARE(Db::wert(QStringLiteral("SELECT count(*) FROM adresse")).toInt(), 0);
    QVERIFY(!bez->isEnabled()); // still editing
    QCOMPARE(feld(&dialog, QStringLiteral("Telefon"))->text(), QStringLiteral("0800"));
}

void TstLieferant::returnDruecktKeinenKnopf()
{
    Lieferant dialog(false);
    zeigen(&dialog);
    QLineEdit *bez = feld(&dialog, QStringLiteral("Bezeichnung"));
    tippe(bez, QStringLiteral("holz"));
    QTest::keyClick(bez, Qt::Key_Return);
    QLineEdit *name = feld(&dialog, QStringLiteral("Name"));
    tippe(name, QStringLiteral("Holzbau"));
    QTest::keyClick(name, Qt::Key_Return);
    QTest::keyClick(feld(&dialog, QStringLiteral("Fax")), Qt::Key_Enter);

    QVERIFY(dialog.isVisible());
    QVERIFY(!bez->isEnabled());
    QCOMPARE(Db::wert(QStringLiteral("SELECT count(*) FROM lieferant")).toInt(), 0);
}

void TstLieferant::loeschen_data()
{
    QTest::addColumn<int>("antwort");
    QTest::addColumn<int>("bleiben");
    QTest::newRow("confirmed") << int(QMessageBox::Ok) << 0;
    QTest::newRow("cancelled") << int(QMessageBox::Cancel) << 1;
}

void TstLieferant::loeschen()
{
    QFETCH(int, antwort);
    QFETCH(int, bleiben);
    lieferantAnlegen(QStringLiteral("HOLZ"), QStringLiteral("Holzbau"), QStringLiteral("10115"),
                     QStringLiteral("Berlin"));
    lieferantAnlegen(QStringLiteral("ANDERE"), QStringLiteral("Anderer"), QStringLiteral("10115"),
                     QStringLiteral("Berlin"));
    Db::ausfuehren(QStringLiteral("INSERT INTO bankverbindung (art,key,inhaber,nummer,blz,bank,bic,iban)"
                                  " VALUES ('L','HOLZ','Holzbau','1','2','Bank','','')"));

    SkriptInteraktion skript;
    skript.antworte(QMessageBox::StandardButton(antwort));
    Lieferant dialog(false);
    zeigen(&dialog);
    QLineEdit *bez = feld(&dialog, QStringLiteral("Bezeichnung"));
    tippe(bez, QStringLiteral("holz"));
    QTest::keyClick(bez, Qt::Key_Return);
    QCOMPARE(feld(&dialog, QStringLiteral("Bank"))->text(), QStringLiteral("Bank"));
    alt(&dialog, Qt::Key_L);

    QCOMPARE(skript.anfragen().size(), 1);
    QCOMPARE(skript.unerwartet(), 0);
    const QVariantList holz{QStringLiteral("HOLZ")};
    QCOMPARE(Db::wert(QStringLiteral("SELECT count(*) FROM lieferant WHERE bez=?"), holz).toInt(), bleiben);
    QCOMPARE(Db::wert(QStringLiteral("SELECT count(*) FROM adresse WHERE art='L' AND key=?"), holz).toInt(),
             bleiben);
    QCOMPARE(Db::wert(QStringLiteral("SELECT count(*) FROM bankverbindung WHERE art='L' AND key=?"), holz).toInt(),
             bleiben);
    QCOMPARE(Db::wert(QStringLiteral("SELECT count(*) FROM adresse")).toInt(), 1 + bleiben);
    // Deleting returns to the selection state; a refused question keeps the record open.
    QCOMPARE(bez->isEnabled(), bleiben == 0);
}

void TstLieferant::escapeUndSchliessen()
{
    lieferantAnlegen(QStringLiteral("HOLZ"), QStringLiteral("Holzbau"), QStringLiteral("10115"),
                     QStringLiteral("Berlin"));
    Lieferant dialog(false);
    zeigen(&dialog);
    QLineEdit *bez = feld(&dialog, QStringLiteral("Bezeichnung"));
    QLineEdit *name = feld(&dialog, QStringLiteral("Name"));
    tippe(bez, QStringLiteral("holz"));
    QTest::keyClick(bez, Qt::Key_Return);
    QCOMPARE(name->text(), QStringLiteral("Holzbau"));

    // Escape while editing returns to the selection state ...
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QVERIFY(dialog.isVisible());
    QVERIFY(bez->isEnabled());
    QCOMPARE(name->text(), QString());

    // ... so does closing the window ...
    QTest::keyClick(bez, Qt::Key_Return);
    QVERIFY(!bez->isEnabled());
    QVERIFY(!dialog.close());
    QVERIFY(dialog.isVisible());
    QVERIFY(bez->isEnabled());

    // ... and from the selection state Escape closes the dialog.
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(Db::wert(QStringLiteral("SELECT name1 FROM adresse WHERE key='HOLZ'")).toString(),
             QStringLiteral("Holzbau"));
}

void TstLieferant::anlegemodusAbbruchSchliesst()
{
    Lieferant dialog(true);
    zeigen(&dialog);
    QVERIFY(!knopf(&dialog, QStringLiteral("&Löschen")));
    QLineEdit *bez = feld(&dialog, QStringLiteral("Bezeichnung"));
    tippe(bez, QStringLiteral("neu"));
    QTest::keyClick(bez, Qt::Key_Return);
    QVERIFY(!bez->isEnabled());
    alt(&dialog, Qt::Key_A);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(dialog.angelegt(), QString());
}

void TstLieferant::fragezeichenOeffnetSuche()
{
    lieferantAnlegen(QStringLiteral("BAUNOR"), QStringLiteral("Baumarkt Nord"), QStringLiteral("20095"),
                     QStringLiteral("Hamburg"));
    lieferantAnlegen(QStringLiteral("HOLZBA"), QStringLiteral("Holzbau"), QStringLiteral("10115"),
                     QStringLiteral("Berlin"), QStringLiteral("030 1"));

    Lieferant dialog(false);
    zeigen(&dialog);
    QLineEdit *bez = feld(&dialog, QStringLiteral("Bezeichnung"));
    QString vorbelegt;
    QStringList gefunden;
    bool ohneAnlegen = false;
    DialogTreiber::beiModal([&](QDialog *suche) {
        QVERIFY(qobject_cast<LsSuche *>(suche));
        vorbelegt = feld(suche, QStringLiteral("Nachname"))->text();
        gefunden = keys(suche);
        ohneAnlegen = !knopf(suche, QStringLiteral("A&nlegen"));
        auto *liste = suche->findChild<QTableView *>();
        const QModelIndex holz = liste->model()->index(gefunden.indexOf(QStringLiteral("HOLZBA")), 1);
        QTest::mouseClick(liste->viewport(), Qt::LeftButton, {}, liste->visualRect(holz).center());
    });
    tippe(bez, QStringLiteral("bau?"));
    QTest::keyClick(bez, Qt::Key_Return);

    QVERIFY(DialogTreiber::gelaufen());
    QCOMPARE(vorbelegt, QStringLiteral("BAU"));
    QCOMPARE(gefunden, QStringList({QStringLiteral("BAUNOR"), QStringLiteral("HOLZBA")}));
    QVERIFY(ohneAnlegen);
    QCOMPARE(bez->text(), QStringLiteral("HOLZBA"));
    QVERIFY(!bez->isEnabled());
    QCOMPARE(feld(&dialog, QStringLiteral("Telefon"))->text(), QStringLiteral("030 1"));
    QCOMPARE(feld(&dialog, QStringLiteral("Name"))->text(), QStringLiteral("Holzbau"));
}

void TstLieferant::fragezeichenSucheAbgebrochen()
{
    Lieferant dialog(false);
    zeigen(&dialog);
    QLineEdit *bez = feld(&dialog, QStringLiteral("Bezeichnung"));
    DialogTreiber::beiModal([](QDialog *suche) { QTest::keyClick(suche, Qt::Key_Escape); });
    tippe(bez, QStringLiteral("nix?"));
    QTest::keyClick(bez, Qt::Key_Return);

    QVERIFY(DialogTreiber::gelaufen());
    QVERIFY(bez->isEnabled());
    QCOMPARE(bez->text(), QString());
    QCOMPARE(dialog.focusWidget(), bez); // the window itself is inactive until the search has gone
    QVERIFY(dialog.isVisible());
}

void TstLieferant::suche_data()
{
    QTest::addColumn<QString>("text");     // given to exec()
    QTest::addColumn<QString>("name");     // then typed into the fields, when not null
    QTest::addColumn<QString>("plz");
    QTest::addColumn<QStringList>("erwartet");

    const QString nichts;
    QTest::newRow("name anywhere in the search name")
        << QStringLiteral("NBau") << nichts << nichts
        << QStringList{QStringLiteral("BAUNOR"), QStringLiteral("HOLZBA")};
    QTest::newRow("question mark, name") << QStringLiteral("bau?") << nichts << nichts
                                         << QStringList{QStringLiteral("BAUNOR"), QStringLiteral("HOLZBA")};
    QTest::newRow("spelling variant") << QStringLiteral("Nbaecker") << nichts << nichts
                                      << QStringList{QStringLiteral("BACKER")};
    QTest::newRow("postcode prefix") << QStringLiteral("P10") << nichts << nichts
                                     << QStringList{QStringLiteral("HOLZBA"), QStringLiteral("AACHEN")};
    QTest::newRow("question mark, postcode") << QStringLiteral("101?") << nichts << nichts
                                             << QStringList{QStringLiteral("HOLZBA")};
    QTest::newRow("other text: no search") << QStringLiteral("Xyz") << nichts << nichts << QStringList{};
    QTest::newRow("all suppliers") << QStringLiteral("N") << nichts << nichts
                                   << QStringList{QStringLiteral("AACHEN"), QStringLiteral("BACKER"),
                                                  QStringLiteral("BAUNOR"), QStringLiteral("HOLZBA")};
    QTest::newRow("long name orders by search name")
        << QString() << QStringLiteral("holz") << QStringLiteral("1")
        << QStringList{QStringLiteral("AACHEN"), QStringLiteral("HOLZBA")};
    QTest::newRow("long postcode orders by postcode")
        << QString() << QStringLiteral("h") << QStringLiteral("10")
        << QStringList{QStringLiteral("HOLZBA"), QStringLiteral("AACHEN")};
    QTest::newRow("members are no suppliers") << QStringLiteral("NMeier") << nichts << nichts << QStringList{};
}

void TstLieferant::suche()
{
    QFETCH(QString, text);
    QFETCH(QString, name);
    QFETCH(QString, plz);
    QFETCH(QStringList, erwartet);

    lieferantAnlegen(QStringLiteral("BAUNOR"), QStringLiteral("Baumarkt Nord"), QStringLiteral("20095"),
                     QStringLiteral("Hamburg"));
    lieferantAnlegen(QStringLiteral("HOLZBA"), QStringLiteral("Holzbau"), QStringLiteral("10115"),
                     QStringLiteral("Berlin"));
    lieferantAnlegen(QStringLiteral("AACHEN"), QStringLiteral("Aachener Holz"), QStringLiteral("10200"),
                     QStringLiteral("Berlin"));
    lieferantAnlegen(QStringLiteral("BACKER"), QStringLiteral("Bäckerei Süd"), QStringLiteral("80331"),
                     QStringLiteral("München"));
    QWidget traeger;
    WAdresse mitglied(1, &traeger);
    mitglied.Name1()->setText(QStringLiteral("Meier"));
    mitglied.Plz()->setText(QStringLiteral("10115"));
    mitglied.write(QStringLiteral("M"), QStringLiteral("00000001"));

    LsSuche suche(false);
    QStringList gefunden;
    QStringList zeile0;
    DialogTreiber::beiModal([&](QDialog *d) {
        if (!name.isNull()) {
            feld(d, QStringLiteral("Nachname"))->setText(name);
            feld(d, QStringLiteral("PLZ."))->setText(plz);
            QTest::mouseClick(knopf(d, QStringLiteral("&Ok")), Qt::LeftButton);
        }
        gefunden = keys(d);
        const QAbstractItemModel *modell = d->findChild<QTableView *>()->model();
        if (modell->rowCount() > 0)
            zeile0 << modell->index(0, 1).data().toString() << modell->index(0, 2).data().toString();
        for (int i = 0; i < 3; ++i)
            zeile0 << modell->headerData(i, Qt::Horizontal).toString();
        d->reject();
    });
    QCOMPARE(suche.exec(text), int(QDialog::Rejected));
    QVERIFY(DialogTreiber::gelaufen());
    QCOMPARE(gefunden, erwartet);
    QCOMPARE(zeile0.mid(zeile0.size() - 3),
             QStringList({QStringLiteral("Bez."), QStringLiteral("Name"), QStringLiteral(" PLZ/Ort")}));
    if (erwartet.value(0) == QLatin1String("HOLZBA"))
        QCOMPARE(zeile0.mid(0, 2), QStringList({QStringLiteral("Holzbau, "), QStringLiteral("10115 Berlin")}));
}

void TstLieferant::klickWaehlt()
{
    lieferantAnlegen(QStringLiteral("BAUNOR"), QStringLiteral("Baumarkt Nord"), QStringLiteral("20095"),
                     QStringLiteral("Hamburg"));
    LsSuche suche(false);
    DialogTreiber::beiModal([](QDialog *d) {
        auto *liste = d->findChild<QTableView *>();
        QTest::mouseClick(liste->viewport(), Qt::LeftButton, {},
                          liste->visualRect(liste->model()->index(0, 2)).center());
    });
    QCOMPARE(suche.exec(QStringLiteral("NBau")), int(QDialog::Accepted));
    QCOMPARE(suche.auswahl(), QStringLiteral("BAUNOR"));
}

void TstLieferant::anlegenAusSuche()
{
    LsSuche suche(true);
    DialogTreiber::beiModal([](QDialog *d) {
        DialogTreiber::beiModal([](QDialog *lieferant) {
            QVERIFY(qobject_cast<Lieferant *>(lieferant));
            QApplication::setActiveWindow(lieferant);
            QVERIFY(QTest::qWaitForWindowActive(lieferant));
            QLineEdit *bez = feld(lieferant, QStringLiteral("Bezeichnung"));
            tippe(bez, QStringLiteral("neu"));
            QTest::keyClick(bez, Qt::Key_Return);
            tippe(feld(lieferant, QStringLiteral("Name")), QStringLiteral("Neuer Laden"));
            alt(lieferant, Qt::Key_S);
        });
        QTest::mouseClick(knopf(d, QStringLiteral("A&nlegen")), Qt::LeftButton);
    });
    QCOMPARE(suche.exec(QString()), int(QDialog::Accepted));
    QCOMPARE(suche.auswahl(), QStringLiteral("NEU"));
    QCOMPARE(Db::wert(QStringLiteral("SELECT name1 FROM adresse WHERE art='L' AND key='NEU'")).toString(),
             QStringLiteral("Neuer Laden"));
    QCOMPARE(Db::wert(QStringLiteral("SELECT zahlart FROM lieferant WHERE bez='NEU'")).toString(),
             QStringLiteral(" "));
}

void TstLieferant::hauptfensterOeffnetLieferanten()
{
    VelaMain hauptfenster;
    QString titel;
    DialogTreiber::beiModal([&titel](QDialog *d) {
        titel = d->windowTitle();
        d->reject();
    });
    hauptfenster.pLieferant();
    QVERIFY(DialogTreiber::gelaufen());
    QCOMPARE(titel, QStringLiteral("Lieferanten"));
}

QTEST_MAIN(TstLieferant)
#include "tst_lieferant.moc"
