#include "wmitglied.h"

#include "midsuche.h"
#include "textutil.h"

WMitglied::WMitglied(bool anlegen, QWidget *parent) : QLineEdit(parent), m_anlegen(anlegen)
{
    setFixedSize(95, 25);
    setAlignment(Qt::AlignRight);
    connect(this, &QLineEdit::returnPressed, this, &WMitglied::pEnter);
    // Also after a search: the owner loads the chosen number once editing ends.
    connect(this, &QLineEdit::editingFinished, this, &WMitglied::finished);
}

int WMitglied::getInt() const
{
    return text().simplified().toInt();
}

QString WMitglied::getKey() const
{
    const int mid = getInt();
    return mid < 1 ? QString() : UtilMidKey(mid);
}

void WMitglied::pEnter()
{
    const QString s = text().simplified().toUpper();
    const bool suche = s.startsWith(QLatin1Char('P')) || s.startsWith(QLatin1Char('N'))
                       || s.startsWith(QLatin1Char('M')) || s.endsWith(QLatin1Char('?'));
    if (!suche) {
        emit finished();
        return;
    }
    MIDSuche dialog(m_anlegen, this);
    if (dialog.exec(s) == QDialog::Accepted)
        setText(QString::number(dialog.auswahl()));
    setFocus();
}
