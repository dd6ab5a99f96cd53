// The text templates dialog: how it stores, reads and deletes a template. The browsing,
// cancelling and closing it shares with every record dialog are tested with the chart of accounts.

#include "db.h"
#include "dialogdriver.h"
#include "testdb.h"
#include "textbaustein.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableView>
#include <QtTest>

#include <memory>

using namespace DialogTreiber;

namespace {
const QString kVorhanden = QStringLiteral("MAHN1M|Erste Mahnung|Ihr Beitrag|Hallo %vname%,\n  offen.");
const QString kZeile = QStringLiteral("SELECT bez,beschreibung,subject,inhalt FROM textbaustein WHERE bez=?");
} // namespace

class TstTextbaustein : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDb> m_db;

private slots:
    void init()
    {
        QVERIFY((m_db = std::make_unique<TestDb>())->ok());
        const QStringList f = kVorhanden.split('|');
        Db::ausfuehren("INSERT INTO textbaustein (bez,beschreibung,subject,inhalt) VALUES (?,?,?,?)",
                       {f[0], f[1], f[2], f[3]});
    }
    void cleanup() { m_db.reset(); }

    // Type a name, add to description, subject and body, then save or delete.
    void bearbeiten_data()
    {
        QTest::addColumn<bool>("pick");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("zusatz"); // typed at the end of description, subject and body
        QTest::addColumn<bool>("loeschen");
        QTest::addColumn<QString>("zeile"); // the stored row afterwards, empty for none
        QTest::newRow("neu, sauber") << false << "  mahn  eins " << "  a'b  " << false << "MAHN EINS|a`b|a`b|  a`b  ";
        QTest::newRow("Umlaut, Apostroph") << false << "müller's ß" << "x" << false << "MÜLLER`S SS|x|x|x";
        QTest::newRow("klein findet groß") << false << "mahn1m" << " neu" << false
                                           << "MAHN1M|Erste Mahnung neu|Ihr Beitrag neu|Hallo %vname%,\n  offen. neu";
        QTest::newRow("Löschen") << false << "mahn1m" << "x" << true << "";
        QTest::newRow("Auswahl, neu") << true << "rech m" << "y" << false << "RECH M|y|y|y";
    }
    void bearbeiten()
    {
        QFETCH(bool, pick); QFETCH(QString, name); QFETCH(QString, zusatz); QFETCH(bool, loeschen);
        QFETCH(QString, zeile);
        const QString bez = name.simplified().toUpper().replace('\'', '`');
        Textbaustein dialog(pick);
        QVERIFY(zeige(&dialog));
        QCOMPARE(knopf(&dialog, QStringLiteral("&Löschen")) == nullptr, pick);
        auto *view = dialog.findChild<QTableView *>();
        QCOMPARE(view->model()->index(0, 0).data().toString() + '|' + view->model()->index(0, 1).data().toString(),
                 "MAHN1M|Erste Mahnung");
        tippeReturn(feldBei(&dialog, "Bezeichnung"), name);
        QCOMPARE(feldBei<QLineEdit>(&dialog, "Bezeichnung")->text(), bez);
        auto *beschreibung = feldBei<QLineEdit>(&dialog, "Beschreibung");
        QCOMPARE(QApplication::focusWidget(), beschreibung);
        QCOMPARE(dialog.findChild<QLabel *>("neu")->text(), bez == "MAHN1M" ? "" : "neu");
        auto *inhalt = dialog.findChild<QPlainTextEdit *>();
        QCOMPARE(bez + '|' + beschreibung->text() + '|' + feldBei<QLineEdit>(&dialog, "Betreff")->text() + '|'
                     + inhalt->toPlainText(),
                 bez == "MAHN1M" ? kVorhanden : bez + "|||");
        for (QWidget *feld : {static_cast<QWidget *>(beschreibung), feldBei(&dialog, "Betreff"),
                              static_cast<QWidget *>(inhalt)}) {
            feld->setFocus();
            QTest::keyClick(feld, Qt::Key_End, feld == inhalt ? Qt::ControlModifier : Qt::NoModifier);
            tippe(feld, zusatz);
        }
        SkriptInteraktion skript;
        skript.antworte(QMessageBox::Ok);
        QVERIFY(alt(&dialog, loeschen ? Qt::Key_L : Qt::Key_S));
        QCOMPARE(skript.offen(), loeschen ? 0 : 1);
        QCOMPARE(TestDb::zeile(kZeile, {bez}).join('|'), zeile);
        const int anzahl = TestDb::anzahl("SELECT count(*) FROM textbaustein");
        QCOMPARE(anzahl, 1 + (zeile.isEmpty() ? -1 : bez == "MAHN1M" ? 0 : 1));
        // Pick mode closes after saving and names what it saved; else the list shows the change.
        QCOMPARE(dialog.isVisible(), !pick);
        QCOMPARE(dialog.angelegt(), pick ? bez : QString());
        QCOMPARE(view->model()->rowCount(), pick ? 1 : anzahl);
    }
};

QTEST_MAIN(TstTextbaustein)
#include "tst_textbaustein.moc"
