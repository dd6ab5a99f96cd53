// Creates a new Vela database file, empty or filled with generated demo data.

#include "db.h"
#include "demodaten.h"
#include "registerexport.h"
#include "programm.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vela-initdb"));
    QCoreApplication::setApplicationVersion(VelaVersion());
    VelaDeutsch();
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Legt eine neue Vela-Datenbank an."));
    const QCommandLineOption demo(QStringLiteral("demo"), QStringLiteral("Mit Beispieldaten füllen."));
    const QCommandLineOption mitglieder(QStringLiteral("members"), QStringLiteral("Zahl der Mitglieder."),
                                        QStringLiteral("N"), QStringLiteral("400"));
    const QCommandLineOption buchungen(QStringLiteral("entries"), QStringLiteral("Zahl der Buchungen."),
                                       QStringLiteral("N"), QStringLiteral("300"));
    const QCommandLineOption saat(QStringLiteral("seed"), QStringLiteral("Startwert des Zufallsgenerators."),
                                  QStringLiteral("N"), QStringLiteral("1"));
    const QCommandLineOption stichtag(QStringLiteral("date"),
                                      QStringLiteral("Letzter Tag der Buchungen (yyyy-MM-dd), sonst heute."),
                                      QStringLiteral("DATUM"));
    const QCommandLineOption still(QStringLiteral("quiet"), QStringLiteral("Keine Zeiten ausgeben."));
    const QCommandLineOption register_(QStringLiteral("register"),
                                       QStringLiteral("Mit --demo: schreibt dazu den Export des Mitgliederregisters "
                                                      "(für den Mitgliederimport) in diese Datei."),
                                       QStringLiteral("CSV-DATEI"));
    parser.addOptions({demo, mitglieder, buchungen, saat, stichtag, still, register_});
    parser.addPositionalArgument(QStringLiteral("DATEI"), QStringLiteral("Die neue Datenbankdatei."));
    if (const auto ende = VelaAufruf(parser, app.arguments(), 1, 1))
        return *ende;

    QTextStream err(stderr);
    bool zahlOk = false;
    const int anzahlMitglieder = parser.value(mitglieder).toInt(&zahlOk);
    bool buchungenOk = false;
    const int anzahlBuchungen = parser.value(buchungen).toInt(&buchungenOk);
    if (!zahlOk || !buchungenOk || anzahlMitglieder < 0 || anzahlMitglieder > DemoDaten::MaxMitglieder
        || anzahlBuchungen < 0) {
        err << "--members erwartet 0 bis " << DemoDaten::MaxMitglieder << ", --entries eine Zahl ab 0.\n";
        return 2;
    }
    QDate tag = QDate::currentDate();
    if (parser.isSet(stichtag)) {
        tag = QDate::fromString(parser.value(stichtag), QStringLiteral("yyyy-MM-dd"));
        if (!tag.isValid()) {
            err << "Ungültiges Datum " << parser.value(stichtag) << " (erwartet yyyy-MM-dd).\n";
            return 2;
        }
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
        daten.setStichtag(tag);
        if (!daten.erzeugen(anzahlMitglieder, anzahlBuchungen)) {
            err << "Die Beispieldaten konnten nicht erzeugt werden.\n";
            Db::schliessen();
            QFile::remove(datei);
            return 1;
        }
        if (!parser.isSet(still)) {
            QTextStream out(stdout);
            qint64 summe = 0;
            for (const DemoDaten::Messung &m : daten.messungen()) {
                out << qSetFieldWidth(12) << Qt::left << m.schritt << qSetFieldWidth(9) << Qt::right << m.zeilen
                    << qSetFieldWidth(0) << " Zeilen " << qSetFieldWidth(8) << m.ms << qSetFieldWidth(0) << " ms\n";
                summe += m.ms;
            }
            out << qSetFieldWidth(29) << Qt::left << "Gesamt" << qSetFieldWidth(8) << Qt::right << summe
                << qSetFieldWidth(0) << " ms\n";
        }
        RegisterExport export_;
        if (parser.isSet(register_) && !DemoRegisterExport(parser.value(register_), export_)) {
            err << "Die Datei " << parser.value(register_) << " kann nicht geschrieben werden.\n";
            return 1;
        }
    }
    return 0;
}
