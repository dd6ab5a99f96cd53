#pragma once

#include <QString>

class QDate;
class QDateEdit;
class QDoubleSpinBox;
class QPushButton;
class QWidget;

// Input text made safe the way the whole system stores it: every apostrophe
// becomes a grave accent, whitespace is simplified.
QString UtilSauber(const QString &text);

// The same, upper-cased (account numbers, short names, keys).
QString UtilSauberGross(const QString &text);

// Euros as shown in a spin box to cents, rounded half away from zero.
qint64 UtilCent(double euro);

// Cents shown with two decimals in the system locale ("1.234,50" in German).
QString UtilBetragText(qint64 cent);

// A member number as owner key of address and bank rows ("%08i").
QString UtilMidKey(int mid);

// Dates as stored ("yyyy-MM-dd") and as shown ("dd.MM.yyyy").
QString UtilDatumText(const QDate &datum);
QDate UtilDatum(const QString &text);

// The amount spin box of all ledger dialogs: two decimals, " EUR", +-99999999.99.
QDoubleSpinBox *UtilBetragFeld(QWidget *parent, int breite = 150);

// A share in percent: two decimals, 0 to 100, " %".
QDoubleSpinBox *UtilProzentFeld(QWidget *parent);

// A date edit showing "dd.MM.yyyy".
QDateEdit *UtilDatumFeld(const QDate &datum, QWidget *parent);

// A dialog button that is never a default button: Return belongs to the fields.
QPushButton *UtilKnopf(const QString &text, QWidget *parent);
