#include "zahlwort.h"

// Placeholder until the amounts in words land.
QString UtilZahlwort(long long) { return QString(); }
QString UtilZahlwortZiffer(const QString &, int) { return QString(); }
