#include "wkonto.h"

#include "textutil.h"

#include <QLabel>

// Placeholder until the account field lands.
WKonto::WKonto(QLabel *label, bool anlegen, QWidget *parent) : QLineEdit(parent), m_label(label), m_anlegen(anlegen)
{
    setFixedSize(150, 25);
}

QString WKonto::text() const
{
    const QString s = UtilSauberGross(QLineEdit::text());
    return s.size() >= 2 && s.at(0).isDigit() && s.at(1).isDigit() ? s : QString();
}

void WKonto::setLabel(QLabel *label) { m_label = label; }
void WKonto::pChanged() {}
void WKonto::pEnter() {}
void WKonto::focusOutEvent(QFocusEvent *event) { QLineEdit::focusOutEvent(event); }
