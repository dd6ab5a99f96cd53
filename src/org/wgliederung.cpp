#include "wgliederung.h"

// Placeholder until the unit button lands.
WGliederung::WGliederung(QWidget *parent) : QPushButton(parent) { setAutoDefault(false); }
void WGliederung::setEbene(int ebene) { m_ebene = ebene; }
void WGliederung::setText(const QString &text)
{
    QPushButton::setText(text);
    m_ebene = 9;
}
void WGliederung::pClicked() {}
