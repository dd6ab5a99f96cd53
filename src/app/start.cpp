#include "start.h"

#include "db.h"
#include "interaktion.h"
#include "parameter.h"
#include "programm.h"
#include "velamain.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QLockFile>
#include <QStandardPaths>

namespace {

bool keinZugriff(const QString &pfad, const QString &grund)
{
    Interaktion::kritisch(nullptr, QStringLiteral("Datenbankfehler"),
                          QStringLiteral("Kein Zugriff auf die Datenbank\n") + pfad + QLatin1Char('\n') + grund,
                          QMessageBox::Cancel);
    return false;
}

// A mistyped name must not silently become an empty set of books.
bool neueDatenbank(const QString &pfad)
{
    const auto antwort = Interaktion::frage(
        nullptr, QStringLiteral("Vela"),
        QStringLiteral("Die Datenbank ") + pfad + QStringLiteral(" existiert nicht.\nNeue Datenbank anlegen?"),
        QMessageBox::Yes | QMessageBox::No);
    if (antwort != QMessageBox::Yes)
        return false;
    QDir().mkpath(QFileInfo(pfad).absolutePath());
    if (!Db::anlegen(pfad)) {
        const QString grund = QFileInfo(QFileInfo(pfad).absolutePath()).isWritable()
                                  ? QStringLiteral("Die Datei kann nicht angelegt werden.")
                                  : QStringLiteral("Keine Berechtigung, im Ordner eine Datei anzulegen.");
        return keinZugriff(pfad, grund);
    }
    Db::schliessen();
    return true;
}

// Empty when the lock is ours; a folder without write permission gives no lock
// and `schreibgeschuetzt`, since SQLite could not write there either.
QString sperren(QLockFile &sperre, bool &schreibgeschuetzt)
{
    // The lock lives as long as the program: only a dead owner makes it stale.
    sperre.setStaleLockTime(0);
    if (sperre.tryLock(0))
        return QString();
    switch (sperre.error()) {
    case QLockFile::LockFailedError: {
        qint64 pid = 0;
        QString rechner, programm;
        sperre.getLockInfo(&pid, &rechner, &programm);
        return QStringLiteral("Die Datenbank ist schon in einem anderen Vela geöffnet (Prozess %1 auf %2).")
            .arg(pid)
            .arg(rechner);
    }
    case QLockFile::PermissionError:
        schreibgeschuetzt = true;
        return QString();
    default:
        return QStringLiteral("Die Sperrdatei ") + sperre.fileName() + QStringLiteral(" kann nicht angelegt werden.");
    }
}

} // namespace

QString VelaDatenordner()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

QString VelaStandardDatei()
{
    const QString hier = QStringLiteral("vela.db");
    return QFileInfo::exists(hier) ? hier : VelaDatenordner() + QStringLiteral("/vela.db");
}

QString VelaSperrDatei(const QString &datei)
{
    return QFileInfo(datei).absoluteFilePath() + QStringLiteral(".lock");
}

bool VelaDatenbankOeffnen(const QString &datei, QLockFile &sperre)
{
    Db::verbindungAnlegen();
    Db::setOffen(false);
    const QString pfad = QFileInfo(datei).absoluteFilePath();
    // The data folder itself is made with the first books in it.
    const QString ordner = QFileInfo(pfad).absolutePath();
    const bool neuerDatenordner = ordner == QDir(VelaDatenordner()).absolutePath() && !QFileInfo::exists(ordner);
    if (const QString problem = Db::dateiProblem(pfad); !problem.isEmpty() && !neuerDatenordner)
        return keinZugriff(pfad, problem);
    if (!QFileInfo::exists(pfad) && !neueDatenbank(pfad))
        return false;

    bool schreibgeschuetzt = !QFileInfo(pfad).isWritable();
    if (const QString besetzt = sperren(sperre, schreibgeschuetzt); !besetzt.isEmpty())
        return keinZugriff(pfad, besetzt);
    if (schreibgeschuetzt) {
        const auto antwort = Interaktion::frage(
            nullptr, QStringLiteral("Vela"),
            QStringLiteral("Die Datenbank ") + pfad
                + QStringLiteral(" ist schreibgeschützt.\nNur zum Ansehen öffnen? Speichern ist dann nicht möglich."),
            QMessageBox::Yes | QMessageBox::No);
        if (antwort != QMessageBox::Yes)
            return false;
    }
    QString grund;
    if (!Db::oeffnen(pfad, schreibgeschuetzt, &grund))
        return keinZugriff(pfad, grund);
    Db::setOffen(true);
    UtilInitLeeren();
    return true;
}

int VelaAusfuehren(const QStringList &argumente)
{
    QCoreApplication::setOrganizationName(QStringLiteral("Feldmarkbund"));
    QCoreApplication::setApplicationName(QStringLiteral("Vela"));
    QCoreApplication::setApplicationVersion(VelaVersion());
    // The desktop entry and the icons installed with the program.
    QGuiApplication::setDesktopFileName(QStringLiteral(VELA_APP_ID));
    QGuiApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral(VELA_APP_ID)));
    VelaDeutsch();

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Vela führt die Bücher einer Gliederung."));
    parser.addPositionalArgument(QStringLiteral("DATEI"),
                                 QStringLiteral("Die Datenbankdatei, ohne Angabe vela.db im aktuellen Ordner "
                                                "oder, wo es die nicht gibt, im Datenordner ")
                                     + VelaDatenordner() + QLatin1Char('.'),
                                 QStringLiteral("[DATEI]"));
    if (const auto ende = VelaAufruf(parser, argumente, 0, 1))
        return *ende;
    const QStringList dateien = parser.positionalArguments();
    const QString datei = dateien.isEmpty() ? VelaStandardDatei() : dateien.first();

    QLockFile sperre(VelaSperrDatei(datei));
    if (!VelaDatenbankOeffnen(datei, sperre))
        return -1;
    VelaMain fenster;
    if (Db::nurLesen())
        fenster.setWindowTitle(QStringLiteral("Vela (schreibgeschützt)"));
    fenster.exec();
    return 0;
}
