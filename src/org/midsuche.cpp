#include "midsuche.h"

// Placeholder until the member search lands.
MIDSuche::MIDSuche(bool, QWidget *parent) : QDialog(parent) {}
int MIDSuche::exec(const QString &) { return QDialog::Rejected; }
int MIDSuche::auswahl() const { return m_auswahl; }
