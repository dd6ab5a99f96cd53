#include "utilkonto.h"

// Placeholder until the account scheme lands.
QString UtilMIDKonto(int) { return QString(); }
QString UtilGlKonto(const QString &) { return QString(); }
QString UtilLsKonto(const QString &) { return QString(); }
QString UtilKtoText(const QString &) { return QString(); }
