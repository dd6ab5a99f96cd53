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

bool oeffnen(const QString &datei)
{
    verbindungAnlegen();
    QSqlDatabase db = QSqlDatabase::database(QLatin1String(QSqlDatabase::defaultConnection), false);
    if (db.isOpen())
        db.close();
    db.setDatabaseName(datei);
    if (!db.open())
        return false;
    // SQLite opens any file; only a query tells a database from something else.
    QSqlQuery probe(db);
    if (!probe.exec(QStringLiteral("SELECT count(*) FROM parameter"))) {
        db.close();
        return false;
    }
    return true;
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
