// The mail composer and SMTP client: placeholders, the exact message on the wire,
// a real aiosmtpd server (in clear and over TLS with a throw-away CA) whose stored
// mails Python's email package reads back, and scripted servers that misbehave.

#include "db.h"
#include "mailserver.h"
#include "smtp.h"
#include "testdb.h"
#include "textutil.h"

#include <QSslConfiguration>
#include <QSslSocket>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

#include <memory>

namespace {

void vorlage(const QString &subject, const QString &inhalt)
{
    Db::ausfuehren(QStringLiteral("INSERT INTO textbaustein (bez,beschreibung,subject,inhalt) VALUES ('B',' ',?,?)"),
                   {subject, inhalt});
}

// A server that plays a script: the first entry greets, every further entry answers
// one command line (the message after DATA counts as one). "|" splits an answer into
// segments sent 30 ms apart; "CLOSE" hangs up; an exhausted script stays silent.
class SkriptServer : public QTcpServer
{
public:
    explicit SkriptServer(QByteArrayList skript) : m_skript(std::move(skript))
    {
        listen(QHostAddress::LocalHost);
        connect(this, &QTcpServer::newConnection, this, [this] {
            m_socket = nextPendingConnection();
            connect(m_socket, &QTcpSocket::readyRead, this, &SkriptServer::lesen);
            antworten();
        });
    }
    QByteArrayList befehle; // the command lines received, without CRLF
    QByteArray nachricht;    // the message after DATA, as sent

private:
    void lesen()
    {
        m_puffer += m_socket->readAll();
        for (;;) {
            const bool daten = befehle.endsWith("DATA") && nachricht.isEmpty();
            const int ende = m_puffer.indexOf(daten ? "\r\n.\r\n" : "\r\n");
            if (ende < 0)
                return;
            (daten ? nachricht : befehle.emplace_back()) = m_puffer.left(ende + (daten ? 2 : 0));
            m_puffer.remove(0, ende + (daten ? 5 : 2));
            antworten();
        }
    }
    void antworten()
    {
        if (m_skript.isEmpty())
            return;
        const QByteArray antwort = m_skript.takeFirst();
        if (antwort == "CLOSE")
            return m_socket->disconnectFromHost();
        int teile = 0;
        for (const QByteArray &teil : antwort.split('|'))
            QTimer::singleShot(30 * teile++, m_socket, [s = m_socket, teil] { s->write(teil); s->flush(); });
    }

    QTcpSocket *m_socket = nullptr;
    QByteArrayList m_skript;
    QByteArray m_puffer;
};

// `name`.pem and `name`.key in `ordner`: a CA of its own, or with `ca` a server certificate for `hosts`.
bool zertifikat(const QString &ordner, const QString &name, const QString &ca = {}, const QString &hosts = {})
{
    QStringList argumente{"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes",
                          "-days", "2", "-subj", "/CN=" + name, "-keyout", name + ".key", "-out", name + ".pem"};
    if (!ca.isEmpty())
        argumente << "-CA" << ca + ".pem" << "-CAkey" << ca + ".key" << "-addext" << "subjectAltName=" + hosts
                  << "-addext" << "basicConstraints=critical,CA:FALSE";
    QProcess openssl;
    openssl.setWorkingDirectory(ordner);
    openssl.start(QStringLiteral("openssl"), argumente);
    return openssl.waitForFinished() && openssl.exitStatus() == QProcess::NormalExit && openssl.exitCode() == 0;
}

// A well-behaved server: greeting, HELO, MAIL, RCPT, DATA, message, QUIT (EHLO adds "235" for AUTH).
const QByteArrayList kGut = {"220 hi\r\n", "250 ok\r\n", "250 ok\r\n", "250 ok\r\n",
                             "354 go\r\n", "250 queued\r\n", "221 bye\r\n"};

} // namespace

class TstSmtp : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        // A zone west of UTC with half hours: the Date: offset needs its sign and its minutes.
        qputenv("TZ", "America/St_Johns");

        QVERIFY2(QSslSocket::supportsSsl(), "Qt's TLS backend is missing (libqt6network6 with libssl3)");
        const QString ordner = m_zertifikate.path();
        QVERIFY(zertifikat(ordner, "ca") && zertifikat(ordner, "fremde-ca"));
        QVERIFY(zertifikat(ordner, "server", "ca", "IP:127.0.0.1"));
        QVERIFY(zertifikat(ordner, "fremd", "fremde-ca", "IP:127.0.0.1"));
        QVERIFY(zertifikat(ordner, "anderer-name", "ca", "DNS:mail.example.net"));
        // The throw-away CA is the only one trusted here.
        QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
        tls.setCaCertificates(QSslCertificate::fromPath(ordner + "/ca.pem"));
        QSslConfiguration::setDefaultConfiguration(tls);
    }
    // A member with address and bank details; the street looks like a placeholder.
    void init()
    {
        m_db = std::make_unique<TestDb>();
        QVERIFY(m_db->ok());
        Db::ausfuehren(QStringLiteral("INSERT INTO adresse (art,key,name1,name2,strasse,plz,ort,land,mail) "
                                      "VALUES ('M',?,'Groß-Müller','Jürgen','Förde %plz%','24103','Kiel','D',?)"),
                       {UtilMidKey(4711), QStringLiteral("juergen@example.org")});
        Db::ausfuehren(QStringLiteral("INSERT INTO bankverbindung (art,key,nummer,blz,bank) VALUES ('M',?,'1234567890',"
                                      "'21050170','Förde Sparkasse')"), {UtilMidKey(4711)});
    }
    void cleanup() { m_db.reset(); }

    // The dialogue and every line of the message as the server receives it, with every
    // placeholder filled once in the table's order (inserted values are not searched again).
    void nachricht_data()
    {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("subject");
        QTest::addColumn<QString>("von");
        QTest::addColumn<QString>("betreff");
        QTest::addColumn<QString>("konto"); // "||": no bank details
        QTest::newRow("ASCII, HELO, gefaltet")
            << "" << "Kreisverband Nord"
            << "Ihr Mitgliedsbeitrag fuer das Jahr 2026 und die noch offenen Monate des Vorjahres, bitte"
            << "From: Kreisverband Nord <kasse@example.org>"
            << "Subject: Ihr Mitgliedsbeitrag fuer das Jahr 2026 und die noch offenen\n"
               "        Monate des Vorjahres, bitte"
            << "XXXXX7890|21050170|Förde Sparkasse";
        QTest::newRow("Umlaute, EHLO, kodiert")
            << "kasse" << "Förderkreis" << "Größere Beiträge für Mitglieder (über 60 Jahre) im Jahr 2026: Übersicht_Ä"
            << "From: =?iso-8859-1?Q?F=F6rderkreis?=\n         <kasse@example.org>"
            << "Subject: =?iso-8859-1?Q?Gr=F6=DFere=20Beitr=E4ge=20f=FCr=20Mitgliede?=\n"
               "        =?iso-8859-1?Q?r=20=28=FCber=2060=20Jahre=29=20im=20Jahr=202?=\n"
               "        =?iso-8859-1?Q?026=3A=20=DCbersicht=5F=C4?="
            << "XXXXX7890|21050170|Förde Sparkasse";
        QTest::newRow("ohne Name, Betreff, Bank") << "" << "" << "" << "From: kasse@example.org" << "" << "||";
    }
    void nachricht()
    {
        QFETCH(QString, user);
        QFETCH(QString, name);
        QFETCH(QString, subject);
        QFETCH(QString, von);
        QFETCH(QString, betreff);
        QFETCH(QString, konto);
        if (konto == "||")
            Db::ausfuehren("DELETE FROM bankverbindung");
        QStringList worte;
        for (int i = 0; i < 200; ++i)
            worte << QString::number(i * 7919 % 100000);
        const QString wurm(100, QLatin1Char('x'));
        vorlage(subject, "%vname%|%nname%|%mid%|%strasse%|%plz%|%ort%|%land%|%jahr%|%betrag%\n%kontonr%|%kontoblz%|"
                         "%kontobank%|%vname|%x%|%%mid%\n  eingerückt  \n.Punkt\n.\n" + wurm + " Ende\n"
                         + worte.join(' ') + '\n');
        SkriptServer server(user.isEmpty() ? kGut : (kGut.mid(0, 2) << "235 ok\r\n" << kGut.mid(2)));
        MailServer::einstellen(server.serverPort(), name, user, "geheim");
        Smtp smtp;
        QVERIFY(!smtp.setText("C", "M", UtilMidKey(4711), 4711, 2026, 123450)); // no such template
        QVERIFY(!smtp.setText("B", "M", UtilMidKey(4712), 4712, 2026, 123450)); // no such address
        QVERIFY(smtp.setText("B", "M", UtilMidKey(4711), 4711, 2026, 123450));
        QVERIFY(smtp.sendMail());
        const QByteArray auth = "EHLO example.org\nAUTH PLAIN " + QByteArray("\0kasse\0geheim", 13).toBase64();
        QCOMPARE(server.befehle.join('\n'), (user.isEmpty() ? "HELO example.org" : auth)
                                                + "\nMAIL From:<kasse@example.org>\nRCPT To:<juergen@example.org>"
                                                  "\nDATA\nQUIT");

        // Every line ends with CRLF; Message-ID and Date, when well-formed, are named only.
        QStringList zeilen = QString::fromLatin1(server.nachricht).split("\r\n");
        QCOMPARE(zeilen.takeLast(), QString());
        const int minuten = QDateTime::currentDateTime().offsetFromUtc() / 60;
        zeilen.replaceInStrings(
            QRegularExpression(
                "^(Message-ID): <\\d{17}\\.ve-mailer\\.004711@example\\.org>$|^(Date): (Mon|Tue|Wed|Thu|Fri|Sat|Sun), "
                "\\d\\d (Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) \\d{4} \\d\\d:\\d\\d:\\d\\d "
                + QString::asprintf("\\%c%02d%02d$", minuten < 0 ? '-' : '+', qAbs(minuten) / 60, qAbs(minuten) % 60)),
            "\\1\\2");
        const QString erwartet = "MIME-Version: 1.0\nMessage-ID\n" + von + "\nTo: juergen@example.org\nDate\n"
                                 "X-Mailer:  Feldmarkbund Rechnungsmailer\n" + (betreff.isEmpty() ? "" : betreff + '\n')
                                 + "Content-Type: text/plain;\n        charset=iso-8859-1\n"
                                   "Content-Transfer-Encoding: 8bit\n\n"
                                   "Jürgen|Groß-Müller|4711|Förde %plz%|24103|Kiel|D|2026|1.234,50\n" + konto
                                 + "|%vname|%x%|%4711\n  eingerückt\n..Punkt\n..\n" + wurm + "\nEnde";
        const int kopf = int(erwartet.count('\n')) + 1;
        QCOMPARE(zeilen.mid(0, kopf).join('\n'), erwartet);
        // The paragraph: lines of at most 76 characters that give back the words.
        const QStringList absatz = zeilen.mid(kopf);
        QVERIFY(absatz.size() > 10);
        for (const QString &z : absatz) // filled up to the limit, but the last
            QVERIFY2(z.size() <= 76 && (z.size() > 70 || &z == &absatz.last()), qPrintable(z));
        QCOMPARE(absatz.join(' '), worte.join(' '));
    }

    // Servers that answer in pieces, in several lines, wrongly or not at all: a good
    // session returns true, every broken one false with its reason, none hangs.
    void server_data()
    {
        QTest::addColumn<QByteArrayList>("skript"); // empty: nothing listens on the port
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("fehler"); // empty: sent
        const QString ab = "Der Mailserver lehnt ab: ";
        QTest::newRow("geteilte Antworten") << QByteArrayList{"2|20 hi\r\n", "250 o|k\r|\n", "250-a\r\n|250 ok\r\n",
                                                               "250 ok\r\n", "354 go\r\n", "250 ok\r\n", "221\r\n"}
                                            << "" << "";
        QTest::newRow("mehrzeiliges EHLO")
            << QByteArrayList{"220-hi\r\n220 ESMTP\r\n", "250-x\r\n250-AUTH PLAIN\r\n250 SIZE\r\n", "235 ok\r\n",
                              "250 ok\r\n", "250 ok\r\n", "354 go\r\n", "250 ok\r\n", "221 bye\r\n"}
            << "kasse" << "";
        QTest::newRow("AUTH mit 250") << (kGut.mid(0, 2) << "250 ok\r\n" << kGut.mid(2)) << "kasse" << "";
        QTest::newRow("keine Antwort auf QUIT") << kGut.mid(0, 6) << "" << "";
        QTest::newRow("Antwort zu lang") << QByteArrayList{"220 hi\r\n", "250-" + QByteArray(4100, 'x') + "\r\n"}
                                         << "" << "Antwort des Mailservers zu lang";
        QTest::newRow("abgewiesen") << QByteArrayList{"554 nein\r\n", "221 bye\r\n"} << "" << ab + "554 nein";
        QTest::newRow("AUTH abgelehnt") << QByteArrayList{"220 hi\r\n", "250 ok\r\n", "535 nein\r\n", "221\r\n"}
                                        << "kasse" << ab + "535 nein";
        QTest::newRow("Empfaenger abgelehnt") << (kGut.mid(0, 3) << "550 unbekannt\r\n") << "" << ab + "550 unbekannt";
        QTest::newRow("kein 354") << (kGut.mid(0, 4) << "250 ok\r\n") << "" << ab + "250 ok";
        QTest::newRow("Nachricht abgelehnt") << (kGut.mid(0, 5) << "452 voll\r\n") << "" << ab + "452 voll";
        QTest::newRow("stumm nach HELO") << QByteArrayList{"220 hi\r\n"} << "" << "Der Mailserver antwortet nicht";
        QTest::newRow("legt nach DATA auf") << (kGut.mid(0, 5) << "CLOSE") << ""
                                            << "Der Mailserver hat die Verbindung beendet";
        QTest::newRow("niemand da") << QByteArrayList() << ""
                                    << "Verbindung zum Mailserver gescheitert: Connection refused";
    }
    void server()
    {
        QFETCH(QByteArrayList, skript);
        QFETCH(QString, user);
        QFETCH(QString, fehler);
        vorlage("Test", "Text\n");
        SkriptServer server(skript);
        MailServer::einstellen(server.serverPort(), QString(), user, "geheim");
        if (skript.isEmpty())
            server.close();
        Smtp smtp;
        smtp.setTimeout(400);
        QVERIFY(smtp.setText("B", "M", UtilMidKey(4711), 4711, 2026, 0));
        QCOMPARE(smtp.sendMail(), fehler.isEmpty());
        QCOMPARE(smtp.fehler(), fehler);
        if (fehler.isEmpty()) // exactly one answer to every reply, AUTH after the last EHLO line
            QCOMPARE(server.befehle.size(), user.isEmpty() ? 5 : 6);
    }

    // Through aiosmtpd, in clear and over TLS: Python's email package reads sender name,
    // subject and body back as they were written; the server checks AUTH PLAIN. A
    // certificate that is not valid for the host, or a server without STARTTLS when it
    // is wanted, fails the send before the password leaves.
    void echterServer_data()
    {
        QTest::addColumn<int>("tls");            // Smtp::Verschluesselung, and how the server speaks
        QTest::addColumn<QString>("zertifikat"); // the server's; empty: the server knows no TLS
        QTest::addColumn<QString>("passwort");   // of user "kasse", the server wants "geheim"; empty: no login
        QTest::addColumn<QString>("fehler");     // the reason begins so; empty: sent
        const QString ungueltig = "Zertifikat des Mailservers ungültig: ";
        QTest::newRow("EHLO mit AUTH") << 0 << "" << "geheim" << "";
        QTest::newRow("falsches Passwort") << 0 << "" << "falsch" << "Der Mailserver lehnt ab: 535";
        QTest::newRow("STARTTLS mit AUTH") << 1 << "server" << "geheim" << "";
        QTest::newRow("STARTTLS ohne Login") << 1 << "server" << "" << "";
        QTest::newRow("SSL/TLS mit AUTH") << 2 << "server" << "geheim" << "";
        QTest::newRow("STARTTLS, fremde CA") << 1 << "fremd" << "geheim" << ungueltig;
        QTest::newRow("SSL/TLS, fremde CA") << 2 << "fremd" << "geheim" << ungueltig;
        QTest::newRow("SSL/TLS, anderer Name") << 2 << "anderer-name" << "geheim" << ungueltig;
        QTest::newRow("kein STARTTLS") << 1 << "" << "geheim" << "Der Mailserver bietet kein STARTTLS an: ";
    }
    void echterServer()
    {
        QFETCH(int, tls);
        QFETCH(QString, zertifikat);
        QFETCH(QString, passwort);
        QFETCH(QString, fehler);
        vorlage("Ihr Beitrag für %vname% %nname%, das Jahr %jahr%: Übersicht der offenen Monate, Äpfel & Birnen",
                "Liebe(r) %vname%,\n\nbitte überweisen Sie %betrag% EUR für %jahr%.\n"
                ".\n..zwei Punkte\nKonto: %kontonr%\nGrüße, Ihr Schatzmeister\n");
        MailServer server(passwort.isEmpty() ? QStringList() : QStringList{"kasse", "geheim"},
                          zertifikat.isEmpty() ? MailServer::OhneTls : MailServer::Tls(tls),
                          m_zertifikate.filePath(zertifikat));
        QVERIFY(server.port() > 0);
        MailServer::einstellen(server.port(), "Förderkreis Süd (Kasse)", passwort.isEmpty() ? "" : "kasse", passwort,
                               Smtp::verschluesselungen().at(tls));
        Smtp smtp;
        smtp.setTimeout(10000);
        QVERIFY(smtp.setText("B", "M", UtilMidKey(4711), 4711, 2026, 4800));
        smtp.setTo(QStringLiteral("pruefer@example.net"));
        QCOMPARE(smtp.sendMail(), fehler.isEmpty());
        QCOMPARE(smtp.sendMail(), fehler.isEmpty()); // the same object sends the next mail
        QCOMPARE(smtp.fehler().left(fehler.size()), fehler);

        const QList<QJsonObject> mails = server.mails();
        QCOMPARE(mails.size(), fehler.isEmpty() ? 2 : 0);
        if (mails.isEmpty())
            return;
        QStringList gelesen;
        for (const char *feld : {"subject", "name", "adresse", "to", "body"})
            gelesen << mails[1][feld].toString();
        QCOMPARE(gelesen, QStringList({smtp.subject(), "Förderkreis Süd (Kasse)", "kasse@example.org",
                                       "pruefer@example.net", smtp.body()}));
        QVERIFY(qAbs(mails[1]["zeit"].toDouble() - QDateTime::currentSecsSinceEpoch()) < 120);
    }

private:
    std::unique_ptr<TestDb> m_db;
    QTemporaryDir m_zertifikate;
};

QTEST_MAIN(TstSmtp)
#include "tst_smtp.moc"
