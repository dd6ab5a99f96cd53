#include "sicherung.h"

#include "db.h"
#include "interaktion.h"
#include "parameter.h"
#include "sicherungskopie.h"

#include <QDate>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>

#include <cstdlib>

namespace {

const QString kSicherung = QStringLiteral("Datensicherung");
const QString kWiederherstellung = QStringLiteral("Datenwiederherstellung");
const QString kSchluessel = QStringLiteral("Save/Directory");

QString gewaehlt(const QFileDialog &dialog)
{
    const QStringList dateien = dialog.selectedFiles();
    return dateien.isEmpty() ? QString() : QFileInfo(dateien.constFirst()).absoluteFilePath();
}

// Also through a link or a second name of the same folder.
bool dieselbeDatei(const QString &a, const QString &b)
{
    const QFileInfo x(a), y(b);
    if (x.exists() && y.exists())
        return x.canonicalFilePath() == y.canonicalFilePath();
    return x.absoluteFilePath() == y.absoluteFilePath();
}

bool aufSichSelbst(QWidget *parent, const QString &datei)
{
    if (!dieselbeDatei(datei, Db::dateiName()))
        return false;
    Interaktion::kritisch(parent, kSicherung, QStringLiteral("Sichern auf sich selbst ist nicht erlaubt"));
    return true;
}

// The books are gone and cannot be reached again: nothing may be written any more.
[[noreturn]] void nichtAnsprechbar(QWidget *parent)
{
    Interaktion::kritisch(parent, kSicherung,
                          QStringLiteral("Datenbank nicht mehr ansprechbar! Manuelles eingreifen erforderlich!"));
    std::exit(1);
}

// Reopens the books after their file was replaced and reloads the settings from them.
void wiederOeffnen(QWidget *parent, const QString &datei)
{
    if (!Db::oeffnen(datei))
        nichtAnsprechbar(parent);
    Db::setOffen(true);
    UtilInitLeeren();
    UtilInit(true);
}

} // namespace

void SaveDirParam(QFileDialog &dialog, bool store)
{
    if (store) {
        const QString ordner = QFileInfo(gewaehlt(dialog)).absolutePath();
        if (Db::ausfuehren(QStringLiteral("UPDATE parameter SET wert=? WHERE key=?"), {ordner, kSchluessel}) == 0)
            Db::ausfuehren(QStringLiteral("INSERT INTO parameter (key,wert) VALUES (?,?)"), {kSchluessel, ordner});
        return;
    }
    const QVariant ordner = Db::wert(QStringLiteral("SELECT wert FROM parameter WHERE key=?"), {kSchluessel});
    if (ordner.isValid() && QFileInfo(ordner.toString()).isDir())
        dialog.setDirectory(ordner.toString());
    dialog.setDefaultSuffix(QStringLiteral("sav"));
    dialog.setNameFilters(QStringLiteral("Save file (*.sav),Any files (*)").split(QLatin1Char(',')));
    dialog.selectNameFilter(dialog.nameFilters().constFirst());
}

void SaveSave(QWidget *parent)
{
    const QFileInfo datenbank(Db::dateiName());
    QFileDialog dialog(nullptr, kSicherung, datenbank.absolutePath());
    SaveDirParam(dialog, false);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.selectFile(datenbank.fileName() + QLatin1Char('.')
                      + QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(".sav"));
    if (!Interaktion::dateidialog(dialog))
        return;
    const QString ziel = gewaehlt(dialog);
    if (ziel.isEmpty() || aufSichSelbst(parent, ziel))
        return;
    SaveDirParam(dialog, true);

    Sicherungskopie kopie(ziel);
    if (kopie.ausBuechern() && kopie.pruefen() && kopie.einsetzen())
        Interaktion::information(parent, kSicherung, QStringLiteral("Fertig"));
    else
        Interaktion::kritisch(parent, kSicherung, QStringLiteral("Fehler beim Kopieren\n") + kopie.grund());
}

void SaveRestore(QWidget *parent)
{
    const QString datei = QFileInfo(Db::dateiName()).absoluteFilePath();
    QFileDialog dialog(nullptr, kWiederherstellung, QFileInfo(datei).absolutePath());
    SaveDirParam(dialog, false);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (!Interaktion::dateidialog(dialog))
        return;
    const QString quelle = gewaehlt(dialog);
    if (quelle.isEmpty() || aufSichSelbst(parent, quelle))
        return;
    if (Db::nurLesen()) {
        Interaktion::kritisch(parent, kWiederherstellung,
                              QStringLiteral("Die Datenbank ist schreibgeschützt, die Daten bleiben unverändert."));
        return;
    }
    SaveDirParam(dialog, true);
    // Garbage must never take the place of the books: the file is checked before anything is asked.
    if (const QString problem = Db::pruefen(quelle); !problem.isEmpty()) {
        Interaktion::kritisch(parent, kWiederherstellung,
                              quelle + QStringLiteral(" kann nicht wiederhergestellt werden:\n") + problem
                                  + QStringLiteral("\nDie bisherigen Daten bleiben unverändert."));
        return;
    }
    if (Interaktion::frage(parent, kSicherung,
                           QStringLiteral("Achtung: Durch die Wiederherstellung werden\nalle bestehenden Daten "
                                          "unwiederruflich überschrieben!\nDaten aus der Sicherung "
                                          "wiederherstellen?"),
                           QMessageBox::Ok | QMessageBox::Cancel)
        != QMessageBox::Ok)
        return;

    // A wrong restore can be undone by hand from the copy of the books before it.
    Sicherungskopie vorher(datei + QStringLiteral(".bak"));
    if (!vorher.ausBuechern() || !vorher.pruefen() || !vorher.einsetzen()) {
        Interaktion::kritisch(parent, kWiederherstellung,
                              QStringLiteral("Die bisherigen Daten können nicht als ") + datei
                                  + QStringLiteral(".bak aufgehoben werden:\n") + vorher.grund()
                                  + QStringLiteral("\nDie Daten bleiben unverändert."));
        return;
    }
    Sicherungskopie neu(datei);
    if (!neu.ausDatei(quelle) || !neu.pruefen()) {
        Interaktion::kritisch(parent, kWiederherstellung, QStringLiteral("Fehler beim Kopieren\n") + neu.grund());
        return;
    }
    const QFile::Permissions rechte = QFileInfo(datei).permissions();
    Db::setOffen(false);
    Db::schliessen();
    const bool eingesetzt = neu.einsetzen();
    if (eingesetzt)
        QFile::setPermissions(datei, rechte);
    wiederOeffnen(parent, datei);
    if (eingesetzt)
        Interaktion::information(parent, kWiederherstellung, QStringLiteral("Fertig"));
    else
        Interaktion::kritisch(parent, kWiederherstellung, QStringLiteral("Fehler beim Kopieren\n") + neu.grund());
}
