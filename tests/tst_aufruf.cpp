// The start on real files and the command line: why a file cannot be used, the
// lock against a second program, read-only books, --help and --version, German texts.

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

#include <unistd.h>

namespace {

// Runs as the user "nobody" while it lives, so that file modes count as they do
// for a treasurer (root ignores them). Without root the test runs as such a user already.
class AlsNobody
{
public:
    AlsNobody() : m_root(geteuid() == 0)
    {
        if (m_root)
            m_ok = setresgid(65534, 65534, 0) == 0 && setresuid(65534, 65534, 0) == 0;
    }
    ~AlsNobody()
    {
        if (m_root && (setresuid(0, 0, 0) != 0 || setresgid(0, 0, 0) != 0))
            qFatal("cannot return to root");
    }
    AlsNobody(const AlsNobody &) = delete;
    AlsNobody &operator=(const AlsNobody &) = delete;
    bool ok() const { return m_ok; }

private:
    bool m_root;
    bool m_ok = true;
};

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

QByteArray inhalt(const QString &datei)
{
    QFile f(datei);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void schreiben(const QString &datei, const QByteArray &daten)
{
    QFile f(datei);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(daten);
}

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

private slots:
    void initTestCase();
    void cleanup();

    void keinZugriff_data();
    void keinZugriff();
    void schreibgeschuetzt_data();
    void schreibgeschuetzt();
    void zweitesProgramm();
    void kommandozeile_data();
    void kommandozeile();
    void deutsch();

private:
    QTemporaryDir m_dir;
};

void TstAufruf::initTestCase()
{
    // "nobody" must reach the files of the permission cases.
    QVERIFY(QFile::setPermissions(m_dir.path(), QFileDevice::Permissions(0x7777)));
}

void TstAufruf::cleanup()
{
    Db::setOffen(false);
    Db::schliessen();
    QLocale::setDefault(QLocale::system());
}

void TstAufruf::keinZugriff_data()
{
    QTest::addColumn<QString>("fall");
    QTest::addColumn<QString>("grund"); // the third line begins so; %1 is the test folder
    QTest::newRow("Ordner fehlt") << "fehlt/b.db" << "Der Ordner %1/fehlt existiert nicht.";
    QTest::newRow("Ordner statt Datei") << "ordner" << "Das ist ein Ordner, keine Datei.";
    QTest::newRow("Textdatei") << "text" << "Die Datei ist keine SQLite-Datenbank.";
    QTest::newRow("leere Datei") << "leer" << "Die Datei ist leer, keine SQLite-Datenbank.";
    QTest::newRow("abgeschnitten") << "halb" << QString::fromUtf8("Die Datenbank ist beschädigt (");
    QTest::newRow("fremde SQLite-Datei") << "fremd" << "Die Datei ist eine SQLite-Datenbank, aber keine "
                                                      "Vela-Datenbank (es fehlt die Tabelle parameter).";
    QTest::newRow("gesperrt") << "gesperrt" << "Die Datenbank wird von einem anderen Programm benutzt.";
    QTest::newRow("nicht lesbar") << "unlesbar" << "Keine Berechtigung, die Datei zu lesen.";
    QTest::newRow("Ordner verschlossen") << "zu/b.db" << QString::fromUtf8("Keine Berechtigung für den Ordner %1/zu.");
    QTest::newRow("neue Datei im schreibgeschuetzten Ordner")
        << "nurlesen/b.db" << "Keine Berechtigung, im Ordner eine Datei anzulegen.";
}

void TstAufruf::keinZugriff()
{
    QFETCH(QString, fall);
    QFETCH(QString, grund);
    QTemporaryDir dir;
    QVERIFY(QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x7777)));
    const QString datei = dir.filePath(fall.contains(QLatin1Char('/')) ? fall : QStringLiteral("b.db"));
    if (fall == QLatin1String("ordner"))
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("b.db")));
    if (fall == QLatin1String("text") || fall == QLatin1String("unlesbar"))
        schreiben(datei, QByteArray("Dies ist keine Datenbank.\n").repeated(200));
    if (fall == QLatin1String("leer"))
        schreiben(datei, QByteArray());
    if (fall == QLatin1String("halb") || fall == QLatin1String("gesperrt")) {
        vela(datei);
        if (fall == QLatin1String("halb"))
            schreiben(datei, inhalt(datei).left(inhalt(datei).size() / 2));
    }
    if (fall == QLatin1String("fremd")) {
        QSqlDatabase fremd = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fremd"));
        fremd.setDatabaseName(datei);
        QVERIFY(fremd.open());
        QVERIFY(QSqlQuery(fremd).exec(QStringLiteral("CREATE TABLE rezepte (name TEXT)")));
        fremd.close();
    }
    const bool lesbar = fall != QLatin1String("unlesbar");
    if (QFileInfo(datei).isFile())
        QVERIFY(QFile::setPermissions(datei, QFileDevice::Permissions(lesbar ? 0x6666 : 0)));
    if (fall == QLatin1String("zu/b.db")) {
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("zu")));
        schreiben(datei, QByteArray("x"));
        QVERIFY(QFile::setPermissions(dir.filePath(QStringLiteral("zu")), QFileDevice::Permissions()));
    }
    if (fall == QLatin1String("nurlesen/b.db")) {
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("nurlesen")));
        QVERIFY(QFile::setPermissions(dir.filePath(QStringLiteral("nurlesen")), QFileDevice::Permissions(0x5555)));
    }
    const QByteArray vorher = inhalt(datei);
    // Another program holds the write lock of SQLite itself.
    if (fall == QLatin1String("gesperrt")) {
        QSqlDatabase fremd = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fremd"));
        fremd.setDatabaseName(datei);
        QVERIFY(fremd.open());
        QVERIFY(QSqlQuery(fremd).exec(QStringLiteral("BEGIN EXCLUSIVE")));
    }

    SkriptInteraktion skript;
    const bool neu = fall.startsWith(QLatin1String("nurlesen"));
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
    QFile::setPermissions(dir.filePath(QStringLiteral("zu")), QFileDevice::Permissions(0x7777));

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
    QCOMPARE(inhalt(datei), vorher);
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
    const QByteArray vorher = inhalt(datei);
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
    QCOMPARE(inhalt(datei), vorher);
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
    QTest::newRow("Minus als Option") << vela << QStringList{"-a.db"} << 2 << "[DATEI]";
    QTest::newRow("initdb Hilfe") << initdb << QStringList{"--help"} << 0 << "DATEI";
    QTest::newRow("initdb Version") << initdb << QStringList{"--version"} << 0
                                    << "vela-initdb " + VelaVersion() + "\n";
    QTest::newRow("initdb unbekannt") << initdb << QStringList{"--hilfe"} << 2 << "[Optionen] DATEI";
}

void TstAufruf::kommandozeile()
{
    QFETCH(QString, programm);
    QFETCH(QStringList, argumente);
    QFETCH(int, status);
    QFETCH(QString, ausgabe);
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
