#include "db.h"
#include "suchname.h"
#include "testdb.h"
#include "wadresse.h"
#include "wbank.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSqlQuery>
#include <QTest>
#include <QWidget>

#include <memory>

class TstAdressen : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void suchName_data();
    void suchName();

    void adresseSchreibenLesen_data();
    void adresseSchreibenLesen();
    void adresseAendernLeerenNeuAnlegen();
    void adresseLoeschenNurEigentuemer();
    void adresseLayout_data();
    void adresseLayout();

    void bankSchreibenLesenAendern();
    void bankLeerLoeschtUndLegtNeuAn();
    void bankLayout();

private:
    static QStringList zeile(const QString &sql, const QVariantList &werte, int spalten);
    static int anzahl(const QString &tabelle);

    std::unique_ptr<TestDb> m_db;
};

void TstAdressen::init()
{
    m_db = std::make_unique<TestDb>();
    QVERIFY(m_db->ok());
}

void TstAdressen::cleanup() { m_db.reset(); }

QStringList TstAdressen::zeile(const QString &sql, const QVariantList &werte, int spalten)
{
    QSqlQuery q = Db::abfrage(sql, werte);
    QStringList ergebnis;
    if (!q.next())
        return ergebnis;
    for (int i = 0; i < spalten; ++i)
        ergebnis << (q.value(i).isNull() ? QStringLiteral("<NULL>") : q.value(i).toString());
    return ergebnis;
}

int TstAdressen::anzahl(const QString &tabelle)
{
    return Db::wert(QStringLiteral("SELECT count(*) FROM ") + tabelle).toInt();
}

void TstAdressen::suchName_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<QString>("erwartet");

    QTest::newRow("Müller") << QStringLiteral("Müller") << QString() << QStringLiteral("MULER");
    QTest::newRow("Mueller") << QStringLiteral("Mueller") << QString() << QStringLiteral("MULER");
    QTest::newRow("Muller") << QStringLiteral("Muller") << QString() << QStringLiteral("MULER");
    QTest::newRow("Meyer Jan") << QStringLiteral("Meyer") << QStringLiteral("Jan") << QStringLiteral("MEIERIAN");
    QTest::newRow("Maier") << QStringLiteral("Maier") << QString() << QStringLiteral("MAIER");
    QTest::newRow("Mayer") << QStringLiteral("Mayer") << QString() << QStringLiteral("MAIER");
    QTest::newRow("Schröder") << QStringLiteral("Schröder") << QString() << QStringLiteral("SCHRODER");
    QTest::newRow("Schroeder: E after O stays") << QStringLiteral("Schroeder") << QString()
                                                << QStringLiteral("SCHROEDER");
    QTest::newRow("Strauß via full upper case") << QStringLiteral("Strauß") << QString() << QStringLiteral("STRAUS");
    QTest::newRow("O`Neil") << QStringLiteral("O`Neil") << QString() << QStringLiteral("ONEIL");
    QTest::newRow("joined without separator") << QStringLiteral("Jan") << QStringLiteral("Nowak")
                                              << QStringLiteral("IANOWAK");
    QTest::newRow("blank between equal letters keeps both") << QStringLiteral("Jan Nowak") << QString()
                                                            << QStringLiteral("IANNOWAK");
    QTest::newRow("Ä then A gives AA") << QStringLiteral("Äa") << QString() << QStringLiteral("AA");
    QTest::newRow("Ü then U gives UU") << QStringLiteral("Üu") << QString() << QStringLiteral("UU");
    QTest::newRow("E after a skipped repeat of A") << QStringLiteral("Aae") << QString() << QStringLiteral("A");
    QTest::newRow("E after U dropped") << QStringLiteral("Bauer") << QString() << QStringLiteral("BAUR");
    QTest::newRow("E after Ä kept") << QStringLiteral("Äe") << QString() << QStringLiteral("AE");
    QTest::newRow("E after blank kept") << QStringLiteral("Da Eva") << QString() << QStringLiteral("DAEVA");
    QTest::newRow("Y and J read as I") << QStringLiteral("Yvonne") << QStringLiteral("Joe")
                                       << QStringLiteral("IVONEIOE");
    QTest::newRow("digits, hyphen, punctuation") << QStringLiteral("Meier-Lüdenscheid 2.") << QString()
                                                 << QStringLiteral("MEIERLUDENSCHEID");
    QTest::newRow("other Latin-1 letters add nothing") << QStringLiteral("Dvořák") << QString()
                                                       << QStringLiteral("DVOK");
    QTest::newRow("outside Latin-1 adds nothing") << QStringLiteral("Łukasz") << QString()
                                                  << QStringLiteral("UKASZ");
    QTest::newRow("supplier") << QStringLiteral("Baumarkt Nord") << QString() << QStringLiteral("BAUMARKTNORD");
    QTest::newRow("empty") << QString() << QString() << QString();
}

void TstAdressen::suchName()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(QString, erwartet);
    QCOMPARE(SuchName(a, b), erwartet);
}

void TstAdressen::adresseSchreibenLesen_data()
{
    QTest::addColumn<int>("variante");
    QTest::addColumn<QString>("art");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("name2");

    QTest::newRow("person") << 1 << QStringLiteral("M") << QStringLiteral("00000042") << QStringLiteral("Jan");
    QTest::newRow("supplier without first name") << 0 << QStringLiteral("L") << QStringLiteral("MEYER")
                                                 << QString();
}

void TstAdressen::adresseSchreibenLesen()
{
    QFETCH(int, variante);
    QFETCH(QString, art);
    QFETCH(QString, key);
    QFETCH(QString, name2);

    QWidget dialog;
    WAdresse adresse(variante, &dialog);
    QCOMPARE(adresse.Name2() != nullptr, variante != 0);
    adresse.Name1()->setText(QStringLiteral("  O'Meyer   von  Hof "));
    if (adresse.Name2())
        adresse.Name2()->setText(name2);
    adresse.Strasse()->setText(QStringLiteral("Am   Markt 1"));
    adresse.Plz()->setText(QStringLiteral("12345"));
    adresse.Ort()->setText(QStringLiteral("Neustadt"));
    adresse.Land()->setText(QStringLiteral("D"));
    adresse.Mail()->setText(QStringLiteral(" o'meyer@example.org "));
    QVERIFY(!adresse.isEmpty());
    adresse.write(art, key);

    const QString name1 = QStringLiteral("O`Meyer von Hof");
    // The first name of the zero variant is stored as an empty text, not NULL.
    QCOMPARE(zeile(QStringLiteral("SELECT suchname,name1,name2,strasse,plz,ort,land,mail FROM adresse"
                                  " WHERE art=? AND key=?"),
                   {art, key}, 8),
             QStringList({SuchName(name1, name2), name1, name2.isNull() ? QStringLiteral("") : name2,
                          QStringLiteral("Am Markt 1"), QStringLiteral("12345"), QStringLiteral("Neustadt"),
                          QStringLiteral("D"), QStringLiteral("o`meyer@example.org")}));
    QCOMPARE(anzahl(QStringLiteral("adresse")), 1);

    WAdresse gelesen(variante, &dialog);
    gelesen.read(art, key);
    QCOMPARE(gelesen.Name1()->text(), name1);
    if (gelesen.Name2())
        QCOMPARE(gelesen.Name2()->text(), name2);
    QCOMPARE(gelesen.Strasse()->text(), QStringLiteral("Am Markt 1"));
    QCOMPARE(gelesen.Plz()->text(), QStringLiteral("12345"));
    QCOMPARE(gelesen.Ort()->text(), QStringLiteral("Neustadt"));
    QCOMPARE(gelesen.Land()->text(), QStringLiteral("D"));
    QCOMPARE(gelesen.Mail()->text(), QStringLiteral("o`meyer@example.org"));

    // An owner without a row leaves the fields as they are.
    gelesen.read(art, QStringLiteral("GIBTESNICHT"));
    QCOMPARE(gelesen.Name1()->text(), name1);
}

void TstAdressen::adresseAendernLeerenNeuAnlegen()
{
    QWidget dialog;
    WAdresse adresse(1, &dialog);
    adresse.Name1()->setText(QStringLiteral("Müller"));
    adresse.Ort()->setText(QStringLiteral("Altdorf"));
    adresse.write(QStringLiteral("M"), QStringLiteral("00000007"));

    adresse.Name1()->setText(QStringLiteral("Mueller"));
    adresse.Name2()->setText(QStringLiteral("Anna"));
    adresse.write(QStringLiteral("M"), QStringLiteral("00000007"));
    QCOMPARE(anzahl(QStringLiteral("adresse")), 1);
    QCOMPARE(zeile(QStringLiteral("SELECT suchname,name1,name2,ort FROM adresse WHERE art='M' AND key=?"),
                   {QStringLiteral("00000007")}, 4),
             QStringList({QStringLiteral("MULERANA"), QStringLiteral("Mueller"), QStringLiteral("Anna"),
                          QStringLiteral("Altdorf")}));

    // Blanks only count as empty: the row goes.
    adresse.clear();
    QCOMPARE(adresse.Name1()->text(), QString());
    adresse.Strasse()->setText(QStringLiteral("   "));
    QVERIFY(adresse.isEmpty());
    adresse.write(QStringLiteral("M"), QStringLiteral("00000007"));
    QCOMPARE(anzahl(QStringLiteral("adresse")), 0);

    adresse.Mail()->setText(QStringLiteral("anna@example.org"));
    adresse.write(QStringLiteral("M"), QStringLiteral("00000007"));
    QCOMPARE(zeile(QStringLiteral("SELECT name1,mail FROM adresse WHERE art='M' AND key=?"),
                   {QStringLiteral("00000007")}, 2),
             QStringList({QStringLiteral(""), QStringLiteral("anna@example.org")}));
}

void TstAdressen::adresseLoeschenNurEigentuemer()
{
    QWidget dialog;
    WAdresse adresse(0, &dialog);
    adresse.Name1()->setText(QStringLiteral("Kreis Nord"));
    adresse.write(QStringLiteral("V"), QStringLiteral("KVNORD"));
    adresse.write(QStringLiteral("L"), QStringLiteral("KVNORD"));
    adresse.write(QStringLiteral("L"), QStringLiteral("ANDERE"));
    QCOMPARE(anzahl(QStringLiteral("adresse")), 3);

    adresse.del(QStringLiteral("L"), QStringLiteral("KVNORD"));
    QCOMPARE(anzahl(QStringLiteral("adresse")), 2);
    QCOMPARE(Db::wert(QStringLiteral("SELECT count(*) FROM adresse WHERE art='L' AND key='KVNORD'")).toInt(), 0);
}

void TstAdressen::adresseLayout_data()
{
    QTest::addColumn<int>("variante");
    QTest::addColumn<QStringList>("beschriftungen");
    QTest::newRow("person") << 1
                            << QStringList{QStringLiteral("Vorname"), QStringLiteral("Nachname"),
                                           QStringLiteral("Strasse"), QStringLiteral("PLZ/Ort"),
                                           QStringLiteral("Land"), QStringLiteral("Email")};
    QTest::newRow("name only") << 0
                               << QStringList{QStringLiteral("Name"), QStringLiteral("Strasse"),
                                              QStringLiteral("PLZ/Ort"), QStringLiteral("Land"),
                                              QStringLiteral("Email")};
}

void TstAdressen::adresseLayout()
{
    QFETCH(int, variante);
    QFETCH(QStringList, beschriftungen);

    QWidget dialog;
    auto *grid = new QGridLayout(&dialog);
    WAdresse adresse(variante, &dialog);
    const int r = 2;
    const int c = 1;
    adresse.FuellLayout(grid, r, c);

    for (int i = 0; i < beschriftungen.size(); ++i) {
        auto *label = qobject_cast<QLabel *>(grid->itemAtPosition(r + i, c)->widget());
        QVERIFY(label);
        QCOMPARE(label->text(), beschriftungen.at(i));
    }
    const int n = variante ? 1 : 0; // the surname row lies below the first name
    auto spanne = [grid](QWidget *w) {
        int zeile, spalte, zeilen, spalten;
        grid->getItemPosition(grid->indexOf(w), &zeile, &spalte, &zeilen, &spalten);
        return QList<int>{zeile, spalte, spalten};
    };
    if (variante)
        QCOMPARE(spanne(adresse.Name2()), (QList<int>{r, c + 1, 6}));
    QCOMPARE(spanne(adresse.Name1()), (QList<int>{r + n, c + 1, 6}));
    QCOMPARE(spanne(adresse.Strasse()), (QList<int>{r + n + 1, c + 1, 6}));
    QCOMPARE(spanne(adresse.Plz()), (QList<int>{r + n + 2, c + 1, 1}));
    QCOMPARE(spanne(adresse.Ort()), (QList<int>{r + n + 2, c + 2, 6}));
    QCOMPARE(spanne(adresse.Land()), (QList<int>{r + n + 3, c + 1, 6}));
    QCOMPARE(spanne(adresse.Mail()), (QList<int>{r + n + 4, c + 1, 6}));
    QCOMPARE(adresse.Mail()->maxLength(), 80);
    QCOMPARE(adresse.Plz()->maxLength(), 10);

    adresse.setEnabled(false);
    QVERIFY(!adresse.Name1()->isEnabled());
    QVERIFY(!adresse.Mail()->isEnabled());
}

void TstAdressen::bankSchreibenLesenAendern()
{
    QWidget dialog;
    WBank bank(&dialog);
    bank.KontoInh()->setText(QStringLiteral(" Anna   O'Hara "));
    bank.KontoNr()->setText(QStringLiteral("0001234567"));
    bank.KontoBlz()->setText(QStringLiteral("10020030"));
    bank.KontoBank()->setText(QStringLiteral("Sparkasse"));
    bank.KontoBic()->setText(QStringLiteral("SPKADE2X"));
    bank.KontoIban()->setText(QStringLiteral("DE02100200300001234567"));
    bank.write(QStringLiteral("M"), QStringLiteral("00000042"));

    const QStringList erwartet{QStringLiteral("Anna O`Hara"), QStringLiteral("0001234567"),
                               QStringLiteral("10020030"),    QStringLiteral("Sparkasse"),
                               QStringLiteral("SPKADE2X"),    QStringLiteral("DE02100200300001234567")};
    const QString sql = QStringLiteral(
        "SELECT inhaber,nummer,blz,bank,bic,iban FROM bankverbindung WHERE art=? AND key=?");
    QCOMPARE(zeile(sql, {QStringLiteral("M"), QStringLiteral("00000042")}, 6), erwartet);

    WBank gelesen(&dialog);
    gelesen.read(QStringLiteral("M"), QStringLiteral("00000042"));
    QCOMPARE((QStringList{gelesen.KontoInh()->text(), gelesen.KontoNr()->text(), gelesen.KontoBlz()->text(),
                          gelesen.KontoBank()->text(), gelesen.KontoBic()->text(), gelesen.KontoIban()->text()}),
             erwartet);

    gelesen.KontoBank()->setText(QStringLiteral("Volksbank"));
    gelesen.write(QStringLiteral("M"), QStringLiteral("00000042"));
    QCOMPARE(anzahl(QStringLiteral("bankverbindung")), 1);
    QCOMPARE(zeile(sql, {QStringLiteral("M"), QStringLiteral("00000042")}, 6).at(3), QStringLiteral("Volksbank"));

    gelesen.del(QStringLiteral("M"), QStringLiteral("00000042"));
    QCOMPARE(anzahl(QStringLiteral("bankverbindung")), 0);
}

void TstAdressen::bankLeerLoeschtUndLegtNeuAn()
{
    QWidget dialog;
    WBank bank(&dialog);
    bank.KontoIban()->setText(QStringLiteral("DE02100200300001234567"));
    bank.write(QStringLiteral("L"), QStringLiteral("HOLZ"));
    QCOMPARE(anzahl(QStringLiteral("bankverbindung")), 1);

    bank.clear();
    QVERIFY(bank.isEmpty());
    bank.write(QStringLiteral("L"), QStringLiteral("HOLZ"));
    QCOMPARE(anzahl(QStringLiteral("bankverbindung")), 0);

    bank.KontoBic()->setText(QStringLiteral("GENODEF1"));
    bank.write(QStringLiteral("L"), QStringLiteral("HOLZ"));
    QCOMPARE(zeile(QStringLiteral("SELECT inhaber,bic,iban FROM bankverbindung WHERE art='L' AND key='HOLZ'"), {},
                   3),
             QStringList({QStringLiteral(""), QStringLiteral("GENODEF1"), QStringLiteral("")}));
}

void TstAdressen::bankLayout()
{
    QWidget dialog;
    auto *grid = new QGridLayout(&dialog);
    WBank bank(&dialog);
    bank.FuellLayout(grid, 1, 0);
    const QStringList beschriftungen{QStringLiteral("Konto Inhaber"), QStringLiteral("Konto Nr./BLZ."),
                                     QStringLiteral("Bank"), QStringLiteral("BIC"), QStringLiteral("IBAN")};
    for (int i = 0; i < beschriftungen.size(); ++i)
        QCOMPARE(qobject_cast<QLabel *>(grid->itemAtPosition(1 + i, 0)->widget())->text(), beschriftungen.at(i));
    QCOMPARE(grid->itemAtPosition(1, 1)->widget(), bank.KontoInh());
    QCOMPARE(grid->itemAtPosition(2, 1)->widget(), bank.KontoNr());
    QCOMPARE(grid->itemAtPosition(2, 2)->widget(), bank.KontoBlz());
    QCOMPARE(grid->itemAtPosition(3, 2)->widget(), bank.KontoBank()); // spans two columns
    QCOMPARE(grid->itemAtPosition(4, 1)->widget(), bank.KontoBic());
    QCOMPARE(grid->itemAtPosition(5, 3)->widget(), bank.KontoIban()); // spans three columns
    QCOMPARE(bank.KontoInh()->maxLength(), 27);
    QCOMPARE(bank.KontoIban()->maxLength(), 35);
}

QTEST_MAIN(TstAdressen)
#include "tst_adressen.moc"
