#include "wadresse.h"

#include "suchname.h"

#include <QGridLayout>
#include <QLineEdit>

WAdresse::WAdresse(int variante, QWidget *parent)
    : WDatensatz(QStringLiteral("adresse"), parent), m_name1(neueSpalte(QStringLiteral("name1"), 525, 60)),
      m_name2(neueSpalte(QStringLiteral("name2"), 525, 60, variante != 0)),
      m_strasse(neueSpalte(QStringLiteral("strasse"), 525, 60)), m_plz(neueSpalte(QStringLiteral("plz"), 95, 10)),
      m_ort(neueSpalte(QStringLiteral("ort"), 525, 60)), m_land(neueSpalte(QStringLiteral("land"), 525, 60)),
      m_mail(neueSpalte(QStringLiteral("mail"), 625, 80))
{
}

void WAdresse::FuellLayout(QGridLayout *layout, int zeile, int spalte)
{
    auto beschriftung = [&](const QString &text, int z, QLineEdit *feld) {
        beschrifte(layout, text, z, spalte, feld);
    };
    int z = zeile;
    if (m_name2) {
        beschriftung(QStringLiteral("Vorname"), z, m_name2);
        layout->addWidget(m_name2, z++, spalte + 1, 1, 6);
        beschriftung(QStringLiteral("Nachname"), z, m_name1);
    } else {
        beschriftung(QStringLiteral("Name"), z, m_name1);
    }
    layout->addWidget(m_name1, z++, spalte + 1, 1, 6);
    beschriftung(QStringLiteral("Strasse"), z, m_strasse);
    layout->addWidget(m_strasse, z++, spalte + 1, 1, 6);
    beschriftung(QStringLiteral("PLZ/Ort"), z, m_plz);
    layout->addWidget(m_plz, z, spalte + 1);
    layout->addWidget(m_ort, z++, spalte + 2, 1, 6);
    beschriftung(QStringLiteral("Land"), z, m_land);
    layout->addWidget(m_land, z++, spalte + 1, 1, 6);
    beschriftung(QStringLiteral("Email"), z, m_mail);
    layout->addWidget(m_mail, z, spalte + 1, 1, 6);
}

QStringList WAdresse::zusatzSpalten() const
{
    return {QStringLiteral("suchname")};
}

QVariantList WAdresse::zusatzWerte() const
{
    return {SuchName(wert(0), wert(1))};
}
