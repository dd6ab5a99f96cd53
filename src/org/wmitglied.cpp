#include "wmitglied.h"

#include "midsuche.h"
#include "textutil.h"

namespace {

// Frame and text margins of a line edit, on either side.
const int kRand = 8;

} // namespace

WMitglied::WMitglied(bool anlegen, QWidget *parent) : QLineEdit(parent), m_anlegen(anlegen)
{
    setAlignment(Qt::AlignRight);
    setPlaceholderText(QStringLiteral("Nr., NName, Name?"));
    setToolTip(QStringLiteral("Mitgliedsnummer; zum Suchen N und Nachname (NMeier), P und Postleitzahl (P530) "
                              "oder Name mit Fragezeichen (Meier?)"));
    // At least as wide as the layouts expect, wide enough for the hint.
    setFixedSize(qMax(95, fontMetrics().horizontalAdvance(placeholderText()) + 2 * kRand), 25);
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
