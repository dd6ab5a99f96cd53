#pragma once

#include <QString>

// The search name of `a` followed directly by `b`: upper case, umlauts and
// repeated letters folded, J and Y read as I, an E after A or U dropped, so
// that spelling variants of German names compare equal (Müller = Mueller = Muller).
QString SuchName(const QString &a, const QString &b);
