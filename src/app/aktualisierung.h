#pragma once

#include <QString>
#include <QStringList>

// Installs a new program file from an update archive (a tar file holding "vela" at
// its top level) over the running program, keeping the old one as "<program>.bak".
class Aktualisierung
{
public:
    enum class Ergebnis {
        Fertig,
        UngueltigeDatei,      // not a tar file, or no regular file "vela" at its top level
        KeinWerkzeug,         // neither pkexec nor a terminal for sudo
        NichtInstalliert      // the privileged command failed or was cancelled
    };

    explicit Aktualisierung(const QString &programm);

    Ergebnis installieren(const QString &archiv);

private:
    bool auspacken(const QString &archiv, const QString &ordner) const;
    // The privileged command that puts `neu` in the program's place: program first, then its arguments.
    QStringList installation(const QString &neu) const;

    QString m_programm;
};
