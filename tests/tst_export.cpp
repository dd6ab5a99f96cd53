// The journal export, the donation book and the accreditation list on real
// files, read back with Python's csv module and compared with the books.

#include "db.h"
#include "dialogdriver.h"
#include "journexport.h"
#include "testdb.h"
#include "wdatum.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLineEdit>
#include <QProcess>
#include <QtTest>

namespace {

using Zeilen = QList<QStringList>;

// The file as Python's csv module reads it with the dialect's defaults.
Zeilen csvLesen(const QString &datei)
{
    QProcess p;
    p.start(QStringLiteral(VELA_PYTHON),
            {QStringLiteral(VELA_TESTS_DIR "/csvdialekt.py"), "lesen", datei, ",", "\"", "latin-1"});
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        qWarning() << p.readAllStandardError();
    Zeilen zeilen;
    for (const QJsonValue &z : QJsonDocument::fromJson(p.readAllStandardOutput()).array()) {
        QStringList felder;
        for (const QJsonValue &f : z.toArray())
            felder << f.toString();
        zeilen << felder;
    }
    return zeilen;
}

void sql(const QString &text, const QVariantList &werte)
{
    QVERIFY2(Db::ausfuehren(text, werte) == 1, qPrintable(text));
}

// A journal entry with its lines (account, cents) in kg order.
void eintrag(const QString &datum, int lfd, const QString &kost, const QString &text,
             const QList<QPair<QString, qint64>> &zeilen)
{
    sql("INSERT INTO journdat (datum,lfd,kost,butext) VALUES (?,?,?,?)", {datum, lfd, kost, text});
    int kg = 0;
    for (const auto &[konto, cent] : zeilen)
        sql("INSERT INTO kgkto (datum,lfd,kg,konto,cent) VALUES (?,?,?,?,?)",
            {datum, lfd, QString::number(++kg), konto, cent});
}

// Fills the dialog's file field and exports; the one message it shows.
template <typename Dialog>
Interaktion::Anfrage exportiere(Dialog &dialog, const QString &datei, bool ueberschreiben = false)
{
    DialogTreiber::feldBei<QLineEdit>(&dialog, "Dateiname")->setText(datei);
    SkriptInteraktion skript;
    if (ueberschreiben)
        skript.antworte(QMessageBox::Ok);
    skript.antworte(QMessageBox::Ok);
    dialog.pExport();
    return skript.anfragen().value(skript.anfragen().size() - 1);
}

const QStringList kJournalKopf{"Nr.", "Datum", "Beleg", "Beleg_Text", "Betrag", "Kto_S", "Kto_H"};

} // namespace

class TstExport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    void journal_data();
    void journal();
    void journalZiel();
};

void TstExport::journal_data()
{
    QTest::addColumn<QDate>("von");
    QTest::addColumn<QDate>("bis");
    QTest::addColumn<Zeilen>("zeilen");
    const QStringList erste{"1", "2025-01-10", "K1", "Miete", "1.234,50", "4100", "1200"};
    const QStringList ohne{"3", "2025-03-15", "", "ohne Zeilen", "0,00", "", ""};
    const QStringList mehrere{"4", "2025-03-15", "K 2", "Sammel  buchung", "7,00", "4120", "1000"};
    QTest::newRow("ganzes Jahr") << QDate(2025, 1, 1) << QDate(2025, 12, 31)
                                 << Zeilen{erste, {"2", "2025-03-01", "", "Spende", "50,00", "1200", "5000"},
                                           ohne, mehrere};
    // Numbered from the start of the fiscal year, not from the first exported entry.
    QTest::newRow("ab 15. März") << QDate(2025, 3, 15) << QDate(2025, 3, 15) << Zeilen{ohne, mehrere};
    QTest::newRow("leer") << QDate(2025, 4, 1) << QDate(2025, 4, 30) << Zeilen{};
}

void TstExport::journal()
{
    QFETCH(QDate, von);
    QFETCH(QDate, bis);
    QFETCH(Zeilen, zeilen);
    TestDb db;
    eintrag("2024-12-31", 1, "", "Vorjahr", {{"4100", 100}, {"1200", -100}});
    eintrag("2025-01-10", 1, "K1", "Miete", {{"4100", 123450}, {"1200", -123450}});
    eintrag("2025-03-01", 1, "", "Spende", {{"1200", 5000}, {"5000", -5000}});
    eintrag("2025-03-15", 1, "", "ohne Zeilen", {});
    // Several lines on one side: the last of each side names the account, the last line the amount.
    eintrag("2025-03-15", 2, "K\"2", "Sammel\"\"buchung",
            {{"4110", 300}, {"1200", -1000}, {"4120", 700}, {"1000", -700}});
    JournalExport dialog;
    DialogTreiber::feldBei<WDatum>(&dialog, "Datum von")->setDatum(von);
    DialogTreiber::feldBei<WDatum>(&dialog, "bis")->setDatum(bis);
    const QString datei = db.verzeichnis() + "/journal.csv";
    const Interaktion::Anfrage fertig = exportiere(dialog, datei);
    QCOMPARE(fertig.titel, QString("Journalexport"));
    QCOMPARE(fertig.text, QString("Fertig"));
    QCOMPARE(csvLesen(datei), Zeilen{kJournalKopf} + zeilen);
}

// An existing file is overwritten only after the question; a target that cannot be written is reported.
void TstExport::journalZiel()
{
    TestDb db;
    JournalExport dialog;
    const QString datei = db.verzeichnis() + "/alt.csv";
    QFile alt(datei);
    QVERIFY(alt.open(QIODevice::WriteOnly) && alt.write("alt\n") == 4);
    alt.close();
    QCOMPARE(exportiere(dialog, datei, true).text, QString("Fertig"));
    QCOMPARE(csvLesen(datei), Zeilen{kJournalKopf});
    // A folder in the file's place.
    const Interaktion::Anfrage fehler = exportiere(dialog, db.verzeichnis());
    QCOMPARE(fehler.art, Interaktion::Art::Kritisch);
    QCOMPARE(fehler.titel, db.verzeichnis());
}

QTEST_MAIN(TstExport)
#include "tst_export.moc"
