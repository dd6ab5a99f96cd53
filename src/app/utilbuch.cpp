#include "utilbuch.h"

// Placeholder until the posting engine lands.
int UtilBuch(const QDate &, int, const QString &, const QString &, const QString &, qint64, const QString &,
             const QString &, const QString &, const QString &)
{
    return -1;
}
QDate UtilGJVon() { return QDate(QDate::currentDate().year(), 1, 1); }
QDate UtilGJVonDatum(const QDate &datum) { return QDate(datum.year(), 1, 1); }
bool UtilQDelete() { return false; }
