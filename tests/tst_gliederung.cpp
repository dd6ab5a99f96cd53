#include "db.h"
#include "dialogdriver.h"
#include "gliederung.h"
#include "gliederungsbaum.h"
#include "testdb.h"
#include "wgliederung.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
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
    for (const QString &zeile : liste.split(u';', Qt::SkipEmptyParts)) {
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
        teile << i.data().toString() + (m.rowCount(i) == 0 ? QString()
                                        : v && !v->isExpanded(i) ? u"+"_s : u'(' + struktur(m, v, i) + u')');
    }
    return teile.join(u',');
}
QString sicht(const QTreeView *v) { return struktur(*v->model(), v); }
// The names from the top down to `index`: "BUND/LV NORD".
QString pfad(QModelIndex i)
{
    QStringList teile;
    for (; i.isValid(); i = i.parent())
        teile.prepend(i.data().toString());
    return teile.join(u'/');
}
QModelIndex suche(const QAbstractItemModel &m, const QString &name)
{
    return m.match(m.index(0, 0), Qt::DisplayRole, name, 1, Qt::MatchExactly | Qt::MatchRecursive).value(0);
}
QLineEdit *kurz(QWidget *d) { return d->findChild<QLineEdit *>(u"namekurz"_s); }
// "Bearbeitung": all but the short name enabled; "Auswahl": only the short name, all cleared; else "gemischt".
QString modus(QWidget *d)
{
    auto *art = d->findChild<QComboBox *>();
    auto *unter = d->findChild<WGliederung *>();
    QString an;
    for (QWidget *w : QWidgetList{kurz(d), knopf(d, u"&Speichern"_s), knopf(d, u"&Abbruch"_s), knopf(d, u"&Löschen"_s),
                                  art, unter, feldBei(d, u"Vorsitzender"_s), feldBei(d, u"Buchungskonto"_s)})
        an += QString::number(w->isEnabled());
    const QString inhalt = kurz(d)->text() + unter->text() + feldBei<QLineEdit>(d, u"Buchungskonto"_s)->text()
        + feldBei<QLineEdit>(d, u"Name"_s)->text() + QString::number(art->currentIndex());
    return an == u"01111111" ? u"Bearbeitung"_s : an == u"10000000" && inhalt == u"0" ? u"Auswahl"_s : u"gemischt"_s;
}
// Picks a level under "Art" by typing its name (after a pause, so the combo box starts a new search).
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
        klick.isEmpty() ? void(wahl->close()) : klicke(view, suche(*view->model(), klick).siblingAtColumn(2));
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
        QTest::newRow("Grenze 2") << kDrei << 2 << u"BUND(LV NORD,LV SUED)"_s << QString();
        QTest::newRow("leere Tabelle") << QString() << 9 << QString() << QString();
        QTest::newRow("Grenze 0") << kDrei << 0 << QString() << QString();
        QTest::newRow("hoechstens fuenf Ebenen") << u"X FUENF|5|OV DORF;OV DORF|4|"_s << 9 << u"OV DORF"_s << QString();
        QTest::newRow("leerer Name findet nichts") << u"|0|;BUND|0|"_s << 9 << u",BUND"_s << QString();
        QTest::newRow("Eltern: vorher, spaeter, tiefer, fehlend")
            << u"LV B|1|LV A;LV A|1|;LV C|1|LV Z;LV Z|1|ZZ;LV D|1|BZ X;BZ X|2|"_s << 9
            << u"LV A(LV B),LV D,LV C,LV Z,BZ X"_s << u"LV A/LV B"_s;
        QTest::newRow("Ebene fuer Ebene, je Eltern nach Namen")
            << u"BZ P|2|LV C;KV X|3|NIRGENDS;LV C|1|BUND;LV A|1|;LV B|1|BUND;BUND|0|;BZ Q|2|LV A;BZ O|2|LV C"_s << 9
            << u"BUND(LV B,LV C(BZ O,BZ P)),LV A(BZ Q),KV X"_s << u"BUND/LV C/BZ P"_s;
    }
    void baumRegeln()
    {
        QFETCH(QString, zeilen); QFETCH(int, grenze);
        GliederungsBaum modell; // the tester checks every index, also through the resets under a view
        QAbstractItemModelTester tester(&modell, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(modell.rowCount() + modell.columnCount(), 0); // no root before the first build
        einheiten(zeilen);
        QTreeView view;
        view.setModel(&modell);
        modell.setupModelData(QString(), 9);
        view.expandAll();
        const QModelIndex treffer = modell.setupModelData(zeilen.section(u'|', 0, 0), grenze);
        QCOMPARE(modell.headerData(2, Qt::Horizontal).toString(), u"Schatzmeister"_s);
        QTEST(struktur(modell), "baum");
        QTEST(pfad(treffer), "gefunden");
    }
    void speichern_data()
    {
        QTest::addColumn<QString>("eingabe"); // short name;address name;chair;"Art"
        QTest::addColumn<QString>("zeile"); // the stored unit, its address name and number of address/bank rows
        const QString neu = u"|''|1900-01-01|"_s;
        QTest::newRow("Bundesverband, Name aus Blanks") << u"bund;   ;;"_s << QString();
        QTest::newRow("Bundesverband, Apostroph") << u"bund o'brien; Kreis O'Brien ;Anna  O'Neil;"_s
                                                  << u"BUND O`BRIEN|0"_s + neu + u"Anna O`Neil|Kreis O`Brien|1"_s;
        QTest::newRow("Landesverband ohne Adresse, Blanks, klein")
            << u"  kv   musterstadt ;;;Landesverband"_s << u"KV MUSTERSTADT|1"_s + neu + u"||0"_s;
        QTest::newRow("40 Zeichen") << QString(45, u'k') + u";;;Ortsverband"_s
                                    << QString(40, u'K') + u"|4"_s + neu + u"||0"_s;
    }
    void speichern()
    {
        QFETCH(QString, eingabe); QFETCH(QString, zeile);
        const QStringList e = eingabe.split(u';');
        Gliederung d;
        QVERIFY(zeige(&d));
        tippeReturn(kurz(&d), e.at(0));
        QCOMPARE(kurz(&d)->text(), zeile.isEmpty() ? u"BUND"_s : zeile.section(u'|', 0, 0));
        QCOMPARE(modus(&d), u"Bearbeitung"_s);
        QCOMPARE(d.findChild<QLabel *>(u"neu"_s)->text(), u"neu"_s);
        QCOMPARE(QApplication::focusWidget(), feldBei(&d, u"Name"_s)); // a new unit: focus in the address
        art(&d, e.at(3));
        tippe(feldBei(&d, u"Name"_s), e.at(1));
        tippe(feldBei(&d, u"Vorsitzender"_s), e.at(2));
        QVERIFY(alt(&d, Qt::Key_S));
        QCOMPARE(modus(&d), zeile.isEmpty() ? u"Bearbeitung"_s : u"Auswahl"_s);
        QCOMPARE(TestDb::zeile(u"SELECT namekurz,ebene,quote(teilvon),gegruendet,vorsitzname,(SELECT group_concat("
                               "name1) FROM adresse WHERE art='V' AND key=namekurz),(SELECT count(*) FROM adresse)+"
                               "(SELECT count(*) FROM bankverbindung) FROM verband"_s).join(u'|'), zeile);
        QCOMPARE(struktur(*d.findChild<QTreeView *>()->model()), zeile.section(u'|', 0, 0));
    }
    void ladenUndAendern()
    {
        einheiten(kDrei);
        Db::ausfuehren(u"UPDATE verband SET gegruendet='1990-10-03',bukto='0815',vorsitzname='Vera',vorsitzmail='v@x',"
                       "vorsitztel='111',vorsitzfax='222',gensekname='Gert',gensekmail='g@x',gensektel='333',"
                       "gensekfax='444',schatzname='Sara',schatzmail='s@x',schatztel='555',schatzfax='666' "
                       "WHERE namekurz='BZ KUESTE'"_s);
        adresseUndBank(u"BZ KUESTE"_s, u"Bezirk Küste"_s, u"Kasse Küste"_s);
        Gliederung d;
        QVERIFY(zeige(&d));
        auto *liste = d.findChild<QTreeView *>();
        auto *bukto = feldBei<QLineEdit>(&d, u"Buchungskonto"_s), *inhaber = feldBei<QLineEdit>(&d, u"Konto Inhaber"_s);
        QCOMPARE(sicht(liste), u"BUND+"_s); // built collapsed
        klicke(liste, suche(*liste->model(), u"BZ KUESTE"_s).siblingAtColumn(1)); // a click loads the unit
        QCOMPARE(QApplication::focusWidget(), knopf(&d, u"&Abbruch"_s)); // the address is filled
        QVERIFY(d.findChild<QLabel *>(u"neu"_s)->text().isEmpty()); // a stored unit
        const QModelIndex bz = suche(*liste->model(), u"BZ KUESTE"_s); // the tree's account and treasurer columns
        QCOMPARE(bz.siblingAtColumn(1).data().toString() + bz.siblingAtColumn(2).data().toString(), u"0815Sara"_s);
        klicke(liste, suche(*liste->model(), u"BUND"_s)); // while editing a click changes nothing
        QCOMPARE(kurz(&d)->text() + feldBei<QLineEdit>(&d, u"Name"_s)->text() + inhaber->text(),
                 u"BZ KUESTEBezirk KüsteKasse Küste"_s);
        bukto->selectAll();
        tippe(bukto, u" 0816  x's 1234567890"_s); // at most 15 characters
        const QString lang = u"0123456789 0123456789 0123456789"_s;
        tippe(feldBei(&d, u"Tel./Fax"_s, 0), lang); // the chair's telephone: at most 25
        tippe(feldBei(&d, u"Tel./Fax"_s, 1), lang); // the treasurer's: no limit
        inhaber->clear(); // an empty bank block deletes its row
        QVERIFY(alt(&d, Qt::Key_S)); // untouched fields stay as loaded, each column in its place; no second row
        QCOMPARE(TestDb::zeile(u"SELECT gegruendet,ebene,teilvon,bukto,vorsitzname,vorsitzmail,vorsitztel,vorsitzfax,"
                               "gensekname,gensekmail,gensektel,gensekfax,schatzname,schatzmail,schatztel,schatzfax "
                               "FROM verband WHERE namekurz='BZ KUESTE'"_s).join(u'|'),
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
        // The choice gave back all levels, until "Art" changes again; closing the chooser keeps the choice.
        QCOMPARE(waehle(unter), u"BUND(LV NORD(BZ KUESTE(KV HAFEN(OV DORF))),LV SUED)"_s);
        art(&d, u"Landesverband"_s);
        QCOMPARE(waehle(unter), u"BUND"_s);
        art(&d, u"Kreisverband"_s);
        QVERIFY(alt(&d, Qt::Key_S));
        QCOMPARE(TestDb::zeile(u"SELECT ebene,teilvon FROM verband WHERE namekurz='KV NEU'"_s),
                 QStringList({u"3"_s, u"BZ KUESTE"_s}));
        tippeReturn(kurz(&d), u"bz kueste"_s); // loading limits the chooser to the levels above
        QCOMPARE(waehle(unter), u"BUND(LV NORD,LV SUED)"_s);
    }
    void loeschenUndVerlassen()
    {
        einheiten(kDrei);
        adresseUndBank(u"LV NORD"_s, u"Land Nord"_s, u"Kasse Nord"_s);
        adresseUndBank(u"LV SUED"_s, u"Land Süd"_s, u"Kasse Süd"_s);
        SkriptInteraktion skript;
        Gliederung d;
        QVERIFY(zeige(&d));
        tippeReturn(kurz(&d), u"lv nord"_s);
        skript.antworteAbbruch(); // not confirmed: nothing happens, the unit stays open
        QVERIFY(alt(&d, Qt::Key_L));
        QCOMPARE(modus(&d) + QString::number(TestDb::anzahl(u"SELECT count(*) FROM verband"_s)), u"Bearbeitung5"_s);
        skript.antworte(QMessageBox::Ok);
        QVERIFY(alt(&d, Qt::Key_L)); // only this unit, its address and bank go; its sub-units move to the top
        QCOMPARE(modus(&d) + QString::number(skript.unerwartet()), u"Auswahl0"_s);
        QCOMPARE(TestDb::zeile(u"SELECT (SELECT group_concat(namekurz) FROM (SELECT namekurz FROM verband ORDER BY 1)),"
                               "(SELECT group_concat(key) FROM adresse),"
                               "(SELECT group_concat(key) FROM bankverbindung)"_s),
                 QStringList({u"BUND,BZ KUESTE,KV HAFEN,LV SUED"_s, u"LV SUED"_s, u"LV SUED"_s}));
        QCOMPARE(struktur(*d.findChild<QTreeView *>()->model()), u"BUND(LV SUED),BZ KUESTE(KV HAFEN)"_s);
        // Leaving the unit clears every field and stores nothing (the other ways out: with the chart of accounts).
        tippeReturn(kurz(&d), u"lv sued"_s);
        tippe(feldBei(&d, u"Buchungskonto"_s), u"4711"_s);
        QTest::keyClick(d.findChild<QComboBox *>(), Qt::Key_Down);
        QTest::keyClick(feldBei(&d, u"Buchungskonto"_s), Qt::Key_Escape);
        QCOMPARE(modus(&d), u"Auswahl"_s);
        QCOMPARE(TestDb::zeile(u"SELECT ebene,bukto FROM verband WHERE namekurz='LV SUED'"_s),
                 QStringList({u"1"_s, QString()}));
    }
};

QTEST_MAIN(TstGliederung)
#include "tst_gliederung.moc"
