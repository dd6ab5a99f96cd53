#include "wmandat.h"

#include "db.h"
#include "iban.h"
#include "wdatum.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSqlQuery>

WMandat::WMandat(QWidget *parent) : m_referenz(new QLineEdit(parent)), m_datum(new WDatum(QDate(), parent))
{
    m_referenz->setObjectName(QStringLiteral("mandatref"));
    m_referenz->setMaxLength(35);
    m_referenz->setFixedWidth(330);
    m_datum->setObjectName(QStringLiteral("mandatdatum"));
    m_datum->setLeer(LeerDatum::Jahr1900);
}

void WMandat::FuellLayout(QGridLayout *layout, int zeile, int spalte)
{
    QWidget *eltern = m_referenz->parentWidget();
    auto *label = new QLabel(QStringLiteral("Mandatsreferenz"), eltern);
    label->setBuddy(m_referenz);
    layout->addWidget(label, zeile, spalte);
    layout->addWidget(m_referenz, zeile, spalte + 1, 1, 3);
    label = new QLabel(QStringLiteral("Unterschrieben"), eltern);
    label->setBuddy(m_datum);
    layout->addWidget(label, zeile + 1, spalte);
    layout->addWidget(m_datum, zeile + 1, spalte + 1);
}

void WMandat::setEnabled(bool an)
{
    m_referenz->setEnabled(an);
    m_datum->setEnabled(an);
}

void WMandat::clear()
{
    m_referenz->clear();
    m_referenz->setPlaceholderText(QString());
    m_datum->setDatum(QDate());
}

void WMandat::read(const QString &key, int mid)
{
    clear();
    m_referenz->setPlaceholderText(QString::number(mid));
    QSqlQuery q = Db::abfrage(
        QStringLiteral("SELECT mandatref,mandatdatum FROM bankverbindung WHERE art='M' AND key=?"), {key});
    if (!q.next())
        return;
    m_referenz->setText(q.value(0).toString());
    m_datum->setDatum(UtilDatum(q.value(1).toString()));
}

void WMandat::write(const QString &key) const
{
    const QString referenz = m_referenz->text().trimmed();
    const QVariant leer(QMetaType::fromType<QString>());
    Db::ausfuehren(QStringLiteral("UPDATE bankverbindung SET mandatref=?,mandatdatum=? WHERE art='M' AND key=?"),
                   {referenz.isEmpty() ? leer : referenz, m_datum->istLeer() ? leer : m_datum->datumText(), key});
}

bool WMandat::pruefen(QLabel *hinweis) const
{
    const QString referenz = m_referenz->text().trimmed();
    if (referenz.isEmpty())
        return true;
    const QString grund = Iban::mandatsreferenzFehler(referenz);
    if (grund.isEmpty())
        return true;
    hinweis->setText(grund);
    UtilFokus(m_referenz);
    return false;
}
