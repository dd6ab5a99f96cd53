#include "wdatum.h"

#include <QKeyEvent>
#include <QLineEdit>

WDatum::WDatum(const QDate &datum, QWidget *parent) : QDateEdit(parent)
{
    setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    setDatum(datum);
}

void WDatum::setLeer(LeerDatum art)
{
    const QDate vorher = datum();
    m_art = art;
    // The lowest date of the field stands for "empty" and shows like a marker in lists.
    setSpecialValueText(art == LeerDatum::Keins ? QString() : UtilDatumZeige(UtilLeerDatum(art), art));
    setDatum(vorher);
}

QDate WDatum::datum() const
{
    return istLeer() ? m_leerWert : date();
}

void WDatum::setDatum(const QDate &datum)
{
    if (m_art != LeerDatum::Keins && (!datum.isValid() || UtilIstLeerDatum(datum, m_art))) {
        m_leerWert = datum.isValid() ? datum : UtilLeerDatum(m_art);
        setDate(minimumDate());
        return;
    }
    m_leerWert = UtilLeerDatum(m_art);
    setDate(datum);
}

bool WDatum::istLeer() const
{
    // An emptied text counts before the field is left, too.
    return m_art != LeerDatum::Keins && (date() == minimumDate() || lineEdit()->text().trimmed().isEmpty());
}

bool WDatum::focusNextPrevChild(bool next)
{
    // The date edit would step through its sections; Tab belongs to the dialog.
    return QWidget::focusNextPrevChild(next);
}

void WDatum::keyPressEvent(QKeyEvent *event)
{
    // Typing into an empty field starts from today, with the day to be overwritten.
    if (istLeer()) {
        const int taste = event->key();
        const bool ziffer = !event->text().isEmpty() && event->text().at(0).isDigit();
        if (ziffer || taste == Qt::Key_Up || taste == Qt::Key_Down) {
            setDate(QDate::currentDate());
            setCurrentSection(QDateTimeEdit::DaySection);
            setSelectedSection(QDateTimeEdit::DaySection);
            if (!ziffer)
                return;
        }
    }
    QDateEdit::keyPressEvent(event);
}

void WDatum::fixup(QString &input) const
{
    // An emptied field is empty, not the date it had before.
    if (m_art != LeerDatum::Keins && input.trimmed().isEmpty()) {
        input = specialValueText();
        return;
    }
    QDateEdit::fixup(input);
}
