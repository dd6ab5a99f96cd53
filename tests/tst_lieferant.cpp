#include "db.h"
#include "dialogdriver.h"
#include "lieferant.h"
#include "lssuche.h"
#include "suchname.h"
#include "testdb.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <memory>

using namespace DialogTreiber;

// A field by its label (the key and search fields lie outside grids), else a button by its text.
static QWidget *ziel(QWidget *fenster, const QString &name)
{
    for (QLabel *label : fenster->findChildren<QLabel *>())
        if (label->text() == name)
            return label->buddy();
    return knopf(fenster, name);
}

static QString text(QWidget *f, const QString &name) { return qobject_cast<QLineEdit *>(ziel(f, name))->text(); }

static QStringList keys(QWidget *suche)
{
    QStringList ergebnis;
    const QAbstractItemModel *modell = suche->findChild<QTableView *>()->model();
    for (int i = 0; i < modell->rowCount(); ++i)
        ergebnis << modell->index(i, 0).data().toString();
    return ergebnis;
}

// One step as the user takes it: "Feld=Text" types (a final "\n" presses Return), "Alt+S", "Escape", "Modal=",
// "Schliessen", "Suche=KEY" clicks that supplier in the next search window (none: Escape), and notes
// its pre-filled name, whether it offers "A&nlegen" ("+"), and the row shown for the supplier.
static void schritt(QDialog *d, const QString &s, QString &suche)
{
    const QString feld = s.section(QLatin1Char('='), 0, 0), wert = s.section(QLatin1Char('='), 1);
    if (s.startsWith(QLatin1String("Alt+")))
        QVERIFY(alt(d, s.at(4).unicode()));
    else if (s == QLatin1String("Escape") || s == QLatin1String("Schliessen"))
        s == QLatin1String("Escape") ? QTest::keyClick(d, Qt::Key_Escape) : void(d->close());
    else if (feld == QLatin1String("Modal")) // the steps after the "=", split at ";", in the next window
        beiModal([wert, &suche](QDialog *f) {
            for (const QString &t : wert.split(QLatin1Char(';')))
                schritt(f, t, suche);
        });
    else if (feld == QLatin1String("Suche"))
        beiModal([wert, &suche](QDialog *f) {
            auto *liste = f->findChild<QTableView *>();
            const QModelIndex z = liste->model()->index(keys(f).indexOf(wert), 1);
            suche = text(f, QStringLiteral("Nachname")) + (knopf(f, QStringLiteral("A&nlegen")) ? "+|" : "|")
                    + z.data().toString() + "|" + z.siblingAtColumn(2).data().toString();
            z.isValid() ? klicke(liste, z) : QTest::keyClick(f, Qt::Key_Escape);
        });
    else if (wert.endsWith(QLatin1Char('\n')))
        tippeReturn(ziel(d, feld), wert.chopped(1));
    else
        tippe(ziel(d, feld), wert);
}

class TstLieferant : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDb> m_db;

private slots:
    // Five suppliers, HOLZ with bank details, and a member who is no supplier.
    void init()
    {        m_db = std::make_unique<TestDb>();
        QVERIFY(m_db->ok());
        for (const QStringList &l : {QStringList{"HOLZ", "Holzbau", "10115", "030 1"},
                                     {"MÜLLER", "Müller GmbH", "12345", "08"}, {"BAUNOR", "Baumarkt Nord", "20095", ""},
                                     {"AACHEN", "Aachener Holz", "10200", ""}, {"BACKER", "Bäckerei Süd", "80331", ""}}) {
            Db::ausfuehren(QStringLiteral("INSERT INTO lieferant VALUES (?,?,'','',' ')"), {l[0], l[3]});
            Db::ausfuehren(QStringLiteral("INSERT INTO adresse (art,key,suchname,name1,name2,plz,ort)"
                                          " VALUES ('L',?,?,?,'',?,'Berlin')"), {l[0], SuchName(l[1], {}), l[1], l[2]});
        }
        Db::ausfuehren(QStringLiteral("INSERT INTO adresse (art,key,suchname,plz) VALUES ('M','00000001','MEIER','101')"));
        Db::ausfuehren(QStringLiteral("INSERT INTO bankverbindung (art,key,bank) VALUES ('L','HOLZ','Bank')"));
    }
    void cleanup() { m_db.reset(); }
    void dialog_data();
    void dialog();
};

// Steps in the supplier dialog, or in the search window after "exec=text"; the expected state ("Feld=Text",
// "Fokus=Feld", "wahl=1": key field enabled, "offen", "ergebnis=1": accepted, "angelegt", "gewaehlt", "Treffer",
// "Suche", "neu": the sign beside the key); a query and its first row (by default counts and phones/faxes, unchanged); mode 1: creation mode.
void TstLieferant::dialog_data()
{
    QTest::addColumn<QStringList>("schritte");
    QTest::addColumn<QStringList>("danach");
    QTest::addColumn<QStringList>("db");
    QTest::addColumn<int>("modus");
    auto fall = [](const char *name, const QStringList &schritte, const QStringList &danach, const QStringList &db = {},
                   int modus = 0) { QTest::newRow(name) << schritte << danach << db << modus; };
    fall("load: cut to six", {"Bezeichnung=müller gmbh\n"},
         {"Bezeichnung=MÜLLER", "wahl=0", "Name=Müller GmbH", "Telefon=08", "Fokus=&Abbruch", "neu="});
    fall("load: apostrophe, blanks around and at the cut", {"Bezeichnung=  o'nei fgh\n"},
         {"Bezeichnung=O`NEI", "Fokus=Name"});
    fall("create; Return presses no button",
         {"Bezeichnung=neue firma\n", "Name=Neue  Firma\n", "PLZ/Ort=12345", "Telefon=0123 4567",
          "Buchungskonto=mue'01", "IBAN=de89 3704 0044 0532 0130 00", "Alt+S"},
         {"wahl=1", "Fokus=Bezeichnung", "Name=", "offen=1"},
         {"SELECT bez,tel,fax,bukto,zahlart,suchname,name1,ifnull(name2,'-'),plz,iban FROM lieferant JOIN adresse a"
          " ON a.key=bez JOIN bankverbindung b ON b.key=bez WHERE bez='NEUE F'",
          "NEUE F", "0123 4567", "", "MUE`01", " ", "NEUFIRMA", "Neue Firma", "", "12345", "DE89370400440532013000"});
    fall("change", {"Bezeichnung=holz\n", "Fax=0123", "Alt+S"}, {"wahl=1"},
         {"5", "6", "1", "030 1/0123,08/,/,/,/"});
    fall("save without a name does nothing", {"Bezeichnung=leer\n", "Name=   ", "Telefon=0800", "Alt+S"},
         {"wahl=0", "Telefon=0800", "neu=neu"});
    fall("delete", {"Bezeichnung=holz\n", "Alt+L"}, {"wahl=1"}, {"4", "5", "0", "08/,/,/,/"}, QMessageBox::Ok);
    fall("Escape while editing", {"Bezeichnung=holz\n", "Fax=1", "Escape"}, {"offen=1", "wahl=1", "Name=", "Fax="});
    fall("creation mode: Speichern", {"Bezeichnung=neu\n", "Name=N", "Alt+S"}, {"ergebnis=1", "angelegt=NEU"},
         {"SELECT name1 FROM adresse WHERE key='NEU'", "N"}, 1);
    fall("? opens the search", {"Suche=HOLZ", "Bezeichnung=bau?\n"},
         {"Suche=BAU|Holzbau, |10115 Berlin", "Bezeichnung=HOLZ", "wahl=0", "Telefon=030 1"});
    fall("? search cancelled", {"Suche=", "Bezeichnung=holz?\n"},
         {"Suche=HOLZ||", "Bezeichnung=", "wahl=1", "Fokus=Bezeichnung"});
    fall("search: name anywhere", {"exec=NBau"}, {"Treffer=BAUNOR,HOLZ"});
    fall("search: spelling variant", {"exec=Nbaecker"}, {"Treffer=BACKER"});
    fall("search: postcode prefix", {"exec=P10"}, {"Treffer=HOLZ,AACHEN"});
    fall("search: question mark, postcode", {"exec=101?"}, {"Treffer=HOLZ", "PLZ.=101"});
    fall("search: other text, no search", {"exec=Xyz"}, {"Treffer=", "Nachname="});
    fall("search: all, no members", {"exec=N"}, {"Treffer=AACHEN,BACKER,BAUNOR,HOLZ,MÜLLER"});
    fall("search: long name, by name", {"exec=", "Nachname=holz", "PLZ.=1", "Alt+O"}, {"Treffer=AACHEN,HOLZ"});
    fall("search: long postcode, by postcode", {"exec=", "Nachname=h", "PLZ.=10\n"}, {"Treffer=HOLZ,AACHEN"});
    fall("search: A&nlegen", {"exec=", "Modal=Bezeichnung=neu\n;Name=Neuer Laden;Alt+S", "Alt+N"},
         {"ergebnis=1", "gewaehlt=NEU"},
         {"SELECT zahlart,name1 FROM lieferant JOIN adresse ON key=bez WHERE bez='NEU'", " ", "Neuer Laden"});
}

void TstLieferant::dialog()
{
    QFETCH(QStringList, schritte); QFETCH(QStringList, danach); QFETCH(QStringList, db); QFETCH(int, modus);
    SkriptInteraktion skript;
    skript.antworte(QMessageBox::StandardButton(modus > 1 ? modus : 0)); // asked only when deleting
    Lieferant lieferant(modus == 1);
    LsSuche suche(true);
    QDialog *d = &lieferant;
    QString notiz;
    if (schritte.value(0).startsWith(QLatin1String("exec="))) {
        d = &suche;
        beiModal([&](QDialog *f) {
            for (const QString &s : schritte.mid(1))
                schritt(f, s, notiz);
            if (f->isVisible())
                f->reject();
        });
        suche.exec(schritte.first().mid(5));
    } else {
        QVERIFY(zeige(d));
        for (const QString &s : schritte)
            schritt(d, s, notiz);
    }
    QStringList ist;
    for (const QString &p : danach) {
        const QString k = p.section(QLatin1Char('='), 0, 0), soll = p.section(QLatin1Char('='), 1);
        ist << k + QLatin1Char('=')
                   + (k == QLatin1String("wahl")       ? QString::number(ziel(d, "Bezeichnung")->isEnabled())
                      : k == QLatin1String("offen")    ? QString::number(d->isVisible())
                      : k == QLatin1String("ergebnis") ? QString::number(d->result())
                      : k == QLatin1String("angelegt") ? lieferant.angelegt()
                      : k == QLatin1String("gewaehlt") ? suche.auswahl()
                      : k == QLatin1String("Treffer")  ? keys(d).join(QLatin1Char(','))
                      : k == QLatin1String("Suche")    ? notiz
                      : k == QLatin1String("neu")      ? d->findChild<QLabel *>(k)->text()
                      : k == QLatin1String("Fokus")    ? (d->focusWidget() == ziel(d, soll) ? soll : "-")
                                                       : text(d, k));
    }
    QCOMPARE(ist, danach);
    const QString sql = db.value(0).startsWith(QLatin1String("SELECT"))
                            ? db.takeFirst()
                            : QStringLiteral("SELECT count(*), (SELECT count(*) FROM adresse), (SELECT count(*) FROM"
                                             " bankverbindung), group_concat(tel||'/'||fax) FROM lieferant");
    QCOMPARE(TestDb::zeile(sql), db.isEmpty() ? QStringList({"5", "6", "1", "030 1/,08/,/,/,/"}) : db);
    QCOMPARE(skript.anfragen().size(), modus > 1 ? 1 : 0);
}

QTEST_MAIN(TstLieferant)
#include "tst_lieferant.moc"
