#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <optional>

class QEventLoop;
class QTcpSocket;
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
// of its own. Several mails are sent by repeating setText and sendMail.
class Smtp : public QObject
{
    Q_OBJECT

public:
    explicit Smtp(QObject *parent = nullptr);

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
    bool sendMail();

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

private:
    QByteArray pMailText() const;
    static QByteArray pWrHeader(const QString &line, int start, int end);
    void antworten(int code);
    void senden(const QByteArray &daten);
    void ende();
    void abbrechen();

    QString m_subject;
    QString m_body;
    QString m_recipient;
    QString m_absender;
    QString m_name;
    QString m_credential;
    QString m_host;
    int m_port = 0;
    int m_mid = 0;
    QTcpSocket *m_socket;
    QTimer *m_timer;
    int m_state = 0;
    QByteArray m_antwort; // server bytes not yet consumed, at most 4096
    bool m_failed = false;
    int m_timeout = 60000;
    QEventLoop *m_warten = nullptr; // the loop sendMail waits in
};
