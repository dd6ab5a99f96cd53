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
    QTest::keyClicks(widget, text);
}

} // namespace DialogTreiber
