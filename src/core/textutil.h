#pragma once

#include <QString>

class QDate;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QWidget;

// Input text made safe the way the whole system stores it: every apostrophe
// becomes a grave accent, whitespace is simplified. Empty input gives an empty, never a null text.
QString UtilSauber(const QString &text);

// The same, upper-cased (account numbers, short names, keys).
QString UtilSauberGross(const QString &text);

// A value with two decimals as a spin box shows it, to hundredths, rounded half away from zero.
qint64 UtilCent(double wert);

// Cents shown with two decimals in the system locale ("1.234,50" in German).
QString UtilBetragText(qint64 cent);

// A member number as owner key of address and bank rows ("%08i").
QString UtilMidKey(int mid);

// Dates as stored ("yyyy-MM-dd") and as shown ("dd.MM.yyyy").
QString UtilDatumText(const QDate &datum);
QDate UtilDatum(const QString &text);

// Marker dates that stand for "no date": shown as "—", stored as they are.
enum class LeerDatum {
    Keins,    // every date is a date
    Jahr1900, // 1 January 1900: none (birth date)
    Jahr2200, // 1 January 2200: not left (leaving date)
    Vor2000,  // every date before 2000: no receipt printed yet
};
bool UtilIstLeerDatum(const QDate &datum, LeerDatum art);
// The marker that an emptied field stores.
QDate UtilLeerDatum(LeerDatum art);
// A date as lists show it: "dd.MM.yyyy", "—" for a marker or no date.
QString UtilDatumZeige(const QDate &datum, LeerDatum art = LeerDatum::Keins);

// A share in percent: two decimals, 0 to 100, " %".
QDoubleSpinBox *UtilProzentFeld(QWidget *parent);

// A dialog button that is never a default button: Return belongs to the fields.
QPushButton *UtilKnopf(const QString &text, QWidget *parent);

// The sign beside a record dialog's key field; UtilNeu(label, true) makes it say
// "neu" while a record that is not stored yet is edited, false empties it.
QLabel *UtilNeuLabel(QWidget *parent);
void UtilNeu(QLabel *label, bool neu);

// Puts the focus into a field, first bringing the tab pages that hold it to the front.
void UtilFokus(QWidget *feld);

// "Soll der Datensatz gelöscht werden": true when the user chose Ok.
bool UtilQDelete();
