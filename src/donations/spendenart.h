#pragma once

#include <QChar>
#include <QString>

class QDoubleSpinBox;
class QGridLayout;
class QWidget;

// The donation kinds stored in `spende.art` and `spendenparam.art`, in the
// order of the kind lists. Only "M" (membership fee) touches the member.
namespace SpendenArt {

constexpr int Anzahl = 6;

// Code of list position 0..5; any other position gives "Z".
QChar code(int index);

// List position of a code; an unknown code counts as "Z" (0).
int index(QChar code);

// Label in the kind lists.
QString text(int index);

// Creates the six share fields (index 0 International .. 5 Ortsverband) and puts
// them with their labels into the grid from `zeile` on, `jeZeile` shares a row,
// Ortsverband first, as the forms show them.
void anteilFelder(QGridLayout *grid, QDoubleSpinBox *(&proz)[6], int zeile, int jeZeile, QWidget *parent);

} // namespace SpendenArt
