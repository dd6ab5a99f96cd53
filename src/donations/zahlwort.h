#pragma once

#include <QString>

// An amount in cents as one German word, as printed on donation receipts:
// 123456 gives "Eintausendzweihundertvierunddreißigkommafünfsechs".
QString UtilZahlwort(long long cent);

// The words for n modulo 1000 followed by the suffix ("", "tausend", "millionen").
QString UtilZahlwortZiffer(const QString &suffix, int n);
