#pragma once

#include <QJsonObject>
#include <QList>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

// A real aiosmtpd server on a free local port (tests/smtpempfang.py), storing
// every mail it accepts; stopped with the object.
class MailServer
{
public:
    enum Tls { OhneTls, StartTls, SslTls };

    // With a user and password the server wants AUTH and accepts only those. With TLS
    // (STARTTLS required, or from the first byte) it shows the certificate in
    // `zertifikat` + ".pem" with its key in `zertifikat` + ".key".
    explicit MailServer(const QStringList &login = {}, Tls tls = OhneTls, const QString &zertifikat = QString());
    ~MailServer();
    MailServer(const MailServer &) = delete;
    MailServer &operator=(const MailServer &) = delete;

    quint16 port() const { return m_port; }

    // From now on the server refuses these recipients at RCPT (an empty list accepts all).
    void ablehnen(const QStringList &adressen);

    // Points the program's mail settings at a server on this local port (sender kasse@example.org).
    static void einstellen(quint16 port, const QString &name = QString(), const QString &user = QString(),
                           const QString &passwort = QString(), const QString &verschluesselung = QString());

    // The mails received so far in order of arrival, read by Python's email package:
    // "subject", "name", "adresse" (sender), "to", "zeit" (Date: in epoch seconds), "body".
    QList<QJsonObject> mails() const;

private:
    QTemporaryDir m_ordner;
    QProcess m_prozess;
    quint16 m_port = 0;
};
