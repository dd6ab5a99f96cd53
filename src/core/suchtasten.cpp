#include "suchtasten.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QLineEdit>

SuchTasten::SuchTasten(QAbstractItemView *liste) : QObject(liste), m_liste(liste)
{
    m_liste->installEventFilter(this);
}

void SuchTasten::feld(QLineEdit *feld)
{
    feld->installEventFilter(this);
}

bool SuchTasten::eventFilter(QObject *objekt, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const int taste = static_cast<QKeyEvent *>(event)->key();
    const QModelIndex aktuell = m_liste->currentIndex();
    if (objekt == m_liste) {
        // Taken here, before the dialog's default button sees the key.
        if ((taste != Qt::Key_Return && taste != Qt::Key_Enter) || !aktuell.isValid()
            || !m_liste->selectionModel()->isSelected(aktuell))
            return false;
        emit gewaehlt(aktuell);
        return true;
    }
    const bool pfeil = taste == Qt::Key_Down || taste == Qt::Key_Up || taste == Qt::Key_PageDown
                       || taste == Qt::Key_PageUp;
    const QAbstractItemModel *modell = m_liste->model();
    if (!pfeil || !modell || modell->rowCount() == 0)
        return false;
    m_liste->setFocus(Qt::TabFocusReason);
    m_liste->setCurrentIndex(aktuell.isValid() ? aktuell : modell->index(0, 0));
    return true;
}
