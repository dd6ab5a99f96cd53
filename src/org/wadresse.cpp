#include "wadresse.h"

#include <QLineEdit>

// Placeholder until the address block lands.
WAdresse::WAdresse(int variante, QWidget *parent)
    : m_name1(new QLineEdit(parent)), m_name2(variante ? new QLineEdit(parent) : nullptr),
      m_strasse(new QLineEdit(parent)), m_plz(new QLineEdit(parent)), m_ort(new QLineEdit(parent)),
      m_land(new QLineEdit(parent)), m_mail(new QLineEdit(parent))
{
}
QLineEdit *WAdresse::Name1() const { return m_name1; }
QLineEdit *WAdresse::Name2() const { return m_name2; }
QLineEdit *WAdresse::Strasse() const { return m_strasse; }
QLineEdit *WAdresse::Plz() const { return m_plz; }
QLineEdit *WAdresse::Ort() const { return m_ort; }
QLineEdit *WAdresse::Land() const { return m_land; }
QLineEdit *WAdresse::Mail() const { return m_mail; }
void WAdresse::FuellLayout(QGridLayout *, int, int) {}
void WAdresse::setEnabled(bool) {}
void WAdresse::clear() {}
void WAdresse::pFelder() {}
bool WAdresse::isEmpty() { return true; }
void WAdresse::read(const QString &, const QString &) {}
void WAdresse::write(const QString &, const QString &) {}
void WAdresse::del(const QString &, const QString &) {}
