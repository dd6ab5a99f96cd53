#include "wbank.h"

#include <QGridLayout>
#include <QLineEdit>

WBank::WBank(QWidget *parent)
    : WDatensatz(QStringLiteral("bankverbindung"), parent), m_inhaber(neueSpalte(QStringLiteral("inhaber"), 230, 27)),
      m_nummer(neueSpalte(QStringLiteral("nummer"), 110, 12)), m_blz(neueSpalte(QStringLiteral("blz"), 75, 8)),
      m_bank(neueSpalte(QStringLiteral("bank"), 230, 27)), m_bic(neueSpalte(QStringLiteral("bic"), 130, 12)),
      m_iban(neueSpalte(QStringLiteral("iban"), 330, 35))
{
}

void WBank::FuellLayout(QGridLayout *layout, int zeile, int spalte)
{
    auto beschriftung = [&](const QString &text, int z, QLineEdit *feld) {
        beschrifte(layout, text, z, spalte, feld);
    };
    beschriftung(QStringLiteral("Konto Inhaber"), zeile, m_inhaber);
    layout->addWidget(m_inhaber, zeile, spalte + 1, 1, 2);
    beschriftung(QStringLiteral("Konto Nr./BLZ."), zeile + 1, m_nummer);
    layout->addWidget(m_nummer, zeile + 1, spalte + 1);
    layout->addWidget(m_blz, zeile + 1, spalte + 2);
    beschriftung(QStringLiteral("Bank"), zeile + 2, m_bank);
    layout->addWidget(m_bank, zeile + 2, spalte + 1, 1, 2);
    beschriftung(QStringLiteral("BIC"), zeile + 3, m_bic);
    layout->addWidget(m_bic, zeile + 3, spalte + 1);
    beschriftung(QStringLiteral("IBAN"), zeile + 4, m_iban);
    layout->addWidget(m_iban, zeile + 4, spalte + 1, 1, 3);
}

