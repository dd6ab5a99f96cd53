#include "wbank.h"

#include <QLineEdit>

// Placeholder until the bank block lands.
WBank::WBank(QWidget *parent)
    : m_inhaber(new QLineEdit(parent)), m_nummer(new QLineEdit(parent)), m_blz(new QLineEdit(parent)),
      m_bank(new QLineEdit(parent)), m_bic(new QLineEdit(parent)), m_iban(new QLineEdit(parent))
{
}
QLineEdit *WBank::KontoInh() const { return m_inhaber; }
QLineEdit *WBank::KontoNr() const { return m_nummer; }
QLineEdit *WBank::KontoBlz() const { return m_blz; }
QLineEdit *WBank::KontoBank() const { return m_bank; }
QLineEdit *WBank::KontoBic() const { return m_bic; }
QLineEdit *WBank::KontoIban() const { return m_iban; }
void WBank::FuellLayout(QGridLayout *, int, int) {}
void WBank::setEnabled(bool) {}
void WBank::clear() {}
void WBank::pFelder() {}
bool WBank::isEmpty() { return true; }
void WBank::read(const QString &, const QString &) {}
void WBank::write(const QString &, const QString &) {}
void WBank::del(const QString &, const QString &) {}
