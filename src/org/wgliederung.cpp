#include "wgliederung.h"

#include "gliederungswahl.h"

WGliederung::WGliederung(QWidget *parent) : QPushButton(parent)
{
    // Return in the surrounding dialog must never open the chooser.
    setAutoDefault(false);
    setDefault(false);
    connect(this, &QPushButton::clicked, this, &WGliederung::pClicked);
}

void WGliederung::setEbene(int ebene)
{
    m_ebene = ebene;
}

void WGliederung::setText(const QString &text)
{
    QPushButton::setText(text);
    m_ebene = 9;
}

void WGliederung::pClicked()
{
    GliederungsWahl wahl(m_ebene, this);
    if (wahl.exec() == QDialog::Accepted)
        setText(wahl.text());
}
