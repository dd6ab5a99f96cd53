#include "dialogdriver.h"
#include "suchname.h"
#include "testdb.h"
#include "wadresse.h"
#include "wbank.h"

#include <QGridLayout>
#include <QLineEdit>
#include <QTest>

#include <memory>

class TstAdressen : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDb> m_db;

private slots:
    void init() { m_db = std::make_unique<TestDb>(); QVERIFY(m_db->ok()); }
    void cleanup() { m_db.reset(); }
    void suchName_data();
    void suchName() { QFETCH(QString, a); QFETCH(QString, b); QTEST(SuchName(a, b), "erwartet"); }
    void schreibenLesen_data();
    void schreibenLesen();
    void layout();
};

void TstAdressen::suchName_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<QString>("erwartet");
    QTest::newRow("Müller") << "Müller" << "" << "MULER";
    QTest::newRow("Mueller") << "Mueller" << "" << "MULER";
    QTest::newRow("Muller") << "Muller" << "" << "MULER";
    QTest::newRow("Meyer Jan") << "Meyer" << "Jan" << "MEIERIAN";
    QTest::newRow("Maier") << "Maier" << "" << "MAIER";
    QTest::newRow("Mayer") << "Mayer" << "" << "MAIER";
    QTest::newRow("Schröder") << "Schröder" << "" << "SCHRODER";
    QTest::newRow("Schroeder: E after O stays") << "Schroeder" << "" << "SCHROEDER";
    QTest::newRow("Strauß: full upper case") << "Strauß" << "" << "STRAUS";
    QTest::newRow("O`Neil") << "O`Neil" << "" << "ONEIL";
    QTest::newRow("blank between equal letters") << "Jan Nowak" << "" << "IANNOWAK";
    QTest::newRow("Ä then A") << "Äa" << "" << "AA";
    QTest::newRow("E after a skipped repeat of A") << "Aae" << "" << "A";
    QTest::newRow("E after U dropped") << "Bauer" << "" << "BAUR";
    QTest::newRow("E after Ä kept") << "Äe" << "" << "AE";
    QTest::newRow("E after blank kept") << "Da Eva" << "" << "DAEVA";
    QTest::newRow("Y and J read as I") << "Yvonne" << "Joe" << "IVONEIOE";
    QTest::newRow("digits, hyphen, punctuation") << "Meier-Lüdenscheid 2." << "" << "MEIERLUDENSCHEID";
    QTest::newRow("other Latin-1 letters") << "Dvořák" << "" << "DVOK";
    QTest::newRow("outside Latin-1") << "Łukasz" << "" << "UKASZ";
}

void TstAdressen::schreibenLesen_data()
{
    QTest::addColumn<int>("teil"); // 0 name-only address, 1 person's address, 2 bank details
    QTest::addColumn<QStringList>("eingabe");
    QTest::addColumn<QStringList>("gespeichert"); // the address's search name last
    const QStringList adresse{"  O'Meyer   von  Hof ", "Jan", "Am   Markt 1", "12345", "Neustadt", "D", " o'm@x.org "};
    QStringList sauber{"O`Meyer von Hof", "Jan", "Am Markt 1", "12345", "Neustadt", "D", "o`m@x.org"};
    QTest::newRow("person") << 1 << adresse << sauber + QStringList{SuchName(sauber[0], sauber[1])};
    sauber[1] = QString(); // stored as an empty text, not NULL
    QTest::newRow("name only") << 0 << adresse << sauber + QStringList{SuchName(sauber[0], {})};
    // IBAN and BIC are stored without blanks, upper-cased.
    QTest::newRow("bank") << 2 << QStringList{" Anna   O'Hara ", "0001234567", "10020030", "de 02", "spkade2x", "Spk"}
                          << QStringList{"Anna O`Hara", "0001234567", "10020030", "DE02", "SPKADE2X", "Spk"};
}

// Both components store, update, read back, delete when empty and delete alike.
template <typename T>
static void ablauf(T &teil, QList<QLineEdit *> felder, const QString &spalten, const QString &tabelle,
                   const QString &art, const QStringList &eingabe, QStringList gespeichert)
{
    const QString sql = QStringLiteral("SELECT %1 FROM %2 WHERE art=? AND key=?").arg(spalten, tabelle);
    const QString zaehlen = QStringLiteral("SELECT count(*) FROM %1 WHERE art=? AND key=?").arg(tabelle);
    const QString key = QStringLiteral("00000042");
    for (int i = 0; i < felder.size(); ++i)
        if (felder.at(i))
            felder.at(i)->setText(eingabe.at(i));
    teil.write(art, key);
    teil.write(QStringLiteral("V"), QStringLiteral("ANDERE")); // another owner keeps its row throughout
    QCOMPARE(TestDb::zeile(sql, {art, key}), gespeichert);
    felder.last()->setText(QStringLiteral("neu"));
    teil.write(art, key);
    gespeichert[felder.size() - 1] = QStringLiteral("neu");
    QCOMPARE(TestDb::zeile(sql, {art, key}), gespeichert);
    QCOMPARE(TestDb::anzahl(QStringLiteral("SELECT count(*) FROM ") + tabelle), 2);
    teil.clear();
    teil.read(art, key);
    teil.read(art, QStringLiteral("GIBTESNICHT")); // no row: the fields stay
    for (int i = 0; i < felder.size(); ++i)
        if (felder.at(i))
            QCOMPARE(felder.at(i)->text(), gespeichert.at(i));
    teil.clear();
    felder.at(2)->setText(QStringLiteral("   ")); // blanks only count as empty: the row goes
    QVERIFY(teil.isEmpty());
    teil.write(art, key);
    QCOMPARE(TestDb::anzahl(zaehlen, {art, key}), 0);
    felder.last()->setText(QStringLiteral("x@y")); // one field filled: a new row
    teil.write(art, key);
    QStringList nurEins(gespeichert.size(), QString());
    nurEins[felder.size() - 1] = QStringLiteral("x@y");
    QCOMPARE(TestDb::zeile(sql, {art, key}), nurEins);
    teil.del(art, key);
    QCOMPARE(TestDb::anzahl(zaehlen, {art, key}), 0);
    QCOMPARE(TestDb::anzahl(zaehlen, {"V", "ANDERE"}), 1);
}

void TstAdressen::schreibenLesen()
{
    QFETCH(int, teil); QFETCH(QStringList, eingabe); QFETCH(QStringList, gespeichert);
    QWidget dialog;
    WAdresse a(teil == 1, &dialog);
    WBank b(&dialog);
    if (teil == 2)
        ablauf(b, {b.KontoInh(), b.KontoNr(), b.KontoBlz(), b.KontoIban(), b.KontoBic(), b.KontoBank()},
               QStringLiteral("inhaber,nummer,blz,iban,bic,bank"), QStringLiteral("bankverbindung"),
               QStringLiteral("L"), eingabe, gespeichert);
    else
        ablauf(a, {a.Name1(), a.Name2(), a.Strasse(), a.Plz(), a.Ort(), a.Land(), a.Mail()},
               QStringLiteral("name1,ifnull(name2,'NULL'),strasse,plz,ort,land,mail,suchname"),
               QStringLiteral("adresse"), teil ? QStringLiteral("M") : QStringLiteral("L"), eingabe, gespeichert);
}

// Each field sits beside its label, the town and the bank code one column further, and the wide
// fields span the columns the layout gives them.
void TstAdressen::layout()
{
    QWidget dialog;
    auto *grid = new QGridLayout(&dialog);
    WAdresse a(1, &dialog);
    WBank b(&dialog);
    a.FuellLayout(grid, 1, 1);
    b.FuellLayout(grid, 7, 1);
    QCOMPARE(grid->itemAtPosition(6, 2)->widget(), static_cast<QWidget *>(a.Mail())); // six rows, then the bank
    const QList<std::tuple<QString, int, QLineEdit *>> felder{
        {"Vorname", 6, a.Name2()},       {"Nachname", 6, a.Name1()},         {"Strasse", 6, a.Strasse()},
        {"PLZ/Ort", 1, a.Plz()},         {"PLZ/Ort", 7, a.Ort()},            {"Land", 6, a.Land()},
        {"Email", 6, a.Mail()},          {"Konto Inhaber", 2, b.KontoInh()}, {"Konto Nr./BLZ.", 1, b.KontoNr()},
        {"Konto Nr./BLZ.", 2, b.KontoBlz()}, {"Bank", 2, b.KontoBank()},     {"BIC", 1, b.KontoBic()},
        {"IBAN", 3, b.KontoIban()}};
    for (const auto &[label, spalte, feld] : felder)
        QCOMPARE(DialogTreiber::feldBei<QLineEdit>(&dialog, label, 0, spalte), feld);
}

QTEST_MAIN(TstAdressen)
#include "tst_adressen.moc"
