// The start on real files and the command line: why a file cannot be used, the
// lock against a second program, read-only books, --help and --version, German texts.

#include "alsnobody.h"
#include "db.h"
#include "demodaten.h"
#include "programm.h"
#include "start.h"
#include "testdb.h"
#include "textutil.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QLockFile>
#include <QProcess>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {

// Closes a main window that opens by mistake, so that a wrong start-up fails
// instead of waiting for ever (the window runs the first event loop of a start).
class FensterWache
{
public:
    FensterWache()
    {
        m_timer.setSingleShot(true);
        QObject::connect(&m_timer, &QTimer::timeout, [] {
            if (auto *fenster = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
                fenster->reject();
        });
        m_timer.start(0);
    }

private:
    QTimer m_timer;
};

// A small set of books written by the real generator.
void vela(const QString &datei)
{
    QVERIFY(Db::anlegen(datei));
    DemoDaten daten(7);
    daten.setStichtag(QDate(2026, 6, 30));
    QVERIFY(daten.erzeugen(30, 100));
    Db::schliessen();
}

} // namespace

class TstAufruf : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    void initTestCase()
    {
        // "nobody" must reach the files of the permission cases.
        QVERIFY(QFile::setPermissions(m_dir.path(), QFileDevice::Permissions(0x7777)));
    }
    void cleanup()
    {
        Db::setOffen(false);
        Db::schliessen();
        QLocale::setDefault(QLocale::system());
    }

    void keinZugriff_data();
    void keinZugriff();
    void schreibgeschuetzt_data();
    void schreibgeschuetzt();
    void zweitesProgramm();
    void kommandozeile_data();
    void kommandozeile();
    void deutsch();
};

void TstAufruf::keinZugriff_data()
{
    // Real files: a database name below a folder; its bytes (null: no file, or a
    // folder in its place when the name has no folder); the modes; the expected cause,
    // with %1 for the test folder.
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("daten");
    QTest::addColumn<int>("dateiModus");
    QTest::addColumn<int>("ordnerModus"); // -1: the folder is missing
    QTest::addColumn<bool>("gesperrt");   // another program holds SQLite's write lock
    QTest::addColumn<QString>("grund");

    const QString datei = m_dir.filePath(QStringLiteral("muster.db"));
    QFile::remove(datei);
    vela(datei);
    const QByteArray gut = dateiInhalt(datei);
    TestDb::zeileIn(m_dir.filePath(QStringLiteral("fremd.db")), QStringLiteral("CREATE TABLE rezepte (name TEXT)"));
    const QByteArray fremd = dateiInhalt(m_dir.filePath(QStringLiteral("fremd.db")));
    const QByteArray text = QByteArray("Dies ist keine Datenbank.\n").repeated(200);
    const int rw = 0x6666, offen = 0x7777;

    QTest::newRow("Ordner fehlt") << "fehlt/b.db" << QByteArray() << rw << -1 << false
                                  << "Der Ordner %1/fehlt existiert nicht.";
    QTest::newRow("Ordner statt Datei") << "b.db" << QByteArray() << rw << offen << false
                                        << "Das ist ein Ordner, keine Datei.";
    QTest::newRow("Textdatei") << "b.db" << text << rw << offen << false << "Die Datei ist keine SQLite-Datenbank.";
    QTest::newRow("leere Datei") << "b.db" << QByteArray("") << rw << offen << false
                                 << "Die Datei ist leer, keine SQLite-Datenbank.";
    QTest::newRow("abgeschnitten") << "b.db" << gut.left(gut.size() / 2) << rw << offen << false
                                   << QString::fromUtf8("Die Datenbank ist beschädigt (");
    QTest::newRow("fremde SQLite-Datei") << "b.db" << fremd << rw << offen << false
                                         << "Die Datei ist eine SQLite-Datenbank, aber keine Vela-Datenbank "
                                            "(es fehlt die Tabelle parameter).";
    QTest::newRow("gesperrt") << "b.db" << gut << rw << offen << true
                              << "Die Datenbank wird von einem anderen Programm benutzt.";
    QTest::newRow("nicht lesbar") << "b.db" << text << 0 << offen << false << "Keine Berechtigung, die Datei zu lesen.";
    QTest::newRow("Ordner verschlossen") << "zu/b.db" << gut << rw << 0 << false
                                         << QString::fromUtf8("Keine Berechtigung für den Ordner %1/zu.");
    QTest::newRow("neue Datei im schreibgeschuetzten Ordner")
        << "zu/b.db" << QByteArray() << rw << 0x5555 << false << "Keine Berechtigung, im Ordner eine Datei anzulegen.";
}

void TstAufruf::keinZugriff()
{
    QFETCH(QString, name); QFETCH(QByteArray, daten); QFETCH(int, dateiModus); QFETCH(int, ordnerModus);
    QFETCH(bool, gesperrt); QFETCH(QString, grund);
    QTemporaryDir dir;
    QVERIFY(QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x7777)));
    const QString datei = dir.filePath(name);
    const QString ordner = QFileInfo(datei).absolutePath();
    if (ordnerModus >= 0)
        QVERIFY(QDir().mkpath(ordner));
    if (!daten.isNull()) {
        QVERIFY(dateiSchreiben(datei, daten));
        QVERIFY(QFile::setPermissions(datei, QFileDevice::Permissions(dateiModus)));
    } else if (ordner == dir.path()) {
        QVERIFY(QDir().mkdir(datei));
    }
    if (ordnerModus >= 0)
        QVERIFY(QFile::setPermissions(ordner, QFileDevice::Permissions(ordnerModus)));
    const QByteArray vorher = dateiInhalt(datei);
    if (gesperrt) {
        QSqlDatabase fremd = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fremd"));
        fremd.setDatabaseName(datei);
        QVERIFY(fremd.open());
        QVERIFY(QSqlQuery(fremd).exec(QStringLiteral("BEGIN EXCLUSIVE")));
    }

    SkriptInteraktion skript;
    const bool neu = daten.isNull() && ordnerModus > 0 && ordner != dir.path();
    if (neu)
        skript.antworte(QMessageBox::Yes); // create it
    int ergebnis = 0;
    {
        AlsNobody nobody;
        QVERIFY(nobody.ok());
        FensterWache wache;
        ergebnis = VelaAusfuehren({QStringLiteral("vela"), datei});
    }
    QSqlDatabase::database(QStringLiteral("fremd"), false).close();
    QSqlDatabase::removeDatabase(QStringLiteral("fremd"));
    QFile::setPermissions(ordner, QFileDevice::Permissions(0x7777));

    QCOMPARE(ergebnis, -1);
    QCOMPARE(skript.anfragen().size(), neu ? 2 : 1);
    const Interaktion::Anfrage &a = skript.anfragen().last();
    QCOMPARE(a.art, Interaktion::Art::Kritisch);
    QCOMPARE(a.titel, QStringLiteral("Datenbankfehler"));
    const QStringList zeilen = a.text.split(QLatin1Char('\n'));
    QCOMPARE(zeilen.size(), 3);
    QCOMPARE(zeilen.at(0), QStringLiteral("Kein Zugriff auf die Datenbank"));
    QCOMPARE(zeilen.at(1), QFileInfo(datei).absoluteFilePath());
    QVERIFY2(zeilen.at(2).startsWith(QString(grund).replace(QStringLiteral("%1"), dir.path())),
             qPrintable(zeilen.at(2)));
    QCOMPARE(a.knoepfe, QMessageBox::StandardButtons(QMessageBox::Cancel));
    QCOMPARE(dateiInhalt(datei), vorher);
    QVERIFY(!QFile::exists(VelaSperrDatei(datei)));
    QVERIFY(!Db::istOffen());
}

void TstAufruf::schreibgeschuetzt_data()
{
    QTest::addColumn<QMessageBox::StandardButton>("antwort");
    QTest::newRow("ansehen") << QMessageBox::Yes;
    QTest::newRow("nicht oeffnen") << QMessageBox::No;
}

void TstAufruf::schreibgeschuetzt()
{
    QFETCH(QMessageBox::StandardButton, antwort);
    const QString datei = m_dir.filePath(QStringLiteral("nurlesen.db"));
    QFile::remove(datei);
    vela(datei);
    const QByteArray vorher = dateiInhalt(datei);
    QVERIFY(QFile::setPermissions(datei, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));
    SkriptInteraktion skript;
    skript.antworte(antwort);
    QLockFile sperre(VelaSperrDatei(datei));
    bool offen = false;
    {
        AlsNobody nobody;
        QVERIFY(nobody.ok());
        offen = VelaDatenbankOeffnen(datei, sperre);
    }
    QCOMPARE(skript.anfragen().size(), 1);
    QCOMPARE(skript.anfragen().first().art, Interaktion::Art::Frage);
    QCOMPARE(skript.anfragen().first().text,
             QStringLiteral("Die Datenbank ") + datei
                 + QString::fromUtf8(" ist schreibgeschützt.\nNur zum Ansehen öffnen? Speichern ist dann nicht möglich."));
    QCOMPARE(offen, antwort == QMessageBox::Yes);
    QCOMPARE(Db::istOffen(), offen);
    if (offen) {
        // Even root cannot write through the read-only connection.
        QVERIFY(Db::nurLesen());
        QVERIFY(Db::wert(QStringLiteral("SELECT count(*) FROM mitglied")).toInt() > 0);
        QCOMPARE(Db::ausfuehren(QStringLiteral("DELETE FROM mitglied")), -1);
    }
    Db::schliessen();
    QCOMPARE(dateiInhalt(datei), vorher);
}

// A second program on the same books is refused while the first runs, and the
// lock of a killed program does not lock the books out for ever.
void TstAufruf::zweitesProgramm()
{
    const QString datei = m_dir.filePath(QStringLiteral("zweimal.db"));
    vela(datei);
    QProcess erstes;
    erstes.start(QStringLiteral(VELA_PROGRAMM), {datei});
    QVERIFY(erstes.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(VelaSperrDatei(datei)), 20000);

    SkriptInteraktion skript;
    FensterWache wache;
    QCOMPARE(VelaAusfuehren({QStringLiteral("vela"), datei}), -1);
    QCOMPARE(skript.anfragen().size(), 1);
    QCOMPARE(skript.anfragen().first().text,
             QStringLiteral("Kein Zugriff auf die Datenbank\n") + datei
                 + QString::fromUtf8("\nDie Datenbank ist schon in einem anderen Vela geöffnet (Prozess %1 auf %2).")
                       .arg(erstes.processId())
                       .arg(QSysInfo::machineHostName()));
    QVERIFY(erstes.state() == QProcess::Running);

    erstes.kill();
    QVERIFY(erstes.waitForFinished());
    QVERIFY(QFile::exists(VelaSperrDatei(datei)));
    QLockFile sperre(VelaSperrDatei(datei));
    QVERIFY(VelaDatenbankOeffnen(datei, sperre));
    QCOMPARE(skript.anfragen().size(), 1);
}

void TstAufruf::kommandozeile_data()
{
    QTest::addColumn<QString>("programm");
    QTest::addColumn<QStringList>("argumente");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("ausgabe"); // stdout contains, or stderr when the status is 2
    const QString vela = QStringLiteral(VELA_PROGRAMM);
    const QString initdb = QStringLiteral(VELA_INITDB);
    QTest::newRow("Hilfe") << vela << QStringList{"--help"} << 0 << "vela.db";
    QTest::newRow("Version") << vela << QStringList{"--version"} << 0 << "Vela " + VelaVersion() + "\n";
    QTest::newRow("unbekannte Option") << vela << QStringList{"--hilfe"} << 2 << "Unbekannte Option 'hilfe'.";
    QTest::newRow("zwei Dateien") << vela << QStringList{"a.db", "b.db"} << 2 << "Zu viele Dateien: a.db b.db";
    QTest::newRow("Minus als Datei") << vela << QStringList{"--", "-a.db"} << 2 << "-a.db";
    QTest::newRow("leerer Name") << vela << QStringList{""} << 2 << "leer";
    QTest::newRow("Minus als Option") << vela << QStringList{"-a.db"} << 2 << "[DATEI]";
    QTest::newRow("initdb Hilfe") << initdb << QStringList{"--help"} << 0 << "DATEI";
    QTest::newRow("initdb Version") << initdb << QStringList{"--version"} << 0
                                    << "vela-initdb " + VelaVersion() + "\n";
    QTest::newRow("initdb unbekannt") << initdb << QStringList{"--hilfe"} << 2 << "[Optionen] DATEI";
}

void TstAufruf::kommandozeile()
{
    QFETCH(QString, programm); QFETCH(QStringList, argumente); QFETCH(int, status); QFETCH(QString, ausgabe);
    QTemporaryDir ordner;
    QProcess p;
    p.setWorkingDirectory(ordner.path());
    p.start(programm, argumente);
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QCOMPARE(p.exitCode(), status);
    const QString aus = QString::fromUtf8(p.readAllStandardOutput());
    const QString fehler = QString::fromUtf8(p.readAllStandardError());
    QVERIFY2((status == 2 ? fehler : aus).contains(ausgabe), qPrintable(aus + fehler));
    if (status == 2) {
        QVERIFY(fehler.contains(QStringLiteral("Aufruf: ")));
        QVERIFY(aus.isEmpty());
    }
    // No option and no stray name ever becomes a database file.
    QCOMPARE(QDir(ordner.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
}

void TstAufruf::deutsch()
{
    VelaDeutsch();
    QMessageBox box(QMessageBox::Question, QStringLiteral("Vela"), QStringLiteral("Frage"),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel | QMessageBox::Ok);
    QStringList texte;
    for (auto knopf : {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel, QMessageBox::Ok})
        texte << box.button(knopf)->text().remove(QLatin1Char('&'));
    QCOMPARE(texte, QStringList({"Ja", "Nein", "Abbrechen", "OK"}));
    if (QLocale::system().language() == QLocale::C) {
        QCOMPARE(UtilBetragText(194529), QStringLiteral("1.945,29"));
        QCOMPARE(QLocale().toString(QDate(2026, 12, 6), QLocale::ShortFormat), QStringLiteral("06.12.26"));
    }
}

QTEST_MAIN(TstAufruf)
#include "tst_aufruf.moc"
