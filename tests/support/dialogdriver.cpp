#include "dialogdriver.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QGridLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace DialogTreiber {

namespace {
bool g_gelaufen = false;

void pruefe(QPointer<QWidget> vorher, std::function<void(QDialog *)> aktion, int rest)
{
    QWidget *modal = QApplication::activeModalWidget();
    auto *dialog = qobject_cast<QDialog *>(modal);
    if (dialog && modal != vorher && dialog->isVisible()) {
        g_gelaufen = true;
        aktion(dialog);
        return;
    }
    if (rest <= 0)
        return;
    QTimer::singleShot(10, [vorher, aktion, rest] { pruefe(vorher, aktion, rest - 10); });
}
} // namespace

void beiModal(std::function<void(QDialog *)> aktion, int wartezeitMs)
{
    g_gelaufen = false;
    QPointer<QWidget> vorher = QApplication::activeModalWidget();
    QTimer::singleShot(0, [vorher, aktion, wartezeitMs] { pruefe(vorher, aktion, wartezeitMs); });
}

bool gelaufen() { return g_gelaufen; }

QAction *eintrag(QWidget *fenster, const QString &text)
{
    for (QAction *a : fenster->findChildren<QAction *>()) {
        if (a->text() == text || a->text().startsWith(text + QStringLiteral(" (")))
            return a;
    }
    return nullptr;
}

bool ueberMenue(QWidget *fenster, const QString &text, std::function<void(QDialog *)> aktion)
{
    QAction *a = eintrag(fenster, text);
    if (!a || !a->isEnabled())
        return false;
    beiModal(std::move(aktion));
    a->trigger();
    return gelaufen();
}

void tippe(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(widget, c.toLatin1());
        } else {
            // Umlauts and the like have no key code of their own: send the text alone.
            QTest::sendKeyEvent(QTest::Press, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }
}

void tippeReturn(QWidget *widget, const QString &text)
{
    widget->setFocus(Qt::OtherFocusReason);
    tippe(widget, text);
    QTest::keyClick(widget, Qt::Key_Return);
}

bool zeige(QWidget *fenster)
{
    fenster->show();
    QApplication::setActiveWindow(fenster);
    return QTest::qWaitForWindowActive(fenster);
}

bool alt(QWidget *fenster, int taste)
{
    for (QPushButton *k : fenster->findChildren<QPushButton *>()) {
        if (k->shortcut() != QKeySequence(Qt::ALT | taste) || !k->isEnabled())
            continue;
        // After a nested modal dialog has closed, the window must be active again.
        if (!zeige(fenster))
            return false;
        QSignalSpy klick(k, &QPushButton::clicked);
        QTest::keyClick(fenster, static_cast<Qt::Key>(taste), Qt::AltModifier);
        return klick.count() > 0 || klick.wait(1000);
    }
    return false;
}

QPushButton *knopf(QWidget *fenster, const QString &text)
{
    for (QPushButton *k : fenster->findChildren<QPushButton *>()) {
        if (k->text() == text)
            return k;
    }
    return nullptr;
}

QCheckBox *kasten(QWidget *fenster, const QString &text)
{
    for (QCheckBox *k : fenster->findChildren<QCheckBox *>()) {
        if (k->text() == text)
            return k;
    }
    return nullptr;
}

QWidget *feldBei(QWidget *bereich, const QString &beschriftung, int nr, int spalte)
{
    // Labels and fields may sit in any grid, nested layouts and tab pages included.
    int gezaehlt = 0;
    for (QLabel *label : bereich->findChildren<QLabel *>()) {
        if (label->text() != beschriftung)
            continue;
        for (QGridLayout *grid : label->window()->findChildren<QGridLayout *>()) {
            const int pos = grid->indexOf(label);
            if (pos < 0)
                continue;
            if (gezaehlt++ < nr)
                break;
            int r = 0, c = 0, rs = 0, cs = 0;
            grid->getItemPosition(pos, &r, &c, &rs, &cs);
            QLayoutItem *item = grid->itemAtPosition(r, c + spalte);
            return item ? item->widget() : nullptr;
        }
    }
    return nullptr;
}

void klicke(QAbstractItemView *view, const QModelIndex &index)
{
    view->scrollTo(index);
    const QPoint mitte = view->visualRect(index).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, mitte);
}

} // namespace DialogTreiber
