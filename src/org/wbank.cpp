#include "wbank.h"

#include "db.h"
#include "textutil.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace {

QLineEdit *feld(QWidget *parent, int breite, int laenge)
{
    auto *f = new QLineEdit(parent);
    f->setFixedWidth(breite);
    f->setMaxLength(laenge);
    return f;
}

} // namespace

WBank::WBank(QWidget *parent)
    : m_inhaber(feld(parent, 230, 27)), m_nummer(feld(parent, 110, 12)), m_blz(feld(parent, 75, 8)),
      m_bank(feld(parent, 230, 27)), m_bic(feld(parent, 130, 12)), m_iban(feld(parent, 330, 35))
{
}

QLineEdit *WBank::KontoInh() const { return m_inhaber; }
QLineEdit *WBank::KontoNr() const { return m_nummer; }
QLineEdit *WBank::KontoBlz() const { return m_blz; }
QLineEdit *WBank::KontoBank() const { return m_bank; }
QLineEdit *WBank::KontoBic() const { return m_bic; }
QLineEdit *WBank::KontoIban() const { return m_iban; }

QList<QLineEdit *> WBank::felder() const
{
    return {m_inhaber, m_nummer, m_blz, m_bank, m_bic, m_iban};
}

void WBank::FuellLayout(QGridLayout *layout, int zeile, int spalte)
{
    QWidget *eltern = m_inhaber->parentWidget();
    auto beschriftung = [&](const QString &text, int z, QWidget *feld) {
        auto *label = new QLabel(text, eltern);
        label->setBuddy(feld);
        layout->addWidget(label, z, spalte);
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

void WBank::setEnabled(bool an)
{
    for (QLineEdit *f : felder())
        f->setEnabled(an);
}

void WBank::clear()
{
    for (QLineEdit *f : felder())
        f->clear();
}

void WBank::pFelder()
{
    m_wInhaber = UtilSauber(m_inhaber->text());
    m_wNummer = UtilSauber(m_nummer->text());
    m_wBlz = UtilSauber(m_blz->text());
    m_wBank = UtilSauber(m_bank->text());
    m_wBic = UtilSauber(m_bic->text());
    m_wIban = UtilSauber(m_iban->text());
}

bool WBank::isEmpty()
{
    pFelder();
    return m_wInhaber.isEmpty() && m_wNummer.isEmpty() && m_wBlz.isEmpty() && m_wBank.isEmpty()
        && m_wBic.isEmpty() && m_wIban.isEmpty();
}

void WBank::read(const QString &art, const QString &key)
{
    QSqlQuery q = Db::abfrage(
        QStringLiteral("SELECT inhaber,nummer,blz,bank,bic,iban FROM bankverbindung WHERE art=? AND key=?"),
        {art, key});
    if (!q.next())
        return;
    const QList<QLineEdit *> alle = felder();
    for (int i = 0; i < alle.size(); ++i)
        alle.at(i)->setText(q.value(i).toString());
}

void WBank::write(const QString &art, const QString &key)
{
    if (isEmpty()) {
        del(art, key);
        return;
    }
    const int geaendert = Db::ausfuehren(
        QStringLiteral("UPDATE bankverbindung SET inhaber=?,nummer=?,blz=?,bank=?,bic=?,iban=?"
                       " WHERE art=? AND key=?"),
        {m_wInhaber, m_wNummer, m_wBlz, m_wBank, m_wBic, m_wIban, art, key});
    if (geaendert < 1)
        Db::ausfuehren(QStringLiteral("INSERT INTO bankverbindung (art,key,inhaber,nummer,blz,bank,bic,iban)"
                                      " VALUES (?,?,?,?,?,?,?,?)"),
                       {art, key, m_wInhaber, m_wNummer, m_wBlz, m_wBank, m_wBic, m_wIban});
}

void WBank::del(const QString &art, const QString &key)
{
    Db::ausfuehren(QStringLiteral("DELETE FROM bankverbindung WHERE art=? AND key=?"), {art, key});
}
