// Backup and restore on real files: the checked copy, refused targets and sources,
// the ".bak" of the books before a restore, the folder remembered.

#include "alsnobody.h"
#include "db.h"
#include "parameter.h"
#include "sicherung.h"
#include "start.h"
#include "testdb.h"

#include <QDate>
#include <QDir>
#include <QLockFile>
#include <QtTest>

#include <csignal>
#include <memory>
#include <sys/resource.h>

namespace {

// The own unit as stored in the books, read past the settings cache, or as a copy holds it.
const QString kGliederung = QStringLiteral("SELECT wert FROM parameter WHERE key='General/Gliederung'");
QString gespeicherteGliederung() { return Db::wert(kGliederung).toString(); }
QString gliederungIn(const QString &datei) { return TestDb::zeileIn(datei, kGliederung).value(0); }

// Files may grow to `bytes` while it lives; beyond, a write fails as on a full disk.
class Dateigrenze
{
public:
    explicit Dateigrenze(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_vorher);
        rlimit grenze = m_vorher;
        grenze.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &grenze);
    }
    ~Dateigrenze() { setrlimit(RLIMIT_FSIZE, &m_vorher); }
    Dateigrenze(const Dateigrenze &) = delete;
    Dateigrenze &operator=(const Dateigrenze &) = delete;

private:
    rlimit m_vorher{};
};

Interaktion::Antwort datei(const QString &pfad)
{
    return Interaktion::Antwort{QMessageBox::NoButton, true, 0, pfad};
}

} // namespace

class TstSicherung : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDb> m_db;

private slots:
    void init()
    {
        m_db = std::make_unique<TestDb>();
        QVERIFY(m_db->ok());
        TestDb::setParameter(QStringLiteral("General/Gliederung"), QStringLiteral("OV Nord"));
    }
    void cleanup() { m_db.reset(); }

    void sichern();
    void sichernAbgelehnt_data();
    void sichernAbgelehnt();
    void wiederherstellen();
    void wiederherstellenAbgelehnt_data();
    void wiederherstellenAbgelehnt();
};

void TstSicherung::sichern()
{
    const QString ordner = m_db->verzeichnis() + QStringLiteral("/sicherungen");
    QVERIFY(QDir().mkpath(ordner));
    const QString ziel = ordner + QStringLiteral("/alt.sav");
    QVERIFY(dateiSchreiben(ziel, "eine alte Sicherung"));

    {
        SkriptInteraktion skript;
        skript.antworte(datei(ziel));
        skript.antworte(QMessageBox::Ok);
        SaveSave();
        QCOMPARE(skript.unerwartet(), 0);
        const Interaktion::Anfrage wahl = skript.anfragen().at(0);
        QCOMPARE(wahl.titel, QStringLiteral("Datensicherung"));
        QCOMPARE(wahl.vorgabeText, m_db->verzeichnis());
        QCOMPARE(QFileInfo(wahl.text).fileName(),
                 QStringLiteral("test.db.") + QDate::currentDate().toString(Qt::ISODate) + QStringLiteral(".sav"));
        const Interaktion::Anfrage fertig = skript.anfragen().at(1);
        QCOMPARE(int(fertig.art), int(Interaktion::Art::Information));
        QCOMPARE(fertig.titel + QLatin1Char('|') + fertig.text, QStringLiteral("Datensicherung|Fertig"));
    }
    // The old file is replaced by a sound copy; no temporary file is left behind.
    QCOMPARE(Db::pruefen(ziel), QString());
    QCOMPARE(gliederungIn(ziel), QStringLiteral("OV Nord"));
    QCOMPARE(QDir(ordner).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("alt.sav")});
    QCOMPARE(gespeicherteGliederung(), QStringLiteral("OV Nord"));

    // The folder is offered again, also after the books were closed and opened again.
    Db::schliessen();
    QVERIFY(Db::oeffnen(m_db->datei()));
    UtilInitLeeren();
    SkriptInteraktion skript;
    skript.antworteAbbruch();
    SaveRestore();
    QCOMPARE(skript.anfragen().size(), 1);
    QCOMPARE(skript.anfragen().at(0).titel, QStringLiteral("Datenwiederherstellung"));
    QCOMPARE(skript.anfragen().at(0).vorgabeText, ordner);
}

void TstSicherung::sichernAbgelehnt_data()
{
    QTest::addColumn<QString>("ziel"); // below the test folder; "test.db" is the books
    QTest::addColumn<QString>("meldung");

    QTest::newRow("die Bücher selbst") << "test.db" << "Sichern auf sich selbst ist nicht erlaubt";
    QTest::newRow("über einen Umweg") << "sub/../test.db" << "Sichern auf sich selbst ist nicht erlaubt";
    QTest::newRow("Ordner fehlt") << "fehlt/x.sav" << "Fehler beim Kopieren\nDie Datei kann im Ordner";
    QTest::newRow("Ordner schreibgeschützt") << "nurlesen/x.sav" << "Fehler beim Kopieren\nDie Datei kann im Ordner";
    QTest::newRow("Datenträger voll") << "voll/x.sav" << "Fehler beim Kopieren\nSpeichern fehlgeschlagen";
}

void TstSicherung::sichernAbgelehnt()
{
    QFETCH(QString, ziel); QFETCH(QString, meldung);
    const QDir dir(m_db->verzeichnis());
    QVERIFY(dir.mkpath(QStringLiteral("sub")) && dir.mkpath(QStringLiteral("voll")));
    QVERIFY(dir.mkpath(QStringLiteral("nurlesen")));
    QVERIFY(QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x7755)));
    QVERIFY(QFile::setPermissions(dir.filePath(QStringLiteral("nurlesen")), QFileDevice::Permissions(0x5555)));
    QVERIFY(QFile::setPermissions(dir.filePath(QStringLiteral("voll")), QFileDevice::Permissions(0x7777)));
    const QString pfad = dir.filePath(ziel);
    const QByteArray vorher = dateiInhalt(m_db->datei());

    SkriptInteraktion skript;
    skript.antworte(datei(pfad));
    skript.antworte(QMessageBox::Ok);
    {
        AlsNobody nobody;
        QVERIFY(nobody.ok());
        Dateigrenze grenze(ziel.startsWith(QLatin1String("voll")) ? 16384 : RLIM_INFINITY);
        SaveSave();
    }
    QCOMPARE(skript.unerwartet(), 0);
    const Interaktion::Anfrage antwort = skript.anfragen().last();
    QCOMPARE(int(antwort.art), int(Interaktion::Art::Kritisch));
    QCOMPARE(antwort.titel, QStringLiteral("Datensicherung"));
    QVERIFY2(antwort.text.startsWith(meldung), qPrintable(antwort.text));

    // The books stay open and whole, and nothing is left in the target folder.
    QCOMPARE(dateiInhalt(m_db->datei()), vorher);
    QVERIFY(Db::ausfuehren(QStringLiteral("UPDATE parameter SET wert='OV Süd' WHERE key='General/Gliederung'")) == 1);
    QVERIFY(!QFileInfo::exists(pfad) || ziel.contains(QLatin1String("test.db")));
    QCOMPARE(QDir(dir.filePath(QStringLiteral("voll"))).entryList(QDir::Files | QDir::Hidden), QStringList());
}

void TstSicherung::wiederherstellen()
{
    const QString sicherung = m_db->verzeichnis() + QStringLiteral("/stand.sav");
    QVERIFY(Db::ausfuehren(QStringLiteral("VACUUM INTO ?"), {sicherung}) >= 0);
    TestDb::setParameter(QStringLiteral("General/Gliederung"), QStringLiteral("OV Falsch"));
    QCOMPARE(UtilSelbst(), QStringLiteral("OV Falsch"));
    // The lock that keeps a second program off the books.
    QLockFile sperre(VelaSperrDatei(m_db->datei()));
    QVERIFY(sperre.tryLock(0));

    // Cancelled at the question: nothing changes.
    {
        SkriptInteraktion skript;
        skript.antworte(datei(sicherung));
        skript.antworteAbbruch();
        SaveRestore();
        QCOMPARE(skript.anfragen().size(), 2);
        QCOMPARE(skript.anfragen().at(1).titel, QStringLiteral("Datensicherung"));
        QCOMPARE(skript.anfragen().at(1).text,
                 QStringLiteral("Achtung: Durch die Wiederherstellung werden\nalle bestehenden Daten unwiederruflich "
                                "überschrieben!\nDaten aus der Sicherung wiederherstellen?"));
        QCOMPARE(gespeicherteGliederung(), QStringLiteral("OV Falsch"));
        QVERIFY(!QFileInfo::exists(m_db->datei() + QStringLiteral(".bak")));
    }

    SkriptInteraktion skript;
    skript.antworte(datei(sicherung));
    skript.antworte(QMessageBox::Ok);
    skript.antworte(QMessageBox::Ok);
    SaveRestore();
    QCOMPARE(skript.unerwartet(), 0);
    const Interaktion::Anfrage fertig = skript.anfragen().last();
    QCOMPARE(int(fertig.art), int(Interaktion::Art::Information));
    QCOMPARE(fertig.titel + QLatin1Char('|') + fertig.text, QStringLiteral("Datenwiederherstellung|Fertig"));

    // The books are open again on the same file, with the restored settings in the cache.
    QVERIFY(Db::istOffen());
    QCOMPARE(QFileInfo(Db::dateiName()).absoluteFilePath(), QFileInfo(m_db->datei()).absoluteFilePath());
    QCOMPARE(gespeicherteGliederung(), QStringLiteral("OV Nord"));
    QCOMPARE(UtilSelbst(), QStringLiteral("OV Nord"));
    QCOMPARE(Db::ausfuehren(QStringLiteral("UPDATE parameter SET wert='OV Ost' WHERE key='General/Gliederung'")), 1);
    // The books before the restore wait beside them, and the lock is still ours.
    QCOMPARE(gliederungIn(m_db->datei() + QStringLiteral(".bak")), QStringLiteral("OV Falsch"));
    QLockFile zweiter(VelaSperrDatei(m_db->datei()));
    QVERIFY(!zweiter.tryLock(0));
}

void TstSicherung::wiederherstellenAbgelehnt_data()
{
    QTest::addColumn<QString>("art");
    QTest::addColumn<QString>("meldung");

    QTest::newRow("die Bücher selbst") << "selbst" << "Datensicherung|Sichern auf sich selbst ist nicht erlaubt";
    QTest::newRow("abgeschnitten") << "abgeschnitten" << "Datenwiederherstellung|\nDie Datenbank ist beschädigt";
    QTest::newRow("anderes Programm") << "fremd"
                                      << "Datenwiederherstellung|\nDie Datei ist eine SQLite-Datenbank, aber keine "
                                         "Vela-Datenbank (es fehlt die Tabelle parameter).\n";
}

void TstSicherung::wiederherstellenAbgelehnt()
{
    QFETCH(QString, art); QFETCH(QString, meldung);
    const QString quelle = art == QLatin1String("selbst") ? m_db->datei() : m_db->verzeichnis() + QStringLiteral("/q.sav");
    if (art == QLatin1String("abgeschnitten")) {
        QVERIFY(Db::ausfuehren(QStringLiteral("VACUUM INTO ?"), {quelle}) >= 0);
        const QByteArray ganz = dateiInhalt(quelle);
        QVERIFY(dateiSchreiben(quelle, ganz.left(ganz.size() / 2)));
    } else if (art == QLatin1String("fremd")) {
        TestDb::zeileIn(quelle, QStringLiteral("CREATE TABLE notizen (text TEXT)"));
    }
    SkriptInteraktion skript;
    skript.antworte(datei(quelle));
    skript.antworte(QMessageBox::Ok);
    SaveRestore();
    QCOMPARE(skript.unerwartet(), 0);
    QCOMPARE(skript.anfragen().size(), 2); // no question is asked
    const Interaktion::Anfrage antwort = skript.anfragen().last();
    QCOMPARE(int(antwort.art), int(Interaktion::Art::Kritisch));
    QCOMPARE(antwort.titel, meldung.section(QLatin1Char('|'), 0, 0));
    QVERIFY2(antwort.text.contains(meldung.section(QLatin1Char('|'), 1)), qPrintable(antwort.text));

    QCOMPARE(Db::pruefen(m_db->datei()), QString());
    QVERIFY(!QFileInfo::exists(m_db->datei() + QStringLiteral(".bak")));
    QCOMPARE(gespeicherteGliederung(), QStringLiteral("OV Nord"));
}

QTEST_MAIN(TstSicherung)
#include "tst_sicherung.moc"
