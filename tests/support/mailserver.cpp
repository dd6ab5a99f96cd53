#include "mailserver.h"

#include "testdb.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

namespace {
const QString kHelfer = QStringLiteral(VELA_TESTS_DIR "/smtpempfang.py");
}

MailServer::MailServer(const QStringList &login, Tls tls, const QString &zertifikat)
{
    QStringList argumente{kHelfer, QStringLiteral("server"), m_ordner.path()};
    if (tls != OhneTls)
        argumente << (tls == StartTls ? QStringLiteral("--starttls") : QStringLiteral("--ssl"))
                  << zertifikat + QStringLiteral(".pem") << zertifikat + QStringLiteral(".key");
    m_prozess.start(QStringLiteral(VELA_PYTHON), argumente + login);
    if (m_prozess.waitForReadyRead(15000))
        m_port = quint16(m_prozess.readLine().trimmed().toUInt());
}

MailServer::~MailServer()
{
    m_prozess.kill();
    m_prozess.waitForFinished();
}

void MailServer::ablehnen(const QStringList &adressen)
{
    QFile datei(QDir(m_ordner.path()).filePath(QStringLiteral("ablehnen")));
    if (datei.open(QIODevice::WriteOnly | QIODevice::Truncate))
        datei.write(adressen.join(QLatin1Char('\n')).toUtf8());
}

void MailServer::einstellen(quint16 port, const QString &name, const QString &user, const QString &passwort,
                            const QString &verschluesselung)
{
    TestDb::setParameter(QStringLiteral("Mail/Host"), QStringLiteral("127.0.0.1"));
    TestDb::setParameter(QStringLiteral("Mail/Port"), QString::number(port));
    TestDb::setParameter(QStringLiteral("Mail/Abs"), QStringLiteral("kasse@example.org"));
    TestDb::setParameter(QStringLiteral("Mail/Name"), name);
    TestDb::setParameter(QStringLiteral("Mail/User"), user);
    TestDb::setParameter(QStringLiteral("Mail/Passwd"), passwort);
    TestDb::setParameter(QStringLiteral("Mail/Verschl"), verschluesselung);
}

QList<QJsonObject> MailServer::mails() const
{
    const QDir ordner(m_ordner.path());
    QStringList dateien;
    for (const QString &datei : ordner.entryList({QStringLiteral("*.eml")}, QDir::Files, QDir::Name))
        dateien << ordner.filePath(datei);
    QList<QJsonObject> gelesen;
    if (dateien.isEmpty())
        return gelesen;
    QProcess leser;
    leser.start(QStringLiteral(VELA_PYTHON), QStringList{kHelfer, QStringLiteral("lesen")} + dateien);
    leser.waitForFinished(30000);
    const QJsonArray liste = QJsonDocument::fromJson(leser.readAllStandardOutput()).array();
    for (const QJsonValue &mail : liste)
        gelesen << mail.toObject();
    return gelesen;
}
