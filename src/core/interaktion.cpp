#include "interaktion.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>

namespace Interaktion {

namespace {

Skript &skript()
{
    static Skript s;
    return s;
}

QMessageBox::Icon icon(Art art)
{
    switch (art) {
    case Art::Warnung:
        return QMessageBox::Warning;
    case Art::Frage:
        return QMessageBox::Question;
    case Art::Kritisch:
        return QMessageBox::Critical;
    default:
        return QMessageBox::Information;
    }
}

} // namespace

void setSkript(Skript s) { skript() = std::move(s); }

QMessageBox::StandardButton meldung(Art art, QWidget *parent, const QString &titel, const QString &text,
                                    QMessageBox::StandardButtons knoepfe, QMessageBox::StandardButton vorgabe)
{
    if (skript()) {
        Anfrage a;
        a.art = art;
        a.titel = titel;
        a.text = text;
        a.knoepfe = knoepfe;
        a.vorgabe = vorgabe;
        return skript()(a).knopf;
    }
    QMessageBox box(icon(art), titel, text, knoepfe, parent);
    if (vorgabe != QMessageBox::NoButton)
        box.setDefaultButton(vorgabe);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

std::optional<int> ganzzahl(QWidget *parent, const QString &titel, const QString &label, int wert, int min,
                            int max)
{
    if (skript()) {
        Anfrage a;
        a.art = Art::Ganzzahl;
        a.titel = titel;
        a.text = label;
        a.zahl = wert;
        a.min = min;
        a.max = max;
        const Antwort antwort = skript()(a);
        if (!antwort.ok || antwort.zahl < min || antwort.zahl > max)
            return std::nullopt;
        return antwort.zahl;
    }
    bool ok = false;
    const int n = QInputDialog::getInt(parent, titel, label, wert, min, max, 1, &ok);
    return ok ? std::optional<int>(n) : std::nullopt;
}

std::optional<QString> textEingabe(QWidget *parent, const QString &titel, const QString &label,
                                   const QString &vorgabe)
{
    if (skript()) {
        Anfrage a;
        a.art = Art::Text;
        a.titel = titel;
        a.text = label;
        a.vorgabeText = vorgabe;
        const Antwort antwort = skript()(a);
        return antwort.ok ? std::optional<QString>(antwort.text) : std::nullopt;
    }
    bool ok = false;
    const QString s = QInputDialog::getText(parent, titel, label, QLineEdit::Normal, vorgabe, &ok);
    return ok ? std::optional<QString>(s) : std::nullopt;
}

namespace {
QString dateiWahl(Art art, QWidget *parent, const QString &titel, const QString &verzeichnis,
                  const QString &filter)
{
    if (skript()) {
        Anfrage a;
        a.art = art;
        a.titel = titel;
        a.vorgabeText = verzeichnis;
        const Antwort antwort = skript()(a);
        return antwort.ok ? antwort.text : QString();
    }
    return art == Art::DateiOeffnen ? QFileDialog::getOpenFileName(parent, titel, verzeichnis, filter)
                                    : QFileDialog::getSaveFileName(parent, titel, verzeichnis, filter);
}
} // namespace

QString dateiOeffnen(QWidget *parent, const QString &titel, const QString &verzeichnis, const QString &filter)
{
    return dateiWahl(Art::DateiOeffnen, parent, titel, verzeichnis, filter);
}

QString dateiSpeichern(QWidget *parent, const QString &titel, const QString &verzeichnis, const QString &filter)
{
    return dateiWahl(Art::DateiSpeichern, parent, titel, verzeichnis, filter);
}

bool dateidialog(QFileDialog &dialog)
{
    if (skript()) {
        Anfrage a;
        a.art = Art::Dateidialog;
        a.titel = dialog.windowTitle();
        a.vorgabeText = dialog.directory().absolutePath();
        a.text = dialog.selectedFiles().value(0); // the suggested file, if any
        const Antwort antwort = skript()(a);
        if (!antwort.ok)
            return false;
        dialog.selectFile(antwort.text);
        return true;
    }
    return dialog.exec() == QDialog::Accepted;
}

bool druckDialog(QPrinter &printer, QWidget *parent)
{
    if (skript()) {
        Anfrage a;
        a.art = Art::Drucken;
        const Antwort antwort = skript()(a);
        if (!antwort.ok)
            return false;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(antwort.text);
        return true;
    }
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

int befehl(const QString &programm, const QStringList &argumente)
{
    if (skript()) {
        Anfrage a;
        a.art = Art::Befehl;
        a.text = programm;
        a.argumente = argumente;
        return skript()(a).zahl;
    }
    QProcess prozess;
    prozess.setProcessChannelMode(QProcess::ForwardedChannels);
    prozess.start(programm, argumente);
    if (!prozess.waitForStarted() || !prozess.waitForFinished(-1) || prozess.exitStatus() != QProcess::NormalExit)
        return -1;
    return prozess.exitCode();
}

} // namespace Interaktion
