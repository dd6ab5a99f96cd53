// The settings dialog: what it shows, how it cleans and stores, what it leaves alone.

#include "db.h"
#include "parameter.h"
#include "setup.h"
#include "testdb.h"
#include "wgliederung.h"
#include "wkonto.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <memory>

namespace {

const QStringList kReihenfolge = {
    "General/Gliederung", "General/BeitragAb", "Konten/AbgrAktiv", "Konten/AbgrPassiv", "Konten/BankGeb",
    "Konten/PrefGliederung", "Konten/PrefMitglied", "Konten/AddMitglied", "Konten/PrefLief",
    "Mail/Host", "Mail/Port", "Mail/User", "Mail/Passwd", "Mail/Abs", "Mail/Name",
    "Mail/AdrL", "Mail/AdrT", "Mail/AdrPt", "Mail/L", "Mail/T", "Mail/R", "Mail/B", "Mail/Pt",
    "Spende/Adr1", "Spende/Adr2", "Spende/Adr3", "Spende/Abs", "Spende/Ort", "Spende/Funkt", "Spende/Min"};

void setze(const QString &key, const QString &wert)
{
    Db::ausfuehren(QStringLiteral("INSERT INTO parameter (key,wert) VALUES (?,?)"), {key, wert});
}

QVariant gespeichert(const QString &key)
{
    return Db::wert(QStringLiteral("SELECT wert FROM parameter WHERE key=?"), {key});
}

// Clears a field and types into it as the user does (validators apply).
void tippe(QLineEdit *feld, const QString &text)
{
    feld->setFocus();
    feld->selectAll();
    QTest::keyClick(feld, Qt::Key_Delete);
    QTest::keyClicks(feld, text);
}

void speichern(Setup &dialog)
{
    QTest::keyClick(&dialog, Qt::Key_S, Qt::AltModifier);
    // The accelerator clicks the button animated, a moment later.
    QTRY_VERIFY_WITH_TIMEOUT(!dialog.isVisible(), 2000);
}

} // namespace

class TstSetup : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void anzeige_data();
    void anzeige();
    void kontotexte();
    void speichernAlleSchluessel();
    void werte_data();
    void werte();
    void mindestbetragWiederGezeigt();
    void fremdeSchluessel();
    void abbruch();

private:
    std::unique_ptr<TestDb> m_db;
};

void TstSetup::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
}

void TstSetup::init()
{
    m_db = std::make_unique<TestDb>();
    QVERIFY(m_db->ok());
}

void TstSetup::cleanup()
{
    m_db.reset();
}

void TstSetup::anzeige_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariant>("gespeichert"); // invalid: no row
    QTest::addColumn<QString>("gezeigt");

    const QVariant keine;
    QTest::newRow("Port fehlt") << "Mail/Port" << keine << "25";
    QTest::newRow("Port leer") << "Mail/Port" << QVariant(QString()) << "25";
    QTest::newRow("Port gesetzt") << "Mail/Port" << QVariant("587") << "587";
    QTest::newRow("AdrL") << "Mail/AdrL" << keine << "12";
    QTest::newRow("AdrT") << "Mail/AdrT" << keine << "55";
    QTest::newRow("AdrPt") << "Mail/AdrPt" << keine << "12";
    QTest::newRow("L") << "Mail/L" << keine << "25";
    QTest::newRow("T") << "Mail/T" << keine << "95";
    QTest::newRow("R") << "Mail/R" << keine << "20";
    QTest::newRow("B") << "Mail/B" << keine << "20";
    QTest::newRow("Pt") << "Mail/Pt" << keine << "12";
    QTest::newRow("B gesetzt") << "Mail/B" << QVariant("0") << "0";
    QTest::newRow("Host ohne Vorgabe") << "Mail/Host" << keine << "";
    QTest::newRow("Host") << "Mail/Host" << QVariant("smtp.example.org") << "smtp.example.org";
    QTest::newRow("AddMitglied ohne Vorgabe") << "Konten/AddMitglied" << keine << "";
    QTest::newRow("Spende/Ort") << "Spende/Ort" << QVariant("Musterstadt") << "Musterstadt";
    QTest::newRow("Konto") << "Konten/BankGeb" << QVariant("4970") << "4970";
    QTest::newRow("Gliederung") << "General/Gliederung" << QVariant("KV Nord") << "KV Nord";
    QTest::newRow("BeitragAb fehlt") << "General/BeitragAb" << keine << "0";
    QTest::newRow("BeitragAb M") << "General/BeitragAb" << QVariant("M") << "0";
    QTest::newRow("BeitragAb J") << "General/BeitragAb" << QVariant("J") << "1";
    QTest::newRow("BeitragAb X") << "General/BeitragAb" << QVariant("X") << "2";
    QTest::newRow("BeitragAb anderes") << "General/BeitragAb" << QVariant("Q") << "0";
    QTest::newRow("Min fehlt") << "Spende/Min" << keine << "0.00";
    QTest::newRow("Min") << "Spende/Min" << QVariant("20050") << "200.50";
    QTest::newRow("Min negativ") << "Spende/Min" << QVariant("-500") << "-5.00";
}

void TstSetup::anzeige()
{
    QFETCH(QString, key);
    QFETCH(QVariant, gespeichert);
    QFETCH(QString, gezeigt);

    if (gespeichert.isValid())
        setze(key, gespeichert.toString());
    Setup dialog;
    QObject *feld = dialog.findChild<QObject *>(key);
    QVERIFY(feld);
    QString text;
    if (auto *combo = qobject_cast<QComboBox *>(feld))
        text = QString::number(combo->currentIndex());
    else if (auto *spin = qobject_cast<QDoubleSpinBox *>(feld))
        text = QString::number(spin->value(), 'f', 2);
    else if (auto *knopf = qobject_cast<QPushButton *>(feld))
        text = knopf->text();
    else
        text = qobject_cast<QLineEdit *>(feld)->QLineEdit::text();
    QCOMPARE(text, gezeigt);
    // Opening writes nothing: the defaults reach the table only by saving.
    QCOMPARE(Db::wert(QStringLiteral("SELECT count(*) FROM parameter")).toInt(), gespeichert.isValid() ? 1 : 0);
}

void TstSetup::kontotexte()
{
    Db::ausfuehren(QStringLiteral("INSERT INTO kontenplan (konto,text,abgrart) VALUES ('4970','Bankgebühren',' ')"));
    setze(QStringLiteral("Konten/BankGeb"), QStringLiteral("4970"));
    Setup dialog;
    QStringList texte;
    for (QLabel *label : dialog.findChildren<QLabel *>())
        texte << label->text();
    QCOMPARE(texte.count(QStringLiteral("Bankgebühren")), 2); // the row label and the account's text
    for (WKonto *konto : dialog.findChildren<WKonto *>())
        QCOMPARE(konto->size(), QSize(150, 25));
}

void TstSetup::speichernAlleSchluessel()
{
    Setup dialog;
    dialog.show();
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    for (QPushButton *k : dialog.findChildren<QPushButton *>())
        QVERIFY(!k->isDefault() && !k->autoDefault());
    speichern(dialog);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));

    QStringList keys;
    QStringList werte;
    QSqlQuery q = Db::abfrage(QStringLiteral("SELECT key,wert FROM parameter ORDER BY rowid"));
    while (q.next()) {
        keys << q.value(0).toString();
        werte << q.value(1).toString();
    }
    QCOMPARE(keys, kReihenfolge);
    // Untouched dialog: the defaults of the empty fields, 0 for empty integers, "M" for the combo.
    QCOMPARE(werte, (QStringList{"", "M", "", "", "", "", "", "0", "", "", "25", "", "", "", "", "12", "55", "12",
                                 "25", "95", "20", "20", "12", "", "", "", "", "", "", "0"}));
}

void TstSetup::werte_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("eingabe");
    QTest::addColumn<QString>("erwartet");

    QTest::newRow("Prefix ohne zwei Ziffern") << "Konten/PrefMitglied" << "4a" << "";
    QTest::newRow("Prefix mit Buchstaben") << "Konten/PrefLief" << "Lx" << "";
    QTest::newRow("Prefix gross") << "Konten/PrefGliederung" << "  12ab " << "12AB";
    QTest::newRow("Konto mit Apostroph") << "Konten/AbgrAktiv" << "09'x" << "09`X";
    QTest::newRow("Bankgebuehren") << "Konten/BankGeb" << "4970" << "4970";
    QTest::newRow("Addition") << "Konten/AddMitglied" << "100000" << "100000";
    QTest::newRow("Addition leer") << "Konten/AddMitglied" << "" << "0";
    QTest::newRow("Addition nur Ziffern") << "Konten/AddMitglied" << "12x3" << "123";
    QTest::newRow("Lage leer") << "Mail/AdrL" << "" << "0";
    QTest::newRow("Lage fuehrende Null") << "Mail/T" << "095" << "95";
    QTest::newRow("Schrift") << "Mail/Pt" << "10" << "10";
    QTest::newRow("Port bleibt Text") << "Mail/Port" << "465" << "465";
    QTest::newRow("Passwort mit Apostroph") << "Mail/Passwd" << "ge'heim" << "ge`heim";
    QTest::newRow("Host vereinfacht") << "Mail/Host" << "  smtp.example.org " << "smtp.example.org";
    QTest::newRow("Absender") << "Spende/Abs" << "Kreisverband  O'Dorf" << "Kreisverband O`Dorf";
    QTest::newRow("Funktion") << "Spende/Funkt" << "Schatzmeister" << "Schatzmeister";
    QTest::newRow("Min 12.34") << "Spende/Min" << "12.34" << "1234";
    QTest::newRow("Min -5.00") << "Spende/Min" << "-5.00" << "-500";
    QTest::newRow("Min gerundet") << "Spende/Min" << "0.29" << "29";
    QTest::newRow("BeitragAb 0") << "General/BeitragAb" << "0" << "M";
    QTest::newRow("BeitragAb 1") << "General/BeitragAb" << "1" << "J";
    QTest::newRow("BeitragAb 2") << "General/BeitragAb" << "2" << "X";
    QTest::newRow("Gliederung") << "General/Gliederung" << " KV  O'Dorf " << "KV O`Dorf";
}

void TstSetup::werte()
{
    QFETCH(QString, key);
    QFETCH(QString, eingabe);
    QFETCH(QString, erwartet);

    Setup dialog;
    QObject *feld = dialog.findChild<QObject *>(key);
    QVERIFY(feld);
    if (auto *combo = qobject_cast<QComboBox *>(feld))
        combo->setCurrentIndex(eingabe.toInt());
    else if (auto *spin = qobject_cast<QDoubleSpinBox *>(feld))
        spin->setValue(eingabe.toDouble());
    else if (auto *knopf = qobject_cast<WGliederung *>(feld))
        knopf->setText(eingabe);
    else
        tippe(qobject_cast<QLineEdit *>(feld), eingabe);

    dialog.pWrite();
    QVERIFY(!dialog.isVisible());
    QCOMPARE(gespeichert(key).toString(), erwartet);
}

void TstSetup::mindestbetragWiederGezeigt()
{
    {
        Setup dialog;
        dialog.findChild<QDoubleSpinBox *>(QStringLiteral("Spende/Min"))->setValue(12.34);
        dialog.findChild<WKonto *>(QStringLiteral("Konten/BankGeb"))->setText(QStringLiteral("4970"));
        dialog.findChild<QComboBox *>(QStringLiteral("General/BeitragAb"))->setCurrentIndex(2);
        // The cache was read before and must be reloaded by saving.
        QCOMPARE(UtilSpendeMin(), Q_INT64_C(0));
        QCOMPARE(UtilBankGebKonto(), QString());
        dialog.pWrite();
    }
    QCOMPARE(gespeichert(QStringLiteral("Spende/Min")).toString(), QStringLiteral("1234"));
    QCOMPARE(UtilSpendeMin(), Q_INT64_C(1234));
    QCOMPARE(UtilBankGebKonto(), QStringLiteral("4970"));
    QCOMPARE(UtilBeitragAb(), 2);

    Setup wieder;
    auto *spin = wieder.findChild<QDoubleSpinBox *>(QStringLiteral("Spende/Min"));
    QCOMPARE(spin->value(), 12.34);
    QCOMPARE(spin->text(), QStringLiteral("12,34 EUR"));
}

void TstSetup::fremdeSchluessel()
{
    const QStringList fremd = {"Zahlungen/TageLast", "Zahlungen/TextRechM", "dtaus/name", "dtaus/blz",
                               "Status/Zahlungen", "Save/Directory", "General/Sonstiges"};
    const QStringList unbekannt = {"Konten/Alt", "Konten/", "Mail/Signatur", "Spende/Vorlage"};
    for (const QString &key : fremd + unbekannt)
        setze(key, QStringLiteral("x"));
    setze(QStringLiteral("Mail/Host"), QStringLiteral("mail.example.org"));

    Setup dialog;
    dialog.pWrite();

    for (const QString &key : fremd)
        QCOMPARE(gespeichert(key).toString(), QStringLiteral("x"));
    for (const QString &key : unbekannt)
        QVERIFY2(!gespeichert(key).isValid(), qPrintable(key));
    QCOMPARE(gespeichert(QStringLiteral("Mail/Host")).toString(), QStringLiteral("mail.example.org"));
    QCOMPARE(Db::wert(QStringLiteral("SELECT count(*) FROM parameter")).toInt(), kReihenfolge.size() + fremd.size());
}

void TstSetup::abbruch()
{
    setze(QStringLiteral("Mail/Host"), QStringLiteral("alt.example.org"));
    Setup dialog;
    dialog.show();
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    tippe(dialog.findChild<QLineEdit *>(QStringLiteral("Mail/Host")), QStringLiteral("neu.example.org"));
    QTest::keyClick(&dialog, Qt::Key_A, Qt::AltModifier);
    QTRY_VERIFY_WITH_TIMEOUT(!dialog.isVisible(), 2000);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(gespeichert(QStringLiteral("Mail/Host")).toString(), QStringLiteral("alt.example.org"));
    QCOMPARE(Db::wert(QStringLiteral("SELECT count(*) FROM parameter")).toInt(), 1);
}

QTEST_MAIN(TstSetup)
#include "tst_setup.moc"
