// The bank-code import from the main window's menu: records cut byte for byte
// from ISO 8859-1 lines, the table replaced whole or kept.

#include "db.h"
#include "testdb.h"
#include "velamain.h"

#include <QAction>
#include <QFile>
#include <QSqlQuery>
#include <QtTest>

#include <memory>

namespace {

// A record of the central bank's file: 168 bytes in ISO 8859-1.
QByteArray satz(const QByteArray &blz, const QString &kurzname, const QByteArray &bic, const QByteArray &pruefart)
{
    auto feld = [](const QByteArray &b, int n) { return b.leftJustified(n, ' ', true); };
    const QByteArray s = feld(blz, 8) + "1" + feld(QString("Sparkasse Münsterland Süd").toLatin1(), 58)
                         + "48143" + feld(QString("Münster").toLatin1(), 35)
                         + feld(kurzname.toLatin1(), 27) + "40050" + feld(bic, 11) + feld(pruefart, 2) + "000123"
                         + "U" + "0" + "00000000";
    Q_ASSERT(s.size() == 168);
    return s;
}

QStringList tabelle()
{
    QStringList zeilen;
    QSqlQuery q = Db::abfrage("SELECT land,blz,name,pruefart,bic FROM blzdatei ORDER BY rowid");
    while (q.next())
        zeilen << QStringList{q.value(0).toString(), q.value(1).toString(), q.value(2).toString(),
                              q.value(3).toString(), q.value(4).toString()}.join(QLatin1Char('|'));
    return zeilen;
}

} // namespace

class TstBlzDatei : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_db = std::make_unique<TestDb>();
        QVERIFY(m_db->ok());
        Db::ausfuehren(QStringLiteral("INSERT INTO blzdatei (land,blz,name,pruefart,bic) VALUES "
                                      "('D','99999999','Alte Bank','00','ALTBIC')"));
    }
    void cleanup() { m_db.reset(); }

    // Cut columns byte for byte; short lines skipped; a second import gives the same table.
    void einlesen()
    {
        const QByteArray a = satz("40050150", "Spk Münsterland Ost", "WELADED1MST", "01");
        const QByteArray b = satz("10020030", "Bäckerbank Göttingen Straße", "BAEKDEFFXXX", "A4");
        const QByteArray c152 = satz("20030040", "Kurz", "KURZDEHH", "9C").left(152);
        const QByteArray d151 = satz("30040050", "Zu kurz", "ZUKUDEHH", "33").left(151);
        const QString datei = m_db->verzeichnis() + "/blz.txt";
        QFile f(datei);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(a + "\r\n" + d151 + "\r\n" + b + "\r\n" + c152 + "\r\n\r\n");
        f.close();

        VelaMain fenster;
        for (int lauf = 0; lauf < 2; ++lauf) {
            SkriptInteraktion skript;
            skript.antworteText(datei);
            skript.antworte(QMessageBox::Ok);
            blzMenue(fenster)->trigger();
            QCOMPARE(skript.unerwartet(), 0);
            QCOMPARE(skript.anfragen().at(0).titel, "Bankleitzahlendatei");
            QCOMPARE(skript.anfragen().at(1).titel, "BLZ Datei");
            QCOMPARE(skript.anfragen().at(1).text, "Fertig");

            QSqlQuery q = Db::abfrage("SELECT land,blz,name,bic,pruefart FROM blzdatei ORDER BY rowid");
            for (const QByteArray &zeile : {a, b, c152}) {
                QVERIFY(q.next());
                QCOMPARE(q.value(0).toString(), "D");
                QCOMPARE(q.value(1).toString().toLatin1(), zeile.mid(0, 8));
                QCOMPARE(q.value(2).toString().toLatin1(), zeile.mid(107, 27));
                QCOMPARE(q.value(3).toString().toLatin1(), zeile.mid(139, 11));
                QCOMPARE(q.value(4).toString().toLatin1(), zeile.mid(150, 2));
            }
            QVERIFY(!q.next());
        }
        QCOMPARE(Db::wert("SELECT name FROM blzdatei WHERE blz='10020030'").toString(),
                 "Bäckerbank Göttingen Straße");
    }

    // Files that hold no record, cannot be read, or no file at all: the old table stays.
    void ablehnen_data()
    {
        QTest::addColumn<QByteArray>("inhalt"); // "-": no file at this path, "?": the file dialog cancelled
        QTest::addColumn<int>("art");
        QTest::addColumn<QString>("text");
        const QString keine = "Die Datei enthält keinen Datensatz einer Bankleitzahlendatei. "
                              "Die bisherigen Bankleitzahlen bleiben erhalten.";
        QByteArray binaer;
        for (int i = 0; i < 4000; ++i)
            binaer += char((i * 37 + 11) % 256 == '\n' ? 0 : (i * 37 + 11) % 256);
        const int warnung = int(Interaktion::Art::Warnung);
        QTest::newRow("leer") << QByteArray() << warnung << keine;
        QTest::newRow("binär") << binaer << warnung << keine;
        QTest::newRow("kurze Zeilen") << QByteArray("40050150 Sparkasse\n10020030 Bank\n") << warnung << keine;
        QTest::newRow("ohne Bankleitzahl") << QByteArray(160, 'x') << warnung << keine;
        QTest::newRow("fehlt") << QByteArray("-") << int(Interaktion::Art::Kritisch) << "No such file or directory";
        QTest::newRow("abgebrochen") << QByteArray("?") << 0 << "";
    }
    void ablehnen()
    {
        QFETCH(QByteArray, inhalt);
        QFETCH(QString, text);
        const QString datei = m_db->verzeichnis() + "/blz.txt";
        QFile f(datei);
        QVERIFY(inhalt == "-" || inhalt == "?" || (f.open(QIODevice::WriteOnly) && f.write(inhalt) == inhalt.size()));
        f.close();
        const QStringList vorher = tabelle();
        VelaMain fenster;
        SkriptInteraktion skript;
        if (inhalt == "?")
            skript.antworteAbbruch();
        skript.antworteText(datei);
        skript.antworte(QMessageBox::Ok);
        blzMenue(fenster)->trigger();
        QCOMPARE(tabelle(), vorher);
        QCOMPARE(skript.unerwartet(), 0);
        QCOMPARE(skript.anfragen().size(), inhalt == "?" ? 1 : 2);
        if (inhalt == "?")
            return;
        QTEST(int(skript.anfragen().at(1).art), "art");
        QCOMPARE(skript.anfragen().at(1).titel, "BLZ Datei");
        QCOMPARE(skript.anfragen().at(1).text, text);
    }

private:
    static QAction *blzMenue(VelaMain &fenster)
    {
        for (QAction *a : fenster.findChildren<QAction *>()) {
            if (a->text() == QLatin1String("&BLZ-Datei lesen"))
                return a;
        }
        return nullptr;
    }

    std::unique_ptr<TestDb> m_db;
};

QTEST_MAIN(TstBlzDatei)
#include "tst_blzdatei.moc"
