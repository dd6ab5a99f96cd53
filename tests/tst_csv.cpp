// The CSV file against Python's csv module in both directions, within the
// dialect's limits (no line ends inside values, no escaped text delimiters),
// and the dialect's own rules: quoting, delimiters, overwriting, dates.

#include "alsnobody.h"
#include "csvdatei.h"
#include "csvpython.h"
#include "dialogdriver.h"
#include "testdb.h"

#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {

using CsvPython::Zeilen;

// Every line as CSVDatei reads it, the line end taken off the last field as readers do.
Zeilen alleZeilen(CSVDatei &csv)
{
    Zeilen zeilen;
    if (!csv.isValid())
        return zeilen;
    while (csv.startLine()) {
        QStringList felder;
        while (!csv.eol())
            felder << csv.readField();
        while (felder.last().endsWith(QLatin1Char('\n')) || felder.last().endsWith(QLatin1Char('\r')))
            felder.last().chop(1);
        zeilen << felder;
    }
    csv.closeFile();
    return zeilen;
}

// Values that the dialect carries in any position: delimiters of both kinds,
// blanks at the edges, umlauts, empty fields.
const Zeilen kWerte = {
    {"4711", "Berlin, Mitte", "x"},
    {"Müller", "Straße 5; 2. OG", "  Rand  "},
    {"", "", ""},
    {"Ærø", "a\tb", "ß"},
};

} // namespace

class TstCsv : public QObject
{
    Q_OBJECT

private slots:
    void pythonSchreibtVelaLiest_data()
    {
        QTest::addColumn<QString>("trenner");
        QTest::addColumn<QString>("quoting");
        QTest::addColumn<QString>("zeilenende");
        QTest::addColumn<QString>("kodierung");
        QTest::newRow("Komma, minimal, CRLF") << "," << "minimal" << "\\r\\n" << "utf-8";
        QTest::newRow("Semikolon, alle, LF") << ";" << "alle" << "\\n" << "utf-8";
        QTest::newRow("Tab, minimal, LF") << "\t" << "minimal" << "\\n" << "utf-8";
        // Latin-1 from older exports reads as written.
        QTest::newRow("Komma, alle, Latin-1") << "," << "alle" << "\\r\\n" << "latin-1";
    }
    void pythonSchreibtVelaLiest()
    {
        QFETCH(QString, trenner);
        QFETCH(QString, quoting);
        QFETCH(QString, zeilenende);
        QFETCH(QString, kodierung);
        QTemporaryDir dir;
        const QString datei = dir.filePath("py.csv");
        CsvPython::schreiben(datei, kWerte, trenner, quoting, zeilenende, kodierung);
        QWidget dialog;
        CSVDatei csv(false, true, &dialog);
        csv.setDateiName(datei);
        csv.setTrenner(trenner, "\"");
        QCOMPARE(alleZeilen(csv), kWerte);
    }

    void velaSchreibtPythonLiest_data()
    {
        QTest::addColumn<QString>("trenner");
        QTest::addColumn<QString>("texttrenner");
        QTest::addColumn<Zeilen>("zeilen");
        QTest::addColumn<Zeilen>("erwartet");
        // Quoted fields may hold the field delimiter; the text delimiter becomes a blank;
        // what Latin-1 lacks becomes "?".
        QTest::newRow("Komma, Anführungszeichen")
            << "," << "\"" << Zeilen{{"1", "Berlin, Mitte", "sagt \"ja\""}, {"Müller", "€ 5", ""}}
            << Zeilen{{"1", "Berlin, Mitte", "sagt  ja "}, {"Müller", "? 5", ""}};
        QTest::newRow("Semikolon, Apostroph")
            << ";" << "'" << Zeilen{{"a;b", "O'Neil", "ß"}} << Zeilen{{"a;b", "O Neil", "ß"}};
        QTest::newRow("ohne Texttrenner") << "," << "" << Zeilen{{"1", "Köln", "x y"}} << Zeilen{{"1", "Köln", "x y"}};
    }
    void velaSchreibtPythonLiest()
    {
        QFETCH(QString, trenner);
        QFETCH(QString, texttrenner);
        QFETCH(Zeilen, zeilen);
        QFETCH(Zeilen, erwartet);
        QTemporaryDir dir;
        const QString datei = dir.filePath("vela.csv");
        QWidget dialog;
        CSVDatei csv(false, false, &dialog);
        csv.setDateiName(datei);
        csv.setTrenner(trenner, texttrenner);
        QVERIFY(csv.isValid());
        // The first field unquoted where it holds no delimiter, the rest quoted.
        for (const QStringList &z : zeilen)
            csv.writeLine(z, {z.first().contains(trenner)});
        QVERIFY(csv.closeFile());
        QCOMPARE(CsvPython::lesen(datei, trenner, texttrenner), erwartet);
    }

    // Reading rules beyond what Python writes: quoting switched on and off, delimiters from the fields.
    void lesen_data()
    {
        QTest::addColumn<QByteArray>("inhalt");
        QTest::addColumn<QString>("trenner");
        QTest::addColumn<QString>("texttrenner");
        QTest::addColumn<QStringList>("felder");
        QTest::newRow("Komma in Anführung") << QByteArray("1,\"Berlin, Mitte\",x\n") << "," << "\""
                                            << QStringList{"1", "Berlin, Mitte", "x\n"};
        QTest::newRow("leere Anführung") << QByteArray("\"\",a\"\"b") << "," << "\"" << QStringList{"", "ab"};
        QTest::newRow("Texttrenner leer") << QByteArray("\"x\",y") << "," << "" << QStringList{"\"x\"", "y"};
        QTest::newRow("Texttrenner Blank") << QByteArray("a b,c") << "," << " " << QStringList{"a b", "c"};
        QTest::newRow("Feldtrenner leer") << QByteArray("a,b;c") << "" << "\"" << QStringList{"a,b;c"};
        QTest::newRow("leeres letztes Feld") << QByteArray("a,") << "," << "\"" << QStringList{"a", ""};
        QTest::newRow("nur Zeilenende") << QByteArray("\n") << "," << "\"" << QStringList{"\n"};
        QTest::newRow("Latin-1") << QByteArray("M\xfcller;\xc3\x9f") << ";" << "\"" << QStringList{"Müller", "ß"};
    }
    void lesen()
    {
        QFETCH(QByteArray, inhalt);
        QFETCH(QString, trenner);
        QFETCH(QString, texttrenner);
        QFETCH(QStringList, felder);
        QTemporaryDir dir;
        QFile f(dir.filePath("l.csv"));
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(inhalt) == inhalt.size());
        f.close();
        QWidget dialog;
        CSVDatei csv(false, true, &dialog);
        csv.setDateiName(f.fileName());
        csv.setTrenner(trenner, texttrenner);
        QVERIFY(csv.isValid());
        QVERIFY(csv.startLine());
        QStringList gelesen;
        while (!csv.eol())
            gelesen << csv.readField();
        QCOMPARE(gelesen, felder);
        QCOMPARE(csv.readField(), QString());
        QVERIFY(!csv.startLine());
    }

    void schreiben_data()
    {
        QTest::addColumn<QString>("texttrenner");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("Vorgabe") << "\"" << QByteArray("\"a b\",c\n");
        QTest::newRow("Blank") << " " << QByteArray("a\"b,c\n");
        QTest::newRow("leer") << "" << QByteArray("a\"b,c\n");
    }
    void schreiben()
    {
        QFETCH(QString, texttrenner);
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        QWidget dialog;
        CSVDatei csv(false, false, &dialog);
        csv.setDateiName(dir.filePath("s.csv"));
        csv.setTrenner(",", texttrenner);
        QVERIFY(csv.isValid());
        csv.write("a\"b", true, false);
        csv.write("c", false, true);
        csv.newLine();
        QVERIFY(csv.closeFile());
        QFile f(dir.filePath("s.csv"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), bytes);
    }

    // Writing over a file asks first; a file that cannot be opened is reported with the system's words,
    // as a treasurer meets it (file modes count).
    void oeffnen_data()
    {
        QTest::addColumn<bool>("lesen");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("antwort");
        QTest::addColumn<QString>("meldung"); // "?": the question, else the system's text
        QTest::addColumn<QByteArray>("danach");
        QTest::newRow("überschreiben ok") << false << "alt.csv" << int(QMessageBox::Ok) << "?" << QByteArray();
        QTest::newRow("überschreiben nein") << false << "alt.csv" << int(QMessageBox::Cancel) << "?"
                                            << QByteArray("alt\n");
        QTest::newRow("Ordner fehlt") << false << "fehlt/neu.csv" << 0 << "No such file or directory" << QByteArray();
        QTest::newRow("Ordner schreibgeschützt") << false << "nurlesen/neu.csv" << 0 << "Permission denied"
                                                 << QByteArray();
        QTest::newRow("Lesen fehlt") << true << "nichtda.csv" << 0 << "No such file or directory" << QByteArray();
    }
    void oeffnen()
    {
        QFETCH(bool, lesen);
        QFETCH(QString, name);
        QFETCH(int, antwort);
        QFETCH(QString, meldung);
        QTemporaryDir dir;
        QFile alt(dir.filePath("alt.csv"));
        QVERIFY(alt.open(QIODevice::WriteOnly) && alt.write("alt\n") == 4);
        alt.close();
        QVERIFY(QDir(dir.path()).mkdir("nurlesen"));
        QVERIFY(QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x7755))
                && QFile::setPermissions(alt.fileName(), QFileDevice::Permissions(0x6666))
                && QFile::setPermissions(dir.filePath("nurlesen"), QFileDevice::Permissions(0x5555)));
        SkriptInteraktion skript;
        skript.antworte(QMessageBox::StandardButton(antwort));
        QWidget dialog;
        CSVDatei csv(false, lesen, &dialog);
        csv.setDateiName(dir.filePath(name));
        {
            AlsNobody nobody;
            QVERIFY(nobody.ok());
            QCOMPARE(csv.isValid(), antwort == QMessageBox::Ok);
            csv.closeFile();
        }
        QCOMPARE(skript.anfragen().size(), 1);
        const Interaktion::Anfrage &a = skript.anfragen().first();
        QFETCH(QByteArray, danach);
        if (meldung == "?") {
            QCOMPARE(a.art, Interaktion::Art::Frage);
            QCOMPARE(a.titel, QString("CSV-Datei"));
            QCOMPARE(a.text, "Datei " + dir.filePath(name) + " überschreiben?");
            QVERIFY(alt.open(QIODevice::ReadOnly));
            QCOMPARE(alt.readAll(), danach);
        } else {
            QCOMPARE(a.art, Interaktion::Art::Kritisch);
            QCOMPARE(a.titel, dir.filePath(name));
            QCOMPARE(a.text, meldung);
        }
    }

    // "&Wählen" puts the chosen file into the name field; the widgets sit in their grid columns.
    void dateiWahl()
    {
        QDialog dialog;
        auto *layout = new QGridLayout(&dialog);
        CSVDatei csv(true, true, &dialog);
        csv.FuellLayout(layout, 0, 0);
        SkriptInteraktion skript;
        Interaktion::Antwort gewaehlt;
        gewaehlt.ok = true;
        gewaehlt.text = "/tmp/mitglieder.csv";
        skript.antworte(gewaehlt);
        DialogTreiber::knopf(&dialog, "&Wählen")->click();
        QCOMPARE(skript.anfragen().size(), 1);
        QCOMPARE(csv.dateiName(), QString("/tmp/mitglieder.csv"));
        QCOMPARE(DialogTreiber::feldBei<QLineEdit>(&dialog, "Dateiname")->text(), csv.dateiName());
        QCOMPARE(DialogTreiber::feldBei<QLineEdit>(&dialog, "Feldtrenner")->text(), QString(","));
        QCOMPARE(DialogTreiber::feldBei<QLineEdit>(&dialog, "Texttrenner")->text(), QString("\""));
        QVERIFY(DialogTreiber::feldBei(&dialog, "Erstelldatum"));
    }

    void toDate_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("datum");
        const QDate ersatz(1900, 1, 1);
        // Two-digit years below the current year minus 1989 are of this century.
        const int grenze = QDate::currentDate().year() - 1989;
        QTest::newRow("zweistellig, dieses Jahrhundert")
            << QString("01.02.%1").arg(grenze - 1, 2, 10, QChar('0')) << QDate(2000 + grenze - 1, 2, 1);
        QTest::newRow("zweistellig, voriges Jahrhundert")
            << QString("01.02.%1").arg(grenze, 2, 10, QChar('0')) << QDate(1900 + grenze, 2, 1);
        QTest::newRow("deutsch") << "24.12.2019" << QDate(2019, 12, 24);
        QTest::newRow("andere Trenner") << "24/12-2019" << QDate(2019, 12, 24);
        QTest::newRow("ISO") << "2019-12-24" << QDate(2019, 12, 24);
        QTest::newRow("ISO ohne Tag") << "2009-02-30" << QDate();
        QTest::newRow("31.02.2020") << "31.02.2020" << QDate();
        QTest::newRow("kurz") << "1.1.2009" << ersatz;
        QTest::newRow("leer") << "" << ersatz;
        QTest::newRow("Text") << "abcdefghij" << ersatz;
    }
    void toDate()
    {
        QFETCH(QString, text);
        QFETCH(QDate, datum);
        QCOMPARE(CSVDatei::toDate(text, QDate(1900, 1, 1)), datum);
    }
};

QTEST_MAIN(TstCsv)
#include "tst_csv.moc"
