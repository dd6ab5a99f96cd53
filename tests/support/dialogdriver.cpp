#include "dialogdriver.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>
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

} // namespace DialogTreiber
