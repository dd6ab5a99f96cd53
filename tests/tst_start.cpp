// Start-up paths and the main window: menus, payment-menu state, geometry, painting.

#include "db.h"
#include "dialogdriver.h"
#include "start.h"
#include "testdb.h"
#include "velamain.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLockFile>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <tuple>

namespace {

// The texts of a menu's entries, joined by "|".
QString titel(const QList<QAction *> &actions)
{
    QStringList t;
    for (QAction *a : actions)
        t << a->text();
    return t.join(QLatin1Char('|'));
}

QMenu *menu(VelaMain &fenster, const QString &text)
{
    for (QAction *a : fenster.findChild<QMenuBar *>()->actions()) {
        if (a->text() == text)
            return a->menu();
    }
    return nullptr;
}

QAction *eintrag(QMenu *m, const QString &text)
{
    for (QAction *a : m->actions()) {
        if (a->text() == text)
            return a;
    }
    return nullptr;
}

// Runs the program with `argumente`; once its main window shows, notes the open
// database in `gelesen` and closes the window through "&Ende".
int ausfuehren(const QStringList &argumente, QString &gelesen)
{
    QTimer::singleShot(50, [&gelesen] {
        auto *fenster = qobject_cast<VelaMain *>(QApplication::activeModalWidget());
        if (!fenster)
            return;
        gelesen = Db::dateiName();
        eintrag(menu(*fenster, QStringLiteral("&Buchungen")), QStringLiteral("&Ende"))->trigger();
    });
    return VelaAusfuehren(argumente);
}

} // namespace

class TstStart : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();

    void fehlendeDateiAblehnen();
    void fehlendeDateiAnlegen();
    void ersterParameterIstDieDatei();
    void ohneParameter_data();
    void ohneParameter();

    void menues_data();
    void menues();
    void zahlMenu_data();
    void zahlMenu();
    void neuerLaufFragtNach();
    void groesse();
    void nameUnterDemLogo();
    void begruessung();
    void eintraegeOeffnenDialoge();

private:
    QTemporaryDir m_dir;
};

void TstStart::cleanup()
{
    Db::setOffen(false);
    Db::schliessen();
}

void TstStart::fehlendeDateiAblehnen()
{
    const QString datei = m_dir.filePath(QStringLiteral("fehlt.db"));
    SkriptInteraktion skript;
    skript.antworte(QMessageBox::No);
    QCOMPARE(VelaAusfuehren({QStringLiteral("vela"), datei}), -1);
    QCOMPARE(skript.anfragen().size(), 1);
    const Interaktion::Anfrage &a = skript.anfragen().first();
    QCOMPARE(a.art, Interaktion::Art::Frage);
    QCOMPARE(a.titel, QStringLiteral("Vela"));
    QCOMPARE(a.text, QStringLiteral("Die Datenbank ") + datei + QStringLiteral(" existiert nicht.\nNeue Datenbank anlegen?"));
    QCOMPARE(a.knoepfe, QMessageBox::Yes | QMessageBox::No);
    QVERIFY(!QFile::exists(datei));
    QVERIFY(!QFile::exists(VelaSperrDatei(datei)));
    QVERIFY(!Db::istOffen());
}

void TstStart::fehlendeDateiAnlegen()
{
    const QString datei = m_dir.filePath(QStringLiteral("neu.db"));
    SkriptInteraktion skript;
    skript.antworte(QMessageBox::Yes);
    QLockFile sperre(VelaSperrDatei(datei));
    QVERIFY(VelaDatenbankOeffnen(datei, sperre));
    QVERIFY(Db::istOffen());
    QVERIFY(sperre.isLocked());
    QCOMPARE(skript.unerwartet(), 0);
    QCOMPARE(Db::wert(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type='table'")).toInt(), 15);
}

void TstStart::ersterParameterIstDieDatei()
{
    const QString datei = m_dir.filePath(QStringLiteral("eigene.db"));
    QVERIFY(Db::anlegen(datei));
    Db::ausfuehren(QStringLiteral("INSERT INTO parameter (key,wert) VALUES ('General/Gliederung','LV TEST')"));
    Db::schliessen();

    SkriptInteraktion skript;
    QString gelesen;
    QCOMPARE(ausfuehren({QStringLiteral("vela"), datei}, gelesen), 0);
    QCOMPARE(gelesen, datei);
    QCOMPARE(skript.unerwartet(), 0);
}

// Without an argument: vela.db of the working folder where there is one, else
// the books in the user's data folder, created only when the user agrees.
void TstStart::ohneParameter_data()
{
    QTest::addColumn<bool>("hierVorhanden");
    QTest::addColumn<int>("antwort");
    QTest::addColumn<int>("ende");
    QTest::newRow("vela.db im Arbeitsordner") << true << int(QMessageBox::NoButton) << 0;
    QTest::newRow("Datenordner anlegen") << false << int(QMessageBox::Yes) << 0;
    QTest::newRow("Datenordner abgelehnt") << false << int(QMessageBox::No) << -1;
}

void TstStart::ohneParameter()
{
    QFETCH(bool, hierVorhanden);
    QFETCH(int, antwort);
    QFETCH(int, ende);
    const QTemporaryDir arbeit;
    const QString vorher = QDir::currentPath();
    QDir::setCurrent(arbeit.path());
    const QByteArray datenVorher = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", arbeit.filePath(QStringLiteral("daten")).toUtf8());
    const QString hier = arbeit.filePath(QStringLiteral("vela.db"));
    const QString daten = arbeit.filePath(QStringLiteral("daten/Feldmarkbund/Vela/vela.db"));
    if (hierVorhanden) {
        QVERIFY(Db::anlegen(hier));
        Db::schliessen();
    }

    SkriptInteraktion skript;
    if (!hierVorhanden)
        skript.antworte(QMessageBox::StandardButton(antwort));
    QString gelesen;
    const int status = ausfuehren({QStringLiteral("vela")}, gelesen);
    QDir::setCurrent(vorher);
    if (datenVorher.isNull())
        qunsetenv("XDG_DATA_HOME");
    else
        qputenv("XDG_DATA_HOME", datenVorher);

    QCOMPARE(status, ende);
    QCOMPARE(skript.unerwartet(), 0);
    if (hierVorhanden) {
        QCOMPARE(gelesen, hier);
        QVERIFY(skript.anfragen().isEmpty());
        return;
    }
    QCOMPARE(skript.anfragen().size(), 1);
    QVERIFY(skript.anfragen().first().text.contains(daten));
    QCOMPARE(gelesen, ende == 0 ? daten : QString());
    QCOMPARE(QFile::exists(daten), ende == 0);
}

void TstStart::menues_data()
{
    QTest::addColumn<QString>("beitragAb");
    QTest::addColumn<QString>("menues");
    const QString mit = QString::fromUtf8("&Buchungen|&Stammdaten|&Drucke/Datenaustausch|&Zahlungen|Dienst&programme");
    QTest::newRow("eigener Einzug") << "M" << mit;
    QTest::newRow("Jahr nach Gruendung") << "J" << mit;
    QTest::newRow("kein eigener Einzug") << "X" << QString(mit).remove(QStringLiteral("|&Zahlungen"));
}

void TstStart::menues()
{
    QFETCH(QString, beitragAb);
    QFETCH(QString, menues);
    TestDb db;
    TestDb::setParameter(QStringLiteral("General/BeitragAb"), beitragAb);
    VelaMain fenster;
    QCOMPARE(titel(fenster.findChild<QMenuBar *>()->actions()), menues);
    const auto eintraege = [&fenster](const char *m) { return titel(menu(fenster, QString::fromUtf8(m))->actions()); };
    QCOMPARE(eintraege("&Buchungen"), "&Journal|B&ank/Kasse|Kontoauszug e&inlesen|Einzel&konten|&Ende");
    QCOMPARE(eintraege("&Stammdaten"), "&Kontenplan|&Mitglieder|&Lieferanten|&Gliederungen|&Textbausteine");
    QCOMPARE(eintraege("&Drucke/Datenaustausch"), QString::fromUtf8("&Kontendruck|&Journalexport|&Spendenbuch Export|"
                                                                   "&Akkreditierungsliste|&Mitgliederimport|"
                                                                   "&Zuwendungsbestätigungen"));
    QCOMPARE(eintraege("Dienst&programme"), "&BLZ-Datei lesen|S&pendenparameter|&Setup|&Datensicherung|"
                                            "Daten &Wiederherstellen|Neue Programm&version");
    QMenu *zahlungen = menu(fenster, QStringLiteral("&Zahlungen"));
    if (!zahlungen)
        return;
    QCOMPARE(titel(zahlungen->actions()), QString::fromUtf8("&Erstellen|&Bearbeiten|&Durchführen|&Abschliessen"));
    QMenu *bearbeiten = eintrag(zahlungen, QStringLiteral("&Bearbeiten"))->menu();
    QCOMPARE(titel(bearbeiten->actions()), "&Vorkasse|Vorkasse &Neumitglieder|&Lastschrifthinweis|Lastschrifthinweis "
                                           "N&eumitglieder|&DTAUS-Datei|&Geplatzte Lastschrift|&1. Mahnung|"
                                           "&2. Mahnung|&3. Mahnung");
    QString codes;
    for (QAction *a : bearbeiten->actions())
        codes += a->data().toString();
    QCOMPARE(codes, QStringLiteral("RrLlDG123"));
    QCOMPARE(titel(eintrag(zahlungen, QString::fromUtf8("&Durchführen"))->menu()->actions()),
             "&Emails|&Briefe|&Dtaus Datei");
}

void TstStart::zahlMenu_data()
{
    QTest::addColumn<bool>("lauf");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("bearbeitenAn"); // one character per kind entry, in menu order
    QTest::addColumn<bool>("gesamtAn");
    QTest::addColumn<bool>("emailsAn");
    QTest::addColumn<bool>("dtausAn");
    QTest::addColumn<QString>("texte");

    const QString leer = QStringLiteral("&Emails|&Briefe|&Dtaus Datei");
    QTest::newRow("kein Lauf") << false << "" << "000000000" << false << false << false << leer;
    QTest::newRow("leerer Status") << true << "" << "000000000" << false << false << false << leer;
    QTest::newRow("J D J") << true << "JDJ" << "100010000" << true << true << true
                           << "&Emails (ok)|&Briefe|&Dtaus Datei";
    QTest::newRow("alles erledigt") << true << "DDDNNNNNNNNNNNNND" << "100010001" << true << true << true
                                    << "&Emails (ok)|&Briefe (ok)|&Dtaus Datei (ok)";
    QTest::newRow("nur Briefe der 3. Mahnung") << true << "NNNNNNNNNNNNNNNNJ" << "000000001" << true << false
                                               << false << leer;
    QTest::newRow("Mahnung 2 Mail offen") << true << "N            J" << "000000010" << true << true << false
                                          << leer;
    QTest::newRow("kurzer Status, Brief erledigt") << true << "NNNNNNNNNND" << "000001000" << true << false
                                                   << false
                                                   << "&Emails|&Briefe (ok)|&Dtaus Datei";
}

void TstStart::zahlMenu()
{
    QFETCH(bool, lauf);
    QFETCH(QString, status);
    QFETCH(QString, bearbeitenAn);
    QFETCH(bool, gesamtAn);
    QFETCH(bool, emailsAn);
    QFETCH(bool, dtausAn);
    QFETCH(QString, texte);
    TestDb db;
    VelaMain fenster;
    if (lauf)
        TestDb::setParameter(QStringLiteral("Status/Zahlungen"), status);
    fenster.pSetZahlMenu();

    QMenu *zahlungen = menu(fenster, QStringLiteral("&Zahlungen"));
    QAction *bearbeiten = eintrag(zahlungen, QStringLiteral("&Bearbeiten"));
    QAction *durchfuehren = eintrag(zahlungen, QString::fromUtf8("&Durchführen"));
    QString an;
    for (QAction *a : bearbeiten->menu()->actions())
        an += a->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
    QCOMPARE(an, bearbeitenAn);
    QCOMPARE(bearbeiten->isEnabled(), gesamtAn);
    QCOMPARE(durchfuehren->isEnabled(), gesamtAn);
    QCOMPARE(eintrag(zahlungen, QStringLiteral("&Abschliessen"))->isEnabled(), gesamtAn);
    QVERIFY(eintrag(zahlungen, QStringLiteral("&Erstellen"))->isEnabled());
    const QList<QAction *> unten = durchfuehren->menu()->actions();
    QCOMPARE(titel(unten), texte);
    QCOMPARE(unten.at(0)->isEnabled(), emailsAn);
    QCOMPARE(unten.at(2)->isEnabled(), dtausAn);
}

void TstStart::neuerLaufFragtNach()
{
    TestDb db;
    VelaMain fenster;
    SkriptInteraktion skript;
    DialogTreiber::beiModal([](QDialog *d) { d->reject(); });
    fenster.pZahlErst();
    QVERIFY(DialogTreiber::gelaufen()); // no open run: straight to the dialog
    QCOMPARE(skript.anfragen().size(), 0);

    TestDb::setParameter(QStringLiteral("Status/Zahlungen"), QStringLiteral("JJ"));
    skript.antworte(QMessageBox::No);
    fenster.pZahlErst();
    QCOMPARE(skript.anfragen().size(), 1);
    QCOMPARE(skript.anfragen().first().titel, QStringLiteral("Vela"));
    QVERIFY(skript.anfragen().first().text.startsWith(
        QStringLiteral("Erstellte Zahlungen wurden noch nicht abgeschlossen.")));
    QVERIFY(skript.anfragen().first().text.endsWith(QStringLiteral("\nSollen die Zahlungen neu erstellt werden?")));
    QCOMPARE(skript.unerwartet(), 0);
}

void TstStart::groesse()
{
    TestDb db;
    VelaMain fenster;
    const QSize hint = fenster.findChild<QMenuBar *>()->sizeHint();
    QCOMPARE(fenster.width(), qMax(hint.width(), 360));
    QCOMPARE(fenster.height(), hint.height() + 2 * 104);
    QCOMPARE(fenster.minimumSize(), fenster.maximumSize());
    QCOMPARE(VelaLogo().size(), QSize(360, 104));
}

void TstStart::nameUnterDemLogo()
{
    TestDb db;
    auto zeileHatText = [](const QString &name) {
        TestDb::setParameter(QStringLiteral("General/Gliederung"), name);
        VelaMain fenster;
        const QImage bild = fenster.grab().toImage();
        const int menuHoehe = fenster.findChild<QMenuBar *>()->sizeHint().height();
        const int logoUnten = menuHoehe + (fenster.height() - menuHoehe - 104) / 2 + 104;
        // The name's glyphs sit just above the baseline 15 pixels below the logo.
        for (int y = logoUnten + 5; y < logoUnten + 15; ++y) {
            for (int x = 0; x < bild.width(); ++x) {
                if (bild.pixelColor(x, y) != QColor(Qt::white))
                    return true;
            }
        }
        return false;
    };
    QVERIFY(zeileHatText(QStringLiteral("LV NORDMARK")));
}

void TstStart::begruessung()
{
    TestDb db;
    VelaMain fenster;
    auto *gruss = fenster.findChild<QLabel *>(QStringLiteral("begruessung"));
    QVERIFY(!gruss->isHidden());
    for (const char *schritt : {"Stammdaten / Gliederungen", "Stammdaten / Kontenplan", "Dienstprogramme / Setup"})
        QVERIFY(gruss->text().contains(QLatin1String(schritt)));
    // The greeting fits the window, below the logo.
    QVERIFY(gruss->geometry().bottom() < fenster.height());
    QVERIFY(gruss->sizeHint().width() <= gruss->width());
    QVERIFY(gruss->sizeHint().height() <= gruss->height());

    // The settings dialog sets the own unit; the window greets no more.
    TestDb::setParameter(QStringLiteral("General/Gliederung"), QStringLiteral("KV MITTE"));
    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
    fenster.pSetup();
    QVERIFY(gruss->isHidden());
}

void TstStart::eintraegeOeffnenDialoge()
{
    TestDb db;
    VelaMain fenster;
    // Entries with their dialog open it.
    for (const auto &[m, e, titel] : {std::tuple{"&Buchungen", "Einzel&konten", "Einzelkonto"},
                                      std::tuple{"&Drucke/Datenaustausch", "&Kontendruck", "Kontendruck"},
                                      std::tuple{"&Drucke/Datenaustausch", "&Journalexport", "Journal Export"},
                                      std::tuple{"&Drucke/Datenaustausch", "&Spendenbuch Export", "Spendenbuch Export"},
                                      std::tuple{"&Drucke/Datenaustausch", "&Akkreditierungsliste",
                                                 "Akkreditierungsliste"}}) {
        QString offen;
        DialogTreiber::beiModal([&offen](QDialog *d) { offen = d->windowTitle(), d->reject(); });
        eintrag(menu(fenster, QString::fromUtf8(m)), QString::fromUtf8(e))->trigger();
        QCOMPARE(offen, QString::fromUtf8(titel));
    }
}

QTEST_MAIN(TstStart)
#include "tst_start.moc"
