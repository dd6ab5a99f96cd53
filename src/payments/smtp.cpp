#include "smtp.h"

#include "db.h"
#include "textutil.h"

#include <QDateTime>
#include <QEventLoop>
#include <QSqlQuery>
#include <QSslSocket>
#include <QTimer>

#include <cctype>
#include <cstring>

namespace {

// Dialogue states.
enum {
    Verbinden = 0,
    Gruss = 1,
    Ehlo = 2,
    Helo = 3,
    Mail = 4,
    Rcpt = 5,
    Data = 6,
    Nachricht = 7,
    TlsAngefragt = 8, // STARTTLS sent
    Handshake = 9, // TLS negotiated on the open connection
    Fertig = 90,
    Quit = 91,
    Ende = 99
};

constexpr int kPuffer = 4096;
const QByteArray kCrLf = QByteArrayLiteral("\r\n");
const QByteArray kEinzug(8, ' ');
const QByteArray kQAnfang = QByteArrayLiteral("=?iso-8859-1?Q?");
const QString kAufgelegt = QStringLiteral("Der Mailserver hat die Verbindung beendet");

// The placeholders of a template, in the order they are replaced.
const char *const kPlatzhalter[] = {"%vname%", "%nname%", "%mid%",  "%strasse%", "%plz%",      "%ort%",
                                    "%land%",  "%jahr%",  "%betrag%", "%kontonr%", "%kontoblz%", "%kontobank%"};
constexpr int kAnzahlPlatzhalter = int(sizeof(kPlatzhalter) / sizeof(kPlatzhalter[0]));

// One pass over the text: an inserted value is never searched for placeholders again.
QString ersetzen(const QString &text, const QStringList &werte)
{
    QString aus;
    aus.reserve(text.size());
    int pos = 0;
    while (pos < text.size()) {
        const int prozent = text.indexOf(QLatin1Char('%'), pos);
        if (prozent < 0)
            break;
        aus += QStringView(text).mid(pos, prozent - pos);
        int treffer = -1;
        for (int i = 0; i < kAnzahlPlatzhalter && treffer < 0; ++i) {
            if (QStringView(text).mid(prozent).startsWith(QLatin1String(kPlatzhalter[i])))
                treffer = i;
        }
        if (treffer < 0) {
            aus += QLatin1Char('%');
            pos = prozent + 1;
        } else {
            aus += werte.at(treffer);
            pos = prozent + int(qstrlen(kPlatzhalter[treffer]));
        }
    }
    aus += QStringView(text).mid(pos);
    return aus;
}

// The first final reply line (three digits, no "-" after them), empty while none is complete.
QByteArray antwortZeile(const QByteArray &puffer)
{
    int pos = 0;
    for (int lf = puffer.indexOf('\n'); lf >= 0; pos = lf + 1, lf = puffer.indexOf('\n', pos)) {
        const QByteArray zeile = puffer.mid(pos, lf - pos);
        if (zeile.size() > 3 && std::isdigit(uchar(zeile[0])) && std::isdigit(uchar(zeile[1]))
            && std::isdigit(uchar(zeile[2])) && zeile[3] != '-')
            return zeile.trimmed();
    }
    return QByteArray();
}

bool istSonderzeichen(char c)
{
    // '_' stands for a blank inside a Q word, so it must be encoded as well.
    return c != '\0' && std::strchr(" ()<>@,;:\"/[]?.=_", c) != nullptr;
}

QByteArray ohneBlankAmEnde(QByteArray zeile)
{
    while (zeile.endsWith(' '))
        zeile.chop(1);
    return zeile;
}

// A header line without encoding, folded at blanks where the line gets too long.
QByteArray falten(QByteArray rest)
{
    QByteArray aus;
    int raum = 72;
    bool erste = true;
    while (!rest.isEmpty()) {
        QByteArray zeile;
        if (rest.size() < raum) {
            zeile = rest;
            rest.clear();
        } else {
            int teil = raum; // cut hard unless a blank leaves enough text on the line
            const int blank = rest.lastIndexOf(' ', raum - 1);
            if (blank > 0 && ohneBlankAmEnde(rest.left(blank)).size() >= 41)
                teil = blank;
            zeile = ohneBlankAmEnde(rest.left(teil));
            rest = rest.mid(teil);
            while (rest.startsWith(' '))
                rest.remove(0, 1);
        }
        aus += (erste ? QByteArray() : kEinzug) + zeile + kCrLf;
        erste = false;
        raum = 64;
    }
    return aus;
}

// The body as lines of at most 76 characters; a long word is never split, and a
// line beginning with "." gets a second one (the server removes it again).
QByteArray umbrechen(const QByteArray &text)
{
    QByteArray aus;
    const int n = text.size();
    int pos = 0;
    while (pos < n) {
        const int grenze = pos + 76;
        const int lf = text.indexOf('\n', pos);
        int ende;
        if (lf >= 0 && lf <= grenze) {
            ende = lf;
        } else if (n <= grenze) {
            ende = n;
        } else if (text[grenze] == ' ') {
            ende = grenze;
        } else {
            const int blank = text.lastIndexOf(' ', grenze - 1);
            if (blank > pos) {
                ende = blank + 1;
            } else {
                ende = grenze + 1;
                while (ende < n && text[ende] != ' ' && text[ende] != '\n')
                    ++ende;
            }
        }
        QByteArray zeile = ohneBlankAmEnde(text.mid(pos, ende - pos));
        if (zeile.startsWith('.'))
            zeile.prepend('.');
        aus += zeile + kCrLf;
        pos = ende;
        while (pos < n && text[pos] == ' ')
            ++pos;
        if (pos < n && text[pos] == '\n')
            ++pos;
    }
    return aus;
}

} // namespace

QStringList Smtp::verschluesselungen()
{
    return {QStringLiteral("keine"), QStringLiteral("STARTTLS"), QStringLiteral("SSL/TLS")};
}

Smtp::Smtp(QObject *parent) : QObject(parent), m_socket(new QSslSocket(this)), m_timer(new QTimer(this))
{
    m_timer->setSingleShot(true);
    QString user, passwort;
    QSqlQuery q = Db::abfrage(QStringLiteral("SELECT key,wert FROM parameter WHERE key>='Mail/' AND key<'Mail0'"));
    while (q.next()) {
        const QString key = q.value(0).toString();
        const QString wert = q.value(1).toString();
        if (key == QLatin1String("Mail/Host"))
            m_host = wert;
        else if (key == QLatin1String("Mail/Port"))
            m_port = wert.toInt();
        else if (key == QLatin1String("Mail/Abs"))
            m_absender = wert;
        else if (key == QLatin1String("Mail/Name"))
            m_name = wert;
        else if (key == QLatin1String("Mail/User"))
            user = wert;
        else if (key == QLatin1String("Mail/Passwd"))
            passwort = wert;
        else if (key == QLatin1String("Mail/Verschl"))
            m_verschluesselung = Verschluesselung(qMax(0, int(verschluesselungen().indexOf(wert))));
    }
    // AUTH PLAIN with an empty authorisation identity; UTF-8 as the mechanism wants it (ASCII stays ASCII).
    if (!user.isEmpty())
        m_credential = QString::fromLatin1(
            (QByteArray(1, '\0') + user.toUtf8() + QByteArray(1, '\0') + passwort.toUtf8()).toBase64());

    connect(m_socket, &QSslSocket::connected, this, &Smtp::pConnected);
    connect(m_socket, &QSslSocket::disconnected, this, &Smtp::pDisconnected);
    connect(m_socket, &QSslSocket::errorOccurred, this, &Smtp::pError);
    connect(m_socket, &QSslSocket::readyRead, this, &Smtp::pData);
    connect(m_socket, &QSslSocket::encrypted, this, &Smtp::pVerschluesselt);
    connect(m_socket, &QSslSocket::sslErrors, this, &Smtp::pZertifikat);
    connect(m_timer, &QTimer::timeout, this, &Smtp::pTimeOut);
}

std::optional<Vorlagentext> Smtp::fuellen(const QString &baustein, const QString &art, const QString &key, int mid,
                                          int jahr, qint64 cent)
{
    QSqlQuery vorlage = Db::abfrage(QStringLiteral("SELECT subject,inhalt FROM textbaustein WHERE bez=?"), {baustein});
    if (!vorlage.next())
        return std::nullopt;

    QString kontonr, blz, bank;
    QSqlQuery konto = Db::abfrage(QStringLiteral("select nummer,blz,bank FROM bankverbindung WHERE art=? AND key=?"),
                                  {art, key});
    if (konto.next()) {
        kontonr = QStringLiteral("XXXXX") + konto.value(0).toString().right(4);
        blz = konto.value(1).toString();
        bank = konto.value(2).toString();
    }
    QSqlQuery adresse = Db::abfrage(
        QStringLiteral("select name2,name1,strasse,plz,ort,land,mail FROM adresse WHERE art=? AND key=?"), {art, key});
    if (!adresse.next())
        return std::nullopt;

    const QStringList werte = {adresse.value(0).toString(), adresse.value(1).toString(), QString::number(mid),
                               adresse.value(2).toString(), adresse.value(3).toString(), adresse.value(4).toString(),
                               adresse.value(5).toString(), QString::number(jahr),       UtilBetragText(cent),
                               kontonr,                     blz,                         bank};
    Vorlagentext t;
    t.subject = ersetzen(vorlage.value(0).toString(), werte);
    t.body = ersetzen(vorlage.value(1).toString(), werte);
    t.name2 = werte.at(0);
    t.name1 = werte.at(1);
    t.strasse = werte.at(3);
    t.plz = werte.at(4);
    t.ort = werte.at(5);
    t.mail = adresse.value(6).toString();
    return t;
}

bool Smtp::setText(const QString &baustein, const QString &art, const QString &key, int mid, int jahr, qint64 cent)
{
    m_mid = mid;
    const std::optional<Vorlagentext> text = fuellen(baustein, art, key, mid, jahr, cent);
    if (!text)
        return false;
    m_recipient = text->mail;
    m_subject = text->subject;
    m_body = text->body;
    return true;
}

void Smtp::setTo(const QString &adresse)
{
    m_recipient = adresse;
}

void Smtp::setTimeout(int ms)
{
    m_timeout = ms;
}

bool Smtp::sendMail()
{
    m_state = Verbinden;
    m_antwort.clear();
    m_failed = false;
    m_grund.clear();
    QEventLoop warten;
    m_warten = &warten;
    m_timer->start(m_timeout);
    if (m_verschluesselung == SslTls)
        m_socket->connectToHostEncrypted(m_host, quint16(m_port));
    else
        m_socket->connectToHost(m_host, quint16(m_port));
    // The socket and timer slots run in this loop; ende() leaves it.
    if (m_state != Ende)
        warten.exec();

    if (m_socket->state() != QAbstractSocket::UnconnectedState) {
        m_socket->disconnectFromHost();
        if (m_socket->state() != QAbstractSocket::UnconnectedState) {
            m_timer->start(m_timeout);
            warten.exec();
        }
        m_socket->abort();
    }
    m_timer->stop();
    m_warten = nullptr;
    if (m_failed)
        m_fehler = m_grund;
    return !m_failed;
}

QString Smtp::mitGrund(const QString &meldung) const
{
    return m_fehler.isEmpty() ? meldung : meldung + QLatin1Char('\n') + m_fehler;
}

void Smtp::ende()
{
    m_state = Ende;
    m_timer->stop();
    if (m_warten)
        m_warten->quit();
}

void Smtp::scheitern(const QString &grund)
{
    m_failed = true;
    if (m_grund.isEmpty())
        m_grund = grund;
}

void Smtp::abbrechen(const QString &grund)
{
    scheitern(grund);
    ende();
    m_socket->abort();
}

void Smtp::senden(const QByteArray &daten)
{
    m_socket->write(daten);
}

void Smtp::pConnected()
{
    m_socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    m_state = Gruss;
    m_timer->start(m_timeout);
}

void Smtp::pDisconnected()
{
    if (m_state < Fertig)
        scheitern(kAufgelegt);
    ende();
}

void Smtp::pError()
{
    if (m_state >= Fertig && m_state != Ende)
        return; // the disconnection that follows ends the session
    if (m_state < Fertig)
        scheitern(m_socket->error() == QAbstractSocket::RemoteHostClosedError
                      ? kAufgelegt
                      : QStringLiteral("Verbindung zum Mailserver gescheitert: ") + m_socket->errorString());
    ende();
}

// Also bounds the wait for the server to close after QUIT.
void Smtp::pTimeOut()
{
    if (m_state < Fertig)
        scheitern(QStringLiteral("Der Mailserver antwortet nicht"));
    ende();
}

// Not ignored: the handshake fails after this and the password never leaves.
void Smtp::pZertifikat(const QList<QSslError> &fehler)
{
    QStringList gruende;
    for (const QSslError &f : fehler)
        gruende << f.errorString();
    scheitern(QStringLiteral("Zertifikat des Mailservers ungültig: ") + gruende.join(QStringLiteral("; ")));
}

// After STARTTLS the dialogue starts over on the protected connection.
void Smtp::pVerschluesselt()
{
    if (m_state != Handshake)
        return;
    m_timer->start(m_timeout);
    gruessen(true);
}

void Smtp::pData()
{
    while (m_socket->bytesAvailable() > 0) {
        if (m_state == Ende) {
            m_socket->readAll();
            return;
        }
        const QByteArray neu = m_socket->read(kPuffer - m_antwort.size());
        if (neu.isEmpty()) {
            abbrechen(QStringLiteral("Lesefehler: ") + m_socket->errorString());
            return;
        }
        m_antwort += neu;
        const QByteArray zeile = antwortZeile(m_antwort);
        if (zeile.isEmpty()) {
            if (m_antwort.size() >= kPuffer) {
                abbrechen(QStringLiteral("Antwort des Mailservers zu lang"));
                return;
            }
            m_timer->start(m_timeout);
            continue;
        }
        m_antwort.clear();
        m_timer->start(m_timeout);
        antworten(zeile);
    }
}

void Smtp::gruessen(bool ehlo)
{
    const int at = m_absender.indexOf(QLatin1Char('@'));
    const QByteArray domain = (at > 0 ? m_absender.mid(at + 1) : QString()).toLatin1();
    senden((ehlo ? "EHLO " : "HELO ") + domain + kCrLf);
    m_state = ehlo ? Ehlo : Helo;
}

void Smtp::antworten(const QByteArray &zeile)
{
    const int code = zeile.left(3).toInt();
    QString grund = QStringLiteral("Der Mailserver lehnt ab: ");
    switch (m_state) {
    case Gruss:
        if (code != 220)
            break;
        // STARTTLS is an extension: only EHLO asks for it.
        gruessen(!m_credential.isEmpty() || m_verschluesselung == StartTls);
        return;
    case TlsAngefragt:
        if (code != 220) {
            grund = QStringLiteral("Der Mailserver bietet kein STARTTLS an: ");
            break;
        }
        // Whatever came in clear after the reply must not count as protected.
        m_socket->readAll();
        m_state = Handshake;
        m_socket->startClientEncryption();
        return;
    case Ehlo:
        if (code != 250)
            break;
        if (m_verschluesselung == StartTls && !m_socket->isEncrypted()) {
            senden("STARTTLS" + kCrLf);
            m_state = TlsAngefragt;
            return;
        }
        if (!m_credential.isEmpty()) {
            senden("AUTH PLAIN " + m_credential.toLatin1() + kCrLf);
            m_state = Helo;
            return;
        }
        [[fallthrough]]; // EHLO without login: on to MAIL
    case Helo:
        if (code != 250 && code != 235)
            break;
        senden("MAIL From:<" + m_absender.toLatin1() + ">" + kCrLf);
        m_state = Mail;
        return;
    case Mail:
        if (code != 250)
            break;
        senden("RCPT To:<" + m_recipient.toLatin1() + ">" + kCrLf);
        m_state = Rcpt;
        return;
    case Rcpt:
        if (code != 250)
            break;
        senden("DATA" + kCrLf);
        m_state = Data;
        return;
    case Data:
        if (code != 354)
            break;
        senden(pMailText() + "." + kCrLf);
        m_state = Nachricht;
        return;
    case Nachricht:
        if (code != 250)
            break;
        m_state = Fertig;
        senden("QUIT" + kCrLf);
        m_state = Quit;
        return;
    case Quit:
        // The answer to QUIT: nothing more to say.
        m_socket->disconnectFromHost();
        return;
    default:
        return;
    }
    scheitern(grund + QString::fromLatin1(zeile));
    senden("QUIT" + kCrLf);
    m_state = Quit;
}

QByteArray Smtp::pMailText() const
{
    static const char *const tage[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
    static const char *const monate[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const QDateTime jetzt = QDateTime::currentDateTime();
    const int at = m_absender.indexOf(QLatin1Char('@'));

    QByteArray aus = "MIME-Version: 1.0" + kCrLf;
    aus += "Message-ID: <" + jetzt.toString(QStringLiteral("yyyyMMddhhmmsszzz")).toLatin1() + ".ve-mailer."
           + QByteArray::number(m_mid).rightJustified(6, '0') + (at > 0 ? m_absender.mid(at) : QString()).toLatin1()
           + ">" + kCrLf;
    if (m_name.isEmpty())
        aus += "From: " + m_absender.toLatin1() + kCrLf;
    else
        aus += pWrHeader(QStringLiteral("From: ") + m_name + QStringLiteral(" <") + m_absender + QLatin1Char('>'), 6,
                         6 + int(m_name.size()));
    aus += "To: " + m_recipient.toLatin1() + kCrLf;
    const int minuten = jetzt.offsetFromUtc() / 60;
    aus += QString::asprintf("Date: %s, %s %s %s %c%02i%02i", tage[jetzt.date().dayOfWeek() - 1],
                             qPrintable(jetzt.toString(QStringLiteral("dd"))), monate[jetzt.date().month() - 1],
                             qPrintable(jetzt.toString(QStringLiteral("yyyy HH:mm:ss"))), minuten < 0 ? '-' : '+',
                             qAbs(minuten) / 60, qAbs(minuten) % 60)
               .toLatin1()
           + kCrLf;
    aus += "X-Mailer:  Feldmarkbund Rechnungsmailer" + kCrLf;
    if (!m_subject.isEmpty())
        aus += pWrHeader(QStringLiteral("Subject: ") + m_subject, 9, 0);
    aus += "Content-Type: text/plain;" + kCrLf + kEinzug + "charset=iso-8859-1" + kCrLf;
    aus += "Content-Transfer-Encoding: 8bit" + kCrLf + kCrLf;
    aus += umbrechen(QString(m_body).remove(QLatin1Char('\r')).toLatin1());
    return aus;
}

// One header line; the range from `start` to `end` (0: the line's end) is encoded
// as RFC 2047 "Q" words when it holds anything but plain printable characters.
QByteArray Smtp::pWrHeader(const QString &line, int start, int end)
{
    const QByteArray b = line.toLatin1();
    if (end <= 0 || end > b.size())
        end = int(b.size());
    start = qBound(0, qMin(start, 72), end);

    bool rein = true;
    for (int i = start; i < end && rein; ++i)
        rein = uchar(b[i]) >= 0x20 && uchar(b[i]) <= 0x7a;
    if (rein)
        return falten(b);

    QByteArray aus;
    QByteArray zeile;
    if (start >= 59 && b[start - 1] == ' ') {
        aus += ohneBlankAmEnde(b.left(start)) + kCrLf;
        zeile = kEinzug;
    } else {
        zeile = b.left(start);
    }
    zeile += kQAnfang;
    for (int i = start; i < end; ++i) {
        const char c = b[i];
        if (uchar(c) >= 0x20 && uchar(c) <= 0x7a && !istSonderzeichen(c))
            zeile += c;
        else
            zeile += '=' + QByteArray::number(uchar(c), 16).toUpper().rightJustified(2, '0');
        if (zeile.size() > 67 && i + 1 < end) {
            aus += zeile + "?=" + kCrLf;
            zeile = kEinzug + kQAnfang;
        }
    }
    aus += zeile + "?=" + kCrLf;
    // What follows the encoded range (the address of From:) goes on a line of its own.
    const QByteArray rest = b.mid(end);
    if (!rest.isEmpty() && rest.size() <= 500)
        aus += kEinzug + rest + kCrLf;
    return aus;
}
