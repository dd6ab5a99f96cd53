// The payment letters printed to PDF: the pages, their texts, where the address
// and the body lie on the paper, and what the pass marks done.

#include "db.h"
#include "dialogdriver.h"
#include "testdb.h"
#include "zahlbrief.h"

#include <QCheckBox>
#include <QDate>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <QtTest>

namespace {

constexpr double kPunktJeMm = 72 / 25.4;

struct Wort
{
    QString text;
    QRectF mm; // on the paper, from its top left corner
};

// The words of the first page with their boxes (pdftotext -bbox), in millimetres.
QList<Wort> woerter(const QString &pdf)
{
    QList<Wort> liste;
    const QString html = pdfText(pdf, {"-bbox", "-f", "1", "-l", "1"});
    static const QRegularExpression wort(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
    for (auto it = wort.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        const QPointF von(m.captured(1).toDouble(), m.captured(2).toDouble());
        const QPointF bis(m.captured(3).toDouble(), m.captured(4).toDouble());
        liste.append({m.captured(5), QRectF(von / kPunktJeMm, bis / kPunktJeMm)});
    }
    return liste;
}

QRectF box(const QList<Wort> &liste, const QString &text)
{
    for (const Wort &w : liste) {
        if (w.text == text)
            return w.mm;
    }
    return {};
}

// 101, 102 and 105 are due, 103 printed before, 104 blocked, 106 goes by mail, 107 to the bank.
void lauf()
{
    Db::ausfuehren("INSERT INTO textbaustein (bez,beschreibung,subject,inhalt) VALUES "
                   "('RECHB','','Beitrag %jahr%','Liebe(r) %vname% %nname%, bitte überweisen Sie %betrag% EUR.'),"
                   "('MAHN1B','','Erste Mahnung','Mitglied %mid%: noch offen %betrag% EUR.')");
    Db::ausfuehren("INSERT INTO adresse (art,key,suchname,name1,name2,strasse,plz,ort,land) VALUES "
                   "('M','00000101','MEIER','Meier','Hans','Hafenweg 3','24103','Kiel','D'),"
                   "('M','00000102','LANGE','Lange','','Am Markt 1','23552','Lübeck','D'),"
                   "('M','00000103','KRUSE','Kruse','Eva','Ring 5','24937','Flensburg','D'),"
                   "('M','00000104','BAUER','Bauer','Ute','Weg 1','24534','Neumünster','D'),"
                   "('M','00000105','SCHMIDT','Schmidt','Udo','Weg 2','24534','Neumünster','D')");
    Db::ausfuehren("INSERT INTO zahllauf (mid,sperren,art,form,manuell,bausteinm,bausteinb,cent,statusneu,done) VALUES "
                   "('101','N','R','B','N','','RECHB','2800','R','N'),('102','N','1','B','N','','MAHN1B','1000','1','N'),"
                   "('103','N','R','B','N','','RECHB','3600','R','J'),('104','J','R','B','N','','RECHB','3600','R','N'),"
                   "('105','N','2','B','N','','FEHLT','3600','2','N'),"
                   "('106','N','R','M','N','RECHM','','3600','R','N'),('107','N','D','B','N','1200','','3600','L','N')");
    TestDb::setParameter("Status/Zahlungen", "JJJNNNNNNNNJJJJNN");
}

} // namespace

class TstZahlBrief : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    void init()
    {
        m_db = std::make_unique<TestDb>();
        QVERIFY(m_db->ok());
        lauf();
    }
    void cleanup() { m_db.reset(); }

    void durchlauf_data()
    {
        QTest::addColumn<bool>("neu");
        QTest::addColumn<QString>("ohneArt");
        QTest::addColumn<bool>("abbrechen");
        QTest::addColumn<QStringList>("seiten"); // first line of each page
        QTest::addColumn<QString>("erledigt");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("meldung");

        // The letter without template is not printed and keeps the 2nd reminders open.
        QTest::newRow("fällige Briefe") << false << QString() << false << QStringList{"Hans Meier", "Lange"}
                                        << "101 102 103" << "JJDNNNNNNNNJDJJNN" << "2 Seiten wurden gedruckt";
        QTest::newRow("neu drucken") << true << QString() << false
                                     << QStringList{"Hans Meier", "Lange", "Eva Kruse"} << "101 102 103"
                                     << "JJDNNNNNNNNJDJJNN" << "3 Seiten wurden gedruckt";
        // A kind left out still counts as done: its rows were seen in a whole pass.
        QTest::newRow("Mahnung abgewählt") << false << "&1. Mahnung" << false << QStringList{"Hans Meier"}
                                           << "101 103" << "JJDNNNNNNNNJDJJNN" << "1 Seiten wurden gedruckt";
        QTest::newRow("abgebrochen") << false << QString() << true << QStringList{"Hans Meier"} << "101 103"
                                     << "JJJNNNNNNNNJJJJNN" << "Der Lauf wurde abgebrochen";
    }

    void durchlauf()
    {
        QFETCH(bool, neu);
        QFETCH(QString, ohneArt);
        QFETCH(bool, abbrechen);
        QFETCH(QStringList, seiten);
        QFETCH(QString, erledigt);
        QFETCH(QString, status);
        QFETCH(QString, meldung);
        const QString pdf = m_db->verzeichnis() + "/briefe.pdf";
        for (const char *p : {"Mail/AdrL=25", "Mail/AdrT=50", "Mail/L=25", "Mail/T=100"})
            TestDb::setParameter(QString(p).section('=', 0, 0), QString(p).section('=', 1));

        ZahlungBrief dialog;
        QVERIFY(DialogTreiber::zeige(&dialog));
        SkriptInteraktion skript;
        if (neu) {
            skript.antworte(QMessageBox::Ok);
            for (QCheckBox *k : dialog.findChildren<QCheckBox *>())
                if (k->text() == "&Bereits erstellte Briefe neu drucken")
                    QTest::keyClick(k, Qt::Key_Space);
            QCOMPARE(skript.anfragen().last().art, Interaktion::Art::Warnung);
        }
        for (QCheckBox *k : dialog.findChildren<QCheckBox *>())
            if (k->text() == ohneArt)
                QTest::keyClick(k, Qt::Key_Space);
        skript.antworteText(pdf);
        skript.antworte(QMessageBox::Ok); // the count or the stop
        if (!abbrechen)
            skript.antworte(QMessageBox::Ok); // the letter without template
        if (abbrechen)
            QTimer::singleShot(0, &dialog, [&dialog] { DialogTreiber::knopf(&dialog, "&Abbruch")->click(); });
        DialogTreiber::knopf(&dialog, "&OK")->click();

        QCOMPARE(skript.unerwartet(), 0);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        const QList<Interaktion::Anfrage> &a = skript.anfragen();
        QCOMPARE(a.at(a.size() - (abbrechen ? 1 : 2)).text, meldung);
        if (!abbrechen)
            QCOMPARE(a.last().text, QString("Ohne Textbaustein oder Adresse, nicht gedruckt: MID 105"));

        QStringList erste;
        for (const QString &seite : pdfText(pdf).split('\f', Qt::SkipEmptyParts))
            if (!seite.trimmed().isEmpty())
                erste << seite.trimmed().section('\n', 0, 0).trimmed();
        QCOMPARE(erste, seiten);
        QCOMPARE(TestDb::zeile("SELECT group_concat(mid,' ') FROM (SELECT mid FROM zahllauf WHERE done='J' "
                               "ORDER BY mid)"),
                 QStringList{erledigt});
        QCOMPARE(TestDb::zeile("SELECT wert FROM parameter WHERE key='Status/Zahlungen'"), QStringList{status});
    }

    // The address in the window of a DIN 5008 envelope (20 mm from the left, 45 to
    // 90 mm from the top), heading and body inside the margins, placeholders filled.
    void seitenbild_data()
    {
        QTest::addColumn<QStringList>("parameter");
        QTest::addColumn<QRectF>("fenster");
        QTest::addColumn<QPointF>("adresse"); // left edge and top of the first address line, mm
        QTest::addColumn<QRectF>("rumpf");
        QTest::newRow("Fensterbriefumschlag")
            << QStringList{"AdrL=25", "AdrT=50", "AdrPt=10", "L=25", "R=20", "T=100", "B=30", "Pt=11"}
            << QRectF(QPointF(20, 45), QPointF(110, 90)) << QPointF(25, 50) << QRectF(QPointF(25, 100), QPointF(190, 267));
        // Nothing set: the address starts in the paper's corner, the body reaches the edges.
        QTest::newRow("ohne Parameter") << QStringList{} << QRectF(QPointF(0, 0), QPointF(60, 20)) << QPointF(0, 0)
                                        << QRectF(QPointF(0, 0), QPointF(210, 297));
    }

    void seitenbild()
    {
        QFETCH(QStringList, parameter);
        QFETCH(QRectF, fenster);
        QFETCH(QPointF, adresse);
        QFETCH(QRectF, rumpf);
        for (const QString &p : parameter)
            TestDb::setParameter("Mail/" + p.section('=', 0, 0), p.section('=', 1));
        const QString lang = QString("Wort ").repeated(3000);
        Db::ausfuehren("UPDATE textbaustein SET inhalt=inhalt || ? WHERE bez='RECHB'", {" " + lang + "Ende"});
        Db::ausfuehren("UPDATE zahllauf SET sperren='J' WHERE mid<>'101'");
        const QString pdf = m_db->verzeichnis() + "/brief.pdf";

        ZahlungBrief dialog;
        SkriptInteraktion skript;
        skript.antworteText(pdf);
        skript.antworte(QMessageBox::Ok);
        dialog.pLauf();
        QCOMPARE(skript.anfragen().last().text, QString("1 Seiten wurden gedruckt"));

        const QString text = pdfText(pdf).simplified();
        QVERIFY2(text.contains(QString("Beitrag %1").arg(QDate::currentDate().year())), qPrintable(text.left(300)));
        QVERIFY(text.contains("Liebe(r) Hans Meier, bitte überweisen Sie 28,00 EUR. Wort"));
        QVERIFY2(!text.contains("Ende"), "the body is cut at the bottom margin, never a second page");
        QVERIFY(!text.contains(" D "));

        const QList<Wort> w = woerter(pdf);
        const QRectF name = box(w, "Hans");
        QVERIFY2(qAbs(name.left() - adresse.x()) < 1, qPrintable(QString::number(name.left())));
        QVERIFY(name.top() >= adresse.y() && name.top() < adresse.y() + 6);
        for (const char *teil : {"Hans", "Meier", "Hafenweg", "3", "24103", "Kiel"})
            QVERIFY2(fenster.contains(box(w, teil)), teil);
        QVERIFY(box(w, "Hafenweg").top() > name.bottom() && box(w, "24103").top() > box(w, "Hafenweg").bottom());

        const QRectF kopf = box(w, "Beitrag");
        QVERIFY(qAbs(kopf.left() - rumpf.left()) < 1 && kopf.top() >= rumpf.top());
        int zeilen = 0;
        double letzte = -1;
        for (const Wort &wort : w) {
            if (wort.text != "Wort")
                continue;
            // pdftotext's boxes reach a little beyond the glyphs
            QVERIFY2(rumpf.adjusted(-1, -1, 1, 1).contains(wort.mm), qPrintable(QString("%1,%2").arg(wort.mm.right()).arg(wort.mm.bottom())));
            QVERIFY(wort.mm.top() > kopf.bottom());
            zeilen += wort.mm.top() > letzte + 0.5;
            letzte = wort.mm.top();
        }
        QVERIFY(zeilen > 5);
    }

    void druckDialogAbgebrochen()
    {
        ZahlungBrief dialog;
        SkriptInteraktion skript;
        skript.antworteAbbruch();
        dialog.pLauf();
        QCOMPARE(skript.unerwartet(), 0);
        QCOMPARE(skript.anfragen().size(), 1);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(TestDb::anzahl("SELECT count(*) FROM zahllauf WHERE done='J'"), 1);
        QCOMPARE(TestDb::zeile("SELECT wert FROM parameter WHERE key='Status/Zahlungen'"),
                 QStringList{"JJJNNNNNNNNJJJJNN"});
    }

private:
    std::unique_ptr<TestDb> m_db;
};

QTEST_MAIN(TstZahlBrief)
#include "tst_zahlbrief.moc"
