#pragma once

#include <QMessageBox>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QFileDialog;
class QPrinter;
class QWidget;

// Every question to the user outside a dialog's own widgets goes through here:
// message and question boxes, input boxes, file dialogs and the print dialog.
// A script (set by tests) answers instead of a modal window.
namespace Interaktion {

enum class Art {
    Information,
    Warnung,
    Frage,
    Kritisch,
    Ganzzahl,
    Text,
    DateiOeffnen,
    DateiSpeichern,
    Dateidialog,
    Drucken,
    Befehl
};

struct Anfrage
{
    Art art = Art::Information;
    QString titel;
    QString text;
    QMessageBox::StandardButtons knoepfe = QMessageBox::Ok;
    QMessageBox::StandardButton vorgabe = QMessageBox::NoButton;
    int zahl = 0;
    int min = 0;
    int max = 0;
    QString vorgabeText;
    QStringList argumente; // of a command; its program is the text
};

struct Antwort
{
    QMessageBox::StandardButton knopf = QMessageBox::NoButton; // message boxes
    bool ok = false;                                            // input, file and print dialogs
    int zahl = 0;                                               // integer input
    QString text;                                               // text input, file name, PDF file of a print
};

using Skript = std::function<Antwort(const Anfrage &)>;

// With a script set, no window opens; an empty script restores the real windows.
void setSkript(Skript skript);

QMessageBox::StandardButton meldung(Art art, QWidget *parent, const QString &titel, const QString &text,
                                    QMessageBox::StandardButtons knoepfe = QMessageBox::Ok,
                                    QMessageBox::StandardButton vorgabe = QMessageBox::NoButton);

inline QMessageBox::StandardButton information(QWidget *parent, const QString &titel, const QString &text)
{
    return meldung(Art::Information, parent, titel, text);
}
inline QMessageBox::StandardButton warnung(QWidget *parent, const QString &titel, const QString &text)
{
    return meldung(Art::Warnung, parent, titel, text);
}
inline QMessageBox::StandardButton kritisch(QWidget *parent, const QString &titel, const QString &text,
                                            QMessageBox::StandardButtons knoepfe = QMessageBox::Ok)
{
    return meldung(Art::Kritisch, parent, titel, text, knoepfe);
}
inline QMessageBox::StandardButton frage(QWidget *parent, const QString &titel, const QString &text,
                                         QMessageBox::StandardButtons knoepfe,
                                         QMessageBox::StandardButton vorgabe = QMessageBox::NoButton)
{
    return meldung(Art::Frage, parent, titel, text, knoepfe, vorgabe);
}

std::optional<int> ganzzahl(QWidget *parent, const QString &titel, const QString &label, int wert, int min,
                            int max);
std::optional<QString> textEingabe(QWidget *parent, const QString &titel, const QString &label,
                                   const QString &vorgabe = QString());

// Empty text when cancelled.
QString dateiOeffnen(QWidget *parent, const QString &titel, const QString &verzeichnis = QString(),
                     const QString &filter = QString());
QString dateiSpeichern(QWidget *parent, const QString &titel, const QString &verzeichnis = QString(),
                       const QString &filter = QString());

// Runs a prepared file dialog; a script's answer text becomes its selected file.
bool dateidialog(QFileDialog &dialog);

// The print dialog; a script's answer prints into the PDF file named by its text.
bool druckDialog(QPrinter &printer, QWidget *parent);

// Runs `programm` with `argumente`, without a shell, and waits for its end: its exit
// code, -1 when it did not start or crashed. For commands that ask the user (for a
// password); a script's answer number is the exit code instead.
int befehl(const QString &programm, const QStringList &argumente);

} // namespace Interaktion
