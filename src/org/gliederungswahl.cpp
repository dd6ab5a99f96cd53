#include "gliederungswahl.h"

// Placeholder until the unit chooser lands.
GliederungsWahl::GliederungsWahl(int, QWidget *parent) : QDialog(parent) {}
QString GliederungsWahl::text() const { return m_text; }
