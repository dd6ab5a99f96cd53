#include "programm.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTextStream>
#include <QTranslator>

QString VelaVersion()
{
    return QStringLiteral(VELA_VERSION);
}

void VelaDeutsch()
{
    QCoreApplication *app = QCoreApplication::instance();
    const QString name = QStringLiteral("qtbase_de");
    if (app && !app->findChild<QTranslator *>(name, Qt::FindDirectChildrenOnly)) {
        auto *qt = new QTranslator(app);
        qt->setObjectName(name);
        if (qt->load(name, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            QCoreApplication::installTranslator(qt);
    }
    // "C" would show amounts as "1,945.29"; the books are German.
    if (QLocale::system().language() == QLocale::C)
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
}

std::optional<int> VelaAufruf(QCommandLineParser &parser, const QStringList &argumente, int minDateien,
                              int maxDateien)
{
    const QCommandLineOption hilfe = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    QString fehler;
    if (!parser.parse(argumente)) {
        fehler = parser.errorText();
    } else if (parser.isSet(hilfe) || parser.isSet(QStringLiteral("help-all"))) {
        QTextStream(stdout) << parser.helpText();
        return 0;
    } else if (parser.isSet(version)) {
        QTextStream(stdout) << QCoreApplication::applicationName() << ' ' << VelaVersion() << '\n';
        return 0;
    } else {
        const QStringList dateien = parser.positionalArguments();
        for (const QString &datei : dateien) {
            // "-x.db" after "--" is still a mistyped option, never a set of books.
            if (datei.isEmpty() || datei.startsWith(QLatin1Char('-')))
                fehler = QStringLiteral("Ein Dateiname darf nicht leer sein oder mit \"-\" beginnen: ") + datei;
        }
        if (dateien.size() > maxDateien)
            fehler = QStringLiteral("Zu viele Dateien: ") + dateien.join(QLatin1Char(' '));
        else if (dateien.size() < minDateien)
            fehler = QStringLiteral("Die Datei fehlt.");
    }
    if (fehler.isEmpty())
        return std::nullopt;
    QTextStream(stderr) << fehler << "\n\n" << parser.helpText();
    return 2;
}
