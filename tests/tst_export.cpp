// The journal export, the donation book and the accreditation list on real
// files, read back with Python's csv module and compared with the books.

#include "akkredlist.h"
#include "csvpython.h"
#include "db.h"
#include "demodaten.h"
#include "dialogdriver.h"
#include "journexport.h"
#include "spendenexport.h"
#include "testdb.h"
#include "textutil.h"
#include "wdatum.h"
#include "wgliederung.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QtTest>

#include <memory>

namespace {

using CsvPython::Zeilen;
using DialogTreiber::feldBei;

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

// Units: LV above KV A and KV B, OV A1 below KV A, OV A1X below OV A1.
void gliederungen()
{
    for (const auto &[name, ebene, teilvon] : {std::tuple{"LV", 1, ""}, std::tuple{"KV A", 2, "LV"},
                                                std::tuple{"KV B", 2, "LV"}, std::tuple{"OV A1", 3, "KV A"},
                                                std::tuple{"OV A1X", 4, "OV A1"}})
        sql("INSERT INTO verband (namekurz,ebene,teilvon) VALUES (?,?,?)", {name, ebene, teilvon});
}

void adresse(int mid, const QString &name1, const QString &name2, const QString &strasse, const QString &plz,
             const QString &ort)
{
    sql("INSERT INTO adresse (art,key,suchname,name1,name2,strasse,plz,ort,land) VALUES ('M',?,?,?,?,?,?,?,'D')",
        {QString::asprintf("%08i", mid), name1.toUpper(), name1, name2, strasse, plz, ort});
}

enum Export { Journal, Spenden, Akkred };

const QStringList kTitel{"Journalexport", "Spendenexport", "Akkreditierungsliste"};
const Zeilen kKopf{{"Nr.", "Datum", "Beleg", "Beleg_Text", "Betrag", "Kto_S", "Kto_H"},
                   {"Datum", "EUR", "Art", "MID", "Vorname", "Nachname", "Strasse", "PLZ", "Ort"},
                   {"MID", "Vorname", "Nachname", "Strasse", "PLZ", "Stadt", "Land", "Gliederung", "Bezahlt bis",
                    "Beitrag", "Zahlart"}};

std::unique_ptr<QDialog> dialog(Export art)
{
    switch (art) {
    case Journal: return std::make_unique<JournalExport>();
    case Spenden: return std::make_unique<SpendenExport>();
    default: return std::make_unique<AkkredListe>();
    }
}

void zeitraum(QDialog *d, const QDate &von, const QDate &bis)
{
    feldBei<WDatum>(d, "Datum von")->setDatum(von);
    feldBei<WDatum>(d, "bis")->setDatum(bis);
}

// Exports into `datei` with the dialog's "&Export", answering the messages in order; the requests.
QList<Interaktion::Anfrage> exportiere(QDialog *d, const QString &datei,
                                       const QList<QMessageBox::StandardButton> &antworten = {QMessageBox::Ok})
{
    feldBei<QLineEdit>(d, "Dateiname")->setText(datei);
    SkriptInteraktion skript;
    for (QMessageBox::StandardButton a : antworten)
        skript.antworte(a);
    DialogTreiber::knopf(d, "&Export")->click();
    return skript.anfragen();
}

// The export ends with "Fertig" under its title, and Python reads the header and `zeilen`.
void pruefeExport(Export art, QDialog *d, const QString &verzeichnis, const Zeilen &zeilen)
{
    const QString datei = verzeichnis + "/export.csv";
    const QList<Interaktion::Anfrage> anfragen = exportiere(d, datei);
    QCOMPARE(anfragen.size(), 1);
    QCOMPARE(anfragen.first().titel, kTitel.at(art));
    QCOMPARE(anfragen.first().text, QString("Fertig"));
    QCOMPARE(CsvPython::lesen(datei), Zeilen{kKopf.at(art)} + zeilen);
}

} // namespace

class TstExport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    void journal_data();
    void journal();
    void journalHledger();
    void spenden_data();
    void spenden();
    void akkred_data();
    void akkred();
    void ziel_data();
    void ziel();
};

void TstExport::journal_data()
{
    QTest::addColumn<QDate>("von");
    QTest::addColumn<QDate>("bis");
    QTest::addColumn<Zeilen>("zeilen");
    const QStringList ohne{"3", "2025-03-15", "", "ohne Zeilen", "0,00", "", ""};
    const QStringList mehrere{"4", "2025-03-15", "K 2", "Sammel  buchung", "7,00", "4120", "1000"};
    QTest::newRow("ganzes Jahr") << QDate(2025, 1, 1) << QDate(2025, 12, 31)
                                 << Zeilen{{"1", "2025-01-10", "K1", "Miete", "1.234,50", "4100", "1200"},
                                           {"2", "2025-03-01", "", "Spende", "50,00", "1200", "5000"},
                                           ohne, mehrere};
    // Numbered from the start of the fiscal year, not from the first exported entry.
    QTest::newRow("ab 15. März") << QDate(2025, 3, 15) << QDate(2025, 3, 15) << Zeilen{ohne, mehrere};
}

void TstExport::journal()
{
    QFETCH(QDate, von);
    QFETCH(QDate, bis);
    TestDb db;
    eintrag("2024-12-31", 1, "", "Vorjahr", {{"4100", 100}, {"1200", -100}});
    eintrag("2025-01-10", 1, "K1", "Miete", {{"4100", 123450}, {"1200", -123450}});
    eintrag("2025-03-01", 1, "", "Spende", {{"1200", 5000}, {"5000", -5000}});
    eintrag("2025-03-15", 1, "", "ohne Zeilen", {});
    // Several lines on one side: the last of each side names the account, the last line the amount.
    eintrag("2025-03-15", 2, "K\"2", "Sammel\"\"buchung",
            {{"4110", 300}, {"1200", -1000}, {"4120", 700}, {"1000", -700}});
    JournalExport dialog;
    zeitraum(&dialog, von, bis);
    QFETCH(Zeilen, zeilen);
    pruefeExport(Journal, &dialog, db.verzeichnis(), zeilen);
}

// The export of the demo books, read by hledger, gives every account the books' own balance.
void TstExport::journalHledger()
{
    TestDb db;
    DemoDaten demo(19);
    demo.setStichtag(QDate(2025, 6, 30));
    QVERIFY(demo.erzeugen(60, 400));
    const QStringList bereich = TestDb::zeile("SELECT min(datum),max(datum) FROM journdat");
    JournalExport dialog;
    zeitraum(&dialog, UtilDatum(bereich.at(0)), UtilDatum(bereich.at(1)));
    const QString datei = db.verzeichnis() + "/journal.csv";
    QCOMPARE(exportiere(&dialog, datei).value(0).text, QString("Fertig"));

    // The export is Latin-1; hledger reads UTF-8.
    QFile latin1(datei);
    QFile utf8(datei + ".utf8.csv");
    QVERIFY(latin1.open(QIODevice::ReadOnly) && utf8.open(QIODevice::WriteOnly));
    utf8.write(QString::fromLatin1(latin1.readAll()).toUtf8());
    utf8.close();
    QProcess hledger;
    hledger.start(QStringLiteral(VELA_HLEDGER), {"-f", utf8.fileName(), "--rules-file", VELA_TESTS_DIR "/journal.rules",
                                                  "balance", "--flat", "--no-total", "-O", "csv"});
    QVERIFY(hledger.waitForFinished(60000));
    QVERIFY2(hledger.exitCode() == 0, hledger.readAllStandardError().constData());
    QMap<QString, qint64> salden;
    for (QByteArray zeile : hledger.readAllStandardOutput().split('\n').mid(1)) {
        const QList<QByteArray> felder = zeile.replace('"', "").trimmed().split(',');
        // hledger writes amounts in the file's own notation, "-1.234,50" here.
        const QByteArray betrag = felder.mid(1).join(',').replace('.', "").replace(',', '.');
        if (felder.size() >= 2)
            salden.insert(QString::fromUtf8(felder.at(0)), qRound64(betrag.toDouble() * 100));
    }
    QMap<QString, qint64> buecher;
    QSqlQuery q = Db::abfrage("SELECT konto,sum(cent) FROM kgkto GROUP BY konto HAVING sum(cent)<>0");
    while (q.next())
        buecher.insert(q.value(0).toString(), q.value(1).toLongLong());
    QVERIFY(buecher.size() > 5);
    QCOMPARE(salden, buecher);
}

void TstExport::spenden_data()
{
    QTest::addColumn<int>("art");
    QTest::addColumn<QString>("gliederung");
    QTest::addColumn<QString>("kost");
    QTest::addColumn<QList<int>>("zeilen");
    // Rows in the order of the sort names, then by date.
    QTest::newRow("alle") << 0 << "" << "" << QList<int>{4, 1, 3, 2, 5};
    QTest::newRow("nur Beiträge") << 1 << "" << "" << QList<int>{1};
    QTest::newRow("nur Spenden") << 2 << "" << "" << QList<int>{4, 3, 2, 5};
    QTest::newRow("KV A mit Unteren") << 0 << "KV A" << "" << QList<int>{4, 1, 3};
    QTest::newRow("Kostenstelle klein") << 0 << "" << " k1 " << QList<int>{1, 3};
    QTest::newRow("Kostenstelle, Spenden aus OV A1") << 2 << "OV A1" << "k1" << QList<int>{};
}

void TstExport::spenden()
{
    QFETCH(int, art);
    QFETCH(QString, gliederung);
    QFETCH(QString, kost);
    QFETCH(QList<int>, zeilen);
    TestDb db;
    TestDb::setParameter("Konten/PrefMitglied", "9");
    gliederungen();
    adresse(3, "Al\"pha", "Anna", "Weg 1", "12345", "Ort A");
    adresse(7, "Zeta", "Zora", "Gasse 2", "54321", "Ort Z");
    const auto spende = [](const QString &datum, int mid, const QString &sortname, const QString &art,
                           const QString &gl) {
        sql("INSERT INTO spende (jdatum,jlfd,mid,sortname,art,gliederung) VALUES (?,1,?,?,?,?)",
            {datum, mid, sortname, art, gl});
    };
    // A fee on the member's account and a donation in kind on an income account count positive.
    spende("2025-02-01", 3, "ALPHA", "M", "OV A1X");
    eintrag("2025-02-01", 1, "k1", "Beitrag", {{"93", -1200}, {"1200", 1200}});
    spende("2025-01-15", 7, "ZETA", "G", "KV B");
    eintrag("2025-01-15", 1, "K2", "Spende", {{"1200", 5000}, {"5000", -5000}});
    // No account line: amount 0; no number above 999999, no address.
    spende("2025-03-01", 1000002, "MITTE", "Z", "KV A");
    eintrag("2025-03-01", 1, "K1", "ohne Zeilen", {});
    spende("2025-01-20", 3, "ALPHA", "S", "OV A1");
    eintrag("2025-01-20", 1, "", "Sachspende", {{"5010", -3000}, {"4500", 3000}});
    // Without journal entry: never matches a cost centre.
    spende("2025-04-01", 7, "ZETA", "X", "KV B");
    spende("2024-12-31", 7, "ZETA", "G", "KV B");
    const QStringList alpha{"Anna", "Al pha", "Weg 1", "12345", "Ort A"};
    const QStringList zeta{"Zora", "Zeta", "Gasse 2", "54321", "Ort Z"};
    const QMap<int, QStringList> erwartet{
        {1, QStringList{"2025-02-01", "12,00", "Mitgliedsbeitrag", "3"} + alpha},
        {2, QStringList{"2025-01-15", "50,00", "Geldspende", "7"} + zeta},
        {3, QStringList{"2025-03-01", "0,00", "Zweckgebundene Spende", "", "", "", "", "", ""}},
        {4, QStringList{"2025-01-20", "30,00", "Sachspende", "3"} + alpha},
        {5, QStringList{"2025-04-01", "0,00", "Zweckgebundene Spende", "7"} + zeta}};

    SpendenExport dialog;
    zeitraum(&dialog, QDate(2025, 1, 1), QDate(2025, 12, 31));
    feldBei<QComboBox>(&dialog, "Best. Art")->setCurrentIndex(art);
    feldBei<QLineEdit>(&dialog, "Best.Kost.")->setText(kost);
    auto *wahl = dialog.findChild<WGliederung *>();
    QVERIFY(!wahl->isEnabled());
    dialog.findChild<QCheckBox *>()->setChecked(!gliederung.isEmpty());
    QCOMPARE(wahl->isEnabled(), !gliederung.isEmpty());
    wahl->setText(gliederung);
    Zeilen soll;
    for (int z : zeilen)
        soll << erwartet.value(z);
    pruefeExport(Spenden, &dialog, db.verzeichnis(), soll);
}

void TstExport::akkred_data()
{
    QTest::addColumn<int>("zahlstatus");
    QTest::addColumn<int>("sortierung");
    QTest::addColumn<QList<int>>("mids");
    QTest::newRow("Mitgliedsnummer") << 0 << 0 << QList<int>{2, 3, 4, 5, 9};
    QTest::newRow("Nachname") << 0 << 1 << QList<int>{9, 2, 5, 3, 4};
    QTest::newRow("Postleitzahl") << 0 << 2 << QList<int>{9, 4, 5, 3, 2};
    QTest::newRow("Gliederung/Mitgliedsnummer") << 0 << 3 << QList<int>{4, 5, 2, 9, 3};
    QTest::newRow("Gliederung/Nachname") << 0 << 4 << QList<int>{5, 4, 9, 2, 3};
    QTest::newRow("Gliederung/Postleitzahl") << 0 << 5 << QList<int>{4, 5, 9, 2, 3};
    QTest::newRow("nur gezahlte") << 1 << 0 << QList<int>{3, 5};
    QTest::newRow("nur nicht gezahlte") << 2 << 0 << QList<int>{2, 4, 9};
}

void TstExport::akkred()
{
    QFETCH(int, zahlstatus);
    QFETCH(int, sortierung);
    QFETCH(QList<int>, mids);
    TestDb db;
    gliederungen();
    // Reference date 15.06.2010: paid counts from 15.03.2010, current members leave after it.
    // Member 6 has no address.
    const QMap<int, QStringList> namen{{5, {"Berg", "Udo", "20000"}}, {2, {"Adler", "Eva", "30000"}},
                                       {9, {"Adler", "Bob", "10000"}}, {4, {"Zorn", "Al", "10000"}},
                                       {3, {"Cox", "Ida", "20000"}},   {7, {"Alt", "Ex", "10000"}},
                                       {1000003, {"Gross", "Nr", "10000"}}, {8, {"Bee", "Kay", "10000"}}};
    for (const auto &[mid, gl, wohn, austritt, bezahlt, beitrag, zahlart] :
         {std::tuple{5, "KV A", "", "2200-01-01", "2010-03-15", 6000, "L"},
          {2, "OV A1", "KV B", "2010-06-16", "2010-03-14", 123450, "G"},
          {9, "OV A1", "OV A1X", "2200-01-01", "2009-12-31", 4800, "L"},
          {4, "KV A", "LV", "2200-01-01", "2010-01-01", 2400, "U"},
          {3, "OV A1X", "KV A", "2200-01-01", "2010-05-01", 2400, "L"}, {7, "KV A", "", "2010-06-15", "", 0, ""},
          {1000003, "KV A", "", "2200-01-01", "", 0, ""}, {8, "KV B", "", "2200-01-01", "", 0, ""},
          {6, "KV A", "", "2200-01-01", "", 0, ""}}) {
        sql("INSERT INTO mitglied (mid,gliederung,wohngliederung,austritt,bezahlt,beitrag,zahlart) "
            "VALUES (?,?,?,?,?,?,?)",
            {mid, gl, wohn, austritt, bezahlt, beitrag, zahlart});
        if (namen.contains(mid))
            adresse(mid, namen[mid].at(0), namen[mid].at(1), "Weg " + QString::number(mid), namen[mid].at(2), "Ort");
    }
    const auto zeile = [&namen](int mid, const QString &gl, const QStringList &zahlung) {
        const QStringList &n = namen.value(mid);
        return QStringList{QString::number(mid), n.at(1), n.at(0), "Weg " + QString::number(mid), n.at(2), "Ort", "D",
                           gl} + zahlung;
    };
    // The unit of residence shows when it lies below neither the member's unit nor the chosen one.
    const QMap<int, QStringList> erwartet{
        {5, zeile(5, "KV A", {"", "", ""})},
        {2, zeile(2, "OV A1 (KV B)", {"14.03.2010", "1.234,50", "! Lastschrift !"})},
        {9, zeile(9, "OV A1", {"31.12.2009", "48,00", "Lastschrift"})},
        {4, zeile(4, "KV A (LV)", {"01.01.2010", "24,00", "Vorkasse"})},
        {3, zeile(3, "OV A1X", {"", "", ""})}};

    AkkredListe dialog;
    dialog.findChild<WGliederung *>()->setText("KV A");
    feldBei<WDatum>(&dialog, "Bezahlt bis")->setDatum(QDate(2010, 6, 15));
    feldBei<QComboBox>(&dialog, "Zahlstatus")->setCurrentIndex(zahlstatus);
    feldBei<QComboBox>(&dialog, "Sortierung")->setCurrentIndex(sortierung);
    Zeilen soll;
    for (int mid : mids)
        soll << erwartet.value(mid);
    pruefeExport(Akkred, &dialog, db.verzeichnis(), soll);
    QCOMPARE(TestDb::anzahl("SELECT count(*) FROM sqlite_temp_master WHERE name='zwiakkred'"), 0);
}

// What every export does with its target: an existing file is kept unless the
// question is answered with OK; books without a matching row give the header alone.
// (Open failures and the delimiter inside values are the CSV file's own, see tst_csv.)
void TstExport::ziel_data()
{
    QTest::addColumn<int>("art");
    QTest::addColumn<int>("antwort");
    for (const Export art : {Journal, Spenden, Akkred}) {
        QTest::addRow("%s, behalten", qPrintable(kTitel.at(art))) << int(art) << int(QMessageBox::Cancel);
        QTest::addRow("%s, überschrieben", qPrintable(kTitel.at(art))) << int(art) << int(QMessageBox::Ok);
    }
}

void TstExport::ziel()
{
    QFETCH(int, art);
    QFETCH(int, antwort);
    TestDb db;
    const QString datei = db.verzeichnis() + "/alt.csv";
    QFile alt(datei);
    QVERIFY(alt.open(QIODevice::WriteOnly) && alt.write("alt\n") == 4);
    alt.close();
    const std::unique_ptr<QDialog> d = dialog(Export(art));
    const QList<Interaktion::Anfrage> anfragen
        = exportiere(d.get(), datei, {QMessageBox::StandardButton(antwort), QMessageBox::Ok});
    QCOMPARE(anfragen.first().text, "Datei " + datei + " überschreiben?");
    const bool ok = antwort == QMessageBox::Ok;
    QCOMPARE(anfragen.size(), ok ? 2 : 1);
    QCOMPARE(anfragen.last().text, ok ? QString("Fertig") : anfragen.first().text);
    QCOMPARE(CsvPython::lesen(datei), ok ? Zeilen{kKopf.at(art)} : Zeilen{{"alt"}});
}

QTEST_MAIN(TstExport)
#include "tst_export.moc"
