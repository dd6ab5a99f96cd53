#pragma once

#include <QStringList>

class QLockFile;

// The user's own folder for Vela's books (QStandardPaths::AppDataLocation).
QString VelaDatenordner();

// The books opened without an argument: "vela.db" in the working folder where there
// is one, else vela.db in VelaDatenordner() (the program started from the desktop menu).
QString VelaStandardDatei();

// The lock file beside the database ("vela.db.lock") that keeps a second Vela off the same books.
QString VelaSperrDatei(const QString &datei);

// Opens the database named by the command line (or VelaStandardDatei()), offering to create
// a missing file and to look at a write-protected one read-only; takes `sperre`
// (made on VelaSperrDatei) for as long as the books are open. Reports a file that
// cannot be used, with its path and the cause. True when it is open.
bool VelaDatenbankOeffnen(const QString &datei, QLockFile &sperre);

// Everything `main` does after creating the application: returns 0 after the main
// window was closed or after --help and --version, 2 for a wrong command line,
// -1 when the database could not be opened.
int VelaAusfuehren(const QStringList &argumente);
