#include "spende.h"

// Placeholder until the donation split lands.
Spende::Spende(QWidget *parent) : QDialog(parent) {}
int Spende::exec(qint64) { return QDialog::Rejected; }
void Spende::read(const QDate &, int) {}
void Spende::write(const QDate &, int) {}
void Spende::clear() {}
void Spende::setParam(int, QChar, const QDate &) {}
void Spende::aufteilung(bool, int, qint64, qint64 *betrag, QString *konto, QString *text)
{
    *betrag = 0;
    konto->clear();
    text->clear();
}
QString Spende::disName() const { return QString(); }
