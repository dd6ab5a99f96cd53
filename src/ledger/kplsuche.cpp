#include "kplsuche.h"

// Placeholder until the chart search lands.
KplSuche::KplSuche(bool, QWidget *parent) : QDialog(parent) {}
int KplSuche::exec(const QString &) { return QDialog::Rejected; }
QString KplSuche::auswahl() const { return m_auswahl; }
