#pragma once

#include <QString>
#include <QStringList>

// The unit `gliederung` followed by all units below it, however deep, nearer ones first.
QStringList UtilGliederungMitUnteren(const QString &gliederung);

// True when `gliederung` is `oben` or lies below it.
bool UtilGliederungUnter(const QString &gliederung, const QString &oben);
