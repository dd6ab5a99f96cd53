#include "suchname.h"

// Placeholder until the search name lands.
QString SuchName(const QString &a, const QString &b) { return (a + b).toUpper(); }
