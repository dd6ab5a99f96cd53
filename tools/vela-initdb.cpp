// Creates a new Vela database file, empty or filled with generated demo data.

#include "db.h"
#include "demodaten.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vela-initdb"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Legt eine neue Vela-Datenbank an."));
    parser.addHelpOption();
    const QCommandLineOption demo(QStringLiteral("demo"), QStringLiteral("Mit Beispieldaten füllen."));
    const QCommandLineOption mitglieder(QStringLiteral("members"), QStringLiteral("Zahl der Mitglieder."),
                                        QStringLiteral("N"), QStringLiteral("400"));
    const QCommandLineOption buchungen(QStringLiteral("entries"), QStringLiteral("Zahl der Buchungen."),
                                       QStringLiteral("N"), QStringLiteral("300"));
    const QCommandLineOption saat(QStringLiteral("seed"), QStringLiteral("Startwert des Zufallsgenerators."),
                                  QStringLiteral("N"), QStringLiteral("1"));
    parser.addOptions({demo, mitglieder, buchungen, saat});
    parser.addPositionalArgument(QStringLiteral("DATEI"), QStringLiteral("Die neue Datenbankdatei."));
    parser.process(app);

    QTextStream err(stderr);
    if (parser.positionalArguments().size() != 1) {
        err << "Aufruf: vela-initdb [--demo [--members N] [--entries N]] DATEI\n";
        return 2;
    }
    const QString datei = parser.positionalArguments().first();
    if (QFileInfo::exists(datei)) {
        err << "Die Datei " << datei << " existiert bereits; sie bleibt unverändert.\n";
        return 1;
    }
    if (!Db::anlegen(datei)) {
        err << "Die Datenbank " << datei << " kann nicht angelegt werden.\n";
        return 1;
    }
    if (parser.isSet(demo)) {
        DemoDaten daten(parser.value(saat).toUInt());
        if (!daten.erzeugen(parser.value(mitglieder).toInt(), parser.value(buchungen).toInt())) {
            err << "Die Beispieldaten konnten nicht erzeugt werden.\n";
            return 1;
        }
    }
    return 0;
}
