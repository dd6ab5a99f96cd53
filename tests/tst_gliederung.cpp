#include "db.h"
#include "dialogdriver.h"
#include "gliederung.h"
#include "gliederungsbaum.h"
#include "gliederungswahl.h"
#include "testdb.h"
#include "treeitem.h"
#include "velamain.h"
#include "wgliederung.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QTreeView>

#include <memory>

namespace {

// A unit row as the dialog would store it; a teilvon of "#" stands for NULL.
void einheit(const QString &name, int ebene, const QString &teilvon, const QString &bukto = QString(),
             const QString &schatz = QString())
{
    const QVariant eltern = teilvon == QLatin1String("#") ? QVariant() : QVariant(teilvon);
    QCOMPARE(Db::ausfuehren(QStringLiteral("INSERT INTO verband (namekurz,ebene,teilvon,bukto,schatzname) "
                                           "VALUES (?,?,?,?,?)"),
                            {name, ebene, eltern, bukto, schatz}),
             1);
}

// "NAME|ebene|teilvon" per unit.
void einheiten(const QStringList &zeilen)
{
    for (const QString &zeile : zeilen) {
        const QStringList f = zeile.split(QLatin1Char('|'));
        einheit(f.at(0), f.at(1).toInt(), f.at(2));
    }
}

// The tree as text: "A(B,C(D)),E".
QString struktur(const QAbstractItemModel &m, const QModelIndex &eltern = QModelIndex())
{
    QStringList teile;
    for (int r = 0; r < m.rowCount(eltern); ++r) {
        const QModelIndex i = m.index(r, 0, eltern);
        QString s = i.data().toString();
        if (m.rowCount(i) > 0)
            s += QLatin1Char('(') + struktur(m, i) + QLatin1Char(')');
        teile << s;
    }
    return teile.join(QLatin1Char(','));
}

// The names from the top down to `index`: "BUND/LV NORD".
QString pfad(const QModelIndex &index)
{
    QStringList teile;
    for (QModelIndex i = index; i.isValid(); i = i.parent())
        teile.prepend(i.data().toString());
    return teile.join(QLatin1Char('/'));
}

QModelIndex suche(const QAbstractItemModel &m, const QString &name)
{
    const QModelIndexList treffer =
        m.match(m.index(0, 0), Qt::DisplayRole, name, 1, Qt::MatchExactly | Qt::MatchRecursive);
    return treffer.value(0);
}

void klickeZeile(QTreeView *view, const QModelIndex &index)
{
    view->scrollTo(index);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, view->visualRect(index).center());
}

const QStringList kDreiEbenen = {QStringLiteral("BUND|0|"), QStringLiteral("LV NORD|1|BUND"),
                                 QStringLiteral("LV SUED|1|BUND"), QStringLiteral("BZ KUESTE|2|LV NORD"),
                                 QStringLiteral("KV HAFEN|3|BZ KUESTE")};

// The field `spalte` columns right of the nr-th label `beschriftung` within `bereich`.
template <typename T = QLineEdit>
T *feldBei(QWidget *bereich, const QString &beschriftung, int nr = 0, int spalte = 1)
{
    int gezaehlt = 0;
    const QList<QLabel *> labels = bereich->findChildren<QLabel *>();
    for (QLabel *label : labels) {
        auto *grid = label->parentWidget() ? qobject_cast<QGridLayout *>(label->parentWidget()->layout()) : nullptr;
        if (label->text() != beschriftung || !grid || grid->indexOf(label) < 0)
            continue;
        if (gezaehlt++ < nr)
            continue;
        int r = 0, c = 0, rs = 0, cs = 0;
        grid->getItemPosition(grid->indexOf(label), &r, &c, &rs, &cs);
        QLayoutItem *item = grid->itemAtPosition(r, c + spalte);
        return item ? qobject_cast<T *>(item->widget()) : nullptr;
    }
    return nullptr;
}

// The page of the tab widget: 0 address, 1 contacts, 2 bank.
QWidget *seite(QWidget *dialog, int nr)
{
    return dialog->findChild<QTabWidget *>()->widget(nr);
}

QPushButton *knopfMit(QWidget *dialog, const QString &text)
{
    const QList<QPushButton *> knoepfe = dialog->findChildren<QPushButton *>();
    for (QPushButton *k : knoepfe)
        if (k->text() == text)
            return k;
    return nullptr;
}

// Alt+key as the user presses it. A mnemonic clicks its button only after a
// short animation, so this waits for the click; false if no button took it.
bool alt(QWidget *dialog, Qt::Key taste)
{
    const QList<QPushButton *> knoepfe = dialog->findChildren<QPushButton *>();
    for (QPushButton *k : knoepfe) {
        if (k->shortcut() != QKeySequence(Qt::ALT | taste))
            continue;
        // After a chooser has closed the window must be active again for its shortcuts.
        QApplication::setActiveWindow(dialog);
        if (!QTest::qWaitForWindowActive(dialog))
            return false;
        QSignalSpy klick(k, &QPushButton::clicked);
        QTest::keyClick(dialog, taste, Qt::AltModifier);
        return klick.count() > 0 || klick.wait(1000);
    }
    return false;
}

QLineEdit *kurzname(QWidget *dialog)
{
    return dialog->findChild<QLineEdit *>(QStringLiteral("namekurz"));
}

// Types into the short-name field and presses Return, as the user does.
void tippeName(QWidget *dialog, const QString &text)
{
    QLineEdit *feld = kurzname(dialog);
    QVERIFY(feld);
    QVERIFY(feld->isEnabled());
    feld->setFocus();
    QTest::keyClicks(feld, text);
    QTest::keyClick(feld, Qt::Key_Return);
}

void zeige(QWidget *dialog)
{
    dialog->show();
    QApplication::setActiveWindow(dialog);
    QVERIFY(QTest::qWaitForWindowActive(dialog));
}

void waehleArt(QWidget *dialog, int ebene)
{
    auto *art = dialog->findChild<QComboBox *>();
    art->setFocus();
    for (int i = art->currentIndex(); i < ebene; ++i)
        QTest::keyClick(art, Qt::Key_Down);
    for (int i = art->currentIndex(); i > ebene; --i)
        QTest::keyClick(art, Qt::Key_Up);
}

int anzahl(const QString &sql, const QVariantList &werte = {})
{
    return Db::wert(sql, werte).toInt();
}

QString spalte(const QString &name, const QString &spalte)
{
    // Column names are fixed here, only the unit is a value.
    return Db::wert(QStringLiteral("SELECT ") + spalte + QStringLiteral(" FROM verband WHERE namekurz=?"), {name})
        .toString();
}

void adresseZeile(const QString &key, const QString &name1)
{
    QCOMPARE(Db::ausfuehren(QStringLiteral("INSERT INTO adresse (art,key,suchname,name1,name2,strasse,plz,ort,land,"
                                           "mail) VALUES ('V',?,'',?,'','','','','','')"),
                            {key, name1}),
             1);
}

void bankZeile(const QString &key, const QString &inhaber)
{
    QCOMPARE(Db::ausfuehren(QStringLiteral("INSERT INTO bankverbindung (art,key,inhaber,nummer,blz,bank,bic,iban) "
                                           "VALUES ('V',?,?,'','','','','')"),
                            {key, inhaber}),
             1);
}

// Selection mode: only the short name can be typed, it is empty and has the focus.
bool inAuswahl(QWidget *dialog)
{
    return kurzname(dialog)->isEnabled() && kurzname(dialog)->text().isEmpty()
        && !knopfMit(dialog, QStringLiteral("&Speichern"))->isEnabled()
        && !knopfMit(dialog, QStringLiteral("&Abbruch"))->isEnabled()
        && !knopfMit(dialog, QStringLiteral("&Löschen"))->isEnabled()
        && !dialog->findChild<QComboBox *>()->isEnabled() && !dialog->findChild<WGliederung *>()->isEnabled();
}

bool inBearbeitung(QWidget *dialog)
{
    return !kurzname(dialog)->isEnabled() && knopfMit(dialog, QStringLiteral("&Speichern"))->isEnabled()
        && knopfMit(dialog, QStringLiteral("&Löschen"))->isEnabled()
        && dialog->findChild<QComboBox *>()->isEnabled() && dialog->findChild<WGliederung *>()->isEnabled();
}

} // namespace

class TstGliederung : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void baumRegeln_data();
    void baumRegeln();
    void baumOhneAufbau();
    void baumLeer();
    void baumModellKonsistent();
    void baumSpalten();
    void treeItem();

    void wahlAufklappen_data();
    void wahlAufklappen();
    void wahlKlick();
    void knopfGrenzeNachSetText();
    void knopfAbbruchBehaeltText();

    void dialogAufbau();
    void kurznameBereinigt();
    void vorhandeneLaden();
    void bundesverbandBrauchtNamen();
    void landesverbandOhneAdresse();
    void aendernSchreibtUpdate();
    void artBegrenztUnter();
    void loeschenMitUntereinheiten();
    void apostrophAlsGravis();
    void escapeUndSchliessen();
    void returnDruecktKeinenKnopf();
    void klickInListe();
    void hauptfensterOeffnet();

private:
    std::unique_ptr<TestDb> m_db;
};

void TstGliederung::init()
{
    m_db = std::make_unique<TestDb>();
    QVERIFY(m_db->ok());
}

void TstGliederung::cleanup()
{
    m_db.reset();
}

void TstGliederung::baumRegeln_data()
{
    QTest::addColumn<QStringList>("zeilen");
    QTest::addColumn<int>("grenze");
    QTest::addColumn<QString>("finden");
    QTest::addColumn<QString>("baum");
    QTest::addColumn<QString>("gefunden"); // path of the found unit, empty when the index is invalid

    QTest::newRow("drei Ebenen unter BUND")
        << QStringList{QStringLiteral("BUND|0|"), QStringLiteral("LV SUED|1|BUND"), QStringLiteral("LV NORD|1|BUND"),
                       QStringLiteral("BZ KUESTE|2|LV NORD")}
        << 9 << QStringLiteral("BZ KUESTE") << QStringLiteral("BUND(LV NORD(BZ KUESTE),LV SUED)")
        << QStringLiteral("BUND/LV NORD/BZ KUESTE");
    QTest::newRow("fehlende Eltern: oben")
        << QStringList{QStringLiteral("BUND|0|"), QStringLiteral("KV WAISE|3|LV GIBTSNICHT")} << 9
        << QStringLiteral("KV WAISE") << QStringLiteral("BUND,KV WAISE") << QStringLiteral("KV WAISE");
    QTest::newRow("zwei Waisen mit demselben fehlenden Eltern")
        << QStringList{QStringLiteral("KV B|3|WEG"), QStringLiteral("KV A|3|WEG"), QStringLiteral("KV C|3|")}
        << 9 << QString() << QStringLiteral("KV C,KV A,KV B") << QString();
    QTest::newRow("Grenze 2 ohne Kreisverband") << kDreiEbenen << 2 << QStringLiteral("KV HAFEN")
                                                << QStringLiteral("BUND(LV NORD,LV SUED)") << QString();
    QTest::newRow("Grenze 4 bis Kreisverband")
        << (kDreiEbenen + QStringList{QStringLiteral("OV DORF|4|KV HAFEN")}) << 4 << QStringLiteral("KV HAFEN")
        << QStringLiteral("BUND(LV NORD(BZ KUESTE(KV HAFEN)),LV SUED)")
        << QStringLiteral("BUND/LV NORD/BZ KUESTE/KV HAFEN");
    QTest::newRow("Grenze 0 leer") << kDreiEbenen << 0 << QStringLiteral("BUND") << QString() << QString();
    QTest::newRow("nie mehr als fuenf Ebenen")
        << QStringList{QStringLiteral("OV DORF|4|"), QStringLiteral("X FUENF|5|OV DORF")} << 9
        << QStringLiteral("X FUENF") << QStringLiteral("OV DORF") << QString();
    QTest::newRow("leerer Name findet nichts")
        << QStringList{QStringLiteral("|0|"), QStringLiteral("BUND|0|")} << 9 << QString()
        << QStringLiteral(",BUND") << QString();
    QTest::newRow("Eltern auf gleicher Ebene vorher angelegt")
        << QStringList{QStringLiteral("LV B|1|LV A"), QStringLiteral("LV A|1|")} << 9 << QStringLiteral("LV B")
        << QStringLiteral("LV A(LV B)") << QStringLiteral("LV A/LV B");
    QTest::newRow("Eltern auf gleicher Ebene spaeter angelegt")
        << QStringList{QStringLiteral("LV A|1|LV Z"), QStringLiteral("LV Z|1|ZZ")} << 9 << QStringLiteral("LV A")
        << QStringLiteral("LV A,LV Z") << QStringLiteral("LV A");
    QTest::newRow("Eltern auf tieferer Ebene")
        << QStringList{QStringLiteral("LV A|1|BZ X"), QStringLiteral("BZ X|2|")} << 9 << QStringLiteral("LV A")
        << QStringLiteral("LV A,BZ X") << QStringLiteral("LV A");
    QTest::newRow("Ebene fuer Ebene, je Eltern nach Namen")
        << QStringList{QStringLiteral("KV X|3|"), QStringLiteral("LV C|1|BUND"), QStringLiteral("LV A|1|"),
                       QStringLiteral("LV B|1|BUND"), QStringLiteral("BUND|0|"), QStringLiteral("BZ Q|2|LV A"),
                       QStringLiteral("BZ P|2|LV C"), QStringLiteral("BZ O|2|LV C")}
        << 9 << QStringLiteral("BZ P") << QStringLiteral("BUND(LV B,LV C(BZ O,BZ P)),LV A(BZ Q),KV X")
        << QStringLiteral("BUND/LV C/BZ P");
    QTest::newRow("NULL als teilvon") << QStringList{QStringLiteral("LV N|1|#"), QStringLiteral("BUND|0|")} << 9
                                      << QStringLiteral("LV N") << QStringLiteral("BUND,LV N")
                                      << QStringLiteral("LV N");
}

void TstGliederung::baumRegeln()
{
    QFETCH(QStringList, zeilen);
    QFETCH(int, grenze);
    QFETCH(QString, finden);
    QFETCH(QString, baum);
    QFETCH(QString, gefunden);

    einheiten(zeilen);
    GliederungsBaum modell;
    const QModelIndex treffer = modell.setupModelData(finden, grenze);
    QCOMPARE(struktur(modell), baum);
    QCOMPARE(pfad(treffer), gefunden);
    if (treffer.isValid()) {
        QCOMPARE(treffer.model(), &modell);
        QCOMPARE(treffer.column(), 0);
        QCOMPARE(treffer.data().toString(), finden);
    }
}

void TstGliederung::baumOhneAufbau()
{
    GliederungsBaum modell;
    QCOMPARE(modell.rowCount(), 0);
    QCOMPARE(modell.columnCount(), 0);
    QVERIFY(!modell.index(0, 0).isValid());
    QVERIFY(!modell.headerData(0, Qt::Horizontal).isValid());
}

void TstGliederung::baumLeer()
{
    GliederungsBaum modell;
    QVERIFY(!modell.setupModelData(QStringLiteral("BUND"), 9).isValid());
    QCOMPARE(modell.rowCount(), 0);
    QCOMPARE(modell.columnCount(), 3);
    QCOMPARE(modell.headerData(0, Qt::Horizontal).toString(), QStringLiteral("Kurzname"));
    QCOMPARE(modell.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Konto"));
    QCOMPARE(modell.headerData(2, Qt::Horizontal).toString(), QStringLiteral("Schatzmeister"));
    QVERIFY(!modell.headerData(3, Qt::Horizontal).isValid());
    QVERIFY(!modell.headerData(0, Qt::Vertical).isValid());
    QVERIFY(!modell.headerData(0, Qt::Horizontal, Qt::ToolTipRole).isValid());
}

void TstGliederung::baumModellKonsistent()
{
    einheiten(kDreiEbenen + QStringList{QStringLiteral("OV DORF|4|KV HAFEN"), QStringLiteral("OV STADT|4|KV HAFEN"),
                                        QStringLiteral("KV WAISE|3|NIRGENDS"), QStringLiteral("LV C|1|BUND")});
    GliederungsBaum modell;
    QAbstractItemModelTester tester(&modell, QAbstractItemModelTester::FailureReportingMode::QtTest);
    modell.setupModelData(QStringLiteral("OV DORF"), 9);
    QCOMPARE(struktur(modell), QStringLiteral("BUND(LV C,LV NORD(BZ KUESTE(KV HAFEN(OV DORF,OV STADT))),LV SUED),"
                                              "KV WAISE"));
    // Rebuilding under a view resets the model; the tester checks the reset and the new tree.
    QTreeView view;
    view.setModel(&modell);
    view.expandAll();
    Db::ausfuehren(QStringLiteral("DELETE FROM verband WHERE namekurz='LV NORD'"));
    const QModelIndex dorf = modell.setupModelData(QStringLiteral("OV DORF"), 9);
    QCOMPARE(pfad(dorf), QStringLiteral("BZ KUESTE/KV HAFEN/OV DORF"));
    modell.setupModelData(QString(), 3);
    QCOMPARE(struktur(modell), QStringLiteral("BUND(LV C,LV SUED),BZ KUESTE"));

    // Walking every index down and up again lands where it started.
    modell.setupModelData(QString(), 9);
    std::function<void(const QModelIndex &)> pruefe = [&](const QModelIndex &eltern) {
        for (int r = 0; r < modell.rowCount(eltern); ++r) {
            for (int c = 0; c < 3; ++c) {
                const QModelIndex i = modell.index(r, c, eltern);
                QVERIFY(i.isValid());
                QCOMPARE(modell.parent(i), eltern);
                QCOMPARE(modell.rowCount(i), c == 0 ? modell.rowCount(modell.index(r, 0, eltern)) : 0);
            }
            pruefe(modell.index(r, 0, eltern));
        }
        QVERIFY(!modell.index(modell.rowCount(eltern), 0, eltern).isValid());
        QVERIFY(!modell.index(0, 3, eltern).isValid());
    };
    pruefe(QModelIndex());
}

void TstGliederung::baumSpalten()
{
    einheit(QStringLiteral("BUND"), 0, QString(), QStringLiteral("0100"), QStringLiteral("Erika Muster"));
    einheit(QStringLiteral("LV NORD"), 1, QStringLiteral("BUND"), QStringLiteral("0101"), QString());
    GliederungsBaum modell;
    const QModelIndex lv = modell.setupModelData(QStringLiteral("LV NORD"), 9);
    const QModelIndex bund = lv.parent();
    QCOMPARE(bund.siblingAtColumn(1).data().toString(), QStringLiteral("0100"));
    QCOMPARE(bund.siblingAtColumn(2).data().toString(), QStringLiteral("Erika Muster"));
    QCOMPARE(lv.siblingAtColumn(1).data().toString(), QStringLiteral("0101"));
    // A click on any column reads the short name through datac.
    QCOMPARE(modell.datac(bund.siblingAtColumn(2), 0).toString(), QStringLiteral("BUND"));
    QCOMPARE(modell.datac(lv.siblingAtColumn(1), 1).toString(), QStringLiteral("0101"));
    QVERIFY(!modell.datac(QModelIndex(), 0).isValid());
    QVERIFY(!bund.data(Qt::EditRole).isValid());
    QCOMPARE(modell.flags(bund), Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    QCOMPARE(modell.flags(QModelIndex()), Qt::NoItemFlags);
}

void TstGliederung::treeItem()
{
    TreeItem wurzel({QStringLiteral("a"), QStringLiteral("b")});
    TreeItem *eins = wurzel.appendChild(std::make_unique<TreeItem>(QVariantList{1}));
    TreeItem *zwei = wurzel.appendChild(std::make_unique<TreeItem>(QVariantList{2}));
    TreeItem *enkel = zwei->appendChild(std::make_unique<TreeItem>(QVariantList{3}));
    QCOMPARE(wurzel.childCount(), 2);
    QCOMPARE(wurzel.child(0), eins);
    QCOMPARE(wurzel.child(1), zwei);
    QCOMPARE(wurzel.child(2), nullptr);
    QCOMPARE(wurzel.child(-1), nullptr);
    QCOMPARE(wurzel.row(), 0);
    QCOMPARE(zwei->row(), 1);
    QCOMPARE(enkel->row(), 0);
    QCOMPARE(enkel->parent(), zwei);
    QCOMPARE(wurzel.parent(), nullptr);
    QCOMPARE(wurzel.columnCount(), 2);
    QCOMPARE(wurzel.data(1).toString(), QStringLiteral("b"));
    QVERIFY(!wurzel.data(2).isValid());
}

void TstGliederung::wahlAufklappen_data()
{
    QTest::addColumn<int>("grenze");
    QTest::addColumn<QString>("selbst");
    QTest::addColumn<QStringList>("offen"); // expanded units, all others collapsed

    QTest::newRow("Grenze 4: ganzer Baum")
        << 4 << QStringLiteral("LV SUED")
        << QStringList{QStringLiteral("BUND"), QStringLiteral("LV NORD"), QStringLiteral("BZ KUESTE")};
    QTest::newRow("Grenze 9: nur der Weg zur eigenen")
        << 9 << QStringLiteral("KV HAFEN")
        << QStringList{QStringLiteral("BUND"), QStringLiteral("LV NORD"), QStringLiteral("BZ KUESTE")};
    QTest::newRow("Grenze 5: nur der Weg zur eigenen")
        << 5 << QStringLiteral("LV NORD") << QStringList{QStringLiteral("BUND")};
    QTest::newRow("Grenze 9: eigene oben") << 9 << QStringLiteral("BUND") << QStringList();
    QTest::newRow("Grenze 9: eigene unbekannt") << 9 << QStringLiteral("GIBTSNICHT") << QStringList();
}

void TstGliederung::wahlAufklappen()
{
    QFETCH(int, grenze);
    QFETCH(QString, selbst);
    QFETCH(QStringList, offen);

    einheiten(kDreiEbenen + QStringList{QStringLiteral("OV DORF|4|KV HAFEN")});
    TestDb::setParameter(QStringLiteral("General/Gliederung"), selbst);
    GliederungsWahl wahl(grenze);
    auto *view = wahl.findChild<QTreeView *>();
    QVERIFY(view);
    QStringList aufgeklappt;
    std::function<void(const QModelIndex &)> sammle = [&](const QModelIndex &eltern) {
        for (int r = 0; r < view->model()->rowCount(eltern); ++r) {
            const QModelIndex i = view->model()->index(r, 0, eltern);
            if (view->model()->rowCount(i) > 0 && view->isExpanded(i))
                aufgeklappt << i.data().toString();
            sammle(i);
        }
    };
    sammle(QModelIndex());
    QCOMPARE(aufgeklappt, offen);
    QCOMPARE(view->columnWidth(0), 250);
    QCOMPARE(view->columnWidth(1), 95);
    QVERIFY(wahl.text().isEmpty());
}

void TstGliederung::wahlKlick()
{
    einheiten(kDreiEbenen);
    GliederungsWahl wahl(9);
    wahl.show();
    QVERIFY(QTest::qWaitForWindowExposed(&wahl));
    auto *view = wahl.findChild<QTreeView *>();
    const QModelIndex bund = suche(*view->model(), QStringLiteral("BUND"));
    // The treasurer column of the row counts as a click on the unit.
    klickeZeile(view, bund.siblingAtColumn(2));
    QCOMPARE(wahl.result(), int(QDialog::Accepted));
    QVERIFY(!wahl.isVisible());
    QCOMPARE(wahl.text(), QStringLiteral("BUND"));
}

void TstGliederung::knopfGrenzeNachSetText()
{
    einheiten(kDreiEbenen);
    WGliederung knopf;
    QVERIFY(!knopf.autoDefault());
    QVERIFY(!knopf.isDefault());
    knopf.setEbene(2);
    knopf.setText(QStringLiteral("LV SUED"));

    // setText gave back all levels although the limit was 2 before.
    QString baum;
    DialogTreiber::beiModal([&](QDialog *d) {
        auto *view = d->findChild<QTreeView *>();
        baum = struktur(*view->model());
        klickeZeile(view, suche(*view->model(), QStringLiteral("BUND")));
    });
    knopf.click();
    QVERIFY(DialogTreiber::gelaufen());
    QCOMPARE(baum, QStringLiteral("BUND(LV NORD(BZ KUESTE(KV HAFEN)),LV SUED)"));
    QCOMPARE(knopf.text(), QStringLiteral("BUND"));

    // A later setEbene limits the next choice.
    knopf.setEbene(2);
    DialogTreiber::beiModal([&](QDialog *d) {
        auto *view = d->findChild<QTreeView *>();
        baum = struktur(*view->model());
        klickeZeile(view, suche(*view->model(), QStringLiteral("LV NORD")));
    });
    knopf.click();
    QVERIFY(DialogTreiber::gelaufen());
    QCOMPARE(baum, QStringLiteral("BUND(LV NORD,LV SUED)"));
    QCOMPARE(knopf.text(), QStringLiteral("LV NORD"));

    // ... and the choice itself went through setText: all levels again.
    DialogTreiber::beiModal([&](QDialog *d) {
        baum = struktur(*d->findChild<QTreeView *>()->model());
        d->reject();
    });
    knopf.click();
    QVERIFY(DialogTreiber::gelaufen());
    QCOMPARE(baum, QStringLiteral("BUND(LV NORD(BZ KUESTE(KV HAFEN)),LV SUED)"));
}

void TstGliederung::knopfAbbruchBehaeltText()
{
    einheiten(kDreiEbenen);
    WGliederung knopf;
    knopf.setText(QStringLiteral("LV SUED"));
    DialogTreiber::beiModal([](QDialog *d) { d->close(); });
    knopf.click();
    QVERIFY(DialogTreiber::gelaufen());
    QCOMPARE(knopf.text(), QStringLiteral("LV SUED"));
}

void TstGliederung::dialogAufbau()
{
    einheiten(kDreiEbenen);
    Gliederung d;
    QCOMPARE(d.windowTitle(), QStringLiteral("Gliederungen"));
    auto *tabs = d.findChild<QTabWidget *>();
    QCOMPARE(tabs->count(), 3);
    QCOMPARE(tabs->tabText(0), QStringLiteral("A&dresse"));
    QCOMPARE(tabs->tabText(1), QStringLiteral("&Kontakte"));
    QCOMPARE(tabs->tabText(2), QStringLiteral("&Bankverbindung"));
    const QList<QPushButton *> knoepfe = d.findChildren<QPushButton *>();
    for (QPushButton *k : knoepfe)
        QVERIFY2(!k->autoDefault() && !k->isDefault(), qPrintable(k->text()));
    QVERIFY(knopfMit(&d, QStringLiteral("&Speichern")));
    QVERIFY(knopfMit(&d, QStringLiteral("&Abbruch")));
    QVERIFY(knopfMit(&d, QStringLiteral("&Löschen")));

    QCOMPARE(kurzname(&d)->maxLength(), 40);
    QCOMPARE(feldBei(seite(&d, 1), QStringLiteral("Vorsitzender"))->maxLength(), 60);
    QCOMPARE(feldBei(seite(&d, 1), QStringLiteral("Tel./Fax"), 0, 1)->maxLength(), 25);
    QCOMPARE(feldBei(seite(&d, 1), QStringLiteral("Tel./Fax"), 0, 2)->maxLength(), 25);
    QCOMPARE(feldBei(seite(&d, 1), QStringLiteral("Email"), 0)->maxLength(), 60);
    QCOMPARE(feldBei(seite(&d, 1), QStringLiteral("Schatzmeister"))->maxLength(), 32767);
    QCOMPARE(feldBei(seite(&d, 1), QStringLiteral("Tel./Fax"), 1, 2)->maxLength(), 32767);
    QCOMPARE(feldBei(seite(&d, 1), QStringLiteral("Email"), 2)->maxLength(), 32767);
    QCOMPARE(feldBei(seite(&d, 2), QStringLiteral("Buchungskonto"))->maxLength(), 15);
    QVERIFY(feldBei<WGliederung>(seite(&d, 0), QStringLiteral("Unter")));
    QCOMPARE(feldBei<QDateEdit>(seite(&d, 0), QStringLiteral("Gegründet"))->date(), QDate(1900, 1, 1));
    auto *art = feldBei<QComboBox>(seite(&d, 0), QStringLiteral("Art"));
    QCOMPARE(art->count(), 5);
    QCOMPARE(art->itemText(3), QStringLiteral("Kreisverband"));

    auto *liste = d.findChild<QTreeView *>();
    QCOMPARE(liste->columnWidth(0), 250);
    QCOMPARE(liste->columnWidth(1), 120);
    QCOMPARE(struktur(*liste->model()), QStringLiteral("BUND(LV NORD(BZ KUESTE(KV HAFEN)),LV SUED)"));
    QVERIFY(!liste->isExpanded(liste->model()->index(0, 0)));
    QVERIFY(inAuswahl(&d));
}

void TstGliederung::kurznameBereinigt()
{
    Gliederung d;
    zeige(&d);
    tippeName(&d, QStringLiteral("  kv   musterstadt "));
    QCOMPARE(kurzname(&d)->text(), QStringLiteral("KV MUSTERSTADT"));
    QVERIFY(inBearbeitung(&d));
    // A new unit: empty fields, the focus in the address's name.
    QCOMPARE(QApplication::focusWidget(), feldBei(seite(&d, 0), QStringLiteral("Name")));
    QCOMPARE(d.findChild<QComboBox *>()->currentIndex(), 0);
    QCOMPARE(d.findChild<WGliederung *>()->text(), QString());
    QCOMPARE(anzahl(QStringLiteral("SELECT count(*) FROM verband")), 0);
}

void TstGliederung::vorhandeneLaden()
{
    einheiten(kDreiEbenen);
    Db::ausfuehren(QStringLiteral("UPDATE verband SET gegruendet='1990-10-03',bukto='0815',vorsitzname='Vera',"
                                  "vorsitzmail='vera@x.de',vorsitztel='111',vorsitzfax='222',gensekname='Gert',"
                                  "gensekmail='gert@x.de',gensektel='333',gensekfax='444',schatzname='Sara',"
                                  "schatzmail='sara@x.de',schatztel='555',schatzfax='666' WHERE namekurz=?"),
                   {QStringLiteral("BZ KUESTE")});
    adresseZeile(QStringLiteral("BZ KUESTE"), QStringLiteral("Bezirk Küste"));
    bankZeile(QStringLiteral("BZ KUESTE"), QStringLiteral("Kasse Küste"));
    Gliederung d;
    zeige(&d);
    tippeName(&d, QStringLiteral("bz kueste"));
    QVERIFY(inBearbeitung(&d));
    QCOMPARE(feldBei(seite(&d, 0), QStringLiteral("Name"))->text(), QStringLiteral("Bezirk Küste"));
    QCOMPARE(feldBei(seite(&d, 2), QStringLiteral("Konto Inhaber"))->text(), QStringLiteral("Kasse Küste"));
    // The address is filled, so the focus waits on "Abbruch".
    QCOMPARE(QApplication::focusWidget(), knopfMit(&d, QStringLiteral("&Abbruch")));
    QCOMPARE(feldBei<QComboBox>(seite(&d, 0), QStringLiteral("Art"))->currentIndex(), 2);
    QCOMPARE(feldBei<WGliederung>(seite(&d, 0), QStringLiteral("Unter"))->text(), QStringLiteral("LV NORD"));
    QCOMPARE(feldBei<QDateEdit>(seite(&d, 0), QStringLiteral("Gegründet"))->date(), QDate(1990, 10, 3));
    QCOMPARE(feldBei(seite(&d, 2), QStringLiteral("Buchungskonto"))->text(), QStringLiteral("0815"));
    const QStringList erwartet = {QStringLiteral("Vera"), QStringLiteral("111"), QStringLiteral("222"),
                                  QStringLiteral("vera@x.de"), QStringLiteral("Sara"), QStringLiteral("555"),
                                  QStringLiteral("666"), QStringLiteral("sara@x.de"), QStringLiteral("Gert"),
                                  QStringLiteral("333"), QStringLiteral("444"), QStringLiteral("gert@x.de")};
    const QStringList titel = {QStringLiteral("Vorsitzender"), QStringLiteral("Schatzmeister"),
                               QStringLiteral("Gensek")};
    QStringList gelesen;
    for (int i = 0; i < 3; ++i)
        gelesen << feldBei(&d, titel.at(i))->text() << feldBei(seite(&d, 1), QStringLiteral("Tel./Fax"), i, 1)->text()
                << feldBei(seite(&d, 1), QStringLiteral("Tel./Fax"), i, 2)->text()
                << feldBei(seite(&d, 1), QStringLiteral("Email"), i)->text();
    QCOMPARE(gelesen, erwartet);
}

void TstGliederung::bundesverbandBrauchtNamen()
{
    Gliederung d;
    zeige(&d);
    tippeName(&d, QStringLiteral("bund"));
    QCOMPARE(d.findChild<QComboBox *>()->currentIndex(), 0);
    QVERIFY(alt(&d, Qt::Key_S));
    QCOMPARE(anzahl(QStringLiteral("SELECT count(*) FROM verband")), 0);
    QVERIFY(inBearbeitung(&d));

    // Blanks alone are no name either.
    QLineEdit *name = feldBei(seite(&d, 0), QStringLiteral("Name"));
    QTest::keyClicks(name, QStringLiteral("   "));
    QVERIFY(alt(&d, Qt::Key_S));
    QCOMPARE(anzahl(QStringLiteral("SELECT count(*) FROM verband")), 0);

    QTest::keyClicks(name, QStringLiteral("Bundesverband "));
    QVERIFY(alt(&d, Qt::Key_S));
    QVERIFY(inAuswahl(&d));
    QCOMPARE(anzahl(QStringLiteral("SELECT count(*) FROM verband WHERE namekurz='BUND' AND ebene=0 AND teilvon='' "
                                   "AND gegruendet='1900-01-01' AND bukto='' AND vorsitzname=''")),
             1);
    QCOMPARE(Db::wert(QStringLiteral("SELECT name1 FROM adresse WHERE art='V' AND key='BUND'")).toString(),
             QStringLiteral("Bundesverband"));
    QCOMPARE(anzahl(QStringLiteral("SELECT count(*) FROM bankverbindung")), 0);
    // The tree shows the saved unit.
    QCOMPARE(struktur(*d.findChild<QTreeView *>()->model()), QStringLiteral("BUND"));
}

void TstGliederung::landesverbandOhneAdresse()
{
    einheit(QStringLiteral("BUND"), 0, QString());
    Gliederung d;
    zeige(&d);
    tippeName(&d, QStringLiteral("lv nord"));
    waehleArt(&d, 1);
    DialogTreiber::beiModal([](QDialog *wahl) {
        auto *view = wahl->findChild<QTreeView *>();
        klickeZeile(view, suche(*view->model(), QStringLiteral("BUND")));
    });
    QTest::mouseClick(d.findChild<WGliederung *>(), Qt::LeftButton);
    QVERIFY(DialogTreiber::gelaufen());
    auto *datum = feldBei<QDateEdit>(seite(&d, 0), QStringLiteral("Gegründet"));
    datum->setDate(QDate(2004, 5, 1));
    QVERIFY(alt(&d, Qt::Key_S));
    QVERIFY(inAuswahl(&d));
    QCOMPARE(anzahl(QStringLiteral("SELECT count(*) FROM verband WHERE namekurz='LV NORD' AND ebene=1 "
                                   "AND teilvon='BUND' AND gegruendet='2004-05-01'")),
             1);
    QCOMPARE(anzahl(QStringLiteral("SELECT count(*) FROM adresse")), 0);
    QCOMPARE(anzahl(QStringLiteral("SELECT count(*) FROM bankverbindung")), 0);
    auto *liste = d.findChild<QTreeView *>();
    QCOMPARE(struktur(*liste->model()), QStringLiteral("BUND(LV NORD)"));
    QVERIFY(liste->isExpanded(suche(*liste->model(), QStringLiteral("BUND"))));
}

void TstGliederung::aendernSchreibtUpdate()
{
    einheiten(kDreiEbenen);
    Db::ausfuehren(QStringLiteral("UPDATE verband SET gegruendet='1990-10-03',schatzname='Sara',bukto='0815' "
                                  "WHERE namekurz='KV HAFEN'"));
    adresseZeile(QStringLiteral("KV HAFEN"), QStringLiteral("Hafen"));
    bankZeile(QStringLiteral("KV HAFEN"), QStringLiteral("Kasse"));
    Gliederung d;
    zeige(&d);
    tippeName(&d, QStringLiteral("kv hafen"));
    QLineEdit *bukto = feldBei(seite(&d, 2), QStringLiteral("Buchungskonto"));
    bukto->setFocus();
    bukto->selectAll();
    QTest::keyClicks(bukto, QStringLiteral(" 0816  x "));
    QLineEdit *tel = feldBei(seite(&d, 1), QStringLiteral("Tel./Fax"));
    QTest::keyClicks(tel, QStringLiteral("0123456789 0123456789 0123456789"));
    QCOMPARE(tel->text().size(), 25);
    QLineEdit *gensekMail = feldBei(seite(&d, 1), QStringLiteral("Email"), 2);
    QTest::keyClicks(gensekMail, QStringLiteral("gensek@hafen.de"));
    // Emptying the bank block deletes its row.
    feldBei(seite(&d, 2), QStringLiteral("Konto Inhaber"))->clear();
    QVERIFY(alt(&d, Qt::Key_S));
    QVERIFY(inAuswahl(&d));

    QCOMPARE(anzahl(QStringLiteral("SELECT count(*) FROM verband")), 5);
    QCOMPARE(spalte(QStringLiteral("KV HAFEN"), QStringLiteral("bukto")), QStringLiteral("0816 x"));
    QCOMPARE(spalte(QStringLiteral("KV HAFEN"), QStringLiteral("vorsitztel")),
             QStringLiteral("0123456789 0123456789 012"));
    QCOMPARE(spalte(QStringLiteral("KV HAFEN"), QStringLiteral("gensekmail")), QStringLiteral("gensek@hafen.de"));
    QCOMPARE(spalte(QStringLiteral("KV HAFEN"), QStringLiteral("schatzname")), QStringLiteral("Sara"));
    QCOMPARE(spalte(QStringLiteral("KV HAFEN"), QStringLiteral("gegruendet")), QStringLiteral("1990-10-03"));
    QCOMPARE(spalte(QStringLiteral("KV HAFEN"), QStringLiteral("teilvon")), QStringLiteral("BZ KUESTE"));
    QCOMPARE(spalte(QStringLiteral("KV HAFEN"), QStringLiteral("ebene")), QStringLiteral("3"));
    QCOMPARE(anzahl(QStringLiteral("SELECT count(*) FROM adresse WHERE key='KV HAFEN'")), 1);
    QCOMPARE(anzahl(QStringLiteral("SELECT count(*) FROM bankverbindung")), 0);

    // The rebuilt tree opens the path to the saved unit.
    auto *liste = d.findChild<QTreeView *>();
    const QModelIndex hafen = suche(*liste->model(), QStringLiteral("KV HAFEN"));
    QCOMPARE(pfad(hafen), QStringLiteral("BUND/LV NORD/BZ KUESTE/KV HAFEN"));
    QVERIFY(liste->isExpanded(hafen.parent()));
    QVERIFY(liste->isExpanded(hafen.parent().parent()));
    QCOMPARE(hafen.siblingAtColumn(1).data().toString(), QStringLiteral("0816 x"));
}

void TstGliederung::artBegrenztUnter()
{
    einheiten(kDreiEbenen + QStringList{QStringLiteral("OV DORF|4|KV HAFEN")});
    Gliederung d;
    zeige(&d);
    tippeName(&d, QStringLiteral("kv neu"));
    waehleArt(&d, 3);
    auto *unter = d.findChild<WGliederung *>();

    QString angeboten;
    DialogTreiber::beiModal([&](QDialog *wahl) {
        auto *view = wahl->findChild<QTreeView *>();
        angeboten = struktur(*view->model());
        klickeZeile(view, suche(*view->model(), QStringLiteral("BZ KUESTE")));
    });
    QTest::mouseClick(unter, Qt::LeftButton);
    QVERIFY(DialogTreiber::gelaufen());
    QCOMPARE(angeboten, QStringLiteral("BUND(LV NORD(BZ KUESTE),LV SUED)"));
    QCOMPARE(unter->text(), QStringLiteral("BZ KUESTE"));

    // The choice gave back all levels, until "Art" changes again.
    DialogTreiber::beiModal([&](QDialog *wahl) {
        angeboten = struktur(*wahl->findChild<QTreeView *>()->model());
        wahl->reject();
    });
    QTest::mouseClick(unter, Qt::LeftButton);
    QVERIFY(DialogTreiber::gelaufen());
    QCOMPARE(angeboten, QStringLiteral("BUND(LV NORD(BZ KUESTE(KV HAFEN(OV DORF))),LV SUED)"));
    QCOMPARE(unter->text(), QStringLiteral("BZ KUESTE"));

    waehleArt(&d, 1);
    DialogTreiber::beiModal([&](QDialog *wahl) {
        angeboten = struktur(*wahl->findChild<QTreeView *>()->model());
        wahl->reject();
    });
    QTest::mouseClick(unter, Qt::LeftButton);
    QCOMPARE(angeboten, QStringLiteral("BUND"));

    waehleArt(&d, 3);
    QVERIFY(alt(&d, Qt::Key_S));
    QCOMPARE(spalte(QStringLiteral("KV NEU"), QStringLiteral("teilvon")), QStringLiteral("BZ KUESTE"));
    QCOMPARE(spalte(QStringLiteral("KV NEU"), QStringLiteral("ebene")), QStringLiteral("3"));

    // Loading a unit limits the chooser to the levels above it.
    tippeName(&d, QStringLiteral("bz kueste"));
    DialogTreiber::beiModal([&](QDialog *wahl) {
        angeboten = struktur(*wahl->findChild<QTreeView *>()->model());
        wahl->reject();
    });
    QTest::mouseClick(unter, Qt::LeftButton);
    QCOMPARE(angeboten, QStringLiteral("BUND(LV NORD,LV SUED)"));
}

void TstGliederung::loeschenMitUntereinheiten()
{
    einheiten({QStringLiteral("BUND|0|"), QStringLiteral("LV A|1|BUND"), QStringLiteral("BZ B|2|LV A"),
               QStringLiteral("BZ C|2|LV A"), QStringLiteral("LV Z|1|BUND")});
    adresseZeile(QStringLiteral("LV A"), QStringLiteral("Land A"));
    bankZeile(QStringLiteral("LV A"), QStringLiteral("Kasse A"));
    adresseZeile(QStringLiteral("LV Z"), QStringLiteral("Land Z"));
    SkriptInteraktion skript;
    Gliederung d;
    zeige(&d);

    // Cancelled: nothing happens, the unit stays open.
    tippeName(&d, QStringLiteral("lv a"));
    skript.antworteAbbruch();
    QVERIFY(alt(&d, Qt::Key_L));
    QCOMPARE(skript.anfragen().size(), 1);
    QCOMPARE(skript.anfragen().at(0).text, QStringLiteral("Soll der Datensatz gelöscht werden"));
    QVERIFY(inBearbeitung(&d));
    QCOMPARE(anzahl(QStringLiteral("SELECT count(*) FROM verband")), 5);

    skript.antworte(QMessageBox::Ok);
    QVERIFY(alt(&d, Qt::Key_L));
    QCOMPARE(skript.unerwartet(), 0);
    QVERIFY(inAuswahl(&d));
    QCOMPARE(anzahl(QStringLiteral("SELECT count(*) FROM verband WHERE namekurz='LV A'")), 0);
    QCOMPARE(anzahl(QStringLiteral("SELECT count(*) FROM verband WHERE teilvon='LV A'")), 2);
    QCOMPARE(anzahl(QStringLiteral("SELECT count(*) FROM adresse WHERE key='LV A'")), 0);
    QCOMPARE(anzahl(QStringLiteral("SELECT count(*) FROM bankverbindung WHERE key='LV A'")), 0);
    QCOMPARE(anzahl(QStringLiteral("SELECT count(*) FROM adresse WHERE key='LV Z'")), 1);
    auto *liste = d.findChild<QTreeView *>();
    QCOMPARE(struktur(*liste->model()), QStringLiteral("BUND(LV Z),BZ B,BZ C"));
}

void TstGliederung::apostrophAlsGravis()
{
    Gliederung d;
    zeige(&d);
    tippeName(&d, QStringLiteral("kv o'brien"));
    QCOMPARE(kurzname(&d)->text(), QStringLiteral("KV O`BRIEN"));
    waehleArt(&d, 3);
    QTest::keyClicks(feldBei(seite(&d, 1), QStringLiteral("Vorsitzender")), QStringLiteral("Anna  O'Neil"));
    QTest::keyClicks(feldBei(seite(&d, 0), QStringLiteral("Name")), QStringLiteral("Kreis O'Brien"));
    QVERIFY(alt(&d, Qt::Key_S));
    QCOMPARE(spalte(QStringLiteral("KV O`BRIEN"), QStringLiteral("vorsitzname")), QStringLiteral("Anna O`Neil"));
    QCOMPARE(Db::wert(QStringLiteral("SELECT name1 FROM adresse WHERE art='V' AND key='KV O`BRIEN'")).toString(),
             QStringLiteral("Kreis O`Brien"));
    QCOMPARE(anzahl(QStringLiteral("SELECT count(*) FROM verband WHERE namekurz LIKE '%''%'")), 0);
}

void TstGliederung::escapeUndSchliessen()
{
    einheiten(kDreiEbenen);
    Gliederung d;
    zeige(&d);
    tippeName(&d, QStringLiteral("lv sued"));
    QVERIFY(inBearbeitung(&d));
    QTest::keyClicks(feldBei(seite(&d, 2), QStringLiteral("Buchungskonto")), QStringLiteral("4711"));
    QTest::keyClick(feldBei(seite(&d, 2), QStringLiteral("Buchungskonto")), Qt::Key_Escape);
    QVERIFY(inAuswahl(&d));
    QVERIFY(d.isVisible());
    QCOMPARE(QApplication::focusWidget(), kurzname(&d));
    QCOMPARE(spalte(QStringLiteral("LV SUED"), QStringLiteral("bukto")), QString());

    // Closing the window while editing only leaves the edit mode.
    tippeName(&d, QStringLiteral("lv sued"));
    QTest::keyClick(feldBei<QComboBox>(seite(&d, 0), QStringLiteral("Art")), Qt::Key_Down);
    QVERIFY(!d.close());
    QVERIFY(d.isVisible());
    QVERIFY(inAuswahl(&d));
    QCOMPARE(feldBei<QComboBox>(seite(&d, 0), QStringLiteral("Art"))->currentIndex(), 0);
    QCOMPARE(spalte(QStringLiteral("LV SUED"), QStringLiteral("ebene")), QStringLiteral("1"));

    // "Abbruch" leaves the edit mode as well.
    tippeName(&d, QStringLiteral("lv sued"));
    QVERIFY(alt(&d, Qt::Key_A));
    QVERIFY(inAuswahl(&d));
    QVERIFY(d.isVisible());

    // In selection mode Escape closes.
    QTest::keyClick(kurzname(&d), Qt::Key_Escape);
    QVERIFY(!d.isVisible());
    QCOMPARE(d.result(), int(QDialog::Rejected));

    Gliederung zu;
    zeige(&zu);
    QVERIFY(zu.close());
}

void TstGliederung::returnDruecktKeinenKnopf()
{
    einheiten(kDreiEbenen);
    SkriptInteraktion skript;
    Gliederung d;
    zeige(&d);
    tippeName(&d, QStringLiteral("kv neu"));
    waehleArt(&d, 3);
    const QList<QWidget *> ziele = {feldBei(seite(&d, 0), QStringLiteral("Name")), feldBei(seite(&d, 2), QStringLiteral("Buchungskonto")),
                                    knopfMit(&d, QStringLiteral("&Abbruch")), d.findChild<QComboBox *>()};
    for (QWidget *ziel : ziele) {
        ziel->setFocus();
        QTest::keyClick(ziel, Qt::Key_Return);
        QTest::keyClick(ziel, Qt::Key_Enter);
    }
    QVERIFY(inBearbeitung(&d));
    QVERIFY(d.isVisible());
    QCOMPARE(anzahl(QStringLiteral("SELECT count(*) FROM verband WHERE namekurz='KV NEU'")), 0);
    QCOMPARE(skript.anfragen().size(), 0);
}

void TstGliederung::klickInListe()
{
    einheiten(kDreiEbenen);
    Db::ausfuehren(QStringLiteral("UPDATE verband SET bukto='0900' WHERE namekurz='LV SUED'"));
    Gliederung d;
    zeige(&d);
    auto *liste = d.findChild<QTreeView *>();
    klickeZeile(liste, suche(*liste->model(), QStringLiteral("LV SUED")).siblingAtColumn(1));
    QCOMPARE(kurzname(&d)->text(), QStringLiteral("LV SUED"));
    QVERIFY(inBearbeitung(&d));
    QCOMPARE(feldBei(seite(&d, 2), QStringLiteral("Buchungskonto"))->text(), QStringLiteral("0900"));

    // While editing a click changes nothing.
    klickeZeile(liste, suche(*liste->model(), QStringLiteral("BUND")));
    QCOMPARE(kurzname(&d)->text(), QStringLiteral("LV SUED"));
    QCOMPARE(feldBei(seite(&d, 2), QStringLiteral("Buchungskonto"))->text(), QStringLiteral("0900"));
}

void TstGliederung::hauptfensterOeffnet()
{
    VelaMain haupt;
    QString titel;
    DialogTreiber::beiModal([&](QDialog *d) {
        titel = d->windowTitle();
        d->reject();
    });
    haupt.pGliederung();
    QVERIFY(DialogTreiber::gelaufen());
    QCOMPARE(titel, QStringLiteral("Gliederungen"));
}

QTEST_MAIN(TstGliederung)
#include "tst_gliederung.moc"
