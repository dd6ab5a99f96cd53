#pragma once

#include <QString>

#include <functional>

class QDialog;
class QWidget;

// Drives modal dialogs from a test: the action runs on the next modal dialog
// that opens after this call (polled from the event loop), so a test can type
// into a dialog whose exec() it has just started.
namespace DialogTreiber {

void beiModal(std::function<void(QDialog *)> aktion, int wartezeitMs = 5000);

// True when the action of the last beiModal call ran.
bool gelaufen();

// Types text into a widget key by key, as the user does.
void tippe(QWidget *widget, const QString &text);

} // namespace DialogTreiber
