#pragma once

#include <QStringList>

#include <optional>

class QCommandLineParser;

// What the program and its tools share at start: version, German texts, the command line.

QString VelaVersion();

// Qt's own German translations (standard buttons "Ja", "Nein", "Abbrechen") and,
// under a "C"/POSIX system locale, German number and date formats.
void VelaDeutsch();

// Parses `argumente` with --help and --version added. Returns the exit status when
// the program must end here: 0 after help or version (on stdout); 2 after an unknown
// option, fewer than `minDateien` or more than `maxDateien` file arguments, or a file
// name that is empty or begins with "-" (the reason and the usage on stderr).
std::optional<int> VelaAufruf(QCommandLineParser &parser, const QStringList &argumente, int minDateien,
                              int maxDateien);
