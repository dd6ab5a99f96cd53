#pragma once

#include <QStringList>

// Opens the database named by the command line (or "vela.db"), offering to create
// a missing file, and reports one that cannot be used. True when it is open.
bool VelaDatenbankOeffnen(const QString &datei);

// Everything `main` does after creating the application: returns 0 after the main
// window was closed, -1 when the database could not be opened.
int VelaAusfuehren(const QStringList &argumente);
