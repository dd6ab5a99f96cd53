// The text templates dialog, driven as the user drives it, in normal and pick mode.

#include "db.h"
#include "dialogdriver.h"
#include "testdb.h"
#include "textbaustein.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

#include <memory>

using namespace DialogTreiber;

namespace {

const QStringList kVorhanden = {"MAHN1M|Erste Mahnung|Ihr Beitrag|Hallo %vname%,\n  offen."};

QStringList liste(QTableView *view)
{
    QStringList zeilen;
    for (int z = 0; z < view->model()->rowCount(); ++z)
        zeilen << view->model()->index(z, 0).data().toString() + '|' + view->model()->index(z, 1).data().toString();
    return zeilen;
}

} // namespace

class TstTextbaustein : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_db = std::make_unique<TestDb>();
        QVERIFY(m_db->ok());
        const QStringList f = kVorhanden[0].split('|');
        Db::ausfuehren("INSERT INTO textbaustein (bez,beschreibung,subject,inhalt) VALUES (?,?,?,?)",
                       {f[0], f[1], f[2], f[3]});
    }
    void cleanup() { m_db.reset(); }

    // Type or click a name, fill in the fields, then save, cancel, close or delete.
    void bearbeiten_data()
    {
        QTest::addColumn<bool>("pick");
        QTest::addColumn<QString>("name");   // typed; "*" clicks the existing one in the list
        QTest::addColumn<QString>("zusatz"); // typed at the end of description, subject and body
        QTest::addColumn<int>("aktion");     // 0 Alt+S, 1 Escape, 2 close window, 3 delete confirmed, 4 declined
        QTest::addColumn<QString>("zeile");  // the stored row afterwards, empty for none
        QTest::newRow("neu, sauber") << false << "  mahn  eins " << "  a'b  " << 0
                                     << "MAHN EINS|a`b|a`b|  a`b  ";
        QTest::newRow("Umlaut, Apostroph") << false << "müller's ß" << "x" << 0 << "MÜLLER`S SS|x|x|x";
        QTest::newRow("klein findet groß") << false << "mahn1m" << " neu" << 0
                                           << "MAHN1M|Erste Mahnung neu|Ihr Beitrag neu|Hallo %vname%,\n  offen. neu";
        QTest::newRow("Klick") << false << "*" << "!" << 0 << "MAHN1M|Erste Mahnung!|Ihr Beitrag!|"
                                                             "Hallo %vname%,\n  offen.!";
        QTest::newRow("Escape") << false << "*" << "x" << 1 << kVorhanden[0];
        QTest::newRow("Fenster schließen") << false << "*" << "x" << 2 << kVorhanden[0];
        QTest::newRow("Löschen") << false << "mahn1m" << "x" << 3 << "";
        QTest::newRow("Löschen abgelehnt") << false << "mahn1m" << "x" << 4 << kVorhanden[0];
        QTest::newRow("Auswahl, neu") << true << "rech m" << "y" << 0 << "RECH M|y|y|y";
        QTest::newRow("Auswahl, Escape") << true << "*" << "y" << 1 << kVorhanden[0];
    }
    void bearbeiten()
    {
        QFETCH(bool, pick);
        QFETCH(QString, name);
        QFETCH(QString, zusatz);
        QFETCH(int, aktion);
        QFETCH(QString, zeile);
        const QString bez = name == "*" ? QStringLiteral("MAHN1M") : name.simplified().toUpper().replace('\'', '`');

        Textbaustein dialog(pick);
        QVERIFY(zeige(&dialog));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Textbausteine"));
        QCOMPARE(knopf(&dialog, QStringLiteral("&Löschen")) == nullptr, pick);
        auto *bezFeld = feldBei<QLineEdit>(&dialog, "Bezeichnung");
        auto *beschreibung = feldBei<QLineEdit>(&dialog, "Beschreibung");
        auto *betreff = feldBei<QLineEdit>(&dialog, "Betreff");
        auto *inhalt = dialog.findChild<QPlainTextEdit *>();
        auto *view = dialog.findChild<QTableView *>();
        const auto wahl = [&] { // choice mode as the user sees it
            return bezFeld->isEnabled() && bezFeld->text().isEmpty() && !beschreibung->isEnabled()
                   && !inhalt->isEnabled() && QApplication::focusWidget() == bezFeld;
        };
        QVERIFY(wahl());
        QCOMPARE(liste(view), QStringList{"MAHN1M|Erste Mahnung"});

        if (name == "*")
            klicke(view, view->model()->index(0, 0));
        else
            tippeReturn(bezFeld, name);
        QVERIFY(!bezFeld->isEnabled());
        QCOMPARE(bezFeld->text(), bez);
        QCOMPARE(QApplication::focusWidget(), beschreibung);
        QCOMPARE(dialog.findChild<QLabel *>("neu")->text(), bez == "MAHN1M" ? "" : "neu");
        const QStringList vorher = TestDb::zeile("SELECT beschreibung,subject,inhalt FROM textbaustein WHERE bez=?", {bez});
        QCOMPARE(QStringList({beschreibung->text(), betreff->text(), inhalt->toPlainText()}),
                 vorher.isEmpty() ? QStringList({"", "", ""}) : vorher);
        for (QWidget *feld : {static_cast<QWidget *>(beschreibung), static_cast<QWidget *>(betreff),
                              static_cast<QWidget *>(inhalt)}) {
            feld->setFocus();
            if (auto *text = qobject_cast<QPlainTextEdit *>(feld))
                text->moveCursor(QTextCursor::End);
            else
                static_cast<QLineEdit *>(feld)->end(false);
            tippe(feld, zusatz);
        }

        SkriptInteraktion skript;
        skript.antworte(aktion == 3 ? QMessageBox::Ok : QMessageBox::Cancel);
        switch (aktion) {
        case 0: QVERIFY(alt(&dialog, Qt::Key_S)); break;
        case 1: QTest::keyClick(inhalt, Qt::Key_Escape); break;
        case 2: QVERIFY(!dialog.close()); break;
        default: QVERIFY(alt(&dialog, Qt::Key_L));
        }
        QCOMPARE(skript.anfragen().size(), aktion >= 3 ? 1 : 0);
        QCOMPARE(TestDb::zeile("SELECT bez,beschreibung,subject,inhalt FROM textbaustein WHERE bez=?", {bez}).join('|'),
                 zeile);
        QCOMPARE(TestDb::anzahl("SELECT count(*) FROM textbaustein"),
                 1 + (zeile.isEmpty() ? -1 : bez == "MAHN1M" ? 0 : 1));
        // Pick mode closes after saving or cancelling and names what it saved.
        QCOMPARE(dialog.isVisible(), !pick);
        QCOMPARE(dialog.angelegt(), pick && aktion == 0 ? bez : QString());
        if (pick)
            return;
        if (aktion == 4) { // a declined delete keeps the template open
            QVERIFY(!bezFeld->isEnabled());
            QTest::keyClick(inhalt, Qt::Key_Escape);
        }
        QVERIFY(wahl());
        QCOMPARE(liste(view).size(), TestDb::anzahl("SELECT count(*) FROM textbaustein"));
        QTest::keyClick(bezFeld, Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
    }

private:
    std::unique_ptr<TestDb> m_db;
};

QTEST_MAIN(TstTextbaustein)
#include "tst_textbaustein.moc"
