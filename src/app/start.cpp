#include "start.h"

#include "db.h"
#include "interaktion.h"
#include "parameter.h"
#include "velamain.h"

#include <QCoreApplication>
#include <QFileInfo>

bool VelaDatenbankOeffnen(const QString &datei)
{
    Db::verbindungAnlegen();
    Db::setOffen(false);
    if (!QFileInfo::exists(datei)) {
        // A mistyped name must not silently become an empty set of books.
        const auto antwort = Interaktion::frage(
            nullptr, QStringLiteral("Vela"),
            QStringLiteral("Die Datenbank ") + datei + QStringLiteral(" existiert nicht.\nNeue Datenbank anlegen?"),
            QMessageBox::Yes | QMessageBox::No);
        if (antwort != QMessageBox::Yes)
            return false;
        if (Db::anlegen(datei))
            Db::schliessen();
    }
    if (!Db::oeffnen(datei)) {
        Interaktion::kritisch(nullptr, QStringLiteral("Datenbankfehler"),
                              QStringLiteral("Kein Zugriff auf die Datenbank"), QMessageBox::Cancel);
        return false;
    }
    Db::setOffen(true);
    UtilInitLeeren();
    return true;
}

int VelaAusfuehren(const QStringList &argumente)
{
    QCoreApplication::setOrganizationName(QStringLiteral("Feldmarkbund"));
    QCoreApplication::setApplicationName(QStringLiteral("Vela"));
    const QString datei = argumente.size() > 1 ? argumente.at(1) : QStringLiteral("vela.db");
    if (!VelaDatenbankOeffnen(datei))
        return -1;
    VelaMain fenster;
    fenster.exec();
    return 0;
}
