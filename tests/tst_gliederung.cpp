#include "db.h"
#include "dialogdriver.h"
#include "gliederung.h"
#include "gliederungsbaum.h"
#include "testdb.h"
#include "wgliederung.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <QTreeView>

#include <memory>

using namespace DialogTreiber;
using namespace Qt::StringLiterals;

namespace {

const QString kDrei = u"KV HAFEN|3|BZ KUESTE;BUND|0|;LV NORD|1|BUND;LV SUED|1|BUND;BZ KUESTE|2|LV NORD"_s;
// Units as "NAME|ebene|teilvon;...".
void einheiten(const QString &liste)
{
    for (const QString &zeile : liste.split(u';')) {
        const QStringList f = zeile.split(u'|');
        QCOMPARE(Db::ausfuehren(u"INSERT INTO verband (namekurz,ebene,teilvon) VALUES (?,?,?)"_s,
                                {f.at(0), f.at(1).toInt(), f.at(2)}), 1);
    }
}

// The tree as text, "A(B,C(D)),E"; with a view a collapsed node shows its children as "+".
QString struktur(const QAbstractItemModel &m, const QTreeView *v = nullptr, const QModelIndex &eltern = {})
{
    QStringList teile;
    for (int r = 0; r < m.rowCount(eltern); ++r) {
        const QModelIndex i = m.index(r, 0, eltern);
        const QString kinder = m.rowCount(i) == 0 ? QString()
            : v && !v->isExpanded(i)              ? u"+"_s
                                                  : u'(' + struktur(m, v, i) + u')';
        teile << i.data().toString() + kinder;
    }
    return teile.join(u',');
}
QString sicht(const QTreeView *v) { return struktur(*v->model(), v); }
// The names from the top down to `index`: "BUND/LV NORD".
QString pfad(const QModelIndex &index)
{
    QStringList teile;
    for (QModelIndex i = index; i.isValid(); i = i.parent())
        teile.prepend(i.data().toString());
    return teile.join(u'/');
}
QModelIndex suche(const QAbstractItemModel &m, const QString &name)
{
    return m.match(m.index(0, 0), Qt::DisplayRole, name, 1, Qt::MatchExactly | Qt::MatchRecursive).value(0);
}
QLineEdit *kurz(QWidget *d) { return d->findChild<QLineEdit *>(u"namekurz"_s); }
// A field on a page of the dialog's tabs: 0 address, 1 contacts, 2 bank.
template <typename T = QLineEdit>
T *feld(QWidget *d, int seite, const QString &label, int nr = 0, int spalte = 1)
{
    return feldBei<T>(d->findChild<QTabWidget *>()->widget(seite), label, nr, spalte);
}
// "Auswahl" (all cleared) or "Bearbeitung" when every control agrees with that mode, else "gemischt".
QString modus(QWidget *d)
{
    const bool auswahl = kurz(d)->isEnabled();
    auto *art = d->findChild<QComboBox *>();
    auto *unter = d->findChild<WGliederung *>();
    QLineEdit *bukto = feld(d, 2, u"Buchungskonto"_s);
    for (QWidget *w : QList<QWidget *>{knopf(d, u"&Speichern"_s), knopf(d, u"&Abbruch"_s), knopf(d, u"&Löschen"_s),
                                       art, unter, feld(d, 1, u"Vorsitzender"_s), bukto})
        if (w->isEnabled() == auswahl)
            return u"gemischt"_s;
    const bool leer = kurz(d)->text().isEmpty() && art->currentIndex() == 0 && unter->text().isEmpty()
        && bukto->text().isEmpty() && feld(d, 0, u"Name"_s)->text().isEmpty();
    return !auswahl ? u"Bearbeitung"_s : leer ? u"Auswahl"_s : u"gemischt"_s;
}
// Picks a level under "Art" by typing its name, as the user does (after a pause, so that
// the combo box starts a new search).
void art(QWidget *d, const QString &ebene)
{
    QTest::qWait(QApplication::keyboardInputInterval());
    tippe(d->findChild<QComboBox *>(), ebene);
}
// Clicks a chooser button and returns the tree the chooser shows; clicks the row
// `klick` there (in the treasurer column) or closes the chooser when it is empty.
QString waehle(QPushButton *knopf, const QString &klick = QString())
{
    auto baum = std::make_shared<QString>(u"kein Dialog"_s);
    beiModal([baum, klick](QDialog *wahl) {
        auto *view = wahl->findChild<QTreeView *>();
        *baum = sicht(view);
        if (klick.isEmpty())
            wahl->close();
        else
            klicke(view, suche(*view->model(), klick).siblingAtColumn(2));
    });
    QTest::mouseClick(knopf, Qt::LeftButton);
    return *baum;
}
void adresseUndBank(const QString &key, const QString &name, const QString &inhaber)
{
    Db::ausfuehren(u"INSERT INTO adresse (art,key,suchname,name1,name2,strasse,plz,ort,land,mail) "
                   "VALUES ('V',?,'',?,'','','','','','')"_s, {key, name});
    Db::ausfuehren(u"INSERT INTO bankverbindung (art,key,inhaber,nummer,blz,bank,bic,iban) "
                   "VALUES ('V',?,?,'','','','','')"_s, {key, inhaber});
}

} // namespace

class TstGliederung : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDb> m_db;

private slots:
    void init() { m_db = std::make_unique<TestDb>(); QVERIFY(m_db->ok()); }
    void cleanup() { m_db.reset(); }

    void baumRegeln_data() // the first unit in the list is the one to find
    {
        QTest::addColumn<QString>("zeilen");
        QTest::addColumn<int>("grenze");
        QTest::addColumn<QString>("baum");
        QTest::addColumn<QString>("gefunden"); // path of the found unit, empty for an invalid index
        QTest::newRow("drei Ebenen unter BUND") << u"BZ KUESTE|2|LV NORD;BUND|0|;LV SUED|1|BUND;LV NORD|1|BUND"_s << 9
            << u"BUND(LV NORD(BZ KUESTE),LV SUED)"_s << u"BUND/LV NORD/BZ KUESTE"_s;
        QTest::newRow("fehlende Eltern: oben") << u"KV WAISE|3|LV GIBTSNICHT;BUND|0|"_s << 9 << u"BUND,KV WAISE"_s
                                               << u"KV WAISE"_s;
        QTest::newRow("Grenze 2 ohne Kreisverband") << kDrei << 2 << u"BUND(LV NORD,LV SUED)"_s << QString();
        QTest::newRow("Grenze 4 bis Kreisverband") << kDrei + u";OV DORF|4|KV HAFEN"_s << 4
            << u"BUND(LV NORD(BZ KUESTE(KV HAFEN)),LV SUED)"_s << u"BUND/LV NORD/BZ KUESTE/KV HAFEN"_s;
        QTest::newRow("Grenze 0 leer") << kDrei << 0 << QString() << QString();
        QTest::newRow("nie mehr als fuenf Ebenen") << u"X FUENF|5|OV DORF;OV DORF|4|"_s << 9 << u"OV DORF"_s
                                                   << QString();
        QTest::newRow("leerer Name findet nichts") << u"|0|;BUND|0|"_s << 9 << u",BUND"_s << QString();
        QTest::newRow("Eltern: vorher, spaeter, tiefer") << u"LV B|1|LV A;LV A|1|;LV C|1|LV Z;LV Z|1|ZZ;LV D|1|BZ X;"
                                                            "BZ X|2|"_s << 9
            << u"LV A(LV B),LV D,LV C,LV Z,BZ X"_s << u"LV A/LV B"_s;
        QTest::newRow("Ebene fuer Ebene, je Eltern nach Namen")
            << u"BZ P|2|LV C;KV X|3|;LV C|1|BUND;LV A|1|;LV B|1|BUND;BUND|0|;BZ Q|2|LV A;BZ O|2|LV C"_s << 9
            << u"BUND(LV B,LV C(BZ O,BZ P)),LV A(BZ Q),KV X"_s << u"BUND/LV C/BZ P"_s;
    }
    void baumRegeln()
    {
        QFETCH(QString, zeilen);
        QFETCH(int, grenze);
        einheiten(zeilen);
        GliederungsBaum modell;
        const QModelIndex treffer = modell.setupModelData(zeilen.section(u'|', 0, 0), grenze);
        QTEST(struktur(modell), "baum");
        QTEST(pfad(treffer), "gefunden");
        QVERIFY(!treffer.isValid() || (treffer.model() == &modell && treffer.column() == 0));
    }
    void baumModell()
    {
        GliederungsBaum m;
        QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(m.rowCount() + m.columnCount(), 0); // no root before the first build
        QVERIFY(!m.setupModelData(u"BUND"_s, 9).isValid()); // an empty table: headers only
        QCOMPARE(m.headerData(2, Qt::Horizontal).toString() + m.headerData(0, Qt::Vertical).toString()
                     + m.headerData(3, Qt::Horizontal).toString() + QString::number(m.rowCount()), u"Schatzmeister0"_s);
        einheiten(kDrei + u";OV DORF|4|KV HAFEN;KV WAISE|3|NIRGENDS"_s);
        Db::ausfuehren(u"UPDATE verband SET bukto='0100',schatzname='Erika Muster' WHERE namekurz='BUND'"_s);
        QTreeView view; // rebuilding under a view resets the model; the tester checks every index
        view.setModel(&m);
        m.setupModelData(QString(), 9);
        view.expandAll();
        QCOMPARE(pfad(m.setupModelData(u"OV DORF"_s, 9)), u"BUND/LV NORD/BZ KUESTE/KV HAFEN/OV DORF"_s);
        const QModelIndex bund = m.index(0, 2);
        QCOMPARE(bund.data().toString() + m.datac(bund, 1).toString() + m.datac(bund, 0).toString(),
                 u"Erika Muster0100BUND"_s); // datac: the short name of a clicked row
        QCOMPARE(m.flags(bund), Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    }
    void speichern_data()
    {
        QTest::addColumn<QStringList>("eingabe"); // short name, address name, chair, "Art"
        QTest::addColumn<QStringList>("erwartet"); // short name, stored row (empty: none), address name
        const QString neu = u"|''|1900-01-01|"_s;
        QTest::newRow("Bundesverband ohne Namen") << QStringList{u"bund"_s, {}, {}, {}}
                                                  << QStringList{u"BUND"_s, {}, {}};
        QTest::newRow("Name aus Blanks") << QStringList{u"bund"_s, u"   "_s, {}, {}} << QStringList{u"BUND"_s, {}, {}};
        QTest::newRow("Bundesverband") << QStringList{u"bund"_s, u" Bundesverband "_s, {}, {}}
                                       << QStringList{u"BUND"_s, u"BUND|0"_s + neu, u"Bundesverband"_s};
        QTest::newRow("Landesverband ohne Adresse") << QStringList{u"lv nord"_s, {}, {}, u"Landesverband"_s}
                                                    << QStringList{u"LV NORD"_s, u"LV NORD|1"_s + neu, {}};
        QTest::newRow("Blanks, klein") << QStringList{u"  kv   musterstadt "_s, {}, {}, u"Ortsverband"_s}
                                       << QStringList{u"KV MUSTERSTADT"_s, u"KV MUSTERSTADT|4"_s + neu, {}};
        QTest::newRow("Apostroph")
            << QStringList{u"kv o'brien"_s, u"Kreis O'Brien"_s, u"Anna  O'Neil"_s, u"Kreisverband"_s}
            << QStringList{u"KV O`BRIEN"_s, u"KV O`BRIEN|3"_s + neu + u"Anna O`Neil"_s,
                           u"Kreis O`Brien"_s};
        QTest::newRow("40 Zeichen") << QStringList{QString(45, u'k'), {}, {}, u"Bezirksverband"_s}
                                    << QStringList{QString(40, u'K'), QString(40, u'K') + u"|2"_s + neu, {}};
    }
    void speichern()
    {
        QFETCH(QStringList, eingabe);
        QFETCH(QStringList, erwartet);
        Gliederung d;
        QVERIFY(zeige(&d));
        tippeReturn(kurz(&d), eingabe.at(0));
        QCOMPARE(kurz(&d)->text(), erwartet.at(0));
        QCOMPARE(modus(&d), u"Bearbeitung"_s);
        QCOMPARE(QApplication::focusWidget(), feld(&d, 0, u"Name"_s)); // a new unit: focus in the address
        art(&d, eingabe.at(3));
        tippe(feld(&d, 0, u"Name"_s), eingabe.at(1));
        tippe(feld(&d, 1, u"Vorsitzender"_s), eingabe.at(2));
        QVERIFY(alt(&d, Qt::Key_S));
        QCOMPARE(modus(&d), erwartet.at(1).isEmpty() ? u"Bearbeitung"_s : u"Auswahl"_s);
        QCOMPARE(TestDb::zeile(u"SELECT namekurz,ebene,quote(teilvon),gegruendet,vorsitzname FROM verband"_s)
                     .join(u'|'), erwartet.at(1));
        // The address row under the short name, and no other address or bank row.
        const QString sql = u"SELECT (SELECT group_concat(name1) FROM adresse WHERE art='V' AND key=?),"
                            "(SELECT count(*) FROM adresse)+(SELECT count(*) FROM bankverbindung)"_s;
        QCOMPARE(TestDb::zeile(sql, {erwartet.at(0)}),
                 QStringList({erwartet.at(2), erwartet.at(2).isEmpty() ? u"0"_s : u"1"_s}));
        QCOMPARE(struktur(*d.findChild<QTreeView *>()->model()), erwartet.at(1).isEmpty() ? QString() : erwartet.at(0));
    }
    void ladenUndAendern()
    {
        einheiten(kDrei);
        Db::ausfuehren(u"UPDATE verband SET gegruendet='1990-10-03',bukto='0815',vorsitzname='Vera',"
                       "vorsitzmail='v@x',vorsitztel='111',vorsitzfax='222',gensekname='Gert',gensekmail='g@x',"
                       "gensektel='333',gensekfax='444',schatzname='Sara',schatzmail='s@x',schatztel='555',"
                       "schatzfax='666' WHERE namekurz='BZ KUESTE'"_s);
        adresseUndBank(u"BZ KUESTE"_s, u"Bezirk Küste"_s, u"Kasse Küste"_s);
        Gliederung d;
        QVERIFY(zeige(&d));
        auto *liste = d.findChild<QTreeView *>();
        QCOMPARE(sicht(liste), u"BUND+"_s); // built collapsed
        klicke(liste, suche(*liste->model(), u"BZ KUESTE"_s).siblingAtColumn(1)); // a click loads the unit
        QCOMPARE(modus(&d), u"Bearbeitung"_s);
        QCOMPARE(QApplication::focusWidget(), knopf(&d, u"&Abbruch"_s)); // the address is filled
        klicke(liste, suche(*liste->model(), u"BUND"_s)); // while editing a click changes nothing
        QCOMPARE(kurz(&d)->text() + feld(&d, 0, u"Name"_s)->text() + feld(&d, 2, u"Konto Inhaber"_s)->text(),
                 u"BZ KUESTEBezirk KüsteKasse Küste"_s);
        feld(&d, 2, u"Buchungskonto"_s)->selectAll();
        tippe(feld(&d, 2, u"Buchungskonto"_s), u" 0816  x's 1234567890"_s); // at most 15 characters
        const QString lang = u"0123456789 0123456789 0123456789"_s;
        tippe(feld(&d, 1, u"Tel./Fax"_s, 0, 1), lang); // the chair's telephone: at most 25
        tippe(feld(&d, 1, u"Tel./Fax"_s, 1, 1), lang); // the treasurer's: no limit
        feld(&d, 2, u"Konto Inhaber"_s)->clear(); // an empty bank block deletes its row
        QVERIFY(alt(&d, Qt::Key_S));
        QCOMPARE(modus(&d), u"Auswahl"_s);
        // The untouched fields come back as loaded, each column in its place; no second row.
        QCOMPARE(TestDb::zeile(u"SELECT gegruendet,ebene,teilvon,bukto,vorsitzname,vorsitzmail,vorsitztel,"
                               "vorsitzfax,gensekname,gensekmail,gensektel,gensekfax,schatzname,schatzmail,"
                               "schatztel,schatzfax FROM verband WHERE namekurz='BZ KUESTE'"_s).join(u'|'),
                 u"1990-10-03|2|LV NORD|0816 x`s 1234|Vera|v@x|1110123456789 0123456789|222|Gert|g@x|333|444|"
                 "Sara|s@x|555"_s + lang + u"|666"_s);
        QCOMPARE(TestDb::zeile(u"SELECT count(*),(SELECT group_concat(name1) FROM adresse WHERE art='V' AND "
                               "key='BZ KUESTE'),(SELECT count(*) FROM bankverbindung) FROM verband"_s),
                 QStringList({u"5"_s, u"Bezirk Küste"_s, u"0"_s}));
        QCOMPARE(sicht(liste), u"BUND(LV NORD(BZ KUESTE+),LV SUED)"_s); // the path to the saved unit
    }
    void artBegrenztUnter()
    {
        einheiten(kDrei + u";OV DORF|4|KV HAFEN"_s);
        TestDb::setParameter(u"General/Gliederung"_s, u"OV DORF"_s); // the chooser shows the path to it
        Gliederung d;
        QVERIFY(zeige(&d));
        tippeReturn(kurz(&d), u"kv neu"_s);
        art(&d, u"Kreisverband"_s);
        auto *unter = d.findChild<WGliederung *>();
        QCOMPARE(waehle(unter, u"BZ KUESTE"_s), u"BUND(LV NORD(BZ KUESTE),LV SUED)"_s);
        // The choice gave back all levels, until "Art" changes again.
        QCOMPARE(waehle(unter), u"BUND(LV NORD(BZ KUESTE(KV HAFEN(OV DORF))),LV SUED)"_s);
        QCOMPARE(unter->text(), u"BZ KUESTE"_s); // the choice; closing the chooser kept it
        art(&d, u"Landesverband"_s);
        QCOMPARE(waehle(unter), u"BUND"_s);
        art(&d, u"Kreisverband"_s);
        QVERIFY(alt(&d, Qt::Key_S));
        QCOMPARE(TestDb::zeile(u"SELECT ebene,teilvon FROM verband WHERE namekurz='KV NEU'"_s),
                 QStringList({u"3"_s, u"BZ KUESTE"_s}));
        // Loading a unit limits the chooser to the levels above it.
        tippeReturn(kurz(&d), u"bz kueste"_s);
        QCOMPARE(waehle(unter), u"BUND(LV NORD,LV SUED)"_s);
    }
    void loeschenMitUntereinheiten()
    {
        einheiten(u"BUND|0|;LV A|1|BUND;BZ B|2|LV A;BZ C|2|LV A;LV Z|1|BUND"_s);
        adresseUndBank(u"LV A"_s, u"Land A"_s, u"Kasse A"_s);
        adresseUndBank(u"LV Z"_s, u"Land Z"_s, u"Kasse Z"_s);
        SkriptInteraktion skript;
        Gliederung d;
        QVERIFY(zeige(&d));
        tippeReturn(kurz(&d), u"lv a"_s);
        skript.antworteAbbruch(); // not confirmed: nothing happens, the unit stays open
        QVERIFY(alt(&d, Qt::Key_L));
        QCOMPARE(skript.anfragen().value(0).text, u"Soll der Datensatz gelöscht werden"_s);
        QCOMPARE(modus(&d) + QString::number(TestDb::anzahl(u"SELECT count(*) FROM verband"_s)), u"Bearbeitung5"_s);
        skript.antworte(QMessageBox::Ok);
        QVERIFY(alt(&d, Qt::Key_L));
        QCOMPARE(modus(&d) + QString::number(skript.unerwartet()), u"Auswahl0"_s);
        QCOMPARE(TestDb::zeile(u"SELECT (SELECT group_concat(namekurz) FROM (SELECT namekurz FROM verband ORDER "
                               "BY 1)),(SELECT group_concat(key) FROM adresse),"
                               "(SELECT group_concat(key) FROM bankverbindung)"_s),
                 QStringList({u"BUND,BZ B,BZ C,LV Z"_s, u"LV Z"_s, u"LV Z"_s}));
        QCOMPARE(struktur(*d.findChild<QTreeView *>()->model()), u"BUND(LV Z),BZ B,BZ C"_s);
    }
    void verlassen()
    {
        einheiten(kDrei);
        SkriptInteraktion skript;
        Gliederung d;
        QVERIFY(zeige(&d));
        tippeReturn(kurz(&d), u"lv sued"_s);
        tippe(feld(&d, 2, u"Buchungskonto"_s), u"4711"_s);
        QTest::keyClick(d.findChild<QComboBox *>(), Qt::Key_Down);
        for (QWidget *ziel : QList<QWidget *>{feld(&d, 0, u"Name"_s), knopf(&d, u"&Abbruch"_s)}) {
            ziel->setFocus();
            QTest::keyClick(ziel, Qt::Key_Return); // presses no button
        }
        QCOMPARE(modus(&d) + QString::number(skript.anfragen().size()), u"Bearbeitung0"_s);
        // Escape, closing the window and "Abbruch" leave the edit mode without saving.
        QTest::keyClick(feld(&d, 2, u"Buchungskonto"_s), Qt::Key_Escape);
        QCOMPARE(modus(&d), u"Auswahl"_s);
        QCOMPARE(QApplication::focusWidget(), kurz(&d));
        tippeReturn(kurz(&d), u"lv sued"_s);
        QTest::keyClick(d.findChild<QComboBox *>(), Qt::Key_Down);
        QVERIFY(!d.close());
        QCOMPARE(modus(&d), u"Auswahl"_s);
        tippeReturn(kurz(&d), u"lv sued"_s);
        QVERIFY(alt(&d, Qt::Key_A) && d.isVisible());
        QCOMPARE(modus(&d), u"Auswahl"_s);
        QCOMPARE(TestDb::zeile(u"SELECT ebene,bukto FROM verband WHERE namekurz='LV SUED'"_s),
                 QStringList({u"1"_s, QString()}));
        QTest::keyClick(kurz(&d), Qt::Key_Escape); // in selection mode Escape closes
        QVERIFY(!d.isVisible());
        QVERIFY(zeige(&d) && d.close());
    }
};

QTEST_MAIN(TstGliederung)
#include "tst_gliederung.moc"
