#pragma once

#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <QVariantList>

#include <functional>

class QImage;
class QWidget;

// The one default SQLite connection and small helpers around it. Every value
// reaches a statement as a bound parameter ("?" placeholders, bound in order).
// Registers the compiled-in schema and logo; safe to call often.
void VelaRessourcen();

// The logo of the main window and the printed receipts (360 x 104 pixels).
const QImage &VelaLogo();

namespace Db {

// The process-wide "database is open" flag; account texts resolve only while it is set.
bool istOffen();
void setOffen(bool offen);

// Adds the default connection (driver "QSQLITE") if there is none yet.
void verbindungAnlegen();

// Why `datei` cannot be a database, judged from the file system alone (folder
// missing or closed, a folder in its place, unreadable, empty, not an SQLite file);
// empty when nothing speaks against it, also for a missing file in an existing folder.
QString dateiProblem(const QString &datei);

// Opens `datei` on the default connection, read-only on request, and checks that it
// is a sound Vela database: an SQLite file that passes `PRAGMA quick_check` and holds
// the tables, then brings writable books up to the current schema. On failure the
// connection is closed again and `grund` names the cause.
bool oeffnen(const QString &datei, bool nurLesen = false, QString *grund = nullptr);

// Checks the file `datei` thoroughly (`PRAGMA integrity_check` and the tables) on a
// private read-only connection, leaving the books open as they are. Empty when it
// is a sound Vela database, else the cause.
QString pruefen(const QString &datei);

void schliessen();
QString dateiName();
bool nurLesen(); // opened read-only: every write fails

// Creates `datei` (which must not exist) with the empty schema.
bool anlegen(const QString &datei);

// Runs the schema on an open, empty database.
bool schemaAnlegen();

// Adds to the open books what the schema has gained since they were made (tables,
// columns, indexes) in one transaction; existing data stays as it is. Done by oeffnen().
bool schemaAngleichen();

// Prepares, binds and runs a statement; the query is positioned before the first row.
QSqlQuery abfrage(const QString &sql, const QVariantList &werte = {});

// First column of the first row, or an invalid variant when there is no row.
QVariant wert(const QString &sql, const QVariantList &werte = {});

// The first row, one value per column; empty when there is no row. Kept prepared like wert().
QVariantList zeile(const QString &sql, const QVariantList &werte = {});

// Runs a writing statement; returns the number of changed rows, -1 on error.
int ausfuehren(const QString &sql, const QVariantList &werte = {});

bool begin();
bool commit();
bool rollback();

// The cause of the last failed statement or commit, as the user reads it:
// "Die Datenbank ist schreibgeschützt", "Die Datenbank wird von einem anderen
// Programm benutzt" or "Speichern fehlgeschlagen: <Grund>".
QString fehlerText();

// How many statements have failed so far: two readings tell whether anything in between failed.
int fehlerStand();

// Records the failure of a statement run on a query of its own (a loop that reuses
// one prepared statement), so that the open transaction and fehlerText() know of it.
void fehlgeschlagen(const QSqlQuery &abfrage);

// Writes that must stay whole. The outermost transaction is "BEGIN TRANSACTION" ...
// "COMMIT TRANSACTION"; one opened inside another is a savepoint, so a writer that
// keeps itself whole also nests in a caller's larger unit. Whatever was written
// is rolled back unless commit() succeeds.
class Transaktion
{
public:
    Transaktion();
    ~Transaktion();
    Transaktion(const Transaktion &) = delete;
    Transaktion &operator=(const Transaktion &) = delete;

    // False, and everything rolled back, when a statement run since the
    // transaction opened failed or the commit itself failed (see fehlerText()).
    bool commit();

private:
    void zurueck();

    enum class Art { Keine, Ganz, Savepoint };
    Art m_art = Art::Keine;
    int m_fehlerVorher = 0;
};

// The save of a dialog: runs `schreiben` in one transaction and commits it. When
// anything failed, nothing stays written and a critical message titled `titel`
// names the cause; false then, and the dialog keeps its input.
bool speichern(QWidget *parent, const QString &titel, const std::function<void()> &schreiben);

} // namespace Db
