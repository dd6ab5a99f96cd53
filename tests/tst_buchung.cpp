// The posting engine against a real database file, the fiscal year and the delete question.

#include "db.h"
#include "testdb.h"
#include "utilbuch.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QtTest>

namespace {

const QDate Tag(2024, 3, 15);

int buche(int lfd = 0, qint64 cent = 1000, const QString &konto = QStringLiteral("1200"),
          const QString &gkonto = QStringLiteral("4711"), const QString &art = QString(),
          const QDate &datum = Tag)
{
    return UtilBuch(datum, lfd, QStringLiteral("K1"), QStringLiteral("B1"), QStringLiteral("Text"), cent, konto,
                    gkonto, QStringLiteral("BS1"), art);
}

int anzahl(const QString &tabelle)
{
    return Db::wert(QStringLiteral("SELECT count(*) FROM ") + tabelle).toInt();
}

// "kg|konto|cent|abstimm" of the lines of an entry, in line order.
QStringList zeilen(const QDate &datum, int lfd)
{
    QSqlQuery q = Db::abfrage(
        QStringLiteral("SELECT kg,konto,cent,abstimm FROM kgkto WHERE datum=? AND lfd=? ORDER BY kg"),
        {datum.toString(Qt::ISODate), lfd});
    QStringList l;
    while (q.next())
        l << QStringList{q.value(0).toString(), q.value(1).toString(), q.value(2).toString(), q.value(3).toString()}
                 .join(QLatin1Char('|'));
    return l;
}

// A column of a journal row.
QString journal(const QString &spalte, int lfd, const QDate &datum = Tag)
{
    return Db::wert(QStringLiteral("SELECT ") + spalte + QStringLiteral(" FROM journdat WHERE datum=? AND lfd=?"),
                    {datum.toString(Qt::ISODate), lfd})
        .toString();
}

} // namespace

class TstBuchung : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_db = std::make_unique<TestDb>();
        QVERIFY(m_db->ok());
    }
    void cleanup() { m_db.reset(); }

    void nummernJeDatum();
    void nachLoeschenHoechsteNummerPlusEins();
    void nummer9999IstDieLetzte();
    void neuerEintrag();
    void betraege_data();
    void betraege();
    void alteZeilenUnterNeuerNummerVerschwinden();
    void umschreiben();
    void umschreibenFehlenderEintrag();
    void art_data();
    void art();
    void fehlerbeiZeileHinterlaesstNichts();
    void fehlerBeimUmschreibenLaesstEintragStehen();
    void eingefuegteZeileZaehlt();
    void inTransaktionDesAufrufers();

    void gjVonDatum_data();
    void gjVonDatum();
    void gjVon();
    void qDelete_data();
    void qDelete();

private:
    std::unique_ptr<TestDb> m_db;
};

void TstBuchung::nummernJeDatum()
{
    QCOMPARE(buche(), 1);
    QCOMPARE(buche(), 2);
    QCOMPARE(buche(0, 1000, QStringLiteral("1200"), QStringLiteral("4711"), QString(), Tag.addDays(1)), 1);
    QCOMPARE(buche(-5), 3);
    QCOMPARE(anzahl(QStringLiteral("journdat")), 4);
    QCOMPARE(anzahl(QStringLiteral("kgkto")), 8);
}

void TstBuchung::nachLoeschenHoechsteNummerPlusEins()
{
    QCOMPARE(buche(), 1);
    QCOMPARE(buche(), 2);
    // Numbers compare as numbers: 10 comes after 9.
    for (int i = 3; i <= 10; ++i)
        QCOMPARE(buche(), i);
    Db::ausfuehren(QStringLiteral("DELETE FROM journdat WHERE lfd=1"));
    Db::ausfuehren(QStringLiteral("DELETE FROM kgkto WHERE lfd=1"));
    QCOMPARE(buche(), 11);
}

void TstBuchung::nummer9999IstDieLetzte()
{
    Db::ausfuehren(QStringLiteral("INSERT INTO journdat (datum,lfd) VALUES (?,?)"), {"2024-03-15", 9998});
    QCOMPARE(buche(), 9999);
    QCOMPARE(buche(), -1);
    QCOMPARE(anzahl(QStringLiteral("journdat")), 2);
    QCOMPARE(anzahl(QStringLiteral("kgkto")), 2);
    QCOMPARE(zeilen(Tag, 10000), QStringList());
    // Another date still has room.
    QCOMPARE(buche(0, 1000, QStringLiteral("1200"), QStringLiteral("4711"), QString(), Tag.addDays(1)), 1);
}

void TstBuchung::neuerEintrag()
{
    const QDateTime vorher = QDateTime::currentDateTime().addSecs(-1);
    QCOMPARE(UtilBuch(Tag, 0, QStringLiteral("  Kost  1 "), QStringLiteral(" Beleg 7"),
                      QStringLiteral("Miete  O'Brien\n März "), 5000, QStringLiteral(" 20  abc "),
                      QStringLiteral("70druck`erei"), QStringLiteral(" Beschluss\t3 "), QStringLiteral(" S ")),
             1);
    const QDateTime nachher = QDateTime::currentDateTime().addSecs(1);

    QCOMPARE(journal(QStringLiteral("kost"), 1), QStringLiteral("Kost 1"));
    QCOMPARE(journal(QStringLiteral("beleg"), 1), QStringLiteral("Beleg 7"));
    QCOMPARE(journal(QStringLiteral("butext"), 1), QStringLiteral("Miete O'Brien März"));
    QCOMPARE(journal(QStringLiteral("beschluss"), 1), QStringLiteral("Beschluss 3"));
    QCOMPARE(journal(QStringLiteral("art"), 1), QStringLiteral("S"));
    QCOMPARE(journal(QStringLiteral("extlfd"), 1), QStringLiteral("0"));
    const QString erfasst = journal(QStringLiteral("erfasst"), 1);
    QVERIFY2(QRegularExpression(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d$")).match(erfasst).hasMatch(),
             qPrintable(erfasst));
    const QDateTime zeit = QDateTime::fromString(erfasst, QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    QVERIFY(zeit >= vorher && zeit <= nachher);
    QCOMPARE(zeilen(Tag, 1), (QStringList{"1|20 ABC|5000|0", "2|70DRUCK`EREI|-5000|0"}));
}

void TstBuchung::betraege_data()
{
    QTest::addColumn<qint64>("cent");
    QTest::addColumn<QString>("soll");
    QTest::addColumn<QString>("haben");
    QTest::newRow("positiv") << qint64(1234) << "1234" << "-1234";
    QTest::newRow("negativ") << qint64(-1234) << "-1234" << "1234";
    QTest::newRow("null") << qint64(0) << "0" << "0";
    QTest::newRow("ueber 32 Bit") << qint64(9999999999) << "9999999999" << "-9999999999";
}

void TstBuchung::betraege()
{
    QFETCH(qint64, cent);
    QFETCH(QString, soll);
    QFETCH(QString, haben);
    QCOMPARE(buche(0, cent), 1);
    QCOMPARE(zeilen(Tag, 1), (QStringList{"1|1200|" + soll + "|0", "2|4711|" + haben + "|0"}));
    QCOMPARE(Db::wert(QStringLiteral("SELECT sum(cent) FROM kgkto")).toLongLong(), 0);
}

void TstBuchung::alteZeilenUnterNeuerNummerVerschwinden()
{
    const QString zeile = QStringLiteral("INSERT INTO kgkto (datum,lfd,kg,konto,cent,abstimm) VALUES (?,?,?,?,?,'0')");
    Db::ausfuehren(zeile, {"2024-03-15", 1, "1", "9999", 77});
    Db::ausfuehren(zeile, {"2024-03-15", 1, "3", "9999", 77});
    Db::ausfuehren(zeile, {"2024-03-15", 2, "1", "9999", 77});
    QCOMPARE(buche(), 1);
    QCOMPARE(zeilen(Tag, 1), (QStringList{"1|1200|1000|0", "2|4711|-1000|0"}));
    QCOMPARE(zeilen(Tag, 2), QStringList{"1|9999|77|0"});
}

void TstBuchung::umschreiben()
{
    QCOMPARE(buche(), 1);
    QCOMPARE(buche(), 2);
    Db::ausfuehren(QStringLiteral("UPDATE journdat SET erfasst='2000-01-01 00:00:00'"));
    QCOMPARE(UtilBuch(Tag, 2, QStringLiteral("K2"), QStringLiteral("B2"), QStringLiteral("Neuer  Text"), -250,
                      QStringLiteral("2000"), QStringLiteral("3000"), QStringLiteral("BS2"), QString()),
             2);
    QCOMPARE(journal(QStringLiteral("kost"), 2), QStringLiteral("K2"));
    QCOMPARE(journal(QStringLiteral("beleg"), 2), QStringLiteral("B2"));
    QCOMPARE(journal(QStringLiteral("butext"), 2), QStringLiteral("Neuer Text"));
    QCOMPARE(journal(QStringLiteral("beschluss"), 2), QStringLiteral("BS2"));
    QCOMPARE(journal(QStringLiteral("erfasst"), 2), QStringLiteral("2000-01-01 00:00:00"));
    QCOMPARE(zeilen(Tag, 2), (QStringList{"1|2000|-250|0", "2|3000|250|0"}));
    // The neighbour is untouched.
    QCOMPARE(journal(QStringLiteral("butext"), 1), QStringLiteral("Text"));
    QCOMPARE(zeilen(Tag, 1), (QStringList{"1|1200|1000|0", "2|4711|-1000|0"}));
    QCOMPARE(anzahl(QStringLiteral("journdat")), 2);
    QCOMPARE(anzahl(QStringLiteral("kgkto")), 4);
}

void TstBuchung::umschreibenFehlenderEintrag()
{
    QCOMPARE(buche(), 1);
    QCOMPARE(buche(3), -1);
    QCOMPARE(buche(1, 1000, QStringLiteral("1200"), QStringLiteral("4711"), QString(), Tag.addDays(1)), -1);
    QCOMPARE(anzahl(QStringLiteral("journdat")), 1);
    QCOMPARE(anzahl(QStringLiteral("kgkto")), 2);
}

void TstBuchung::art_data()
{
    QTest::addColumn<QString>("gespeichert"); // kind of the entry before a rewrite; null for a new entry
    QTest::addColumn<QString>("art");
    QTest::addColumn<QString>("konto");
    QTest::addColumn<QString>("gkonto");
    QTest::addColumn<QString>("erwartet");

    QTest::newRow("neu gewoehnlich") << QString() << "" << "1200" << "4711" << "";
    QTest::newRow("neu mit Art") << QString() << "X" << "1200" << "4711" << "X";
    QTest::newRow("neu Abgrenzung aktiv Konto") << QString() << "" << "0980" << "4711" << "A";
    QTest::newRow("neu Abgrenzung passiv Gegenkonto") << QString() << "" << "1200" << "0990" << "A";
    QTest::newRow("neu Art vor Abgrenzung") << QString() << "X" << "0980" << "4711" << "X";
    QTest::newRow("umschreiben behaelt Art") << "X" << "" << "1200" << "4711" << "X";
    QTest::newRow("umschreiben behaelt A") << "A" << "" << "1200" << "4711" << "A";
    QTest::newRow("umschreiben neue Art") << "X" << "Y" << "1200" << "4711" << "Y";
    QTest::newRow("umschreiben Abgrenzung passiv") << "X" << "" << "1200" << "0990" << "A";
    QTest::newRow("umschreiben Abgrenzung aktiv") << "" << "" << "0980" << "4711" << "A";
}

void TstBuchung::art()
{
    QFETCH(QString, gespeichert);
    QFETCH(QString, art);
    QFETCH(QString, konto);
    QFETCH(QString, gkonto);
    QFETCH(QString, erwartet);
    TestDb::setParameter(QStringLiteral("Konten/AbgrAktiv"), QStringLiteral("0980"));
    TestDb::setParameter(QStringLiteral("Konten/AbgrPassiv"), QStringLiteral("0990"));

    int lfd = 0;
    if (!gespeichert.isNull()) {
        QCOMPARE(buche(0, 1000, QStringLiteral("1200"), QStringLiteral("4711"), gespeichert), 1);
        lfd = 1;
    }
    QCOMPARE(buche(lfd, 1000, konto, gkonto, art), 1);
    QCOMPARE(journal(QStringLiteral("art"), 1), erwartet);
}

void TstBuchung::fehlerbeiZeileHinterlaesstNichts()
{
    QCOMPARE(buche(), 1);
    Db::ausfuehren(QStringLiteral("CREATE TRIGGER kaputt BEFORE INSERT ON kgkto WHEN NEW.kg='2' "
                                  "BEGIN SELECT RAISE(ABORT,'kaputt'); END"));
    QCOMPARE(buche(), -1);
    QCOMPARE(anzahl(QStringLiteral("journdat")), 1);
    QCOMPARE(anzahl(QStringLiteral("kgkto")), 2);
    QCOMPARE(journal(QStringLiteral("count(*)"), 2), QStringLiteral("0"));
    // The connection is usable afterwards, no transaction is left open.
    Db::ausfuehren(QStringLiteral("DROP TRIGGER kaputt"));
    QCOMPARE(buche(), 2);
    QVERIFY(Db::begin());
    QVERIFY(Db::commit());
}

void TstBuchung::fehlerBeimUmschreibenLaesstEintragStehen()
{
    QCOMPARE(buche(0, 1000, QStringLiteral("1200"), QStringLiteral("4711"), QStringLiteral("X")), 1);
    Db::ausfuehren(QStringLiteral("CREATE TRIGGER kaputt BEFORE INSERT ON kgkto WHEN NEW.konto='99FAIL' "
                                  "BEGIN SELECT RAISE(ABORT,'kaputt'); END"));
    QCOMPARE(UtilBuch(Tag, 1, QStringLiteral("K9"), QStringLiteral("B9"), QStringLiteral("Neu"), 7,
                      QStringLiteral("2000"), QStringLiteral("99FAIL"), QString(), QStringLiteral("Y")),
             -1);
    QCOMPARE(journal(QStringLiteral("butext"), 1), QStringLiteral("Text"));
    QCOMPARE(journal(QStringLiteral("art"), 1), QStringLiteral("X"));
    QCOMPARE(zeilen(Tag, 1), (QStringList{"1|1200|1000|0", "2|4711|-1000|0"}));
}

void TstBuchung::eingefuegteZeileZaehlt()
{
    // A journal insert that changes no row counts as failed, ten times over.
    Db::ausfuehren(QStringLiteral("CREATE TRIGGER schluckt BEFORE INSERT ON journdat "
                                  "BEGIN SELECT RAISE(IGNORE); END"));
    QCOMPARE(buche(), -1);
    QCOMPARE(anzahl(QStringLiteral("journdat")), 0);
    QCOMPARE(anzahl(QStringLiteral("kgkto")), 0);
    QVERIFY(Db::begin());
    QVERIFY(Db::commit());
}

void TstBuchung::inTransaktionDesAufrufers()
{
    // A batch may group its entries in its own transaction; each entry stays whole within it.
    Db::ausfuehren(QStringLiteral("CREATE TRIGGER kaputt BEFORE INSERT ON kgkto WHEN NEW.konto='99FAIL' "
                                  "BEGIN SELECT RAISE(ABORT,'kaputt'); END"));
    QVERIFY(Db::begin());
    QCOMPARE(buche(), 1);
    QCOMPARE(buche(0, 500, QStringLiteral("1200"), QStringLiteral("99FAIL")), -1);
    QCOMPARE(buche(), 2);
    QVERIFY(Db::commit());
    QCOMPARE(anzahl(QStringLiteral("journdat")), 2);
    QCOMPARE(anzahl(QStringLiteral("kgkto")), 4);

    QVERIFY(Db::begin());
    QCOMPARE(buche(), 3);
    QVERIFY(Db::rollback());
    QCOMPARE(anzahl(QStringLiteral("journdat")), 2);
    QCOMPARE(anzahl(QStringLiteral("kgkto")), 4);
}

void TstBuchung::gjVonDatum_data()
{
    QTest::addColumn<QDate>("datum");
    QTest::addColumn<QDate>("beginn");
    QTest::newRow("Neujahr") << QDate(2024, 1, 1) << QDate(2024, 1, 1);
    QTest::newRow("Schaltag") << QDate(2024, 2, 29) << QDate(2024, 1, 1);
    QTest::newRow("Silvester") << QDate(2023, 12, 31) << QDate(2023, 1, 1);
    QTest::newRow("ungueltig") << QDate() << QDate();
}

void TstBuchung::gjVonDatum()
{
    QFETCH(QDate, datum);
    QFETCH(QDate, beginn);
    QCOMPARE(UtilGJVonDatum(datum), beginn);
}

void TstBuchung::gjVon()
{
    QCOMPARE(UtilGJVon(), QDate(QDate::currentDate().year(), 1, 1));
}

void TstBuchung::qDelete_data()
{
    QTest::addColumn<int>("knopf");
    QTest::addColumn<bool>("loeschen");
    QTest::newRow("Ok") << int(QMessageBox::Ok) << true;
    QTest::newRow("Abbruch") << int(QMessageBox::Cancel) << false;
}

void TstBuchung::qDelete()
{
    QFETCH(int, knopf);
    QFETCH(bool, loeschen);
    SkriptInteraktion skript;
    skript.antworte(static_cast<QMessageBox::StandardButton>(knopf));
    QCOMPARE(UtilQDelete(), loeschen);
    QCOMPARE(skript.anfragen().size(), 1);
    const Interaktion::Anfrage &a = skript.anfragen().first();
    QCOMPARE(a.art, Interaktion::Art::Frage);
    QCOMPARE(a.titel, QStringLiteral("Löschen"));
    QCOMPARE(a.text, QStringLiteral("Soll der Datensatz gelöscht werden"));
    QCOMPARE(a.knoepfe, QMessageBox::StandardButtons(QMessageBox::Ok | QMessageBox::Cancel));
    QCOMPARE(a.vorgabe, QMessageBox::Ok);
    QCOMPARE(skript.unerwartet(), 0);
}

QTEST_MAIN(TstBuchung)
#include "tst_buchung.moc"
