#include "db.h"
#include "dialogdriver.h"
#include "gliederungsbaum.h"
#include "gliederungswahl.h"
#include "testdb.h"
#include "treeitem.h"
#include "wgliederung.h"

#include <QAbstractItemModelTester>
#include <QApplication>
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

QTEST_MAIN(TstGliederung)
#include "tst_gliederung.moc"
