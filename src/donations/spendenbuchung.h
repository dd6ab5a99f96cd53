#pragma once

#include <QDate>
#include <QString>

class SpendenAufteilung;

// Posts a donation or fee whose split was just computed (aufteilen() with `cent`):
// `konto` (bank or cash) against the split's main account, every split line as an
// entry of its own from the main account, then the `spende` row and the member's
// paid-until date. Returns UtilBuch's result for the main entry; inside the
// caller's transaction, which must roll back on a result below 1.
int UtilSpendeBuchen(SpendenAufteilung &aufteilung, const QDate &datum, const QString &beleg, const QString &konto,
                     qint64 cent);
