#pragma once

#include <QObject>
#include <QString>
#include <QWidget>

#include <functional>

class QAbstractItemView;
class QAction;
class QCheckBox;
class QDialog;
class QModelIndex;
class QPushButton;

// Drives dialogs from a test the way the user does.
namespace DialogTreiber {

// Runs the action on the next modal dialog that opens after this call (polled
// from the event loop), so a test can type into a dialog whose exec() it has just started.
void beiModal(std::function<void(QDialog *)> aktion, int wartezeitMs = 5000);

// True when the action of the last beiModal call ran.
bool gelaufen();

// Types text key by key; umlauts arrive as key text.
void tippe(QWidget *widget, const QString &text);

// Types text into a field and presses Return.
void tippeReturn(QWidget *widget, const QString &text);

// The menu entry of a window with this text, also when the text goes on with a
// state in brackets ("&Emails (ok)"); nullptr when there is none.
QAction *eintrag(QWidget *fenster, const QString &text);

// Chooses the menu entry as the user does and runs `aktion` on the dialog it opens.
// False when the entry is missing or disabled, or no dialog opened.
bool ueberMenue(QWidget *fenster, const QString &text, std::function<void(QDialog *)> aktion);

// Shows the window and makes it active, so that its shortcuts work.
bool zeige(QWidget *fenster);

// Alt+key on the window; waits until the button with that mnemonic has clicked
// (mnemonics click after a short animation). False when no enabled button took it.
bool alt(QWidget *fenster, int taste);

// The push button with exactly this text, or nullptr.
QPushButton *knopf(QWidget *fenster, const QString &text);

// The check box with exactly this text, or nullptr.
QCheckBox *kasten(QWidget *fenster, const QString &text);

// The widget `spalte` grid columns right of the nr-th label with this text.
QWidget *feldBei(QWidget *bereich, const QString &beschriftung, int nr = 0, int spalte = 1);
template <typename T>
T *feldBei(QWidget *bereich, const QString &beschriftung, int nr = 0, int spalte = 1)
{
    return qobject_cast<T *>(feldBei(bereich, beschriftung, nr, spalte));
}

// A mouse click on a row of a list or tree.
void klicke(QAbstractItemView *view, const QModelIndex &index);

} // namespace DialogTreiber
