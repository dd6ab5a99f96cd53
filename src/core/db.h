#pragma once

#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <QVariantList>

// The one default SQLite connection and small helpers around it. Every value
// reaches a statement as a bound parameter ("?" placeholders, bound in order).
// Registers the compiled-in schema and logo; safe to call often.
void VelaRessourcen();

namespace Db {

// The process-wide "database is open" flag; account texts resolve only while it is set.
bool istOffen();
void setOffen(bool offen);

// Adds the default connection (driver "QSQLITE") if there is none yet.
void verbindungAnlegen();

// Opens `datei` on the default connection and checks with a first query that it
// is a Vela database. On failure the connection is closed again.
bool oeffnen(const QString &datei);
void schliessen();
QString dateiName();

// Creates `datei` (which must not exist) with the empty schema.
bool anlegen(const QString &datei);

// Runs the schema on an open, empty database.
bool schemaAnlegen();

// Prepares, binds and runs a statement; the query is positioned before the first row.
QSqlQuery abfrage(const QString &sql, const QVariantList &werte = {});

// First column of the first row, or an invalid variant when there is no row.
QVariant wert(const QString &sql, const QVariantList &werte = {});

// Runs a writing statement; returns the number of changed rows, -1 on error.
int ausfuehren(const QString &sql, const QVariantList &werte = {});

bool begin();
bool commit();
bool rollback();

// A transaction that rolls back unless it was committed (for writes that must stay whole).
class Transaktion
{
public:
    Transaktion();
    ~Transaktion();
    Transaktion(const Transaktion &) = delete;
    Transaktion &operator=(const Transaktion &) = delete;
    bool commit();

private:
    bool m_offen;
};

} // namespace Db
