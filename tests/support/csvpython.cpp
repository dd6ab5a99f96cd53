#include "csvpython.h"

#include <QDebug>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>

namespace CsvPython {

namespace {

QByteArray python(const QStringList &argumente, const QByteArray &eingabe = {})
{
    QProcess p;
    p.start(QStringLiteral(VELA_PYTHON), QStringList{QStringLiteral(VELA_TESTS_DIR "/csvdialekt.py")} + argumente);
    p.write(eingabe);
    p.closeWriteChannel();
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        qWarning() << "csvdialekt.py" << argumente << p.readAllStandardError();
    return p.readAllStandardOutput();
}

} // namespace

Zeilen lesen(const QString &datei, const QString &trenner, const QString &texttrenner, const QString &kodierung)
{
    Zeilen zeilen;
    const QByteArray json = python({QStringLiteral("lesen"), datei, trenner, texttrenner, kodierung});
    for (const QJsonValue &z : QJsonDocument::fromJson(json).array()) {
        QStringList felder;
        for (const QJsonValue &f : z.toArray())
            felder << f.toString();
        zeilen << felder;
    }
    return zeilen;
}

void schreiben(const QString &datei, const Zeilen &zeilen, const QString &trenner, const QString &quoting,
               const QString &zeilenende, const QString &kodierung)
{
    QJsonArray a;
    for (const QStringList &z : zeilen)
        a.append(QJsonArray::fromStringList(z));
    python({QStringLiteral("schreiben"), datei, trenner, QStringLiteral("\""), quoting, zeilenende, kodierung},
           QJsonDocument(a).toJson(QJsonDocument::Compact));
}

} // namespace CsvPython
