#pragma once

#include <QString>

// The account scheme: chart accounts, and personal accounts of units, suppliers
// and members formed from a prefix of the settings and the owner's key.

// Member account: member prefix + decimal(mid + addition); a negative mid gives the prefix alone.
QString UtilMIDKonto(int mid);

// Unit account: unit prefix + bukto (no database access).
QString UtilGlKonto(const QString &bukto);

// Supplier account of the supplier called `name`.
QString UtilLsKonto(const QString &name);

// Display text of an account, empty when unknown.
QString UtilKtoText(const QString &konto);

// The account in the form its owner's account is built (a member account as
// UtilMIDKonto forms it), or empty when the account resolves to no one: not in
// the chart and no unit, supplier or member with an address owns it.
QString UtilKtoKanon(const QString &konto);

// A donation's amount from the donor's side, from the first line of its entry:
// as it stands on bank and cash accounts, turned on the member's own account
// and on income accounts. 1 or -1.
int UtilSpendeVorzeichen(const QString &konto, const QString &mitgliedKonto);
