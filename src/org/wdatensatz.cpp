#include "wdatensatz.h"

#include "db.h"
#include "textutil.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSqlQuery>

WDatensatz::WDatensatz(const QString &tabelle, QWidget *parent) : m_tabelle(tabelle), m_eltern(parent) {}

QLineEdit *WDatensatz::neueSpalte(const QString &name, int breite, int laenge, bool mitFeld)
{
    QLineEdit *feld = nullptr;
    if (mitFeld) {
        feld = new QLineEdit(m_eltern);
        feld->setFixedWidth(breite);
        feld->setMaxLength(laenge);
    }
    m_spalten << name;
    m_felder << feld;
    m_werte << QStringLiteral("");
    return feld;
}

void WDatensatz::beschrifte(QGridLayout *layout, const QString &text, int zeile, int spalte, QLineEdit *feld) const
{
    auto *label = new QLabel(text, m_eltern);
    label->setBuddy(feld);
    layout->addWidget(label, zeile, spalte);
}

QString WDatensatz::speicherForm(int, const QString &text) const
{
    return UtilSauber(text);
}

QString WDatensatz::anzeigeForm(int, const QString &wert) const
{
    return wert;
}

void WDatensatz::setEnabled(bool an)
{
    for (QLineEdit *f : m_felder) {
        if (f)
            f->setEnabled(an);
    }
}

void WDatensatz::clear()
{
    for (QLineEdit *f : m_felder) {
        if (f)
            f->clear();
    }
}

void WDatensatz::pFelder()
{
    // An empty text, never a null one: the columns hold "" and never NULL.
    for (int i = 0; i < m_felder.size(); ++i) {
        const QString w = m_felder.at(i) ? speicherForm(i, m_felder.at(i)->text()) : QString();
        m_werte[i] = w.isNull() ? QStringLiteral("") : w;
    }
}

bool WDatensatz::isEmpty()
{
    pFelder();
    for (const QString &w : m_werte) {
        if (!w.isEmpty())
            return false;
    }
    return true;
}

void WDatensatz::read(const QString &art, const QString &key)
{
    QSqlQuery q = Db::abfrage(QStringLiteral("SELECT ") + m_spalten.join(QLatin1Char(',')) + QStringLiteral(" FROM ")
                                  + m_tabelle + QStringLiteral(" WHERE art=? AND key=?"),
                              {art, key});
    if (!q.next())
        return;
    for (int i = 0; i < m_felder.size(); ++i) {
        if (m_felder.at(i))
            m_felder.at(i)->setText(anzeigeForm(i, q.value(i).toString()));
    }
}

void WDatensatz::write(const QString &art, const QString &key)
{
    if (isEmpty()) {
        del(art, key);
        return;
    }
    const QStringList spalten = zusatzSpalten() + m_spalten;
    QVariantList werte = zusatzWerte();
    for (const QString &w : m_werte)
        werte << w;
    const int geaendert = Db::ausfuehren(QStringLiteral("UPDATE ") + m_tabelle + QStringLiteral(" SET ")
                                             + spalten.join(QStringLiteral("=?,"))
                                             + QStringLiteral("=? WHERE art=? AND key=?"),
                                         werte + QVariantList{art, key});
    if (geaendert < 1) {
        const QString platzhalter = QStringLiteral(",?").repeated(spalten.size());
        Db::ausfuehren(QStringLiteral("INSERT INTO ") + m_tabelle + QStringLiteral(" (art,key,")
                           + spalten.join(QLatin1Char(',')) + QStringLiteral(") VALUES (?,?") + platzhalter
                           + QLatin1Char(')'),
                       QVariantList{art, key} + werte);
    }
}

void WDatensatz::del(const QString &art, const QString &key)
{
    Db::ausfuehren(QStringLiteral("DELETE FROM ") + m_tabelle + QStringLiteral(" WHERE art=? AND key=?"), {art, key});
}
