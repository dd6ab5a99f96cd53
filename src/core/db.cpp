#include "db.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>

namespace {
bool g_offen = false;
}

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

namespace Db {

bool istOffen() { return g_offen; }
void setOffen(bool offen) { g_offen = offen; }

void verbindungAnlegen()
{
    if (!QSqlDatabase::contains(QLatin1String(QSqlDatabase::defaultConnection)))
        QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
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
    switch (fehler.nativeErrorCode().toInt() & 0xff) {
    case 5: // SQLITE_BUSY
    case 6: // SQLITE_LOCKED
        return QStringLiteral("Die Datenbank wird von einem anderen Programm benutzt.");
    case 11: // SQLITE_CORRUPT
        return QStringLiteral("Die Datenbank ist beschädigt (") + fehler.databaseText() + QStringLiteral(").");
    case 26: // SQLITE_NOTADB
        return QStringLiteral("Die Datei ist keine SQLite-Datenbank.");
    default:
        return QStringLiteral("SQLite meldet: ") + fehler.text();
    }
}

// Why the open database is not a sound Vela database; empty when it is one.
QString datenbankProblem(const QSqlDatabase &db)
{
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("PRAGMA quick_check")))
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
    QSqlDatabase db = QSqlDatabase::database(QLatin1String(QSqlDatabase::defaultConnection), false);
    if (db.isOpen())
        db.close();
    QString problem = dateiProblem(datei);
    if (problem.isEmpty()) {
        setNurLesen(db, nurLesen);
        db.setDatabaseName(datei);
        // SQLite opens any file; only the check tells a sound database from something else.
        problem = db.open() ? datenbankProblem(db) : sqlGrund(db.lastError());
    }
    if (problem.isEmpty())
        return true;
    db.close();
    if (grund)
        *grund = problem;
    return false;
}

void schliessen()
{
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

bool schemaAnlegen()
{
    VelaRessourcen();
    QFile datei(QStringLiteral(":/schema.sql"));
    if (!datei.open(QIODevice::ReadOnly))
        return false;
    QString text;
    for (const QString &zeile : QString::fromUtf8(datei.readAll()).split(QLatin1Char('\n'))) {
        if (!zeile.trimmed().startsWith(QLatin1String("--")))
            text += zeile + QLatin1Char('\n');
    }
    Transaktion t;
    QSqlQuery q;
    for (const QString &anweisung : text.split(QLatin1Char(';'))) {
        if (anweisung.trimmed().isEmpty())
            continue;
        if (!q.exec(anweisung))
            return false;
    }
    return t.commit();
}

bool anlegen(const QString &datei)
{
    if (QFileInfo::exists(datei))
        return false;
    verbindungAnlegen();
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
    QSqlQuery q;
    q.setForwardOnly(true);
    q.prepare(sql);
    for (int i = 0; i < werte.size(); ++i)
        q.bindValue(i, werte.at(i));
    q.exec();
    return q;
}

QVariant wert(const QString &sql, const QVariantList &werte)
{
    QSqlQuery q = abfrage(sql, werte);
    return q.next() ? q.value(0) : QVariant();
}

int ausfuehren(const QString &sql, const QVariantList &werte)
{
    QSqlQuery q = abfrage(sql, werte);
    return q.isActive() ? q.numRowsAffected() : -1;
}

bool begin() { return QSqlQuery().exec(QStringLiteral("BEGIN TRANSACTION")); }
bool commit() { return QSqlQuery().exec(QStringLiteral("COMMIT TRANSACTION")); }
bool rollback() { return QSqlQuery().exec(QStringLiteral("ROLLBACK TRANSACTION")); }

Transaktion::Transaktion() : m_offen(begin()) {}

Transaktion::~Transaktion()
{
    if (m_offen)
        rollback();
}

bool Transaktion::commit()
{
    if (!m_offen)
        return false;
    m_offen = false;
    return Db::commit();
}

} // namespace Db
