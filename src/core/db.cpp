#include "db.h"

#include "interaktion.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QList>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlRecord>

namespace {
bool g_offen = false;

// The connection's error state: the last failure and how many statements failed
// so far, so that a transaction sees whether anything inside it went wrong.
QSqlError g_fehler;
int g_fehlerZahl = 0;

// The failure count at the start of each open transaction, innermost last. Once
// a statement of the innermost one failed, it cannot be committed: the statements
// after it are not run, so a locked database is waited for once, not per statement.
QList<int> g_transaktionen;

// Statements that wert() and ausfuehren() ran inside a transaction, kept prepared
// for their next run in it: closing a payment run or an import runs the same few
// thousands of times. Such a statement is never handed out, so no caller can still
// be reading it; and no connection is closed while a transaction is open.
QHash<QString, QSqlQuery> g_vorbereitet;
constexpr int kVorbereitetMax = 256;

void vergessen()
{
    g_vorbereitet.clear();
}

bool unterbrochen()
{
    return !g_transaktionen.isEmpty() && g_transaktionen.last() != g_fehlerZahl;
}

// A locked database is waited for this long per statement, then the save fails.
const QString kOptionen = QStringLiteral("QSQLITE_BUSY_TIMEOUT=3000");

// SQLite's primary result codes that the user can do something about.
constexpr int SqliteBusy = 5;
constexpr int SqliteLocked = 6;
constexpr int SqliteReadonly = 8;
constexpr int SqliteCorrupt = 11;
constexpr int SqliteFull = 13;
constexpr int SqliteNotADb = 26;

// Extended result codes carry the primary code in their low byte.
int primaerCode(const QSqlError &fehler)
{
    return fehler.nativeErrorCode().toInt() & 0xff;
}

const QString kBenutzt = QStringLiteral("Die Datenbank wird von einem anderen Programm benutzt");

void merke(const QSqlError &fehler)
{
    g_fehler = fehler;
    ++g_fehlerZahl;
}
} // namespace

// Resources of a static library must be registered by hand.
static void ressourcenLaden()
{
    static const bool geladen = [] {
        Q_INIT_RESOURCE(vela);
        return true;
    }();
    Q_UNUSED(geladen);
}

void VelaRessourcen()
{
    ressourcenLaden();
}

const QImage &VelaLogo()
{
    VelaRessourcen();
    static const QImage logo(QStringLiteral(":/logo.png"));
    return logo;
}

namespace Db {

bool istOffen() { return g_offen; }
void setOffen(bool offen) { g_offen = offen; }

void verbindungAnlegen()
{
    if (!QSqlDatabase::contains(QLatin1String(QSqlDatabase::defaultConnection)))
        QSqlDatabase::addDatabase(QStringLiteral("QSQLITE")).setConnectOptions(kOptionen);
}

QString dateiProblem(const QString &datei)
{
    const QFileInfo info(datei);
    const QFileInfo ordner(info.absolutePath());
    if (!ordner.isDir())
        return QStringLiteral("Der Ordner ") + ordner.absoluteFilePath() + QStringLiteral(" existiert nicht.");
    if (!ordner.isExecutable())
        return QStringLiteral("Keine Berechtigung für den Ordner ") + ordner.absoluteFilePath() + QLatin1Char('.');
    if (!info.exists())
        return QString();
    if (info.isDir())
        return QStringLiteral("Das ist ein Ordner, keine Datei.");
    QFile datenbank(datei);
    if (!info.isReadable() || !datenbank.open(QIODevice::ReadOnly))
        return QStringLiteral("Keine Berechtigung, die Datei zu lesen.");
    const QByteArray kopf = datenbank.read(16);
    if (kopf.isEmpty())
        return QStringLiteral("Die Datei ist leer, keine SQLite-Datenbank.");
    if (kopf != QByteArray("SQLite format 3", 16))
        return QStringLiteral("Die Datei ist keine SQLite-Datenbank.");
    return QString();
}

namespace {

const QString kNurLesen = QStringLiteral("QSQLITE_OPEN_READONLY");

// Sets or clears the read-only flag of the next open, keeping the other connect options.
void setNurLesen(QSqlDatabase &db, bool nurLesen)
{
    QStringList optionen = db.connectOptions().split(QLatin1Char(';'), Qt::SkipEmptyParts);
    optionen.removeAll(kNurLesen);
    if (nurLesen)
        optionen << kNurLesen;
    db.setConnectOptions(optionen.join(QLatin1Char(';')));
}

// The cause of a failed statement in the user's words.
QString sqlGrund(const QSqlError &fehler)
{
    switch (primaerCode(fehler)) {
    case SqliteBusy:
    case SqliteLocked:
        return kBenutzt + QLatin1Char('.');
    case SqliteCorrupt:
        return QStringLiteral("Die Datenbank ist beschädigt (") + fehler.databaseText() + QStringLiteral(").");
    case SqliteNotADb:
        return QStringLiteral("Die Datei ist keine SQLite-Datenbank.");
    default:
        return QStringLiteral("SQLite meldet: ") + fehler.text();
    }
}

// Why the open database is not a sound Vela database; empty when it is one. The
// thorough check also compares every index with its table; it is slow on large books.
QString datenbankProblem(const QSqlDatabase &db, bool gruendlich)
{
    QSqlQuery q(db);
    if (!q.exec(gruendlich ? QStringLiteral("PRAGMA integrity_check") : QStringLiteral("PRAGMA quick_check")))
        return sqlGrund(q.lastError());
    if (q.next() && q.value(0).toString() != QLatin1String("ok"))
        return QStringLiteral("Die Datenbank ist beschädigt (") + q.value(0).toString() + QStringLiteral(").");
    q.finish();
    const QStringList tabellen = db.tables();
    for (const char *tabelle : {"parameter", "kontenplan", "journdat", "kgkto", "verband", "adresse",
                                "bankverbindung", "mitglied", "lieferant", "spende", "spendenparam",
                                "textbaustein", "zahllauf", "blzdatei"}) {
        if (!tabellen.contains(QLatin1String(tabelle)))
            return QStringLiteral("Die Datei ist eine SQLite-Datenbank, aber keine Vela-Datenbank (es fehlt die "
                                  "Tabelle ")
                   + QLatin1String(tabelle) + QStringLiteral(").");
    }
    return QString();
}

} // namespace

bool oeffnen(const QString &datei, bool nurLesen, QString *grund)
{
    verbindungAnlegen();
    vergessen();
    QSqlDatabase db = QSqlDatabase::database(QLatin1String(QSqlDatabase::defaultConnection), false);
    if (db.isOpen())
        db.close();
    QString problem = dateiProblem(datei);
    if (problem.isEmpty()) {
        setNurLesen(db, nurLesen);
        db.setDatabaseName(datei);
        // SQLite opens any file; only the check tells a sound database from something else.
        problem = db.open() ? datenbankProblem(db, false) : sqlGrund(db.lastError());
    }
    if (problem.isEmpty() && !nurLesen && !schemaAngleichen())
        problem = fehlerText();
    if (problem.isEmpty())
        return true;
    db.close();
    if (grund)
        *grund = problem;
    return false;
}

QString pruefen(const QString &datei)
{
    QString problem = dateiProblem(datei);
    if (problem.isEmpty() && !QFileInfo::exists(datei))
        problem = QStringLiteral("Die Datei existiert nicht.");
    if (!problem.isEmpty())
        return problem;
    const QString name = QStringLiteral("vela-pruefung");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setConnectOptions(kNurLesen);
        db.setDatabaseName(datei);
        problem = db.open() ? datenbankProblem(db, true) : sqlGrund(db.lastError());
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return problem;
}

void schliessen()
{
    vergessen();
    QSqlDatabase db = QSqlDatabase::database(QLatin1String(QSqlDatabase::defaultConnection), false);
    db.close();
}

QString dateiName()
{
    return QSqlDatabase::database(QLatin1String(QSqlDatabase::defaultConnection), false).databaseName();
}

bool nurLesen()
{
    return QSqlDatabase::database(QLatin1String(QSqlDatabase::defaultConnection), false)
        .connectOptions()
        .split(QLatin1Char(';'))
        .contains(kNurLesen);
}

namespace {

// The statements of the compiled-in schema, comments stripped.
QStringList schemaAnweisungen()
{
    VelaRessourcen();
    QFile datei(QStringLiteral(":/schema.sql"));
    if (!datei.open(QIODevice::ReadOnly))
        return {};
    QString text;
    for (const QString &zeile : QString::fromUtf8(datei.readAll()).split(QLatin1Char('\n'))) {
        if (!zeile.trimmed().startsWith(QLatin1String("--")))
            text += zeile + QLatin1Char('\n');
    }
    QStringList anweisungen;
    for (const QString &anweisung : text.split(QLatin1Char(';'))) {
        if (!anweisung.trimmed().isEmpty())
            anweisungen << anweisung;
    }
    return anweisungen;
}

// Name -> CREATE statement of the tables or indexes (`art`) of `db`.
QHash<QString, QString> schemaObjekte(const QSqlDatabase &db, const QString &art)
{
    QHash<QString, QString> objekte;
    QSqlQuery q(db);
    q.prepare(QStringLiteral("SELECT name, sql FROM sqlite_master WHERE type = ? AND sql IS NOT NULL"));
    q.addBindValue(art);
    q.exec();
    while (q.next())
        objekte.insert(q.value(0).toString(), q.value(1).toString());
    return objekte;
}

// The column clauses of `tabelle` in `db` that ALTER TABLE ... ADD COLUMN takes, by name.
QHash<QString, QString> spalten(const QSqlDatabase &db, const QString &tabelle)
{
    QHash<QString, QString> ergebnis;
    QSqlQuery q(db);
    q.exec(QStringLiteral("PRAGMA table_info(\"") + tabelle + QStringLiteral("\")"));
    while (q.next()) {
        QString klausel = q.value(1).toString() + QLatin1Char(' ') + q.value(2).toString();
        if (q.value(3).toInt() != 0)
            klausel += QStringLiteral(" NOT NULL");
        if (!q.value(4).isNull())
            klausel += QStringLiteral(" DEFAULT ") + q.value(4).toString();
        ergebnis.insert(q.value(1).toString(), klausel);
    }
    return ergebnis;
}

// The statements that bring the open books up to the compiled-in schema: tables,
// columns and indexes added since the books were made. Nothing is ever dropped.
QStringList angleichAnweisungen()
{
    const QString name = QStringLiteral("vela-schema");
    QStringList anweisungen;
    {
        QSqlDatabase muster = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        muster.setDatabaseName(QStringLiteral(":memory:"));
        if (muster.open()) {
            QSqlQuery q(muster);
            for (const QString &anweisung : schemaAnweisungen())
                q.exec(anweisung);
            const QSqlDatabase buch = QSqlDatabase::database(QLatin1String(QSqlDatabase::defaultConnection), false);
            const QHash<QString, QString> tabellen = schemaObjekte(buch, QStringLiteral("table"));
            const QHash<QString, QString> sollTabellen = schemaObjekte(muster, QStringLiteral("table"));
            for (auto it = sollTabellen.cbegin(); it != sollTabellen.cend(); ++it) {
                if (!tabellen.contains(it.key())) {
                    anweisungen << it.value();
                    continue;
                }
                const QHash<QString, QString> vorhanden = spalten(buch, it.key());
                const QHash<QString, QString> soll = spalten(muster, it.key());
                for (auto spalte = soll.cbegin(); spalte != soll.cend(); ++spalte) {
                    if (!vorhanden.contains(spalte.key()))
                        anweisungen << QStringLiteral("ALTER TABLE ") + it.key() + QStringLiteral(" ADD COLUMN ")
                                           + spalte.value();
                }
            }
            const QHash<QString, QString> indizes = schemaObjekte(buch, QStringLiteral("index"));
            const QHash<QString, QString> sollIndizes = schemaObjekte(muster, QStringLiteral("index"));
            for (auto it = sollIndizes.cbegin(); it != sollIndizes.cend(); ++it) {
                if (!indizes.contains(it.key()))
                    anweisungen << it.value();
            }
        }
        muster.close();
    }
    QSqlDatabase::removeDatabase(name);
    return anweisungen;
}

} // namespace

bool schemaAnlegen()
{
    const QStringList anweisungen = schemaAnweisungen();
    if (anweisungen.isEmpty())
        return false;
    Transaktion t;
    QSqlQuery q;
    for (const QString &anweisung : anweisungen) {
        if (!q.exec(anweisung))
            return false;
    }
    return t.commit();
}

bool schemaAngleichen()
{
    const QStringList anweisungen = angleichAnweisungen();
    if (anweisungen.isEmpty())
        return true;
    Transaktion t;
    QSqlQuery q;
    for (const QString &anweisung : anweisungen) {
        if (!q.exec(anweisung)) {
            fehlgeschlagen(q);
            return false;
        }
    }
    return t.commit();
}

bool anlegen(const QString &datei)
{
    if (QFileInfo::exists(datei))
        return false;
    verbindungAnlegen();
    vergessen();
    QSqlDatabase db = QSqlDatabase::database(QLatin1String(QSqlDatabase::defaultConnection), false);
    if (db.isOpen())
        db.close();
    setNurLesen(db, false);
    db.setDatabaseName(datei);
    if (!db.open())
        return false;
    if (!schemaAnlegen()) {
        db.close();
        QFile::remove(datei);
        return false;
    }
    return true;
}

QSqlQuery abfrage(const QString &sql, const QVariantList &werte)
{
    if (unterbrochen())
        return QSqlQuery();
    QSqlQuery q;
    q.setForwardOnly(true);
    q.prepare(sql);
    for (int i = 0; i < werte.size(); ++i)
        q.bindValue(i, werte.at(i));
    if (!q.exec())
        merke(q.lastError());
    return q;
}

// Runs `sql` on a kept statement, hands it to `lesen` and keeps it again.
template <typename Lesen>
auto mitVorbereitet(const QString &sql, const QVariantList &werte, Lesen lesen)
{
    QSqlQuery q = g_vorbereitet.take(sql); // a nested run of the same text prepares its own
    bool bereit = !q.lastQuery().isEmpty();
    if (!unterbrochen()) {
        if (!bereit) {
            q = QSqlQuery();
            q.setForwardOnly(true);
            bereit = q.prepare(sql);
        }
        for (int i = 0; i < werte.size(); ++i)
            q.bindValue(i, werte.at(i));
        if (!q.exec()) {
            merke(q.lastError());
            bereit = false;
        }
    }
    const auto ergebnis = lesen(q);
    q.finish();
    if (bereit && !g_transaktionen.isEmpty() && g_vorbereitet.size() < kVorbereitetMax)
        g_vorbereitet.insert(sql, q);
    return ergebnis;
}

QVariant wert(const QString &sql, const QVariantList &werte)
{
    return mitVorbereitet(sql, werte, [](QSqlQuery &q) { return q.next() ? q.value(0) : QVariant(); });
}

QVariantList zeile(const QString &sql, const QVariantList &werte)
{
    return mitVorbereitet(sql, werte, [](QSqlQuery &q) {
        QVariantList spalten;
        if (q.next()) {
            const int anzahl = q.record().count();
            for (int i = 0; i < anzahl; ++i)
                spalten << q.value(i);
        }
        return spalten;
    });
}

int ausfuehren(const QString &sql, const QVariantList &werte)
{
    return mitVorbereitet(sql, werte, [](QSqlQuery &q) { return q.isActive() ? q.numRowsAffected() : -1; });
}

bool begin() { return QSqlQuery().exec(QStringLiteral("BEGIN TRANSACTION")); }
bool commit() { return QSqlQuery().exec(QStringLiteral("COMMIT TRANSACTION")); }
bool rollback() { return QSqlQuery().exec(QStringLiteral("ROLLBACK TRANSACTION")); }

QString fehlerText()
{
    switch (primaerCode(g_fehler)) {
    case SqliteReadonly:
        return QStringLiteral("Die Datenbank ist schreibgeschützt");
    case SqliteBusy:
    case SqliteLocked:
        return kBenutzt;
    case SqliteFull:
        return QStringLiteral("Speichern fehlgeschlagen: Der Datenträger ist voll");
    default:
        break;
    }
    QString grund = g_fehler.databaseText();
    if (grund.isEmpty())
        grund = g_fehler.driverText();
    if (grund.isEmpty())
        grund = QStringLiteral("unbekannter Fehler");
    return QStringLiteral("Speichern fehlgeschlagen: ") + grund;
}

int fehlerStand()
{
    return g_fehlerZahl;
}

void fehlgeschlagen(const QSqlQuery &abfrage)
{
    merke(abfrage.lastError());
}

Transaktion::Transaktion() : m_fehlerVorher(g_fehlerZahl)
{
    g_transaktionen.append(m_fehlerVorher);
    // Inside a caller's transaction BEGIN is refused: then a savepoint keeps this part whole.
    // Inside one of ours it is not even tried (a refused statement costs as much as a run one).
    // A savepoint is kept prepared like any statement: a batch opens one per entry it posts.
    if (g_transaktionen.size() == 1 && QSqlQuery().exec(QStringLiteral("BEGIN TRANSACTION")))
        m_art = Art::Ganz;
    else if (ausfuehren(QStringLiteral("SAVEPOINT vela")) >= 0)
        m_art = Art::Savepoint;
}

Transaktion::~Transaktion()
{
    zurueck();
    g_transaktionen.removeLast();
    if (g_transaktionen.isEmpty())
        vergessen();
}

bool Transaktion::commit()
{
    if (m_art == Art::Keine)
        return false;
    if (g_fehlerZahl != m_fehlerVorher) {
        zurueck();
        return false;
    }
    if (m_art == Art::Ganz) {
        QSqlQuery q;
        if (!q.exec(QStringLiteral("COMMIT TRANSACTION"))) {
            merke(q.lastError());
            zurueck();
            return false;
        }
    } else if (ausfuehren(QStringLiteral("RELEASE SAVEPOINT vela")) < 0) {
        zurueck();
        return false;
    }
    m_art = Art::Keine;
    return true;
}

// Errors of the rollback itself are no news: SQLite may already have ended the transaction.
void Transaktion::zurueck()
{
    QSqlQuery q;
    if (m_art == Art::Ganz) {
        q.exec(QStringLiteral("ROLLBACK TRANSACTION"));
    } else if (m_art == Art::Savepoint) {
        q.exec(QStringLiteral("ROLLBACK TRANSACTION TO SAVEPOINT vela"));
        q.exec(QStringLiteral("RELEASE SAVEPOINT vela"));
    }
    m_art = Art::Keine;
}

bool speichern(QWidget *parent, const QString &titel, const std::function<void()> &schreiben)
{
    bool ok = false;
    {
        Transaktion t;
        schreiben();
        ok = t.commit();
    }
    // Shown after the rollback, so no lock is held while the user reads.
    if (!ok)
        Interaktion::kritisch(parent, titel, fehlerText());
    return ok;
}

} // namespace Db
