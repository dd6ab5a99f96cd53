#include "lssuche.h"

// Placeholder until the supplier search lands.
LsSuche::LsSuche(bool, QWidget *parent) : QDialog(parent) {}
int LsSuche::exec(const QString &) { return QDialog::Rejected; }
QString LsSuche::auswahl() const { return m_auswahl; }
