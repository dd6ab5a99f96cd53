#pragma once

#include <QString>

// The settings cache: filled from the table `parameter` on first use and
// reloaded only by UtilInit(true) (after the settings dialog saves).
void UtilInit(bool force);

// Forgets every cached value, as at program start (another database file was opened).
void UtilInitLeeren();

QString UtilSelbst();       // short name of the own unit
int UtilSelbstEbene();      // its level, 0 when unknown
int UtilBeitragAb();        // 0 "Monat nach Gründung", 1 "Jahr nach Gründung", 2 "Kein eigener Einzug"
qint64 UtilSpendeMin();     // minimum receipt amount in cents
QString UtilSpendeAdr(int n); // receipt texts 1..6, empty otherwise
QString UtilSpendeName();   // issuer name in the receipts' header, "Feldmarkbund Deutschland" when not set
// What the issuer name is when the setting is missing or empty.
QString UtilSpendeNameVorgabe();
QString UtilBankGebKonto(); // bank-fee account

// Settings of the account scheme.
QString UtilAbgrAktiv();
QString UtilAbgrPassiv();
QString UtilPrefGliederung();
QString UtilPrefMitglied();
QString UtilPrefLief();
int UtilAddMitglied();
