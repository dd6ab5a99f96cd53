#include "wmitglied.h"

#include "textutil.h"

// Placeholder until the member field lands.
WMitglied::WMitglied(bool anlegen, QWidget *parent) : QLineEdit(parent), m_anlegen(anlegen) {}
int WMitglied::getInt() const { return text().simplified().toInt(); }
QString WMitglied::getKey() const { return getInt() < 1 ? QString() : UtilMidKey(getInt()); }
