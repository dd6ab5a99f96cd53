// Times the typical reads of the program on large books: generated demo data or an existing file.

#include "auszugbuchung.h"
#include "auszugexport.h"
#include "blzimport.h"
#include "csvdatei.h"
#include "db.h"
#include "demodaten.h"
#include "dtausdatei.h"
#include "sepadatei.h"
#include "einzelkto.h"
#include "interaktion.h"
#include "journexport.h"
#include "akkredlist.h"
#include "kontozeilen.h"
#include "ktodruck.h"
#include "midimportlauf.h"
#include "parameter.h"
#include "smtp.h"
#include "spendenexport.h"
#include "suchname.h"
#include "textutil.h"
#include "wdatum.h"
#include "wkonto.h"
#include "zahlabschluss.h"
#include "zahlerst.h"
#include "zahlmail.h"
#include "zuwenddruck.h"

#include <QApplication>
#include <QComboBox>
#include <QCommandLineParser>
#include <QDate>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableView>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>

#include <algorithm>
#include <ctime>
#include <sys/resource.h>
#include <functional>
#include <vector>

namespace {

struct Ergebnis
{
    QString vorgang;
    qint64 zeilen = 0;
    int laeufe = 0;
    double ersterMs = 0;
    double medianMs = 0;
};

// Runs `vorgang` up to `laeufe` times (fewer once three seconds are spent) and keeps the
// first and the median time. The first run meets a cold cache, the median a warm one.
Ergebnis messen(const QString &name, int laeufe, const std::function<qint64()> &vorgang)
{
    Ergebnis e;
    e.vorgang = name;
    std::vector<double> zeiten;
    QElapsedTimer gesamt;
    gesamt.start();
    for (int i = 0; i < laeufe && (i == 0 || gesamt.elapsed() < 3000); ++i) {
        QElapsedTimer uhr;
        uhr.start();
        e.zeilen = vorgang();
        zeiten.push_back(double(uhr.nsecsElapsed()) / 1e6);
    }
    e.laeufe = int(zeiten.size());
    e.ersterMs = zeiten.front();
    std::sort(zeiten.begin(), zeiten.end());
    e.medianMs = zeiten[zeiten.size() / 2];
    return e;
}

qint64 zaehlen(QSqlQuery &q)
{
    qint64 n = 0;
    while (q.next())
        ++n;
    return n;
}

QString zeile(const QString &vorgang, const QString &zeilen, const QString &laeufe, const QString &erster,
              const QString &median)
{
    return vorgang.leftJustified(44) + zeilen.rightJustified(10) + laeufe.rightJustified(7)
           + erster.rightJustified(12) + median.rightJustified(12);
}

QString ms(double wert) { return QString::number(wert, 'f', wert < 10 ? 3 : 1); }

// The payment run as the treasurer starts it: "&Ok" in the creation dialog, over all members.
qint64 zahllaufErstellen()
{
    ZahlungErst dialog;
    dialog.show(); // its progress label repaints as on the desktop
    dialog.pLauf();
    return Db::wert(QStringLiteral("SELECT count(*) FROM zahllauf")).toLongLong();
}

// A local aiosmtpd that accepts and discards every mail; port 0 when it does not start.
quint16 mailServerStarten(QProcess &server)
{
    QTcpServer frei;
    if (!frei.listen(QHostAddress::LocalHost))
        return 0;
    const quint16 port = frei.serverPort();
    frei.close();
    server.start(QStringLiteral(VELA_PYTHON),
                 {QStringLiteral("-m"), QStringLiteral("aiosmtpd"), QStringLiteral("-n"), QStringLiteral("-l"),
                  QStringLiteral("127.0.0.1:%1").arg(port), QStringLiteral("-c"),
                  QStringLiteral("aiosmtpd.handlers.Sink")});
    for (int versuch = 0; versuch < 100 && server.state() != QProcess::NotRunning; ++versuch) {
        QTcpSocket probe;
        probe.connectToHost(QHostAddress::LocalHost, port);
        if (probe.waitForConnected(100))
            return port;
        QThread::msleep(100);
    }
    return 0;
}

void mailServerEinstellen(quint16 port)
{
    // A plain local server: no login, no TLS.
    Db::ausfuehren(QStringLiteral("DELETE FROM parameter "
                                  "WHERE key IN ('Mail/Host','Mail/Port','Mail/User','Mail/Verschl')"));
    Db::ausfuehren(QStringLiteral("INSERT INTO parameter (key,wert) VALUES ('Mail/Host','127.0.0.1'),"
                                  "('Mail/Port',?),('Mail/User','')"),
                   {QString::number(port)});
}

// The mails of the run, one Smtp object for all of them as the mail run uses it.
qint64 mailsSenden(int anzahl)
{
    Smtp smtp;
    QSqlQuery q = Db::abfrage(QStringLiteral("SELECT mid,bausteinm,cent FROM zahllauf WHERE form='M' AND art<>'D' "
                                             "ORDER BY mid LIMIT ?"),
                              {anzahl});
    qint64 gesendet = 0;
    while (q.next()) {
        const int mid = q.value(0).toInt();
        if (smtp.setText(q.value(1).toString(), QStringLiteral("M"), UtilMidKey(mid), mid,
                         QDate::currentDate().year(), q.value(2).toLongLong())
            && smtp.sendMail())
            ++gesendet;
    }
    return gesendet;
}

// The run replaced by up to `anzahl` direct debits of members with bank details; the number made.
int dtausLauf(int anzahl)
{
    Db::Transaktion t;
    Db::ausfuehren(QStringLiteral("DELETE FROM zahllauf"));
    Db::ausfuehren(QStringLiteral("INSERT INTO zahllauf (mid,sperren,art,form,manuell,bausteinm,bausteinb,"
                                  "cent,statusneu,done) SELECT CAST(key AS INTEGER),'N','D','M','N','','',"
                                  "4800,'L','N' FROM bankverbindung WHERE art='M' ORDER BY key LIMIT ?"),
                   {anzahl});
    t.commit();
    return Db::wert(QStringLiteral("SELECT count(*) FROM zahllauf WHERE art='D'")).toInt();
}

// The debits of the run carried out on `tage` execution dates (one date holds at
// most 9999 entries, and a debit books its main entry and its split), then closed.
qint64 lastschriftenAbschliessen(int tage)
{
    const QString konto =
        Db::wert(QStringLiteral("SELECT wert FROM parameter WHERE key='Zahlungen/KontoDtaus'")).toString();
    Db::ausfuehren(QStringLiteral("UPDATE zahllauf SET done='J',bausteinm=?,bausteinb=date('now','-' || "
                                  "(CAST(mid AS INTEGER) % ?) || ' days')"),
                   {konto, tage});
    ZahlungAbschluss abschluss;
    // On a busy machine the wall time says little: the processor time is reported beside it.
    const std::clock_t cpu = std::clock();
    const bool ok = abschluss.ausfuehren();
    QTextStream(stderr) << "Zahllauf abschliessen: " << (std::clock() - cpu) * 1000 / CLOCKS_PER_SEC
                        << " ms Prozessorzeit\n";
    return ok ? abschluss.buchungen() : -1;
}

// Only the closing of a run of up to `anzahl` debits, on a copy of existing books (these stay as
// they are): the case to profile on its own. Prints the wall and processor time; false when it fails.
bool nurAbschluss(const QString &datei, const QString &kopie, int anzahl, QTextStream &out)
{
    QFile::remove(kopie);
    if (!QFile::copy(datei, kopie) || !Db::oeffnen(kopie))
        return false;
    const int lastschriften = dtausLauf(anzahl);
    // On a busy machine the wall time says little; user and system time tell the program's part.
    auto sekunden = [](const timeval &t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    rusage vorher{};
    getrusage(RUSAGE_SELF, &vorher);
    QElapsedTimer uhr;
    uhr.start();
    const qint64 gebucht = lastschriftenAbschliessen(40);
    const qint64 ms = uhr.elapsed();
    rusage nachher{};
    getrusage(RUSAGE_SELF, &nachher);
    out << "Zahllauf abschliessen (" << lastschriften << " Lastschriften): " << gebucht << " gebucht, " << ms
        << " ms, Benutzer " << QString::number(sekunden(nachher.ru_utime) - sekunden(vorher.ru_utime), 'f', 2)
        << " s, System " << QString::number(sekunden(nachher.ru_stime) - sekunden(vorher.ru_stime), 'f', 2)
        << " s\n";
    Db::schliessen();
    return gebucht == lastschriften;
}

// A bank-code file of `zeilen` records of 168 characters in ISO 8859-1, as the central bank ships it.
void blzDateiErzeugen(const QString &name, int zeilen)
{
    QFile datei(name);
    if (!datei.open(QIODevice::WriteOnly))
        return;
    QByteArray inhalt;
    for (int i = 0; i < zeilen; ++i) {
        const QByteArray blz = QByteArray::number(10000000 + i * 5333);
        const QString zeile = QString::fromLatin1(blz) + QLatin1Char('1')
                              + QStringLiteral("Volksbank Münsterland Süd eG").leftJustified(58)
                              + QStringLiteral("48143") + QStringLiteral("Münster").leftJustified(35)
                              + QStringLiteral("VB Münsterland Süd %1").arg(i).leftJustified(27, QLatin1Char(' '), true)
                              + QStringLiteral("40050") + QStringLiteral("GENODEM1XXX") + QStringLiteral("A4")
                              + QString::number(i).rightJustified(6, QLatin1Char('0')) + QStringLiteral("U000000000");
        inhalt += zeile.toLatin1() + "\r\n";
    }
    datei.write(inhalt);
}

// Books of `anzahl` members with address and one donation each, dated last year
// (the receipt dialog's default range for all members).
bool quittungsBuecher(const QString &datei, int anzahl)
{
    if (!Db::anlegen(datei))
        return false;
    UtilInitLeeren();
    const int jahr = QDate::currentDate().year() - 1;
    Db::Transaktion t;
    for (int mid = 1; mid <= anzahl; ++mid) {
        const QString tag = UtilDatumText(QDate(jahr, 1, 1).addDays(mid % 360));
        const int lfd = mid / 360 + 1;
        const qint64 cent = 1000 + (mid % 50) * 500;
        Db::ausfuehren(QStringLiteral("INSERT INTO adresse (art,key,name1,name2,strasse,plz,ort) "
                                      "VALUES ('M',?,?,'Eva','Hauptstraße 1','53111','Bonn')"),
                       {UtilMidKey(mid), QStringLiteral("Name%1").arg(mid)});
        Db::ausfuehren(QStringLiteral("INSERT INTO journdat (datum,lfd,butext) VALUES (?,?,'Spende')"), {tag, lfd});
        Db::ausfuehren(QStringLiteral("INSERT INTO kgkto (datum,lfd,kg,konto,cent) VALUES (?,?,'1','1200',?),"
                                      "(?,?,'2','4100',?)"),
                       {tag, lfd, cent, tag, lfd, -cent});
        Db::ausfuehren(QStringLiteral("INSERT INTO spende (jdatum,jlfd,mid,art,quittung) VALUES (?,?,?,'G','1900-01-01')"),
                       {tag, lfd, mid});
    }
    return t.commit();
}

// The receipts of all members as the treasurer prints them: "&Drucken" in the shown
// dialog, into a PDF file, print dates stored. The number of receipts marked.
qint64 quittungenDrucken(const QString &pdf)
{
    Interaktion::setSkript([pdf](const Interaktion::Anfrage &anfrage) {
        Interaktion::Antwort a;
        a.ok = true;
        a.text = pdf;
        a.knopf = anfrage.art == Interaktion::Art::Frage ? QMessageBox::Yes : QMessageBox::Ok;
        return a;
    });
    Zuwenddruck dialog(-1);
    dialog.show(); // its progress label repaints as on the desktop
    dialog.pDrucken();
    Interaktion::setSkript({});
    return Db::wert(QStringLiteral("SELECT count(*) FROM spende WHERE quittung>='2000-01-01'")).toLongLong();
}

// The central register's export of `anzahl` members with German headers, every column filled,
// as UTF-8 with Windows line ends; `fassung` goes into the telephone number and the town.
void mitgliederDateiErzeugen(const QString &name, int anzahl, int fassung)
{
    QFile datei(name);
    if (!datei.open(QIODevice::WriteOnly))
        return;
    QByteArray inhalt = "Mitgliedsnummer,Interne Kontakt-ID,Vorname,Nachname,Geburtsdatum,Gender,Straße,PLZ,Stadt,"
                        "Land,Staatsbürgerschaft,Telefon,E-Mail,Einzugsermächtigung,Kontoinhaber,Kontonummer,"
                        "Bankleitzahl,Kreditinstitut,Gesamtbeitrag,Eintrittsdatum,Austrittsdatum,Gemeinde,Landkreis,"
                        "Regierungsbezirk,Bundesland\r\n";
    for (int mid = 1; mid <= anzahl; ++mid) {
        const bool lastschrift = mid % 3 != 0;
        const QString zeile
            = QStringLiteral("%1,%2,Jürgen,\"Müller-%1\",%3.0%4.19%5,%6,\"Hauptstraße %7\",%8,\"Münster %9\",D,"
                             "deutsch,0251-%9%1,m%1@example.org,%10,,%11,37050198,Sparkasse,%12.00,01.0%4.20%13,,"
                             "Münster,KV Münster,Münster,NRW\r\n")
                  .arg(mid)
                  .arg(mid + 500000)
                  .arg(10 + mid % 18)
                  .arg(1 + mid % 9)
                  .arg(40 + mid % 60)
                  .arg(mid % 2 ? QStringLiteral("männlich") : QStringLiteral("weiblich"))
                  .arg(mid % 200)
                  .arg(48000 + mid % 200)
                  .arg(fassung)
                  .arg(lastschrift ? QStringLiteral("Ja") : QStringLiteral("Nein"))
                  .arg(lastschrift ? QString::number(1000000 + mid) : QString())
                  .arg(36 + mid % 4 * 12)
                  .arg(10 + mid % 15, 2, 10, QLatin1Char('0'));
        inhalt += zeile.toUtf8();
    }
    datei.write(inhalt);
}

// The member import as the dialog runs it, into the open books; the number of lines read, -1 on failure.
qint64 mitgliederImportieren(const QString &name)
{
    QWidget dialog;
    CSVDatei csv(true, true, &dialog);
    csv.setDateiName(name);
    MIDImportLauf lauf(csv);
    return lauf.importieren() == MIDImportLauf::Ergebnis::Fertig ? lauf.gelesen() : -1;
}

// The mail pass as the treasurer starts it: "&OK" in "Zahlungen - Emails". The first
// `anzahl` mail rows are due, the others count as sent already.
qint64 mailLauf(int anzahl)
{
    Db::ausfuehren(QStringLiteral("UPDATE zahllauf SET done='J'"));
    Db::ausfuehren(QStringLiteral("UPDATE zahllauf SET done='N' WHERE mid IN (SELECT mid FROM zahllauf "
                                  "WHERE form='M' AND art<>'D' ORDER BY mid LIMIT ?)"),
                   {anzahl});
    const QString offen = QStringLiteral("SELECT count(*) FROM zahllauf WHERE done='N'");
    const qint64 faellig = Db::wert(offen).toLongLong();
    ZahlungMail dialog;
    dialog.show(); // its progress label repaints as on the desktop
    dialog.pLauf();
    return faellig - Db::wert(offen).toLongLong();
}


// Books of one year with `anzahl` journal entries, made by SQLite itself: two lines
// each, every thousandth entry without lines.
bool journalBuecher(const QString &datei, int anzahl, int jahr)
{
    if (!Db::anlegen(datei))
        return false;
    UtilInitLeeren();
    Db::Transaktion t;
    Db::ausfuehren(QStringLiteral("INSERT INTO journdat (datum,lfd,kost,beleg,extlfd,butext,erfasst,art,beschluss) "
                                  "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i+1 FROM n WHERE i<?) "
                                  "SELECT date(?,'+'||(i%365)||' days'),i/365+1,'K'||(i%7),'B'||i,'0',"
                                  "'Buchung '||i,'','','' FROM n"),
                   {anzahl - 1, UtilDatumText(QDate(jahr, 1, 1))});
    for (const QString &seite : {QStringLiteral("'1','1200',100+lfd"), QStringLiteral("'2',4000+lfd%50,-100-lfd")})
        Db::ausfuehren(QStringLiteral("INSERT INTO kgkto (datum,lfd,kg,konto,cent,abstimm) SELECT datum,lfd,")
                       + seite + QStringLiteral(",'0' FROM journdat WHERE lfd%1000<>0"));
    return t.commit();
}

// An export as the treasurer runs it: the file chosen with "&Wählen", then "&Export".
// The number of lines below the header.
qint64 exportieren(QDialog &dialog, const QString &datei)
{
    QFile::remove(datei);
    Interaktion::setSkript([datei](const Interaktion::Anfrage &) {
        Interaktion::Antwort a;
        a.ok = true;
        a.text = datei;
        a.knopf = QMessageBox::Ok;
        return a;
    });
    for (const QString &knopf : {QStringLiteral("&Wählen"), QStringLiteral("&Export")}) {
        for (QPushButton *k : dialog.findChildren<QPushButton *>()) {
            if (k->text() == knopf)
                k->click();
        }
    }
    Interaktion::setSkript({});
    QFile ergebnis(datei);
    return ergebnis.open(QIODevice::ReadOnly) ? ergebnis.readAll().count('\n') - 1 : -1;
}

// On a busy machine the wall time says little: the processor time is reported beside it.
qint64 mitProzessorzeit(const QString &vorgang, const std::function<qint64()> &lauf)
{
    const std::clock_t cpu = std::clock();
    const qint64 zeilen = lauf();
    QTextStream(stderr) << vorgang << ": " << (std::clock() - cpu) * 1000 / CLOCKS_PER_SEC << " ms Prozessorzeit\n";
    return zeilen;
}

// "Journal Export" of a date range.
qint64 journalExport(const QString &datei, const QDate &von, const QDate &bis)
{
    JournalExport dialog;
    dialog.findChild<WDatum *>(QStringLiteral("von"))->setDatum(von);
    dialog.findChild<WDatum *>(QStringLiteral("bis"))->setDatum(bis);
    return mitProzessorzeit(QStringLiteral("Journalexport"), [&] { return exportieren(dialog, datei); });
}

// "Spendenbuch Export" of a date range, fees and donations of all units.
qint64 spendenbuchExport(const QString &datei, const QDate &von, const QDate &bis)
{
    SpendenExport dialog;
    dialog.findChild<WDatum *>(QStringLiteral("von"))->setDatum(von);
    dialog.findChild<WDatum *>(QStringLiteral("bis"))->setDatum(bis);
    return mitProzessorzeit(QStringLiteral("Spendenbuch"), [&] { return exportieren(dialog, datei); });
}

// "Akkreditierungsliste" of the own unit and all below it, all members, by unit and surname.
qint64 akkreditierungsliste(const QString &datei)
{
    AkkredListe dialog;
    dialog.findChild<QComboBox *>(QStringLiteral("sortierung"))->setCurrentIndex(4);
    return mitProzessorzeit(QStringLiteral("Akkreditierungsliste"), [&] { return exportieren(dialog, datei); });
}

// A bank statement of `zeilen` lines in the month after the books' last entry: four
// fifths are fees of members of the books (every other one naming the member number,
// the rest known by their IBAN), the others payments to unknown accounts that are
// booked by hand to the bank-fee account. Timed: reading it with its proposals, and
// posting every line.
QList<Ergebnis> kontoauszugMessen(int zeilen, const QString &datei)
{
    const int beitraege = zeilen * 4 / 5;
    QSqlQuery q = Db::abfrage(QStringLiteral("SELECT b.key,b.iban FROM bankverbindung b JOIN mitglied m ON "
                                             "m.mid=CAST(b.key AS INTEGER) WHERE b.art='M' AND b.iban<>'' AND "
                                             "m.mid<1000000 ORDER BY b.key LIMIT ?"),
                              {beitraege});
    const QDate start = UtilDatum(
        Db::wert(QStringLiteral("SELECT datum FROM journdat ORDER BY datum DESC,lfd DESC LIMIT 1")).toString())
                            .addDays(1);
    QList<AuszugPosten> posten;
    for (int i = 0; q.next(); ++i) {
        const int mid = q.value(0).toInt();
        posten.append({UtilDatumText(start.addDays(i % 28)), 3600, 0, QStringLiteral("Mitglied %1").arg(mid),
                       q.value(1).toString(),
                       i % 2 ? QStringLiteral("Beitrag") : QStringLiteral("Mitgliedsbeitrag Mitgliedsnr. %1").arg(mid),
                       QStringLiteral("B%1").arg(i), QString(), 0});
    }
    q.finish();
    for (int i = posten.size(); i < zeilen; ++i)
        posten.append({UtilDatumText(start.addDays(i % 28)), -1990, 0, QStringLiteral("Firma %1").arg(i),
                       QStringLiteral("DE%1").arg(i, 20, 10, QLatin1Char('0')), QStringLiteral("Rechnung %1").arg(i),
                       QStringLiteral("B%1").arg(i), QString(), 0});
    QFile f(datei);
    if (!f.open(QIODevice::WriteOnly) || f.write(AuszugExport::camt(QStringLiteral("001.08"), posten, 0)) < 0)
        return {};
    f.close();

    const QString bank = Db::wert(QStringLiteral("SELECT wert FROM parameter WHERE key='Zahlungen/KontoDtaus'")).toString();
    Kontoauszug auszug;
    QList<Vorschlag> wahl;
    QList<Ergebnis> ergebnisse;
    ergebnisse.append(messen(QStringLiteral("Kontoauszug lesen, Vorschläge (%1 Zeilen)").arg(zeilen), 1, [&] {
        const std::clock_t cpu = std::clock();
        QString fehler;
        if (!Kontoauszug::lesen(datei, &auszug, &fehler))
            return qint64(-1);
        const AuszugVorschlag vorschlag;
        AuszugBuchung(auszug).erledigt();
        qint64 mitglieder = 0;
        for (const AuszugZeile &z : auszug.zeilen) {
            wahl.append(vorschlag.vorschlag(z));
            mitglieder += wahl.last().art == Vorschlag::Art::Beitrag;
        }
        QTextStream(stderr) << "Kontoauszug lesen, Vorschläge: " << (std::clock() - cpu) * 1000 / CLOCKS_PER_SEC
                            << " ms Prozessorzeit\n";
        return mitglieder;
    }));
    for (Vorschlag &v : wahl) {
        if (v.art == Vorschlag::Art::Offen) {
            v.art = Vorschlag::Art::Konto;
            v.konto = UtilBankGebKonto();
            v.kost = QStringLiteral("BENCH");
        }
    }
    ergebnisse.append(messen(QStringLiteral("Kontoauszug buchen (%1 Zeilen)").arg(zeilen), 1, [&] {
        AuszugBuchung buchung(auszug);
        const std::clock_t cpu = std::clock();
        const bool ok = buchung.buchen(bank, wahl);
        QTextStream(stderr) << "Kontoauszug buchen: " << (std::clock() - cpu) * 1000 / CLOCKS_PER_SEC
                            << " ms Prozessorzeit" << (ok ? QString() : QStringLiteral(", ") + buchung.fehler()) << "\n";
        return ok ? qint64(buchung.gebucht()) : -1;
    }));
    return ergebnisse;
}

} // namespace

int main(int argc, char *argv[])
{
    // The payment run is timed in its dialog; no window needs to show.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vela-bench"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Misst typische Abfragen auf großen Büchern."));
    parser.addHelpOption();
    const QCommandLineOption mitglieder(QStringLiteral("members"), QStringLiteral("Zahl der Mitglieder."),
                                        QStringLiteral("N"), QStringLiteral("100000"));
    const QCommandLineOption buchungen(QStringLiteral("entries"), QStringLiteral("Zahl der Buchungen."),
                                       QStringLiteral("N"), QStringLiteral("1000000"));
    const QCommandLineOption saat(QStringLiteral("seed"), QStringLiteral("Startwert des Zufallsgenerators."),
                                  QStringLiteral("N"), QStringLiteral("1"));
    const QCommandLineOption laeufe(QStringLiteral("runs"), QStringLiteral("Wiederholungen je Abfrage."),
                                    QStringLiteral("N"), QStringLiteral("5"));
    const QCommandLineOption mails(QStringLiteral("mails"),
                                   QStringLiteral("Zahl der Mails an einen lokalen aiosmtpd (nur bei erzeugten Daten)."),
                                   QStringLiteral("N"), QStringLiteral("1000"));
    const QCommandLineOption quittungen(QStringLiteral("receipts"),
                                        QStringLiteral("Zahl der Zuwendungsbestätigungen (eigene Datei, je Mitglied "
                                                       "eine Spende; 0: keine)."),
                                        QStringLiteral("N"), QStringLiteral("10000"));
    const QCommandLineOption importe(QStringLiteral("import"),
                                     QStringLiteral("Zahl der Mitglieder der Importdatei (in eine neue Datenbank, dann "
                                                    "als Aktualisierung; 0: kein Import)."),
                                     QStringLiteral("N"), QStringLiteral("100000"));
    const QCommandLineOption journal(QStringLiteral("journal"),
                                     QStringLiteral("Zahl der Buchungen eines Jahres für den Journalexport (eigene "
                                                    "Datei; 0: keiner)."),
                                     QStringLiteral("N"), QStringLiteral("1000000"));
    const QCommandLineOption abschluss(QStringLiteral("closing-only"),
                                       QStringLiteral("Nur den Abschluss von N Lastschriften messen, auf einer "
                                                      "Kopie der vorhandenen DATEI."),
                                       QStringLiteral("N"), QStringLiteral("30000"));
    const QCommandLineOption auszug(QStringLiteral("statement"),
                                    QStringLiteral("Zeilen des Kontoauszugs, vier Fünftel davon Beiträge (nur bei "
                                                   "erzeugten Daten; 0: keiner)."),
                                    QStringLiteral("N"), QStringLiteral("5000"));
    parser.addOptions({mitglieder, buchungen, saat, laeufe, mails, quittungen, importe, journal, abschluss, auszug});
    parser.addPositionalArgument(QStringLiteral("DATEI"),
                                 QStringLiteral("Vorhandene Datenbank, oder neue Datei für die Beispieldaten "
                                                "(ohne Angabe eine temporäre Datei)."));
    parser.process(app);

    QTextStream out(stdout);
    QTextStream err(stderr);
    QTemporaryDir tmp;
    QString datei = parser.positionalArguments().value(0);
    const int runs = std::max(1, parser.value(laeufe).toInt());
    QList<Ergebnis> ergebnisse;
    const bool vorhanden = !datei.isEmpty() && QFileInfo::exists(datei);
    if (parser.isSet(abschluss)) {
        return vorhanden && nurAbschluss(datei, tmp.filePath(QStringLiteral("abschluss.db")), parser.value(abschluss).toInt(), out) ? 0 : 1;
    }

    if (vorhanden) {
        if (!Db::oeffnen(datei)) {
            err << "Die Datenbank " << datei << " kann nicht geöffnet werden.\n";
            return 1;
        }
    } else {
        if (datei.isEmpty())
            datei = tmp.filePath(QStringLiteral("bench.db"));
        if (!Db::anlegen(datei)) {
            err << "Die Datenbank " << datei << " kann nicht angelegt werden.\n";
            return 1;
        }
        DemoDaten daten(parser.value(saat).toUInt());
        QElapsedTimer uhr;
        uhr.start();
        if (!daten.erzeugen(parser.value(mitglieder).toInt(), parser.value(buchungen).toInt())) {
            err << "Die Beispieldaten konnten nicht erzeugt werden.\n";
            return 1;
        }
        const double gesamt = double(uhr.nsecsElapsed()) / 1e6;
        for (const DemoDaten::Messung &m : daten.messungen())
            ergebnisse.append({QStringLiteral("Erzeugen: ") + m.schritt, m.zeilen, 1, double(m.ms), double(m.ms)});
        ergebnisse.append({QStringLiteral("Erzeugen gesamt"), 0, 1, gesamt, gesamt});
    }

    // Search keys taken from the data, so that the same commands work on any file.
    const int mitte = Db::wert(QStringLiteral("SELECT mid FROM mitglied WHERE mid<'1000000' ORDER BY mid DESC LIMIT 1"))
                          .toInt() / 2;
    QSqlQuery person = Db::abfrage(QStringLiteral("SELECT name1,plz FROM adresse WHERE art='M' AND key>=? "
                                                  "ORDER BY key LIMIT 1"),
                                   {UtilMidKey(std::max(mitte, 1))});
    const bool hatPerson = person.next();
    const QString nachname = hatPerson ? person.value(0).toString() : QStringLiteral("Peters");
    const QString plz = hatPerson ? person.value(1).toString().left(3) : QStringLiteral("248");
    person.finish();
    const QString letzterTag
        = Db::wert(QStringLiteral("SELECT datum FROM journdat ORDER BY datum DESC,lfd DESC LIMIT 1")).toString();
    const int jahr = (letzterTag.isEmpty() ? QDate::currentDate().year() : letzterTag.left(4).toInt()) - 1;
    const QString von = UtilDatumText(QDate(jahr, 1, 1));
    const QString bis = UtilDatumText(QDate(jahr, 12, 31));
    const QString bankKonto = Db::wert(QStringLiteral("SELECT wert FROM parameter WHERE key='Zahlungen/KontoDtaus'"))
                                  .toString();
    const QString mitgliedsKonto
        = Db::wert(QStringLiteral("SELECT k.konto FROM spende s JOIN kgkto k ON k.datum=s.jdatum AND k.lfd=s.jlfd "
                                  "AND k.kg='2' WHERE s.art='M' AND s.jdatum>=? AND s.jdatum<=? "
                                  "ORDER BY s.jdatum DESC LIMIT 1"),
                   {von, bis})
              .toString();

    // The member search by name: the search-name range of the typed surname.
    const QString such = SuchName(UtilSauberGross(nachname), QString());
    ergebnisse.append(messen(QStringLiteral("Mitgliedersuche Name \"%1\"").arg(nachname), runs, [&] {
        QSqlQuery q = Db::abfrage(QStringLiteral("SELECT key,name1,name2,plz,ort FROM adresse WHERE suchname >= ? "
                                                 "AND suchname <= ? AND art = 'M' ORDER BY suchname,name1,name2"),
                                  {such, such + QChar(0xff)});
        return zaehlen(q);
    }));
    ergebnisse.append(messen(QStringLiteral("Mitgliedersuche PLZ \"%1\"").arg(plz), runs, [&] {
        QSqlQuery q = Db::abfrage(QStringLiteral("SELECT key,name1,name2,plz,ort FROM adresse WHERE plz >= ? "
                                                 "AND plz <= ? AND art = 'M' ORDER BY plz,name1,name2"),
                                  {plz, plz + QChar(0xff)});
        return zaehlen(q);
    }));

    // The journal's list: the ten newest entries with their two lines.
    ergebnisse.append(messen(QStringLiteral("Journal: zehn neueste Buchungen"), runs, [&] {
        QSqlQuery q = Db::abfrage(
            QStringLiteral("SELECT datum,lfd,kost,butext FROM journdat ORDER BY datum DESC,lfd DESC LIMIT 10"));
        qint64 n = 0;
        while (q.next()) {
            const QVariantList schluessel = {q.value(0), q.value(1)};
            Db::wert(QStringLiteral("SELECT cent,konto FROM kgkto WHERE datum=? AND lfd=? AND kg='1'"), schluessel);
            Db::wert(QStringLiteral("SELECT konto FROM kgkto WHERE datum=? AND lfd=? AND kg='2'"), schluessel);
            ++n;
        }
        return n;
    }));

    // The single-account view: the lines of one account for a year, each with its entry and contra account.
    const QDate jahresAnfang(jahr, 1, 1);
    const QDate jahresEnde(jahr, 12, 31);
    for (const QString &konto : {mitgliedsKonto, bankKonto}) {
        if (konto.isEmpty())
            continue;
        ergebnisse.append(messen(QStringLiteral("Kontozeilen %1, %2").arg(konto).arg(jahr), runs, [&] {
            return qint64(KontoZeilen(konto, jahresAnfang, jahresEnde).zeilen().size());
        }));
    }
    ergebnisse.append(messen(QStringLiteral("Einzelkonto %1 (nur Zeilen), %2").arg(bankKonto).arg(jahr), runs, [&] {
        QSqlQuery q = Db::abfrage(
            QStringLiteral("SELECT datum,lfd,cent,kg FROM kgkto WHERE konto=? AND datum>=? AND datum <=?"),
            {bankKonto, von, bis});
        return zaehlen(q);
    }));
    // The view as the treasurer uses it: account typed, Return, the list filled and painted.
    ergebnisse.append(messen(QStringLiteral("Einzelkonto %1 Liste (Dialog), %2").arg(bankKonto).arg(jahr), runs, [&] {
        EinzelKto dialog;
        dialog.findChild<WDatum *>(QStringLiteral("von"))->setDatum(jahresAnfang);
        dialog.findChild<WDatum *>(QStringLiteral("bis"))->setDatum(jahresEnde);
        dialog.findChild<WKonto *>(QStringLiteral("konto"))->setText(bankKonto);
        dialog.show();
        dialog.pEnter();
        QCoreApplication::processEvents();
        return qint64(dialog.findChild<QTableView *>(QStringLiteral("liste"))->model()->rowCount());
    }));
    // Its sheet printed into a PDF file.
    ergebnisse.append(messen(QStringLiteral("Kontoblatt %1 als PDF, %2").arg(bankKonto).arg(jahr), 1, [&] {
        QPrinter printer(QPrinter::HighResolution);
        printer.setPageOrientation(QPageLayout::Landscape);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(tmp.filePath(QStringLiteral("kontoblatt.pdf")));
        QPainter painter(&printer);
        return qint64(DruckKonto(&printer, &painter, bankKonto, jahresAnfang, jahresEnde, QString()));
    }));

    // The posting engine's next number of a date.
    ergebnisse.append(messen(QStringLiteral("Nächste Journalnummer %1").arg(letzterTag), runs, [&] {
        return Db::wert(QStringLiteral("SELECT lfd FROM journdat WHERE datum=? ORDER BY datum DESC,lfd DESC LIMIT 1"),
                        {letzterTag})
                   .toLongLong()
               + 1;
    }));

    // The unit tree: one query per level.
    ergebnisse.append(messen(QStringLiteral("Gliederungsbaum (fünf Ebenen)"), runs, [&] {
        qint64 n = 0;
        for (int ebene = 0; ebene <= 4; ++ebene) {
            QSqlQuery q = Db::abfrage(QStringLiteral("SELECT namekurz,bukto,schatzname,teilvon FROM verband "
                                                     "WHERE ebene=? ORDER BY ebene,teilvon,namekurz"),
                                      {ebene});
            n += zaehlen(q);
        }
        return n;
    }));

    // The candidates of a payment run.
    const QString heute = UtilDatumText(QDate::currentDate());
    ergebnisse.append(messen(QStringLiteral("Zahllauf: Kandidaten"), runs, [&] {
        QSqlQuery q = Db::abfrage(QStringLiteral("SELECT mid,zahlart,beitrag,zahlstatus,statusdatum,bezahlt,eintritt "
                                                 "FROM mitglied WHERE mid<'1000000' AND austritt > ? AND bezahlt < ?"),
                                  {heute, UtilDatumText(QDate(QDate::currentDate().year(), 12, 31))});
        return zaehlen(q);
    }));

    // The exports of the year and the accreditation list of the own unit with all units below it.
    ergebnisse.append(messen(QStringLiteral("Journal Export %1").arg(jahr), std::min(runs, 3), [&] {
        return journalExport(tmp.filePath(QStringLiteral("journal.csv")), jahresAnfang, jahresEnde);
    }));
    ergebnisse.append(messen(QStringLiteral("Spendenbuch Export %1").arg(jahr), std::min(runs, 3), [&] {
        return spendenbuchExport(tmp.filePath(QStringLiteral("spenden.csv")), jahresAnfang, jahresEnde);
    }));
    ergebnisse.append(messen(QStringLiteral("Akkreditierungsliste, alle Mitglieder"), std::min(runs, 3), [&] {
        return akkreditierungsliste(tmp.filePath(QStringLiteral("akkred.csv")));
    }));

    // The payment run, its mails, the DTAUS file and the bank-code import replace the run,
    // the mail server and the bank codes of the books: only on generated data.
    if (!vorhanden) {
        Interaktion::setSkript([](const Interaktion::Anfrage &) {
            Interaktion::Antwort ok;
            ok.knopf = QMessageBox::Ok;
            return ok;
        });
        ergebnisse.append(messen(QStringLiteral("Zahllauf erstellen (Dialog)"), std::min(runs, 3), zahllaufErstellen));
        const int anzahlMails = parser.value(mails).toInt();
        QProcess server;
        const quint16 port = anzahlMails > 0 ? mailServerStarten(server) : 0;
        if (port > 0) {
            mailServerEinstellen(port);
            ergebnisse.append(messen(QStringLiteral("%1 Mails an aiosmtpd").arg(anzahlMails), 1,
                                     [&] { return mailsSenden(anzahlMails); }));
            ergebnisse.append(messen(QStringLiteral("Emails des Zahllaufs: %1 an aiosmtpd").arg(anzahlMails), 1,
                                     [&] { return mailLauf(anzahlMails); }));
        } else if (anzahlMails > 0)
            err << "aiosmtpd startet nicht (python3-aiosmtpd installiert?): keine Mails gemessen.\n";
        server.kill();
        server.waitForFinished();

        const int lastschriften = dtausLauf(30000);
        ergebnisse.append(messen(QStringLiteral("DTAUS: vorbereiten und schreiben (%1)").arg(lastschriften), runs,
                                 [&] {
                                     DtausDatei lauf;
                                     lauf.vorbereiten(false);
                                     QFile ziel(tmp.filePath(QStringLiteral("bench.dta")));
                                     if (!ziel.open(QIODevice::WriteOnly | QIODevice::Truncate)
                                         || !lauf.schreiben(ziel, {QStringLiteral("BENCH"), QStringLiteral("1234567"),
                                                                   QStringLiteral("37050198")},
                                                            QDate::currentDate()))
                                         return qint64(-1);
                                     return qint64(lauf.richtige());
                                 }));
        ergebnisse.append(messen(QStringLiteral("SEPA: vorbereiten und schreiben (%1)").arg(lastschriften), runs, [&] {
            SepaDatei lauf;
            lauf.vorbereiten(false, QDate::currentDate().addDays(7));
            QFile ziel(tmp.filePath(QStringLiteral("bench.xml")));
            const SepaDatei::Glaeubiger glaeubiger{QStringLiteral("BENCH"), QStringLiteral("DE98ZZZ09999999999"),
                                                   QStringLiteral("DE89370400440532013000"), QString()};
            if (!ziel.open(QIODevice::WriteOnly | QIODevice::Truncate)
                || !lauf.schreiben(ziel, glaeubiger, QDateTime::currentDateTime()))
                return qint64(-1);
            return qint64(lauf.richtige());
        }));
        ergebnisse.append(messen(QStringLiteral("Zahllauf abschliessen (%1 Lastschriften)").arg(lastschriften), 1,
                                 [] { return lastschriftenAbschliessen(40); }));
        const QString blzDatei = tmp.filePath(QStringLiteral("blz.txt"));
        blzDateiErzeugen(blzDatei, 15000);
        ergebnisse.append(messen(QStringLiteral("BLZ-Datei einlesen (15000 Zeilen)"), runs, [&] {
            BlzImport import;
            return import.importieren(blzDatei) == BlzImport::Ergebnis::Fertig ? qint64(import.anzahl()) : -1;
        }));
        if (parser.value(auszug).toInt() > 0)
            ergebnisse.append(kontoauszugMessen(parser.value(auszug).toInt(), tmp.filePath(QStringLiteral("auszug.xml"))));
    }

    out << "Datei: " << datei << " (" << QFileInfo(datei).size() / (1024 * 1024) << " MB), "
        << Db::wert(QStringLiteral("SELECT count(*) FROM mitglied")).toLongLong() << " Personen, "
        << Db::wert(QStringLiteral("SELECT count(*) FROM journdat")).toLongLong() << " Buchungen, "
        << Db::wert(QStringLiteral("SELECT count(*) FROM kgkto")).toLongLong() << " Kontozeilen\n\n";
    out << zeile(QStringLiteral("Vorgang"), QStringLiteral("Zeilen"), QStringLiteral("Läufe"),
                 QStringLiteral("erster ms"), QStringLiteral("Median ms"))
        << "\n";
    out << QString(85, QLatin1Char('-')) << "\n";
    for (const Ergebnis &e : ergebnisse) {
        out << zeile(e.vorgang, QString::number(e.zeilen), QString::number(e.laeufe), ms(e.ersterMs),
                     ms(e.medianMs))
            << "\n";
    }
    Db::schliessen();

    // Receipts on books of their own: one donation per member, printed to a PDF file.
    const int anzahlQuittungen = parser.value(quittungen).toInt();
    if (anzahlQuittungen > 0) {
        if (!quittungsBuecher(tmp.filePath(QStringLiteral("quittungen.db")), anzahlQuittungen)) {
            err << "Die Bücher für die Zuwendungsbestätigungen konnten nicht angelegt werden.\n";
            return 1;
        }
        const QString pdf = tmp.filePath(QStringLiteral("quittungen.pdf"));
        const Ergebnis e = messen(QStringLiteral("Zuwendungsbestätigungen (%1) als PDF").arg(anzahlQuittungen), 1,
                                  [&] { return quittungenDrucken(pdf); });
        out << zeile(e.vorgang, QString::number(e.zeilen), QString::number(e.laeufe), ms(e.ersterMs),
                     ms(e.medianMs))
            << "  (" << QFileInfo(pdf).size() / 1024 << " KB)\n";
}

    // The journal export of a whole year on books of their own.
    const int journalBuchungen = parser.value(journal).toInt();
    if (journalBuchungen > 0) {
        const int jahrJournal = QDate::currentDate().year() - 1;
        if (!journalBuecher(tmp.filePath(QStringLiteral("journal.db")), journalBuchungen, jahrJournal)) {
            err << "Die Bücher für den Journalexport konnten nicht angelegt werden.\n";
            return 1;
        }
        const Ergebnis e = messen(QStringLiteral("Journal Export, %1 Buchungen").arg(journalBuchungen), 1, [&] {
            return journalExport(tmp.filePath(QStringLiteral("journal.csv")), QDate(jahrJournal, 1, 1),
                                 QDate(jahrJournal, 12, 31));
        });
        out << "\n"
            << zeile(e.vorgang, QString::number(e.zeilen), QString::number(e.laeufe), ms(e.ersterMs), ms(e.medianMs))
            << "\n";
        Db::schliessen();
    }

    // The member import: a new database, then the same file again, where every line is an update.
    const int importMitglieder = parser.value(importe).toInt();
    if (importMitglieder > 0) {
        const QString importDb = tmp.filePath(QStringLiteral("import.db"));
        const QString importDatei = tmp.filePath(QStringLiteral("mitglieder.csv"));
        const QString updateDatei = tmp.filePath(QStringLiteral("mitglieder2.csv"));
        mitgliederDateiErzeugen(importDatei, importMitglieder, 1);
        mitgliederDateiErzeugen(updateDatei, importMitglieder, 2);
        if (!Db::anlegen(importDb)) {
            err << "Die Datenbank " << importDb << " kann nicht angelegt werden.\n";
            return 1;
        }
        Db::ausfuehren(QStringLiteral("INSERT INTO verband (namekurz,ebene,teilvon) VALUES ('LV NRW',1,''),"
                                      "('KV MÜNSTER',3,'LV NRW')"));
        Db::ausfuehren(QStringLiteral("INSERT INTO parameter (key,wert) VALUES ('General/Gliederung','LV NRW')"));
        UtilInitLeeren();
        // On a shared machine the wall time includes other processes; the CPU time does not.
        const std::clock_t cpuVorher = std::clock();
        QList<Ergebnis> importZeiten;
        importZeiten.append(messen(QStringLiteral("Mitgliederimport, neue Datenbank"), 1,
                                   [&] { return mitgliederImportieren(importDatei); }));
        importZeiten.append(messen(QStringLiteral("Mitgliederimport, Aktualisierung"), 1,
                                   [&] { return mitgliederImportieren(updateDatei); }));
        const double cpu = double(std::clock() - cpuVorher) / CLOCKS_PER_SEC;
        out << "\nDatei: " << importDb << ", "
            << Db::wert(QStringLiteral("SELECT count(*) FROM mitglied")).toLongLong() << " Mitglieder, CPU-Zeit "
            << QString::number(cpu, 'f', 1) << " s für beide Importe\n";
        for (const Ergebnis &e : importZeiten)
            out << zeile(e.vorgang, QString::number(e.zeilen), QString::number(e.laeufe), ms(e.ersterMs),
                         ms(e.medianMs))
                << "\n";
        Db::schliessen();
    }
    return 0;
}
