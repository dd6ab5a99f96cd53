#pragma once

#include <QByteArray>
#include <QObject>
#include <QSslError>
#include <QString>
#include <QStringList>

#include <optional>

class QEventLoop;
class QSslSocket;
class QTimer;

// A text template filled in for one owner, with the address it goes to: what a
// mail sends and a payment letter prints.
struct Vorlagentext
{
    QString subject;
    QString body;
    QString name1; // surname, or the whole name of a firm
    QString name2; // first name
    QString strasse;
    QString plz;
    QString ort;
    QString mail;
};

// Composes one payment mail from a text template and the owner's address and
// bank data, and delivers it to the configured server in a small SMTP dialogue
// of its own, in clear or over TLS. Several mails are sent by repeating setText
// and sendMail.
class Smtp : public QObject
{
    Q_OBJECT

public:
    // How the connection to the server is protected ('Mail/Verschl').
    enum Verschluesselung { Keine, StartTls, SslTls };

    explicit Smtp(QObject *parent = nullptr);

    // The stored values of 'Mail/Verschl', in the order of the enum; anything else means none.
    static QStringList verschluesselungen();

    // Fills subject, body and recipient for one mail from template `baustein` and
    // the owner (`art`, `key`: "M" and the member number as "%08i" for a member).
    // False when the template or the owner's address is missing.
    bool setText(const QString &baustein, const QString &art, const QString &key, int mid, int jahr, qint64 cent);

    // The filling behind setText: the placeholders of template `baustein` replaced
    // for the owner. Nothing when the template or the owner's address is missing.
    static std::optional<Vorlagentext> fuellen(const QString &baustein, const QString &art, const QString &key,
                                               int mid, int jahr, qint64 cent);

    // Another recipient than the owner's address (test mails).
    void setTo(const QString &adresse);

    // One complete session for the current mail; keeps the window alive while it waits.
    // The server's certificate must be valid for the host (system CAs).
    bool sendMail();

    // Why the last failed sendMail failed, for the user; empty while none failed.
    QString fehler() const { return m_fehler; }
    // A failure message with that reason on a line of its own.
    QString mitGrund(const QString &meldung) const;

    // How long to wait for a reply, 60 s unless changed.
    void setTimeout(int ms);

    QString subject() const { return m_subject; }
    QString body() const { return m_body; }
    QString recipient() const { return m_recipient; }

private slots:
    void pConnected();
    void pDisconnected();
    void pError();
    void pTimeOut();
    void pData();
    void pVerschluesselt();
    void pZertifikat(const QList<QSslError> &fehler);

private:
    QByteArray pMailText() const;
    static QByteArray pWrHeader(const QString &line, int start, int end);
    void antworten(const QByteArray &zeile);
    void senden(const QByteArray &daten);
    void gruessen(bool ehlo);
    void scheitern(const QString &grund);
    void ende();
    void abbrechen(const QString &grund);

    QString m_subject;
    QString m_body;
    QString m_recipient;
    QString m_absender;
    QString m_name;
    QString m_credential;
    QString m_host;
    int m_port = 0;
    Verschluesselung m_verschluesselung = Keine;
    int m_mid = 0;
    QSslSocket *m_socket;
    QTimer *m_timer;
    int m_state = 0;
    QByteArray m_antwort; // server bytes not yet consumed, at most 4096
    bool m_failed = false;
    QString m_grund;  // the first reason of the current session
    QString m_fehler; // of the last failed session
    int m_timeout = 60000;
    QEventLoop *m_warten = nullptr; // the loop sendMail waits in
};
