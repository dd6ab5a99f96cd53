// The program update from the menu: real tar archives unpacked by the real tar, the
// privileged install command checked as the exact argument list it would run.

#include "testdb.h"
#include "velamain.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QtTest>

#include <memory>

namespace {

// Packs the entries of `ordner` into `archiv` with the real tar.
bool packen(const QString &ordner, const QString &archiv, const QStringList &eintraege)
{
    QProcess tar;
    tar.start(QStringLiteral("tar"), QStringList{QStringLiteral("-c"), QStringLiteral("-f"), archiv,
                                                 QStringLiteral("-C"), ordner} + eintraege);
    return tar.waitForFinished() && tar.exitCode() == 0;
}

const QByteArray kNeu = "#!/bin/sh\necho neue Version\n";

} // namespace

class TstAktualisierung : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDb> m_db;
    const QByteArray m_path = qgetenv("PATH");

private slots:
    void init() { QVERIFY((m_db = std::make_unique<TestDb>())->ok()); }
    void cleanup()
    {
        qputenv("PATH", m_path);
        m_db.reset();
    }

    void aktualisieren_data();
    void aktualisieren();
};

void TstAktualisierung::aktualisieren_data()
{
    QTest::addColumn<QString>("inhalt");    // what the archive holds
    QTest::addColumn<QString>("archiv");    // its file name
    QTest::addColumn<QString>("werkzeug");  // "pkexec", "xterm" or "" on the search path
    QTest::addColumn<int>("exitCode");      // of the privileged command
    QTest::addColumn<QString>("meldung");   // title|text

    const QString fertig = QStringLiteral("Neue Programmverision|Programm ist aktualisiert. Bitte beenden und neu starten");
    const QString ungueltig = QStringLiteral("Neue Programmversion|Ungültige Datei");
    QTest::newRow("pkexec") << "vela" << "vela.tar" << "pkexec" << 0 << fertig;
    QTest::newRow("sudo im Terminal, Name mit Shell-Zeichen")
        << "./vela" << "neu $(touch geknackt); 'x' -f.tar" << "xterm" << 0 << fertig;
    QTest::newRow("Passwort abgebrochen") << "vela" << "vela.tar" << "pkexec" << 126
                                          << "Neue Programmversion|Die Installation ist abgebrochen oder fehlgeschlagen.";
    QTest::newRow("weder pkexec noch Terminal")
        << "vela" << "vela.tar" << "" << 0
        << "Neue Programmversion|Zum Installieren wird pkexec oder ein Terminal für sudo gebraucht. Das Programm "
           "bleibt unverändert.";
    QTest::newRow("kein tar") << "text" << "vela.tar" << "pkexec" << 0 << ungueltig;
    QTest::newRow("abgeschnitten") << "halb" << "vela.tar" << "pkexec" << 0 << ungueltig;
    QTest::newRow("ohne vela") << "anders" << "vela.tar" << "pkexec" << 0 << ungueltig;
    QTest::newRow("vela ist ein Ordner") << "ordner" << "vela.tar" << "pkexec" << 0 << ungueltig;
    QTest::newRow("vela ist ein Link") << "link" << "vela.tar" << "pkexec" << 0 << ungueltig;
}

void TstAktualisierung::aktualisieren()
{
    QFETCH(QString, inhalt); QFETCH(QString, archiv); QFETCH(QString, werkzeug); QFETCH(int, exitCode);
    QFETCH(QString, meldung);

    // The search path holds tar and the tool of the row, nothing else.
    const QDir dir(m_db->verzeichnis());
    QVERIFY(dir.mkpath(QStringLiteral("bin")) && dir.mkpath(QStringLiteral("paket")));
    QVERIFY(QFile::link(QStringLiteral("/usr/bin/tar"), dir.filePath(QStringLiteral("bin/tar"))));
    if (!werkzeug.isEmpty()) {
        const QString pfad = dir.filePath(QStringLiteral("bin/") + werkzeug);
        QVERIFY(dateiSchreiben(pfad, "#!/bin/sh\nexit 1\n"));
        QVERIFY(QFile::setPermissions(pfad, QFileDevice::Permissions(0x7755)));
    }
    qputenv("PATH", QFile::encodeName(dir.filePath(QStringLiteral("bin"))));

    const QString paket = dir.filePath(QStringLiteral("paket"));
    const QString tar = dir.filePath(archiv);
    if (inhalt == QLatin1String("vela") || inhalt == QLatin1String("./vela") || inhalt == QLatin1String("halb")) {
        const QByteArray vela = kNeu.repeated(inhalt == QLatin1String("halb") ? 2000 : 1);
        QVERIFY(dateiSchreiben(paket + QStringLiteral("/vela"), vela));
        QVERIFY(packen(paket, tar, {inhalt == QLatin1String("./vela") ? QStringLiteral(".") : QStringLiteral("vela")}));
        if (inhalt == QLatin1String("halb")) {
            QFile f(tar);
            QVERIFY(f.resize(8192));
        }
    } else if (inhalt == QLatin1String("text")) {
        QVERIFY(dateiSchreiben(tar, "vela\n"));
    } else if (inhalt == QLatin1String("anders")) {
        QVERIFY(dateiSchreiben(paket + QStringLiteral("/vela2"), kNeu));
        QVERIFY(packen(paket, tar, {QStringLiteral("vela2")}));
    } else if (inhalt == QLatin1String("ordner")) {
        QVERIFY(dir.mkpath(QStringLiteral("paket/vela")));
        QVERIFY(dateiSchreiben(paket + QStringLiteral("/vela/vela"), kNeu));
        QVERIFY(packen(paket, tar, {QStringLiteral("vela")}));
    } else if (inhalt == QLatin1String("link")) {
        QVERIFY(QFile::link(QStringLiteral("/bin/sh"), paket + QStringLiteral("/vela")));
        QVERIFY(packen(paket, tar, {QStringLiteral("vela")}));
    }

    QList<Interaktion::Anfrage> anfragen;
    QByteArray installiert; // the unpacked file as the command finds it
    Interaktion::setSkript([&](const Interaktion::Anfrage &a) {
        anfragen << a;
        Interaktion::Antwort antwort;
        antwort.ok = true;
        if (a.art == Interaktion::Art::DateiOeffnen)
            antwort.text = tar;
        if (a.art == Interaktion::Art::Befehl) {
            QFile neu(a.argumente.value(a.argumente.size() - 2));
            if (neu.open(QIODevice::ReadOnly))
                installiert = neu.readAll();
            antwort.zahl = exitCode;
        }
        return antwort;
    });
    {
        VelaMain fenster;
        fenster.pUpdate();
    }
    Interaktion::setSkript({});

    QCOMPARE(anfragen.first().titel, QStringLiteral("Neue Programmversion"));
    const Interaktion::Anfrage ende = anfragen.last();
    QCOMPARE(ende.titel + QLatin1Char('|') + ende.text, meldung);
    const bool befehl = anfragen.size() == 3;
    QCOMPARE(befehl, inhalt.endsWith(QLatin1String("vela")) && !werkzeug.isEmpty());
    if (befehl) {
        const Interaktion::Anfrage a = anfragen.at(1);
        const QString neu = a.argumente.value(a.argumente.size() - 2);
        QCOMPARE(installiert, kNeu);
        QVERIFY2(neu.startsWith(QDir::tempPath() + QStringLiteral("/VELA-")), qPrintable(neu));
        const QString vorne = werkzeug == QLatin1String("pkexec") ? QString() : QStringLiteral("-e sudo ");
        QCOMPARE(a.text, dir.filePath(QStringLiteral("bin/") + werkzeug));
        QCOMPARE(a.argumente.join(QLatin1Char(' ')),
                 vorne + QStringLiteral("/usr/bin/install --backup=simple --suffix=.bak -m 755 -o root -g root -T -- ")
                     + neu + QLatin1Char(' ') + QCoreApplication::applicationFilePath());
        // The private folder is gone again.
        QVERIFY(!QFileInfo::exists(QFileInfo(neu).absolutePath()));
    }
    QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("geknackt"))));
    QVERIFY(!QFileInfo::exists(QStringLiteral("geknackt")));
}

QTEST_MAIN(TstAktualisierung)
#include "tst_aktualisierung.moc"
