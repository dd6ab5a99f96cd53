// The posting engine against a real database file, the fiscal year and the delete question.

#include "db.h"
#include "testdb.h"
#include "textutil.h"
#include "utilbuch.h"

#include <QtTest>
#include <optional>

namespace {

const QDate Tag(2024, 3, 15);
const QString Normal = QStringLiteral("1|1200|1000|0 2|4711|-1000|0"); // the lines buche() writes

int buche(int lfd = 0, const QString &gkonto = "4711", const QString &art = {}, const QString &konto = "1200",
          const QDate &datum = Tag)
{
    return UtilBuch(datum, lfd, "K1", "B1", "Text", 1000, konto, gkonto, "BS1", art);
}

// "kg|konto|cent|abstimm" of the lines of an entry, in line order, blank-separated.
QString zeilen(int lfd)
{
    return TestDb::zeile("SELECT group_concat(z,' ') FROM (SELECT kg||'|'||konto||'|'||cent||'|'||abstimm AS z "
                         "FROM kgkto WHERE datum='2024-03-15' AND lfd=? ORDER BY kg)", {lfd}).value(0);
}

// kost, beleg, butext, beschluss, art, extlfd and erfasst of a journal entry.
QStringList journal(int lfd)
{
    return TestDb::zeile("SELECT kost,beleg,butext,beschluss,art,extlfd,erfasst FROM journdat "
                         "WHERE datum='2024-03-15' AND lfd=?", {lfd});
}

// "entries/lines" in the whole book.
QString bestand()
{
    return TestDb::zeile("SELECT (SELECT count(*) FROM journdat)||'/'||(SELECT count(*) FROM kgkto)").value(0);
}

} // namespace

class TstBuchung : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(m_db.emplace().ok()); }
    void cleanup() { m_db.reset(); }

    void nummern()
    {
        // Numbers compare as numbers: 10 comes after 9; each date counts on its own.
        for (int i = 1; i <= 10; ++i)
            QCOMPARE(buche(), i);
        QCOMPARE(buche(0, "4711", {}, "1200", Tag.addDays(1)), 1);
        QCOMPARE(buche(-5), 11);
        Db::ausfuehren("DELETE FROM journdat WHERE datum='2024-03-15' AND lfd=1");
        QCOMPARE(buche(), 12);
        // Lines left over under a new number are replaced.
        Db::ausfuehren("INSERT INTO kgkto (datum,lfd,kg,konto,cent,abstimm) VALUES ('2024-03-15',13,'3','9',77,'0')");
        QCOMPARE(buche(), 13);
        QCOMPARE(zeilen(13), Normal);
        // 9999 is the last number of a date; the 10000th booking writes nothing.
        const QDate voll = Tag.addDays(2);
        Db::ausfuehren("INSERT INTO journdat (datum,lfd) VALUES (?,9998)", {voll.toString(Qt::ISODate)});
        QCOMPARE(buche(0, "4711", {}, "1200", voll), 9999);
        QCOMPARE(buche(0, "4711", {}, "1200", voll), -1);
        QCOMPARE(bestand(), "15/30");
    }

    void neuUndUmschreiben()
    {
        const QDateTime vorher = QDateTime::currentDateTime().addSecs(-1);
        QCOMPARE(UtilBuch(Tag, 0, "  Kost  1 ", " Beleg 7", "Miete  O'Brien\n März ", -9999999999, " 20  abc ",
                          "70druck`erei", " Beschluss\t3 ", " S "), 1);
        QStringList j = journal(1);
        const QDateTime erfasst = QDateTime::fromString(j.takeLast(), "yyyy-MM-dd hh:mm:ss");
        QVERIFY(erfasst >= vorher && erfasst <= QDateTime::currentDateTime().addSecs(1));
        // Cleaned like an input field, whoever calls: the apostrophe becomes a grave accent.
        QCOMPARE(j, (QStringList{"Kost 1", "Beleg 7", "Miete O`Brien März", "Beschluss 3", "S", "0"}));
        QCOMPARE(zeilen(1), "1|20 ABC|-9999999999|0 2|70DRUCK`EREI|9999999999|0");

        // A rewrite replaces texts and lines, keeps the creation time and leaves the neighbour alone.
        QCOMPARE(buche(), 2);
        Db::ausfuehren("UPDATE journdat SET erfasst='2000-01-01 00:00:00'");
        QCOMPARE(UtilBuch(Tag, 1, "K2", "B2", "Neuer  Text", -1234, "2000", "3000", "BS2", {}), 1);
        QCOMPARE(journal(1), (QStringList{"K2", "B2", "Neuer Text", "BS2", "S", "0", "2000-01-01 00:00:00"}));
        QCOMPARE(zeilen(1), "1|2000|-1234|0 2|3000|1234|0");
        QCOMPARE(zeilen(2), Normal);
        // A missing entry is not rewritten.
        QCOMPARE(buche(3), -1);
        QCOMPARE(buche(1, "4711", {}, "1200", Tag.addDays(1)), -1);
        QCOMPARE(bestand(), "2/4");

        // Texts a caller leaves out are stored as empty text, not as NULL.
        QCOMPARE(UtilBuch(Tag, 0, "K", QString(), "T", 100, "1200", "4711", QString(), QString()), 3);
        QCOMPARE(TestDb::anzahl("SELECT count(*) FROM journdat WHERE lfd=3 AND beleg='' AND beschluss='' AND art=''"), 1);
    }

    void art_data()
    {
        // kind stored before a rewrite ("-": new entry) | kind passed | account | contra account | kind stored
        QTest::addColumn<QString>("fall");
        QTest::newRow("neu Abgrenzung aktiv Konto") << "-||0980|4711|A";
        QTest::newRow("neu Abgrenzung passiv Gegenkonto") << "-||1200|0990|A";
        QTest::newRow("neu Art vor Abgrenzung") << "-|X|0980|4711|X";
        QTest::newRow("umschreiben behaelt Art") << "X||1200|4711|X";
        QTest::newRow("umschreiben neue Art") << "X|Y|1200|4711|Y";
        QTest::newRow("umschreiben Abgrenzung passiv") << "X||1200|0990|A";
    }

    void art()
    {
        QFETCH(QString, fall);
        const QStringList f = fall.split('|');
        TestDb::setParameter("Konten/AbgrAktiv", "0980");
        TestDb::setParameter("Konten/AbgrPassiv", "0990");
        const int lfd = f[0] == "-" ? 0 : buche(0, "4711", f[0]);
        QCOMPARE(buche(lfd, f[3], f[1], f[2]), 1);
        QCOMPARE(journal(1).value(4), f[4]);
    }

    void fehlerLassenNichtsHalbes()
    {
        Db::ausfuehren("CREATE TRIGGER kaputt BEFORE INSERT ON kgkto WHEN NEW.konto='99FAIL' "
                       "BEGIN SELECT RAISE(ABORT,'kaputt'); END");
        QCOMPARE(buche(0, "4711", "X"), 1);
        QCOMPARE(buche(0, "99FAIL"), UtilBuchFehler);
        QCOMPARE(UtilBuchMeldung(UtilBuchFehler), "Buchung konnte nicht gespeichert werden\nSpeichern fehlgeschlagen: kaputt");
        QCOMPARE(UtilBuch(Tag, 1, "K9", "B9", "Neu", 7, "2000", "99FAIL", {}, "Y"), UtilBuchFehler);
        QCOMPARE(journal(1).value(4), "X");
        QCOMPARE(zeilen(1), Normal);
        // Inside a caller's transaction each entry stays whole, and the caller's rollback takes all.
        QVERIFY(Db::begin());
        QCOMPARE(buche(), 2);
        QCOMPARE(buche(0, "99FAIL"), UtilBuchFehler);
        QCOMPARE(buche(), 3);
        QVERIFY(Db::commit());
        QVERIFY(Db::begin());
        QCOMPARE(buche(), 4);
        QVERIFY(Db::rollback());
        QCOMPARE(bestand(), "3/6");
        // A journal insert that changes no row counts as failed, ten times over; no transaction stays open.
        Db::ausfuehren("CREATE TRIGGER schluckt BEFORE INSERT ON journdat BEGIN SELECT RAISE(IGNORE); END");
        QCOMPARE(buche(), UtilBuchKeineNummer);
        QCOMPARE(UtilBuchMeldung(UtilBuchKeineNummer), "Fehler beim Generieren der Nummer");
        QCOMPARE(bestand(), "3/6");
        QVERIFY(Db::begin());
        QVERIFY(Db::commit());
    }

    void geschaeftsjahr()
    {
        QCOMPARE(UtilGJVonDatum(QDate(2024, 1, 1)), QDate(2024, 1, 1));
        QCOMPARE(UtilGJVonDatum(QDate(2024, 2, 29)), QDate(2024, 1, 1));
        QCOMPARE(UtilGJVonDatum(QDate(2023, 12, 31)), QDate(2023, 1, 1));
        QCOMPARE(UtilGJVon(), QDate(QDate::currentDate().year(), 1, 1));
    }

    void qDelete()
    {
        SkriptInteraktion skript;
        skript.antworte(QMessageBox::Ok);
        skript.antworte(QMessageBox::Cancel);
        QVERIFY(UtilQDelete());
        QVERIFY(!UtilQDelete());
        QCOMPARE(skript.anfragen().first().knoepfe, QMessageBox::Ok | QMessageBox::Cancel);
        QCOMPARE(skript.anfragen().first().vorgabe, QMessageBox::Ok);
    }

private:
    std::optional<TestDb> m_db;
};

QTEST_MAIN(TstBuchung)
#include "tst_buchung.moc"
