// The mail composer and SMTP client: placeholders, the exact message on the wire,
// a real aiosmtpd server whose stored mails Python's email package reads back,
// and scripted servers that misbehave.

#include "db.h"
#include "mailserver.h"
#include "smtp.h"
#include "testdb.h"
#include "textutil.h"

#include <QJsonObject>
#include <QLocale>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QtTest>

#include <memory>

namespace {

// A member with address and bank details, and a template using every placeholder.
void mitgliedAnlegen(bool mitBank)
{
    Db::ausfuehren(QStringLiteral("INSERT INTO adresse (art,key,name1,name2,strasse,plz,ort,land,mail) "
                                  "VALUES ('M',?,?,?,?,?,?,?,?)"),
                   {UtilMidKey(4711), QStringLiteral("Groß-Müller"), QStringLiteral("Jürgen"),
                    QStringLiteral("Förde 5"), QStringLiteral("24103"), QStringLiteral("Kiel"), QStringLiteral("D"),
                    QStringLiteral("juergen@example.org")});
    if (mitBank)
        Db::ausfuehren(QStringLiteral("INSERT INTO bankverbindung (art,key,nummer,blz,bank) VALUES ('M',?,?,?,?)"),
                       {UtilMidKey(4711), QStringLiteral("1234567890"), QStringLiteral("21050170"),
                        QStringLiteral("Förde Sparkasse")});
}

void vorlage(const QString &subject, const QString &inhalt)
{
    Db::ausfuehren(QStringLiteral("INSERT INTO textbaustein (bez,beschreibung,subject,inhalt) VALUES ('B',' ',?,?)"),
                   {subject, inhalt});
}

// A server that plays a script: the first entry greets, every further entry answers
// one command line (the message after DATA counts as one). "|" splits an answer into
// segments sent 30 ms apart; "CLOSE" hangs up; an exhausted script stays silent.
class SkriptServer : public QObject
{
public:
    explicit SkriptServer(QByteArrayList skript) : m_skript(std::move(skript))
    {
        m_server.listen(QHostAddress::LocalHost);
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            m_socket = m_server.nextPendingConnection();
            connect(m_socket, &QTcpSocket::readyRead, this, &SkriptServer::lesen);
            antworten();
        });
    }
    quint16 port() const { return m_server.serverPort(); }
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
        int verzug = 0;
        for (const QByteArray &teil : antwort.split('|')) {
            QTimer::singleShot(verzug, m_socket, [s = m_socket, teil] { s->write(teil); s->flush(); });
            verzug += 30;
        }
    }

    QTcpServer m_server;
    QTcpSocket *m_socket = nullptr;
    QByteArrayList m_skript;
    QByteArray m_puffer;
};

// A well-behaved server: greeting, HELO, MAIL, RCPT, DATA, message, QUIT (EHLO adds "235" for AUTH).
const QByteArrayList kGuterServer = {"220 hi\r\n", "250 ok\r\n", "250 ok\r\n", "250 ok\r\n",
                                     "354 go\r\n", "250 queued\r\n", "221 bye\r\n"};

QByteArrayList zeilenOhneCrLf(const QByteArray &text)
{
    QByteArrayList zeilen = text.split('\n');
    if (zeilen.takeLast() != QByteArray())
        return {"(letzte Zeile ohne CRLF)"};
    for (QByteArray &z : zeilen) {
        if (!z.endsWith('\r'))
            return {"(Zeile ohne CRLF)"};
        z.chop(1);
    }
    return zeilen;
}

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
    }
    void init()
    {
        m_db = std::make_unique<TestDb>();
        QVERIFY(m_db->ok());
    }
    void cleanup() { m_db.reset(); }

    // Every placeholder once, in the table's order; inserted values are not searched again.
    void platzhalter_data()
    {
        QTest::addColumn<bool>("bank");
        QTest::addColumn<QString>("vorname");
        QTest::addColumn<QString>("baustein");
        QTest::addColumn<int>("mid");
        QTest::addColumn<QString>("text"); // empty: setText fails
        const QString rest = "|Groß-Müller|4711|Förde 5|24103|Kiel|D|2026|1.234,50|";
        QTest::newRow("mit Bank") << true << "Jürgen" << "B" << 4711
                                  << "Jürgen" + rest + "XXXXX7890|21050170|Förde Sparkasse|%vname|%x%|%4711";
        QTest::newRow("ohne Bank") << false << "Jürgen" << "B" << 4711 << "Jürgen" + rest + "|||%vname|%x%|%4711";
        QTest::newRow("Wert wie Platzhalter") << false << "%nname%" << "B" << 4711
                                              << "%nname%" + rest + "|||%vname|%x%|%4711";
        QTest::newRow("Vorlage fehlt") << true << "Jürgen" << "C" << 4711 << "";
        QTest::newRow("Adresse fehlt") << true << "Jürgen" << "B" << 4712 << "";
    }
    void platzhalter()
    {
        QFETCH(bool, bank);
        QFETCH(QString, vorname);
        QFETCH(QString, baustein);
        QFETCH(int, mid);
        QFETCH(QString, text);
        mitgliedAnlegen(bank);
        Db::ausfuehren(QStringLiteral("UPDATE adresse SET name2=?"), {vorname});
        vorlage("Beitrag %jahr% %nname%", "%vname%|%nname%|%mid%|%strasse%|%plz%|%ort%|%land%|%jahr%|%betrag%|"
                                          "%kontonr%|%kontoblz%|%kontobank%|%vname|%x%|%%mid%");
        Smtp smtp;
        QCOMPARE(smtp.setText(baustein, "M", UtilMidKey(mid), mid, 2026, 123450), !text.isEmpty());
        QCOMPARE(smtp.body(), text);
        QCOMPARE(smtp.subject(), text.isEmpty() ? QString() : QStringLiteral("Beitrag 2026 Groß-Müller"));
        QCOMPARE(smtp.recipient(), text.isEmpty() ? QString() : QStringLiteral("juergen@example.org"));
        smtp.setTo(QStringLiteral("test@example.net"));
        QCOMPARE(smtp.recipient(), QStringLiteral("test@example.net"));
    }

    // The dialogue and every line of the message as the server receives it.
    void nachricht_data()
    {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("subject");
        QTest::addColumn<QByteArrayList>("von");
        QTest::addColumn<QByteArrayList>("betreff");
        QTest::newRow("ASCII, HELO") << "" << "Kreisverband Nord" << "Beitrag 2026"
                                     << QByteArrayList{"From: Kreisverband Nord <kasse@example.org>"}
                                     << QByteArrayList{"Subject: Beitrag 2026"};
        QTest::newRow("Umlaute, EHLO") << "kasse" << "Förderkreis" << "Beitrag für Jürgen"
                                       << QByteArrayList{"From: =?iso-8859-1?Q?F=F6rderkreis?=",
                                                         "         <kasse@example.org>"}
                                       << QByteArrayList{"Subject: =?iso-8859-1?Q?Beitrag=20f=FCr=20J=FCrgen?="};
        QTest::newRow("lang, gefaltet")
            << "" << "" << "Ihr Mitgliedsbeitrag fuer das Jahr 2026 und die noch offenen Monate des Vorjahres, bitte"
            << QByteArrayList{"From: kasse@example.org"}
            << QByteArrayList{"Subject: Ihr Mitgliedsbeitrag fuer das Jahr 2026 und die noch offenen",
                              "        Monate des Vorjahres, bitte"};
        QTest::newRow("lang, kodiert")
            << "" << "" << "Größere Beiträge für Mitglieder (über 60 Jahre) im Jahr 2026: Übersicht_Ä"
            << QByteArrayList{"From: kasse@example.org"}
            << QByteArrayList{"Subject: =?iso-8859-1?Q?Gr=F6=DFere=20Beitr=E4ge=20f=FCr=20Mitgliede?=",
                              "        =?iso-8859-1?Q?r=20=28=FCber=2060=20Jahre=29=20im=20Jahr=202?=",
                              "        =?iso-8859-1?Q?026=3A=20=DCbersicht=5F=C4?="};
        QTest::newRow("ohne Betreff") << "" << "" << "" << QByteArrayList{"From: kasse@example.org"}
                                      << QByteArrayList();
    }
    void nachricht()
    {
        QFETCH(QString, user);
        QFETCH(QString, name);
        QFETCH(QString, subject);
        QFETCH(QByteArrayList, von);
        QFETCH(QByteArrayList, betreff);
        mitgliedAnlegen(false);
        QStringList worte;
        for (int i = 0; i < 200; ++i)
            worte << QString::number(i * 7919 % 100000);
        const QString wurm(100, QLatin1Char('x'));
        vorlage(subject, "Hallo %vname%,\n\n  eingerückt  \n.Punkt\n.\n" + wurm + " Ende\n" + worte.join(' ') + '\n');
        QByteArrayList skript = kGuterServer;
        if (!user.isEmpty())
            skript.insert(2, "235 ok\r\n");
        SkriptServer server(skript);
        MailServer::einstellen(server.port(), name, user, "geheim");
        Smtp smtp;
        QVERIFY(smtp.setText("B", "M", UtilMidKey(4711), 4711, 2026, 0));
        QVERIFY(smtp.sendMail());

        QByteArrayList befehle{user.isEmpty() ? "HELO example.org" : "EHLO example.org", "MAIL From:<kasse@example.org>",
                               "RCPT To:<juergen@example.org>", "DATA", "QUIT"};
        if (!user.isEmpty())
            befehle.insert(1, "AUTH PLAIN " + QByteArray("\0kasse\0geheim", 13).toBase64());
        QCOMPARE(server.befehle, befehle);

        QByteArrayList zeilen = zeilenOhneCrLf(server.nachricht);
        const int minuten = QDateTime::currentDateTime().offsetFromUtc() / 60;
        const QString zone
            = QString::asprintf("%c%02d%02d", minuten < 0 ? '-' : '+', qAbs(minuten) / 60, qAbs(minuten) % 60);
        const QRegularExpression muster[] = {
            QRegularExpression("^Message-ID: <\\d{17}\\.ve-mailer\\.004711@example\\.org>$"),
            QRegularExpression("^Date: (Mon|Tue|Wed|Thu|Fri|Sat|Sun), \\d\\d (Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|"
                               "Oct|Nov|Dec) \\d{4} \\d\\d:\\d\\d:\\d\\d \\" + zone + "$")};
        QVERIFY(muster[0].match(QString::fromLatin1(zeilen.value(1))).hasMatch());
        QVERIFY(muster[1].match(QString::fromLatin1(zeilen.value(3 + von.size()))).hasMatch());
        zeilen[1] = "(Message-ID)";
        zeilen[3 + von.size()] = "(Date)";
        const QByteArrayList kopf = QByteArrayList{"MIME-Version: 1.0", "(Message-ID)"} + von
                                    + QByteArrayList{"To: juergen@example.org", "(Date)",
                                                     "X-Mailer:  Feldmarkbund Rechnungsmailer"}
                                    + betreff
                                    + QByteArrayList{"Content-Type: text/plain;", "        charset=iso-8859-1",
                                                     "Content-Transfer-Encoding: 8bit", "",
                                                     "Hallo J\xfcrgen,", "", "  einger\xfc" "ckt", "..Punkt", "..",
                                                     wurm.toLatin1(), "Ende"};
        QCOMPARE(zeilen.mid(0, kopf.size()), kopf);
        // The paragraph: lines of at most 76 characters that give back the words.
        const QByteArrayList absatz = zeilen.mid(kopf.size());
        QVERIFY(absatz.size() > 10);
        for (const QByteArray &z : absatz) // filled up to the limit, but the last
            QVERIFY2(z.size() <= 76 && (z.size() > 70 || &z == &absatz.last()), z.constData());
        QCOMPARE(QString::fromLatin1(absatz.join(' ')), worte.join(' '));
    }

    // Servers that answer in pieces, in several lines, wrongly or not at all: a good
    // session returns true, every broken one false, none hangs.
    void server_data()
    {
        QTest::addColumn<QByteArrayList>("skript"); // empty: nothing listens on the port
        QTest::addColumn<QString>("user");
        QTest::addColumn<bool>("ok");
        const QByteArrayList gut = kGuterServer;
        const QByteArray lang = "250-" + QByteArray(4100, 'x') + "\r\n250 ok\r\n";
        QTest::newRow("gut") << gut << "" << true;
        QTest::newRow("geteilte Antworten") << QByteArrayList{"2|20 hi\r\n", "250 o|k\r|\n", "250-a\r\n|250 ok\r\n",
                                                               "250 ok\r\n", "354 go\r\n", "250 ok\r\n", "221\r\n"}
                                            << "" << true;
        QTest::newRow("mehrzeiliges EHLO")
            << QByteArrayList{"220-hi\r\n220 ESMTP\r\n", "250-x\r\n250-AUTH PLAIN\r\n250 SIZE\r\n", "235 ok\r\n",
                              "250 ok\r\n", "250 ok\r\n", "354 go\r\n", "250 ok\r\n", "221 bye\r\n"}
            << "kasse" << true;
        QTest::newRow("AUTH mit 250") << QByteArrayList(gut).mid(0, 2) + QByteArrayList{"250 ok\r\n"} + gut.mid(2)
                                      << "kasse" << true;
        QTest::newRow("Antwort zu lang") << QByteArrayList{"220 hi\r\n", lang} << "" << false;
        QTest::newRow("Gruss zu lang") << QByteArrayList{"220 " + QByteArray(5000, 'y') + "\r\n"} << "" << false;
        QTest::newRow("abgewiesen") << QByteArrayList{"554 nein\r\n", "221 bye\r\n"} << "" << false;
        QTest::newRow("AUTH abgelehnt") << QByteArrayList{"220 hi\r\n", "250 ok\r\n", "535 nein\r\n", "221\r\n"}
                                        << "kasse" << false;
        QTest::newRow("Empfaenger abgelehnt") << gut.mid(0, 3) + QByteArrayList{"550 unbekannt\r\n"} << "" << false;
        QTest::newRow("kein 354") << gut.mid(0, 4) + QByteArrayList{"250 ok\r\n"} << "" << false;
        QTest::newRow("Nachricht abgelehnt") << gut.mid(0, 5) + QByteArrayList{"452 voll\r\n", "221\r\n"} << ""
                                             << false;
        QTest::newRow("stumm") << QByteArrayList{""} << "" << false;
        QTest::newRow("stumm nach HELO") << QByteArrayList{"220 hi\r\n"} << "" << false;
        QTest::newRow("legt auf") << QByteArrayList{"220 hi\r\n", "CLOSE"} << "" << false;
        QTest::newRow("legt nach DATA auf") << gut.mid(0, 5) + QByteArrayList{"CLOSE"} << "" << false;
        QTest::newRow("keine Antwort auf QUIT") << gut.mid(0, 6) << "" << true;
        QTest::newRow("niemand da") << QByteArrayList() << "" << false;
    }
    void server()
    {
        QFETCH(QByteArrayList, skript);
        QFETCH(QString, user);
        QFETCH(bool, ok);
        mitgliedAnlegen(false);
        vorlage("Test", "Text\n");
        quint16 port = 0;
        std::unique_ptr<SkriptServer> server;
        if (skript.isEmpty()) {
            QTcpServer frei; // a port that was just free
            frei.listen(QHostAddress::LocalHost);
            port = frei.serverPort();
        } else {
            server = std::make_unique<SkriptServer>(skript);
            port = server->port();
        }
        MailServer::einstellen(port, QString(), user, "geheim");
        Smtp smtp;
        smtp.setTimeout(400);
        QVERIFY(smtp.setText("B", "M", UtilMidKey(4711), 4711, 2026, 0));
        QCOMPARE(smtp.sendMail(), ok);
        if (server && ok) // exactly one answer to every reply, AUTH after the last EHLO line
            QCOMPARE(server->befehle.size(), user.isEmpty() ? 5 : 6);
    }

    // Through aiosmtpd: Python's email package reads subject, sender name and body back
    // as they were written; AUTH PLAIN is checked by the server.
    void echterServer_data()
    {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("passwort"); // the server wants "geheim"
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("subject");
        QTest::addColumn<bool>("ok");
        QTest::newRow("HELO, Umlaute") << "" << "" << "Förderkreis Süd (Kasse)" << "Beitrag für %vname% %nname%"
                                       << true;
        QTest::newRow("EHLO mit AUTH") << "kasse" << "geheim" << "Kreisverband Nord" << "Beitrag %jahr%" << true;
        QTest::newRow("falsches Passwort") << "kasse" << "falsch" << "Kreisverband Nord" << "Beitrag" << false;
        QTest::newRow("langer Betreff")
            << "" << "" << "Ä"
            << "Ihr Beitrag für das Jahr %jahr%: Übersicht der offenen Monate, Äpfel & Birnen, Grüße aus Kiel" << true;
    }
    void echterServer()
    {
        QFETCH(QString, user);
        QFETCH(QString, passwort);
        QFETCH(QString, name);
        QFETCH(QString, subject);
        QFETCH(bool, ok);
        mitgliedAnlegen(true);
        const QString text = "Liebe(r) %vname%,\n\nbitte überweisen Sie %betrag% EUR für %jahr%.\n"
                             ".\n..zwei Punkte\nKonto: %kontonr%\nGrüße, Ihr Schatzmeister\n";
        vorlage(subject, text);
        MailServer server(user.isEmpty() ? QStringList() : QStringList{"kasse", "geheim"});
        QVERIFY(server.port() > 0);
        MailServer::einstellen(server.port(), name, user, passwort);
        Smtp smtp;
        smtp.setTimeout(10000);
        QVERIFY(smtp.setText("B", "M", UtilMidKey(4711), 4711, 2026, 4800));
        smtp.setTo(QStringLiteral("pruefer@example.net"));
        QCOMPARE(smtp.sendMail(), ok);
        QCOMPARE(smtp.sendMail(), ok); // the same object sends the next mail

        const QList<QJsonObject> mails = server.mails();
        QCOMPARE(mails.size(), ok ? 2 : 0);
        if (!ok)
            return;
        QCOMPARE(mails[0]["subject"].toString(), smtp.subject());
        QCOMPARE(mails[0]["name"].toString(), name);
        QCOMPARE(mails[0]["adresse"].toString(), QStringLiteral("kasse@example.org"));
        QCOMPARE(mails[0]["to"].toString(), QStringLiteral("pruefer@example.net"));
        QVERIFY(qAbs(mails[0]["zeit"].toDouble() - QDateTime::currentSecsSinceEpoch()) < 120);
        QCOMPARE(mails[0]["body"].toString(), smtp.body());
        QVERIFY(smtp.body().contains(QStringLiteral("Sie 48,00 EUR für 2026.\n.\n..zwei Punkte\nKonto: XXXXX7890")));
    }

private:
    std::unique_ptr<TestDb> m_db;
};

QTEST_MAIN(TstSmtp)
#include "tst_smtp.moc"
