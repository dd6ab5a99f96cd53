#include "aktualisierung.h"

#include "interaktion.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {
// Renames the old file to "<name>.bak" before the new one takes its place,
// so the running program is never overwritten in place.
const QString kInstall = QStringLiteral("/usr/bin/install");
} // namespace

Aktualisierung::Aktualisierung(const QString &programm) : m_programm(QFileInfo(programm).absoluteFilePath()) {}

Aktualisierung::Ergebnis Aktualisierung::installieren(const QString &archiv)
{
    // Private to this user (mode 0700) and removed again whatever happens.
    const QTemporaryDir ordner(QDir::tempPath() + QStringLiteral("/VELA-XXXXXX"));
    if (!ordner.isValid() || !auspacken(archiv, ordner.path()))
        return Ergebnis::UngueltigeDatei;
    const QFileInfo neu(ordner.filePath(QStringLiteral("vela")));
    if (neu.isSymLink() || !neu.isFile())
        return Ergebnis::UngueltigeDatei;
    const QStringList befehl = installation(neu.absoluteFilePath());
    if (befehl.isEmpty())
        return Ergebnis::KeinWerkzeug;
    return Interaktion::befehl(befehl.constFirst(), befehl.mid(1)) == 0 ? Ergebnis::Fertig
                                                                         : Ergebnis::NichtInstalliert;
}

bool Aktualisierung::auspacken(const QString &archiv, const QString &ordner) const
{
    const QString tar = QStandardPaths::findExecutable(QStringLiteral("tar"));
    if (tar.isEmpty())
        return false;
    QProcess prozess;
    prozess.setStandardInputFile(QProcess::nullDevice());
    prozess.start(tar, {QStringLiteral("-x"), QStringLiteral("-f"), QFileInfo(archiv).absoluteFilePath(),
                        QStringLiteral("-C"), ordner, QStringLiteral("--no-same-owner")});
    return prozess.waitForFinished(-1) && prozess.exitStatus() == QProcess::NormalExit && prozess.exitCode() == 0;
}

QStringList Aktualisierung::installation(const QString &neu) const
{
    const QStringList install = {kInstall,
                                 QStringLiteral("--backup=simple"),
                                 QStringLiteral("--suffix=.bak"),
                                 QStringLiteral("-m"),
                                 QStringLiteral("755"),
                                 QStringLiteral("-o"),
                                 QStringLiteral("root"),
                                 QStringLiteral("-g"),
                                 QStringLiteral("root"),
                                 QStringLiteral("-T"),
                                 QStringLiteral("--"),
                                 neu,
                                 m_programm};
    const QString pkexec = QStandardPaths::findExecutable(QStringLiteral("pkexec"));
    if (!pkexec.isEmpty())
        return QStringList{pkexec} + install;
    // Without a polkit agent sudo asks for the password in a terminal of its own.
    for (const char *name : {"x-terminal-emulator", "xterm"}) {
        const QString terminal = QStandardPaths::findExecutable(QLatin1String(name));
        if (!terminal.isEmpty())
            return QStringList{terminal, QStringLiteral("-e"), QStringLiteral("sudo")} + install;
    }
    return QStringList();
}
